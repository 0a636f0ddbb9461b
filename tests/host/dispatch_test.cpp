// Message dispatch: the composition of net send and msg lines, the command runner and its query
// lines, the send workers with their admission and outcome boxes, and the domain list.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "dispatch/command_runner.h"
#include "dispatch/delivery.h"
#include "dispatch/message_composer.h"
#include "dispatch/msg_send.h"
#include "dispatch/send_report.h"
#include "dispatch/send_workers.h"
#include "fakes/fake_worker_services.h"
#include "mainwindow/recipient_selection.h"
#include "netinfo/take_over.h"
#include "text/text.h"

namespace botenruf {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::StartsWith;
using Lines = std::vector<std::string>;

// The steps' command lines, a box's text where a step shows one instead.
Lines Commands(const std::vector<SendStep>& steps) {
  Lines lines;
  for (const SendStep& step : steps)
    lines.push_back(step.commandLine.empty() ? "BOX: " + step.box.text : step.commandLine);
  return lines;
}

TEST(ComposeTest, MessageParserAndCommandLinesPerMode) {
  const struct {
    const char* in;
    const char* out;
  } parsed[] = {{"Bitte /x und /y", "Bitte/x und/y"},
                {" /x", "'x"},
                {"/DOMAIN:x", "'DOMAIN:x"},
                {"Der \"Chef\"", "Der \\\"Chef\\\""},
                // The C runtime splits at tabs too, and reads 2n+1 backslashes before a quote
                // as n and the quote.
                {"Hallo\t/server:CHEF a \t /b", "Hallo/server:CHEF a/b"},
                {"Pfad C:\\Temp\\\" weiter", "Pfad C:\\Temp\\\\\\\" weiter"},
                {"   ", "   \r\n"},
                {"\r\n /", "\r\n/"}};
  for (const auto& c : parsed) {
    SCOPED_TRACE(c.in);
    std::string text = c.in;
    MessageParser(text);
    EXPECT_EQ(text, c.out);
  }

  RecipientDirectory directory;
  directory.AddSingle("Empfang", "pc1");
  directory.AddSingle("Buchhaltung 2.Stock /x", "PC3");
  const struct {
    int mode;
    bool versandInfo;
    const char* names;
    const char* message;
    Lines expected;
  } cases[] = {
      {0, true, "pc1,PC3", "Hallo", {"net send pc1 Hallo", "net send PC3 Hallo"}},
      // The trailer's quotes reach the station; an alias's word is no option of net send.
      {2, true, "BUERO", "Hallo", {"net send /DOMAIN:BUERO Hallo\n{An DOMAIN: \\\"BUERO\\\"}"}},
      {1, true, "PC3", "Hallo", {"net send PC3 Hallo\n{An:Buchhaltung 2.Stock/x}"}},
      {0, false, "", "", {"BOX: Bitte einen Stations-Namen als Empfänger angeben."}},
      {1, true, "pc1", "", {"BOX: Bitte keine leeren Meldungen verschicken."}},
      {0, false, "pc1", "   ", {"net send pc1    \r\n"}},
      // Empty names (or blanks only) are skipped; a refused name stays out of the trailer.
      {1,
       true,
       "pc1,,PC 7, , pc2 ,",
       "Hallo",
       {"net send pc1 Hallo\n{An:Empfang, pc2 }",
        "BOX: Der Empfängername \"PC 7\" enthält ein Leerzeichen und wird übersprungen.",
        "net send  pc2  Hallo\n{An:Empfang, pc2 }"}},
      // Blanks alone would leave net send to take the message's first word for the station.
      {0, false, "   ", "Hallo", {"BOX: Bitte einen Stations-Namen als Empfänger angeben."}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.mode << " " << c.names);
    EXPECT_EQ(Commands(ComposeSend(c.mode, c.names, c.message, c.versandInfo, directory)),
              c.expected);
  }
  // 2000 characters are sent; a longer line alone is refused.
  const std::string message(2000 - 12, 'x');
  EXPECT_THAT(Commands(ComposeSend(0, "ab,abc", message, false, directory)),
              ElementsAre("net send ab " + message,
                          "BOX: Die maximale Gesamtlänge (IST: 2001 / SOLL: 2000) wurde "
                          "überschritten."));
  // msg lines from the same parts: a station loses its blanks (after "/server:" one would end
  // the option), a program path with a blank is quoted, a domain waits for its listing.
  const DeliveryTool msg{Delivery::kMsg, "C:\\Win 7\\msg.exe"};
  const auto list = ComposeSend(1, "pc1, pc2 ", "Der \"Chef\" /x", true, directory, msg);
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[1].msgStation, "pc2");
  EXPECT_EQ(list[1].commandLine,
            "\"C:\\Win 7\\msg.exe\" * /server:pc2 \"Der \\\"Chef\\\" /x\n{An:Empfang, pc2 }\"");
  const auto domain = ComposeSend(2, " BUERO ", "Hallo", true, directory, msg).at(0).msgDomain;
  EXPECT_EQ(domain->domain + ": " + domain->message, "BUERO: Hallo\n{An DOMAIN: \"BUERO\"}");
  EXPECT_THAT(ComposeSend(0, "ab", std::string(2001 - 34, 'x'), false, directory, msg)[0].box.text,
              StartsWith("Die maximale Gesamtlänge (IST: 2001 /"));
  // msg takes any argument that starts with "/" or "-" for an option, its message's too.
  for (const auto& [typed, argument] : std::vector<std::pair<std::string, std::string>>{
           {"-v Hallo", "\"'v Hallo\""},
           {" /server:CHEF", "\" 'server:CHEF\""},
           {"Hallo\t/server:CHEF", "\"Hallo\t/server:CHEF\""},
           {"C:\\Temp\\", "\"C:\\Temp\\\\\""}}) {
    EXPECT_EQ(MsgMessageArgument(typed), argument);
  }
  EXPECT_EQ(PressSend(2, ""), SendPress::kRefuseEmpty);
  EXPECT_EQ(PressSend(2, " "), SendPress::kStartCountdown);
  EXPECT_EQ(PressSend(0, ""), SendPress::kDispatch);
}

