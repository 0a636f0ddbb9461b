// The HTTP client over WinINet.
#pragma once

#include "platform/http_client.h"

namespace botenruf::win {

class Win32HttpClient : public HttpClient {
 public:
  HttpResult Get(const HttpUrl& url, HttpReceiver& receiver, const HttpLimits& limits,
                 const std::atomic<bool>& stop) override;
};

}  // namespace botenruf::win
