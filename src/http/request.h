// What an HTTP request sends and what its answer's header block yields, decided without the
// network: the verb, the agent, the request flag word, the completed header block and object name,
// and the scan of the raw response headers. The WinINet exchange (http_request.h) is built on these.
//
//   Text headers;
//   CompleteHeaders(&headers, "http://a.cn/x y", "");
//   // headers == "Referer: http://a.cn/x%20y\r\nAccept: */*\r\nAccept-Language: zh-cn\r\n"
//   //            "Content-Type: application/x-www-form-urlencoded"
#pragma once

#include <cstdint>
#include <string_view>

#include "text/text.h"

namespace shortlink {

// The agent sent when the caller's header text names none.
inline constexpr std::string_view kDefaultUserAgent =
    "Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1; K7QXZ; .NET CLR 2.0.50727; "
    ".NET CLR 3.0.04506.648; .NET CLR 3.5.21022)";

// The body is read in blocks of this many bytes.
inline constexpr int kReadBlockSize = 1024;
// First size of the buffer the raw response header block is asked into; a larger block is asked
// for again at the size the platform reports.
inline constexpr int kRawHeaderBufferSize = 5000;

// WinINet request flags, by their platform values, so the word can be built and tested anywhere.
inline constexpr std::uint32_t kFlagReload = 0x80000000;
inline constexpr std::uint32_t kFlagNeedFile = 0x10;
inline constexpr std::uint32_t kFlagNoCookies = 0x80000;
inline constexpr std::uint32_t kFlagNoAutoRedirect = 0x200000;
inline constexpr std::uint32_t kFlagSecure = 0x800000;
inline constexpr std::uint32_t kFlagIgnoreRedirectToHttps = 0x4000;

// Returns "POST" for method 1 and "GET" for every other value.
[[nodiscard]] Text RequestVerb(int method);

// Returns the agent for the root handle: kDefaultUserAgent when `headers` has no "User-Agent:"
// (any ASCII case); otherwise the trimmed value up to the next CR LF, or, when that is empty, the
// trimmed text after the first ':' of the whole header text. Empty means "pass no agent".
[[nodiscard]] Text RequestAgent(std::string_view headers);

// Returns whether the address counts as https: its first five bytes are "https" in any case,
// with or without a scheme after them.
[[nodiscard]] bool IsHttpsAddress(std::string_view url);

// Returns the request flag word: reload and need-file always; no-cookies when the caller keeps
// the cookies; no-auto-redirect when asked; secure for https, else ignore-redirect-to-https.
// A plain http request gives 0x80004010, a plain https request 0x80800010.
[[nodiscard]] std::uint32_t RequestFlags(std::string_view url, bool cookiesSupplied,
                                         bool noRedirect);

// Returns the text with every control byte (0x01-0x1F, 0x7F) and every ASCII space written as
// %XX with upper-case hex digits, so that an address can never break a header line or the
// request line. Other bytes, '%' included, are kept as they are.
[[nodiscard]] Text EscapeControlBytes(std::string_view url);

// Returns the host name to connect to (UrlHost) with control bytes and spaces escaped: in proxy
// mode the platform writes it into the request line and the Host line.
[[nodiscard]] Text RequestHostName(std::string_view url);

// Returns the object name of the request line: the address's path, query and fragment (from
// UrlPath) with control bytes and spaces escaped; "/" when the address has no path.
[[nodiscard]] Text RequestObjectName(std::string_view url);

// Appends to `headers`, each only when its key is missing (exact case, anywhere in the text), the
// lines "Referer: <url>", "Accept: */*", "Accept-Language: zh-cn" and "Content-Type:
// application/x-www-form-urlencoded", then "Cookie: <cookies>" when `cookies` is not empty. Lines
// are joined by CR LF with none after the last; the address in the Referer line is escaped as by
// EscapeControlBytes.
void CompleteHeaders(Text* headers, std::string_view url, std::string_view cookies);

// Returns the raw header block held in a buffer the platform wrote: the bytes before the first
// zero byte, all of them when there is none.
[[nodiscard]] Text RawHeaderText(std::string_view buffer);

// Reads a raw response header block (lines ended by CR LF):
// - `location` becomes the trimmed value after the first ':' of the last line that contains
//   "Location:" (a "Content-Location:" line counts); when no line does and `location` is still
//   empty, it becomes a copy of `rawHeaders`. A text already in `location` is never cleared.
// - `receivedCookies` becomes the entries of the lines containing "Set-Cookie", each the trimmed
//   text between "Set-Cookie:" and the next ';' (empty when either is missing), joined by "; ".
// - when `cookies` is not null (the caller keeps its cookies), the received entries are merged
//   into it by MergeCookies, which also removes the spaces from `receivedCookies`.
void ScanResponseHeaders(std::string_view rawHeaders, Text* location, Text* receivedCookies,
                         Text* cookies);

}  // namespace shortlink