// A name that is no single station never reaches net send or a query tool, whether typed,
// a list's member, taken over from a domain listing, or asked about with "Info".
TEST(ComposeTest, NamesThatAreNoSingleStationAreRefusedOnEveryPath) {
  const struct {
    const char* name;
    const char* fault;
  } names[] = {{"/DOMAIN:BUERO", "beginnt mit \"/\""},
               {"/users", "beginnt mit \"/\""},
               {"-t", "beginnt mit \"-\""},
               {"*", "steht für alle Stationen der Domäne"},
               {"PC1 pwned", "enthält ein Leerzeichen"}};
  for (const auto& n : names) {
    SCOPED_TRACE(n.name);
    const std::string skipped =
        Format("Der Empfängername \"%s\" %s und wird übersprungen.", n.name, n.fault);
    RecipientDirectory directory;
    EXPECT_THAT(Commands(ComposeSend(0, n.name, "Hallo", false, directory)),
                ElementsAre("BOX: " + skipped));
    EXPECT_THAT(Commands(ComposeSend(1, std::string("pc1,") + n.name, "Hallo", true, directory)),
                ElementsAre("net send pc1 Hallo\n{An:pc1}", "BOX: " + skipped));
    for (int mode : {0, 2})  // msg lines and domains through msg follow the same rules
      EXPECT_EQ(ComposeSend(mode, n.name, "x", false, directory, {Delivery::kMsg, "m"})[0].box.text,
                skipped);

    TakeOverRequest takeOver;
    takeOver.rows = {{std::string("\\\\") + n.name, "x"}};
    EXPECT_THAT(TakeOverStations(directory, takeOver).statusTexts,
                ElementsAre(::testing::StartsWith(Format("\"%s\" wird nicht übernommen", n.name))));
    EXPECT_EQ(directory.SingleCount(), 0);

    const std::string upper = ToUpper1252(n.name);
    const InfoRequest station = PlanInfo(0, n.name);
    EXPECT_EQ(station.target, "");
    ASSERT_EQ(station.refusals.size(), 1u);
    EXPECT_EQ(station.refusals[0].text,
              Format("Für \"%s\" wird keine Info abgefragt: der Name %s.", upper.c_str(), n.fault));
    const InfoRequest check = PlanInfo(1, std::string(" pc1 ,") + n.name + ",");
    EXPECT_EQ(check.target, "PC1,");
    EXPECT_EQ(check.refusals.size(), 1u);
  }
  EXPECT_EQ(PlanInfo(0, "  ").target, "");  // blanks only: no query and no box
  EXPECT_TRUE(PlanInfo(1, " , ,").refusals.empty());
}

