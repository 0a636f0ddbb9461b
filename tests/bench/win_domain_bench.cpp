// Benchmark under Wine (not a test): the real program browses a domain of 300 stations.
// Beside it, its floors measured in the same run: the same `net view /domain:` command started
// by a bare program without a window, while a bare window answers a probe. Prints "last start",
// "all ended" and "longest stall" as program / floor.
#include <windows.h>

#include <commctrl.h>

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

constexpr int kStations = 300;

void WriteScenario(harness::NetsimFolder& network) {
  std::string scenario = "[domain GROSS]\n";
  for (int i = 1; i <= kStations; ++i) {
    char station[96];
    std::snprintf(station, sizeof(station), "[station S%03d]\ndomain = GROSS\ncomment = Platz %d\n",
                  i, i);
    scenario += station;
  }
  network.Reset(scenario);
}

bool MeasureProgram(harness::NetsimFolder& network, bench::Figures& program) {
  WriteScenario(network);
  wintest::DeleteUserKeyTree(kSettingsKey);
  const std::string scratch = wintest::ScratchDir("domain_bench");
  wintest::WriteTextFile(scratch + "\\Rechner.txt", "//begin\r\n//end\r\n");
  wintest::WriteUserString(kSettingsKey, "RechnerListePfad", scratch + "\\Rechner.txt");
  wintest::WriteUserString(kSettingsKey, "ListenTyp", "2");
  wintest::ProgramProcess process;
  HWND window = wintest::WaitForWindow("Botenruf", 20000, process.id());
  if (!window)
    return false;
  HWND box = GetDlgItem(window, IDC_RECIPIENT);
  for (int i = 0; i < 200 && SendMessageA(box, CB_GETCOUNT, 0, 0) == 0; ++i)
    Sleep(50);
  Sleep(300);
  bench::StallProbe probe(window);
  const DWORD click = GetTickCount();
  PostMessageA(GetDlgItem(window, IDC_INFO), BM_CLICK, 0, 0);
  HWND dialog = nullptr;
  while (GetTickCount() - click < 120000) {
    dialog = FindWindowA("#32770", "\"GROSS\" (Fertig)");
    if (dialog && wintest::WindowText(GetDlgItem(dialog, IDOK)) == "OK")
      break;
    dialog = nullptr;
    Sleep(5);
  }
  program.allEndedMs = GetTickCount() - click;
  program.longestStallMs = probe.Stop();
  program.lastStartMs = bench::LastStart(network, "net", "/domain:", click);
  const int rows = dialog ? static_cast<int>(SendMessageA(GetDlgItem(dialog, IDC_DOMAIN_STATIONS),
                                                          LVM_GETITEMCOUNT, 0, 0))
                          : 0;
  if (dialog)
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
  Sleep(300);
  PostMessageA(GetDlgItem(window, IDCANCEL), BM_CLICK, 0, 0);
  process.WaitForExit(10000);
  return rows == kStations;
}

bench::Figures MeasureFloor(harness::NetsimFolder& network) {
  WriteScenario(network);
  char temp[MAX_PATH] = {};
  GetTempPathA(sizeof(temp), temp);
  const std::string output = std::string(temp) + "floor.tmp";
  bench::BareWindow bare;
  bench::StallProbe probe(bare.hwnd());
  const bench::CommandTimes times = bench::RunCommands(
      {harness::SystemDirectoryPrefix() + "Cmd.exe /q /c net view /domain:GROSS > " + output},
      false);
  bench::Figures floor;
  floor.allEndedMs = times.allEndedMs;
  floor.longestStallMs = probe.Stop();
  floor.lastStartMs = bench::LastStart(network, "net", "/domain:", times.startTick);
  DeleteFileA(output.c_str());
  return floor;
}

}  // namespace

int main() {
  std::printf("domain browser: %d stations\n", kStations);
  harness::NetsimFolder network;
  for (int i = 1; i <= 3; ++i) {
    bench::Figures program;
    if (!MeasureProgram(network, program)) {
      std::printf("run %d: failed\n", i);
      return 1;
    }
    bench::PrintFigures(i, program, MeasureFloor(network));
  }
  return 0;
}
