// The simulated network tools, run the way the program runs them: queries through
// "Cmd.exe /q /c ... > file" and `net send` directly. The expected console texts are written
// as code page 850 bytes ("\x84" is ä, "\x81" ü, "\x94" ö, "\x99" Ö, "\x9A" Ü), independently
// of the tools' own conversion table.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "common/netsim_log.h"
#include "netsim/harness.h"

namespace botenruf::netsim {
namespace {

using harness::NetsimFolder;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

const std::string kDashes(79, '-');
const char kCompleted[] = "Der Befehl wurde erfolgreich ausgef\x81hrt.";

// Written in Windows-1252, as a tester's editor on the target system would save it.
const char kScenario[] =
    "# Two domains with stations, and a third that has none\n"
    "[domain BUCHHALTUNG]\n"
    "send_delay_ms = 0\n"
    "\n"
    "[station PC1]\n"
    "domain = BUCHHALTUNG\n"
    "comment = Empfang Müller\n"
    "user = mueller\n"
    "user = Schröder\n"
    "ip = 192.168.1.10\n"
    "mac = 00-50-56-C0-00-08\n"
    "share = DATEN | Platte | Gemeinsame Dateien\n"
    "share = Drucker | Druck | Laser im Flur\n"
    "share = Öffentlich | Platte\n"
    "\r\n"
    "[station PC2]\r\n"
    "domain = buchhaltung\r\n"
    "ip = 192.168.1.11\r\n"
    "online = 0\r\n"
    "\n"
    "[Station server7]\n"
    "  domain   =   LAGER  \n"
    "ip = 192.168.2.1\n"
    "ipv6 = fe80::20c:29ff:fe11:2201%11\n"
    "send_error = 7\n"
    "share = NETLOGON | Platte | Anmeldeserverfreigabe\n"
    "\n"
    "[station GHOST]\n"
    "domain = LAGER\n"
    "allow_remote_rpc = 0\n"
    "refuses_caller = 1\n"
    "\n"
    "[station LANGSAM]\n"
    "domain = LAGER\n"
    "send_delay_ms = 1000\n"
    "view_delay_ms = 700\n"
    "\n"
    "[domain Einkauf]\n"
    "send_error = 5\n"
    "view_error = 6118\n"
    "send_delay_ms = 600\n"
    "view_delay_ms = 600\n";

class NetsimTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { folder_ = new NetsimFolder(); }
  static void TearDownTestSuite() {
    delete folder_;
    folder_ = nullptr;
  }
  void SetUp() override { folder_->Reset(kScenario); }

  struct Query {
    DWORD exitCode = 0;
    DWORD elapsedMs = 0;
    std::vector<std::string> lines;
    std::string bytes;
    std::string errorBytes;
  };

  // Runs a console tool through the command interpreter, as the program runs its queries,
  // with standard output and standard error in files of their own.
  static Query RunQuery(const std::string& arguments) {
    const std::string out = folder_->File("out.txt");
    const std::string err = folder_->File("err.txt");
    DeleteFileA(out.c_str());
    DeleteFileA(err.c_str());
    const harness::ProcessResult run =
        harness::RunHidden(harness::SystemDirectoryPrefix() + "Cmd.exe /q /c " + arguments + " > " +
                           out + " 2> " + err);
    EXPECT_TRUE(run.started) << arguments;
    EXPECT_TRUE(harness::FileExists(out)) << arguments;
    Query query;
    query.exitCode = run.exitCode;
    query.elapsedMs = run.elapsedMs;
    query.bytes = harness::ReadBytes(out);
    query.errorBytes = harness::ReadBytes(err);
    const harness::ConsoleText text = harness::SplitConsoleLines(query.bytes);
    EXPECT_TRUE(text.wellFormed) << arguments << ": every line must end with CR LF";
    query.lines = text.lines;
    return query;
  }

  static std::vector<LogEntry> Log() {
    std::vector<LogEntry> entries;
    for (const std::string& line : SplitRecordLines(harness::ReadBytes(folder_->File("log.txt")))) {
      std::optional<LogEntry> entry = ParseLogLine(line);
      EXPECT_TRUE(entry.has_value()) << line;
      if (entry) {
        entries.push_back(*entry);
      }
    }
    return entries;
  }

