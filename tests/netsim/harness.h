// The simulated network from the Windows tests' side: a private netsim folder, and reading back
// what the tools wrote.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "common/netsim_log.h"
#include "netsim_test_support.h"

namespace botenruf::netsim::harness {

// The system directory with a backslash at its end ("C:\windows\system32\").
std::string SystemDirectoryPrefix();

// The whole file as bytes; empty when it cannot be read.
std::string ReadBytes(const std::string& path);
bool WriteBytes(const std::string& path, const std::string& bytes);

// A fresh folder for the simulated network, announced to child processes through
// BOTENRUF_NETSIM_DIR for the lifetime of the object (the previous value comes back after).
class NetsimFolder {
 public:
  NetsimFolder();
  ~NetsimFolder();
  NetsimFolder(const NetsimFolder&) = delete;
  NetsimFolder& operator=(const NetsimFolder&) = delete;

  const std::string& Path() const { return path_; }  // ends with a backslash
  std::string File(const char* name) const { return path_ + name; }
  // Writes scenario.txt and removes the records of earlier runs.
  void Reset(const std::string& scenario);

 private:
  std::string path_;
  std::string previous_;
  bool hadPrevious_ = false;
};

// Every record the tools wrote into the folder's log.txt and received.txt, in order.
std::vector<LogEntry> ReadLog(const NetsimFolder& folder);
std::vector<ReceivedEntry> ReadReceived(const NetsimFolder& folder);
// The command lines of the net send starts in the log, in the order they started.
std::vector<std::string> NetSendCommandLines(const NetsimFolder& folder);
// The log's records of msg starts, in the order they started.
std::vector<LogEntry> MsgStarts(const NetsimFolder& folder);

}  // namespace botenruf::netsim::harness
