// Where the running program lies, and where Jw_cad would be installed.
#pragma once

#include <filesystem>
#include <string_view>

namespace parvex::platform {

// Full path of the running executable; empty when it cannot be found.
std::filesystem::path ExecutablePath();

// Folder of the running executable; empty when it cannot be found.
std::filesystem::path ExecutableFolder();

// The folder a default Jw_cad installation uses on this system. On Windows
// that is "c:\jww\"; here it is the jww folder of the default Wine prefix
// (~/.wine/drive_c/jww). Empty when the home folder is unknown.
std::filesystem::path DefaultJwwFolder();

// A folder or file path as a Windows program wrote it ("C:\\jww\\ref.txt",
// "..\\ref.txt") as a path on this system: "\\" becomes "/", and a drive
// letter is looked up among the default Wine prefix's drives
// (~/.wine/dosdevices/c:/jww/ref.txt). Other texts are taken as they are.
std::filesystem::path PathFromWindowsText(std::u16string_view text);

}  // namespace parvex::platform
