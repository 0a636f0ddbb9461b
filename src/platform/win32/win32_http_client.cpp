#include "platform/win32/win32_http_client.h"

#include <windows.h>

#include <wininet.h>

#include <algorithm>
#include <string>

namespace botenruf::win {

namespace {

class InternetHandle {
 public:
  explicit InternetHandle(HINTERNET handle) : handle_(handle) {}
  ~InternetHandle() {
    if (handle_)
      InternetCloseHandle(handle_);
  }
  InternetHandle(const InternetHandle&) = delete;
  InternetHandle& operator=(const InternetHandle&) = delete;
  HINTERNET get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }

 private:
  HINTERNET handle_;
};

HttpResult Failed(DWORD code = GetLastError()) {
  return {HttpResult::Status::kFailed, code};
}

void SetTimeout(HINTERNET handle, DWORD option, DWORD milliseconds) {
  InternetSetOptionA(handle, option, &milliseconds, sizeof(milliseconds));
}

// On every handle: some systems take a request's timeouts from neither its session nor its
// connection, and wait for an answer without end.
void SetTimeouts(HINTERNET handle, const HttpLimits& limits) {
  SetTimeout(handle, INTERNET_OPTION_CONNECT_TIMEOUT, limits.connectMs);
  SetTimeout(handle, INTERNET_OPTION_SEND_TIMEOUT, limits.connectMs);
  SetTimeout(handle, INTERNET_OPTION_RECEIVE_TIMEOUT, limits.idleMs);
}

std::optional<uint64_t> ContentLength(HINTERNET request) {
  char value[32] = {};
  DWORD size = sizeof(value);
  if (!HttpQueryInfoA(request, HTTP_QUERY_CONTENT_LENGTH, value, &size, nullptr))
    return std::nullopt;
  return ParseContentLength(std::string_view(value, size));
}

// Empty when the answer names none (or one too long to be an address).
std::string Location(HINTERNET request) {
  char value[2048] = {};
  DWORD size = sizeof(value);
  if (!HttpQueryInfoA(request, HTTP_QUERY_LOCATION, value, &size, nullptr))
    return {};
  return std::string(value, size);
}

// Reads what has come (waiting for some) rather than whole blocks, so that a server that sends a
// byte now and then is judged by its pace, not taken for a silent one.
HttpResult Deliver(HINTERNET request, uint32_t status, HttpReceiver& receiver,
                   const std::atomic<bool>& left) {
  if (!receiver.OnResponse(status, ContentLength(request)))
    return {HttpResult::Status::kStopped, 0};
  char block[kHttpBlockSize];
  for (;;) {
    DWORD available = 0;
    if (!InternetQueryDataAvailable(request, &available, 0, 0))
      return Failed();
    if (left)
      return {HttpResult::Status::kCancelled, 0};
    DWORD read = 0;
    const DWORD size = available ? std::min<DWORD>(available, sizeof(block)) : sizeof(block);
    if (!InternetReadFile(request, block, size, &read))
      return Failed();
    if (read == 0)
      return {HttpResult::Status::kComplete, 0};
    if (!receiver.OnBlock(block, read))
      return {HttpResult::Status::kStopped, 0};
  }
}

// Redirects are followed here rather than by WinINet, which on some systems follows a loop
// without end, and would go on to https://, which this client does not speak.
HttpResult WinInetTransfer(HttpUrl url, const HttpLimits& limits, HttpReceiver& receiver,
                           const std::atomic<bool>& left) {
  // One session per transfer, with the system's proxy settings.
  InternetHandle session(
      InternetOpenA("Botenruf", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
  if (!session)
    return Failed();
  SetTimeouts(session.get(), limits);
  DWORD retries = 1;
  InternetSetOptionA(session.get(), INTERNET_OPTION_CONNECT_RETRIES, &retries, sizeof(retries));
  // Always from the server: a cached version list would hide a new release, and a program
  // file has no business in the browser's cache.
  const DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_PRAGMA_NOCACHE |
                      INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_NO_COOKIES |
                      INTERNET_FLAG_NO_UI | INTERNET_FLAG_NO_AUTO_REDIRECT;
  for (int redirects = 0;; ++redirects) {
    InternetHandle connection(InternetConnectA(session.get(), url.host.c_str(), url.port, nullptr,
                                               nullptr, INTERNET_SERVICE_HTTP, 0, 1));
    if (!connection)
      return Failed();
    SetTimeouts(connection.get(), limits);
    InternetHandle request(HttpOpenRequestA(connection.get(), "GET", url.object.c_str(), nullptr,
                                            nullptr, nullptr, flags, 1));
    if (!request)
      return Failed();
    SetTimeouts(request.get(), limits);
    if (!HttpSendRequestA(request.get(), nullptr, 0, nullptr, 0))
      return Failed();

    DWORD status = 0;
    DWORD size = sizeof(status);
    if (!HttpQueryInfoA(request.get(), HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status,
                        &size, nullptr)) {
      return {HttpResult::Status::kNoStatus, GetLastError()};
    }
    if (!IsHttpRedirect(status))
      return Deliver(request.get(), status, receiver, left);
    const std::optional<HttpUrl> next = ResolveRedirect(url, Location(request.get()));
    if (!next || redirects == kMaxHttpRedirects)
      return Failed(ERROR_HTTP_REDIRECT_FAILED);
    url = *next;
  }
}

// Whether the system's settings for the local network (those that WinINet's "preconfigured"
// access reads) may send a request through a proxy: named, found by a configuration script or
// detected. Systems that cannot tell (Internet Explorer before 5) are left to WinINet.
bool ProxyMayApply() {
  INTERNET_PER_CONN_OPTIONA flags = {};
  flags.dwOption = INTERNET_PER_CONN_FLAGS;
  INTERNET_PER_CONN_OPTION_LISTA list = {};
  list.dwSize = sizeof(list);
  list.dwOptionCount = 1;
  list.pOptions = &flags;
  DWORD size = sizeof(list);
  return !InternetQueryOptionA(nullptr, INTERNET_OPTION_PER_CONNECTION_OPTION, &list, &size) ||
         flags.Value.dwValue != PROXY_TYPE_DIRECT;
}

}  // namespace

// The transfer runs on a thread of its own, so that a server that trickles its answer, or any
// step that ignores the timeouts, holds the caller no longer than its limits allow.
HttpResult Win32HttpClient::Get(const HttpUrl& url, HttpReceiver& receiver,
                                const HttpLimits& limits, const std::atomic<bool>& stop) {
  HttpTransfer transfer = [url, limits](HttpReceiver& guarded, const std::atomic<bool>& left) {
    return SocketTransfer(url, limits, guarded, left);
  };
  if (ProxyMayApply()) {
    transfer = [url, limits](HttpReceiver& guarded, const std::atomic<bool>& left) {
      return WinInetTransfer(url, limits, guarded, left);
    };
  }
  return RunWithinLimits(std::move(transfer), receiver, limits, stop);
}

}  // namespace botenruf::win
