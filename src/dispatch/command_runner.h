// The one place where console programs are started: hidden, waited for, exit code back.
// Queries run through the command interpreter with their output redirected into a
// temporary file that the caller reads and deletes.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "platform/process.h"
#include "platform/system.h"

namespace botenruf {

inline constexpr uint32_t kNotStarted = 0xFFFFFFFFu;

struct CommandResult {
  bool finished = false;            // started and ended
  uint32_t exitCode = kNotStarted;  // kNotStarted when it could not be started
  uint32_t startError = 0;          // the system's error code when it could not be started
};

// Starts the command line hidden and polls once a second until the program has ended. An
// exit code that cannot be read after the end is reported as kNotStarted.
// `started` runs as soon as the program has been started (or could not be). With an
// `outputFile`, the program's output and error output go there (created anew).
CommandResult RunCommand(ProcessStarter& starter, const std::string& commandLine,
                         const std::function<void()>& started = {},
                         const std::string& outputFile = {});

// The system directory with a trailing backslash; false when the system reports none.
bool SystemDirectoryPrefix(SystemInfo& system, std::string& prefix);

// A fresh "%smsg%s.tmp" name in the temporary directory ("C:\" when there is none), the
// digits taken from the tick count. No two calls in this process return the same name, and
// never the name of an existing file.
std::string MakeTempFileName(SystemInfo& system, FileSystem& files);
// The digits for a tick count: "%ld" of it as a signed 32-bit number, last 8 characters.
std::string TempFileDigits(uint32_t tickCount);

// The German text for an error code, "%s(Code %ld)." with the system's text; "Fehlercode
// (0)." for 0. When the system has no text for the code, the system's default language is
// tried, then a plain "Unbekannter Fehler." stands in its place.
std::string FormatErrorText(SystemInfo& system, int32_t code);
// As above without the special case for 0 (used for exit codes of net send).
std::string SystemErrorText(SystemInfo& system, int32_t code);

// Reads a console tool's output file as lines, converted from the console's code page.
// False (lines untouched) when the file cannot be read or is larger than any tool's listing
// can be (kMaxOutputFileBytes).
inline constexpr uint64_t kMaxOutputFileBytes = 4 * 1024 * 1024;
bool ReadOutputLines(FileSystem& files, SystemInfo& system, const std::string& path,
                     std::vector<std::string>& lines);

// The query command lines through the command interpreter. Every argument pasted into them
// is checked: one with a character the interpreter acts on (& | < > ^ " %) or a control
// character is refused, the line is not built, and the query counts as failed.
enum class QueryKind {
  kNameTable,  // "%sCmd.exe /q /c nbtstat -a %s > %s"
  kPing,       // "%sCmd.exe /q /c ping %s -n 1 > %s"
  kNetView,    // "%sCmd.exe /q /c net view %s > %s"
  kExplorer,   // "%sCmd.exe /q /c explorer %s" (no output file; quoted when it has blanks)
};
bool IsSafeShellArgument(const std::string& text);
bool BuildQueryCommandLine(QueryKind kind, const std::string& systemPrefix,
                           const std::string& argument, const std::string& outputFile,
                           std::string& commandLine);
// Builds the query's line and runs it: true when it started and ran to its end. Nothing runs
// without a system directory or for a refused argument.
bool RunQuery(ProcessStarter& starter, SystemInfo& system, QueryKind kind,
              const std::string& argument, const std::string& outputFile);

}  // namespace botenruf
