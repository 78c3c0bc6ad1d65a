// Runs one helper program (the converter or ODA FileConverter) as a child
// process and waits for it while the window keeps handling its events.
#pragma once

#include <chrono>

#include <QString>
#include <QStringList>

namespace parvex::launcher {

struct ChildRunResult {
  enum class Outcome {
    Finished,       // ended on its own; see exitCode
    FailedToStart,  // missing, not executable, or refused by the system
    Crashed,        // ended by a signal
    TimedOut,       // still running at the time limit; it was killed
  };
  Outcome outcome = Outcome::FailedToStart;
  int exitCode = 0;
  // Process id the child had; 0 when it did not start.
  qint64 processId = 0;
  // The start of what the child wrote to its standard error, at most
  // kMaxErrorText bytes, decoded as UTF-8.
  QString errorText;
};

inline constexpr qsizetype kMaxErrorText = 4096;

// Starts `program` with `arguments` (each passed as one argument, no shell in
// between), in the launcher's current directory, with standard input and
// output connected to nothing. Returns when the child has ended or when
// `timeLimit` has passed, in which case the child is killed. Events of the
// application are processed meanwhile, so callers must expect re-entry.
ChildRunResult RunChildAndWait(const QString& program, const QStringList& arguments,
                               std::chrono::milliseconds timeLimit);

}  // namespace parvex::launcher
