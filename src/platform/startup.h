// What the start routine needs of the desktop beyond registry and files.
#pragma once

#include <string>

namespace botenruf {

class StartupServices {
 public:
  virtual ~StartupServices() = default;
  // True when any top-level window (of any class) carries exactly this caption.
  virtual bool TopLevelWindowExists(const std::string& caption) = 0;
  virtual bool InitializeSockets() = 0;
  // The program file's own version "%d.%d.%d.%d"; empty when it cannot be read.
  virtual std::string FileVersion() = 0;
};

}  // namespace botenruf
