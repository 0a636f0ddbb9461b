// Scriptable system facts for host tests.
#pragma once

#include <map>
#include <string>

#include "platform/system.h"

namespace botenruf::fakes {

class FakeSystem : public SystemInfo {
 public:
  std::string ComputerName() override { return "STATION1"; }
  bool GetOsVersion(OsVersion& version) override { return version = osVersion, true; }
  std::string ModulePath() override { return modulePath; }
  LocalTime Now() override { return {2004, 12, 6, 14, 30, 0}; }
  uint32_t LastError() override { return 0; }
  std::string SystemMessage(uint32_t code, uint32_t languageId) override {
    const auto it = messages.find(code);
    return languageId == kGermanLanguage && it != messages.end() ? it->second : std::string();
  }
  std::string SystemDirectory() override { return systemDirectory; }
  std::string TempPath() override { return "C:\\TEMP\\"; }
  uint32_t TickCount() override { return tickCount; }
  // Code page 850 to Windows-1252 for the letters the German tools print: ä ö ü Ä Ö Ü ß é.
  std::string ConsoleToAnsi(const std::string& text) override {
    static const std::string oem = "\x84\x94\x81\x8E\x99\x9A\xE1\x82";
    static const std::string ansi = "\xE4\xF6\xFC\xC4\xD6\xDC\xDF\xE9";
    std::string result = text;
    for (char& c : result) {
      if (const size_t at = oem.find(c); at != std::string::npos)
        c = ansi[at];
    }
    return result;
  }

  OsVersion osVersion{2, 5, 1};
  std::string modulePath = "C:\\Programme\\Botenruf\\Botenruf.exe";
  std::map<uint32_t, std::string> messages;
  std::string systemDirectory = "C:\\WINNT\\system32";
  uint32_t tickCount = 1234;
};

}  // namespace botenruf::fakes
