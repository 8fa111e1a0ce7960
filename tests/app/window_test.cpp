// The program as a person meets it, driven from outside its process with real keyboard and mouse
// input on a virtual display: the window's geometry, look and captions, its keys, and the Copy
// buttons' clipboard contents and status line. Leaves a screenshot, window.png, beside the test.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "support/window_driver.h"

namespace shortlink {
namespace {

using namespace test;
using enum ControlId;

constexpr wchar_t kTitle[] = L"短网址一键生成    By：Taviro";

std::string Narrow(std::wstring_view wide) { return std::string(wide.begin(), wide.end()); }

// For the failure messages.
const char* Name(ControlId id) {
  static const char* const kNames[] = {"标签1", "编辑框1", "按钮1", "标签2", "编辑框2",
                                       "按钮2", "标签3", "编辑框3", "按钮3", "标签4",
                                       "编辑框4", "按钮4", "标签5"};
  return kNames[static_cast<int>(id)];
}

// A locale pass that silently ran in the other code page would prove nothing about it.
TEST(Locale, WineRunsInTheCodePageOfTheLocaleUnderTest) {
  const char* locale = std::getenv("LC_ALL");
  const std::string name = locale != nullptr ? locale : "";
  std::printf("LC_ALL=%s, ANSI code page %u\n", name.c_str(), GetACP());
  if (name.starts_with("zh_CN")) {
    EXPECT_EQ(GetACP(), 936u);
  } else if (name.starts_with("C.")) {
    EXPECT_EQ(GetACP(), 1252u);
  }
}

TEST(Resources, IconVersionAndManifestAreInTheProgramFile) {
  const std::wstring path = ProgramPath();
  ASSERT_FALSE(path.empty()) << "SHORTLINK_EXE is not set";

  DWORD ignored = 0;
  std::vector<char> version(GetFileVersionInfoSizeW(path.c_str(), &ignored));
  ASSERT_FALSE(version.empty());
  ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, static_cast<DWORD>(version.size()),
                                  version.data()));
  const auto value = [&](const wchar_t* name) {
    wchar_t* text = nullptr;
    UINT length = 0;
    const std::wstring key = std::wstring(L"\\StringFileInfo\\080404B0\\") + name;
    return VerQueryValueW(version.data(), key.c_str(), reinterpret_cast<void**>(&text), &length)
               ? std::wstring(text)
               : std::wstring(L"<missing>");
  };
  EXPECT_EQ(value(L"ProductName"), L"短网址一键生成");
  EXPECT_EQ(Narrow(value(L"ProductVersion")), SHORTLINK_PROJECT_VERSION);
  EXPECT_EQ(Narrow(value(L"FileVersion")), SHORTLINK_PROJECT_VERSION);

  const HMODULE file = LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(file, nullptr);
  const auto resource = [&](const wchar_t* name, const wchar_t* type) {
    const HRSRC found = FindResourceW(file, name, type);
    if (found == nullptr) return std::string();
    const auto* bytes = static_cast<const char*>(LockResource(LoadResource(file, found)));
    return std::string(bytes, SizeofResource(file, found));
  };
  // The icon group: a 6-byte header, then 14 bytes an image with the width first.
  const std::string icons = resource(L"DEFAULT_ICON", RT_GROUP_ICON);
  ASSERT_GE(icons.size(), 6u);
  std::vector<int> sizes;
  for (size_t at = 6; at + 14 <= icons.size(); at += 14) sizes.push_back(icons[at]);
  EXPECT_EQ(sizes, (std::vector{16, 32, 48}));
  const std::string manifest = resource(MAKEINTRESOURCEW(1), RT_MANIFEST);
  EXPECT_NE(manifest.find("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""),
            std::string::npos)
      << manifest;
  FreeLibrary(file);
}

class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override { Start(); }

  void Start() {
    program_.reset();
    program_ = RunningProgram::Start(ProgramPath(), kTitle);
    ASSERT_NE(program_, nullptr) << "the program did not show its window (SHORTLINK_EXE set?)";
    ASSERT_TRUE(WaitUntil([&] { return program_->Focus() == Control(编辑框1); }))
        << "the focus did not start in 编辑框1";
  }

