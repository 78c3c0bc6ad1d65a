// The batch run of the launcher window: destination folder, unique output
// names, one converter process per drawing, the log, and the DWG step.
#include <QComboBox>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QRadioButton>
#include <QTabWidget>
#include <QTimer>

#include "common/path_helpers.h"
#include "common/platform/output_files.h"
#include "launcher/child_process.h"
#include "launcher/launcher_paths.h"
#include "launcher/launcher_window.h"
#include "launcher/platform_lookup.h"

namespace parvex::launcher {
namespace {

QString Text(const char16_t* text) { return QString::fromUtf16(text); }

// What went wrong with a converter that left no output, for the log.
QString FailureDetail(const ChildRunResult& run) {
  switch (run.outcome) {
    case ChildRunResult::Outcome::FailedToStart:
      return QStringLiteral(u"変換プログラムを起動できませんでした");
    case ChildRunResult::Outcome::Crashed:
      return QStringLiteral(u"変換プログラムが異常終了しました");
    case ChildRunResult::Outcome::TimedOut:
      return QStringLiteral(u"変換プログラムが応答しないため中止しました");
    case ChildRunResult::Outcome::Finished:
      break;
  }
  const QString reason = run.errorText.section(u'\n', 0, 0).trimmed();
  return reason;
}

// ODA FileConverter's name for the DXF version selected in the window.
QString OdaVersionText(int dxfVersionIndex) {
  switch (dxfVersionIndex) {
    case 0: return QStringLiteral("ACAD12");
    case 2: return QStringLiteral("ACAD2007");
    default: return QStringLiteral("ACAD2000");
  }
}

}  // namespace

QString LauncherWindow::ConverterPath() const { return env_.programFolder + QStringLiteral("ParvexSub"); }

// Beside the settings file: an installed program's folder is not writable.
QString LauncherWindow::DwgTempFolder() const { return FolderOf(env_.settingsFile) + QStringLiteral("DWGTMP"); }

bool LauncherWindow::SettleDestination(QString& folder, bool& besideSource) {
  besideSource = false;
  if (DesktopButton->isChecked() || DocumentsButton->isChecked()) {
    folder = DesktopButton->isChecked() ? DesktopFolder() : DocumentsFolder();
    if (folder.isEmpty()) {
      const QString wanted = DesktopButton->isChecked() ? DesktopButton->text() : DocumentsButton->text();
      Prompts().ShowMessage(this, Text(kFolderMissingMessage) + u'\n' + wanted);
      return false;
    }
    return true;
  }
  if (SourceFolderButton->isChecked()) {
    besideSource = true;
    return true;
  }
  if (GivenFolderButton->isChecked()) {
    // A blank field names no folder at all (it must not become the root).
    folder = IsBlankText(GivenFolderEdit->text()) ? QString() : IncludeTrailingSeparator(GivenFolderEdit->text());
    if (folder.isEmpty() || !QFileInfo(folder).isDir()) {
      Prompts().ShowMessage(this, Text(kFolderMissingMessage) + u'\n' + folder);
      return false;
    }
    return true;
  }
  const QString last = AskedFolderLabel->text();
  const QString start = !IsBlankText(last) && QFileInfo(last).isDir() ? last : env_.programFolder;
  const auto chosen = Prompts().ChooseFolder(this, start);
  if (!chosen) return false;
  AskedFolderLabel->setText(IncludeTrailingSeparator(*chosen));
  folder = AskedFolderLabel->text();
  return true;
}

void LauncherWindow::RunProc() {
  if (FList.isEmpty() || batchRunning_) return;
  QString folder;
  bool besideSource = false;
  if (!SettleDestination(folder, besideSource)) return;

  SaveDatFile(env_.settingsFile);
  if (DwgEnabled()) QDir().mkpath(DwgTempFolder());
  LogList->clear();

  batchRunning_ = true;
  // The run works on its own copy, so nothing that arrives meanwhile can
  // change the files it goes through.
  const QStringList files = FList;
  BatchProgress->setRange(0, static_cast<int>(files.size()));
  BatchProgress->setValue(0);
  BatchProgress->setVisible(true);
  Pages->setCurrentIndex(1);

  for (qsizetype i = 0; i < files.size(); ++i) {
    if (closeAfterBatch_) break;
    if (env_.escapeHeld()) {
      AddLog(Text(kEscapeLogLine));
      break;
    }
    const QString& source = files[i];
    const QString named = besideSource ? source : folder + QFileInfo(source).fileName();
    const QString wanted = ChangeExtension(named, QStringLiteral(".dxf"));
    const QString destination = UniqueDestination(wanted, env_.maxBranch);
    AddLog(source);
    AddLog(QStringLiteral(u"→ ") + (destination.isEmpty() ? wanted : destination));
    // Every branch name taken: the file fails rather than reaching the
    // converter with a name that exists.
    lastFailureDetail_.clear();
    const QString result = destination.isEmpty() ? Text(kResultFailed) : RunProc1(source, destination);
    AddLog(QStringLiteral(u"\u3000\u2026\u2026 ") + result);
    if (destination.isEmpty()) lastFailureDetail_ = QStringLiteral(u"同じ名前のファイルが多すぎます");
    if (!lastFailureDetail_.isEmpty()) AddLog(QStringLiteral(u"\u3000\u3000（") + lastFailureDetail_ + QStringLiteral(u"）"));
    BatchProgress->setValue(static_cast<int>(i + 1));
  }

  if (DwgEnabled()) RemoveFolder(ToPath(DwgTempFolder()));
  BatchProgress->setVisible(false);
  batchRunning_ = false;
  Pages->setCurrentIndex(1);
  if (closeAfterBatch_) QTimer::singleShot(0, this, &QWidget::close);
}

QString LauncherWindow::RunProc1(const QString& src, const QString& dst) {
  const ChildRunResult run = RunChildAndWait(ConverterPath(), {src, dst}, childTimeLimit_);
  const bool ranToEnd = run.outcome == ChildRunResult::Outcome::Finished;
  if (ranToEnd && QFileInfo(dst).isFile()) {
    if (DwgEnabled()) RunDwgStep(dst);
    return Text(kResultComplete);
  }
  // The converter names its output only once it is complete, so a file at
  // the destination is never a partial one of ours: whatever is there now
  // was put there by someone else meanwhile and stays. What a converter
  // that crashed or was stopped can leave is the unfinished temporary file
  // it was writing.
  if (!ranToEnd && run.processId > 0)
    platform::RemoveAbandonedPendingFiles(ToPath(FolderOf(dst)), run.processId);
  lastFailureDetail_ = FailureDetail(run);
  return Text(kResultFailed);
}

bool LauncherWindow::DwgEnabled() const {
  const QString program = OdaConverterEdit->text();
  return DwgCheck->isChecked() && !IsBlankText(program) && QFileInfo(program).isFile();
}

void LauncherWindow::RunDwgStep(const QString& dxfPath) {
  const QString version = OdaVersionText(DxfVersionList->currentIndex());
  const QString copy = DwgTempFolder() + u'/' + FileNameOf(dxfPath);
  CopyFileKeepTimes(dxfPath, copy);
  const QStringList arguments{DwgTempFolder(), ExcludeTrailingSeparator(FolderOf(dxfPath)), version,
                              QStringLiteral("DWG"), QStringLiteral("0"), QStringLiteral("1"),
                              QStringLiteral("*.DXF")};
  RunChildAndWait(OdaConverterEdit->text(), arguments, childTimeLimit_);
  if (QFileInfo::exists(copy)) QFile::remove(copy);
}

}  // namespace parvex::launcher
