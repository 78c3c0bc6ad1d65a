// The settings file as the launcher's window reads and writes it.
#pragma once

#include <QString>

namespace parvex::launcher {

// The settings file of a launcher executable: its path with ".dat" in place
// of its extension ("Parvex" -> "Parvex.dat").
QString SettingsFileOf(const QString& executablePath);

}  // namespace parvex::launcher
