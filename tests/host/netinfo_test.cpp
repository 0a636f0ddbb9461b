// The network queries: the parsers of the tools' output, the station query and the list
// member check against scripted tools, and the domain browser's take-over of stations.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "dispatch/command_runner.h"
#include "fakes/fake_worker_services.h"
#include "netinfo/list_check.h"
#include "netinfo/net_output.h"
#include "netinfo/net_query.h"
#include "netinfo/station_info.h"
#include "netinfo/table_query.h"
#include "netinfo/take_over.h"
#include "text/text.h"

namespace botenruf {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using Lines = std::vector<std::string>;

TEST(NetOutputTest, NamesMacAndPingAddressFromTheFirstMatch) {
  EXPECT_THAT(ParseMessengerNames({"STATION1       <03>  EINDEUTIG  Registriert",
                                   "STATION1       <00>  EINDEUTIG  Registriert",
                                   "    MUELLER        <03>  EINDEUTIG", "x<03>y<03>", "<3>",
                                   "\x80\xff <03>"}),
              ElementsAre("STATION1", "MUELLER", "x", "\x80\xff"));
  const struct {
    Lines lines;
    std::string mac;
    std::string ip;
  } cases[] = {
      {{"    MAC-Adresse = 00-50-56-C0-00-08  ", "MAC-Adresse = 11"}, "00-50-56-C0-00-08", ""},
      {{"MAC-Adresse ="}, "", ""},
      {{"Ping wird ausgeführt für STATION1 [192.168.1.10] mit 32 Bytes Daten:"},
       "",
       "192.168.1.10"},
      {{"x [ohne Ende", "y [ 10.0.0.1 ] [9.9.9.9]"}, "", "10.0.0.1"},  // no "]": next line
      {{"]vorher[", std::string(100000, '[')}, "", ""},
      {{}, "", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.lines.empty() ? "(empty)" : c.lines[0].substr(0, 20));
    EXPECT_EQ(ParseMacAddress(c.lines), c.mac);
    EXPECT_EQ(ParsePingAddress(c.lines), c.ip);
  }
}

TEST(NetOutputTest, ListingsSplitAtTheirColumns) {
  const Lines domain = {"Servername            Beschreibung",   "-------",
                        "\\\\STATION1             Buchhaltung", "  \\\\PC7  ",
                        "\\\\ABCDEFGHIJKLMNOPQR Rest",          "\\",
                        "Der Befehl wurde ausgeführt."};
  std::string text;  // the same listing as one text, its lines ending in LF or CR LF
  for (const std::string& line : domain)
    text += line + (text.empty() ? "\n" : "\r\n");
  Lines rows;
  for (const StationRow& row : ParseDomainStations(text))
    rows.push_back(row.station + "|" + row.comment);
  EXPECT_THAT(rows,
              ElementsAre("\\\\STATION1|Buchhaltung", "\\\\PC7|", "\\\\ABCDEFGHIJKLMNOPQR|Rest"));

  // The rows follow the dashes, whether a description and its blank line stand above them or
  // not, and end at an empty line or the completion message; trailing blanks of the type stay.
  const std::string dashes(79, '-'), done = "Der Befehl wurde erfolgreich ausgeführt.";
  const std::string umlauts(28, '\xE4');
  const struct {
    Lines listing;
    Lines rows;
  } shares[] = {
      {{"Freigegebene Ressourcen auf \\\\DC1", "", "Freigabename  Typ  Verwendet als  Kommentar",
        "", dashes, "NETLOGON     Platte                      Anmeldeserverfreigabe",
        "SYSVOL       Platte", done},
       {"NETLOGON|Platte       ", "SYSVOL|Platte"}},
      {{"Freigegebene Ressourcen auf \\\\PC1", "", "Empfang", "", "Name         Typ          Lokal",
        "", dashes, "DATEN        Platte", "Drucker      Druck        Laserdrucker", umlauts, done,
        ""},
       {"DATEN|Platte", "Drucker|Druck        ",
        umlauts.substr(0, 13) + "|" + umlauts.substr(0, 13)}},
      {{"Name         Typ", dashes, "DATEN        Platte", "", done}, {"DATEN|Platte"}},
      {{"Freigegebene Ressourcen auf \\\\PC1", "", "Name", "", dashes, done}, {}},
      {{"Systemfehler 53 aufgetreten.", "", "Der Netzwerkpfad wurde nicht gefunden."}, {}},
  };
  for (const auto& s : shares) {
    Lines rows;
    for (const ShareRow& row : ParseShareList(s.listing))
      rows.push_back(row.name + "|" + row.type);
    EXPECT_EQ(rows, s.rows) << s.listing[0];
  }
}

TEST(StationInfoTest, UsersAreTheNamesBesideTheStationsOwn) {
  const struct {
    Lines names;
    Lines userNames;
  } cases[] = {
      {{}, {"<unknown>"}},
      {{"    PC1"}, {"<unknown>"}},
      {{"    PC1", "    MEIER"}, {"    MEIER"}},
      {{"    MEIER", "    PC1"}, {"    MEIER"}},
      {{"    PC1", "    MEIER", "    PC10", "    ABEL"}, {"    MEIER", "    ABEL"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.names.size());
    StationInfo info;
    info.station = "PC1";
    TakeMessengerNames(c.names, info);
    EXPECT_EQ(info.userNames, c.userNames);
  }
}

// Scripted tools: each query command line writes its output (in the console's code page)
// into the output file, as the command interpreter's redirection does.
class QueryTest : public ::testing::Test, public fakes::FakeWorkerServices {
 protected:
  std::string Line(QueryKind kind, const std::string& argument) {
    std::string line;
    EXPECT_TRUE(BuildQueryCommandLine(kind, "C:\\WINNT\\system32\\", argument, kOutput, line));
    return line;
  }
  void Answer(QueryKind kind, const std::string& argument, const std::string& output,
              uint32_t exitCode = 0) {
    const auto write = [this, output] { files->files[kOutput] = output; };
    processes->Script(Line(kind, argument), {.exitCode = exitCode, .onRun = write});
  }
  void Refuse(QueryKind kind, const std::string& argument) {
    processes->Script(Line(kind, argument), {.starts = false, .onRun = nullptr});
  }

  static constexpr const char* kOutput = "C:\\TEMP\\msg1.tmp";
};

constexpr char kNameTable[] =
    "\r\nKnoten-IP-Adresse: [192.168.1.5] Bereichskennung: []\r\n\r\n"
    "    PC1            <00>  EINDEUTIG  Registriert\r\n"
    "    PC1            <03>  EINDEUTIG  Registriert\r\n"
    "    M\x9aLLER         <03>  EINDEUTIG  Registriert\r\n\r\n"
    "    MAC-Adresse = 00-0C-29-11-22-01\r\n";

TEST_F(QueryTest, StationInfoTakesNameTableAndPing) {
  Answer(QueryKind::kNameTable, "PC1", kNameTable);
  Answer(QueryKind::kPing, "PC1", "Ping wird ausgef\x81hrt f\x81r PC1 [192.168.1.21] mit 32\r\n");
  const StationInfo info = QueryStationInfo(services, "PC1", kOutput);
  EXPECT_EQ(info.station, "PC1");
  EXPECT_THAT(info.userNames, ElementsAre("MÜLLER"));  // converted from code page 850
  EXPECT_EQ(info.mac, "00-0C-29-11-22-01");
  EXPECT_EQ(info.ip, "192.168.1.21");
  EXPECT_FALSE(files->Exists(kOutput));
  // From Windows Vista on ping would answer over IPv6: it is asked for the IPv4 address.
  system->osVersion = {2, 6, 1};
  Answer(QueryKind::kPing4, "PC1", "Ping wird ausgef\x81hrt f\x81r PC1 [192.168.1.22] mit 32\r\n");
  EXPECT_EQ(QueryStationInfo(services, "PC1", kOutput).ip, "192.168.1.22");
  system->osVersion = {2, 5, 1};

  // The program ends while the name table runs: the query stops after it.
  fakes::ProcessScript ending;
  ending.onRun = [this] {
    files->files[kOutput] = kNameTable;
    ShutdownFlag() = true;
  };
  processes->Script(Line(QueryKind::kNameTable, "PC1"), ending);
  const size_t before = processes->started().size();
  EXPECT_EQ(QueryStationInfo(services, "PC1", kOutput).mac, "00-0C-29-11-22-01");
  EXPECT_EQ(processes->started().size(), before + 1);
  EXPECT_FALSE(files->Exists(kOutput));
}

TEST_F(QueryTest, StationInfoWithoutAnswersStaysEmpty) {
  // Ping cannot resolve the station: the name table's own address must not stand in.
  Answer(QueryKind::kNameTable, "PC1", kNameTable);
  Answer(QueryKind::kPing, "PC1", "Ping-Anforderung konnte Host \"PC1\" nicht finden.\r\n", 1);
  EXPECT_EQ(QueryStationInfo(services, "PC1", kOutput).ip, "");
  Refuse(QueryKind::kPing, "PC1");
  EXPECT_EQ(QueryStationInfo(services, "PC1", kOutput).ip, "");

  // No name table: no ping either, nothing but the station.
  files->files.clear();
  processes->defaultScript.starts = false;
  const StationInfo none = QueryStationInfo(services, "PC2", kOutput);
  EXPECT_THAT(none.userNames, IsEmpty());
  EXPECT_EQ(none.mac + none.ip, "");
  EXPECT_EQ(processes->started().back(), Line(QueryKind::kNameTable, "PC2"));

  EXPECT_EQ(QueryTarget("  pc\xe4 1 \t"), "PC\xc4 1");
  // A name the command interpreter would act on runs nothing at all.
  const size_t before = processes->started().size();
  EXPECT_EQ(QueryStationInfo(services, "PC1&calc", kOutput).station, "PC1&calc");
  EXPECT_EQ(processes->started().size(), before);
}

class RecordingView : public ListCheckView {
 public:
  explicit RecordingView(std::shared_ptr<fakes::FakeFileSystem> fs) : files(std::move(fs)) {}
  void SetSearching(bool on) override { calls.push_back(on ? "searching" : "finished"); }
  void ShowTesting(const std::string& name) override { calls.push_back("testing " + name); }
  void AddRow(int index, const std::string& label, bool online) override {
    calls.push_back(Format("row %d %s %s", index, label.c_str(), OnlineText(online)));
    if (closeAfterRows > 0 && --closeAfterRows == 0)
      closed = true;
    if (endAfterRows > 0 && --endAfterRows == 0)
      ShutdownFlag() = true;
  }
  void Finish(const std::string& status) override { calls.push_back(status); }
  void ShowOk() override {
    calls.push_back(files->files.empty() ? "ok" : "ok, output file left");
    closed = closed || closeWhenOk;
  }
  void StopFlashing() override { calls.push_back("stop"); }
  bool CloseRequested() override { return closed; }

  std::vector<std::string> calls;
  int closeAfterRows = 0;
  int endAfterRows = 0;  // the program ends while this member is probed
  bool closeWhenOk = true;
  bool closed = false;
  std::shared_ptr<fakes::FakeFileSystem> files;
};

TEST_F(QueryTest, ListCheckProbesEveryMemberInOrder) {
  RecipientDirectory directory;
  directory.AddSingle("Empfang", "PC1");
  // A station that is off makes net view name a network error, one that refuses the caller
  // (a Windows workgroup) "access denied": it is there all the same.
  Answer(QueryKind::kNetView, "\\\\PC1", "Freigegebene Ressourcen auf \\\\PC1\r\n");
  Answer(QueryKind::kNetView, "\\\\PC2",
         "Systemfehler 53 aufgetreten.\r\n\r\nDer Netzwerkpfad wurde nicht gefunden.\r\n", 2);
  Refuse(QueryKind::kNetView, "\\\\PC3");
  Answer(QueryKind::kNetView, "\\\\PC5",
         "Systemfehler 5 aufgetreten.\r\n\r\nZugriff verweigert.\r\n", 2);
  const MemberCheck check = ListMembers("PC1,,PC2,PC3,PC&4,PC5,rest", directory);
  RecordingView view(files);
  RunListCheck(services, check, kOutput, view);
  EXPECT_THAT(view.calls,
              ElementsAre("searching", "testing Empfang", "row 0 PC1 {Empfang} ja", "testing PC2",
                          "row 1 PC2 nein", "testing PC3", "testing PC&4", "testing PC5",
                          "row 2 PC5 ja", "finished", "Liste bearbeitet.", "ok", "stop"));
  EXPECT_EQ(processes->started().size(), 4u);  // PC&4 runs nothing
}

// A listing that failed says so with the system's text and code; "no station" only for one
// that was read and lists none.
TEST_F(QueryTest, ADomainListingThatFailedIsNoEmptyDomain) {
  system->messages[6118] =
      "Die Liste der Server für diese Arbeitsgruppe ist zurzeit nicht verfügbar.\r\n";
  const std::string header = "Servername            Beschreibung\r\n\r\n" + std::string(79, '-');
  const struct {
    std::string output;
    std::string status;
    size_t rows;
  } cases[] = {
      {header + "\r\n\\\\PC1                   Empfang\r\n\\\\PC2\r\nDer Befehl wurde "
                "erfolgreich ausgef\x81hrt.\r\n",
       "Domäne bearbeitet: 2 Stationen.", 2},
      {header + "\r\nDer Befehl wurde erfolgreich ausgef\x81hrt.\r\n",
       "Domäne bearbeitet: 0 Stationen.", 0},
      {"Systemfehler 6118 aufgetreten.\r\n\r\nDie Liste der Server f\x81r diese Arbeitsgruppe ist "
       "zurzeit nicht verf\x81gbar.\r\n",
       "Die Stationsliste der Domäne \"BUERO\" konnte nicht gelesen werden: Die Liste der Server "
       "für diese Arbeitsgruppe ist zurzeit nicht verfügbar. (Code 6118).",
       0},
  };
  for (const auto& c : cases) {
    Answer(QueryKind::kNetView, "/domain:BUERO", c.output, c.rows > 0 ? 0 : 2);
    const DomainListing listing = QueryDomainStations(services, "BUERO", kOutput);
    EXPECT_EQ(DomainStatusText(listing), c.status);
    EXPECT_EQ(listing.rows.size(), c.rows);
  }
}

TEST_F(QueryTest, ListCheckStopsAfterTheMemberInProgressWhenClosedOrEnded) {
  for (const char* station : {"PC1", "PC2", "PC3", "PC4", "PC5"})
    Answer(QueryKind::kNetView, std::string("\\\\") + station, "x\r\n");
  for (const bool programEnds : {false, true}) {
    SCOPED_TRACE(programEnds ? "the program ends" : "the window is closed");
    const size_t before = processes->started().size();
    RecordingView view(files);
    // while the second member is probed
    (programEnds ? view.endAfterRows : view.closeAfterRows) = 2;
    RunListCheck(services, ListMembers("PC1,PC2,PC3,PC4,PC5,", RecipientDirectory()), kOutput,
                 view);
    EXPECT_THAT(view.calls,
                ElementsAre("searching", "testing PC1", "row 0 PC1 ja", "testing PC2",
                            "row 1 PC2 ja", "finished", "Liste bearbeitet.", "ok", "stop"));
    EXPECT_EQ(processes->started().size(), before + 2);
  }
  ShutdownFlag() = false;

  RecordingView empty(files);  // no comma: nothing is probed and the window never searches
  RunListCheck(services, ListMembers("PC1", RecipientDirectory()), kOutput, empty);
  EXPECT_THAT(empty.calls, ElementsAre("finished", "Liste bearbeitet.", "ok", "stop"));

  RecordingView waiting(files);  // the final wait ends with the program
  waiting.closeWhenOk = false;
  ShutdownFlag() = true;
  RunListCheck(services, {}, kOutput, waiting);
  EXPECT_EQ(waiting.calls.back(), "stop");
}

TEST_F(QueryTest, TheLastHolderOfAQueryDeletesItsOutputFile) {
  auto query = std::make_shared<NetQuery>(services, "PC1");
  const std::string path = query->outputFile();
  EXPECT_EQ(path, "C:\\TEMP\\msg1234.tmp");
  files->files[path] = "x";
  std::vector<std::function<void()>> threads;
  StartQueryWorker([query] { (void)query; },
                   [&](std::function<void()> work) { threads.push_back(std::move(work)); });
  query.reset();
  EXPECT_EQ(RunningQueryWorkers(), 1);
  EXPECT_TRUE(files->Exists(path));  // the worker still holds it
  threads[0]();
  EXPECT_EQ(RunningQueryWorkers(), 0);
  EXPECT_FALSE(files->Exists(path));
}

RecipientDirectory Directory(const std::string& members) {
  RecipientDirectory directory;
  directory.AddSingle("Empfang", "PC1");
  directory.AddList("Alle", members);
  directory.AddList("Zweite Liste mit langem Namen", "");
  directory.AddList("Zwoelf Zeich", "");
  return directory;
}

TEST(TakeOverTest, SinglesOnceAndNamesTheFileCannotCarryRefused) {
  RecipientDirectory directory = Directory("");
  TakeOverRequest request;
  request.rows = {{"\\\\PC1", "Empfang"}, {"\\\\PC2", "Buchhaltung"}, {"\\\\PC3", ""},
                  {"\\\\", "leer"},       {"\\\\PC 9", "x"},          {"\\\\PC8", "//end"}};
  const TakeOverOutcome outcome = TakeOverStations(directory, request);
  EXPECT_THAT(outcome.statusTexts,
              ElementsAre("\"PC1\" existiert bereits", "\"PC2\" als \"Buchhaltung\" übernommen",
                          "\"PC3\" als \"\" übernommen",
                          "\"\" wird nicht übernommen: Der Stationsname ist leer.",
                          "\"PC 9\" wird nicht übernommen: Der Stationsname darf keine "
                          "Leerzeichen enthalten.",
                          ::testing::StartsWith("\"PC8\" wird nicht übernommen: Der Bezeichner"),
                          "2 übernommen, 1 vorhanden, 3 abgelehnt (ungültiger Name)"));
  EXPECT_TRUE(outcome.singlesChanged);
  EXPECT_THAT(directory.Stations(), ElementsAre("PC1", "PC2", "PC3"));

  request.rows = {{"\\\\PC4", "Lager"}};  // one row: no summary
  EXPECT_THAT(TakeOverStations(directory, request).statusTexts,
              ElementsAre("\"PC4\" als \"Lager\" übernommen"));
  request.editorOpen = true;
  request.rows = {{"\\\\PC6", "Neu"}};
  EXPECT_THAT(TakeOverStations(directory, request).statusTexts,
              ElementsAre("Die Rechnerliste wird gerade bearbeitet: nichts übernommen."));
  EXPECT_EQ(directory.FindStation("PC6"), -1);
}

TEST(TakeOverTest, IntoAListOnlyWhatTheLimitAndTheFileAllow) {
  const std::string full(253, 'X');
  const struct {
    std::string members;
    int32_t maxMembers;
    std::string lastStatus, membersAfter, station = "PC2";
  } cases[] = {
      {"PC1,", 20, "", "PC1,PC2"},
      {"", 20, "", "PC2"},
      {"pc2", 20, "\"PC2\" existiert bereits", "pc2"},
      {"A,B,", 2, "Maximal 2 Einträge pro Liste", "A,B,"},
      {"A,B,C,D,E,F,G,H,I,J,K,L,M,N,O,P,Q,R,S", 20, "",
       "A,B,C,D,E,F,G,H,I,J,K,L,M,N,O,P,Q,R,S,PC2"},
      {full + ",", 20, "\"PC2\" passt nicht mehr in die Liste \"Alle\" (höchstens 255 Zeichen)",
       full + ","},
      // "]" would end the member text in the list file: a single recipient only.
      {"A,", 20, "\"X]Y\" wird nicht übernommen: Die Mitgliederliste darf kein \"]\" enthalten.",
       "A,", "X]Y"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.members.substr(0, 20));
    RecipientDirectory directory = Directory(c.members);
    TakeOverRequest request;
    request.intoList = true;
    request.targetList = 0;
    request.targetName = "Alle";
    request.maxMembers = c.maxMembers;
    request.rows = {{"\\\\" + c.station, "Buchhaltung"}};
    const TakeOverOutcome outcome = TakeOverStations(directory, request);
    EXPECT_EQ(outcome.statusTexts.back(),
              c.lastStatus.empty() ? "\"PC2\" als \"Buchhaltung\" übernommen" : c.lastStatus);
    EXPECT_EQ(directory.MemberTexts()[0], c.membersAfter);
    EXPECT_EQ(directory.FindStation(c.station), 1);  // a single recipient in every case
  }
}

// Many rows end with a summary of all of them; the list is followed by its name.
TEST(TakeOverTest, TheSummaryTellsWhatBecameOfEveryRow) {
  std::vector<StationRow> domain(30000), five(5, {"\\\\PC1", ""}), mixed = five;
  for (size_t i = 0; i < domain.size(); ++i)
    domain[i].station = Format("WS%05d", static_cast<int>(i));
  mixed[2].station = "X]";
  mixed[3].station = "PC3", mixed[4].station = "PC4", mixed[1].station = "PC2";
  const std::string mixedSummary =
      "2 übernommen, 1 vorhanden, 2 abgelehnt (1 Liste voll, 1 ungültiger Name)";
  const std::tuple<std::vector<StationRow>, int, std::string, std::string, int> cases[] = {
      {five, -1, "", "0 übernommen, 5 vorhanden", 1},
      {domain, 0, "Alle", "19 übernommen, 29981 abgelehnt (Liste voll)", 20},
      {mixed, 0, "Alle", mixedSummary, 3},
      {mixed, 2, "Alle", mixedSummary, 3},  // the list moved: followed by its name
      {mixed, 1, "Weg", "Die Verteilerliste \"Weg\" gibt es nicht mehr: nichts übernommen.", 1},
  };
  for (const auto& [rows, list, name, summary, members] : cases) {
    SCOPED_TRACE(summary);
    RecipientDirectory directory = Directory("PC1,");
    const TakeOverRequest request{rows, list >= 0, list, name, rows.size() == 5 ? 3 : 20};
    EXPECT_EQ(TakeOverStations(directory, request).statusTexts.back(), summary);
    std::string after = directory.MemberTexts()[0];
    RecipientDirectory::EnsureTrailingComma(after);
    EXPECT_EQ(RecipientDirectory::MemberCount(after), members);
  }
}

TEST(TakeOverTest, TargetListAndLabelFollowTheRecipientSelection) {
  const RecipientDirectory directory = Directory("PC1,");
  const struct {
    ListChoice choice;
    int target;
    std::string label;
  } cases[] = {
      {{1, "Alle", 0, -1}, 0, "Alle"},
      // The item names the list it fills, or is not offered: not for a typed name, nor for
      // one typed over the selected list's, nor for an index beyond the lists.
      {{1, "getippt", -1, -1}, -1, ""},
      {{1, "alle", 0, -1}, -1, ""},
      {{1, "Alle", 5, -1}, -1, ""},
      {{0, "Empfang", 0, -1}, 0, "Alle"},  // other modes: the first list by default
      {{2, "BUERO", 0, 1}, 1, "Zweite Lis..."},
      {{0, "", 0, 9}, -1, ""},
      {{1, "Zwoelf Zeich", 2, -1}, 2, "Zwoelf Zeich"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.choice.boxText);
    EXPECT_EQ(TargetList(c.choice, directory), c.target);
    EXPECT_EQ(ListLabel(c.choice, directory), c.label);
  }
  EXPECT_EQ(ListLabel({1, "Alle", 0, -1}, RecipientDirectory()), "");  // no list to name
  EXPECT_EQ(ListMenuText("F&E"), "&Verteilerliste \"F&&E\"");
}

}  // namespace
}  // namespace botenruf