  HWND Control(ControlId id) const { return program_->Control(id); }
  std::wstring Text(ControlId id) const { return WindowText(Control(id)); }

  // Presses the key and waits for the focus to land on `expected`.
  bool FocusAfterKey(WORD key, bool shift, ControlId expected) {
    PressKey(key, shift);
    return WaitUntil([&] { return program_->Focus() == Control(expected); });
  }

  // Clicks the box and types into it; returns whether the box then shows exactly `text`.
  bool TypeInto(ControlId box, std::wstring_view text) {
    ClickControl(Control(box));
    if (!WaitUntil([&] { return program_->Focus() == Control(box); })) return false;
    TypeText(text);
    return WaitUntil([&] { return Text(box) == text; });
  }

  std::unique_ptr<RunningProgram> program_;
};

TEST_F(WindowTest, HasItsTitleFixedFrameAndExactOuterSizeCentredOnTheScreen) {
  const HWND window = program_->Window();
  EXPECT_EQ(WindowText(window), kTitle);
  RECT rect;
  GetWindowRect(window, &rect);
  EXPECT_EQ(rect.right - rect.left, 312);
  EXPECT_EQ(rect.bottom - rect.top, 187);
  // Integer division: the virtual screen is 1023 x 767, so the halves are not whole.
  EXPECT_EQ(rect.left, (GetSystemMetrics(SM_CXSCREEN) - 312) / 2);
  EXPECT_EQ(rect.top, (GetSystemMetrics(SM_CYSCREEN) - 187) / 2);

  const auto style = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE));
  const auto exStyle = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE));
  EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME),
            static_cast<DWORD>(WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX));
  EXPECT_TRUE(exStyle & WS_EX_APPWINDOW);
  EXPECT_FALSE(exStyle & (WS_EX_TOPMOST | WS_EX_TOOLWINDOW));
  EXPECT_EQ(GetWindow(window, GW_OWNER), nullptr);
}

