// Parvex: the launcher window. Paths given on the command line (also what a
// file manager passes when drawings are dropped on the program) are
// converted as soon as the window shows.
#include <QApplication>
#include <QMessageBox>

#include <iostream>

#include "common/platform/codepage.h"
#include "launcher/launcher_paths.h"
#include "launcher/launcher_settings_io.h"
#include "launcher/launcher_window.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  // Without code page 932 neither the drawings' names and texts nor the
  // converter would work: the launcher says so and does not start.
  if (const parvex::Status codePage = parvex::platform::CodePageReady(); !codePage) {
    std::cerr << "Parvex: " << codePage.reason() << '\n';
    QMessageBox::critical(nullptr, QStringLiteral("Parvex"), QString::fromStdString(codePage.reason()));
    return 1;
  }
  parvex::launcher::LauncherEnvironment environment;
  environment.programFolder = parvex::launcher::IncludeTrailingSeparator(QCoreApplication::applicationDirPath());
  environment.settingsFile = parvex::launcher::SettingsFileOf(QCoreApplication::applicationFilePath());
  environment.commandLineFiles = QCoreApplication::arguments().mid(1);
  parvex::launcher::LauncherWindow window(environment);
  window.show();
  return app.exec();
}
