#include "dxf_audit.h"

#include <cstdio>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <utility>

#include "python_run.h"

namespace parvex::testing {
namespace {

// Just enough JSON for the script's report: objects, arrays, strings with
// \uXXXX escapes (the script writes ASCII only), numbers, true/false/null.
struct Json {
  enum Kind { Null, Bool, Number, String, Array, Object } kind = Null;
  bool b = false;
  double n = 0;
  std::string s;
  std::vector<Json> a;
  std::vector<std::pair<std::string, Json>> o;

  const Json* Find(const std::string& key) const {
    for (const auto& [k, v] : o)
      if (k == key) return &v;
    return nullptr;
  }
};

class JsonParser {
 public:
  explicit JsonParser(const std::string& text) : t_(text) {}

  Json Parse() {
    Json v = Value();
    Space();
    if (p_ != t_.size()) Fail("trailing data");
    return v;
  }

 private:
  [[noreturn]] void Fail(const char* what) {
    throw std::runtime_error(std::string("bad JSON from dxf_audit.py: ") + what +
                             " at offset " + std::to_string(p_));
  }
  void Space() {
    while (p_ < t_.size() && (t_[p_] == ' ' || t_[p_] == '\n' || t_[p_] == '\r' || t_[p_] == '\t')) ++p_;
  }
  bool Eat(char c) {
    Space();
    if (p_ < t_.size() && t_[p_] == c) {
      ++p_;
      return true;
    }
    return false;
  }
  void Expect(char c) {
    if (!Eat(c)) Fail("unexpected character");
  }
  bool Word(const char* w) {
    std::string_view sw(w);
    if (t_.compare(p_, sw.size(), sw) == 0) {
      p_ += sw.size();
      return true;
    }
    return false;
  }

  static void AppendUtf8(std::string& out, unsigned cp) {
    if (cp < 0x80) {
      out += static_cast<char>(cp);
    } else if (cp < 0x800) {
      out += static_cast<char>(0xC0 | (cp >> 6));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
      out += static_cast<char>(0xE0 | (cp >> 12));
      out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (cp >> 18));
      out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    }
  }

  unsigned Hex4() {
    if (p_ + 4 > t_.size()) Fail("short \\u escape");
    unsigned v = 0;
    for (int i = 0; i < 4; ++i) {
      char c = t_[p_++];
      v <<= 4;
      if (c >= '0' && c <= '9') v |= c - '0';
      else if (c >= 'a' && c <= 'f') v |= c - 'a' + 10;
      else if (c >= 'A' && c <= 'F') v |= c - 'A' + 10;
      else Fail("bad \\u escape");
    }
    return v;
  }

  std::string Str() {
    Expect('"');
    std::string out;
    while (true) {
      if (p_ >= t_.size()) Fail("unterminated string");
      char c = t_[p_++];
      if (c == '"') break;
      if (c != '\\') {
        out += c;
        continue;
      }
      if (p_ >= t_.size()) Fail("unterminated escape");
      char e = t_[p_++];
      switch (e) {
        case 'n': out += '\n'; break;
        case 't': out += '\t'; break;
        case 'r': out += '\r'; break;
        case 'b': out += '\b'; break;
        case 'f': out += '\f'; break;
        case 'u': {
          unsigned cp = Hex4();
          if (cp >= 0xD800 && cp < 0xDC00 && Word("\\u")) {
            unsigned lo = Hex4();
            cp = 0x10000 + ((cp - 0xD800) << 10) + (lo - 0xDC00);
          }
          AppendUtf8(out, cp);
          break;
        }
        default: out += e;
      }
    }
    return out;
  }

