// Start-up: COM for the thread, the window, the message loop until the window is gone.
#include <ole2.h>
#include <windows.h>

#include "app/main_window.h"

namespace {

// COM for the program's one thread, single-threaded apartment; uninitialised only if it started.
class OleSession {
 public:
  OleSession() : result_(OleInitialize(nullptr)) {}
  ~OleSession() {
    if (SUCCEEDED(result_)) OleUninitialize();
  }
  OleSession(const OleSession&) = delete;
  OleSession& operator=(const OleSession&) = delete;

 private:
  HRESULT result_;
};

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
  const OleSession ole;
  const auto window = shortlink::MainWindow::Create(instance);
  if (!window) return 1;
  window->Show(showCommand);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (window->HandleKey(message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return static_cast<int>(message.wParam);
}
