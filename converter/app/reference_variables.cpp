#include "converter/app/reference_variables.h"

#include "common/path_helpers.h"
#include "common/platform/files.h"
#include "common/platform/process_info.h"
#include "common/text_file.h"
#include "common/text_helpers.h"

namespace parvex {

std::u16string FindReferenceFileName(const std::vector<std::filesystem::path>& jwfCandidates) {
  for (const auto& candidate : jwfCandidates) {
    if (!FileExistsSafe(candidate)) continue;
    auto lines = ReadTextLines(candidate);
    if (!lines) return {};
    for (const auto& raw : *lines) {
      std::u16string line = TrimText(raw);
      if (RemoveBlanks(line).empty()) continue;
      if (line.starts_with(u"END")) return {};
      for (std::u16string_view prefix : {u"REF_FILE=", u"REF_FILE =", u"REF_FILE  ="}) {
        if (line.starts_with(prefix)) return TrimText(std::u16string_view(line).substr(prefix.size()));
      }
    }
    return {};
  }
  return {};
}

std::vector<TStr2List> ParseReferenceVariables(const std::vector<std::u16string>& lines) {
  std::vector<TStr2List> vars;
  for (const auto& raw : lines) {
    std::u16string line = TrimText(raw);
    if (RemoveBlanks(line).empty()) continue;
    size_t tab = line.find(u'\t');
    if (tab == std::u16string::npos) continue;
    std::u16string name = line.substr(0, tab);
    if (name.empty() || RemoveBlanks(name) != name || !name.starts_with(u"%%")) continue;
    vars.push_back({std::move(name), RemoveControlChars(std::u16string_view(line).substr(tab + 1))});
  }
  return vars;
}

void LoadReferenceVariables(ConversionContext& context) {
  if (context.ReferenceFileName.empty()) return;
  std::filesystem::path file =
      platform::PathFromWindowsText(platform::PathToText(context.ReferenceFileName));
  if (!file.has_parent_path()) {
    std::filesystem::path folder =
        context.SourcePath.empty() ? context.ProgramFolder : context.SourcePath.parent_path();
    file = folder / file;
  }
  context.ReferenceVariables.clear();
  auto lines = ReadTextLines(file);
  if (!lines) return;
  context.ReferenceVariables = ParseReferenceVariables(*lines);
}

}  // namespace parvex
