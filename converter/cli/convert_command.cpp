#include "converter/cli/convert_command.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <exception>
#include <functional>
#include <ostream>

#include "common/path_helpers.h"
#include "common/platform/console.h"
#include "common/platform/files.h"
#include "common/platform/process_info.h"
#include "common/settings_file.h"
#include "converter/app/converter_run.h"
#include "converter/app/drawing_conversion.h"
#include "converter/cli/cli_command.h"
#include "converter/cli/convert_batch.h"
#include "converter/dxf/dxf_parallel_write.h"

namespace parvex::cli {

namespace {

// Launcher defaults: what a user who never changed a setting gets.
ConversionSettings DefaultSettings() {
  ConversionSettings s;
  s.DxfVersion = DxfVersion::R12;
  s.ColorMode = ColorMode::Screen;
  s.LayerNameType = LayerNameType::Number;
  s.OutputSpace = OutputSpace::Model;
  s.BaseLayerGroup = 0;
  s.PointConversion = PointConversion::Point;
  s.PointRadius = 0.5;
  s.ExpandEmbeddedText = true;
  s.ExpandControlCodes = true;
  s.CurveToPolyline = false;
  s.TextStyleMode = TextStyleMode::PerKind;
  s.DimensionAsEntity = false;
  return s;
}

// Index of `value` in `names`, -1 when absent.
int Choice(const std::string& value, std::initializer_list<const char*> names) {
  int i = 0;
  for (const char* n : names) {
    if (value == n) return i;
    ++i;
  }
  return -1;
}

bool ParseInt(const std::string& s, int& out) {
  if (s.empty()) return false;
  char* end = nullptr;
  const long v = std::strtol(s.c_str(), &end, 10);
  if (*end != '\0' || v < -1000000 || v > 1000000) return false;
  out = static_cast<int>(v);
  return true;
}

bool ParseReal(const std::string& s, double& out) {
  if (s.empty()) return false;
  char* end = nullptr;
  const double v = std::strtod(s.c_str(), &end);
  if (*end != '\0' || !std::isfinite(v)) return false;
  out = v;
  return true;
}

using Setter = std::function<void(ConversionSettings&)>;

// How often a drawing is converted again when others keep taking the name
// it was given.
constexpr int kNameAttempts = 10;

constexpr int kMaxJobs = 64;

}  // namespace

std::string PrintableText(std::string_view bytes) {
  static const char kHex[] = "0123456789abcdef";
  std::string r;
  r.reserve(bytes.size());
  auto escape = [&](unsigned char b) {
    r += "\\x";
    r += kHex[b >> 4];
    r += kHex[b & 15];
  };
  size_t i = 0;
  while (i < bytes.size()) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    if (b < 0x80) {
      if (b < 0x20 || b == 0x7F) {
        escape(b);
      } else {
        r += static_cast<char>(b);
      }
      ++i;
      continue;
    }
    // A well-formed UTF-8 sequence stays, unless it is a C1 control.
    const size_t len = b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC0 ? 2 : 0;
    char32_t c = len == 4 ? b & 0x07u : len == 3 ? b & 0x0Fu : b & 0x1Fu;
    bool valid = len != 0 && b <= 0xF4 && i + len <= bytes.size();
    for (size_t k = 1; valid && k < len; ++k) {
      const auto t = static_cast<unsigned char>(bytes[i + k]);
      valid = (t & 0xC0) == 0x80;
      c = (c << 6) | (t & 0x3Fu);
    }
    const char32_t least = len == 4 ? 0x10000 : len == 3 ? 0x800 : 0x80;
    valid = valid && c >= least && c <= 0x10FFFF && !(c >= 0xD800 && c <= 0xDFFF);
    if (!valid || (c >= 0x80 && c <= 0x9F)) {
      escape(b);
      if (valid) {
        for (size_t k = 1; k < len; ++k) escape(static_cast<unsigned char>(bytes[i + k]));
        i += len;
      } else {
        ++i;
      }
      continue;
    }
    r.append(bytes.substr(i, len));
    i += len;
  }
  return r;
}

