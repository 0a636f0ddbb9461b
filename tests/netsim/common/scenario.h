// The simulated network: stations and domains read from scenario.txt.
//
// The file is Windows-1252 text of lines "key = value" under section headers
// "[station NAME]" and "[domain NAME]"; lines starting with "#" and blank lines are skipped.
// Names compare without regard to case.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace botenruf::netsim {

struct Share {
  std::string name;
  std::string type;  // "Platte", "Druck", ...
  std::string comment;
};

struct Station {
  std::string name;
  std::string domain;
  std::string comment;
  std::vector<std::string> users;  // logged-on users, registered with <03>
  std::string ip;
  std::string mac;
  bool online = true;
  bool allowRemoteRpc = true;  // msg from other stations reaches its sessions
  std::uint32_t sendDelayMs = 0;
  std::string ipv6;            // from Windows Vista on, ping answers over IPv6 unless told -4
  bool refusesCaller = false;  // net view on it: error 5, as a Windows workgroup station gives
  // The error that `net send` (and msg) to this station reports, 0 for a delivery.
  std::optional<std::uint32_t> sendError;
  std::uint32_t viewDelayMs = 0;
  std::vector<Share> shares;

  // The error of `net send` to this station: the configured one, else 0 when the station is
  // online and 2273 (the message alias was not found) when it is not.
  std::uint32_t SendError() const { return sendError.value_or(online ? 0 : 2273); }
};

struct Domain {
  std::string name;
  std::optional<std::uint32_t> sendError;  // of `net send /DOMAIN:`, 0 when not configured
  std::uint32_t viewError = 0;             // `net view /domain:` fails with it (6118, ...)
  std::uint32_t sendDelayMs = 0;
  std::uint32_t viewDelayMs = 0;
};

struct Scenario {
  std::vector<Station> stations;  // in the order of their first section
  std::vector<Domain> domains;    // in the order of their first mention, section or station key
  std::uint32_t domainListDelayMs = 0;  // [network] domain_list_delay_ms: net view /domain

  const Station* FindStation(std::string_view name) const;
  const Station* FindStationByIp(std::string_view ip) const;
  const Domain* FindDomain(std::string_view name) const;
  std::vector<const Station*> OnlineStationsOf(std::string_view domain) const;
};

// Reads a scenario. Lines it cannot use are skipped and described in warnings (with their
// line numbers), so that a mistyped key does not silently change a test.
Scenario ParseScenario(std::string_view text, std::vector<std::string>& warnings);

}  // namespace botenruf::netsim
