// The window's settings through the settings file: what a save writes and a
// new window reads back, and the corrections a save makes.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

#include "launcher/launcher_settings_io.h"
#include "launcher/platform_lookup.h"
#include "launcher_fixture.h"

namespace parvex::launcher::testing {
namespace {

QStringList SettingsLines(const QString& path) {
  QString text = ReadText(path);
  if (text.startsWith(QChar(0xFEFF))) text.remove(0, 1);
  return text.split(QStringLiteral("\r\n"));
}

TEST_F(LauncherTest, StartsWithTheDefaultsWithoutASettingsFile) {
  LauncherWindow& w = Window();
  EXPECT_TRUE(w.DesktopButton->isChecked());
  EXPECT_FALSE(w.GivenFolderEdit->isEnabled());
  EXPECT_EQ(w.AskedFolderLabel->text(), AppDir());
  EXPECT_EQ(w.PointRadiusEdit->text(), "0.5");
  EXPECT_EQ(w.OdaConverterEdit->text(), QString::fromUtf16(u"(ODA FileConverterを指定して下さい)"));
  for (const QComboBox* box : {w.DxfVersionList, w.ColorModeList, w.LayerNameList, w.OutputSpaceList, w.LayerGroupList,
                               w.PointConversionList, w.TextStyleList})
    EXPECT_EQ(box->currentIndex(), 0) << box->objectName().toStdString();
  EXPECT_FALSE(w.DwgCheck->isChecked());
  EXPECT_TRUE(w.ExpandTextCheck->isChecked());
  EXPECT_TRUE(w.ExpandCodesCheck->isChecked());
  EXPECT_FALSE(w.PolylineCheck->isChecked());
  EXPECT_FALSE(w.DimensionEntityCheck->isChecked());
  EXPECT_EQ(w.ThemeList->currentText(), "Windows");
}

TEST_F(LauncherTest, SettingsSurviveARestart) {
  LauncherWindow& w = Window();
  w.GivenFolderButton->click();
  w.GivenFolderEdit->setText(OutDir());
  w.DxfVersionList->setCurrentIndex(2);
  w.ColorModeList->setCurrentIndex(1);
  w.LayerNameList->setCurrentIndex(2);
  w.OutputSpaceList->setCurrentIndex(2);
  w.LayerGroupList->setCurrentIndex(15);
  w.PointConversionList->setCurrentIndex(6);
  w.TextStyleList->setCurrentIndex(2);
  w.PointRadiusEdit->setText("2.25");
  w.DwgCheck->setChecked(true);
  w.OdaConverterEdit->setText("/opt/oda/ODAFileConverter");
  w.ExpandTextCheck->setChecked(false);
  w.ExpandCodesCheck->setChecked(false);
  w.PolylineCheck->setChecked(true);
  w.DimensionEntityCheck->setChecked(true);

  auto again = ReopenWindow();
  EXPECT_TRUE(again->GivenFolderButton->isChecked());
  EXPECT_FALSE(again->DesktopButton->isChecked());
  EXPECT_TRUE(again->GivenFolderEdit->isEnabled());
  EXPECT_EQ(again->GivenFolderEdit->text(), OutDir());
  EXPECT_EQ(again->DxfVersionList->currentIndex(), 2);
  EXPECT_EQ(again->ColorModeList->currentIndex(), 1);
  EXPECT_EQ(again->LayerNameList->currentIndex(), 2);
  EXPECT_EQ(again->OutputSpaceList->currentIndex(), 2);  // 2007 keeps several layouts
  EXPECT_EQ(again->LayerGroupList->currentIndex(), 15);
  EXPECT_EQ(again->PointConversionList->currentIndex(), 6);
  EXPECT_EQ(again->TextStyleList->currentIndex(), 2);
  EXPECT_EQ(again->PointRadiusEdit->text(), "2.25");
  EXPECT_TRUE(again->DwgCheck->isChecked());
  EXPECT_EQ(again->OdaConverterEdit->text(), "/opt/oda/ODAFileConverter");
  EXPECT_FALSE(again->ExpandTextCheck->isChecked());
  EXPECT_FALSE(again->ExpandCodesCheck->isChecked());
  EXPECT_TRUE(again->PolylineCheck->isChecked());
  EXPECT_TRUE(again->DimensionEntityCheck->isChecked());

  // The file carries the default printer's paper and the Jw_cad folder for
  // the converter (no Wine prefix here: the default folder).
  const QStringList lines = SettingsLines(SettingsFile());
  ASSERT_GE(lines.size(), 33);
  const PrinterPaper paper = DefaultPrinterPaper();
  EXPECT_EQ(lines.mid(25, 4), (QStringList{QString::number(paper.paperWidth, 'f', 0),
                                           QString::number(paper.paperHeight, 'f', 0),
                                           QString::number(paper.printableWidth, 'f', 2),
                                           QString::number(paper.printableHeight, 'f', 2)}));
  EXPECT_EQ(lines[31], QStringLiteral("C:\\JWW\\"));
}

TEST_F(LauncherTest, SavingCorrectsWhatTheConverterCannotUse) {
  const struct {
    QString radius;
    int version;
    QString savedRadius;
    int savedSpace;
  } cases[] = {
      {"abc", 0, "0.001", 1},  // R12 has no layouts: model and paper space
      {"5000", 1, "1000", 2},
      {"0.5", 2, "0.5", 2},
      {"0", 0, "0.001", 1},
  };
  LauncherWindow& w = Window();
  for (const auto& c : cases) {
    w.PointRadiusEdit->setText(c.radius);
    w.DxfVersionList->setCurrentIndex(c.version);
    w.OutputSpaceList->setCurrentIndex(2);
    w.SaveDatFile(SettingsFile());
    EXPECT_EQ(w.PointRadiusEdit->text(), c.savedRadius) << c.radius.toStdString();
    EXPECT_EQ(w.OutputSpaceList->currentIndex(), c.savedSpace) << c.radius.toStdString();
    const QStringList lines = SettingsLines(SettingsFile());
    ASSERT_GE(lines.size(), 21);
    EXPECT_EQ(lines[17], QString::number(c.savedSpace));
    EXPECT_EQ(lines[20], c.savedRadius);
  }
}

TEST_F(LauncherTest, UnknownThemeAndOutOfRangeIndexesFallBack) {
  // Hand-written file: a theme this system does not have, a list index
  // beyond its list, no destination chosen, a Jw_cad folder (the window
  // finds its own at every start).
  QStringList lines(33, QString());
  lines[0] = "60";
  lines[1] = "70";
  lines[2] = "520";
  lines[3] = "530";
  for (int i = 4; i <= 8; ++i) lines[i] = "0";
  lines[13] = "Carbon";
  lines[14] = "7";
  lines[20] = "0.5";
  lines[31] = "D:\\OTHER\\";
  WriteFile(SettingsFile(), lines.join("\r\n").toUtf8());

  LauncherWindow& w = Window();
  EXPECT_EQ(w.ThemeList->currentText(), QStringLiteral("Windows"));
  EXPECT_EQ(w.ThemeName(), QStringLiteral("Windows"));
  EXPECT_EQ(w.DxfVersionList->currentIndex(), -1);
  for (QRadioButton* button : w.DestinationButtons())
    EXPECT_FALSE(button->isChecked()) << button->objectName().toStdString();
  EXPECT_FALSE(w.GivenFolderEdit->isEnabled());
  EXPECT_EQ(w.size(), QSize(520, 530));
  EXPECT_EQ(w.JwwFolder(), QStringLiteral("C:\\JWW\\"));

  // No destination chosen: the batch asks for a folder; a cancel converts
  // nothing and saves nothing more.
  WriteFile(InDir() + "plan.jww", "ok");
  QFile::remove(SettingsFile());
  w.AcceptFiles({InDir() + "plan.jww"});
  EXPECT_EQ(prompts_->folderDialogStarts.size(), 1);
  EXPECT_FALSE(QFileInfo::exists(SettingsFile()));
  EXPECT_TRUE(ConverterCalls().isEmpty());
}

TEST_F(LauncherTest, ChosenThemeIsKeptForTheNextStart) {
  LauncherWindow& w = Window();
  const int last = w.ThemeList->count() - 1;
  const QString theme = w.ThemeList->itemText(last);
  w.ThemeList->setCurrentIndex(last);
  emit w.ThemeList->activated(last);
  EXPECT_EQ(w.ThemeName(), theme);
  auto again = ReopenWindow();
  EXPECT_EQ(again->ThemeList->currentText(), theme);
  ApplyTheme(QStringLiteral("Windows"));
}

TEST(LauncherSettingsFile, IsNamedAfterTheExecutable) {
  EXPECT_EQ(SettingsFileOf("/opt/parvex/Parvex"), "/opt/parvex/Parvex.dat");
  EXPECT_EQ(SettingsFileOf("/opt/parvex/Parvex.exe"), "/opt/parvex/Parvex.dat");
}

}  // namespace
}  // namespace parvex::launcher::testing
