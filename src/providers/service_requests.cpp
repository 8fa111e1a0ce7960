#include "providers/service_requests.h"

#include "http/percent_encoding.h"
#include "text/extract.h"

namespace shortlink {
namespace {

bool IsUnreserved(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
         c == '.' || c == '_' || c == '~';
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Reads the four hex digits of a \uXXXX escape starting at `at` (just after "\u"); -1 when
// they are not four hex digits.
long ReadUnicodeEscape(std::string_view raw, size_t at) {
  if (raw.size() - at < 4) return -1;
  long value = 0;
  for (size_t i = at; i < at + 4; ++i) {
    const int digit = HexValue(raw[i]);
    if (digit < 0) return -1;
    value = value * 16 + digit;
  }
  return value;
}

char SimpleEscape(char c) {
  switch (c) {
    case '"': return '"';
    case '\\': return '\\';
    case '/': return '/';
    case 'b': return '\b';
    case 'f': return '\f';
    case 'n': return '\n';
    case 'r': return '\r';
    case 't': return '\t';
    default: return '\0';
  }
}

}  // namespace

std::string PercentEncode(std::string_view utf8) {
  return PercentEncodeWhere(utf8, [](unsigned char c) { return !IsUnreserved(c); });
}

std::string JsonEscape(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size() + 8);
  for (const unsigned char c : utf8) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\b': out += "\\b"; break;
      case '\f': out += "\\f"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (c < 0x20) {
          out += "\\u00";
          AppendHexByte(&out, c);
        } else {
          out += static_cast<char>(c);
        }
    }
  }
  return out;
}

Text BaiduRequestUrl() { return Concat({"https://", kBaiduHost, "/admin/v2/create"}); }

Text BaiduHeaders() {
  return Concat({
      "Accept: application/json, text/javascript, */*; q=0.01\r\n",
      "Origin: https://", kBaiduHost, "\r\n",
      "X-Requested-With: XMLHttpRequest\r\n",
      "User-Agent: Mozilla/5.0 (Windows NT 6.1; WOW64) AppleWebKit/537.36 (KHTML, like Gecko) "
      "Chrome/63.0.3239.26 Safari/537.36 Core/1.63.6788.400 QQBrowser/10.3.2864.400\r\n",
      "Token: ", kBaiduToken, "\r\n",
      "Content-Type: application/json; charset=UTF-8\r\n",
      "Referer: https://", kBaiduHost, "/\r\n",
      "Accept-Encoding: gzip, deflate, br\r\n",
      "Accept-Language: zh-CN,zh;q=0.9",
  });
}

std::string BaiduRequestBody(std::string_view longUrlUtf8) {
  return Concat({"{\"Url\":\"", JsonEscape(longUrlUtf8), "\",\"TermOfValidity\":\"1-year\"}"});
}

Text SogouRequestUrl(std::string_view encodedLongUrl) {
  return Concat({"http://", kSogouHost, "/gettiny?url=", encodedLongUrl});
}

Text SinaRequestUrl(std::string_view encodedLongUrl) {
  return Concat({"http://", kSinaHost, "/short_url/shorten.json?source=", kSinaAppKey,
                 "&url_long=", encodedLongUrl});
}

Text DecodeJsonString(std::string_view raw, const Utf16ToText& toText) {
  Text out;
  out.reserve(raw.size());
  std::u16string units;  // a run of \uXXXX escapes, converted together so surrogate pairs hold
  auto flushUnits = [&] {
    if (units.empty()) return;
    for (const char c : toText(units)) {
      if (c != '\0') out += c;
    }
    units.clear();
  };
  size_t i = 0;
  while (i < raw.size()) {
    if (raw[i] == '\\' && i + 1 < raw.size()) {
      if (raw[i + 1] == 'u') {
        const long unit = ReadUnicodeEscape(raw, i + 2);
        if (unit >= 0) {
          if (unit != 0) units += static_cast<char16_t>(unit);
          i += 6;
          continue;
        }
      } else if (const char decoded = SimpleEscape(raw[i + 1])) {
        flushUnits();
        out += decoded;
        i += 2;
        continue;
      }
    }
    flushUnits();
    out += raw[i];
    ++i;
  }
  flushUnits();
  return out;
}

Text BaiduShortLink(std::string_view answer, const Utf16ToText& toText) {
  return DecodeJsonString(
      TextBetween(answer, "{\"Code\":0,\"ShortUrl\":\"", "\",\"LongUrl\":\""), toText);
}

}  // namespace shortlink
