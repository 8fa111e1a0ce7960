// Prints how long RegexObject::Create plus MatchText(1) take with the Sina provider's pattern on
// answers of 10 KB and 10 MB, and how long the byte position of the last match takes to find.
// The GBK <-> UTF-16 round trip of the answer is timed on its own: it is this side's share of the
// work; the rest is the component's matching.
//
//   scripts/wine-run build/win64/bench/regex/regex_bench.exe
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "regex/regex_object.h"
#include "text/gbk.h"

namespace shortlink {
namespace {

constexpr const char* kAddress = "[a-zA-z]+://[^\\s]*";
constexpr const char* kChinese = "\xD6\xD0\xCE\xC4";  // 中文

// A compact JSON answer: the short link, then a long address padded to `size` bytes. With no
// white space after it, the first match runs to the end of the answer.
Text CompactAnswer(std::size_t size) {
  Text answer = "[{\"url_short\":\"http://t.cn/RxYz12\",\"url_long\":\"http://example.com/a?q=";
  while (answer.size() + 16 < size) answer += kChinese, answer += "abc%20xyz/";
  answer += "\",\"type\":0}]";
  return answer;
}

// An answer of `size` bytes with one address per line, so a global run yields many matches.
Text LinesAnswer(std::size_t size) {
  Text answer;
  for (int i = 0; answer.size() + 64 < size; ++i) {
    answer += kChinese;
    answer += " http://t.cn/R" + std::to_string(i) + "\r\n";
  }
  return answer;
}

template <typename Body>
double MedianMilliseconds(int runs, Body body) {
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    const auto start = std::chrono::steady_clock::now();
    body();
    const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
    times.push_back(took.count());
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

void Measure(const char* name, const Text& answer, int runs) {
  RegexObject regex;
  std::size_t matched = 0;
  const double createAndFirst = MedianMilliseconds(runs, [&] {
    regex.Create(kAddress, answer);
    matched = regex.MatchText(1).size();
  });
  const int count = regex.MatchCount();
  int position = -1;
  const double lastPosition = MedianMilliseconds(runs, [&] { (void)regex.MatchText(count, &position); });
  const double roundTrip = MedianMilliseconds(runs, [&] { (void)WideToGbk(GbkToWide(answer)); });
  std::printf("%-8s %9zu bytes  Create+MatchText(1) %9.2f ms  (%d matches, first %zu bytes)  "
              "MatchText(last, &position) %8.2f ms (at %d)  GBK round trip %7.2f ms\n",
              name, answer.size(), createAndFirst, count, matched, lastPosition, position,
              roundTrip);
}

}  // namespace
}  // namespace shortlink

int main() {
  using namespace shortlink;
  std::printf("median of several runs; Sina pattern %s\n", kAddress);
  Measure("compact", CompactAnswer(10 * 1024), 101);
  Measure("lines", LinesAnswer(10 * 1024), 101);
  Measure("compact", CompactAnswer(10 * 1024 * 1024), 5);
  Measure("lines", LinesAnswer(10 * 1024 * 1024), 3);
}
