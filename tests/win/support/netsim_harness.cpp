#include "netsim_harness.h"

namespace botenruf::netsim::harness {

HANDLE StartHidden(const std::string& commandLine) {
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_HIDE;
  PROCESS_INFORMATION process = {};
  std::vector<char> buffer(commandLine.begin(), commandLine.end());
  buffer.push_back('\0');
  if (!CreateProcessA(nullptr, buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process)) {
    return nullptr;
  }
  CloseHandle(process.hThread);
  return process.hProcess;
}

ProcessResult RunHidden(const std::string& commandLine, DWORD timeoutMs) {
  ProcessResult result;
  const DWORD start = GetTickCount();
  HANDLE process = StartHidden(commandLine);
  if (process == nullptr) {
    return result;
  }
  result.started = true;
  if (WaitForSingleObject(process, timeoutMs) != WAIT_OBJECT_0) {
    TerminateProcess(process, 259);
  }
  GetExitCodeProcess(process, &result.exitCode);
  result.elapsedMs = GetTickCount() - start;
  CloseHandle(process);
  return result;
}

std::string SystemDirectoryPrefix() {
  char buffer[MAX_PATH];
  const UINT length = GetSystemDirectoryA(buffer, sizeof buffer);
  std::string directory(buffer, length < sizeof buffer ? length : 0);
  if (directory.empty() || directory.back() != '\\') {
    directory += '\\';
  }
  return directory;
}

std::string ReadBytes(const std::string& path) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  std::string bytes;
  if (file == INVALID_HANDLE_VALUE) {
    return bytes;
  }
  char buffer[4096];
  DWORD count = 0;
  while (ReadFile(file, buffer, sizeof buffer, &count, nullptr) && count > 0) {
    bytes.append(buffer, count);
  }
  CloseHandle(file);
  return bytes;
}

bool WriteBytes(const std::string& path, const std::string& bytes) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    return false;
  }
  DWORD written = 0;
  const bool ok =
      WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
      written == bytes.size();
  CloseHandle(file);
  return ok;
}

bool FileExists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

ConsoleText SplitConsoleLines(const std::string& bytes) {
  ConsoleText text;
  std::size_t start = 0;
  while (start < bytes.size()) {
    const std::size_t end = bytes.find("\r\n", start);
    if (end == std::string::npos) {
      text.lines.push_back(bytes.substr(start));
      text.wellFormed = false;
      break;
    }
    text.lines.push_back(bytes.substr(start, end - start));
    start = end + 2;
  }
  for (const std::string& line : text.lines) {
    if (line.find_first_of("\r\n") != std::string::npos) {
      text.wellFormed = false;
    }
  }
  return text;
}

NetsimFolder::NetsimFolder() {
  char buffer[MAX_PATH];
  const DWORD length = GetEnvironmentVariableA("BOTENRUF_NETSIM_DIR", buffer, sizeof buffer);
  hadPrevious_ = length > 0 && length < sizeof buffer;
  if (hadPrevious_) {
    previous_.assign(buffer, length);
  }
  char temp[MAX_PATH];
  const DWORD tempLength = GetTempPathA(sizeof temp, temp);
  path_ = tempLength > 0 && tempLength < sizeof temp ? std::string(temp, tempLength) : "C:\\";
  path_ += "botenruf-netsim-" + std::to_string(GetCurrentProcessId()) + "\\";
  CreateDirectoryA(path_.c_str(), nullptr);
  SetEnvironmentVariableA("BOTENRUF_NETSIM_DIR", path_.c_str());
}

NetsimFolder::~NetsimFolder() {
  for (const char* name : {"scenario.txt", "log.txt", "received.txt", "out.txt", "err.txt"}) {
    DeleteFileA(File(name).c_str());
  }
  RemoveDirectoryA(path_.c_str());
  SetEnvironmentVariableA("BOTENRUF_NETSIM_DIR", hadPrevious_ ? previous_.c_str() : nullptr);
}

void NetsimFolder::Reset(const std::string& scenario) {
  DeleteFileA(File("log.txt").c_str());
  DeleteFileA(File("received.txt").c_str());
  WriteBytes(File("scenario.txt"), scenario);
}

std::vector<LogEntry> ReadLog(const NetsimFolder& folder) {
  std::vector<LogEntry> entries;
  for (const std::string& line : SplitRecordLines(ReadBytes(folder.File("log.txt")))) {
    if (std::optional<LogEntry> entry = ParseLogLine(line))
      entries.push_back(*entry);
  }
  return entries;
}

std::vector<ReceivedEntry> ReadReceived(const NetsimFolder& folder) {
  std::vector<ReceivedEntry> entries;
  for (const std::string& line : SplitRecordLines(ReadBytes(folder.File("received.txt")))) {
    if (std::optional<ReceivedEntry> entry = ParseReceivedLine(line))
      entries.push_back(*entry);
  }
  return entries;
}

std::vector<std::string> NetSendCommandLines(const NetsimFolder& folder) {
  std::vector<std::string> lines;
  for (const LogEntry& entry : ReadLog(folder)) {
    if (entry.tool == "net" && entry.commandLine.rfind("net send", 0) == 0) {
      lines.push_back(entry.commandLine);
    }
  }
  return lines;
}

}  // namespace botenruf::netsim::harness
