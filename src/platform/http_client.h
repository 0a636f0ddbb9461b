// HTTP client: one plain GET, its status code and its body streamed in blocks to a receiver.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace botenruf {

// An http:// address split into the parts a connection needs.
struct HttpUrl {
  std::string host;
  uint16_t port = 80;
  std::string object = "/";  // path and query, always beginning with "/"

  bool operator==(const HttpUrl&) const = default;
};

// Splits "http://host[:port][/object]" (the scheme in any case). Empty for another scheme,
// a missing host, blanks in the host or a port outside 1..65535.
std::optional<HttpUrl> SplitHttpUrl(std::string_view url);

// The value of a Content-Length header: decimal digits only, else empty.
std::optional<uint64_t> ParseContentLength(std::string_view value);

// Where a redirect's Location leads from `from`: an http:// address ("//host/x" included), a
// path on the same server ("/x") or one beside the object ("x"). Empty for another scheme.
std::optional<HttpUrl> ResolveRedirect(const HttpUrl& from, std::string_view location);
bool IsHttpRedirect(uint32_t status);

// What a client that speaks HTTP itself needs of an answer's head (up to its empty line).
struct HttpResponseHead {
  uint32_t status = 0;
  std::optional<uint64_t> contentLength;
  std::string location;
  bool chunked = false;  // never sent to an HTTP/1.0 request; such an answer is not understood
};
// Empty when the status line is not "HTTP/x.y NNN ...".
std::optional<HttpResponseHead> ParseResponseHead(std::string_view head);
// A plain HTTP/1.0 GET of `url`, never cached. Blanks and control characters in the object are
// escaped (as WinINet does with blanks), so that no name can add a line to the request.
std::string GetRequestText(const HttpUrl& url);
// WinINet's own limit; some systems follow redirects without any.
inline constexpr int kMaxHttpRedirects = 5;

// How long a transfer may wait for the server at any one step, and altogether.
struct HttpLimits {
  uint32_t connectMs = 0;  // to connect and to send the request
  uint32_t idleMs = 0;     // without any data
  uint32_t totalMs = 0;    // for the whole transfer, redirects included
  // When set, a large file may take longer over a slow line: the total grows by a second for
  // every this many bytes received, so only a server that sends less on average is left.
  uint32_t minBytesPerSecond = 0;
};

// What the limits say of a transfer that has run `elapsedMs`, `quietMs` of it since the answer
// or its last data, and received `bytes` of its body.
enum class TransferPace { kGoOn, kSilent, kTooLong, kTooSlow };
TransferPace JudgePace(const HttpLimits& limits, uint64_t elapsedMs, uint64_t quietMs,
                       bool answered, uint64_t bytes);

// The internet client's own code for a step that timed out.
inline constexpr uint32_t kHttpTimeoutError = 12002;

// Largest block handed to a receiver at once.
inline constexpr size_t kHttpBlockSize = 1024;

class HttpReceiver {
 public:
  virtual ~HttpReceiver() = default;
  // Called once the status line has arrived; `contentLength` when the server announced one.
  // False ends the transfer without reading the body.
  virtual bool OnResponse(uint32_t status, std::optional<uint64_t> contentLength) = 0;
  // Each block of the body, at most kHttpBlockSize bytes; false ends the transfer.
  virtual bool OnBlock(const char* data, size_t size) = 0;
};

struct HttpResult {
  enum class Status {
    kComplete,   // the body was read until the server sent no more
    kNoStatus,   // a response came but its status code could not be read
    kStopped,    // the receiver ended the transfer
    kFailed,     // the connection failed or broke; `error` holds the system's code
    kTimedOut,   // the transfer took longer than its total time and was left
    kTooSlow,    // the server sent less than the minimum rate on average, and was left
    kCancelled,  // the caller asked to stop, and the transfer was left
    kOverlong,   // the server sent more than the length it announced
  };
  Status status = Status::kFailed;
  uint32_t error = 0;
};

class HttpClient {
 public:
  virtual ~HttpClient() = default;
  // Sends one GET (no cache, no cookies, no dialogs), follows at most kMaxHttpRedirects
  // redirects to http:// addresses and streams the answer to `receiver`, within `limits`.
  // Raising `stop` leaves the transfer within a fraction of a second. A transfer that is
  // refused by the receiver or left ends its connection at once.
  virtual HttpResult Get(const HttpUrl& url, HttpReceiver& receiver, const HttpLimits& limits,
                         const std::atomic<bool>& stop) = 0;
};

// A transfer on a thread of its own: it reports to the receiver it is given, and ends as soon as
// `left` is raised.
using HttpTransfer = std::function<HttpResult(HttpReceiver&, const std::atomic<bool>& left)>;

// Runs `transfer` on a thread of its own and waits while it keeps within `limits` (JudgePace;
// a server silent for idleMs after its answer fails as kHttpTimeoutError), `stop` is down and
// `receiver` accepts what comes: its refusal is the result at once (kStopped), however long the
// transfer takes to close. A transfer still running then is left: `left` is raised and it
// reaches `receiver` no more (its calls return false). `transfer` must own everything it uses.
HttpResult RunWithinLimits(HttpTransfer transfer, HttpReceiver& receiver, const HttpLimits& limits,
                           const std::atomic<bool>& stop);

}  // namespace botenruf
