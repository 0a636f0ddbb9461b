// Process service: start a command line hidden, wait for it, read its exit code.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace botenruf {

class Process {
 public:
  virtual ~Process() = default;  // closes the process and thread handles
  // Waits at most `milliseconds`; true when the process has ended.
  virtual bool Wait(uint32_t milliseconds) = 0;
  // False when the code cannot be read.
  virtual bool ExitCode(uint32_t& code) = 0;
  // Ends the program at once, and every program it started that still runs (a query's tool
  // under the command interpreter).
  virtual void End() = 0;
  // What a program started with its output captured has written so far, as bytes (at most a
  // few megabytes); empty for one started without.
  virtual std::string Output() = 0;
};

class ProcessStarter {
 public:
  virtual ~ProcessStarter() = default;
  // Starts the command line with a hidden window, handles not inherited, no application
  // name (the program is found from the first word). Null when it cannot be started;
  // `error` then holds the system's error code.
  virtual std::unique_ptr<Process> StartHidden(const std::string& commandLine, uint32_t& error) = 0;
  // As StartHidden, but the program writes its standard output and error into `outputFile`
  // (created anew) and reads an empty input: for a tool whose message must not pass through
  // the command interpreter, yet whose output tells more than its exit code. The file goes
  // away by itself once neither the program nor the Process holds it any more, so a tool that
  // outlives this program leaves nothing behind.
  virtual std::unique_ptr<Process> StartHiddenWithOutput(const std::string& commandLine,
                                                         const std::string& outputFile,
                                                         uint32_t& error) = 0;
};

}  // namespace botenruf
