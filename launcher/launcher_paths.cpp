#include "launcher/launcher_paths.h"

#include <QFileInfo>

#include "common/path_helpers.h"
#include "common/platform/files.h"
#include "common/text_helpers.h"

namespace parvex::launcher {
namespace {

bool IsSeparator(QChar c) { return c == u'/'; }

qsizetype LastSeparator(const QString& path) {
  for (qsizetype i = path.size() - 1; i >= 0; --i)
    if (IsSeparator(path[i])) return i;
  return -1;
}

// Index of the extension's dot in the file-name part, -1 when there is none.
qsizetype ExtensionDot(const QString& path) {
  const qsizetype dot = path.lastIndexOf(u'.');
  return dot > LastSeparator(path) ? dot : -1;
}


}  // namespace

std::filesystem::path ToPath(const QString& path) { return platform::PathFromText(path.toStdU16String()); }

QString FromPath(const std::filesystem::path& path) {
  return QString::fromStdU16String(platform::PathToText(path));
}

QString IncludeTrailingSeparator(const QString& path) {
  if (!path.isEmpty() && IsSeparator(path.back())) return path;
  return path + u'/';
}

QString ExcludeTrailingSeparator(const QString& path) {
  if (path.size() > 1 && IsSeparator(path.back())) return path.chopped(1);
  return path;
}

QString FolderOf(const QString& path) {
  if (IsBlankText(path)) return {};
  const qsizetype sep = LastSeparator(path);
  return sep < 0 ? QString() : path.left(sep + 1);
}

QString FileNameOf(const QString& path) {
  if (IsBlankText(path)) return {};
  return path.mid(LastSeparator(path) + 1);
}

QString LowerExtension(const QString& path) {
  const qsizetype dot = ExtensionDot(path);
  return dot < 0 ? QString() : path.mid(dot).toLower();
}

QString ChangeExtension(const QString& path, const QString& extension) {
  if (path.isEmpty()) return {};
  const qsizetype dot = ExtensionDot(path);
  return (dot < 0 ? path : path.left(dot)) + extension;
}

QString UniqueDestination(const QString& path, int maxBranch) {
  const std::filesystem::path unique = UniqueFileName(ToPath(path), maxBranch);
  return unique.empty() ? QString() : FromPath(unique);
}

bool CopyFileKeepTimes(const QString& source, const QString& destination) {
  const std::filesystem::path target = ToPath(destination);
  // An older file of that name is replaced, as any copy would.
  if (QFileInfo::exists(destination) && !DeleteFileSafe(target)) return false;
  return parvex::CopyFileKeepTimes(ToPath(source), target);
}

bool IsBlankText(const QString& text) { return RemoveBlanks(text.toStdU16String()).empty(); }

}  // namespace parvex::launcher
