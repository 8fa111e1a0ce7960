// Folding the cookies a response set into the cookie text a caller keeps between requests.
//
//   Text cookies = "a=1; b=2", received = "b=3; c=4";
//   MergeCookies(&cookies, &received);  // cookies == "b=3; c=4; a=1", received == "b=3;c=4"
#pragma once

#include <string_view>

#include "text/text.h"

namespace shortlink {

// Rewrites `cookies` as the received entries followed by the old entries whose names were not
// received, without "=deleted" entries and repeated entries, joined by "; "; `receivedCookies`
// loses its spaces. Returns a copy of the new `cookies`.
Text MergeCookies(Text* cookies, Text* receivedCookies);
// Returns the text before the entry's first '=' (the whole entry without one), trimmed.
[[nodiscard]] Text CookieName(std::string_view entry);
// Returns whether some entry's CookieName equals `name` exactly.
[[nodiscard]] bool HasCookieNamed(const TextList& entries, std::string_view name);
// Returns the items of `text` split at `separator`, each kept at its first occurrence, joined by
// `separator`.
[[nodiscard]] Text RemoveDuplicates(std::string_view text, std::string_view separator);
// Returns the position from 1 of the first member equal to `item`; -1 when there is none.
[[nodiscard]] int IndexOfItem(const TextList& list, std::string_view item);

}  // namespace shortlink
