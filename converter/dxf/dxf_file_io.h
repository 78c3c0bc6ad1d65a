// File operations of the writer that common/ has no equivalent for: the
// output file that appears only when complete, and the time stamps of the
// source drawing as day counts. Image copies use parvex::CopyFileKeepTimes
// (common/path_helpers.h).
#pragma once

#include <filesystem>
#include <string>

#include "common/platform/output_files.h"

namespace parvex::dxfio {

// The output file while it is written. The bytes go to a short hidden
// temporary file beside the destination, which gets the destination's name
// only when everything was written and flushed to disk: a reader (the
// launcher judges success by the file's existence) never sees a partial
// file, not even when the process dies while writing. An existing file at
// the destination is never replaced, and a failure never removes one.
class OutputFile {
 public:
  // False when something exists at dst or the temporary file cannot be
  // created (missing folder, no right to write).
  bool Open(const std::filesystem::path& dst);
  int Fd() const { return file_.Fd(); }
  // Closes the file and gives it the destination's name; false (and no
  // file left of ours) when flushing fails or the name has been taken
  // meanwhile.
  bool Commit();
  // Closes and removes the temporary file.
  void Abort() { file_.Abort(); }
  // Why the last Open or Commit failed; empty after a success.
  const std::string& Failure() const { return failure_; }

 private:
  platform::PendingFile file_;
  std::string failure_;
};

// Creation and last-write time of a file as a local date-time in days since
// 1899-12-30 (time of day as fraction); 0 when unavailable (a file system
// that keeps no creation time gives 0 for it). Kept apart from
// parvex::FileCreationTime/FileWriteTime, which give a broken-down time
// to the millisecond and fall back to the write time when no creation time
// is recorded: the header's $TDCREATE and $TDUPDATE keep the full
// nanosecond fraction and show a missing creation time as day 0.
double FileCreationTime(const std::filesystem::path& p);
double FileWriteTime(const std::filesystem::path& p);

}  // namespace parvex::dxfio
