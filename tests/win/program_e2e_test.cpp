// The real Botenruf.exe under Wine, driven from this process as a user would, against the
// simulated network and the registry of the test prefix.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <set>
#include <thread>

#include "app/settings_store.h"
#include "resource.h"
#include "support/win_test_support.h"
#include "support/window_fakes.h"
#include "text/text.h"

namespace botenruf {
namespace {

using ::testing::ElementsAre;
using ::testing::UnorderedElementsAre;
using wintest::Click;
using wintest::ProgramProcess;
using wintest::ReadUserString;
using wintest::WaitForWindow;
namespace harness = netsim::harness;

std::string Count() {
  return ReadUserString(kSettingsKey, kInstanceCountValue);
}

// Wine gives the program the Windows version of its AppDefaults key; the prefix has XP there.
struct ReportedWindows {
  explicit ReportedWindows(const char* version) {
    wintest::WriteUserString(kKey, "Version", version);
  }
  ~ReportedWindows() { wintest::WriteUserString(kKey, "Version", "winxp"); }
  static constexpr const char* kKey = "Software\\Wine\\AppDefaults\\Botenruf.exe";
};

// The texts of the program's open boxes besides its window.
std::vector<std::string> Boxes(const ProgramProcess& program, HWND window) {
  std::vector<std::string> texts;
  for (HWND box : wintest::WindowsWithCaption("Botenruf", program.id())) {
    if (box != window && IsWindowVisible(box))
      texts.push_back(wintest::ItemText(box, 0xFFFF));  // a message box's text
  }
  return texts;
}

class ProgramTest : public ::testing::Test {
 protected:
  void SetUp() override {
    wintest::DeleteUserKeyTree(kSettingsKey);
    scratch = wintest::ScratchDir(::testing::UnitTest::GetInstance()->current_test_info()->name());
    wintest::WriteTextFile(scratch + "\\Rechner.txt",
                           "//begin\r\nPC1 Eins\r\nPC2 Zwei\r\nPC3 Drei\r\n//end\r\n//v_begin\r\n"
                           "Leer []\r\nZweier [PC1,PC2]\r\nAlle [PC1,PC2,PC3]\r\n//v_end\r\n");
    wintest::WriteUserString(kSettingsKey, "RechnerListePfad", scratch + "\\Rechner.txt");
  }

  // Starts the program and, once its recipient box shows a recipient, sends `message` to it.
  HWND StartAndSend(const ProgramProcess& program, const char* message) {
    HWND window = WaitForWindow("Botenruf", 20000, program.id());
    if (window && wintest::PumpUntil(
                      [&] { return !wintest::ItemText(window, IDC_RECIPIENT).empty(); }, 10000)) {
      SetDlgItemTextA(window, IDC_MESSAGE, message);
      Click(window, IDC_SEND);
    }
    return window;
  }

