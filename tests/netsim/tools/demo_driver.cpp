// A simulated user for the demo run and the manual's pictures: drives the running Botenruf
// window by window messages and, where the program reads the mouse or keyboard, by input.
//   demo_driver send MODE NAME TEXT   clicks mode button MODE (0 or 1), picks the entry NAME,
//                                types the text, presses "Senden" and waits until every send
//                                has ended or waits on its result box (the boxes are listed
//                                and left open)
//   demo_driver close            answers the result boxes, presses "Beenden" and waits for
//                                the window to go
//   demo_driver mode N           clicks the mode button N (0, 1 or 2)
//   demo_driver type TEXT        puts the text into the message editor
//   demo_driver click ID [IN]    clicks the button with this control id in the main window,
//                                or in the program's topmost window whose caption holds IN
//   demo_driver select ID ROW IN picks row ROW (from 0) of list view ID in that window with
//                                the keyboard
//   demo_driver minimize         minimises the window as its caption button does
//   demo_driver command ID       gives the menu command with this id (the window that it
//                                opens stays open)
//   demo_driver window [IN]      waits for the program's topmost window whose caption holds
//                                IN ("menu": its open menus together; none: the main window)
//                                and prints where it is as WIDTHxHEIGHT+X+Y
//   demo_driver menu LETTER      opens the menu of the menu bar with this access key
//   demo_driver key NAME         presses a key: escape, enter, down, right or f1
//   demo_driver tray right|left|double  the mouse on the notification-area icon
//   demo_driver rightclick ROW   right-clicks row ROW of the open domain browser's list
//   demo_driver rightdouble IN   right double click inside the window whose caption holds IN
//   demo_driver shares ROW       in the open domain browser, picks row ROW (from 0) with the
//                                keyboard and opens its shares browser
//   demo_driver info MODE NAME   clicks mode button MODE (0, 1 or 2), picks the entry NAME,
//                                presses "Info" and waits until the information window is
//                                open and (for a list or domain) has finished its search
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr int kRecipientBox = 1004;
constexpr int kListMode = 1031;
constexpr int kMessage = 1001;
constexpr int kSend = 1052;
constexpr int kNotifyGroup = 1046;
constexpr int kInfo = 1002;
constexpr int kModeButtons[] = {1032, kListMode, 1033};
constexpr UINT kTrayCallback = WM_APP + 3;

// The main window is the "Botenruf" dialog with the recipient box (result boxes share the
// caption). In the tray it is hidden, which only some commands accept.
HWND WaitForMainWindow(DWORD timeoutMs, bool visible) {
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < timeoutMs) {
    for (HWND window = FindWindowExA(nullptr, nullptr, "#32770", "Botenruf"); window;
         window = FindWindowExA(nullptr, window, "#32770", "Botenruf")) {
      if (GetDlgItem(window, kRecipientBox) && (!visible || IsWindowVisible(window)))
        return window;
    }
    Sleep(100);
  }
  return nullptr;
}

std::string Text(HWND window) {
  char text[256] = {};
  SendMessageA(window, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text));
  return text;
}

// Result boxes of the send workers: dialogs captioned "Botenruf" that are not the main window.
std::vector<HWND> ResultBoxes() {
  std::vector<HWND> boxes;
  for (HWND window = FindWindowExA(nullptr, nullptr, "#32770", "Botenruf"); window;
       window = FindWindowExA(nullptr, window, "#32770", "Botenruf")) {
    if (!GetDlgItem(window, kRecipientBox) && IsWindowVisible(window))
      boxes.push_back(window);
  }
  return boxes;
}

std::string BoxText(HWND box) {
  for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    char className[32] = {};
    GetClassNameA(child, className, sizeof(className));
    if (lstrcmpiA(className, "Static") == 0 && !Text(child).empty())
      return Text(child);
  }
  return {};
}

int InFlight(HWND group) {
  const std::string caption = Text(group);
  const size_t open = caption.find('[');
  return open == std::string::npos ? -1 : std::atoi(caption.c_str() + open + 1);
}

bool WaitForCaption(HWND group, const std::string& caption, bool equal, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < timeoutMs) {
    if ((Text(group) == caption) == equal)
      return true;
    Sleep(20);
  }
  return false;
}