  Json Value() {
    Space();
    if (p_ >= t_.size()) Fail("unexpected end");
    Json v;
    char c = t_[p_];
    if (c == '{') {
      ++p_;
      v.kind = Json::Object;
      if (Eat('}')) return v;
      do {
        Space();
        std::string k = Str();
        Expect(':');
        v.o.emplace_back(std::move(k), Value());
      } while (Eat(','));
      Expect('}');
    } else if (c == '[') {
      ++p_;
      v.kind = Json::Array;
      if (Eat(']')) return v;
      do v.a.push_back(Value());
      while (Eat(','));
      Expect(']');
    } else if (c == '"') {
      v.kind = Json::String;
      v.s = Str();
    } else if (Word("true")) {
      v.kind = Json::Bool;
      v.b = true;
    } else if (Word("false")) {
      v.kind = Json::Bool;
    } else if (Word("null")) {
    } else {
      size_t used = 0;
      v.kind = Json::Number;
      try {
        v.n = std::stod(t_.substr(p_), &used);
      } catch (const std::exception&) {
        Fail("bad value");
      }
      p_ += used;
    }
    return v;
  }

  const std::string& t_;
  size_t p_ = 0;
};

std::string GetString(const Json& j, const char* key) {
  const Json* v = j.Find(key);
  return v && v->kind == Json::String ? v->s : std::string();
}
int GetInt(const Json& j, const char* key, int fallback) {
  const Json* v = j.Find(key);
  return v && v->kind == Json::Number ? static_cast<int>(v->n) : fallback;
}
bool GetBool(const Json& j, const char* key) {
  const Json* v = j.Find(key);
  return v && v->kind == Json::Bool && v->b;
}
std::vector<std::string> GetStrings(const Json& j, const char* key) {
  std::vector<std::string> out;
  if (const Json* v = j.Find(key))
    for (const Json& e : v->a) out.push_back(e.s);
  return out;
}
Counts ToCounts(const Json* v) {
  Counts out;
  if (v)
    for (const auto& [k, n] : v->o) out[k] = static_cast<int>(n.n);
  return out;
}
double Number(const Json* v) { return v && v->kind == Json::Number ? v->n : 0; }

std::vector<AuditedInsert> GetInserts(const Json& j) {
  std::vector<AuditedInsert> out;
  if (const Json* v = j.Find("inserts")) {
    for (const Json& e : v->a) {
      out.push_back({GetString(e, "container"), GetString(e, "block"), Number(e.Find("x")),
                     Number(e.Find("y")), Number(e.Find("xscale")), Number(e.Find("yscale")),
                     Number(e.Find("rotation"))});
    }
  }
  return out;
}

std::vector<AuditedImage> GetImages(const Json& j) {
  std::vector<AuditedImage> out;
  if (const Json* v = j.Find("images")) {
    for (const Json& e : v->a) {
      AuditedImage im{GetString(e, "container"), GetString(e, "file"), GetString(e, "layer"),
                      Number(e.Find("x")), Number(e.Find("y")), Number(e.Find("width")),
                      Number(e.Find("height")), Number(e.Find("rotation"))};
      if (const Json* p = e.Find("pixels"); p && p->a.size() == 2) {
        im.pixelsX = p->a[0].n;
        im.pixelsY = p->a[1].n;
      }
      if (const Json* p = e.Find("def_pixels"); p && p->a.size() == 2) {
        im.defPixelsX = p->a[0].n;
        im.defPixelsY = p->a[1].n;
      }
      out.push_back(std::move(im));
    }
  }
  return out;
}

std::vector<AuditedPolyline> GetPolylines(const Json& j) {
  std::vector<AuditedPolyline> out;
  if (const Json* v = j.Find("polylines")) {
    for (const Json& e : v->a) {
      AuditedPolyline p{GetString(e, "container"), GetString(e, "layer"), GetBool(e, "closed"), {}};
      if (const Json* vs = e.Find("vertices")) {
        for (const Json& x : vs->a) {
          if (x.a.size() == 3) p.v.push_back({x.a[0].n, x.a[1].n, x.a[2].n});
        }
      }
      out.push_back(std::move(p));
    }
  }
  return out;
}

std::vector<ExpandedLine> GetExpanded(const Json& j) {
  std::vector<ExpandedLine> out;
  if (const Json* v = j.Find("expanded_lines")) {
    for (const Json& e : v->a) {
      ExpandedLine l{GetString(e, "layout"), {}};
      if (const Json* p = e.Find("line"); p && p->a.size() == 4) {
        for (int k = 0; k < 4; ++k) l.p[k] = p->a[k].n;
      }
      out.push_back(std::move(l));
    }
  }
  return out;
}

std::vector<AuditedDimension> GetDimensions(const Json& j) {
  std::vector<AuditedDimension> out;
  if (const Json* v = j.Find("dimensions")) {
    for (const Json& e : v->a) {
      AuditedDimension d;
      d.container = GetString(e, "container");
      d.block = GetString(e, "block");
      d.layer = GetString(e, "layer");
      d.text = GetString(e, "text");
      d.dimstyle = GetString(e, "dimstyle");
      d.dimtype = GetInt(e, "dimtype", 0);
      d.attachment = GetInt(e, "attachment", 0);
      d.defined = GetBool(e, "defined");
      d.renders_block = GetBool(e, "renders_block");
      d.parts = GetStrings(e, "parts");
      d.angle = Number(e.Find("angle"));
      d.text_rotation = Number(e.Find("text_rotation"));
      if (const Json* pts = e.Find("points")) {
        for (const auto& [name, xy] : pts->o) {
          if (xy.a.size() == 2) d.points[name] = {xy.a[0].n, xy.a[1].n};
        }
      }
      if (const Json* ls = e.Find("lines")) {
        for (const Json& l : ls->a) {
          if (l.a.size() == 4) d.lines.push_back({l.a[0].n, l.a[1].n, l.a[2].n, l.a[3].n});
        }
      }
      out.push_back(std::move(d));
    }
  }
  return out;
}

std::vector<ExpandedCurve> GetExpandedCurves(const Json& j) {
  std::vector<ExpandedCurve> out;
  if (const Json* v = j.Find("expanded_curves")) {
    for (const Json& e : v->a) {
      out.push_back({GetString(e, "layout"), GetString(e, "type"), Number(e.Find("turns"))});
    }
  }
  return out;
}

std::map<std::string, Counts> GetNested(const Json& j, const char* key) {
  std::map<std::string, Counts> out;
  if (const Json* v = j.Find(key))
    for (const auto& [k, inner] : v->o) out[k] = ToCounts(&inner);
  return out;
}

}  // namespace

