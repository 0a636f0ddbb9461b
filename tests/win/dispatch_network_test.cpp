// The command runner and the send workers with real processes against the simulated network.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "directory/recipient_directory.h"
#include "dispatch/command_runner.h"
#include "dispatch/message_composer.h"
#include "dispatch/send_workers.h"
#include "fakes/fake_message_boxes.h"
#include "platform/win32/win32_services.h"
#include "platform/win32/win32_system.h"
#include "support/win_test_support.h"

namespace botenruf {
namespace {

using ::testing::AllOf;
using ::testing::ElementsAre;
using ::testing::EndsWith;
using ::testing::HasSubstr;
using ::testing::UnorderedElementsAre;
namespace harness = netsim::harness;

TEST(CommandRunnerWineTest, MissingProgramFailsAtOnceWithTheSystemsError) {
  win::Win32ProcessStarter starter;
  const DWORD start = GetTickCount();
  const CommandResult result = RunCommand(starter, "kein_solches_programm_botenruf.exe x");
  EXPECT_FALSE(result.finished);
  EXPECT_EQ(result.exitCode, 0xFFFFFFFFu);
  EXPECT_NE(result.startError, 0u);
  EXPECT_LT(GetTickCount() - start, 1000u);
}

// The interpreter's redirection needs the temporary path without blanks, and the tools' output
// comes in the console's code page.
TEST(CommandRunnerWineTest, QueryRedirectsThroughTheInterpreter) {
  harness::NetsimFolder folder;
  folder.Reset("[station PC1]\ndomain = BÜRO\n[station PC2]\ndomain = ARBEITSGRUPPE\n");
  win::Win32System system;
  win::Win32FileSystem files;
  win::Win32ProcessStarter starter;
  std::string prefix, commandLine;
  ASSERT_TRUE(SystemDirectoryPrefix(system, prefix));
  const std::string output = MakeTempFileName(system, files);
  EXPECT_EQ(output.find(' '), std::string::npos) << output;
  ASSERT_TRUE(BuildQueryCommandLine(QueryKind::kNetView, prefix, "/domain", output, commandLine));
  const CommandResult result = RunCommand(starter, commandLine);
  ASSERT_TRUE(result.finished);
  EXPECT_EQ(result.exitCode, 0u);
  std::vector<std::string> lines;
  ASSERT_TRUE(ReadOutputLines(files, system, output, lines));
  EXPECT_THAT(ParseDomainList(lines), ElementsAre("BÜRO", "ARBEITSGRUPPE"));  // umlaut from 850
  files.Remove(output);
}

// A list send runs every member on a worker of its own and reports each by its own exit code,
// with the system's text for a code it does not know; a member beyond MaxThreads is refused.
TEST(SendNetworkTest, EveryMemberIsSentAndReportedOnItsOwn) {
  harness::NetsimFolder folder;
  folder.Reset(
      "[station PC1]\nsend_delay_ms = 1500\n[station PC2]\nonline = 0\nsend_delay_ms = 1500\n"
      "[station PC3]\nsend_exit = 5\nsend_delay_ms = 1500\n[station PC4]\n");
  auto boxes = std::make_shared<fakes::FakeMessageBoxes>();
  auto settings = std::make_shared<Settings>();
  settings->listenTyp = 1;
  settings->successMsg = true;
  WorkerServices services;
  services.processes = std::make_shared<win::Win32ProcessStarter>();
  services.boxes = boxes;
  services.system = std::make_shared<win::Win32System>();
  services.files = std::make_shared<win::Win32FileSystem>();
  services.settings = settings;
  services.counter = std::make_shared<SendCounter>();
  RecipientDirectory directory;
  const DWORD start = GetTickCount();
  RunSendSteps(ComposeSend(1, "PC1,PC2,PC3,PC4", "Kaffee", false, directory), services, 3, nullptr);
  EXPECT_LT(GetTickCount() - start, 1000u);  // the sends run on their own threads
  ASSERT_TRUE(wintest::PumpUntil([&] { return services.counter->Value() == 0; }, 15000));
  EXPECT_THAT(
      harness::NetSendCommandLines(folder),
      UnorderedElementsAre("net send PC1 Kaffee", "net send PC2 Kaffee", "net send PC3 Kaffee"));
  std::vector<std::string> texts;
  for (const BoxRequest& box : boxes->boxes())
    texts.push_back(box.text);
  EXPECT_THAT(texts,
              UnorderedElementsAre("Zu viele Nachrichten (3) in Warteschleife.", "Well done...",
                                   "Der Empfänger ist unbekannt oder offline.",
                                   AllOf(HasSubstr("Zugriff verweigert"), EndsWith("(Code 5)."))));
  EXPECT_EQ(harness::ReadReceived(folder).size(), 1u);
}

}  // namespace
}  // namespace botenruf
