// The About box with its hidden extras, the text viewer, and the help hint and the tray menu of
// the main window, from the real resources.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <windows.h>

#include "about/about_box.h"
#include "about/win32/about_dialogs.h"
#include "platform/win32/win32_version.h"
#include "support/main_window_fixture.h"

namespace botenruf {
namespace {

using ::testing::StartsWith;
using wintest::ItemText;
using wintest::PumpUntil;
using wintest::WhenShown;

void HoldKeys(bool down) {
  BYTE keys[256];
  GetKeyboardState(keys);
  keys[kHiddenKeyFirst] = keys[kHiddenKeySecond] = down ? 0x80 : 0;
  SetKeyboardState(keys);
}

class AboutTest : public ::testing::Test {
 protected:
  ~AboutTest() override { HoldKeys(false); }
  RecipientDirectory directory;
};

// The version block is read from the running program's own file; a file without one leaves the
// fields empty.
TEST_F(AboutTest, AboutBoxShowsTheVersionBlockOfItsOwnFile) {
  VersionBlock own, none{"x", "x", "x", "x"};
  ASSERT_TRUE(win::ReadOwnVersionBlock(own));
  EXPECT_EQ(own, (VersionBlock{"3.0.0.15", "1.0.0.1", "Release 08.07.2004",
                               "Copyright © 2004 Brenk. Alle Rechte vorbehalten."}));
  EXPECT_FALSE(win::ReadVersionBlock(wintest::kBuildDir + "/gibt-es-nicht.exe", none));
  // The simulated tools carry no version resource.
  EXPECT_FALSE(win::ReadVersionBlock(wintest::kBuildDir + "/tests/netsim/sleeper.exe", none));
  EXPECT_EQ(none, VersionBlock{});
  for (const VersionBlock& version : {own, none}) {
    SCOPED_TRACE(version.fileVersion);
    win::AboutDialog about(nullptr, directory, version);
    wintest::RunModalWithScript(about, [&](HWND box) {
      EXPECT_EQ(ItemText(box, IDC_ABOUT_VERSION), "Botenruf Version (" + version.fileVersion + ")");
      EXPECT_EQ(ItemText(box, IDC_ABOUT_COMMENTS), version.comments);
      EXPECT_EQ(ItemText(box, IDC_ABOUT_LEGAL), version.legalNotice);
    });
  }
}

// A click on the icon shows the directory as it is at that moment in a resizable viewer; the
// hidden sequence of double clicks reveals a text, and a right double click the dedication.
TEST_F(AboutTest, TheIconAndTheDoubleClicksShowTheirDialogsOverTheAboutBox) {
  directory.AddSingle("Empfang", "PC017");
  directory.AddList("Alle", "PC017,PC022,");
  win::AboutDialog about(nullptr, directory, {});
  wintest::RunModalWithScript(about, [this](HWND box) {
    directory.AddSingle("Lager", "PC030");
    WhenShown viewer("Listen-Info", [&](HWND window) {
      EXPECT_EQ(GetWindow(window, GW_OWNER), box);
      EXPECT_EQ(ItemText(window, IDC_VIEWER_TEXT),
                "<<<Einzelempfänger>>>\r\nPC017 = Empfang\r\nPC030 = Lager\r\n"
                "<<<Verteilerlisten>>>\r\nAlle = PC017,PC022,\r\n");
      SetWindowPos(window, nullptr, 0, 0, 100, 80, SWP_NOMOVE | SWP_NOZORDER);
      RECT outer;
      GetWindowRect(window, &outer);
      EXPECT_EQ(outer.right - outer.left, 365);  // asked for less, it keeps its minimum size
      EXPECT_EQ(outer.bottom - outer.top, 233);
    });
    SendMessageA(GetDlgItem(box, IDC_ABOUT_ICON), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageA(GetDlgItem(box, IDC_ABOUT_ICON), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_TRUE(viewer.ran());

    // The double clicks land on the box itself, through the animation and its frame.
    POINT corner = {20, 20};
    ClientToScreen(box, &corner);
    EXPECT_EQ(WindowFromPoint(corner), box);
    HoldKeys(true);  // three counting double clicks reveal the hidden text
    WhenShown hidden("Info über Botenruf...", [&](HWND window) {
      EXPECT_EQ(ItemText(window, IDC_HIDDEN_TEXT), UnscrambleHiddenText());
    });
    for (int i = 0; i < 3; ++i)
      SendMessageA(box, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(20, 20));
    EXPECT_TRUE(hidden.ran());
    WhenShown dedication("Widmung", [](HWND window) {
      EXPECT_THAT(ItemText(window, IDC_DEDICATION_TEXT), StartsWith("Gewidmet"));
    });
    SendMessageA(box, WM_RBUTTONDBLCLK, 0, MAKELPARAM(200, 60));
    EXPECT_TRUE(dedication.ran());
  });
}

// F1 from the real main window shows the help hint; the tray menu, which still answers while a
// dialog is open over the disabled window, cannot stack a second dialog on it.
using AboutEntryTest = wintest::MainWindowFixture;

TEST_F(AboutEntryTest, F1ShowsTheHintAndTheTrayMenuCannotStackASecondDialog) {
  UseListFile("//begin\r\nPC1 Eins\r\n//end\r\n");
  Open();
  SetForegroundWindow(window_);
  SetFocus(Item(IDC_MESSAGE));
  WhenShown hint("Wo ist denn hier die Hilfe ?", [](HWND) {});
  keybd_event(VK_F1, 0, 0, 0);
  keybd_event(VK_F1, 0, KEYEVENTF_KEYUP, 0);
  EXPECT_TRUE(PumpUntil([&] { return hint.ran(); }, 3000));

  bool stacked = true;
  WhenShown history("Versions-Info", [&](HWND) {
    WhenShown about("Info über Botenruf", [](HWND) {});
    Command(IDM_TRAY_ABOUT);
    stacked = about.ran();
  });
  Command(IDM_VERSION_HISTORY);
  EXPECT_TRUE(history.ran());
  EXPECT_FALSE(stacked);
}

}  // namespace
}  // namespace botenruf
