// Stand-in for msg.exe: `msg * /server:NAME MESSAGE` delivers into received.txt when the station
// is online and allows remote calls (scenario key allow_remote_rpc). Microsoft documents neither
// msg's error texts nor its exit codes; this one answers as the German msg is believed to: a
// station it cannot reach, or one that takes no remote calls, gives "Fehler 1722 beim Abrufen
// der Sitzungsnamen." on standard error and exit code 1; a station's send_error is reported in
// the form published for a session that the message did not reach ("Error sending message to
// session Console : Error 2147500058 ", German words assumed). A delivered message prints
// nothing.
// Like msg, it reads its arguments as its C runtime cut them: every one that starts with "/" or
// "-" is an option, wherever it stands (a quoted "--#" prints the usage, as published for the
// real msg), and the others after the first make the message, joined by blanks.
#include <windows.h>

#include <string>
#include <string_view>

#include "common/netsim_records.h"
#include "common/netsim_text.h"
#include "common/tool.h"

using namespace botenruf::netsim;

namespace {

constexpr std::uint32_t kRpcServerUnavailable = 1722;

int Usage() {
  WriteLines(Stream::kErr, {"Sendet eine Nachricht an einen Benutzer.", "",
                            "MSG {Benutzername | Sitzungsname | Sitzungs-ID | @Dateiname | *}",
                            "    [/SERVER:Servername] [/TIME:Sekunden] [/V] [/W] [Nachricht]", ""});
  return 1;
}

int Error(std::uint32_t code) {
  WriteLines(Stream::kErr,
             {"Fehler " + std::to_string(code) + " beim Abrufen der Sitzungsnamen.", ""});
  return 1;
}

int SessionError(std::uint32_t code) {
  WriteLines(Stream::kErr, {"Fehler beim Senden der Nachricht an Sitzung Console : Fehler " +
                                std::to_string(code) + " ",
                            ""});
  return 1;
}

// The message msg reads when none follows the options: standard input to its end.
std::string ReadInput() {
  std::string text;
  HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
  char buffer[4096];
  DWORD count = 0;
  while (input != nullptr && input != INVALID_HANDLE_VALUE &&
         ReadFile(input, buffer, sizeof buffer, &count, nullptr) && count > 0) {
    text.append(buffer, count);
  }
  return text;
}

bool IsOption(const std::string& argument) {
  return !argument.empty() && (argument[0] == '/' || argument[0] == '-');
}

}  // namespace

int main() {
  LogInvocation("msg");
  const Scenario scenario = LoadScenario();
  if (__argc < 2 || IsOption(__argv[1])) {
    return Usage();
  }
  std::string server = LocalComputerName();
  std::string message;
  bool hasMessage = false;
  for (int i = 2; i < __argc; ++i) {
    const std::string argument = __argv[i];
    if (!IsOption(argument)) {
      message += (hasMessage ? " " : "") + argument;
      hasMessage = true;
      continue;
    }
    const std::string option = "/" + argument.substr(1);
    if (StartsWithIgnoreCase1252(option, "/server:")) {
      server = option.substr(8);
    } else if (!StartsWithIgnoreCase1252(option, "/time:") && !EqualsIgnoreCase1252(option, "/v") &&
               !EqualsIgnoreCase1252(option, "/w")) {
      return Usage();
    }
  }
  if (!hasMessage) {
    message = ReadInput();
  }

  const Station* station = scenario.FindStation(server);
  if (station != nullptr) {
    Delay(station->sendDelayMs);
  }
  if (station == nullptr || !station->online || !station->allowRemoteRpc) {
    return Error(kRpcServerUnavailable);
  }
  const std::uint32_t code = station->SendError();
  if (code != 0) {
    return SessionError(code);
  }
  AppendRecord("received.txt", FormatReceivedLine(station->name, message));
  ShowReceivedBox("Nachricht von " + LocalComputerName() + " (" + LocalTimeText() + ")", message);
  return 0;
}
