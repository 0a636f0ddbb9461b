// The network queries: the parsers of the tools' output, the station query and the list
// member check, against scripted tools.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "dispatch/command_runner.h"
#include "fakes/fake_file_system.h"
#include "fakes/fake_processes.h"
#include "fakes/fake_system.h"
#include "netinfo/list_check.h"
#include "netinfo/net_output.h"
#include "netinfo/net_query.h"
#include "netinfo/station_info.h"
#include "text/text.h"

namespace botenruf {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using Lines = std::vector<std::string>;

TEST(NetOutputTest, MessengerNamesKeepLeadingBlanksAndFileOrder) {
  EXPECT_THAT(ParseMessengerNames({"STATION1       <03>  EINDEUTIG  Registriert",
                                   "STATION1       <00>  EINDEUTIG  Registriert",
                                   "    MUELLER        <03>  EINDEUTIG  Registriert", "<03>",
                                   "x<03>y<03>", "MUELLER <03>"}),
              ElementsAre("STATION1", "    MUELLER", "", "x", "MUELLER"));
  EXPECT_THAT(ParseMessengerNames({"", "<3>", "\x80\xff <03>"}), ElementsAre("\x80\xff"));
}

TEST(NetOutputTest, MacAndPingAddressTakeTheFirstMatch) {
  const struct {
    Lines lines;
    std::string mac;
    std::string ip;
  } cases[] = {
      {{"MAC-Adresse = 00-50-56-C0-00-08"}, "00-50-56-C0-00-08", ""},
      {{"    MAC-Adresse = 00-50-56-C0-00-08  ", "MAC-Adresse = 11"}, "00-50-56-C0-00-08", ""},
      {{"MAC-Adresse =", "MAC-Adresse"}, "", ""},  // nothing after the marker
      {{"Ping wird ausgeführt für STATION1 [192.168.1.10] mit 32 Bytes Daten:"},
       "",
       "192.168.1.10"},
      {{"x [ohne Ende", "y [ 10.0.0.1 ] [9.9.9.9]"}, "", "10.0.0.1"},  // no "]": next line
      {{"]vorher[", "[]"}, "", ""},
      {{}, "", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.lines.empty() ? "(empty)" : c.lines[0]);
    EXPECT_EQ(ParseMacAddress(c.lines), c.mac);
    EXPECT_EQ(ParsePingAddress(c.lines), c.ip);
  }
}

TEST(NetOutputTest, DomainStationsSplitAtColumnSeventeen) {
  const std::vector<StationRow> rows = ParseDomainStations(
      {"Servername            Beschreibung", "", "-------", "\\\\STATION1             Buchhaltung",
       "  \\\\PC7  ", "\\\\ABCDEFGHIJKLMNOPQR Rest", "\\",
       "Der Befehl wurde erfolgreich ausgeführt.", "\\\\PC8            \x84rger  "});
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_EQ(rows[0].station, "\\\\STATION1");
  EXPECT_EQ(rows[0].comment, "Buchhaltung");
  EXPECT_EQ(rows[1].station, "\\\\PC7");
  EXPECT_EQ(rows[1].comment, "");
  EXPECT_EQ(rows[2].station, "\\\\ABCDEFGHIJKLMNO");  // a name is at most 15 characters
  EXPECT_EQ(rows[2].comment, "PQR Rest");
  EXPECT_EQ(rows[3].comment, "\x84rger");
}

TEST(NetOutputTest, ShareListUsesTheLinesBetweenHeaderAndEnd) {
  const Lines header = {
      "Freigegebene Ressourcen auf \\\\PC1", "", "", "", "Freigabename  Typ", "", "----"};
  const Lines trailer = {"", "Der Befehl wurde erfolgreich ausgeführt."};
  auto listing = [&](Lines rows) {
    Lines lines = header;
    lines.insert(lines.end(), rows.begin(), rows.end());
    lines.insert(lines.end(), trailer.begin(), trailer.end());
    return lines;
  };
  EXPECT_THAT(ParseShareList(listing({})), IsEmpty());  // 9 lines
  const std::vector<ShareRow> rows =
      ParseShareList(listing({"DATEN        Platte", "Drucker      Druck        Laserdrucker",
                              "Drucker      Druck        Laser", "", "kurz"}));
  ASSERT_EQ(rows.size(), 5u);
  EXPECT_EQ(rows[0].name, "DATEN");
  EXPECT_EQ(rows[0].type, "Platte");
  EXPECT_EQ(rows[1].type, "Druck        ");  // trailing blanks of the type stay
  EXPECT_EQ(rows[2].type, "Druck        ");
  EXPECT_EQ(rows[3].name, "");  // every used line is a row
  EXPECT_EQ(rows[4].name, "kurz");
  EXPECT_EQ(ParseShareList(listing({std::string(5000, '\xE4')}))[0].type, std::string(13, '\xE4'));
}

TEST(StationInfoTest, UsersAreTheNamesBesideTheStationsOwn) {
  const struct {
    Lines names;
    std::string userName;
    Lines userNames;
  } cases[] = {
      {{}, "<unknown>", {"<unknown>"}},
      {{"    PC1"}, "<unknown>", {"<unknown>"}},
      {{"    PC1", "    MEIER"}, "    MEIER", {"    MEIER"}},
      {{"    MEIER", "    PC1"}, "    MEIER", {"    MEIER"}},
      {{"    PC1", "    MEIER", "    PC10", "    ABEL"}, "", {"    MEIER", "    ABEL"}},
      {{"    PC1", "    ZANDER", "    MEIER", "    ABEL"},
       "",
       {"    ZANDER", "    MEIER", "    ABEL"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.names.size());
    StationInfo info;
    info.station = "PC1";
    TakeMessengerNames(c.names, info);
    EXPECT_EQ(info.userName, c.userName);
    EXPECT_EQ(info.userNames, c.userNames);
  }
}

// Scripted tools: each query command line writes its output (in the console's code page)
// into the output file, as the command interpreter's redirection does.
class QueryTest : public ::testing::Test {
 protected:
  QueryTest() {
    services.processes = processes;
    services.system = system;
    services.files = files;
  }
  void TearDown() override { ShutdownFlag() = false; }

  std::string Line(QueryKind kind, const std::string& argument) {
    std::string line;
    EXPECT_TRUE(BuildQueryCommandLine(kind, "C:\\WINNT\\system32\\", argument, kOutput, line));
    return line;
  }
  void Answer(QueryKind kind, const std::string& argument, const std::string& output,
              uint32_t exitCode = 0) {
    fakes::ProcessScript script;
    script.exitCode = exitCode;
    script.onRun = [this, output] { files->files[kOutput] = output; };
    processes->Script(Line(kind, argument), script);
  }

  void Refuse(QueryKind kind, const std::string& argument) {
    fakes::ProcessScript script;
    script.starts = false;
    processes->Script(Line(kind, argument), script);
  }

  static constexpr const char* kOutput = "C:\\TEMP\\msg1.tmp";
  std::shared_ptr<fakes::FakeProcessStarter> processes =
      std::make_shared<fakes::FakeProcessStarter>();
  std::shared_ptr<fakes::FakeSystem> system = std::make_shared<fakes::FakeSystem>();
  std::shared_ptr<fakes::FakeFileSystem> files = std::make_shared<fakes::FakeFileSystem>();
  WorkerServices services;
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
  EXPECT_THAT(info.userNames, ElementsAre("    MÜLLER"));  // converted from code page 850
  EXPECT_EQ(info.mac, "00-0C-29-11-22-01");
  EXPECT_EQ(info.ip, "192.168.1.21");
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

  // A name the command interpreter would act on runs nothing at all.
  const size_t before = processes->started().size();
  EXPECT_EQ(QueryStationInfo(services, "PC1&calc", kOutput).station, "PC1&calc");
  EXPECT_EQ(RunPingQuery(services, "PC1|x", kOutput), -1);
  EXPECT_EQ(processes->started().size(), before);
}

TEST_F(QueryTest, QueryTargetIsTrimmedAndUpperCase) {
  EXPECT_EQ(QueryTarget("  pc\xe4 1 \t"), "PC\xc4 1");
  system->systemDirectory.clear();
  EXPECT_EQ(RunPingQuery(services, "PC1", kOutput), 0);
  EXPECT_FALSE(RunNetViewQuery(services, kOutput, "\\\\PC1"));
}

class RecordingView : public ListCheckView {
 public:
  void SetSearching(bool on) override { calls.push_back(on ? "searching" : "finished"); }
  void ShowTesting(const std::string& name) override { calls.push_back("testing " + name); }
  void AddRow(int index, const std::string& label, bool online) override {
    calls.push_back(Format("row %d %s %s", index, label.c_str(), OnlineText(online)));
    if (closeAfterRows > 0 && --closeAfterRows == 0)
      closed = true;
  }
  void Finish(const std::string& status) override { calls.push_back(status); }
  void ShowOk() override {
    calls.push_back("ok");
    closed = closed || closeWhenOk;
  }
  void StopFlashing() override { calls.push_back("stop"); }
  bool CloseRequested() override { return closed; }

  std::vector<std::string> calls;
  int closeAfterRows = 0;
  bool closeWhenOk = true;
  bool closed = false;
};

TEST_F(QueryTest, ListCheckProbesEveryMemberInOrder) {
  RecipientDirectory directory;
  directory.AddSingle("Empfang", "PC1");
  Answer(QueryKind::kNetView, "\\\\PC1", "Freigegebene Ressourcen auf \\\\PC1\r\n");
  Answer(QueryKind::kNetView, "\\\\PC2", "");  // an unreachable station writes nothing
  Refuse(QueryKind::kNetView, "\\\\PC3");
  const std::vector<ListMember> members = ListMembers("PC1,,PC2,PC3,PC&4,rest", directory);
  ASSERT_EQ(members.size(), 4u);
  RecordingView view;
  RunListCheck(services, members, true, kOutput, view);
  EXPECT_THAT(view.calls,
              ElementsAre("searching", "testing Empfang", "row 0 PC1 {Empfang} ja", "testing PC2",
                          "row 1 PC2 nein", "testing PC3", "testing PC&4", "finished",
                          "Liste bearbeitet.", "ok", "stop"));
  EXPECT_EQ(processes->started().size(), 3u);  // PC&4 runs nothing
}

TEST_F(QueryTest, ListCheckStopsAfterTheMemberInProgressWhenClosed) {
  for (const char* station : {"PC1", "PC2", "PC3", "PC4", "PC5"})
    Answer(QueryKind::kNetView, std::string("\\\\") + station, "x\r\n");
  RecordingView view;
  view.closeAfterRows = 2;  // closed while the second member was probed
  RunListCheck(services, ListMembers("PC1,PC2,PC3,PC4,PC5,", RecipientDirectory()), true, kOutput,
               view);
  EXPECT_THAT(view.calls,
              ElementsAre("searching", "testing PC1", "row 0 PC1 ja", "testing PC2", "row 1 PC2 ja",
                          "finished", "Liste bearbeitet.", "ok", "stop"));
  EXPECT_EQ(processes->started().size(), 2u);

  RecordingView empty;  // no comma: nothing is probed and the window never searches
  RunListCheck(services, ListMembers("PC1", RecipientDirectory()), false, kOutput, empty);
  EXPECT_THAT(empty.calls, ElementsAre("finished", "Liste bearbeitet.", "ok", "stop"));

  RecordingView waiting;  // the final wait ends with the program
  waiting.closeWhenOk = false;
  ShutdownFlag() = true;
  RunListCheck(services, {}, false, kOutput, waiting);
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

}  // namespace
}  // namespace botenruf
