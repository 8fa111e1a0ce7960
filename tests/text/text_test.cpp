// The text primitives: positions from 1, -1 for nothing found, and the two-byte stepping that
// keeps searches and walks off the second byte of a GBK character.
#include "text/text.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <random>

namespace shortlink {
namespace {

std::string Shown(std::string_view text) { return testing::PrintToString(std::string(text)); }

TEST(Find, HonoursStartPositionsCaseAndTwoByteStepping) {
  struct {
    std::string text, sought;
    int start;
    bool ignoreCase;
    int expected;
  } cases[] = {
      {"abc", "c", 3, false, 3},
      {"abc", "c", 4, false, -1},
      {"abc", "c", 0, false, 3},
      {"abc", "c", 1, false, 3},
      {"abc", "c", -5, false, 3},
      {"abc", "", 0, false, 1},
      {"abc", "", 3, false, 1},  // 1 even though the region begins later
      {"abc", "", 4, false, -1},
      {"", "", 0, false, -1},
      {"", "a", 0, false, -1},
      {"ab", "abc", 0, false, -1},
      {"\xB0" "BB", "B", 0, false, 3},           // the first B is a second byte
      {"\xB0\xB0\xB0" "B", "B", 0, false, -1},   // odd run of lead bytes: B is a second byte
      {"\xB0\xB0\xB0\xB0" "B", "B", 0, false, 5},
      {"a\xB0" "BB", "B", 0, false, 4},
      {"a\xB0" "BB", "B", 3, false, 3},  // counted from the start, the second byte is a character
      // From a start on a second byte, characters are counted from that byte.
      {"\xB0\xB1\xB2" "B", "\xB2" "B", 1, false, 3},
      {"\xB0\xB1\xB2" "B", "\xB2" "B", 2, false, -1},
      {"ab\xB0", "\xB0", 0, false, 3},  // unpaired lead byte at the end
      {"user-agent: x", "User-Agent:", 0, true, 1},
      {"user-agent: x", "User-Agent:", 0, false, -1},
      {"x\xB0" "a", "\xB0" "A", 0, true, 2},  // folding reaches second bytes too
      {"\xB0" "a", "A", 0, true, -1},
      {"`{", "@[", 0, true, -1},  // only A-Z fold, not the bytes next to them
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Shown(c.text) + " / " + Shown(c.sought) + " from " + std::to_string(c.start));
    EXPECT_EQ(Find(c.text, c.sought, c.start, c.ignoreCase), c.expected);
  }
}

TEST(FindLast, FindsOverlappingOccurrencesAtCharacterStarts) {
  struct {
    std::string text, sought;
    int expected;
  } cases[] = {
      {"aaa", "aa", 2},
      {"abcabc", "abc", 4},
      {"abc", "x", -1},
      {"abc", "", 1},
      {"", "", -1},
      {"\xB0" "BB", "B", 3},
      {"a\xB0" "a", "a", 1},  // the second "a" is a second byte
      {"AbC", "c", -1},       // exact
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Shown(c.text) + " / " + Shown(c.sought));
    EXPECT_EQ(FindLast(c.text, c.sought), c.expected);
  }
}

TEST(CutByCount, IgnoresCharactersAndClampsCounts) {
  EXPECT_EQ(Left("abc", 0), "");
  EXPECT_EQ(Left("abc", -1), "");
  EXPECT_EQ(Left("abc", 5), "abc");
  EXPECT_EQ(Left("\xB0\xB1" "c", 1), "\xB0");  // cuts a two-byte character in two
  EXPECT_EQ(Right("abc", 5), "abc");
  EXPECT_EQ(Right("abc", 2), "bc");
  EXPECT_EQ(Right("abc", -1), "");
  EXPECT_EQ(Mid("abc", 3, 5), "c");
  EXPECT_EQ(Mid("abc", 2, 1), "b");
  EXPECT_EQ(Mid("abc", 4, 1), "");
  EXPECT_EQ(Mid("abc", 0, 2), "");
  EXPECT_EQ(Mid("abc", 1, 0), "");
  EXPECT_EQ(Mid("abc", 2, 2147483647), "bc");
}

TEST(ToLower, FoldsOnlySingleByteLetters) {
  EXPECT_EQ(ToLower("AbC-Z@["), "abc-z@[");
  EXPECT_EQ(ToLower("\xB0" "AB"), "\xB0" "Ab");  // A is the second byte
  EXPECT_EQ(ToLower("A\xB0"), "a\xB0");
  EXPECT_EQ(ToLower(""), "");
}

