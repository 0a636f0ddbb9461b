// What the benchmarks under Wine share: a probe of a window's reply time, a bare window that
// does nothing but answer (the floor for the reply time), and the bare starting of the same
// console commands (the floor for the program's own starts), all measured in the same run.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "netsim/harness.h"
#include "support/win_test_support.h"

namespace botenruf::bench {

// Measures, from a thread of its own, how long `window` takes to answer a message, again and
// again, until Stop(); gives the longest answer in milliseconds.
class StallProbe {
 public:
  explicit StallProbe(HWND window);
  ~StallProbe();
  double Stop();

 private:
  std::atomic<bool> running_{true};
  double longestMs_ = 0;
  std::thread thread_;
};

// A plain window on a thread of its own that does nothing but answer messages.
class BareWindow {
 public:
  BareWindow();
  ~BareWindow();
  HWND hwnd() const { return window_; }

 private:
  std::atomic<DWORD> threadId_{0};
  std::atomic<HWND> window_{nullptr};
  std::thread thread_;
};

struct CommandTimes {
  DWORD startTick = 0;   // GetTickCount() when the first command was started
  DWORD allEndedMs = 0;  // from then until every command has ended
};

// Starts the command lines hidden, as the program starts its tools: one after the other from
// one thread (`parallel` false), or each from a thread of its own at once.
CommandTimes RunCommands(const std::vector<std::string>& commandLines, bool parallel);

// "program / floor" as a ratio with one decimal.
std::string Ratio(double program, double floor);

struct Figures {
  double lastStartMs = 0;  // from the click (or the first start) to the start of the last tool
  double allEndedMs = 0;
  double longestStallMs = 0;
};
// `runs` runs, each the program's measurement followed by its floor, one line per run and one
// of the medians with "last start", "all ended" and "longest stall" as program / floor and the
// ratios. 1 when a run of the program failed.
int RunBesideFloor(const std::function<bool(Figures&)>& program,
                   const std::function<Figures()>& floor, int runs = 5, Figures* median = nullptr);

// The floor of the program's figures: the same command lines started by this bare program
// (one after the other, or each from a thread of its own), while a bare window answers a probe;
// the last start is that of `tool` with `part` in its command line.
Figures Floor(const netsim::harness::NetsimFolder& network, const std::vector<std::string>& lines,
              bool parallel, const std::string& tool, const std::string& part);

// The program to measure: the environment variable BOTENRUF_BENCH_PROGRAM (a Windows path, to
// compare two builds), else the program of this build.
std::string ProgramPath();

// The real program with fresh settings, this list file and recipient mode; its window is null
// when it did not open.
std::unique_ptr<wintest::ProgramProcess> StartProgram(
    const std::string& name, const std::string& listFile, int mode, HWND& window,
    const std::vector<std::pair<std::string, std::string>>& settings = {});

// Clicks `button` of the program's window and waits (two minutes at most) until `done`: the
// time from the click, the window's longest stall meanwhile, and the last start of `tool` with
// `part` in its command line. False when `done` never held.
bool MeasureClick(const netsim::harness::NetsimFolder& network, HWND window, int button,
                  const std::function<bool()>& done, const std::string& tool,
                  const std::string& part, Figures& figures);
// An information window of the program (the process `processId`, not one of an earlier run
// still ending) with this caption whose search has ended ("OK").
HWND FinishedWindow(const std::string& caption, DWORD processId);
// Closes the information window (if any), then the program, and waits for its end.
void EndProgram(wintest::ProgramProcess& process, HWND window, HWND information);

// The text of a cell of a list view of another process: the list writes it into memory lent in
// that process, and an owner-data list asks its own dialog for it there.
std::string RemoteListText(HWND list, int row, int column);
// The working set of a process in bytes (0 when it cannot be read).
size_t WorkingSetBytes(DWORD processId);
double Median(std::vector<double> values);
double Milliseconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to);
double MillisecondsSince(const LARGE_INTEGER& from);

// The bare program (bare_window.exe): the program's dialog templates `templateIds` ("129 167")
// shown with nothing behind them. Ends with the object.
class BareProgram {
 public:
  explicit BareProgram(const std::string& templateIds);
  ~BareProgram();
  DWORD id() const { return process_.id(); }
  // Its visible window with this caption, waiting for it up to `timeoutMs`; null when none.
  HWND WaitForWindow(const std::string& caption, DWORD timeoutMs = 20000) const;

 private:
  wintest::ProgramProcess process_;
};

// The visible top-level dialog of `processId` with this caption, polled every millisecond; null
// when none shows within `timeoutMs`.
HWND WaitForVisibleDialog(const std::string& caption, DWORD processId, DWORD timeoutMs);

// The latest start of `tool` in the simulated network's log whose command line holds `part`,
// in milliseconds after `since` (a GetTickCount value).
DWORD LastStart(const netsim::harness::NetsimFolder& network, const std::string& tool,
                const std::string& part, DWORD since);

}  // namespace botenruf::bench
