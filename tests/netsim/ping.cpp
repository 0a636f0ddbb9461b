// Stand-in for ping.exe: answers for online stations with an address, times out for offline
// ones and cannot resolve unknown names, with the German edition's texts and exit codes. A
// station with an IPv6 address (scenario key ipv6) answers over IPv6 as Windows Vista and newer
// do, unless "-4" asks for IPv4: its replies carry neither "Bytes=" nor "TTL=" (published
// German captures of Windows 10).
#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "common/netsim_records.h"
#include "common/netsim_text.h"
#include "common/tool.h"

using namespace botenruf::netsim;

namespace {

bool LooksLikeAddress(const std::string& text) {
  int dots = 0;
  for (char c : text) {
    if (c == '.') {
      ++dots;
    } else if (c < '0' || c > '9') {
      return false;
    }
  }
  return dots == 3;
}

}  // namespace

int main() {
  LogInvocation("ping");
  const Scenario scenario = LoadScenario();
  const std::vector<std::string> words = ArgumentWords();
  std::string host;
  long count = 4;
  long size = 32;
  bool ipv4Only = false;
  for (std::size_t i = 0; i < words.size(); ++i) {
    const std::string& word = words[i];
    const bool hasValue = i + 1 < words.size();
    if (word == "-4" || word == "/4") {
      ipv4Only = true;
    } else if ((word == "-n" || word == "/n") && hasValue) {
      count = std::strtol(words[++i].c_str(), nullptr, 10);
    } else if ((word == "-l" || word == "/l") && hasValue) {
      size = std::strtol(words[++i].c_str(), nullptr, 10);
    } else if ((word == "-w" || word == "-i" || word == "-v" || word == "-r" || word == "-s" ||
                word == "-j" || word == "-k") &&
               hasValue) {
      ++i;
    } else if (!word.empty() && word[0] != '-' && word[0] != '/') {
      host = word;
    }
  }
  if (host.empty() || count < 1) {
    WriteLines(Stream::kErr,
               {"", "Syntax: ping [-t] [-a] [-n Anzahl] [-l Größe] [-w Zeitlimit] Zielname", ""});
    return 1;
  }

  const bool byAddress = LooksLikeAddress(host);
  const Station* station = byAddress ? scenario.FindStationByIp(host) : scenario.FindStation(host);
  if (!byAddress && (station == nullptr || station->ip.empty())) {
    WriteLines(Stream::kOut, {"Ping-Anforderung konnte Host \"" + host +
                                  "\" nicht finden. Überprüfen Sie den Namen, und versuchen Sie "
                                  "es erneut.",
                              ""});
    return 1;
  }
  if (station != nullptr) {
    Delay(station->viewDelayMs);
  }

  const bool overIpv6 = !byAddress && !ipv4Only && !station->ipv6.empty();
  const std::string ip = byAddress ? host : overIpv6 ? station->ipv6 : station->ip;
  const std::string bytes = std::to_string(size);
  const bool answers = station != nullptr && station->online;
  std::vector<std::string> lines = {"",
                                    "Ping wird ausgeführt für " +
                                        (byAddress ? ip : host + " [" + ip + "]") + " mit " +
                                        bytes + " Bytes Daten:",
                                    ""};
  for (long i = 0; i < count; ++i) {
    const std::string reply = overIpv6
                                  ? "Antwort von " + ip + ": Zeit<1ms"
                                  : "Antwort von " + ip + ": Bytes=" + bytes + " Zeit<1ms TTL=128";
    lines.push_back(answers ? reply : "Zeitüberschreitung der Anforderung.");
  }
  const long received = answers ? count : 0;
  const std::string sent = std::to_string(count);
  lines.insert(lines.end(),
               {"", "Ping-Statistik für " + ip + ":",
                "    Pakete: Gesendet = " + sent + ", Empfangen = " + std::to_string(received) +
                    ", Verloren = " + std::to_string(count - received) + " (" +
                    (answers ? "0" : "100") + "% Verlust),"});
  if (answers) {
    lines.push_back("Ca. Zeitangaben in Millisek.:");
    lines.push_back("    Minimum = 0ms, Maximum = 0ms, Mittelwert = 0ms");
  }
  lines.push_back("");
  WriteLines(Stream::kOut, lines);
  return answers ? 0 : 1;
}
