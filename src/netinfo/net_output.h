// The parsers of the console tools' German output: messenger names and the MAC address from
// `nbtstat -a`, the address that `ping` resolved, the stations of a domain and the shares of
// a station from `net view`. The markers are matched exactly; a domain's stations are the first
// word of their lines, shares stand in fixed columns of 13. None of them keeps state.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace botenruf {

// The names registered with the suffix <03> (the station's own messenger name and those of
// its logged-on users), in file order, duplicates kept, without the blanks that nbtstat puts
// before and after them.
std::vector<std::string> ParseMessengerNames(const std::vector<std::string>& lines);

// The adapter address after the first "MAC-Adresse =", trimmed; empty when there is none.
std::string ParseMacAddress(const std::vector<std::string>& lines);

// The text between the first "[" of a line and the "]" after it, trimmed, from the first line
// that has both; empty when none has.
std::string ParsePingAddress(const std::vector<std::string>& lines);

struct StationRow {
  std::string station;  // with its two leading backslashes
  std::string comment;
};
// The lines of a domain listing (ending in CR LF or LF) after its line of dashes that begin with
// two backslashes: the station as the line's first word, the comment after it. Read from the
// whole text, without a string per line: a domain may list tens of thousands of stations.
std::vector<StationRow> ParseDomainStations(std::string_view listing);

struct ShareRow {
  std::string name;
  std::string type;
};
// The rows of a station's share listing: the lines after the line of dashes (whatever stands
// above it: the server's description and its blank line appear only when it has one) up to
// the first empty line or the completion message, which is the listing's last line; the name in
// the first 13 characters, the type in the next 13.
std::vector<ShareRow> ParseShareList(const std::vector<std::string>& lines);

}  // namespace botenruf
