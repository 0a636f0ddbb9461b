// Win32 clipboard and the running program's own facts.
#pragma once

#include "platform/clipboard.h"
#include "platform/program_environment.h"

namespace botenruf::win {

class Win32Clipboard : public Clipboard {
 public:
  bool SetText(NativeWindow owner, const std::string& text) override;
};

class Win32ProgramEnvironment : public ProgramEnvironment {
 public:
  std::string ProgramPath() override;
  std::string FileVersion() override;
  std::optional<std::string> Variable(const std::string& name) override;
};

}  // namespace botenruf::win
