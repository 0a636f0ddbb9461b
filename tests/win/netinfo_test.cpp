// "Info" in single-recipient and list mode against the simulated network: the station query
// and its dialog, the list member check window, and closing or ending during a probe.
#include <windows.h>

#include <commctrl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <set>
#include <thread>

#include "netinfo/win32/list_check_dialog.h"
#include "resource.h"
#include "support/main_window_fixture.h"
#include "support/win_test_support.h"

namespace botenruf {
namespace {

using ::testing::ElementsAre;
using wintest::PumpUntil;
using wintest::WindowText;
namespace harness = netsim::harness;

constexpr char kListFile[] =
    "//begin\r\nPC1 Empfang\r\nPC2 Zwei\r\nPC9 Neun\r\n//end\r\n"
    "//v_begin\r\nLeer []\r\nFuenf [PC1,PC2,PC3,PC4,PC5]\r\n//v_end\r\n";
constexpr char kNetwork[] =
    "[station PC1]\nuser = MEIER\nuser = ABEL\nip = 192.168.1.1\nmac = 00-0C-29-00-00-01\n"
    "view_delay_ms = 300\n"
    "[station PC2]\nuser = ZANDER\nview_delay_ms = 300\n"  // no address: ping cannot find it
    "[station PC3]\nonline = 0\nview_delay_ms = 300\n"
    "[station PC4]\nview_delay_ms = 300\n[station PC5]\nview_delay_ms = 300\n";

std::set<std::string> TempFiles() {
  char temp[MAX_PATH] = {};
  GetTempPathA(sizeof(temp), temp);
  std::set<std::string> names;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((std::string(temp) + "msg*.tmp").c_str(), &found);
  for (BOOL more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileA(search, &found))
    names.insert(found.cFileName);
  if (search != INVALID_HANDLE_VALUE)
    FindClose(search);
  return names;
}

HWND FindDialog(const std::string& caption) {
  return FindWindowA("#32770", caption.c_str());
}

std::vector<std::string> Rows(HWND list) {
  win::ListView view(list);
  std::vector<std::string> rows;
  for (int i = 0; i < view.Count(); ++i)
    rows.push_back(view.Text(i, 0) + "|" + view.Text(i, 1));
  return rows;
}

void ClickHeader(HWND dialog, int column) {
  NMLISTVIEW click = {};
  click.hdr.hwndFrom = GetDlgItem(dialog, IDC_LIST_CHECK_ROWS);
  click.hdr.idFrom = IDC_LIST_CHECK_ROWS;
  click.hdr.code = LVN_COLUMNCLICK;
  click.iSubItem = column;
  SendMessageA(dialog, WM_NOTIFY, IDC_LIST_CHECK_ROWS, reinterpret_cast<LPARAM>(&click));
}

class NetInfoTest : public wintest::MainWindowFixture {
 protected:
  void SetUp() override {
    network.Reset(kNetwork);
    UseListFile(kListFile);
    tempBefore = TempFiles();
  }
  bool NoNewTempFiles() {
    const std::set<std::string> now = TempFiles();
    return std::includes(tempBefore.begin(), tempBefore.end(), now.begin(), now.end());
  }
  bool InfoEnabled() { return IsWindowEnabled(Item(IDC_INFO)) != 0; }
  HWND StartListCheck(int list) {
    wintest::Click(window_, IDC_MODE_LIST);
    SelectEntry(list);
    wintest::Click(window_, IDC_INFO);
    HWND dialog = nullptr;
    PumpUntil([&] { return (dialog = FindDialog("\"Fuenf\" (Suche)")) != nullptr; }, 5000);
    return dialog;
  }
  std::set<std::string> tempBefore;
};

// Asks a window of another thread without waiting forever on it.
LRESULT Ask(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
  DWORD_PTR result = 0;
  SendMessageTimeoutA(window, message, wParam, lParam, SMTO_NORMAL, 2000, &result);
  return static_cast<LRESULT>(result);
}

std::string AskText(HWND window) {
  char text[256] = {};
  Ask(window, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text));
  return text;
}

// The station dialog of this process: a dialog with the station name field.
HWND FindStationDialog() {
  for (HWND dialog = FindWindowExA(nullptr, nullptr, "#32770", nullptr); dialog;
       dialog = FindWindowExA(nullptr, dialog, "#32770", nullptr)) {
    DWORD process = 0;
    GetWindowThreadProcessId(dialog, &process);
    if (process == GetCurrentProcessId() && GetDlgItem(dialog, IDC_STATION_INFO_NAME))
      return dialog;
  }
  return nullptr;
}

// A user at the station dialog: reads what it shows, then presses OK.
struct StationDialogReader {
  StationDialogReader()
      : thread([this] {
          HWND dialog = nullptr;
          for (int i = 0; i < 1000 && !(dialog = FindStationDialog()); ++i)
            Sleep(10);
          if (dialog) {
            caption = AskText(dialog);
            station = AskText(GetDlgItem(dialog, IDC_STATION_INFO_NAME));
            HWND users = GetDlgItem(dialog, IDC_STATION_INFO_USERS);
            for (int i = 0; i < Ask(users, CB_GETCOUNT); ++i) {
              char text[256] = {};
              Ask(users, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
              userList.push_back(text);
            }
            shownUser = AskText(users);
            ip = AskText(GetDlgItem(dialog, IDC_STATION_INFO_IP));
            mac = AskText(GetDlgItem(dialog, IDC_STATION_INFO_MAC));
            PostMessageA(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
          }
          finished = true;
        }) {}
  ~StationDialogReader() { thread.join(); }

  std::string caption, station, shownUser, ip, mac;
  std::vector<std::string> userList;
  std::atomic<bool> finished{false};
  std::thread thread;
};

TEST_F(NetInfoTest, StationInfoShowsUsersAddressesAndEnablesInfoAgain) {
  Open();
  SelectEntry(0);  // "Empfang" = PC1
  {
    StationDialogReader user;
    wintest::Click(window_, IDC_INFO);
    EXPECT_FALSE(InfoEnabled());
    ASSERT_TRUE(PumpUntil([&] { return user.finished && InfoEnabled(); }, 15000));
    EXPECT_EQ(user.caption, "PC1");
    EXPECT_EQ(user.station, "PC1");
    EXPECT_THAT(user.userList, ElementsAre("    ABEL", "    MEIER"));  // sorted
    EXPECT_EQ(user.shownUser, "    ABEL");
    EXPECT_EQ(user.ip, "192.168.1.1");
    EXPECT_EQ(user.mac, "00-0C-29-00-00-01");
  }
  StationDialogReader noPing;
  SendMessageA(Item(IDC_RECIPIENT), CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
  SetItemText(IDC_RECIPIENT, " pc2 ");  // typed, not chosen
  wintest::Click(window_, IDC_INFO);
  ASSERT_TRUE(PumpUntil([&] { return noPing.finished && InfoEnabled(); }, 15000));
  EXPECT_EQ(noPing.station, "PC2");
  EXPECT_THAT(noPing.userList, ElementsAre("    ZANDER"));
  EXPECT_NE(noPing.mac, "");
  EXPECT_EQ(noPing.ip, "");
  EXPECT_TRUE(NoNewTempFiles());
}

TEST_F(NetInfoTest, ListCheckRowsSortAndTheWindowGoesWhenClosed) {
  Open();
  HWND dialog = StartListCheck(1);
  ASSERT_NE(dialog, nullptr);
  EXPECT_FALSE(InfoEnabled());
  wintest::Click(window_, IDC_MODE_SINGLE);  // another mode's Info is free meanwhile
  EXPECT_TRUE(InfoEnabled());
  wintest::Click(window_, IDC_MODE_LIST);
  HWND list = GetDlgItem(dialog, IDC_LIST_CHECK_ROWS);
  ClickHeader(dialog, 0);  // ignored during the search
  ASSERT_TRUE(PumpUntil([&] { return WindowText(GetDlgItem(dialog, IDOK)) == "OK"; }, 15000));
  EXPECT_EQ(WindowText(dialog), "\"Fuenf\" (Fertig)");
  EXPECT_EQ(WindowText(GetDlgItem(dialog, IDC_BROWSER_STATUS)), "Liste bearbeitet.");
  EXPECT_THAT(Rows(list),
              ElementsAre("PC1 {Empfang}|ja", "PC2 {Zwei}|ja", "PC3|nein", "PC4|ja", "PC5|ja"));
  ClickHeader(dialog, 1);
  EXPECT_THAT(Rows(list),
              ElementsAre("PC1 {Empfang}|ja", "PC2 {Zwei}|ja", "PC4|ja", "PC5|ja", "PC3|nein"));
  ClickHeader(dialog, 1);
  EXPECT_THAT(Rows(list),
              ElementsAre("PC3|nein", "PC1 {Empfang}|ja", "PC2 {Zwei}|ja", "PC4|ja", "PC5|ja"));
  wintest::Click(dialog, IDOK);
  ASSERT_TRUE(PumpUntil([&] { return !IsWindow(dialog) && InfoEnabled(); }, 5000));
  EXPECT_TRUE(NoNewTempFiles());

  SelectEntry(0);  // "Leer": no members, no window
  wintest::Click(window_, IDC_INFO);
  wintest::PumpFor(200);
  EXPECT_EQ(FindWindowA("#32770", "Verteilerlisten-Info"), nullptr);
  EXPECT_TRUE(InfoEnabled());
}

// Closing during the second of five members: that member's row still comes, no later member
// is probed, and the window ends without flashing. The owner here keeps the window after the
// end message, so what it shows can be read.
TEST_F(NetInfoTest, ClosingDuringTheSecondMemberFinishesItAndProbesNoMore) {
  HWND owner = CreateWindowExA(0, "STATIC", "owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                               nullptr, nullptr);
  auto query = std::make_shared<NetQuery>(services.workers, "PC1,PC2,PC3,PC4,PC5,");
  win::ListCheckDialog dialog(owner, "Fuenf", query, app->directory(), {});
  ASSERT_TRUE(dialog.CreateModeless());
  win::StartListCheckWorker(query, ListMembers(query->target(), app->directory()), true, owner,
                            dialog.hwnd());
  HWND status = GetDlgItem(dialog.hwnd(), IDC_BROWSER_STATUS);
  ASSERT_TRUE(PumpUntil([&] { return WindowText(status) == "Teste: \"Zwei\"..."; }, 5000));
  wintest::Click(dialog.hwnd(), IDOK);
  EXPECT_EQ(dialog.Caption(), "\"Fuenf\" (Abbruch...)");
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog.hwnd(), IDOK)));
  ASSERT_TRUE(PumpUntil([&] { return query->done.load(); }, 5000));
  EXPECT_EQ(dialog.Caption(), "\"Fuenf\" (Fertig)");
  EXPECT_THAT(Rows(GetDlgItem(dialog.hwnd(), IDC_LIST_CHECK_ROWS)),
              ElementsAre("PC1 {Empfang}|ja", "PC2 {Zwei}|ja"));
  EXPECT_FALSE(KillTimer(dialog.hwnd(), IDT_LIST_CHECK_FLASH));  // it flashes no more
  int probes = 0;
  for (const auto& entry : harness::ReadLog(network))
    probes += entry.tool == "net" ? 1 : 0;
  EXPECT_EQ(probes, 2);
  dialog.DestroyWindow();
  DestroyWindow(owner);
}

// Closing the window or ending the program while a member is probed, again and again: it must
// never hang, and no output file may stay behind.
TEST_F(NetInfoTest, ClosingOrEndingDuringAProbeLeavesNothingBehind) {
  constexpr int kRounds = 20;
  for (int round = 0; round < kRounds; ++round) {
    SCOPED_TRACE(round);
    Open();
    HWND dialog = StartListCheck(1);
    ASSERT_NE(dialog, nullptr);
    wintest::PumpFor(static_cast<uint32_t>(50 + round * 17));
    const DWORD start = GetTickCount();
    if (round % 2 == 0) {
      wintest::Click(dialog, IDOK);
      ASSERT_TRUE(PumpUntil([&] { return !IsWindow(dialog) && InfoEnabled(); }, 5000));
    }
    Close();
    EXPECT_LT(GetTickCount() - start, 3000u);
    EXPECT_TRUE(NoNewTempFiles());
  }
}

}  // namespace
}  // namespace botenruf