// Automatic takes msg from Windows 6.0 on. A 32-bit program on 64-bit Windows has the 32-bit
// system directory, without msg: Sysnative beside it leads to the 64-bit one.
TEST(DeliveryTest, AutomaticByTheReportedVersionAndMsgFoundFromA32BitProgramToo) {
  fakes::FakeSystem system;
  fakes::FakeFileSystem files;
  DeliveryTool tool;
  system.systemDirectory = "C:\\WINDOWS\\SysWOW64";
  EXPECT_TRUE(ChooseDeliveryTool(9, system, files, tool));  // XP: net send
  EXPECT_EQ(AutomaticDeliveryItem(system), "&Automatisch (jetzt: net send)");
  system.osVersion = {2, 6, 0};
  EXPECT_EQ(AutomaticDeliveryItem(system), "&Automatisch (jetzt: msg)");
  EXPECT_FALSE(ChooseDeliveryTool(0, system, files, tool));  // a Home edition has no msg
  files.files["C:\\WINDOWS\\Sysnative\\msg.exe"] = "";
  ASSERT_TRUE(ChooseDeliveryTool(0, system, files, tool));
  EXPECT_EQ(tool.msgProgram, "C:\\WINDOWS\\Sysnative\\msg.exe");
}

TEST(CommandRunnerTest, PollsTempNamesErrorTextsAndSafeQueryLines) {
  fakes::FakeProcessStarter processes;
  // The wait decides the end, whatever the code: 259 is also a program's own exit code.
  const struct {
    uint32_t exitCode;
    int runningWaits, failedReads;
    uint32_t reported;
  } runs[] = {{7, 3, 0, 7}, {259, 2, 0, 259}, {7, 0, 1, kNotStarted}};
  for (const auto& r : runs) {
    SCOPED_TRACE(r.exitCode);
    const int waitsBefore = processes.waits();
    processes.Script("run", {true, r.exitCode, r.runningWaits, r.failedReads, nullptr});
    const CommandResult result = RunCommand(processes, "run");
    EXPECT_TRUE(result.finished);
    EXPECT_EQ(result.exitCode, r.reported);
    EXPECT_EQ(processes.waits() - waitsBefore, r.runningWaits + 1);
  }
  processes.Script("missing", {false, 0, 0, 0, nullptr});
  EXPECT_EQ(RunCommand(processes, "missing").startError, 2u);
  // A program given up (a query's tool at the program's end) is ended, not waited for.
  processes.Script("hangs", {true, 0, 1000, 0, nullptr});
  int asked = 0;
  EXPECT_FALSE(RunCommand(processes, "hangs", {}, {}, [&] { return ++asked == 3; }).finished);
  EXPECT_EQ(processes.ended(), 1);

  // Names never repeat within the run and never name an existing file.
  fakes::FakeSystem system;
  fakes::FakeFileSystem files;
  system.tickCount = 5000;
  files.files["C:\\TEMP\\msg5001.tmp"] = "";
  EXPECT_EQ(MakeTempFileName(system, files), "C:\\TEMP\\msg5000.tmp");
  EXPECT_EQ(MakeTempFileName(system, files), "C:\\TEMP\\msg5002.tmp");
  EXPECT_EQ(TempFileDigits(2147483648u), "47483648");  // from "-2147483648"
  // A file still held a moment after its tool ended is deleted all the same.
  files.heldFor["C:\\TEMP\\msg5001.tmp"] = 3;
  EXPECT_TRUE(RemoveOutputFile(files, "C:\\TEMP\\msg5001.tmp"));
  EXPECT_FALSE(files.Exists("C:\\TEMP\\msg5001.tmp"));

  EXPECT_EQ(FormatErrorText(system, 0), "Fehlercode (0).");
  EXPECT_EQ(FormatErrorText(system, -1), "Unbekannter Fehler.\r\n(Code 4294967295).");

  const struct {
    QueryKind kind;
    const char* argument;
    const char* expected;
  } queries[] = {
      {QueryKind::kNameTable, "PC1", "C:\\W\\Cmd.exe /q /c nbtstat -a PC1 > o"},
      {QueryKind::kPing, "PC1", "C:\\W\\Cmd.exe /q /c ping PC1 -n 1 > o"},
      {QueryKind::kPing4, "PC1", "C:\\W\\Cmd.exe /q /c ping PC1 -n 1 -4 > o"},
      {QueryKind::kNetView, "/domain:BÜRO", "C:\\W\\Cmd.exe /q /c net view /domain:BÜRO > o 2>&1"},
      {QueryKind::kExplorer, "\\\\PC1\\A B", "C:\\W\\Cmd.exe /q /c explorer \"\\\\PC1\\A B\""},
  };
  std::string line;
  for (const auto& q : queries) {
    EXPECT_TRUE(BuildQueryCommandLine(q.kind, "C:\\W\\", q.argument, "o", line));
    EXPECT_EQ(line, q.expected);
  }
  // What the command interpreter would act on is refused, and nothing is built.
  for (const char* argument : {"X&calc", "a|b", "a<b", "a>b", "a^b", "\"a", "%PATH%", "a\nb"}) {
    line = "unchanged";
    EXPECT_FALSE(BuildQueryCommandLine(QueryKind::kNetView, "C:\\W\\", argument, "o", line));
    EXPECT_EQ(line, "unchanged") << argument;
  }
}