bool Pick(HWND window, const std::string& name) {
  HWND box = GetDlgItem(window, kRecipientBox);
  const LRESULT index = SendMessageA(box, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                     reinterpret_cast<LPARAM>(name.c_str()));
  if (index == CB_ERR) {
    std::fprintf(stderr, "demo_driver: no entry named %s\n", name.c_str());
    return false;
  }
  SendMessageA(box, CB_SETCURSEL, index, 0);
  SendMessageA(window, WM_COMMAND, MAKEWPARAM(kRecipientBox, CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(box));
  return true;
}

// Sends to a single recipient or a list; a domain send would first run its countdown.
int Send(HWND window, int mode, const std::string& name, const std::string& text) {
  SendMessageA(GetDlgItem(window, kModeButtons[mode]), BM_CLICK, 0, 0);
  if (!Pick(window, name))
    return 1;
  SendMessageA(GetDlgItem(window, kMessage), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
  HWND group = GetDlgItem(window, kNotifyGroup);
  // Boxes of earlier sends may still be open; their workers still count.
  const std::vector<HWND> earlier = ResultBoxes();
  const std::string before = Text(group);
  const DWORD start = GetTickCount();
  PostMessageA(GetDlgItem(window, kSend), BM_CLICK, 0, 0);
  WaitForCaption(group, before, false, 3000);
  std::printf("In Arbeit: %s\n", Text(group).c_str());
  // A worker keeps its count until its box is answered; the rest must have ended.
  while (InFlight(group) != static_cast<int>(ResultBoxes().size())) {
    if (GetTickCount() - start > 60000) {
      std::fprintf(stderr, "demo_driver: the sends did not end\n");
      return 1;
    }
    Sleep(50);
  }
  std::printf("Fertig nach %lu ms.\n", static_cast<unsigned long>(GetTickCount() - start));
  for (HWND box : ResultBoxes()) {
    if (std::find(earlier.begin(), earlier.end(), box) == earlier.end())
      std::printf("Meldung: %s\n", BoxText(box).c_str());
  }
  return 0;
}

// The program's dialogs other than the main window and the result boxes.
std::vector<HWND> InfoWindows(HWND main) {
  DWORD process = 0;
  GetWindowThreadProcessId(main, &process);
  std::vector<HWND> windows;
  for (HWND window = FindWindowExA(nullptr, nullptr, "#32770", nullptr); window;
       window = FindWindowExA(nullptr, window, "#32770", nullptr)) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == process && window != main && IsWindowVisible(window) && Text(window) != "Botenruf")
      windows.push_back(window);
  }
  return windows;
}

int Info(HWND window, int mode, const std::string& name) {
  SendMessageA(GetDlgItem(window, kModeButtons[mode]), BM_CLICK, 0, 0);
  for (int i = 0;
       i < 100 && SendMessageA(GetDlgItem(window, kRecipientBox), CB_GETCOUNT, 0, 0) == 0; ++i) {
    Sleep(100);  // domain names arrive from a query of their own
  }
  if (!Pick(window, name))
    return 1;
  PostMessageA(GetDlgItem(window, kInfo), BM_CLICK, 0, 0);
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < 60000) {
    for (HWND info : InfoWindows(window)) {
      const std::string caption = Text(info);
      if (caption.find("(Suche)") == std::string::npos) {
        std::printf("Fenster: %s\n", caption.c_str());
        return 0;
      }
    }
    Sleep(100);
  }
  std::fprintf(stderr, "demo_driver: no information window\n");
  return 1;
}

// Picks a list view row with the keyboard, as a user would; the view tells its dialog.
void SelectRow(HWND list, int row) {
  PostMessageA(list, WM_KEYDOWN, VK_HOME, 0);
  for (int i = 0; i < row; ++i)
    PostMessageA(list, WM_KEYDOWN, VK_DOWN, 0);
  Sleep(300);
}

struct WindowSearch {
  DWORD process;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<WindowSearch*>(param);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner == search->process && IsWindowVisible(window))
    search->found.push_back(window);
  return TRUE;
}

