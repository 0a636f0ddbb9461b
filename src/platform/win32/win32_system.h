#pragma once

#include "platform/process.h"
#include "platform/system.h"

namespace botenruf::win {

class Win32System : public SystemInfo {
 public:
  std::string ComputerName() override;
  bool GetOsVersion(OsVersion& version) override;
  std::string ModulePath() override;
  LocalTime Now() override;
  uint32_t LastError() override;
  std::string SystemMessage(uint32_t code, uint32_t languageId) override;
  std::string SystemDirectory() override;
  std::string TempPath() override;
  uint32_t TickCount() override;
  std::string ConsoleToAnsi(const std::string& text) override;
};

class Win32ProcessStarter : public ProcessStarter {
 public:
  std::unique_ptr<Process> StartHidden(const std::string& commandLine, uint32_t& error) override;
  std::unique_ptr<Process> StartHiddenWithOutput(const std::string& commandLine,
                                                 const std::string& outputFile,
                                                 uint32_t& error) override;
};

}  // namespace botenruf::win
