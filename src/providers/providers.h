// The three short-link services. Each reads the long address, asks its service, and always shows
// a result, the empty text when nothing usable came back; none of them reports a failure.
//
//   ShortenWithSogou({.readLongUrl = [&] { return GetControlText(edit1); },
//                     .showResult = [&](const Text& t) { SetControlText(edit3, t); }});
#pragma once

#include <functional>

#include "text/text.h"

namespace shortlink {

// Where a provider reads the long address and where its result goes (its row's box).
struct ProviderIo {
  std::function<Text()> readLongUrl;
  std::function<void(const Text&)> showResult;
};

// POSTs the address as JSON to the Baidu service twice and shows the short link of the second
// answer.
void ShortenWithBaidu(const ProviderIo& io);
// GETs the Sogou service with the address and shows the whole answer.
void ShortenWithSogou(const ProviderIo& io);
// GETs the Sina API with the address and shows the answer's first web address, cut at its first
// double quote.
void ShortenWithSina(const ProviderIo& io);

}  // namespace shortlink
