#include "tool.h"

#include <windows.h>

#include "netsim_command_line.h"
#include "netsim_records.h"
#include "netsim_text.h"

namespace botenruf::netsim {

Scenario LoadScenario() {
  const std::string directory = NetsimDirectory();
  std::string text;
  if (directory.empty() || !ReadWholeFile(directory + "scenario.txt", text)) {
    return {};
  }
  std::vector<std::string> warnings;
  Scenario scenario = ParseScenario(text, warnings);
  if (!warnings.empty()) {
    WriteLines(Stream::kErr, warnings);
  }
  return scenario;
}

void WriteLines(Stream stream, const std::vector<std::string>& lines) {
  HANDLE handle = GetStdHandle(stream == Stream::kOut ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
  if (handle == nullptr || handle == INVALID_HANDLE_VALUE) {
    return;
  }
  std::string bytes;
  for (const std::string& line : lines) {
    bytes += ToOem850(line);
    bytes += "\r\n";
  }
  // One write for the whole output, so that a reader never sees half of it.
  const char* data = bytes.data();
  std::size_t left = bytes.size();
  while (left > 0) {
    DWORD written = 0;
    if (!WriteFile(handle, data, static_cast<DWORD>(left), &written, nullptr) || written == 0) {
      return;
    }
    data += written;
    left -= written;
  }
}

std::string DashLine() {
  return std::string(79, '-');
}

void Delay(std::uint32_t milliseconds) {
  if (milliseconds > 0) {
    Sleep(milliseconds);
  }
}

std::vector<std::string> ArgumentWords() {
  std::string_view rest = ArgumentsOf(GetCommandLineA());
  std::vector<std::string> words;
  while (!rest.empty()) {
    words.push_back(NextWord(rest));
  }
  return words;
}

std::string LocalComputerName() {
  char name[MAX_COMPUTERNAME_LENGTH + 1];
  DWORD size = sizeof name;
  if (!GetComputerNameA(name, &size)) {
    return "?";
  }
  return std::string(name, size);
}

void ShowReceivedBox(const std::string& caption, const std::string& text) {
  char flag[8];
  const DWORD length = GetEnvironmentVariableA("BOTENRUF_NETSIM_SHOWBOX", flag, sizeof flag);
  if (length != 1 || flag[0] != '1') {
    return;
  }
  MessageBoxA(nullptr, text.c_str(), caption.c_str(),
              MB_OK | MB_ICONINFORMATION | MB_SETFOREGROUND | MB_TOPMOST);
}

std::string LocalTimeText() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  char when[32];
  wsprintfA(when, "%02u.%02u.%04u %02u:%02u:%02u", now.wDay, now.wMonth, now.wYear, now.wHour,
            now.wMinute, now.wSecond);
  return when;
}

}  // namespace botenruf::netsim
