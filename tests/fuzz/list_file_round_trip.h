// Saving a directory to the list file and loading it again: every entry the file can carry
// comes back (exactly, where the format allows it), the others are counted as left out, and
// no temporary file stays. Shared by the fuzz target and the directory benchmark.
#pragma once

#include <string>
#include <vector>

#include "../host/fakes/fake_file_system.h"
#include "directory/entry_rules.h"
#include "directory/list_file.h"
#include "directory/recipient_directory.h"
#include "text/text.h"

namespace botenruf::round_trip {

inline bool HasWhiteSpace(const std::string& text) {
  for (char c : text) {
    if (IsSpace(c))
      return true;
  }
  return false;
}

inline bool WhiteAtEnds(const std::string& text) {
  return !text.empty() && (IsSpace(text.front()) || IsSpace(text.back()));
}

// What the format gives back unchanged: stations without white space, aliases without white
// space at their ends, list names without "[", member texts without "]" or a leading blank,
// nothing empty where that changes its meaning, nothing over 255 characters.
inline bool SingleComesBackExactly(const std::string& station, const std::string& alias) {
  return !station.empty() && station.size() <= 255 && !HasWhiteSpace(station) && !alias.empty() &&
         alias.size() <= 255 && !WhiteAtEnds(alias);
}

inline bool ListComesBackExactly(const std::string& name, const std::string& members) {
  return name.size() <= 255 && !Contains(name, "[") && !WhiteAtEnds(name) &&
         members.size() <= 255 && !Contains(members, "]") &&
         (members.empty() || !IsSpace(members.front()));
}

struct Outcome {
  std::string problem;  // empty when the round trip kept what it must
  int exact = 0;        // entries compared exactly
  int leftOut = 0;      // entries the file cannot carry
};

inline Outcome RoundTrip(const RecipientDirectory& directory) {
  Outcome outcome;
  std::vector<int> singles, lists;
  for (int i = 0; i < directory.SingleCount(); ++i) {
    if (ListFileCanCarrySingle(directory.Stations()[i], directory.Aliases()[i]))
      singles.push_back(i);
    else
      ++outcome.leftOut;
  }
  for (int i = 0; i < directory.ListCount(); ++i) {
    if (ListFileCanCarryList(directory.ListNames()[i], directory.MemberTexts()[i]))
      lists.push_back(i);
    else
      ++outcome.leftOut;
  }
  fakes::FakeFileSystem files;
  const SaveResult saved = directory.SaveDirectory(files, "Rechner.txt", {2004, 12, 6}, "3.0");
  if (saved.status != SaveStatus::kSaved || saved.skippedEntries != outcome.leftOut ||
      files.files.size() != 1) {
    outcome.problem = "save";
    return outcome;
  }
  RecipientDirectory loaded;
  loaded.ReloadDirectory(files, "Rechner.txt");
  if (loaded.SingleCount() != static_cast<int>(singles.size()) ||
      loaded.ListCount() != static_cast<int>(lists.size())) {
    outcome.problem = "entries lost: " + files.files["Rechner.txt"];
    return outcome;
  }
  for (size_t j = 0; j < singles.size(); ++j) {
    const std::string& station = directory.Stations()[singles[j]];
    const std::string& alias = directory.Aliases()[singles[j]];
    if (!SingleComesBackExactly(station, alias))
      continue;
    ++outcome.exact;
    if (loaded.Stations()[j] != station || loaded.Aliases()[j] != alias)
      outcome.problem = "single changed: " + station;
  }
  for (size_t j = 0; j < lists.size(); ++j) {
    const std::string& name = directory.ListNames()[lists[j]];
    const std::string& members = directory.MemberTexts()[lists[j]];
    if (!ListComesBackExactly(name, members))
      continue;
    ++outcome.exact;
    if (loaded.ListNames()[j] != name || loaded.MemberTexts()[j] != members)
      outcome.problem = "list changed: " + name;
  }
  return outcome;
}

}  // namespace botenruf::round_trip
