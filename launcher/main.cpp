// Parvex: the launcher window. Paths given on the command line (also what a
// file manager passes when drawings are dropped on the program) are
// converted as soon as the window shows.
#include <QApplication>
#include <QFileInfo>

#include "common/platform/process_info.h"

#include "launcher/launcher_paths.h"
#include "launcher/launcher_settings_io.h"
#include "launcher/launcher_window.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  parvex::launcher::LauncherEnvironment environment;
  environment.programFolder = parvex::launcher::IncludeTrailingSeparator(QCoreApplication::applicationDirPath());
  // Beside the program, or in the user's own folder for an installed one
  // (where ParvexSub, started from the same folder, looks too).
  const QString settingsFolder = parvex::launcher::FromPath(parvex::platform::SettingsFolder());
  environment.settingsFile = parvex::launcher::SettingsFileOf(
      settingsFolder.isEmpty() ? QCoreApplication::applicationFilePath()
                               : parvex::launcher::IncludeTrailingSeparator(settingsFolder) +
                                     QFileInfo(QCoreApplication::applicationFilePath()).fileName());
  environment.commandLineFiles = QCoreApplication::arguments().mid(1);
  parvex::launcher::LauncherWindow window(environment);
  window.show();
  return app.exec();
}
