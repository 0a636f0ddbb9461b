// Stand-in for nbtstat.exe: `nbtstat -a NAME` (and `-A ADDRESS`) prints the remote name table
// as the German edition does, with the messenger names (<03>) and the MAC address.
#include <windows.h>

#include <string>
#include <vector>

#include "common/netsim_records.h"
#include "common/netsim_text.h"
#include "common/tool.h"

using namespace botenruf::netsim;

namespace {

std::string NameLine(const std::string& name, const char* suffixAndStatus) {
  return "    " + PadRight(ToUpper1252(name), 15) + suffixAndStatus;
}

// The header names this computer's own adapter address: the address of the scenario station
// that carries this computer's name, if there is one.
std::string LocalNodeAddress(const Scenario& scenario) {
  const Station* self = scenario.FindStation(LocalComputerName());
  return self != nullptr && !self->ip.empty() ? self->ip : "0.0.0.0";
}

}  // namespace

int main() {
  LogInvocation("nbtstat");
  const Scenario scenario = LoadScenario();
  const std::vector<std::string> words = ArgumentWords();
  if (words.size() != 2 || (words[0] != "-a" && words[0] != "-A")) {
    WriteLines(Stream::kErr, {"", "Zeigt Protokollstatistiken und aktuelle TCP/IP-Verbindungen",
                              "mit NBT (NetBIOS über TCP/IP) an.", "",
                              "NBTSTAT [ [-a Remotename] [-A IP-Adresse] ]", ""});
    return 1;
  }
  const Station* station =
      words[0] == "-a" ? scenario.FindStation(words[1]) : scenario.FindStationByIp(words[1]);
  if (station != nullptr) {
    Delay(station->viewDelayMs);
  }

  std::vector<std::string> lines = {
      "", "LAN-Verbindung:",
      "Knoten-IP-Adresse: [" + LocalNodeAddress(scenario) + "] Bereichskennung: []", ""};
  if (station == nullptr || !station->online) {
    lines.push_back("    Host nicht gefunden.");
    lines.push_back("");
    WriteLines(Stream::kOut, lines);
    return 0;
  }
  lines.insert(lines.end(), {"           NetBIOS-Namentabelle des Remotecomputers", "",
                             "       Name               Typ          Status",
                             "    ---------------------------------------------"});
  lines.push_back(NameLine(station->name, "<00>  EINDEUTIG  Registriert"));
  if (!station->domain.empty()) {
    lines.push_back(NameLine(station->domain, "<00>  GRUPPE     Registriert"));
  }
  lines.push_back(NameLine(station->name, "<20>  EINDEUTIG  Registriert"));
  lines.push_back(NameLine(station->name, "<03>  EINDEUTIG  Registriert"));
  for (const std::string& user : station->users) {
    lines.push_back(NameLine(user, "<03>  EINDEUTIG  Registriert"));
  }
  lines.push_back("");
  // Stations without a NetBIOS adapter address (Samba servers, for one) show zeros.
  lines.push_back("    MAC-Adresse = " +
                  (station->mac.empty() ? "00-00-00-00-00-00" : station->mac));
  lines.push_back("");
  WriteLines(Stream::kOut, lines);
  return 0;
}
