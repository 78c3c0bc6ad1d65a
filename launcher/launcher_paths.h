// Path helpers on QString for the window code. "/" is the separator; a
// backslash is an ordinary character of a Linux file name.
#pragma once

#include <filesystem>

#include <QString>

namespace parvex::launcher {

std::filesystem::path ToPath(const QString& path);
QString FromPath(const std::filesystem::path& path);

QString IncludeTrailingSeparator(const QString& path);
// Keeps a lone "/" (the root) as it is.
QString ExcludeTrailingSeparator(const QString& path);
// Folder part with a trailing separator; empty for a blank path or one
// without a folder part.
QString FolderOf(const QString& path);
QString FileNameOf(const QString& path);
// The extension with its dot, lower-cased; empty when there is none.
QString LowerExtension(const QString& path);
// `path` with its extension replaced by `extension` (with its dot; empty
// removes it).
QString ChangeExtension(const QString& path, const QString& extension);

// `path` when no file or folder of that name exists, else the first free
// name of the form name~1.ext ... name~N.ext (extension lower-cased, N =
// maxBranch). Empty when all of them are taken.
QString UniqueDestination(const QString& path, int maxBranch = 99999);

// Copies a file (replacing an existing destination) and gives the copy the
// source's time stamps; false on any failure, which leaves no partial copy.
bool CopyFileKeepTimes(const QString& source, const QString& destination);

// True when nothing is left of `text` once spaces, ideographic spaces and
// control characters are removed.
bool IsBlankText(const QString& text);

}  // namespace parvex::launcher
