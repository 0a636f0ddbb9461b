#include "platform/win32/win32_system.h"

#include <windows.h>

#include <tlhelp32.h>

#include <mutex>
#include <utility>
#include <vector>

namespace botenruf::win {

std::string Win32System::ComputerName() {
  char name[MAX_COMPUTERNAME_LENGTH + 1] = {};
  DWORD size = sizeof(name);
  return GetComputerNameA(name, &size) ? std::string(name, size) : std::string();
}

bool Win32System::GetOsVersion(OsVersion& version) {
  OSVERSIONINFOA info = {};
  info.dwOSVersionInfoSize = sizeof(info);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  if (!GetVersionExA(&info))
    return false;
#pragma GCC diagnostic pop
  version.platformId = info.dwPlatformId;
  version.major = info.dwMajorVersion;
  version.minor = info.dwMinorVersion;
  return true;
}

std::string Win32System::ModulePath() {
  char path[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameA(nullptr, path, sizeof(path));
  return length > 0 && length < sizeof(path) ? std::string(path, length) : std::string();
}

LocalTime Win32System::Now() {
  SYSTEMTIME time;
  GetLocalTime(&time);
  return LocalTime{time.wYear, time.wMonth, time.wDay, time.wHour, time.wMinute, time.wSecond};
}

uint32_t Win32System::LastError() {
  return GetLastError();
}

std::string Win32System::SystemMessage(uint32_t code, uint32_t languageId) {
  char buffer[256] = {};
  DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                code, languageId, buffer, sizeof(buffer), nullptr);
  // The network's own messages (2100 to 2999, "NET HELPMSG 2273") are in the message table of
  // netmsg.dll, a library of resources alone.
  if (length == 0 && code >= 2100 && code <= 2999) {
    static const HMODULE netmsg = LoadLibraryA("netmsg.dll");
    if (netmsg) {
      length = FormatMessageA(FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_IGNORE_INSERTS, netmsg,
                              code, languageId, buffer, sizeof(buffer), nullptr);
    }
  }
  return std::string(buffer, length);
}

std::string Win32System::SystemDirectory() {
  char buffer[MAX_PATH] = {};
  const UINT length = GetSystemDirectoryA(buffer, sizeof(buffer));
  return length > 0 && length < sizeof(buffer) ? std::string(buffer, length) : std::string();
}

std::string Win32System::TempPath() {
  char buffer[MAX_PATH] = {};
  const DWORD length = GetTempPathA(259, buffer);
  if (length == 0 || length >= 259)
    return std::string();
  // The output file stands unquoted after the interpreter's ">", so a blank in the path
  // ("Dokumente und Einstellungen") would cut it; the short form has none.
  char shortPath[MAX_PATH] = {};
  const DWORD shortLength = GetShortPathNameA(buffer, shortPath, sizeof(shortPath));
  if (shortLength > 0 && shortLength < sizeof(shortPath))
    return std::string(shortPath, shortLength);
  return std::string(buffer, length);
}

uint32_t Win32System::TickCount() {
  return GetTickCount();
}

std::string Win32System::ConsoleToAnsi(const std::string& text) {
  if (text.empty())
    return text;
  std::vector<char> buffer(text.begin(), text.end());
  OemToCharBuffA(buffer.data(), buffer.data(), static_cast<DWORD>(buffer.size()));
  return std::string(buffer.begin(), buffer.end());
}

namespace {

// The programs that `parent` started, and theirs, as the system lists them now (breadth first).
std::vector<DWORD> Descendants(DWORD parent) {
  std::vector<std::pair<DWORD, DWORD>> all;  // process, its parent
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE)
    return {};
  PROCESSENTRY32 entry = {};
  entry.dwSize = sizeof(entry);
  for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry))
    all.emplace_back(entry.th32ProcessID, entry.th32ParentProcessID);
  CloseHandle(snapshot);
  std::vector<DWORD> found = {parent};
  for (size_t next = 0; next < found.size(); ++next) {
    for (const auto& [process, itsParent] : all) {
      if (itsParent == found[next] && process != found[next] && process != 0)
        found.push_back(process);
    }
  }
  found.erase(found.begin());
  return found;
}

// The most a captured output is read of: more than any tool's answer.
constexpr DWORD kMaxCapturedOutput = 4 * 1024 * 1024;

