// System facts: names, versions, paths, clock and the system's message texts.
#pragma once

#include <cstdint>
#include <string>

namespace botenruf {

struct LocalTime {
  int year = 0;
  int month = 0;  // 1..12
  int day = 0;    // 1..31
  int hour = 0;   // 0..23
  int minute = 0;
  int second = 0;
};

struct OsVersion {
  uint32_t platformId = 0;  // 1 = consumer Windows family, 2 = Windows NT
  uint32_t major = 0;
  uint32_t minor = 0;
};

constexpr uint32_t kPlatformWin32Windows = 1;
constexpr uint32_t kGermanLanguage = 1031;

class SystemInfo {
 public:
  virtual ~SystemInfo() = default;
  // Empty when the name cannot be read.
  virtual std::string ComputerName() = 0;
  virtual bool GetOsVersion(OsVersion& version) = 0;
  // Full path of the running program file; empty when unknown.
  virtual std::string ModulePath() = 0;
  virtual LocalTime Now() = 0;
  // The calling thread's last error code.
  virtual uint32_t LastError() = 0;
  // The system's text for an error code in the given language; empty when it has none.
  virtual std::string SystemMessage(uint32_t code, uint32_t languageId) = 0;
  // The system directory as the system reports it; empty when it reports none.
  virtual std::string SystemDirectory() = 0;
  // The temporary directory; empty when the system reports none.
  virtual std::string TempPath() = 0;
  virtual uint32_t TickCount() = 0;
  // Converts console output (OEM code page) to the program's ANSI code page.
  virtual std::string ConsoleToAnsi(const std::string& text) = 0;
};

}  // namespace botenruf
