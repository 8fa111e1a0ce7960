// Conversions between GBK (code page 936, the encoding of every Text) and UTF-16 or UTF-8, for the
// window, clipboard, COM and network layers. Always code page 936, whatever the system's ANSI
// code page is. Bytes that do not convert come back as the platform's replacement character; a
// zero in the input ends it, so a Text made here never holds a zero byte.
//
//   GbkToWide("\xD6\xD0") == L"\u4E2D"   // 中
#pragma once

#include <string>
#include <string_view>

#include "text/text.h"

namespace shortlink {

[[nodiscard]] std::wstring GbkToWide(std::string_view gbk);
[[nodiscard]] Text WideToGbk(std::wstring_view wide);
[[nodiscard]] std::string GbkToUtf8(std::string_view gbk);

}  // namespace shortlink
