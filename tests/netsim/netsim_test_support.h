// What only the simulated network's own test needs: starting its tools the way the program
// does, and cutting their console output.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace botenruf::netsim::harness {

// Starts a command line hidden, as the program starts its tools (no inherited handles), and
// gives back its process handle, or nullptr.
inline HANDLE StartHidden(const std::string& commandLine) {
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_HIDE;
  PROCESS_INFORMATION process = {};
  std::string line = commandLine;
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process)) {
    return nullptr;
  }
  CloseHandle(process.hThread);
  return process.hProcess;
}

struct ProcessResult {
  bool started = false;
  DWORD exitCode = 0;
  DWORD elapsedMs = 0;
};

// Starts a command line hidden and waits for its end.
inline ProcessResult RunHidden(const std::string& commandLine, DWORD timeoutMs = 60000) {
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

inline bool FileExists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Console output cut at CR LF. A line end other than CR LF (a lone LF or CR) or a last line
// without its end makes wellFormed false.
struct ConsoleText {
  std::vector<std::string> lines;
  bool wellFormed = true;
};
inline ConsoleText SplitConsoleLines(const std::string& bytes) {
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

}  // namespace botenruf::netsim::harness
