#include "http/url.h"

#include "text/text.h"

namespace shortlink {
namespace {

// The address cut into the pieces the three routines hand out.
struct UrlParts {
  Text host;        // lower case, without user information and port
  Text portSuffix;  // ":" and the port as written, lower case; empty when no ":" follows the host
  Text path;        // from the end of the authority to the end, as written; may be empty
};

[[nodiscard]] bool IsSchemeCharacter(char c, bool first) {
  const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
  if (first) return letter;
  return letter || (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.';
}

// Returns the length of a leading "scheme://" or "//"; 0 when the address begins with neither.
// Only the start counts: "://" further on belongs to a path or query, as in
// "example.com/?u=http://other.example/".
[[nodiscard]] int SchemeLength(std::string_view url) {
  std::size_t i = 0;
  while (i < url.size() && IsSchemeCharacter(url[i], i == 0)) ++i;
  if (url.substr(i, 3) == "://") return static_cast<int>(i) + 3;
  if (url.substr(0, 2) == "//") return 2;
  return 0;
}

// Returns the position of the last `c` at a character start of `text`; -1 when there is none.
// Unlike FindLast it never stops on the second byte of a two-byte character, which may be '@'.
[[nodiscard]] int FindLastCharacter(std::string_view text, std::string_view c) {
  int last = -1;
  for (int p = Find(text, c); p != -1; p = Find(text, c, p + 1)) last = p;
  return last;
}

[[nodiscard]] UrlParts SplitUrl(std::string_view url) {
  const int authorityStart = SchemeLength(url) + 1;
  // The authority ends at the first "/", "?" or "#"; a query or fragment may follow it directly.
  int authorityEnd = TextLength(url) + 1;
  for (std::string_view marker : {"/", "?", "#"}) {
    const int p = Find(url, marker, authorityStart);
    if (p != -1 && p < authorityEnd) authorityEnd = p;
  }
  const std::string_view authority =
      url.substr(authorityStart - 1, authorityEnd - authorityStart);

  UrlParts parts;
  parts.path = Mid(url, authorityEnd, TextLength(url));
  // User information ends at the last '@', so a password holding '@' stays out of the host.
  const int at = FindLastCharacter(authority, "@");
  const Text hostAndPort = ToLower(at == -1 ? authority : authority.substr(at));
  // The port's ':' follows the closing ']' of a bracketed IPv6 literal; elsewhere it is the first.
  const int bracket = hostAndPort.starts_with('[') ? Find(hostAndPort, "]") : -1;
  const int colon = Find(hostAndPort, ":", bracket == -1 ? 1 : bracket + 1);
  if (colon == -1) {
    parts.host = hostAndPort;
  } else {
    parts.host = Left(hostAndPort, colon - 1);
    parts.portSuffix = Mid(hostAndPort, colon, TextLength(hostAndPort));
  }
  return parts;
}

// Returns the last two labels of `host` joined by "."; the host itself when it has one label.
[[nodiscard]] Text MainDomain(const Text& host) {
  const TextList labels = Split(host, ".");
  const int count = MemberCount(labels);
  if (count <= 1) return host;
  return Concat({Member(labels, count - 1), ".", Member(labels, count)});
}

}  // namespace

Text UrlHost(std::string_view url, bool mainDomainOnly, bool keepPort) {
  UrlParts parts = SplitUrl(url);
  Text host = mainDomainOnly ? MainDomain(parts.host) : std::move(parts.host);
  if (keepPort) host += parts.portSuffix;
  return host;
}

int UrlPort(std::string_view url) {
  const UrlParts parts = SplitUrl(url);
  // A ':' with nothing after it names no port, so the default applies.
  if (TextLength(parts.portSuffix) > 1) return ToInteger(Mid(parts.portSuffix, 2, TextLength(url)));
  return ToLower(Left(url, 5)) == "https" ? 443 : 80;
}

Text UrlPath(std::string_view url) {
  const Text path = SplitUrl(url).path;
  if (path.empty()) return "/";
  if (path.starts_with('/')) return path;
  return Concat({"/", path});
}

}  // namespace shortlink
