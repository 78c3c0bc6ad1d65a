// Parvex: the launcher window. Paths given on the command line (also what a
// file manager passes when drawings are dropped on the program) are
// converted as soon as the window shows.
#include <QApplication>

#include "launcher/launcher_paths.h"
#include "launcher/launcher_settings_io.h"
#include "launcher/launcher_window.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  parvex::launcher::LauncherEnvironment environment;
  environment.programFolder = parvex::launcher::IncludeTrailingSeparator(QCoreApplication::applicationDirPath());
  environment.settingsFile = parvex::launcher::SettingsFileOf(QCoreApplication::applicationFilePath());
  environment.commandLineFiles = QCoreApplication::arguments().mid(1);
  parvex::launcher::LauncherWindow window(environment);
  window.show();
  return app.exec();
}