Result<ConvertOptions> ParseConvertArgs(std::span<const std::string> args) {
  ConvertOptions o;
  std::optional<std::filesystem::path> settingsFile;
  // Options given on the command line win over the settings file, whatever
  // their order, so they are applied after it is read.
  std::vector<Setter> overrides;
  bool optionsEnded = false;

  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (optionsEnded || a.empty() || a[0] != '-' || a == "-") {
      o.files.push_back(platform::PathFromNarrow(a));
      continue;
    }
    if (a == "--") {
      optionsEnded = true;
      continue;
    }
    if (a == "--help" || a == "-h") {
      o.help = true;
      continue;
    }
    if (a == "--version") {
      o.version = true;
      continue;
    }
    // Flags without a value.
    struct Flag {
      const char* on;
      const char* off;
      bool ConversionSettings::*field;
    };
    static const Flag kFlags[] = {
        {"--expand-text", "--no-expand-text", &ConversionSettings::ExpandEmbeddedText},
        {"--expand-codes", "--no-expand-codes", &ConversionSettings::ExpandControlCodes},
        {"--polylines", "--no-polylines", &ConversionSettings::CurveToPolyline},
        {"--dimension-entities", "--no-dimension-entities",
         &ConversionSettings::DimensionAsEntity},
    };
    bool matched = false;
    for (const Flag& f : kFlags) {
      if (a == f.on || a == f.off) {
        const bool value = a == f.on;
        auto field = f.field;
        overrides.push_back([=](ConversionSettings& s) { s.*field = value; });
        matched = true;
      }
    }
    if (matched) continue;

    // Options with a value: "--name value" or "--name=value".
    std::string name = a;
    std::string value;
    bool hasValue = false;
    if (const size_t eq = a.find('='); eq != std::string::npos && a.rfind("--", 0) == 0) {
      name = a.substr(0, eq);
      value = a.substr(eq + 1);
      hasValue = true;
    }
    static const char* const kValued[] = {"--dxf",         "--colors",       "--layer-names",
                                          "--output-space", "--layer-group", "--points",
                                          "--point-radius", "--text-styles", "--settings",
                                          "--output",       "-o",            "--jobs",
                                          "-j"};
    bool known = false;
    for (const char* k : kValued) known = known || name == k;
    if (!known) {
      return Fail("unknown option " + a);
    }
    if (!hasValue) {
      if (i + 1 >= args.size()) {
        return Fail("option " + name + " needs a value");
      }
      value = args[++i];
    }
    auto bad = [&](const char* expected) {
      return Fail("invalid value \"" + value + "\" for " + name + " (expected " + expected + ")");
    };

    if (name == "--dxf") {
      const int v = Choice(value, {"r12", "2000", "2007"});
      if (v < 0) return bad("r12, 2000 or 2007");
      overrides.push_back([v](ConversionSettings& s) { s.DxfVersion = static_cast<DxfVersion>(v); });
    } else if (name == "--colors") {
      const int v = Choice(value, {"screen", "printer"});
      if (v < 0) return bad("screen or printer");
      overrides.push_back([v](ConversionSettings& s) { s.ColorMode = static_cast<ColorMode>(v); });
    } else if (name == "--layer-names") {
      const int v = Choice(value, {"number", "name", "group"});
      if (v < 0) return bad("number, name or group");
      overrides.push_back([v](ConversionSettings& s) { s.LayerNameType = static_cast<LayerNameType>(v); });
    } else if (name == "--output-space") {
      const int v = Choice(value, {"model", "paper", "layouts"});
      if (v < 0) return bad("model, paper or layouts");
      overrides.push_back([v](ConversionSettings& s) { s.OutputSpace = static_cast<OutputSpace>(v); });
    } else if (name == "--layer-group") {
      int v = 0;
      if (!ParseInt(value, v) || v < 0 || v > 15) return bad("0 to 15");
      overrides.push_back([v](ConversionSettings& s) { s.BaseLayerGroup = v; });
    } else if (name == "--points") {
      int v = Choice(value, {"point", "circle", "double-circle", "circle-cross", "rhombus",
                             "filled-rhombus", "filled-octagon"});
      if (v < 0 && (!ParseInt(value, v) || v < 0 || v > 6)) {
        return bad("point, circle, double-circle, circle-cross, rhombus, filled-rhombus, "
                   "filled-octagon or 0 to 6");
      }
      overrides.push_back([v](ConversionSettings& s) { s.PointConversion = static_cast<PointConversion>(v); });
    } else if (name == "--point-radius") {
      double v = 0;
      if (!ParseReal(value, v)) return bad("a number of millimetres, 0.001 to 1000");
      v = std::min(std::max(v, 0.001), 1000.0);
      overrides.push_back([v](ConversionSettings& s) { s.PointRadius = v; });
    } else if (name == "--text-styles") {
      const int v = Choice(value, {"kinds", "one", "truetype"});
      if (v < 0) return bad("kinds, one or truetype");
      overrides.push_back([v](ConversionSettings& s) { s.TextStyleMode = static_cast<TextStyleMode>(v); });
    } else if (name == "--jobs" || name == "-j") {
      int v = 0;
      if (!ParseInt(value, v) || v < 1 || v > kMaxJobs) return bad("1 to 64");
      o.jobs = v;
    } else if (name == "--settings") {
      settingsFile = platform::PathFromNarrow(value);
    } else {  // -o, --output
      if (value.empty()) return bad("a folder");
      o.outputFolder = platform::PathFromNarrow(value);
    }
  }

  if (o.help || o.version) return o;
  if (settingsFile) {
    const Result<SettingsFile> file = ReadSettingsFile(
        *settingsFile,
        DefaultSettingsFile(SettingsReader::Converter, platform::PathToText(settingsFile->parent_path())));
    if (!file) return file.failure();
    Result<ConversionSettings> read = ToConversionSettings(*file);
    if (!read) return Fail("settings file " + platform::NarrowFromPath(*settingsFile) + ", " + read.reason());
    o.settings = *read;
  } else {
    o.settings = DefaultSettings();
  }
  for (const Setter& set : overrides) set(o.settings);
  // R12 has no layouts: as the launcher does when it saves, layouts become
  // one paper space.
  if (o.settings.DxfVersion == DxfVersion::R12 && o.settings.OutputSpace == OutputSpace::Layouts)
    o.settings.OutputSpace = OutputSpace::ModelAndPaper;
  if (o.files.empty()) return Fail("no drawing given");
  return o;
}

