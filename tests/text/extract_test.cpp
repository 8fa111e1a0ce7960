// Cutting pieces out of answers and header lines by literal markers.
#include "text/extract.h"

#include <gtest/gtest.h>

namespace shortlink {
namespace {

TEST(TextBetween, CutsFromAfterTheStartMarkerToTheNextEndMarker) {
  const std::string baiduStart = "{\"Code\":0,\"ShortUrl\":\"";
  const std::string baiduEnd = "\",\"LongUrl\":\"";
  const std::string quote = std::string(kQuotePlaceholder);
  struct {
    std::string source, startMarker, endMarker;
    int start;
    bool matchCase;
    std::string expected;
  } cases[] = {
      {"a" + baiduStart + "XY" + baiduEnd + "b", baiduStart, baiduEnd, 0, false, "XY"},
      {"HTTP://AbC/x", "http://", "/", 0, false, "AbC"},  // case ignored by default
      {"HTTP://AbC/x", "http://", "/", 0, true, ""},
      {"a;k=v;b", "k=", ";", 0, false, "v"},  // the end marker only after the start marker
      {"a;k=", "k=", ";", 0, false, ""},      // start marker at the very end
      {"a;k=v", "k=", ";", 0, false, ""},     // no end marker after it
      {"a;b", "k=", ";", 0, false, ""},
      {"k=v;", "k=", "", 0, false, ""},       // an empty end marker gives nothing
      {"ab;c", "", ";", 0, false, "ab"},      // an empty start marker: text before the end marker
      {"x\"y\"z", quote, quote, 0, false, "y"},
      {"k=1;k=2;", "k=", ";", 2, false, "2"},  // the start position is passed to the search
      {"k=1;", "k=", ";", 9, false, ""},
      {"", "k=", ";", 0, false, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.source + " / " + c.startMarker + " / " + c.endMarker);
    EXPECT_EQ(TextBetween(c.source, c.startMarker, c.endMarker, c.start, c.matchCase), c.expected);
  }
}

TEST(TextBefore, ReturnsEverythingFromPositionOneUpToTheMarker) {
  struct {
    std::string source, marker;
    int start;
    bool ignoreCase;
    std::string expected;
  } cases[] = {
      {"ab\"cd", "\"", 0, false, "ab"},
      {"abcd", "\"", 0, false, ""},
      {"\"abc", "\"", 0, false, ""},
      {"axbxc", "x", 3, false, "axb"},  // counted from position 1, not from the start
      {"axbxc", "x", -4, false, "a"},
      {"aXbxc", "x", 0, false, "aXb"},
      {"aXbxc", "x", 0, true, "a"},
      {"\xB0\"\"", "\"", 0, false, "\xB0\""},  // the first quote is a second byte
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.source + " / " + c.marker);
    EXPECT_EQ(TextBefore(c.source, c.marker, c.start, c.ignoreCase), c.expected);
  }
}

TEST(HeaderValue, TakesTheTrimmedTextAfterTheFirstColon) {
  struct {
    std::string line, expected;
  } cases[] = {
      {"Content-Type:  text/html ", "text/html"},
      {"A: b: c", "b: c"},
      {"Key:", ""},
      {"no colon", ""},
      {"", ""},
      {"K:\tv\r\n", "\tv\r\n"},  // only spaces are trimmed
      {"K:\xA1\xA1v\xA1\xA1", "v"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    EXPECT_EQ(HeaderValue(c.line), c.expected);
  }
}

}  // namespace
}  // namespace shortlink
