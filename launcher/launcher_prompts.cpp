#include "launcher/launcher_prompts.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

namespace parvex::launcher {

QStringList SourceFileFilters() {
  return {
      QStringLiteral(u"Jw_cad(*.jw?) (*.jww *.jwc *.jws *.jwk)"),
      QStringLiteral(u"Jw_cad 図面ファイル (*.jww *.jwc)"),
      QStringLiteral(u"Jw_cad 図面ファイル(win) (*.jww)"),
      QStringLiteral(u"Jw_cad 図面ファイル(dos) (*.jwc)"),
      QStringLiteral(u"Jw_cad 図形ファイル (*.jws *.jwk)"),
      QStringLiteral(u"Jw_cad 図形ファイル(win) (*.jws)"),
      QStringLiteral(u"Jw_cad 図形ファイル(dos) (*.jwk)"),
      QStringLiteral(u"全てのファイル(*.*) (*)"),
  };
}

void QtLauncherPrompts::ShowMessage(QWidget* parent, const QString& text) {
  QMessageBox box(parent);
  box.setWindowTitle(parent ? parent->windowTitle() : QString());
  box.setText(text);
  box.setStandardButtons(QMessageBox::Ok);
  box.exec();
}

std::optional<SourceFileChoice> QtLauncherPrompts::ChooseSourceFiles(QWidget* parent, const QString& folder,
                                                                     int filterIndex) {
  QFileDialog dialog(parent, QString::fromUtf16(kSourceDialogTitle), folder);
  dialog.setFileMode(QFileDialog::ExistingFiles);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  const QStringList filters = SourceFileFilters();
  dialog.setNameFilters(filters);
  if (filterIndex >= 1 && filterIndex <= filters.size()) dialog.selectNameFilter(filters[filterIndex - 1]);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  SourceFileChoice choice;
  choice.files = dialog.selectedFiles();
  const qsizetype used = filters.indexOf(dialog.selectedNameFilter());
  choice.filterIndex = used >= 0 ? static_cast<int>(used) + 1 : filterIndex;
  return choice;
}

std::optional<QString> QtLauncherPrompts::ChooseFolder(QWidget* parent, const QString& startFolder) {
  const QString folder =
      QFileDialog::getExistingDirectory(parent, QString::fromUtf16(kFolderDialogTitle), startFolder);
  if (folder.isEmpty()) return std::nullopt;
  return folder;
}

std::optional<QString> QtLauncherPrompts::ChooseExecutable(QWidget* parent, const QString& startFolder,
                                                           const QString& preselect) {
  QFileDialog dialog(parent, QString(), startFolder);
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  // Linux programs carry no extension, so every file is offered after the
  // Windows filter, and no ".exe" is appended to a typed name.
  dialog.setNameFilters({QStringLiteral(u"アプリケーション(*.exe) (*.exe)"), QStringLiteral(u"全てのファイル(*.*) (*)")});
  if (!preselect.isEmpty()) dialog.selectFile(preselect);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return dialog.selectedFiles().front();
}

}  // namespace parvex::launcher

