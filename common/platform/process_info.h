// Where the running program lies, and where Jw_cad would be installed.
#pragma once

#include <filesystem>

namespace parvex::platform {

// Full path of the running executable; empty when it cannot be found.
std::filesystem::path ExecutablePath();

// Folder of the running executable; empty when it cannot be found.
std::filesystem::path ExecutableFolder();

// The folder a default Jw_cad installation uses on this system. On Windows
// that is "c:\jww\"; here it is the jww folder of the default Wine prefix
// (~/.wine/drive_c/jww). Empty when the home folder is unknown.
std::filesystem::path DefaultJwwFolder();

}  // namespace parvex::platform
