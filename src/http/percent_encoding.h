// Writing bytes as %XX, for addresses and query values.
//
//   PercentEncodeWhere("a b", [](unsigned char c) { return c == ' '; }) == "a%20b"
#pragma once

#include <string>
#include <string_view>

#include "text/text.h"

namespace shortlink {

// Appends the two upper-case hex digits of `byte` to `out`.
void AppendHexByte(std::string* out, unsigned char byte);

// Returns `bytes` with every byte for which `mustEscape` is true written as %XX in upper-case hex;
// the other bytes are kept as they are.
[[nodiscard]] Text PercentEncodeWhere(std::string_view bytes, bool (*mustEscape)(unsigned char));

}  // namespace shortlink
