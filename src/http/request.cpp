#include "http/request.h"

#include "http/cookies.h"
#include "http/percent_encoding.h"
#include "http/url.h"
#include "text/extract.h"

namespace shortlink {

Text RequestVerb(int method) { return method == 1 ? "POST" : "GET"; }

Text RequestAgent(std::string_view headers) {
  if (Find(headers, "User-Agent:", 1, true) == -1) return Text(kDefaultUserAgent);
  Text agent = TrimSpaces(TextBetween(headers, "User-Agent:", "\r\n"));
  if (!agent.empty()) return agent;
  // The line is the last one (no CR LF after it) or blank: the first header value stands in.
  return HeaderValue(headers);
}

bool IsHttpsAddress(std::string_view url) { return ToLower(Left(url, 5)) == "https"; }

std::uint32_t RequestFlags(std::string_view url, bool cookiesSupplied, bool noRedirect) {
  std::uint32_t flags = kFlagReload | kFlagNeedFile;
  if (cookiesSupplied) flags |= kFlagNoCookies;
  if (noRedirect) flags |= kFlagNoAutoRedirect;
  flags |= IsHttpsAddress(url) ? kFlagSecure : kFlagIgnoreRedirectToHttps;
  return flags;
}

Text EscapeControlBytes(std::string_view url) {
  // A trail byte of a GBK pair is 0x40 or above and never 0x7F, so escaping byte by byte cannot
  // split a two-byte character.
  return PercentEncodeWhere(url, [](unsigned char byte) { return byte <= 0x20 || byte == 0x7F; });
}

Text RequestHostName(std::string_view url) { return EscapeControlBytes(UrlHost(url)); }

Text RequestObjectName(std::string_view url) { return EscapeControlBytes(UrlPath(url)); }

void CompleteHeaders(Text* headers, std::string_view url, std::string_view cookies) {
  if (Find(*headers, "Referer:") == -1) {
    *headers += headers->empty() ? "Referer: " : "\r\nReferer: ";
    *headers += EscapeControlBytes(url);
  }
  if (Find(*headers, "Accept:") == -1) *headers += "\r\nAccept: */*";
  if (Find(*headers, "Accept-Language:") == -1) *headers += "\r\nAccept-Language: zh-cn";
  if (Find(*headers, "Content-Type:") == -1) {
    *headers += "\r\nContent-Type: application/x-www-form-urlencoded";
  }
  if (!cookies.empty()) {
    *headers += "\r\nCookie: ";
    *headers += cookies;
  }
}

Text RawHeaderText(std::string_view buffer) { return Text(buffer.substr(0, buffer.find('\0'))); }

void ScanResponseHeaders(std::string_view rawHeaders, Text* location, Text* receivedCookies,
                         Text* cookies) {
  receivedCookies->clear();
  for (const Text& line : Split(rawHeaders, "\r\n")) {
    if (Find(line, "Location:") != -1) *location = HeaderValue(line);
    if (Find(line, "Set-Cookie") != -1) {
      *receivedCookies += TrimSpaces(TextBetween(line, "Set-Cookie:", ";"));
      *receivedCookies += "; ";
    }
  }
  if (!receivedCookies->empty()) receivedCookies->resize(receivedCookies->size() - 2);
  if (cookies != nullptr) MergeCookies(cookies, receivedCookies);
  if (location->empty()) *location = Text(rawHeaders);
}

}  // namespace shortlink