bool DxfAuditReport::Clean() const {
  return run_error.empty() && loaded && !recovered && load_warnings.empty() &&
         audit_errors == 0 && audit_fixes == 0 && raw_problems.empty();
}

std::string DxfAuditReport::Describe() const {
  std::ostringstream out;
  if (!run_error.empty()) out << "audit did not run: " << run_error << "\n";
  if (!load_error.empty()) out << "ezdxf load: " << load_error << "\n";
  if (recovered) out << "ezdxf needed recovery\n";
  for (const auto& m : load_warnings) out << "ezdxf warning: " << m << "\n";
  out << "auditor errors " << audit_errors << ", fixes " << audit_fixes << "\n";
  for (const auto& m : audit_messages) out << "auditor " << m << "\n";
  for (const auto& m : raw_problems) out << "raw: " << m << "\n";
  return out.str();
}

namespace {

DxfAuditReport FromJson(const Json& j) {
  DxfAuditReport r;
  r.run_error = GetString(j, "run_error");
  r.version = GetString(j, "version");
  r.loaded = GetBool(j, "loaded");
  r.recovered = GetBool(j, "recovered");
  r.load_error = GetString(j, "load_error");
  r.load_warnings = GetStrings(j, "load_warnings");
  r.audit_errors = GetInt(j, "audit_errors", -1);
  r.audit_fixes = GetInt(j, "audit_fixes", -1);
  r.audit_messages = GetStrings(j, "audit_messages");
  r.raw_problems = GetStrings(j, "raw_problems");
  r.entities = ToCounts(j.Find("entities"));
  r.by_layer = ToCounts(j.Find("by_layer"));
  r.layouts = GetNested(j, "layouts");
  r.blocks = GetNested(j, "blocks");
  r.objects = ToCounts(j.Find("objects"));
  r.texts = GetStrings(j, "texts");
  r.layers = GetStrings(j, "layers");
  r.linetypes = GetStrings(j, "linetypes");
  r.styles = GetStrings(j, "styles");
  r.image_defs = GetStrings(j, "image_defs");
  r.definitions = GetStrings(j, "definitions");
  r.images = GetImages(j);
  r.inserts = GetInserts(j);
  r.polylines = GetPolylines(j);
  r.expanded = GetExpanded(j);
  r.dimensions = GetDimensions(j);
  r.expandedCurves = GetExpandedCurves(j);
  return r;
}

}  // namespace

