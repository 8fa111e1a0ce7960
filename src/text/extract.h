// Cutting pieces out of a Text by literal markers.
//
//   TextBetween("a;k=v;b", "k=", ";")        == "v"
//   TextBefore("ab\"cd", "\"")               == "ab"
//   HeaderValue("Content-Type:  text/html ") == "text/html"
#pragma once

#include <string_view>

#include "text/text.h"

namespace shortlink {

// Stands for one double quote in the markers given to TextBetween.
inline constexpr std::string_view kQuotePlaceholder = "#\xD2\xFD\xBA\xC5";  // "#引号" in GBK

// Returns the text after the first `startMarker` (searched from `start`) up to the next
// `endMarker` after it; ASCII case is ignored unless `matchCase`. Empty when either marker is
// missing.
[[nodiscard]] Text TextBetween(std::string_view source, std::string_view startMarker,
                               std::string_view endMarker, int start = 0, bool matchCase = false);
// Returns everything in front of the first `marker` found from `start`, counted from position 1;
// exact unless `ignoreCase`. Empty when the marker is missing.
[[nodiscard]] Text TextBefore(std::string_view source, std::string_view marker, int start = 0,
                              bool ignoreCase = false);
// Returns the text after the line's first ':', without surrounding spaces; empty without a ':'.
[[nodiscard]] Text HeaderValue(std::string_view line);

}  // namespace shortlink