TEST(ToInteger, ReadsLeadingDecimalWithFullWidthFormsAndWraps) {
  struct {
    std::string text;
    int expected;
  } cases[] = {
      {" 80", 80},
      {"80abc", 80},
      {"\xA3\xB8\xA3\xB0", 80},  // full-width 8 0
      {"+7", 7},
      {"-7", -7},
      {"\xA3\xAD" "7", -7},          // full-width minus
      {"\xA3\xAB\xA3\xB7", 7},       // full-width plus and seven
      {"\t\r\n\v\f \xA1\xA1" "12", 12},
      {"abc", 0},
      {"", 0},
      {"0x1F", 0},
      {"- 7", 0},
      {"+-7", 0},
      {"\xA3", 0},  // unpaired lead byte
      {"2147483647", 2147483647},
      {"2147483648", -2147483647 - 1},
      {"-2147483648", -2147483647 - 1},
      {"4294967297", 1},
      {"99999999999", 1215752191},  // 99999999999 mod 2^32
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Shown(c.text));
    EXPECT_EQ(ToInteger(c.text), c.expected);
  }
}

TEST(Spaces, TrimAndRemoveTakeOnlyTheTwoSpaceCharacters) {
  struct {
    std::string text, trimmed, removed;
  } cases[] = {
      {"", "", ""},
      {"  a b  ", "a b", "ab"},
      {"\xA1\xA1" "a\xA1\xA1", "a", "a"},
      {"a b\xA1\xA1" "c", "a b\xA1\xA1" "c", "abc"},
      {"\ta \r\n", "\ta \r\n", "\ta\r\n"},  // tab, CR and LF are not spaces
      {" \xA1\xA1 ", "", ""},
      {"\xB0\xA1\xA1 ", "\xB0\xA1\xA1 ", "\xB0\xA1\xA1 "},  // pairs B0 A1 and A1 20: no space
      {"a \xB0", "a ", "a"},      // unpaired lead byte dropped; spaces before it stay in Trim
      {" \xA1\xA1\xA1", "", ""},  // a space pair, then an unpaired lead byte
      {"\xB0 a", "\xB0 a", "\xB0 a"},  // 0xB0 0x20 is one character, not a space
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Shown(c.text));
    EXPECT_EQ(TrimSpaces(c.text), c.trimmed);
    EXPECT_EQ(RemoveSpaces(c.text), c.removed);
  }
}

TEST(ReplaceAll, ReplacesNonOverlappingOccurrencesAtCharacterStarts) {
  struct {
    std::string text, sought, replacement, expected;
  } cases[] = {
      {"x#\xD2\xFD\xBA\xC5" "y#\xD2\xFD\xBA\xC5", "#\xD2\xFD\xBA\xC5", "\"", "x\"y\""},
      {"aaa", "aa", "b", "ba"},
      {"aba", "a", "aa", "aabaa"},  // a replacement is not searched again
      {"", "a", "b", ""},
      {"abc", "", "x", "abc"},
      {"abc", "c", "", "ab"},
      {"\xB0" "aa", "a", "b", "\xB0" "ab"},
      {"ab\xB0", "a", "x", "xb"},     // one-byte sought: the walk drops the unpaired lead byte
      {"ab\xB0", "\xB0", "x", "abx"},  // ... unless it is the sought byte
      {"ab\xB0", "bc", "x", "ab\xB0"},  // longer sought: remaining bytes kept unchanged
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Shown(c.text) + " / " + Shown(c.sought));
    EXPECT_EQ(ReplaceAll(c.text, c.sought, c.replacement), c.expected);
  }
}

