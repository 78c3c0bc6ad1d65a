#include <fcntl.h>
#include <io.h>

#include <algorithm>

#include "common/platform/files.h"
#include "common/platform/win32_support.h"

namespace parvex::platform {

namespace {

HANDLE HandleOf(int fd) { return reinterpret_cast<HANDLE>(_get_osfhandle(fd)); }

// A CRT descriptor for the handle, in binary mode, or -1 (the handle is
// closed then).
int DescriptorOf(HANDLE h, int flags) {
  const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(h), flags);
  if (fd < 0) CloseHandle(h);
  return fd;
}

// At most this many bytes go through one CRT read or write call.
constexpr std::size_t kMaxChunk = 1u << 30;

}  // namespace

std::filesystem::path PathFromText(std::u16string_view text) {
  return std::filesystem::path(std::wstring(text.begin(), text.end()));
}

std::u16string PathToText(const std::filesystem::path& p) {
  const std::wstring& w = p.native();
  return std::u16string(w.begin(), w.end());
}

std::filesystem::path PathFromNarrow(std::string_view text) {
  return PathFromText(detail::WideFromNarrow(text));
}

std::string NarrowFromPath(const std::filesystem::path& p) {
  return detail::NarrowFromWide(PathToText(p));
}

// ---- descriptors (ReadOnlyFile and NewFile)

bool detail::CloseDescriptor(int fd) { return _close(fd) == 0; }

bool detail::FlushDescriptor(int fd) { return FlushFileBuffers(HandleOf(fd)) != 0; }

// ---- ReadOnlyFile

std::optional<ReadOnlyFile> ReadOnlyFile::Open(const std::filesystem::path& p) {
  if (p.empty()) return std::nullopt;
  // Others may read but not write while the file is open; a file open for
  // writing elsewhere is refused (a sharing violation).
  HANDLE h = CreateFileW(p.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return std::nullopt;
  BY_HANDLE_FILE_INFORMATION info{};
  if (GetFileType(h) != FILE_TYPE_DISK || !GetFileInformationByHandle(h, &info) ||
      (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    CloseHandle(h);
    return std::nullopt;
  }
  const int fd = DescriptorOf(h, _O_RDONLY | _O_BINARY);
  if (fd < 0) return std::nullopt;
  ReadOnlyFile f;
  f.fd_ = fd;
  return f;
}

std::uint64_t ReadOnlyFile::Size() const {
  LARGE_INTEGER size{};
  if (fd_ < 0 || !GetFileSizeEx(HandleOf(fd_), &size) || size.QuadPart < 0) return 0;
  return static_cast<std::uint64_t>(size.QuadPart);
}

std::size_t ReadOnlyFile::Read(char* buffer, std::size_t n) {
  if (fd_ < 0) return 0;
  std::size_t done = 0;
  while (done < n) {
    const std::size_t chunk = std::min(n - done, kMaxChunk);
    const int r = _read(fd_, buffer + done, static_cast<unsigned>(chunk));
    if (r < 0) failed_ = true;
    if (r <= 0) break;
    done += static_cast<std::size_t>(r);
  }
  return done;
}

// ---- NewFile

std::optional<NewFile> NewFile::Create(const std::filesystem::path& p) {
  if (p.empty()) return std::nullopt;
  // CREATE_NEW fails when anything has the name, a link included; nobody
  // else may open the file while it is written.
  HANDLE h = CreateFileW(p.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                         nullptr);
  if (h == INVALID_HANDLE_VALUE) return std::nullopt;
  const int fd = DescriptorOf(h, _O_BINARY);
  if (fd < 0) {
    DeleteFileW(p.c_str());
    return std::nullopt;
  }
  NewFile f;
  f.fd_ = fd;
  f.path_ = p;
  return f;
}

bool NewFile::Write(std::string_view bytes) {
  if (fd_ < 0 || failed_) return false;
  const char* data = bytes.data();
  std::size_t left = bytes.size();
  while (left > 0) {
    const std::size_t chunk = std::min(left, kMaxChunk);
    const int w = _write(fd_, data, static_cast<unsigned>(chunk));
    if (w <= 0) {
      failed_ = true;
      return false;
    }
    data += w;
    left -= static_cast<std::size_t>(w);
  }
  return true;
}

bool RemoveFileEntry(const std::filesystem::path& p) {
  if (p.empty()) return false;
  const DWORD attributes = GetFileAttributesW(p.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    const DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
  }
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    // A link to a folder is removed as the link it is; a folder stays.
    return (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 && RemoveDirectoryW(p.c_str());
  }
  return DeleteFileW(p.c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND;
}

bool RemoveEmptyFolder(const std::filesystem::path& p) {
  if (p.empty()) return false;
  // RemoveDirectoryW refuses a folder that still has entries.
  return RemoveDirectoryW(p.c_str()) != 0;
}

bool RenameReplacing(const std::filesystem::path& from, const std::filesystem::path& to) {
  return MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

// ---- times

std::optional<FileTimes> ReadFileTimes(const std::filesystem::path& p) {
  if (p.empty()) return std::nullopt;
  // Opened for its attributes only, following a link as reading would.
  HANDLE h = CreateFileW(p.c_str(), FILE_READ_ATTRIBUTES,
                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (h == INVALID_HANDLE_VALUE) return std::nullopt;
  FILETIME creation{}, access{}, write{};
  const bool ok = GetFileTime(h, &creation, &access, &write);
  CloseHandle(h);
  if (!ok) return std::nullopt;
  FileTimes t;
  t.Access = detail::TimespecFromFileTime(access);
  t.Write = detail::TimespecFromFileTime(write);
  t.Creation = detail::TimespecFromFileTime(creation);
  t.CreationKnown = true;
  return t;
}

bool SetFileTimes(const std::filesystem::path& p, const FileTimes& t) {
  FILETIME access{}, write{};
  if (!detail::FileTimeFromTimespec(t.Access, access) || !detail::FileTimeFromTimespec(t.Write, write))
    return false;
  HANDLE h = CreateFileW(p.c_str(), FILE_WRITE_ATTRIBUTES,
                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  const bool ok = SetFileTime(h, nullptr, &access, &write);
  CloseHandle(h);
  return ok;
}

}  // namespace parvex::platform