  harness::NetsimFolder network;
  std::string scratch;
};

// A run starts with the stored selection, removes an autostart entry while AutoStart is off,
// lets no second start run beside it, and sends the message file of its command line to a list;
// settings changed from the menu stay in memory until its end, which writes all as text.
TEST_F(ProgramTest, ARunSendsItsMessageFileAndWritesItsSettingsAtTheEnd) {
  network.Reset("[station PC1]\n[station PC2]\n[station PC3]\n");
  const std::string message = scratch + "\\nachricht.txt";
  wintest::WriteTextFile(message, "Betriebsversammlung\r\num 14 Uhr");
  wintest::WriteUserString(kSettingsKey, "ListenTyp", "1");
  wintest::WriteUserString(kSettingsKey, "Auswahl", "2");
  wintest::WriteUserString(kAutostartKey, "Botenruf", "C:\\Alt\\Botenruf.exe");
  ProgramProcess program(message);
  HWND window = WaitForWindow("Botenruf", 20000, program.id());
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(ReadUserString(kAutostartKey, "Botenruf"), "<missing>");  // AutoStart is off
  EXPECT_EQ(Count(), "1");
  EXPECT_EQ(wintest::ItemText(window, IDC_MESSAGE), "Betriebsversammlung\r\num 14 Uhr\r\n");
  EXPECT_EQ(wintest::ItemText(window, IDC_RECIPIENT), "Alle");  // the stored selection
  wintest::SelectRecipient(window, 1);
  Click(window, IDC_SEND);
  ASSERT_TRUE(wintest::PumpUntil(
      [&] {
        return wintest::ItemText(window, IDC_NOTIFY_GROUP) == "Benachrichtigung [0]" &&
               harness::NetSendCommandLines(network).size() == 2;
      },
      10000));
  EXPECT_THAT(harness::NetSendCommandLines(network),
              UnorderedElementsAre("net send PC1 Betriebsversammlung\r\num 14 Uhr\r\n",
                                   "net send PC2 Betriebsversammlung\r\num 14 Uhr\r\n"));
  for (int item :
       {IDM_AUTOSTART, IDM_TNA_START, IDM_SUCCESS_SINGLE, IDM_SUCCESS_LIST, IDM_SUCCESS_DOMAIN,
        IDM_GRID_LINES, IDM_FULL_ROW, IDM_VERSAND_INFO, IDM_MINIMIZE_TASKBAR, IDM_TOPMOST}) {
    SendMessageA(window, WM_COMMAND, item, 0);
  }
  SendMessageA(window, WM_COMMAND, IDM_SEND_REPORT, 0);
  EXPECT_EQ(ReadUserString(kSettingsKey, "TNAStart"), "<missing>");
  ProgramProcess second;  // finds the window by its caption and ends at once
  ASSERT_TRUE(second.WaitForExit(20000));
  EXPECT_EQ(Count(), "1");
  Click(window, IDCANCEL);
  DWORD code = 1;
  ASSERT_TRUE(program.WaitForExit(10000, &code));
  EXPECT_EQ(code, 0u);
  EXPECT_EQ(Count(), "0");
  for (const char* name : kSettingNames) {
    SCOPED_TRACE(name);
    EXPECT_NE(ReadUserString(kSettingsKey, name)[0], '<');  // a REG_SZ with its zero
  }
  const std::pair<const char*, const char*> expected[] = {
      {"AutoStart", "1"},        {"TNAStart", "1"},       {"SingleSuccessMsg", "0"},
      {"SuccessMsg", "1"},       {"GridLines", "1"},      {"FullRow", "1"},
      {"DomainSuccessMsg", "1"}, {"VersandInfo", "1"},    {"ListenTyp", "1"},
      {"Auswahl", "1"},          {"TaskMinimize", "1"},   {"SystemModal", "1"},
      {"MaxThreads", "20"},      {"SingleInstance", "1"}, {"Sendebericht", "1"}};
  for (const auto& [name, value] : expected)
    EXPECT_EQ(ReadUserString(kSettingsKey, name), value) << name;
  EXPECT_NE(ReadUserString(kAutostartKey, "Botenruf").find("Botenruf.exe"), std::string::npos);
}

// Automatic delivery: net send on a reported Windows XP, msg on a reported Windows 10 (whose
// empty output is a delivery), each leaving no output file behind. Neither tool's runtime finds
// an option in the message (a tab splits arguments as a blank does) or loses one of its quotes.
TEST_F(ProgramTest, AutomaticDeliveryFollowsTheReportedWindowsVersion) {
  const std::set<std::string> tempBefore = wintest::TempOutputFiles();
  const char* typed = "Hallo\t/server:CHEF \"C:\\Temp\\\" -v\r\n Welt";
  for (const char* version : {"winxp", "win10"}) {
    SCOPED_TRACE(version);
    network.Reset("[station PC1]\n");
    ReportedWindows reported(version);
    ProgramProcess program;
    HWND window = StartAndSend(program, typed);  // to PC1, the first recipient
    ASSERT_TRUE(wintest::PumpUntil([&] { return !Boxes(program, window).empty(); }, 10000));
    EXPECT_THAT(Boxes(program, window), ElementsAre("Well done..."));
    const auto log = harness::ReadLog(network);
    ASSERT_EQ(log.size(), 1u);
    if (std::string(version) == "winxp") {
      EXPECT_THAT(log[0].arguments, ElementsAre("send", "PC1", "Hallo/server:CHEF",
                                                "\"C:\\Temp\\\"", "-v\r\n", "Welt"));
    } else {
      EXPECT_THAT(log[0].arguments, ElementsAre("*", "/server:PC1", typed));
      EXPECT_EQ(harness::ReadReceived(network).at(0).message, typed);
    }
    EXPECT_THAT(wintest::TempOutputFiles(), ::testing::IsSubsetOf(tempBefore));
  }
}

// A list of six through msg: the two offline stations and the one that takes no remote calls
// (and refuses net view's caller, as a workgroup station does) each get their own box; the
// others receive the message.
TEST_F(ProgramTest, AListThroughMsgTellsOfflineFromRefusingStations) {
  network.Reset(
      "[station PC1]\n[station PC2]\nonline = 0\n[station PC3]\n[station PC4]\n"
      "allow_remote_rpc = 0\nrefuses_caller = 1\n[station PC5]\nonline = 0\n[station PC6]\n");
  wintest::WriteTextFile(scratch + "\\Rechner.txt",
                         "//v_begin\r\nSechs [PC1,PC2,PC3,PC4,PC5,PC6]\r\n//v_end\r\n");
  wintest::WriteUserString(kSettingsKey, "ListenTyp", "1");
  wintest::WriteUserString(kSettingsKey, "Zustellung", "2");
  ProgramProcess program;
  HWND window = StartAndSend(program, "Hallo");
  ASSERT_TRUE(wintest::PumpUntil([&] { return Boxes(program, window).size() == 3; }, 20000));
  const std::string offline = "Der Empfänger ist unbekannt oder offline.";
  EXPECT_THAT(Boxes(program, window),
              UnorderedElementsAre(offline, offline,
                                   ::testing::HasSubstr("AllowRemoteRPC = 1 gesetzt sein")));
  EXPECT_EQ(harness::ReadReceived(network).size(), 3u);
  EXPECT_EQ(harness::MsgStarts(network).size(), 6u);
}

// A domain through msg: every station of its listing, with MaxThreads 5 the others waiting for a
// free worker, each a row of the send report. Each msg takes 800 ms, so six starts within
// 800 ms would be six at once.
TEST_F(ProgramTest, ADomainThroughMsgReachesThirtyStationsFiveAtATime) {
  std::string scenario;
  for (int i = 1; i <= 30; ++i)
    scenario += Format("[station S%02d]\ndomain = BUERO\nsend_delay_ms = 800\n", i);
  network.Reset(scenario);
  for (const char* name : {"ListenTyp", "Zustellung"})
    wintest::WriteUserString(kSettingsKey, name, "2");
  wintest::WriteUserString(kSettingsKey, "MaxThreads", "5");
  wintest::WriteUserString(kSettingsKey, "WaitStep", "1000");  // the countdown's first tick
  wintest::WriteUserString(kSettingsKey, "VersandInfo", "1");
  wintest::WriteUserString(kSettingsKey, "Sendebericht", "1");  // a row for every station
  ProgramProcess program;
  HWND window = StartAndSend(program, "Feierabend");
  ASSERT_TRUE(
      wintest::PumpUntil([&] { return harness::ReadReceived(network).size() == 30; }, 30000));
  std::vector<DWORD> ticks;
  std::set<std::string> lines;
  for (const netsim::LogEntry& entry : harness::MsgStarts(network)) {
    ticks.push_back(entry.tick);
    lines.insert(entry.commandLine.substr(entry.commandLine.find("/server:")));
  }
  ASSERT_EQ(lines.size(), 30u);
  EXPECT_EQ(*lines.begin(), "/server:S01 \"Feierabend\n{An DOMAIN: \\\"BUERO\\\"}\"");
  std::sort(ticks.begin(), ticks.end());
  EXPECT_LT(ticks[4] - ticks[0], 800u);  // five did run at once
  for (size_t i = 5; i < ticks.size(); ++i)
    EXPECT_GE(ticks[i] - ticks[i - 5], 790u) << "six at once around start " << i;
  EXPECT_TRUE(Boxes(program, window).empty());
  EXPECT_NE(
      WaitForWindow("Sendebericht BUERO: 30 zugestellt, 0 fehlgeschlagen", 10000, program.id()),
      nullptr);
}

// Started into the tray, the first click on the icon brings the window back for good: its later
// paints must not send it to the tray again.
TEST_F(ProgramTest, StartedInTheTrayTheFirstClickRestoresForGood) {
  wintest::WriteUserString(kSettingsKey, "TNAStart", "1");
  for (UINT click : {WM_LBUTTONDOWN, WM_LBUTTONDBLCLK}) {
    SCOPED_TRACE(click);
    ProgramProcess program;
    HWND window = nullptr;
    ASSERT_TRUE(wintest::PumpUntil(
        [&] {
          for (HWND candidate : wintest::WindowsWithCaption("Botenruf", program.id())) {
            if (!IsWindowVisible(candidate) && wintest::ShellIcon(candidate, 1))
              window = candidate;
          }
          return window != nullptr;
        },
        20000))
        << "the window did not go to the tray";
    SendMessageA(window, WM_APP_TRAY_CALLBACK, 1, click);  // as the shell reports the click
    wintest::PumpFor(1500);
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_FALSE(wintest::ShellIcon(window, 1));
    Click(window, IDCANCEL);
    ASSERT_TRUE(program.WaitForExit(10000));
  }
}

// Ending at once after "Senden" or while the sends run: every send the user started reaches
// its station, and the program neither crashes nor hangs.
TEST_F(ProgramTest, EndingWhileSendsRunNeverCrashesOrHangs) {
  std::string scenario, members;
  for (int i = 1; i <= 12; ++i) {
    scenario += Format("[station PC%d]\nonline = %d\nsend_delay_ms = %d\n", i, i % 4 != 0,
                       i % 4 ? 3000 : 200);
    members += Format("PC%d,", i);
  }
  network.Reset(scenario);
  wintest::WriteTextFile(scratch + "\\Rechner.txt",
                         "//v_begin\r\nViele [" + members + "]\r\n//v_end\r\n");
  wintest::WriteUserString(kSettingsKey, "SuccessMsg", "1");
  wintest::WriteUserString(kSettingsKey, "SingleInstance", "0");
  constexpr int kRounds = 6;
  for (int round = 0; round < kRounds; ++round) {
    SCOPED_TRACE(round);
    // Every other round the outcomes go to a send report's window instead of boxes.
    wintest::WriteUserString(kSettingsKey, "Sendebericht", round % 2 ? "1" : "0");
    ProgramProcess program;
    HWND window = WaitForWindow("Botenruf", 20000, program.id());
    ASSERT_NE(window, nullptr);
    Click(window, IDC_MODE_LIST);
    wintest::SelectRecipient(window, 0);
    SetDlgItemTextA(window, IDC_MESSAGE, "Stresstest");
    Click(window, IDC_SEND);
    Sleep(static_cast<DWORD>(round * 100));  // end at different moments of the sends
    PostMessageA(GetDlgItem(window, IDCANCEL), BM_CLICK, 0, 0);
    DWORD code = 99;
    ASSERT_TRUE(program.WaitForExit(10000, &code)) << "the program hangs";
    EXPECT_EQ(code, 0u);
    // A started net send logs itself once it runs, which may be after the program's end.
    EXPECT_TRUE(wintest::PumpUntil(
        [&] { return harness::NetSendCommandLines(network).size() == 12u * (round + 1); }, 15000))
        << harness::NetSendCommandLines(network).size() << " sends";
  }
  EXPECT_EQ(Count(), "0");
}

// Ending during the check of a list whose stations do not answer, with sends to them still out:
// the settings and the counter are written at once, the hanging probe is ended with its tool, no
// outcome box appears any more, and the program is gone within 2 s without leaving a file.
TEST_F(ProgramTest, EndingDuringAHangingListCheckEndsItsToolAndLeavesAtOnce) {
  std::string scenario, members;
  for (int i = 1; i <= 3; ++i) {
    scenario +=
        Format("[station L%02d]\nonline = 0\nview_delay_ms = 60000\nsend_delay_ms = 800\n", i);
    members += Format("L%02d,", i);
  }
  network.Reset(scenario);
  wintest::WriteTextFile(scratch + "\\Rechner.txt",
                         "//v_begin\r\nLangsam [" + members + "]\r\n//v_end\r\n");
  wintest::WriteUserString(kSettingsKey, "ListenTyp", "1");
  const std::set<std::string> tempBefore = wintest::TempOutputFiles();
  const auto probes = [&] {
    size_t count = 0;
    for (const netsim::LogEntry& entry : harness::ReadLog(network))
      count += entry.commandLine.find("view \\\\L") != std::string::npos;
    return count;
  };
  ProgramProcess program;
  HWND window = WaitForWindow("Botenruf", 20000, program.id());
  ASSERT_NE(window, nullptr);
  wintest::SelectRecipient(window, 0);
  Click(window, IDC_INFO);
  ASSERT_TRUE(wintest::PumpUntil([&] { return probes() == 1; }, 10000));
  SendMessageA(window, WM_COMMAND, IDM_VERSAND_INFO, 0);
  SetDlgItemTextA(window, IDC_MESSAGE, "Feierabend");
  Click(window, IDC_SEND);
  const DWORD start = GetTickCount();
  PostMessageA(GetDlgItem(window, IDCANCEL), BM_CLICK, 0, 0);
  EXPECT_TRUE(wintest::PumpUntil([] { return Count() == "0"; }, 2000))
      << "the counter was written only after the wait";
  EXPECT_EQ(ReadUserString(kSettingsKey, "VersandInfo"), "1");
  bool boxShown = false;
  DWORD code = 99;
  while (!program.WaitForExit(20, &code) && GetTickCount() - start < 40000)
    boxShown = boxShown || !Boxes(program, window).empty();
  const DWORD elapsed = GetTickCount() - start;
  std::printf("[ measure  ] end to exit: %lu ms\n", static_cast<unsigned long>(elapsed));
  EXPECT_LT(elapsed, 2000u);
  EXPECT_EQ(code, 0u);
  EXPECT_FALSE(boxShown) << "an outcome box after the end";
  EXPECT_EQ(probes(), 1u);
  // The sends run on for their 800 ms; the probe would hang for a minute.
  EXPECT_TRUE(wintest::PumpUntil([] { return wintest::RunningProcesses("net.exe") == 0; }, 3000));
  EXPECT_THAT(wintest::TempOutputFiles(), ::testing::IsSubsetOf(tempBefore));
}

// The end of the Windows session: the system asks, then ends the process once its windows have
// answered. What the run changed and the counter must be written by then.
TEST_F(ProgramTest, TheEndOfTheSessionWritesTheSettingsAndTheCounter) {
  {
    ProgramProcess program;
    HWND window = WaitForWindow("Botenruf", 20000, program.id());
    ASSERT_NE(window, nullptr);
    SendMessageA(window, WM_COMMAND, IDM_VERSAND_INFO, 0);
    EXPECT_EQ(SendMessageA(window, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF), TRUE);
    SendMessageA(window, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
  }  // ended here as the system ends it
  EXPECT_EQ(ReadUserString(kSettingsKey, "VersandInfo"), "1");
  EXPECT_EQ(Count(), "0");
}

// Two starts at the same moment, before either has a window: exactly one runs, and the start
// counter is back at 0 after it.
TEST_F(ProgramTest, OfTwoStartsAtOneMomentExactlyOneRuns) {
  for (int round = 0; round < 5; ++round) {
    SCOPED_TRACE(round);
    // No instance of an earlier test may still be ending: it would count as the running one.
    ASSERT_TRUE(
        wintest::PumpUntil([] { return wintest::RunningProcesses("Botenruf.exe") == 0; }, 20000));
    ProgramProcess first, second;
    ProgramProcess* running = nullptr;
    ASSERT_TRUE(wintest::PumpUntil(
        [&] {
          if (first.WaitForExit(0))
            running = &second;
          else if (second.WaitForExit(0))
            running = &first;
          return running != nullptr;
        },
        60000));  // two starts at once on a machine busy elsewhere may take their time
    HWND window = WaitForWindow("Botenruf", 60000, running->id());
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(Count(), "1");
    Click(window, IDCANCEL);
    EXPECT_TRUE(running->WaitForExit(10000));
    EXPECT_EQ(Count(), "0");
  }
}

// Only the main window of a running Botenruf stops a new start: not a box of the program nor a
// foreign window that happens to carry its caption.
TEST_F(ProgramTest, OnlyTheMainWindowOfARunningInstanceStopsANewStart) {
  wintest::WriteUserString(kSettingsKey, kInstanceCountValue, "3");  // left high by a crash
  HWND foreign = CreateWindowA("STATIC", "Botenruf", WS_POPUP, 0, 0, 50, 20, nullptr, nullptr,
                               nullptr, nullptr);
  std::thread boxThread([] {
    MessageBoxA(nullptr, "Der Empfänger ist unbekannt oder offline.", "Botenruf", MB_ICONSTOP);
  });
  HWND box = WaitForWindow("Botenruf", 10000, GetCurrentProcessId());
  ProgramProcess program;
  HWND window = WaitForWindow("Botenruf", 20000, program.id());
  EXPECT_NE(window, nullptr) << "the start took another window for the running program";
  EXPECT_EQ(Count(), "1");  // no main window ran, so the count was started again
  PostMessageA(box, WM_COMMAND, IDOK, 0);
  boxThread.join();
  DestroyWindow(foreign);
  if (window) {
    Click(window, IDCANCEL);
    EXPECT_TRUE(program.WaitForExit(10000));
  }
}

}  // namespace
}  // namespace botenruf
