// The GBK conversions must give the same result whatever the system's ANSI code page is.
#include "text/gbk.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace shortlink {
namespace {

TEST(Gbk, ReportsTheCodePageItRunsUnder) {
  // Not an assertion: the log shows which locale pass this was.
  std::printf("ANSI code page: %u\n", GetACP());
}

TEST(Gbk, ConvertsBothWaysIndependentlyOfTheAnsiCodePage) {
  struct {
    std::string gbk;
    std::wstring wide;
    std::string utf8;
  } cases[] = {
      {"", L"", ""},
      {"abc", L"abc", "abc"},
      {"\xD6\xD0\xCE\xC4", L"\u4E2D\u6587", "\xE4\xB8\xAD\xE6\x96\x87"},  // 中文
      {"\xA1\xA1x", L"\u3000x", "\xE3\x80\x80x"},                          // ideographic space
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.gbk);
    EXPECT_EQ(GbkToWide(c.gbk), c.wide);
    EXPECT_EQ(WideToGbk(c.wide), c.gbk);
    EXPECT_EQ(GbkToUtf8(c.gbk), c.utf8);
  }
}

TEST(Gbk, StopsAtAZeroSoNoTextHoldsOne) {
  EXPECT_EQ(WideToGbk(std::wstring(L"ab\0cd", 5)), "ab");
  EXPECT_EQ(GbkToWide(std::string("ab\0cd", 5)), L"ab");
}

}  // namespace
}  // namespace shortlink
