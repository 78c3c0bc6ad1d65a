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
  const SettingsFile defaults = DefaultSettingsFile(SettingsReader::Launcher, ToText(env_.programFolder));
  const Result<SettingsFile> read = ReadSettingsFile(ToPath(fn), defaults);
  // A file that is missing or cannot be read leaves the defaults.
  const SettingsFile& s = read ? *read : defaults;

  Fm1x = s.WindowLeft;
  Fm1y = s.WindowTop;
  Fm1w = s.WindowWidth;
  Fm1h = s.WindowHeight;
  // When no destination is chosen, none stays checked and the batch asks
  // for a folder.
  QRadioButton* buttons[] = {RadioButton1, RadioButton2, RadioButton3, RadioButton4, RadioButton5};
  for (QRadioButton* button : buttons) button->setChecked(false);
  if (s.Destination) buttons[SettingNumber(*s.Destination)]->setChecked(true);
  RadioButton1Click();
  Edit1->setText(FromText(s.GivenFolder));
  Label1->setText(FromText(s.FileDialogFolder));
  LabelPreFolder->setText(FromText(s.AskedFolder));
  Fidx = s.FileDialogFilter;
  gstyle = FromText(s.ThemeName);
  SelectIndex(ComboBox2, s.DxfVersionIndex);
  SelectIndex(ComboBox3, s.ColorModeIndex);
  SelectIndex(ComboBox4, s.LayerNameTypeIndex);
  SelectIndex(ComboBox5, s.OutputSpaceIndex);
  SelectIndex(ComboBox6, s.BaseLayerGroupIndex);
  SelectIndex(ComboBox7, s.PointConversionIndex);
  Edit2->setText(FromText(s.PointRadiusText));
  CheckBox1->setChecked(s.DwgConversion);
  Edit3->setText(FromText(s.OdaConverterPath));
  CheckBox2->setChecked(s.ExpandEmbeddedText);
  CheckBox3->setChecked(s.ExpandControlCodes);
  CheckBox4->setChecked(s.CurveToPolyline);
  SelectIndex(ComboBox8, s.TextStyleModeIndex);
  CheckBox5->setChecked(s.DimensionAsEntity);
}

void LauncherWindow::SaveDatFile(const QString& fn) {
  SettingsFile s;
  s.WindowLeft = x();
  s.WindowTop = y();
  s.WindowWidth = width();
  s.WindowHeight = height();
  s.Destination.reset();
  const QRadioButton* buttons[] = {RadioButton1, RadioButton2, RadioButton3, RadioButton4, RadioButton5};
  for (int i = 0; i < 5; ++i)
    if (buttons[i]->isChecked()) s.Destination = static_cast<DestinationChoice>(i);
  s.GivenFolder = ToText(Edit1->text());
  s.FileDialogFolder = ToText(Label1->text());
  s.AskedFolder = ToText(LabelPreFolder->text());
  s.FileDialogFilter = Fidx;
  s.ThemeName = ToText(gstyle);
  s.DxfVersionIndex = ComboBox2->currentIndex();
  s.ColorModeIndex = ComboBox3->currentIndex();
  s.LayerNameTypeIndex = ComboBox4->currentIndex();
  s.OutputSpaceIndex = ComboBox5->currentIndex();
  s.BaseLayerGroupIndex = ComboBox6->currentIndex();
  s.PointConversionIndex = ComboBox7->currentIndex();
  s.PointRadiusText = ToText(Edit2->text());
  s.DwgConversion = CheckBox1->isChecked();
  s.OdaConverterPath = ToText(Edit3->text());
  s.ExpandEmbeddedText = CheckBox2->isChecked();
  s.ExpandControlCodes = CheckBox3->isChecked();
  const PrinterPaper paper = DefaultPrinterPaper();
  s.PrinterPaperWidth = paper.paperWidth;
  s.PrinterPaperHeight = paper.paperHeight;
  s.PrintableWidth = paper.printableWidth;
  s.PrintableHeight = paper.printableHeight;
  s.CurveToPolyline = CheckBox4->isChecked();
  s.TextStyleModeIndex = ComboBox8->currentIndex();
  s.JwCadFolder = ToText(JwwPath);
  s.DimensionAsEntity = CheckBox5->isChecked();

  // A failed save leaves no settings file; the converter then refuses each
  // drawing, which the log shows.
  (void)SaveSettingsFile(ToPath(fn), s);
  // The save corrects the point radius and the R12 output space; the
  // window shows what was written.
  Edit2->setText(FromText(s.PointRadiusText));
  SelectIndex(ComboBox5, s.OutputSpaceIndex);
}

}  // namespace parvex::launcher
