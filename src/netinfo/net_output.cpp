#include "netinfo/net_output.h"

#include <algorithm>
#include <string_view>

#include "text/text.h"

namespace botenruf {
namespace {

constexpr size_t kShareColumn = 13;
constexpr size_t kShareHeaderLines = 7;
constexpr size_t kShareTrailerLines = 2;

// The part of `text` from `start` on; empty when `start` lies beyond its end.
std::string From(const std::string& text, size_t start) {
  return start < text.size() ? text.substr(start) : std::string();
}

// `text` without the blanks at both ends.
std::string_view BlanksTrimmed(std::string_view text) {
  const size_t start = text.find_first_not_of(' ');
  if (start == std::string_view::npos)
    return {};
  return text.substr(start, text.find_last_not_of(' ') - start + 1);
}

// A station row for a line that begins with two backslashes (after blanks): the station is
// the whole first word, however long (a name longer than a NetBIOS name is refused where it
// would be sent to, never cut into another station's name), the comment what follows it.
// Views into the line, so that only the row allocates.
void AddStationRow(std::string_view raw, std::vector<StationRow>& rows) {
  const std::string_view line = BlanksTrimmed(raw);
  if (line.size() < 2 || line[0] != '\\' || line[1] != '\\')
    return;
  const size_t blank = std::min(line.find(' '), line.size());
  rows.push_back({std::string(line.substr(0, blank)), TrimLeftBlanks(line.substr(blank))});
}

}  // namespace

std::vector<std::string> ParseMessengerNames(const std::vector<std::string>& lines) {
  std::vector<std::string> names;
  for (const std::string& line : lines) {
    const size_t marker = line.find("<03>");
    if (marker != std::string::npos)
      names.push_back(TrimRightBlanks(line.substr(0, marker)));
  }
  return names;
}

std::string ParseMacAddress(const std::vector<std::string>& lines) {
  static const std::string kMarker = "MAC-Adresse =";
  for (const std::string& line : lines) {
    const size_t marker = line.find(kMarker);
    if (marker != std::string::npos)
      return TrimBlanks(From(line, marker + kMarker.size() + 1));
  }
  return {};
}

std::string ParsePingAddress(const std::vector<std::string>& lines) {
  for (const std::string& line : lines) {
    const size_t open = line.find('[');
    if (open == std::string::npos)
      continue;
    const std::string rest = line.substr(open + 1);
    const size_t close = rest.find(']');
    if (close != std::string::npos)
      return TrimBlanks(rest.substr(0, close));
  }
  return {};
}

std::vector<StationRow> ParseDomainStations(std::string_view listing) {
  std::vector<StationRow> rows;
  while (!listing.empty()) {
    const size_t end = std::min(listing.find('\n'), listing.size());
    std::string_view line = listing.substr(0, end);
    if (!line.empty() && line.back() == '\r')
      line.remove_suffix(1);
    AddStationRow(line, rows);
    listing.remove_prefix(std::min(end + 1, listing.size()));
  }
  return rows;
}

std::vector<ShareRow> ParseShareList(const std::vector<std::string>& lines) {
  std::vector<ShareRow> rows;
  if (lines.size() < kShareHeaderLines + kShareTrailerLines + 1)
    return rows;
  for (size_t i = kShareHeaderLines; i < lines.size() - kShareTrailerLines; ++i) {
    const std::string line = TrimBlanks(lines[i]);
    if (line.size() >= kShareColumn) {
      rows.push_back({TrimRightBlanks(line.substr(0, kShareColumn)),
                      TrimLeftBlanks(line.substr(kShareColumn, kShareColumn))});
    } else {
      rows.push_back({line, {}});
    }
  }
  return rows;
}

}  // namespace botenruf
