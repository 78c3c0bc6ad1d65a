// Parvex: the launcher window. Paths given on the command line (also what a
// file manager passes when drawings are dropped on the program) are
// converted as soon as the window shows.
#include <QApplication>
#include <QFileInfo>
#include <QMessageBox>

#include <iostream>

#include "common/platform/codepage.h"
#include "common/platform/process_info.h"
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