TEST_F(WindowTest, ControlsHaveTheirPlacesKindsCaptionsStylesAndFont) {
  enum Kind { kCaption, kStatus, kEdit, kButton };
  const struct {
    ControlId id;
    Kind kind;
    RECT rect;  // in the client area: left, top, right, bottom
    const wchar_t* text;
  } expected[] = {
      {标签1, kCaption, {8, 10, 48, 26}, L"原链接："},
      {编辑框1, kEdit, {61, 8, 221, 30}, L""},
      {按钮1, kButton, {232, 9, 288, 31}, L"生成"},
      {标签2, kCaption, {8, 42, 48, 58}, L"新  浪："},
      {编辑框2, kEdit, {61, 41, 221, 63}, L""},
      {按钮2, kButton, {232, 40, 288, 62}, L"复制"},
      {标签3, kCaption, {8, 74, 48, 90}, L"腾  讯："},
      {编辑框3, kEdit, {61, 74, 221, 96}, L""},
      {按钮3, kButton, {232, 72, 288, 94}, L"复制"},
      {标签4, kCaption, {8, 106, 48, 122}, L"百  度："},
      {编辑框4, kEdit, {61, 106, 221, 128}, L""},
      {按钮4, kButton, {232, 104, 288, 126}, L"复制"},
      {标签5, kStatus, {0, 137, 306, 161}, L""},
  };
  int children = 0;
  for (HWND child = GetWindow(program_->Window(), GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    ++children;
  }
  EXPECT_EQ(children, 13);

  for (const auto& c : expected) {
    SCOPED_TRACE(Name(c.id));
    const HWND control = Control(c.id);
    ASSERT_NE(control, nullptr);
    const RECT rect = RectInParent(control);
    EXPECT_EQ(std::vector({rect.left, rect.top, rect.right, rect.bottom}),
              std::vector({c.rect.left, c.rect.top, c.rect.right, c.rect.bottom}));
    EXPECT_TRUE(WindowText(control) == c.text);
    EXPECT_TRUE(IsWindowVisible(control));
    EXPECT_TRUE(IsWindowEnabled(control));

    const auto style = static_cast<DWORD>(GetWindowLongPtrW(control, GWL_STYLE));
    const auto exStyle = static_cast<DWORD>(GetWindowLongPtrW(control, GWL_EXSTYLE));
    switch (c.kind) {
      case kCaption:
      case kStatus:
        EXPECT_EQ(ClassName(control), L"Static");
        EXPECT_EQ(style & SS_TYPEMASK,
                  static_cast<DWORD>(c.kind == kStatus ? SS_CENTER : SS_LEFTNOWORDWRAP));
        EXPECT_TRUE(style & SS_CENTERIMAGE);  // one line, centred vertically
        EXPECT_EQ((style & WS_BORDER) != 0, c.kind == kStatus);
        EXPECT_FALSE(style & WS_TABSTOP);
        break;
      case kEdit:
        EXPECT_EQ(ClassName(control), L"Edit");
        EXPECT_TRUE(style & ES_AUTOHSCROLL);
        EXPECT_EQ(style & (ES_MULTILINE | ES_PASSWORD | ES_UPPERCASE | ES_LOWERCASE | ES_READONLY |
                           ES_NOHIDESEL | ES_CENTER | ES_RIGHT),
                  0u);
        EXPECT_TRUE(exStyle & WS_EX_CLIENTEDGE);
        EXPECT_TRUE(style & WS_TABSTOP);
        EXPECT_GT(Ask(control, EM_GETLIMITTEXT), 0x7FFF);
        break;
      case kButton:
        EXPECT_EQ(ClassName(control), L"Button");
        EXPECT_EQ(style & BS_TYPEMASK, static_cast<DWORD>(BS_PUSHBUTTON));  // not a default button
        EXPECT_EQ(style & (BS_CENTER | BS_VCENTER), static_cast<DWORD>(BS_CENTER | BS_VCENTER));
        EXPECT_TRUE(style & WS_TABSTOP);
        break;
    }
  }
}

// The size of a text's ink drawn in a font, in a box of the given size and colour.
std::pair<int, int> InkSize(std::wstring_view text, int stockFont, SIZE box, UINT alignment,
                            COLORREF face) {
  const ScreenPicture drawn = ScreenPicture::Drawn(box, [&](HDC dc) {
    RECT rect{0, 0, box.cx, box.cy};
    const HBRUSH brush = CreateSolidBrush(face);
    FillRect(dc, &rect, brush);
    DeleteObject(brush);
    SelectObject(dc, GetStockObject(stockFont));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0, 0, 0));
    DrawTextW(dc, text.data(), static_cast<int>(text.size()), &rect,
              alignment | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  });
  const RECT ink = drawn.InkBounds({0, 0, box.cx, box.cy}, face);
  return {ink.right - ink.left, ink.bottom - ink.top};
}

std::pair<int, int> SizeOf(const RECT& rect) {
  return {rect.right - rect.left, rect.bottom - rect.top};
}

