// Benchmark under Wine (not a test): the real program sends to a distribution list of 20
// stations that each take 2 s to answer, with net send and then with msg. Beside each, its
// floors measured in the same run: the same 20 net send (or msg) processes started from 20
// threads of a bare program without a window (the floor for the last start and for the end),
// while a bare window answers a probe (the floor for the user-interface stall). Prints "last
// start", "all ended" and "longest stall" as program / floor; net send once more with the send
// report on.
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

constexpr int kStations = 20;
constexpr int kDelayMs = 2000;

std::vector<std::string> Stations() {
  std::vector<std::string> names;
  for (int i = 1; i <= kStations; ++i)
    names.push_back("PC" + std::to_string(100 + i));
  return names;
}

void WriteScenario(harness::NetsimFolder& network) {
  std::string scenario;
  for (const std::string& name : Stations())
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

bool MeasureProgram(harness::NetsimFolder& network, const Tool& tool, bool report,
                    bench::Figures& program) {
  WriteScenario(network);
  std::string members, singles;
  for (const std::string& name : Stations()) {
    members += name + ",";
    singles += name + " Platz\r\n";
  }
  HWND window = nullptr;
  const auto process = bench::StartProgram(
      "send_bench",
      "//begin\r\n" + singles + "//end\r\n//v_begin\r\nAlle [" + members + "]\r\n//v_end\r\n", 1,
      window);
  if (!window)
    return false;
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
  return ended && sends == kStations;
}

bench::Figures MeasureFloor(harness::NetsimFolder& network, const Tool& tool) {
  WriteScenario(network);
  std::vector<std::string> lines;
  for (const std::string& name : Stations())
    lines.push_back(tool.Line(name));
  return bench::Floor(network, lines, true, tool.name, tool.part);
}

}  // namespace

int main() {
  harness::NetsimFolder network;
  int failed = 0;
  const Tool netSend{"net", "send", IDM_DELIVERY_NET_SEND};
  const Tool msg{"msg", "/server:", IDM_DELIVERY_MSG};
  for (const auto& [tool, report] : {std::pair{netSend, false}, {netSend, true}, {msg, false}}) {
    std::printf("list send with %s%s: %d stations, %d ms each to answer\n", tool.name,
                report ? " and the send report" : "", kStations, kDelayMs);
    failed |= bench::RunBesideFloor(
        [&](bench::Figures& program) { return MeasureProgram(network, tool, report, program); },
        [&] { return MeasureFloor(network, tool); });
  }
  return failed;
}
