#include "text/extract.h"

namespace shortlink {

Text TextBetween(std::string_view source, std::string_view startMarker, std::string_view endMarker,
                 int start, bool matchCase) {
  const Text startText = ReplaceAll(startMarker, kQuotePlaceholder, "\"");
  const Text endText = ReplaceAll(endMarker, kQuotePlaceholder, "\"");
  const bool ignoreCase = !matchCase;
  int p = Find(source, startText, start, ignoreCase);
  if (p == -1) return Text();
  p += TextLength(startText);
  const int q = Find(source, endText, p, ignoreCase);
  if (q == -1) return Text();
  return Mid(source, p, q - p);
}

Text TextBefore(std::string_view source, std::string_view marker, int start, bool ignoreCase) {
  const int p = Find(source, marker, start < 1 ? 1 : start, ignoreCase);
  if (p == -1) return Text();
  return Left(source, p - 1);
}

Text HeaderValue(std::string_view line) {
  const int p = Find(line, ":");
  if (p == -1) return Text();
  return TrimSpaces(Right(line, TextLength(line) - p));
}

}  // namespace shortlink
