#include "netinfo/station_info.h"

#include "dispatch/delivery.h"
#include "netinfo/net_output.h"
#include "netinfo/net_query.h"
#include "text/text.h"

namespace botenruf {

void TakeMessengerNames(const std::vector<std::string>& names, StationInfo& info) {
  const auto isStationEntry = [&](const std::string& name) { return Contains(name, info.station); };
  if (names.size() < 2) {
    info.userNames = {kUnknownUser};
  } else if (names.size() == 2) {
    info.userNames.push_back(isStationEntry(names[0]) ? names[1] : names[0]);
  } else {
    for (const std::string& name : names) {
      if (!isStationEntry(name))
        info.userNames.push_back(name);
    }
  }
}

StationInfo QueryStationInfo(const WorkerServices& services, const std::string& station,
                             const std::string& outputFile) {
  StationInfo info;
  info.station = station;
  RunQuery(*services.processes, *services.system, QueryKind::kNameTable, station, outputFile);
  std::vector<std::string> lines;
  if (ReadOutputLines(*services.files, *services.system, outputFile, lines)) {
    TakeMessengerNames(ParseMessengerNames(lines), info);
    info.mac = ParseMacAddress(lines);
    // The name table's header names this computer's own address in brackets: a ping that
    // cannot run must find no file rather than that one.
    RemoveOutputFile(*services.files, outputFile);
    if (!ShutdownFlag().load()) {  // the end of the program stops the query after the name table
      // From Windows Vista on ping answers over IPv6 where it can ("fe80::...%11"): the
      // station's IPv4 address is the one asked for.
      const QueryKind ping =
          IsVistaOrLater(*services.system) ? QueryKind::kPing4 : QueryKind::kPing;
      RunQuery(*services.processes, *services.system, ping, station, outputFile);
      if (ReadOutputLines(*services.files, *services.system, outputFile, lines))
        info.ip = ParsePingAddress(lines);
    }
  }
  RemoveOutputFile(*services.files, outputFile);
  return info;
}

}  // namespace botenruf