class WorkersTest : public ::testing::Test, public fakes::FakeWorkerServices {
 protected:
  WorkersTest() { system->messages[5] = "Zugriff verweigert\r\n"; }
  // Keeps started workers waiting until they are run by hand.
  ThreadStarter Queue() {
    return [this](std::function<void()> work) { queued.push_back(std::move(work)); };
  }
  // Runs the started work in order, and what it starts in turn.
  void RunQueued() {
    for (size_t i = 0; i < queued.size(); ++i) {
      const std::function<void()> work = queued[i];
      work();
    }
    queued.clear();
  }

  std::vector<std::function<void()>> queued;
};

TEST_F(WorkersTest, AdmissionStopsAtMaxThreadsAndEveryEndLowersTheCount) {
  RunSendSteps({{"net send a x", {}}, {"net send b x", {}}, {"net send c x", {}}}, services, 2,
               nullptr, Queue());
  EXPECT_EQ(services.counter->Value(), 2);
  EXPECT_THAT(boxes->boxes(), ElementsAre(BoxRequest{"Zu viele Nachrichten (2) in Warteschleife.",
                                                     "Error", BoxIcon::kStop}));
  processes->defaultScript.starts = false;  // a failed start counts down too
  RunQueued();
  EXPECT_EQ(services.counter->Value(), 0);
  EXPECT_EQ(boxes->boxes().back(),
            (BoxRequest{"Fehlercode (2).", "Botenruf", BoxIcon::kExclamation}));
  services.counter->Lower();
  EXPECT_EQ(services.counter->Value(), 0);

  // The admitted send runs while the queue box waits for the user.
  processes->defaultScript.starts = true;
  const size_t startedBefore = processes->started().size();
  bool ranBeforeBox = false;
  boxes->onShow = [&](const BoxRequest& box) {
    if (!box.text.starts_with("Zu viele"))
      return;  // the worker's own outcome box
    for (int i = 0; i < 200 && !ranBeforeBox; ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
      ranBeforeBox = processes->started().size() > startedBefore;
    }
  };
  std::vector<std::thread> threads;
  RunSendSteps({{"net send d x", {}}, {"net send e x", {}}}, services, 1, nullptr,
               [&](std::function<void()> work) { threads.emplace_back(std::move(work)); });
  for (std::thread& thread : threads)
    thread.join();
  EXPECT_TRUE(ranBeforeBox);
}

