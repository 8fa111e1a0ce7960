// The tab order as the keys walk it, and what each key does before a control sees it.
#include "app/layout.h"

#include <gtest/gtest.h>

#include <vector>

namespace shortlink {
namespace {

std::vector<ControlId> Walk(ControlId start, TabDirection direction, int steps) {
  std::vector<ControlId> visited;
  for (ControlId at = start; steps-- > 0;) visited.push_back(at = NextTabStop(at, direction));
  return visited;
}

TEST(NextTabStop, WalksTheRowsWithBothBoxesBeforeTheirCopyButtonsAndWraps) {
  using enum ControlId;
  EXPECT_EQ(Walk(编辑框1, TabDirection::kForward, 8),
            (std::vector{按钮1, 编辑框2, 编辑框3, 按钮2, 按钮3, 编辑框4, 按钮4, 编辑框1}));
  EXPECT_EQ(Walk(编辑框1, TabDirection::kBackward, 8),
            (std::vector{按钮4, 编辑框4, 按钮3, 按钮2, 编辑框3, 编辑框2, 按钮1, 编辑框1}));
}

TEST(NextTabStop, StartsAtTheFirstBoxFromAControlThatTakesNoFocus) {
  for (ControlId label : {ControlId::标签1, ControlId::标签3, ControlId::标签5}) {
    EXPECT_EQ(NextTabStop(label, TabDirection::kForward), ControlId::编辑框1);
    EXPECT_EQ(NextTabStop(label, TabDirection::kBackward), ControlId::编辑框1);
  }
}

TEST(CommandForKey, HandlesTabEscEnterAndF1AndPassesEveryOtherKey) {
  const struct {
    Key key;
    bool shift;
    KeyCommand expected;
  } cases[] = {
      {Key::kTab, false, KeyCommand::kFocusNext},  {Key::kTab, true, KeyCommand::kFocusPrevious},
      {Key::kEscape, false, KeyCommand::kClose},   {Key::kEscape, true, KeyCommand::kClose},
      {Key::kEnter, false, KeyCommand::kSwallow},  {Key::kEnter, true, KeyCommand::kSwallow},
      {Key::kF1, false, KeyCommand::kSwallow},     {Key::kOther, false, KeyCommand::kPass},
      {Key::kOther, true, KeyCommand::kPass},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.key) * 2 + c.shift);
    EXPECT_EQ(CommandForKey(c.key, c.shift), c.expected);
  }
}

}  // namespace
}  // namespace shortlink
