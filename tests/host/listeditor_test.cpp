// The list editor's rules: member limits, moves at the ends, and member operations that act
// on the member the user sees even where the view hides members between them.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "listeditor/list_editor.h"
#include "text/text.h"

namespace botenruf {
namespace {

using ::testing::ElementsAre;

// Single recipients S0.."S<count-1>" with aliases A0.., and one list with `members`.
RecipientDirectory Directory(int singles, const std::string& members) {
  RecipientDirectory directory;
  for (int i = 0; i < singles; ++i)
    directory.AddSingle(Format("A%d", i), Format("S%d", i));
  directory.AddList("Liste", members);
  return directory;
}

std::string Members(const RecipientDirectory& directory) {
  return directory.MemberTexts()[0];
}

std::string Stations(int from, int to) {
  std::string text;
  for (int i = from; i < to; ++i)
    text += Format("S%d,", i);
  return text;
}

TEST(ListEditorTest, AddingMembersStopsAtTheFirstThatDoesNotFit) {
  const std::string limit = "Maximal 20 Empfänger pro Liste erlaubt.",
                    tooLong = "Die Mitgliederliste darf höchstens 255 Zeichen lang sein.";
  // The members before, the singles added, and the members and message after.
  const std::tuple<std::string, std::vector<int>, std::string, std::string> cases[] = {
      {Stations(0, 19), {19}, Stations(0, 19) + "S19", ""},
      {Stations(0, 19), {19, 20}, Stations(0, 19) + "S19", limit},
      {"S1", {1}, "S1,S1", ""},  // a station twice is added twice
      {std::string(250, 'X') + ",", {21, 22}, std::string(250, 'X') + ",S21", tooLong},
  };
  for (const auto& [members, singles, expected, message] : cases) {
    SCOPED_TRACE(members.substr(0, 20));
    RecipientDirectory directory = Directory(25, members);
    EXPECT_EQ(AddMembers(directory, 0, singles, 20).value_or(""), message);
    EXPECT_EQ(Members(directory), expected);
  }
  RecipientDirectory odd = Directory(1, "");
  odd.AddSingle("Klammer", "S]");
  EXPECT_THAT(AddMembers(odd, 0, {1}, 20), ::testing::Optional(::testing::HasSubstr("]")));
  EXPECT_EQ(Members(odd), "");
}

TEST(ListEditorTest, MovesAtTheEndsChangeNothing) {
  RecipientDirectory directory = Directory(3, "");
  directory.AddList("Zweite", "S2,");
  EXPECT_EQ(MoveSingle(directory, 0, -1), -1);
  EXPECT_EQ(MoveSingle(directory, 2, +1), -1);
  EXPECT_EQ(MoveList(directory, 1, +1), -1);
  EXPECT_EQ(MoveSingle(directory, 2, -1), 1);
  EXPECT_THAT(directory.Stations(), ElementsAre("S0", "S2", "S1"));
  EXPECT_THAT(directory.Aliases(), ElementsAre("A0", "A2", "A1"));
  EXPECT_EQ(MoveList(directory, 1, -1), 0);
  EXPECT_THAT(directory.ListNames(), ElementsAre("Zweite", "Liste"));
  EXPECT_THAT(directory.MemberTexts(), ElementsAre("S2,", ""));
  EXPECT_EQ(MoveMember(directory, 0, 0, -1), -1);  // one member: nothing to move
}

// "X" is no single recipient: the view shows A0, A1, A2 and hides X.
TEST(ListEditorTest, MemberOperationsActOnTheVisibleMember) {
  RecipientDirectory directory = Directory(3, "S0,X,S1,S2,");
  const std::vector<MemberRow> rows = MemberRows(Members(directory), directory);
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[1].alias, "A1");
  EXPECT_EQ(rows[1].position, 2);
  // Sorted, the rows come from where their members were; X (no alias) goes first.
  RecipientDirectory sorted = Directory(3, "S2,X,S0,S1");
  const std::vector<MemberRow> before = MemberRows(Members(sorted), sorted);
  const std::vector<size_t> pieces = sorted.SortMembers(0);
  EXPECT_THAT(MemberRowOrder(before, MemberRows(Members(sorted), sorted), pieces),
              ElementsAre(1, 2, 0));

  EXPECT_EQ(MoveMember(directory, 0, 1, -1), 0);  // A1 above A0; X stays in its place
  EXPECT_EQ(Members(directory), "S1,X,S0,S2");
  EXPECT_EQ(MoveMember(directory, 0, 2, +1), -1);  // the last visible one stays
  RemoveMembers(directory, 0, {1});                // the user's second row: A0
  EXPECT_EQ(Members(directory), "S1,X,S2,");

  // A removed recipient stays in the list until the editor's OK purges the lists.
  directory.RemoveSingle(2);
  EXPECT_EQ(Members(directory), "S1,X,S2,");
  directory.PurgeMembers();
  EXPECT_EQ(Members(directory), "S1,");
}

}  // namespace
}  // namespace botenruf
