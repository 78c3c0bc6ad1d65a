#include <fcntl.h>
#include <io.h>

#include <atomic>
#include <string>

#include "common/platform/files.h"
#include "common/platform/output_files.h"
#include "common/platform/process_info.h"
#include "common/platform/scratch_names.h"
#include "common/platform/win32_support.h"

namespace parvex::platform {

namespace {

std::string Quoted(const std::filesystem::path& p) { return "\"" + NarrowFromPath(p) + "\""; }

std::string Reason(const char* what, const std::filesystem::path& p, DWORD error) {
  return std::string(what) + " " + Quoted(p) + ": " + detail::ErrorText(error);
}

HANDLE HandleOf(int fd) { return reinterpret_cast<HANDLE>(_get_osfhandle(fd)); }

// While a file is marked for deletion, the system removes it when its last
// handle closes, however the process ends: a crash, Ctrl+C or a kill takes
// the unfinished output with it.
bool MarkForDeletion(HANDLE h, bool remove) {
  FILE_DISPOSITION_INFO disposition{};
  disposition.DeleteFile = remove ? TRUE : FALSE;
  return SetFileInformationByHandle(h, FileDispositionInfo, &disposition, sizeof disposition) != 0;
}

bool IsFree(DWORD error) { return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND; }

}  // namespace

Status PendingFile::Open(const std::filesystem::path& destination) {
  Abort();
  if (!destination.has_filename()) return Fail("no file name in " + Quoted(destination));
  // A link at the destination (a dangling one too) counts as taken.
  if (GetFileAttributesW(destination.c_str()) != INVALID_FILE_ATTRIBUTES)
    return Fail(Quoted(destination) + " already exists");
  if (const DWORD e = GetLastError(); !IsFree(e)) return Fail(Reason("cannot use", destination, e));
  static std::atomic<unsigned> counter{0};
  DWORD error = ERROR_FILE_EXISTS;
  for (int attempt = 0; attempt < 100 && error == ERROR_FILE_EXISTS; ++attempt) {
    std::filesystem::path tmp =
        destination.parent_path() / detail::PendingFileName(CurrentProcessId(), counter++);
    HANDLE h = CreateFileW(tmp.c_str(), GENERIC_WRITE | DELETE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
      error = GetLastError();
      if (error == ERROR_ALREADY_EXISTS) error = ERROR_FILE_EXISTS;
      continue;
    }
    MarkForDeletion(h, true);
    const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(h), _O_BINARY);
    if (fd < 0) {
      error = ERROR_TOO_MANY_OPEN_FILES;
      CloseHandle(h);
      DeleteFileW(tmp.c_str());
      break;
    }
    error = 0;
    fd_ = fd;
    destination_ = destination;
    tmp_ = std::move(tmp);
  }
  if (error == 0) return Ok();
  if (error == ERROR_FILE_EXISTS) return Fail("no free temporary name in " + Quoted(destination.parent_path()));
  return Fail(Reason("cannot create a file in", destination.parent_path(), error));
}

Status PendingFile::Commit() {
  if (fd_ < 0) return Fail("no file is being written");
  const HANDLE h = HandleOf(fd_);
  DWORD error = FlushFileBuffers(h) ? 0 : GetLastError();
  // The complete file is kept from here on.
  if (error == 0 && !MarkForDeletion(h, false)) error = GetLastError();
  if (_close(fd_) != 0 && error == 0) error = ERROR_WRITE_FAULT;
  fd_ = -1;
  Status result = Ok();
  if (error != 0) {
    result = Fail(Reason("cannot write", destination_, error));
  } else if (!MoveFileExW(tmp_.c_str(), destination_.c_str(), MOVEFILE_WRITE_THROUGH)) {
    // Without MOVEFILE_REPLACE_EXISTING the move never replaces a file.
    const DWORD e = GetLastError();
    if (e == ERROR_ALREADY_EXISTS || e == ERROR_FILE_EXISTS) {
      result = Fail(Quoted(destination_) + " appeared while it was being written");
    } else {
      result = Fail(Reason("cannot name", destination_, e));
    }
  }
  if (!result) DeleteFileW(tmp_.c_str());
  tmp_.clear();
  return result;
}

void PendingFile::Abort() {
  if (fd_ >= 0) {
    _close(fd_);
    fd_ = -1;
  }
  if (!tmp_.empty()) {
    DeleteFileW(tmp_.c_str());
    tmp_.clear();
  }
}

int RemoveAbandonedPendingFiles(const std::filesystem::path& folder, std::int64_t pid) {
  const std::filesystem::path f = folder.empty() ? std::filesystem::path(L".") : folder;
  int removed = 0;
  detail::ForEachEntry(f, [&](const std::wstring& name, DWORD attributes) {
    if (!IsPendingFileName(name, pid)) return;
    if ((attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) != 0) return;
    const std::filesystem::path file = f / name;
    if (!detail::OwnedByCurrentUser(file)) return;
    if (DeleteFileW(file.c_str())) ++removed;
  });
  return removed;
}

// Windows has no file size signal: a write beyond a limit fails.
void IgnoreFileSizeSignal() {}

// Each output file is marked for deletion while it is written (see
// MarkForDeletion), which covers every way the process can end and any
// number of files written at once by several threads: no list to keep.
void RemovePendingFileOnTermination() {}

}  // namespace parvex::platform
