#include "support/window_driver.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <vector>

namespace shortlink::test {
namespace {

struct FindWindowQuery {
  DWORD processId;
  std::wstring_view titlePart;
  HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM lParam) {
  auto* query = reinterpret_cast<FindWindowQuery*>(lParam);
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  if (processId != query->processId || !IsWindowVisible(window)) return TRUE;
  if (WindowText(window).find(query->titlePart) == std::wstring::npos) return TRUE;
  query->found = window;
  return FALSE;
}

void Send(std::vector<INPUT> inputs) {
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

INPUT KeyInput(WORD virtualKey, WORD scanCode, DWORD flags) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = virtualKey;
  input.ki.wScan = scanCode;
  input.ki.dwFlags = flags;
  return input;
}

// ---- PNG, written with stored (uncompressed) deflate blocks: no compression library needed ----

std::uint32_t Crc32(const std::string& bytes, size_t from) {
  std::uint32_t crc = 0xFFFFFFFFu;
  for (size_t i = from; i < bytes.size(); ++i) {
    crc ^= static_cast<unsigned char>(bytes[i]);
    for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return ~crc;
}

void AppendBigEndian(std::string* out, std::uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out->push_back(static_cast<char>(value >> shift));
}

void AppendChunk(std::string* out, const char* type, const std::string& data) {
  AppendBigEndian(out, static_cast<std::uint32_t>(data.size()));
  const size_t start = out->size();
  out->append(type, 4);
  out->append(data);
  AppendBigEndian(out, Crc32(*out, start));
}

std::string ZlibStored(const std::string& raw) {
  std::string out = "\x78\x01";
  std::uint32_t a = 1, b = 0;
  for (unsigned char c : raw) {
    a = (a + c) % 65521;
    b = (b + a) % 65521;
  }
  size_t at = 0;
  do {
    const size_t length = std::min<size_t>(raw.size() - at, 65535);
    out.push_back(at + length == raw.size() ? 1 : 0);
    out.push_back(static_cast<char>(length & 0xFF));
    out.push_back(static_cast<char>(length >> 8));
    out.push_back(static_cast<char>(~length & 0xFF));
    out.push_back(static_cast<char>((~length >> 8) & 0xFF));
    out.append(raw, at, length);
    at += length;
  } while (at < raw.size());
  AppendBigEndian(&out, (b << 16) | a);
  return out;
}

}  // namespace

std::wstring ProgramPath() {
  const wchar_t* path = _wgetenv(L"SHORTLINK_EXE");
  if (path == nullptr) return {};
  std::wstring windowsPath = path;
  if (windowsPath.starts_with(L"/")) {  // Wine maps the Unix root to drive Z:
    std::replace(windowsPath.begin(), windowsPath.end(), L'/', L'\\');
    windowsPath.insert(0, L"Z:");
  }
  return windowsPath;
}

std::unique_ptr<RunningProgram> RunningProgram::Start(const std::wstring& path,
                                                      std::wstring_view titlePart,
                                                      std::chrono::milliseconds timeout) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  std::wstring commandLine = L"\"" + path + L"\"";
  if (!CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      nullptr, &startup, &info)) {
    return nullptr;
  }
  std::unique_ptr<RunningProgram> program(new RunningProgram());
  program->process_ = info.hProcess;
  CloseHandle(info.hThread);
  FindWindowQuery query{info.dwProcessId, titlePart, nullptr};
  if (!WaitUntil(
          [&] {
            EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&query));
            return query.found != nullptr;
          },
          timeout)) {
    return nullptr;
  }
  program->window_ = query.found;
  program->threadId_ = GetWindowThreadProcessId(query.found, nullptr);
  return program;
}

RunningProgram::~RunningProgram() {
  if (IsWindow(window_)) PostMessageW(window_, WM_CLOSE, 0, 0);
  if (!WaitForExit()) TerminateProcess(process_, 1);
  CloseHandle(process_);
}

HWND RunningProgram::Control(ControlId id) const { return GetDlgItem(window_, ControlWindowId(id)); }

HWND RunningProgram::Focus() const {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  return GetGUIThreadInfo(threadId_, &info) ? info.hwndFocus : nullptr;
}

bool RunningProgram::WaitForExit(std::chrono::milliseconds timeout) const {
  return WaitForSingleObject(process_, static_cast<DWORD>(timeout.count())) == WAIT_OBJECT_0;
}

DWORD RunningProgram::ExitCode() const {
  DWORD code = STILL_ACTIVE;
  GetExitCodeProcess(process_, &code);
  return code;
}

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    // Serves this thread's own windows, if any, so that activating the program under test never
    // waits on a message to them.
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    if (condition()) return true;
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(10ms);
  }
}

