#include "regex/match_position.h"

#include <gtest/gtest.h>

#include <string>

namespace shortlink {
namespace {

#define ZHONG "\xD6\xD0"  // 中 in GBK

TEST(MatchBytePosition, TurnsCharacterIndexIntoByteOffset) {
  struct {
    const char* name;
    std::string subject;
    std::string found;
    int charIndex;
    bool ignoreCase;
    int expected;
  } cases[] = {
      {"single-byte subject", "see http://x now", "http://x", 4, false, 4},
      {"after two-byte characters", ZHONG "a" ZHONG "a", "a", 3, false, 5},
      // Index 1 is the second byte of 中: a search begun there would pair it with the first "b".
      {"index on a second byte", ZHONG "bb", "bb", 1, false, 2},
      {"second byte that looks like a letter", ZHONG "\xC4" "a" "a", "a", 1, false, 4},
      {"an earlier copy wins", ZHONG ZHONG "a a", "a", 4, false, 4},
      {"case ignored on request", ZHONG "AB", "ab", 1, true, 2},
      {"exact otherwise", ZHONG "AB", "ab", 1, false, -1},
      {"text not there", "abc", "x", 0, false, -1},
      {"empty text at the search start", ZHONG "ab", "", 1, false, 2},
      {"empty text at the end", "ab", "", 2, false, 2},
      {"index past the end", "ab", "", 3, false, -1},
      {"unpaired lead byte at the end", "a\xD6", "", 2, false, -1},
      {"negative index searches all", "ab", "a", -3, false, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(MatchBytePosition(c.subject, c.found, c.charIndex, c.ignoreCase), c.expected);
  }
}

}  // namespace
}  // namespace shortlink
