// Opening a share in the explorer: only the explorer runs, and only for a path whose text
// the command interpreter would take as it stands.
#pragma once

#include <string>

#include "platform/system.h"

namespace botenruf {

// Builds "%sCmd.exe /q /c explorer %s" for the share `name` of `station` (the station with its
// two backslashes; the path is "%s\%s"). Returns the status text that refuses a name with a
// character the interpreter acts on (nothing is run then); an empty command line without a
// refusal means the system directory is not available.
std::string OpenShareCommandLine(SystemInfo& system, const std::string& station,
                                 const std::string& name, std::string& commandLine);

}  // namespace botenruf
