// The real Botenruf.exe under Wine, driven from this process like a user would, against the
// simulated network.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/settings_store.h"
#include "resource.h"
#include "support/netsim_harness.h"
#include "support/win_test_support.h"
#include "support/window_fakes.h"

namespace botenruf {
namespace {

using ::testing::UnorderedElementsAre;
using wintest::ProgramProcess;
using wintest::ReadUserString;
namespace harness = netsim::harness;

constexpr char kListFile[] =
    "//begin\r\nPC1 Eins\r\nPC2 Zwei\r\nPC3 Drei\r\n//end\r\n"
    "//v_begin\r\nLeer []\r\nZweier [PC1,PC2]\r\nAlle [PC1,PC2,PC3]\r\n//v_end\r\n";

class ProgramTest : public ::testing::Test {
 protected:
  void SetUp() override {
    wintest::DeleteUserKeyTree(kSettingsKey);
    scratch = wintest::ScratchDir(::testing::UnitTest::GetInstance()->current_test_info()->name());
    wintest::WriteTextFile(scratch + "\\Rechner.txt", kListFile);
    wintest::WriteUserString(kSettingsKey, "RechnerListePfad", scratch + "\\Rechner.txt");
  }
  void TearDown() override {
    for (HWND window : wintest::WindowsWithCaption("Botenruf"))
      PostMessageA(window, WM_CLOSE, 0, 0);
  }

  static void Select(HWND window, int index) {
    HWND box = GetDlgItem(window, IDC_RECIPIENT);
    SendMessageA(box, CB_SETCURSEL, index, 0);
    SendMessageA(window, WM_COMMAND, MAKEWPARAM(IDC_RECIPIENT, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(box));
  }

  harness::NetsimFolder network;
  std::string scratch;
};

TEST_F(ProgramTest, MessageFileFromTheCommandLineGoesToAList) {
  network.Reset("[station PC1]\n[station PC2]\n[station PC3]\n");
  const std::string message = scratch + "\\nachricht.txt";
  wintest::WriteTextFile(message, "Betriebsversammlung\r\num 14 Uhr");
  ProgramProcess program(message);
  HWND window = wintest::WaitForWindow("Botenruf", 20000, program.id());
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(wintest::WindowText(GetDlgItem(window, IDC_MESSAGE)),
            "Betriebsversammlung\r\num 14 Uhr\r\n");
  wintest::Click(window, IDC_MODE_LIST);
  Select(window, 1);
  wintest::Click(window, IDC_SEND);
  ASSERT_TRUE(
      wintest::PumpUntil([&] { return harness::NetSendCommandLines(network).size() == 2; }, 10000));
  EXPECT_THAT(harness::NetSendCommandLines(network),
              UnorderedElementsAre("net send PC1 Betriebsversammlung\r\num 14 Uhr\r\n",
                                   "net send PC2 Betriebsversammlung\r\num 14 Uhr\r\n"));
  wintest::Click(window, IDCANCEL);
  DWORD code = 1;
  ASSERT_TRUE(program.WaitForExit(10000, &code));
  EXPECT_EQ(code, 0u);
  EXPECT_EQ(ReadUserString(kSettingsKey, "ListenTyp"), "1");
  EXPECT_EQ(ReadUserString(kSettingsKey, "Auswahl"), "1");
  EXPECT_EQ(ReadUserString(kSettingsKey, kInstanceCountValue), "0");
}

TEST_F(ProgramTest, MenuTogglesReachTheRegistryAtTheEndOfTheRun) {
  wintest::DeleteUserKeyTree(std::string(kAutostartKey) + "\\none");
  ProgramProcess program;
  HWND window = wintest::WaitForWindow("Botenruf", 20000, program.id());
  ASSERT_NE(window, nullptr);
  for (int item :
       {IDM_AUTOSTART, IDM_TNA_START, IDM_SUCCESS_SINGLE, IDM_SUCCESS_LIST, IDM_SUCCESS_DOMAIN,
        IDM_GRID_LINES, IDM_FULL_ROW, IDM_VERSAND_INFO, IDM_MINIMIZE_TASKBAR, IDM_MODE_LIST}) {
    SendMessageA(window, WM_COMMAND, item, 0);
  }
  // Changes stay in memory during the run.
  EXPECT_EQ(ReadUserString(kSettingsKey, "TNAStart"), "<missing>");
  wintest::Click(window, IDCANCEL);
  ASSERT_TRUE(program.WaitForExit(10000));
  const std::pair<const char*, const char*> expected[] = {
      {"AutoStart", "1"},  {"TNAStart", "1"},         {"SingleSuccessMsg", "0"},
      {"SuccessMsg", "1"}, {"DomainSuccessMsg", "1"}, {"GridLines", "1"},
      {"FullRow", "1"},    {"VersandInfo", "1"},      {"TaskMinimize", "1"},
      {"ListenTyp", "1"},  {"Auswahl", "0"}};
  for (const auto& [name, value] : expected) {
    SCOPED_TRACE(name);
    EXPECT_EQ(ReadUserString(kSettingsKey, name), value);
  }
  EXPECT_NE(ReadUserString(kAutostartKey, "Botenruf").find("Botenruf.exe"), std::string::npos);
  wintest::DeleteUserKeyTree(kSettingsKey);
  wintest::WriteUserString(kSettingsKey, "AutoStart", "0");
  ProgramProcess again;
  window = wintest::WaitForWindow("Botenruf", 20000, again.id());
  ASSERT_NE(window, nullptr);
  wintest::Click(window, IDCANCEL);
  ASSERT_TRUE(again.WaitForExit(10000));
  EXPECT_EQ(ReadUserString(kAutostartKey, "Botenruf"), "<missing>");
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
          for (HWND candidate : wintest::WindowsWithCaption("Botenruf")) {
            DWORD owner = 0;
            GetWindowThreadProcessId(candidate, &owner);
            if (owner == program.id() && !IsWindowVisible(candidate) &&
                wintest::ShellHasIcon(candidate, 1))
              window = candidate;
          }
          return window != nullptr;
        },
        20000))
        << "the window did not go to the tray";
    SendMessageA(window, WM_APP_TRAY_CALLBACK, 1, click);  // as the shell reports the click
    wintest::PumpFor(1500);
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_FALSE(wintest::ShellHasIcon(window, 1));
    wintest::Click(window, IDCANCEL);
    ASSERT_TRUE(program.WaitForExit(10000));
  }
}

