// Stand-in for net.exe: `net send` delivers into received.txt, `net view` lists domains,
// the stations of a domain and the shares of a station, as the German edition prints them.
#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

#include "common/netsim_command_line.h"
#include "common/netsim_records.h"
#include "common/netsim_text.h"
#include "common/tool.h"

using namespace botenruf::netsim;

namespace {

constexpr const char* kCompleted = "Der Befehl wurde erfolgreich ausgeführt.";

int SyntaxError(const char* syntax) {
  WriteLines(Stream::kErr, {"Die Syntax dieses Befehls lautet:", "", syntax, ""});
  return 1;
}

// net send NAME MESSAGE / net send /DOMAIN:NAME MESSAGE. The message is the rest of the
// command line after the blanks that follow the name, exactly as passed.
int Send(const Scenario& scenario, std::string_view rest) {
  const std::string target = NextWord(rest);
  const std::string message(rest);
  if (target.empty() || message.empty()) {
    return SyntaxError("NET SEND {Name | * | /DOMAIN[:Name] | /USERS} Nachricht");
  }

  const bool toDomain = StartsWithIgnoreCase1252(target, "/DOMAIN:");
  const std::string name = toDomain ? target.substr(8) : target;
  std::uint32_t delay = 0;
  std::uint32_t exitCode = 2;  // unknown station or domain
  std::string recipient;       // the receiver as the scenario spells it
  if (toDomain) {
    if (const Domain* domain = scenario.FindDomain(name)) {
      delay = domain->sendDelayMs;
      exitCode = domain->sendExit.value_or(0);
      recipient = domain->name;
    }
  } else if (const Station* station = scenario.FindStation(name)) {
    delay = station->sendDelayMs;
    exitCode = station->SendExitCode();
    recipient = station->name;
  }
  Delay(delay);

  if (exitCode == 0) {
    AppendRecord("received.txt",
                 FormatReceivedLine(toDomain ? "DOMAIN:" + recipient : recipient, message));
    WriteLines(Stream::kOut, {"Die Nachricht wurde an " + name + " gesendet.", ""});
    ShowReceivedBox("Nachrichtendienst", "Nachricht von " + LocalComputerName() + " an " +
                                             recipient + " am " + LocalTimeText() + "\r\n\r\n" +
                                             message);
  } else if (exitCode == 2) {
    WriteLines(Stream::kErr,
               {"Beim Senden einer Nachricht an den Alias " + name + " ist ein Fehler aufgetreten.",
                "", "Der Nachrichtenalias wurde im Netzwerk nicht gefunden.", "",
                "Weitere Hilfe erhalten Sie durch Eingabe von NET HELPMSG 2273.", ""});
  } else {
    WriteLines(Stream::kErr, {"Systemfehler " + std::to_string(exitCode) + " aufgetreten.", ""});
  }
  return static_cast<int>(exitCode);
}

// net view /domain: one line per domain, padded to 21 characters.
int ListDomains(const Scenario& scenario) {
  Delay(scenario.domainListDelayMs);
  std::vector<std::string> lines = {"Domäne", "", DashLine()};
  for (const Domain& domain : scenario.domains) {
    lines.push_back(PadRight(domain.name, 21));
  }
  lines.push_back(kCompleted);
  WriteLines(Stream::kOut, lines);
  return 0;
}

// One station of a server listing: two backslashes and the name in a column of 23, then the
// comment.
std::string StationLine(const Station& station) {
  std::string line = "\\\\" + station.name;
  if (station.comment.empty()) {
    return line;
  }
  line = PadRight(line, 23);
  if (line.back() != ' ') {
    line += ' ';
  }
  return line + station.comment;
}

int WriteStationListing(const std::vector<const Station*>& stations) {
  std::vector<std::string> lines = {"Servername            Beschreibung", "", DashLine()};
  for (const Station* station : stations) {
    lines.push_back(StationLine(*station));
  }
  lines.push_back(kCompleted);
  WriteLines(Stream::kOut, lines);
  return 0;
}

// net view /domain:NAME
int ListDomainStations(const Scenario& scenario, std::string_view name) {
  const Domain* domain = scenario.FindDomain(name);
  if (domain == nullptr) {
    WriteLines(Stream::kErr,
               {"Systemfehler 6118 aufgetreten.", "",
                "Die Liste der Server für diese Arbeitsgruppe ist zurzeit nicht verfügbar.", ""});
    return 2;
  }
  Delay(domain->viewDelayMs);
  return WriteStationListing(scenario.OnlineStationsOf(domain->name));
}

// net view \\NAME: seven header lines, one line per share, a blank line and the completion
// message. An unreachable station prints to standard error only.
int ListShares(const Scenario& scenario, std::string_view name) {
  const Station* station = scenario.FindStation(name);
  if (station != nullptr) {
    Delay(station->viewDelayMs);
  }
  if (station == nullptr || !station->online) {
    WriteLines(Stream::kErr,
               {"Systemfehler 53 aufgetreten.", "", "Der Netzwerkpfad wurde nicht gefunden.", ""});
    return 2;
  }
  std::vector<std::string> lines = {
      "Freigegebene Ressourcen auf \\\\" + std::string(name), "", station->comment, "",
      "Freigabename  Typ          Verwendet als  Kommentar",  "", DashLine()};
  for (const Share& share : station->shares) {
    const std::string line =
        PadRight(share.name, 13) + PadRight(share.type, 13) + std::string(15, ' ') + share.comment;
    lines.emplace_back(TrimRightBlanks(line));
  }
  lines.push_back("");
  lines.push_back(kCompleted);
  WriteLines(Stream::kOut, lines);
  return 0;
}

int View(const Scenario& scenario, std::string_view rest) {
  const std::string argument = NextWord(rest);
  if (argument.empty()) {
    std::vector<const Station*> online;
    for (const Station& station : scenario.stations) {
      if (station.online) {
        online.push_back(&station);
      }
    }
    return WriteStationListing(online);
  }
  if (EqualsIgnoreCase1252(argument, "/domain") || EqualsIgnoreCase1252(argument, "/domain:")) {
    return ListDomains(scenario);
  }
  if (StartsWithIgnoreCase1252(argument, "/domain:")) {
    return ListDomainStations(scenario, std::string_view(argument).substr(8));
  }
  if (argument.rfind("\\\\", 0) == 0) {
    return ListShares(scenario, std::string_view(argument).substr(2));
  }
  return SyntaxError("NET VIEW [\\\\Computername | /DOMAIN[:Domänenname]]");
}

}  // namespace

int main() {
  LogInvocation("net");
  const Scenario scenario = LoadScenario();
  std::string_view rest = ArgumentsOf(GetCommandLineA());
  const std::string command = NextWord(rest);
  if (EqualsIgnoreCase1252(command, "send")) {
    return Send(scenario, rest);
  }
  if (EqualsIgnoreCase1252(command, "view")) {
    return View(scenario, rest);
  }
  return SyntaxError("NET [ SEND | VIEW ]");
}
