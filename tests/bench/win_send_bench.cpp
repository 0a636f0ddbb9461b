// Benchmark under Wine (not a test): the real program sends to a distribution list of 20
// stations that each take 2 s to answer. Beside it, its floors measured in the same run: the
// same 20 net send processes started from 20 threads of a bare program without a window (the
// floor for the last start and for the end), while a bare window answers a probe (the floor
// for the user-interface stall). Prints "last start", "all ended" and "longest stall" as
// program / floor.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "app/settings_store.h"
#include "bench_support.h"
#include "resource.h"
#include "support/netsim_harness.h"
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

bool MeasureProgram(harness::NetsimFolder& network, bench::Figures& program) {
  WriteScenario(network);
  std::string members, singles;
  for (const std::string& name : Stations()) {
    members += name + ",";
    singles += name + " Platz\r\n";
  }
  wintest::DeleteUserKeyTree(kSettingsKey);
  const std::string scratch = wintest::ScratchDir("send_bench");
  wintest::WriteTextFile(
      scratch + "\\Rechner.txt",
      "//begin\r\n" + singles + "//end\r\n//v_begin\r\nAlle [" + members + "]\r\n//v_end\r\n");
  wintest::WriteUserString(kSettingsKey, "RechnerListePfad", scratch + "\\Rechner.txt");
  wintest::WriteUserString(kSettingsKey, "ListenTyp", "1");
  wintest::ProgramProcess process;
  HWND window = wintest::WaitForWindow("Botenruf", 20000, process.id());
  if (!window)
    return false;
  SendMessageA(GetDlgItem(window, IDC_MESSAGE), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("Messung"));
  HWND group = GetDlgItem(window, IDC_NOTIFY_GROUP);
  Sleep(300);
  bench::StallProbe probe(window);
  const DWORD click = GetTickCount();
  PostMessageA(GetDlgItem(window, IDC_SEND), BM_CLICK, 0, 0);
  bool started = false;
  while (GetTickCount() - click < 60000) {
    const bool idle = wintest::WindowText(group) == "Benachrichtigung [0]";
    if (started && idle)
      break;
    started = started || !idle;
    Sleep(5);
  }
  program.allEndedMs = GetTickCount() - click;
  program.longestStallMs = probe.Stop();
  program.lastStartMs = bench::LastStart(network, "net", "send", click);
  const size_t sends = harness::NetSendCommandLines(network).size();
  PostMessageA(GetDlgItem(window, IDCANCEL), BM_CLICK, 0, 0);
  process.WaitForExit(10000);
  return started && sends == kStations;
}

bench::Figures MeasureFloor(harness::NetsimFolder& network) {
  WriteScenario(network);
  std::vector<std::string> lines;
  for (const std::string& name : Stations())
    lines.push_back("net send " + name + " Messung");
  bench::BareWindow bare;
  bench::StallProbe probe(bare.hwnd());
  const bench::CommandTimes times = bench::RunCommands(lines, true);
  bench::Figures floor;
  floor.allEndedMs = times.allEndedMs;
  floor.longestStallMs = probe.Stop();
  floor.lastStartMs = bench::LastStart(network, "net", "send", times.startTick);
  return floor;
}

}  // namespace

int main() {
  std::printf("list send: %d stations, %d ms each to answer\n", kStations, kDelayMs);
  harness::NetsimFolder network;
  for (int run = 1; run <= 3; ++run) {
    bench::Figures program;
    if (!MeasureProgram(network, program)) {
      std::printf("run %d: failed\n", run);
      return 1;
    }
    bench::PrintFigures(run, program, MeasureFloor(network));
  }
  return 0;
}
