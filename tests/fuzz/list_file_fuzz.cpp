// Feeds arbitrary bytes to the list file readers, then saves the directory and loads it
// again: nothing may crash, no member text may outgrow its limit, and every entry the file
// can carry must come back (exactly, where the format allows it).
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "directory/entry_rules.h"
#include "directory/list_file.h"
#include "directory/recipient_directory.h"
#include "text/text.h"

namespace {

using namespace botenruf;

class MemoryFileSystem : public FileSystem {
 public:
  ReadStatus ReadAll(const std::string& path, std::string& bytes, uint64_t limit) override {
    auto it = files.find(path);
    if (it == files.end())
      return ReadStatus::kMissing;
    if (it->second.size() > limit)
      return ReadStatus::kTooLarge;
    bytes = it->second;
    return ReadStatus::kOk;
  }
  bool WriteAll(const std::string& path, const std::string& bytes) override {
    files[path] = bytes;
    return true;
  }
  bool Replace(const std::string& from, const std::string& to) override {
    auto it = files.find(from);
    if (it == files.end())
      return false;
    files[to] = it->second;
    files.erase(it);
    return true;
  }
  bool Remove(const std::string& path) override { return files.erase(path) != 0; }
  bool Exists(const std::string& path) override { return files.count(path) != 0; }

  std::map<std::string, std::string> files;
};

void Require(bool condition, const char* what) {
  if (!condition) {
    std::fprintf(stderr, "violated: %s\n", what);
    std::abort();
  }
}

bool HasWhiteSpace(const std::string& text) {
  for (char c : text) {
    if (IsSpace(c))
      return true;
  }
  return false;
}

bool WhiteAtEnds(const std::string& text) {
  return !text.empty() && (IsSpace(text.front()) || IsSpace(text.back()));
}

bool SingleComesBackExactly(const std::string& station, const std::string& alias) {
  return !station.empty() && station.size() <= 255 && !HasWhiteSpace(station) && !alias.empty() &&
         alias.size() <= 255 && !WhiteAtEnds(alias);
}

bool ListComesBackExactly(const std::string& name, const std::string& members) {
  return name.size() <= 255 && !Contains(name, "[") && !WhiteAtEnds(name) &&
         members.size() <= 255 && !Contains(members, "]") &&
         (members.empty() || !IsSpace(members.front()));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  RecipientDirectory directory;
  ReadSingles(bytes, directory);
  ReadLists(bytes, directory);
  for (const std::string& members : directory.MemberTexts()) {
    Require(members.size() <= kMaxMemberTextLength, "member text read within 255");
  }

  int uncarriable = 0;
  std::vector<int> carriedSingles, carriedLists;
  for (int i = 0; i < directory.SingleCount(); ++i) {
    if (ListFileCanCarrySingle(directory.Stations()[i], directory.Aliases()[i])) {
      carriedSingles.push_back(i);
    } else {
      ++uncarriable;
    }
  }
  for (int i = 0; i < directory.ListCount(); ++i) {
    if (ListFileCanCarryList(directory.ListNames()[i], directory.MemberTexts()[i])) {
      carriedLists.push_back(i);
    } else {
      ++uncarriable;
    }
  }

  MemoryFileSystem files;
  const SaveResult saved = directory.SaveDirectory(files, "Rechner.txt", {2004, 12, 6}, "3.0");
  Require(saved.status == SaveStatus::kSaved, "saved");
  Require(saved.skippedEntries == uncarriable, "skipped count");
  Require(files.files.size() == 1, "no temporary file left");

  RecipientDirectory loaded;
  loaded.ReloadDirectory(files, "Rechner.txt");
  Require(loaded.SingleCount() == static_cast<int>(carriedSingles.size()), "singles kept");
  Require(loaded.ListCount() == static_cast<int>(carriedLists.size()), "lists kept");
  for (size_t j = 0; j < carriedSingles.size(); ++j) {
    const int i = carriedSingles[j];
    if (SingleComesBackExactly(directory.Stations()[i], directory.Aliases()[i])) {
      Require(loaded.Stations()[j] == directory.Stations()[i] &&
                  loaded.Aliases()[j] == directory.Aliases()[i],
              "single unchanged");
    }
  }
  for (size_t j = 0; j < carriedLists.size(); ++j) {
    const int i = carriedLists[j];
    if (ListComesBackExactly(directory.ListNames()[i], directory.MemberTexts()[i])) {
      Require(loaded.ListNames()[j] == directory.ListNames()[i] &&
                  loaded.MemberTexts()[j] == directory.MemberTexts()[i],
              "list unchanged");
    }
  }

  // The editor's operations on whatever the file held.
  loaded.SortSingles(1);
  loaded.SortLists(0);
  for (int i = 0; i < loaded.ListCount(); ++i)
    loaded.SortMembers(i);
  loaded.PurgeMembers();
  for (const std::string& members : loaded.MemberTexts()) {
    Require(members.size() <= kMaxMemberTextLength, "member text within 255 after editing");
  }
  ListInfoText(loaded);
  return 0;
}
