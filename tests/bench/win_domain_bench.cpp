// Benchmark under Wine (not a test): the real program browses domains of 300, 3,000 and 30,000
// stations. Beside it, its floors measured in the same run: the same `net view /domain:` command
// started by a bare program without a window, while a bare window answers a probe. Prints "last
// start", "all ended" and "longest stall" as program / floor; then one click on the "Alias"
// header, from the click to the sorted first row, beside the same rows sorted by this bare
// program; every station taken over, as single recipients (the main window showing them) and
// into a list, from the command to the summary in the status line; and, for the largest
// domain, the program's working set beside the bare program's.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <numeric>
#include <string>
#include <vector>

#include "bench_support.h"
#include "netsim/harness.h"
#include "resource.h"
#include "support/win_test_support.h"
#include "text/text.h"

using namespace botenruf;
namespace harness = netsim::harness;

namespace {

constexpr int kSizes[] = {300, 3000, 30000};
constexpr const char* kSmallestComment = "Platz 1";

// The comment of station i (from 0): "Platz N" with the numbers 1..count scrambled, so that a
// sort by the comment moves nearly every row and "Platz 1" is not the first.
std::string Comment(int i, int count) {
  return Format("Platz %d", static_cast<int>((static_cast<long long>(i + 1) * 7919) % count) + 1);
}

void WriteScenario(harness::NetsimFolder& network, int stations) {
  std::string scenario = "[domain GROSS]\n";
  for (int i = 0; i < stations; ++i)
    scenario += Format("[station S%05d]\ndomain = GROSS\ncomment = %s\n", i + 1,
                       Comment(i, stations).c_str());
  network.Reset(scenario);
}

struct SortFigures {
  double clickMs = 0;  // from the click to the sorted first row
  double stallMs = 0;
  double floorMs = 0;
  double singlesMs = 0;        // every row taken over as single recipients, to the summary
  double intoListMs = 0;       // and then into a list
  double takeOverStallMs = 0;  // the main window's longest stall in either
};

// Every row selected (Ctrl+A) and taken over with `command`: from the command to the summary in
// the status line. The main window's longest stall goes into `stallMs`.
double MeasureTakeOver(HWND window, HWND dialog, int command, double& stallMs) {
  HWND status = GetDlgItem(dialog, IDC_BROWSER_STATUS);
  SetWindowTextA(status, "");
  LARGE_INTEGER start;
  QueryPerformanceCounter(&start);
  SendMessageA(GetDlgItem(dialog, IDC_DOMAIN_STATIONS), WM_CHAR, 1, 0);
  std::printf("  Ctrl+A %.0f ms;", bench::MillisecondsSince(start));
  bench::StallProbe probe(window);
  QueryPerformanceCounter(&start);
  PostMessageA(dialog, WM_COMMAND, command, 0);
  while (wintest::WindowText(status).find("übernommen") == std::string::npos &&
         bench::MillisecondsSince(start) < 60000) {
    Sleep(1);
  }
  const double ms = bench::MillisecondsSince(start);
  stallMs = std::max(stallMs, probe.Stop());
  return ms;
}

// A click on the "Alias" header, as the mouse gives it to the header.
bool MeasureSort(HWND dialog, SortFigures& sort) {
  HWND list = GetDlgItem(dialog, IDC_DOMAIN_STATIONS);
  HWND header = reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0));
  RECT client = {}, headerRect = {};
  GetClientRect(list, &client);
  GetClientRect(header, &headerRect);
  const LPARAM point = MAKELPARAM(client.right * 4 / 5, headerRect.bottom / 2);
  bench::StallProbe probe(dialog);
  LARGE_INTEGER click;
  QueryPerformanceCounter(&click);
  PostMessageA(header, WM_LBUTTONDOWN, MK_LBUTTON, point);
  PostMessageA(header, WM_LBUTTONUP, 0, point);
  bool sorted = false;
  while (!(sorted = bench::RemoteListText(list, 0, 1) == kSmallestComment) &&
         bench::MillisecondsSince(click) < 20000) {
    Sleep(1);
  }
  sort.clickMs = bench::MillisecondsSince(click);
  sort.stallMs = probe.Stop();
  return sorted;
}

// The floor of the sort: the same rows sorted by the comment, letter case aside, keeping the
// order of equal ones, by this bare program.
double SortFloor(int stations) {
  std::vector<std::string> names, comments;
  for (int i = 0; i < stations; ++i) {
    names.push_back(Format("\\\\S%05d", i + 1));
    comments.push_back(Comment(i, stations));
  }
  LARGE_INTEGER start;
  QueryPerformanceCounter(&start);
  std::vector<size_t> order(names.size());
  std::iota(order.begin(), order.end(), size_t{0});
  std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
    return CompareIgnoreCase1252(comments[a], comments[b]) < 0;
  });
  std::vector<std::string> sortedNames, sortedComments;
  for (size_t i : order) {
    sortedNames.push_back(std::move(names[i]));
    sortedComments.push_back(std::move(comments[i]));
  }
  return bench::MillisecondsSince(start);
}

