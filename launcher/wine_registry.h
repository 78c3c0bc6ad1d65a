// Read-only look-up of Jw_cad's ".jww" file association in the registry
// files of a Wine prefix (system.reg and user.reg), which is where a Jw_cad
// installed under Wine records it.
#pragma once

#include <QString>

namespace parvex::launcher {

// The default value of `keyPath` (backslash-separated, compared without
// regard to case, e.g. "Software\\Classes\\.jww") in the Wine registry file
// `regFile`; empty when the file, the key or the value is missing.
QString ReadRegistryDefaultValue(const QString& regFile, const QString& keyPath);

// The open command of the ".jww" association as HKEY_CLASSES_ROOT shows it:
// the user's classes (user.reg) first, then the machine's (system.reg).
// Empty when there is none.
QString FindJwwOpenCommand(const QString& winePrefix);

// The program path of an open command line: a quoted path is taken up to its
// closing quote (it may hold spaces), an unquoted one up to the first space.
QString ProgramOfCommandLine(const QString& commandLine);

// The Linux path of a Windows path inside the prefix ("C:\JWW\Jw_win.exe" ->
// "<prefix>/drive_c/JWW/Jw_win.exe" through dosdevices). Each existing folder
// level is matched without regard to case, as Windows does. Empty when the
// drive is not mapped.
QString WindowsPathInPrefix(const QString& winePrefix, const QString& windowsPath);

}  // namespace parvex::launcher
