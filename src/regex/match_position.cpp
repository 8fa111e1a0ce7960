#include "regex/match_position.h"

#include "text/text.h"

namespace shortlink {

int MatchBytePosition(std::string_view subject, std::string_view found, int charIndex,
                      bool ignoreCase) {
  // The index can fall on the second byte of a two-byte character, and a search begun there
  // would pair that byte with the next one and step over a match right behind it. So the search
  // begins at the first character start at or after the index, found by walking from the start.
  const std::size_t index = charIndex < 0 ? 0 : static_cast<std::size_t>(charIndex);
  std::size_t start = 0;
  while (start < index && start < subject.size()) {
    start += static_cast<unsigned char>(subject[start]) >= 0x80 ? 2 : 1;
  }
  if (start < index || start > subject.size()) return -1;
  if (found.empty()) return static_cast<int>(start);
  const int at = Find(subject, found, static_cast<int>(start) + 1, ignoreCase);
  return at < 0 ? -1 : at - 1;
}

}  // namespace shortlink
