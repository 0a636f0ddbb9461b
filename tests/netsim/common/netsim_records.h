// Where the simulated network keeps its files, reading one whole, and the locked appends to its
// record files.
// Header-only, so that helper programs that do not link the common library (the sleeper)
// log their invocations the same way as the tools.
#pragma once

#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "netsim_log.h"

namespace botenruf::netsim {

// Serialises the appends of all tool processes to log.txt and received.txt.
inline constexpr const char* kRecordMutexName = "BotenrufNetsimRecords";

// The folder named by BOTENRUF_NETSIM_DIR, with a separator at its end; empty when the
// variable is not set. Under Wine the variable may come straight from the Unix shell as
// "/path/..."; on Windows such a path would be taken relative to the current drive, so it
// is given Wine's drive Z:, which maps the Unix root.
inline std::string NetsimDirectory() {
  char buffer[MAX_PATH + 1];
  const DWORD length = GetEnvironmentVariableA("BOTENRUF_NETSIM_DIR", buffer, sizeof buffer);
  if (length == 0 || length >= sizeof buffer) {
    return {};
  }
  std::string directory(buffer, length);
  if (directory.size() >= 2 && directory[0] == '/' && directory[1] != '/') {
    directory.insert(0, "Z:");
  }
  if (directory.back() != '\\' && directory.back() != '/') {
    directory += '\\';
  }
  return directory;
}

// The whole file as bytes; false when it cannot be opened.
inline bool ReadWholeFile(const std::string& path, std::string& bytes) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    return false;
  }
  bytes.clear();
  char buffer[4096];
  DWORD count = 0;
  while (ReadFile(file, buffer, sizeof buffer, &count, nullptr) && count > 0) {
    bytes.append(buffer, count);
  }
  CloseHandle(file);
  return true;
}

// Appends text to a file of the netsim folder with a single write, under the record mutex,
// so that records of processes running at the same time neither interleave nor get lost.
inline bool AppendRecord(const char* fileName, const std::string& text) {
  const std::string directory = NetsimDirectory();
  if (directory.empty()) {
    return false;
  }
  const std::string path = directory + fileName;
  HANDLE mutex = CreateMutexA(nullptr, FALSE, kRecordMutexName);
  bool owned = false;
  if (mutex != nullptr) {
    // An abandoned mutex (a tool killed while it held it) still passes ownership to us.
    const DWORD wait = WaitForSingleObject(mutex, 30000);
    owned = wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED;
  }
  bool written = false;
  // A reader that opened the file without sharing can block us for a moment.
  for (int attempt = 0; attempt < 50 && !written; ++attempt) {
    HANDLE file = CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
      const DWORD error = GetLastError();
      if (error != ERROR_SHARING_VIOLATION && error != ERROR_ACCESS_DENIED) {
        break;  // no such folder: waiting will not help
      }
      Sleep(20);
      continue;
    }
    SetFilePointer(file, 0, nullptr, FILE_END);
    DWORD count = 0;
    written = WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &count, nullptr) &&
              count == text.size();
    CloseHandle(file);
  }
  if (owned) {
    ReleaseMutex(mutex);
  }
  if (mutex != nullptr) {
    CloseHandle(mutex);
  }
  return written;
}

// Records that this tool was started, with its command line exactly as the system gave it and
// the arguments its C runtime cut from it.
inline void LogInvocation(const char* tool) {
  std::vector<std::string> arguments;
  for (int i = 1; i < __argc; ++i) {
    arguments.emplace_back(__argv[i]);
  }
  AppendRecord("log.txt", FormatLogLine(GetTickCount(), tool, GetCommandLineA(), arguments));
}

}  // namespace botenruf::netsim
