// Host, port and object name of the addresses a request may be given, including the ones that
// would send it to the wrong host or path if the markers were searched anywhere in the text.
#include "http/url.h"

#include <gtest/gtest.h>

namespace shortlink {
namespace {

TEST(Url, TakesHostPortAndPathApart) {
  struct {
    const char* url;
    const char* host;
    int port;
    const char* path;
  } cases[] = {
      // Host lower-cased, path kept as written.
      {"HTTP://Example.COM/Path?Q=1", "example.com", 80, "/Path?Q=1"},
      {"https://example.com", "example.com", 443, "/"},
      {"https://example.com:8443", "example.com", 8443, "/"},
      {"example.com:8080/a", "example.com", 8080, "/a"},
      {"localhost:8080", "localhost", 8080, "/"},
      // Without a scheme, a text beginning with "https" still gets the TLS port.
      {"HTTPS.example.com/a", "https.example.com", 443, "/a"},
      // A scheme counts only at the start; one inside the query names no host and no port.
      {"example.com/?u=http://other.example/", "example.com", 80, "/?u=http://other.example/"},
      {"example.com/?u=https://other.example:444/", "example.com", 80,
       "/?u=https://other.example:444/"},
      // The host ends at a query or fragment that follows it directly; the path gets its "/".
      {"http://example.com?q=1", "example.com", 80, "/?q=1"},
      {"http://example.com:8080?q=1", "example.com", 8080, "/?q=1"},
      {"http://example.com#top", "example.com", 80, "/#top"},
      // User information is not host; '@' and ':' after the authority are path.
      {"http://user:pw@example.com/a", "example.com", 80, "/a"},
      {"http://user:p@ss@Example.com:81/a", "example.com", 81, "/a"},
      {"http://example.com/a@b:9", "example.com", 80, "/a@b:9"},
      {"http://example.com?to=a@b:9", "example.com", 80, "/?to=a@b:9"},
      // The path starts where the authority ends, wherever else the host's text occurs.
      {"http://p/x", "p", 80, "/x"},
      {"HTTP://Example.COM/HTTP://Example.COM/", "example.com", 80, "/HTTP://Example.COM/"},
      // A scheme this tool does not speak is skipped; the request goes over plain HTTP.
      {"ftp://example.com/", "example.com", 80, "/"},
      {"//example.com/a", "example.com", 80, "/a"},
      // A ':' with no port after it leaves the default; a port without digits reads as 0.
      {"example.com:/a", "example.com", 80, "/a"},
      {"https://example.com:/", "example.com", 443, "/"},
      {"http://example.com:abc/", "example.com", 0, "/"},
      // The port's ':' comes after the brackets of an IPv6 literal.
      {"http://[::1]:8080/a", "[::1]", 8080, "/a"},
      {"http://[::1]/", "[::1]", 80, "/"},
      // Two-byte characters: a second byte '@' is not user information, 'A' is not lowered.
      {"http://\xC4\x40\xC4\x41.cn/\xD6\xD0", "\xC4\x40\xC4\x41.cn", 80, "/\xD6\xD0"},
      // Nothing usable still gives a host, a port and a path.
      {"", "", 80, "/"},
      {"http://", "", 80, "/"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.url);
    EXPECT_EQ(UrlHost(c.url), c.host);
    EXPECT_EQ(UrlPort(c.url), c.port);
    EXPECT_EQ(UrlPath(c.url), c.path);
  }
}

TEST(UrlHost, KeepsPortAndCutsToMainDomainOnRequest) {
  struct {
    const char* url;
    bool mainDomainOnly;
    bool keepPort;
    const char* host;
  } cases[] = {
      {"http://shop.example.com/", true, false, "example.com"},
      {"http://localhost/", true, false, "localhost"},
      {"http://a.b.c:8080/", true, false, "b.c"},
      {"http://a.b.c:8080/", true, true, "b.c:8080"},
      {"http://a.b.c:8080/", false, true, "a.b.c:8080"},
      {"HTTP://User@Example.COM:8080/", false, true, "example.com:8080"},
      {"http://example.com/", false, true, "example.com"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.url << " main=" << c.mainDomainOnly
                                    << " keepPort=" << c.keepPort);
    EXPECT_EQ(UrlHost(c.url, c.mainDomainOnly, c.keepPort), c.host);
  }
}

}  // namespace
}  // namespace shortlink
