// The real Parvex on a real X server (Xvfb with openbox, the xcb platform),
// with ESC held down through XTest as a person's keyboard would hold it.
// The converter is a stand-in whose conversions last until the test lets
// them end, so that "held while a drawing is in progress" and "held before
// the first drawing" do not depend on the speed of the machine.
//
// The log is read the way a user copies it: a click into the log list,
// Ctrl+A, Ctrl+C, and the clipboard read by this program started again on
// the same display with --print-clipboard.
#include <cstdio>
#include <cstring>
#include <ostream>
#include <thread>

#include <gtest/gtest.h>

#include <QClipboard>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QGuiApplication>

#include "tests/support/temp_folder.h"
#include "x_desktop.h"

// Failure messages show texts as text.
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

namespace parvex::launcher::testing {
namespace {

using namespace std::chrono_literals;

const QString kEscLine = QString::fromUtf16(u"[ESC]を押しましたので中断します。");
const QString kDone = QString::fromUtf16(u"\u3000\u2026\u2026 変換完了");
const QString kWindowTitle = QStringLiteral("\\[Parvex\\]");
// Long enough for a loaded two-core machine; a wait that is met ends at once.
constexpr auto kPatience = 90s;

class EscapeOnDesktopTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const QStringList missing = XDesktop::MissingPrograms();
    if (!missing.isEmpty())
      GTEST_SKIP() << "needs " << missing.join(u", ").toStdString()
                   << " (tools/packages.txt lists them; tools/setup.sh installs them)";
    for (const QString& folder : {AppDir() + "gates", InDir(), Home()}) ASSERT_TRUE(QDir().mkpath(folder));
    Install(QStringLiteral(PARVEX_BIN_DIR "/Parvex"), AppDir() + "Parvex");
    Install(QStringLiteral(LAUNCHER_STAND_INS "/GatedParvexSub"), AppDir() + "ParvexSub");
    desktop_ = std::make_unique<XDesktop>(Home());
    const Status started = desktop_->Start();
    ASSERT_TRUE(started.ok()) << started.reason();
  }

  void TearDown() override {
    if (!desktop_) return;
    (void)desktop_->Xdotool({QStringLiteral("keyup"), QStringLiteral("Escape")});
    OpenGate("all");
    launcher_.Stop();
    desktop_.reset();
  }

  QString Root() const { return QString::fromStdString(root_.Path().string()); }
  QString AppDir() const { return Root() + "/app/"; }
  QString InDir() const { return Root() + "/in/"; }
  QString Home() const { return Root() + "/home"; }
  // Where the launcher puts its conversions by default: the desktop folder.
  QString DesktopDir() const { return Home() + "/Desktop/"; }

