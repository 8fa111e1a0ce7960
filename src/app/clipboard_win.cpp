#include "app/clipboard.h"

#include <windows.h>

#include <cstring>
#include <string>

#include "text/gbk.h"

namespace shortlink {
namespace {

// The clipboard while this program has it open; closed on every path out.
class OpenedClipboard {
 public:
  OpenedClipboard() : open_(OpenClipboard(nullptr) != FALSE) {}
  ~OpenedClipboard() {
    if (open_) CloseClipboard();
  }
  OpenedClipboard(const OpenedClipboard&) = delete;
  OpenedClipboard& operator=(const OpenedClipboard&) = delete;
  [[nodiscard]] bool IsOpen() const { return open_; }

 private:
  bool open_;
};

// A zero-filled movable memory block holding a copy of `size` bytes from `data`, freed unless it
// was handed to the clipboard.
class ClipboardBlock {
 public:
  ClipboardBlock(const void* data, size_t size)
      : block_(GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size)) {
    if (block_ == nullptr) return;
    void* bytes = GlobalLock(block_);
    if (bytes == nullptr) {
      GlobalFree(block_);
      block_ = nullptr;
      return;
    }
    std::memcpy(bytes, data, size);
    GlobalUnlock(block_);
  }
  ~ClipboardBlock() {
    if (block_ != nullptr) GlobalFree(block_);
  }
  ClipboardBlock(const ClipboardBlock&) = delete;
  ClipboardBlock& operator=(const ClipboardBlock&) = delete;

  [[nodiscard]] bool IsValid() const { return block_ != nullptr; }

  // Puts the block on the open clipboard in `format`.
  void HandTo(UINT format) {
    // On success SetClipboardData owns the block now and frees it itself; on failure it stays ours.
    if (SetClipboardData(format, block_) != nullptr) block_ = nullptr;
  }

 private:
  HGLOBAL block_;
};

}  // namespace

bool CopyTextToClipboard(const Text& text) {
  OpenedClipboard clipboard;
  if (!clipboard.IsOpen()) return false;
  EmptyClipboard();
  // Both blocks carry their terminating zero; a Text holds no zero of its own.
  const std::wstring wide = GbkToWide(text);
  ClipboardBlock bytes(text.c_str(), text.size() + 1);
  ClipboardBlock utf16(wide.c_str(), (wide.size() + 1) * sizeof(wchar_t));
  if (!bytes.IsValid() || !utf16.IsValid()) return false;
  // CF_TEXT alone would be read in the reader's ANSI code page, which turns GBK into mojibake on
  // any system not set to code page 936; CF_UNICODETEXT carries the real characters.
  bytes.HandTo(CF_TEXT);
  utf16.HandTo(CF_UNICODETEXT);
  return true;
}

}  // namespace shortlink
