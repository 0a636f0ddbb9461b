// Saving a directory to the list file and loading it again: every entry the file carries comes
// back (exactly, or as the readers keep any entry), the others are counted as left out and keep
// the save from writing anything, and the file written reads without loss. Shared by the fuzz
// target and the directory benchmark.
#pragma once

#include <string>
#include <vector>

#include "../host/fakes/fake_file_system.h"
#include "directory/list_file.h"
#include "directory/recipient_directory.h"
#include "text/text.h"

namespace botenruf::round_trip {

// What the readers keep of any text: no white space at its ends, at most 256 characters.
inline std::string Kept(const std::string& text) {
  return Trim(text).substr(0, kListFileFieldLength);
}

struct Outcome {
  std::string problem;  // empty when the round trip kept what it must
  int exact = 0;        // entries that came back byte for byte
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
  int skipped = -1;
  const std::string text = ListFileText(directory, {2004, 12, 6}, "3.0", &skipped);
  RecipientDirectory loaded;
  if (skipped != outcome.leftOut || ReadListFile(text, loaded).Any() ||
      loaded.SingleCount() != static_cast<int>(singles.size()) ||
      loaded.ListCount() != static_cast<int>(lists.size())) {
    outcome.problem = "entries lost: " + text;
    return outcome;
  }
  for (size_t j = 0; j < singles.size(); ++j) {
    const std::string& station = directory.Stations()[singles[j]];
    const std::string& alias = directory.Aliases()[singles[j]];
    const std::string& readStation = loaded.Stations()[j];
    const std::string& readAlias = loaded.Aliases()[j];
    if (readStation == station && readAlias == alias) {
      ++outcome.exact;
    } else if ((readStation != station && readStation != Kept(station)) ||
               (readAlias != alias && readAlias != Kept(alias) &&
                !(Kept(alias).empty() && readAlias == readStation))) {
      outcome.problem = "single changed: " + station;
    }
  }
  for (size_t j = 0; j < lists.size(); ++j) {
    const std::string& name = directory.ListNames()[lists[j]];
    const std::string& members = directory.MemberTexts()[lists[j]];
    const std::string& readName = loaded.ListNames()[j];
    const std::string& readMembers = loaded.MemberTexts()[j];
    if (readName == name && readMembers == members)
      ++outcome.exact;
    else if ((readName != name && readName != Kept(name)) || readMembers != TrimLeft(members))
      outcome.problem = "list changed: " + name;
  }

  // The save writes all of it or nothing.
  fakes::FakeFileSystem files;
  RecipientDirectory saved = directory;
  const SaveResult result = saved.SaveDirectory(files, "Rechner.txt", {2004, 12, 6}, "3.0");
  const bool complete = outcome.leftOut == 0;
  if (result.status != (complete ? SaveStatus::kSaved : SaveStatus::kCannotCarry) ||
      files.files.size() != (complete ? 1u : 0u)) {
    outcome.problem = "save";
  }
  return outcome;
}

}  // namespace botenruf::round_trip
