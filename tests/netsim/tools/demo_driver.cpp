// A simulated user for the demo run: drives the running Botenruf window by window messages.
//   demo_driver send LIST TEXT   picks the distribution list, types the text, presses
//                                "Senden" and waits until every send has ended or waits
//                                on its result box (the boxes are listed and left open)
//   demo_driver close            answers the result boxes, presses "Beenden" and waits for
//                                the window to go
//   demo_driver mode N           clicks the mode button N (0, 1 or 2)
//   demo_driver type TEXT        puts the text into the message editor
//   demo_driver click ID         clicks the button with this control id
//   demo_driver minimize         minimises the window as its caption button does
//   demo_driver command ID       gives the menu command with this id (the window that it
//                                opens stays open)
//   demo_driver shares ROW       in the open domain browser, picks row ROW (from 0) with the
//                                keyboard and opens its shares browser
//   demo_driver info MODE NAME   clicks mode button MODE (0, 1 or 2), picks the entry NAME,
//                                presses "Info" and waits until the information window is
//                                open and (for a list or domain) has finished its search
#include <windows.h>

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

HWND WaitForMainWindow(DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < timeoutMs) {
    HWND window = FindWindowA("#32770", "Botenruf");
    if (window && IsWindowVisible(window))
      return window;
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

int Send(HWND window, const std::string& list, const std::string& text) {
  SendMessageA(GetDlgItem(window, kListMode), BM_CLICK, 0, 0);
  HWND box = GetDlgItem(window, kRecipientBox);
  const LRESULT index = SendMessageA(box, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                     reinterpret_cast<LPARAM>(list.c_str()));
  if (index == CB_ERR) {
    std::fprintf(stderr, "demo_driver: no list named %s\n", list.c_str());
    return 1;
  }
  SendMessageA(box, CB_SETCURSEL, index, 0);
  SendMessageA(window, WM_COMMAND, MAKEWPARAM(kRecipientBox, CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(box));
  SendMessageA(GetDlgItem(window, kMessage), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
  HWND group = GetDlgItem(window, kNotifyGroup);
  const DWORD start = GetTickCount();
  PostMessageA(GetDlgItem(window, kSend), BM_CLICK, 0, 0);
  WaitForCaption(group, "Benachrichtigung [0]", false, 3000);
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
  for (HWND box : ResultBoxes())
    std::printf("Meldung: %s\n", BoxText(box).c_str());
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

int Info(HWND window, int mode, const std::string& name) {
  const int buttons[] = {1032, kListMode, 1033};
  SendMessageA(GetDlgItem(window, buttons[mode]), BM_CLICK, 0, 0);
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

int Shares(HWND window, int row) {
  constexpr int kStationList = 1059;
  constexpr int kShowShares = 109;
  for (HWND browser : InfoWindows(window)) {
    HWND list = GetDlgItem(browser, kStationList);
    if (!list)
      continue;
    PostMessageA(list, WM_KEYDOWN, VK_HOME, 0);
    for (int i = 0; i < row; ++i)
      PostMessageA(list, WM_KEYDOWN, VK_DOWN, 0);
    Sleep(300);
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
    std::fprintf(stderr, "usage: demo_driver send LIST TEXT | close\n");
    return 2;
  }
  HWND window = WaitForMainWindow(30000);
  if (!window) {
    std::fprintf(stderr, "demo_driver: no Botenruf window\n");
    return 1;
  }
  const std::string command = argv[1];
  if (command == "send" && argc == 4)
    return Send(window, argv[2], argv[3]);
  if (command == "close")
    return Close(window);
  if (command == "mode" && argc == 3) {
    const int buttons[] = {1032, kListMode, 1033};
    const int mode = std::atoi(argv[2]);
    if (mode < 0 || mode > 2)
      return 2;
    SendMessageA(GetDlgItem(window, buttons[mode]), BM_CLICK, 0, 0);
    return 0;
  }
  if (command == "type" && argc == 3) {
    SendMessageA(GetDlgItem(window, kMessage), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(argv[2]));
    return 0;
  }
  if (command == "click" && argc == 3) {
    PostMessageA(GetDlgItem(window, std::atoi(argv[2])), BM_CLICK, 0, 0);
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
