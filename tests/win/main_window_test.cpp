// The real main window driven by window messages, against the simulated network.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include "app/settings_store.h"
#include "dispatch/send_workers.h"
#include "resource.h"
#include "support/main_window_fixture.h"
#include "support/win_test_support.h"

namespace botenruf {
namespace {

using ::testing::ElementsAre;
using ::testing::UnorderedElementsAre;
using wintest::PumpUntil;

constexpr char kListFile[] =
    "//begin\r\nPC017 Empfang\r\nPC022 Buchhaltung\r\nPC030 Lager\r\nPC031 Versand\r\n//end\r\n"
    "//v_begin\r\nAlle [PC017,PC022,PC030]\r\nEDV [PC031]\r\n//v_end\r\n";

constexpr char kNetwork[] =
    "[station PC017]\ndomain = BUERO\nsend_delay_ms = 1500\n"
    "[station PC022]\ndomain = BUERO\nsend_delay_ms = 1500\n"
    "[station PC030]\ndomain = BUERO\nsend_delay_ms = 1500\n"
    "[station PC031]\ndomain = LAGER\n";

class MainWindowTest : public wintest::MainWindowFixture {
 protected:
  void SetUp() override {
    network.Reset(kNetwork);
    UseListFile(kListFile);
  }
  void Click(int id) { wintest::Click(window_, id); }
  bool Enabled(int id) { return IsWindowEnabled(Item(id)) != 0; }
  std::vector<std::string> Sent() { return netsim::harness::NetSendCommandLines(network); }
};

TEST_F(MainWindowTest, ModeSwitchesFillTheBoxAndBringBackTheRememberedEntry) {
  Open();
  EXPECT_EQ(wintest::WindowText(window_), "Botenruf");
  EXPECT_THAT(BoxEntries(), ElementsAre("Empfang", "Buchhaltung", "Lager", "Versand"));
  EXPECT_EQ(SendMessageA(Item(IDC_MODE_SINGLE), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_TRUE(Checked(IDM_MODE_SINGLE));
  SelectEntry(2);
  EXPECT_EQ(app->settings().Auswahl(), 2);

  Click(IDC_MODE_LIST);
  EXPECT_THAT(BoxEntries(), ElementsAre("Alle", "EDV"));
  EXPECT_EQ(SelectedEntry(), 0);
  EXPECT_EQ(app->settings().ListenTyp(), 1);
  EXPECT_TRUE(Checked(IDM_MODE_LIST));
  EXPECT_FALSE(Checked(IDM_MODE_SINGLE));
  SelectEntry(1);

  Command(IDM_MODE_SINGLE);
  EXPECT_EQ(SelectedEntry(), 2);
  Click(IDC_MODE_SINGLE);  // the active mode again keeps the entry
  EXPECT_EQ(SelectedEntry(), 2);
  Click(IDC_MODE_LIST);
  EXPECT_EQ(SelectedEntry(), 1);
}

TEST_F(MainWindowTest, PersistedSelectionIsTakenAtStart) {
  app->settings().SetListenTyp(1);
  app->settings().SetAuswahl(1);
  Open();
  EXPECT_EQ(SelectedEntry(), 1);
  EXPECT_EQ(ItemText(IDC_RECIPIENT), "EDV");
}

TEST_F(MainWindowTest, DomainModeFillsTheBoxWhenTheNamesArrive) {
  Open();
  Click(IDC_MODE_DOMAIN);
  EXPECT_TRUE(PumpUntil([&] { return BoxEntries().size() == 2; }, 10000));
  EXPECT_THAT(BoxEntries(), ElementsAre("BUERO", "LAGER"));
  EXPECT_THAT(app->directory().DomainNames(), ElementsAre("BUERO", "LAGER"));
  EXPECT_TRUE(Enabled(IDC_MODE_SINGLE));
}

TEST_F(MainWindowTest, LateDomainNamesStayOutOfTheBoxOfAnotherMode) {
  network.Reset(std::string(kNetwork) + "[network]\ndomain_list_delay_ms = 1500\n");
  Open();
  Click(IDC_MODE_DOMAIN);
  EXPECT_FALSE(Enabled(IDC_MODE_SINGLE));  // the buttons wait for the names
  Command(IDM_MODE_SINGLE);                // the menu items do not
  ASSERT_THAT(BoxEntries(), ElementsAre("Empfang", "Buchhaltung", "Lager", "Versand"));
  SelectEntry(1);
  ASSERT_TRUE(PumpUntil([&] { return Enabled(IDC_MODE_SINGLE); }, 10000));
  EXPECT_THAT(app->directory().DomainNames(), ElementsAre("BUERO", "LAGER"));
  EXPECT_THAT(BoxEntries(), ElementsAre("Empfang", "Buchhaltung", "Lager", "Versand"));
  EXPECT_EQ(SelectedEntry(), 1);
}

TEST_F(MainWindowTest, EnterNeverEndsTheWindowAndEscapeDoes) {
  auto window = std::make_unique<win::MainWindow>(*app, services, "", false);
  const INT_PTR result = wintest::RunModalWithScript(*window, [](HWND hwnd) {
    SetFocus(GetDlgItem(hwnd, IDC_RECIPIENT));
    wintest::PostKey(GetFocus(), VK_RETURN);
    wintest::PumpFor(200);
    EXPECT_TRUE(IsWindowVisible(hwnd));
    SetFocus(GetDlgItem(hwnd, IDC_MESSAGE));
    wintest::PostKey(GetDlgItem(hwnd, IDC_MESSAGE), VK_RETURN);
    wintest::PumpFor(200);
    EXPECT_TRUE(IsWindowVisible(hwnd));
    EXPECT_EQ(wintest::WindowText(GetDlgItem(hwnd, IDC_MESSAGE)), "\r\n");
    wintest::PostKey(GetDlgItem(hwnd, IDC_MESSAGE), VK_ESCAPE);
  });
  EXPECT_EQ(result, IDCANCEL);
}

TEST_F(MainWindowTest, ListSendStartsOneWorkerPerMemberAndCountsThem) {
  Open();
  Click(IDC_MODE_LIST);
  SetItemText(IDC_MESSAGE, "Besprechung um 10 /Raum 3");
  Click(IDC_SEND);
  EXPECT_TRUE(
      PumpUntil([&] { return ItemText(IDC_NOTIFY_GROUP) == "Benachrichtigung [3]"; }, 1000));
  EXPECT_TRUE(
      PumpUntil([&] { return ItemText(IDC_NOTIFY_GROUP) == "Benachrichtigung [0]"; }, 10000));
  EXPECT_THAT(Sent(), UnorderedElementsAre("net send PC017 Besprechung um 10/Raum 3",
                                           "net send PC022 Besprechung um 10/Raum 3",
                                           "net send PC030 Besprechung um 10/Raum 3"));
  EXPECT_THAT(BoxTexts(), ElementsAre());  // no success boxes for lists by default
  EXPECT_EQ(ItemText(IDC_MESSAGE), "Besprechung um 10 /Raum 3");  // the editor keeps the text
}

TEST_F(MainWindowTest, VerteilerinfoAppendsTheRecipients) {
  Open();
  Click(IDC_MODE_LIST);
  Command(IDM_VERSAND_INFO);
  EXPECT_TRUE(Checked(IDM_VERSAND_INFO));
  EXPECT_TRUE(app->settings().VersandInfo());
  SetItemText(IDC_MESSAGE, "Hallo");
  Click(IDC_SEND);
  ASSERT_TRUE(PumpUntil([&] { return Sent().size() == 3; }, 10000));
  EXPECT_THAT(Sent(), UnorderedElementsAre("net send PC017 Hallo\n{An:Empfang,Buchhaltung,Lager}",
                                           "net send PC022 Hallo\n{An:Empfang,Buchhaltung,Lager}",
                                           "net send PC030 Hallo\n{An:Empfang,Buchhaltung,Lager}"));
}

TEST_F(MainWindowTest, EmptyRecipientAndEmptyMessageAreRefused) {
  Open();
  SetItemText(IDC_RECIPIENT, "");
  SetItemText(IDC_MESSAGE, "Hallo");
  SendMessageA(Item(IDC_RECIPIENT), CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
  Click(IDC_SEND);
  SelectEntry(0);
  SetItemText(IDC_MESSAGE, "");
  Click(IDC_SEND);
  EXPECT_THAT(BoxTexts(), ElementsAre("Bitte einen Stations-Namen als Empfänger angeben.",
                                      "Bitte keine leeren Meldungen verschicken."));
  EXPECT_EQ(boxes->boxes()[0].title, "Error");
  EXPECT_EQ(app->settings().Auswahl(), 0);
  wintest::PumpFor(300);
  EXPECT_THAT(Sent(), ElementsAre());
}

TEST_F(MainWindowTest, SingleSendOfATypedNameShowsWellDone) {
  Open();
  SendMessageA(Item(IDC_RECIPIENT), CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
  SetItemText(IDC_RECIPIENT, "PC031");
  SetItemText(IDC_MESSAGE, "Hallo");
  Click(IDC_SEND);
  EXPECT_EQ(app->settings().Auswahl(), -1);
  ASSERT_TRUE(PumpUntil([&] { return !boxes->boxes().empty(); }, 10000));
  EXPECT_THAT(BoxTexts(), ElementsAre("Well done..."));
  EXPECT_THAT(Sent(), ElementsAre("net send PC031 Hallo"));
}

HWND FindCountdown() {
  return FindWindowA(nullptr, "Widerrufzeit...");
}

TEST_F(MainWindowTest, DomainSendWaitsFiveSecondsWithTheDefaults) {
  Open();
  Click(IDC_MODE_DOMAIN);
  ASSERT_TRUE(PumpUntil([&] { return BoxEntries().size() == 2; }, 10000));
  SetItemText(IDC_MESSAGE, "Serverneustart");
  Click(IDC_SEND);
  const DWORD start = GetTickCount();
  HWND countdown = FindCountdown();
  ASSERT_NE(countdown, nullptr);
  EXPECT_EQ(wintest::WindowText(GetDlgItem(countdown, IDC_COUNTDOWN_TEXT)),
            "Nach Ablauf dieser Zeit wird die Nachricht an die komplette Domäne \"BUERO\" "
            "verschickt.");
  EXPECT_FALSE(Enabled(IDC_SEND));
  EXPECT_FALSE(Enabled(IDC_CLEAR));
  SetItemText(IDC_MESSAGE, "Serverneustart um 12 Uhr");  // what is there at the end is sent
  ASSERT_TRUE(PumpUntil([&] { return !Sent().empty(); }, 10000));
  const DWORD elapsed = GetTickCount() - start;
  EXPECT_GE(elapsed, 4900u);
  EXPECT_LE(elapsed, 6500u);
  EXPECT_THAT(Sent(), ElementsAre("net send /DOMAIN:BUERO Serverneustart um 12 Uhr"));
  EXPECT_TRUE(Enabled(IDC_SEND));
  EXPECT_TRUE(Enabled(IDC_CLEAR));
  EXPECT_EQ(FindCountdown(), nullptr);
}

TEST_F(MainWindowTest, CancelledCountdownSendsNothing) {
  Open();
  Click(IDC_MODE_DOMAIN);
  ASSERT_TRUE(PumpUntil([&] { return BoxEntries().size() == 2; }, 10000));
  SetItemText(IDC_MESSAGE, "Serverneustart");
  Click(IDC_SEND);
  HWND countdown = FindCountdown();
  ASSERT_NE(countdown, nullptr);
  wintest::PumpFor(1000);
  wintest::Click(countdown, IDCANCEL);
  ASSERT_TRUE(PumpUntil([&] { return Enabled(IDC_SEND); }, 2000));
  EXPECT_EQ(FindCountdown(), nullptr);
  wintest::PumpFor(5500);
  EXPECT_THAT(Sent(), ElementsAre());
}

TEST_F(MainWindowTest, EmptyDomainMessageStartsNoCountdown) {
  Open();
  Click(IDC_MODE_DOMAIN);
  ASSERT_TRUE(PumpUntil([&] { return BoxEntries().size() == 2; }, 10000));
  Click(IDC_SEND);
  EXPECT_EQ(FindCountdown(), nullptr);
  EXPECT_THAT(BoxTexts(), ElementsAre("Bitte keine leeren Meldungen verschicken."));
}

TEST_F(MainWindowTest, OneDroppedFileLoadsTwoDoNot) {
  const std::string file = scratch + "\\nachricht.txt";
  wintest::WriteTextFile(file, "Zeile 1\r\n\r\nZeile 2");
  wintest::WriteTextFile(scratch + "\\zweite.txt", "x");
  Open();
  SetItemText(IDC_MESSAGE, "bisher");
  SendMessageA(Item(IDC_MESSAGE), WM_DROPFILES,
               reinterpret_cast<WPARAM>(wintest::MakeDrop({file, scratch + "\\zweite.txt"})), 0);
  EXPECT_EQ(ItemText(IDC_MESSAGE), "bisher");
  SendMessageA(Item(IDC_MESSAGE), WM_DROPFILES, reinterpret_cast<WPARAM>(wintest::MakeDrop({file})),
               0);
  EXPECT_EQ(ItemText(IDC_MESSAGE), "Zeile 1\r\nZeile 2\r\n");
}

TEST_F(MainWindowTest, LoadAndSaveThroughTheFileDialogs) {
  const std::string saved = scratch + "\\gespeichert.txt";
  Open("Erste\r\nZweite");
  fileDialogs->answers = {saved, saved};
  Command(IDM_MESSAGE_SAVE);
  EXPECT_EQ(wintest::ReadTextFile(saved), "Erste\r\r\nZweite");
  EXPECT_EQ(fileDialogs->requests[0].defaultExtension, "txt");
  EXPECT_EQ(fileDialogs->requests[0].filter, "Text Dateien (*.txt)|*.txt|Alle Dateien (*.*)|*.*||");
  Command(IDM_MESSAGE_CLEAR);
  EXPECT_EQ(ItemText(IDC_MESSAGE), "");
  Command(IDM_MESSAGE_LOAD);
  EXPECT_EQ(ItemText(IDC_MESSAGE), "Erste\r\nZweite\r\n");
  fileDialogs->answers = {scratch + "\\kein\\ordner\\x.txt"};
  Command(IDM_MESSAGE_SAVE);
  EXPECT_THAT(BoxTexts(), ElementsAre("Die Nachricht konnte nicht gespeichert werden."));
}

TEST_F(MainWindowTest, OriginalSizeAndMinimumSize) {
  Open();
  MINMAXINFO info = {};
  SendMessageA(window_, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
  EXPECT_EQ(info.ptMinTrackSize.x, 360);
  EXPECT_EQ(info.ptMinTrackSize.y, 342);
  MoveWindow(window_, 40, 30, 700, 500, TRUE);
  RECT client, clear;
  GetClientRect(window_, &client);
  GetWindowRect(Item(IDC_CLEAR), &clear);
  MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&clear), 2);
  const int w = clear.right - clear.left;
  EXPECT_EQ(clear.left, client.right / 2 - w / 2 - 2);
  EXPECT_EQ(clear.bottom, client.bottom - 10);
  Command(IDM_ORIGINAL_SIZE);
  RECT rect;
  GetWindowRect(window_, &rect);
  EXPECT_EQ(rect.left, 40);
  EXPECT_EQ(rect.top, 30);
  // Asked for 352 x 296, the window stops at the minimum tracking size, which is larger.
  EXPECT_EQ(rect.right - rect.left, 360);
  EXPECT_EQ(rect.bottom - rect.top, 342);
  ShowWindow(window_, SW_MAXIMIZE);
  GetWindowRect(window_, &rect);
  Command(IDM_ORIGINAL_SIZE);
  RECT after;
  GetWindowRect(window_, &after);
  EXPECT_TRUE(EqualRect(&rect, &after));
}

TEST_F(MainWindowTest, InitialTextAndTooltips) {
  Open("aus der Datei\r\n");
  EXPECT_EQ(ItemText(IDC_MESSAGE), "aus der Datei\r\n");
  EXPECT_FALSE(Checked(IDM_TOOLTIPS));
  Command(IDM_TOOLTIPS);
  EXPECT_TRUE(Checked(IDM_TOOLTIPS));
  NMTTDISPINFOA info = {};
  info.hdr.hwndFrom = nullptr;
  info.hdr.idFrom = reinterpret_cast<UINT_PTR>(Item(IDC_SEND));
  info.hdr.code = TTN_GETDISPINFOA;
  info.uFlags = TTF_IDISHWND;
  SendMessageA(window_, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&info));
  char text[128] = {};
  LoadStringA(info.hinst, static_cast<UINT>(reinterpret_cast<UINT_PTR>(info.lpszText)), text,
              sizeof(text));
  EXPECT_STREQ(text, "Nachricht senden");
}

// A clock that stands on the greeting day.
class GreetingDaySystem : public win::Win32System {
 public:
  LocalTime Now() override {
    return {2026, kGreetingMonth, kGreetingDay, kGreetingHourAfter + 1, 0, 0};
  }
};

int InfosItemCount(HWND window) {
  return GetMenuItemCount(GetSubMenu(GetMenu(window), 2));
}

TEST_F(MainWindowTest, InfosMenuHasItsFourItemsOutsideTheGreetingWindow) {
  Open();
  wintest::PumpFor(300);
  EXPECT_EQ(InfosItemCount(window_), 4);
}

TEST_F(MainWindowTest, MemoriamItemOnTheGreetingDaySendsToTheOwnStation) {
  network.Reset("");
  services.workers.system = std::make_shared<GreetingDaySystem>();
  Open();
  ASSERT_TRUE(PumpUntil([&] { return InfosItemCount(window_) == 5; }, 2000));
  char text[64] = {};
  GetMenuStringA(GetMenu(window_), IDM_MEMORIAM, text, sizeof(text), MF_BYCOMMAND);
  EXPECT_STREQ(text, "&Memoriam");
  Command(IDM_MEMORIAM);
  ASSERT_TRUE(PumpUntil([&] { return !Sent().empty(); }, 10000));
  const std::string station = services.workers.system->ComputerName();
  EXPECT_THAT(Sent(), ElementsAre("net send " + station + " " + kGreetingText));
}

}  // namespace
}  // namespace botenruf
