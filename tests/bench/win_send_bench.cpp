// Benchmark under Wine (not a test): the real program sends to a distribution list of 20
// stations that each take 2 s to answer. Reports the time from the click on "Senden" to the
// last net send start, the time until every send has ended, and the longest time the
// user-interface thread took to answer a message meanwhile.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <string>
#include <thread>

#include "app/settings_store.h"
#include "resource.h"
#include "support/netsim_harness.h"
#include "support/win_test_support.h"

using namespace botenruf;
namespace harness = netsim::harness;

namespace {

constexpr int kStations = 20;
constexpr int kDelayMs = 2000;

struct Run {
  DWORD clickMs = 0;  // how long the click on "Senden" itself kept the window busy
  DWORD lastStartMs = 0;
  DWORD totalMs = 0;
  double longestStallMs = 0;
};

bool MeasureOnce(Run& run) {
  harness::NetsimFolder network;
  std::string scenario, members, singles;
  for (int i = 1; i <= kStations; ++i) {
    const std::string name = "PC" + std::to_string(100 + i);
    scenario += "[station " + name + "]\nsend_delay_ms = " + std::to_string(kDelayMs) + "\n";
    members += (i > 1 ? "," : "") + name;
    singles += name + " Platz " + std::to_string(i) + "\r\n";
  }
  network.Reset(scenario);
  wintest::DeleteUserKeyTree(kSettingsKey);
  const std::string scratch = wintest::ScratchDir("send_bench");
  wintest::WriteTextFile(
      scratch + "\\Rechner.txt",
      "//begin\r\n" + singles + "//end\r\n//v_begin\r\nAlle [" + members + "]\r\n//v_end\r\n");
  wintest::WriteUserString(kSettingsKey, "RechnerListePfad", scratch + "\\Rechner.txt");
  wintest::WriteUserString(kSettingsKey, "ListenTyp", "1");

  wintest::ProgramProcess program;
  HWND window = wintest::WaitForWindow("Botenruf", 20000, program.id());
  if (!window)
    return false;
  SendMessageA(GetDlgItem(window, IDC_MESSAGE), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("Messung"));
  HWND group = GetDlgItem(window, IDC_NOTIFY_GROUP);

  std::atomic<bool> probing{true};
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  std::thread probe([&] {
    while (probing) {
      LARGE_INTEGER before, after;
      QueryPerformanceCounter(&before);
      DWORD_PTR ignored = 0;
      SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &ignored);
      QueryPerformanceCounter(&after);
      const double ms = 1000.0 * static_cast<double>(after.QuadPart - before.QuadPart) /
                        static_cast<double>(frequency.QuadPart);
      run.longestStallMs = std::max(run.longestStallMs, ms);
      Sleep(2);
    }
  });

  const DWORD click = GetTickCount();
  SendMessageA(GetDlgItem(window, IDC_SEND), BM_CLICK, 0, 0);
  run.clickMs = GetTickCount() - click;
  bool started = false;
  while (GetTickCount() - click < 60000) {
    const std::string caption = wintest::WindowText(group);
    if (caption != "Benachrichtigung [0]")
      started = true;
    if (started && caption == "Benachrichtigung [0]")
      break;
    Sleep(5);
  }
  run.totalMs = GetTickCount() - click;
  probing = false;
  probe.join();
  for (const auto& entry : harness::ReadLog(network)) {
    if (entry.tool == "net")
      run.lastStartMs = std::max(run.lastStartMs, entry.tick - click);
  }
  const size_t sends = harness::NetSendCommandLines(network).size();
  PostMessageA(GetDlgItem(window, IDCANCEL), BM_CLICK, 0, 0);
  program.WaitForExit(10000);
  return started && sends == kStations;
}

}  // namespace

int main() {
  std::printf("%d Stationen, je %d ms bis zur Antwort\n", kStations, kDelayMs);
  for (int i = 1; i <= 3; ++i) {
    Run run;
    if (!MeasureOnce(run)) {
      std::printf("Lauf %d: fehlgeschlagen\n", i);
      return 1;
    }
    std::printf(
        "Lauf %d: Klick %lu ms, letzter net-send-Start nach %lu ms, alle fertig nach "
        "%lu ms, Oberfläche höchstens %.1f ms ohne Antwort\n",
        i, static_cast<unsigned long>(run.clickMs), static_cast<unsigned long>(run.lastStartMs),
        static_cast<unsigned long>(run.totalMs), run.longestStallMs);
  }
  return 0;
}
