// The history of all releases, shown in the "Versions-Info" viewer.
#pragma once

#include <string>
#include <vector>

namespace botenruf {

// One line per release in table order: the version, one TAB, the description.
std::vector<std::string> VersionHistoryLines();

}  // namespace botenruf
