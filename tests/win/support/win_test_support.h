// Helpers for the tests that run under Wine: paths of the build, message pumping, the
// registry of the test prefix and the real program started as a separate process.
#pragma once

#include <windows.h>

#include "platform/win32/dialog.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace botenruf::wintest {

// Windows paths (Z:...) of the build tree and the test data.
std::string BuildDir();
std::string TestDataDir();
std::string ProgramPath();  // Botenruf.exe of this build
// A fresh scratch directory for one test (emptied when it exists).
std::string ScratchDir(const std::string& name);
bool WriteTextFile(const std::string& path, const std::string& bytes);
std::string ReadTextFile(const std::string& path);

// Dispatches this thread's messages until `done` holds or the time is up; true when done.
bool PumpUntil(const std::function<bool()>& done, uint32_t timeoutMs);
void PumpFor(uint32_t milliseconds);

// Registry of the test prefix (HKEY_CURRENT_USER).
void DeleteUserKeyTree(const std::string& path);
struct RawValue {
  bool found = false;
  DWORD type = 0;
  std::string bytes;
};
RawValue ReadUserValue(const std::string& path, const std::string& name);
// The value as text when it is a REG_SZ with its terminating zero; "<missing>" otherwise.
std::string ReadUserString(const std::string& path, const std::string& name);
void WriteUserValue(const std::string& path, const std::string& name, DWORD type,
                    const std::string& bytes);
void WriteUserString(const std::string& path, const std::string& name, const std::string& text);

// Top-level windows with exactly this caption (of any class, any process).
std::vector<HWND> WindowsWithCaption(const std::string& caption);
HWND WaitForWindow(const std::string& caption, uint32_t timeoutMs, DWORD processId = 0);

// The real program, started as its own process.
class ProgramProcess {
 public:
  explicit ProgramProcess(const std::string& arguments = "");
  ~ProgramProcess();
  bool started() const { return info_.hProcess != nullptr; }
  DWORD id() const { return info_.dwProcessId; }
  // True when it ended within the time; the exit code is then in `code`.
  bool WaitForExit(uint32_t timeoutMs, DWORD* code = nullptr);
  void Kill();

 private:
  PROCESS_INFORMATION info_ = {};
};

std::string WindowText(HWND window);

// Runs the dialog modally; as soon as its window exists, `script` runs inside the dialog's
// own message loop (as a user's actions would) and should end the dialog.
INT_PTR RunModalWithScript(win::Dialog& dialog, const std::function<void(HWND)>& script);
// Presses a button of a dialog the way a click does.
void Click(HWND dialog, int id);
// Types a key into a window through the message queue (so dialog navigation sees it).
void PostKey(HWND window, UINT virtualKey);

}  // namespace botenruf::wintest