TEST_F(WindowTest, LooksAsDrawnRedStatusOnFaceColourAndKeepsAScreenshot) {
  const std::wstring typed = L"http://t.cn/短链";
  ASSERT_TRUE(TypeInto(编辑框2, typed));
  ClickControl(Control(按钮2));
  ASSERT_TRUE(WaitUntil([&] { return Text(标签5) == L"新浪短网址复制成功"; }));
  ASSERT_TRUE(WaitUntil([&] { return program_->Focus() == Control(按钮2); }));
  Sleep(300);  // the repaint after the click

  RECT window;
  GetWindowRect(program_->Window(), &window);
  const ScreenPicture picture(window);
  ASSERT_FALSE(picture.Empty()) << "the screen could not be read";
  EXPECT_TRUE(picture.SavePng(L"window.png"));

  // Where a control is, in picture coordinates.
  POINT origin{0, 0};
  ClientToScreen(program_->Window(), &origin);
  const auto area = [&](ControlId id, int inset) {
    RECT rect = RectInParent(Control(id));
    OffsetRect(&rect, origin.x - window.left, origin.y - window.top);
    InflateRect(&rect, -inset, -inset);
    return rect;
  };
  // Text is drawn anti-aliased over its background, so its colour shows in the hue of the ink
  // pixels: pure red text gives pure red where it covers a pixel whole and reds with green equal
  // to blue at its edges; black text gives greys.
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  const auto is = [](COLORREF colour) { return [colour](COLORREF c) { return c == colour; }; };
  const auto redInk = [](COLORREF c) {
    return GetGValue(c) == GetBValue(c) && GetRValue(c) >= GetGValue(c) + 40;
  };
  const auto greyInk = [](COLORREF c) {
    return GetRValue(c) == GetGValue(c) && GetGValue(c) == GetBValue(c) && GetRValue(c) < 160;
  };
  const auto darkInk = [](COLORREF c) { return GetRValue(c) < 110 && GetRValue(c) == GetBValue(c); };
  const auto tinted = [](COLORREF c) {
    return GetRValue(c) != GetGValue(c) || GetGValue(c) != GetBValue(c);
  };
  const RECT status = area(标签5, 1), caption = area(标签2, 0), box = area(编辑框2, 2);

  EXPECT_GT(picture.CountPixels(status, redInk), 20) << "the status text is not red";
  EXPECT_GT(picture.CountPixels(status, is(RGB(255, 0, 0))), 0) << "the status text is not pure red";
  EXPECT_EQ(picture.CountPixels(status, [](COLORREF c) { return GetGValue(c) != GetBValue(c); }), 0);
  EXPECT_GT(picture.CountPixels(status, is(face)), picture.CountPixels(status, redInk));
  EXPECT_EQ(picture.CountPixels(caption, tinted), 0) << "the caption text is not black";
  EXPECT_GT(picture.CountPixels(caption, greyInk), 10);
  EXPECT_GT(picture.CountPixels(caption, darkInk), 0);
  EXPECT_GT(picture.CountPixels(caption, is(face)), picture.CountPixels(caption, greyInk));
  EXPECT_EQ(picture.CountPixels(box, tinted), 0) << "the box text is not black";
  EXPECT_GT(picture.CountPixels(box, darkInk), 0);
  EXPECT_GT(picture.CountPixels(box, is(RGB(255, 255, 255))), picture.CountPixels(box, greyInk));
  // The thin border: the label's outermost ring is drawn, not face colour.
  const RECT outer = area(标签5, 0);
  const RECT topEdge{outer.left + 2, outer.top, outer.right - 2, outer.top + 1};
  EXPECT_EQ(picture.CountPixels(topEdge, is(face)), 0);
  const POINT client{origin.x - window.left + 4, origin.y - window.top + 2};  // above 标签1
  EXPECT_EQ(picture.Pixel(client.x, client.y), face);

  // The program's icon in the title bar: the blue of its tile.
  const RECT titleStart{0, 0, 30, origin.y - window.top};
  EXPECT_GT(picture.CountPixels(titleStart, is(RGB(0x1E, 0x6F, 0xD9))), 10) << "no icon";

  // The font: each caption's ink has the size the same text has in DEFAULT_GUI_FONT (the system
  // font's differs). The focused button is left out, since its focus frame is ink as well.
  ASSERT_NE(InkSize(L"原链接：", DEFAULT_GUI_FONT, {40, 16}, DT_LEFT, face),
            InkSize(L"原链接：", SYSTEM_FONT, {40, 16}, DT_LEFT, face));
  const struct {
    ControlId id;
    int inset;  // border to leave out
    UINT alignment;
  } captions[] = {{标签1, 0, DT_LEFT},   {标签2, 0, DT_LEFT},   {标签3, 0, DT_LEFT},
                  {标签4, 0, DT_LEFT},   {标签5, 1, DT_CENTER}, {按钮1, 3, DT_CENTER},
                  {按钮3, 3, DT_CENTER}, {按钮4, 3, DT_CENTER}};
  for (const auto& c : captions) {
    SCOPED_TRACE(Name(c.id));
    const RECT inner = area(c.id, c.inset);
    const auto [width, height] = SizeOf(inner);
    // A themed button has a face of its own; its corner inside the border shows it.
    const COLORREF background = picture.Pixel(inner.left, inner.top);
    EXPECT_EQ(SizeOf(picture.InkBounds(inner, background)),
              InkSize(Text(c.id), DEFAULT_GUI_FONT, {width, height}, c.alignment, background));
  }
  // In an edit box, where each character starts.
  const HWND box2 = Control(编辑框2);
  const HDC screen = GetDC(nullptr);
  SelectObject(screen, GetStockObject(DEFAULT_GUI_FONT));
  SIZE extent{};
  GetTextExtentPoint32W(screen, typed.c_str(), static_cast<int>(typed.size()) - 1, &extent);
  ReleaseDC(nullptr, screen);
  const auto x = [&](size_t index) {
    return static_cast<short>(LOWORD(Ask(box2, EM_POSFROMCHAR, index)));
  };
  EXPECT_EQ(x(typed.size() - 1) - x(0), extent.cx);
}

