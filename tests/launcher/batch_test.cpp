// The batch run with a stand-in converter: destinations and their names,
// the log, failures of every kind, ESC, and input that arrives mid-run.
#include <chrono>

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QMouseEvent>
#include <QProgressBar>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include "launcher_fixture.h"

namespace parvex::launcher::testing {
namespace {

using namespace std::chrono_literals;

const QString kDone = QString::fromUtf16(u"\u3000\u2026\u2026 変換完了");
const QString kFailed = QString::fromUtf16(u"\u3000\u2026\u2026 変換失敗");
const QString kEsc = QString::fromUtf16(u"[ESC]を押しましたので中断します。");

QString Arrow(const QString& path) { return QString::fromUtf16(u"→ ") + path; }

TEST_F(LauncherTest, TakenNamesGetBranchNumbers) {
  const QString plan = WriteFile(InDir() + "plan.jww", "ok");
  const QString other = WriteFile(InDir() + "sub/plan.JWC", "ok");
  WriteFile(OutDir() + "plan.dxf", "old");
  WriteFile(OutDir() + "plan~1.dxf", "old");
  ConvertIntoOutDir();
  Window().AcceptFiles({plan, other});

  EXPECT_EQ(Window().LogLines(), (QStringList{plan, Arrow(OutDir() + "plan~2.dxf"), kDone, other,
                                              Arrow(OutDir() + "plan~3.dxf"), kDone}));
  EXPECT_EQ(ReadText(OutDir() + "plan.dxf"), "old");
  EXPECT_EQ(ReadText(OutDir() + "plan~1.dxf"), "old");
  EXPECT_TRUE(QFileInfo::exists(OutDir() + "plan~3.dxf"));
  // The converter saw the settings saved for this batch, and the log page
  // is showing.
  EXPECT_TRUE(QFileInfo::exists(SettingsFile()));
  EXPECT_EQ(Window().Pages->currentIndex(), 1);
  EXPECT_FALSE(Window().BatchProgress->isVisible());
  EXPECT_EQ(Window().BatchProgress->value(), 2);
}

TEST_F(LauncherTest, BesideTheSourceTheExtensionBecomesDxf) {
  const QString drawing = WriteFile(InDir() + "b.JWC", "ok");
  Window().SourceFolderButton->click();
  Window().AcceptFiles({drawing});
  EXPECT_EQ(Window().LogLines(), (QStringList{drawing, Arrow(InDir() + "b.dxf"), kDone}));
  EXPECT_TRUE(QFileInfo::exists(InDir() + "b.dxf"));
}

TEST_F(LauncherTest, AskEachTimeUsesAndRemembersTheChosenFolder) {
  const QString drawing = WriteFile(InDir() + "plan.jws", "ok");
  prompts_->folderChoices.push_back(OutDir() + "chosen");
  QDir().mkpath(OutDir() + "chosen");
  Window().AskEachTimeButton->click();
  Window().AcceptFiles({drawing});
  EXPECT_TRUE(QFileInfo::exists(OutDir() + "chosen/plan.dxf"));
  EXPECT_EQ(Window().AskedFolderLabel->text(), OutDir() + "chosen/");
  // Cancelled the second time: nothing happens.
  Window().AcceptFiles({drawing});
  EXPECT_EQ(ConverterCalls().size(), 1);
  EXPECT_EQ(prompts_->folderDialogStarts.back(), OutDir() + "chosen/");
}

TEST_F(LauncherTest, FailuresAreLoggedAndTheBatchGoesOn) {
  const QString bad = WriteFile(InDir() + "bad.jww", "BAD header");
  const QString crash = WriteFile(InDir() + "crash.jww", "CRASH");
  const QString hang = WriteFile(InDir() + "hang.jww", "HANG");
  const QString good = WriteFile(InDir() + "good.jww", "ok");
  ConvertIntoOutDir();
  Window().SetChildTimeLimit(1500ms);
  Window().AcceptFiles({bad, crash, hang, good});

  const QStringList log = Window().LogLines();
  ASSERT_EQ(log.size(), 15) << log.join('\n').toStdString();
  const struct {
    int line;
    QString text;
  } expected[] = {
      {0, bad},    {1, Arrow(OutDir() + "bad.dxf")},   {2, kFailed},
      {4, crash},  {5, Arrow(OutDir() + "crash.dxf")}, {6, kFailed},
      {8, hang},   {9, Arrow(OutDir() + "hang.dxf")},  {10, kFailed},
      {12, good},  {13, Arrow(OutDir() + "good.dxf")}, {14, kDone},
  };
  for (const auto& e : expected) EXPECT_EQ(log[e.line], e.text) << e.line;
  // The reason follows each failure: the converter's own, a crash, a hang.
  EXPECT_TRUE(log[3].contains("JWW-Header Error")) << log[3].toStdString();
  EXPECT_TRUE(log[7].contains(QString::fromUtf16(u"異常終了"))) << log[7].toStdString();
  EXPECT_TRUE(log[11].contains(QString::fromUtf16(u"応答しない"))) << log[11].toStdString();
  // A crashed converter's unfinished output is not left behind, under its
  // temporary name or as if it were a result.
  EXPECT_FALSE(QFileInfo::exists(OutDir() + "crash.dxf"));
  EXPECT_TRUE(QDir(OutDir()).entryList({".pvx-*"}, QDir::Files | QDir::Hidden).isEmpty());
  EXPECT_FALSE(QFileInfo::exists(OutDir() + "bad.dxf"));
  EXPECT_TRUE(QFileInfo::exists(OutDir() + "good.dxf"));
}

TEST_F(LauncherTest, AFileThatAnotherProgramPutAtTheDestinationIsKept) {
  // The converter dies after someone else created the destination while it
  // worked: the launcher reports the failure and leaves that file alone.
  const QString raced = WriteFile(InDir() + "raced.jww", "RACED");
  ConvertIntoOutDir();
  Window().AcceptFiles({raced});
  EXPECT_EQ(Window().LogLines().value(2), kFailed);
  QFile kept(OutDir() + "raced.dxf");
  ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
  EXPECT_EQ(kept.readAll(), QByteArray("not ours\n"));
}

TEST_F(LauncherTest, MissingConverterFailsEveryFile) {
  QFile::remove(AppDir() + "ParvexSub");
  const QString drawing = WriteFile(InDir() + "plan.jww", "ok");
  ConvertIntoOutDir();
  Window().AcceptFiles({drawing});
  const QStringList log = Window().LogLines();
  ASSERT_GE(log.size(), 3);
  EXPECT_EQ(log[2], kFailed);
}

TEST_F(LauncherTest, MissingSpecifiedFolderStopsBeforeAnything) {
  const QString drawing = WriteFile(InDir() + "plan.jww", "ok");
  LauncherWindow& w = Window();
  w.GivenFolderButton->click();
  for (const QString& folder : {Root() + "/nowhere", QString("   ")}) {
    prompts_->messages.clear();
    w.GivenFolderEdit->setText(folder);
    w.AcceptFiles({drawing});
    ASSERT_EQ(prompts_->messages.size(), 1);
    EXPECT_TRUE(prompts_->messages[0].startsWith(QString::fromUtf16(u"指定したフォルダが見つかりません。\n")));
  }
  EXPECT_TRUE(prompts_->messages[0].endsWith("\n"));  // a blank field names no folder
  EXPECT_FALSE(QFileInfo::exists(SettingsFile()));
  EXPECT_TRUE(ConverterCalls().isEmpty());
  EXPECT_TRUE(w.LogLines().isEmpty());
}

TEST_F(LauncherTest, EscHeldBeforeTheFirstFileLogsOnlyTheEscLine) {
  const QString drawing = WriteFile(InDir() + "plan.jww", "ok");
  ConvertIntoOutDir();
  LauncherWindow& w = Window();
  w.show();
  QTest::keyPress(&w, Qt::Key_Escape);
  w.AcceptFiles({drawing, drawing});
  EXPECT_EQ(w.LogLines(), QStringList{kEsc});
  EXPECT_TRUE(ConverterCalls().isEmpty());

  // Released, the next batch runs.
  QTest::keyRelease(&w, Qt::Key_Escape);
  w.AcceptFiles({drawing});
  EXPECT_EQ(w.LogLines().last(), kDone);
}

TEST_F(LauncherTest, EscBetweenFilesFinishesTheCurrentOne) {
  const QString first = WriteFile(InDir() + "first.jww", "ok");
  const QString second = WriteFile(InDir() + "second.jww", "ok");
  int asked = 0;
  escapeHeld_ = [&] { return ++asked > 1; };
  ConvertIntoOutDir();
  Window().AcceptFiles({first, second});
  EXPECT_EQ(Window().LogLines(), (QStringList{first, Arrow(OutDir() + "first.dxf"), kDone, kEsc}));
}

TEST_F(LauncherTest, InputDuringABatchIsRefusedWithANote) {
  const QString slow = WriteFile(InDir() + "slow.jww", "HANG");
  const QString late = WriteFile(InDir() + "late.jww", "ok");
  ConvertIntoOutDir();
  LauncherWindow& w = Window();
  w.SetChildTimeLimit(1500ms);
  bool sawRunning = false;
  QTimer::singleShot(300, &w, [&] {
    sawRunning = w.IsBatchRunning();
    w.AcceptFiles({late});
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(late)});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&w, &enter);
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&w, &drop);
    QMouseEvent click(QEvent::MouseButtonRelease, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(w.ChooseFilesLink, &click);
    QTest::qWait(50);
    w.close();  // closing waits for the end of the batch
    EXPECT_TRUE(w.isVisible());
  });
  w.show();
  w.AcceptFiles({slow});
  EXPECT_TRUE(sawRunning);
  EXPECT_EQ(w.FileList(), QStringList{slow});
  const QStringList log = w.LogLines();
  EXPECT_EQ(log.filter(QString::fromUtf16(u"変換中のため受け付けませんでした")).size(), 3) << log.join('\n').toStdString();
  EXPECT_TRUE(prompts_->sourceDialogFolder.isNull());  // the file dialog never opened
  EXPECT_EQ(ConverterCalls().size(), 1);
  EXPECT_FALSE(QFileInfo::exists(OutDir() + "late.dxf"));
  QTRY_VERIFY_WITH_TIMEOUT(!w.isVisible(), 5000);
}

