// Benchmark under Wine (not a test): the real program checks a distribution list of 20
// stations, each taking 500 ms to answer `net view`. Beside it, its floors measured in the same
// run: the same 20 commands started one after the other by a bare program without a window,
// while a bare window answers a probe. Prints "last start", "all ended" and "longest stall" as
// program / floor, and the longest stall of the program's idle window.
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
constexpr int kDelayMs = 500;

std::string Scenario(std::string& listFile) {
  std::string scenario, members, singles;
  for (int i = 1; i <= kStations; ++i) {
    const std::string name = "PC" + std::to_string(100 + i);
    scenario += "[station " + name + "]\nview_delay_ms = " + std::to_string(kDelayMs) + "\n";
    members += name + ",";
    singles += name + " Platz " + std::to_string(i) + "\r\n";
  }
  listFile =
      "//begin\r\n" + singles + "//end\r\n//v_begin\r\nAlle [" + members + "]\r\n//v_end\r\n";
  return scenario;
}

bool MeasureProgram(harness::NetsimFolder& network, bench::Figures& program, double& idleStallMs) {
  std::string listFile;
  network.Reset(Scenario(listFile));
  wintest::DeleteUserKeyTree(kSettingsKey);
  const std::string scratch = wintest::ScratchDir("list_check_bench");
  wintest::WriteTextFile(scratch + "\\Rechner.txt", listFile);
  wintest::WriteUserString(kSettingsKey, "RechnerListePfad", scratch + "\\Rechner.txt");
  wintest::WriteUserString(kSettingsKey, "ListenTyp", "1");
  wintest::ProgramProcess process;
  HWND window = wintest::WaitForWindow("Botenruf", 20000, process.id());
  if (!window)
    return false;
  Sleep(500);
  {
    bench::StallProbe idle(window);
    Sleep(kStations * kDelayMs / 2);
    idleStallMs = idle.Stop();
  }
  bench::StallProbe probe(window);
  const DWORD click = GetTickCount();
  PostMessageA(GetDlgItem(window, IDC_INFO), BM_CLICK, 0, 0);
  HWND dialog = nullptr;
  while (GetTickCount() - click < 120000) {
    dialog = FindWindowA("#32770", "\"Alle\" (Fertig)");
    if (dialog && GetTickCount() - click > 100)
      break;
    Sleep(5);
  }
  program.allEndedMs = GetTickCount() - click;
  program.longestStallMs = probe.Stop();
  program.lastStartMs = bench::LastStart(network, "net", "view", click);
  if (dialog)
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
  Sleep(300);
  PostMessageA(GetDlgItem(window, IDCANCEL), BM_CLICK, 0, 0);
  process.WaitForExit(10000);
  return dialog != nullptr;
}

bench::Figures MeasureFloor(harness::NetsimFolder& network) {
  std::string listFile;
  network.Reset(Scenario(listFile));
  char temp[MAX_PATH] = {};
  GetTempPathA(sizeof(temp), temp);
  const std::string output = std::string(temp) + "floor.tmp";
  std::vector<std::string> lines;
  for (int i = 1; i <= kStations; ++i) {
    lines.push_back(harness::SystemDirectoryPrefix() + "Cmd.exe /q /c net view \\\\PC" +
                    std::to_string(100 + i) + " > " + output);
  }
  bench::BareWindow bare;
  bench::StallProbe probe(bare.hwnd());
  const bench::CommandTimes times = bench::RunCommands(lines, false);
  bench::Figures floor;
  floor.allEndedMs = times.allEndedMs;
  floor.longestStallMs = probe.Stop();
  floor.lastStartMs = bench::LastStart(network, "net", "view", times.startTick);
  DeleteFileA(output.c_str());
  return floor;
}

}  // namespace

int main() {
  std::printf("list check: %d stations, %d ms each to answer net view\n", kStations, kDelayMs);
  harness::NetsimFolder network;
  for (int i = 1; i <= 3; ++i) {
    bench::Figures program;
    double idleStallMs = 0;
    if (!MeasureProgram(network, program, idleStallMs)) {
      std::printf("run %d: failed\n", i);
      return 1;
    }
    bench::PrintFigures(i, program, MeasureFloor(network));
    std::printf("       the program's idle window before: longest stall %.1f ms\n", idleStallMs);
  }
  return 0;
}
