// "Info" in domain mode against the simulated network: the domain browser, its take-over of
// stations into the list file, and the shares browser.
#include <windows.h>

#include <commctrl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "platform/win32/list_view.h"
#include "resource.h"
#include "support/main_window_fixture.h"
#include "support/win_test_support.h"
#include "text/text.h"

namespace botenruf {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using wintest::PumpUntil;
using wintest::WindowText;
namespace harness = netsim::harness;

std::string TwentyMembers() {
  std::string members;
  for (int i = 1; i <= 20; ++i)
    members += Format("PC%d,", 100 + i);
  return members;
}

const std::string kListFile =
    "//begin\r\nPC1 Empfang\r\n//end\r\n//v_begin\r\nAlle [PC1]\r\nVoll [" + TwentyMembers() +
    "]\r\n//v_end\r\n";
constexpr char kNetwork[] =
    "[domain BUERO]\nview_delay_ms = 200\n"
    "[station PC1]\ndomain = BUERO\ncomment = Empfang\n"
    "[station PC2]\ndomain = BUERO\ncomment = Buchhaltung\nview_delay_ms = 300\n"
    "share = DATEN | Platte | Gemeinsame Daten\nshare = Drucker | Druck | Laser\n"
    "share = X&calc | Platte\n"
    "[station PC3]\ndomain = BUERO\ncomment = Lager\n";

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

std::vector<std::string> Rows(HWND list) {
  win::ListView view(list);
  std::vector<std::string> rows;
  for (int i = 0; i < view.Count(); ++i)
    rows.push_back(view.Text(i, 0) + "|" + view.Text(i, 1));
  return rows;
}

void Notify(HWND dialog, int control, UINT code, int column = 0) {
  NMLISTVIEW note = {};
  note.hdr.hwndFrom = GetDlgItem(dialog, control);
  note.hdr.idFrom = control;
  note.hdr.code = code;
  note.iSubItem = column;
  SendMessageA(dialog, WM_NOTIFY, control, reinterpret_cast<LPARAM>(&note));
}

class DomainBrowserTest : public wintest::MainWindowFixture {
 protected:
  void SetUp() override {
    network.Reset(kNetwork);
    UseListFile(kListFile);
    tempBefore = TempFiles();
  }
  // Domain mode, the domain chosen, "Info" pressed; the browser once its search has ended.
  HWND OpenBrowser(const std::string& domain = "BUERO") {
    wintest::Click(window_, IDC_MODE_DOMAIN);
    PumpUntil([&] { return !BoxEntries().empty(); }, 10000);
    const auto entries = BoxEntries();
    const auto it = std::find(entries.begin(), entries.end(), domain);
    if (it == entries.end())
      return nullptr;
    SelectEntry(static_cast<int>(it - entries.begin()));
    wintest::Click(window_, IDC_INFO);
    HWND browser = nullptr;
    PumpUntil(
        [&] {
          browser = FindWindowA("#32770", ("\"" + domain + "\" (Fertig)").c_str());
          return browser && WindowText(GetDlgItem(browser, IDOK)) == "OK";
        },
        30000);
    return browser;
  }
  std::string Status(HWND dialog) { return WindowText(GetDlgItem(dialog, IDC_BROWSER_STATUS)); }
  void SelectRows(HWND dialog, std::initializer_list<int> rows) {
    win::ListView list(GetDlgItem(dialog, IDC_DOMAIN_STATIONS));
    for (int i = 0; i < list.Count(); ++i)
      list.Select(i, false);
    for (int row : rows)
      list.Select(row, true);
  }
  bool NoNewTempFiles() {
    const std::set<std::string> now = TempFiles();
    return std::includes(tempBefore.begin(), tempBefore.end(), now.begin(), now.end());
  }
  int ExplorerStarts() {
    int starts = 0;
    for (const auto& entry : harness::ReadLog(network))
      starts += entry.tool == "explorer" ? 1 : 0;
    return starts;
  }
  std::set<std::string> tempBefore;
};

TEST_F(DomainBrowserTest, SinglesAreTakenOverAndWrittenToTheListFile) {
  Open();
  HWND browser = OpenBrowser();
  ASSERT_NE(browser, nullptr);
  HWND list = GetDlgItem(browser, IDC_DOMAIN_STATIONS);
  EXPECT_THAT(Rows(list), ElementsAre("\\\\PC1|Empfang", "\\\\PC2|Buchhaltung", "\\\\PC3|Lager"));
  EXPECT_EQ(Status(browser), "Domäne bearbeitet.");
  SendMessageA(list, WM_CHAR, 1, 0);  // Ctrl+A
  EXPECT_EQ(win::ListView(list).SelectedRows().size(), 3u);
  SendMessageA(browser, WM_COMMAND, IDM_TAKE_OVER_SINGLES, 0);
  EXPECT_EQ(Status(browser), "2 Einträge übernommen");
  SYSTEMTIME today;
  GetLocalTime(&today);
  EXPECT_EQ(wintest::ReadTextFile(scratch + "\\Rechner.txt"),
            Format("//Stand: %02u.%02u.%04u\r\n//Version 3.0.0.15\r\n", today.wDay, today.wMonth,
                   today.wYear) +
                "//begin\r\nPC1 Empfang\r\nPC2 Buchhaltung\r\nPC3 Lager\r\n//end\r\n"
                "//v_begin\r\nAlle [PC1]\r\nVoll [" +
                TwentyMembers() + "]\r\n//v_end\r\n");
  wintest::Click(window_, IDC_MODE_SINGLE);  // the box shows the new recipients
  EXPECT_THAT(BoxEntries(), ElementsAre("Empfang", "Buchhaltung", "Lager"));
}

TEST_F(DomainBrowserTest, AFullListRefusesTheStation) {
  Open();
  wintest::Click(window_, IDC_MODE_LIST);
  SelectEntry(1);  // "Voll", kept for list mode while the domain is browsed
  HWND browser = OpenBrowser();
  ASSERT_NE(browser, nullptr);
  SelectRows(browser, {1});
  SendMessageA(browser, WM_COMMAND, IDM_TAKE_OVER_LIST, 0);
  EXPECT_EQ(Status(browser), "Maximal 20 Einträge pro Liste");
  EXPECT_GE(app->directory().FindStation("PC2"), 0);  // taken as a single recipient all the same
}

TEST_F(DomainBrowserTest, ASaveThatFailsSaysSoInTheStatusLine) {
  // A list path that names a folder cannot be read, so nothing may be written over it.
  app->settings().SetRechnerListePfad(scratch);
  app->ReloadDirectory();
  Open();
  HWND browser = OpenBrowser();
  ASSERT_NE(browser, nullptr);
  SelectRows(browser, {2});
  SendMessageA(browser, WM_COMMAND, IDM_TAKE_OVER_SINGLES, 0);
  EXPECT_EQ(Status(browser),
            "Die Rechnerliste wurde nicht gespeichert: sie konnte beim Laden "
            "nicht gelesen werden.");
  EXPECT_EQ(app->directory().FindStation("PC3"), 0);  // kept in memory
}

TEST_F(DomainBrowserTest, SharesOpenInTheExplorerAndCloseFirst) {
  Open();
  HWND browser = OpenBrowser();
  ASSERT_NE(browser, nullptr);
  SelectRows(browser, {1});
  Notify(browser, IDC_DOMAIN_STATIONS, NM_DBLCLK);
  HWND shares = nullptr;
  ASSERT_TRUE(PumpUntil(
      [&] {
        shares = FindWindowA("#32770", "\"\\\\PC2\" (Fertig)");
        return shares && WindowText(GetDlgItem(shares, IDOK)) == "OK";
      },
      10000));
  EXPECT_EQ(Status(shares), "Freigegebene Resourcen.");
  HWND list = GetDlgItem(shares, IDC_SHARES);
  // The type column keeps its trailing blanks.
  EXPECT_THAT(Rows(list),
              ElementsAre("DATEN|Platte       ", "Drucker|Druck        ", "X&calc|Platte"));
  win::ListView(list).Select(0, true);
  Notify(shares, IDC_SHARES, NM_DBLCLK);
  EXPECT_THAT(harness::ReadLog(network), Contains(::testing::Field(&netsim::LogEntry::commandLine,
                                                                   "explorer \\\\PC2\\DATEN")));
  win::ListView(list).Select(0, false);
  win::ListView(list).Select(2, true);
  Notify(shares, IDC_SHARES, NM_DBLCLK);
  EXPECT_EQ(Status(shares),
            "\"\\\\PC2\\X&calc\" kann nicht geöffnet werden: der Name enthält "
            "unzulässige Zeichen.");
  EXPECT_EQ(ExplorerStarts(), 1);

  wintest::Click(browser, IDOK);  // the shares browser goes first
  ASSERT_TRUE(PumpUntil([&] { return !IsWindow(shares); }, 5000));
  EXPECT_TRUE(IsWindow(browser));
  wintest::Click(browser, IDOK);
  ASSERT_TRUE(PumpUntil([&] { return !IsWindow(browser); }, 5000));
  EXPECT_TRUE(IsWindowEnabled(Item(IDC_INFO)));
  EXPECT_TRUE(NoNewTempFiles());
}

TEST_F(DomainBrowserTest, ThreeHundredStationsListAndSort) {
  std::string scenario = "[domain GROSS]\n";
  for (int i = 300; i >= 1; --i)
    scenario += Format("[station S%03d]\ndomain = GROSS\ncomment = Platz %03d\n", i, 301 - i);
  network.Reset(scenario);
  Open();
  HWND browser = OpenBrowser("GROSS");
  ASSERT_NE(browser, nullptr);
  HWND list = GetDlgItem(browser, IDC_DOMAIN_STATIONS);
  std::vector<std::string> rows = Rows(list);
  ASSERT_EQ(rows.size(), 300u);
  EXPECT_EQ(rows.front(), "\\\\S300|Platz 001");
  Notify(browser, IDC_DOMAIN_STATIONS, LVN_COLUMNCLICK, 0);
  rows = Rows(list);
  EXPECT_EQ(rows.front(), "\\\\S001|Platz 300");
  EXPECT_TRUE(std::is_sorted(rows.begin(), rows.end()));
  Notify(browser, IDC_DOMAIN_STATIONS, LVN_COLUMNCLICK, 0);
  EXPECT_EQ(Rows(list).front(), "\\\\S300|Platz 001");
}

// Closing the domain browser while its shares browser and both workers run, or ending the
// program then, again and again: no crash, no hang, no output file left behind.
TEST_F(DomainBrowserTest, ClosingWithTheSharesBrowserOpenLeavesNothingBehind) {
  for (int round = 0; round < 20; ++round) {
    SCOPED_TRACE(round);
    Open();
    HWND browser = OpenBrowser();
    ASSERT_NE(browser, nullptr);
    SelectRows(browser, {1});
    SendMessageA(browser, WM_COMMAND, IDM_SHOW_SHARES, 0);
    wintest::PumpFor(static_cast<uint32_t>(20 + round * 13));  // the shares search runs
    const DWORD start = GetTickCount();
    if (round % 2 == 0) {
      wintest::Click(browser, IDOK);
      wintest::Click(browser, IDOK);
      ASSERT_TRUE(PumpUntil([&] { return !IsWindow(browser); }, 5000));
    }
    Close();
    EXPECT_LT(GetTickCount() - start, 3000u);
    EXPECT_TRUE(NoNewTempFiles());
  }
}

}  // namespace
}  // namespace botenruf
