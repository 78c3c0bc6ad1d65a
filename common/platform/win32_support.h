// What the Windows side of the platform layer shares among its files. Only
// the *_win.cpp files include it.
#pragma once

#include <windows.h>

#include <cstdint>
#include <ctime>
#include <filesystem>
#include <string>
#include <string_view>

namespace parvex::platform::detail {

// Narrow text of the programs (UTF-8, with the three-byte form for an
// unpaired surrogate) and UTF-16, both ways; see PathFromNarrow.
std::string NarrowFromWide(std::u16string_view text);
std::u16string WideFromNarrow(std::string_view text);

// FILETIME (100-nanosecond steps since 1601) and Unix time. False when the
// time has no FILETIME (before 1601).
timespec TimespecFromFileTime(const FILETIME& ft);
bool FileTimeFromTimespec(const timespec& t, FILETIME& ft);

// The system's message for a Win32 error code, as UTF-8 on one line.
std::string ErrorText(DWORD error);

// True when the owner of the file or folder p is this process's user, or
// the owner that the process gives to what it creates (an administrator's
// files may belong to the Administrators group).
bool OwnedByCurrentUser(const std::filesystem::path& p);

// True while the process `pid` runs (or cannot be asked about).
bool ProcessRunning(std::int64_t pid);

// Calls f(name, attributes) for every entry of `folder` but "." and "..".
// Links are reported as what they are (FILE_ATTRIBUTE_REPARSE_POINT), never
// followed. False when the folder cannot be read.
template <typename F>
bool ForEachEntry(const std::filesystem::path& folder, F&& f) {
  WIN32_FIND_DATAW data;
  const std::filesystem::path pattern = folder / L"*";
  HANDLE find = FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &data, FindExSearchNameMatch,
                                 nullptr, 0);
  if (find == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_FILE_NOT_FOUND;
  do {
    const std::wstring_view name(data.cFileName);
    if (name == L"." || name == L"..") continue;
    f(std::wstring(name), data.dwFileAttributes);
  } while (FindNextFileW(find, &data));
  FindClose(find);
  return true;
}

}  // namespace parvex::platform::detail
