// What the three short-link services are sent and how their answers are read, without any network:
// the request addresses, the Baidu header block and JSON body, and the Baidu answer's short link.
//
//   SogouRequestUrl(PercentEncode("http://a.example/?x=1&y=2"))
//     == "http://sa.sogou.com/gettiny?url=http%3A%2F%2Fa.example%2F%3Fx%3D1%26y%3D2"
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "text/text.h"

namespace shortlink {

inline constexpr std::string_view kBaiduHost = "dwz.cn";
inline constexpr std::string_view kSogouHost = "sa.sogou.com";
inline constexpr std::string_view kSinaHost = "api.t.sina.com.cn";
inline constexpr std::string_view kBaiduToken = "5c0e9a3f71d4b86e20f9c7a1d35b4e08";
inline constexpr std::string_view kSinaAppKey = "9046135281";
// The first web address in a Sina answer; A-z also takes in [ \ ] ^ _ `.
inline constexpr std::string_view kSinaPattern = "[a-zA-z]+://[^\\s]*";

// Returns `utf8` with every byte outside the unreserved set (letters, digits, - . _ ~) written as
// %XX in upper-case hex, fit to stand as one query value.
[[nodiscard]] std::string PercentEncode(std::string_view utf8);
// Returns `utf8` with quote, backslash and control characters escaped for a JSON string.
[[nodiscard]] std::string JsonEscape(std::string_view utf8);

// Returns the Baidu service's address, fixed.
[[nodiscard]] Text BaiduRequestUrl();
// Returns the nine header lines of the Baidu request joined by CR LF, without a final CR LF.
[[nodiscard]] Text BaiduHeaders();
// Returns the JSON body asking Baidu to shorten `longUrlUtf8`.
[[nodiscard]] std::string BaiduRequestBody(std::string_view longUrlUtf8);
// Returns the Sogou request address for an already percent-encoded long address.
[[nodiscard]] Text SogouRequestUrl(std::string_view encodedLongUrl);
// Returns the Sina request address for an already percent-encoded long address.
[[nodiscard]] Text SinaRequestUrl(std::string_view encodedLongUrl);

// Turns a run of UTF-16 code units from \uXXXX escapes into GBK.
using Utf16ToText = std::function<Text(std::u16string_view)>;

// Returns the JSON string value `raw` with its escapes decoded: \/ \" \\ \b \f \n \r \t, and runs of
// \uXXXX through `toText`. Other bytes are kept as they are; an escape that is not well formed is
// kept literally; a decoded zero is dropped, so the result is a valid Text.
[[nodiscard]] Text DecodeJsonString(std::string_view raw, const Utf16ToText& toText);
// Returns the short link of a Baidu answer: the text between the "ShortUrl" and "LongUrl" markers
// (ASCII case ignored), decoded as a JSON string; empty when either marker is missing.
[[nodiscard]] Text BaiduShortLink(std::string_view answer, const Utf16ToText& toText);

}  // namespace shortlink
