#include "platform/win32/win32_http_client.h"

#include <windows.h>

#include <wininet.h>

namespace botenruf::win {

namespace {

// The transfer runs on the user-interface thread: a server that does not answer must give up
// within seconds, not after the system's minutes-long defaults.
constexpr DWORD kConnectTimeoutMs = 10000;
constexpr DWORD kSendTimeoutMs = 10000;
constexpr DWORD kReceiveTimeoutMs = 20000;

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

HttpResult Failed() {
  return {HttpResult::Status::kFailed, GetLastError()};
}

void SetTimeout(HINTERNET handle, DWORD option, DWORD milliseconds) {
  InternetSetOptionA(handle, option, &milliseconds, sizeof(milliseconds));
}

std::optional<uint64_t> ContentLength(HINTERNET request) {
  char value[32] = {};
  DWORD size = sizeof(value);
  if (!HttpQueryInfoA(request, HTTP_QUERY_CONTENT_LENGTH, value, &size, nullptr))
    return std::nullopt;
  return ParseContentLength(std::string_view(value, size));
}

}  // namespace

HttpResult Win32HttpClient::Get(const HttpUrl& url, HttpReceiver& receiver) {
  // One session per transfer, with the system's proxy settings.
  InternetHandle session(
      InternetOpenA("Botenruf", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
  if (!session)
    return Failed();
  SetTimeout(session.get(), INTERNET_OPTION_CONNECT_TIMEOUT, kConnectTimeoutMs);
  SetTimeout(session.get(), INTERNET_OPTION_SEND_TIMEOUT, kSendTimeoutMs);
  SetTimeout(session.get(), INTERNET_OPTION_RECEIVE_TIMEOUT, kReceiveTimeoutMs);
  DWORD retries = 1;
  InternetSetOptionA(session.get(), INTERNET_OPTION_CONNECT_RETRIES, &retries, sizeof(retries));

  InternetHandle connection(InternetConnectA(session.get(), url.host.c_str(), url.port, nullptr,
                                             nullptr, INTERNET_SERVICE_HTTP, 0, 1));
  if (!connection)
    return Failed();
  // Always from the server: a cached version list would hide a new release, and a program
  // file has no business in the browser's cache.
  const DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_PRAGMA_NOCACHE |
                      INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_NO_COOKIES | INTERNET_FLAG_NO_UI;
  InternetHandle request(HttpOpenRequestA(connection.get(), "GET", url.object.c_str(), nullptr,
                                          nullptr, nullptr, flags, 1));
  if (!request)
    return Failed();
  if (!HttpSendRequestA(request.get(), nullptr, 0, nullptr, 0))
    return Failed();

  DWORD status = 0;
  DWORD size = sizeof(status);
  if (!HttpQueryInfoA(request.get(), HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status,
                      &size, nullptr)) {
    return {HttpResult::Status::kNoStatus, GetLastError()};
  }
  if (!receiver.OnResponse(status, ContentLength(request.get())))
    return {HttpResult::Status::kStopped, 0};

  char block[kHttpBlockSize];
  for (;;) {
    DWORD read = 0;
    if (!InternetReadFile(request.get(), block, sizeof(block), &read))
      return Failed();
    if (read == 0)
      return {HttpResult::Status::kComplete, 0};
    if (!receiver.OnBlock(block, read))
      return {HttpResult::Status::kStopped, 0};
  }
}

}  // namespace botenruf::win
