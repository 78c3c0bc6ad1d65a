// The dialogs the launcher opens. The window talks to them through this
// interface so that a batch can run without anyone at the screen.
#pragma once

#include <optional>

#include <QString>
#include <QStringList>

class QWidget;

namespace parvex::launcher {

struct SourceFileChoice {
  QStringList files;
  int filterIndex = 1;  // 1-based, as stored in the settings file
};

class LauncherPrompts {
 public:
  virtual ~LauncherPrompts() = default;
  // A message box with an OK button.
  virtual void ShowMessage(QWidget* parent, const QString& text) = 0;
  // The drawings to convert; nothing when cancelled.
  virtual std::optional<SourceFileChoice> ChooseSourceFiles(QWidget* parent, const QString& folder,
                                                            int filterIndex) = 0;
  // A folder to save into; nothing when cancelled.
  virtual std::optional<QString> ChooseFolder(QWidget* parent, const QString& startFolder) = 0;
  // The ODA FileConverter executable; nothing when cancelled. `preselect` is
  // an existing file to start on, or empty.
  virtual std::optional<QString> ChooseExecutable(QWidget* parent, const QString& startFolder,
                                                  const QString& preselect) = 0;
};

// The real dialogs.
class QtLauncherPrompts : public LauncherPrompts {
 public:
  void ShowMessage(QWidget* parent, const QString& text) override;
  std::optional<SourceFileChoice> ChooseSourceFiles(QWidget* parent, const QString& folder,
                                                    int filterIndex) override;
  std::optional<QString> ChooseFolder(QWidget* parent, const QString& startFolder) override;
  std::optional<QString> ChooseExecutable(QWidget* parent, const QString& startFolder,
                                          const QString& preselect) override;
};

// The source-file dialog's filters, in the order of their 1-based index.
QStringList SourceFileFilters();

inline constexpr char16_t kSourceDialogTitle[] = u"変換元ファイルを指定";
inline constexpr char16_t kFolderDialogTitle[] = u"変換後のファイルを保存するフォルダを指定して下さい";

}  // namespace parvex::launcher