TEST_F(WindowTest, TabAndShiftTabWalkTheTabOrderAndWrap) {
  const ControlId forward[] = {按钮1, 编辑框2, 编辑框3, 按钮2, 按钮3, 编辑框4, 按钮4, 编辑框1};
  for (ControlId next : forward) {
    SCOPED_TRACE(Name(next));
    ASSERT_TRUE(FocusAfterKey(VK_TAB, false, next));
  }
  const ControlId backward[] = {按钮4, 编辑框4, 按钮3, 按钮2, 编辑框3, 编辑框2, 按钮1, 编辑框1};
  for (ControlId next : backward) {
    SCOPED_TRACE(Name(next));
    ASSERT_TRUE(FocusAfterKey(VK_TAB, true, next));
  }
}

TEST_F(WindowTest, EnterAndF1DoNothingInABoxOrOnAButton) {
  ASSERT_TRUE(TypeInto(编辑框1, L"abc"));
  // From each tab stop: Enter and F1, then Tab. The Tab landing on the next stop shows that the
  // keys before it were handled and moved no focus.
  const ControlId stops[] = {编辑框1, 按钮1, 编辑框2, 编辑框3, 按钮2, 按钮3, 编辑框4, 按钮4};
  for (size_t i = 0; i < std::size(stops); ++i) {
    SCOPED_TRACE(Name(stops[i]));
    ASSERT_EQ(program_->Focus(), Control(stops[i]));
    PressKey(VK_RETURN);
    PressKey(VK_F1);
    ASSERT_TRUE(FocusAfterKey(VK_TAB, false, stops[(i + 1) % std::size(stops)]));
  }
  EXPECT_EQ(Text(编辑框1), L"abc");
  EXPECT_EQ(Text(标签5), L"") << "Enter on a Copy button ran it";
  EXPECT_TRUE(IsWindow(program_->Window()));
  EXPECT_EQ(GetForegroundWindow(), program_->Window()) << "another window (help?) came up";
}

