// Text, bytes and lists of texts, with the primitive operations the rest of the tool is built from.
//
// A Text is GBK (code page 936) bytes and never holds a zero byte. Positions count bytes from 1 and
// every search reports -1 when it finds nothing. A byte 0x80-0xFF begins a two-byte character: the
// operations that search or walk a text step over such a pair as one character, so they never find
// or change anything that begins on its second byte. Operations that cut by count (Left, Right, Mid)
// ignore characters. Every operation accepts any argument values and returns a new value.
//
//   Find("\xB0" "BB", "B")  == 3   // the first "B" is the second byte of a two-byte character
//   Split("a;;b", ";")      == {"a", "", "b"}
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace shortlink {

using Text = std::string;                 // GBK bytes, no zero byte
using ByteSet = std::vector<std::uint8_t>;  // any bytes
using TextList = std::vector<Text>;       // members numbered from 1 by Member()

// ---- Texts -----------------------------------------------------------------------------------

// Returns the number of bytes.
[[nodiscard]] int TextLength(std::string_view text);
// Returns the bytes of all pieces in order (one allocation).
[[nodiscard]] Text Concat(std::initializer_list<std::string_view> pieces);
// Returns whether both hold the same bytes; letter case matters.
[[nodiscard]] bool TextEquals(std::string_view a, std::string_view b);

// Returns the first min(n, length) bytes; empty for n <= 0.
[[nodiscard]] Text Left(std::string_view text, int n);
// Returns the last min(n, length) bytes; empty for n <= 0.
[[nodiscard]] Text Right(std::string_view text, int n);
// Returns up to n bytes from position p; empty when p < 1, p > length or n <= 0.
[[nodiscard]] Text Mid(std::string_view text, int p, int n);

// Returns the position of the first occurrence of `sought` at a character start of the region that
// begins at `start` (start <= 1: the whole text), stepping over two-byte characters counted from the
// region's first byte; -1 when there is none or the region is empty. An empty `sought` gives 1 when
// the region is not empty. `ignoreCase` folds the ASCII letters A-Z only.
[[nodiscard]] int Find(std::string_view text, std::string_view sought, int start = 0,
                       bool ignoreCase = false);
// Returns the position of the last occurrence over the whole text (occurrences may overlap),
// exact; an empty `sought` gives 1 for a non-empty text; -1 when there is none.
[[nodiscard]] int FindLast(std::string_view text, std::string_view sought);

// Returns the text with every single-byte A-Z turned into a-z; two-byte characters unchanged.
[[nodiscard]] Text ToLower(std::string_view text);
// Returns the decimal number at the start of the text after white space, with at most one sign;
// full-width digits and signs count; wraps modulo 2^32; 0 when there are no digits.
[[nodiscard]] int ToInteger(std::string_view text);
// Returns the text without its leading and trailing spaces (0x20 and the ideographic space
// 0xA1 0xA1); an unpaired lead byte at the end is dropped as well.
[[nodiscard]] Text TrimSpaces(std::string_view text);
// Returns the text without any space (0x20 and 0xA1 0xA1); an unpaired lead byte at the end is
// dropped.
[[nodiscard]] Text RemoveSpaces(std::string_view text);
// Returns the text with every non-overlapping occurrence of `sought` (found at character starts,
// exact) replaced; the text unchanged when it or `sought` is empty.
[[nodiscard]] Text ReplaceAll(std::string_view text, std::string_view sought,
                              std::string_view replacement);
// Returns the pieces between occurrences of `delimiter` found at character starts. Empty pieces
// are kept, except that a trailing delimiter gives no empty last member; an empty text gives no
// members; an empty delimiter gives the whole text as the only member.
[[nodiscard]] TextList Split(std::string_view text, std::string_view delimiter);
// Returns n spaces; empty for n <= 0.
[[nodiscard]] Text SpaceText(int n);
// Returns the one-byte text with that code; the empty text for code 0.
[[nodiscard]] Text CharFromCode(int code);

// ---- Byte sets -------------------------------------------------------------------------------

[[nodiscard]] int ByteLength(const ByteSet& bytes);
// Returns the bytes of the text, without a terminating zero.
[[nodiscard]] ByteSet TextToBytes(std::string_view text);
// Returns the bytes before the first zero byte (all of them when none is zero), unconverted.
[[nodiscard]] Text BytesToText(const ByteSet& bytes);
// Returns n zero bytes; empty for n <= 0.
[[nodiscard]] ByteSet ZeroBytes(int n);
// Returns the first min(n, length) bytes; empty for n <= 0.
[[nodiscard]] ByteSet BytesLeft(const ByteSet& bytes, int n);
[[nodiscard]] ByteSet ConcatBytes(std::initializer_list<const ByteSet*> pieces);
[[nodiscard]] bool BytesEqual(const ByteSet& a, const ByteSet& b);

// ---- Integers and lists ----------------------------------------------------------------------

[[nodiscard]] int BitOr(std::initializer_list<int> values);
// Returns the number truncated toward zero: 2.9 gives 2, -2.9 gives -2.
[[nodiscard]] int TruncateToInteger(double value);
[[nodiscard]] int MemberCount(const TextList& list);
// Returns member i, 1 <= i <= MemberCount; any other i is a programming error.
[[nodiscard]] const Text& Member(const TextList& list, int i);
void AppendMember(TextList& list, std::string_view text);

}  // namespace shortlink
