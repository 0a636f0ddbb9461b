// Benchmark under Wine (not a test): the real program sends to 20 stations (a distribution list)
// and to 300 (their names typed, MaxThreads 300) that each take 2 s to answer, with net send,
// with net send and the send report on, and (20) with msg. Beside each, its floors measured in
// the same run: the same net send (or msg) processes started from a thread each of a bare
// program without a window (the floor for the last start and for the end), while a bare window
// answers a probe (the floor for the user-interface stall). Prints "last start", "all ended" and
// "longest stall" as program / floor, and the main window's longest stall with the report
// against the same dispatch without it.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "app/settings_store.h"
#include "bench_support.h"
#include "netsim/harness.h"
#include "resource.h"
#include "support/win_test_support.h"

using namespace botenruf;
namespace harness = netsim::harness;

namespace {

constexpr int kDelayMs = 2000;

std::vector<std::string> Stations(int count) {
  std::vector<std::string> names;
  for (int i = 1; i <= count; ++i)
    names.push_back("PC" + std::to_string(100 + i));
  return names;
}

void WriteScenario(harness::NetsimFolder& network, int count) {
  std::string scenario;
  for (const std::string& name : Stations(count))
    scenario += "[station " + name + "]\nsend_delay_ms = " + std::to_string(kDelayMs) + "\n";
  network.Reset(scenario);
}

// What a send is done with: net send, or msg (the program's menu item and the same lines).
struct Tool {
  const char* name;  // in the simulated network's log
  const char* part;  // in each of its command lines
  int menuItem;
  std::string Line(const std::string& station) const {
    return std::string(name) == "net"
               ? "net send " + station + " Messung"
               : harness::SystemDirectoryPrefix() + "msg.exe * /server:" + station + " Messung";
  }
};

// 20 stations are the list "Alle" (a list holds 255 characters of names); 300 are typed.
bool MeasureProgram(harness::NetsimFolder& network, const Tool& tool, bool report, int count,
                    bench::Figures& program) {
  WriteScenario(network, count);
  std::string members, singles;
  for (const std::string& name : Stations(count)) {
    members += name + ",";
    singles += name + " Platz\r\n";
  }
  HWND window = nullptr;
  const std::string list = count <= 20 ? "//v_begin\r\nAlle [" + members + "]\r\n//v_end\r\n" : "";
  const auto process =
      bench::StartProgram("send_bench", "//begin\r\n" + singles + "//end\r\n" + list, 1, window,
                          {{"MaxThreads", std::to_string(count)}});
  if (!window)
    return false;
  if (list.empty()) {
    HWND box = GetDlgItem(window, IDC_RECIPIENT);
    SendMessageA(box, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    SendMessageA(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(members.c_str()));
  }
  SendMessageA(window, WM_COMMAND, tool.menuItem, 0);
  if (report)
    SendMessageA(window, WM_COMMAND, IDM_SEND_REPORT, 0);
  SendMessageA(GetDlgItem(window, IDC_MESSAGE), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("Messung"));
  HWND group = GetDlgItem(window, IDC_NOTIFY_GROUP);
  Sleep(300);
  bool started = false;
  const bool ended = bench::MeasureClick(
      network, window, IDC_SEND,
      [&] {
        const bool idle = wintest::WindowText(group) == "Benachrichtigung [0]";
        const bool end = started && idle;
        started = started || !idle;
        return end;
      },
      tool.name, tool.part, program);
  size_t sends = 0;
  for (const auto& entry : harness::ReadLog(network))
    sends += entry.tool == tool.name;
  bench::EndProgram(*process, window, nullptr);
  return ended && sends == static_cast<size_t>(count);
}

bench::Figures MeasureFloor(harness::NetsimFolder& network, const Tool& tool, int count) {
  WriteScenario(network, count);
  std::vector<std::string> lines;
  for (const std::string& name : Stations(count))
    lines.push_back(tool.Line(name));
  return bench::Floor(network, lines, true, tool.name, tool.part);
}

}  // namespace

int main() {
  harness::NetsimFolder network;
  int failed = 0;
  const Tool netSend{"net", "send", IDM_DELIVERY_NET_SEND};
  const Tool msg{"msg", "/server:", IDM_DELIVERY_MSG};
  const auto measure = [&](const Tool& tool, bool report, int count, bench::Figures& median) {
    std::printf("send to %d stations with %s%s, %d ms each to answer\n", count, tool.name,
                report ? " and the send report" : "", kDelayMs);
    failed |= bench::RunBesideFloor(
        [&](bench::Figures& program) {
          return MeasureProgram(network, tool, report, count, program);
        },
        [&] { return MeasureFloor(network, tool, count); }, count > 20 ? 3 : 5, &median);
  };
  for (int count : {20, 300}) {
    bench::Figures without, with;
    measure(netSend, false, count, without);
    measure(netSend, true, count, with);
    std::printf(
        "%d stations: the main window's longest stall with the report / without: %.0f / "
        "%.0f ms (%s)\n\n",
        count, with.longestStallMs, without.longestStallMs,
        bench::Ratio(with.longestStallMs, without.longestStallMs).c_str());
  }
  bench::Figures viaMsg;
  measure(msg, false, 20, viaMsg);
  return failed;
}
