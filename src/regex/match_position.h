// Turning the regular-expression component's character index of a match into a byte offset in
// the GBK subject. The component counts UTF-16 units, one per character, so the byte offset is
// never smaller than the index; the match text is searched for from there on.
//
//   MatchBytePosition("\xD6\xD0" "a" "\xD6\xD0" "a", "a", 3, false) == 5   // 中a中a, second "a"
#pragma once

#include <string_view>

namespace shortlink {

// Returns the 0-based byte offset of the first occurrence of `found` in `subject` that begins at
// a character start (characters counted from the subject's first byte) at or after byte offset
// `charIndex`; ASCII case is ignored when `ignoreCase`. So after two-byte characters it can name
// an earlier copy of the same text than the match itself. An empty `found` is found where the
// search begins. -1 when there is none or `charIndex` lies past the subject's end.
[[nodiscard]] int MatchBytePosition(std::string_view subject, std::string_view found,
                                    int charIndex, bool ignoreCase);

}  // namespace shortlink
