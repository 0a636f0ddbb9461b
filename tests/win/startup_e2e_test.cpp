// The real Botenruf.exe under Wine: start, single instance, end, and what stays in the registry.
#include <gtest/gtest.h>

#include "app/settings_store.h"
#include "resource.h"
#include "support/win_test_support.h"

namespace botenruf {
namespace {

using wintest::ProgramProcess;
using wintest::ReadUserString;

constexpr uint32_t kStartTimeout = 20000;

class StartupTest : public ::testing::Test {
 protected:
  void SetUp() override {
    wintest::DeleteUserKeyTree(kSettingsKey);
    // Keep the program away from a list file of an earlier run.
    const std::string dir = wintest::ScratchDir("startup");
    wintest::WriteUserString(kSettingsKey, "RechnerListePfad", dir + "\\Rechner.txt");
  }
  void TearDown() override {
    for (HWND window : wintest::WindowsWithCaption("Botenruf"))
      PostMessageA(window, WM_CLOSE, 0, 0);
  }

  static void ClickEnd(HWND window) { SendMessageA(GetDlgItem(window, IDCANCEL), BM_CLICK, 0, 0); }
};

TEST_F(StartupTest, RunAndEndWithBeendenLeavesAllSettings) {
  ProgramProcess program;
  ASSERT_TRUE(program.started());
  HWND window = wintest::WaitForWindow("Botenruf", kStartTimeout, program.id());
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(ReadUserString(kSettingsKey, kInstanceCountValue), "1");
  EXPECT_EQ(wintest::WindowText(GetDlgItem(window, IDC_NOTIFY_GROUP)), "Benachrichtigung [0]");
  ClickEnd(window);
  DWORD code = 99;
  ASSERT_TRUE(program.WaitForExit(10000, &code));
  EXPECT_EQ(code, 0u);
  EXPECT_EQ(ReadUserString(kSettingsKey, kInstanceCountValue), "0");
  for (const char* name : kSettingNames) {
    SCOPED_TRACE(name);
    EXPECT_NE(ReadUserString(kSettingsKey, name)[0], '<');
  }
  EXPECT_EQ(ReadUserString(kSettingsKey, "MaxThreads"), "20");
  EXPECT_EQ(ReadUserString(kSettingsKey, "SingleSuccessMsg"), "1");
}

TEST_F(StartupTest, SecondStartWithSingleInstanceEndsWithoutAWindow) {
  ProgramProcess first;
  HWND window = wintest::WaitForWindow("Botenruf", kStartTimeout, first.id());
  ASSERT_NE(window, nullptr);
  ProgramProcess second;
  ASSERT_TRUE(second.started());
  ASSERT_TRUE(second.WaitForExit(kStartTimeout));
  EXPECT_EQ(wintest::WindowsWithCaption("Botenruf").size(), 1u);
  EXPECT_EQ(ReadUserString(kSettingsKey, kInstanceCountValue), "1");
  ClickEnd(window);
  ASSERT_TRUE(first.WaitForExit(10000));
  EXPECT_EQ(ReadUserString(kSettingsKey, kInstanceCountValue), "0");
}

TEST_F(StartupTest, SecondStartWithoutSingleInstanceOpensASecondWindow) {
  wintest::WriteUserString(kSettingsKey, "SingleInstance", "0");
  ProgramProcess first;
  HWND firstWindow = wintest::WaitForWindow("Botenruf", kStartTimeout, first.id());
  ASSERT_NE(firstWindow, nullptr);
  ProgramProcess second;
  HWND secondWindow = wintest::WaitForWindow("Botenruf", kStartTimeout, second.id());
  ASSERT_NE(secondWindow, nullptr);
  EXPECT_NE(firstWindow, secondWindow);
  EXPECT_EQ(ReadUserString(kSettingsKey, kInstanceCountValue), "2");
  ClickEnd(secondWindow);
  ASSERT_TRUE(second.WaitForExit(10000));
  EXPECT_EQ(ReadUserString(kSettingsKey, kInstanceCountValue), "1");
  ClickEnd(firstWindow);
  ASSERT_TRUE(first.WaitForExit(10000));
}

TEST_F(StartupTest, AutostartValueIsWrittenAtStartAndRemovedWhenSwitchedOff) {
  wintest::WriteUserString(kSettingsKey, "AutoStart", "1");
  wintest::DeleteUserKeyTree(std::string(kAutostartKey) + "\\dummy");
  ProgramProcess program;
  HWND window = wintest::WaitForWindow("Botenruf", kStartTimeout, program.id());
  ASSERT_NE(window, nullptr);
  const std::string path = ReadUserString(kAutostartKey, "Botenruf");
  EXPECT_NE(path.find("Botenruf.exe"), std::string::npos) << path;
  ClickEnd(window);
  ASSERT_TRUE(program.WaitForExit(10000));
  wintest::WriteUserString(kSettingsKey, "AutoStart", "0");
  ProgramProcess again;
  window = wintest::WaitForWindow("Botenruf", kStartTimeout, again.id());
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(ReadUserString(kAutostartKey, "Botenruf"), "<missing>");
  ClickEnd(window);
  ASSERT_TRUE(again.WaitForExit(10000));
}

}  // namespace
}  // namespace botenruf
