// Taking an address apart for the connection: host, port and object name.
//
//   UrlHost("HTTP://Example.COM:8080/Path?Q=1") == "example.com"
//   UrlPort("HTTP://Example.COM:8080/Path?Q=1") == 8080
//   UrlPath("HTTP://Example.COM:8080/Path?Q=1") == "/Path?Q=1"
//
// They never fail: every text gives a host, a port and a path.
#pragma once

#include <string_view>

#include "text/text.h"

namespace shortlink {

// Returns the host in lower case: without its port unless `keepPort`, only the last two labels
// when `mainDomainOnly`. A scheme ("name://" or a bare "//") counts only at the start; user
// information is dropped. Empty when the address names no host.
[[nodiscard]] Text UrlHost(std::string_view url, bool mainDomainOnly = false, bool keepPort = false);
// Returns the port written after the host (its leading digits, 0 without any), else 443 when the
// address begins with "https" in any case, else 80.
[[nodiscard]] int UrlPort(std::string_view url);
// Returns the object name: from the first "/", "?" or "#" after the authority to the end, with a
// "/" put in front of a bare query or fragment; "/" when there is none.
[[nodiscard]] Text UrlPath(std::string_view url);

}  // namespace shortlink
