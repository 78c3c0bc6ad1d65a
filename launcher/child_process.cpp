#include "launcher/child_process.h"

#include <QEventLoop>
#include <QProcess>
#include <QTimer>

namespace parvex::launcher {

ChildRunResult RunChildAndWait(const QString& program, const QStringList& arguments,
                               std::chrono::milliseconds timeLimit) {
  ChildRunResult result;
  QProcess process;
  process.setProgram(program);
  process.setArguments(arguments);
  process.setStandardInputFile(QProcess::nullDevice());
  process.setStandardOutputFile(QProcess::nullDevice());

  // Standard error is drained as it arrives so that a talkative child never
  // blocks on a full pipe; only its beginning is kept.
  QByteArray errorBytes;
  QObject::connect(&process, &QProcess::readyReadStandardError, [&] {
    QByteArray chunk = process.readAllStandardError();
    if (errorBytes.size() < kMaxErrorText)
      errorBytes.append(chunk.left(kMaxErrorText - errorBytes.size()));
  });

  QEventLoop loop;
  bool ended = false;
  bool timedOut = false;
  bool failedToStart = false;
  QObject::connect(&process, &QProcess::finished, &loop, [&] {
    ended = true;
    loop.quit();
  });
  QObject::connect(&process, &QProcess::errorOccurred, &loop, [&](QProcess::ProcessError error) {
    if (error == QProcess::FailedToStart) {
      failedToStart = true;
      ended = true;
      loop.quit();
    }
  });
  QTimer limit;
  limit.setSingleShot(true);
  QObject::connect(&limit, &QTimer::timeout, &loop, [&] {
    timedOut = true;
    loop.quit();
  });

  process.start();
  result.processId = process.processId();
  if (!ended) {
    limit.start(timeLimit);
    loop.exec();
  }
  limit.stop();

  if (failedToStart) {
    result.outcome = ChildRunResult::Outcome::FailedToStart;
    return result;
  }
  if (timedOut && process.state() != QProcess::NotRunning) {
    process.kill();
    process.waitForFinished(10000);
    result.outcome = ChildRunResult::Outcome::TimedOut;
  } else if (process.exitStatus() == QProcess::CrashExit) {
    result.outcome = ChildRunResult::Outcome::Crashed;
  } else {
    result.outcome = ChildRunResult::Outcome::Finished;
    result.exitCode = process.exitCode();
  }
  QByteArray rest = process.readAllStandardError();
  if (errorBytes.size() < kMaxErrorText) errorBytes.append(rest.left(kMaxErrorText - errorBytes.size()));
  result.errorText = QString::fromUtf8(errorBytes);
  return result;
}

}  // namespace parvex::launcher
