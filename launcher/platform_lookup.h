// What the launcher asks of the system: the user's desktop and documents
// folders, the default printer's paper, the window themes, and the folder of
// the Jw_cad program.
#pragma once

#include <QString>
#include <QStringList>

namespace parvex::launcher {

// The user's desktop and documents folders with a trailing "/". They are
// created when missing (a fresh account may not have them yet); empty when
// that fails.
QString DesktopFolder();
QString DocumentsFolder();

// Sizes of the default printer's paper in millimetres, to 0.01 mm. Without a
// printer the converter's defaults apply.
struct PrinterPaper {
  double paperWidth = 420;
  double paperHeight = 297;
  double printableWidth = 420;
  double printableHeight = 297;
};
PrinterPaper DefaultPrinterPaper();

// The name under which the platform's own look is listed, first of all.
inline constexpr char16_t kSystemThemeName[] = u"Windows";

// "Windows" (the look the application started with) followed by the other
// styles the toolkit offers.
QStringList ThemeNames();

// Applies the named theme to the whole application; false when there is no
// such theme. "Windows" leaves the starting look in place.
bool ApplyTheme(const QString& name);

// The Jw_cad program folder with a trailing separator: the folder of the
// program the ".jww" association of the Wine prefix opens, else the prefix's
// drive_c/jww folder when it exists, else "C:\JWW\".
QString JwwProgramFolder(const QString& winePrefix);

// The default Wine prefix, ~/.wine.
QString DefaultWinePrefix();

}  // namespace parvex::launcher
