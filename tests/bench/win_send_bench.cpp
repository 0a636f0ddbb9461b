// Benchmark under Wine (not a test): the real program sends to a distribution list of 20
// stations that each take 2 s to answer. Beside it, its floors measured in the same run: the
// same 20 net send processes started from 20 threads of a bare program without a window (the
// floor for the last start and for the end), while a bare window answers a probe (the floor
// for the user-interface stall). Prints "last start", "all ended" and "longest stall" as
// program / floor, once as the program sends by default and once with its send report on.
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

bool MeasureProgram(harness::NetsimFolder& network, bench::Figures& program, bool report) {
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
  SendMessageA(GetDlgItem(window, IDC_MESSAGE), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("Messung"));
  if (report)
    SendMessageA(window, WM_COMMAND, IDM_SEND_REPORT, 0);
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
      "net", "send", program);
  const size_t sends = harness::NetSendCommandLines(network).size();
  bench::EndProgram(*process, window, nullptr);
  return ended && sends == kStations;
}

bench::Figures MeasureFloor(harness::NetsimFolder& network) {
  WriteScenario(network);
  std::vector<std::string> lines;
  for (const std::string& name : Stations())
    lines.push_back("net send " + name + " Messung");
  return bench::Floor(network, lines, true, "net", "send");
}

}  // namespace

int main() {
  std::printf("list send: %d stations, %d ms each to answer\n", kStations, kDelayMs);
  harness::NetsimFolder network;
  for (bool report : {false, true}) {
    std::printf("%s\n", report ? "with the send report:" : "without it (no box for a success):");
    const int failed = bench::RunBesideFloor(
        [&](bench::Figures& program) { return MeasureProgram(network, program, report); },
        [&] { return MeasureFloor(network); });
    if (failed)
      return failed;
  }
  return 0;
}
