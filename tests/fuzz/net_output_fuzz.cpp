// Feeds arbitrary bytes, cut into lines, to the parsers of the console tools' output: nothing
// may crash, and every row must respect the listing's columns.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "dispatch/tool_errors.h"
#include "fuzz_require.h"
#include "netinfo/net_output.h"
#include "netinfo/station_info.h"
#include "text/text.h"

using namespace botenruf;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const std::vector<std::string> lines = SplitLines(bytes);

  const std::vector<std::string> names = ParseMessengerNames(lines);
  Require(names.size() <= lines.size(), "at most one name per line");
  StationInfo info;
  info.station = lines.empty() ? std::string() : lines[0];
  TakeMessengerNames(names, info);
  Require(!info.userNames.empty() || names.size() > 2, "a user list unless names were dropped");

  const std::string mac = ParseMacAddress(lines);
  const std::string ip = ParsePingAddress(lines);
  Require(mac.empty() || (mac.front() != ' ' && mac.back() != ' '), "mac trimmed");
  Require(ip.find(']') == std::string::npos, "ip ends before its bracket");

  for (const StationRow& row : ParseDomainStations(bytes)) {
    Require(row.station.size() >= 2 && row.station.find(' ') == std::string::npos,
            "station is one word");
    Require(row.station[0] == '\\' && row.station[1] == '\\', "station starts with backslashes");
  }
  const std::vector<ShareRow> shares = ParseShareList(lines);
  Require(shares.empty() || shares.size() + 2 <= lines.size(),
          "shares between the dashes and the last line");
  for (const ShareRow& row : shares)
    Require(row.type.size() <= 13, "type column");
  Require(!AnswersNetView(lines) || !lines.empty(), "no answer without output");
  return 0;
}
