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

std::optional<HttpResponseHead> ParseResponseHead(std::string_view head) {
  const size_t lineEnd = head.find('\n');
  const std::string_view statusLine = head.substr(0, lineEnd);
  // "HTTP/1.0 200 OK": the version, a blank, three digits.
  const size_t blank = statusLine.find(' ');
  if (!statusLine.starts_with("HTTP/") || blank == std::string_view::npos ||
      statusLine.size() < blank + 4)
    return std::nullopt;
  const std::optional<uint64_t> status = ParseContentLength(statusLine.substr(blank + 1, 3));
  const char afterStatus = statusLine.size() > blank + 4 ? statusLine[blank + 4] : ' ';
  if (!status || (afterStatus != ' ' && afterStatus != '\r'))
    return std::nullopt;
  HttpResponseHead result;
  result.status = static_cast<uint32_t>(*status);
  for (size_t at = lineEnd; at < head.size();) {
    const size_t next = head.find('\n', at + 1);
    const std::string_view line = head.substr(at + 1, next - at - 1);
    at = next;
    const size_t colon = line.find(':');
    if (colon == std::string_view::npos)
      continue;
    const std::string name = Trim(line.substr(0, colon));
    const std::string value = Trim(line.substr(colon + 1));
    if (EqualsIgnoreCase1252(name, "Content-Length") && !result.contentLength)
      result.contentLength = ParseContentLength(value);
    else if (EqualsIgnoreCase1252(name, "Location") && result.location.empty())
      result.location = value;
    else if (EqualsIgnoreCase1252(name, "Transfer-Encoding"))
      result.chunked = result.chunked || !EqualsIgnoreCase1252(value, "identity");
  }
  return result;
}

std::string GetRequestText(const HttpUrl& url) {
  std::string object;
  for (char c : url.object) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte <= ' ' || byte == 0x7F)
      object += Format("%%%02X", byte);
    else
      object += c;
  }
  std::string host = url.host;
  if (url.port != 80)
    host += Format(":%u", static_cast<unsigned>(url.port));
  // Pragma for the caches of HTTP/1.0, Cache-Control for the newer ones.
  return "GET " + object + " HTTP/1.0\r\nHost: " + host +
         "\r\nUser-Agent: Botenruf\r\nAccept: */*\r\nPragma: no-cache\r\n"
         "Cache-Control: no-cache\r\n\r\n";
}

TransferPace JudgePace(const HttpLimits& limits, uint64_t elapsedMs, uint64_t quietMs,
                       bool answered, uint64_t bytes) {
  // Before the answer only the total counts: finding a proxy may take its time.
  if (answered && quietMs > limits.idleMs)
    return TransferPace::kSilent;
  uint64_t budgetMs = limits.totalMs;
  if (limits.minBytesPerSecond)
    budgetMs += bytes * 1000 / limits.minBytesPerSecond;
  if (elapsedMs <= budgetMs)
    return TransferPace::kGoOn;
  return limits.minBytesPerSecond ? TransferPace::kTooSlow : TransferPace::kTooLong;
}

namespace {

using Clock = std::chrono::steady_clock;

uint64_t MillisecondsSince(Clock::time_point then, Clock::time_point now) {
  return static_cast<uint64_t>(
      std::chrono::duration_cast<std::chrono::milliseconds>(now - then).count());
}

// Between a transfer's thread and the caller that waits for it: passes the transfer's calls on
// until the caller has stopped waiting, and never while the caller is deciding to stop. Keeps
// the pace of the answer for the caller's judgement, and the receiver's refusal.
class DeadlineGuard : public HttpReceiver {
 public:
  explicit DeadlineGuard(HttpReceiver& target)
      : target_(&target), start_(Clock::now()), lastSign_(start_) {}

  bool OnResponse(uint32_t status, std::optional<uint64_t> contentLength) override {
    std::lock_guard<std::mutex> lock(mutex_);
    answered_ = true;
    lastSign_ = Clock::now();
    return Accepted(target_ && target_->OnResponse(status, contentLength));
  }
  bool OnBlock(const char* data, size_t size) override {
    std::lock_guard<std::mutex> lock(mutex_);
    bytes_ += size;
    lastSign_ = Clock::now();
    return Accepted(target_ && target_->OnBlock(data, size));
  }

  void Finish(HttpResult result) {
    std::lock_guard<std::mutex> lock(mutex_);
    result_ = result;
    ended_.notify_all();
  }

  HttpResult Wait(const HttpLimits& limits, const std::atomic<bool>& stop) {
    constexpr auto kLook = std::chrono::milliseconds(100);
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
      if (ended_.wait_for(lock, kLook, [&] { return result_ || refused_; }) && result_)
        return *result_;
      const std::optional<HttpResult> verdict =
          refused_ ? HttpResult{HttpResult::Status::kStopped, 0} : Verdict(limits, stop);
      if (verdict) {
        target_ = nullptr;
        left_ = true;
        return *verdict;
      }
    }
  }

  const std::atomic<bool>& left() const { return left_; }

 private:
  bool Accepted(bool accepted) {
    if (!accepted && target_) {
      refused_ = true;
      ended_.notify_all();
    }
    return accepted;
  }

  std::optional<HttpResult> Verdict(const HttpLimits& limits, const std::atomic<bool>& stop) const {
    using Status = HttpResult::Status;
    if (stop.load())
      return HttpResult{Status::kCancelled, 0};
    const Clock::time_point now = Clock::now();
    switch (JudgePace(limits, MillisecondsSince(start_, now), MillisecondsSince(lastSign_, now),
                      answered_, bytes_)) {
      case TransferPace::kGoOn:
        return std::nullopt;
      case TransferPace::kSilent:
        return HttpResult{Status::kFailed, kHttpTimeoutError};
      case TransferPace::kTooLong:
        return HttpResult{Status::kTimedOut, 0};
      case TransferPace::kTooSlow:
        return HttpResult{Status::kTooSlow, 0};
    }
    return std::nullopt;
  }

  std::mutex mutex_;
  std::condition_variable ended_;
  HttpReceiver* target_;
  std::optional<HttpResult> result_;
  bool refused_ = false;
  std::atomic<bool> left_{false};
  const Clock::time_point start_;
  bool answered_ = false;
  uint64_t bytes_ = 0;
  Clock::time_point lastSign_;
};

}  // namespace

HttpResult RunWithinLimits(HttpTransfer transfer, HttpReceiver& receiver, const HttpLimits& limits,
                           const std::atomic<bool>& stop) {
  auto guard = std::make_shared<DeadlineGuard>(receiver);
  std::thread([guard, transfer = std::move(transfer)] {
    guard->Finish(transfer(*guard, guard->left()));
  }).detach();
  return guard->Wait(limits, stop);
}

}  // namespace botenruf
