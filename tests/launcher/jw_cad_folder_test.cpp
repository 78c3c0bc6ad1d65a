// Finding the Jw_cad program folder through the ".jww" association of a
// Wine prefix.
#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include "launcher/platform_lookup.h"
#include "launcher/wine_registry.h"
#include "tests/support/temp_folder.h"

namespace parvex::launcher {
namespace {

void Write(const QString& path, const QByteArray& content) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
  file.write(content);
}

TEST(JwCadFolder, ProgramOfTheOpenCommand) {
  const struct {
    QString command;
    QString program;
  } cases[] = {
      {R"("C:\JWW\Jw_win.exe" "%1")", R"(C:\JWW\Jw_win.exe)"},
      {R"(C:\JWW\Jw_win.exe "%1")", R"(C:\JWW\Jw_win.exe)"},
      {R"(C:\JWW\Jw_win.exe)", R"(C:\JWW\Jw_win.exe)"},
      // A quoted path keeps its spaces.
      {R"("C:\Program Files\Jw_cad\Jw_win.exe" "%1")", R"(C:\Program Files\Jw_cad\Jw_win.exe)"},
      {R"("C:\JWW\Jw_win.exe)", R"(C:\JWW\Jw_win.exe)"},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(ProgramOfCommandLine(c.command), c.program) << c.command.toStdString();
}

class WinePrefixTest : public ::testing::Test {
 protected:
  void SetUp() override {
    prefix_ = QString::fromStdString(dir_.Path().string());
    QDir().mkpath(prefix_ + "/drive_c");
    QDir().mkpath(prefix_ + "/dosdevices");
    QFile::link("../drive_c", prefix_ + "/dosdevices/c:");
  }
  parvex::testing::TempFolder dir_;
  QString prefix_;
};

TEST_F(WinePrefixTest, AssociationLeadsToTheProgramFolderInsideThePrefix) {
  QDir().mkpath(prefix_ + "/drive_c/Program Files/JWW");
  Write(prefix_ + "/system.reg",
        "WINE REGISTRY Version 2\n"
        ";; All keys relative to \\\\Machine\n\n"
        "[Software\\\\Classes\\\\.jww] 1700000000\n"
        "#time=1d9c0b5e1f2a3b4\n"
        "@=\"JwwFile\"\n\n"
        "[Software\\\\Classes\\\\jwwfile\\\\shell\\\\open\\\\command] 1700000000\n"
        "@=\"\\\"C:\\\\program files\\\\jww\\\\Jw_win.exe\\\" \\\"%1\\\"\"\n");
  EXPECT_EQ(FindJwwOpenCommand(prefix_), R"("C:\program files\jww\Jw_win.exe" "%1")");
  // Folder names are matched as Windows matches them, without regard to case.
  EXPECT_EQ(JwwProgramFolder(prefix_), prefix_ + "/drive_c/Program Files/JWW/");
}

TEST_F(WinePrefixTest, UserClassesComeFirst) {
  Write(prefix_ + "/system.reg",
        "[Software\\\\Classes\\\\.jww]\n@=\"A\"\n"
        "[Software\\\\Classes\\\\A\\\\shell\\\\open\\\\command]\n@=\"C:\\\\machine\\\\jw_win.exe %1\"\n");
  Write(prefix_ + "/user.reg",
        "[Software\\\\Classes\\\\.jww]\n@=\"B\"\n"
        "[Software\\\\Classes\\\\B\\\\shell\\\\open\\\\command]\n@=str(2):\"C:\\\\user\\\\jw_win.exe %1\"\n");
  EXPECT_EQ(FindJwwOpenCommand(prefix_), R"(C:\user\jw_win.exe %1)");
  EXPECT_EQ(JwwProgramFolder(prefix_), prefix_ + "/drive_c/user/");
}

TEST_F(WinePrefixTest, WithoutAssociationTheUsualFolderOrTheDefault) {
  EXPECT_EQ(JwwProgramFolder(prefix_), R"(C:\JWW\)");
  EXPECT_EQ(JwwProgramFolder(prefix_ + "/no-prefix"), R"(C:\JWW\)");
  QDir().mkpath(prefix_ + "/drive_c/jww");
  EXPECT_EQ(JwwProgramFolder(prefix_), prefix_ + "/drive_c/jww/");
  // An association without its command changes nothing.
  Write(prefix_ + "/system.reg", "[Software\\\\Classes\\\\.jww]\n@=\"JwwFile\"\n");
  EXPECT_EQ(JwwProgramFolder(prefix_), prefix_ + "/drive_c/jww/");
}

TEST_F(WinePrefixTest, UnmappedDriveKeepsTheWindowsFolder) {
  Write(prefix_ + "/system.reg",
        "[Software\\\\Classes\\\\.jww]\n@=\"J\"\n"
        "[Software\\\\Classes\\\\J\\\\shell\\\\open\\\\command]\n@=\"\\\"Q:\\\\JW\\\\Jw_win.exe\\\" \\\"%1\\\"\"\n");
  EXPECT_EQ(JwwProgramFolder(prefix_), R"(Q:\JW\)");
}

}  // namespace
}  // namespace parvex::launcher
