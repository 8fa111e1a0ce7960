#include "app/layout.h"

#include <algorithm>

namespace shortlink {

ControlId NextTabStop(ControlId from, TabDirection direction) {
  const auto found = std::find(kTabOrder.begin(), kTabOrder.end(), from);
  if (found == kTabOrder.end()) return kTabOrder.front();
  const auto count = static_cast<std::ptrdiff_t>(kTabOrder.size());
  const std::ptrdiff_t step = direction == TabDirection::kForward ? 1 : count - 1;
  return kTabOrder[static_cast<size_t>((found - kTabOrder.begin() + step) % count)];
}

KeyCommand CommandForKey(Key key, bool shiftDown) {
  switch (key) {
    case Key::kTab: return shiftDown ? KeyCommand::kFocusPrevious : KeyCommand::kFocusNext;
    case Key::kEscape: return KeyCommand::kClose;
    // No default button and no help: Enter and F1 must not reach a control either, where an
    // edit box would beep at the stray character.
    case Key::kEnter:
    case Key::kF1: return KeyCommand::kSwallow;
    case Key::kOther: break;
  }
  return KeyCommand::kPass;
}

}  // namespace shortlink
