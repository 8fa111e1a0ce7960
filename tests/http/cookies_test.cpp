// Folding received cookies into the kept cookie text, and the list helpers the fold rests on.
#include "http/cookies.h"

#include <gtest/gtest.h>

namespace shortlink {
namespace {

TEST(MergeCookies, ReceivedWinDeletedVanishAndRepeatsGo) {
  struct {
    const char* cookies;
    const char* received;
    const char* merged;
    const char* receivedAfter;
  } cases[] = {
      {"a=1; b=2", "b=3; c=4", "b=3; c=4; a=1", "b=3;c=4"},
      // The deletion mark shadows the old entry, then goes itself.
      {"a=1; b=2", "a=deleted", "b=2", "a=deleted"},
      {"a=1", "a=DELETED", "a=DELETED", "a=DELETED"},
      {"a=1;b=2", "", "a=1; b=2", ""},
      {"", "", "", ""},
      {"", "a=1;", "a=1", "a=1;"},
      // Received entries are not compared by name among themselves, only repeats go.
      {"", "a=1;a=1", "a=1", "a=1;a=1"},
      {"", "a=1;a=2", "a=1; a=2", "a=1;a=2"},
      // Of two old entries with one name the first survives.
      {"x=1;x=2", "", "x=1", ""},
      // Names match exactly, letter case included.
      {"A=1", "a=2", "a=2; A=1", "a=2"},
      {"flag", "flag=1", "flag=1", "flag=1"},
      // Spaces go, the ideographic one too.
      {"k=a b", "", "k=ab", ""},
      {"k=\xA1\xA1v", "m = \xD6\xD0", "m=\xD6\xD0; k=v", "m=\xD6\xD0"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "cookies '" << c.cookies << "' received '" << c.received
                                    << "'");
    Text cookies = c.cookies;
    Text received = c.received;
    const Text returned = MergeCookies(&cookies, &received);
    EXPECT_EQ(cookies, c.merged);
    EXPECT_EQ(received, c.receivedAfter);
    EXPECT_EQ(returned, cookies);
  }
}

TEST(CookieName, IsTheTrimmedTextBeforeTheFirstEquals) {
  struct {
    const char* entry;
    const char* name;
  } cases[] = {
      {"a=1", "a"}, {" a =1", "a"}, {"a=b=c", "a"}, {"flag", "flag"}, {"=v", ""}, {"", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.entry);
    EXPECT_EQ(CookieName(c.entry), c.name);
  }
}

TEST(HasCookieNamed, ComparesNamesExactly) {
  const TextList entries = {"a=1", " B = 2", "flag"};
  EXPECT_TRUE(HasCookieNamed(entries, "a"));
  EXPECT_TRUE(HasCookieNamed(entries, "B"));
  EXPECT_TRUE(HasCookieNamed(entries, "flag"));
  EXPECT_FALSE(HasCookieNamed(entries, "A"));
  EXPECT_FALSE(HasCookieNamed(entries, "a=1"));
  EXPECT_FALSE(HasCookieNamed({}, ""));
}

TEST(RemoveDuplicates, KeepsEachItemAtItsFirstOccurrence) {
  struct {
    const char* text;
    const char* separator;
    const char* result;
  } cases[] = {
      {"a; b; a; c; b", "; ", "a; b; c"},
      {"a=1; a=2", "; ", "a=1; a=2"},
      {"x,,x,", ",", "x,"},
      {"", "; ", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(RemoveDuplicates(c.text, c.separator), c.result);
  }
}

TEST(IndexOfItem, GivesTheFirstExactMatchFromOne) {
  const TextList list = {"a", "B", "a", ""};
  EXPECT_EQ(IndexOfItem(list, "a"), 1);
  EXPECT_EQ(IndexOfItem(list, "B"), 2);
  EXPECT_EQ(IndexOfItem(list, ""), 4);
  EXPECT_EQ(IndexOfItem(list, "b"), -1);
  EXPECT_EQ(IndexOfItem({}, "a"), -1);
}

}  // namespace
}  // namespace shortlink
