// A plain HTTP/1.0 GET over a socket of its own, for servers that the system reaches without a
// proxy. WinINet closes a request by reading the rest of its answer (Wine's does so as long as
// the server keeps sending, without end from a fast one), and a read of it waits for a whole
// block; this client closes at once, and hands on every part of the body as it comes.
#include <winsock2.h>

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "platform/win32/win32_http_client.h"

namespace botenruf::win {

namespace {

// WinINet's codes, so that every route reports alike.
constexpr uint32_t kNameNotResolved = 12007;    // ERROR_INTERNET_NAME_NOT_RESOLVED
constexpr uint32_t kCannotConnect = 12029;      // ERROR_INTERNET_CANNOT_CONNECT
constexpr uint32_t kConnectionAborted = 12030;  // ERROR_INTERNET_CONNECTION_ABORTED
constexpr uint32_t kConnectionReset = 12031;    // ERROR_INTERNET_CONNECTION_RESET
constexpr uint32_t kInvalidResponse = 12152;    // ERROR_HTTP_INVALID_SERVER_RESPONSE
constexpr uint32_t kRedirectFailed = 12156;     // ERROR_HTTP_REDIRECT_FAILED
// A head longer than this is no answer of an update server.
constexpr size_t kMaxHeadSize = 16 * 1024;

class Socket {
 public:
  Socket() : started_(WSAStartup(MAKEWORD(2, 0), &data_) == 0) {}
  ~Socket() {
    if (socket_ != INVALID_SOCKET)
      closesocket(socket_);
    if (started_)
      WSACleanup();
  }
  Socket(const Socket&) = delete;
  Socket& operator=(const Socket&) = delete;
  bool Open() {
    if (started_)
      socket_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    u_long nonBlocking = 1;
    return socket_ != INVALID_SOCKET && ioctlsocket(socket_, FIONBIO, &nonBlocking) == 0;
  }
  SOCKET get() const { return socket_; }

