#include "launcher/platform_lookup.h"

#include <cmath>

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QPageLayout>
#include <QPrinter>
#include <QPrinterInfo>
#include <QStandardPaths>
#include <QStyle>
#include <QStyleFactory>

#include "launcher/launcher_paths.h"
#include "launcher/wine_registry.h"

namespace parvex::launcher {
namespace {

QString EnsuredFolder(QStandardPaths::StandardLocation location) {
  const QString folder = QStandardPaths::writableLocation(location);
  if (folder.isEmpty() || !QDir().mkpath(folder)) return {};
  return IncludeTrailingSeparator(folder);
}

double ToHundredths(double millimetres) { return std::floor(millimetres * 100 + 0.5) / 100; }

// Style name the application started with, recorded before any theme is
// applied so that "Windows" can always return to it.
QString& StartingStyleName() {
  static QString name;
  return name;
}

// Qt's own style called "Windows" would clash with the system look's name;
// it is listed under another name.
constexpr char16_t kQtWindowsStyleAlias[] = u"Windows Classic";

QString StyleKeyOfTheme(const QString& theme) {
  if (theme == QString::fromUtf16(kQtWindowsStyleAlias)) return QStringLiteral("Windows");
  return theme;
}

}  // namespace

QString DesktopFolder() { return EnsuredFolder(QStandardPaths::DesktopLocation); }

QString DocumentsFolder() { return EnsuredFolder(QStandardPaths::DocumentsLocation); }

PrinterPaper DefaultPrinterPaper() {
  PrinterPaper paper;
  const QPrinterInfo info = QPrinterInfo::defaultPrinter();
  if (info.isNull()) return paper;
  QPrinter printer(info, QPrinter::HighResolution);
  const QPageLayout layout = printer.pageLayout();
  const QRectF full = layout.fullRect(QPageLayout::Millimeter);
  const QRectF printable = layout.paintRect(QPageLayout::Millimeter);
  if (full.width() <= 0 || full.height() <= 0) return paper;
  paper.paperWidth = ToHundredths(full.width());
  paper.paperHeight = ToHundredths(full.height());
  paper.printableWidth = ToHundredths(printable.width());
  paper.printableHeight = ToHundredths(printable.height());
  return paper;
}

QStringList ThemeNames() {
  QString& starting = StartingStyleName();
  if (starting.isEmpty() && qApp && qApp->style()) starting = qApp->style()->name();
  QStringList names{QString::fromUtf16(kSystemThemeName)};
  for (const QString& key : QStyleFactory::keys()) {
    if (key.compare(starting, Qt::CaseInsensitive) == 0) continue;
    names << (key.compare(QStringLiteral("Windows"), Qt::CaseInsensitive) == 0 ? QString::fromUtf16(kQtWindowsStyleAlias)
                                                                               : key);
  }
  return names;
}

bool ApplyTheme(const QString& name) {
  if (!ThemeNames().contains(name)) return false;
  const QString key =
      name == QString::fromUtf16(kSystemThemeName) ? StartingStyleName() : StyleKeyOfTheme(name);
  if (key.isEmpty()) return true;
  QStyle* style = QStyleFactory::create(key);
  if (!style) return false;
  QApplication::setStyle(style);
  return true;
}

QString DefaultWinePrefix() { return QDir::homePath() + QStringLiteral("/.wine"); }

QString JwwProgramFolder(const QString& winePrefix) {
  const QString program = ProgramOfCommandLine(FindJwwOpenCommand(winePrefix));
  if (!program.isEmpty()) {
    const QString linuxPath = WindowsPathInPrefix(winePrefix, program);
    if (!linuxPath.isEmpty()) return FolderOf(linuxPath);
    // A drive Wine does not map: the Windows folder as the association
    // names it.
    const qsizetype sep = program.lastIndexOf(u'\\');
    if (sep >= 0) return program.left(sep + 1);
  }
  const QString drive = WindowsPathInPrefix(winePrefix, QStringLiteral("C:\\jww"));
  if (!drive.isEmpty() && QFileInfo(drive).isDir()) return IncludeTrailingSeparator(drive);
  return QStringLiteral("C:\\JWW\\");
}

}  // namespace parvex::launcher
