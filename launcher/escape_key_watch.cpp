#include "launcher/escape_key_watch.h"

#include <QApplication>
#include <QKeyEvent>

namespace parvex::launcher {

EscapeKeyWatch::EscapeKeyWatch(QObject* parent) : QObject(parent) {
  if (qApp) qApp->installEventFilter(this);
}

EscapeKeyWatch::~EscapeKeyWatch() {
  if (qApp) qApp->removeEventFilter(this);
}

bool EscapeKeyWatch::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::ShortcutOverride: {
      auto* key = static_cast<QKeyEvent*>(event);
      if (key->key() == Qt::Key_Escape) held_ = true;
      break;
    }
    case QEvent::KeyRelease: {
      auto* key = static_cast<QKeyEvent*>(event);
      // Auto-repeat sends release/press pairs while the key stays down.
      if (key->key() == Qt::Key_Escape && !key->isAutoRepeat()) held_ = false;
      break;
    }
    case QEvent::ApplicationDeactivate:
      held_ = false;
      break;
    default:
      break;
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace parvex::launcher
