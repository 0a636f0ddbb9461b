// The one place where console programs are started: hidden, waited for, exit code back.
// Queries run through the command interpreter with their output redirected into a
// temporary file that the caller reads and deletes.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "platform/process.h"
#include "platform/system.h"

namespace botenruf {

inline constexpr uint32_t kNotStarted = 0xFFFFFFFFu;

// Raised once, first thing, when the main window goes away; workers then stop reporting
// success and end their waits, and the query tools still running are ended. Nobody lowers it.
std::atomic<bool>& ShutdownFlag();

struct CommandResult {
  bool finished = false;            // started and ended
  uint32_t exitCode = kNotStarted;  // kNotStarted when it could not be started
  uint32_t startError = 0;          // the system's error code when it could not be started
  std::string output = {};          // what it wrote where its output was captured
};

// Starts the command line hidden and polls once a second until the program has ended. An
// exit code that cannot be read after the end is reported as kNotStarted.
// `started` runs as soon as the program has been started (or could not be). With an
// `outputFile`, the program's output and error output go there (created anew) and come back in
// the result, the console's code page unchanged; the file goes with the program. With
// `giveUp`, asked ten times a second, a program that is given up is ended with everything it
// started, and counts as not finished.
CommandResult RunCommand(ProcessStarter& starter, const std::string& commandLine,
                         const std::function<void()>& started = {},
                         const std::string& outputFile = {},
                         const std::function<bool()>& giveUp = {});

// The system directory with a trailing backslash; false when the system reports none.
bool SystemDirectoryPrefix(SystemInfo& system, std::string& prefix);

// A fresh "%smsg%s.tmp" name in the temporary directory ("C:\" when there is none), the
// digits taken from the tick count. The name is taken by creating the file, so that no other
// query, and no other program, uses it at the same time; only where no file can be created
// there is it merely a name that no file has.
std::string MakeTempFileName(SystemInfo& system, FileSystem& files);
// The digits for a tick count: "%ld" of it as a signed 32-bit number, last 8 characters.
std::string TempFileDigits(uint32_t tickCount);

// The German text for an error code, "%s(Code %lu)." with the system's text and the code as
// Windows shows it (unsigned); "Fehlercode (0)." for 0. When the system has no text for the
// code, the system's default language is tried, then a plain "Unbekannter Fehler." stands in
// its place.
std::string FormatErrorText(SystemInfo& system, int32_t code);
// As above without the special case for 0 (used for the errors a tool reports).
std::string SystemErrorText(SystemInfo& system, uint32_t code);

// Reads a console tool's output file as lines, converted from the console's code page.
// False (lines untouched) when the file cannot be read or is larger than any tool's listing
// can be (kMaxOutputFileBytes).
inline constexpr uint64_t kMaxOutputFileBytes = 4 * 1024 * 1024;
bool ReadOutputLines(FileSystem& files, SystemInfo& system, const std::string& path,
                     std::vector<std::string>& lines);

// Deletes a tool's output file. The tool's console or a virus scanner may hold it for a moment
// after the tool has ended, so a refused delete is tried again for up to half a second; true
// when the file is gone.
bool RemoveOutputFile(FileSystem& files, const std::string& path);

// The query command lines through the command interpreter. Every argument pasted into them
// is checked: one with a character the interpreter acts on (& | < > ^ " %) or a control
// character is refused, the line is not built, and the query counts as failed.
enum class QueryKind {
  kNameTable,  // "%sCmd.exe /q /c nbtstat -a %s > %s"
  kPing,       // "%sCmd.exe /q /c ping %s -n 1 > %s"
  kNetView,    // "%sCmd.exe /q /c net view %s > %s 2>&1": its errors say why a listing failed
  kPing4,      // "%sCmd.exe /q /c ping %s -n 1 -4 > %s": IPv4 on Windows Vista and newer
  kExplorer,   // "%sCmd.exe /q /c explorer %s" (no output file; quoted when it has blanks)
};
bool IsSafeShellArgument(const std::string& text);
bool BuildQueryCommandLine(QueryKind kind, const std::string& systemPrefix,
                           const std::string& argument, const std::string& outputFile,
                           std::string& commandLine);
// Builds the query's line and runs it: true when it started and ran to its end. Nothing runs
// without a system directory or for a refused argument. The end of the program ends the
// query's tool: nobody waits for its answer any more.
bool RunQuery(ProcessStarter& starter, SystemInfo& system, QueryKind kind,
              const std::string& argument, const std::string& outputFile);

}  // namespace botenruf