void PressKey(WORD virtualKey, bool shift, bool control, bool alt) {
  std::vector<INPUT> inputs;
  const WORD modifiers[] = {static_cast<WORD>(shift ? VK_SHIFT : 0),
                            static_cast<WORD>(control ? VK_CONTROL : 0),
                            static_cast<WORD>(alt ? VK_MENU : 0)};
  for (WORD modifier : modifiers) {
    if (modifier != 0) inputs.push_back(KeyInput(modifier, 0, 0));
  }
  const WORD scan = static_cast<WORD>(MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC));
  inputs.push_back(KeyInput(virtualKey, scan, 0));
  inputs.push_back(KeyInput(virtualKey, scan, KEYEVENTF_KEYUP));
  for (WORD modifier : modifiers) {
    if (modifier != 0) inputs.push_back(KeyInput(modifier, 0, KEYEVENTF_KEYUP));
  }
  Send(inputs);
}

void TypeText(std::wstring_view text) {
  std::vector<INPUT> inputs;
  for (wchar_t c : text) {
    inputs.push_back(KeyInput(0, c, KEYEVENTF_UNICODE));
    inputs.push_back(KeyInput(0, c, KEYEVENTF_UNICODE | KEYEVENTF_KEYUP));
  }
  Send(inputs);
}

void ClickAt(POINT screen) {
  const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dx = MulDiv(screen.x, 65535, width - 1);
  input.mi.dy = MulDiv(screen.y, 65535, height - 1);
  input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  INPUT down = input, up = input;
  down.mi.dwFlags = MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_ABSOLUTE;
  up.mi.dwFlags = MOUSEEVENTF_LEFTUP | MOUSEEVENTF_ABSOLUTE;
  Send({input, down, up});
}

void ClickControl(HWND control) {
  RECT rect;
  GetWindowRect(control, &rect);
  ClickAt({(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2});
}

std::wstring WindowText(HWND window) {
  wchar_t text[4096] = L"";
  DWORD_PTR length = 0;
  // WM_GETTEXT crosses processes; GetWindowText would only read the cached caption.
  if (!SendMessageTimeoutW(window, WM_GETTEXT, std::size(text), reinterpret_cast<LPARAM>(text),
                           SMTO_ABORTIFHUNG, 5000, &length)) {
    return L"<no answer>";
  }
  return std::wstring(text, length);
}

LRESULT Ask(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, 5000, &result)) {
    return 0;
  }
  return static_cast<LRESULT>(result);
}

RECT RectInParent(HWND window) {
  RECT rect;
  GetWindowRect(window, &rect);
  if (const HWND parent = GetParent(window)) {
    MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&rect), 2);
  }
  return rect;
}

std::wstring ClassName(HWND window) {
  wchar_t name[256] = L"";
  const int length = GetClassNameW(window, name, static_cast<int>(std::size(name)));
  return std::wstring(name, static_cast<size_t>(std::max(length, 0)));
}

ClipboardHold::ClipboardHold()
    : owner_(CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr,
                             nullptr)),
      held_(owner_ != nullptr && OpenClipboard(owner_) != FALSE) {}

ClipboardHold::~ClipboardHold() {
  if (held_) CloseClipboard();
  if (owner_ != nullptr) DestroyWindow(owner_);
}

std::optional<std::string> ClipboardBlock(UINT format) {
  std::optional<ClipboardHold> hold;
  // The program under test may have it open for a moment.
  if (!WaitUntil([&] { return hold.emplace().Held(); })) return std::nullopt;
  const HANDLE data = GetClipboardData(format);
  if (data == nullptr) return std::nullopt;
  const auto* bytes = static_cast<const char*>(GlobalLock(data));
  if (bytes == nullptr) return std::nullopt;
  const size_t size = GlobalSize(data);
  const size_t unit = format == CF_UNICODETEXT ? sizeof(wchar_t) : 1;
  size_t length = 0;
  while (length + unit <= size && std::memcmp(bytes + length, "\0\0", unit) != 0) length += unit;
  std::string block(bytes, std::min(size, length + unit));
  GlobalUnlock(data);
  return block;
}

std::optional<std::wstring> ClipboardUnicodeText() {
  const std::optional<std::string> block = ClipboardBlock(CF_UNICODETEXT);
  if (!block) return std::nullopt;
  std::wstring text(block->size() / sizeof(wchar_t), L'\0');
  std::memcpy(text.data(), block->data(), text.size() * sizeof(wchar_t));
  return text.substr(0, text.find(L'\0'));
}

bool PutOnClipboard(std::wstring_view text) {
  std::optional<ClipboardHold> hold;
  if (!WaitUntil([&] { return hold.emplace().Held(); })) return false;
  EmptyClipboard();
  const HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
  if (block == nullptr) return false;
  auto* chars = static_cast<wchar_t*>(GlobalLock(block));
  std::copy(text.begin(), text.end(), chars);
  chars[text.size()] = L'\0';
  GlobalUnlock(block);
  if (SetClipboardData(CF_UNICODETEXT, block) != nullptr) return true;  // the clipboard's now
  GlobalFree(block);
  return false;
}

