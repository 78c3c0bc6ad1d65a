#include "common/text_file.h"

#include "common/platform/codepage.h"
#include "common/platform/files.h"

namespace parvex {

std::vector<std::u16string> SplitTextLines(std::string_view bytes) {
  std::u16string text;
  if (bytes.substr(0, 3) == "\xEF\xBB\xBF") {
    text = platform::FromUtf8(bytes.substr(3));
  } else if (bytes.substr(0, 2) == "\xFF\xFE") {
    for (size_t i = 2; i + 1 < bytes.size(); i += 2)
      text.push_back(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                           (static_cast<unsigned char>(bytes[i + 1]) << 8)));
  } else {
    text = platform::DecodeCp932(bytes);
  }
  std::vector<std::u16string> lines;
  std::u16string line;
  for (size_t i = 0; i < text.size(); ++i) {
    char16_t c = text[i];
    if (c == u'\r' || c == u'\n') {
      lines.push_back(std::move(line));
      line.clear();
      if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
    } else {
      line.push_back(c);
    }
  }
  if (!line.empty()) lines.push_back(std::move(line));
  return lines;
}

std::optional<std::vector<std::u16string>> ReadTextLines(const std::filesystem::path& p) {
  auto bytes = platform::ReadFileBytes(p, kMaxTextFileBytes);
  if (!bytes) return std::nullopt;
  return SplitTextLines(*bytes);
}

}  // namespace parvex
