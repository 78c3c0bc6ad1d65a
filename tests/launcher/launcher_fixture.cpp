#include "launcher_fixture.h"

#include <QApplication>
#include <QFileInfo>
#include <QLineEdit>
#include <QRadioButton>
#include <QStandardPaths>

namespace parvex::launcher::testing {

void LauncherTest::SetUp() {
  QDir().mkpath(AppDir());
  QDir().mkpath(InDir());
  QDir().mkpath(OutDir());
  InstallStandIn("ParvexSub");
}

void LauncherTest::TearDown() {
  if (window_) {
    window_->close();
    window_.reset();
  }
}

LauncherWindow& LauncherTest::Window() {
  if (!window_) {
    LauncherEnvironment environment;
    environment.programFolder = AppDir();
    environment.settingsFile = SettingsFile();
    environment.winePrefix = Root() + "/wine";
    environment.commandLineFiles = commandLine_;
    environment.prompts = prompts_;
    environment.escapeHeld = escapeHeld_;
    environment.maxBranch = maxBranch_;
    window_ = std::make_unique<LauncherWindow>(environment);
  }
  return *window_;
}

std::unique_ptr<LauncherWindow> LauncherTest::ReopenWindow() {
  Window().close();
  LauncherEnvironment environment;
  environment.programFolder = AppDir();
  environment.settingsFile = SettingsFile();
  environment.winePrefix = Root() + "/wine";
  environment.prompts = prompts_;
  return std::make_unique<LauncherWindow>(environment);
}

QString LauncherTest::WriteFile(const QString& path, const QByteArray& content) {
  QDir().mkpath(QFileInfo(path).path());
  QFile file(path);
  EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
  file.write(content);
  return path;
}

void LauncherTest::InstallStandIn(const QString& name) {
  const QString target = AppDir() + name;
  QFile::remove(target);
  ASSERT_TRUE(QFile::copy(QStringLiteral(LAUNCHER_STAND_INS "/") + name, target));
  QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup |
                                    QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther);
}

void LauncherTest::ConvertIntoOutDir() {
  Window().GivenFolderButton->setChecked(true);
  Window().GivenFolderEdit->setText(OutDir());
}

QStringList LauncherTest::ConverterCalls() const {
  return ReadText(AppDir() + "converter_calls.txt").split(u'\n', Qt::SkipEmptyParts);
}

QString ReadText(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  return QString::fromUtf8(file.readAll());
}

}  // namespace parvex::launcher::testing

// The window needs a QApplication; the offscreen platform lets the tests
// run without a display, and the test mode keeps the user's real desktop
// and documents folders out of reach.
int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QStandardPaths::setTestModeEnabled(true);
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
