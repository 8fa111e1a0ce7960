// RegexObject against the real "VBScript.RegExp" component. Runs under both ANSI code pages: the
// byte positions must not depend on it.
#include "regex/regex_object.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <objbase.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>

namespace shortlink {
namespace {

// The pattern the Sina provider runs over its answer.
constexpr const char* kAddress = "[a-zA-z]+://[^\\s]*";

// GBK: 中 文 字 见 and the placeholder 引号.
#define ZHONG "\xD6\xD0"
#define WEN "\xCE\xC4"
#define ZI "\xD7\xD6"
#define JIAN "\xBC\xFB"
#define YINHAO "\xD2\xFD\xBA\xC5"

TEST(RegexObjectLocale, RunsUnderTheCodePageTheLocaleAsksFor) {
  const char* locale = std::getenv("LC_ALL");
  std::printf("LC_ALL=%s, ANSI code page %u\n", locale ? locale : "(unset)", GetACP());
  const std::string name = locale ? locale : "";
  if (name.starts_with("zh_CN")) {
    EXPECT_EQ(GetACP(), 936u);
  } else if (name.starts_with("C.")) {
    EXPECT_EQ(GetACP(), 1252u);
  }
}

// Every test must leave the thread's COM initialisations balanced: afterwards COM is not
// initialised on it, so a fresh initialisation reports S_OK.
class RegexObjectTest : public ::testing::Test {
 protected:
  void TearDown() override {
    const HRESULT hr = CoInitialize(nullptr);
    EXPECT_EQ(hr, S_OK) << "COM was left initialised on the thread";
    if (SUCCEEDED(hr)) CoUninitialize();
    if (hr == S_FALSE) CoUninitialize();  // the leaked one, so later tests start clean
  }
};

TEST_F(RegexObjectTest, FindsMatchesWithTheirBytePositions) {
  struct {
    const char* name;
    const char* pattern;
    std::string subject;
    RegexOptions options;
    int index;
    int count;
    std::string text;
    int position;
  } cases[] = {
      {"no address", kAddress, "nothing here", {}, 1, 0, "", -1},
      {"address in a sentence", kAddress, "see http://t.cn/RabC now", {}, 1, 1,
       "http://t.cn/RabC", 4},
      {"A-z takes in [ _ ]", kAddress, "go [_]://x ok", {}, 1, 1, "[_]://x", 3},
      {"two-byte characters in and before the match", kAddress,
       JIAN " http://a.cn/" ZHONG WEN " " ZI, {}, 1, 1, "http://a.cn/" ZHONG WEN, 3},
      {"byte offset, not character index", "a", ZHONG "a" ZHONG "a", {}, 2, 2, "a", 5},
      // The offset comes from searching for the match text from its character index on, so a
      // repeat of the text between the two can be named instead.
      {"an earlier copy of the text wins", "a", ZHONG ZHONG "a a", {}, 2, 2, "a", 4},
      {"case ignored by default", "abc", "xxABCab", {}, 1, 1, "ABC", 2},
      {"case-sensitive on request", "abc", "xxABCabc", {.caseSensitive = true}, 1, 1, "abc", 5},
      {"index 0", kAddress, "see http://t.cn/x", {}, 0, 1, "", -1},
      {"index past the end", kAddress, "see http://t.cn/x", {}, 2, 1, "", -1},
      {"global finds all", "a", "aaa", {}, 3, 3, "a", 2},
      {"not global finds the first", "a", "aaa", {.global = false}, 1, 1, "a", 0},
      {"multiline ^ at a line break", "^b", "a\nb", {}, 1, 1, "b", 2},
      {"single-line ^ only at the start", "^b", "a\nb", {.multiline = false}, 1, 0, "", -1},
      {"empty match", "x*", "ab", {.global = false}, 1, 1, "", 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    RegexObject regex;
    EXPECT_TRUE(regex.Create(c.pattern, c.subject, c.options));
    EXPECT_EQ(regex.MatchCount(), c.count);
    int position = 99;
    EXPECT_EQ(regex.MatchText(c.index, &position), c.text);
    EXPECT_EQ(position, c.position);
    EXPECT_EQ(regex.MatchText(c.index), c.text);
  }
}

TEST_F(RegexObjectTest, QuotePlaceholderStandsForADoubleQuoteOnlyWhenAskedFor) {
  const std::string pattern = "#" YINHAO "x#" YINHAO;
  RegexObject regex;
  int position = 0;

  EXPECT_TRUE(regex.Create(pattern, "say \"x\"", {.quotePlaceholder = true}));
  EXPECT_EQ(regex.GetPattern(), "\"x\"");
  EXPECT_EQ(regex.MatchText(1, &position), "\"x\"");
  EXPECT_EQ(position, 4);

  EXPECT_TRUE(regex.Create(pattern, "say \"x\" or " + pattern));
  EXPECT_EQ(regex.GetPattern(), pattern);
  EXPECT_EQ(regex.MatchText(1, &position), pattern);
  EXPECT_EQ(position, 11);
}

TEST_F(RegexObjectTest, QueriesBeforeAnyCreateAreEmpty) {
  RegexObject regex;
  int position = 99;
  EXPECT_EQ(regex.GetPattern(), "");
  EXPECT_EQ(regex.Replace("x"), "");
  EXPECT_EQ(regex.MatchCount(), 0);
  EXPECT_EQ(regex.MatchText(1, &position), "");
  EXPECT_EQ(position, -1);
  EXPECT_EQ(regex.SubMatchText(1, 1), "");
  EXPECT_EQ(regex.SubMatchCount(), 0);
}

TEST_F(RegexObjectTest, RejectedPatternGivesEmptyResultsAndTheNextCreateWorks) {
  RegexObject regex;
  EXPECT_TRUE(regex.Create("a", "a"));
  EXPECT_FALSE(regex.Create("(ab", "ab (ab"));
  int position = 99;
  EXPECT_EQ(regex.MatchCount(), 0);
  EXPECT_EQ(regex.MatchText(1, &position), "");
  EXPECT_EQ(position, -1);
  EXPECT_EQ(regex.SubMatchCount(), 0);
  EXPECT_EQ(regex.Replace("x"), "");

  EXPECT_TRUE(regex.Create("b+", "abbc"));
  EXPECT_EQ(regex.MatchText(1, &position), "bb");
  EXPECT_EQ(position, 1);
}

TEST_F(RegexObjectTest, SubMatchesWithTheirBytePositions) {
  RegexObject regex;
  int position = 99;

  EXPECT_TRUE(regex.Create("(\\d+)-(\\d+)", ZHONG "12-34 " WEN "5-6"));
  EXPECT_EQ(regex.SubMatchCount(), 2);
  EXPECT_EQ(regex.SubMatchText(1, 2, &position), "34");
  EXPECT_EQ(position, 5);
  EXPECT_EQ(regex.SubMatchText(2, 1, &position), "5");
  EXPECT_EQ(position, 10);
  for (const auto& [match, group] : {std::pair{1, 0}, {1, 3}, {0, 1}, {3, 1}}) {
    SCOPED_TRACE(testing::Message() << "match " << match << ", group " << group);
    EXPECT_EQ(regex.SubMatchText(match, group, &position), "");
    EXPECT_EQ(position, -1);
  }

  // A group that did not take part, against one that took part with an empty text.
  EXPECT_TRUE(regex.Create("(a)|(b)(c*)", "xb"));
  EXPECT_EQ(regex.SubMatchText(1, 1, &position), "");
  EXPECT_EQ(position, -1);
  EXPECT_EQ(regex.SubMatchText(1, 2, &position), "b");
  EXPECT_EQ(position, 1);
  EXPECT_EQ(regex.SubMatchText(1, 3, &position), "");
  EXPECT_EQ(position, 1);

  EXPECT_TRUE(regex.Create("(z)", "abc"));
  EXPECT_EQ(regex.SubMatchCount(), 0);
}

TEST_F(RegexObjectTest, ReplacesInTheSavedSubject) {
  struct {
    const char* pattern;
    const char* subject;
    RegexOptions options;
    const char* replacement;
    const char* expected;
  } cases[] = {
      {"a", "banana", {}, "o", "bonono"},
      {"a", "banana", {.global = false}, "o", "bonana"},
      {"(\\w+)@(\\w+)", "me@host", {}, "$2 at $1", "host at me"},
      {"a", ZHONG "a" WEN "a", {}, ZI, ZHONG ZI WEN ZI},
      {"z", "abc", {}, "x", "abc"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.subject);
    RegexObject regex;
    EXPECT_TRUE(regex.Create(c.pattern, c.subject, c.options));
    EXPECT_EQ(regex.Replace(c.replacement), c.expected);
  }
  RegexObject regex;
  regex.Create("a", "banana");
  EXPECT_EQ(regex.Replace(), "bnn");
}

TEST_F(RegexObjectTest, SecondCreateReplacesEverythingOfTheFirst) {
  RegexObject regex;
  EXPECT_TRUE(regex.Create(kAddress, "one http://a.cn/1 two http://a.cn/2"));
  EXPECT_TRUE(regex.Create("b+", ZHONG "bb", {.caseSensitive = true, .global = false}));
  int position = 0;
  EXPECT_EQ(regex.GetPattern(), "b+");
  EXPECT_EQ(regex.MatchCount(), 1);
  EXPECT_EQ(regex.MatchText(1, &position), "bb");
  EXPECT_EQ(position, 2);
  EXPECT_EQ(regex.MatchText(2), "");
  EXPECT_EQ(regex.Replace("x"), ZHONG "x");
}

TEST_F(RegexObjectTest, SeveralInstancesLiveAtOnceOnOneThread) {
  auto first = std::make_unique<RegexObject>();
  auto second = std::make_unique<RegexObject>();
  EXPECT_TRUE(first->Create("a+", "xaay"));
  EXPECT_TRUE(second->Create("y", "xaay"));
  first.reset();  // not in reverse order of construction
  EXPECT_EQ(second->MatchText(1), "y");
  RegexObject third;
  EXPECT_TRUE(third.Create("x", "xaay"));
  EXPECT_EQ(second->MatchCount(), 1);
}

TEST_F(RegexObjectTest, LeavesAnInitialisationItCouldNotMakeAlone) {
  // The thread is already in the multithreaded apartment, so the object's own initialisation is
  // refused and must not be undone.
  ASSERT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
  {
    RegexObject regex;
    EXPECT_TRUE(regex.Create("b", "abc"));
    EXPECT_EQ(regex.MatchCount(), 1);
  }
  EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_FALSE) << "COM was torn down";
  CoUninitialize();
  CoUninitialize();
}

TEST_F(RegexObjectTest, MovingHandsOverTheMatches) {
  RegexObject source;
  EXPECT_TRUE(source.Create("b", "abc"));
  RegexObject target = std::move(source);
  EXPECT_EQ(target.MatchText(1), "b");
  target = RegexObject();
  EXPECT_EQ(target.MatchCount(), 0);
  EXPECT_TRUE(source.Create("c", "abc"));  // a moved-from object starts afresh
  EXPECT_EQ(source.MatchText(1), "c");
}

}  // namespace
}  // namespace shortlink