class Win32Process : public Process {
 public:
  Win32Process(const PROCESS_INFORMATION& info, HANDLE output) : info_(info), output_(output) {}
  ~Win32Process() override {
    CloseHandle(info_.hProcess);
    CloseHandle(info_.hThread);
    if (output_)
      CloseHandle(output_);  // the file goes once the program has let go of it too
  }
  std::string Output() override {
    std::string bytes;
    if (!output_ || SetFilePointer(output_, 0, nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER)
      return bytes;
    char buffer[4096];
    DWORD count = 0;
    while (bytes.size() < kMaxCapturedOutput &&
           ReadFile(output_, buffer, sizeof(buffer), &count, nullptr) && count > 0)
      bytes.append(buffer, count);
    return bytes;
  }
  bool Wait(uint32_t milliseconds) override {
    return WaitForSingleObject(info_.hProcess, milliseconds) == WAIT_OBJECT_0;
  }
  bool ExitCode(uint32_t& code) override {
    DWORD exitCode = 0;
    if (!GetExitCodeProcess(info_.hProcess, &exitCode))
      return false;
    code = exitCode;
    return true;
  }
  void End() override {
    // The interpreter goes first, so that it starts nothing more. Its id stays its own while
    // this object holds its handle, so the programs listed with it as their parent are its own.
    TerminateProcess(info_.hProcess, 1);
    for (DWORD id : Descendants(info_.dwProcessId)) {
      if (HANDLE process = OpenProcess(PROCESS_TERMINATE, FALSE, id)) {
        TerminateProcess(process, 1);
        CloseHandle(process);
      }
    }
  }

 private:
  PROCESS_INFORMATION info_;
  HANDLE output_;  // the captured output, kept open to be read; no other start inherits it
};

std::unique_ptr<Process> Start(const std::string& commandLine, STARTUPINFOA& startup, bool inherit,
                               uint32_t& error, HANDLE output = nullptr) {
  PROCESS_INFORMATION info = {};
  std::vector<char> line(commandLine.begin(), commandLine.end());
  line.push_back('\0');
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, inherit ? TRUE : FALSE, 0, nullptr,
                      nullptr, &startup, &info)) {
    error = GetLastError();
    return nullptr;
  }
  error = 0;
  return std::make_unique<Win32Process>(info, output);
}

STARTUPINFOA HiddenStartup() {
  STARTUPINFOA startup = {};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_HIDE;
  return startup;
}

}  // namespace

std::unique_ptr<Process> Win32ProcessStarter::StartHidden(const std::string& commandLine,
                                                          uint32_t& error) {
  // One start at a time: the workers of a list send all start at once, and twenty starts at
  // the same moment held up the window thread's own calls to the system (measured under Wine:
  // the longest stall of the main window halved when the starts took turns).
  static std::mutex mutex;
  std::lock_guard<std::mutex> lock(mutex);
  STARTUPINFOA startup = HiddenStartup();
  return Start(commandLine, startup, false, error);
}

std::unique_ptr<Process> Win32ProcessStarter::StartHiddenWithOutput(const std::string& commandLine,
                                                                    const std::string& outputFile,
                                                                    uint32_t& error) {
  // A program started with inherited handles takes every inheritable handle of this process
  // along: the two handles exist only inside this lock, so no other start of this kind hands a
  // foreign output file down (which would keep it open). Every other start inherits nothing.
  static std::mutex mutex;
  std::lock_guard<std::mutex> lock(mutex);
  SECURITY_ATTRIBUTES inheritable = {sizeof(inheritable), nullptr, TRUE};
  // Deleted when the last handle goes: read through the handle this process keeps, and gone
  // when the tool and this process have let go of it, even if this process ends first (a send
  // in flight at the end of the program). Shared for deleting, so that a handle the tool's
  // console keeps a moment longer stops nothing.
  HANDLE output =
      CreateFileA(outputFile.c_str(), GENERIC_READ | GENERIC_WRITE,
                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, &inheritable,
                  CREATE_ALWAYS, FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (output == INVALID_HANDLE_VALUE) {
    error = GetLastError();
    return nullptr;
  }
  // An empty input: a tool that asks for its text when it finds none must not wait forever.
  HANDLE input = CreateFileA("NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inheritable,
                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  STARTUPINFOA startup = HiddenStartup();
  startup.dwFlags |= STARTF_USESTDHANDLES;
  startup.hStdInput = input == INVALID_HANDLE_VALUE ? nullptr : input;
  startup.hStdOutput = output;
  startup.hStdError = output;
  // The handle kept for reading is made one that no later start hands down.
  HANDLE kept = nullptr;
  DuplicateHandle(GetCurrentProcess(), output, GetCurrentProcess(), &kept, 0, FALSE,
                  DUPLICATE_SAME_ACCESS);
  auto process = Start(commandLine, startup, true, error, kept);
  if (!process && kept)
    CloseHandle(kept);
  if (input != INVALID_HANDLE_VALUE)
    CloseHandle(input);
  CloseHandle(output);
  return process;
}

}  // namespace botenruf::win
