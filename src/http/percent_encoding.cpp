#include "http/percent_encoding.h"

namespace shortlink {

void AppendHexByte(std::string* out, unsigned char byte) {
  static constexpr char kHexDigits[] = "0123456789ABCDEF";
  *out += kHexDigits[byte >> 4];
  *out += kHexDigits[byte & 0xF];
}

Text PercentEncodeWhere(std::string_view bytes, bool (*mustEscape)(unsigned char)) {
  Text out;
  out.reserve(bytes.size());
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    if (mustEscape(byte)) {
      out += '%';
      AppendHexByte(&out, byte);
    } else {
      out += c;
    }
  }
  return out;
}

}  // namespace shortlink
