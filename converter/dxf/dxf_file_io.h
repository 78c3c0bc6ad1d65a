// The time stamps of the source drawing as day counts, which common/ has
// no equivalent for. The output file is a platform::PendingFile
// (common/platform/output_files.h); image copies use
// parvex::CopyFileKeepTimes (common/path_helpers.h).
#pragma once

#include <filesystem>

namespace parvex::dxfio {

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
