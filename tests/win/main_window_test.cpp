// The real main window driven by window messages, against the simulated network: recipient
// selection, sending and the countdown, message files, its size, the tray icon and the menu.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <regex>

#include "dispatch/send_workers.h"
#include "support/main_window_fixture.h"

namespace botenruf {
namespace {

using ::testing::AllOf;
using ::testing::ElementsAre;
using ::testing::EndsWith;
using ::testing::HasSubstr;
using ::testing::Not;
using ::testing::StartsWith;
using ::testing::UnorderedElementsAre;
using wintest::PumpFor;
using wintest::PumpUntil;
using wintest::ShellIcon;

constexpr char kListFile[] =
    "//begin\r\nPC017 Empfang\r\nPC022 Buchhaltung\r\nPC030 Lager\r\nPC031 Versand\r\n//end\r\n"
    "//v_begin\r\nAlle [PC017,PC022,PC030]\r\nEDV [PC031]\r\n//v_end\r\n";

constexpr char kNetwork[] =
    "[station PC017]\ndomain = BUERO\nsend_delay_ms = 1500\n"
    "[station PC022]\ndomain = BUERO\nsend_delay_ms = 1500\n"
    "[station PC030]\ndomain = BUERO\nsend_delay_ms = 1500\n"
    "[station PC031]\ndomain = MÜNCHEN\n";  // the tools print it in code page 850

HWND FindCountdown() {
  return FindWindowA(nullptr, "Widerrufzeit...");
}

class MainWindowTest : public wintest::MainWindowFixture {
 protected:
  void SetUp() override {
    network.Reset(kNetwork);
    UseListFile(kListFile);
  }
  bool Visible() { return IsWindowVisible(window_) != 0; }
  void Tray(UINT mouseMessage) { SendMessageA(window_, WM_APP_TRAY_CALLBACK, 1, mouseMessage); }
};

TEST_F(MainWindowTest, LateDomainNamesStayOutOfTheBoxOfAnotherMode) {
  network.Reset(std::string(kNetwork) + "[network]\ndomain_list_delay_ms = 1500\n");
  Open();
  Click(IDC_MODE_DOMAIN);
  EXPECT_FALSE(Enabled(IDC_MODE_SINGLE));  // the buttons wait for the names
  Command(IDM_MODE_SINGLE);                // the menu items do not
  ASSERT_THAT(BoxEntries(), ElementsAre("Empfang", "Buchhaltung", "Lager", "Versand"));
  SelectEntry(1);
  ASSERT_TRUE(PumpUntil([&] { return Enabled(IDC_MODE_SINGLE); }, 10000));
  EXPECT_THAT(app->directory().DomainNames(), ElementsAre("BUERO", "MÜNCHEN"));
  EXPECT_THAT(BoxEntries(), ElementsAre("Empfang", "Buchhaltung", "Lager", "Versand"));
  EXPECT_EQ(SelectedEntry(), 1);
}

// After dragging the corner or maximising, the window shows what it shows when painted anew.
TEST_F(MainWindowTest, ResizingLeavesNothingOfTheOldLayoutOnScreen) {
  Open();
  SetFocus(Item(IDC_SEND));  // no blinking caret in the pictures
  EXPECT_EQ(wintest::PixelsLeftAfterResizing(window_), 0u);
}

// What the next start selects is the entry the box shows in the current mode, never one
// left behind by another mode; and domain mode always shows a domain.
TEST_F(MainWindowTest, TheRememberedEntryIsTheOneTheBoxShows) {
  Open();
  SelectEntry(2);
  Click(IDC_MODE_LIST);
  EXPECT_EQ(app->settings().Auswahl(), 0);
  SelectEntry(1);
  Click(IDC_MODE_DOMAIN);
  ASSERT_TRUE(PumpUntil([&] { return Enabled(IDC_MODE_SINGLE); }, 10000));
  EXPECT_EQ(SelectedEntry(), 0);
  Click(IDC_MODE_SINGLE);
  TypeRecipient("PC031");
  SetItemText(IDC_MESSAGE, "Hallo");
  Click(IDC_SEND);  // a typed name leaves no entry selected
  ASSERT_EQ(app->settings().Auswahl(), -1);
  Click(IDC_MODE_DOMAIN);
  ASSERT_TRUE(PumpUntil([&] { return Enabled(IDC_MODE_SINGLE); }, 10000));
  EXPECT_EQ(ItemText(IDC_RECIPIENT), "BUERO");
  EXPECT_EQ(app->settings().Auswahl(), 0);
}

TEST_F(MainWindowTest, EnterNeverEndsTheWindowAndEscapeDoes) {
  const struct {
    int control;
    UINT key;
    bool staysOpen;
  } cases[] = {{IDC_RECIPIENT, VK_RETURN, true},
               {IDC_MESSAGE, VK_RETURN, true},
               {IDC_MESSAGE, VK_ESCAPE, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.control << " " << c.key);
    ShutdownFlag() = false;
    win::MainWindow window(*app, services, "", false);
    bool open = false;
    const INT_PTR result = wintest::RunModalWithScript(
        window,
        [&](HWND hwnd) {
          SetFocus(GetDlgItem(hwnd, c.control));  // the key goes through the queue, as typed
          PostMessageA(GetFocus(), WM_KEYDOWN, c.key, 1);
          PostMessageA(GetFocus(), WM_KEYUP, c.key, 0xC0000001);
        },
        &open);
    EXPECT_EQ(open, c.staysOpen);
    EXPECT_EQ(result, IDCANCEL);
  }
}

// A list send starts one worker per member. The count shows in the caption and, within the
// poller's period, in the tip of the tray icon, while the window stays in the tray.
TEST_F(MainWindowTest, AListSendCountsItsWorkersInTheCaptionAndTheTrayTip) {
  Open();
  Click(IDC_MODE_LIST);
  Command(IDM_VERSAND_INFO);
  SetItemText(IDC_MESSAGE, "Besprechung um 10 /Raum 3");
  window->MoveToTray();
  EXPECT_EQ(notifyIcon->lastTip, "Verteilerliste[0]: Alle");
  const DWORD start = GetTickCount();
  Click(IDC_SEND);
  auto counted = [&](const char* count) {
    return PumpUntil(
        [&] {
          return notifyIcon->lastTip == "Verteilerliste[" + std::string(count) + "]: Alle" &&
                 ItemText(IDC_NOTIFY_GROUP) == "Benachrichtigung [" + std::string(count) + "]";
        },
        10000);
  };
  ASSERT_TRUE(counted("3"));
  EXPECT_LE(GetTickCount() - start, 350u);
  EXPECT_TRUE(counted("0"));
  const std::string text = "Besprechung um 10/Raum 3\n{An:Empfang,Buchhaltung,Lager}";
  EXPECT_THAT(Sent(), UnorderedElementsAre("net send PC017 " + text, "net send PC022 " + text,
                                           "net send PC030 " + text));
  EXPECT_THAT(BoxTexts(), ElementsAre());  // no success boxes for lists by default
  EXPECT_EQ(ItemText(IDC_MESSAGE), "Besprechung um 10 /Raum 3");  // the editor keeps the text
  EXPECT_TRUE(ShellIcon(window_, 1));
  EXPECT_FALSE(Visible());
}

TEST_F(MainWindowTest, DomainSendWaitsForTheCountdownUnlessItIsCancelled) {
  Open();
  Click(IDC_MODE_DOMAIN);
  ASSERT_TRUE(PumpUntil([&] { return BoxEntries().size() == 2; }, 10000));
  for (bool cancel : {true, false}) {
    SCOPED_TRACE(cancel);
    SetItemText(IDC_MESSAGE, "Serverneustart");
    Click(IDC_SEND);
    const DWORD start = GetTickCount();
    HWND countdown = FindCountdown();
    ASSERT_NE(countdown, nullptr);
    EXPECT_EQ(ItemText(countdown, IDC_COUNTDOWN_TEXT),
              "Nach Ablauf dieser Zeit wird die Nachricht an die komplette Domäne \"BUERO\" "
              "verschickt.");
    EXPECT_FALSE(Enabled(IDC_SEND));
    EXPECT_FALSE(Enabled(IDC_CLEAR));
    if (cancel) {
      PumpFor(1000);
      Click(countdown, IDCANCEL);
      ASSERT_TRUE(PumpUntil([&] { return Enabled(IDC_SEND); }, 2000));
      PumpFor(5500);
      EXPECT_THAT(Sent(), ElementsAre());
    } else {
      SetItemText(IDC_MESSAGE, "Serverneustart um 12 Uhr");  // what is there at the end is sent
      ASSERT_TRUE(PumpUntil([&] { return !Sent().empty(); }, 10000));
      const DWORD elapsed = GetTickCount() - start;
      EXPECT_GE(elapsed, 4900u);
      EXPECT_LE(elapsed, 6500u);
      EXPECT_THAT(Sent(), ElementsAre("net send /DOMAIN:BUERO Serverneustart um 12 Uhr"));
      EXPECT_TRUE(Enabled(IDC_SEND));
      EXPECT_TRUE(Enabled(IDC_CLEAR));
    }
    EXPECT_EQ(FindCountdown(), nullptr);
  }
}

// Message files come from a drop of exactly one file or from the file dialogs; a save that
// fails says so.
TEST_F(MainWindowTest, MessageFilesAreDroppedLoadedAndSaved) {
  const std::string file = scratch + "\\nachricht.txt", saved = scratch + "\\gespeichert.txt";
  wintest::WriteTextFile(file, "Zeile 1\r\n\r\nZeile 2");
  Open();
  SetItemText(IDC_MESSAGE, "bisher");
  for (const std::vector<std::string>& drop : {std::vector{file, file}, std::vector{file}}) {
    SendMessageA(Item(IDC_MESSAGE), WM_DROPFILES, reinterpret_cast<WPARAM>(wintest::MakeDrop(drop)),
                 0);
    EXPECT_EQ(ItemText(IDC_MESSAGE), drop.size() == 1 ? "Zeile 1\r\nZeile 2\r\n" : "bisher");
  }
  fileDialogs->answers = {saved, saved};
  Command(IDM_MESSAGE_SAVE);
  EXPECT_EQ(wintest::ReadTextFile(saved), "Zeile 1\r\r\nZeile 2\r\r\n");
  Command(IDM_MESSAGE_CLEAR);
  EXPECT_EQ(ItemText(IDC_MESSAGE), "");
  Command(IDM_MESSAGE_LOAD);
  EXPECT_EQ(ItemText(IDC_MESSAGE), "Zeile 1\r\nZeile 2\r\n");
  fileDialogs->answers = {scratch + "\\kein\\ordner\\x.txt"};
  Command(IDM_MESSAGE_SAVE);
  EXPECT_THAT(BoxTexts(), ElementsAre("Die Nachricht konnte nicht gespeichert werden."));
}

// Minimising goes to the tray, or with taskbar minimising to the taskbar, where only a double
// click on the icon restores the window.
TEST_F(MainWindowTest, MinimisingAndTrayClicksFollowTheMinimiseSetting) {
  Open();
  EXPECT_TRUE(Checked(IDM_MINIMIZE_SYSTRAY));
  SendMessageA(window_, WM_SYSCOMMAND, SC_MINIMIZE, 0);
  EXPECT_FALSE(Visible());
  EXPECT_FALSE(IsIconic(window_));
  EXPECT_TRUE(ShellIcon(window_, 1));
  EXPECT_EQ(notifyIcon->lastTip, "Einzelempfänger[0]: Empfang");
  Tray(WM_LBUTTONDBLCLK);
  const struct {
    bool taskbar;
    UINT click;
    bool restores;
  } cases[] = {
      {false, WM_LBUTTONDOWN, true}, {true, WM_LBUTTONDOWN, false}, {true, WM_LBUTTONDBLCLK, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.taskbar << " " << c.click);
    if (c.taskbar != app->settings().TaskMinimize())
      Command(IDM_MINIMIZE_TASKBAR);
    window->MoveToTray();
    Tray(c.click);
    EXPECT_EQ(Visible(), c.restores);
    EXPECT_EQ(ShellIcon(window_, 1), !c.restores);
    Tray(WM_LBUTTONDBLCLK);
  }
  EXPECT_TRUE(Checked(IDM_MINIMIZE_TASKBAR));
  EXPECT_FALSE(Checked(IDM_MINIMIZE_SYSTRAY));
  SendMessageA(window_, WM_SYSCOMMAND, SC_MINIMIZE, 0);
  EXPECT_TRUE(IsIconic(window_));  // the ordinary minimising
  EXPECT_FALSE(ShellIcon(window_, 1));
}

TEST_F(MainWindowTest, TheIconComesBackAfterAShellRestartAndGoesWithTheProgram) {
  Open();
  window->MoveToTray();
  wintest::ShellIcon(window_, 1, NIM_DELETE);
  ASSERT_FALSE(ShellIcon(window_, 1));
  SendMessageA(window_, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
  EXPECT_TRUE(ShellIcon(window_, 1));
  HWND hwnd = window_;
  Command(IDM_TRAY_EXIT);
  EXPECT_FALSE(ShellIcon(hwnd, 1));
}

// The topmost send report of this process, the one opened last.
HWND NewestReport() {
  return wintest::OwnDialog("Sendebericht", true);
}

// With the report on, a list send opens one report and no outcome box: a row per member in the
// boxes' words, the state in the caption, the rows as a table on the clipboard, sorted by a
// header click and filtered to the failed ones. A resend of the failed members updates the same
// report, whose rows then tell the attempt. It stays while the main window is in the tray;
// closed while its sends run, they end without a word. A name with a blank is refused in its
// row, and members beyond MaxThreads wait instead of being turned away. With the report off,
// the boxes of before.
TEST_F(MainWindowTest, ASendReportLivesThroughItsResend) {
  const char* kStations = "[station R1]\nsend_delay_ms = 300\n[station R3]\n[station R6]\n";
  network.Reset(std::string(kStations) +
                "[station R2]\nonline = 0\n[station R4]\nsend_error = 5\n[station R5]\n"
                "online = 0\nsend_delay_ms = 600\n");
  UseListFile(
      "//begin\r\nR1 Empfang\r\n//end\r\n//v_begin\r\nSechs [R1,R2,R3,R4,R5,R6]\r\n"
      "//v_end\r\n");
  Open();
  Click(IDC_MODE_LIST);
  Command(IDM_SEND_REPORT);
  SetItemText(IDC_MESSAGE, "Kaffee ist fertig\r\nim 2. Stock");
  const auto ended = [&] {
    return PumpUntil([&] { return services.workers.counter->Value() == 0; }, 10000);
  };
  const auto rows = [](HWND report) {
    return wintest::ListRows(GetDlgItem(report, IDC_REPORT_ROWS), 3);
  };
  const std::string offline = "Der Empfänger ist unbekannt oder offline.";

  SelectEntry(0);
  Click(IDC_SEND);
  HWND report = NewestReport();
  ASSERT_TRUE(report && ended());
  EXPECT_EQ(wintest::WindowText(report), "Sendebericht Sechs: 3 zugestellt, 3 fehlgeschlagen");
  EXPECT_THAT(rows(report),
              ElementsAre("R1|Empfang|zugestellt", "R2|R2|" + offline, "R3|R3|zugestellt",
                          EndsWith("(Code 5)."), "R5|R5|" + offline, "R6|R6|zugestellt"));
  EXPECT_THAT(ItemText(report, IDC_REPORT_HEADING),
              AllOf(StartsWith("Sechs, gesendet am "), EndsWith(": Kaffee ist fertig")));
  EXPECT_THAT(BoxTexts(), ElementsAre());
  wintest::NotifyList(report, IDC_REPORT_ROWS, LVN_COLUMNCLICK, 2);  // the failures group
  EXPECT_THAT(rows(report),
              ElementsAre("R2|R2|" + offline, "R5|R5|" + offline, EndsWith("(Code 5)."),
                          "R1|Empfang|zugestellt", "R3|R3|zugestellt", "R6|R6|zugestellt"));
  Click(report, IDC_REPORT_ONLY_FAILED);
  EXPECT_THAT(rows(report),
              ElementsAre("R2|R2|" + offline, "R5|R5|" + offline, EndsWith("(Code 5).")));
  HDITEMA header = {};
  header.mask = HDI_FORMAT;  // the header shows the direction, filtered or not
  Header_GetItem(ListView_GetHeader(GetDlgItem(report, IDC_REPORT_ROWS)), 2, &header);
  EXPECT_TRUE(header.fmt & HDF_BITMAP_ON_RIGHT);
  Click(report, IDC_REPORT_ONLY_FAILED);
  window->MoveToTray();
  EXPECT_TRUE(IsWindowVisible(report));
  Tray(WM_LBUTTONDBLCLK);

  // The three stations are reachable now: the same report turns their rows into deliveries.
  network.Reset(std::string(kStations) + "[station R2]\n[station R4]\n[station R5]\n");
  const size_t before = Sent().size();
  Click(report, IDC_REPORT_RESEND);
  EXPECT_FALSE(Enabled(report, IDC_REPORT_RESEND));
  EXPECT_EQ(NewestReport(), report);
  ASSERT_TRUE(ended());
  PumpFor(50);
  const std::vector<std::string> sent = Sent();
  const std::string message = " Kaffee ist fertig\r\nim 2. Stock";
  EXPECT_THAT(std::vector(sent.begin() + static_cast<long>(before), sent.end()),
              UnorderedElementsAre("net send R2" + message, "net send R4" + message,
                                   "net send R5" + message));
  EXPECT_EQ(wintest::WindowText(report), "Sendebericht Sechs: 6 zugestellt, 0 fehlgeschlagen");
  EXPECT_THAT(rows(report),
              ElementsAre("R2|R2|zugestellt (2. Versuch)", "R4|R4|zugestellt (2. Versuch)",
                          "R5|R5|zugestellt (2. Versuch)", "R1|Empfang|zugestellt",
                          "R3|R3|zugestellt", "R6|R6|zugestellt"));
  Click(report, IDC_REPORT_COPY);
  EXPECT_THAT(wintest::ClipboardText(),
              AllOf(StartsWith("Sendebericht Sechs vom "),
                    HasSubstr(": 6 zugestellt, 0 fehlgeschlagen\r\nStation\tName\tErgebnis\r\n"
                              "R2\tR2\tzugestellt (2. Versuch)\r\n"),
                    EndsWith("R6\tR6\tzugestellt\r\n")));
  Click(report, IDCANCEL);

  Click(IDC_SEND);
  Click(report = NewestReport(), IDCANCEL);  // closed at once: the sends end without a word
  ASSERT_TRUE(ended());
  PumpFor(50);
  EXPECT_FALSE(IsWindow(report));
  EXPECT_THAT(BoxTexts(), ElementsAre());

  app->settings().values().maxThreads = 2;  // the others wait for a free worker
  TypeRecipient("R1,,R 7, ,R3,R4,R5");
  Click(IDC_SEND);
  ASSERT_TRUE(PumpUntil(
      [&] { return wintest::WindowText(NewestReport()).find("läuft") == std::string::npos; },
      10000));
  const std::string refused =
      "Der Empfängername \"R 7\" enthält ein Leerzeichen und wird übersprungen.";
  EXPECT_THAT(rows(NewestReport()),
              ElementsAre("R1|Empfang|zugestellt", "R 7|R 7|" + refused, "R3|R3|zugestellt",
                          "R4|R4|zugestellt", "R5|R5|zugestellt"));
  EXPECT_THAT(BoxTexts(), ElementsAre());
  EXPECT_FALSE(Enabled(NewestReport(), IDC_REPORT_RESEND));  // it would be refused again
  app->settings().values().maxThreads = 20;

  network.Reset(std::string(kStations) +
                "[station R2]\nonline = 0\n[station R4]\n"
                "send_error = 5\n[station R5]\nonline = 0\n");
  Command(IDM_SEND_REPORT);
  SelectEntry(0);
  Click(IDC_SEND);
  ASSERT_TRUE(ended());
  EXPECT_THAT(BoxTexts(), UnorderedElementsAre(offline, offline, EndsWith("(Code 5).")));
}

// The three ways of delivery are one choice, marked with a radio bullet; "Automatisch" names
// the tool it takes on this system.
TEST_F(MainWindowTest, DeliveryIsOneChoiceAndAutomaticNamesItsTool) {
  Open();
  Command(IDM_DELIVERY_MSG);
  for (UINT id : {IDM_DELIVERY_AUTO, IDM_DELIVERY_NET_SEND, IDM_DELIVERY_MSG}) {
    MENUITEMINFOA item = {};
    item.cbSize = sizeof(item);
    item.fMask = MIIM_FTYPE | MIIM_STATE;
    GetMenuItemInfoA(GetMenu(window_), id, FALSE, &item);
    EXPECT_EQ(item.fState & MFS_CHECKED ? item.fType & MFT_RADIOCHECK : 1u,
              id == IDM_DELIVERY_MSG ? MFT_RADIOCHECK : 1u);
  }
  char text[64] = {};
  GetMenuStringA(GetMenu(window_), IDM_DELIVERY_AUTO, text, sizeof(text), MF_BYCOMMAND);
  EXPECT_THAT(std::string(text),
              ::testing::AnyOf("&Automatisch (jetzt: msg)", "&Automatisch (jetzt: net send)"));
}

TEST_F(MainWindowTest, ListenpfadWithANewFileRefillsTheBox) {
  const std::string other = scratch + "\\andere.txt";
  wintest::WriteTextFile(other, "//begin\r\nPC7 Sieben\r\n//end\r\n");
  Open();
  fileDialogs->answers = {""};  // cancelled: nothing changes
  Command(IDM_LIST_PATH);
  EXPECT_EQ(BoxEntries().size(), 4u);
  fileDialogs->answers = {other};
  Command(IDM_LIST_PATH);
  EXPECT_EQ(fileDialogs->requests.back().initialFile, scratch + "\\Rechner.txt");
  EXPECT_EQ(app->settings().RechnerListePfad(), other);
  EXPECT_THAT(BoxEntries(), ElementsAre("Sieben"));
}

}  // namespace
}  // namespace botenruf
