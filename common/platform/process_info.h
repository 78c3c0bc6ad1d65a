// The running program (its path, process id and command line), and where
// Jw_cad would be installed.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace parvex::platform {

// The arguments of the program's command line after the program name, as
// narrow text (see PathFromNarrow): main's argv on Linux; on Windows the
// UTF-16 command line, so that every file name arrives whole whatever the
// system's code page.
std::vector<std::string> CommandLineArguments(int argc, char** argv);

std::int64_t CurrentProcessId();

// Full path of the running executable; empty when it cannot be found.
std::filesystem::path ExecutablePath();

// Folder of the running executable; empty when it cannot be found.
std::filesystem::path ExecutableFolder();

// The folder whose "Parvex.dat" the programs read and write, and that holds
// the converter's image folders ("TEMP"): the program's own folder, as for a
// copy unpacked or built anywhere. On Linux an installed program (one whose
// folder lies beside a "share/parvex" folder: /usr/bin beside
// /usr/share/parvex) cannot write beside itself, so it keeps them in the
// user's own ~/.config/parvex, made for the user alone when missing; when
// there is no home folder or that folder cannot be made, the program's
// folder after all. Empty when the program's folder is unknown.
std::filesystem::path SettingsFolder();

// SettingsFolder() for a program in `programFolder` and a user whose home
// folder is `home` (empty when unknown).
std::filesystem::path SettingsFolderFor(const std::filesystem::path& programFolder,
                                        const std::filesystem::path& home);

// The folder a default Jw_cad installation uses on this system: "C:\jww" on
// Windows; on Linux the jww folder of the default Wine prefix
// (~/.wine/drive_c/jww), empty when the home folder is unknown.
std::filesystem::path DefaultJwwFolder();

// The folder of the program that opens ".jww" files, from the file
// association in the registry: the default value of HKEY_CLASSES_ROOT\.jww
// names a file type, whose shell\open\command holds the command line. Empty
// when there is no association, and on Linux, where the launcher reads the
// association from the Wine prefix and hands the folder to the converter in
// the settings file.
std::filesystem::path AssociatedJwwFolder();

// The program of an open command line: a quoted path up to its closing
// quote (it may hold spaces), an unquoted one up to the first blank.
std::u16string ProgramOfOpenCommand(std::u16string_view commandLine);

// A folder or file path as a Windows program wrote it ("C:\\jww\\ref.txt",
// "..\\ref.txt") as a path on this system. On Windows that is the text as
// it stands. On Linux "\\" becomes "/", and a drive letter is looked up
// among the default Wine prefix's drives (~/.wine/dosdevices/c:/jww/ref.txt);
// other texts are taken as they are.
std::filesystem::path PathFromWindowsText(std::u16string_view text);

}  // namespace parvex::platform
