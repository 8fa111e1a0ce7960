// Putting a text on the system clipboard for other programs to paste.
//
//   CopyTextToClipboard("\xD6\xD0")   // 中: CF_TEXT D6 D0 00 and CF_UNICODETEXT U+4E2D
#pragma once

#include "text/text.h"

namespace shortlink {

// Replaces the clipboard's content with the text, as its GBK bytes (CF_TEXT) and as UTF-16
// (CF_UNICODETEXT) in one transaction, so a paste gives the same characters on any system code
// page. Returns true when done; false when the clipboard could not be opened (it keeps its former
// content) or no memory could be had for the blocks (it is left empty). The empty text leaves an
// empty text on the clipboard.
bool CopyTextToClipboard(const Text& text);

}  // namespace shortlink
