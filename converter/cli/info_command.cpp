// parvex-cli info: reads JWW, JWS, JWC and JWK files and prints, per file, one JSON
// object on one line: what the file states, what was read, the block tree
// and the extents. Scripts and tests rely on the keys; see README.md.
#include <algorithm>
#include <cctype>
#include <array>
#include <filesystem>
#include <optional>
#include <ostream>
#include <set>
#include <system_error>

#include "common/platform/files.h"
#include "converter/cli/cli_command.h"
#include "converter/cli/json_writer.h"
#include "converter/jwc/jwc_data.h"
#include "converter/jww/jws_data.h"
#include "converter/jww/jww_data.h"

namespace parvex::cli {

namespace {

enum class FileKind { kUnknown, kJww, kJws, kJwc, kJwk };

FileKind KindOf(const std::filesystem::path& path) {
  std::string ext = platform::NarrowFromPath(path.extension());
  std::transform(ext.begin(), ext.end(), ext.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  if (ext == ".jww") return FileKind::kJww;
  if (ext == ".jws") return FileKind::kJws;
  if (ext == ".jwc") return FileKind::kJwc;
  if (ext == ".jwk") return FileKind::kJwk;
  return FileKind::kUnknown;
}

using KindCounts = std::array<int64_t, 7>;  // line, arc, point, text, dimension, solid, block
constexpr const char* kKindKeys[] = {"line", "arc", "point", "text", "dimension", "solid", "block"};

void WriteCounts(JsonObjectWriter& json, const char* key, const KindCounts& counts) {
  json.BeginObject(key);
  for (size_t i = 0; i < counts.size(); ++i) json.Int(kKindKeys[i], counts[i]);
  json.EndObject();
}

// "extents" (null when none) and "paper" (null when the kind has none).
void WriteExtentsAndPaper(JsonObjectWriter& json, const DrawingExtents* extents,
                          const int32_t* paper) {
  if (extents) {
    json.BeginArray("extents")
        .ArrayNumber(extents->ExtMinX)
        .ArrayNumber(extents->ExtMinY)
        .ArrayNumber(extents->ExtMaxX)
        .ArrayNumber(extents->ExtMaxY)
        .EndArray();
  } else {
    json.Null("extents");
  }
  if (paper) {
    json.Int("paper", *paper);
  } else {
    json.Null("paper");
  }
}

template <class Model>
void WriteModel(JsonObjectWriter& json, Model& model, int64_t stated_entities, int64_t stated_defs,
                const int32_t* paper) {
  json.BeginObject("stated").Int("entities", stated_entities).Int("block_definitions", stated_defs).EndObject();
  WriteCounts(json, "drawing",
              {model.EntLineN(), model.EntEnkoN(), model.EntTenN(), model.EntMojiN(), model.EntSunpoN(),
               model.EntSolidN(), model.EntBlockN()});
  KindCounts members{};
  for (const TEntJwwBlockDef& def : model.EntBlockDef) {
    members[0] += def.mLineN();
    members[1] += def.mEnkoN();
    members[2] += def.mTenN();
    members[3] += def.mMojiN();
    members[4] += def.mSunpoN();
    members[5] += def.mSolidN();
    members[6] += def.mBlockN();
  }
  json.BeginObject("definitions").Int("count", model.EntBlockDefN()).Int("reached", model.EntBlockNum);
  WriteCounts(json, "members", members);
  json.EndObject();
  json.Int("block_tree_nodes", model.EntBlockTreeN());

  DrawingExtents extents;  // starts at (0, 0)-(400, 400) like a fresh converter run
  // Beyond the work limit the extents are null, as a conversion would refuse
  // the drawing.
  WriteExtentsAndPaper(json, MeasureExtents(model, extents) ? &extents : nullptr, paper);

  std::set<int> layers;
  auto add = [&](const TEntJwwAttr& a) { layers.insert(a.nGLayer * 16 + a.nLayer); };
  for (const auto& e : model.EntLine) add(e.att);
  for (const auto& e : model.EntEnko) add(e.att);
  for (const auto& e : model.EntTen) add(e.att);
  for (const auto& e : model.EntMoji) add(e.att);
  for (const auto& e : model.EntSunpo) add(e.att);
  for (const auto& e : model.EntSolid) add(e.att);
  for (const auto& e : model.EntBlock) add(e.att);
  json.BeginArray("layers_in_use");
  for (int layer : layers) json.ArrayInt(layer);
  json.EndArray();
}

// A DOS-edition drawing or shape under the same keys: it has no
// dimensions, solids, blocks or block definitions, and no version number.
template <class Model>
void WriteDosModel(JsonObjectWriter& json, Model& model, int64_t stated_entities,
                   const int32_t* paper) {
  json.BeginObject("stated").Int("entities", stated_entities).Int("block_definitions", 0).EndObject();
  WriteCounts(json, "drawing", {model.lineN(), model.arcN(), model.tenN(), model.mojiN(), 0, 0, 0});
  json.BeginObject("definitions").Int("count", 0).Int("reached", 0);
  WriteCounts(json, "members", {});
  json.EndObject();
  json.Int("block_tree_nodes", 0);

  DrawingExtents extents;  // starts at (0, 0)-(400, 400) like a fresh converter run
  model.GetMinMaxZahyo(extents);
  WriteExtentsAndPaper(json, &extents, paper);

  std::set<int> layers;
  for (const auto& e : model.EntLine) layers.insert(e.lay);
  for (const auto& e : model.EntArc) layers.insert(e.lay);
  for (const auto& e : model.EntTen) layers.insert(e.lay);
  for (const auto& e : model.EntMoji) layers.insert(e.lay);
  json.BeginArray("layers_in_use");
  for (int layer : layers) json.ArrayInt(layer);
  json.EndArray();
}

// Reads a JWC drawing or JWK shape into `json`; says why when it could
// not be read whole.
template <class Model>
Status InfoDos(JsonObjectWriter& json, const std::filesystem::path& path) {
  Model model;
  const Status read = model.FileIn(path);
  json.Int("version", 0).Bool("ok", read.ok());
  if (!read.ok()) json.String("error", read.reason());
  const auto& h = model.Enthd;
  const int64_t stated = int64_t{h.lineCount} + h.arcCount + h.mojiCount + h.tenCount;
  const std::optional<int> paper = model.PaperCode();
  const int32_t code = paper.value_or(0);
  WriteDosModel(json, model, stated, paper ? &code : nullptr);
  return read;
}

const char* KindName(FileKind kind) {
  switch (kind) {
    case FileKind::kJww: return "jww";
    case FileKind::kJws: return "jws";
    case FileKind::kJwc: return "jwc";
    case FileKind::kJwk: return "jwk";
    case FileKind::kUnknown: break;
  }
  return "unknown";
}

// Reads one file; prints its line and says whether and why it was not read.
Status InfoOne(const std::string& arg, std::ostream& out, std::ostream& err) {
  const std::filesystem::path path = platform::PathFromNarrow(arg);
  const FileKind kind = KindOf(path);
  JsonObjectWriter json;
  json.String("file", arg);
  json.String("kind", KindName(kind));

  Status read = Ok();
  std::error_code ec;
  if (kind == FileKind::kUnknown) {
    read = Fail("not a Jw_cad file name (extension .jww, .jws, .jwc or .jwk expected)");
  } else if (!std::filesystem::exists(path, ec)) {
    read = Fail("file not found");
  } else if (std::filesystem::is_directory(path, ec)) {
    read = Fail("is a folder");
  }

  if (!read) {
    json.Int("version", 0).Bool("ok", false).String("error", read.reason());
  } else if (kind == FileKind::kJww) {
    TJwwData drawing;
    read = drawing.FileIn(path);
    json.Int("version", drawing.Enthd.jwVer).Bool("ok", read.ok());
    if (!read) json.String("error", read.reason());
    WriteModel(json, drawing, drawing.Enthd.n1, drawing.Enthd.n2, &drawing.Enthd.nZumen);
  } else if (kind == FileKind::kJwc) {
    read = InfoDos<TJwcData>(json, path);
  } else if (kind == FileKind::kJwk) {
    read = InfoDos<TJwkData>(json, path);
  } else {
    TJwsData shape;
    read = shape.FileIn(path);
    json.Int("version", shape.Enthd.jwVer).Bool("ok", read.ok());
    if (!read) json.String("error", read.reason());
    WriteModel(json, shape, shape.Enthd.n1, shape.Enthd.n2, nullptr);
  }

  out << json.Finish() << '\n';
  if (!read) err << "parvex-cli info: " << arg << ": " << read.reason() << '\n';
  return read;
}

}  // namespace

void PrintInfoHelp(std::ostream& out) {
  out << "parvex-cli info FILE...\n"
         "  Reads each JWW (.jww), JWS (.jws), JWC (.jwc) or JWK (.jwk) file and\n"
         "  prints one JSON object per file on one line of standard output:\n"
         "    file, kind (\"jww\"|\"jws\"|\"jwc\"|\"jwk\"), version (0 for JWC and JWK),\n"
         "    ok, error (only when not ok),\n"
         "    stated {entities, block_definitions}: the counts the file states,\n"
         "    drawing {line, arc, point, text, dimension, solid, block}: entities read,\n"
         "    definitions {count, reached, members {same seven keys}},\n"
         "    block_tree_nodes, extents [minx, miny, maxx, maxy],\n"
         "    paper (the paper size code the JWW or JWC file states; null for JWS\n"
         "    and JWK), layers_in_use (flat layer indexes group*16+layer of the\n"
         "    drawing's entities, ascending).\n"
         "  Exit status 0 when every file was read, 1 otherwise; the reason for each\n"
         "  failure is also written to standard error.\n";
}

int RunInfo(std::span<const std::string> args, std::ostream& out, std::ostream& err) {
  std::vector<std::string> files;
  bool options_done = false;
  for (const std::string& arg : args) {
    if (!options_done && (arg == "--help" || arg == "-h")) {
      PrintInfoHelp(out);
      return 0;
    }
    if (!options_done && arg == "--") {
      options_done = true;
      continue;
    }
    if (!options_done && arg.size() > 1 && arg[0] == '-') {
      err << "parvex-cli info: unknown option \"" << arg << "\"\n";
      PrintInfoHelp(err);
      return 2;
    }
    files.push_back(arg);
  }
  if (files.empty()) {
    err << "parvex-cli info: no file given\n";
    PrintInfoHelp(err);
    return 2;
  }
  bool all_ok = true;
  for (const std::string& file : files) all_ok = InfoOne(file, out, err) && all_ok;
  return all_ok ? 0 : 1;
}

}  // namespace parvex::cli
