#include "text/gbk.h"

#include <windows.h>

namespace shortlink {
namespace {

constexpr UINT kGbk = 936;

std::wstring ToWide(UINT codePage, std::string_view bytes) {
  bytes = bytes.substr(0, bytes.find('\0'));
  if (bytes.empty()) return {};
  const int size = static_cast<int>(bytes.size());
  const int count = MultiByteToWideChar(codePage, 0, bytes.data(), size, nullptr, 0);
  std::wstring wide(static_cast<size_t>(count), L'\0');
  MultiByteToWideChar(codePage, 0, bytes.data(), size, wide.data(), count);
  return wide;
}

std::string FromWide(UINT codePage, std::wstring_view wide) {
  wide = wide.substr(0, wide.find(L'\0'));
  if (wide.empty()) return {};
  const int size = static_cast<int>(wide.size());
  const int count = WideCharToMultiByte(codePage, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<size_t>(count), '\0');
  WideCharToMultiByte(codePage, 0, wide.data(), size, bytes.data(), count, nullptr, nullptr);
  return bytes;
}

}  // namespace

std::wstring GbkToWide(std::string_view gbk) { return ToWide(kGbk, gbk); }

Text WideToGbk(std::wstring_view wide) { return FromWide(kGbk, wide); }

std::string GbkToUtf8(std::string_view gbk) { return FromWide(CP_UTF8, GbkToWide(gbk)); }

}  // namespace shortlink