bool DxfAuditReport::HasDefinition(const std::string& name) const {
  for (const std::string& d : definitions) {
    if (d == name) return true;
  }
  return false;
}

std::vector<AuditedInsert> DxfAuditReport::InsertsIn(const std::string& container) const {
  std::vector<AuditedInsert> out;
  for (const AuditedInsert& i : inserts) {
    if (i.container == container) out.push_back(i);
  }
  return out;
}

std::vector<AuditedPolyline> DxfAuditReport::PolylinesIn(const std::string& container) const {
  std::vector<AuditedPolyline> out;
  for (const AuditedPolyline& p : polylines) {
    if (p.container == container) out.push_back(p);
  }
  return out;
}

std::vector<DxfAuditReport> AuditDxfFiles(const std::vector<std::filesystem::path>& files,
                                          DxfAuditDetail detail) {
  std::vector<DxfAuditReport> reports(files.size());
  auto failAll = [&](const std::string& why) {
    for (DxfAuditReport& r : reports) r.run_error = why;
    return reports;
  };
  if (files.empty()) return reports;
  std::vector<std::string> options;
  if (detail == DxfAuditDetail::Geometry) options.push_back("--geometry");
  const PythonRun run = RunPythonScript(PARVEX_DXF_AUDIT_SCRIPT, files, options);
  if (!run.failure.empty()) return failAll(run.failure);
  const std::string& out = run.output;
  if (run.status != 0) {
    return failAll("dxf_audit.py failed (status " + std::to_string(run.status) + "): " + out);
  }
  std::size_t at = 0;
  for (DxfAuditReport& r : reports) {
    // Reports are the lines that start with "{"; anything else is a message
    // of Python or ezdxf on standard error.
    while (at < out.size() && out[at] != '{') {
      const std::size_t next = out.find('\n', at);
      at = next == std::string::npos ? out.size() : next + 1;
    }
    const std::size_t eol = out.find('\n', at);
    if (eol == std::string::npos) {
      r.run_error = "dxf_audit.py wrote no report: " + out.substr(0, 2000);
      continue;
    }
    try {
      r = FromJson(JsonParser(out.substr(at, eol - at)).Parse());
    } catch (const std::exception& e) {
      r.run_error = std::string(e.what()) + ": " + out.substr(at, 2000);
    }
    at = eol + 1;
  }
  return reports;
}

DxfAuditReport AuditDxf(const std::filesystem::path& dxf, DxfAuditDetail detail) {
  return AuditDxfFiles({dxf}, detail).front();
}

::testing::AssertionResult PassesDxfAudit(const std::filesystem::path& dxf) {
  DxfAuditReport r = AuditDxf(dxf);
  if (r.Clean()) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << dxf.string() << " fails the DXF audit:\n" << r.Describe();
}

}  // namespace parvex::testing
