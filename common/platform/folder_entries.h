// Walking the entries of an open folder, for the platform code that removes
// entries by name relative to that folder (never following a link).
#pragma once

#include <dirent.h>
#include <unistd.h>

#include <cstring>

namespace parvex::platform {

// Calls f(dirFd, name) for every entry of the folder open as `dirFd` except
// "." and ".."; the descriptor is closed afterwards. False when the folder
// cannot be read.
template <typename F>
bool ForEachEntry(int dirFd, F&& f) {
  DIR* dir = ::fdopendir(dirFd);
  if (dir == nullptr) {
    ::close(dirFd);
    return false;
  }
  while (const dirent* e = ::readdir(dir)) {
    if (std::strcmp(e->d_name, ".") == 0 || std::strcmp(e->d_name, "..") == 0) continue;
    f(::dirfd(dir), e->d_name);
  }
  ::closedir(dir);
  return true;
}

}  // namespace parvex::platform
