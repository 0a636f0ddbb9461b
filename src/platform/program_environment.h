// What the running program knows of itself and of the environment it was started with.
#pragma once

#include <optional>
#include <string>

namespace botenruf {

class ProgramEnvironment {
 public:
  virtual ~ProgramEnvironment() = default;
  // Full path of the running program file; empty when unknown.
  virtual std::string ProgramPath() = 0;
  // The program file's own version "%d.%d.%d.%d"; empty when it cannot be read.
  virtual std::string FileVersion() = 0;
  // The value of an environment variable, read anew at every call; empty when it is not set.
  virtual std::optional<std::string> Variable(const std::string& name) = 0;
};

}  // namespace botenruf
