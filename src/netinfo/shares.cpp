#include "netinfo/shares.h"

#include "dispatch/command_runner.h"
#include "text/text.h"

namespace botenruf {

std::string OpenShareCommandLine(SystemInfo& system, const std::string& station,
                                 const std::string& name, std::string& commandLine) {
  commandLine.clear();
  const std::string path = Format("%s\\%s", station.c_str(), name.c_str());
  if (!IsSafeShellArgument(path))
    return Format("\"%s\" kann nicht geöffnet werden: der Name enthält unzulässige Zeichen.",
                  path.c_str());
  std::string prefix;
  if (SystemDirectoryPrefix(system, prefix))
    BuildQueryCommandLine(QueryKind::kExplorer, prefix, path, {}, commandLine);
  return {};
}

}  // namespace botenruf
