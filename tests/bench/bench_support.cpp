#include "bench_support.h"

#include <commctrl.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>

#include "app/settings_store.h"

namespace botenruf::bench {

StallProbe::StallProbe(HWND window)
    : thread_([this, window] {
        LARGE_INTEGER frequency;
        QueryPerformanceFrequency(&frequency);
        while (running_) {
          LARGE_INTEGER before, after;
          QueryPerformanceCounter(&before);
          DWORD_PTR ignored = 0;
          SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &ignored);
          QueryPerformanceCounter(&after);
          const double ms = 1000.0 * static_cast<double>(after.QuadPart - before.QuadPart) /
                            static_cast<double>(frequency.QuadPart);
          longestMs_ = std::max(longestMs_, ms);
          Sleep(2);
        }
      }) {}

StallProbe::~StallProbe() {
  Stop();
}

double StallProbe::Stop() {
  running_ = false;
  if (thread_.joinable())
    thread_.join();
  return longestMs_;
}

BareWindow::BareWindow()
    : thread_([this] {
        HWND window = CreateWindowExA(0, "STATIC", "bare", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100,
                                      nullptr, nullptr, nullptr, nullptr);
        threadId_ = GetCurrentThreadId();
        window_ = window;
        MSG msg;
        while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
          TranslateMessage(&msg);
          DispatchMessageA(&msg);
        }
        DestroyWindow(window);
      }) {
  while (!window_)
    Sleep(1);
}

BareWindow::~BareWindow() {
  PostThreadMessageA(threadId_, WM_QUIT, 0, 0);
  thread_.join();
}

CommandTimes RunCommands(const std::vector<std::string>& commandLines, bool parallel) {
  CommandTimes times;
  times.startTick = GetTickCount();
  auto run = [](const std::string& line) {
    if (HANDLE process = netsim::harness::StartHidden(line)) {
      WaitForSingleObject(process, INFINITE);
      CloseHandle(process);
    }
  };
  if (parallel) {
    std::vector<std::thread> threads;
    for (const std::string& line : commandLines)
      threads.emplace_back(run, line);
    for (std::thread& thread : threads)
      thread.join();
  } else {
    for (const std::string& line : commandLines)
      run(line);
  }
  times.allEndedMs = GetTickCount() - times.startTick;
  return times;
}

std::string Ratio(double program, double floor) {
  char text[32];
  std::snprintf(text, sizeof(text), "%.1fx", floor > 0 ? program / floor : 0.0);
  return text;
}

namespace {

void PrintFigures(const std::string& label, const Figures& program, const Figures& floor) {
  std::printf(
      "%s: last start %.0f / %.0f ms (%s), all ended %.0f / %.0f ms (%s), longest "
      "stall %.1f / %.1f ms (%s)\n",
      label.c_str(), program.lastStartMs, floor.lastStartMs,
      Ratio(program.lastStartMs, floor.lastStartMs).c_str(), program.allEndedMs, floor.allEndedMs,
      Ratio(program.allEndedMs, floor.allEndedMs).c_str(), program.longestStallMs,
      floor.longestStallMs, Ratio(program.longestStallMs, floor.longestStallMs).c_str());
}

Figures MedianOf(const std::vector<Figures>& runs) {
  std::vector<double> lastStart, allEnded, stall;
  for (const Figures& run : runs) {
    lastStart.push_back(run.lastStartMs);
    allEnded.push_back(run.allEndedMs);
    stall.push_back(run.longestStallMs);
  }
  return {Median(lastStart), Median(allEnded), Median(stall)};
}

}  // namespace

int RunBesideFloor(const std::function<bool(Figures&)>& program,
                   const std::function<Figures()>& floor, int runs, Figures* median) {
  std::vector<Figures> programRuns, floorRuns;
  for (int run = 1; run <= runs; ++run) {
    Figures measured;
    if (!program(measured)) {
      std::printf("run %d: failed\n", run);
      return 1;
    }
    programRuns.push_back(measured);
    floorRuns.push_back(floor());
    PrintFigures("run " + std::to_string(run), programRuns.back(), floorRuns.back());
  }
  PrintFigures("median", MedianOf(programRuns), MedianOf(floorRuns));
  if (median)
    *median = MedianOf(programRuns);
  return 0;
}

std::string RemoteListText(HWND list, int row, int column) {
  DWORD processId = 0;
  GetWindowThreadProcessId(list, &processId);
  HANDLE process = OpenProcess(
      PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE | PROCESS_QUERY_INFORMATION, FALSE,
      processId);
  if (!process)
    return {};
  constexpr int kTextSize = 512;
  char* remote = static_cast<char*>(
      VirtualAllocEx(process, nullptr, sizeof(LVITEMA) + kTextSize, MEM_COMMIT, PAGE_READWRITE));
  std::string text;
  if (remote) {
    LVITEMA item = {};
    item.iSubItem = column;
    item.pszText = remote + sizeof(LVITEMA);
    item.cchTextMax = kTextSize;
    char buffer[kTextSize] = {};
    if (WriteProcessMemory(process, remote, &item, sizeof(item), nullptr)) {
      const LRESULT length =
          SendMessageA(list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(remote));
      if (length > 0 && ReadProcessMemory(process, item.pszText, buffer, kTextSize, nullptr))
        text.assign(buffer, std::min<size_t>(static_cast<size_t>(length), kTextSize));
    }
    VirtualFreeEx(process, remote, 0, MEM_RELEASE);
  }
  CloseHandle(process);
  return text;
}

