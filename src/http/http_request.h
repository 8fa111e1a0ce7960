// One complete, synchronous HTTP or HTTPS exchange through the platform's internet client
// (wininet.dll): the only place the program touches the network.
//
//   ByteSet page = HttpRequest("http://sa.sogou.com/gettiny?url=http://example.com/");
//
//   Text headers = "Content-Type: application/json";
//   ByteSet answer = HttpRequest("https://dwz.cn/admin/v2/create", 1, R"({"Url":"..."})", nullptr,
//                                nullptr, &headers);  // headers now holds the block that was sent
//
// A null pointer stands for an omitted parameter; an omitted in/out text behaves as the empty
// text. Only for `cookies` and `proxy` does it matter whether one was supplied: a non-null pointer
// counts as supplied, even to an empty text.
#pragma once

#include <string_view>

#include "http/request.h"  // kDefaultUserAgent
#include "text/text.h"

namespace shortlink {

// Sends the request and returns every body byte that came back, whatever the status code; the
// body arrives decoded when the answer was gzip or deflate encoded. Returns the empty ByteSet,
// touching no parameter, when the root, connection or request handle cannot be opened; a request
// that gets no answer (refused, unresolved) returns the empty ByteSet with the outputs below
// written as for an empty header block of 5000 spaces.
//
// url              address; "https" in any case as its first five bytes makes it HTTPS. Control
//                  bytes and spaces in it go out percent-encoded (host, object name, Referer).
// method           1: POST with a body; 0: GET without one; any other value: GET with a body.
// textBody         the body when `byteBody` is empty.
// cookies          in/out. When supplied, the platform's cookie store is off for this request, a
//                  non-empty text is sent as a Cookie line, and on return the text holds its merge
//                  with the received cookies (MergeCookies). Not supplied: the platform's store
//                  is used.
// receivedCookies  out: the cookies the answer set, "name=value" joined by "; " (without spaces
//                  when `cookies` was supplied).
// headers          in/out: extra request lines joined by CR LF. Missing Referer, Accept,
//                  Accept-Language and Content-Type lines (and the Cookie line) are appended to
//                  it, so it holds the block that was sent. A "User-Agent:" line in it also sets
//                  the agent.
// location         in/out: the value of the answer's last Location line; when there is none and
//                  it is empty, a copy of `rawHeaders`; a text already in it is kept.
// noRedirect       true: redirects are not followed and the redirect answer itself is returned.
// byteBody         in/out: the body as bytes; when a body is sent and it is empty, it receives
//                  the bytes of `textBody`.
// proxy            "host:port" of an HTTP proxy, passed on unchecked; supplied means proxy mode.
// rawHeaders       out: the answer's raw header block, lines ended by CR LF.
//
// When wininet.dll or one of its functions cannot be found, shows an error naming both and stops
// the program.
ByteSet HttpRequest(std::string_view url, int method = 0, std::string_view textBody = {},
                    Text* cookies = nullptr, Text* receivedCookies = nullptr,
                    Text* headers = nullptr, Text* location = nullptr, bool noRedirect = false,
                    ByteSet* byteBody = nullptr, const Text* proxy = nullptr,
                    Text* rawHeaders = nullptr);

}  // namespace shortlink
