// sleeper MILLISECONDS EXITCODE: waits, then ends with the given code. A console program of
// known duration and result for tests of the command runner. It links none of the tools'
// library, only the header-only log writer.
#include <windows.h>

#include <cstdlib>
#include <string>
#include <string_view>

#include "../common/netsim_command_line.h"
#include "../common/netsim_records.h"

using namespace botenruf::netsim;

int main() {
  LogInvocation("sleeper");
  std::string_view rest = ArgumentsOf(GetCommandLineA());
  const std::string milliseconds = NextWord(rest);
  const std::string exitCode = NextWord(rest);
  if (milliseconds.empty() || exitCode.empty()) {
    static const char kUsage[] = "usage: sleeper MILLISECONDS EXITCODE\r\n";
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_ERROR_HANDLE), kUsage, sizeof kUsage - 1, &written, nullptr);
    return 1;
  }
  Sleep(static_cast<DWORD>(std::strtoul(milliseconds.c_str(), nullptr, 10)));
  // strtoll keeps negative codes: -1 ends the process with 0xFFFFFFFF.
  ExitProcess(static_cast<UINT>(std::strtoll(exitCode.c_str(), nullptr, 10)));
}
