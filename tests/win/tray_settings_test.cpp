// The notification-area icon and the settings menu of the real main window, in Wine's
// virtual desktop (which has a notification area).
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/settings_store.h"
#include "resource.h"
#include "support/main_window_fixture.h"
#include "support/win_test_support.h"

namespace botenruf {
namespace {

using ::testing::ElementsAre;
using wintest::PumpUntil;
using wintest::ShellHasIcon;

constexpr char kListFile[] =
    "//begin\r\nPC1 Eins\r\nPC2 Zwei\r\n//end\r\n//v_begin\r\nAlle [PC1,PC2]\r\n//v_end\r\n";

class TrayTest : public wintest::MainWindowFixture {
 protected:
  void SetUp() override {
    network.Reset("[station PC1]\nsend_delay_ms = 1500\n[station PC2]\nsend_delay_ms = 1500\n");
    UseListFile(kListFile);
  }
  void Tray(UINT mouseMessage) { SendMessageA(window_, WM_APP_TRAY_CALLBACK, 1, mouseMessage); }
  bool Visible() { return IsWindowVisible(window_) != 0; }
};

TEST_F(TrayTest, MinimiseWithSystrayHidesTheWindowAndShowsTheIcon) {
  Open();
  EXPECT_TRUE(Checked(IDM_MINIMIZE_SYSTRAY));
  SendMessageA(window_, WM_SYSCOMMAND, SC_MINIMIZE, 0);
  EXPECT_FALSE(Visible());
  EXPECT_FALSE(IsIconic(window_));
  EXPECT_TRUE(ShellHasIcon(window_, 1));
  EXPECT_EQ(notifyIcon->lastTip(), "Einzelempfänger[0]: Eins");
  Tray(WM_LBUTTONDOWN);
  EXPECT_TRUE(Visible());
  EXPECT_FALSE(ShellHasIcon(window_, 1));
}

TEST_F(TrayTest, WithTaskbarMinimisingALeftClickDoesNotRestore) {
  Open();
  Command(IDM_MINIMIZE_TASKBAR);
  EXPECT_TRUE(app->settings().TaskMinimize());
  EXPECT_TRUE(Checked(IDM_MINIMIZE_TASKBAR));
  EXPECT_FALSE(Checked(IDM_MINIMIZE_SYSTRAY));
  SendMessageA(window_, WM_SYSCOMMAND, SC_MINIMIZE, 0);
  EXPECT_TRUE(IsIconic(window_));  // the ordinary minimising
  EXPECT_FALSE(ShellHasIcon(window_, 1));
  ShowWindow(window_, SW_RESTORE);
  window->MoveToTray();
  Tray(WM_LBUTTONDOWN);
  EXPECT_FALSE(Visible());
  Tray(WM_MBUTTONDBLCLK);  // its lowest bits say "left button down"
  EXPECT_FALSE(Visible());
  Tray(WM_LBUTTONDBLCLK);
  EXPECT_TRUE(Visible());
  EXPECT_FALSE(ShellHasIcon(window_, 1));
}

TEST_F(TrayTest, MiddleDoubleClickRestoresLikeALeftClick) {
  Open();
  window->MoveToTray();
  Tray(WM_MBUTTONDBLCLK);
  EXPECT_TRUE(Visible());
}

TEST_F(TrayTest, TnaStartMovesToTheTrayAfterTheFirstPaint) {
  Open("", true);
  EXPECT_TRUE(PumpUntil([&] { return !Visible(); }, 2000));
  EXPECT_TRUE(window->inTray());
  EXPECT_TRUE(ShellHasIcon(window_, 1));
  EXPECT_EQ(notifyIcon->lastTip(), "Einzelempfänger[0]: Eins");
}

TEST_F(TrayTest, TipFollowsTheSendCount) {
  Open();
  wintest::Click(window_, IDC_MODE_LIST);
  SetItemText(IDC_MESSAGE, "Hallo");
  window->MoveToTray();
  EXPECT_EQ(notifyIcon->lastTip(), "Verteilerliste[0]: Alle");
  const DWORD start = GetTickCount();
  wintest::Click(window_, IDC_SEND);
  ASSERT_TRUE(PumpUntil([&] { return notifyIcon->lastTip() == "Verteilerliste[2]: Alle"; }, 1000));
  EXPECT_LE(GetTickCount() - start, 350u);
  EXPECT_TRUE(PumpUntil([&] { return notifyIcon->lastTip() == "Verteilerliste[0]: Alle"; }, 10000));
  EXPECT_TRUE(ShellHasIcon(window_, 1));
  EXPECT_FALSE(Visible());  // a count change keeps the window in the tray
}

TEST_F(TrayTest, EndingFromTheTrayMenuLeavesNoIcon) {
  Open();
  window->MoveToTray();
  ASSERT_TRUE(ShellHasIcon(window_, 1));
  HWND hwnd = window_;
  Command(IDM_TRAY_EXIT);
  EXPECT_FALSE(ShellHasIcon(hwnd, 1));
  EXPECT_FALSE(notifyIcon->shown());
}

TEST_F(TrayTest, ARestartedShellGetsTheIconBack) {
  Open();
  window->MoveToTray();
  wintest::DeleteIconBehindTheWindowsBack(window_, 1);
  ASSERT_FALSE(ShellHasIcon(window_, 1));
  SendMessageA(window_, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
  EXPECT_TRUE(ShellHasIcon(window_, 1));
}

TEST_F(TrayTest, SettingsTogglesFlipTheirSettingAndCheckMark) {
  Open();
  struct Toggle {
    int item;
    bool (SettingsStore::*value)() const;
  } toggles[] = {
      {IDM_AUTOSTART, &SettingsStore::AutoStart},
      {IDM_TNA_START, &SettingsStore::TNAStart},
      {IDM_SUCCESS_SINGLE, &SettingsStore::SingleSuccessMsg},
      {IDM_SUCCESS_LIST, &SettingsStore::SuccessMsg},
      {IDM_SUCCESS_DOMAIN, &SettingsStore::DomainSuccessMsg},
      {IDM_GRID_LINES, &SettingsStore::GridLines},
      {IDM_FULL_ROW, &SettingsStore::FullRow},
      {IDM_VERSAND_INFO, &SettingsStore::VersandInfo},
      {IDM_TOPMOST, &SettingsStore::SystemModal},
  };
  for (const Toggle& toggle : toggles) {
    SCOPED_TRACE(toggle.item);
    const bool before = (app->settings().*toggle.value)();
    EXPECT_EQ(Checked(toggle.item), before);
    Command(toggle.item);
    EXPECT_EQ((app->settings().*toggle.value)(), !before);
    EXPECT_EQ(Checked(toggle.item), !before);
  }
  EXPECT_NE(GetWindowLongA(window_, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
  // The three "Well done..." switches are independent of each other.
  EXPECT_FALSE(app->settings().SingleSuccessMsg());
  EXPECT_TRUE(app->settings().SuccessMsg());
  EXPECT_TRUE(app->settings().DomainSuccessMsg());
}

TEST_F(TrayTest, ListenpfadWithANewFileRefillsTheBox) {
  const std::string other = scratch + "\\andere.txt";
  wintest::WriteTextFile(other, "//begin\r\nPC7 Sieben\r\n//end\r\n");
  Open();
  ASSERT_THAT(BoxEntries(), ElementsAre("Eins", "Zwei"));
  fileDialogs->answers = {""};  // cancelled: nothing changes
  Command(IDM_LIST_PATH);
  EXPECT_THAT(BoxEntries(), ElementsAre("Eins", "Zwei"));
  fileDialogs->answers = {other};
  Command(IDM_LIST_PATH);
  EXPECT_EQ(fileDialogs->requests.back().initialFile, scratch + "\\Rechner.txt");
  EXPECT_EQ(app->settings().RechnerListePfad(), other);
  EXPECT_THAT(BoxEntries(), ElementsAre("Sieben"));
}

}  // namespace
}  // namespace botenruf
