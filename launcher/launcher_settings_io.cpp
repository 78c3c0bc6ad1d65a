// Settings file to and from the window.
#include "launcher/launcher_settings_io.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

#include "common/settings_file.h"
#include "launcher/launcher_paths.h"
#include "launcher/launcher_window.h"
#include "launcher/platform_lookup.h"

namespace parvex::launcher {
namespace {

QString FromText(const std::u16string& text) { return QString::fromStdU16String(text); }
std::u16string ToText(const QString& text) { return text.toStdU16String(); }

// An index outside the list leaves it without a selection.
void SelectIndex(QComboBox* box, int index) { box->setCurrentIndex(index >= 0 && index < box->count() ? index : -1); }

}  // namespace

QString SettingsFileOf(const QString& executablePath) {
  return ChangeExtension(executablePath, QStringLiteral(".dat"));
}

void LauncherWindow::OpenDatFile(const QString& fn) {
  LauncherSettings s;
  parvex::OpenDatFile(ToPath(fn), ToText(env_.programFolder), s);

  Fm1x = s.WindowLeft;
  Fm1y = s.WindowTop;
  Fm1w = s.WindowWidth;
  Fm1h = s.WindowHeight;
  // Checking a button clears the others; when none is true, none stays
  // checked and the batch asks for a folder.
  const bool destinations[] = {s.RadioButton1, s.RadioButton2, s.RadioButton3, s.RadioButton4, s.RadioButton5};
  QRadioButton* buttons[] = {RadioButton1, RadioButton2, RadioButton3, RadioButton4, RadioButton5};
  for (QRadioButton* button : buttons) button->setChecked(false);
  for (int i = 0; i < 5; ++i)
    if (destinations[i]) buttons[i]->setChecked(true);
  RadioButton1Click();
  Edit1->setText(FromText(s.Edit1));
  Label1->setText(FromText(s.Label1));
  LabelPreFolder->setText(FromText(s.LabelPreFolder));
  Fidx = s.Fidx;
  gstyle = FromText(s.gstyle);
  SelectIndex(ComboBox2, s.ComboBox2);
  SelectIndex(ComboBox3, s.ComboBox3);
  SelectIndex(ComboBox4, s.ComboBox4);
  SelectIndex(ComboBox5, s.ComboBox5);
  SelectIndex(ComboBox6, s.ComboBox6);
  SelectIndex(ComboBox7, s.ComboBox7);
  Edit2->setText(FromText(s.Edit2));
  CheckBox1->setChecked(s.CheckBox1);
  Edit3->setText(FromText(s.Edit3));
  CheckBox2->setChecked(s.CheckBox2);
  CheckBox3->setChecked(s.CheckBox3);
  CheckBox4->setChecked(s.CheckBox4);
  SelectIndex(ComboBox8, s.ComboBox8);
  CheckBox5->setChecked(s.CheckBox5);
}

void LauncherWindow::SaveDatFile(const QString& fn) {
  LauncherSettings s;
  s.WindowLeft = x();
  s.WindowTop = y();
  s.WindowWidth = width();
  s.WindowHeight = height();
  s.RadioButton1 = RadioButton1->isChecked();
  s.RadioButton2 = RadioButton2->isChecked();
  s.RadioButton3 = RadioButton3->isChecked();
  s.RadioButton4 = RadioButton4->isChecked();
  s.RadioButton5 = RadioButton5->isChecked();
  s.Edit1 = ToText(Edit1->text());
  s.Label1 = ToText(Label1->text());
  s.LabelPreFolder = ToText(LabelPreFolder->text());
  s.Fidx = Fidx;
  s.gstyle = ToText(gstyle);
  s.ComboBox2 = ComboBox2->currentIndex();
  s.ComboBox3 = ComboBox3->currentIndex();
  s.ComboBox4 = ComboBox4->currentIndex();
  s.ComboBox5 = ComboBox5->currentIndex();
  s.ComboBox6 = ComboBox6->currentIndex();
  s.ComboBox7 = ComboBox7->currentIndex();
  s.Edit2 = ToText(Edit2->text());
  s.CheckBox1 = CheckBox1->isChecked();
  s.Edit3 = ToText(Edit3->text());
  s.CheckBox2 = CheckBox2->isChecked();
  s.CheckBox3 = CheckBox3->isChecked();
  const PrinterPaper paper = DefaultPrinterPaper();
  s.PrinterPaperWidth = paper.paperWidth;
  s.PrinterPaperHeight = paper.paperHeight;
  s.PrintableWidth = paper.printableWidth;
  s.PrintableHeight = paper.printableHeight;
  s.CheckBox4 = CheckBox4->isChecked();
  s.ComboBox8 = ComboBox8->currentIndex();
  s.JwwPath = ToText(JwwPath);
  s.CheckBox5 = CheckBox5->isChecked();

  parvex::SaveDatFile(ToPath(fn), s);
  // The save corrects the point radius and the R12 output space; the
  // window shows what was written.
  Edit2->setText(FromText(s.Edit2));
  SelectIndex(ComboBox5, s.ComboBox5);
}

}  // namespace parvex::launcher
