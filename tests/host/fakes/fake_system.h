// Scriptable system facts for host tests.
#pragma once

#include <map>
#include <string>

#include "platform/system.h"

namespace botenruf::fakes {

class FakeSystem : public SystemInfo {
 public:
  std::string ComputerName() override { return computerName; }
  bool GetOsVersion(OsVersion& version) override {
    version = osVersion;
    return true;
  }
  std::string ModulePath() override { return modulePath; }
  LocalTime Now() override { return now; }
  uint32_t LastError() override { return lastError; }
  std::string SystemMessage(uint32_t code, uint32_t languageId) override {
    if (languageId != kGermanLanguage)
      return {};
    auto it = messages.find(code);
    return it == messages.end() ? std::string() : it->second;
  }
  std::string SystemDirectory() override { return systemDirectory; }
  std::string TempPath() override { return tempPath; }
  uint32_t TickCount() override { return tickCount; }
  std::string ConsoleToAnsi(const std::string& text) override;

  std::string computerName = "STATION1";
  OsVersion osVersion{2, 5, 1};
  std::string modulePath = "C:\\Programme\\Botenruf\\Botenruf.exe";
  LocalTime now{2004, 12, 6, 14, 30, 0};
  uint32_t lastError = 0;
  std::map<uint32_t, std::string> messages;
  std::string systemDirectory = "C:\\WINNT\\system32";
  std::string tempPath = "C:\\TEMP\\";
  uint32_t tickCount = 1234;
};

// Code page 850 to Windows-1252 for the letters the German tools print.
std::string Oem850ToAnsi(const std::string& text);

}  // namespace botenruf::fakes
