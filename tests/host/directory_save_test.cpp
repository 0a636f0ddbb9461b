#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "directory/list_file.h"
#include "directory/recipient_directory.h"
#include "directory_test_support.h"
#include "fakes/fake_file_system.h"
#include "text/text.h"

namespace botenruf {
namespace {

using namespace directory_test;

using fakes::FakeFileSystem;

const LocalTime kDate{2004, 12, 6};
const std::string kPath = "D:\\Daten\\Rechner.txt";

TEST(DirectorySaveTest, AnEmptyPathMeansTheDefaultFileForLoadAndSave) {
  FakeFileSystem files;
  const std::string example = ListFileData("example.txt");
  files.files["C:\\Rechner.txt"] = example;
  RecipientDirectory directory;
  directory.StoreDomainNames({"ARBEIT"});
  directory.ReloadDirectory(files, "");
  EXPECT_EQ(directory.SingleCount(), 2);
  EXPECT_EQ(directory.DomainNames(), std::vector<std::string>{"ARBEIT"});

  const SaveResult result = directory.SaveDirectory(files, "", kDate, "3.0.0.15");
  EXPECT_EQ(result.status, SaveStatus::kSaved);
  EXPECT_EQ(result.skippedEntries, 0);
  // Byte for byte the same, and no temporary file left behind.
  EXPECT_EQ(files.files, (std::map<std::string, std::string>{{"C:\\Rechner.txt", example}}));
}

TEST(DirectorySaveTest, AFailedSaveLeavesTheOldFileAlone) {
  const struct {
    const char* what;
    long long failWriteAfter;
    bool failReplace;
  } cases[] = {{"disk full after 10 bytes", 10, false},
               {"disk full at once", 0, false},
               {"replace fails", -1, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    FakeFileSystem files;
    const std::string old = ListFileData("sections.txt");
    files.files[kPath] = old;
    RecipientDirectory directory;
    directory.ReloadDirectory(files, kPath);
    directory.RemoveSingle(0);
    files.failWriteAfter = c.failWriteAfter;
    files.failReplace = c.failReplace;

    EXPECT_EQ(directory.SaveDirectory(files, kPath, kDate, "3.0").status,
              SaveStatus::kCannotCreate);
    EXPECT_EQ(files.files, (std::map<std::string, std::string>{{kPath, old}}));
  }
}

TEST(DirectorySaveTest, AnUnreadableFileIsNeverOverwritten) {
  FakeFileSystem files;
  files.files[kPath] = ListFileData("example.txt");
  files.unreadable.insert(kPath);
  RecipientDirectory directory;
  directory.AddSingle("Alt", "PC1");
  directory.ReloadDirectory(files, kPath);
  EXPECT_EQ(directory.SingleCount(), 0);
  EXPECT_TRUE(directory.LastLoadFailed());

  directory.AddSingle("Neu", "PC2");
  EXPECT_EQ(directory.SaveDirectory(files, kPath, kDate, "3.0").status,
            SaveStatus::kRefusedAfterFailedLoad);
  EXPECT_EQ(files.writes, 0);

  // Once the file can be read again, saving works again.
  files.unreadable.clear();
  directory.ReloadDirectory(files, kPath);
  EXPECT_FALSE(directory.LastLoadFailed());
  EXPECT_EQ(directory.SingleCount(), 2);
  EXPECT_EQ(directory.SaveDirectory(files, kPath, kDate, "3.0").status, SaveStatus::kSaved);
}

TEST(DirectorySaveTest, AMissingFileReadsEmptyAndMayBeCreated) {
  FakeFileSystem files;
  RecipientDirectory directory;
  directory.AddList("Alt", "PC1");
  directory.ReloadDirectory(files, kPath);
  EXPECT_EQ(directory.ListCount(), 0);
  EXPECT_FALSE(directory.LastLoadFailed());
  directory.AddSingle("Empfang", "PC017");
  EXPECT_EQ(directory.SaveDirectory(files, kPath, kDate, "").status, SaveStatus::kSaved);
  EXPECT_TRUE(Contains(files.files[kPath], "\r\nPC017 Empfang\r\n"));
}

// What the file must give back exactly: stations without white space, aliases without white
// space at their ends, list names without "[" or white space at their ends, member texts
// without "]" or leading white space; no text empty where that would change its meaning, and
// none over 255 characters.
bool HasWhiteSpace(const std::string& text) {
  return std::any_of(text.begin(), text.end(), IsSpace);
}
bool WhiteAtEnds(const std::string& text) {
  return !text.empty() && (IsSpace(text.front()) || IsSpace(text.back()));
}
bool Uncarriable(const std::string& text) {
  for (const char* bad : {"//begin", "//end", "//v_begin", "//v_end", "\r", "\n"}) {
    if (Contains(text, bad))
      return true;
  }
  return false;
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

std::string RandomText(std::mt19937& random) {
  using namespace std::string_view_literals;
  static const std::string longPiece(120, 'L');
  static const std::string_view plain[] = {"PC", "a", "Z", "Äö", "ß", "-", "7", "/", "x//en", "d"};
  static const std::string_view hostile[] = {" ",  "  ",      "\t",    ",",         "[",
                                             "]",  "//begin", "//end", "//v_begin", "//v_end",
                                             "\r", "\n",      "\r\n",  "\0"sv,      longPiece};
  std::string text;
  for (size_t n = random() % 7; n > 0; --n) {
    if (random() % 4 == 0) {
      text += hostile[random() % std::size(hostile)];
    } else {
      text += plain[random() % std::size(plain)];
    }
  }
  return text;
}

TEST(DirectorySaveTest, SavingAndLoadingKeepsEveryEntryTheFileCanCarry) {
  int exactChecked = 0, skippedSeen = 0;
  for (unsigned seed = 0; seed < 300; ++seed) {
    SCOPED_TRACE(seed);
    std::mt19937 random(seed);
    RecipientDirectory directory;
    for (size_t n = random() % 20; n > 0; --n) {
      const std::string alias = RandomText(random);
      directory.AddSingle(alias, RandomText(random));
    }
    for (size_t n = random() % 10; n > 0; --n) {
      directory.AddList(RandomText(random), "");
      directory.SetMembers(directory.ListCount() - 1, RandomText(random));
    }
    Pairs singles, lists;
    int uncarriable = 0;
    for (const auto& [station, alias] : Singles(directory)) {
      if (Uncarriable(station) || Uncarriable(alias)) {
        ++uncarriable;
      } else {
        singles.emplace_back(station, alias);
      }
    }
    for (const auto& [name, members] : Lists(directory)) {
      if (Uncarriable(name) || Uncarriable(members)) {
        ++uncarriable;
      } else {
        lists.emplace_back(name, members);
      }
    }

    FakeFileSystem files;
    const SaveResult result = directory.SaveDirectory(files, kPath, kDate, "3.0.0.15");
    ASSERT_EQ(result.status, SaveStatus::kSaved);
    EXPECT_EQ(result.skippedEntries, uncarriable);
    skippedSeen += uncarriable;
    RecipientDirectory loaded;
    loaded.ReloadDirectory(files, kPath);

    const Pairs loadedSingles = Singles(loaded), loadedLists = Lists(loaded);
    ASSERT_EQ(loadedSingles.size(), singles.size()) << files.files[kPath];
    ASSERT_EQ(loadedLists.size(), lists.size()) << files.files[kPath];
    for (size_t i = 0; i < singles.size(); ++i) {
      if (SingleComesBackExactly(singles[i].first, singles[i].second)) {
        EXPECT_EQ(loadedSingles[i], singles[i]) << "single " << i;
        ++exactChecked;
      }
    }
    for (size_t i = 0; i < lists.size(); ++i) {
      if (ListComesBackExactly(lists[i].first, lists[i].second)) {
        EXPECT_EQ(loadedLists[i], lists[i]) << "list " << i;
        ++exactChecked;
      }
    }
  }
  // The generator must exercise both kinds of entry.
  EXPECT_GT(exactChecked, 500);
  EXPECT_GT(skippedSeen, 500);
}

}  // namespace
}  // namespace botenruf