ScreenPicture::ScreenPicture(const RECT& area) {
  const HDC screen = GetDC(nullptr);
  CopyFrom(screen, {area.left, area.top}, {area.right - area.left, area.bottom - area.top});
  ReleaseDC(nullptr, screen);
}

ScreenPicture ScreenPicture::Drawn(SIZE size, const std::function<void(HDC)>& draw) {
  const HDC screen = GetDC(nullptr);
  const HDC memory = CreateCompatibleDC(screen);
  const HBITMAP bitmap = CreateCompatibleBitmap(screen, size.cx, size.cy);
  ScreenPicture picture;
  if (bitmap != nullptr) {
    const HGDIOBJ old = SelectObject(memory, bitmap);
    draw(memory);
    picture.CopyFrom(memory, {0, 0}, size);
    SelectObject(memory, old);
    DeleteObject(bitmap);
  }
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return picture;
}

void ScreenPicture::CopyFrom(HDC source, POINT from, SIZE size) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = size.cx;
  info.bmiHeader.biHeight = -size.cy;  // rows from the top
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  const HDC memory = CreateCompatibleDC(source);
  void* bits = nullptr;
  const HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (bitmap != nullptr) {
    const HGDIOBJ old = SelectObject(memory, bitmap);
    if (BitBlt(memory, 0, 0, size.cx, size.cy, source, from.x, from.y, SRCCOPY)) {
      GdiFlush();
      const auto* pixels = static_cast<const std::uint32_t*>(bits);
      pixels_.assign(pixels, pixels + static_cast<size_t>(size.cx) * size.cy);
      for (std::uint32_t& pixel : pixels_) pixel &= 0xFFFFFF;
      width_ = size.cx;
      height_ = size.cy;
    }
    SelectObject(memory, old);
    DeleteObject(bitmap);
  }
  DeleteDC(memory);
}

COLORREF ScreenPicture::Pixel(int x, int y) const {
  const std::uint32_t pixel = pixels_.at(static_cast<size_t>(y) * width_ + x);
  return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
}

int ScreenPicture::CountPixels(const RECT& area,
                               const std::function<bool(COLORREF)>& matches) const {
  int count = 0;
  for (int y = std::max<int>(area.top, 0); y < std::min<int>(area.bottom, height_); ++y) {
    for (int x = std::max<int>(area.left, 0); x < std::min<int>(area.right, width_); ++x) {
      if (matches(Pixel(x, y))) ++count;
    }
  }
  return count;
}

RECT ScreenPicture::InkBounds(const RECT& area, COLORREF background) const {
  RECT bounds{area.right, area.bottom, area.left, area.top};
  for (int y = std::max<int>(area.top, 0); y < std::min<int>(area.bottom, height_); ++y) {
    for (int x = std::max<int>(area.left, 0); x < std::min<int>(area.right, width_); ++x) {
      if (Pixel(x, y) == background) continue;
      bounds = {std::min<LONG>(bounds.left, x), std::min<LONG>(bounds.top, y),
                std::max<LONG>(bounds.right, x + 1), std::max<LONG>(bounds.bottom, y + 1)};
    }
  }
  return bounds.left < bounds.right ? bounds : RECT{};
}

bool ScreenPicture::SavePng(const std::wstring& path) const {
  if (Empty()) return false;
  std::string raw;
  raw.reserve(static_cast<size_t>(width_ * 3 + 1) * height_);
  for (int y = 0; y < height_; ++y) {
    raw.push_back(0);  // no filter
    for (int x = 0; x < width_; ++x) {
      const COLORREF colour = Pixel(x, y);
      raw += {static_cast<char>(GetRValue(colour)), static_cast<char>(GetGValue(colour)),
              static_cast<char>(GetBValue(colour))};
    }
  }
  std::string header;
  AppendBigEndian(&header, static_cast<std::uint32_t>(width_));
  AppendBigEndian(&header, static_cast<std::uint32_t>(height_));
  header += std::string("\x08\x02\x00\x00\x00", 5);  // 8 bits a sample, RGB
  std::string png = "\x89PNG\r\n\x1A\n";
  AppendChunk(&png, "IHDR", header);
  AppendChunk(&png, "IDAT", ZlibStored(raw));
  AppendChunk(&png, "IEND", "");
  FILE* file = _wfopen(path.c_str(), L"wb");
  if (file == nullptr) return false;
  const bool written = std::fwrite(png.data(), 1, png.size(), file) == png.size();
  return std::fclose(file) == 0 && written;
}

}  // namespace shortlink::test
