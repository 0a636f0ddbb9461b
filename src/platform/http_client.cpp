#include "platform/http_client.h"

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

}  // namespace botenruf