// net.exe ends with 2 on every error and names it on standard error: the number read there
// decides the box.
TEST_F(WorkersTest, OutcomeBoxesPerErrorOfNetSendAndTheModeAtTheStart) {
  const std::string aliasNotFound =
      "Beim Senden einer Nachricht an den Alias PC9 ist ein Fehler aufgetreten.\r\n\r\nDer "
      "Nachrichtenalias wurde im Netzwerk nicht gefunden.\r\n\r\nWeitere Hilfe erhalten Sie "
      "durch Eingabe von NET HELPMSG 2273.";
  const std::string offline = "Der Empfänger ist unbekannt oder offline.";
  system->messages[2184] = "Der Dienst wurde nicht gestartet.\r\n";
  const struct {
    int mode;
    uint32_t exitCode;  // kNotStarted: the tool did not start, with error 2
    std::string output;
    bool shutdown;
    std::optional<BoxRequest> expected;
  } cases[] = {
      {0, 0, "", false, BoxRequest{"Well done...", "Botenruf", BoxIcon::kInformation}},
      {0, 0, "", true, std::nullopt},
      {1, 0, "", false, std::nullopt},
      {2, 2, aliasNotFound, false, BoxRequest{offline, "Botenruf", BoxIcon::kStop}},
      {2, 2, aliasNotFound, true, std::nullopt},  // no box of any kind once the program ends
      {0, 2, "Systemfehler 53 aufgetreten.\r\n\r\nDer Netzwerkpfad wurde nicht gefunden.", false,
       BoxRequest{offline, "Botenruf", BoxIcon::kStop}},
      {0, 2, "", false, BoxRequest{offline, "Botenruf", BoxIcon::kStop}},
      {0, 2, "Systemfehler 5 aufgetreten.\r\n\r\nZugriff verweigert.", true, std::nullopt},
      {0, 2, "Systemfehler 5 aufgetreten.\r\n\r\nZugriff verweigert.", false,
       BoxRequest{"Zugriff verweigert\r\n(Code 5).", "Botenruf", BoxIcon::kStop}},
      {0, 2, "Weitere Hilfe erhalten Sie durch Eingabe von NET HELPMSG 2184.", false,
       BoxRequest{"Der Dienst wurde nicht gestartet.\r\n(Code 2184).", "Botenruf", BoxIcon::kStop}},
      {0, 2, "System error 77 has occurred.", false,
       BoxRequest{"Unbekannter Fehler.\r\n(Code 77).", "Botenruf", BoxIcon::kStop}},
      {1, kNotStarted, "", false, BoxRequest{"Fehlercode (2).", "Botenruf", BoxIcon::kExclamation}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.mode << " " << c.output << " " << c.shutdown);
    const CommandResult result{c.exitCode != kNotStarted, c.exitCode, 2};
    EXPECT_EQ(SendOutcomeBox(*system, *settings, c.mode,
                             NetSendOutcome(result, SplitLines(c.output)), c.shutdown),
              c.expected);
  }
  // The mode read when the worker started counts, not the one when it ends.
  processes->defaultScript.onRun = [this] { settings->listenTyp = 1; };
  settings->listenTyp = 0;
  SendWorker(services, "net send a x");
  EXPECT_THAT(boxes->boxes(), ElementsAre(::testing::Field(&BoxRequest::text, "Well done...")));
  // The worker reads what net send wrote, in the console's code page, and leaves no file.
  processes->Script("net send b x",
                    {.exitCode = 2, .onRun = nullptr, .output = "Systemfehler 5 aufgetreten."});
  SendWorker(services, "net send b x");
  EXPECT_EQ(boxes->boxes().back().text, "Zugriff verweigert\r\n(Code 5).");
  EXPECT_TRUE(files->files.empty());
}

// A reported dispatch: the outcomes go to the report instead of boxes, a line beyond MaxThreads
// waits for a free worker instead of being turned away, and no box asks for a click; once the
// program ends, the report hears nothing more.
TEST_F(WorkersTest, AReportedDispatchHandsItsOutcomesToTheReportAndQueues) {
  struct Recorder : DispatchReport {
    void NotAdmitted(size_t step, const BoxRequest& box) override {
      events.push_back(Format("%d: %s", static_cast<int>(step), box.text.c_str()));
    }
    StepExpander ExpanderFor(size_t) override { return {}; }
    OutcomeSink SinkFor(size_t step) override {
      return [this, step](const SendOutcome& outcome) {
        events.push_back(Format("%d: %d", static_cast<int>(step), static_cast<int>(outcome.kind)));
      };
    }
    Lines events;
  } report;
  processes->Script("net send b x", {true, 2, 0, 0, nullptr});
  settings->successMsg = true;
  const SendStep refused{{}, SkippedNameBox("PC 9", "enthält ein Leerzeichen"), "PC 9"};
  RunSendSteps({{"net send a x", {}}, {"net send b x", {}}, refused, {"net send c x", {}}},
               services, 2, nullptr, Queue(), &report);
  RunQueued();
  EXPECT_THAT(report.events, ElementsAre("0: 0", "1: 1", "3: 0"));
  EXPECT_THAT(boxes->boxes(), IsEmpty());
  RunSendSteps({{"net send a x", {}}}, services, 0, nullptr, Queue(), &report);
  EXPECT_EQ(report.events.back(), "0: Zu viele Nachrichten (0) in Warteschleife.");
  ShutdownFlag() = true;
  RunSendSteps({{"net send a x", {}}}, services, 2, nullptr, Queue(), &report);
  RunQueued();
  EXPECT_EQ(report.events.size(), 4u);
  EXPECT_EQ(services.counter->Value(), 0);
  EXPECT_THAT(boxes->boxes(), IsEmpty());
}

