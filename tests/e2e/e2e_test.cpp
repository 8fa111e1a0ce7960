// The unmodified program as a user meets it: on a virtual display inside a private network
// namespace where dwz.cn, sa.sogou.com and api.t.sina.com.cn are loopback services answering like
// the real ones. The address goes in with real key input (or a paste), 生成 and 复制 are clicked
// with the mouse, and what the rows, the status line and the clipboard show is read back.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "support/loopback_servers.h"
#include "support/window_driver.h"

namespace shortlink {
namespace {

using namespace test;
using enum ControlId;

using Texts = std::vector<std::wstring>;

constexpr wchar_t kTitle[] = L"短网址一键生成    By：Taviro";
// Put into the Sina row before 生成 is clicked. That row is written last, so once the mark is gone
// the command is over.
constexpr wchar_t kPending[] = L"<pending>";

const std::string kBaiduPath = "/admin/v2/create";
const std::string kSogouPath = "/gettiny?url=";
const std::string kSinaPath = "/short_url/shorten.json?source=9046135281&url_long=";

std::string Narrow(std::wstring_view wide) {
  std::string utf8(static_cast<size_t>(WideCharToMultiByte(CP_UTF8, 0, wide.data(),
                                                           static_cast<int>(wide.size()), nullptr,
                                                           0, nullptr, nullptr)),
                   '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), utf8.data(),
                      static_cast<int>(utf8.size()), nullptr, nullptr);
  return utf8;
}

// Answers as the services give them, for any long address.
CannedAnswer BaiduAnswer(const std::string& escapedLink) {
  return {.path = kBaiduPath, .host = "dwz.cn", .method = "POST",
          .headers = {{"Content-Type", "application/json"}},
          .body = R"({"Code":0,"ShortUrl":")" + escapedLink +
                  R"(","LongUrl":"http:\/\/a.cn\/","ErrMsg":""})",
          .gzip = true};
}
CannedAnswer SogouAnswer(const std::string& body) {
  return {.path = kSogouPath, .prefix = true, .host = "sa.sogou.com", .body = body};
}
CannedAnswer SinaAnswer(const std::string& link) {
  return {.path = kSinaPath, .prefix = true, .host = "api.t.sina.com.cn",
          .headers = {{"Content-Type", "application/json"}},
          .body = R"([{"url_short":")" + link + R"(","url_long":"http://a.cn/","type":0}])"};
}

void AnswerAll(const std::vector<CannedAnswer>& answers) {
  for (const CannedAnswer& answer : answers) LoopbackServers::Answer(answer);
}

class EndToEndTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    const char* locale = std::getenv("LC_ALL");
    std::printf("LC_ALL=%s, ANSI code page %u\n", locale ? locale : "(unset)", GetACP());
  }

  void SetUp() override {
    LoopbackServers::Reset();
    program_ = RunningProgram::Start(ProgramPath(), kTitle);
    ASSERT_NE(program_, nullptr) << "the program did not show its window (SHORTLINK_EXE set?)";
    ASSERT_TRUE(WaitUntil([&] { return program_->Focus() == Control(编辑框1); }));
  }

  HWND Control(ControlId id) const { return program_->Control(id); }
  std::wstring Text(ControlId id) const { return WindowText(Control(id)); }
  Texts Rows() const { return {Text(编辑框4), Text(编辑框3), Text(编辑框2)}; }

  // Clicks into the box, selects what is there and types over it with real key input.
  void TypeInto(ControlId box, std::wstring_view text) {
    ClickControl(Control(box));
    ASSERT_TRUE(WaitUntil([&] { return program_->Focus() == Control(box); }));
    PressKey('A', false, true);
    TypeText(text);
    ASSERT_TRUE(WaitUntil([&] { return Text(box) == text; })) << Narrow(Text(box));
  }

  // Puts the address on the clipboard, as another program would, and pastes it with Ctrl+V over
  // whatever 编辑框1 holds.
  void PasteAddress(std::wstring_view address) {
    ASSERT_TRUE(PutOnClipboard(address));
    ClickControl(Control(编辑框1));
    ASSERT_TRUE(WaitUntil([&] { return program_->Focus() == Control(编辑框1); }));
    PressKey('A', false, true);
    PressKey('V', false, true);
    ASSERT_TRUE(WaitUntil([&] { return Text(编辑框1) == address; })) << Narrow(Text(编辑框1));
  }

  // Clicks 生成 and waits (bounded) for the command to end; returns how long that took.
  std::chrono::milliseconds Generate() {
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(Control(编辑框2), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(kPending),
                        SMTO_ABORTIFHUNG, 5000, &ignored);
    EXPECT_EQ(Text(编辑框2), kPending);
    const auto start = std::chrono::steady_clock::now();
    ClickControl(Control(按钮1));
    const bool ended = WaitUntil(
        [&] {
          const std::wstring sina = Text(编辑框2);
          return sina != kPending && sina != L"<no answer>";
        },
        60s);
    const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now() - start);
    EXPECT_TRUE(ended) << "生成 did not end within 60 s";
    std::printf("生成 took %lld ms\n", static_cast<long long>(took.count()));
    return took;
  }

  // Clicks the row's 复制 button; expects the status line to say so and the clipboard to hold the
  // row's text, as GBK (CF_TEXT) and as UTF-16.
  void ExpectCopy(ControlId button, std::wstring_view status, std::wstring_view text,
                  const std::string& gbk) {
    ASSERT_TRUE(PutOnClipboard(L"before"));
    ClickControl(Control(button));
    ASSERT_TRUE(WaitUntil([&] { return Text(标签5) == status; })) << Narrow(Text(标签5));
    EXPECT_EQ(ClipboardBlock(CF_TEXT), gbk + std::string(1, '\0'));
    EXPECT_EQ(ClipboardUnicodeText(), text);
  }

  // Expects the four requests of one Generate for the address, as UTF-8 in the JSON body and
  // percent-encoded in the queries.
  static void ExpectRequests(const std::string& jsonAddress, const std::string& encodedAddress) {
    ASSERT_EQ(LoopbackServers::RequestCount(), 4);
    for (int i : {0, 1}) {
      const RecordedRequest baidu = LoopbackServers::Request(i);
      EXPECT_EQ(baidu.requestLine, "POST /admin/v2/create HTTP/1.1");
      EXPECT_EQ(baidu.body,
                "{\"Url\":\"" + jsonAddress + "\",\"TermOfValidity\":\"1-year\"}");
    }
    EXPECT_EQ(LoopbackServers::Request(2).requestLine,
              "GET " + kSogouPath + encodedAddress + " HTTP/1.1");
    EXPECT_EQ(LoopbackServers::Request(3).requestLine,
              "GET " + kSinaPath + encodedAddress + " HTTP/1.1");
  }

  std::unique_ptr<RunningProgram> program_;
};

