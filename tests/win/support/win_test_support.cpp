#include "support/win_test_support.h"

#include <commctrl.h>
#include <gtest/gtest.h>
#include <shlwapi.h>
#include <tlhelp32.h>

#include <filesystem>

#include "platform/win32/list_view.h"
#include "resource.h"
#include "text/text.h"

namespace botenruf::wintest {

std::string ScratchDir(const std::string& name) {
  const std::string dir = kBuildDir + "/scratch/" + name;
  std::error_code ignored;
  std::filesystem::remove_all(dir, ignored);
  std::filesystem::create_directories(dir, ignored);
  return dir;
}

std::set<std::string> FilesIn(const std::string& pattern) {
  std::set<std::string> names;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(pattern.c_str(), &found);
  for (BOOL more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileA(search, &found)) {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
      names.insert(found.cFileName);
  }
  if (search != INVALID_HANDLE_VALUE)
    FindClose(search);
  return names;
}

std::set<std::string> TempOutputFiles() {
  char temp[MAX_PATH] = {};
  GetTempPathA(sizeof(temp), temp);
  return FilesIn(std::string(temp) + "msg*.tmp");
}

int RunningProcesses(const char* exeName) {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  int count = 0;
  PROCESSENTRY32 entry = {};
  entry.dwSize = sizeof(entry);
  for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry))
    count += lstrcmpiA(entry.szExeFile, exeName) == 0;
  CloseHandle(snapshot);
  return count;
}

namespace {

// Wine starts a Unix program named by its Unix path as it would a Windows one, but has no exit
// code for it: the shell leaves it in a file (empty when none came within 10 s).
std::string RunShell(const std::string& command, const std::string& folder) {
  const std::string status = folder + ".status";
  DeleteFileA(status.c_str());
  std::string line = "/bin/sh -c \"PATH=/usr/sbin:/usr/bin:/sbin:/bin; " + command +
                     "; echo $? >'" + status.substr(2) + "'\"";
  STARTUPINFOA startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info = {};
  if (CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                     &info)) {
    CloseHandle(info.hProcess);
    CloseHandle(info.hThread);
  }
  std::string code;
  PumpUntil([&] { return !(code = ReadTextFile(status)).empty(); }, 10000);
  DeleteFileA(status.c_str());
  return code;
}

}  // namespace

SmallDisk::SmallDisk(const std::string& folder, int kilobytes) : folder_(folder) {
  CreateDirectoryA(folder.c_str(), nullptr);
  // A disk left mounted by a test that did not end goes first.
  const std::string at = "'" + folder.substr(2) + "'",
                    code =
                        RunShell(Format("umount %s 2>/dev/null; mount -t tmpfs -o size=%dk tmpfs "
                                        "%s 2>%s.fehler",
                                        at.c_str(), kilobytes, at.c_str(), at.c_str()),
                                 folder);
  if (code != "0\n")
    problem = "no small disk, mount -t tmpfs needs root: " + ReadTextFile(folder + ".fehler");
  DeleteFileA((folder + ".fehler").c_str());
}

SmallDisk::~SmallDisk() {
  RunShell("umount '" + folder_.substr(2) + "' || umount -l '" + folder_.substr(2) + "'", folder_);
  RemoveDirectoryA(folder_.c_str());
}

bool PumpUntil(const std::function<bool()>& done, uint32_t timeoutMs) {
  const DWORD start = GetTickCount();
  for (;;) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (win::Dialog::PreTranslate(msg))
        continue;
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    if (done())
      return true;
    if (GetTickCount() - start >= timeoutMs)
      return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
}

