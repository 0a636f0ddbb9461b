#include "scenario.h"

#include <cstdlib>
#include <unordered_map>

#include "netsim_text.h"

namespace botenruf::netsim {

namespace {

template <typename Items>
auto FindByName(Items& items, std::string_view name) -> decltype(&items.front()) {
  for (auto& item : items) {
    if (EqualsIgnoreCase1252(item.name, name)) {
      return &item;
    }
  }
  return nullptr;
}

Domain& DomainNamed(Scenario& scenario, std::string_view name) {
  if (Domain* domain = FindByName(scenario.domains, name)) {
    return *domain;
  }
  scenario.domains.push_back(Domain{std::string(name), std::nullopt, 0, 0});
  return scenario.domains.back();
}

// Decimal number; a leading minus wraps around as an exit code does (-1 is 0xFFFFFFFF).
std::optional<std::uint32_t> ParseNumber(std::string_view text) {
  const std::string digits(text);
  if (digits.empty()) {
    return std::nullopt;
  }
  char* end = nullptr;
  const long long value = std::strtoll(digits.c_str(), &end, 10);
  if (*end != '\0' || value < -2147483648LL || value > 0xFFFFFFFFLL) {
    return std::nullopt;
  }
  return static_cast<std::uint32_t>(value);
}

std::optional<bool> ParseFlag(std::string_view text) {
  for (const char* yes : {"1", "ja", "yes", "true", "on"}) {
    if (EqualsIgnoreCase1252(text, yes)) {
      return true;
    }
  }
  for (const char* no : {"0", "nein", "no", "false", "off"}) {
    if (EqualsIgnoreCase1252(text, no)) {
      return false;
    }
  }
  return std::nullopt;
}

// "Name | Typ | Kommentar"; missing parts stay empty, a comment may itself contain "|".
Share ParseShare(std::string_view value) {
  Share share;
  std::string* fields[] = {&share.name, &share.type};
  for (std::string* field : fields) {
    const std::size_t bar = value.find('|');
    *field = std::string(TrimBlanks(value.substr(0, bar)));
    value = bar == std::string_view::npos ? std::string_view() : value.substr(bar + 1);
  }
  share.comment = std::string(TrimBlanks(value));
  return share;
}

class Parser {
 public:
  Parser(Scenario& scenario, std::vector<std::string>& warnings)
      : scenario_(scenario), warnings_(warnings) {}

  void Line(int number, std::string_view line) {
    number_ = number;
    line = TrimBlanks(line);
    if (line.empty() || line.front() == '#') {
      return;
    }
    if (line.front() == '[') {
      Section(line);
      return;
    }
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) {
      Warn("neither a section nor \"key = value\"");
      return;
    }
    const std::string_view key = TrimBlanks(line.substr(0, equals));
    const std::string_view value = TrimBlanks(line.substr(equals + 1));
    if (networkSection_) {
      NetworkKey(key, value);
    } else if (!stationName_.empty()) {
      StationKey(key, value);
    } else if (!domainName_.empty()) {
      DomainKey(key, value);
    } else {
      Warn("key outside of a [station] or [domain] section");
    }
  }

 private:
  void Section(std::string_view line) {
    stationName_.clear();
    domainName_.clear();
    networkSection_ = false;
    if (line.back() != ']') {
      Warn("section header without \"]\"");
      return;
    }
    std::string_view inner = TrimBlanks(line.substr(1, line.size() - 2));
    const std::size_t blank = inner.find_first_of(" \t");
    const std::string_view kind = inner.substr(0, blank);
    const std::string_view name =
        blank == std::string_view::npos ? std::string_view() : TrimBlanks(inner.substr(blank));
    if (EqualsIgnoreCase1252(kind, "network") && name.empty()) {
      networkSection_ = true;
    } else if (name.empty()) {
      Warn("section without a name");
    } else if (EqualsIgnoreCase1252(kind, "station")) {
      station_ = StationNamed(name);
      stationName_ = scenario_.stations[station_].name;
    } else if (EqualsIgnoreCase1252(kind, "domain")) {
      domainName_ = DomainNamed(scenario_, name).name;
    } else {
      Warn("unknown section kind \"" + std::string(kind) + "\"");
    }
  }

  // The place of the station of this name (letter case aside), a new one at the end when there
  // is none yet. Found through an index, so that a network of many thousand stations is read
  // in linear time.
  std::size_t StationNamed(std::string_view name) {
    const auto [place, added] =
        stationIndex_.try_emplace(ToUpper1252(name), scenario_.stations.size());
    if (added) {
      scenario_.stations.push_back(Station{});
      scenario_.stations.back().name = std::string(name);
    }
    return place->second;
  }

