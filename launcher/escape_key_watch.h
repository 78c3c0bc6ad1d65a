// Tells whether the ESC key is down at the moment of asking. The batch run
// asks between files, so what counts is the key's state then, not whether
// a key event happened to reach the application before.
//
// Where the window system can report the keyboard's state (X11), it is
// asked directly. Key events cannot answer that question reliably: a key
// already down when the window appears, or pressed while another window
// had the keyboard, sends the application no press; and the release/press
// pairs of auto-repeat are not always recognised as such. Where no state
// query exists (Wayland, the offscreen platform of the tests), the watch
// falls back to following the key events that reach the application.
#pragma once

#include <memory>
#include <optional>

#include <QObject>

namespace parvex::launcher {

// The window system's answer to "is ESC down now". Each platform that can
// ask has one implementation (X11 here; Windows would use GetAsyncKeyState).
class KeyStateQuery {
 public:
  virtual ~KeyStateQuery() = default;
  // True or false when the window system answered; empty when it could not
  // be asked (connection lost, no key produces ESC).
  virtual std::optional<bool> IsEscapeDown() = 0;
};

// The query of the platform the application runs on, or null where there is
// none. Needs the application object to exist.
std::unique_ptr<KeyStateQuery> CreatePlatformKeyStateQuery();

class EscapeKeyWatch : public QObject {
  Q_OBJECT
 public:
  // Asks the platform's own query when there is one.
  explicit EscapeKeyWatch(QObject* parent = nullptr);
  // Asks `query` (null: key events only).
  explicit EscapeKeyWatch(std::unique_ptr<KeyStateQuery> query, QObject* parent = nullptr);
  ~EscapeKeyWatch() override;

  // The window system's answer when it gives one, else what the key events
  // seen so far say.
  bool IsHeld() const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  std::unique_ptr<KeyStateQuery> query_;
  // Held from an ESC press until its release, and no longer held once the
  // application loses the keyboard (a release elsewhere is not seen).
  bool heldByEvents_ = false;
};

}  // namespace parvex::launcher
