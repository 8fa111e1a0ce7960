#include "text/text.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>

namespace shortlink {
namespace {

constexpr std::size_t kNone = std::string_view::npos;

bool IsLead(char c) { return static_cast<unsigned char>(c) >= 0x80; }

unsigned char FoldCase(char c) {
  const auto u = static_cast<unsigned char>(c);
  return (u >= 'A' && u <= 'Z') ? static_cast<unsigned char>(u + ('a' - 'A')) : u;
}

// The ideographic space 0xA1 0xA1 at `at`, which must be a character start.
bool IsWideSpaceAt(std::string_view text, std::size_t at) {
  return at + 1 < text.size() && text[at] == '\xA1' && text[at + 1] == '\xA1';
}

// Returns whether `at` begins a character when characters are counted from `from`, itself a
// character start (from <= at). Only the run of bytes 0x80-0xFF right before `at` matters: the
// byte after any byte 0x00-0x7F begins a character (that byte ends a one-byte character or a
// pair), and a run of lead bytes from a character start pairs up, so its parity decides.
bool IsCharacterStart(std::string_view text, std::size_t from, std::size_t at) {
  std::size_t runStart = at;
  while (runStart > from && IsLead(text[runStart - 1])) --runStart;
  return ((at - runStart) & 1) == 0;
}

// The first position at or after `from` where `sought` (not empty) matches byte for byte, with
// A-Z folded when `ignoreCase`; not necessarily a character start.
std::size_t FindBytes(std::string_view text, std::string_view sought, std::size_t from,
                      bool ignoreCase) {
  if (!ignoreCase) return text.find(sought, from);
  if (sought.size() > text.size()) return kNone;
  const std::size_t last = text.size() - sought.size();
  const unsigned char first = FoldCase(sought[0]);
  for (std::size_t i = from; i <= last; ++i) {
    if (FoldCase(text[i]) != first) continue;
    std::size_t k = 1;
    while (k < sought.size() && FoldCase(text[i + k]) == FoldCase(sought[k])) ++k;
    if (k == sought.size()) return i;
  }
  return kNone;
}

// The first occurrence of `sought` (not empty) at a character start, characters counted from
// `from`, which the caller takes as a character start; kNone when there is none. The byte search
// runs at full speed and only its hits are checked for being character starts. Each check looks
// back no further than the previous hit, so the whole search stays linear.
std::size_t FindAtCharacterStart(std::string_view text, std::string_view sought, std::size_t from,
                                 bool ignoreCase = false) {
  std::size_t knownStart = from;
  for (;;) {
    const std::size_t hit = FindBytes(text, sought, knownStart, ignoreCase);
    if (hit == kNone || IsCharacterStart(text, knownStart, hit)) return hit;
    knownStart = hit + 1;  // the hit is a second byte, so the next byte begins a character
  }
}

// The number of non-overlapping occurrences of `sought` (not empty) at character starts, the walk
// going on right after each occurrence.
std::size_t CountAtCharacterStarts(std::string_view text, std::string_view sought) {
  std::size_t count = 0;
  for (std::size_t from = 0;; ++count) {
    const std::size_t hit = FindAtCharacterStart(text, sought, from);
    if (hit == kNone) return count;
    from = hit + sought.size();
  }
}

// Positions are 1-based ints; lengths of real texts fit.
int Position(std::size_t index) { return static_cast<int>(index + 1); }

}  // namespace

// ---- Texts -----------------------------------------------------------------------------------

int TextLength(std::string_view text) { return static_cast<int>(text.size()); }

Text Concat(std::initializer_list<std::string_view> pieces) {
  std::size_t total = 0;
  for (std::string_view piece : pieces) total += piece.size();
  Text result;
  result.reserve(total);
  for (std::string_view piece : pieces) result.append(piece);
  return result;
}

bool TextEquals(std::string_view a, std::string_view b) { return a == b; }

Text Left(std::string_view text, int n) {
  if (n <= 0) return Text();
  return Text(text.substr(0, static_cast<std::size_t>(n)));
}

Text Right(std::string_view text, int n) {
  if (n <= 0) return Text();
  const std::size_t count = std::min(text.size(), static_cast<std::size_t>(n));
  return Text(text.substr(text.size() - count));
}

Text Mid(std::string_view text, int p, int n) {
  if (p < 1 || static_cast<std::size_t>(p) > text.size() || n <= 0) return Text();
  return Text(text.substr(static_cast<std::size_t>(p) - 1, static_cast<std::size_t>(n)));
}

int Find(std::string_view text, std::string_view sought, int start, bool ignoreCase) {
  const std::size_t from = start <= 1 ? 0 : static_cast<std::size_t>(start) - 1;
  if (from >= text.size()) return -1;
  if (sought.empty()) return 1;
  const std::size_t hit = FindAtCharacterStart(text, sought, from, ignoreCase);
  return hit == kNone ? -1 : Position(hit);
}

int FindLast(std::string_view text, std::string_view sought) {
  if (text.empty()) return -1;
  if (sought.empty()) return 1;
  std::size_t last = kNone;
  std::size_t from = 0;
  // Occurrences may overlap, so the search goes on from the character after each hit.
  while (from < text.size()) {
    const std::size_t hit = FindAtCharacterStart(text, sought, from);
    if (hit == kNone) break;
    last = hit;
    from = hit + (IsLead(text[hit]) ? 2 : 1);
  }
  return last == kNone ? -1 : Position(last);
}

Text ToLower(std::string_view text) {
  Text result(text);
  for (std::size_t i = 0; i < result.size(); ++i) {
    if (IsLead(result[i])) {
      ++i;  // the second byte stays as it is, whatever its value
    } else {
      result[i] = static_cast<char>(FoldCase(result[i]));
    }
  }
  return result;
}

int ToInteger(std::string_view text) {
  // Full-width forms are 0xA3 followed by the ASCII code with the high bit set.
  auto fullWidth = [&](std::size_t at, char ascii) {
    return at + 1 < text.size() && text[at] == '\xA3' &&
           static_cast<unsigned char>(text[at + 1]) == (static_cast<unsigned char>(ascii) | 0x80);
  };
  std::size_t i = 0;
  for (;;) {
    if (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) {
      ++i;
    } else if (IsWideSpaceAt(text, i)) {
      i += 2;
    } else {
      break;
    }
  }
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  } else if (fullWidth(i, '+') || fullWidth(i, '-')) {
    negative = fullWidth(i, '-');
    i += 2;
  }
  // Unsigned arithmetic wraps modulo 2^32 by definition, which is the wanted overflow.
  std::uint32_t value = 0;
  for (;;) {
    unsigned digit;
    if (i < text.size() && text[i] >= '0' && text[i] <= '9') {
      digit = static_cast<unsigned>(text[i] - '0');
      ++i;
    } else if (i + 1 < text.size() && text[i] == '\xA3' &&
               static_cast<unsigned char>(text[i + 1]) >= 0xB0 &&
               static_cast<unsigned char>(text[i + 1]) <= 0xB9) {
      digit = static_cast<unsigned char>(text[i + 1]) - 0xB0u;
      i += 2;
    } else {
      break;
    }
    value = value * 10u + digit;
  }
  if (negative) value = 0u - value;
  return static_cast<int>(value);  // modular since C++20
}

