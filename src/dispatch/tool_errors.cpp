#include "dispatch/tool_errors.h"

#include "text/text.h"

namespace botenruf {
namespace {

// The number that follows `at` after blanks and an opening "[", or 0.
uint32_t CodeAfter(const std::string& line, size_t at) {
  size_t i = at;
  while (i < line.size() && (line[i] == ' ' || line[i] == '['))
    ++i;
  uint64_t code = 0;
  const size_t first = i;
  for (; i < line.size() && line[i] >= '0' && line[i] <= '9' && code <= UINT32_MAX; ++i)
    code = code * 10 + static_cast<uint64_t>(line[i] - '0');
  return i > first && code <= UINT32_MAX ? static_cast<uint32_t>(code) : 0;
}

}  // namespace

uint32_t ToolErrorCode(const std::vector<std::string>& output) {
  for (const std::string& line : output) {
    const std::string upper = ToUpper1252(line);
    for (const std::string word : {"FEHLER", "ERROR", "HELPMSG"}) {
      for (size_t at = upper.find(word); at != std::string::npos; at = upper.find(word, at + 1)) {
        if (const uint32_t code = CodeAfter(upper, at + word.size()))
          return code;
      }
    }
  }
  return 0;
}

bool IsUnreachableError(uint32_t code) {
  switch (code) {
    case 51:    // the remote computer is not available
    case 53:    // the network path was not found
    case 64:    // the network name is no longer available
    case 67:    // the network name cannot be found
    case 121:   // the semaphore timeout period has expired
    case 1203:  // no network provider accepted the given network path
    case 1214:  // the network name is not valid
    case 1222:  // the network is not present or not started
    case 1231:  // the network location cannot be reached
    case 1232:  // the network location cannot be reached (host)
      return true;
    default:
      return false;
  }
}

bool IsCallerRefusedError(uint32_t code) {
  switch (code) {
    case 5:     // access is denied
    case 86:    // the network password is not correct
    case 1219:  // multiple connections with different credentials
    case 1326:  // unknown user name or bad password
    case 1327:  // account restrictions
    case 1328:  // logon time restriction
    case 1329:  // not allowed to log on from this computer
    case 1330:  // the password has expired
    case 1331:  // the account is disabled
    case 1385:  // the logon type is not granted
    case 1907:  // the password must be changed
    case 1909:  // the account is locked out
      return true;
    default:
      return false;
  }
}

bool IsDashLine(const std::string& line) {
  const std::string trimmed = TrimRight(line);
  return trimmed.size() >= 3 && trimmed.find_first_not_of('-') == std::string::npos;
}

bool AnswersNetView(const std::vector<std::string>& output) {
  for (const std::string& line : output) {
    if (IsDashLine(line))
      return true;  // a listing: whatever its rows say
  }
  if (const uint32_t code = ToolErrorCode(output))
    return IsCallerRefusedError(code);
  for (const std::string& line : output) {
    if (!Trim(line).empty())
      return true;
  }
  return false;
}

}  // namespace botenruf