// Every visible top-level window of the program, topmost first: dialogs, boxes and menus.
std::vector<HWND> ProgramWindows(HWND main) {
  WindowSearch search = {0, {}};
  GetWindowThreadProcessId(main, &search.process);
  EnumWindows(&CollectWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

bool IsMenu(HWND window) {
  char className[16] = {};
  GetClassNameA(window, className, sizeof(className));
  return lstrcmpA(className, "#32768") == 0;
}

// The topmost window of the program other than the main window whose caption holds `part`
// (a result box is captioned "Botenruf" too), waiting for it up to 20 s.
HWND FindProgramWindow(HWND main, const std::string& part) {
  for (int i = 0; i < 200; ++i) {
    for (HWND window : ProgramWindows(main)) {
      if (window != main && !IsMenu(window) && Text(window).find(part) != std::string::npos)
        return window;
    }
    Sleep(100);
  }
  std::fprintf(stderr, "demo_driver: no window \"%s\"\n", part.c_str());
  return nullptr;
}

// Prints the bounds of the window (or of all open menus) as an ImageMagick geometry.
int PrintBounds(HWND main, const std::string& part) {
  RECT bounds = {};
  if (part == "menu") {
    for (int i = 0; i < 50 && IsRectEmpty(&bounds); ++i) {
      for (HWND window : ProgramWindows(main)) {
        RECT rect;
        if (IsMenu(window) && GetWindowRect(window, &rect))
          UnionRect(&bounds, &bounds, &rect);
      }
      Sleep(100);
    }
  } else {
    HWND window = part.empty() ? main : FindProgramWindow(main, part);
    if (window)
      GetWindowRect(window, &bounds);
  }
  if (IsRectEmpty(&bounds))
    return 1;
  std::printf("%ldx%ld+%ld+%ld\n", bounds.right - bounds.left, bounds.bottom - bounds.top,
              bounds.left, bounds.top);
  return 0;
}

void PressKey(WORD key) {
  INPUT keys[2] = {};
  keys[0].type = keys[1].type = INPUT_KEYBOARD;
  keys[0].ki.wVk = keys[1].ki.wVk = key;
  keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, keys, sizeof(INPUT));
  Sleep(300);
}

void MouseAt(int x, int y, DWORD down, DWORD up, int clicks) {
  SetCursorPos(x, y);
  for (int i = 0; i < clicks; ++i) {
    INPUT press[2] = {};
    press[0].type = press[1].type = INPUT_MOUSE;
    press[0].mi.dwFlags = down;
    press[1].mi.dwFlags = up;
    SendInput(2, press, sizeof(INPUT));
  }
  Sleep(500);
}

// The shell reports mouse actions on the icon with the program's callback message; the
// cursor goes to the icon's place in the notification area first, where the menu opens.
int Tray(HWND window, const std::string& action) {
  RECT tray = {};
  if (HWND taskbar = FindWindowA("Shell_TrayWnd", nullptr))
    GetWindowRect(taskbar, &tray);
  SetCursorPos(tray.right - 20, (tray.top + tray.bottom) / 2);
  const UINT mouse = action == "right"    ? WM_RBUTTONDOWN
                     : action == "double" ? WM_LBUTTONDBLCLK
                                          : WM_LBUTTONDOWN;
  PostMessageA(window, kTrayCallback, 1, mouse);
  Sleep(500);
  return 0;
}

// Right-clicks a row of the domain browser's station list with the real mouse; the list tells
// its dialog by a notification, which Wine does not carry between processes.
int RightClickRow(HWND window, int row) {
  constexpr int kStationList = 1059;
  HWND browser = FindProgramWindow(window, "(Fertig)");
  HWND list = browser ? GetDlgItem(browser, kStationList) : nullptr;
  if (!list)
    return 1;
  SelectRow(list, row);
  RECT header = {}, rect = {};
  GetWindowRect(reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0)), &header);
  GetWindowRect(list, &rect);
  // A report row is as high as the small-icon spacing here; the point is a row's middle.
  const int rowHeight = HIWORD(SendMessageA(list, LVM_GETITEMSPACING, TRUE, 0));
  MouseAt((rect.left + rect.right) / 2, header.bottom + rowHeight * row + rowHeight / 2,
          MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP, 1);
  return 0;
}

int Shares(HWND window, int row) {
  constexpr int kStationList = 1059;
  constexpr int kShowShares = 109;
  for (HWND browser : InfoWindows(window)) {
    HWND list = GetDlgItem(browser, kStationList);
    if (!list)
      continue;
    SelectRow(list, row);
    PostMessageA(browser, WM_COMMAND, kShowShares, 0);
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < 30000) {
      for (HWND shares : InfoWindows(window)) {
        const std::string caption = Text(shares);
        if (caption.rfind("\"\\\\", 0) == 0 && caption.find("(Fertig)") != std::string::npos) {
          std::printf("Fenster: %s\n", caption.c_str());
          return 0;
        }
      }
      Sleep(100);
    }
  }
  std::fprintf(stderr, "demo_driver: no shares window\n");
  return 1;
}

