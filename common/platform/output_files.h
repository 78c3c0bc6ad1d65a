// The output file of a conversion while it is written, and what the
// programs do about signals that would end them in the middle of it.
//
// The bytes go to a short hidden temporary name beside the destination
// (".pvx-PID-N.tmp"), which takes the destination's name only once the
// file is complete and on disk. The name says which process writes it, so
// that a caller that had to kill that process can remove what it left, and
// it is short, so that it fits wherever the destination's name fits.
#pragma once

#include <cstdint>
#include <filesystem>

#include "common/result.h"

namespace parvex::platform {

class PendingFile {
 public:
  PendingFile() = default;
  PendingFile(const PendingFile&) = delete;
  PendingFile& operator=(const PendingFile&) = delete;
  ~PendingFile() { Abort(); }

  // Creates the temporary file beside `destination`. Fails when something
  // (a dangling link included) is at `destination` or the folder takes no
  // new file.
  Status Open(const std::filesystem::path& destination);
  // Descriptor to write the bytes to; -1 unless open.
  int Fd() const { return fd_; }
  const std::filesystem::path& TemporaryPath() const { return tmp_; }
  // Flushes the file to disk, gives it the destination's name (never
  // replacing a file that took the name meanwhile) and flushes the folder.
  // On failure the temporary file is gone and whatever is at the
  // destination is left as it is.
  Status Commit();
  // Closes and removes the temporary file.
  void Abort();

 private:
  int fd_ = -1;
  std::filesystem::path destination_;
  std::filesystem::path tmp_;
};

// True when `name` is the temporary name of an output file that process
// `pid` writes.
bool IsPendingFileName(const std::filesystem::path& name, std::int64_t pid);

// Removes the temporary output files that process `pid` left in `folder`
// (ended by a signal before it could remove them itself). Only regular
// files of this user with such a name go. Returns how many were removed.
int RemoveAbandonedPendingFiles(const std::filesystem::path& folder, std::int64_t pid);

// A write beyond the file size limit fails with an error instead of ending
// the process, so that a full disk or a size limit is reported.
void IgnoreFileSizeSignal();

// From now on an interrupt, hang-up or termination signal removes the
// temporary file of the output being written before the process ends (by
// that signal, as it would have without this).
void RemovePendingFileOnTermination();

}  // namespace parvex::platform
