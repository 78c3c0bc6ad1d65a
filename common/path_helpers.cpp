#include "common/path_helpers.h"

#include <system_error>

#include "common/number_text.h"
#include "common/platform/files.h"
#include "common/text_helpers.h"

namespace parvex {

namespace {

constexpr char16_t kSeparator = platform::kPathSeparator;

std::ptrdiff_t LastSeparator(std::u16string_view p) {
  for (size_t i = p.size(); i > 0; --i)
    if (IsPathSeparator(p[i - 1])) return static_cast<std::ptrdiff_t>(i - 1);
  return -1;
}

// Index of the extension's dot, or npos when the name part has none.
size_t ExtensionDot(std::u16string_view p) {
  size_t dot = p.rfind(u'.');
  if (dot == std::u16string_view::npos) return dot;
  if (static_cast<std::ptrdiff_t>(dot) < LastSeparator(p)) return std::u16string_view::npos;
  return dot;
}

}  // namespace

std::u16string PathSeparator() { return std::u16string(1, kSeparator); }
bool IsPathSeparator(char16_t c) { return c == u'/' || c == u'\\'; }

std::u16string IncludeTrailingSeparator(std::u16string_view p) {
  std::u16string r(p);
  if (r.empty() || !IsPathSeparator(r.back())) r.push_back(kSeparator);
  return r;
}

std::u16string ExcludeTrailingSeparator(std::u16string_view p) {
  std::u16string r(p);
  if (!r.empty() && IsPathSeparator(r.back())) r.pop_back();
  return r;
}

std::vector<std::u16string> SplitPath(std::u16string_view p) {
  std::vector<std::u16string> parts;
  std::u16string piece;
  for (char16_t c : p) {
    if (IsPathSeparator(c)) {
      if (!piece.empty()) parts.push_back(std::move(piece));
      piece.clear();
    } else {
      piece.push_back(c);
    }
  }
  if (!piece.empty()) parts.push_back(std::move(piece));
  return parts;
}

std::u16string FolderOf(std::u16string_view p) {
  if (RemoveBlanks(p).empty()) return {};
  std::ptrdiff_t s = LastSeparator(p);
  if (s < 0) return PathSeparator();
  return std::u16string(p.substr(0, static_cast<size_t>(s) + 1));
}

std::u16string FileNameOf(std::u16string_view p) {
  if (RemoveBlanks(p).empty()) return {};
  return std::u16string(p.substr(static_cast<size_t>(LastSeparator(p) + 1)));
}

std::u16string LowerExtension(std::u16string_view p) {
  size_t dot = ExtensionDot(p);
  if (dot == std::u16string_view::npos) return {};
  return LowerText(p.substr(dot));
}

std::u16string ChangeExtension(std::u16string_view p, std::u16string_view ext) {
  if (p.empty()) return {};
  size_t dot = ExtensionDot(p);
  std::u16string r(dot == std::u16string_view::npos ? p : p.substr(0, dot));
  r += ext;
  return r;
}

std::u16string NormalizeSeparators(std::u16string_view p) {
  std::u16string r(p);
  for (auto& c : r)
    if (IsPathSeparator(c)) c = kSeparator;
  return r;
}

bool FileExistsSafe(const std::filesystem::path& p) {
  if (p.empty()) return false;
  std::error_code ec;
  auto st = std::filesystem::status(p, ec);
  return !ec && std::filesystem::exists(st) && !std::filesystem::is_directory(st);
}

bool FolderExists(const std::filesystem::path& p) {
  if (p.empty()) return false;
  std::error_code ec;
  return std::filesystem::is_directory(p, ec);
}

bool CreateFolder(const std::filesystem::path& p) {
  if (p.empty()) return false;
  std::error_code ec;
  std::filesystem::create_directories(p, ec);
  return FolderExists(p);
}

bool DeleteFileSafe(const std::filesystem::path& p) {
  if (p.empty()) return false;
  std::error_code ec;
  auto st = std::filesystem::symlink_status(p, ec);
  if (ec || std::filesystem::is_directory(st)) return false;
  return std::filesystem::remove(p, ec) && !ec;
}

bool RemoveFolder(const std::filesystem::path& p) {
  if (p.empty()) return false;
  return platform::RemoveEmptyFolder(p);
}

platform::LocalDateTime FileCreationTime(const std::filesystem::path& p) {
  auto t = platform::ReadFileTimes(p);
  return t ? platform::ToLocal(t->Creation) : platform::LocalDateTime{};
}

platform::LocalDateTime FileWriteTime(const std::filesystem::path& p) {
  auto t = platform::ReadFileTimes(p);
  return t ? platform::ToLocal(t->Write) : platform::LocalDateTime{};
}

bool CopyFileKeepTimes(const std::filesystem::path& src, const std::filesystem::path& dst) {
  auto times = platform::ReadFileTimes(src);
  if (!times) return false;
  auto in = platform::ReadOnlyFile::Open(src);
  if (!in) return false;
  auto out = platform::NewFile::Create(dst);
  if (!out) return false;
  return CopyIntoNewFile(*in, *out, *times);
}

bool CopyIntoNewFile(platform::ReadOnlyFile& in, platform::NewFile& out,
                     const platform::FileTimes& times) {
  char block[4096];
  for (;;) {
    std::size_t n = in.Read(block, sizeof block);
    if (n == 0) break;
    if (!out.Write(std::string_view(block, n))) return false;
  }
  // A read error ends the loop like the end of the file would; the copy
  // is then incomplete and is removed (by NewFile) instead of kept.
  if (in.Failed()) return false;
  const std::filesystem::path dst = out.Path();
  if (!out.Commit()) return false;
  if (!platform::SetFileTimes(dst, times)) {
    DeleteFileSafe(dst);
    return false;
  }
  return true;
}

std::filesystem::path UniqueFileName(const std::filesystem::path& p, int maxBranch) {
  if (p.empty()) return {};
  std::error_code ec;
  if (!std::filesystem::exists(std::filesystem::symlink_status(p, ec))) return p;
  std::u16string text = platform::PathToText(p);
  std::u16string stem = ChangeExtension(text, u"");
  std::u16string ext = LowerExtension(text);
  for (int i = 1; i <= maxBranch; ++i) {
    auto candidate = platform::PathFromText(stem + u"~" + IntToText(i) + ext);
    if (!std::filesystem::exists(std::filesystem::symlink_status(candidate, ec)))
      return candidate;
  }
  return {};
}

}  // namespace parvex
