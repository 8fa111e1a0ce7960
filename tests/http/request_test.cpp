// What a request sends and what its answer's header block yields, without any network: agent,
// flag word, completed header block, escaped object name, and the header scan with its oddities
// (location falling back to the whole block, empty cookie entries).
#include "http/request.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace shortlink {
namespace {

TEST(RequestVerb, PostOnlyForOne) {
  EXPECT_EQ(RequestVerb(0), "GET");
  EXPECT_EQ(RequestVerb(1), "POST");
  EXPECT_EQ(RequestVerb(2), "GET");
  EXPECT_EQ(RequestVerb(-1), "GET");
}

TEST(RequestAgent, TakesTheUserAgentLineOrFallsBack) {
  struct {
    const char* headers;
    const char* agent;
  } cases[] = {
      {"", nullptr},  // nullptr: kDefaultUserAgent
      {"Accept: */*", nullptr},
      {"User-Agent: X\r\nAccept: */*", "X"},
      {"Accept: */*\r\nUser-Agent:   Spaced Agent  \r\nReferer: r", "Spaced Agent"},
      {"user-agent: X\r\n", "X"},  // any ASCII case
      // Last line, no CR LF after it: the text after the first ':' of the whole header text.
      {"User-Agent: X", "X"},
      {"Accept: */*\r\nUser-Agent: X", "*/*\r\nUser-Agent: X"},
      // A blank value falls back the same way.
      {"User-Agent:  \r\nAccept: a", "\r\nAccept: a"},
      {"User-Agent: ", ""},  // empty: no agent is passed
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.headers);
    EXPECT_EQ(RequestAgent(c.headers), c.agent != nullptr ? c.agent : kDefaultUserAgent);
  }
}

TEST(RequestFlags, BuildsTheWordFromSchemeCookiesAndRedirect) {
  struct {
    const char* url;
    bool cookiesSupplied;
    bool noRedirect;
    std::uint32_t flags;
  } cases[] = {
      {"http://sa.sogou.com/gettiny", false, false, 0x80004010},
      {"https://dwz.cn/admin/v2/create", false, false, 0x80800010},
      {"HTTPS://DWZ.CN/", false, false, 0x80800010},
      {"https.example.com/a", false, false, 0x80800010},  // only the first five bytes count
      {"http://x/?u=https://y/", false, false, 0x80004010},
      {"", false, false, 0x80004010},
      {"http://x/", true, false, 0x80084010},
      {"http://x/", false, true, 0x80204010},
      {"https://x/", true, true, 0x80a80010},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.url);
    EXPECT_EQ(RequestFlags(c.url, c.cookiesSupplied, c.noRedirect), c.flags);
  }
}

TEST(EscapeControlBytes, EncodesControlBytesAndSpacesOnly) {
  struct {
    const char* in;
    const char* out;
  } cases[] = {
      {"", ""},
      {"http://a.cn/p?q=1&r=%20", "http://a.cn/p?q=1&r=%20"},
      {"http://a.cn/x y", "http://a.cn/x%20y"},
      {"http://a.cn/\r\nX-Injected: 1", "http://a.cn/%0D%0AX-Injected:%201"},
      {"\x01\t\x1F\x7F!", "%01%09%1F%7F!"},
      // Two-byte characters pass unchanged, trail bytes included.
      {"/\xB0\x40\xD6\xD0", "/\xB0\x40\xD6\xD0"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.in);
    EXPECT_EQ(EscapeControlBytes(c.in), c.out);
  }
}

TEST(RequestHostName, IsTheEscapedHost) {
  EXPECT_EQ(RequestHostName("HTTPS://DWZ.CN/x"), "dwz.cn");
  EXPECT_EQ(RequestHostName("http://a.cn\r\nX-Evil: 1/p"), "a.cn%0D%0Ax-evil");
}

TEST(RequestObjectName, IsTheEscapedPath) {
  EXPECT_EQ(RequestObjectName("http://a.cn"), "/");
  EXPECT_EQ(RequestObjectName("http://a.cn/gettiny?url=http://b.cn/x y"),
            "/gettiny?url=http://b.cn/x%20y");
  EXPECT_EQ(RequestObjectName("http://a.cn/a\r\nHost: evil HTTP/1.0"),
            "/a%0D%0AHost:%20evil%20HTTP/1.0");
}

constexpr char kDefaultLines[] =
    "\r\nAccept: */*\r\nAccept-Language: zh-cn\r\nContent-Type: application/x-www-form-urlencoded";