TEST_F(EndToEndTest, AllThreeRowsFilledAndEachCopyPutsItsLinkOnTheClipboard) {
  AnswerAll({BaiduAnswer(R"(https:\/\/dwz.cn\/de3rp2Fl)"),
             SogouAnswer("http://sa.sogou.com/sT9dFq"), SinaAnswer("http://t.cn/RgXxVb2")});
  const std::wstring address =
      L"https://www.example.com/articles/2024/11/a-rather-long-address-for-a-short-link"
      L"?utm_source=newsletter&utm_medium=email&id=1234567890";
  TypeInto(编辑框1, address);

  Generate();

  EXPECT_EQ(Rows(), (Texts{L"https://dwz.cn/de3rp2Fl",
                                               L"http://sa.sogou.com/sT9dFq",
                                               L"http://t.cn/RgXxVb2"}));
  ExpectRequests(Narrow(address),
                 "https%3A%2F%2Fwww.example.com%2Farticles%2F2024%2F11%2F"
                 "a-rather-long-address-for-a-short-link%3Futm_source%3Dnewsletter%26utm_medium%3D"
                 "email%26id%3D1234567890");
  EXPECT_EQ(Text(标签5), L"") << "生成 leaves the status line alone";
  ExpectCopy(按钮2, L"新浪短网址复制成功", L"http://t.cn/RgXxVb2", "http://t.cn/RgXxVb2");
  ExpectCopy(按钮3, L"腾讯短网址复制成功", L"http://sa.sogou.com/sT9dFq",
             "http://sa.sogou.com/sT9dFq");
  ExpectCopy(按钮4, L"百度短网址复制成功", L"https://dwz.cn/de3rp2Fl", "https://dwz.cn/de3rp2Fl");
}

TEST_F(EndToEndTest, NoNetworkEmptiesEveryRowAndTheCommandEnds) {
  LoopbackServers::GoOffline();  // connecting to any of the three is refused
  TypeInto(编辑框4, L"typed into the Baidu row");
  TypeInto(编辑框3, L"typed into the Sogou row");
  TypeInto(编辑框1, L"http://www.example.com/");

  Generate();

  EXPECT_EQ(Rows(), (Texts{L"", L"", L""}));
  EXPECT_EQ(LoopbackServers::RequestCount(), 0);
  // The window takes input again: a Copy works at once.
  ExpectCopy(按钮4, L"百度短网址复制成功", L"", "");
}

