// HttpRequest over wininet.dll. The library is not linked: each function is looked up by name on
// its first call, and a missing library or function stops the program with a message naming both.
#include <windows.h>
#include <wininet.h>

#include <string>

#include "http/http_request.h"
#include "http/url.h"  // UrlPort

namespace shortlink {
namespace {

constexpr char kLibraryName[] = "wininet.dll";

[[noreturn]] void StopForMissingFunction(const char* function) {
  std::string message = std::string("The function ") + function + " could not be found in " +
                        kLibraryName + ". The program stops.";
  MessageBoxA(nullptr, message.c_str(), "ShortLink", MB_OK | MB_ICONERROR | MB_TASKMODAL);
  ExitProcess(1);
}

// Loads wininet.dll by its full path in the system directory, so a wininet.dll planted beside
// the program is never loaded, and its own dependencies are looked for there first. Not
// LOAD_LIBRARY_SEARCH_SYSTEM32: a Windows 7 without update KB2533623 rejects that flag, and
// every request would stop the program as if the library were missing. Null on failure.
HMODULE LoadFromSystemDirectory() {
  wchar_t directory[MAX_PATH];
  const UINT length = GetSystemDirectoryW(directory, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return nullptr;
  const std::wstring path = std::wstring(directory, length) + L"\\wininet.dll";
  return LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

// Returns `function` of wininet.dll, loading the library on the first call; stops the program
// when either is missing.
FARPROC FindFunction(const char* function) {
  static const HMODULE library = LoadFromSystemDirectory();
  FARPROC address = library != nullptr ? GetProcAddress(library, function) : nullptr;
  if (address == nullptr) StopForMissingFunction(function);
  return address;
}

// A wininet.dll function found on its first call and kept. The program calls these from its one
// thread only, so the cached pointer needs no lock.
template <typename Function>
class LateBound {
 public:
  explicit constexpr LateBound(const char* name) : name_(name) {}

  template <typename... Args>
  auto operator()(Args... args) {
    if (function_ == nullptr) {
      // Through void(*)(): the generic function pointer type, which converts without a warning.
      function_ = reinterpret_cast<Function*>(reinterpret_cast<void (*)()>(FindFunction(name_)));
    }
    return function_(args...);
  }

 private:
  const char* name_;
  Function* function_ = nullptr;
};

LateBound<decltype(InternetOpenA)> internetOpen{"InternetOpenA"};
LateBound<decltype(InternetConnectA)> internetConnect{"InternetConnectA"};
LateBound<decltype(HttpOpenRequestA)> httpOpenRequest{"HttpOpenRequestA"};
LateBound<decltype(InternetSetOptionA)> internetSetOption{"InternetSetOptionA"};
LateBound<decltype(HttpSendRequestA)> httpSendRequest{"HttpSendRequestA"};
LateBound<decltype(InternetReadFile)> internetReadFile{"InternetReadFile"};
LateBound<decltype(HttpQueryInfoA)> httpQueryInfo{"HttpQueryInfoA"};
LateBound<decltype(InternetCloseHandle)> internetCloseHandle{"InternetCloseHandle"};

// Owns one internet handle and closes it when it goes out of scope. Declared root, connection,
// request, they close in the reverse order on every return path.
class InternetHandle {
 public:
  explicit InternetHandle(HINTERNET handle) : handle_(handle) {}
  ~InternetHandle() {
    if (handle_ != nullptr) internetCloseHandle(handle_);
  }
  InternetHandle(const InternetHandle&) = delete;
  InternetHandle& operator=(const InternetHandle&) = delete;

  [[nodiscard]] HINTERNET get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }

 private:
  HINTERNET handle_;
};

// Returns every body byte, read block by block until a read reports none (end of data or failure).
ByteSet ReadBody(HINTERNET request) {
  ByteSet body;
  std::uint8_t block[kReadBlockSize];
  for (;;) {
    DWORD count = 0;
    internetReadFile(request, block, static_cast<DWORD>(kReadBlockSize), &count);
    if (count == 0) break;
    body.insert(body.end(), block, block + count);  // geometric growth: linear overall
  }
  return body;
}

// Returns the raw response header block, or kRawHeaderBufferSize spaces when the platform gives
// none (no answer). A block too large for the first buffer is asked for again at the reported
// size, so its cookies and redirect target are not lost.
Text QueryRawHeaders(HINTERNET request) {
  std::string buffer(kRawHeaderBufferSize, ' ');
  DWORD length = static_cast<DWORD>(buffer.size());
  if (!httpQueryInfo(request, HTTP_QUERY_RAW_HEADERS_CRLF, buffer.data(), &length, nullptr) &&
      GetLastError() == ERROR_INSUFFICIENT_BUFFER && length > buffer.size()) {
    std::string larger(length + 1, ' ');
    DWORD largerLength = static_cast<DWORD>(larger.size());
    if (httpQueryInfo(request, HTTP_QUERY_RAW_HEADERS_CRLF, larger.data(), &largerLength,
                      nullptr)) {
      buffer.swap(larger);
    }
  }
  return RawHeaderText(buffer);
}

}  // namespace

ByteSet HttpRequest(std::string_view url, int method, std::string_view textBody, Text* cookies,
                    Text* receivedCookies, Text* headers, Text* location, bool noRedirect,
                    ByteSet* byteBody, const Text* proxy, Text* rawHeaders) {
  Text ownHeaders, ownLocation, ownReceived, ownRaw;
  ByteSet ownByteBody;
  if (headers == nullptr) headers = &ownHeaders;
  if (location == nullptr) location = &ownLocation;
  if (receivedCookies == nullptr) receivedCookies = &ownReceived;
  if (rawHeaders == nullptr) rawHeaders = &ownRaw;
  if (byteBody == nullptr) byteBody = &ownByteBody;

  const Text verb = RequestVerb(method);
  const Text agent = RequestAgent(*headers);
  const char* agentOrNull = agent.empty() ? nullptr : agent.c_str();
  ByteSet body;
  {
    const Text proxyList = proxy != nullptr ? "http=" + *proxy : Text();
    InternetHandle root(proxy != nullptr
                            ? internetOpen(agentOrNull, INTERNET_OPEN_TYPE_PROXY,
                                           proxyList.c_str(), "", 0)
                            : internetOpen(agentOrNull, INTERNET_OPEN_TYPE_DIRECT, nullptr,
                                           nullptr, 0));
    if (!root) return {};
    InternetHandle connection(internetConnect(root.get(), RequestHostName(url).c_str(),
                                              static_cast<INTERNET_PORT>(UrlPort(url)), nullptr,
                                              nullptr, INTERNET_SERVICE_HTTP, 0, 0));
    if (!connection) return {};
    InternetHandle request(httpOpenRequest(
        connection.get(), verb.c_str(), RequestObjectName(url).c_str(), "HTTP/1.1", nullptr,
        nullptr, RequestFlags(url, cookies != nullptr, noRedirect), 0));
    if (!request) return {};

    CompleteHeaders(headers, url, cookies != nullptr ? std::string_view(*cookies) : "");
    // Encoded answers (the Baidu request announces gzip and deflate) come back decoded; without
    // this the compressed bytes would be returned as if they were the answer.
    BOOL decode = TRUE;
    internetSetOption(request.get(), INTERNET_OPTION_HTTP_DECODING, &decode,
                      static_cast<DWORD>(sizeof decode));
    const DWORD headerLength = static_cast<DWORD>(headers->size());
    if (method == 0) {
      char emptyOptional[] = "";
      httpSendRequest(request.get(), headers->c_str(), headerLength, emptyOptional, 0);
    } else {
      if (byteBody->empty()) *byteBody = TextToBytes(textBody);
      httpSendRequest(request.get(), headers->c_str(), headerLength,
                      byteBody->empty() ? nullptr : byteBody->data(),
                      static_cast<DWORD>(byteBody->size()));
    }
    body = ReadBody(request.get());
    *rawHeaders = QueryRawHeaders(request.get());
  }  // request, connection and root are closed here, before the header block is read
  ScanResponseHeaders(*rawHeaders, location, receivedCookies, cookies);
  return body;
}

}  // namespace shortlink
