#include "support/loopback_servers.h"

#include <winsock2.h>

#include <cstdio>
#include <cstdlib>
#include <stdexcept>

namespace shortlink::test {
namespace {

// A socket closed when it goes out of scope.
class Socket {
 public:
  Socket() {
    static const bool started = [] {
      WSADATA data;
      return WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }();
    if (!started) throw std::runtime_error("WSAStartup failed");
    socket_ = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (socket_ == INVALID_SOCKET) throw std::runtime_error("socket() failed");
  }
  ~Socket() { closesocket(socket_); }
  Socket(const Socket&) = delete;
  Socket& operator=(const Socket&) = delete;
  [[nodiscard]] SOCKET get() const { return socket_; }

 private:
  SOCKET socket_;
};

int ControlPort() {
  const char* port = std::getenv("SHORTLINK_CONTROL_PORT");
  return port != nullptr ? std::atoi(port) : 8998;
}

struct ControlAnswer {
  int status = 0;
  std::string head;
  std::string body;
};

// Sends one control request and returns the answer; the server closes the connection after it.
ControlAnswer Control(std::string_view method, std::string_view target, std::string_view body) {
  Socket socket;
  // A server that stops answering fails the test instead of hanging it.
  const DWORD timeoutMs = 30000;
  setsockopt(socket.get(), SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeoutMs),
             sizeof timeoutMs);
  setsockopt(socket.get(), SOL_SOCKET, SO_SNDTIMEO, reinterpret_cast<const char*>(&timeoutMs),
             sizeof timeoutMs);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<u_short>(ControlPort()));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (connect(socket.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
    throw std::runtime_error(
        "the loopback servers' control listener is not reachable: run this test through "
        "tests/support/netns-run --servers");
  }
  std::string request = std::string(method) + " " + std::string(target) +
                        " HTTP/1.1\r\nHost: control\r\nConnection: close\r\nContent-Length: " +
                        std::to_string(body.size()) + "\r\n\r\n" + std::string(body);
  for (std::size_t sent = 0; sent < request.size();) {
    const int n = send(socket.get(), request.data() + sent, static_cast<int>(request.size() - sent), 0);
    if (n <= 0) throw std::runtime_error("control request could not be sent");
    sent += static_cast<std::size_t>(n);
  }
  std::string answer;
  char block[65536];
  for (;;) {
    const int n = recv(socket.get(), block, sizeof block, 0);
    if (n < 0) throw std::runtime_error("control answer could not be read");
    if (n == 0) break;
    answer.append(block, static_cast<std::size_t>(n));
  }
  const std::size_t end = answer.find("\r\n\r\n");
  if (answer.compare(0, 9, "HTTP/1.1 ") != 0 || end == std::string::npos) {
    throw std::runtime_error("malformed control answer: " + answer);
  }
  ControlAnswer result{std::atoi(answer.c_str() + 9), answer.substr(0, end), answer.substr(end + 4)};
  if (result.status != 200) {
    throw std::runtime_error("control request " + std::string(target) + " failed: " + result.body);
  }
  return result;
}

// Returns the bytes as a JSON string in which each character U+0000-U+00FF is one byte, the
// convention of the control listener.
std::string JsonBytes(std::string_view bytes) {
  std::string json = "\"";
  for (char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x20 && byte < 0x7F && c != '"' && c != '\\') {
      json += c;
    } else {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
      json += escaped;
    }
  }
  return json + "\"";
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

}  // namespace

std::vector<std::string> RecordedRequest::HeaderValues(std::string_view name) const {
  std::vector<std::string> values;
  for (std::string_view line : headerLines) {
    const std::size_t colon = line.find(':');
    if (colon != std::string_view::npos && EqualsIgnoringCase(line.substr(0, colon), name)) {
      values.emplace_back(Trimmed(line.substr(colon + 1)));
    }
  }
  return values;
}

void LoopbackServers::Reset() { Control("POST", "/reset", ""); }

void LoopbackServers::GoOffline() { Control("POST", "/offline", ""); }

void LoopbackServers::GoOnline() { Control("POST", "/online", ""); }

void LoopbackServers::Answer(const CannedAnswer& answer) {
  std::string json = "{\"path\":";
  json += JsonBytes(answer.path);
  json += answer.prefix ? ",\"prefix\":true" : ",\"prefix\":false";
  json += ",\"status\":";
  json += std::to_string(answer.status);
  json += ",\"reason\":";
  json += JsonBytes(answer.reason);
  json += ",\"body\":";
  json += JsonBytes(answer.body);
  json += answer.gzip ? ",\"gzip\":true" : ",\"gzip\":false";
  json += ",\"headers\":[";
  for (std::size_t i = 0; i < answer.headers.size(); ++i) {
    json += i > 0 ? ",[" : "[";
    json += JsonBytes(answer.headers[i].first);
    json += ",";
    json += JsonBytes(answer.headers[i].second);
    json += "]";
  }
  json += "]";
  if (!answer.host.empty()) json += ",\"host\":" + JsonBytes(answer.host);
  if (!answer.method.empty()) json += ",\"method\":" + JsonBytes(answer.method);
  if (answer.bodySize >= 0) json += ",\"bodySize\":" + std::to_string(answer.bodySize);
  if (answer.times > 0) json += ",\"times\":" + std::to_string(answer.times);
  json += "}";
  Control("POST", "/answer", json);
}

int LoopbackServers::RequestCount() { return std::atoi(Control("GET", "/requests/count", "").body.c_str()); }

RecordedRequest LoopbackServers::Request(int index) {
  ControlAnswer answer = Control("GET", "/requests/" + std::to_string(index), "");
  RecordedRequest request;
  const std::size_t listener = answer.head.find("\r\nX-Listener: ");
  if (listener != std::string::npos) {
    const std::size_t from = listener + 14;
    request.listener = answer.head.substr(from, answer.head.find("\r\n", from) - from);
  }
  request.raw = std::move(answer.body);
  const std::size_t headEnd = request.raw.find("\r\n\r\n");
  const std::string head = request.raw.substr(0, headEnd);
  request.body = headEnd == std::string::npos ? "" : request.raw.substr(headEnd + 4);
  std::size_t from = 0;
  for (bool first = true; from <= head.size(); first = false) {
    std::size_t to = head.find("\r\n", from);
    if (to == std::string::npos) to = head.size();
    (first ? request.requestLine : request.headerLines.emplace_back()) = head.substr(from, to - from);
    from = to + 2;
  }
  return request;
}

}  // namespace shortlink::test