// The report of a list send: a row per recipient in dispatch order, refused names among them,
// each row's result in the boxes' words on one line, and a resend of exactly the failed rows
// with exactly the text they were sent with, in the same report, as often as some fail.
TEST_F(WorkersTest, TheSendReportLivesOnThroughItsResends) {
  EXPECT_TRUE(WantsSendReport(1, true) && WantsSendReport(2, true));
  EXPECT_FALSE(WantsSendReport(0, true) || WantsSendReport(1, false));
  RecipientDirectory directory;
  directory.AddSingle("Empfang", "pc1");
  const std::string message = "\r\nHallo \"alle\"\r\nzweite Zeile";
  const auto steps = ComposeSend(1, "pc1,,PC\t7,pc2,pc3,pc4", message, true, directory);
  auto report =
      SendReport::ForDispatch(1, " Alle ", steps, directory, message, {2004, 12, 6, 9, 5, 3});
  ASSERT_TRUE(report.has_value());
  EXPECT_EQ(report->Heading(), "Alle, gesendet am 06.12.2004 um 09:05:03: Hallo \"alle\"");
  report->Finish(0, {SendOutcome::Kind::kDelivered, 0}, *system);
  report->Finish(2, {SendOutcome::Kind::kOffline, 0}, *system);
  report->Finish(3, {SendOutcome::Kind::kFailed, 5}, *system);
  EXPECT_EQ(report->Caption(), "Sendebericht Alle: läuft, 4 von 5 fertig");
  EXPECT_FALSE(report->CanResend());  // pc4 is still on its way
  report->Finish(4, {SendOutcome::Kind::kOffline, 0}, *system);
  report->Finish(0, {SendOutcome::Kind::kOffline, 0}, *system);  // a row ends once
  EXPECT_EQ(report->Caption(), "Sendebericht Alle: 1 zugestellt, 4 fehlgeschlagen");
  EXPECT_THAT(report->Failed(), ElementsAre(2u, 3u, 4u));
  std::vector<size_t> failed = report->Shown(true);
  report->Sort(failed, ReportColumn::kResult, true);  // the reasons group
  EXPECT_THAT(failed, ElementsAre(2u, 4u, 1u, 3u));
  EXPECT_EQ(report->ClipboardText(report->Shown(false)),
            "Sendebericht Alle vom 06.12.2004, 09:05:03: 1 zugestellt, 4 fehlgeschlagen\r\n"
            "Station\tName\tErgebnis\r\n"
            "pc1\tEmpfang\tzugestellt\r\n"
            "PC 7\tPC 7\tDer Empfängername \"PC 7\" enthält ein Leerzeichen und wird "
            "übersprungen.\r\n"
            "pc2\tpc2\tDer Empfänger ist unbekannt oder offline.\r\n"
            "pc3\tpc3\tZugriff verweigert (Code 5).\r\n"
            "pc4\tpc4\tDer Empfänger ist unbekannt oder offline.\r\n");

  const std::string text = "\r\nHallo \\\"alle\\\"\r\nzweite Zeile\n{An:Empfang,pc2,pc3,pc4}";
  for (int attempt = 2; attempt <= 3; ++attempt) {
    ASSERT_TRUE(report->CanResend());
    Lines lines;
    for (const auto& [row, step] : report->Resend())
      lines.push_back(Format("%d %s", static_cast<int>(row), step.commandLine.c_str()));
    EXPECT_THAT(lines, ElementsAre("2 net send pc2 " + text, "3 net send pc3 " + text,
                                   "4 net send pc4 " + text));
    EXPECT_EQ(report->Cell(3, ReportColumn::kResult),
              Format("wird gesendet... (%d. Versuch)", attempt));
    EXPECT_EQ(report->Caption(), "Sendebericht Alle: läuft, 2 von 5 fertig");
    for (size_t row : {2u, 3u, 4u})
      report->Finish(row, {SendOutcome::Kind::kOffline, 0}, *system);
  }
  report->Resend();
  for (size_t row : {2u, 3u, 4u})
    report->Finish(row, {SendOutcome::Kind::kDelivered, 0}, *system);
  EXPECT_EQ(report->Cell(2, ReportColumn::kResult), "zugestellt (4. Versuch)");
  EXPECT_EQ(report->Caption(), "Sendebericht Alle: 4 zugestellt, 1 fehlgeschlagen");
  EXPECT_FALSE(report->CanResend());  // the refused name would only be refused again

  // A domain send has one row, the domain; a send refused as a whole has no report.
  const auto table = [](const SendReport& r) {
    const std::string text = r.ClipboardText(r.Shown(false));
    return text.substr(text.find("Ergebnis\r\n") + 10);
  };
  const auto domain = SendReport::ForDispatch(
      2, "BUERO", ComposeSend(2, "BUERO", "x", false, directory), directory, "x", {});
  ASSERT_TRUE(domain.has_value());
  EXPECT_EQ(table(*domain), "BUERO\tDomäne\twird gesendet...\r\n");
  // Through msg, the domain's stations take its row once they are listed, named by their alias
  // or their description; none, and it fails. A station listed twice gets one row, a name that
  // is no NetBIOS name is refused, never cut.
  const DeliveryTool msg{Delivery::kMsg, "msg.exe"};
  const std::tuple<std::vector<ListedStation>, std::string, std::string> listings[] = {
      {{{"PC1", "Eingang"},
        {"PC5", "Lager"},
        {"-t", ""},
        {"pc1", ""},
        {"ABCDEFGHIJKLMNOP", ""},
        {"PC\x01", ""}},
       "PC1\tEmpfang\twird gesendet...\r\n"
       "PC5\tLager\twird gesendet...\r\n"
       "-t\t\tDer Empfängername \"-t\" beginnt mit \"-\" und wird übersprungen.\r\n"
       "ABCDEFGHIJKLMNOP\t\tDer Empfängername \"ABCDEFGHIJKLMNOP\" ist länger als "
       "15 Zeichen und wird übersprungen.\r\n"
       "PC\x01\t\tDer Empfängername \"PC\x01\" enthält ein Steuerzeichen und wird "
       "übersprungen.\r\n",
       ""},
      {{}, "BUERO\tDomäne\tIn der Domäne \"BUERO\" wurde keine Station gefunden.\r\n", ""},
      {{}, "BUERO\tDomäne\tDie Liste ... (Code 6118).\r\n", "Die Liste ...\r\n(Code 6118)."}};
  for (const auto& [stations, rows, failure] : listings) {
    // A domain named after others keeps its place: its stations stand where it stood.
    auto listed = SendReport::ForDispatch(2, "BUERO,KLEIN",
                                          ComposeSend(2, "BUERO,KLEIN", "x", false, directory, msg),
                                          directory, "x", {});
    ASSERT_TRUE(listed.has_value());
    listed->Expand(0, MsgDomainSteps(*listed->rows()[0].step.msgDomain, stations), failure);
    EXPECT_EQ(table(*listed), rows + "KLEIN\tDomäne\twird gesendet...\r\n");
    listed->Expand(1, {}, "");
    EXPECT_EQ(listed->CanResend(), stations.empty());  // a failed listing is listed again
  }
  for (const auto& [names, text] : {std::pair{"", "x"}, {" , ,", "x"}, {"pc1", ""}})
    EXPECT_FALSE(SendReport::ForDispatch(1, names, ComposeSend(1, names, text, false, directory),
                                         directory, text, {}));
}

