#include "x_desktop.h"

#include <signal.h>
#include <sys/prctl.h>

#include <thread>

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QStandardPaths>

namespace parvex::launcher::testing {
namespace {

using namespace std::chrono_literals;

constexpr auto kCommandLimit = 60s;

std::string Text(const QString& text) { return text.toStdString(); }

}  // namespace

Status ChildProgram::Start(const QString& program, const QStringList& arguments,
                           const QProcessEnvironment& environment) {
  Stop();
  process_ = std::make_unique<QProcess>();
  process_->setProgram(program);
  process_->setArguments(arguments);
  process_->setProcessEnvironment(environment);
  process_->setStandardInputFile(QProcess::nullDevice());
  // A test that is killed (a time-out of the test runner) cannot run its
  // clean-up; the system then ends the child in its place.
  process_->setChildProcessModifier([] { prctl(PR_SET_PDEATHSIG, SIGTERM); });
  process_->start();
  if (!process_->waitForStarted(static_cast<int>(std::chrono::milliseconds(kCommandLimit).count())))
    return Fail("cannot start " + Text(program) + ": " + Text(process_->errorString()));
  return Ok();
}

bool ChildProgram::IsRunning() const { return process_ && process_->state() != QProcess::NotRunning; }

void ChildProgram::Stop() {
  if (!IsRunning()) return;
  process_->terminate();
  if (!process_->waitForFinished(10000)) {
    process_->kill();
    process_->waitForFinished(10000);
  }
}

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds limit,
               std::chrono::milliseconds interval) {
  const QDeadlineTimer deadline(limit);
  while (true) {
    if (condition()) return true;
    if (deadline.hasExpired()) return false;
    std::this_thread::sleep_for(interval);
  }
}

QStringList XDesktop::MissingPrograms() {
  QStringList missing;
  for (const QString& program : {QStringLiteral("Xvfb"), QStringLiteral("openbox"), QStringLiteral("xdotool")})
    if (QStandardPaths::findExecutable(program).isEmpty()) missing << program;
  return missing;
}

XDesktop::XDesktop(QString home) : home_(std::move(home)) {}

XDesktop::~XDesktop() {
  windowManager_.Stop();
  server_.Stop();
}

Status XDesktop::Start() {
  for (const char* folder : {".config", ".cache", ".local/share", "runtime"})
    QDir().mkpath(home_ + u'/' + QLatin1String(folder));
  QFile::setPermissions(home_ + QStringLiteral("/runtime"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

  // -displayfd: the server takes the first free display number and tells it
  // on standard output once it accepts connections.
  const Status started = server_.Start(
      QStringLiteral("Xvfb"),
      {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"), QStringLiteral("0"),
       QStringLiteral("1024x768x24"), QStringLiteral("-nolisten"), QStringLiteral("tcp"), QStringLiteral("-noreset")},
      QProcessEnvironment::systemEnvironment());
  if (!started) return started;
  QByteArray announced;
  const bool told = WaitUntil(
      [&] {
        server_.Process().waitForReadyRead(100);
        announced += server_.Process().readAllStandardOutput();
        return announced.contains('\n') || !server_.IsRunning();
      },
      kCommandLimit);
  bool isNumber = false;
  const int number = announced.trimmed().toInt(&isNumber);
  if (!told || !isNumber)
    return Fail("Xvfb did not start: " + server_.Process().readAllStandardError().toStdString());
  display_ = QStringLiteral(":%1").arg(number);

  const Status managed = windowManager_.Start(QStringLiteral("openbox"), {QStringLiteral("--sm-disable")},
                                              Environment());
  if (!managed) return managed;
  // The window manager serves once it has announced its desktops.
  if (!WaitUntil([&] { return Xdotool({QStringLiteral("get_num_desktops")}).ok(); }, kCommandLimit, 200ms))
    return Fail("openbox did not start managing the display");
  return Ok();
}

QProcessEnvironment XDesktop::Environment() const {
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  for (const char* name : {"WAYLAND_DISPLAY", "XAUTHORITY", "SESSION_MANAGER", "DBUS_SESSION_BUS_ADDRESS",
                           "QT_QPA_PLATFORM", "XDG_SESSION_TYPE"})
    environment.remove(QLatin1String(name));
  environment.insert(QStringLiteral("DISPLAY"), display_);
  environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
  environment.insert(QStringLiteral("HOME"), home_);
  environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home_ + QStringLiteral("/.config"));
  environment.insert(QStringLiteral("XDG_CACHE_HOME"), home_ + QStringLiteral("/.cache"));
  environment.insert(QStringLiteral("XDG_DATA_HOME"), home_ + QStringLiteral("/.local/share"));
  environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), home_ + QStringLiteral("/runtime"));
  environment.insert(QStringLiteral("NO_AT_BRIDGE"), QStringLiteral("1"));
  return environment;
}

Result<QByteArray> XDesktop::Run(const QString& program, const QStringList& arguments) const {
  QProcess process;
  process.setProcessEnvironment(Environment());
  process.setStandardInputFile(QProcess::nullDevice());
  process.start(program, arguments);
  const int limit = static_cast<int>(std::chrono::milliseconds(kCommandLimit).count());
  if (!process.waitForFinished(limit)) {
    process.kill();
    process.waitForFinished(limit);
    return Fail(Text(program) + " did not end");
  }
  if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
    return Fail(Text(program + u' ' + arguments.join(u' ')) + ": " + process.readAllStandardError().toStdString());
  return process.readAllStandardOutput();
}

Result<QByteArray> XDesktop::Xdotool(const QStringList& arguments) const {
  return Run(QStringLiteral("xdotool"), arguments);
}

unsigned long XDesktop::WaitForWindow(const QString& titlePattern, std::chrono::milliseconds limit) const {
  unsigned long window = 0;
  WaitUntil(
      [&] {
        // xdotool fails while no window matches.
        const auto found = Xdotool({QStringLiteral("search"), QStringLiteral("--name"), titlePattern});
        if (found) window = QString::fromLatin1(*found).section(u'\n', 0, 0).trimmed().toULong();
        return window != 0;
      },
      limit, 200ms);
  return window;
}

bool XDesktop::HasFocus(unsigned long window) const {
  const auto focused = Xdotool({QStringLiteral("getwindowfocus")});
  return focused && QString::fromLatin1(*focused).trimmed().toULong() == window;
}

}  // namespace parvex::launcher::testing
