// Helpers for the tests that run under Wine: paths of the build, message pumping, the
// registry of the test prefix, dialogs and lists acted on as a user does, and the real program
// started as a separate process.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "netsim/harness.h"
#include "platform/win32/dialog.h"

namespace botenruf::wintest {

// Windows paths (Z:...) of the build tree, the test data and the program of this build.
inline const std::string kBuildDir = BOTENRUF_BUILD_DIR, kTestDataDir = BOTENRUF_TEST_DATA,
                         kProgramPath = kBuildDir + "/Botenruf.exe";
// A fresh scratch directory for one test (emptied when it exists).
std::string ScratchDir(const std::string& name);
// A file's bytes as they are (no line-end translation).
inline constexpr auto& ReadTextFile = netsim::harness::ReadBytes;
inline constexpr auto& WriteTextFile = netsim::harness::WriteBytes;
// The names of the files (not folders) that match a pattern such as "C:\temp\msg*.tmp".
std::set<std::string> FilesIn(const std::string& pattern);
// The program's temporary output files ("msg*.tmp" in the temporary folder).
std::set<std::string> TempOutputFiles();
// How many processes of this program file name run now (any case).
int RunningProcesses(const char* exeName);

// A file system of its own of a few kilobytes (a tmpfs) on the folder `folder` (a Z: path) for
// the life of the object, to fill up. Mounting needs root; `problem` says why there is none.
class SmallDisk {
 public:
  SmallDisk(const std::string& folder, int kilobytes);
  ~SmallDisk();
  std::string problem;

 private:
  std::string folder_;
};

// Dispatches this thread's messages until `done` holds or the time is up; true when done.
bool PumpUntil(const std::function<bool()>& done, uint32_t timeoutMs);
void PumpFor(uint32_t milliseconds);

// How many pixels of what a window shows differ from what it shows once painted anew as a
// whole (its children too).
size_t PixelsLeftFromEarlierPaints(HWND window);
// The same after the window was dragged larger in four steps, and after it was maximised.
size_t PixelsLeftAfterResizing(HWND window);

// The clipboard's text; "<empty>" or "<not open>" when there is none to read.
std::string ClipboardText();

// Registry of the test prefix (HKEY_CURRENT_USER).
void DeleteUserKeyTree(const std::string& path);
// The value as text when it is a REG_SZ with its terminating zero; "<missing>" otherwise.
std::string ReadUserString(const std::string& path, const std::string& name);
void WriteUserString(const std::string& path, const std::string& name, const std::string& text);

// Top-level windows of a process with exactly this caption (of any class).
std::vector<HWND> WindowsWithCaption(const std::string& caption, DWORD processId);
HWND WaitForWindow(const std::string& caption, uint32_t timeoutMs, DWORD processId);
std::string WindowText(HWND window);
inline std::string ItemText(HWND dialog, int id) {
  return WindowText(GetDlgItem(dialog, id));
}
// The topmost dialog of this process with this caption (or one beginning so), shown or not.
HWND OwnDialog(const std::string& caption, bool prefix = false);

// The real program (or a copy of it), started as its own process; killed if it still runs at
// the end of the test.
class ProgramProcess {
 public:
  explicit ProgramProcess(const std::string& arguments = "",
                          const std::string& program = kProgramPath);
  ~ProgramProcess();
  DWORD id() const { return info_.dwProcessId; }
  // True when it ended within the time; the exit code is then in `code`.
  bool WaitForExit(uint32_t timeoutMs, DWORD* code = nullptr);

 private:
  PROCESS_INFORMATION info_ = {};
};

// Acts on a dialog of this thread as a user does: runs `script` as soon as the dialog shows,
// from inside whatever modal loop shows it. A dialog that the script leaves open is cancelled
// afterwards; when none shows in time, the test fails and the active dialog is cancelled, so a
// failed step cannot hang the test. Several may wait at once, and a script may wait for the
// dialogs that its own clicks open.
class WhenShown {
 public:
  WhenShown(const std::string& caption, std::function<void(HWND)> script,
            uint32_t timeoutMs = 10000);
  // `find` gives the dialog once it shows, nullptr until then.
  WhenShown(std::function<HWND()> find, std::function<void(HWND)> script,
            uint32_t timeoutMs = 10000);
  ~WhenShown();
  WhenShown(const WhenShown&) = delete;
  WhenShown& operator=(const WhenShown&) = delete;
  bool ran() const { return dialog_ != nullptr; }
  // True when the dialog was still open once the script and the messages it posted were done.
  bool leftOpen() const { return leftOpen_; }

 private:
  enum class State { kWaiting, kRunning, kRan, kDone };
  static void CALLBACK Poll(HWND, UINT, UINT_PTR, DWORD);

  static inline std::vector<WhenShown*> waiting_;
  std::string caption_;
  std::function<HWND()> find_;
  std::function<void(HWND)> script_;
  DWORD start_;
  uint32_t timeoutMs_;
  UINT_PTR timer_ = 0;
  HWND dialog_ = nullptr;
  State state_ = State::kWaiting;
  bool leftOpen_ = false;
};

// Runs the dialog modally with `script` acting on it (see WhenShown); `leftOpen` tells whether
// the script left it open.
INT_PTR RunModalWithScript(win::Dialog& dialog, std::function<void(HWND)> script,
                           bool* leftOpen = nullptr);
// Presses a button of a dialog the way a click does.
inline void Click(HWND dialog, int id) {
  SendMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}
// Picks an entry of the main window's recipient box (of any process) as a user does.
void SelectRecipient(HWND window, int index);

// The entries of a combo box of this process.
std::vector<std::string> ComboItems(HWND combo);
// The rows of a list view of this process, their first `columns` columns joined by "|".
std::vector<std::string> ListRows(HWND list, int columns = 2);
// Selects exactly these rows of a list view.
void SelectRows(HWND list, std::initializer_list<int> rows);
// A list view's notification (a double click, a header click) as the mouse makes it send.
void NotifyList(HWND dialog, int control, UINT code, int column = 0);

}  // namespace botenruf::wintest
