#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "dispatch/command_runner.h"
#include "dispatch/send_workers.h"
#include "fakes/fake_file_system.h"
#include "fakes/fake_message_boxes.h"
#include "fakes/fake_processes.h"
#include "fakes/fake_system.h"

namespace botenruf {
namespace {

using ::testing::ElementsAre;

class WorkersTest : public ::testing::Test {
 protected:
  WorkersTest() {
    services.processes = processes;
    services.boxes = boxes;
    services.system = system;
    services.files = files;
    services.settings = settings;
    services.counter = std::make_shared<SendCounter>();
    system->messages[5] = "Zugriff verweigert\r\n";
  }
  void TearDown() override { ShutdownFlag() = false; }

  // Keeps started workers waiting until RunQueued().
  ThreadStarter Queue() {
    return [this](std::function<void()> work) { queued.push_back(std::move(work)); };
  }
  void RunQueued() {
    for (auto& work : queued)
      work();
    queued.clear();
  }

  std::shared_ptr<fakes::FakeProcessStarter> processes =
      std::make_shared<fakes::FakeProcessStarter>();
  std::shared_ptr<fakes::FakeMessageBoxes> boxes = std::make_shared<fakes::FakeMessageBoxes>();
  std::shared_ptr<fakes::FakeSystem> system = std::make_shared<fakes::FakeSystem>();
  std::shared_ptr<fakes::FakeFileSystem> files = std::make_shared<fakes::FakeFileSystem>();
  std::shared_ptr<Settings> settings = std::make_shared<Settings>();
  WorkerServices services;
  std::vector<std::function<void()>> queued;
};

TEST_F(WorkersTest, AdmissionStopsAtMaxThreadsWithTheQueueBox) {
  const std::vector<SendStep> steps = {
      {"net send a x", {}}, {"net send b x", {}}, {"net send c x", {}}};
  RunSendSteps(steps, services, 2, nullptr, Queue());
  EXPECT_EQ(queued.size(), 2u);
  EXPECT_EQ(services.counter->Value(), 2);
  ASSERT_EQ(boxes->boxes().size(), 1u);
  EXPECT_EQ(boxes->boxes()[0],
            (BoxRequest{"Zu viele Nachrichten (2) in Warteschleife.", "Error", BoxIcon::kStop}));
  RunQueued();
  EXPECT_EQ(services.counter->Value(), 0);
  EXPECT_THAT(processes->started(), ElementsAre("net send a x", "net send b x"));
  EXPECT_EQ(boxes->waitCursors, 0);
}

TEST_F(WorkersTest, MaxThreadsZeroRefusesEveryName) {
  RunSendSteps({{"net send a x", {}}, {"net send b x", {}}}, services, 0, nullptr, Queue());
  EXPECT_TRUE(queued.empty());
  ASSERT_EQ(boxes->boxes().size(), 2u);
  EXPECT_EQ(boxes->boxes()[1].text, "Zu viele Nachrichten (0) in Warteschleife.");
}

TEST_F(WorkersTest, AFailedStartStillLowersTheCountAndReportsTheSystemError) {
  processes->defaultScript.starts = false;
  processes->defaultScript.startError = 2;
  RunSendSteps({{"net send a x", {}}}, services, 1, nullptr, Queue());
  RunQueued();
  EXPECT_EQ(services.counter->Value(), 0);
  ASSERT_EQ(boxes->boxes().size(), 1u);
  EXPECT_EQ(boxes->boxes()[0], (BoxRequest{"Fehlercode (2).", "Botenruf", BoxIcon::kExclamation}));
  RunSendSteps({{"net send b x", {}}}, services, 1, nullptr, Queue());
  EXPECT_EQ(queued.size(), 1u);  // admitted again
}

TEST_F(WorkersTest, OutcomeBoxesPerExitCodeAndMode) {
  struct Case {
    int mode;
    uint32_t exitCode;
    bool shutdown;
    std::optional<BoxRequest> expected;
  } cases[] = {
      {0, 0, false, BoxRequest{"Well done...", "Botenruf", BoxIcon::kInformation}},
      {0, 0, true, std::nullopt},
      {1, 0, false, std::nullopt},
      {2, 0, false, std::nullopt},
      {1, 2, false,
       BoxRequest{"Der Empfänger ist unbekannt oder offline.", "Botenruf", BoxIcon::kStop}},
      {2, 2, true,
       BoxRequest{"Der Empfänger ist unbekannt oder offline.", "Botenruf", BoxIcon::kStop}},
      {0, 5, false, BoxRequest{"Zugriff verweigert\r\n(Code 5).", "Botenruf", BoxIcon::kStop}},
      {0, 77, false, BoxRequest{"Unbekannter Fehler.\r\n(Code 77).", "Botenruf", BoxIcon::kStop}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.mode << " " << c.exitCode << " " << c.shutdown);
    EXPECT_EQ(SendOutcomeBox(*system, *settings, c.mode, true, 0, c.exitCode, c.shutdown),
              c.expected);
  }
  settings->successMsg = true;
  settings->singleSuccessMsg = false;
  EXPECT_TRUE(SendOutcomeBox(*system, *settings, 1, true, 0, 0, false).has_value());
  EXPECT_FALSE(SendOutcomeBox(*system, *settings, 0, true, 0, 0, false).has_value());
}

TEST_F(WorkersTest, TheWorkerJudgesByTheModeAtItsStart) {
  processes->defaultScript.onRun = [this] { settings->listenTyp = 1; };
  settings->listenTyp = 0;
  SendWorker(services, "net send a x");
  ASSERT_EQ(boxes->boxes().size(), 1u);
  EXPECT_EQ(boxes->boxes()[0].text, "Well done...");
}

TEST_F(WorkersTest, CounterNeverGoesBelowZero) {
  SendCounter counter;
  counter.Lower();
  EXPECT_EQ(counter.Value(), 0);
  EXPECT_TRUE(counter.TryRaise(1));
  EXPECT_FALSE(counter.TryRaise(1));
  counter.Lower();
  counter.Lower();
  EXPECT_EQ(counter.Value(), 0);
}

TEST(CommandRunnerTest, PollsUntilTheExitCodeIsNoLongerStillActive) {
  fakes::FakeProcessStarter processes;
  processes.Script("slow", {true, 0, 7, 3, 1, nullptr});
  const CommandResult result = RunCommand(processes, "slow");
  EXPECT_TRUE(result.finished);
  EXPECT_EQ(result.exitCode, 7u);
  EXPECT_EQ(processes.waits(), 5);  // one failed read, three "still active", then the code
  processes.Script("missing", {false, 2, 0, 0, 0, nullptr});
  const CommandResult missing = RunCommand(processes, "missing");
  EXPECT_FALSE(missing.finished);
  EXPECT_EQ(missing.exitCode, 0xFFFFFFFFu);
  EXPECT_EQ(missing.startError, 2u);
}

TEST(CommandRunnerTest, TemporaryFileNames) {
  EXPECT_EQ(TempFileDigits(1234), "1234");
  EXPECT_EQ(TempFileDigits(123456789), "23456789");
  EXPECT_EQ(TempFileDigits(0xFFFFFFFFu), "-1");
  EXPECT_EQ(TempFileDigits(2147483648u), "47483648");  // from "-2147483648"
  EXPECT_EQ(TempFileDigits(4294967000u), "-296");
  fakes::FakeSystem system;
  fakes::FakeFileSystem files;
  system.tickCount = 5000;
  system.tempPath = "C:\\TEMP\\";
  const std::string first = MakeTempFileName(system, files);
  EXPECT_EQ(first, "C:\\TEMP\\msg5000.tmp");
  // Same millisecond: a new name all the same; an existing file is passed over too.
  files.files["C:\\TEMP\\msg5002.tmp"] = "";
  EXPECT_EQ(MakeTempFileName(system, files), "C:\\TEMP\\msg5001.tmp");
  EXPECT_EQ(MakeTempFileName(system, files), "C:\\TEMP\\msg5003.tmp");
  system.tempPath.clear();
  system.tickCount = 7;
  EXPECT_EQ(MakeTempFileName(system, files), "C:\\msg7.tmp");
}

TEST(CommandRunnerTest, SystemDirectoryAndErrorTexts) {
  fakes::FakeSystem system;
  std::string prefix;
  system.systemDirectory = "C:\\WINNT\\system32";
  ASSERT_TRUE(SystemDirectoryPrefix(system, prefix));
  EXPECT_EQ(prefix, "C:\\WINNT\\system32\\");
  system.systemDirectory = "C:\\";
  ASSERT_TRUE(SystemDirectoryPrefix(system, prefix));
  EXPECT_EQ(prefix, "C:\\");
  system.systemDirectory.clear();
  EXPECT_FALSE(SystemDirectoryPrefix(system, prefix));
  system.messages[2] = "Das System kann die angegebene Datei nicht finden.\r\n";
  EXPECT_EQ(FormatErrorText(system, 0), "Fehlercode (0).");
  EXPECT_EQ(FormatErrorText(system, 2),
            "Das System kann die angegebene Datei nicht finden.\r\n(Code 2).");
  EXPECT_EQ(FormatErrorText(system, -1), "Unbekannter Fehler.\r\n(Code -1).");
}

TEST(CommandRunnerTest, QueryLinesRefuseWhatTheInterpreterWouldActOn) {
  std::string line;
  ASSERT_TRUE(
      BuildQueryCommandLine(QueryKind::kNameTable, "C:\\W\\", "PC1", "C:\\T\\msg1.tmp", line));
  EXPECT_EQ(line, "C:\\W\\Cmd.exe /q /c nbtstat -a PC1 > C:\\T\\msg1.tmp");
  ASSERT_TRUE(BuildQueryCommandLine(QueryKind::kPing, "C:\\W\\", "PC1", "o", line));
  EXPECT_EQ(line, "C:\\W\\Cmd.exe /q /c ping PC1 -n 1 > o");
  ASSERT_TRUE(BuildQueryCommandLine(QueryKind::kNetView, "C:\\W\\", "/domain:BÜRO", "o", line));
  EXPECT_EQ(line, "C:\\W\\Cmd.exe /q /c net view /domain:BÜRO > o");
  ASSERT_TRUE(BuildQueryCommandLine(QueryKind::kExplorer, "C:\\W\\", "\\\\PC1\\Daten", "", line));
  EXPECT_EQ(line, "C:\\W\\Cmd.exe /q /c explorer \\\\PC1\\Daten");
  for (const char* hostile :
       {"X&calc", "a|b", "a<b", "a>b", "a^b", "\"a", "%PATH%", "a\nb", "a\x1b"}) {
    SCOPED_TRACE(hostile);
    line = "unchanged";
    EXPECT_FALSE(BuildQueryCommandLine(QueryKind::kNetView, "C:\\W\\", hostile, "o", line));
    EXPECT_EQ(line, "unchanged");
  }
  EXPECT_FALSE(BuildQueryCommandLine(QueryKind::kNetView, "C:\\W\\", "PC1", "C:\\100%\\o", line));
}

TEST(DomainListTest, OnlyTwentyOneCharacterLinesAfterTheHeader) {
  const std::vector<std::string> lines = {"Domäne",
                                          "",
                                          std::string(79, '-'),
                                          "ARBEITSGRUPPE        ",
                                          "BÜRO                 ",
                                          "KURZ",
                                          "VIEL ZU LANG FÜR EINE DOMÄNE",
                                          "Der Befehl wurde erfolgreich ausgeführt."};
  EXPECT_THAT(ParseDomainList(lines), ElementsAre("ARBEITSGRUPPE", "BÜRO"));
  EXPECT_THAT(ParseDomainList({"ABCDEFGHIJKLMNOPQRSTU", "ABCDEFGHIJKLMNOPQRSTU", ""}),
              ElementsAre());
}

TEST_F(WorkersTest, DomainListQueryReadsConvertsAndDeletesItsFile) {
  system->systemDirectory = "C:\\WINDOWS\\system32";
  system->tempPath = "C:\\T\\";
  system->tickCount = 42;
  const std::string out = "C:\\T\\msg42.tmp";
  const std::string command = "C:\\WINDOWS\\system32\\Cmd.exe /q /c net view /domain > " + out;
  processes->Script(command, {true, 0, 0, 0, 0, [this, out] {
                                files->files[out] =
                                    "Dom\x84ne\r\n\r\n---\r\nB\x9AR"
                                    "O                 \r\nX\r\n";
                              }});
  auto job = std::make_shared<DomainListJob>();
  bool notified = false;
  StartDomainListRefresh(
      services, job, [&] { notified = true; }, [](std::function<void()> work) { work(); });
  EXPECT_THAT(processes->started(), ElementsAre(command));
  EXPECT_THAT(job->domains, ElementsAre("BÜRO"));
  EXPECT_TRUE(job->done);
  EXPECT_TRUE(notified);
  EXPECT_EQ(files->files.count(out), 0u);
}

TEST_F(WorkersTest, DomainListWithoutSystemDirectoryRunsNothingAndStillNotifies) {
  system->systemDirectory.clear();
  auto job = std::make_shared<DomainListJob>();
  job->domains = {"alt"};
  bool notified = false;
  StartDomainListRefresh(
      services, job, [&] { notified = true; }, [](std::function<void()> work) { work(); });
  EXPECT_TRUE(processes->started().empty());
  EXPECT_TRUE(job->domains.empty());
  EXPECT_TRUE(notified);
}

}  // namespace
}  // namespace botenruf
