// Command runner and send workers with real processes against the simulated network.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "directory/recipient_directory.h"
#include "dispatch/command_runner.h"
#include "dispatch/message_composer.h"
#include "dispatch/send_workers.h"
#include "fakes/fake_message_boxes.h"
#include "platform/win32/win32_services.h"
#include "platform/win32/win32_system.h"
#include "support/netsim_harness.h"
#include "support/win_test_support.h"

namespace botenruf {
namespace {

using ::testing::ElementsAre;
using ::testing::UnorderedElementsAre;
namespace harness = netsim::harness;

// Counts the waits of every process it starts.
class CountingStarter : public ProcessStarter {
 public:
  std::unique_ptr<Process> StartHidden(const std::string& commandLine, uint32_t& error) override {
    auto process = real_.StartHidden(commandLine, error);
    if (!process)
      return nullptr;
    return std::make_unique<Counted>(std::move(process), waits);
  }
  int waits = 0;

 private:
  class Counted : public Process {
   public:
    Counted(std::unique_ptr<Process> inner, int& waits) : inner_(std::move(inner)), waits_(waits) {}
    bool Wait(uint32_t ms) override {
      ++waits_;
      return inner_->Wait(ms);
    }
    bool ExitCode(uint32_t& code) override { return inner_->ExitCode(code); }

   private:
    std::unique_ptr<Process> inner_;
    int& waits_;
  };
  win::Win32ProcessStarter real_;
};

std::string Sleeper() {
  return wintest::BuildDir() + "/tests/netsim/sleeper.exe";
}

TEST(CommandRunnerWineTest, MissingProgramFailsAtOnce) {
  win::Win32ProcessStarter starter;
  const DWORD start = GetTickCount();
  const CommandResult result = RunCommand(starter, "kein_solches_programm_botenruf.exe x");
  EXPECT_FALSE(result.finished);
  EXPECT_EQ(result.exitCode, 0xFFFFFFFFu);
  EXPECT_NE(result.startError, 0u);
  EXPECT_LT(GetTickCount() - start, 1000u);
}

TEST(CommandRunnerWineTest, ProgramOfThreeAndAHalfSecondsEndsInTheFourthWait) {
  harness::NetsimFolder folder;
  CountingStarter starter;
  const DWORD start = GetTickCount();
  const CommandResult result = RunCommand(starter, "\"" + Sleeper() + "\" 3500 7");
  const DWORD elapsed = GetTickCount() - start;
  EXPECT_TRUE(result.finished);
  EXPECT_EQ(result.exitCode, 7u);
  EXPECT_EQ(starter.waits, 4);
  EXPECT_GE(elapsed, 3400u);
  EXPECT_LT(elapsed, 4500u);  // the wait returns as soon as the program ends
}

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

class SendNetworkTest : public ::testing::Test {
 protected:
  SendNetworkTest() {
    services.processes = std::make_shared<win::Win32ProcessStarter>();
    services.boxes = boxes;
    services.system = std::make_shared<win::Win32System>();
    services.files = std::make_shared<win::Win32FileSystem>();
    services.settings = settings;
    services.counter = std::make_shared<SendCounter>();
  }

  bool WaitForIdle(uint32_t timeoutMs) {
    return wintest::PumpUntil([this] { return services.counter->Value() == 0; }, timeoutMs);
  }