size_t WorkingSetBytes(DWORD processId) {
  HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId);
  if (!process)
    return 0;
  PROCESS_MEMORY_COUNTERS counters = {};
  counters.cb = sizeof(counters);
  const bool read = GetProcessMemoryInfo(process, &counters, sizeof(counters));
  CloseHandle(process);
  return read ? counters.WorkingSetSize : 0;
}

double Median(std::vector<double> values) {
  if (values.empty())
    return 0;
  std::sort(values.begin(), values.end());
  const size_t middle = values.size() / 2;
  return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

double Milliseconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) /
         static_cast<double>(frequency.QuadPart);
}

double MillisecondsSince(const LARGE_INTEGER& from) {
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return Milliseconds(from, now);
}

BareProgram::BareProgram(const std::string& templateIds)
    : process_(templateIds, wintest::kBuildDir + "/bare_window.exe") {}

BareProgram::~BareProgram() {
  for (HWND window = FindWindowExA(nullptr, nullptr, "#32770", nullptr); window;
       window = FindWindowExA(nullptr, window, "#32770", nullptr)) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == id()) {
      PostMessageA(window, WM_CLOSE, 0, 0);
      break;
    }
  }
  process_.WaitForExit(10000);
}

HWND BareProgram::WaitForWindow(const std::string& caption, DWORD timeoutMs) const {
  return WaitForVisibleDialog(caption, id(), timeoutMs);
}

HWND WaitForVisibleDialog(const std::string& caption, DWORD processId, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  do {
    for (HWND window = FindWindowExA(nullptr, nullptr, "#32770", caption.c_str()); window;
         window = FindWindowExA(nullptr, window, "#32770", caption.c_str())) {
      DWORD owner = 0;
      GetWindowThreadProcessId(window, &owner);
      if (owner == processId && IsWindowVisible(window))
        return window;
    }
    Sleep(1);
  } while (GetTickCount() - start < timeoutMs);
  return nullptr;
}

DWORD LastStart(const netsim::harness::NetsimFolder& network, const std::string& tool,
                const std::string& part, DWORD since) {
  DWORD last = 0;
  for (const auto& entry : netsim::harness::ReadLog(network)) {
    if (entry.tool == tool && entry.commandLine.find(part) != std::string::npos)
      last = std::max<DWORD>(last, entry.tick - since);
  }
  return last;
}

Figures Floor(const netsim::harness::NetsimFolder& network, const std::vector<std::string>& lines,
              bool parallel, const std::string& tool, const std::string& part) {
  BareWindow bare;
  StallProbe probe(bare.hwnd());
  const CommandTimes times = RunCommands(lines, parallel);
  Figures floor;
  floor.allEndedMs = times.allEndedMs;
  floor.longestStallMs = probe.Stop();
  floor.lastStartMs = LastStart(network, tool, part, times.startTick);
  return floor;
}

std::string ProgramPath() {
  char path[MAX_PATH] = {};
  const DWORD length = GetEnvironmentVariableA("BOTENRUF_BENCH_PROGRAM", path, sizeof(path));
  return length > 0 && length < sizeof(path) ? std::string(path) : wintest::kProgramPath;
}

std::unique_ptr<wintest::ProgramProcess> StartProgram(
    const std::string& name, const std::string& listFile, int mode, HWND& window,
    const std::vector<std::pair<std::string, std::string>>& settings) {
  wintest::DeleteUserKeyTree(kSettingsKey);
  const std::string scratch = wintest::ScratchDir(name);
  wintest::WriteTextFile(scratch + "\\Rechner.txt", listFile);
  wintest::WriteUserString(kSettingsKey, "RechnerListePfad", scratch + "\\Rechner.txt");
  wintest::WriteUserString(kSettingsKey, "ListenTyp", std::to_string(mode));
  for (const auto& [value, text] : settings)
    wintest::WriteUserString(kSettingsKey, value, text);
  auto process = std::make_unique<wintest::ProgramProcess>("", ProgramPath());
  window = wintest::WaitForWindow("Botenruf", 20000, process->id());
  return process;
}

bool MeasureClick(const netsim::harness::NetsimFolder& network, HWND window, int button,
                  const std::function<bool()>& done, const std::string& tool,
                  const std::string& part, Figures& figures) {
  StallProbe probe(window);
  const DWORD click = GetTickCount();
  PostMessageA(GetDlgItem(window, button), BM_CLICK, 0, 0);
  bool ended = false;
  while (!(ended = done()) && GetTickCount() - click < 120000)
    Sleep(5);
  figures.allEndedMs = GetTickCount() - click;
  figures.longestStallMs = probe.Stop();
  figures.lastStartMs = LastStart(network, tool, part, click);
  return ended;
}

HWND FinishedWindow(const std::string& caption, DWORD processId) {
  for (HWND window = FindWindowExA(nullptr, nullptr, "#32770", caption.c_str()); window;
       window = FindWindowExA(nullptr, window, "#32770", caption.c_str())) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == processId && wintest::WindowText(GetDlgItem(window, IDOK)) == "OK")
      return window;
  }
  return nullptr;
}

void EndProgram(wintest::ProgramProcess& process, HWND window, HWND information) {
  if (information) {
    PostMessageA(information, WM_COMMAND, IDOK, 0);
    Sleep(300);
  }
  PostMessageA(GetDlgItem(window, IDCANCEL), BM_CLICK, 0, 0);
  process.WaitForExit(10000);
}

}  // namespace botenruf::bench