Text TrimSpaces(std::string_view text) {
  std::size_t begin = 0;
  for (;;) {
    if (begin < text.size() && text[begin] == ' ') {
      ++begin;
    } else if (IsWideSpaceAt(text, begin)) {
      begin += 2;
    } else {
      break;
    }
  }
  // Walk forward to find the end of the last non-space character: only a walk from a known
  // character start tells a trailing 0xA1 0xA1 from the tail of another character.
  std::size_t end = begin;
  std::size_t i = begin;
  while (i < text.size()) {
    if (!IsLead(text[i])) {
      if (text[i] != ' ') end = i + 1;
      ++i;
    } else if (i + 1 == text.size()) {
      return Text(text.substr(begin, i - begin));  // unpaired lead byte: dropped, spaces kept
    } else {
      if (!IsWideSpaceAt(text, i)) end = i + 2;
      i += 2;
    }
  }
  return Text(text.substr(begin, end - begin));
}

Text RemoveSpaces(std::string_view text) {
  Text result;
  result.reserve(text.size());
  std::size_t runStart = 0;  // start of the run of kept bytes not yet copied
  std::size_t i = 0;
  while (i < text.size()) {
    std::size_t width = IsLead(text[i]) ? 2 : 1;
    if (i + width > text.size()) break;  // unpaired lead byte at the end: dropped
    if (text[i] == ' ' || IsWideSpaceAt(text, i)) {
      result.append(text.substr(runStart, i - runStart));
      runStart = i + width;
    }
    i += width;
  }
  result.append(text.substr(runStart, i - runStart));
  return result;
}

