// The HTTP client: WinINet where the system's settings may send a request through a proxy (it
// knows them all, configuration scripts and automatic detection included), else a socket of its
// own, which can end a transfer at once.
#pragma once

#include "platform/http_client.h"

namespace botenruf::win {

class Win32HttpClient : public HttpClient {
 public:
  HttpResult Get(const HttpUrl& url, HttpReceiver& receiver, const HttpLimits& limits,
                 const std::atomic<bool>& stop) override;
};

// The direct route (win32_socket_http.cpp).
HttpResult SocketTransfer(HttpUrl url, const HttpLimits& limits, HttpReceiver& receiver,
                          const std::atomic<bool>& left);

}  // namespace botenruf::win