TEST(Split, KeepsEmptyPiecesButNoTrailingEmptyMember) {
  struct {
    std::string text, delimiter;
    TextList expected;
  } cases[] = {
      {"a;b", ";", {"a", "b"}},
      {"a;;b", ";", {"a", "", "b"}},
      {";a", ";", {"", "a"}},
      {"a;", ";", {"a"}},
      {";", ";", {""}},
      {"ab", ";", {"ab"}},
      {"", ";", {}},
      {"a\r\nb\r\n", "\r\n", {"a", "b"}},
      {"\xB0;;x", ";", {"\xB0;", "x"}},  // the first ';' is a second byte
      {"a;b", "", {"a;b"}},
      {"", "", {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Shown(c.text) + " / " + Shown(c.delimiter));
    EXPECT_EQ(Split(c.text, c.delimiter), c.expected);
  }
}

// The searches and walks above skip ahead with a plain byte search and check only its hits. This
// compares them with the literal walk, one candidate character at a time, over many short texts
// dense in lead bytes, letters and delimiters, where a slip in the stepping would show.
namespace literal {

bool MatchesAt(std::string_view text, std::size_t at, std::string_view sought, bool ignoreCase) {
  if (at + sought.size() > text.size()) return false;
  for (std::size_t k = 0; k < sought.size(); ++k) {
    unsigned char a = text[at + k], b = sought[k];
    if (ignoreCase && a >= 'A' && a <= 'Z') a += 32;
    if (ignoreCase && b >= 'A' && b <= 'Z') b += 32;
    if (a != b) return false;
  }
  return true;
}

std::size_t Width(std::string_view text, std::size_t at) {
  return static_cast<unsigned char>(text[at]) >= 0x80 ? 2 : 1;
}

int Find(std::string_view text, std::string_view sought, int start, bool ignoreCase) {
  std::size_t at = start <= 1 ? 0 : start - 1;
  if (at >= text.size()) return -1;
  if (sought.empty()) return 1;
  for (; at + sought.size() <= text.size(); at += Width(text, at)) {
    if (MatchesAt(text, at, sought, ignoreCase)) return static_cast<int>(at + 1);
  }
  return -1;
}

int FindLast(std::string_view text, std::string_view sought) {
  int last = -1;
  for (std::size_t at = 0; at < text.size(); at += Width(text, at)) {
    if (MatchesAt(text, at, sought, false)) last = static_cast<int>(at + 1);
  }
  return last;
}

Text ReplaceAll(std::string_view text, std::string_view sought, std::string_view replacement) {
  if (text.empty() || sought.empty()) return Text(text);
  Text result;
  std::size_t at = 0;
  while (at < text.size()) {
    if (text.size() - at < sought.size()) {
      result += text.substr(at);
      break;
    }
    if (MatchesAt(text, at, sought, false)) {
      result += replacement;
      at += sought.size();
    } else if (at + Width(text, at) > text.size()) {
      break;
    } else {
      result += text.substr(at, Width(text, at));
      at += Width(text, at);
    }
  }
  return result;
}

TextList Split(std::string_view text, std::string_view delimiter) {
  TextList list;
  std::size_t pieceStart = 0, at = 0;
  while (at < text.size()) {
    if (MatchesAt(text, at, delimiter, false)) {
      list.emplace_back(text.substr(pieceStart, at - pieceStart));
      at += delimiter.size();
      pieceStart = at;
    } else {
      at += Width(text, at);
    }
  }
  if (pieceStart < text.size()) list.emplace_back(text.substr(pieceStart));
  return list;
}

}  // namespace literal

TEST(Searches, AgreeWithTheLiteralCharacterWalk) {
  std::mt19937 random(20240601);
  const char alphabet[] = {'a', 'A', 'B', ';', ' ', '\xB0', '\xA1'};
  auto randomText = [&](unsigned maxLength) {
    std::string text(random() % (maxLength + 1), ' ');
    for (char& c : text) c = alphabet[random() % sizeof alphabet];
    return text;
  };
  for (int round = 0; round < 20000; ++round) {
    const std::string text = randomText(14), sought = randomText(3);
    const int start = static_cast<int>(random() % 18) - 2;
    SCOPED_TRACE(Shown(text) + " / " + Shown(sought) + " from " + std::to_string(start));
    ASSERT_EQ(Find(text, sought, start, false), literal::Find(text, sought, start, false));
    ASSERT_EQ(Find(text, sought, start, true), literal::Find(text, sought, start, true));
    if (sought.empty()) continue;
    ASSERT_EQ(FindLast(text, sought), literal::FindLast(text, sought));
    ASSERT_EQ(ReplaceAll(text, sought, "<>"), literal::ReplaceAll(text, sought, "<>"));
    ASSERT_EQ(Split(text, sought), literal::Split(text, sought));
  }
}

TEST(TextValues, SmallMakersGiveNoZeroByteAndClampCounts) {
  EXPECT_EQ(Concat({"ab", "", "\xB0\xB1", "c"}), "ab\xB0\xB1" "c");
  EXPECT_EQ(Concat({}), "");
  EXPECT_EQ(SpaceText(3), "   ");
  EXPECT_EQ(SpaceText(0), "");
  EXPECT_EQ(SpaceText(-2), "");
  EXPECT_EQ(CharFromCode(0), "");
  EXPECT_EQ(CharFromCode(65), "A");
  EXPECT_EQ(CharFromCode(0xB0), "\xB0");
  EXPECT_EQ(CharFromCode(256), "");  // only the low byte counts, and it is zero
  EXPECT_EQ(TextLength("\xB0\xB1" "a"), 3);
  EXPECT_TRUE(TextEquals("abc", "abc"));
  EXPECT_FALSE(TextEquals("abc", "ABC"));
}

TEST(ByteSets, ConvertCutAndJoin) {
  const ByteSet withZero = {'a', 'b', 0, 'c'};
  EXPECT_EQ(BytesToText(withZero), "ab");
  EXPECT_EQ(BytesToText({}), "");
  EXPECT_EQ(BytesToText({0xB0, 'x'}), "\xB0" "x");
  EXPECT_EQ(TextToBytes(""), ByteSet());
  EXPECT_EQ(TextToBytes("\xB0" "a"), (ByteSet{0xB0, 'a'}));
  EXPECT_EQ(ZeroBytes(3), ByteSet(3, 0));
  EXPECT_EQ(ZeroBytes(-1), ByteSet());
  EXPECT_EQ(BytesLeft(withZero, -1), ByteSet());
  EXPECT_EQ(BytesLeft(withZero, 0), ByteSet());
  EXPECT_EQ(BytesLeft(withZero, 3), (ByteSet{'a', 'b', 0}));
  EXPECT_EQ(BytesLeft(withZero, 9), withZero);
  const ByteSet tail = {'d'};
  EXPECT_EQ(ConcatBytes({&withZero, &tail}), (ByteSet{'a', 'b', 0, 'c', 'd'}));
  EXPECT_EQ(ByteLength(withZero), 4);
  EXPECT_TRUE(BytesEqual(ByteSet(), {}));
  EXPECT_FALSE(BytesEqual(withZero, tail));
}

TEST(Integers, TruncateTowardZeroAndOr) {
  EXPECT_EQ(TruncateToInteger(3.999), 3);
  EXPECT_EQ(TruncateToInteger(-0.5), 0);
  EXPECT_EQ(TruncateToInteger(-2.9), -2);
  EXPECT_EQ(TruncateToInteger(1e300), 2147483647);  // saturates rather than overflow
  EXPECT_EQ(TruncateToInteger(-1e300), -2147483647 - 1);
  EXPECT_EQ(BitOr({1, 4, -2147483647 - 1}), -2147483647 - 1 + 5);
  EXPECT_EQ(BitOr({}), 0);
}

TEST(TextList, AppendKeepsNumbersAndCopies) {
  TextList list;
  EXPECT_EQ(MemberCount(list), 0);
  std::string text = "a";
  AppendMember(list, text);
  AppendMember(list, "");
  text = "changed";
  ASSERT_EQ(MemberCount(list), 2);
  EXPECT_EQ(Member(list, 1), "a");
  EXPECT_EQ(Member(list, 2), "");
}

#if GTEST_HAS_DEATH_TEST && !defined(_WIN32)
// Native only: on Windows both stops show a message box, which would wait for a click.
TEST(TextListDeathTest, ReadingOutsideTheMembersStops) {
  const TextList list = {"a"};
  EXPECT_DEATH((void)Member(list, 0), "Member 0 read from a list of 1 members");
  EXPECT_DEATH((void)Member(list, 2), "Member 2 read from a list of 1 members");
}

#if !defined(__SANITIZE_ADDRESS__)  // the sanitizer's runtime owns operator new there
TEST(OutOfMemoryDeathTest, StopsWithTheByteCount) {
  // 2^52 bytes is beyond any x86-64 address space, so the request fails even with overcommit.
  EXPECT_EXIT(
      {
        Text huge(std::size_t{1} << 52, 'x');
        std::printf("%c", huge[4096]);
      },
      testing::ExitedWithCode(3), "Out of memory: 4503599627370497 bytes could not be allocated");
}
#endif
#endif

}  // namespace
}  // namespace shortlink
