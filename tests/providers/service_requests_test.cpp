#include "providers/service_requests.h"

#include <gtest/gtest.h>

namespace shortlink {
namespace {

TEST(PercentEncode, KeepsOnlyUnreservedBytes) {
  struct {
    std::string in, out;
  } cases[] = {
      {"", ""},
      {"AZaz09-._~", "AZaz09-._~"},
      {"http://a.example/?x=1&y=2#f", "http%3A%2F%2Fa.example%2F%3Fx%3D1%26y%3D2%23f"},
      {"a b%c\"", "a%20b%25c%22"},
      {"\xE4\xB8\xAD", "%E4%B8%AD"},  // 中 in UTF-8, upper-case hex
      {"\r\n", "%0D%0A"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.in);
    EXPECT_EQ(PercentEncode(c.in), c.out);
  }
}

TEST(BaiduRequest, BodyIsValidJsonForAnyAddress) {
  EXPECT_EQ(BaiduRequestBody(""), R"({"Url":"","TermOfValidity":"1-year"})");
  EXPECT_EQ(BaiduRequestBody("http://a/?q=\"x\"\\y\n\x01\xE4\xB8\xAD"),
            R"({"Url":"http://a/?q=\"x\"\\y\n\u0001)"
            "\xE4\xB8\xAD"
            R"(","TermOfValidity":"1-year"})");
}

TEST(BaiduRequest, HeaderBlockHasNineLinesAndNoTrailingBreak) {
  const Text headers = BaiduHeaders();
  EXPECT_EQ(Split(headers, "\r\n").size(), 9u);
  EXPECT_EQ(headers.substr(0, 8), "Accept: ");
  EXPECT_NE(headers.find("\r\nOrigin: https://dwz.cn\r\n"), Text::npos);
  EXPECT_NE(headers.find("\r\nReferer: https://dwz.cn/\r\n"), Text::npos);
  EXPECT_NE(headers.find("\r\nToken: 5c0e9a3f71d4b86e20f9c7a1d35b4e08\r\n"), Text::npos);
  EXPECT_EQ(headers.substr(headers.size() - 31), "Accept-Language: zh-CN,zh;q=0.9");
  EXPECT_EQ(BaiduRequestUrl(), "https://dwz.cn/admin/v2/create");
}

TEST(RequestUrls, AppendTheEncodedAddressAsTheLastValue) {
  EXPECT_EQ(SogouRequestUrl("a%26b"), "http://sa.sogou.com/gettiny?url=a%26b");
  EXPECT_EQ(SinaRequestUrl(""),
            "http://api.t.sina.com.cn/short_url/shorten.json?source=9046135281&url_long=");
}

// Stands in for the code page 936 conversion: marks each code unit so the test sees the runs.
Text FakeToText(std::u16string_view units) {
  Text out = "<";
  for (const char16_t u : units) out += std::to_string(static_cast<int>(u)) + ",";
  return out + ">";
}

TEST(DecodeJsonString, DecodesEscapesAndKeepsTheRest) {
  struct {
    std::string raw, decoded;
  } cases[] = {
      {"", ""},
      {R"(https:\/\/dwz.cn\/abc)", "https://dwz.cn/abc"},
      {R"(\"\\\b\f\n\r\t)", "\"\\\b\f\n\r\t"},
      {R"(a\u4e2D\u6587b)", "a<20013,25991,>b"},  // one run, so surrogate pairs convert whole
      {R"(\u0041\/\u0042)", "<65,>/<66,>"},
      {R"(\u0000x)", "x"},             // a decoded zero never enters a Text
      {R"(\x \u12 \u12G4 end\)", R"(\x \u12 \u12G4 end\)"},  // malformed escapes stay literal
      {"\xE4\xB8\xAD", "\xE4\xB8\xAD"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.raw);
    EXPECT_EQ(DecodeJsonString(c.raw, FakeToText), c.decoded);
  }
}

TEST(BaiduShortLink, CutsBetweenTheMarkersThenDecodes) {
  struct {
    std::string answer, link;
  } cases[] = {
      {R"({"Code":0,"ShortUrl":"https:\/\/dwz.cn\/x1","LongUrl":"http:\/\/a\/"})",
       "https://dwz.cn/x1"},
      {R"({"code":0,"shorturl":"https://dwz.cn/x2","longurl":"u"})", "https://dwz.cn/x2"},
      {R"({"Code":-1,"ErrMsg":"bad"})", ""},
      {R"({ "Code":0,"ShortUrl":"https://dwz.cn/x3","LongUrl":""})", ""},
      {R"({"Code":0,"ShortUrl":"https://dwz.cn/x4","Other":1,"LongUrl":""})", ""},
      {"", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.answer);
    EXPECT_EQ(BaiduShortLink(c.answer, FakeToText), c.link);
  }
}

}  // namespace
}  // namespace shortlink
