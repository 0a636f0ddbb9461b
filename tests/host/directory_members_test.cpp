#include <gtest/gtest.h>

#include "directory/recipient_directory.h"
#include "directory_test_support.h"

namespace botenruf {
namespace {

using namespace directory_test;

RecipientDirectory WithStations(const std::vector<std::string>& stations) {
  RecipientDirectory directory;
  for (const std::string& station : stations)
    directory.AddSingle("Alias " + station, station);
  return directory;
}

TEST(DirectoryMembersTest, PurgeKeepsOnlyKnownStationsInOrder) {
  struct Case {
    std::vector<std::string> known;
    std::string members;
    std::string expected;
  };
  const Case cases[] = {
      {{"S1", "S3"}, "S1,S2,S3", "S1,S3"},
      {{"S1", "S2"}, "S1,S2,S3", "S1,S2,"},
      {{"X"}, "S1,S2,S3", ""},
      {{"S1", "S2"}, "S1,S2,", "S1,S2"},
      {{"S1", "S2"}, "s1,S2", "S2"},  // exact comparison
      {{"S1"}, "", ""},
      {{"S1"}, "S1,,S1", "S1,S1"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.members);
    RecipientDirectory directory = WithStations(c.known);
    directory.AddList("Liste", c.members);
    directory.AddList("Zweite", c.members);
    directory.PurgeMembers();
    EXPECT_EQ(Lists(directory), (Pairs{{"Liste", c.expected}, {"Zweite", c.expected}}));
  }
}

TEST(DirectoryMembersTest, CountsAndTrailingComma) {
  const struct {
    std::string text, pattern;
    int count;
  } counts[] = {{"S1,S2", ",", 1}, {"S1,S2,", ",", 2}, {"", ",", 0},
                {"aaaa", "aa", 3}, {"abc", "", 0},     {"abab", "aba", 1}};
  for (const auto& c : counts) {
    SCOPED_TRACE(c.text + " / " + c.pattern);
    EXPECT_EQ(RecipientDirectory::CountOccurrences(c.text, c.pattern), c.count);
  }
  EXPECT_EQ(RecipientDirectory::MemberCount("S1,S2"), 1);

  for (auto [text, expected] : Pairs{{"", ""}, {"S1", "S1,"}, {"S1,", "S1,"}}) {
    RecipientDirectory::EnsureTrailingComma(text);
    EXPECT_EQ(text, expected);
  }
}

TEST(DirectoryMembersTest, SortMembersByAliasKeepsStrangersAndSharedAliases) {
  RecipientDirectory directory;
  directory.AddSingle("Zentrale", "PC1");
  directory.AddSingle("Empfang", "PC2");
  directory.AddSingle("empfang", "PC3");
  // PC9 is no single recipient; pc1 finds PC1's alias regardless of case.
  directory.AddList("Alle", "pc1,PC9,PC3,PC2");
  directory.SortMembers(0);
  EXPECT_EQ(Lists(directory)[0].second, "PC9,PC3,PC2,pc1,");
  directory.SortMembers(0);
  EXPECT_EQ(Lists(directory)[0].second, "pc1,PC3,PC2,PC9,");
}

TEST(DirectoryMembersTest, SortMembersStaysWithinTheMemberLimit) {
  struct Case {
    const char* what;
    std::string members;
    std::string expected;
  };
  const std::string a253(253, 'A'), a252(252, 'A');
  const Case cases[] = {
      {"255 characters: the final comma is dropped", a253 + ",B", "B," + a253},
      {"254 characters: the final comma fits", a252 + ",B", "B," + a252 + ","},
      {"255 characters with comma", a252 + ",B,", "B," + a252 + ","},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    RecipientDirectory directory;
    directory.AddSingle("b", c.members.substr(0, c.members.find(',')));
    directory.AddSingle("a", "B");
    directory.AddList("Voll", c.members);
    directory.SortMembers(0);
    EXPECT_EQ(Lists(directory)[0].second, c.expected);
  }

  // A text over the limit can only come from AddList; it is left as it is, not cut.
  RecipientDirectory directory;
  const std::string tooLong = std::string(300, 'C') + ",B";
  directory.AddList("Zu lang", tooLong);
  directory.SortMembers(0);
  EXPECT_EQ(Lists(directory)[0].second, tooLong);
}

TEST(DirectoryMembersTest, SettersKeepTheLimitsAndAddsStoreUnchanged) {
  RecipientDirectory directory;
  const std::string long300(300, 'x');
  directory.AddSingle(long300, long300);
  directory.AddList(long300, "");
  EXPECT_EQ(Singles(directory)[0], (std::pair{long300, long300}));

  directory.SetStation(0, long300);
  directory.SetAlias(0, long300 + "y");
  directory.SetListName(0, long300);
  EXPECT_EQ(Singles(directory)[0], (std::pair{long300.substr(0, 256), long300.substr(0, 256)}));
  EXPECT_EQ(Lists(directory)[0].first, long300.substr(0, 256));

  EXPECT_TRUE(directory.SetMembers(0, std::string(255, 'm')));
  EXPECT_FALSE(directory.SetMembers(0, std::string(256, 'n')));
  EXPECT_EQ(Lists(directory)[0].second, std::string(255, 'm'));
}

TEST(DirectoryMembersTest, LookupsReturnTheFirstMatch) {
  RecipientDirectory directory;
  directory.AddSingle("Ärger", "PC1");
  directory.AddSingle("Zweiter", "PC1");
  directory.AddSingle("ärger", "PC2");
  directory.AddList("Alle", "PC1,PC2");
  directory.StoreDomainNames({"ARBEIT"});

  EXPECT_EQ(directory.FindStation("pc1"), -1);
  EXPECT_EQ(directory.FindStation("PC2"), 2);
  EXPECT_EQ(directory.AliasForStation("pc1"), "Ärger");
  EXPECT_EQ(directory.StationForAlias("ÄRGER"), "PC1");
  EXPECT_EQ(directory.StationForAlias("Ärge"), "");

  const struct {
    int mode;
    std::string expected;
  } modes[] = {{0, "PC1"}, {1, "PC1,PC2"}, {2, "ARBEIT"}, {3, "unverändert"}};
  for (const auto& m : modes) {
    SCOPED_TRACE(m.mode);
    std::string text = "unverändert";
    directory.EntryForMode(m.mode, 0, text);
    EXPECT_EQ(text, m.expected);
  }
}

}  // namespace
}  // namespace botenruf
