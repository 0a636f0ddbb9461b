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
#include "netsim/harness.h"
#include "resource.h"
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
  HWND window = nullptr;
  const auto process = bench::StartProgram("domain_bench", "//begin\r\n//end\r\n", 2, window);
  if (!window)
    return false;
  HWND box = GetDlgItem(window, IDC_RECIPIENT);
  for (int i = 0; i < 200 && SendMessageA(box, CB_GETCOUNT, 0, 0) == 0; ++i)
    Sleep(50);
  Sleep(300);
  HWND dialog = nullptr;
  bench::MeasureClick(
      network, window, IDC_INFO,
      [&] { return (dialog = bench::FinishedWindow("\"GROSS\" (Fertig)")) != nullptr; }, "net",
      "/domain:", program);
  const int rows = dialog ? static_cast<int>(SendMessageA(GetDlgItem(dialog, IDC_DOMAIN_STATIONS),
                                                          LVM_GETITEMCOUNT, 0, 0))
                          : 0;
  bench::EndProgram(*process, window, dialog);
  return rows == kStations;
}

bench::Figures MeasureFloor(harness::NetsimFolder& network) {
  WriteScenario(network);
  char temp[MAX_PATH] = {};
  GetTempPathA(sizeof(temp), temp);
  const std::string output = std::string(temp) + "floor.tmp";
  const bench::Figures floor = bench::Floor(
      network,
      {harness::SystemDirectoryPrefix() + "Cmd.exe /q /c net view /domain:GROSS > " + output},
      false, "net", "/domain:");
  DeleteFileA(output.c_str());
  return floor;
}

}  // namespace

int main() {
  std::printf("domain browser: %d stations\n", kStations);
  harness::NetsimFolder network;
  return bench::RunBesideFloor(
      [&](bench::Figures& program) { return MeasureProgram(network, program); },
      [&] { return MeasureFloor(network); });
}