// msg's error code in its output counts before its exit code; for 1722 net view tells a
// station that cannot be reached from one that refuses remote calls.
TEST_F(WorkersTest, MsgOutcomesFromItsOutputAndExitCode) {
  using Kind = SendOutcome::Kind;
  const std::string offline = "Der Empfänger ist unbekannt oder offline.";
  const std::string refused =
      "Der Empfänger nimmt keine Sitzungsnachrichten von anderen Stationen an (Code 1722).\r\n"
      "Dort muss AllowRemoteRPC = 1 gesetzt sein: siehe Anleitung, \"Botenruf unter Windows "
      "Vista und neuer\".";
  system->messages[1] = "Unzulässige Funktion.\r\n";
  const struct {
    uint32_t exitCode;
    const char* output;
    bool answers;
    SendOutcome expected;
    std::string text;
  } cases[] = {
      {0, "", false, {Kind::kDelivered, 0}, ""},
      {0, "Fehler 5 beim", false, {Kind::kFailed, 5}, "Zugriff verweigert\r\n(Code 5)."},
      {1, "Error [1232]:x", true, {Kind::kOffline, 0}, offline},
      {1, "Fehler 1722 beim Abrufen", false, {Kind::kOffline, 0}, offline},
      {1, "Fehlercode\r\nFEHLER  1722", true, {Kind::kRefused, 1722}, refused},
      {1, "Keine Sitzung", false, {Kind::kFailed, 1}, "Unzulässige Funktion.\r\n(Code 1)."},
      // The form published for msg; the code shows as Windows shows it, unsigned.
      {1,
       "Error sending message to session Console : Error 2147500058 ",
       false,
       {Kind::kFailed, 2147500058u},
       "Unbekannter Fehler.\r\n(Code 2147500058)."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.output);
    const SendOutcome outcome =
        MsgSendOutcome({true, c.exitCode, 0}, SplitLines(c.output), [&] { return c.answers; });
    EXPECT_EQ(outcome, c.expected);
    EXPECT_EQ(FailureText(*system, outcome), c.text);
  }
  // A domain without a report: no station's outcome waits for a click, one box sums them up.
  const StationLister lister = [](const WorkerServices&, const std::string&) {
    return DomainStations{{{"PC1", ""}, {"PC2", ""}, {"PC 3", ""}, {"PC4", ""}}, ""};
  };
  for (const char* station : {"PC2", "PC4"})
    processes->Script(MsgCommandLine("msg", station, "x"),
                      {.exitCode = 1, .onRun = nullptr, .output = "Fehler 5 beim Senden"});
  RunMsgDomainSend(services, {"BUERO", "msg", "x"}, 4, lister, Queue());
  RunQueued();
  EXPECT_THAT(boxes->boxes(),
              ElementsAre(::testing::Field(
                  &BoxRequest::text,
                  "An die Domäne \"BUERO\": 1 von 4 Stationen zugestellt.\r\n\r\nNicht "
                  "zugestellt:\r\n- Nicht gesendet, der Name enthält ein Leerzeichen (1): PC 3\r\n"
                  "- Zugriff verweigert (Code 5). (2): PC2, PC4")));
  EXPECT_EQ(services.counter->Value(), 0);
  // A domain's stations wait for a free worker: with MaxThreads 0 none would ever be free.
  RunMsgDomainSend(services, {"BUERO", "msg", "x"}, 0, nullptr);
  EXPECT_EQ(boxes->boxes().back().text, "Zu viele Nachrichten (0) in Warteschleife.");
}

