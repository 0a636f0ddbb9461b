// The About box with its hidden extras, the text viewer, the help hint and every way the main
// window opens them, from the real resources.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <vector>

#include "about/about_box.h"
#include "about/text_viewer.h"
#include "about/win32/about_dialogs.h"
#include "about/win32/text_viewer_dialog.h"
#include "platform/win32/win32_version.h"
#include "resource.h"
#include "support/main_window_fixture.h"
#include "support/win_test_support.h"

namespace botenruf {
namespace {

using ::testing::EndsWith;
using ::testing::StartsWith;
using wintest::Click;
using wintest::PumpUntil;
using wintest::RunModalWithScript;

std::string Text(HWND dialog, int id) {
  HWND item = GetDlgItem(dialog, id);
  std::string text(static_cast<size_t>(GetWindowTextLengthA(item)) + 1, '\0');
  text.resize(
      static_cast<size_t>(GetWindowTextA(item, text.data(), static_cast<int>(text.size()))));
  return text;
}

// Client rectangle of a control in its dialog's client coordinates.
Rect ControlRect(HWND dialog, int id) {
  RECT rect;
  GetWindowRect(GetDlgItem(dialog, id), &rect);
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
  return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

HWND AnimationIn(HWND dialog, int frameId) {
  return FindWindowExA(GetDlgItem(dialog, frameId), nullptr, ANIMATE_CLASSA, nullptr);
}

// The animation's current frame as the control paints it.
std::string Frame(HWND animation) {
  RECT client;
  GetClientRect(animation, &client);
  HDC screen = GetDC(animation);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, client.right, client.bottom);
  HGDIOBJ old = SelectObject(dc, bitmap);
  SendMessageA(animation, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
  SelectObject(dc, old);
  std::string pixels(static_cast<size_t>(client.right * client.bottom * 4), '\0');
  pixels.resize(GetBitmapBits(bitmap, static_cast<LONG>(pixels.size()), pixels.data()));
  DeleteObject(bitmap);
  DeleteDC(dc);
  ReleaseDC(animation, screen);
  return pixels;
}

bool Plays(HWND animation) {
  std::string first;
  if (!PumpUntil(
          [&] {
            return (first = Frame(animation)).find_first_not_of(first[0]) != std::string::npos;
          },
          2000)) {
    return false;  // nothing drawn
  }
  return PumpUntil([&] { return Frame(animation) != first; }, 2000);
}

// Runs `check` on the dialog with this caption as soon as it shows (inside whatever modal loop
// shows it), then presses its OK button. Several may wait at once, each for its own caption.
class WhenShown {
 public:
  WhenShown(const char* caption, std::function<void(HWND)> check)
      : caption_(caption), check_(std::move(check)) {
    waiting_.push_back(this);
    timer_ = SetTimer(nullptr, 0, 20, &Poll);
  }
  ~WhenShown() {
    KillTimer(nullptr, timer_);
    std::erase(waiting_, this);
  }
  bool ran() const { return ran_; }

 private:
  static void CALLBACK Poll(HWND, UINT, UINT_PTR, DWORD) {
    for (WhenShown* watcher : waiting_) {
      HWND dialog = FindWindowA("#32770", watcher->caption_);
      if (watcher->ran_ || !dialog || !IsWindowVisible(dialog))
        continue;
      // The check may wait for further dialogs (and change the list); this round ends here.
      watcher->ran_ = true;
      watcher->check_(dialog);
      Click(dialog, IDOK);
      return;
    }
  }

  static inline std::vector<WhenShown*> waiting_;
  const char* caption_;
  std::function<void(HWND)> check_;
  UINT_PTR timer_ = 0;
  bool ran_ = false;
};

void HoldKeys(bool down) {
  BYTE keys[256];
  GetKeyboardState(keys);
  keys[kHiddenKeyFirst] = keys[kHiddenKeySecond] = down ? 0x80 : 0;
  SetKeyboardState(keys);
}

HICON ShownIcon(HWND about) {
  return reinterpret_cast<HICON>(
      SendMessageA(GetDlgItem(about, IDC_ABOUT_ICON), STM_GETICON, 0, 0));
}

HICON Icon(int id) {
  return LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id));
}

class AboutTest : public ::testing::Test {
 protected:
  ~AboutTest() override { HoldKeys(false); }
  RecipientDirectory directory;
};

TEST_F(AboutTest, AboutBoxShowsTheProgramsVersionBlockAndPlaysItsAnimation) {
  VersionBlock version;
  ASSERT_TRUE(win::ReadOwnVersionBlock(version));
  EXPECT_EQ(version, (VersionBlock{"3.0.0.15", "1.0.0.1", "Release 08.07.2004",
                                   "Copyright © 2004 Brenk. Alle Rechte vorbehalten."}));
  win::AboutDialog about(nullptr, directory, version);
  RunModalWithScript(about, [](HWND box) {
    EXPECT_EQ(wintest::WindowText(box), "Info über Botenruf");
    EXPECT_EQ(Text(box, IDC_ABOUT_VERSION), "Botenruf Version (3.0.0.15)");
    EXPECT_EQ(Text(box, IDC_ABOUT_COMMENTS), "Release 08.07.2004");
    EXPECT_EQ(Text(box, IDC_ABOUT_LEGAL), "Copyright © 2004 Brenk. Alle Rechte vorbehalten.");
    EXPECT_EQ(Text(box, IDC_ABOUT_FEEDBACK), "feedback@botenruf.example");
    HWND animation = AnimationIn(box, IDC_ABOUT_ANIMATION);
    ASSERT_NE(animation, nullptr);
    EXPECT_TRUE(Plays(animation));
    Click(box, IDOK);
  });
}

TEST_F(AboutTest, AProgramFileWithoutVersionBlockLeavesTheFieldsEmpty) {
  VersionBlock version{"x", "x", "x", "x"};
  // The simulated tools carry no version resource.
  EXPECT_FALSE(win::ReadVersionBlock(wintest::BuildDir() + "/tests/netsim/sleeper.exe", version));
  EXPECT_EQ(version, VersionBlock{});
  EXPECT_FALSE(win::ReadVersionBlock(wintest::BuildDir() + "/gibt-es-nicht.exe", version));
  win::AboutDialog about(nullptr, directory, version);
  RunModalWithScript(about, [](HWND box) {
    EXPECT_EQ(Text(box, IDC_ABOUT_VERSION), "Botenruf Version ()");
    EXPECT_EQ(Text(box, IDC_ABOUT_COMMENTS), "");
    EXPECT_EQ(Text(box, IDC_ABOUT_LEGAL), "");
    Click(box, IDOK);
  });
}

TEST_F(AboutTest, IconClickShowsTheDirectoryAsItIsThenOverTheAboutBox) {
  directory.AddSingle("Empfang", "PC017");
  directory.AddList("Alle", "PC017,PC022,");
  win::AboutDialog about(nullptr, directory, {});
  RunModalWithScript(about, [this](HWND box) {
    directory.AddSingle("Lager", "PC030");  // added while the About box is open
    std::string body;
    HWND owner = nullptr;
    WhenShown viewer("Listen-Info", [&](HWND window) {
      body = Text(window, IDC_VIEWER_TEXT);
      owner = GetWindow(window, GW_OWNER);
    });
    SendMessageA(GetDlgItem(box, IDC_ABOUT_ICON), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageA(GetDlgItem(box, IDC_ABOUT_ICON), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_TRUE(viewer.ran());
    EXPECT_EQ(owner, box);
    EXPECT_EQ(body,
              "<<<Einzelempfänger>>>\r\nPC017 = Empfang\r\nPC030 = Lager\r\n"
              "<<<Verteilerlisten>>>\r\nAlle = PC017,PC022,\r\n");
    Click(box, IDOK);
  });
}

TEST_F(AboutTest, HiddenSequenceRevealsTheTextAndARightDoubleClickTheDedication) {
  win::AboutDialog about(nullptr, directory, {});
  RunModalWithScript(about, [](HWND box) {
    // The double clicks land on the box itself, through the animation and its frame.
    POINT corner = {20, 20};
    ClientToScreen(box, &corner);
    EXPECT_EQ(WindowFromPoint(corner), box);
    auto doubleClick = [box](int x, int y) {
      SendMessageA(box, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(x, y));
    };
    HoldKeys(true);
    doubleClick(20, 20);
    EXPECT_EQ(ShownIcon(box), Icon(IDI_HIDDEN_FIRST));
    doubleClick(100, 20);  // outside the corner: start over
    EXPECT_EQ(ShownIcon(box), Icon(IDR_MAINFRAME));
    doubleClick(20, 20);
    doubleClick(60, 60);
    EXPECT_EQ(ShownIcon(box), Icon(IDI_HIDDEN_SECOND));
    HICON iconMeanwhile = nullptr;
    std::string text;
    WhenShown hidden("Info über Botenruf...", [&](HWND window) {
      iconMeanwhile = ShownIcon(box);
      text = Text(window, IDC_HIDDEN_TEXT);
    });
    doubleClick(40, 40);
    EXPECT_TRUE(hidden.ran());
    EXPECT_EQ(iconMeanwhile, Icon(IDI_HIDDEN_REVEAL));
    EXPECT_EQ(text.size(), 307u);
    EXPECT_THAT(text, StartsWith("Schön, dass Sie"));
    EXPECT_EQ(ShownIcon(box), Icon(IDR_MAINFRAME));

    bool playing = false;
    std::string dedication;
    WhenShown widmung("Widmung", [&](HWND window) {
      dedication = Text(window, IDC_DEDICATION_TEXT);
      playing = Plays(AnimationIn(window, IDC_DEDICATION_ANIMATION));
    });
    SendMessageA(box, WM_RBUTTONDBLCLK, 0, MAKELPARAM(200, 60));
    EXPECT_TRUE(widmung.ran());
    EXPECT_THAT(dedication, StartsWith("Gewidmet"));
    EXPECT_TRUE(playing);
    Click(box, IDOK);
  });
}

TEST_F(AboutTest, ViewerKeepsItsLayoutRuleAndItsMinimumSize) {
  win::TextViewerDialog viewer(nullptr);
  viewer.SetContents("Listen-Info", {"<<<Einzelempfänger>>>", "<<<Verteilerlisten>>>"});
  RunModalWithScript(viewer, [](HWND window) {
    const Rect ok = ControlRect(window, IDOK);
    for (SIZE size : {SIZE{640, 480}, SIZE{501, 377}}) {
      SCOPED_TRACE(size.cx);
      SetWindowPos(window, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER);
      RECT client;
      GetClientRect(window, &client);
      const int w = client.right, h = client.bottom;
      EXPECT_EQ(ControlRect(window, IDC_VIEWER_TEXT), (Rect{5, 11, w - 13, h - 42}));
      EXPECT_EQ(ControlRect(window, IDOK),
                (Rect{w / 2 - ok.width / 2 - 1, h - 3 - ok.height, ok.width, ok.height}));
    }
    SetWindowPos(window, nullptr, 0, 0, 100, 80, SWP_NOMOVE | SWP_NOZORDER);
    RECT outer;
    GetWindowRect(window, &outer);
    EXPECT_EQ(outer.right - outer.left, 365);
    EXPECT_EQ(outer.bottom - outer.top, 233);
    Click(window, IDOK);
  });
}

// Every way into the dialogs from the real main window.
class AboutEntryTest : public wintest::MainWindowFixture {
 protected:
  void SetUp() override { UseListFile("//begin\r\nPC1 Eins\r\n//end\r\n"); }
  // True when the action showed the dialog with this caption.
  bool Shows(
      const char* caption, const std::function<void()>& action,
      const std::function<void(HWND)>& check = [](HWND) {}) {
    WhenShown dialog(caption, check);
    action();
    PumpUntil([&] { return dialog.ran(); }, 3000);
    return dialog.ran();
  }
};

void PressF1() {
  INPUT keys[2] = {};
  keys[0].type = keys[1].type = INPUT_KEYBOARD;
  keys[0].ki.wVk = keys[1].ki.wVk = VK_F1;
  keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, keys, sizeof(INPUT));
}

TEST_F(AboutEntryTest, EveryEntryPointOpensItsDialog) {
  Open();
  HMENU menu = GetMenu(window_);
  for (UINT item : {IDM_VERSION_HISTORY, IDM_LIST_INFO, IDM_ABOUT})
    EXPECT_EQ(GetMenuState(menu, item, MF_BYCOMMAND) & MF_GRAYED, 0u) << item;
  const char* about = "Info über Botenruf";
  auto command = [this](int id) { return [this, id] { Command(id); }; };
  const struct {
    const char* name;
    std::function<void()> action;
    const char* caption;
  } entries[] = {
      {"F1",
       [this] {
         SetFocus(Item(IDC_MESSAGE));
         PressF1();
       },
       "Wo ist denn hier die Hilfe ?"},
      {"menu", command(IDM_ABOUT), about},
      {"menu", command(IDM_VERSION_HISTORY), "Versions-Info"},
      {"menu", command(IDM_LIST_INFO), "Listen-Info"},
      {"system menu", [this] { SendMessageA(window_, WM_SYSCOMMAND, IDM_SYS_ABOUT, 0); }, about},
      {"tray menu", command(IDM_TRAY_ABOUT), about},
      {"tray menu", command(IDM_TRAY_VERSION_HISTORY), "Versions-Info"},
      {"tray menu", command(IDM_TRAY_LIST_INFO), "Listen-Info"},
      {"tray icon",
       [this] {
         window->MoveToTray();
         SendMessageA(window_, WM_APP_TRAY_CALLBACK, 1, WM_RBUTTONDBLCLK);
       },
       about},
  };
  SetForegroundWindow(window_);
  for (const auto& entry : entries) {
    SCOPED_TRACE(::testing::Message() << entry.name << " " << entry.caption);
    EXPECT_TRUE(Shows(entry.caption, entry.action));
  }
  EXPECT_FALSE(IsWindowVisible(window_));  // the About box from the tray leaves it there

  std::string history, hint;
  EXPECT_TRUE(Shows("Versions-Info", command(IDM_VERSION_HISTORY),
                    [&](HWND viewer) { history = Text(viewer, IDC_VIEWER_TEXT); }));
  EXPECT_THAT(history, StartsWith("1.0.0.0\tDie Urversion\r\n1.0.0.1\t"));
  EXPECT_THAT(history,
              EndsWith("\r\n3.0.0.15\tSuche nach Update auf den Seiten der Tarvo-Netz\r\n"));
  EXPECT_EQ(RecipientDirectory::CountOccurrences(history, "\r\n"), 40);
  bool playing = false;
  EXPECT_TRUE(Shows("Wo ist denn hier die Hilfe ?", command(IDM_HELP), [&](HWND window) {
    hint = Text(window, IDC_HINT_TEXT);
    playing = Plays(AnimationIn(window, IDC_HINT_ANIMATION));
  }));
  EXPECT_EQ(hint,
            "Bitte lesen Sie die extern mitgelieferte ausführliche Anleitung des Botenrufs, die "
            "alle notwendigen Punkte erläutert.");
  EXPECT_TRUE(playing);
}

TEST_F(AboutEntryTest, TheTrayMenuCannotStackASecondDialogOnAnOpenOne) {
  Open();
  bool stacked = true;
  EXPECT_TRUE(Shows(
      "Versions-Info", [&] { Command(IDM_VERSION_HISTORY); },
      [&](HWND) {
        WhenShown about("Info über Botenruf", [](HWND) {});
        Command(IDM_TRAY_ABOUT);  // the tray menu still answers meanwhile
        stacked = about.ran();
      }));
  EXPECT_FALSE(stacked);
}

}  // namespace
}  // namespace botenruf
