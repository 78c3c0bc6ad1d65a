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
  EXPECT_TRUE(w.RadioButton1->isChecked());
  EXPECT_FALSE(w.Edit1->isEnabled());
  EXPECT_EQ(w.LabelPreFolder->text(), AppDir());
  EXPECT_EQ(w.Edit2->text(), "0.5");
  EXPECT_EQ(w.Edit3->text(), QString::fromUtf16(u"(ODA FileConverterを指定して下さい)"));
  for (const QComboBox* box : {w.ComboBox2, w.ComboBox3, w.ComboBox4, w.ComboBox5, w.ComboBox6, w.ComboBox7,
                               w.ComboBox8})
    EXPECT_EQ(box->currentIndex(), 0) << box->objectName().toStdString();
  EXPECT_FALSE(w.CheckBox1->isChecked());
  EXPECT_TRUE(w.CheckBox2->isChecked());
  EXPECT_TRUE(w.CheckBox3->isChecked());
  EXPECT_FALSE(w.CheckBox4->isChecked());
  EXPECT_FALSE(w.CheckBox5->isChecked());
  EXPECT_EQ(w.ComboBox1->currentText(), "Windows");
}

TEST_F(LauncherTest, SettingsSurviveARestart) {
  LauncherWindow& w = Window();
  w.RadioButton4->click();
  w.Edit1->setText(OutDir());
  w.ComboBox2->setCurrentIndex(2);
  w.ComboBox3->setCurrentIndex(1);
  w.ComboBox4->setCurrentIndex(2);
  w.ComboBox5->setCurrentIndex(2);
  w.ComboBox6->setCurrentIndex(15);
  w.ComboBox7->setCurrentIndex(6);
  w.ComboBox8->setCurrentIndex(2);
  w.Edit2->setText("2.25");
  w.CheckBox1->setChecked(true);
  w.Edit3->setText("/opt/oda/ODAFileConverter");
  w.CheckBox2->setChecked(false);
  w.CheckBox3->setChecked(false);
  w.CheckBox4->setChecked(true);
  w.CheckBox5->setChecked(true);

  auto again = ReopenWindow();
  EXPECT_TRUE(again->RadioButton4->isChecked());
  EXPECT_FALSE(again->RadioButton1->isChecked());
  EXPECT_TRUE(again->Edit1->isEnabled());
  EXPECT_EQ(again->Edit1->text(), OutDir());
  EXPECT_EQ(again->ComboBox2->currentIndex(), 2);
  EXPECT_EQ(again->ComboBox3->currentIndex(), 1);
  EXPECT_EQ(again->ComboBox4->currentIndex(), 2);
  EXPECT_EQ(again->ComboBox5->currentIndex(), 2);  // 2007 keeps several layouts
  EXPECT_EQ(again->ComboBox6->currentIndex(), 15);
  EXPECT_EQ(again->ComboBox7->currentIndex(), 6);
  EXPECT_EQ(again->ComboBox8->currentIndex(), 2);
  EXPECT_EQ(again->Edit2->text(), "2.25");
  EXPECT_TRUE(again->CheckBox1->isChecked());
  EXPECT_EQ(again->Edit3->text(), "/opt/oda/ODAFileConverter");
  EXPECT_FALSE(again->CheckBox2->isChecked());
  EXPECT_FALSE(again->CheckBox3->isChecked());
  EXPECT_TRUE(again->CheckBox4->isChecked());
  EXPECT_TRUE(again->CheckBox5->isChecked());

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
    w.Edit2->setText(c.radius);
    w.ComboBox2->setCurrentIndex(c.version);
    w.ComboBox5->setCurrentIndex(2);
    w.SaveDatFile(SettingsFile());
    EXPECT_EQ(w.Edit2->text(), c.savedRadius) << c.radius.toStdString();
    EXPECT_EQ(w.ComboBox5->currentIndex(), c.savedSpace) << c.radius.toStdString();
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
  EXPECT_EQ(w.ComboBox1->currentText(), QStringLiteral("Windows"));
  EXPECT_EQ(w.ThemeName(), QStringLiteral("Windows"));
  EXPECT_EQ(w.ComboBox2->currentIndex(), -1);
  for (QRadioButton* button : {w.RadioButton1, w.RadioButton2, w.RadioButton3, w.RadioButton4, w.RadioButton5})
    EXPECT_FALSE(button->isChecked()) << button->objectName().toStdString();
  EXPECT_FALSE(w.Edit1->isEnabled());
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
  const int last = w.ComboBox1->count() - 1;
  const QString theme = w.ComboBox1->itemText(last);
  w.ComboBox1->setCurrentIndex(last);
  emit w.ComboBox1->activated(last);
  EXPECT_EQ(w.ThemeName(), theme);
  auto again = ReopenWindow();
  EXPECT_EQ(again->ComboBox1->currentText(), theme);
  ApplyTheme(QStringLiteral("Windows"));
}

TEST(LauncherSettingsFile, IsNamedAfterTheExecutable) {
  EXPECT_EQ(SettingsFileOf("/opt/parvex/Parvex"), "/opt/parvex/Parvex.dat");
  EXPECT_EQ(SettingsFileOf("/opt/parvex/Parvex.exe"), "/opt/parvex/Parvex.dat");
}

}  // namespace
}  // namespace parvex::launcher::testing
