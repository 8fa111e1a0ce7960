#include "providers/providers.h"

#include "http/http_request.h"
#include "providers/service_requests.h"
#include "regex/regex_object.h"
#include "text/extract.h"
#include "text/gbk.h"

namespace shortlink {
namespace {

Text Utf16ToGbk(std::u16string_view units) {
  // wchar_t is UTF-16 on Windows, the only platform this file is built for.
  static_assert(sizeof(wchar_t) == sizeof(char16_t));
  return WideToGbk(std::wstring_view(reinterpret_cast<const wchar_t*>(units.data()), units.size()));
}

// The long address as a query value: GBK to UTF-8, then percent-encoded, so '&', '#', '%', spaces
// and Chinese characters reach the service as part of the address.
Text EncodedLongUrl(const ProviderIo& io) { return PercentEncode(GbkToUtf8(io.readLongUrl())); }

Text AskBaidu(const ProviderIo& io) {
  Text headers = BaiduHeaders();
  const std::string body = BaiduRequestBody(GbkToUtf8(io.readLongUrl()));
  return BytesToText(HttpRequest(BaiduRequestUrl(), 1, body, nullptr, nullptr, &headers));
}

}  // namespace

void ShortenWithBaidu(const ProviderIo& io) {
  // The same request goes out twice; the first answer is dropped unread and only the second
  // one is shown.
  (void)AskBaidu(io);
  const Text answer = AskBaidu(io);
  io.showResult(BaiduShortLink(answer, Utf16ToGbk));
}

void ShortenWithSogou(const ProviderIo& io) {
  io.showResult(BytesToText(HttpRequest(SogouRequestUrl(EncodedLongUrl(io)))));
}

void ShortenWithSina(const ProviderIo& io) {
  RegexObject regex;
  const Text answer = BytesToText(HttpRequest(SinaRequestUrl(EncodedLongUrl(io))));
  regex.Create(kSinaPattern, answer);
  io.showResult(TextBefore(regex.MatchText(1), "\""));
}

}  // namespace shortlink