Text ReplaceAll(std::string_view text, std::string_view sought, std::string_view replacement) {
  if (text.empty() || sought.empty()) return Text(text);
  // A longer replacement makes the result grow; counting first gives one allocation of the
  // right size instead of regrowing a large text several times.
  std::size_t capacity = text.size();
  if (replacement.size() > sought.size()) {
    capacity += CountAtCharacterStarts(text, sought) * (replacement.size() - sought.size());
  }
  Text result;
  result.reserve(capacity);
  std::size_t from = 0;
  for (;;) {
    const std::size_t hit = FindAtCharacterStart(text, sought, from);
    if (hit == kNone) break;
    result.append(text.substr(from, hit - from));
    result.append(replacement);
    from = hit + sought.size();
  }
  std::size_t tail = text.size();
  // With a one-byte sought text the walk reaches the last byte; an unpaired lead byte there is
  // dropped. A longer sought text stops the walk earlier and keeps the remaining bytes.
  if (sought.size() == 1 && from < text.size() && IsLead(text.back()) &&
      IsCharacterStart(text, from, text.size() - 1)) {
    --tail;
  }
  result.append(text.substr(from, tail - from));
  return result;
}

TextList Split(std::string_view text, std::string_view delimiter) {
  TextList list;
  if (text.empty()) return list;
  if (delimiter.empty()) {
    list.emplace_back(text);
    return list;
  }
  list.reserve(CountAtCharacterStarts(text, delimiter) + 1);  // no moving of members on growth
  std::size_t from = 0;
  for (;;) {
    const std::size_t hit = FindAtCharacterStart(text, delimiter, from);
    if (hit == kNone) break;
    list.emplace_back(text.substr(from, hit - from));
    from = hit + delimiter.size();
  }
  if (from < text.size()) list.emplace_back(text.substr(from));
  return list;
}

Text SpaceText(int n) { return n <= 0 ? Text() : Text(static_cast<std::size_t>(n), ' '); }

Text CharFromCode(int code) {
  // Only the low byte counts, as when a code is stored into a byte; a zero byte is no text.
  const char byte = static_cast<char>(code & 0xFF);
  return byte == '\0' ? Text() : Text(1, byte);
}

// ---- Byte sets -------------------------------------------------------------------------------

int ByteLength(const ByteSet& bytes) { return static_cast<int>(bytes.size()); }

ByteSet TextToBytes(std::string_view text) { return ByteSet(text.begin(), text.end()); }

Text BytesToText(const ByteSet& bytes) {
  if (bytes.empty()) return Text();
  const void* zero = std::memchr(bytes.data(), 0, bytes.size());
  const std::size_t length =
      zero ? static_cast<std::size_t>(static_cast<const std::uint8_t*>(zero) - bytes.data())
           : bytes.size();
  return Text(reinterpret_cast<const char*>(bytes.data()), length);
}

ByteSet ZeroBytes(int n) { return n <= 0 ? ByteSet() : ByteSet(static_cast<std::size_t>(n), 0); }

ByteSet BytesLeft(const ByteSet& bytes, int n) {
  if (n <= 0) return ByteSet();
  const std::size_t count = std::min(bytes.size(), static_cast<std::size_t>(n));
  return ByteSet(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(count));
}

ByteSet ConcatBytes(std::initializer_list<const ByteSet*> pieces) {
  std::size_t total = 0;
  for (const ByteSet* piece : pieces) total += piece ? piece->size() : 0;
  ByteSet result;
  result.reserve(total);
  for (const ByteSet* piece : pieces) {
    if (piece) result.insert(result.end(), piece->begin(), piece->end());
  }
  return result;
}

bool BytesEqual(const ByteSet& a, const ByteSet& b) { return a == b; }

// ---- Integers and lists ----------------------------------------------------------------------

int BitOr(std::initializer_list<int> values) {
  int result = 0;
  for (int value : values) result |= value;
  return result;
}

int TruncateToInteger(double value) {
  // Converting a double outside the int range is undefined, so such values saturate; NaN is 0.
  if (std::isnan(value)) return 0;
  if (value >= 2147483647.0) return std::numeric_limits<int>::max();
  if (value <= -2147483648.0) return std::numeric_limits<int>::min();
  return static_cast<int>(value);
}

int MemberCount(const TextList& list) { return static_cast<int>(list.size()); }

const Text& Member(const TextList& list, int i) {
  if (i < 1 || static_cast<std::size_t>(i) > list.size()) {
    std::fprintf(stderr, "Member %d read from a list of %zu members.\n", i, list.size());
    std::abort();
  }
  return list[static_cast<std::size_t>(i) - 1];
}

void AppendMember(TextList& list, std::string_view text) { list.emplace_back(text); }

}  // namespace shortlink
