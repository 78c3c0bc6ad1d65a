// The DWG step with a stand-in ODA FileConverter that records its
// arguments and writes a .dwg for every .dxf of its input folder.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

#include "launcher_fixture.h"

namespace parvex::launcher::testing {
namespace {

class DwgTest : public LauncherTest {
 protected:
  void SetUp() override {
    LauncherTest::SetUp();
    InstallStandIn("ODAFileConverter");
  }
  void EnableDwg() {
    Window().DwgCheck->setChecked(true);
    Window().OdaConverterEdit->setText(AppDir() + "ODAFileConverter");
  }
  // One list of arguments per call.
  QList<QStringList> OdaCalls() const {
    QList<QStringList> calls;
    for (const QString& block : ReadText(AppDir() + "oda_calls.txt").split("\n\n", Qt::SkipEmptyParts))
      calls << block.split('\n', Qt::SkipEmptyParts);
    return calls;
  }
};

TEST_F(DwgTest, PassesTheFolderProtocolAndTheVersion) {
  const struct {
    int versionIndex;
    QString version;
  } versions[] = {{0, "ACAD12"}, {1, "ACAD2000"}, {2, "ACAD2007"}};
  const QString drawing = WriteFile(InDir() + "plan.jww", "ok");
  ConvertIntoOutDir();
  EnableDwg();
  for (const auto& v : versions) {
    Window().DxfVersionList->setCurrentIndex(v.versionIndex);
    Window().AcceptFiles({drawing});
  }
  const QList<QStringList> calls = OdaCalls();
  ASSERT_EQ(calls.size(), 3);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(calls[i], (QStringList{AppDir() + "DWGTMP", Root() + "/out", versions[i].version, "DWG", "0", "1",
                                     "*.DXF"}));
  }
  // Each DWG lies beside its DXF, under the DXF's branch-numbered name.
  for (const char* name : {"plan", "plan~1", "plan~2"}) {
    EXPECT_TRUE(QFileInfo::exists(OutDir() + name + ".dxf")) << name;
    EXPECT_TRUE(QFileInfo::exists(OutDir() + name + ".dwg")) << name;
  }
  EXPECT_FALSE(QFileInfo::exists(AppDir() + "DWGTMP"));
  // The log reports the DXF only.
  EXPECT_EQ(Window().LogLines().last(), QString::fromUtf16(u"\u3000\u2026\u2026 変換完了"));
}

TEST_F(DwgTest, NoStepWithoutAnExistingProgram) {
  const QString drawing = WriteFile(InDir() + "plan.jww", "ok");
  ConvertIntoOutDir();
  Window().DwgCheck->setChecked(true);
  for (const QString& program : {QString::fromUtf16(u"(ODA FileConverterを指定して下さい)"), QString(" \u3000 "),
                                 AppDir() + "missing"}) {
    Window().OdaConverterEdit->setText(program);
    Window().AcceptFiles({drawing});
    EXPECT_FALSE(QFileInfo::exists(AppDir() + "DWGTMP")) << program.toStdString();
  }
  EXPECT_TRUE(OdaCalls().isEmpty());
  EXPECT_TRUE(QDir(OutDir()).entryList({"*.dwg"}).isEmpty());
}

TEST_F(DwgTest, FailedConversionSkipsTheStepAndKeepsOthersFiles) {
  const QString bad = WriteFile(InDir() + "bad.jww", "BAD");
  ConvertIntoOutDir();
  EnableDwg();
  // A file left behind in the temporary folder is not the launcher's to
  // remove: the folder stays.
  WriteFile(AppDir() + "DWGTMP/left.txt", "x");
  Window().AcceptFiles({bad});
  EXPECT_TRUE(OdaCalls().isEmpty());
  EXPECT_TRUE(QFileInfo::exists(AppDir() + "DWGTMP/left.txt"));
}

}  // namespace
}  // namespace parvex::launcher::testing
