// HttpRequest against real HTTP and HTTPS servers on loopback, under the services' real host
// names (run through tests/support/netns-run --servers): the bytes WinINet sent, and what came
// back through every output.
#include "http/http_request.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "support/loopback_servers.h"

namespace shortlink {
namespace {

using test::CannedAnswer;
using test::LoopbackServers;
using test::RecordedRequest;
using Values = std::vector<std::string>;

std::string AsString(const ByteSet& bytes) { return std::string(bytes.begin(), bytes.end()); }

// Returns the positions of the named header lines in the request, in the order given; -1 for a
// missing one.
std::vector<int> LinePositions(const RecordedRequest& request, const Values& names) {
  std::vector<int> positions;
  for (const std::string& name : names) {
    const auto it = std::find_if(request.headerLines.begin(), request.headerLines.end(),
                                 [&](const std::string& line) { return line.rfind(name + ":", 0) == 0; });
    positions.push_back(it == request.headerLines.end() ? -1
                                                        : static_cast<int>(it - request.headerLines.begin()));
  }
  return positions;
}

class HttpRequestTest : public ::testing::Test {
 protected:
  void SetUp() override { LoopbackServers::Reset(); }
};

TEST_F(HttpRequestTest, AddressAloneSendsGetWithTheDefaultLines) {
  LoopbackServers::Answer({.path = "/gettiny?url=http%3A%2F%2Fexample.com%2F",
                           .host = "sa.sogou.com",
                           .body = "http://sa.sogou.com/abc"});
  const std::string url = "http://sa.sogou.com/gettiny?url=http%3A%2F%2Fexample.com%2F";
  Text received = "stale", headers, location, raw;

  const ByteSet body =
      HttpRequest(url, 0, {}, nullptr, &received, &headers, &location, false, nullptr, nullptr, &raw);

  EXPECT_EQ(AsString(body), "http://sa.sogou.com/abc");
  ASSERT_EQ(LoopbackServers::RequestCount(), 1);
  const RecordedRequest sent = LoopbackServers::Request(0);
  EXPECT_EQ(sent.listener, "http:80");
  EXPECT_EQ(sent.requestLine, "GET /gettiny?url=http%3A%2F%2Fexample.com%2F HTTP/1.1");
  EXPECT_EQ(sent.HeaderValues("User-Agent"), Values{std::string(kDefaultUserAgent)});
  EXPECT_EQ(sent.HeaderValues("Referer"), Values{url});
  EXPECT_EQ(sent.HeaderValues("Accept"), Values{"*/*"});
  EXPECT_EQ(sent.HeaderValues("Accept-Language"), Values{"zh-cn"});
  EXPECT_EQ(sent.HeaderValues("Content-Type"), Values{"application/x-www-form-urlencoded"});
  EXPECT_EQ(sent.HeaderValues("Cookie"), Values{});
  const std::vector<int> order =
      LinePositions(sent, {"Referer", "Accept", "Accept-Language", "Content-Type"});
  EXPECT_TRUE(std::is_sorted(order.begin(), order.end()) && order.front() >= 0) << sent.raw;
  EXPECT_EQ(sent.body, "");

  EXPECT_EQ(headers, "Referer: " + url +
                         "\r\nAccept: */*\r\nAccept-Language: zh-cn\r\n"
                         "Content-Type: application/x-www-form-urlencoded");
  EXPECT_EQ(raw.rfind("HTTP/1.1 200 OK\r\n", 0), 0u) << raw;
  EXPECT_EQ(location, raw);  // no Location line: a copy of the whole block
  EXPECT_EQ(received, "");
}

TEST_F(HttpRequestTest, PostWithCompleteBlockOverHttpsGetsItsGzipAnswerDecoded) {
  const std::string answer = "{\"ShortUrl\":\"https://dwz.cn/x\",\"LongUrl\":\"http://a.cn/\"}";
  LoopbackServers::Answer({.path = "/admin/v2/create",
                           .host = "dwz.cn",
                           .method = "POST",
                           .headers = {{"Content-Type", "application/json"}},
                           .body = answer,
                           .gzip = true});
  const Text block =
      "Content-Type: application/json\r\nAccept: application/json\r\n"
      "User-Agent: Agent/1.0 (test)\r\nReferer: https://dwz.cn/\r\n"
      "Accept-Encoding: gzip, deflate\r\nAccept-Language: zh-CN,zh;q=0.9";
  const std::string json = "{\"Url\":\"http://a.cn/\xD6\xD0\",\"TermOfValidity\":\"1-year\"}";
  Text headers = block;
  ByteSet byteBody;

  const ByteSet body = HttpRequest("https://dwz.cn/admin/v2/create", 1, json, nullptr, nullptr,
                                   &headers, nullptr, false, &byteBody);

  EXPECT_EQ(AsString(body), answer) << "the gzip answer must come back decoded";
  const RecordedRequest sent = LoopbackServers::Request(-1);
  EXPECT_EQ(sent.listener, "https:443");
  EXPECT_EQ(sent.requestLine, "POST /admin/v2/create HTTP/1.1");
  EXPECT_EQ(sent.HeaderValues("User-Agent"), Values{"Agent/1.0 (test)"});
  EXPECT_EQ(sent.HeaderValues("Referer"), Values{"https://dwz.cn/"});
  EXPECT_EQ(sent.HeaderValues("Accept"), Values{"application/json"});
  EXPECT_EQ(sent.HeaderValues("Content-Type"), Values{"application/json"});
  EXPECT_EQ(sent.HeaderValues("Content-Length"), Values{std::to_string(json.size())});
  EXPECT_EQ(sent.body, json);
  EXPECT_EQ(headers, block);  // nothing was missing
  EXPECT_EQ(AsString(byteBody), json);
}

TEST_F(HttpRequestTest, PostBodyComesFromByteBodyFirst) {
  LoopbackServers::Answer({.path = "/post", .body = "ok"});
  const std::string binary("\x00\x01\xFF\xD6\xD0 tail", 9);
  struct {
    const char* name;
    std::string textBody;
    std::string byteBody;
    std::string sent;
  } cases[] = {
      {"byte body wins", "ignored text", binary, binary},
      {"text body", "a=1&b=2", "", "a=1&b=2"},
      {"both empty", "", "", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ByteSet byteBody(c.byteBody.begin(), c.byteBody.end());
    HttpRequest("http://sa.sogou.com/post", 1, c.textBody, nullptr, nullptr, nullptr, nullptr,
                false, &byteBody);
    const RecordedRequest sent = LoopbackServers::Request(-1);
    EXPECT_EQ(sent.requestLine, "POST /post HTTP/1.1");
    EXPECT_EQ(sent.body, c.sent);
    EXPECT_EQ(sent.HeaderValues("Content-Length"), Values{std::to_string(c.sent.size())});
    EXPECT_EQ(AsString(byteBody), c.sent);
  }
}

TEST_F(HttpRequestTest, SuppliedCookiesAreSentAndMergedWithTheReceivedOnes) {
  LoopbackServers::Answer({.path = "/login",
                           .headers = {{"Set-Cookie", "b = 3; path=/"},
                                       {"Set-Cookie", "gone=deleted; path=/"},
                                       {"Set-Cookie", "c=4; HttpOnly"}},
                           .body = "in"});
  Text cookies = "a=1; b=2; gone=0", received;

  HttpRequest("http://api.t.sina.com.cn/login", 0, {}, &cookies, &received);

  EXPECT_EQ(LoopbackServers::Request(-1).HeaderValues("Cookie"), Values{"a=1; b=2; gone=0"});
  EXPECT_EQ(cookies, "b=3; c=4; a=1");
  EXPECT_EQ(received, "b=3;gone=deleted;c=4");
}

// Without a cookie text of the caller's, the platform keeps and sends cookies itself; a supplied
// one, even empty, switches that off.
TEST_F(HttpRequestTest, PlatformCookiesOnlyWhenCookiesAreNotSupplied) {
  LoopbackServers::Answer({.path = "/jar/set",
                           .headers = {{"Set-Cookie", "jar=1; path=/jar"},
                                       {"Set-Cookie", "jar2=2; path=/jar"}}});
  LoopbackServers::Answer({.path = "/jar/get", .body = "got"});
  Text received;
  HttpRequest("http://api.t.sina.com.cn/jar/set", 0, {}, nullptr, &received);
  EXPECT_EQ(received, "jar=1; jar2=2");

  HttpRequest("http://api.t.sina.com.cn/jar/get");
  const Values platformCookies = LoopbackServers::Request(-1).HeaderValues("Cookie");
  ASSERT_EQ(platformCookies.size(), 1u);
  EXPECT_NE(platformCookies[0].find("jar=1"), std::string::npos) << platformCookies[0];

  Text cookies;
  HttpRequest("http://api.t.sina.com.cn/jar/get", 0, {}, &cookies);
  EXPECT_EQ(LoopbackServers::Request(-1).HeaderValues("Cookie"), Values{});
  EXPECT_EQ(cookies, "");
}

TEST_F(HttpRequestTest, RedirectIsFollowedUnlessNoRedirect) {
  LoopbackServers::Answer({.path = "/moved",
                           .status = 302,
                           .reason = "Found",
                           .headers = {{"Location", "http://sa.sogou.com/final"}},
                           .body = "moved body"});
  LoopbackServers::Answer({.path = "/final", .body = "final body"});

  Text location, raw;
  ByteSet body = HttpRequest("http://sa.sogou.com/moved", 0, {}, nullptr, nullptr, nullptr,
                             &location, false, nullptr, nullptr, &raw);
  EXPECT_EQ(AsString(body), "final body");
  EXPECT_EQ(LoopbackServers::Request(-1).requestLine, "GET /final HTTP/1.1");
  EXPECT_EQ(raw.rfind("HTTP/1.1 200 OK\r\n", 0), 0u) << raw;

  LoopbackServers::Reset();
  LoopbackServers::Answer({.path = "/moved",
                           .status = 302,
                           .reason = "Found",
                           .headers = {{"Location", "http://sa.sogou.com/final"}},
                           .body = "moved body"});
  location.clear();
  body = HttpRequest("http://sa.sogou.com/moved", 0, {}, nullptr, nullptr, nullptr, &location,
                     true);
  EXPECT_EQ(AsString(body), "moved body");
  EXPECT_EQ(location, "http://sa.sogou.com/final");
  EXPECT_EQ(LoopbackServers::RequestCount(), 1);
}

// The host name resolves nowhere in the namespace: only a request through the proxy arrives.
TEST_F(HttpRequestTest, ProxyModeSendsTheAbsoluteAddressToTheProxy) {
  LoopbackServers::Answer({.path = "/short_url/shorten.json?source=1", .body = "via proxy"});
  const Text proxy = "127.0.0.1:3128";

  const ByteSet body = HttpRequest("http://only.through.proxy/short_url/shorten.json?source=1", 0,
                                   {}, nullptr, nullptr, nullptr, nullptr, false, nullptr, &proxy);

  EXPECT_EQ(AsString(body), "via proxy");
  const RecordedRequest sent = LoopbackServers::Request(-1);
  EXPECT_EQ(sent.listener, "proxy:3128");
  // The platform may name the default port in the absolute address.
  EXPECT_TRUE(sent.requestLine ==
                  "GET http://only.through.proxy/short_url/shorten.json?source=1 HTTP/1.1" ||
              sent.requestLine ==
                  "GET http://only.through.proxy:80/short_url/shorten.json?source=1 HTTP/1.1")
      << sent.requestLine;
}

TEST_F(HttpRequestTest, UpperCaseHttpsAddressGoesOverTls) {
  LoopbackServers::Answer({.path = "/Upper", .body = "secure"});
  EXPECT_EQ(AsString(HttpRequest("HTTPS://DWZ.CN/Upper")), "secure");
  const RecordedRequest sent = LoopbackServers::Request(-1);
  EXPECT_EQ(sent.listener, "https:443");
  EXPECT_EQ(sent.requestLine, "GET /Upper HTTP/1.1");
}

// Control bytes and spaces of the address would otherwise break the request line and add header
// lines of the caller's choosing.
TEST_F(HttpRequestTest, ControlBytesOfTheAddressGoOutEscaped) {
  LoopbackServers::Answer({.path = "/a", .prefix = true, .body = "ok"});

  HttpRequest("http://sa.sogou.com/a b\r\nX-Injected: 1");

  const RecordedRequest sent = LoopbackServers::Request(-1);
  EXPECT_EQ(sent.requestLine, "GET /a%20b%0D%0AX-Injected:%201 HTTP/1.1");
  EXPECT_EQ(sent.HeaderValues("X-Injected"), Values{});
  EXPECT_EQ(sent.HeaderValues("Referer"), Values{"http://sa.sogou.com/a%20b%0D%0AX-Injected:%201"});

  // Through a proxy the host name goes into the request line and the Host line as well.
  const Text proxy = "127.0.0.1:3128";
  HttpRequest("http://a.cn\r\nX-Injected: 1/a", 0, {}, nullptr, nullptr, nullptr, nullptr,
              false, nullptr, &proxy);
  const RecordedRequest proxied = LoopbackServers::Request(-1);
  EXPECT_EQ(proxied.listener, "proxy:3128");
  EXPECT_EQ(proxied.HeaderValues("X-Injected"), Values{});
  EXPECT_EQ(proxied.raw.find("a.cn\r\n"), std::string::npos) << proxied.raw;
}

TEST_F(HttpRequestTest, RefusedConnectionGivesEmptyOutputsPromptly) {
  Text received = "stale", location, raw, headers;
  // Nothing listens on port 9 of the namespace's loopback: refused at once.
  const ByteSet body = HttpRequest("http://127.0.0.1:9/x", 0, {}, nullptr, &received, &headers,
                                   &location, false, nullptr, nullptr, &raw);
  EXPECT_TRUE(body.empty());
  // Windows leaves the 5000 spaces of the buffer; Wine reports an empty block, CR LF alone.
  EXPECT_TRUE(raw == std::string(5000, ' ') || raw == "\r\n") << raw.size() << " bytes";
  EXPECT_EQ(location, raw);
  EXPECT_EQ(received, "");
  EXPECT_EQ(headers.rfind("Referer: http://127.0.0.1:9/x\r\n", 0), 0u) << headers;
}

TEST_F(HttpRequestTest, HeaderBlockOver5000BytesStillYieldsCookiesAndLocation) {
  LoopbackServers::Answer({.path = "/big-head",
                           .status = 302,
                           .reason = "Found",
                           // Three lines: the platform cuts a single line of more than 4 KB.
                           .headers = {{"X-Padding-1", std::string(2500, 'p')},
                                       {"X-Padding-2", std::string(2500, 'p')},
                                       {"X-Padding-3", std::string(2500, 'p')},
                                       {"Set-Cookie", "big=1; path=/"},
                                       {"Location", "http://sa.sogou.com/after"}}});
  Text received, location, raw;

  HttpRequest("http://sa.sogou.com/big-head", 0, {}, nullptr, &received, nullptr, &location, true,
              nullptr, nullptr, &raw);

  EXPECT_GT(raw.size(), 7500u);
  EXPECT_NE(raw.find("X-Padding-3: ppp"), std::string::npos);
  EXPECT_EQ(received, "big=1");
  EXPECT_EQ(location, "http://sa.sogou.com/after");
}

TEST_F(HttpRequestTest, TwentyMegabyteBodyComesBackWhole) {
  const std::string pattern = "0123456789abcdefghijklmnopqrstuvwxyz";
  const long long size = 20LL * 1024 * 1024;
  LoopbackServers::Answer({.path = "/big", .body = pattern, .bodySize = size});

  const ByteSet body = HttpRequest("http://sa.sogou.com/big");

  ASSERT_EQ(static_cast<long long>(body.size()), size);
  std::size_t firstWrong = body.size();
  for (std::size_t i = 0; i < body.size(); ++i) {
    if (body[i] != static_cast<std::uint8_t>(pattern[i % pattern.size()])) {
      firstWrong = i;
      break;
    }
  }
  EXPECT_EQ(firstWrong, body.size()) << "first wrong byte";
}

}  // namespace
}  // namespace shortlink
