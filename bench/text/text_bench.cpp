// Find, Split and ReplaceAll over 1 MB and 64 MB texts, with std::string_view::find on the same
// data as the yardstick for Find. Two kinds of text: ASCII words in CRLF lines, and the same
// with GBK two-byte characters mixed in (where Find has hits on second bytes to reject).
//
//   build/<preset>/bench/text/text_bench --benchmark_filter=Find
#include <benchmark/benchmark.h>

#include <map>
#include <random>
#include <string>
#include <string_view>
#include <utility>

#include "text/text.h"

namespace shortlink {
namespace {

constexpr std::string_view kNeedle = "needle=";

// Lines of about 60 bytes: lower-case words, and with `gbk` two-byte characters among them whose
// second bytes often look like ASCII letters. The needle is only at the very end, so every search
// walks the whole text.
const Text& Sample(std::size_t size, bool gbk) {
  static std::map<std::pair<std::size_t, bool>, Text> samples;
  Text& text = samples[{size, gbk}];
  if (!text.empty()) return text;
  std::mt19937 random(7);
  text.reserve(size);
  std::size_t lineLength = 0;
  while (text.size() + kNeedle.size() + 2 < size) {
    if (lineLength >= 60) {
      text += "\r\n";
      lineLength = 0;
    } else if (gbk && random() % 4 == 0) {
      text += static_cast<char>(0xB0 + random() % 0x40);
      text += static_cast<char>(0x40 + random() % 0x3F);  // second byte in the ASCII range
      lineLength += 2;
    } else {
      text += random() % 6 == 0 ? ' ' : static_cast<char>('a' + random() % 26);
      ++lineLength;
    }
  }
  text += "\r\n";
  text += kNeedle;
  return text;
}

void SetBytes(benchmark::State& state, const Text& text) {
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}

void StringViewFind(benchmark::State& state, bool gbk) {
  const Text& text = Sample(static_cast<std::size_t>(state.range(0)), gbk);
  for (auto _ : state) benchmark::DoNotOptimize(std::string_view(text).find(kNeedle));
  SetBytes(state, text);
}

// What one fresh copy of the text costs here (allocation and page faults included): the floor for
// anything that builds a new text of that size.
void CopyText(benchmark::State& state, bool gbk) {
  const Text& text = Sample(static_cast<std::size_t>(state.range(0)), gbk);
  for (auto _ : state) benchmark::DoNotOptimize(Text(text));
  SetBytes(state, text);
}

void TextFind(benchmark::State& state, bool gbk) {
  const Text& text = Sample(static_cast<std::size_t>(state.range(0)), gbk);
  for (auto _ : state) benchmark::DoNotOptimize(Find(text, kNeedle));
  SetBytes(state, text);
}

void TextFindIgnoringCase(benchmark::State& state, bool gbk) {
  const Text& text = Sample(static_cast<std::size_t>(state.range(0)), gbk);
  for (auto _ : state) benchmark::DoNotOptimize(Find(text, "NEEDLE=", 0, true));
  SetBytes(state, text);
}

void TextSplit(benchmark::State& state, bool gbk) {
  const Text& text = Sample(static_cast<std::size_t>(state.range(0)), gbk);
  for (auto _ : state) benchmark::DoNotOptimize(Split(text, "\r\n"));
  SetBytes(state, text);
}

void TextReplaceAll(benchmark::State& state, bool gbk) {
  const Text& text = Sample(static_cast<std::size_t>(state.range(0)), gbk);
  for (auto _ : state) benchmark::DoNotOptimize(ReplaceAll(text, "\r\n", "<br>"));
  SetBytes(state, text);
}

constexpr std::int64_t kMegabyte = 1 << 20;

#define SHORTLINK_TEXT_BENCHMARK(function)                                          \
  BENCHMARK_CAPTURE(function, ascii, false)                                         \
      ->Arg(kMegabyte)->Arg(64 * kMegabyte)->Unit(benchmark::kMicrosecond);         \
  BENCHMARK_CAPTURE(function, gbk, true)                                            \
      ->Arg(kMegabyte)->Arg(64 * kMegabyte)->Unit(benchmark::kMicrosecond)

SHORTLINK_TEXT_BENCHMARK(StringViewFind);
SHORTLINK_TEXT_BENCHMARK(CopyText);
SHORTLINK_TEXT_BENCHMARK(TextFind);
SHORTLINK_TEXT_BENCHMARK(TextFindIgnoringCase);
SHORTLINK_TEXT_BENCHMARK(TextSplit);
SHORTLINK_TEXT_BENCHMARK(TextReplaceAll);

}  // namespace
}  // namespace shortlink
