#include "app/main_window.h"

#include <commctrl.h>

#include "app/copy_commands.h"
#include "app/generate.h"

namespace shortlink {
namespace {

constexpr wchar_t kClassName[] = L"ShortLinkMainWindow";
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr DWORD kExStyle = WS_EX_APPWINDOW;

constexpr size_t IndexOf(ControlId id) { return static_cast<size_t>(id); }

HFONT GuiFont() { return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)); }

HICON LoadProgramIcon(HINSTANCE instance, int sizeMetric) {
  const int size = GetSystemMetrics(sizeMetric);
  return static_cast<HICON>(
      LoadImageW(instance, L"DEFAULT_ICON", IMAGE_ICON, size, size, LR_SHARED));
}

struct ControlClass {
  const wchar_t* className;
  DWORD style;
  DWORD exStyle;
};

ControlClass ClassFor(ControlKind kind) {
  constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
  // SS_CENTERIMAGE draws a label's text as one vertically centred line; SS_NOPREFIX shows an '&'
  // as it is instead of underlining the next letter.
  constexpr DWORD kLabel = kChild | SS_CENTERIMAGE | SS_NOPREFIX;
  switch (kind) {
    case ControlKind::kCaption: return {WC_STATICW, kLabel | SS_LEFTNOWORDWRAP, 0};
    case ControlKind::kStatus: return {WC_STATICW, kLabel | SS_CENTER | WS_BORDER, 0};
    case ControlKind::kEdit:
      return {WC_EDITW, kChild | WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE};
    case ControlKind::kButton:
      return {WC_BUTTONW, kChild | WS_TABSTOP | BS_PUSHBUTTON | BS_CENTER | BS_VCENTER, 0};
  }
  return {WC_STATICW, kLabel, 0};
}

Key KeyFromVirtualKey(WPARAM virtualKey) {
  switch (virtualKey) {
    case VK_TAB: return Key::kTab;
    case VK_ESCAPE: return Key::kEscape;
    case VK_RETURN: return Key::kEnter;
    case VK_F1: return Key::kF1;
    default: return Key::kOther;
  }
}

bool RegisterWindowClass(HINSTANCE instance, WNDPROC procedure) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = instance;
  windowClass.hIcon = LoadProgramIcon(instance, SM_CXICON);
  windowClass.hIconSm = LoadProgramIcon(instance, SM_CXSMICON);
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  windowClass.lpszClassName = kClassName;
  return RegisterClassExW(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

}  // namespace

std::unique_ptr<MainWindow> MainWindow::Create(HINSTANCE instance) {
  // Makes sure the version 6 controls the manifest asks for are loaded before the first is made.
  const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  if (!RegisterWindowClass(instance, &MainWindow::Procedure)) return nullptr;

  std::unique_ptr<MainWindow> window(new MainWindow());
  // The proposed size is replaced below: only the outer size is fixed, whatever the frame's
  // metrics are on the system at hand.
  if (CreateWindowExW(kExStyle, kClassName, kWindowTitle, kStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                      kWindowWidth, kWindowHeight, nullptr, nullptr, instance,
                      window.get()) == nullptr) {
    return nullptr;
  }
  const int left = (GetSystemMetrics(SM_CXSCREEN) - kWindowWidth) / 2;
  const int top = (GetSystemMetrics(SM_CYSCREEN) - kWindowHeight) / 2;
  SetWindowPos(window->window_, nullptr, left, top, kWindowWidth, kWindowHeight,
               SWP_NOZORDER | SWP_NOACTIVATE);
  return window;
}

MainWindow::~MainWindow() {
  if (window_ != nullptr) DestroyWindow(window_);
}

void MainWindow::Show(int showCommand) {
  ShowWindow(window_, showCommand);
  UpdateWindow(window_);
  SetForegroundWindow(window_);
  FocusControl(kTabOrder.front());
}

HWND MainWindow::Control(ControlId id) const {
  return window_ != nullptr ? controls_[IndexOf(id)] : nullptr;
}

bool MainWindow::HandleKey(const MSG& message) {
  if (message.message != WM_KEYDOWN || window_ == nullptr) return false;
  if (message.hwnd != window_ && !IsChild(window_, message.hwnd)) return false;
  switch (CommandForKey(KeyFromVirtualKey(message.wParam), GetKeyState(VK_SHIFT) < 0)) {
    case KeyCommand::kPass: return false;
    case KeyCommand::kFocusNext:
      FocusControl(NextTabStop(FocusedControl(), TabDirection::kForward));
      return true;
    case KeyCommand::kFocusPrevious:
      FocusControl(NextTabStop(FocusedControl(), TabDirection::kBackward));
      return true;
    case KeyCommand::kClose: DestroyWindow(window_); return true;
    case KeyCommand::kSwallow: return true;
  }
  return false;
}