TEST(CompleteHeaders, AppendsMissingDefaultsThenTheCookieLine) {
  const Text baidu =
      "User-Agent: U\r\nReferer: https://dwz.cn\r\nAccept: application/json\r\n"
      "Accept-Language: en\r\nContent-Type: application/json";
  struct {
    const char* name;
    Text headers;
    const char* url;
    const char* cookies;
    Text expected;
  } cases[] = {
      {"address alone", "", "http://a.cn/x", "", Text("Referer: http://a.cn/x") + kDefaultLines},
      {"complete block unchanged", baidu, "https://dwz.cn/admin/v2/create", "", baidu},
      {"lines joined after the caller's", "X-A: 1", "http://a.cn/", "",
       Text("X-A: 1\r\nReferer: http://a.cn/") + kDefaultLines},
      // Keys are searched case-sensitively anywhere: 'accept:' does not count, 'X-Accept:' does.
      {"lower-case accept", "accept: text/html", "http://a.cn/", "",
       Text("accept: text/html\r\nReferer: http://a.cn/") + kDefaultLines},
      {"key inside another", "X-Accept: 1\r\nReferer: r", "http://a.cn/", "",
       "X-Accept: 1\r\nReferer: r\r\nAccept-Language: zh-cn\r\n"
       "Content-Type: application/x-www-form-urlencoded"},
      // The Cookie line comes last, even beside a cookie line of the caller's.
      {"cookies", "Cookie: old=1", "http://a.cn/", "a=1; b=2",
       Text("Cookie: old=1\r\nReferer: http://a.cn/") + kDefaultLines +
           "\r\nCookie: a=1; b=2"},
      {"address with CR LF and spaces", "", "http://a.cn/\r\nX-Evil: 1 2", "",
       Text("Referer: http://a.cn/%0D%0AX-Evil:%201%202") + kDefaultLines},
  };
  for (auto& c : cases) {
    SCOPED_TRACE(c.name);
    CompleteHeaders(&c.headers, c.url, c.cookies);
    EXPECT_EQ(c.headers, c.expected);
  }
}

TEST(RawHeaderText, EndsAtTheFirstZeroByte) {
  EXPECT_EQ(RawHeaderText(std::string_view("HTTP/1.1 200 OK\r\n\r\n\0   ", 23)),
            "HTTP/1.1 200 OK\r\n\r\n");
  EXPECT_EQ(RawHeaderText("   "), "   ");
  EXPECT_EQ(RawHeaderText(""), "");
}

TEST(ScanResponseHeaders, FindsLocationAndCookieEntries) {
  struct {
    const char* name;
    const char* raw;
    const char* locationBefore;
    const char* location;  // nullptr: a copy of raw
    const char* received;
  } cases[] = {
      {"two cookies", "HTTP/1.1 200 OK\r\nSet-Cookie: a=1; path=/\r\nSet-Cookie: b=2; HttpOnly\r\n\r\n",
       "", nullptr, "a=1; b=2"},
      {"no ';' gives an empty entry", "HTTP/1.1 200 OK\r\nSet-Cookie: a=1\r\n\r\n", "", nullptr, ""},
      {"empty last entry", "HTTP/1.1 200 OK\r\nSet-Cookie: a=1; path=/\r\nSet-Cookie: b=2\r\n\r\n",
       "", nullptr, "a=1; "},
      {"Set-Cookie2 line", "HTTP/1.1 200 OK\r\nSet-Cookie2: c=1; v=1\r\nSet-Cookie: a=1;\r\n\r\n",
       "", nullptr, "; a=1"},
      {"redirect", "HTTP/1.1 302 Found\r\nLocation:  http://b.cn/next \r\n\r\n", "",
       "http://b.cn/next", ""},
      {"last Location line wins, Content-Location counts",
       "HTTP/1.1 302 Found\r\nLocation: http://b.cn/1\r\nContent-Location: /2\r\n\r\n", "", "/2",
       ""},
      {"caller's location kept", "HTTP/1.1 200 OK\r\n\r\n", "kept", "kept", ""},
      {"no answer", "     ", "", nullptr, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Text location = c.locationBefore, received = "stale";
    ScanResponseHeaders(c.raw, &location, &received, nullptr);
    EXPECT_EQ(location, c.location != nullptr ? c.location : c.raw);
    EXPECT_EQ(received, c.received);
  }
}

TEST(ScanResponseHeaders, MergesIntoTheCallersCookies) {
  const char raw[] =
      "HTTP/1.1 200 OK\r\nSet-Cookie: b = 3; path=/\r\nSet-Cookie: gone=deleted; path=/\r\n"
      "Set-Cookie: c=4; HttpOnly\r\n\r\n";
  struct {
    const char* before;
    const char* after;
  } cases[] = {
      {"a=1; b=2; gone=x", "b=3; c=4; a=1"},
      {"", "b=3; c=4"},  // supplied empty: still merged
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.before);
    Text location, received, cookies = c.before;
    ScanResponseHeaders(raw, &location, &received, &cookies);
    EXPECT_EQ(cookies, c.after);
    EXPECT_EQ(received, "b=3;gone=deleted;c=4");  // the merge removed the spaces
  }
}

}  // namespace
}  // namespace shortlink