 private:
  WSADATA data_ = {};
  bool started_;
  SOCKET socket_ = INVALID_SOCKET;
};

HttpResult Failed(uint32_t code) {
  return {HttpResult::Status::kFailed, code};
}

enum class Ready { kYes, kTimedOut, kLeft, kFailed };

// Waits for the socket in short slices, so that a transfer that is left ends soon.
Ready WaitFor(SOCKET socket, bool writing, uint32_t timeoutMs, const std::atomic<bool>& left) {
  const DWORD start = GetTickCount();
  for (;;) {
    if (left)
      return Ready::kLeft;
    const DWORD waited = GetTickCount() - start;
    if (waited >= timeoutMs)
      return Ready::kTimedOut;
    const DWORD slice = std::min<DWORD>(timeoutMs - waited, 100);
    fd_set ready, failed;
    FD_ZERO(&ready);
    FD_ZERO(&failed);
    FD_SET(socket, &ready);
    FD_SET(socket, &failed);  // where a connection that failed shows
    timeval time = {0, static_cast<long>(slice * 1000)};
    const int count =
        select(0, writing ? nullptr : &ready, writing ? &ready : nullptr, &failed, &time);
    if (count == SOCKET_ERROR || FD_ISSET(socket, &failed))
      return Ready::kFailed;
    if (count > 0)
      return Ready::kYes;
  }
}

bool Resolve(const std::string& host, in_addr& address) {
  address.s_addr = inet_addr(host.c_str());
  if (address.s_addr != INADDR_NONE)
    return true;
  const hostent* entry = gethostbyname(host.c_str());
  if (!entry || entry->h_addrtype != AF_INET || !entry->h_addr_list[0])
    return false;
  std::memcpy(&address, entry->h_addr_list[0], sizeof(address));
  return true;
}

HttpResult Connect(Socket& connection, const HttpUrl& url, const HttpLimits& limits,
                   const std::atomic<bool>& left) {
  sockaddr_in server = {};
  server.sin_family = AF_INET;
  server.sin_port = htons(url.port);
  if (!Resolve(url.host, server.sin_addr))
    return Failed(kNameNotResolved);
  if (!connection.Open())
    return Failed(WSAGetLastError());
  if (connect(connection.get(), reinterpret_cast<const sockaddr*>(&server), sizeof(server)) != 0 &&
      WSAGetLastError() != WSAEWOULDBLOCK) {
    return Failed(kCannotConnect);
  }
  switch (WaitFor(connection.get(), true, limits.connectMs, left)) {
    case Ready::kYes:
      break;
    case Ready::kTimedOut:
      return Failed(kHttpTimeoutError);
    case Ready::kLeft:
      return {HttpResult::Status::kCancelled, 0};
    case Ready::kFailed:
      return Failed(kCannotConnect);
  }
  const std::string request = GetRequestText(url);
  for (size_t sent = 0; sent < request.size();) {
    const int count =
        send(connection.get(), request.data() + sent, static_cast<int>(request.size() - sent), 0);
    if (count > 0) {
      sent += static_cast<size_t>(count);
    } else if (WSAGetLastError() != WSAEWOULDBLOCK ||
               WaitFor(connection.get(), true, limits.connectMs, left) != Ready::kYes) {
      return Failed(kConnectionAborted);
    }
  }
  return {HttpResult::Status::kComplete, 0};
}

// Reads what the server sends next, waiting at most idleMs for it: its size, 0 at the end of
// the answer; else the result that ends the transfer.
struct Received {
  size_t size = 0;
  std::optional<HttpResult> end;
};

Received ReceiveSome(SOCKET socket, char* buffer, size_t size, const HttpLimits& limits,
                     const std::atomic<bool>& left) {
  for (;;) {
    switch (WaitFor(socket, false, limits.idleMs, left)) {
      case Ready::kYes:
        break;
      case Ready::kTimedOut:
        return {0, Failed(kHttpTimeoutError)};
      case Ready::kLeft:
        return {0, HttpResult{HttpResult::Status::kCancelled, 0}};
      case Ready::kFailed:
        return {0, Failed(kConnectionAborted)};
    }
    const int count = recv(socket, buffer, static_cast<int>(size), 0);
    if (count >= 0)
      return {static_cast<size_t>(count), std::nullopt};
    const int error = WSAGetLastError();
    if (error != WSAEWOULDBLOCK)
      return {0, Failed(error == WSAECONNRESET ? kConnectionReset : kConnectionAborted)};
  }
}

// True when the server has sent more after the end it announced, or sends it at once.
bool SendsMore(SOCKET socket) {
  fd_set ready;
  FD_ZERO(&ready);
  FD_SET(socket, &ready);
  timeval now = {0, 0};
  char extra;
  return select(0, &ready, nullptr, nullptr, &now) > 0 && recv(socket, &extra, 1, 0) > 0;
}

// Reads the head of the answer; what came after it is left in `body`.
HttpResult ReadHead(SOCKET socket, const HttpLimits& limits, const std::atomic<bool>& left,
                    HttpResponseHead& head, std::string& body) {
  std::string text;
  for (;;) {
    const size_t end = text.find("\r\n\r\n");
    if (end != std::string::npos) {
      const std::optional<HttpResponseHead> parsed = ParseResponseHead(text.substr(0, end + 2));
      if (!parsed || parsed->chunked)
        return Failed(kInvalidResponse);
      head = *parsed;
      body = text.substr(end + 4);
      return {HttpResult::Status::kComplete, 0};
    }
    if (text.size() > kMaxHeadSize)
      return Failed(kInvalidResponse);
    char block[kHttpBlockSize];
    const Received got = ReceiveSome(socket, block, sizeof(block), limits, left);
    if (got.end)
      return *got.end;
    if (got.size == 0)
      return Failed(kInvalidResponse);  // closed before its answer was whole
    text.append(block, got.size);
  }
}

HttpResult Deliver(SOCKET socket, const HttpResponseHead& head, std::string body,
                   const HttpLimits& limits, const std::atomic<bool>& left,
                   HttpReceiver& receiver) {
  if (!receiver.OnResponse(head.status, head.contentLength))
    return {HttpResult::Status::kStopped, 0};
  const uint64_t announced = head.contentLength.value_or(UINT64_MAX);
  uint64_t received = 0;
  char block[kHttpBlockSize];
  for (;;) {
    if (received == announced) {
      return {!body.empty() || SendsMore(socket) ? HttpResult::Status::kOverlong
                                                 : HttpResult::Status::kComplete,
              0};
    }
    // What came with the head first, then what the server sends.
    size_t size = std::min(body.size(), sizeof(block));
    if (size > 0) {
      std::memcpy(block, body.data(), size);
      body.erase(0, size);
    } else {
      const Received got = ReceiveSome(socket, block, sizeof(block), limits, left);
      if (got.end)
        return *got.end;
      if (got.size == 0)
        return {HttpResult::Status::kComplete, 0};
      size = got.size;
    }
    if (received + size > announced)
      return {HttpResult::Status::kOverlong, 0};
    received += size;
    if (!receiver.OnBlock(block, size))
      return {HttpResult::Status::kStopped, 0};
  }
}

}  // namespace

HttpResult SocketTransfer(HttpUrl url, const HttpLimits& limits, HttpReceiver& receiver,
                          const std::atomic<bool>& left) {
  for (int redirects = 0;; ++redirects) {
    Socket connection;
    const HttpResult connected = Connect(connection, url, limits, left);
    if (connected.status != HttpResult::Status::kComplete)
      return connected;
    HttpResponseHead head;
    std::string body;
    const HttpResult read = ReadHead(connection.get(), limits, left, head, body);
    if (read.status != HttpResult::Status::kComplete)
      return read;
    if (!IsHttpRedirect(head.status))
      return Deliver(connection.get(), head, std::move(body), limits, left, receiver);
    const std::optional<HttpUrl> next = ResolveRedirect(url, head.location);
    if (!next || redirects == kMaxHttpRedirects)
      return Failed(kRedirectFailed);
    url = *next;
  }
}

}  // namespace botenruf::win