// The program's working set before the browser opened and with the rows, beside the bare
// program's with the same windows and no rows, and the rows' own size.
void PrintMemory(size_t before, DWORD program, int stations) {
  const size_t after = bench::WorkingSetBytes(program);
  bench::BareProgram bare(Format("%d %d", IDD_MAIN, IDD_DOMAIN_BROWSER));
  bare.WaitForWindow("Domänen-Info");
  Sleep(500);
  const size_t bareBytes = bench::WorkingSetBytes(bare.id());
  // Every text of these rows fits into its string object.
  const size_t rowBytes = static_cast<size_t>(stations) * 2 * sizeof(std::string);
  constexpr double kMb = 1024.0 * 1024.0;
  std::printf(
      "working set with %d stations: %.1f / %.1f MB (the bare program with the main window's "
      "and the browser's templates), %.1f MB more; before the browser opened %.1f MB; the "
      "rows' own size %.1f MB\n",
      stations, after / kMb, bareBytes / kMb,
      (static_cast<double>(after) - static_cast<double>(bareBytes)) / kMb, before / kMb,
      rowBytes / kMb);
}

bool MeasureProgram(harness::NetsimFolder& network, int stations, bool memory,
                    bench::Figures& program, SortFigures& sort) {
  WriteScenario(network, stations);
  HWND window = nullptr;
  const auto process = bench::StartProgram(
      "domain_bench", "//begin\r\n//end\r\n//v_begin\r\nAlle []\r\n//v_end\r\n", 2, window);
  if (!window)
    return false;
  HWND box = GetDlgItem(window, IDC_RECIPIENT);
  for (int i = 0; i < 200 && SendMessageA(box, CB_GETCOUNT, 0, 0) == 0; ++i)
    Sleep(50);
  Sleep(300);
  const size_t before = memory ? bench::WorkingSetBytes(process->id()) : 0;
  HWND dialog = nullptr;
  bench::MeasureClick(
      network, window, IDC_INFO,
      [&] {
        return (dialog = bench::FinishedWindow("\"GROSS\" (Fertig)", process->id())) != nullptr;
      },
      "net", "/domain:", program);
  const int rows = dialog ? static_cast<int>(SendMessageA(GetDlgItem(dialog, IDC_DOMAIN_STATIONS),
                                                          LVM_GETITEMCOUNT, 0, 0))
                          : 0;
  const bool sorted = rows == stations && MeasureSort(dialog, sort);
  if (!sorted) {
    std::printf(
        "  %s: %d of %d rows, first row \"%s\"\n", dialog ? "not sorted" : "no window", rows,
        stations,
        dialog ? bench::RemoteListText(GetDlgItem(dialog, IDC_DOMAIN_STATIONS), 0, 1).c_str() : "");
  }
  sort.floorMs = SortFloor(stations);
  if (sorted && memory)
    PrintMemory(before, process->id(), stations);
  if (sorted) {
    SendMessageA(GetDlgItem(window, IDC_MODE_SINGLE), BM_CLICK, 0, 0);
    sort.singlesMs = MeasureTakeOver(window, dialog, IDM_TAKE_OVER_SINGLES, sort.takeOverStallMs);
    sort.intoListMs = MeasureTakeOver(window, dialog, IDM_TAKE_OVER_LIST, sort.takeOverStallMs);
    std::printf(
        "  take-over: as single recipients %.0f ms, into a list %.0f ms, longest stall %.0f "
        "ms: %s\n",
        sort.singlesMs, sort.intoListMs, sort.takeOverStallMs,
        wintest::ItemText(dialog, IDC_BROWSER_STATUS).c_str());
  }
  bench::EndProgram(*process, window, dialog);
  return sorted;
}

bench::Figures MeasureFloor(harness::NetsimFolder& network, int stations) {
  WriteScenario(network, stations);
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

// Arguments: the domain sizes to measure (all three by default).
int main(int argc, char** argv) {
  std::vector<int> sizes(std::begin(kSizes), std::end(kSizes));
  if (argc > 1)
    sizes.assign(argc - 1, 0);
  for (int i = 1; i < argc; ++i)
    sizes[i - 1] = std::atoi(argv[i]);
  harness::NetsimFolder network;
  for (int stations : sizes) {
    std::printf("domain browser: %d stations\n", stations);
    std::vector<double> clicks, floors, stalls;
    const int failed = bench::RunBesideFloor(
        [&](bench::Figures& program) {
          SortFigures sort;
          const bool memory = stations == sizes.back() && clicks.empty();
          if (!MeasureProgram(network, stations, memory, program, sort))
            return false;
          clicks.push_back(sort.clickMs);
          floors.push_back(sort.floorMs);
          stalls.push_back(sort.stallMs);
          return true;
        },
        [&] { return MeasureFloor(network, stations); });
    if (failed)
      return failed;
    const double click = bench::Median(clicks), floor = bench::Median(floors);
    std::printf("median header click sort %.1f / %.1f ms (%s), longest stall %.1f ms\n", click,
                floor, bench::Ratio(click, floor).c_str(), bench::Median(stalls));
  }
  return 0;
}