TEST_F(EndToEndTest, OneServiceFailingLeavesOnlyItsRowEmpty) {
  const CannedAnswer baidu = BaiduAnswer("https://dwz.cn/b1");
  const CannedAnswer sogou = SogouAnswer("http://sa.sogou.com/s1");
  const CannedAnswer sina = SinaAnswer("http://t.cn/n1");
  const struct {
    const char* name;
    std::vector<CannedAnswer> answers;
    Texts rows;
  } cases[] = {
      {"Baidu refuses the token",
       {sogou, sina,
        {.path = kBaiduPath, .status = 401, .reason = "Unauthorized",
         .body = R"({"Code":-1,"ErrMsg":"token is invalid"})"}},
       {L"", L"http://sa.sogou.com/s1", L"http://t.cn/n1"}},
      {"Sogou answers 503 without a body",
       {baidu, sina, {.path = kSogouPath, .prefix = true, .status = 503, .reason = "Busy"}},
       {L"https://dwz.cn/b1", L"", L"http://t.cn/n1"}},
      {"Sina answers with an error",
       {baidu, sogou,
        {.path = kSinaPath, .prefix = true, .status = 403, .reason = "Forbidden",
         .body = R"({"error":"source paramter(appkey) is missing","error_code":10006})"}},
       {L"https://dwz.cn/b1", L"http://sa.sogou.com/s1", L""}},
  };
  TypeInto(编辑框1, L"http://www.example.com/");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    LoopbackServers::Reset();
    AnswerAll(c.answers);
    Generate();
    EXPECT_EQ(Rows(), c.rows);
    EXPECT_EQ(LoopbackServers::RequestCount(), 4);
  }
}

TEST_F(EndToEndTest, PastedAddressWithChineseAmpersandAndQuoteReachesEveryServiceWhole) {
  AnswerAll({BaiduAnswer("https://dwz.cn/zh1"), SogouAnswer("http://sa.sogou.com/zh2"),
             SinaAnswer("http://t.cn/zh3")});
  PasteAddress(L"http://例子.cn/搜索?q=中文&x=\"1\"");

  Generate();

  EXPECT_EQ(Rows(), (Texts{L"https://dwz.cn/zh1", L"http://sa.sogou.com/zh2",
                                               L"http://t.cn/zh3"}));
  ExpectRequests("http://例子.cn/搜索?q=中文&x=\\\"1\\\"",
                 "http%3A%2F%2F%E4%BE%8B%E5%AD%90.cn%2F%E6%90%9C%E7%B4%A2%3Fq%3D%E4%B8%AD%E6%96%87"
                 "%26x%3D%221%22");
}

TEST_F(EndToEndTest, SecondGenerateReplacesTheFirstResults) {
  AnswerAll({BaiduAnswer("https://dwz.cn/first"), SogouAnswer("http://sa.sogou.com/first"),
             SinaAnswer("http://t.cn/first")});
  TypeInto(编辑框1, L"http://www.example.com/one");
  Generate();
  ASSERT_EQ(Rows(), (Texts{L"https://dwz.cn/first", L"http://sa.sogou.com/first",
                                               L"http://t.cn/first"}));
  ExpectCopy(按钮3, L"腾讯短网址复制成功", L"http://sa.sogou.com/first", "http://sa.sogou.com/first");

  // Now Sogou has nothing to say, the others give new links; the user also typed into a row.
  LoopbackServers::Reset();
  AnswerAll({BaiduAnswer("https://dwz.cn/second"), SinaAnswer("http://t.cn/second"),
             {.path = kSogouPath, .prefix = true, .status = 503, .reason = "Busy"}});
  TypeInto(编辑框4, L"typed by hand");
  TypeInto(编辑框1, L"http://www.example.com/two");
  Generate();

  EXPECT_EQ(Rows(), (Texts{L"https://dwz.cn/second", L"", L"http://t.cn/second"}));
  EXPECT_EQ(Text(标签5), L"腾讯短网址复制成功") << "生成 leaves the status line alone";
  EXPECT_EQ(LoopbackServers::Request(3).requestLine,
            "GET " + kSinaPath + "http%3A%2F%2Fwww.example.com%2Ftwo HTTP/1.1");
}

}  // namespace
}  // namespace shortlink