TEST_F(WindowTest, TypingReachesEveryBoxAndArrowKeysMoveTheCaret) {
  const struct {
    ControlId box;
    const wchar_t* text;
  } rows[] = {
      {编辑框1, L"https://example.com/一个很长的网址?q=中文&x=1"},
      {编辑框2, L"http://t.cn/A6"},
      {编辑框3, L"腾讯 x"},
      {编辑框4, L"https://dwz.cn/Ab"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(Name(row.box));
    EXPECT_TRUE(TypeInto(row.box, row.text)) << Narrow(Text(row.box));
  }
  // Left reaches the box unchanged: the caret moves back and typing goes in before the end.
  PressKey(VK_LEFT);
  PressKey(VK_LEFT);
  TypeText(L"_");
  EXPECT_TRUE(WaitUntil([&] { return Text(编辑框4) == L"https://dwz.cn/_Ab"; }));

  // An address far wider than the box is kept whole; the box scrolls instead.
  const std::wstring longAddress = L"https://example.com/" + std::wstring(300, L'a');
  ClickControl(Control(编辑框1));
  PressKey('A', false, true);  // Ctrl+A: replace what is there
  TypeText(longAddress);
  EXPECT_TRUE(WaitUntil([&] { return Text(编辑框1) == longAddress; }));
}

TEST_F(WindowTest, EscAltF4CloseBoxAndSystemMenuCloseEndTheProgramAtOnce) {
  const auto clickCloseBox = [&] {
    RECT rect;
    GetWindowRect(program_->Window(), &rect);
    ClickAt({rect.right - GetSystemMetrics(SM_CXFIXEDFRAME) - GetSystemMetrics(SM_CXSIZE) / 2 - 1,
             rect.top + GetSystemMetrics(SM_CYFIXEDFRAME) + GetSystemMetrics(SM_CYSIZE) / 2});
  };
  const struct {
    const char* name;
    ControlId focus;
    std::function<void()> close;
  } cases[] = {
      {"Esc while typing in 编辑框1", 编辑框1, [] { PressKey(VK_ESCAPE); }},
      {"Esc on a Copy button", 按钮3, [] { PressKey(VK_ESCAPE); }},
      {"Alt+F4 in a result box", 编辑框4, [] { PressKey(VK_F4, false, false, true); }},
      {"the close box", 编辑框2, clickCloseBox},
      {"Close in the system menu", 按钮1,
       [] {
         PressKey(VK_SPACE, false, false, true);
         PressKey('C');
       }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    if (program_ == nullptr) {
      ASSERT_NO_FATAL_FAILURE(Start());
    }
    if (c.focus == 编辑框1) {
      ASSERT_TRUE(TypeInto(编辑框1, L"http://a"));
    } else {
      ClickControl(Control(c.focus));
      ASSERT_TRUE(WaitUntil([&] { return program_->Focus() == Control(c.focus); }));
    }
    c.close();
    EXPECT_TRUE(program_->WaitForExit());
    EXPECT_EQ(program_->ExitCode(), 0u);
    program_.reset();
  }
}

TEST_F(WindowTest, FocusReturnsToTheLastControlWhenTheWindowIsActivatedAgain) {
  ClickControl(Control(编辑框3));
  ASSERT_TRUE(WaitUntil([&] { return program_->Focus() == Control(编辑框3); }));

  // Another program's window becomes active: here, one of this test's own.
  const HWND other = CreateWindowExW(0, L"STATIC", L"other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                     200, 100, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(other, nullptr);
  SetForegroundWindow(other);
  ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == other; }));
  ASSERT_TRUE(WaitUntil([&] { return program_->Focus() == nullptr; }));

  ClickControl(Control(标签1));  // a click that activates the window but focuses no control
  EXPECT_TRUE(WaitUntil([&] { return program_->Focus() == Control(编辑框3); }));
  DestroyWindow(other);
}

class CopyTest : public WindowTest {};

TEST_F(CopyTest, PutsTheRowsBoxOnTheClipboardAsGbkAndUtf16AndSaysSo) {
  const struct {
    const char* name;
    ControlId box, button;
    const wchar_t* typed;
    std::string gbk;  // CF_TEXT, with its terminating zero
    const wchar_t* status;
  } rows[] = {
      {"empty row", 编辑框2, 按钮2, L"", std::string("\0", 1), L"新浪短网址复制成功"},
      {"typed row", 编辑框3, 按钮3, L"http://sa.sogou.com/abc",
       std::string("http://sa.sogou.com/abc\0", 24), L"腾讯短网址复制成功"},
      {"Chinese row", 编辑框4, 按钮4, L"中文 t.cn",
       std::string("\xD6\xD0\xCE\xC4 t.cn\0", 10), L"百度短网址复制成功"},
      // A second Copy in a row: the status line shows only the newest message.
      {"empty row again", 编辑框2, 按钮2, L"", std::string("\0", 1), L"新浪短网址复制成功"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    if (*row.typed != L'\0') {
      ASSERT_TRUE(TypeInto(row.box, row.typed));
    }
    ASSERT_TRUE(PutOnClipboard(L"before"));
    ClickControl(Control(row.button));
    ASSERT_TRUE(WaitUntil([&] { return Text(标签5) == row.status; }))
        << Narrow(Text(标签5));
    EXPECT_EQ(ClipboardBlock(CF_TEXT), row.gbk);
    EXPECT_EQ(ClipboardUnicodeText(), row.typed);
  }
}

TEST_F(CopyTest, ClipboardHeldOpenElsewhereIsLeftAloneAndTheMessageStillShows) {
  ASSERT_TRUE(TypeInto(编辑框4, L"http://dwz.cn/x"));
  ASSERT_TRUE(PutOnClipboard(L"kept"));
  {
    const ClipboardHold hold;
    ASSERT_TRUE(hold.Held());
    ClickControl(Control(按钮4));
    ASSERT_TRUE(WaitUntil([&] { return Text(标签5) == L"百度短网址复制成功"; }));
  }
  EXPECT_EQ(ClipboardUnicodeText(), L"kept");
}

}  // namespace
}  // namespace shortlink
