#include "launcher/wine_registry.h"

#include <algorithm>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTextStream>

namespace parvex::launcher {
namespace {

// Registry files are small; anything much larger is not one.
constexpr qint64 kMaxRegFileSize = 256LL * 1024 * 1024;

// Undoes the escapes Wine writes inside quoted strings and key names:
// \\, \", \n, \r, \t, \0 and \xHHHH.
QString Unescape(QStringView text) {
  QString out;
  out.reserve(text.size());
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar c = text[i];
    if (c != u'\\' || i + 1 >= text.size()) {
      out += c;
      continue;
    }
    const QChar n = text[++i];
    switch (n.unicode()) {
      case u'n': out += u'\n'; break;
      case u'r': out += u'\r'; break;
      case u't': out += u'\t'; break;
      case u'0': out += QChar(0); break;
      case u'x': {
        uint value = 0;
        int digits = 0;
        while (digits < 4 && i + 1 < text.size()) {
          const char16_t h = text[i + 1].unicode();
          const int d = (h >= u'0' && h <= u'9')   ? h - u'0'
                        : (h >= u'a' && h <= u'f') ? h - u'a' + 10
                        : (h >= u'A' && h <= u'F') ? h - u'A' + 10
                                                   : -1;
          if (d < 0) break;
          value = value * 16 + static_cast<uint>(d);
          ++digits;
          ++i;
        }
        out += digits ? QChar(static_cast<char16_t>(value)) : QChar(u'x');
        break;
      }
      default: out += n; break;
    }
  }
  return out;
}

// The text of a quoted value starting at `from` (just after the opening
// quote), up to the closing quote that is not escaped.
QString QuotedValue(QStringView line, qsizetype from) {
  qsizetype i = from;
  while (i < line.size()) {
    if (line[i] == u'\\') {
      i += 2;
      continue;
    }
    if (line[i] == u'"') break;
    ++i;
  }
  return Unescape(line.mid(from, std::min(i, line.size()) - from));
}

}  // namespace

QString ReadRegistryDefaultValue(const QString& regFile, const QString& keyPath) {
  QFile file(regFile);
  if (file.size() > kMaxRegFileSize || !file.open(QIODevice::ReadOnly | QIODevice::Text)) return {};
  QTextStream in(&file);
  in.setEncoding(QStringConverter::Utf8);
  bool inKey = false;
  QString line;
  while (in.readLineInto(&line)) {
    if (line.startsWith(u'[')) {
      const qsizetype close = line.lastIndexOf(u']');
      if (close < 0) {
        inKey = false;
        continue;
      }
      const QString key = Unescape(QStringView(line).mid(1, close - 1));
      inKey = key.compare(keyPath, Qt::CaseInsensitive) == 0;
      continue;
    }
    if (!inKey || !line.startsWith(u'@')) continue;
    QStringView rest = QStringView(line).mid(1).trimmed();
    if (!rest.startsWith(u'=')) continue;
    rest = rest.mid(1).trimmed();
    // REG_SZ is written as "..."; REG_EXPAND_SZ as str(2):"...".
    if (rest.startsWith(u"str(2):")) rest = rest.mid(7);
    if (!rest.startsWith(u'"')) return {};
    return QuotedValue(rest, 1);
  }
  return {};
}

QString FindJwwOpenCommand(const QString& winePrefix) {
  const QString files[] = {winePrefix + QStringLiteral("/user.reg"), winePrefix + QStringLiteral("/system.reg")};
  for (const QString& regFile : files) {
    const QString typeName = ReadRegistryDefaultValue(regFile, QStringLiteral("Software\\Classes\\.jww"));
    if (typeName.isEmpty()) continue;
    // The type's command may stand in either file, the user's first.
    for (const QString& commandFile : files) {
      const QString command = ReadRegistryDefaultValue(
          commandFile, QStringLiteral("Software\\Classes\\") + typeName + QStringLiteral("\\shell\\open\\command"));
      if (!command.isEmpty()) return command;
    }
  }
  return {};
}

QString ProgramOfCommandLine(const QString& commandLine) {
  QString text = commandLine;
  if (text.startsWith(u'"')) {
    const qsizetype close = text.indexOf(u'"', 1);
    return close < 0 ? text.mid(1) : text.mid(1, close - 1);
  }
  const qsizetype space = text.indexOf(u' ');
  if (space >= 0) text.truncate(space);
  if (text.endsWith(u'"')) text.chop(1);
  return text;
}

QString WindowsPathInPrefix(const QString& winePrefix, const QString& windowsPath) {
  if (windowsPath.size() < 2 || windowsPath[1] != u':' || !windowsPath[0].isLetter()) return {};
  const QString drive = windowsPath.left(1).toLower() + QStringLiteral(":");
  QString base = QFileInfo(winePrefix + QStringLiteral("/dosdevices/") + drive).canonicalFilePath();
  if (base.isEmpty() && drive == QStringLiteral("c:")) base = winePrefix + QStringLiteral("/drive_c");
  if (base.isEmpty()) return {};
  const QStringList parts = windowsPath.mid(2).split(QRegularExpression(QStringLiteral("[\\\\/]")), Qt::SkipEmptyParts);
  QString path = base;
  for (const QString& part : parts) {
    QString match = part;
    const QDir dir(path);
    if (dir.exists()) {
      const QStringList entries = dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
      for (const QString& entry : entries) {
        if (entry.compare(part, Qt::CaseInsensitive) == 0) {
          match = entry;
          break;
        }
      }
    }
    path += u'/' + match;
  }
  return path;
}

}  // namespace parvex::launcher
