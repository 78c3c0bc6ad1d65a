// Tells whether the ESC key is being held down. There is no portable way to
// ask the keyboard directly, so the watch follows the key events that reach
// the application: held from a press until its release, and no longer held
// once the application loses the keyboard (a release elsewhere is not seen).
#pragma once

#include <QObject>

namespace parvex::launcher {

class EscapeKeyWatch : public QObject {
  Q_OBJECT
 public:
  explicit EscapeKeyWatch(QObject* parent = nullptr);
  ~EscapeKeyWatch() override;

  bool IsHeld() const { return held_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool held_ = false;
};

}  // namespace parvex::launcher
