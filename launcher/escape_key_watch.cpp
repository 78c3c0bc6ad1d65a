#include "launcher/escape_key_watch.h"

#include <QApplication>
#include <QKeyEvent>

#if PARVEX_LAUNCHER_XCB
#include <cstdlib>

#include <xcb/xcb.h>
#endif

namespace parvex::launcher {
namespace {

#if PARVEX_LAUNCHER_XCB
struct XcbFree {
  void operator()(void* reply) const { std::free(reply); }
};
template <typename Reply>
using XcbReply = std::unique_ptr<Reply, XcbFree>;

// Asks the X server through the application's own connection which keys are
// down (the core keyboard, whatever window has the focus), and which key
// codes produce ESC under the current keyboard mapping.
class X11KeyStateQuery final : public KeyStateQuery {
 public:
  explicit X11KeyStateQuery(xcb_connection_t* connection) : connection_(connection) {}

  std::optional<bool> IsEscapeDown() override {
    if (xcb_connection_has_error(connection_)) return std::nullopt;
    const xcb_setup_t* setup = xcb_get_setup(connection_);
    const int first = setup->min_keycode;
    const int count = setup->max_keycode - setup->min_keycode + 1;
    if (count <= 0) return std::nullopt;
    // Both requests leave before either reply is awaited: one round trip.
    const auto mappingCookie =
        xcb_get_keyboard_mapping(connection_, setup->min_keycode, static_cast<uint8_t>(count));
    const auto keymapCookie = xcb_query_keymap(connection_);
    const XcbReply<xcb_get_keyboard_mapping_reply_t> mapping(
        xcb_get_keyboard_mapping_reply(connection_, mappingCookie, nullptr));
    const XcbReply<xcb_query_keymap_reply_t> keymap(xcb_query_keymap_reply(connection_, keymapCookie, nullptr));
    if (!mapping || !keymap || mapping->keysyms_per_keycode == 0) return std::nullopt;

    const xcb_keysym_t* keysyms = xcb_get_keyboard_mapping_keysyms(mapping.get());
    const int length = xcb_get_keyboard_mapping_keysyms_length(mapping.get());
    bool escapeMapped = false;
    for (int i = 0; i < length; ++i) {
      if (keysyms[i] != kEscapeKeysym) continue;
      const int keycode = first + i / mapping->keysyms_per_keycode;
      if (keycode > 255) break;
      escapeMapped = true;
      if (keymap->keys[keycode / 8] & (1u << (keycode % 8))) return true;
    }
    if (!escapeMapped) return std::nullopt;
    return false;
  }

 private:
  static constexpr xcb_keysym_t kEscapeKeysym = 0xff1b;
  xcb_connection_t* connection_;
};
#endif

}  // namespace

std::unique_ptr<KeyStateQuery> CreatePlatformKeyStateQuery() {
#if PARVEX_LAUNCHER_XCB
  // Only the xcb platform has this interface; offscreen and Wayland do not.
  if (auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr) {
    if (xcb_connection_t* connection = x11->connection()) return std::make_unique<X11KeyStateQuery>(connection);
  }
#endif
  return nullptr;
}

EscapeKeyWatch::EscapeKeyWatch(QObject* parent) : EscapeKeyWatch(CreatePlatformKeyStateQuery(), parent) {}

EscapeKeyWatch::EscapeKeyWatch(std::unique_ptr<KeyStateQuery> query, QObject* parent)
    : QObject(parent), query_(std::move(query)) {
  if (qApp) qApp->installEventFilter(this);
}

EscapeKeyWatch::~EscapeKeyWatch() {
  if (qApp) qApp->removeEventFilter(this);
}

bool EscapeKeyWatch::IsHeld() const {
  if (query_) {
    if (const std::optional<bool> down = query_->IsEscapeDown()) return *down;
  }
  return heldByEvents_;
}

bool EscapeKeyWatch::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::ShortcutOverride: {
      auto* key = static_cast<QKeyEvent*>(event);
      if (key->key() == Qt::Key_Escape) heldByEvents_ = true;
      break;
    }
    case QEvent::KeyRelease: {
      auto* key = static_cast<QKeyEvent*>(event);
      // Auto-repeat sends release/press pairs while the key stays down.
      if (key->key() == Qt::Key_Escape && !key->isAutoRepeat()) heldByEvents_ = false;
      break;
    }
    case QEvent::ApplicationDeactivate:
      heldByEvents_ = false;
      break;
    default:
      break;
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace parvex::launcher