std::filesystem::path ConvertDestination(const std::filesystem::path& source,
                                         const std::optional<std::filesystem::path>& folder) {
  std::filesystem::path dir = folder ? *folder : source.parent_path();
  if (dir.empty()) dir = ".";
  std::filesystem::path name = source.filename();
  name.replace_extension(".dxf");
  return UniqueFileName(dir / name);
}

void PrintConvertHelp(std::ostream& out) {
  out << "Usage: parvex-cli convert [OPTIONS] FILE... [-o DIR]\n"
         "Converts JWW, JWS, JWC and JWK drawings to DXF. Each result is written to\n"
         "DIR (default: beside its drawing) as NAME.dxf, or NAME~N.dxf when that name\n"
         "is taken; no existing file is ever replaced. One line per drawing, in\n"
         "argument order, on standard output: \"SOURCE -> RESULT\" or\n"
         "\"SOURCE: failed: REASON\".\n"
         "Exit status 0 when every drawing was converted, 1 when any failed, 2 on a\n"
         "usage error.\n"
         "\n"
         "Options (defaults in brackets):\n"
         "  -o, --output DIR           folder for the results\n"
         "  -j, --jobs N               threads, 1..64: up to N drawings at a time, the\n"
         "                             threads left over write each file; results and\n"
         "                             names are the same for every N [cores]\n"
         "  --settings FILE            take the settings from a Parvex.dat file;\n"
         "                             options given here still win\n"
         "  --dxf r12|2000|2007        DXF version [r12]\n"
         "  --colors screen|printer    the drawing's screen or printer colours [screen]\n"
         "  --layer-names number|name|group\n"
         "                             layer names: 1..256, the layer name, or group\n"
         "                             and layer name [number]\n"
         "  --output-space model|paper|layouts\n"
         "                             model space only, model and paper space, or one\n"
         "                             layout per drawing frame (2000/2007) [model]\n"
         "  --layer-group N            base layer group 0..15 [0]\n"
         "  --points point|circle|double-circle|circle-cross|rhombus|filled-rhombus|\n"
         "           filled-octagon    what points become [point]\n"
         "  --point-radius R           radius of point markers in mm, 0.001..1000 [0.5]\n"
         "  --expand-text, --no-expand-text\n"
         "                             expand text macros [on]\n"
         "  --expand-codes, --no-expand-codes\n"
         "                             expand control codes in texts [on]\n"
         "  --polylines, --no-polylines\n"
         "                             join curve groups into polylines [off]\n"
         "  --text-styles kinds|one|truetype\n"
         "                             one style per text kind, one for all, or one per\n"
         "                             TrueType font [kinds]\n"
         "  --dimension-entities, --no-dimension-entities\n"
         "                             dimensions as DIMENSION entities [off]\n"
         "  --help                     this help\n"
         "  --version                  program version\n";
}

