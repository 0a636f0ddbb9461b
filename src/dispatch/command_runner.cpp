#include "dispatch/command_runner.h"

#include <chrono>
#include <mutex>
#include <set>
#include <thread>

#include "text/text.h"

namespace botenruf {

std::atomic<bool>& ShutdownFlag() {
  // Never destroyed: detached workers may still read it while the process ends.
  static auto* flag = new std::atomic<bool>(false);
  return *flag;
}

CommandResult RunCommand(ProcessStarter& starter, const std::string& commandLine,
                         const std::function<void()>& started, const std::string& outputFile,
                         const std::function<bool()>& giveUp) {
  CommandResult result;
  auto process = outputFile.empty()
                     ? starter.StartHidden(commandLine, result.startError)
                     : starter.StartHiddenWithOutput(commandLine, outputFile, result.startError);
  if (started)
    started();
  if (!process)
    return result;
  // The wait tells when the program has ended; its code cannot, since a program may well
  // end with the code that otherwise means "still running".
  while (!process->Wait(giveUp ? 100 : 1000)) {
    if (giveUp && giveUp()) {
      process->End();
      process->Wait(1000);
      return result;
    }
  }
  result.finished = true;
  if (!outputFile.empty())
    result.output = process->Output();
  uint32_t code = kNotStarted;
  result.exitCode = process->ExitCode(code) ? code : kNotStarted;
  return result;
}

bool SystemDirectoryPrefix(SystemInfo& system, std::string& prefix) {
  std::string directory = system.SystemDirectory();
  if (directory.empty())
    return false;
  if (directory.back() != '\\')
    directory += '\\';
  prefix = directory;
  return true;
}

std::string TempFileDigits(uint32_t tickCount) {
  const std::string digits = Format("%ld", static_cast<long>(static_cast<int32_t>(tickCount)));
  return digits.size() > 8 ? digits.substr(digits.size() - 8) : digits;
}

std::string MakeTempFileName(SystemInfo& system, FileSystem& files) {
  // Two queries started within one millisecond would otherwise share a file and read
  // each other's output; later ticks are tried until the name is new.
  static std::mutex mutex;
  static std::set<std::string> issued;
  std::string directory = system.TempPath();
  if (directory.empty())
    directory = "C:\\";
  std::lock_guard<std::mutex> lock(mutex);
  constexpr int kCreateAttempts = 1000;
  for (uint32_t tick = system.TickCount(), attempt = 0;; ++tick, ++attempt) {
    const std::string name = Format("%smsg%s.tmp", directory.c_str(), TempFileDigits(tick).c_str());
    if (issued.count(name) == 0 &&
        (attempt < kCreateAttempts ? files.CreateNew(name) : !files.Exists(name))) {
      issued.insert(name);
      return name;
    }
  }
}

std::string SystemErrorText(SystemInfo& system, uint32_t code) {
  std::string text = system.SystemMessage(code, kGermanLanguage);
  if (text.empty())
    text = system.SystemMessage(code, 0);
  if (text.empty())
    text = "Unbekannter Fehler.\r\n";
  return Format("%s(Code %lu).", text.c_str(), static_cast<unsigned long>(code));
}

std::string FormatErrorText(SystemInfo& system, int32_t code) {
  if (code == 0)
    return Format("Fehlercode (%ld).", 0L);
  return SystemErrorText(system, static_cast<uint32_t>(code));
}

bool ReadOutputLines(FileSystem& files, SystemInfo& system, const std::string& path,
                     std::vector<std::string>& lines) {
  std::string bytes;
  if (files.ReadAll(path, bytes, kMaxOutputFileBytes) != ReadStatus::kOk)
    return false;
  lines = SplitLines(system.ConsoleToAnsi(bytes));
  return true;
}

bool RemoveOutputFile(FileSystem& files, const std::string& path) {
  for (int attempt = 0;; ++attempt) {
    if (files.Remove(path) || !files.Exists(path))
      return true;
    if (attempt == 10)
      return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
}

bool IsSafeShellArgument(const std::string& text) {
  for (char c : text) {
    const unsigned char b = static_cast<unsigned char>(c);
    if (b < 0x20 || b == 0x7F)
      return false;
    switch (c) {
      case '&':
      case '|':
      case '<':
      case '>':
      case '^':
      case '"':
      case '%':
        return false;
      default:
        break;
    }
  }
  return true;
}

bool BuildQueryCommandLine(QueryKind kind, const std::string& systemPrefix,
                           const std::string& argument, const std::string& outputFile,
                           std::string& commandLine) {
  for (const std::string* part : {&systemPrefix, &argument, &outputFile}) {
    if (!IsSafeShellArgument(*part))
      return false;
  }
  const char* prefix = systemPrefix.c_str();
  const char* arg = argument.c_str();
  const char* out = outputFile.c_str();
  switch (kind) {
    case QueryKind::kNameTable:
      commandLine = Format("%sCmd.exe /q /c nbtstat -a %s > %s", prefix, arg, out);
      break;
    case QueryKind::kPing:
      commandLine = Format("%sCmd.exe /q /c ping %s -n 1 > %s", prefix, arg, out);
      break;
    case QueryKind::kPing4:
      commandLine = Format("%sCmd.exe /q /c ping %s -n 1 -4 > %s", prefix, arg, out);
      break;
    case QueryKind::kNetView:
      commandLine = Format("%sCmd.exe /q /c net view %s > %s 2>&1", prefix, arg, out);
      break;
    case QueryKind::kExplorer:
      // A share name may hold blanks ("Gemeinsame Daten"): then the path goes in quotes.
      commandLine =
          Format(argument.find(' ') == std::string::npos ? "%sCmd.exe /q /c explorer %s"
                                                         : "%sCmd.exe /q /c explorer \"%s\"",
                 prefix, arg);
      break;
  }
  return true;
}

bool RunQuery(ProcessStarter& starter, SystemInfo& system, QueryKind kind,
              const std::string& argument, const std::string& outputFile) {
  std::string prefix, commandLine;
  return SystemDirectoryPrefix(system, prefix) &&
         BuildQueryCommandLine(kind, prefix, argument, outputFile, commandLine) &&
         RunCommand(starter, commandLine, {}, {}, [] { return ShutdownFlag().load(); }).finished;
}

}  // namespace botenruf