size_t PixelsLeftFromEarlierPaints(HWND window) {
  // The pixels of the client area as the screen shows them, row by row.
  const auto clientPixels = [window] {
    RECT client = {};
    GetClientRect(window, &client);
    BITMAPINFO format = {};
    format.bmiHeader = {
        sizeof(BITMAPINFOHEADER), client.right, -client.bottom, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    std::vector<uint32_t> pixels(static_cast<size_t>(client.right) * client.bottom);
    HDC screen = GetDC(window);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, client.right, client.bottom);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, client.right, client.bottom, screen, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    GetDIBits(memory, bitmap, 0, client.bottom, pixels.data(), &format, DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(window, screen);
    return pixels;
  };
  PumpFor(300);
  const std::vector<uint32_t> shown = clientPixels();
  RedrawWindow(window, nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  PumpFor(300);
  const std::vector<uint32_t> fresh = clientPixels();
  size_t differing = 0;
  for (size_t i = 0; i < shown.size() && i < fresh.size(); ++i)
    differing += shown[i] != fresh[i];
  return differing + (shown.size() != fresh.size() ? 1 : 0);
}

size_t PixelsLeftAfterResizing(HWND window) {
  RECT start = {};
  GetWindowRect(window, &start);
  for (int step = 1; step <= 4; ++step) {
    SetWindowPos(window, nullptr, 0, 0, start.right - start.left + 25 * step,
                 start.bottom - start.top + 20 * step, SWP_NOMOVE | SWP_NOZORDER);
    PumpFor(30);
  }
  const size_t dragged = PixelsLeftFromEarlierPaints(window);
  ShowWindow(window, SW_MAXIMIZE);
  return dragged + PixelsLeftFromEarlierPaints(window);
}

void PumpFor(uint32_t milliseconds) {
  PumpUntil([] { return false; }, milliseconds);
}

std::string ClipboardText() {
  std::string text = "<empty>";
  if (!OpenClipboard(nullptr))
    return "<not open>";
  if (HANDLE data = GetClipboardData(CF_TEXT)) {
    if (const char* bytes = static_cast<const char*>(GlobalLock(data))) {
      text = bytes;
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

void DeleteUserKeyTree(const std::string& path) {
  SHDeleteKeyA(HKEY_CURRENT_USER, path.c_str());
}

std::string ReadUserString(const std::string& path, const std::string& name) {
  HKEY key = nullptr;
  char bytes[4096];
  DWORD type = 0, size = sizeof(bytes);
  if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
    return "<missing>";
  const LONG status =
      RegQueryValueExA(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(bytes), &size);
  RegCloseKey(key);
  if (status != ERROR_SUCCESS)
    return "<missing>";
  if (type != REG_SZ || size == 0 || bytes[size - 1] != '\0')
    return "<no text with its terminating zero>";
  return std::string(bytes, size - 1);
}

void WriteUserString(const std::string& path, const std::string& name, const std::string& text) {
  SHSetValueA(HKEY_CURRENT_USER, path.c_str(), name.c_str(), REG_SZ, text.c_str(),
              static_cast<DWORD>(text.size() + 1));
}

std::string WindowText(HWND window) {
  // WM_GETTEXT, not GetWindowText: the latter does not ask controls of other processes.
  char buffer[4096] = {};
  DWORD_PTR copied = 0;
  SendMessageTimeoutA(window, WM_GETTEXT, sizeof(buffer), reinterpret_cast<LPARAM>(buffer),
                      SMTO_ABORTIFHUNG, 5000, &copied);
  return buffer;
}

std::vector<HWND> WindowsWithCaption(const std::string& caption, DWORD processId) {
  std::vector<HWND> found;
  for (HWND window = FindWindowExA(nullptr, nullptr, nullptr, caption.c_str()); window;
       window = FindWindowExA(nullptr, window, nullptr, caption.c_str())) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == processId)
      found.push_back(window);
  }
  return found;
}

HWND OwnDialog(const std::string& caption, bool prefix) {
  for (HWND w = FindWindowExA(nullptr, nullptr, "#32770", nullptr); w;
       w = FindWindowExA(nullptr, w, "#32770", nullptr)) {
    DWORD process = 0;
    GetWindowThreadProcessId(w, &process);
    const std::string text = process == GetCurrentProcessId() ? WindowText(w) : "";
    if (process == GetCurrentProcessId() && (prefix ? text.starts_with(caption) : text == caption))
      return w;
  }
  return nullptr;
}

HWND WaitForWindow(const std::string& caption, uint32_t timeoutMs, DWORD processId) {
  HWND found = nullptr;
  PumpUntil(
      [&] {
        for (HWND window : WindowsWithCaption(caption, processId))
          found = IsWindowVisible(window) ? window : found;
        return found != nullptr;
      },
      timeoutMs);
  return found;
}

ProgramProcess::ProgramProcess(const std::string& arguments, const std::string& program) {
  std::string commandLine = "\"" + program + "\"";
  if (!arguments.empty())
    commandLine += " " + arguments;
  STARTUPINFOA startup = {};
  startup.cb = sizeof(startup);
  if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &info_)) {
    info_ = {};
  }
}

ProgramProcess::~ProgramProcess() {
  if (!info_.hProcess)
    return;
  if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) {
    TerminateProcess(info_.hProcess, 99);
    WaitForSingleObject(info_.hProcess, 5000);
  }
  CloseHandle(info_.hProcess);
  CloseHandle(info_.hThread);
}