  static std::vector<ReceivedEntry> Received() {
    std::vector<ReceivedEntry> entries;
    for (const std::string& line :
         SplitRecordLines(harness::ReadBytes(folder_->File("received.txt")))) {
      std::optional<ReceivedEntry> entry = ParseReceivedLine(line);
      EXPECT_TRUE(entry.has_value()) << line;
      if (entry) {
        entries.push_back(*entry);
      }
    }
    return entries;
  }

  static NetsimFolder* folder_;
};

NetsimFolder* NetsimTest::folder_ = nullptr;

TEST_F(NetsimTest, NetViewDomainListsEveryDomain) {
  const Query query = RunQuery("net view /domain");
  EXPECT_EQ(query.exitCode, 0u);
  // Domains in the order of their first mention; "buchhaltung" of PC2 is the same domain.
  EXPECT_THAT(query.lines,
              ElementsAre("Dom\x84ne", "", kDashes, "BUCHHALTUNG", "LAGER", "Einkauf", kCompleted));
}

TEST_F(NetsimTest, NetViewDomainListsItsOnlineStationsInTheStationColumn) {
  const Query buchhaltung = RunQuery("net view /domain:buchhaltung");
  EXPECT_EQ(buchhaltung.exitCode, 0u);
  // PC2 is offline and not listed; the comment starts after a column of 23 characters.
  EXPECT_THAT(buchhaltung.lines,
              ElementsAre("Servername            Beschreibung", "", kDashes,
                          "\\\\PC1                  Empfang M\x81ller", kCompleted));

  // Stations without a comment end right after their name.
  const Query lager = RunQuery("net view /DOMAIN:Lager");
  EXPECT_EQ(lager.exitCode, 0u);
  EXPECT_THAT(lager.lines, ElementsAre("Servername            Beschreibung", "", kDashes,
                                       "\\\\server7", "\\\\GHOST", "\\\\LANGSAM", kCompleted));
}

TEST_F(NetsimTest, ADomainListingThatFailsPrintsNothingOnStandardOutput) {
  for (const char* domain : {"NIRGENDWO", "einkauf"}) {
    const Query query = RunQuery(std::string("net view /domain:") + domain);
    EXPECT_EQ(query.exitCode, 2u);
    EXPECT_THAT(query.bytes, IsEmpty());
    EXPECT_EQ(query.errorBytes,
              "Systemfehler 6118 aufgetreten.\r\n\r\nDie Liste der Server f\x81r diese "
              "Arbeitsgruppe ist zurzeit nicht verf\x81gbar.\r\n\r\n");
  }
}

// The description and its blank line stand above the column header only where the station has
// one; the completion message follows the last share, a blank line follows it.
TEST_F(NetsimTest, NetViewStationListsSharesUnderTheHeaderOfTheNtEdition) {
  const Query described = RunQuery("net view \\\\pc1");
  EXPECT_EQ(described.exitCode, 0u);
  EXPECT_THAT(described.lines,
              ElementsAre("Freigegebene Ressourcen auf \\\\pc1", "", "Empfang M\x81ller", "",
                          "Name         Typ          Lokal    Beschreibung", "", kDashes,
                          "DATEN        Platte                Gemeinsame Dateien",
                          "Drucker      Druck                 Laser im Flur",
                          "\x99"
                          "ffentlich   Platte",
                          kCompleted, ""));
  const Query plain = RunQuery("net view \\\\SERVER7");
  EXPECT_THAT(
      plain.lines,
      ElementsAre("Freigegebene Ressourcen auf \\\\SERVER7", "",
                  "Name         Typ          Lokal    Beschreibung", "", kDashes,
                  "NETLOGON     Platte                Anmeldeserverfreigabe", kCompleted, ""));
}

// A station that is off and one that refuses the caller both write to standard error only.
TEST_F(NetsimTest, NetViewOfUnreachableOrRefusingStationsWritesOnlyToStandardError) {
  for (const auto& [station, error] :
       {std::pair{"\\\\PC2", "Systemfehler 53 aufgetreten.\r\n"},
        std::pair{"\\\\UNBEKANNT", "Systemfehler 53 aufgetreten.\r\n"},
        std::pair{"\\\\GHOST", "Systemfehler 5 aufgetreten.\r\n\r\nZugriff verweigert."}}) {
    SCOPED_TRACE(station);
    const Query query = RunQuery(std::string("net view ") + station);
    EXPECT_EQ(query.exitCode, 2u);
    EXPECT_THAT(query.bytes, IsEmpty());
    EXPECT_THAT(query.errorBytes, HasSubstr(error));
  }
}

TEST_F(NetsimTest, NbtstatPrintsTheNameTableWithMessengerNamesAndMac) {
  const Query query = RunQuery("nbtstat -a pc1");
  EXPECT_EQ(query.exitCode, 0u);
  ASSERT_GE(query.lines.size(), 4u);
  // The header names the querying computer's own address, which depends on the machine.
  EXPECT_THAT(query.lines[2], ::testing::StartsWith("Knoten-IP-Adresse: ["));
  EXPECT_THAT(query.lines[2], ::testing::EndsWith("] Bereichskennung: []"));
  const std::vector<std::string> table(query.lines.begin() + 4, query.lines.end());
  EXPECT_THAT(table, ElementsAre("           NetBIOS-Namentabelle des Remotecomputers", "",
                                 "       Name               Typ          Status",
                                 "    ---------------------------------------------",
                                 "    PC1            <00>  EINDEUTIG  Registriert",
                                 "    BUCHHALTUNG    <00>  GRUPPE     Registriert",
                                 "    PC1            <20>  EINDEUTIG  Registriert",
                                 "    PC1            <03>  EINDEUTIG  Registriert",
                                 "    MUELLER        <03>  EINDEUTIG  Registriert",
                                 "    SCHR\x99"
                                 "DER       <03>  EINDEUTIG  Registriert",
                                 "", "    MAC-Adresse = 00-50-56-C0-00-08", ""));
}

TEST_F(NetsimTest, NbtstatOfUnreachableStationsFindsNoHost) {
  for (const char* station : {"PC2", "UNBEKANNT"}) {
    SCOPED_TRACE(station);
    const Query query = RunQuery(std::string("nbtstat -a ") + station);
    EXPECT_EQ(query.exitCode, 0u);
    EXPECT_THAT(query.lines, ::testing::Contains("    Host nicht gefunden."));
    EXPECT_THAT(query.bytes, ::testing::Not(HasSubstr("<03>")));
    EXPECT_THAT(query.bytes, ::testing::Not(HasSubstr("MAC-Adresse")));
  }
}

TEST_F(NetsimTest, PingAnswersTimesOutOrCannotFindTheHost) {
  struct Case {
    const char* station;
    DWORD exitCode;
    std::vector<std::string> lines;
  };
  const std::string notFound =
      "\" nicht finden. \x9A"
      "berpr\x81"
      "fen Sie den Namen, und versuchen Sie es erneut.";
  const Case cases[] = {
      {"PC1",
       0,
       {"", "Ping wird ausgef\x81hrt f\x81r PC1 [192.168.1.10] mit 32 Bytes Daten:", "",
        "Antwort von 192.168.1.10: Bytes=32 Zeit<1ms TTL=128", "",
        "Ping-Statistik f\x81r 192.168.1.10:",
        "    Pakete: Gesendet = 1, Empfangen = 1, Verloren = 0 (0% Verlust),",
        "Ca. Zeitangaben in Millisek.:", "    Minimum = 0ms, Maximum = 0ms, Mittelwert = 0ms", ""}},
      {"PC2",
       1,
       {"", "Ping wird ausgef\x81hrt f\x81r PC2 [192.168.1.11] mit 32 Bytes Daten:", "",
        "Zeit\x81"
        "berschreitung der Anforderung.",
        "", "Ping-Statistik f\x81r 192.168.1.11:",
        "    Pakete: Gesendet = 1, Empfangen = 0, Verloren = 1 (100% Verlust),", ""}},
      // Known to the network, but without an address nothing resolves it.
      {"GHOST", 1, {"Ping-Anforderung konnte Host \"GHOST" + notFound, ""}},
      {"UNBEKANNT", 1, {"Ping-Anforderung konnte Host \"UNBEKANNT" + notFound, ""}},
      // From Vista on over IPv6, without "Bytes=" and "TTL=".
      {"SERVER7",
       0,
       {"",
        "Ping wird ausgef\x81hrt f\x81r SERVER7 [fe80::20c:29ff:fe11:2201%11] mit 32 Bytes Daten:",
        "", "Antwort von fe80::20c:29ff:fe11:2201%11: Zeit<1ms", "",
        "Ping-Statistik f\x81r fe80::20c:29ff:fe11:2201%11:",
        "    Pakete: Gesendet = 1, Empfangen = 1, Verloren = 0 (0% Verlust),",
        "Ca. Zeitangaben in Millisek.:", "    Minimum = 0ms, Maximum = 0ms, Mittelwert = 0ms", ""}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.station);
    const Query query = RunQuery(std::string("ping ") + c.station + " -n 1");
    EXPECT_EQ(query.exitCode, c.exitCode);
    EXPECT_THAT(query.lines, ElementsAreArray(c.lines));
  }
}

// net.exe ends with 2 on every error and names it on standard error.
TEST_F(NetsimTest, NetSendErrorsFollowTheScenario) {
  struct Case {
    const char* target;
    const char* error;  // what standard error ends with, empty for a delivery
  };
  const Case cases[] = {
      {"PC1", ""},
      {"pc1", ""},
      {"PC2", "NET HELPMSG 2273.\r\n\r\n"},
      {"UNBEKANNT", "NET HELPMSG 2273.\r\n\r\n"},
      {"SERVER7", "Systemfehler 7 aufgetreten.\r\n\r\n\r\n\r\n"},
      {"/DOMAIN:Lager", ""},
      {"/domain:EINKAUF", "Systemfehler 5 aufgetreten.\r\n\r\nZugriff verweigert.\r\n\r\n"},
      {"/DOMAIN:NIRGENDWO", "NET HELPMSG 2273.\r\n\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.target);
    const Query query = RunQuery(std::string("net send ") + c.target + " Test");
    EXPECT_EQ(query.exitCode, *c.error ? 2u : 0u);
    EXPECT_THAT(query.errorBytes, ::testing::EndsWith(c.error));
  }
  // Only the sends that ended with 0 were delivered, under the scenario's spelling.
  const std::vector<ReceivedEntry> received = Received();
  std::vector<std::string> recipients;
  for (const ReceivedEntry& entry : received) {
    recipients.push_back(entry.recipient);
    EXPECT_EQ(entry.message, "Test  ");  // with the blanks the interpreter leaves before ">"
  }
  EXPECT_THAT(recipients, ElementsAre("PC1", "PC1", "DOMAIN:LAGER"));
}

// msg * /server:NAME: delivered to online stations that allow remote calls; every other station
// gets "Fehler <code> beim Abrufen der Sitzungsnamen." on standard error (1722 when it cannot be
// reached or takes no remote calls) and exit code 1. The message is what the C runtime gives
// back of its arguments.
TEST_F(NetsimTest, MsgDeliversOrReportsItsErrorOnStandardError) {
  const std::string msg = harness::SystemDirectoryPrefix() + "msg.exe";
  const struct {
    const char* server;
    DWORD exitCode;
    const char* error;
  } cases[] = {
      {"pc1", 0, ""},
      {"PC2", 1, "Fehler 1722 beim Abrufen der Sitzungsnamen.\r\n\r\n"},
      {"GHOST", 1, "Fehler 1722 beim Abrufen der Sitzungsnamen.\r\n\r\n"},
      {"UNBEKANNT", 1, "Fehler 1722 beim Abrufen der Sitzungsnamen.\r\n\r\n"},
      {"SERVER7", 1, "Fehler beim Senden der Nachricht an Sitzung Console : Fehler 7 \r\n\r\n"},
  };
  const std::string message = "Grüße an \"alle\"\r\n  Zeile 2\n{An DOMAIN: \"X\"}";
  for (const auto& c : cases) {
    SCOPED_TRACE(c.server);
    const std::string line = msg + " * /server:" + c.server +
                             " \"Grüße an \\\"alle\\\"\r\n  Zeile 2\n{An DOMAIN: \\\"X\\\"}\"";
    const std::string out = folder_->File("out.txt");
    HANDLE file = CreateFileA(out.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    SetHandleInformation(file, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdError = file;
    PROCESS_INFORMATION process = {};
    std::string buffer = line;
    ASSERT_TRUE(CreateProcessA(nullptr, buffer.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                               &startup, &process));
    WaitForSingleObject(process.hProcess, 20000);
    DWORD code = 99;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    CloseHandle(file);
    EXPECT_EQ(code, c.exitCode);
    EXPECT_EQ(harness::ReadBytes(out), c.error);
    EXPECT_EQ(harness::MsgStarts(*folder_).back().commandLine, line);
  }
  const std::vector<ReceivedEntry> received = Received();
  ASSERT_EQ(received.size(), 1u);
  EXPECT_EQ(received[0].recipient, "PC1");
  EXPECT_EQ(received[0].message, message);
}

TEST_F(NetsimTest, NetSendKeepsTheMessageAndTheCommandLineExactly) {
  const std::string message =
      "Grüße an \\\"alle\\\"\r\n\tZeile 2 mit  zwei Blanks \\\\server\\pfad\n{An:PC1,PC2}";
  const std::string commandLine = "net send PC1   " + message;
  const harness::ProcessResult run = harness::RunHidden(commandLine);
  ASSERT_TRUE(run.started);
  EXPECT_EQ(run.exitCode, 0u);

  const std::vector<ReceivedEntry> received = Received();
  ASSERT_EQ(received.size(), 1u);
  EXPECT_EQ(received[0].recipient, "PC1");
  EXPECT_EQ(received[0].message, message);

  const std::vector<LogEntry> log = Log();
  ASSERT_EQ(log.size(), 1u);
  EXPECT_EQ(log[0].tool, "net");
  EXPECT_EQ(log[0].commandLine, commandLine);
  EXPECT_THAT(log[0].arguments,
              ElementsAre("send", "PC1", "Grüße", "an", "\"alle\"\r\n", "Zeile", "2", "mit", "zwei",
                          "Blanks", "\\\\server\\pfad\n{An:PC1,PC2}"));
  // The raw record stays on one line and carries no raw tab besides the separators.
  const std::string raw = harness::ReadBytes(folder_->File("log.txt"));
  EXPECT_EQ(raw.find_first_of("\r\n"), raw.size() - 2);
  EXPECT_EQ(std::count(raw.begin(), raw.end(), '\t'), 2 + 11);
}

TEST_F(NetsimTest, TwentyParallelSendsAreEachLoggedAndDeliveredOnce) {
  constexpr int kSends = 20;
  std::vector<HANDLE> processes;
  for (int i = 0; i < kSends; ++i) {
    HANDLE process = harness::StartHidden("net send PC1 Nachricht " + std::to_string(i));
    ASSERT_NE(process, nullptr) << i;
    processes.push_back(process);
  }
  for (HANDLE process : processes) {
    EXPECT_EQ(WaitForSingleObject(process, 60000), WAIT_OBJECT_0);
    DWORD exitCode = 259;
    GetExitCodeProcess(process, &exitCode);
    EXPECT_EQ(exitCode, 0u);
    CloseHandle(process);
  }

  std::map<std::string, int> logged;
  for (const LogEntry& entry : Log()) {
    EXPECT_EQ(entry.tool, "net");
    ++logged[entry.commandLine];
  }
  std::map<std::string, int> delivered;
  for (const ReceivedEntry& entry : Received()) {
    ++delivered[entry.message];
  }
  EXPECT_EQ(logged.size(), static_cast<std::size_t>(kSends));
  EXPECT_EQ(delivered.size(), static_cast<std::size_t>(kSends));
  for (int i = 0; i < kSends; ++i) {
    const std::string text = "Nachricht " + std::to_string(i);
    EXPECT_EQ(logged["net send PC1 " + text], 1) << text;
    EXPECT_EQ(delivered[text], 1) << text;
  }
}

TEST_F(NetsimTest, ShowBoxPresentsTheMessageAsTheReceivingStationWould) {
  SetEnvironmentVariableA("BOTENRUF_NETSIM_SHOWBOX", "1");
  HANDLE process = harness::StartHidden("net send pc1 Hallo Box\r\nZeile 2");
  SetEnvironmentVariableA("BOTENRUF_NETSIM_SHOWBOX", nullptr);
  ASSERT_NE(process, nullptr);
  // The box exists a moment before it is shown; wait until the user could see it.
  HWND box = nullptr;
  for (int i = 0; i < 200; ++i) {
    box = FindWindowA("#32770", "Nachrichtendienst");
    if (box != nullptr && IsWindowVisible(box)) {
      break;
    }
    Sleep(50);
  }
  if (box == nullptr || !IsWindowVisible(box)) {
    TerminateProcess(process, 1);
    CloseHandle(process);
    FAIL() << "no visible box \"Nachrichtendienst\" appeared";
  }
  // The tool waits for the box before it ends.
  EXPECT_EQ(WaitForSingleObject(process, 0), static_cast<DWORD>(WAIT_TIMEOUT));

  char text[512] = {};
  GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
  char computer[MAX_COMPUTERNAME_LENGTH + 1] = {};
  DWORD size = sizeof computer;
  GetComputerNameA(computer, &size);
  const std::string head = std::string("Nachricht von ") + computer + " an PC1 am ";
  const std::string body = "\r\n\r\nHallo Box\r\nZeile 2";
  const std::string shown = text;
  ASSERT_EQ(shown.size(), head.size() + 19 + body.size()) << shown;
  EXPECT_EQ(shown.substr(0, head.size()), head);
  EXPECT_EQ(shown.substr(head.size() + 19), body);
  // dd.mm.yyyy hh:mm:ss
  const std::string when = shown.substr(head.size(), 19);
  for (std::size_t i = 0; i < when.size(); ++i) {
    const char expected = i == 2 || i == 5 ? '.' : i == 10 ? ' ' : i == 13 || i == 16 ? ':' : '9';
    if (expected == '9') {
      EXPECT_TRUE(when[i] >= '0' && when[i] <= '9') << when;
    } else {
      EXPECT_EQ(when[i], expected) << when;
    }
  }

  PostMessageA(box, WM_COMMAND, IDOK, 0);
  EXPECT_EQ(WaitForSingleObject(process, 10000), static_cast<DWORD>(WAIT_OBJECT_0));
  DWORD exitCode = 259;
  GetExitCodeProcess(process, &exitCode);
  EXPECT_EQ(exitCode, 0u);
  CloseHandle(process);
}

TEST(NetsimLogFormat, EscapingRoundTripsAndDamagedRecordsAreRefused) {
  const std::string commandLine = "net send PC1 a\\b\r\nc\td \\n";
  const std::string line = FormatLogLine(4000000000u, "net", commandLine);
  EXPECT_EQ(line, "4000000000\tnet\tnet send PC1 a\\\\b\\r\\nc\\td \\\\n\r\n");
  const std::optional<LogEntry> entry = ParseLogLine(line);
  ASSERT_TRUE(entry.has_value());
  EXPECT_EQ(entry->tick, 4000000000u);
  EXPECT_EQ(entry->tool, "net");
  EXPECT_EQ(entry->commandLine, commandLine);

  for (const char* damaged : {"12\tnet", "x1\tnet\tcmd", "1\tnet\tends in \\", "1\tnet\ta \\q b",
                              "99999999999\tnet\tcmd"}) {
    SCOPED_TRACE(damaged);
    EXPECT_FALSE(ParseLogLine(damaged).has_value());
  }
}

}  // namespace
}  // namespace botenruf::netsim
