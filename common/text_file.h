// Small text files read as lines: settings files, Jw_cad's "Jw_win.jwf"
// and reference-variable files.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace parvex {

// Largest text file read as lines; larger ones are refused rather than
// loaded whole.
inline constexpr std::uint64_t kMaxTextFileBytes = 16u * 1024u * 1024u;

// Decodes bytes by their byte-order mark (UTF-8, UTF-16LE) or, without
// one, as code page 932, and splits them at CR LF, LF or CR. A final line
// break does not start another line.
std::vector<std::u16string> SplitTextLines(std::string_view bytes);

// The file's lines; nothing when it is missing, unreadable or too large.
std::optional<std::vector<std::u16string>> ReadTextLines(const std::filesystem::path& p);

}  // namespace parvex
