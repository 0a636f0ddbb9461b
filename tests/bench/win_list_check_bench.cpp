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
#include "netsim/harness.h"
#include "resource.h"
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
  HWND window = nullptr;
  const auto process = bench::StartProgram("list_check_bench", listFile, 1, window);
  if (!window)
    return false;
  Sleep(500);
  {
    bench::StallProbe idle(window);
    Sleep(kStations * kDelayMs / 2);
    idleStallMs = idle.Stop();
  }
  HWND dialog = nullptr;
  const bool ended = bench::MeasureClick(
      network, window, IDC_INFO,
      [&] {
        return (dialog = bench::FinishedWindow("\"Alle\" (Fertig)", process->id())) != nullptr;
      },
      "net", "view", program);
  bench::EndProgram(*process, window, dialog);
  return ended;
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
  const bench::Figures floor = bench::Floor(network, lines, false, "net", "view");
  DeleteFileA(output.c_str());
  return floor;
}

}  // namespace

int main() {
  std::printf("list check: %d stations, %d ms each to answer net view\n", kStations, kDelayMs);
  harness::NetsimFolder network;
  return bench::RunBesideFloor(
      [&](bench::Figures& program) {
        double idleStallMs = 0;
        const bool measured = MeasureProgram(network, program, idleStallMs);
        std::printf("the program's idle window beforehand: longest stall %.1f ms\n", idleStallMs);
        return measured;
      },
      [&] { return MeasureFloor(network); });
}
