// Stand-in for net.exe: `net send` delivers into received.txt, `net view` lists domains,
// the stations of a domain and the shares of a station, as the German edition prints them.
//
// Like net.exe, it ends with exit code 2 on every error and writes the reason to standard
// error (published: "System error N has occurred." with the system's text, and for the
// network's own messages a text ending "NET HELPMSG N"; exit code 2 measured for 6118). The
// German wording of these lines, of 2273's text and of the completion message is assumed where
// no German capture was found.
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

// The system's German texts of the errors the scenarios use.
std::string ErrorText(std::uint32_t code) {
  switch (code) {
    case 5:
      return "Zugriff verweigert.";
    case 53:
      return "Der Netzwerkpfad wurde nicht gefunden.";
    case 2273:
      return "Der Nachrichtenalias wurde im Netzwerk nicht gefunden.";
    case 6118:
      return "Die Liste der Server für diese Arbeitsgruppe ist zurzeit nicht verfügbar.";
    default:
      return {};
  }
}

// "Systemfehler N aufgetreten." and the system's text, or for the network's own messages (2100
// to 2999) the text and "NET HELPMSG N"; exit code 2.
int NetError(std::uint32_t code, const std::string& firstLine = {}) {
  const std::string number = std::to_string(code);
  if (code >= 2100 && code <= 2999) {
    std::vector<std::string> lines;
    if (!firstLine.empty()) {
      lines = {firstLine, ""};
    }
    lines.insert(lines.end(),
                 {ErrorText(code), "",
                  "Weitere Hilfe erhalten Sie durch Eingabe von NET HELPMSG " + number + ".", ""});
    WriteLines(Stream::kErr, lines);
  } else {
    WriteLines(Stream::kErr, {"Systemfehler " + number + " aufgetreten.", "", ErrorText(code), ""});
  }
  return 2;
}

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
  std::uint32_t error = 2273;  // unknown station or domain: the alias was not found
  std::string recipient;       // the receiver as the scenario spells it
  if (toDomain) {
    if (const Domain* domain = scenario.FindDomain(name)) {
      delay = domain->sendDelayMs;
      error = domain->sendError.value_or(0);
      recipient = domain->name;
    }
  } else if (const Station* station = scenario.FindStation(name)) {
    delay = station->sendDelayMs;
    error = station->SendError();
    recipient = station->name;
  }
  Delay(delay);

  if (error == 0) {
    AppendRecord("received.txt",
                 FormatReceivedLine(toDomain ? "DOMAIN:" + recipient : recipient, message));
    WriteLines(Stream::kOut, {"Die Nachricht wurde an " + name + " gesendet.", ""});
    ShowReceivedBox("Nachrichtendienst", "Nachricht von " + LocalComputerName() + " an " +
                                             recipient + " am " + LocalTimeText() + "\r\n\r\n" +
                                             message);
    return 0;
  }
  return NetError(
      error, "Beim Senden einer Nachricht an den Alias " + name + " ist ein Fehler aufgetreten.");
}

// net view /domain: one line per domain. Published captures keep no fixed padding of the names
// (whether the real lines carry trailing blanks is not known): here they have none.
int ListDomains(const Scenario& scenario) {
  Delay(scenario.domainListDelayMs);
  std::vector<std::string> lines = {"Domäne", "", DashLine()};
  for (const Domain& domain : scenario.domains) {
    lines.push_back(domain.name);
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
  if (domain != nullptr) {
    Delay(domain->viewDelayMs);
  }
  if (domain == nullptr || domain->viewError != 0) {
    return NetError(domain == nullptr ? 6118 : domain->viewError);
  }
  return WriteStationListing(scenario.OnlineStationsOf(domain->name));
}

// net view \\NAME: the title, the server's description with a blank line only when it has one
// (published: 5 header lines without, 7 with), the column header of the German NT edition
// ("Name", "Typ", "Lokal", "Beschreibung" in columns of 13, 13 and 9), one line per share, the
// completion message and a blank line. A station that is off, or refuses the caller, prints to
// standard error only.
int ListShares(const Scenario& scenario, std::string_view name) {
  const Station* station = scenario.FindStation(name);
  if (station != nullptr) {
    Delay(station->viewDelayMs);
  }
  if (station == nullptr || !station->online) {
    return NetError(53);
  }
  if (station->refusesCaller) {
    return NetError(5);
  }
  std::vector<std::string> lines = {"Freigegebene Ressourcen auf \\\\" + std::string(name), ""};
  if (!station->comment.empty()) {
    lines.insert(lines.end(), {station->comment, ""});
  }
  lines.insert(lines.end(), {"Name         Typ          Lokal    Beschreibung", "", DashLine()});
  for (const Share& share : station->shares) {
    const std::string line =
        PadRight(share.name, 13) + PadRight(share.type, 13) + std::string(9, ' ') + share.comment;
    lines.emplace_back(TrimRightBlanks(line));
  }
  lines.push_back(kCompleted);
  lines.push_back("");
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
