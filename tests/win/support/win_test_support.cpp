#include "support/win_test_support.h"

#include <shlwapi.h>

namespace botenruf::wintest {

std::string BuildDir() {
  return BOTENRUF_BUILD_DIR;
}
std::string TestDataDir() {
  return BOTENRUF_TEST_DATA;
}
std::string ProgramPath() {
  return BuildDir() + "/Botenruf.exe";
}

std::string ScratchDir(const std::string& name) {
  const std::string root = BuildDir() + "/scratch";
  CreateDirectoryA(root.c_str(), nullptr);
  const std::string dir = root + "/" + name;
  std::string from = dir;
  from.push_back('\0');
  from.push_back('\0');
  for (char& c : from) {
    if (c == '/')
      c = '\\';
  }
  SHFILEOPSTRUCTA op = {};
  op.wFunc = FO_DELETE;
  op.pFrom = from.c_str();
  op.fFlags = FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT;
  SHFileOperationA(&op);
  CreateDirectoryA(dir.c_str(), nullptr);
  return dir;
}

bool WriteTextFile(const std::string& path, const std::string& bytes) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE)
    return false;
  DWORD written = 0;
  const BOOL ok =
      WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
  return ok && written == bytes.size();
}

std::string ReadTextFile(const std::string& path) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE)
    return {};
  std::string bytes;
  char buffer[4096];
  DWORD read = 0;
  while (ReadFile(file, buffer, sizeof(buffer), &read, nullptr) && read > 0) {
    bytes.append(buffer, read);
  }
  CloseHandle(file);
  return bytes;
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

void PumpFor(uint32_t milliseconds) {
  PumpUntil([] { return false; }, milliseconds);
}

void DeleteUserKeyTree(const std::string& path) {
  SHDeleteKeyA(HKEY_CURRENT_USER, path.c_str());
}

RawValue ReadUserValue(const std::string& path, const std::string& name) {
  RawValue value;
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
    return value;
  }
  DWORD size = 0;
  if (RegQueryValueExA(key, name.c_str(), nullptr, &value.type, nullptr, &size) == ERROR_SUCCESS) {
    value.bytes.resize(size);
    RegQueryValueExA(key, name.c_str(), nullptr, &value.type,
                     reinterpret_cast<BYTE*>(value.bytes.data()), &size);
    value.bytes.resize(size);
    value.found = true;
  }
  RegCloseKey(key);
  return value;
}

std::string ReadUserString(const std::string& path, const std::string& name) {
  const RawValue value = ReadUserValue(path, name);
  if (!value.found)
    return "<missing>";
  if (value.type != REG_SZ)
    return "<not REG_SZ>";
  if (value.bytes.empty() || value.bytes.back() != '\0')
    return "<no terminating zero>";
  return value.bytes.substr(0, value.bytes.size() - 1);
}

void WriteUserValue(const std::string& path, const std::string& name, DWORD type,
                    const std::string& bytes) {
  HKEY key = nullptr;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                      nullptr) != ERROR_SUCCESS) {
    return;
  }
  RegSetValueExA(key, name.c_str(), 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                 static_cast<DWORD>(bytes.size()));
  RegCloseKey(key);
}

void WriteUserString(const std::string& path, const std::string& name, const std::string& text) {
  WriteUserValue(path, name, REG_SZ, text + std::string(1, '\0'));
}

std::string WindowText(HWND window) {
  // WM_GETTEXT, not GetWindowText: the latter does not ask controls of other processes.
  char buffer[4096] = {};
  DWORD_PTR copied = 0;
  SendMessageTimeoutA(window, WM_GETTEXT, sizeof(buffer), reinterpret_cast<LPARAM>(buffer),
                      SMTO_ABORTIFHUNG, 5000, &copied);
  return buffer;
}

namespace {

struct CaptionSearch {
  std::string caption;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<CaptionSearch*>(param);
  if (WindowText(window) == search->caption)
    search->found.push_back(window);
  return TRUE;
}

}  // namespace

std::vector<HWND> WindowsWithCaption(const std::string& caption) {
  CaptionSearch search{caption, {}};
  EnumWindows(&CollectWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND WaitForWindow(const std::string& caption, uint32_t timeoutMs, DWORD processId) {
  HWND found = nullptr;
  PumpUntil(
      [&] {
        for (HWND window : WindowsWithCaption(caption)) {
          DWORD owner = 0;
          GetWindowThreadProcessId(window, &owner);
          if ((processId == 0 || owner == processId) && IsWindowVisible(window)) {
            found = window;
            return true;
          }
        }
        return false;
      },
      timeoutMs);
  return found;
}

ProgramProcess::ProgramProcess(const std::string& arguments) {
  std::string commandLine = "\"" + ProgramPath() + "\"";
  if (!arguments.empty())
    commandLine += " " + arguments;
  STARTUPINFOA startup = {};
  startup.cb = sizeof(startup);
  std::vector<char> line(commandLine.begin(), commandLine.end());
  line.push_back('\0');
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &info_)) {
    info_ = {};
  }
}

ProgramProcess::~ProgramProcess() {
  if (!info_.hProcess)
    return;
  if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT)
    Kill();
  CloseHandle(info_.hProcess);
  CloseHandle(info_.hThread);
}

bool ProgramProcess::WaitForExit(uint32_t timeoutMs, DWORD* code) {
  if (!info_.hProcess)
    return false;
  const bool ended =
      PumpUntil([&] { return WaitForSingleObject(info_.hProcess, 0) == WAIT_OBJECT_0; }, timeoutMs);
  if (ended && code)
    GetExitCodeProcess(info_.hProcess, code);
  return ended;
}

void ProgramProcess::Kill() {
  if (info_.hProcess) {
    TerminateProcess(info_.hProcess, 99);
    WaitForSingleObject(info_.hProcess, 5000);
  }
}

namespace {

struct ModalScript {
  win::Dialog* dialog = nullptr;
  const std::function<void(HWND)>* script = nullptr;
  bool ran = false;
};
ModalScript* activeScript = nullptr;

void CALLBACK RunScriptWhenShown(HWND, UINT, UINT_PTR timer, DWORD) {
  if (!activeScript || activeScript->ran || !activeScript->dialog->hwnd())
    return;
  if (!IsWindowVisible(activeScript->dialog->hwnd()))
    return;
  KillTimer(nullptr, timer);
  activeScript->ran = true;
  (*activeScript->script)(activeScript->dialog->hwnd());
}

}  // namespace

INT_PTR RunModalWithScript(win::Dialog& dialog, const std::function<void(HWND)>& script) {
  ModalScript state{&dialog, &script, false};
  activeScript = &state;
  const UINT_PTR timer = SetTimer(nullptr, 0, 20, &RunScriptWhenShown);
  const INT_PTR result = dialog.RunModal();
  KillTimer(nullptr, timer);
  activeScript = nullptr;
  return result;
}

void Click(HWND dialog, int id) {
  SendMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

void PostKey(HWND window, UINT virtualKey) {
  PostMessageA(window, WM_KEYDOWN, virtualKey, 1);
  PostMessageA(window, WM_KEYUP, virtualKey, 0xC0000001);
}

}  // namespace botenruf::wintest