  static void Install(const QString& from, const QString& to) {
    ASSERT_TRUE(QFile::copy(from, to)) << from.toStdString();
    ASSERT_TRUE(QFile::setPermissions(to, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
  }

  QStringList Drawings(const QStringList& names) const {
    QStringList paths;
    for (const QString& name : names) {
      QFile file(InDir() + name);
      EXPECT_TRUE(file.open(QIODevice::WriteOnly)) << name.toStdString();
      file.write("drawing");
      paths << file.fileName();
    }
    return paths;
  }

  // Lets the stand-in's conversion into `destinationName` (or "all") end.
  void OpenGate(const QString& destinationName) const {
    QFile gate(AppDir() + "gates/" + destinationName);
    EXPECT_TRUE(gate.open(QIODevice::WriteOnly));
  }

  // Destinations the launcher has handed to the converter, in order.
  QStringList ConverterCalls() const {
    QFile calls(AppDir() + "converter_calls.txt");
    if (!calls.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(calls.readAll()).split(u'\n', Qt::SkipEmptyParts);
  }

  QStringList Written() const { return QDir(DesktopDir()).entryList({QStringLiteral("*.dxf")}, QDir::Files); }

  bool Hold(bool down) const {
    return desktop_->Xdotool({down ? QStringLiteral("keydown") : QStringLiteral("keyup"), QStringLiteral("Escape")})
        .ok();
  }

  // Starts Parvex with `files` on its command line and waits until its
  // window is on the screen with the keyboard focus.
  void StartLauncher(const QStringList& files) {
    const Status started = launcher_.Start(AppDir() + "Parvex", files, desktop_->Environment());
    ASSERT_TRUE(started.ok()) << started.reason();
    window_ = desktop_->WaitForWindow(kWindowTitle, kPatience);
    ASSERT_NE(window_, 0u) << "the launcher window did not appear; its errors: "
                           << launcher_.Process().readAllStandardError().toStdString();
    ASSERT_TRUE(WaitUntil([&] { return desktop_->HasFocus(window_); }, kPatience, 200ms))
        << "the window manager did not give the launcher window the keyboard focus";
  }

  // The log as the user copies it: click into the list (the log page shows
  // from the start of a batch on), select everything, copy.
  QStringList ReadLog() const {
    const auto geometry =
        desktop_->Xdotool({QStringLiteral("getwindowgeometry"), QStringLiteral("--shell"), QString::number(window_)});
    if (!geometry) return {};
    int width = 0;
    int height = 0;
    for (const QString& line : QString::fromLatin1(*geometry).split(u'\n')) {
      if (line.startsWith(QStringLiteral("WIDTH="))) width = line.mid(6).toInt();
      if (line.startsWith(QStringLiteral("HEIGHT="))) height = line.mid(7).toInt();
    }
    // The list fills the middle of the window's lower half.
    const QString x = QString::number(width / 2);
    const QString y = QString::number(height * 3 / 4);
    const auto copied = desktop_->Xdotool({QStringLiteral("mousemove"), QStringLiteral("--window"),
                                           QString::number(window_), x, y, QStringLiteral("click"),
                                           QStringLiteral("1"), QStringLiteral("key"),
                                           QStringLiteral("--clearmodifiers"), QStringLiteral("ctrl+a"),
                                           QStringLiteral("ctrl+c")});
    if (!copied) return {};
    const auto text =
        desktop_->Run(QCoreApplication::applicationFilePath(), {QStringLiteral("--print-clipboard")});
    if (!text) return {};
    return QString::fromUtf8(*text).split(u'\n', Qt::SkipEmptyParts);
  }

  parvex::testing::TempFolder root_;
  std::unique_ptr<XDesktop> desktop_;
  ChildProgram launcher_;
  unsigned long window_ = 0;
};

TEST_F(EscapeOnDesktopTest, HeldEscStopsTheBatchAfterTheDrawingInProgress) {
  const QStringList sources = Drawings({"a.jww", "b.jww", "c.jww", "d.jww"});
  ASSERT_NO_FATAL_FAILURE(StartLauncher(sources));
  ASSERT_TRUE(WaitUntil([&] { return ConverterCalls().size() == 1; }, kPatience)) << "no conversion started";

  ASSERT_TRUE(Hold(true));
  // Time for the press to reach the window, so that a launcher following
  // key events has had every chance to see it.
  std::this_thread::sleep_for(1s);
  OpenGate("a.dxf");
  QStringList log;
  WaitUntil(
      [&] {
        log = ReadLog();
        return log.contains(kEscLine) || ConverterCalls().size() > 1;
      },
      kPatience, 500ms);
  ASSERT_TRUE(Hold(false));

  EXPECT_EQ(log, (QStringList{sources[0], QStringLiteral(u"→ ") + DesktopDir() + "a.dxf", kDone, kEscLine}));
  EXPECT_EQ(ConverterCalls(), QStringList{DesktopDir() + "a.dxf"});
  EXPECT_EQ(Written(), QStringList{"a.dxf"});
}

TEST_F(EscapeOnDesktopTest, EscHeldBeforeTheFirstDrawingLogsOnlyTheEscLine) {
  const QStringList sources = Drawings({"a.jww", "b.jww"});
  // Pressed before the window exists: the launcher never receives the press.
  ASSERT_TRUE(Hold(true));
  ASSERT_NO_FATAL_FAILURE(StartLauncher(sources));
  QStringList log;
  WaitUntil(
      [&] {
        log = ReadLog();
        return log.contains(kEscLine) || !ConverterCalls().isEmpty();
      },
      kPatience, 500ms);
  ASSERT_TRUE(Hold(false));

  EXPECT_EQ(log, QStringList{kEscLine});
  EXPECT_EQ(ConverterCalls(), QStringList{});
  EXPECT_EQ(Written(), QStringList{});
}

TEST_F(EscapeOnDesktopTest, BatchWithoutEscConvertsEveryDrawing) {
  const QStringList sources = Drawings({"a.jww", "b.jww", "c.jww"});
  OpenGate("all");
  ASSERT_NO_FATAL_FAILURE(StartLauncher(sources));
  QStringList log;
  WaitUntil(
      [&] {
        log = ReadLog();
        return log.size() >= 9 || log.contains(kEscLine);
      },
      kPatience, 500ms);

  QStringList expected;
  for (const char* name : {"a", "b", "c"})
    expected << InDir() + name + ".jww" << QStringLiteral(u"→ ") + DesktopDir() + name + ".dxf" << kDone;
  EXPECT_EQ(log, expected);
  EXPECT_EQ(Written(), (QStringList{"a.dxf", "b.dxf", "c.dxf"}));
}

}  // namespace
}  // namespace parvex::launcher::testing

// Started again by the tests on their desktop to read the clipboard.
int main(int argc, char** argv) {
  if (argc == 2 && std::strcmp(argv[1], "--print-clipboard") == 0) {
    QGuiApplication app(argc, argv);
    std::fputs(QGuiApplication::clipboard()->text().toUtf8().constData(), stdout);
    return 0;
  }
  QCoreApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