TEST_F(LauncherTest, DroppedAndCommandLineFilesAreConverted) {
  const QString a = WriteFile(InDir() + "a.jww", "ok");
  const QString b = WriteFile(InDir() + "b.jws", "ok");
  const QString note = WriteFile(InDir() + "note.txt", "ok");
  commandLine_ = {a, note};
  ConvertIntoOutDir();
  LauncherWindow& w = Window();
  w.show();
  QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(OutDir() + "a.dxf"), 5000);

  QMimeData data;
  data.setUrls({QUrl::fromLocalFile(b), QUrl::fromLocalFile(note)});
  QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(&w, &enter);
  EXPECT_TRUE(enter.isAccepted());
  QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(&w, &drop);
  QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(OutDir() + "b.dxf"), 5000);
  EXPECT_EQ(w.FileList(), QStringList{b});
}

TEST_F(LauncherTest, LogCanBeCopied) {
  const QString drawing = WriteFile(InDir() + "plan.jww", "ok");
  ConvertIntoOutDir();
  LauncherWindow& w = Window();
  w.AcceptFiles({drawing});
  w.show();
  w.LogList->setFocus();
  w.LogList->item(1)->setSelected(true);
  w.LogList->item(2)->setSelected(true);
  QTest::keyClick(w.LogList, Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(QApplication::clipboard()->text(), Arrow(OutDir() + "plan.dxf") + "\n" + kDone + "\n");
}

}  // namespace
}  // namespace parvex::launcher::testing

