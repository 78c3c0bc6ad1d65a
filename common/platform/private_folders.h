// Folders that one process makes for its own scratch files (the images a
// drawing carries): a fresh folder that only this user can enter, so that
// nobody can plant a file or a link in it beforehand, named after the
// process so that what a killed process left can be recognised and removed
// once that process is gone.
#pragma once

#include <filesystem>

#include "common/result.h"

namespace parvex::platform {

// Makes a new private folder inside `parent` (created first when missing):
// "parvex-PID-XXXXXX" with a random part, accessible to this user only.
Result<std::filesystem::path> CreatePrivateFolder(const std::filesystem::path& parent);

// Removes a folder made by CreatePrivateFolder and the files directly in
// it. Entries are removed, never followed; the folder stays when it holds a
// folder of its own.
void RemovePrivateFolder(const std::filesystem::path& folder);

// Removes the private folders in `parent` that processes left which no
// longer run: folders (not links) of this user, named as CreatePrivateFolder
// names them, whose process is gone. Returns how many were removed.
int RemoveAbandonedPrivateFolders(const std::filesystem::path& parent);

// The system's folder for temporary files.
std::filesystem::path SystemTempFolder();

}  // namespace parvex::platform