  void StationKey(std::string_view key, std::string_view value) {
    // By place: adding a station may move the vector's elements.
    Station& station = scenario_.stations[station_];
    if (Is(key, "domain")) {
      station.domain = value.empty() ? std::string() : DomainNamed(scenario_, value).name;
    } else if (Is(key, "comment")) {
      station.comment = std::string(value);
    } else if (Is(key, "user")) {
      station.users.emplace_back(value);
    } else if (Is(key, "ip")) {
      station.ip = std::string(value);
    } else if (Is(key, "mac")) {
      station.mac = std::string(value);
    } else if (Is(key, "online")) {
      Store(ParseFlag(value), station.online);
    } else if (Is(key, "allow_remote_rpc")) {
      Store(ParseFlag(value), station.allowRemoteRpc);
    } else if (Is(key, "send_delay_ms")) {
      Store(ParseNumber(value), station.sendDelayMs);
    } else if (Is(key, "send_error")) {
      if (auto code = ParseNumber(value)) {
        station.sendError = code;
      } else {
        Warn("not a number");
      }
    } else if (Is(key, "ipv6")) {
      station.ipv6 = std::string(value);
    } else if (Is(key, "refuses_caller")) {
      Store(ParseFlag(value), station.refusesCaller);
    } else if (Is(key, "view_delay_ms")) {
      Store(ParseNumber(value), station.viewDelayMs);
    } else if (Is(key, "share")) {
      station.shares.push_back(ParseShare(value));
    } else {
      Warn("unknown station key \"" + std::string(key) + "\"");
    }
  }

  // [network] keys: what concerns the whole network rather than one station or domain.
  void NetworkKey(std::string_view key, std::string_view value) {
    if (Is(key, "domain_list_delay_ms")) {
      Store(ParseNumber(value), scenario_.domainListDelayMs);
    } else {
      Warn("unknown network key \"" + std::string(key) + "\"");
    }
  }

  void DomainKey(std::string_view key, std::string_view value) {
    Domain& domain = *FindByName(scenario_.domains, domainName_);
    if (Is(key, "send_error")) {
      if (auto code = ParseNumber(value)) {
        domain.sendError = code;
      } else {
        Warn("not a number");
      }
    } else if (Is(key, "view_error")) {
      Store(ParseNumber(value), domain.viewError);
    } else if (Is(key, "send_delay_ms")) {
      Store(ParseNumber(value), domain.sendDelayMs);
    } else if (Is(key, "view_delay_ms")) {
      Store(ParseNumber(value), domain.viewDelayMs);
    } else {
      Warn("unknown domain key \"" + std::string(key) + "\"");
    }
  }

  static bool Is(std::string_view key, const char* name) { return EqualsIgnoreCase1252(key, name); }

  template <typename T>
  void Store(const std::optional<T>& parsed, T& target) {
    if (parsed) {
      target = *parsed;
    } else {
      Warn("value not understood");
    }
  }

  void Warn(const std::string& what) {
    warnings_.push_back("scenario.txt, line " + std::to_string(number_) + ": " + what);
  }

  Scenario& scenario_;
  std::vector<std::string>& warnings_;
  int number_ = 0;
  bool networkSection_ = false;
  std::string stationName_;
  std::size_t station_ = 0;  // the place of the station named stationName_
  std::unordered_map<std::string, std::size_t> stationIndex_;
  std::string domainName_;
};

}  // namespace

const Station* Scenario::FindStation(std::string_view name) const {
  return FindByName(stations, name);
}

const Station* Scenario::FindStationByIp(std::string_view ip) const {
  for (const Station& station : stations) {
    if (!station.ip.empty() && station.ip == ip) {
      return &station;
    }
  }
  return nullptr;
}

const Domain* Scenario::FindDomain(std::string_view name) const {
  return FindByName(domains, name);
}

std::vector<const Station*> Scenario::OnlineStationsOf(std::string_view domain) const {
  std::vector<const Station*> result;
  for (const Station& station : stations) {
    if (station.online && EqualsIgnoreCase1252(station.domain, domain)) {
      result.push_back(&station);
    }
  }
  return result;
}

Scenario ParseScenario(std::string_view text, std::vector<std::string>& warnings) {
  Scenario scenario;
  Parser parser(scenario, warnings);
  int number = 0;
  while (!text.empty()) {
    std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    if (!line.empty() && line.back() == '\r') {
      line.remove_suffix(1);
    }
    parser.Line(++number, line);
  }
  return scenario;
}

}  // namespace botenruf::netsim
