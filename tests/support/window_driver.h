// Drives a running Windows program the way a person would, from another process: starts it, finds
// its window, types and clicks with real input (SendInput), and reads back what the window shows
// and what is on the clipboard. Every wait is bounded.
//
//   auto program = RunningProgram::Start(ProgramPath(), L"By：Taviro");
//   ClickControl(program->Control(ControlId::按钮2));
//   WaitUntil([&] { return WindowText(program->Control(ControlId::标签5)) != L""; });
#pragma once

#include <windows.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/layout.h"

namespace shortlink::test {

using namespace std::chrono_literals;

// Returns the program under test: the environment variable SHORTLINK_EXE, a Unix path (turned into
// its Z: drive path) or a Windows path; empty when it is not set.
[[nodiscard]] std::wstring ProgramPath();

// A started program with its top-level window; ended when the object goes.
class RunningProgram {
 public:
  // Starts the program and waits (at most `timeout`) for its visible top-level window whose title
  // contains `titlePart`. Returns null when it did not start or showed no such window in time.
  [[nodiscard]] static std::unique_ptr<RunningProgram> Start(
      const std::wstring& path, std::wstring_view titlePart,
      std::chrono::milliseconds timeout = 30s);
  // Closes the window if it is still there, and ends the process if it has not gone within 5 s.
  ~RunningProgram();
  RunningProgram(const RunningProgram&) = delete;
  RunningProgram& operator=(const RunningProgram&) = delete;

  [[nodiscard]] HWND Window() const { return window_; }
  [[nodiscard]] DWORD ThreadId() const { return threadId_; }
  // Returns the control's window; null when the window has none with that id.
  [[nodiscard]] HWND Control(ControlId id) const;
  // Returns the window that has the keyboard focus in the program; null when none has.
  [[nodiscard]] HWND Focus() const;
  // Returns whether the process ended within `timeout`.
  [[nodiscard]] bool WaitForExit(std::chrono::milliseconds timeout = 5s) const;
  // Returns the exit code; STILL_ACTIVE while it runs.
  [[nodiscard]] DWORD ExitCode() const;

 private:
  RunningProgram() = default;
  HANDLE process_ = nullptr;
  DWORD threadId_ = 0;
  HWND window_ = nullptr;
};

// Polls `condition` every 10 ms, serving the calling thread's window messages in between; returns
// whether it held within `timeout`.
[[nodiscard]] bool WaitUntil(const std::function<bool()>& condition,
                             std::chrono::milliseconds timeout = 5s);

// ---- Input: real keyboard and mouse events, to whichever window is active --------------------

// Presses and releases a key, with Shift, Ctrl or Alt held when asked.
void PressKey(WORD virtualKey, bool shift = false, bool control = false, bool alt = false);
// Types the characters as Unicode key events (any character, independent of the keyboard layout).
void TypeText(std::wstring_view text);
// Moves the mouse to a screen point and clicks the left button.
void ClickAt(POINT screen);
// Clicks the centre of a window.
void ClickControl(HWND control);

// ---- Reading the window ----------------------------------------------------------------------

// Returns the window's text as WM_GETTEXT gives it (works across processes).
[[nodiscard]] std::wstring WindowText(HWND window);
// Returns the window's answer to a message without pointers (WM_GETFONT, EM_GETLIMITTEXT, ...);
// 0 when it gave none within 5 s.
[[nodiscard]] LRESULT Ask(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
// Returns the window's rectangle relative to its parent's client area (screen for top level).
[[nodiscard]] RECT RectInParent(HWND window);
// Returns the window's class name, e.g. L"Edit".
[[nodiscard]] std::wstring ClassName(HWND window);

// ---- The clipboard ---------------------------------------------------------------------------

// Returns the bytes of the clipboard's block in `format`, through the first zero byte (CF_TEXT)
// or zero character (CF_UNICODETEXT) or the whole block if it has none; nullopt when the format is
// not there or the clipboard could not be opened within 5 s.
[[nodiscard]] std::optional<std::string> ClipboardBlock(UINT format);
// Returns the clipboard's CF_UNICODETEXT up to its terminating zero; nullopt as above.
[[nodiscard]] std::optional<std::wstring> ClipboardUnicodeText();
// Replaces the clipboard's content with `text` as CF_UNICODETEXT; returns whether it was done.
bool PutOnClipboard(std::wstring_view text);

// Keeps the clipboard open, as a program that is using it does, until the object goes. Opens it
// for a window of its own: Wine lets a second opener without a window in while the first one
// without a window holds it.
class ClipboardHold {
 public:
  ClipboardHold();
  ~ClipboardHold();
  ClipboardHold(const ClipboardHold&) = delete;
  ClipboardHold& operator=(const ClipboardHold&) = delete;
  [[nodiscard]] bool Held() const { return held_; }

 private:
  HWND owner_;
  bool held_;
};

// ---- Pictures --------------------------------------------------------------------------------

// A picture, 32 bits a pixel: a copy of what the screen shows, or a drawing made for comparison.
class ScreenPicture {
 public:
  // Copies the screen rectangle; an empty picture when the screen could not be read.
  explicit ScreenPicture(const RECT& screenArea);
  // Returns a picture of the size with what `draw` draws on it.
  [[nodiscard]] static ScreenPicture Drawn(SIZE size, const std::function<void(HDC)>& draw);
  [[nodiscard]] bool Empty() const { return pixels_.empty(); }
  [[nodiscard]] int Width() const { return width_; }
  [[nodiscard]] int Height() const { return height_; }
  // Returns the colour at (x, y) from the top-left corner of the picture, as RGB().
  [[nodiscard]] COLORREF Pixel(int x, int y) const;
  // Returns how many pixels of the rectangle (picture coordinates) have a matching colour.
  [[nodiscard]] int CountPixels(const RECT& area,
                                const std::function<bool(COLORREF)>& matches) const;
  // Returns the smallest rectangle holding every pixel of `area` that differs from `background`;
  // an empty rectangle when there is none.
  [[nodiscard]] RECT InkBounds(const RECT& area, COLORREF background) const;
  // Writes the picture as a PNG file; returns whether it was written.
  bool SavePng(const std::wstring& path) const;

 private:
  ScreenPicture() = default;
  // Copies `size` pixels from `source` at `from` into a new picture.
  void CopyFrom(HDC source, POINT from, SIZE size);

  int width_ = 0;
  int height_ = 0;
  std::vector<std::uint32_t> pixels_;  // 0x00RRGGBB, rows from the top
};

}  // namespace shortlink::test
