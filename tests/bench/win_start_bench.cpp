// Benchmark under Wine (not a test): from the start of the real program to its visible window,
// twenty times, beside its floor measured in the same run: the bare program (bare_window.exe)
// showing the main window's template with the same controls, twenty times, the two taking turns.
// Prints every start and the medians as program / floor with the ratio.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/settings_store.h"
#include "bench_support.h"
#include "resource.h"
#include "support/win_test_support.h"
#include "text/text.h"

using namespace botenruf;

namespace {

constexpr int kStarts = 20;

// An address book of an office: 50 stations and 10 lists.
std::string ListFile() {
  std::string file = "//begin\r\n";
  for (int i = 1; i <= 50; ++i)
    file += Format("PC%03d Platz %d\r\n", i, i);
  file += "//end\r\n//v_begin\r\n";
  for (int i = 1; i <= 10; ++i)
    file += Format("Liste %d [PC%03d,PC%03d,PC%03d]\r\n", i, i, i + 10, i + 20);
  return file + "//v_end\r\n";
}

double StartProgram() {
  LARGE_INTEGER start;
  QueryPerformanceCounter(&start);
  wintest::ProgramProcess program("", bench::ProgramPath());
  HWND window = bench::WaitForVisibleDialog("Botenruf", program.id(), 20000);
  const double ms = bench::MillisecondsSince(start);
  if (!window)
    return -1;
  PostMessageA(GetDlgItem(window, IDCANCEL), BM_CLICK, 0, 0);
  program.WaitForExit(10000);
  return ms;
}

double StartBare() {
  LARGE_INTEGER start;
  QueryPerformanceCounter(&start);
  bench::BareProgram bare(std::to_string(IDD_MAIN));
  const bool shown = bare.WaitForWindow("Botenruf") != nullptr;
  const double ms = bench::MillisecondsSince(start);
  return shown ? ms : -1;
}

}  // namespace

int main() {
  wintest::DeleteUserKeyTree(kSettingsKey);
  const std::string scratch = wintest::ScratchDir("start_bench");
  wintest::WriteTextFile(scratch + "\\Rechner.txt", ListFile());
  wintest::WriteUserString(kSettingsKey, "RechnerListePfad", scratch + "\\Rechner.txt");
  wintest::WriteUserString(kSettingsKey, "ListenTyp", "1");
  std::printf("start to a visible main window: %d starts each\n", kStarts);
  // The first start of each pays for loading what later starts find in the cache.
  StartProgram();
  StartBare();
  std::vector<double> program, bare;
  for (int run = 1; run <= kStarts; ++run) {
    // Turn about, so that neither pays more often for following the other.
    if (run % 2) {
      program.push_back(StartProgram());
      Sleep(200);
      bare.push_back(StartBare());
    } else {
      bare.push_back(StartBare());
      Sleep(200);
      program.push_back(StartProgram());
    }
    Sleep(200);
    if (program.back() < 0 || bare.back() < 0) {
      std::printf("run %d: failed\n", run);
      return 1;
    }
    std::printf("run %d: %.1f / %.1f ms\n", run, program.back(), bare.back());
  }
  const double programMedian = bench::Median(program), bareMedian = bench::Median(bare);
  std::printf("median: %.1f / %.1f ms (%s)\n", programMedian, bareMedian,
              bench::Ratio(programMedian, bareMedian).c_str());
  return 0;
}
