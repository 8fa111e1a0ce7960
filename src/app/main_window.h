// The program's one window: thirteen controls at fixed places in a fixed-size frame, the keyboard
// table applied before the focused control sees a key, and the clicks routed to the commands.
//
//   auto window = MainWindow::Create(instance);
//   GetControlText(window->Control(ControlId::编辑框1));
#pragma once

#include <windows.h>

#include <array>
#include <memory>

#include "app/layout.h"

namespace shortlink {

class MainWindow {
 public:
  // Returns the created window and its controls, sized to its outer size and centred on the
  // primary screen but not yet shown; null when the window system refused to create it.
  [[nodiscard]] static std::unique_ptr<MainWindow> Create(HINSTANCE instance);
  ~MainWindow();
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  // Shows the window, makes it the active window and puts the focus in the first tab stop.
  void Show(int showCommand);

  // Applies the keyboard table to a message taken from the queue. Returns true when the message
  // was a key the window dealt with, so it must not be dispatched.
  bool HandleKey(const MSG& message);

  // Returns the window's handle; null once the window was destroyed.
  [[nodiscard]] HWND Handle() const { return window_; }
  // Returns the handle of a control; null once the window was destroyed.
  [[nodiscard]] HWND Control(ControlId id) const;

 private:
  MainWindow() = default;
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void CreateControls();
  void OnCommand(WPARAM wParam);
  void OnActivate(WPARAM wParam);
  void FocusControl(ControlId id);
  // Returns the control that has the focus; 标签1 (no tab stop) when none of ours has it.
  [[nodiscard]] ControlId FocusedControl() const;

  HWND window_ = nullptr;
  std::array<HWND, kControls.size()> controls_{};
  HWND lastFocus_ = nullptr;  // the control to give the focus back to on re-activation
};

}  // namespace shortlink
