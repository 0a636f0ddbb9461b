#include "netinfo/net_output.h"

#include <algorithm>
#include <string_view>

#include "dispatch/tool_errors.h"
#include "text/text.h"

namespace botenruf {
namespace {

constexpr size_t kShareColumn = 13;

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
      names.push_back(TrimBlanks(line.substr(0, marker)));
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
  bool pastDashes = false;
  while (!listing.empty()) {
    const size_t end = std::min(listing.find('\n'), listing.size());
    std::string_view line = listing.substr(0, end);
    if (!line.empty() && line.back() == '\r')
      line.remove_suffix(1);
    if (pastDashes)
      AddStationRow(line, rows);
    else
      pastDashes = IsDashLine(std::string(line));
    listing.remove_prefix(std::min(end + 1, listing.size()));
  }
  return rows;
}

std::vector<ShareRow> ParseShareList(const std::vector<std::string>& lines) {
  std::vector<ShareRow> rows;
  const auto dashes = std::find_if(lines.begin(), lines.end(), IsDashLine);
  auto last = lines.end();  // the completion message: the last line that is not empty
  while (last != lines.begin() && Trim(*(last - 1)).empty())
    --last;
  if (dashes == lines.end() || last == lines.begin())
    return rows;
  for (auto it = dashes + 1; it < last - 1 && !Trim(*it).empty(); ++it) {
    const std::string line = TrimBlanks(*it);
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
