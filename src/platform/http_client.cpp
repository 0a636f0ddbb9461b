#include "platform/http_client.h"

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

#include "text/text.h"

namespace botenruf {

std::optional<HttpUrl> SplitHttpUrl(std::string_view url) {
  constexpr std::string_view kScheme = "http://";
  if (url.size() < kScheme.size() || !EqualsIgnoreCase1252(url.substr(0, kScheme.size()), kScheme))
    return std::nullopt;
  url.remove_prefix(kScheme.size());
  const size_t slash = url.find('/');
  std::string_view authority = url.substr(0, slash);
  HttpUrl result;
  if (slash != std::string_view::npos)
    result.object = std::string(url.substr(slash));
  const size_t colon = authority.find(':');
  if (colon != std::string_view::npos) {
    const std::string_view port = authority.substr(colon + 1);
    const std::optional<uint64_t> number = ParseContentLength(port);
    if (!number || *number == 0 || *number > 65535)
      return std::nullopt;
    result.port = static_cast<uint16_t>(*number);
    authority = authority.substr(0, colon);
  }
  if (authority.empty())
    return std::nullopt;
  for (char c : authority) {
    if (IsSpace(c) || c == '@' || c == '?' || c == '#')
      return std::nullopt;
  }
  result.host = std::string(authority);
  return result;
}

std::optional<uint64_t> ParseContentLength(std::string_view value) {
  if (value.empty() || value.size() > 18)
    return std::nullopt;
  uint64_t number = 0;
  for (char c : value) {
    if (c < '0' || c > '9')
      return std::nullopt;
    number = number * 10 + static_cast<uint64_t>(c - '0');
  }
  return number;
}

std::optional<HttpUrl> ResolveRedirect(const HttpUrl& from, std::string_view location) {
  location = location.substr(0, location.find('#'));
  if (location.empty())
    return std::nullopt;
  if (location.starts_with("//"))
    return SplitHttpUrl("http:" + std::string(location));
  // A colon before any "/" or "?" ends a scheme, and only http:// is spoken here.
  const size_t colon = location.find(':');
  if (colon != std::string_view::npos && colon < location.find_first_of("/?"))
    return SplitHttpUrl(location);
  HttpUrl to = from;
  if (location.front() == '/') {
    to.object = std::string(location);
  } else {
    const std::string_view path = std::string_view(from.object).substr(0, from.object.find('?'));
    to.object = std::string(path.substr(0, path.rfind('/') + 1)) + std::string(location);
  }
  return to;
}

bool IsHttpRedirect(uint32_t status) {
  return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

namespace {

// Between a transfer's thread and the caller that waits for it: passes the transfer's calls on
// until the caller has stopped waiting, and never while the caller is deciding to stop.
class DeadlineGuard : public HttpReceiver {
 public:
  explicit DeadlineGuard(HttpReceiver& target) : target_(&target) {}

  bool OnResponse(uint32_t status, std::optional<uint64_t> contentLength) override {
    std::lock_guard<std::mutex> lock(mutex_);
    return target_ && target_->OnResponse(status, contentLength);
  }
  bool OnBlock(const char* data, size_t size) override {
    std::lock_guard<std::mutex> lock(mutex_);
    return target_ && target_->OnBlock(data, size);
  }

  void Finish(HttpResult result) {
    std::lock_guard<std::mutex> lock(mutex_);
    result_ = result;
    ended_.notify_all();
  }

  HttpResult Wait(uint32_t totalMs) {
    std::unique_lock<std::mutex> lock(mutex_);
    if (ended_.wait_for(lock, std::chrono::milliseconds(totalMs),
                        [&] { return result_.has_value(); }))
      return *result_;
    target_ = nullptr;
    return {HttpResult::Status::kTimedOut, 0};
  }

 private:
  std::mutex mutex_;
  std::condition_variable ended_;
  HttpReceiver* target_;
  std::optional<HttpResult> result_;
};

}  // namespace

HttpResult RunWithDeadline(std::function<HttpResult(HttpReceiver&)> transfer,
                           HttpReceiver& receiver, uint32_t totalMs) {
  auto guard = std::make_shared<DeadlineGuard>(receiver);
  std::thread([guard, transfer = std::move(transfer)] {
    guard->Finish(transfer(*guard));
  }).detach();
  return guard->Wait(totalMs);
}

}  // namespace botenruf