LRESULT CALLBACK MainWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<MainWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->window_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self == nullptr) return DefWindowProcW(window, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    // The object may outlive its window (Esc, Alt+F4): it must not reach a dead handle.
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    self->window_ = nullptr;
    self->lastFocus_ = nullptr;
    self->controls_.fill(nullptr);
    return DefWindowProcW(window, message, wParam, lParam);
  }
  return self->HandleMessage(message, wParam, lParam);
}

LRESULT MainWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      SendMessageW(window_, WM_SETICON, ICON_BIG,
                   reinterpret_cast<LPARAM>(LoadProgramIcon(GetModuleHandleW(nullptr), SM_CXICON)));
      SendMessageW(window_, WM_SETICON, ICON_SMALL,
                   reinterpret_cast<LPARAM>(LoadProgramIcon(GetModuleHandleW(nullptr), SM_CXSMICON)));
      CreateControls();
      return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(GuiFont());
    case WM_COMMAND: OnCommand(wParam); return 0;
    case WM_CTLCOLORSTATIC: {
      const auto dc = reinterpret_cast<HDC>(wParam);
      const bool status = reinterpret_cast<HWND>(lParam) == Control(ControlId::标签5);
      SetTextColor(dc, status ? RGB(255, 0, 0) : RGB(0, 0, 0));
      SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
      return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    }
    case WM_CTLCOLOREDIT: {
      const auto dc = reinterpret_cast<HDC>(wParam);
      SetTextColor(dc, RGB(0, 0, 0));
      SetBkColor(dc, RGB(255, 255, 255));
      return reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
    }
    case WM_ACTIVATE: OnActivate(wParam); return 0;
    case WM_SETFOCUS:
      if (lastFocus_ != nullptr) SetFocus(lastFocus_);
      return 0;
    case WM_DESTROY: PostQuitMessage(0); return 0;
    default: return DefWindowProcW(window_, message, wParam, lParam);
  }
}

void MainWindow::CreateControls() {
  const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window_, GWLP_HINSTANCE));
  for (const ControlSpec& spec : kControls) {
    const ControlClass kind = ClassFor(spec.kind);
    const HWND control = CreateWindowExW(
        kind.exStyle, kind.className, spec.caption, kind.style, spec.left, spec.top, spec.width,
        spec.height, window_,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(ControlWindowId(spec.id))),
        instance, nullptr);
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(GuiFont()), FALSE);
    // An edit box's own limit is 32767 characters; the boxes have none but memory.
    if (spec.kind == ControlKind::kEdit) SendMessageW(control, EM_SETLIMITTEXT, 0, 0);
    controls_[IndexOf(spec.id)] = control;
  }
  lastFocus_ = Control(kTabOrder.front());
}

void MainWindow::OnCommand(WPARAM wParam) {
  if (HIWORD(wParam) != BN_CLICKED) return;
  // Each command runs to its end before the next message is taken.
  switch (static_cast<ControlId>(LOWORD(wParam) - ControlWindowId(ControlId::标签1))) {
    case ControlId::按钮1: OnGenerateClicked(*this); break;
    case ControlId::按钮2: OnCopySinaClicked(*this); break;
    case ControlId::按钮3: OnCopyTencentClicked(*this); break;
    case ControlId::按钮4: OnCopyBaiduClicked(*this); break;
    default: break;
  }
}

void MainWindow::OnActivate(WPARAM wParam) {
  if (LOWORD(wParam) == WA_INACTIVE) {
    const HWND focus = GetFocus();
    if (focus != nullptr && IsChild(window_, focus)) lastFocus_ = focus;
  } else if (HIWORD(wParam) == 0) {  // not while minimised
    SetFocus(lastFocus_ != nullptr ? lastFocus_ : Control(kTabOrder.front()));
  }
}

void MainWindow::FocusControl(ControlId id) {
  const HWND control = Control(id);
  SetFocus(control);
  lastFocus_ = control;
  // As in a dialog, a box reached with the keyboard has its text selected, ready to be replaced.
  if (SpecOf(id).kind == ControlKind::kEdit) SendMessageW(control, EM_SETSEL, 0, -1);
}

ControlId MainWindow::FocusedControl() const {
  const HWND focus = GetFocus();
  for (const ControlSpec& spec : kControls) {
    if (focus != nullptr && Control(spec.id) == focus) return spec.id;
  }
  return ControlId::标签1;
}

}  // namespace shortlink
