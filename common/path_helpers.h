// Path texts and file operations that never throw. Text functions accept
// both "/" and "\" as separators and add the platform's separator; file
// operations take std::filesystem::path and give false, empty or an unset
// time on any error.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "common/platform/files.h"
#include "common/platform/local_time.h"

namespace parvex {

// The platform's separator as text.
std::u16string PathSeparator();
bool IsPathSeparator(char16_t c);

std::u16string IncludeTrailingSeparator(std::u16string_view p);
std::u16string ExcludeTrailingSeparator(std::u16string_view p);
// The non-empty pieces between separators, in order.
std::vector<std::u16string> SplitPath(std::u16string_view p);
// Folder part with its trailing separator; a bare separator when p has no
// folder part; empty for a blank path.
std::u16string FolderOf(std::u16string_view p);
// File name with extension; empty for a blank path.
std::u16string FileNameOf(std::u16string_view p);
// Extension with its dot, lower-cased; empty when there is none.
std::u16string LowerExtension(std::u16string_view p);
// p with its extension replaced by ext (with dot; empty removes it).
std::u16string ChangeExtension(std::u16string_view p, std::u16string_view ext);
// Every "\" turned into the platform separator: for folder texts written
// by Windows programs (settings, Jw_cad's files).
std::u16string NormalizeSeparators(std::u16string_view p);

// True for an existing file that is not a folder.
bool FileExistsSafe(const std::filesystem::path& p);
bool FolderExists(const std::filesystem::path& p);
// Creates the folder and its missing parents; true when it exists after.
bool CreateFolder(const std::filesystem::path& p);
// Deletes a file (never a folder).
bool DeleteFileSafe(const std::filesystem::path& p);
// Removes a folder only when it is empty.
bool RemoveFolder(const std::filesystem::path& p);
platform::LocalDateTime FileCreationTime(const std::filesystem::path& p);
platform::LocalDateTime FileWriteTime(const std::filesystem::path& p);

// Copies src to a new file dst (never replacing one) and gives it src's
// access and write times. On failure nothing is left at dst.
bool CopyFileKeepTimes(const std::filesystem::path& src, const std::filesystem::path& dst);
// The same for a source already open and a new file already created:
// copies the rest of `in` into `out`, commits it and gives it `times`. On
// failure nothing is left of `out`.
bool CopyIntoNewFile(platform::ReadOnlyFile& in, platform::NewFile& out,
                     const platform::FileTimes& times);

// p when it does not exist, else the first free "name~N.ext" (N = 1 ..
// maxBranch, extension lower-cased); empty when every candidate is taken,
// so that callers never receive an existing file.
std::filesystem::path UniqueFileName(const std::filesystem::path& p, int maxBranch = 99999);

}  // namespace parvex
