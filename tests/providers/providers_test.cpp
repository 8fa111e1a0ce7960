// The three providers against loopback services that answer like the real ones (run through
// tests/support/netns-run --servers, so dwz.cn, sa.sogou.com and api.t.sina.com.cn lead here):
// what each service received, and what each provider showed.
#include "providers/providers.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/loopback_servers.h"
#include "text/text.h"

namespace shortlink {
namespace {

using test::CannedAnswer;
using test::LoopbackServers;
using test::RecordedRequest;
using Values = std::vector<std::string>;
using Provider = void (*)(const ProviderIo&);

// An address that breaks a request built carelessly: Chinese (GBK here), '&', '"', a backslash,
// '#', '%' and a space.
const Text kTrickyAddress = "http://a.cn/?q=\xD6\xD0\xCE\xC4&x=\"1\"\\#f% 2";
const std::string kTrickyUtf8 = "http://a.cn/?q=\xE4\xB8\xAD\xE6\x96\x87&x=\"1\"\\#f% 2";
const std::string kTrickyEncoded =
    "http%3A%2F%2Fa.cn%2F%3Fq%3D%E4%B8%AD%E6%96%87%26x%3D%221%22%5C%23f%25%202";

// The Baidu header block, line by line, as the service must receive it.
const Values kBaiduHeaderLines = {
    "Accept: application/json, text/javascript, */*; q=0.01",
    "Origin: https://dwz.cn",
    "X-Requested-With: XMLHttpRequest",
    "User-Agent: Mozilla/5.0 (Windows NT 6.1; WOW64) AppleWebKit/537.36 (KHTML, like Gecko) "
    "Chrome/63.0.3239.26 Safari/537.36 Core/1.63.6788.400 QQBrowser/10.3.2864.400",
    "Token: 5c0e9a3f71d4b86e20f9c7a1d35b4e08",
    "Content-Type: application/json; charset=UTF-8",
    "Referer: https://dwz.cn/",
    "Accept-Encoding: gzip, deflate, br",
    "Accept-Language: zh-CN,zh;q=0.9",
};

// What one provider call did: how often it read the address, and every text it showed.
struct Outcome {
  int reads = 0;
  std::vector<Text> shown;
};

Outcome Shorten(Provider provider, const Text& longUrl) {
  Outcome outcome;
  provider({.readLongUrl =
                [&] {
                  ++outcome.reads;
                  return longUrl;
                },
            .showResult = [&](const Text& text) { outcome.shown.push_back(text); }});
  return outcome;
}

// Returns the header lines of the request that are not in `skip` (by name, exact case).
Values LinesWithout(const RecordedRequest& request, const Values& skip) {
  Values kept;
  for (const std::string& line : request.headerLines) {
    bool skipped = false;
    for (const std::string& name : skip) skipped = skipped || line.rfind(name + ":", 0) == 0;
    if (!skipped) kept.push_back(line);
  }
  return kept;
}

class ProvidersTest : public ::testing::Test {
 protected:
  void SetUp() override { LoopbackServers::Reset(); }
};

TEST_F(ProvidersTest, EachServiceReceivesTheAddressIntact) {
  LoopbackServers::Answer({.path = "/", .prefix = true, .body = "{}"});

  EXPECT_EQ(Shorten(ShortenWithBaidu, kTrickyAddress).reads, 2);
  ASSERT_EQ(LoopbackServers::RequestCount(), 2) << "Baidu is asked exactly twice";
  const RecordedRequest first = LoopbackServers::Request(0);
  const RecordedRequest second = LoopbackServers::Request(1);
  EXPECT_EQ(first.listener, "https:443");
  EXPECT_EQ(first.requestLine, "POST /admin/v2/create HTTP/1.1");
  EXPECT_EQ(first.HeaderValues("Host"), Values{"dwz.cn"});
  // The block goes out as it stands and in its order; the client adds only Host and the length.
  EXPECT_EQ(LinesWithout(first, {"Host", "Content-Length"}), kBaiduHeaderLines) << first.raw;
  EXPECT_EQ(first.body, "{\"Url\":\"http://a.cn/?q=\xE4\xB8\xAD\xE6\x96\x87&x=\\\"1\\\"\\\\#f% 2\","
                        "\"TermOfValidity\":\"1-year\"}");
  EXPECT_EQ(first.HeaderValues("Content-Length"), Values{std::to_string(first.body.size())});
  EXPECT_EQ(second.raw, first.raw) << "the second request repeats the first";

  Shorten(ShortenWithSogou, kTrickyAddress);
  const RecordedRequest sogou = LoopbackServers::Request(-1);
  EXPECT_EQ(sogou.listener, "http:80");
  EXPECT_EQ(sogou.requestLine, "GET /gettiny?url=" + kTrickyEncoded + " HTTP/1.1");
  EXPECT_EQ(sogou.HeaderValues("Host"), Values{"sa.sogou.com"});
  EXPECT_EQ(sogou.body, "");

  Shorten(ShortenWithSina, kTrickyAddress);
  const RecordedRequest sina = LoopbackServers::Request(-1);
  EXPECT_EQ(sina.listener, "http:80");
  EXPECT_EQ(sina.requestLine, "GET /short_url/shorten.json?source=9046135281&url_long=" +
                                  kTrickyEncoded + " HTTP/1.1");
  EXPECT_EQ(sina.HeaderValues("Host"), Values{"api.t.sina.com.cn"});
  EXPECT_EQ(sina.body, "");
  EXPECT_EQ(LoopbackServers::RequestCount(), 4);
}

TEST_F(ProvidersTest, EmptyAddressIsSentAllTheSame) {
  LoopbackServers::Answer({.path = "/", .prefix = true, .body = "{}"});
  Shorten(ShortenWithBaidu, "");
  Shorten(ShortenWithSogou, "");
  Shorten(ShortenWithSina, "");
  ASSERT_EQ(LoopbackServers::RequestCount(), 4);
  EXPECT_EQ(LoopbackServers::Request(1).body, R"({"Url":"","TermOfValidity":"1-year"})");
  EXPECT_EQ(LoopbackServers::Request(2).requestLine, "GET /gettiny?url= HTTP/1.1");
  EXPECT_EQ(LoopbackServers::Request(3).requestLine,
            "GET /short_url/shorten.json?source=9046135281&url_long= HTTP/1.1");
}

// Answers as the services give them; the answers of a case are registered in order, and the newest
// matching one answers first.
TEST_F(ProvidersTest, ShowsWhatEachAnswerHolds) {
  const std::string baiduPath = "/admin/v2/create";
  const std::string sogouPath = "/gettiny?url=http%3A%2F%2Fa.cn%2F";
  const std::string sinaPath =
      "/short_url/shorten.json?source=9046135281&url_long=http%3A%2F%2Fa.cn%2F";
  const std::vector<std::pair<std::string, std::string>> json = {
      {"Content-Type", "application/json; charset=utf-8"}};
  struct {
    const char* name;
    Provider provider;
    std::vector<CannedAnswer> answers;
    Text shown;
  } cases[] = {
      {"Baidu: gzip answer with escaped slashes",
       ShortenWithBaidu,
       {{.path = baiduPath, .method = "POST", .headers = json,
         .body = R"({"Code":0,"ShortUrl":"https:\/\/dwz.cn\/Ab3xYz","LongUrl":"http:\/\/a.cn\/",)"
                 R"("ErrMsg":""})",
         .gzip = true}},
       "https://dwz.cn/Ab3xYz"},
      {"Baidu: \\u escapes become GBK",
       ShortenWithBaidu,
       {{.path = baiduPath, .headers = json,
         .body = R"({"Code":0,"ShortUrl":"https://dwz.cn/\u4e2d","LongUrl":"http://a.cn/"})"}},
       "https://dwz.cn/\xD6\xD0"},
      {"Baidu: only the second answer counts",
       ShortenWithBaidu,
       {{.path = baiduPath, .headers = json,
         .body = R"({"Code":0,"ShortUrl":"https://dwz.cn/second","LongUrl":"http://a.cn/"})"},
        {.path = baiduPath, .headers = json,
         .body = R"({"Code":0,"ShortUrl":"https://dwz.cn/first","LongUrl":"http://a.cn/"})",
         .times = 1}},
       "https://dwz.cn/second"},
      {"Baidu: second answer an error after a good first one",
       ShortenWithBaidu,
       {{.path = baiduPath, .status = 500, .reason = "Internal Server Error", .body = "busy"},
        {.path = baiduPath, .headers = json,
         .body = R"({"Code":0,"ShortUrl":"https://dwz.cn/first","LongUrl":"http://a.cn/"})",
         .times = 1}},
       ""},
      {"Baidu: refused token",
       ShortenWithBaidu,
       {{.path = baiduPath, .status = 401, .reason = "Unauthorized", .headers = json,
         .body = R"({"Code":-1,"ErrMsg":"token is invalid","LongUrl":"http://a.cn/"})"}},
       ""},
      {"Sogou: trailing line break kept",
       ShortenWithSogou,
       {{.path = sogouPath, .host = "sa.sogou.com", .body = "http://sa.sogou.com/Zx81\n"}},
       "http://sa.sogou.com/Zx81\n"},
      {"Sogou: an error page of any status is shown whole",
       ShortenWithSogou,
       {{.path = sogouPath, .status = 502, .reason = "Bad Gateway",
         .body = "<html>\r\n<h1>502</h1>\r\n</html>"}},
       "<html>\r\n<h1>502</h1>\r\n</html>"},
      {"Sina: JSON array",
       ShortenWithSina,
       {{.path = sinaPath, .host = "api.t.sina.com.cn", .headers = json,
         .body = R"([{"url_short":"http://t.cn/xyz","url_long":"http://a.cn/","type":0}])"}},
       "http://t.cn/xyz"},
      {"Sina: error answer without an address",
       ShortenWithSina,
       {{.path = sinaPath, .status = 400, .reason = "Bad Request", .headers = json,
         .body = R"({"error":"source paramter(appkey) is missing","error_code":10006})"}},
       ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    LoopbackServers::Reset();
    for (const CannedAnswer& answer : c.answers) LoopbackServers::Answer(answer);
    const Outcome outcome = Shorten(c.provider, "http://a.cn/");
    EXPECT_EQ(outcome.shown, std::vector<Text>{c.shown});
  }
}

}  // namespace
}  // namespace shortlink
