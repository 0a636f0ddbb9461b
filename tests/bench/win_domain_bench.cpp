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

struct Figures {
  DWORD lastStartMs = 0;
  DWORD allEndedMs = 0;
  double longestStallMs = 0;
};

DWORD LastNetStart(const harness::NetsimFolder& network, DWORD since) {
  DWORD last = 0;
  for (const auto& entry : harness::ReadLog(network)) {
    if (entry.tool == "net" && entry.commandLine.find("/domain:") != std::string::npos)
      last = std::max<DWORD>(last, entry.tick - since);
  }
  return last;
}

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

bool MeasureProgram(harness::NetsimFolder& network, Figures& program) {
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
  program.lastStartMs = LastNetStart(network, click);
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

Figures MeasureFloor(harness::NetsimFolder& network) {
  WriteScenario(network);
  char temp[MAX_PATH] = {};
  GetTempPathA(sizeof(temp), temp);
  const std::string output = std::string(temp) + "floor.tmp";
  bench::BareWindow bare;
  bench::StallProbe probe(bare.hwnd());
  const bench::CommandTimes times = bench::RunCommands(
      {harness::SystemDirectoryPrefix() + "Cmd.exe /q /c net view /domain:GROSS > " + output},
      false);
  Figures floor;
  floor.allEndedMs = times.allEndedMs;
  floor.longestStallMs = probe.Stop();
  floor.lastStartMs = LastNetStart(network, times.startTick);
  DeleteFileA(output.c_str());
  return floor;
}

}  // namespace

int main() {
  std::printf("Domänen-Info: %d Stationen\n", kStations);
  harness::NetsimFolder network;
  for (int i = 1; i <= 3; ++i) {
    Figures program;
    if (!MeasureProgram(network, program)) {
      std::printf("Lauf %d: fehlgeschlagen\n", i);
      return 1;
    }
    const Figures floor = MeasureFloor(network);
    std::printf(
        "Lauf %d: last start %lu / %lu ms (%s), all ended %lu / %lu ms (%s), longest stall "
        "%.1f / %.1f ms (%s)\n",
        i, program.lastStartMs, floor.lastStartMs,
        bench::Ratio(program.lastStartMs, floor.lastStartMs).c_str(), program.allEndedMs,
        floor.allEndedMs, bench::Ratio(program.allEndedMs, floor.allEndedMs).c_str(),
        program.longestStallMs, floor.longestStallMs,
        bench::Ratio(program.longestStallMs, floor.longestStallMs).c_str());
  }
  return 0;
}