  harness::NetsimFolder folder;
  std::shared_ptr<fakes::FakeMessageBoxes> boxes = std::make_shared<fakes::FakeMessageBoxes>();
  std::shared_ptr<Settings> settings = std::make_shared<Settings>();
  WorkerServices services;
  RecipientDirectory directory;
};

TEST_F(SendNetworkTest, ListSendReportsEachStationOnItsOwn) {
  folder.Reset("[station PC1]\n[station PC2]\nonline = 0\n[station PC3]\nsend_delay_ms = 1500\n");
  settings->listenTyp = 1;
  settings->successMsg = true;
  const auto steps = ComposeSend(1, "PC1,PC2,PC3", "Kaffee ist fertig", false, directory);
  const DWORD start = GetTickCount();
  RunSendSteps(steps, services, 20, nullptr);
  EXPECT_LT(GetTickCount() - start, 1000u);  // the sends run on their own threads
  EXPECT_GE(services.counter->Value(), 1);
  ASSERT_TRUE(WaitForIdle(15000));
  EXPECT_THAT(
      harness::NetSendCommandLines(folder),
      UnorderedElementsAre("net send PC1 Kaffee ist fertig", "net send PC2 Kaffee ist fertig",
                           "net send PC3 Kaffee ist fertig"));
  std::vector<std::string> texts;
  for (const BoxRequest& box : boxes->boxes())
    texts.push_back(box.text);
  EXPECT_THAT(texts,
              UnorderedElementsAre("Well done...", "Der Empfänger ist unbekannt oder offline.",
                                   "Well done..."));
  ASSERT_EQ(harness::ReadReceived(folder).size(), 2u);
}

TEST_F(SendNetworkTest, ThirdSlowStationIsRefusedWithMaxThreadsTwo) {
  folder.Reset(
      "[station S1]\nsend_delay_ms = 2000\n[station S2]\nsend_delay_ms = 2000\n"
      "[station S3]\nsend_delay_ms = 2000\n");
  const auto steps = ComposeSend(1, "S1,S2,S3", "Hallo", false, directory);
  RunSendSteps(steps, services, 2, nullptr);
  ASSERT_FALSE(boxes->boxes().empty());
  EXPECT_EQ(boxes->boxes()[0],
            (BoxRequest{"Zu viele Nachrichten (2) in Warteschleife.", "Error", BoxIcon::kStop}));
  ASSERT_TRUE(WaitForIdle(15000));
  EXPECT_THAT(harness::NetSendCommandLines(folder),
              UnorderedElementsAre("net send S1 Hallo", "net send S2 Hallo"));
}

TEST_F(SendNetworkTest, OtherExitCodesShowTheSystemText) {
  folder.Reset("[station PC5]\nsend_exit = 5\n");
  RunSendSteps(ComposeSend(0, "PC5", "x", false, directory), services, 20, nullptr);
  ASSERT_TRUE(WaitForIdle(15000));
  ASSERT_EQ(boxes->boxes().size(), 1u);
  EXPECT_EQ(boxes->boxes()[0].icon, BoxIcon::kStop);
  EXPECT_THAT(boxes->boxes()[0].text, ::testing::EndsWith("(Code 5)."));
  EXPECT_THAT(boxes->boxes()[0].text, ::testing::HasSubstr("Zugriff verweigert"));
}

// The refresh hands its result to a window with 0x800C; the window stores the names.
struct DomainReceiver {
  std::shared_ptr<DomainListJob> job = std::make_shared<DomainListJob>();
  RecipientDirectory* directory = nullptr;
  bool handled = false;
};

LRESULT CALLBACK DomainReceiverProc(HWND hwnd, UINT message, WPARAM wp, LPARAM lp) {
  if (message == 0x800C) {
    auto* receiver = reinterpret_cast<DomainReceiver*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    EXPECT_TRUE(receiver->job->done);
    receiver->directory->StoreDomainNames(receiver->job->domains);
    receiver->handled = true;
    return 0;
  }
  return DefWindowProcA(hwnd, message, wp, lp);
}

TEST_F(SendNetworkTest, DomainRefreshFillsTheDirectoryThroughTheWindowMessage) {
  folder.Reset("[domain VERWALTUNG]\n[station PC1]\ndomain = BÜRO\n");
  DomainReceiver receiver;
  receiver.directory = &directory;
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = &DomainReceiverProc;
  windowClass.lpszClassName = "DomainRefreshReceiver";
  RegisterClassA(&windowClass);
  HWND window = CreateWindowA("DomainRefreshReceiver", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                              nullptr, nullptr);
  ASSERT_NE(window, nullptr);
  SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&receiver));
  StartDomainListRefresh(services, receiver.job, [window] { SendMessageA(window, 0x800C, 0, 0); });
  ASSERT_TRUE(wintest::PumpUntil([&] { return receiver.handled; }, 15000));
  EXPECT_THAT(directory.DomainNames(), ElementsAre("VERWALTUNG", "BÜRO"));
  DestroyWindow(window);
}

}  // namespace
}  // namespace botenruf
