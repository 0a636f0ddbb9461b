#include "bench_support.h"

#include "app/settings_store.h"

#include <algorithm>
#include <cstdio>

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

namespace {}  // namespace

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

void PrintFigures(int run, const Figures& program, const Figures& floor) {
  std::printf(
      "run %d: last start %.0f / %.0f ms (%s), all ended %.0f / %.0f ms (%s), longest "
      "stall %.1f / %.1f ms (%s)\n",
      run, program.lastStartMs, floor.lastStartMs,
      Ratio(program.lastStartMs, floor.lastStartMs).c_str(), program.allEndedMs, floor.allEndedMs,
      Ratio(program.allEndedMs, floor.allEndedMs).c_str(), program.longestStallMs,
      floor.longestStallMs, Ratio(program.longestStallMs, floor.longestStallMs).c_str());
}

}  // namespace

int RunBesideFloor(const std::function<bool(Figures&)>& program,
                   const std::function<Figures()>& floor) {
  for (int run = 1; run <= 3; ++run) {
    Figures measured;
    if (!program(measured)) {
      std::printf("run %d: failed\n", run);
      return 1;
    }
    PrintFigures(run, measured, floor());
  }
  return 0;
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

std::unique_ptr<wintest::ProgramProcess> StartProgram(const std::string& name,
                                                      const std::string& listFile, int mode,
                                                      HWND& window) {
  wintest::DeleteUserKeyTree(kSettingsKey);
  const std::string scratch = wintest::ScratchDir(name);
  wintest::WriteTextFile(scratch + "\\Rechner.txt", listFile);
  wintest::WriteUserString(kSettingsKey, "RechnerListePfad", scratch + "\\Rechner.txt");
  wintest::WriteUserString(kSettingsKey, "ListenTyp", std::to_string(mode));
  auto process = std::make_unique<wintest::ProgramProcess>();
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

HWND FinishedWindow(const std::string& caption) {
  HWND window = FindWindowA("#32770", caption.c_str());
  return window && wintest::WindowText(GetDlgItem(window, IDOK)) == "OK" ? window : nullptr;
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
