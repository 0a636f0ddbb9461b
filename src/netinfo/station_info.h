// Who works at a station: its messenger names (the users logged on there), its IP address
// and its MAC address, from `nbtstat -a` and `ping`.
#pragma once

#include <string>
#include <vector>

#include "dispatch/send_workers.h"

namespace botenruf {

inline constexpr const char* kUnknownUser = "<unknown>";

struct StationInfo {
  std::string station;
  std::vector<std::string> userNames;
  std::string mac;
  std::string ip;
};

// Takes the users from the station's messenger names. The station registers its own name
// too, so one name means nobody is logged on. A name that contains the station's name is
// taken for the station's own entry (so for station PC1 a user PC10 is left out as well).
void TakeMessengerNames(const std::vector<std::string>& names, StationInfo& info);

// The worker's part: the name table, then ping, both into `outputFile`, which it deletes after
// its last read. When the name table cannot be read, ping is not run and everything but the
// station stays empty; once the program is ending, ping is not run either.
StationInfo QueryStationInfo(const WorkerServices& services, const std::string& station,
                             const std::string& outputFile);

}  // namespace botenruf
