// The main window's controls as data: their names, kinds, places and captions, the tab order, and
// what each key does before the focused control sees it. Kept free of the window system so that
// the tab order and the key table can be checked on any machine.
//
//   NextTabStop(ControlId::编辑框2, TabDirection::kForward) == ControlId::编辑框3
#pragma once

#include <array>
#include <cstddef>

namespace shortlink {

// The thirteen controls, by the names the rest of the tool uses for them.
enum class ControlId {
  标签1, 编辑框1, 按钮1,
  标签2, 编辑框2, 按钮2,
  标签3, 编辑框3, 按钮3,
  标签4, 编辑框4, 按钮4,
  标签5,
};

enum class ControlKind { kCaption, kStatus, kEdit, kButton };

struct ControlSpec {
  ControlId id;
  ControlKind kind;
  int left, top, width, height;  // pixels, relative to the client area's top-left corner
  const wchar_t* caption;        // text at start; empty for the boxes and the status line
};

inline constexpr int kWindowWidth = 312;   // outer size, title bar and frame included
inline constexpr int kWindowHeight = 187;
inline constexpr const wchar_t* kWindowTitle = L"短网址一键生成    By：Taviro";

// In creation order, which is also the z-order.
inline constexpr std::array<ControlSpec, 13> kControls = {{
    {ControlId::标签1, ControlKind::kCaption, 8, 10, 40, 16, L"原链接："},
    {ControlId::编辑框1, ControlKind::kEdit, 61, 8, 160, 22, L""},
    {ControlId::按钮1, ControlKind::kButton, 232, 9, 56, 22, L"生成"},
    {ControlId::标签2, ControlKind::kCaption, 8, 42, 40, 16, L"新  浪："},
    {ControlId::编辑框2, ControlKind::kEdit, 61, 41, 160, 22, L""},
    {ControlId::按钮2, ControlKind::kButton, 232, 40, 56, 22, L"复制"},
    {ControlId::标签3, ControlKind::kCaption, 8, 74, 40, 16, L"腾  讯："},
    {ControlId::编辑框3, ControlKind::kEdit, 61, 74, 160, 22, L""},
    {ControlId::按钮3, ControlKind::kButton, 232, 72, 56, 22, L"复制"},
    {ControlId::标签4, ControlKind::kCaption, 8, 106, 40, 16, L"百  度："},
    {ControlId::编辑框4, ControlKind::kEdit, 61, 106, 160, 22, L""},
    {ControlId::按钮4, ControlKind::kButton, 232, 104, 56, 22, L"复制"},
    {ControlId::标签5, ControlKind::kStatus, 0, 137, 306, 24, L""},
}};

// Returns the row of kControls that describes the control.
[[nodiscard]] constexpr const ControlSpec& SpecOf(ControlId id) {
  return kControls[static_cast<size_t>(id)];
}

constexpr bool ControlsAreInIdOrder() {
  for (size_t i = 0; i < kControls.size(); ++i) {
    if (kControls[i].id != static_cast<ControlId>(i)) return false;
  }
  return true;
}
static_assert(ControlsAreInIdOrder(), "SpecOf indexes kControls by ControlId");

// Returns the child-window id of a control (what GetDlgItem finds it by).
[[nodiscard]] constexpr int ControlWindowId(ControlId id) { return 100 + static_cast<int>(id); }

// Only edit boxes and buttons take the focus. 编辑框3 follows 编辑框2 directly, so the Copy
// buttons of the first two result rows come after both boxes.
inline constexpr std::array<ControlId, 8> kTabOrder = {
    ControlId::编辑框1, ControlId::按钮1, ControlId::编辑框2, ControlId::编辑框3,
    ControlId::按钮2,   ControlId::按钮3, ControlId::编辑框4, ControlId::按钮4,
};

enum class TabDirection { kForward, kBackward };

// Returns the control after (or before) `from` in the tab order, wrapping at either end; the first
// tab stop when `from` takes no focus.
[[nodiscard]] ControlId NextTabStop(ControlId from, TabDirection direction);

// The keys the window handles itself; every other key is kOther.
enum class Key { kTab, kEscape, kEnter, kF1, kOther };

enum class KeyCommand {
  kPass,           // the focused control gets the key unchanged
  kFocusNext,
  kFocusPrevious,
  kClose,          // close the window and so end the program
  kSwallow,        // nobody sees the key
};

// Returns what a key press does, before the focused control sees it.
[[nodiscard]] KeyCommand CommandForKey(Key key, bool shiftDown);

}  // namespace shortlink
