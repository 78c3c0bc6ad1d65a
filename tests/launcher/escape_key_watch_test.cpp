// Which source the ESC watch believes: the window system's answer about the
// key's state now, and the key events only when there is no answer.
#include <optional>

#include <gtest/gtest.h>

#include <QTest>
#include <QWidget>

#include "launcher/escape_key_watch.h"

namespace parvex::launcher::testing {
namespace {

class FixedKeyState : public KeyStateQuery {
 public:
  explicit FixedKeyState(std::optional<bool> answer) : answer_(answer) {}
  std::optional<bool> IsEscapeDown() override { return answer_; }

 private:
  std::optional<bool> answer_;
};

TEST(EscapeKeyWatchTest, TheKeysStateNowComesBeforeKeyEvents) {
  struct Case {
    const char* what;
    std::optional<bool> systemSays;
    bool pressEventSeen;
    bool held;
  };
  const Case cases[] = {
      // Held since before the window had the keyboard: no press ever came.
      {"down without a press event", true, false, true},
      // A press whose release went to another window.
      {"up after an unreleased press event", false, true, false},
      {"no answer, press event seen", std::nullopt, true, true},
      {"no answer, no press event", std::nullopt, false, false},
  };
  QWidget widget;
  widget.show();
  for (const Case& c : cases) {
    EscapeKeyWatch watch(std::make_unique<FixedKeyState>(c.systemSays));
    if (c.pressEventSeen) QTest::keyPress(&widget, Qt::Key_Escape);
    EXPECT_EQ(watch.IsHeld(), c.held) << c.what;
    if (c.pressEventSeen) QTest::keyRelease(&widget, Qt::Key_Escape);
  }
}

}  // namespace
}  // namespace parvex::launcher::testing
