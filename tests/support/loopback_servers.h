// Test-side access to the loopback servers that tests/support/netns-run --servers starts: register
// canned answers and read back every request exactly as it arrived. Talks to their control
// listener (127.0.0.1, port SHORTLINK_CONTROL_PORT) over a plain socket, so it does not depend on
// the HTTP code under test.
//
//   LoopbackServers::Reset();
//   LoopbackServers::Answer({.path = "/gettiny", .body = "http://t.cn/x"});
//   ... the code under test asks http://sa.sogou.com/gettiny ...
//   RecordedRequest sent = LoopbackServers::Request(-1);  // "GET /gettiny HTTP/1.1", ...
//
// Every call throws std::runtime_error when the control listener cannot be reached (a test run
// outside netns-run) or refuses the call.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace shortlink::test {

// One canned answer. Strings are bytes, sent as they are.
struct CannedAnswer {
  std::string path{};         // request target to match: path and query as sent
  bool prefix = false;      // match every target beginning with `path`
  std::string host{};         // empty: any host
  std::string method{};       // empty: any verb
  int status = 200;
  std::string reason = "OK";
  std::vector<std::pair<std::string, std::string>> headers{};  // in this order
  std::string body{};
  long long bodySize = -1;  // >= 0: `body` repeated to exactly this many bytes
  bool gzip = false;        // sent gzip-compressed, with Content-Encoding: gzip
  int times = 0;            // > 0: serves this many requests, then is dropped
};

// One request as the server received it.
struct RecordedRequest {
  std::string listener;                  // "http:80", "https:443" or "proxy:3128"
  std::string raw;                       // every byte as it arrived
  std::string requestLine;               // without CR LF
  std::vector<std::string> headerLines;  // in order, without CR LF
  std::string body{};

  // Returns the trimmed values of the header lines called `name` (ASCII case ignored), in order.
  [[nodiscard]] std::vector<std::string> HeaderValues(std::string_view name) const;
};

class LoopbackServers {
 public:
  // Forgets every answer and recorded request, and listens again after GoOffline.
  static void Reset();
  // Closes the HTTP, HTTPS and proxy listeners and every open connection, so that connecting is
  // refused as with no network at all; the control listener stays. GoOnline opens them again.
  static void GoOffline();
  static void GoOnline();
  // Adds an answer; of several that match a request, the newest wins.
  static void Answer(const CannedAnswer& answer);
  // Returns the number of requests recorded since the last Reset.
  static int RequestCount();
  // Returns request `index` (from 0; -1 is the last one).
  static RecordedRequest Request(int index);
};

}  // namespace shortlink::test