bool ProgramProcess::WaitForExit(uint32_t timeoutMs, DWORD* code) {
  HANDLE process = info_.hProcess;
  if (!process ||
      !PumpUntil([&] { return WaitForSingleObject(process, 0) == WAIT_OBJECT_0; }, timeoutMs)) {
    return false;
  }
  if (code)
    GetExitCodeProcess(process, code);
  return true;
}

WhenShown::WhenShown(const std::string& caption, std::function<void(HWND)> script,
                     uint32_t timeoutMs)
    : WhenShown(
          [caption] {
            HWND dialog = OwnDialog(caption);
            return IsWindowVisible(dialog) ? dialog : nullptr;
          },
          std::move(script), timeoutMs) {
  caption_ = caption;
}

WhenShown::WhenShown(std::function<HWND()> find, std::function<void(HWND)> script,
                     uint32_t timeoutMs)
    : find_(std::move(find)),
      script_(std::move(script)),
      start_(GetTickCount()),
      timeoutMs_(timeoutMs) {
  waiting_.push_back(this);
  timer_ = SetTimer(nullptr, 0, 20, &Poll);
}

WhenShown::~WhenShown() {
  KillTimer(nullptr, timer_);
  std::erase(waiting_, this);
}

void CALLBACK WhenShown::Poll(HWND, UINT, UINT_PTR, DWORD) {
  for (WhenShown* watcher : waiting_) {
    if (watcher->state_ == State::kRan) {
      // A dialog that ended has been destroyed by now (its loop ends before timers come).
      watcher->leftOpen_ = IsWindow(watcher->dialog_);
      if (watcher->leftOpen_)
        PostMessageA(watcher->dialog_, WM_COMMAND, IDCANCEL, 0);
      watcher->state_ = State::kDone;
    }
    if (watcher->state_ != State::kWaiting)
      continue;
    HWND dialog = watcher->find_();
    if (!dialog) {
      if (GetTickCount() - watcher->start_ < watcher->timeoutMs_)
        continue;
      ADD_FAILURE() << "the dialog \"" << watcher->caption_ << "\" did not show";
      watcher->state_ = State::kDone;
      if (HWND active = GetActiveWindow())
        PostMessageA(active, WM_COMMAND, IDCANCEL, 0);
      continue;
    }
    watcher->state_ = State::kRunning;
    watcher->dialog_ = dialog;
    watcher->script_(dialog);
    watcher->state_ = State::kRan;
    return;  // the script may have added or removed watchers
  }
}

INT_PTR RunModalWithScript(win::Dialog& dialog, std::function<void(HWND)> script, bool* leftOpen) {
  WhenShown shown([&dialog] { return IsWindowVisible(dialog.hwnd()) ? dialog.hwnd() : nullptr; },
                  std::move(script));
  const INT_PTR result = dialog.RunModal();
  if (leftOpen)
    *leftOpen = shown.leftOpen();
  return result;
}

void SelectRecipient(HWND window, int index) {
  HWND box = GetDlgItem(window, IDC_RECIPIENT);
  SendMessageA(box, CB_SETCURSEL, index, 0);
  SendMessageA(window, WM_COMMAND, MAKEWPARAM(IDC_RECIPIENT, CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(box));
}

std::vector<std::string> ComboItems(HWND combo) {
  std::vector<std::string> items;
  for (int i = 0; i < SendMessageA(combo, CB_GETCOUNT, 0, 0); ++i) {
    char text[512] = {};
    SendMessageA(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
    items.push_back(text);
  }
  return items;
}

std::vector<std::string> ListRows(HWND list, int columns) {
  win::ListView view(list);
  std::vector<std::string> rows;
  for (int i = 0; i < view.Count(); ++i) {
    std::string row = view.Text(i, 0);
    for (int column = 1; column < columns; ++column)
      row += "|" + view.Text(i, column);
    rows.push_back(row);
  }
  return rows;
}

void SelectRows(HWND list, std::initializer_list<int> rows) {
  win::ListView view(list);
  view.Select(-1, false);
  for (int row : rows)
    view.Select(row, true);
}

void NotifyList(HWND dialog, int control, UINT code, int column) {
  NMLISTVIEW note = {};
  note.hdr.hwndFrom = GetDlgItem(dialog, control);
  note.hdr.idFrom = static_cast<UINT_PTR>(control);
  note.hdr.code = code;
  note.iSubItem = column;
  SendMessageA(dialog, WM_NOTIFY, control, reinterpret_cast<LPARAM>(&note));
}

}  // namespace botenruf::wintest
