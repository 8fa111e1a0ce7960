// Times complete HttpRequest GETs of one address: the first call (which also loads wininet.dll)
// and the median and minimum of the following ones.
//
//   http_bench.exe http://sa.sogou.com/small 10
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "http/http_request.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: http_bench URL [RUNS]\n");
    return 2;
  }
  const int runs = argc > 2 ? std::max(2, std::atoi(argv[2])) : 10;
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  std::vector<double> ms;
  std::size_t bytes = 0;
  for (int i = 0; i < runs; ++i) {
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    bytes = shortlink::HttpRequest(argv[1]).size();
    QueryPerformanceCounter(&end);
    ms.push_back(1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) /
                 static_cast<double>(frequency.QuadPart));
  }
  const double first = ms.front();
  std::vector<double> rest(ms.begin() + 1, ms.end());
  std::sort(rest.begin(), rest.end());
  std::printf("%zu bytes  first %.2f ms  median %.2f ms  min %.2f ms  (%d runs)\n", bytes, first,
              rest[rest.size() / 2], rest.front(), runs);
  return bytes > 0 ? 0 : 1;
}