TEST_F(WorkersTest, DomainListReadsConvertsAndDeletesItsFile) {
  // Padded to 21 or not: the names between the dashes and the completion message.
  EXPECT_THAT(ParseDomainList({"Domäne", "", "-----", "ARBEITSGRUPPE        ", "KURZ",
                               "SECHZEHNZEICHENX", "BÜRO                 ",
                               "Der Befehl wurde erfolgreich ausgeführt.", "", "DANACH"}),
              ElementsAre("ARBEITSGRUPPE", "KURZ", "BÜRO"));
  system->tickCount = 42;  // a temporary name of its own in this process
  const std::string out = "C:\\TEMP\\msg42.tmp";
  const std::string command =
      "C:\\WINNT\\system32\\Cmd.exe /q /c net view /domain > " + out + " 2>&1";
  processes->Script(command, {true, 0, 0, 0, [this, out] {
                                files->files[out] =
                                    "Dom\x84ne\r\n\r\n---\r\nB\x9AR"
                                    "O                 \r\n";
                              }});
  auto job = std::make_shared<DomainListJob>();
  int notified = 0;
  const ThreadStarter inPlace = [](std::function<void()> work) { work(); };
  const auto notify = [&] { ++notified; };
  StartDomainListRefresh(services, job, notify, inPlace);
  EXPECT_THAT(job->domains, ElementsAre("BÜRO"));  // from code page 850
  EXPECT_EQ(files->files.count(out), 0u);
  system->systemDirectory.clear();  // nothing runs, the window still hears of the end
  StartDomainListRefresh(services, job, notify, inPlace);
  EXPECT_TRUE(job->domains.empty());
  EXPECT_EQ(processes->started().size(), 1u);
  EXPECT_EQ(notified, 2);
}

}  // namespace
}  // namespace botenruf
