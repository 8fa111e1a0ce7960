// Reading and writing the text of a window control as a GBK Text, whatever the system's ANSI code
// page is: the controls hold UTF-16, and the conversion is always code page 936.
//
//   SetControlText(window.Control(ControlId::编辑框2), "http://t.cn/abc");
#pragma once

#include <windows.h>

#include "text/text.h"

namespace shortlink {

// Returns what the control shows now (an edit box's text, the user's typing included, or a
// label's caption) as GBK; the empty Text for an empty control or a null handle. Characters that
// GBK lacks come back as '?'.
[[nodiscard]] Text GetControlText(HWND control);

// Replaces the whole text of an edit box, or a label's caption, and redraws it; the empty Text
// clears it.
void SetControlText(HWND control, const Text& text);

}  // namespace shortlink
