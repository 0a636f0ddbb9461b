// The recipient directory and its list file: reading (golden files and odd bytes), writing
// (byte for byte, leaving out what would damage other entries, never half and never over a
// file that could not be read; tests/fuzz/list_file_fuzz.cpp does so for any directory), the
// member rules, the shared sort and the entry rules.
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <sstream>

#include "directory/entry_rules.h"
#include "directory/list_file.h"
#include "directory/recipient_directory.h"
#include "fakes/fake_file_system.h"

namespace botenruf {
namespace {

using namespace std::string_literals;
using Pairs = std::vector<std::pair<std::string, std::string>>;

std::string ListFileData(const std::string& name) {
  std::ifstream in(std::string(BOTENRUF_TEST_DATA) + "/listfile/" + name, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

Pairs Singles(const RecipientDirectory& directory) {
  Pairs pairs;
  for (int i = 0; i < directory.SingleCount(); ++i)
    pairs.emplace_back(directory.Stations()[i], directory.Aliases()[i]);
  return pairs;
}

Pairs Lists(const RecipientDirectory& directory) {
  Pairs pairs;
  for (int i = 0; i < directory.ListCount(); ++i)
    pairs.emplace_back(directory.ListNames()[i], directory.MemberTexts()[i]);
  return pairs;
}

RecipientDirectory Read(const std::string& bytes) {
  RecipientDirectory directory;
  ReadSingles(bytes, directory);
  ReadLists(bytes, directory);
  return directory;
}

TEST(ListFileReadTest, GoldenFilesAndOddBytesFollowTheSameRules) {
  const std::string mega(1 << 20, 'x'), y(1000, 'y'), z(1000, 'z');
  std::string everyByte;
  for (int b = 0; b < 256; ++b)
    everyByte += static_cast<char>(b);
  const struct {
    const char* what;
    std::string bytes;
    Pairs singles;
    Pairs lists;
  } cases[] = {
      {"example",
       ListFileData("example.txt"),
       {{"PC017", "Empfang"}, {"PC022", "Buchhaltung 2. Stock"}},
       {{"Alle", "PC017,PC022"}}},
      {"blanks, tabs and CR at every place",
       ListFileData("trimming.txt"),
       {{"PC001", "Empfang  im   Erdgeschoss"},
        {"PC002", "Lager"},
        {"PC099", "PC099"},
        {"", ""},
        {"PC003\t", "Tab\tAlias"}},
       {{"Alle", "PC001,PC002"},
        {"Lager", "PC002 "},
        {"", "PC099"},
        {"Doppelt", "a"},
        {"Mit CR", "PC001,"}}},
      {"several sections",
       ListFileData("sections.txt"),
       {{"PC010", "Geschäftsführung"}, {"PC011", "Büro Süd"}, {"PC013", "Zweiter Abschnitt"}},
       {{"Geschäft", "PC010"}, {"Zweite Liste", "PC013,PC014"}}},
      {"without //end the rest are single recipients",
       ListFileData("missing_end.txt"),
       {{"PC001", "Empfang"},
        {"//v_begin", "//v_begin"},
        {"Alle", "[PC001]"},
        {"//v_end", "//v_end"}},
       {{"Alle", "PC001"}}},
      {"without //v_end",
       ListFileData("missing_v_end.txt"),
       {{"PC001", "Empfang"}},
       {{"Alle", "PC001"}, {"Rest", "PC002"}}},
      {"a huge line without a blank is taken whole", "//begin\r\n" + mega, {{mega, mega}}, {}},
      {"station and alias are cut to 256",
       "//begin\n" + y + " " + z,
       {{y.substr(0, 256), z.substr(0, 256)}},
       {}},
      {"the closing bracket is looked for within 256 characters",
       "//v_begin\n" + y + " [" + z + "]\n" + y + " [" + z.substr(0, 255) + "]",
       {},
       {{y.substr(0, 256), z.substr(0, 255)}}},
      {"NUL bytes are ordinary characters",
       "//begin\nPC\0 1 A\0b\n//end\n//v_begin\nN\0 [a\0b]"s,
       {{"PC\0"s, "1 A\0b"s}},
       {{"N\0"s, "a\0b"s}}},
      {"CR alone does not end a line", "//begin\rPC1 A\r//end\rPC2 B", {}, {}},
      {"every byte value outside the sections", everyByte + "\n" + everyByte, {}, {}},
      // The LF splits it; the name starts after VT, FF and CR and ends before "[" (0x5B).
      {"every byte value in the list section",
       "//v_begin\n" + everyByte,
       {},
       {{everyByte.substr(0x0E, 0x5B - 0x0E), "\\"}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const RecipientDirectory directory = Read(c.bytes);
    EXPECT_EQ(Singles(directory), c.singles);
    EXPECT_EQ(Lists(directory), c.lists);
  }
}

TEST(ListFileWriteTest, ByteForByteAndNothingThatWouldDamageOtherEntries) {
  RecipientDirectory example;
  example.AddSingle("Empfang", "PC017");
  example.AddSingle("Buchhaltung 2. Stock", "PC022");
  example.AddList("Alle", "PC017,PC022");
  EXPECT_EQ(ListFileText(example, {2004, 12, 6}, "3.0.0.15"), ListFileData("example.txt"));

  RecipientDirectory hostile;
  for (auto [station, alias] : Pairs{{"PC1", "Gut"},
                                     {"PC2", "a//end"},
                                     {"PC3\n//begin", "x"},
                                     {"PC4", "b\rc"},
                                     {"PC5 mit Blank", "bleibt [so]"}}) {
    hostile.AddSingle(alias, station);
  }
  for (auto [name, members] : Pairs{{"Alle", "PC1"},
                                    {"//v_end", "PC1"},
                                    {"Neu", "PC1\r\nPC2"},
                                    {"L", "x//v_begin"},
                                    {"Rest [", ""}}) {
    hostile.AddList(name, members);
  }
  int skipped = -1;
  EXPECT_EQ(ListFileText(hostile, {2024, 3, 9}, "1.0\r\n//begin", &skipped),
            "//Stand: 09.03.2024\r\n//Version \r\n//begin\r\nPC1 Gut\r\nPC5 mit Blank bleibt "
            "[so]\r\n//end\r\n//v_begin\r\nAlle [PC1]\r\nRest [ []\r\n//v_end\r\n");
  EXPECT_EQ(skipped, 6);
}

TEST(DirectorySaveTest, TheOldFileStaysWhenASaveFailsOrMayNotHappen) {
  const std::string path = "D:\\Daten\\Rechner.txt", old = ListFileData("sections.txt");
  const struct {
    const char* what;
    long long failWriteAfter;
    bool failReplace;
    bool unreadable;
    SaveStatus status;
  } cases[] = {
      {"disk full after 10 bytes", 10, false, false, SaveStatus::kCannotCreate},
      {"replace fails", -1, true, false, SaveStatus::kCannotCreate},
      {"the file could not be read", -1, false, true, SaveStatus::kRefusedAfterFailedLoad},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    fakes::FakeFileSystem files;
    files.files[path] = old;
    if (c.unreadable)
      files.unreadable.insert(path);
    RecipientDirectory directory;
    directory.ReloadDirectory(files, path);
    directory.AddSingle("Neu", "PC9");
    files.failWriteAfter = c.failWriteAfter;
    files.failReplace = c.failReplace;
    EXPECT_EQ(directory.SaveDirectory(files, path, {2004, 12, 6}, "3.0").status, c.status);
    EXPECT_EQ(files.files, (std::map<std::string, std::string>{{path, old}}));
  }
  // Once the file can be read again, saving works again; an empty path means C:\Rechner.txt
  // for reading and writing alike.
  fakes::FakeFileSystem files;
  files.files["C:\\Rechner.txt"] = ListFileData("example.txt");
  RecipientDirectory directory;
  directory.ReloadDirectory(files, "");
  EXPECT_EQ(directory.SingleCount(), 2);
  EXPECT_EQ(directory.SaveDirectory(files, "", {2004, 12, 6}, "3.0.0.15").status,
            SaveStatus::kSaved);
  EXPECT_EQ(files.files,
            (std::map<std::string, std::string>{{"C:\\Rechner.txt", ListFileData("example.txt")}}));
}

TEST(DirectoryMembersTest, PurgeSortAndSettersKeepTheLimits) {
  const struct {
    std::vector<std::string> known;
    std::string members, expected;
  } purges[] = {
      {{"S1", "S3"}, "S1,S2,S3", "S1,S3"},
      {{"S1", "S2"}, "S1,S2,S3", "S1,S2,"},
      {{"S1", "S2"}, "s1,S2", "S2"},
      {{"S1"}, "S1,,S1", "S1,S1"},
  };
  for (const auto& c : purges) {
    SCOPED_TRACE(c.members);
    RecipientDirectory directory;
    for (const std::string& station : c.known)
      directory.AddSingle("x", station);
    directory.AddList("Liste", c.members);
    directory.PurgeMembers();
    EXPECT_EQ(directory.MemberTexts()[0], c.expected);
  }

  // Sorting by alias keeps strangers; the optional last comma goes when 256 would be reached.
  const std::string a253(253, 'A'), a252(252, 'A');
  const struct {
    std::string members, expected;
  } sorts[] = {{"pc1,PC9,PC3,PC2", "PC9,PC3,PC2,pc1,"},
               {a253 + ",B", "B," + a253},
               {a252 + ",B", "B," + a252 + ","}};
  for (const auto& c : sorts) {
    SCOPED_TRACE(c.members.substr(0, 16));
    RecipientDirectory directory;
    directory.AddSingle("Zentrale", "PC1");
    directory.AddSingle("Empfang", "PC2");
    directory.AddSingle("empfang", "PC3");
    directory.AddSingle("b", c.members.substr(0, c.members.find(',')));
    directory.AddSingle("a", "B");
    directory.AddList("Voll", c.members);
    directory.SortMembers(0);
    EXPECT_EQ(directory.MemberTexts()[0], c.expected);
  }

  // Setting keeps 256 characters, a member text at most 255 (refused, never cut); adding
  // stores as it is.
  RecipientDirectory directory;
  const std::string long300(300, 'x');
  directory.AddSingle(long300, long300);
  directory.AddList(long300, "");
  EXPECT_EQ(directory.Stations()[0], long300);
  directory.SetStation(0, long300);
  directory.SetListName(0, long300);
  EXPECT_EQ(directory.Stations()[0], long300.substr(0, 256));
  EXPECT_EQ(directory.ListNames()[0], long300.substr(0, 256));
  EXPECT_TRUE(directory.SetMembers(0, std::string(255, 'm')));
  EXPECT_FALSE(directory.SetMembers(0, std::string(256, 'n')));
  EXPECT_EQ(directory.MemberTexts()[0], std::string(255, 'm'));
}

TEST(DirectorySortTest, StableBothWaysWithOneDirectionForEveryView) {
  RecipientDirectory directory;
  // As raw bytes "Beta" < "alpha" and "Äb" < "äa": the sort compares case-insensitively.
  for (auto [station, alias] :
       Pairs{{"S1", "Beta"}, {"S2", "Äb"}, {"S3", "alpha"}, {"S4", "äa"}, {"S5", "ALPHA"}}) {
    directory.AddSingle(alias, station);
  }
  const Pairs ascending{
      {"S3", "alpha"}, {"S5", "ALPHA"}, {"S1", "Beta"}, {"S4", "äa"}, {"S2", "Äb"}};
  directory.SortSingles(1);
  EXPECT_EQ(Singles(directory), ascending);
  directory.SortSingles(1);  // the same column again reverses; equal keys keep their order
  EXPECT_EQ(Singles(directory),
            (Pairs{{"S2", "Äb"}, {"S4", "äa"}, {"S1", "Beta"}, {"S3", "alpha"}, {"S5", "ALPHA"}}));

  // Another column keeps the direction; every view shares it.
  std::vector<std::string> keys{"b", "a"}, values{"2", "1"};
  directory.SortPairs(keys, values, 0);
  EXPECT_EQ(keys, (std::vector<std::string>{"b", "a"}));  // still descending
  directory.SortLists(0);
  EXPECT_TRUE(directory.sortState().ascending);
}

TEST(EntryRulesTest, AcceptsWhatTheFileCarriesAndRefusesTheRest) {
  using Check = std::function<std::string(std::string_view)>;
  const Check station = CheckStationName, alias = CheckAlias, list = CheckListName,
              members = CheckMemberText;
  const std::string max(255, 'x'), over(256, 'x');
  const struct {
    const char* what;
    Check check;
    std::string value;
    bool accepted;
  } cases[] = {
      {"station: empty", station, "", true},
      {"station: 255", station, max, true},
      {"station: 256", station, over, false},
      {"station: blank", station, "PC 1", false},
      {"station: comma", station, "PC1,PC2", false},
      {"station: NUL", station, "PC\0"s, false},
      {"alias: blanks at the ends", alias, " Empfang ", true},
      {"alias: marker inside", alias, "Ost//v_beginx", false},
      {"alias: line feed", alias, "a\nb", false},
      {"list: blanks", list, "Alle im Haus", true},
      {"list: bracket", list, "Alle [", false},
      {"list: marker", list, "//v_end", false},
      {"members: 255", members, max, true},
      {"members: 256", members, over, false},
      {"members: bracket", members, "PC1]", false},
      {"members: tab", members, "PC1,\tPC2", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string message = c.check(c.value);
    EXPECT_EQ(message.empty(), c.accepted) << message;
    EXPECT_TRUE(!c.accepted || ListFileCanCarry(c.value));
  }
}

}  // namespace
}  // namespace botenruf
