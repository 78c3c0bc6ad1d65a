// A private X desktop for end-to-end tests of the launcher window: Xvfb on a
// display number the server picks itself (so tests running side by side
// never collide), the openbox window manager on it, and xdotool to type and
// click through the XTest extension, the way a person's keyboard and mouse
// reach a program. Every program started here is ended when its owner goes,
// and by the system when the test process dies.
#pragma once

#include <chrono>
#include <functional>
#include <memory>

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>

#include "common/result.h"

namespace parvex::launcher::testing {

// One program running in the background; ended (politely, then by force)
// when this object goes.
class ChildProgram {
 public:
  ChildProgram() = default;
  ~ChildProgram() { Stop(); }
  ChildProgram(const ChildProgram&) = delete;
  ChildProgram& operator=(const ChildProgram&) = delete;

  Status Start(const QString& program, const QStringList& arguments, const QProcessEnvironment& environment);
  bool IsRunning() const;
  QProcess& Process() { return *process_; }
  void Stop();

 private:
  std::unique_ptr<QProcess> process_;
};

// Runs `condition` every `interval` until it holds or `limit` has passed;
// true when it held. The limits in these tests are generous: a loaded
// machine may be slow, and a condition that holds ends the wait at once.
bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds limit,
               std::chrono::milliseconds interval = std::chrono::milliseconds(100));

class XDesktop {
 public:
  // The programs a desktop needs that are not installed; empty when all are.
  static QStringList MissingPrograms();

  // Programs started on the desktop get `home` as their home folder, with
  // their configuration, caches and runtime files below it.
  explicit XDesktop(QString home);
  ~XDesktop();

  // Starts the X server and the window manager and waits until both serve.
  Status Start();

  // Environment of a program on this desktop (Qt on its xcb platform).
  QProcessEnvironment Environment() const;

  // Runs xdotool with `arguments` on this desktop; its standard output.
  Result<QByteArray> Xdotool(const QStringList& arguments) const;

  // Runs `program` on this desktop until it ends; its standard output.
  Result<QByteArray> Run(const QString& program, const QStringList& arguments) const;

  // The id of the first top-level window whose title matches `titlePattern`
  // (a regular expression), waiting for it to appear; 0 when none does.
  unsigned long WaitForWindow(const QString& titlePattern, std::chrono::milliseconds limit) const;
  // Whether `window` has the keyboard focus.
  bool HasFocus(unsigned long window) const;

 private:
  QString home_;
  QString display_;
  ChildProgram server_;
  ChildProgram windowManager_;
};

}  // namespace parvex::launcher::testing
