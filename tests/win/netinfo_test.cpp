// "Info" in every mode against the simulated network: the station query and its dialog, the
// list member check, the domain browser with its take-over into the list file, the shares
// browser, and closing or ending while their queries run.
#include <windows.h>

#include <commctrl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <set>

#include "platform/win32/list_view.h"
#include "support/main_window_fixture.h"
#include "text/text.h"

namespace botenruf {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using wintest::ListRows;
using wintest::OwnDialog;
using wintest::PumpUntil;
using wintest::WindowText;
namespace harness = netsim::harness;

constexpr char kListFile[] =
    "//begin\r\nPC1 Empfang\r\n//end\r\n"
    "//v_begin\r\nLeer []\r\nFuenf [PC1,PC2,PC3,PC4,PC5]\r\n//v_end\r\n";
constexpr char kNetwork[] =
    "[domain BUERO]\nview_delay_ms = 200\n"
    "[station PC1]\ndomain = BUERO\ncomment = Empfang\nuser = MEIER\nuser = ABEL\n"
    "ip = 192.168.1.1\nmac = 00-0C-29-00-00-01\nview_delay_ms = 300\n"
    "[station PC2]\ndomain = BUERO\ncomment = Buchhaltung\nuser = ZANDER\n"
    "mac = 00-0C-29-00-00-02\nview_delay_ms = 300\n"  // no address: ping cannot find it
    "share = DATEN | Platte | Gemeinsame Daten\nshare = Drucker | Druck | Laser\n"
    "share = X&calc | Platte\n"
    "[station PC3]\nonline = 0\nview_delay_ms = 300\n"
    "[station PC4]\ndomain = BUERO\ncomment = Lager\nview_delay_ms = 300\n"
    "[station PC5]\nview_delay_ms = 300\nrefuses_caller = 1\n"  // there, but access denied
    "[domain KAPUTT]\nview_error = 6118\n";

class NetInfoTest : public wintest::MainWindowFixture {
 protected:
  void SetUp() override {
    network.Reset(kNetwork);
    UseListFile(kListFile);
    tempBefore = wintest::TempOutputFiles();
  }
  bool NoNewTempFiles() {
    const std::set<std::string> now = wintest::TempOutputFiles();
    return std::includes(tempBefore.begin(), tempBefore.end(), now.begin(), now.end());
  }
  static std::string Status(HWND dialog) { return ItemText(dialog, IDC_BROWSER_STATUS); }
  // The window opened, list mode, "Fuenf" chosen, "Info" pressed: the check while it runs.
  HWND StartListCheck() {
    Open();
    Click(IDC_MODE_LIST);
    SelectEntry(1);
    Click(IDC_INFO);
    HWND dialog = nullptr;
    PumpUntil([&] { return (dialog = OwnDialog("\"Fuenf\" (Suche)")) != nullptr; }, 5000);
    return dialog;
  }
  // The window opened, domain mode, BUERO chosen, "Info" pressed: the browser once its search
  // has ended.
  HWND OpenBrowser(int entry = 0, const char* domain = "BUERO") {
    Open();
    Click(IDC_MODE_DOMAIN);
    PumpUntil([&] { return !BoxEntries().empty(); }, 10000);
    SelectEntry(entry);
    Click(IDC_INFO);
    return Finished(domain, 30000);
  }
  // The dialog about `name` once its search has ended; nullptr when it did not end in time.
  static HWND Finished(const std::string& name, uint32_t timeoutMs) {
    HWND dialog = nullptr;
    const auto ended = [&] {
      dialog = OwnDialog("\"" + name + "\" (Fertig)");
      return dialog && ItemText(dialog, IDOK) == "OK";
    };
    return PumpUntil(ended, timeoutMs) ? dialog : nullptr;
  }
  // Sixty stations more than the domain browser shows at once.
  static std::string ManyStations() {
    std::string many = kNetwork;
    for (int i = 10; i < 70; ++i)
      many += Format("[station WS%d]\ndomain = BUERO\n", i);
    return many;
  }
  std::set<std::string> tempBefore;
};

// The users come sorted in their box; Info is free again once the dialog is closed.
TEST_F(NetInfoTest, StationInfoShowsUsersAndAddressesAndEnablesInfoAgain) {
  Open();
  wintest::WhenShown dialog(
      "PC1",
      [&](HWND window) {
        EXPECT_EQ(ItemText(window, IDC_STATION_INFO_NAME), "PC1");
        HWND users = GetDlgItem(window, IDC_STATION_INFO_USERS);
        EXPECT_THAT(wintest::ComboItems(users), ElementsAre("ABEL", "MEIER"));
        EXPECT_EQ(WindowText(users), "ABEL");
        EXPECT_EQ(ItemText(window, IDC_STATION_INFO_IP), "192.168.1.1");
        EXPECT_EQ(ItemText(window, IDC_STATION_INFO_MAC), "00-0C-29-00-00-01");
      },
      15000);
  Click(IDC_INFO);
  EXPECT_FALSE(Enabled(IDC_INFO));
  ASSERT_TRUE(PumpUntil([&] { return dialog.ran() && Enabled(IDC_INFO); }, 15000));
  EXPECT_TRUE(NoNewTempFiles());
}

TEST_F(NetInfoTest, ListCheckRowsSortAndTheWindowGoesWhenClosed) {
  HWND dialog = StartListCheck();
  ASSERT_NE(dialog, nullptr);
  EXPECT_FALSE(Enabled(IDC_INFO));
  Click(IDC_MODE_SINGLE);  // another mode's Info is free meanwhile
  EXPECT_TRUE(Enabled(IDC_INFO));
  Click(IDC_MODE_LIST);
  HWND list = GetDlgItem(dialog, IDC_LIST_CHECK_ROWS);
  wintest::NotifyList(dialog, IDC_LIST_CHECK_ROWS, LVN_COLUMNCLICK, 0);  // ignored meanwhile
  ASSERT_EQ(Finished("Fuenf", 15000), dialog);
  EXPECT_EQ(Status(dialog), "Liste bearbeitet.");
  EXPECT_THAT(ListRows(list),
              ElementsAre("PC1 {Empfang}|ja", "PC2|ja", "PC3|nein", "PC4|ja", "PC5|ja"));
  wintest::NotifyList(dialog, IDC_LIST_CHECK_ROWS, LVN_COLUMNCLICK, 1);
  EXPECT_THAT(ListRows(list),
              ElementsAre("PC1 {Empfang}|ja", "PC2|ja", "PC4|ja", "PC5|ja", "PC3|nein"));
  Click(dialog, IDOK);
  ASSERT_TRUE(PumpUntil([&] { return !IsWindow(dialog) && Enabled(IDC_INFO); }, 5000));
  EXPECT_TRUE(NoNewTempFiles());

  SelectEntry(0);  // "Leer": no members, no window
  Click(IDC_INFO);
  wintest::PumpFor(200);
  for (const char* caption : {"Verteilerlisten-Info", "\"Leer\" (Suche)", "\"Leer\" (Fertig)"})
    EXPECT_EQ(OwnDialog(caption), nullptr) << caption;
  EXPECT_TRUE(Enabled(IDC_INFO));
}

// More members than the window shows: the columns leave room for the vertical scroll bar, and
// the status line takes the window's width as it grows.
TEST_F(NetInfoTest, ALongListCheckFitsItsColumnsAndStatusLineToTheWindow) {
  std::string members;
  for (int i = 1; i <= 30; ++i)
    members += Format("%sX%02d", i > 1 ? "," : "", i);
  UseListFile("//v_begin\r\nViele [" + members + "]\r\n//v_end\r\n");
  Open();
  Click(IDC_MODE_LIST);
  SelectEntry(0);
  Click(IDC_INFO);
  HWND dialog = Finished("Viele", 60000);
  ASSERT_NE(dialog, nullptr);
  const LONG style = GetWindowLongA(GetDlgItem(dialog, IDC_LIST_CHECK_ROWS), GWL_STYLE);
  EXPECT_TRUE(style & WS_VSCROLL);
  EXPECT_FALSE(style & WS_HSCROLL);
  RECT window = {}, client = {}, status = {};
  GetWindowRect(dialog, &window);
  SetWindowPos(dialog, nullptr, 0, 0, window.right - window.left + 300, window.bottom - window.top,
               SWP_NOMOVE | SWP_NOZORDER);
  GetClientRect(dialog, &client);
  GetWindowRect(GetDlgItem(dialog, IDC_BROWSER_STATUS), &status);
  POINT left = {status.left, status.top};
  ScreenToClient(dialog, &left);
  EXPECT_EQ(status.right - status.left, client.right - 2 * left.x);
  Click(dialog, IDOK);
}

TEST_F(NetInfoTest, DomainStationsAreTakenOverAndWrittenToTheListFile) {
  HWND browser = OpenBrowser();
  ASSERT_NE(browser, nullptr);
  HWND list = GetDlgItem(browser, IDC_DOMAIN_STATIONS);
  EXPECT_THAT(ListRows(list),
              ElementsAre("\\\\PC1|Empfang", "\\\\PC2|Buchhaltung", "\\\\PC4|Lager"));
  EXPECT_EQ(Status(browser), "Domäne bearbeitet: 3 Stationen.");
  SendMessageA(list, WM_CHAR, 1, 0);  // Ctrl+A
  EXPECT_EQ(win::ListView(list).SelectedRows().size(), 3u);
  // Edited by hand while the program runs: the take-over keeps what was added.
  wintest::WriteTextFile(scratch + "\\Rechner.txt",
                         "//begin\r\nPC1 Empfang\r\nPC7 Hand\r\n//end\r\n//v_begin\r\nLeer []\r\n"
                         "Fuenf [PC1,PC2,PC3,PC4,PC5]\r\nHand [PC7]\r\n//v_end\r\n");
  SendMessageA(browser, WM_COMMAND, IDM_TAKE_OVER_SINGLES, 0);
  EXPECT_EQ(Status(browser), "2 übernommen, 1 vorhanden");
  SYSTEMTIME today;
  GetLocalTime(&today);
  EXPECT_EQ(wintest::ReadTextFile(scratch + "\\Rechner.txt"),
            Format("//Stand: %02u.%02u.%04u\r\n//Version 3.0.0.15\r\n", today.wDay, today.wMonth,
                   today.wYear) +
                "//begin\r\nPC1 Empfang\r\nPC7 Hand\r\nPC2 Buchhaltung\r\nPC4 Lager\r\n//end\r\n"
                "//v_begin\r\nLeer []\r\nFuenf [PC1,PC2,PC3,PC4,PC5]\r\nHand [PC7]\r\n//v_end\r\n");
  Click(IDC_MODE_SINGLE);  // the box shows the new recipients
  EXPECT_THAT(BoxEntries(), ElementsAre("Empfang", "Hand", "Buchhaltung", "Lager"));
}

// A take-over leaves the recipient box on what the user chose: the list, or a typed name; also
// when the lists were edited by hand meanwhile.
TEST_F(NetInfoTest, ATakeOverLeavesTheChosenRecipientInTheBox) {
  HWND browser = OpenBrowser();
  ASSERT_NE(browser, nullptr);
  HWND stations = GetDlgItem(browser, IDC_DOMAIN_STATIONS);
  Click(IDC_MODE_LIST);
  SelectEntry(1);
  wintest::WriteTextFile(scratch + "\\Rechner.txt",
                         "//begin\r\nPC1 Empfang\r\n//end\r\n//v_begin\r\nHand []\r\nLeer []\r\n"
                         "Fuenf [PC1,PC3]\r\n//v_end\r\n");
  wintest::SelectRows(stations, {1});
  SendMessageA(browser, WM_COMMAND, IDM_TAKE_OVER_LIST, 0);  // a new single recipient as well
  EXPECT_EQ(ItemText(IDC_RECIPIENT), "Fuenf");
  EXPECT_EQ(SelectedEntry(), 2);
  EXPECT_THAT(BoxEntries(), ElementsAre("Hand", "Leer", "Fuenf"));
  EXPECT_THAT(wintest::ReadTextFile(scratch + "\\Rechner.txt"),
              ::testing::HasSubstr("\r\nHand []\r\nLeer []\r\nFuenf [PC1,PC3,PC2]\r\n"));
  Click(IDC_MODE_SINGLE);
  TypeRecipient("PC5");
  wintest::SelectRows(stations, {2});
  SendMessageA(browser, WM_COMMAND, IDM_TAKE_OVER_SINGLES, 0);
  EXPECT_THAT(BoxEntries(), ElementsAre("Empfang", "Buchhaltung", "Lager"));
  EXPECT_EQ(ItemText(IDC_RECIPIENT), "PC5");
  EXPECT_EQ(SelectedEntry(), -1);
}

TEST_F(NetInfoTest, ATakeOverWhoseSaveFailsSaysSoInTheStatusLine) {
  // A list path that names a folder cannot be read, so nothing may be written over it.
  app->settings().SetRechnerListePfad(scratch);
  app->ReloadDirectory();
  HWND browser = OpenBrowser();
  ASSERT_NE(browser, nullptr);
  wintest::SelectRows(GetDlgItem(browser, IDC_DOMAIN_STATIONS), {2});
  SendMessageA(browser, WM_COMMAND, IDM_TAKE_OVER_SINGLES, 0);
  EXPECT_EQ(Status(browser),
            "Die Rechnerliste wurde nicht gespeichert: sie konnte beim Laden "
            "nicht gelesen werden.");
  EXPECT_EQ(app->directory().FindStation("PC4"), 0);  // kept in memory
}

// A list file read only in part (here one saved as UTF-16) is not replaced without a question:
// "Nein" keeps it as it is, "Ja" keeps it as a copy beside the new one.
TEST_F(NetInfoTest, ATakeOverAsksBeforeReplacingAPartlyReadFile) {
  std::string utf16 = "\xFF\xFE";
  for (char c : std::string(kListFile))
    utf16 += std::string{c, '\0'};
  UseListFile(utf16);
  const std::string file = scratch + "\\Rechner.txt";
  HWND browser = OpenBrowser();
  ASSERT_NE(browser, nullptr);
  boxes->answers = {false, true};
  for (int row : {2, 0}) {
    wintest::SelectRows(GetDlgItem(browser, IDC_DOMAIN_STATIONS), {row});
    SendMessageA(browser, WM_COMMAND, IDM_TAKE_OVER_SINGLES, 0);
    if (row == 2) {
      EXPECT_EQ(Status(browser), "Die Rechnerliste wurde nicht gespeichert.");
      EXPECT_EQ(wintest::ReadTextFile(file), utf16);
    }
  }
  EXPECT_EQ(Status(browser), "\"PC1\" als \"Empfang\" übernommen");
  EXPECT_EQ(wintest::ReadTextFile(file + ".alt"), utf16);
  EXPECT_THAT(wintest::ReadTextFile(file),
              ::testing::HasSubstr("//begin\r\nPC4 Lager\r\nPC1 Empfang\r\n//end\r\n"));
  ASSERT_EQ(BoxTexts().size(), 2u);
  EXPECT_THAT(BoxTexts()[1], ::testing::HasSubstr("als \"" + file + ".alt\" aufbewahrt"));
}

// A share opens in the Explorer unless its name holds what the interpreter would act on; the
// shares browser closes with the domain browser.
// A listing that fails says so, with the system's code, rather than "done" over no rows.
TEST_F(NetInfoTest, ADomainListingThatFailsSaysSoInTheStatusLine) {
  HWND browser = OpenBrowser(1, "KAPUTT");
  ASSERT_NE(browser, nullptr);
  EXPECT_THAT(ListRows(GetDlgItem(browser, IDC_DOMAIN_STATIONS)), ::testing::IsEmpty());
  EXPECT_THAT(Status(browser),
              ::testing::AllOf(::testing::StartsWith(
                                   "Die Stationsliste der Domäne \"KAPUTT\" konnte nicht gelesen "
                                   "werden: "),
                               ::testing::EndsWith("(Code 6118).")));
  Click(browser, IDOK);
}

TEST_F(NetInfoTest, SharesOpenInTheExplorerAndCloseFirst) {
  HWND browser = OpenBrowser();
  ASSERT_NE(browser, nullptr);
  wintest::SelectRows(GetDlgItem(browser, IDC_DOMAIN_STATIONS), {1});
  wintest::NotifyList(browser, IDC_DOMAIN_STATIONS, NM_DBLCLK);
  HWND shares = Finished("\\\\PC2", 10000);
  ASSERT_NE(shares, nullptr);
  EXPECT_EQ(Status(shares), "Freigegebene Resourcen.");
  HWND list = GetDlgItem(shares, IDC_SHARES);
  // The type column keeps its trailing blanks.
  EXPECT_THAT(ListRows(list),
              ElementsAre("DATEN|Platte       ", "Drucker|Druck        ", "X&calc|Platte"));
  wintest::SelectRows(list, {0});
  wintest::NotifyList(shares, IDC_SHARES, NM_DBLCLK);
  EXPECT_THAT(harness::ReadLog(network), Contains(::testing::Field(&netsim::LogEntry::commandLine,
                                                                   "explorer \\\\PC2\\DATEN")));
  wintest::SelectRows(list, {2});
  wintest::NotifyList(shares, IDC_SHARES, NM_DBLCLK);
  EXPECT_EQ(Status(shares),
            "\"\\\\PC2\\X&calc\" kann nicht geöffnet werden: der Name enthält "
            "unzulässige Zeichen.");
  const auto log = harness::ReadLog(network);
  EXPECT_EQ(std::count_if(log.begin(), log.end(), [](auto& e) { return e.tool == "explorer"; }), 1);

  Click(browser, IDOK);  // the shares browser goes first
  ASSERT_TRUE(PumpUntil([&] { return !IsWindow(shares); }, 5000));
  EXPECT_TRUE(IsWindow(browser));
  Click(browser, IDOK);
  ASSERT_TRUE(PumpUntil([&] { return !IsWindow(browser); }, 5000));
  EXPECT_TRUE(Enabled(IDC_INFO));
  EXPECT_TRUE(NoNewTempFiles());
}

// Every browser and the send report: dragged larger and maximised, each shows what a fresh
// paint shows (no button left undrawn, no row drawn twice in the domain browser scrolled to its
// end); Escape closes each, and so does Enter, which presses its default button.
TEST_F(NetInfoTest, ResizedWindowsPaintWholeAndEnterAndEscapeCloseThem) {
  network.Reset(ManyStations());
  app->settings().SetSendebericht(true);
  for (UINT key : {VK_ESCAPE, VK_RETURN}) {
    SCOPED_TRACE(key);
    HWND browser = OpenBrowser();
    ASSERT_NE(browser, nullptr);
    HWND stations = GetDlgItem(browser, IDC_DOMAIN_STATIONS);
    wintest::SelectRows(stations, {1});
    ListView_EnsureVisible(stations, ListView_GetItemCount(stations) - 1, FALSE);
    wintest::NotifyList(browser, IDC_DOMAIN_STATIONS, NM_DBLCLK);
    HWND shares = Finished("\\\\PC2", 10000);
    Click(IDC_MODE_LIST);
    SelectEntry(1);
    Click(IDC_INFO);
    HWND check = Finished("Fuenf", 15000);
    SetItemText(IDC_MESSAGE, "Hallo");
    Click(IDC_SEND);
    for (HWND window : {shares, browser, check, OwnDialog("Sendebericht", true)}) {
      ASSERT_NE(window, nullptr);
      EXPECT_EQ(key == VK_ESCAPE ? wintest::PixelsLeftAfterResizing(window) : 0u, 0u)
          << WindowText(window);
      SetFocus(FindWindowExA(window, nullptr, WC_LISTVIEWA, nullptr));
      PostMessageA(GetFocus(), WM_KEYDOWN, key, 1);
      PostMessageA(GetFocus(), WM_KEYUP, key, 0xC0000001);
      EXPECT_TRUE(PumpUntil([&] { return !IsWindow(window) || !IsWindowVisible(window); }, 5000))
          << WindowText(window);
    }
    Close();
  }
  Open();
  wintest::WhenShown viewer("Listen-Info", [](HWND window) {
    EXPECT_EQ(wintest::PixelsLeftAfterResizing(window), 0u) << "Listen-Info";
  });
  Command(IDM_LIST_INFO);
}

// The station list answers the keyboard: typed letters pass over the backslashes, the menu key
// and Shift+F10 open the menu below the focused row. A header click keeps the selected rows and
// the focused one in view, and shows the direction in the header.
TEST_F(NetInfoTest, TheStationListAnswersTheKeyboardAndKeepsItsSelectionWhenSorted) {
  network.Reset(ManyStations());
  HWND browser = OpenBrowser();
  ASSERT_NE(browser, nullptr);
  HWND list = GetDlgItem(browser, IDC_DOMAIN_STATIONS);
  win::ListView view(list);
  for (char c : std::string("ws4"))
    PostMessageA(list, WM_CHAR, static_cast<unsigned char>(c), 1);
  wintest::PumpFor(100);
  ASSERT_EQ(view.Text(view.MenuRow(), 0), "\\\\WS40");
  const RECT row = view.RowOnScreen(view.MenuRow());
  for (UINT key : {VK_APPS, VK_F10}) {  // F10 with Shift
    RECT menu = {};
    wintest::WhenShown shown([] { return FindWindowA("#32768", nullptr); },
                             [&](HWND window) { GetWindowRect(window, &menu), EndMenu(); });
    std::array<BYTE, 256> keys = {};
    keys[VK_SHIFT] = key == VK_F10 ? 0x80 : 0;
    SetKeyboardState(keys.data());
    PostMessageA(list, key == VK_F10 ? WM_SYSKEYDOWN : WM_KEYDOWN, key, 1);
    PostMessageA(list, key == VK_F10 ? WM_SYSKEYUP : WM_KEYUP, key, 0xC0000001);
    EXPECT_TRUE(PumpUntil([&] { return shown.ran(); }, 5000)) << key;
    EXPECT_TRUE(menu.left == row.left && menu.top == row.bottom) << key;
  }
  SetKeyboardState(std::array<BYTE, 256>{}.data());

  wintest::SelectRows(list, {60, 3, 5});  // the last one has the focus
  const auto selected = [&] {
    std::set<std::string> texts;
    for (int row : view.SelectedRows())
      texts.insert(view.Text(row, 0));
    return texts;
  };
  const std::set<std::string> chosen = selected();
  std::set<HBITMAP> arrows;
  for (int click = 0; click < 2; ++click) {  // ascending, then descending
    wintest::NotifyList(browser, IDC_DOMAIN_STATIONS, LVN_COLUMNCLICK, 0);
    EXPECT_EQ(selected(), chosen);
    const int focused = ListView_GetNextItem(list, -1, LVNI_FOCUSED);
    EXPECT_EQ(view.Text(focused, 0), "\\\\WS12");
    const int fromTop = focused - ListView_GetTopIndex(list);
    EXPECT_TRUE(fromTop >= 0 && fromTop < ListView_GetCountPerPage(list)) << focused;
    HDITEMA item = {};
    item.mask = HDI_FORMAT | HDI_BITMAP;
    Header_GetItem(ListView_GetHeader(list), 0, &item);
    EXPECT_TRUE(item.fmt & HDF_BITMAP_ON_RIGHT);
    arrows.insert(item.hbm);
  }
  EXPECT_EQ(arrows.size(), 2u);
}

// Closing the list check, or the domain browser while its shares browser and both workers run,
// or ending the program then, again and again: no crash, no hang, no output file left behind.
TEST_F(NetInfoTest, ClosingOrEndingDuringAQueryLeavesNothingBehind) {
  std::string slowMembers = kNetwork;  // five probes that together outlast any grace for the end
  for (const char* station : {"PC1", "PC2", "PC3", "PC4", "PC5"})
    slowMembers += Format("[station %s]\nview_delay_ms = 4500\n", station);
  for (int round = 0; round < 20; ++round) {
    const bool shares = round >= 10, closeFirst = round % 2 == 0;
    SCOPED_TRACE(::testing::Message() << round << (shares ? " shares" : " list check"));
    network.Reset(shares || closeFirst ? kNetwork : slowMembers);
    HWND dialog = shares ? OpenBrowser() : StartListCheck();
    ASSERT_NE(dialog, nullptr);
    if (shares) {
      wintest::SelectRows(GetDlgItem(dialog, IDC_DOMAIN_STATIONS), {1});
      SendMessageA(dialog, WM_COMMAND, IDM_SHOW_SHARES, 0);
    }
    wintest::PumpFor(static_cast<uint32_t>(shares ? 20 + (round - 10) * 27 : 50 + round * 37));
    const DWORD start = GetTickCount();
    if (closeFirst) {
      Click(dialog, IDOK);
      Click(dialog, IDOK);  // the first click of the domain browser closes its shares browser
      ASSERT_TRUE(PumpUntil([&] { return !IsWindow(dialog) && Enabled(IDC_INFO); }, 5000));
    }
    Close();
    // The end waits for the member in progress only; a check that went on would hold it for
    // its 20 s of grace.
    EXPECT_LT(GetTickCount() - start, 10000u);
    EXPECT_TRUE(NoNewTempFiles());
  }
}

}  // namespace
}  // namespace botenruf
