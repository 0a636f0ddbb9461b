// The update server's version list ("_updates.txt"): one entry per line, every field ending in
// ";", lines beginning with "#" are comments. And the comparison of four-part versions.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace botenruf {

// major, minor, build, revision; compared part by part, major first.
using Version = std::array<int32_t, 4>;

// The version text "%d.%d.%d.%d" of a program file; false for anything else.
bool ParseVersionText(std::string_view text, Version& version);
std::string VersionText(const Version& version);
bool IsNewer(const Version& candidate, const Version& installed);

struct ReleaseDate {
  int32_t year = 0;
  int32_t month = 0;
  int32_t day = 0;

  bool operator==(const ReleaseDate&) const = default;
};

// One line of the list. Text fields that are empty or lack their ";" stay empty; integer
// fields without their ";" are -1.
struct UpdateEntry {
  std::string name;  // the program's key, e.g. "botenruf" (case-sensitive)
  Version version = {-1, -1, -1, -1};
  std::optional<ReleaseDate> date;  // only when year, month and day are all above 0
  int32_t sizeUnit = -1;            // 0 Byte, 1 KB, 2 MB, 3 GB
  int32_t size = -1;
  std::string path;  // directory on the server, relative to the base address, with "/"
  std::string fileName;
};

inline constexpr const char* kUpdateKey = "botenruf";
// Longer lines are cut here; the rest of such a line is not read as a line of its own.
inline constexpr size_t kMaxUpdateLineLength = 1024;

UpdateEntry ParseUpdateLine(std::string_view line);
// Every line that does not begin with "#", in file order (an empty line gives an entry
// without a name).
std::vector<UpdateEntry> ParseUpdateList(std::string_view bytes);
// The first entry with exactly this name; null when there is none.
const UpdateEntry* FindUpdateEntry(const std::vector<UpdateEntry>& entries, std::string_view name);

// "Byte", "KB", "MB", "GB", or "???" for any other unit code.
const char* SizeUnitName(int32_t unit);

}  // namespace botenruf