// Ending the program while its workers still wait for net send, again and again: it must
// end promptly and cleanly every time.
TEST_F(ProgramTest, EndingWhileSendsRunNeverCrashesOrHangs) {
  network.Reset(
      "[station PC1]\nsend_delay_ms = 3000\n[station PC2]\nsend_delay_ms = 3000\n"
      "[station PC3]\nonline = 0\nsend_delay_ms = 200\n");
  wintest::WriteUserString(kSettingsKey, "SuccessMsg", "1");
  wintest::WriteUserString(kSettingsKey, "SingleInstance", "0");
  constexpr int kRounds = 12;
  for (int round = 0; round < kRounds; ++round) {
    SCOPED_TRACE(round);
    ProgramProcess program;
    HWND window = wintest::WaitForWindow("Botenruf", 20000, program.id());
    ASSERT_NE(window, nullptr);
    wintest::Click(window, IDC_MODE_LIST);
    Select(window, 2);
    SendMessageA(GetDlgItem(window, IDC_MESSAGE), WM_SETTEXT, 0,
                 reinterpret_cast<LPARAM>("Stresstest"));
    wintest::Click(window, IDC_SEND);
    Sleep(static_cast<DWORD>(round * 40));  // end at different moments of the sends
    PostMessageA(GetDlgItem(window, IDCANCEL), BM_CLICK, 0, 0);
    DWORD code = 99;
    ASSERT_TRUE(program.WaitForExit(10000, &code)) << "the program hangs";
    EXPECT_EQ(code, 0u);
  }
  EXPECT_EQ(ReadUserString(kSettingsKey, kInstanceCountValue), "0");
  EXPECT_EQ(harness::NetSendCommandLines(network).size(), 3u * kRounds);
}

}  // namespace
}  // namespace botenruf
