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

  savedLeft_ = s.WindowLeft;
  savedTop_ = s.WindowTop;
  savedWidth_ = s.WindowWidth;
  savedHeight_ = s.WindowHeight;
  // When no destination is chosen, none stays checked and the batch asks
  // for a folder.
  for (QRadioButton* button : DestinationButtons()) button->setChecked(false);
  if (s.Destination) DestinationButtons()[SettingNumber(*s.Destination)]->setChecked(true);
  DestinationChanged();
  GivenFolderEdit->setText(FromText(s.GivenFolder));
  DialogFolderLabel->setText(FromText(s.FileDialogFolder));
  AskedFolderLabel->setText(FromText(s.AskedFolder));
  filterIndex_ = s.FileDialogFilter;
  themeName_ = FromText(s.ThemeName);
  SelectIndex(DxfVersionList, s.DxfVersionIndex);
  SelectIndex(ColorModeList, s.ColorModeIndex);
  SelectIndex(LayerNameList, s.LayerNameTypeIndex);
  SelectIndex(OutputSpaceList, s.OutputSpaceIndex);
  SelectIndex(LayerGroupList, s.BaseLayerGroupIndex);
  SelectIndex(PointConversionList, s.PointConversionIndex);
  PointRadiusEdit->setText(FromText(s.PointRadiusText));
  DwgCheck->setChecked(s.DwgConversion);
  OdaConverterEdit->setText(FromText(s.OdaConverterPath));
  ExpandTextCheck->setChecked(s.ExpandEmbeddedText);
  ExpandCodesCheck->setChecked(s.ExpandControlCodes);
  PolylineCheck->setChecked(s.CurveToPolyline);
  SelectIndex(TextStyleList, s.TextStyleModeIndex);
  DimensionEntityCheck->setChecked(s.DimensionAsEntity);
}

void LauncherWindow::SaveDatFile(const QString& fn) {
  SettingsFile s;
  s.WindowLeft = x();
  s.WindowTop = y();
  s.WindowWidth = width();
  s.WindowHeight = height();
  s.Destination.reset();
  for (int i = 0; i < 5; ++i)
    if (DestinationButtons()[i]->isChecked()) s.Destination = static_cast<DestinationChoice>(i);
  s.GivenFolder = ToText(GivenFolderEdit->text());
  s.FileDialogFolder = ToText(DialogFolderLabel->text());
  s.AskedFolder = ToText(AskedFolderLabel->text());
  s.FileDialogFilter = filterIndex_;
  s.ThemeName = ToText(themeName_);
  s.DxfVersionIndex = DxfVersionList->currentIndex();
  s.ColorModeIndex = ColorModeList->currentIndex();
  s.LayerNameTypeIndex = LayerNameList->currentIndex();
  s.OutputSpaceIndex = OutputSpaceList->currentIndex();
  s.BaseLayerGroupIndex = LayerGroupList->currentIndex();
  s.PointConversionIndex = PointConversionList->currentIndex();
  s.PointRadiusText = ToText(PointRadiusEdit->text());
  s.DwgConversion = DwgCheck->isChecked();
  s.OdaConverterPath = ToText(OdaConverterEdit->text());
  s.ExpandEmbeddedText = ExpandTextCheck->isChecked();
  s.ExpandControlCodes = ExpandCodesCheck->isChecked();
  const PrinterPaper paper = DefaultPrinterPaper();
  s.PrinterPaperWidth = paper.paperWidth;
  s.PrinterPaperHeight = paper.paperHeight;
  s.PrintableWidth = paper.printableWidth;
  s.PrintableHeight = paper.printableHeight;
  s.CurveToPolyline = PolylineCheck->isChecked();
  s.TextStyleModeIndex = TextStyleList->currentIndex();
  s.JwCadFolder = ToText(JwwPath);
  s.DimensionAsEntity = DimensionEntityCheck->isChecked();

  // A failed save leaves no settings file; the converter then refuses each
  // drawing, which the log shows.
  (void)SaveSettingsFile(ToPath(fn), s);
  // The save corrects the point radius and the R12 output space; the
  // window shows what was written.
  PointRadiusEdit->setText(FromText(s.PointRadiusText));
  SelectIndex(OutputSpaceList, s.OutputSpaceIndex);
}

}  // namespace parvex::launcher
