// What the start routine needs of the desktop beyond registry and files.
#pragma once

#include <string>

namespace botenruf {

class StartupServices {
 public:
  virtual ~StartupServices() = default;
  // True when the main window of a running Botenruf carries exactly this caption. The program's
  // own message boxes carry it too, and so may a window of any other program: neither counts.
  virtual bool MainWindowExists(const std::string& caption) = 0;
  // The running instances of one user's session know of each other and change their start
  // counter one at a time: the first call makes this run known to the later ones and tells
  // whether an earlier one still runs (of two starts at one moment exactly one finds the
  // other, which the window search alone cannot tell); every call waits for the instances'
  // lock, which UnlockInstances gives back.
  virtual bool LockInstances() = 0;
  virtual void UnlockInstances() = 0;
  virtual bool InitializeSockets() = 0;
  // The program file's own version "%d.%d.%d.%d"; empty when it cannot be read.
  virtual std::string FileVersion() = 0;
};

}  // namespace botenruf