int Close(HWND window) {
  for (HWND info : InfoWindows(window))
    PostMessageA(info, WM_COMMAND, IDOK, 0);
  for (int i = 0; i < 100 && !InfoWindows(window).empty(); ++i)
    Sleep(100);
  for (HWND box : ResultBoxes())
    PostMessageA(box, WM_COMMAND, IDOK, 0);
  PostMessageA(GetDlgItem(window, IDCANCEL), BM_CLICK, 0, 0);
  for (int i = 0; i < 100 && IsWindow(window); ++i)
    Sleep(100);
  return IsWindow(window) ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: demo_driver COMMAND ... (see the source)\n");
    return 2;
  }
  const std::string command = argv[1];
  // These also work while the window is hidden in the tray.
  const bool hiddenToo = command == "tray" || command == "window" || command == "close" ||
                         command == "click" || command == "key";
  HWND window = WaitForMainWindow(30000, !hiddenToo);
  if (!window) {
    std::fprintf(stderr, "demo_driver: no Botenruf window\n");
    return 1;
  }
  if (command == "send" && argc == 5) {
    const int mode = std::atoi(argv[2]);
    return mode < 0 || mode > 1 ? 2 : Send(window, mode, argv[3], argv[4]);
  }
  if (command == "close")
    return Close(window);
  if (command == "mode" && argc == 3) {
    const int mode = std::atoi(argv[2]);
    if (mode < 0 || mode > 2)
      return 2;
    SendMessageA(GetDlgItem(window, kModeButtons[mode]), BM_CLICK, 0, 0);
    return 0;
  }
  if (command == "type" && argc == 3) {
    SendMessageA(GetDlgItem(window, kMessage), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(argv[2]));
    return 0;
  }
  if (command == "click" && (argc == 3 || argc == 4)) {
    HWND target = argc == 4 ? FindProgramWindow(window, argv[3]) : window;
    if (!target)
      return 1;
    PostMessageA(GetDlgItem(target, std::atoi(argv[2])), BM_CLICK, 0, 0);
    Sleep(300);
    return 0;
  }
  if (command == "select" && argc == 5) {
    HWND target = FindProgramWindow(window, argv[4]);
    if (!target)
      return 1;
    SelectRow(GetDlgItem(target, std::atoi(argv[2])), std::atoi(argv[3]));
    return 0;
  }
  if (command == "window")
    return PrintBounds(window, argc == 3 ? argv[2] : "");
  if (command == "menu" && argc == 3) {
    PostMessageA(window, WM_SYSCOMMAND, SC_KEYMENU, static_cast<unsigned char>(argv[2][0]));
    Sleep(500);
    return 0;
  }
  if (command == "key" && argc == 3) {
    const std::string name = argv[2];
    const WORD key = name == "escape"  ? VK_ESCAPE
                     : name == "enter" ? VK_RETURN
                     : name == "down"  ? VK_DOWN
                     : name == "right" ? VK_RIGHT
                     : name == "f1"    ? VK_F1
                                       : 0;
    if (!key)
      return 2;
    PressKey(key);
    return 0;
  }
  if (command == "tray" && argc == 3)
    return Tray(window, argv[2]);
  if (command == "rightclick" && argc == 3)
    return RightClickRow(window, std::atoi(argv[2]));
  if (command == "rightdouble" && argc == 3) {
    HWND target = FindProgramWindow(window, argv[2]);
    if (!target)
      return 1;
    RECT rect;
    GetClientRect(target, &rect);
    POINT point = {rect.right * 3 / 4, rect.bottom - 4};
    ClientToScreen(target, &point);
    MouseAt(point.x, point.y, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP, 2);
    return 0;
  }
  if (command == "info" && argc == 4) {
    const int mode = std::atoi(argv[2]);
    return mode < 0 || mode > 2 ? 2 : Info(window, mode, argv[3]);
  }
  if (command == "shares" && argc == 3)
    return Shares(window, std::atoi(argv[2]));
  if (command == "command" && argc == 3) {
    PostMessageA(window, WM_COMMAND, static_cast<WPARAM>(std::atoi(argv[2])), 0);
    Sleep(1000);
    return 0;
  }
  if (command == "minimize") {
    PostMessageA(window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    return 0;
  }
  std::fprintf(stderr, "demo_driver: unknown command\n");
  return 2;
}