int RunConvert(std::span<const std::string> args, std::ostream& out, std::ostream& err) {
  const Result<ConvertOptions> parsed = ParseConvertArgs(args);
  if (!parsed) {
    err << "parvex-cli convert: " << parsed.reason() << "\n"
        << "Try 'parvex-cli convert --help'.\n";
    return 2;
  }
  const ConvertOptions& o = *parsed;
  if (o.help) {
    PrintConvertHelp(out);
    return 0;
  }
  if (o.version) {
    out << "parvex-cli " << PARVEX_VERSION << '\n';
    return 0;
  }
  if (o.outputFolder && !CreateFolder(*o.outputFolder)) {
    err << "parvex-cli convert: cannot create the output folder " << platform::NarrowFromPath(*o.outputFolder)
        << '\n';
    return 2;
  }

  const std::filesystem::path programFolder = platform::SettingsFolder();
  const bool progress = o.files.size() > 1 && platform::StandardErrorIsTerminal();
  const size_t n = o.files.size();
  const int jobs = DxfThreadsOf(o.jobs);
  const int atOnce = static_cast<int>(std::min<size_t>(static_cast<size_t>(jobs), n));
  ConversionSettings settings = o.settings;
  settings.WriteThreads = std::max(1, jobs / atOnce);

  // Drawings that may want one name are converted in argument order, so
  // every drawing gets the name it gets when they run one by one.
  std::vector<std::string> families;
  for (const std::filesystem::path& source : o.files) {
    families.push_back(DestinationFamily(source, o.outputFolder));
  }
  std::vector<std::string> lines(n);
  std::vector<char> converted(n, 0);  // written by the thread of each drawing
  std::vector<bool> done(n, false);
  size_t printed = 0;
  size_t finishedCount = 0;
  int failed = 0;
  auto convert = [&](size_t i) {
    const std::filesystem::path& source = o.files[i];
    Status r = Fail("no conversion was tried");
    std::filesystem::path dest;
    try {
      // A name taken by someone else while the drawing was converted is
      // handled as one taken before: the next branch name is tried.
      for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        dest = ConvertDestination(source, o.outputFolder);
        if (dest.empty()) {
          r = Fail("no free output name for " + platform::NarrowFromPath(source));
          break;
        }
        r = ConvertDrawing(settings, source, dest, programFolder);
        if (r || !DestinationTaken(dest)) break;
      }
    } catch (const std::exception& e) {
      r = Fail(std::string("internal error: ") + e.what());
    }
    const std::string shown = PrintableText(platform::NarrowFromPath(source));
    converted[i] = r ? 1 : 0;
    lines[i] = r ? shown + " -> " + PrintableText(platform::NarrowFromPath(dest)) + '\n'
                    : shown + ": failed: " + PrintableText(r.reason()) + '\n';
  };
  // Result lines go out in argument order as soon as all before them are
  // there; the progress line counts the drawings finished.
  auto finished = [&](size_t i) {
    done[i] = true;
    ++finishedCount;
    while (printed < n && done[printed]) {
      if (converted[printed] == 0) ++failed;
      if (progress) err << "\r\x1b[K" << std::flush;
      out << lines[printed] << std::flush;
      lines[printed].clear();
      ++printed;
    }
    if (progress) {
      err << "\r[" << finishedCount << '/' << n << "] " << PrintableText(platform::NarrowFromPath(o.files[i]))
          << "\x1b[K" << std::flush;
    }
  };
  RunBatch(families, atOnce, convert, finished);
  if (progress) err << "\r\x1b[K" << std::flush;
  return failed == 0 ? 0 : 1;
}

}  // namespace parvex::cli
