#include "app/control_text_win.h"

#include <string>

#include "text/gbk.h"

namespace shortlink {

Text GetControlText(HWND control) {
  const int length = GetWindowTextLengthW(control);
  if (length <= 0) return {};
  std::wstring wide(static_cast<size_t>(length) + 1, L'\0');
  const int copied = GetWindowTextW(control, wide.data(), length + 1);
  wide.resize(static_cast<size_t>(copied > 0 ? copied : 0));
  return WideToGbk(wide);
}

void SetControlText(HWND control, const Text& text) {
  SetWindowTextW(control, GbkToWide(text).c_str());
}

}  // namespace shortlink
