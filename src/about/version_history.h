// The history of all releases, shown in the "Versions-Info" viewer.
#pragma once

#include <array>
#include <string>
#include <vector>

namespace botenruf {

struct VersionHistoryRow {
  const char* version;  // written as shown, e.g. "2.0.0.10"
  const char* description;
};

inline constexpr size_t kVersionHistoryRows = 40;
extern const std::array<VersionHistoryRow, kVersionHistoryRows> kVersionHistory;

// One line per release in table order: the version, one TAB, the description.
std::vector<std::string> VersionHistoryLines();

}  // namespace botenruf
