// What the benchmarks under Wine share: a probe of a window's reply time, a bare window that
// does nothing but answer (the floor for the reply time), and the bare starting of the same
// console commands (the floor for the program's own starts), all measured in the same run.
#pragma once

#include <windows.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "support/netsim_harness.h"

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
// One line: "last start", "all ended" and "longest stall" as program / floor with the ratios.
void PrintFigures(int run, const Figures& program, const Figures& floor);

// The latest start of `tool` in the simulated network's log whose command line holds `part`,
// in milliseconds after `since` (a GetTickCount value).
DWORD LastStart(const netsim::harness::NetsimFolder& network, const std::string& tool,
                const std::string& part, DWORD since);

}  // namespace botenruf::bench
