// File operations of the writer on POSIX systems: exclusive creation of the
// output, removal of a failed output, copies of image files with their time
// stamps, and the time stamps of the source drawing.
#pragma once

#include <filesystem>

namespace parvex::dxfio {

// Opens a new file for writing; fails (-1) when anything exists at the path.
int CreateNewFile(const std::filesystem::path& p);
bool CloseFile(int fd);
void RemoveFile(const std::filesystem::path& p);

// Copies src to dst (which must not exist yet) and gives the copy the
// access and modification times of src. A failed copy leaves no dst.
bool CopyFileKeepTimes(const std::filesystem::path& src, const std::filesystem::path& dst);

// Creation and last-write time of a file as a local date-time in days since
// 1899-12-30 (time of day as fraction); 0 when unavailable (a file system
// that keeps no creation time gives 0 for it).
double FileCreationTime(const std::filesystem::path& p);
double FileWriteTime(const std::filesystem::path& p);

}  // namespace parvex::dxfio