namespace parvex::launcher::testing {
namespace {

TEST_F(LauncherTest, FileFailsWhenEveryBranchNameIsTaken) {
  const QString drawing = WriteFile(InDir() + "a.jww", "ok");
  const QString next = WriteFile(InDir() + "b.jww", "ok");
  WriteFile(OutDir() + "a.dxf", "old");
  maxBranch_ = 50;
  for (int i = 1; i <= 50; ++i) {
    QFile taken(OutDir() + "a~" + QString::number(i) + ".dxf");
    ASSERT_TRUE(taken.open(QIODevice::WriteOnly));
  }
  ConvertIntoOutDir();
  Window().AcceptFiles({drawing, next});
  const QStringList log = Window().LogLines();
  ASSERT_GE(log.size(), 7) << log.join('\n').toStdString();
  EXPECT_EQ(log[2], QString::fromUtf16(u"\u3000\u2026\u2026 変換失敗"));
  EXPECT_EQ(log.last(), QString::fromUtf16(u"\u3000\u2026\u2026 変換完了"));
  // The converter was never handed an existing destination.
  EXPECT_EQ(ConverterCalls(), QStringList{InDir() + "b.jww|" + OutDir() + "b.dxf"});
  EXPECT_EQ(ReadText(OutDir() + "a~50.dxf"), QString());
}

}  // namespace
}  // namespace parvex::launcher::testing
