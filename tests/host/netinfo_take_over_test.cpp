// The domain browser's take-over of stations into the directory, and the list it fills.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "netinfo/take_over.h"

namespace botenruf {
namespace {

using ::testing::ElementsAre;

RecipientDirectory Directory(const std::string& members = "PC1,") {
  RecipientDirectory directory;
  directory.AddSingle("Empfang", "PC1");
  directory.AddList("Alle", members);
  directory.AddList("Zweite Liste mit langem Namen", "");
  return directory;
}

std::vector<std::string> Members(const RecipientDirectory& directory, int list = 0) {
  std::string name, members;
  directory.GetList(list, name, members);
  return {members};
}

TEST(TakeOverTest, SinglesAreAddedOnceWithTheirCommentAsAlias) {
  RecipientDirectory directory = Directory();
  TakeOverRequest request;
  request.rows = {{"\\\\PC1", "Empfang"}, {"\\\\PC2", "Buchhaltung"}, {"\\\\PC3", ""}};
  const TakeOverOutcome outcome = TakeOverStations(directory, request);
  EXPECT_THAT(outcome.statusTexts,
              ElementsAre("\"PC1\" existiert bereits", "\"PC2\" als \"Buchhaltung\" übernommen",
                          "\"PC3\" als \"\" übernommen", "2 Einträge übernommen"));
  EXPECT_TRUE(outcome.singlesChanged);
  EXPECT_FALSE(outcome.listsChanged);
  ASSERT_EQ(directory.SingleCount(), 3);
  EXPECT_EQ(directory.FindStation("PC3"), 2);

  request.rows = {{"\\\\PC4", "Lager"}};  // one row: no summary
  EXPECT_THAT(TakeOverStations(directory, request).statusTexts,
              ElementsAre("\"PC4\" als \"Lager\" übernommen"));
}

TEST(TakeOverTest, ListTakeOverRespectsMembersLimitAndLength) {
  const struct {
    const char* name;
    std::string members;
    int32_t maxMembers;
    std::string lastStatus;
    std::string membersAfter;
  } cases[] = {
      {"appended", "PC1,", 20, "", "PC1,PC2"},
      {"appended to an empty list", "", 20, "", "PC2"},
      {"known in other letter case", "pc2", 20, "\"PC2\" existiert bereits", "pc2"},
      {"list full", "A,B,", 2, "Maximal 2 Einträge pro Liste", "A,B,"},
      {"19 of 20", "A,B,C,D,E,F,G,H,I,J,K,L,M,N,O,P,Q,R,S", 20, "",
       "A,B,C,D,E,F,G,H,I,J,K,L,M,N,O,P,Q,R,S,PC2"},
      {"text too long", std::string(253, 'X') + ",", 20,
       "\"PC2\" passt nicht mehr in die Liste \"Alle\" (höchstens 255 Zeichen)",
       std::string(253, 'X') + ","},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    RecipientDirectory directory = Directory(c.members);
    TakeOverRequest request;
    request.intoList = true;
    request.targetList = 0;
    request.maxMembers = c.maxMembers;
    request.rows = {{"\\\\PC2", "Buchhaltung"}};
    const TakeOverOutcome outcome = TakeOverStations(directory, request);
    EXPECT_EQ(outcome.statusTexts.back(),
              c.lastStatus.empty() ? "\"PC2\" als \"Buchhaltung\" übernommen" : c.lastStatus);
    EXPECT_THAT(Members(directory), ElementsAre(c.membersAfter));
    EXPECT_EQ(directory.FindStation("PC2"), 1);  // a single recipient in every case
  }
}

TEST(TakeOverTest, NamesTheFileCannotCarryAndAnOpenEditorAreRefused) {
  RecipientDirectory directory = Directory();
  TakeOverRequest request;
  request.intoList = true;
  request.targetList = 0;
  request.rows = {{"\\\\", "leer"}, {"\\\\PC 9", "x"}, {"\\\\PC8", "//end"}, {"\\\\PC7", "Gut"}};
  const TakeOverOutcome outcome = TakeOverStations(directory, request);
  EXPECT_THAT(outcome.statusTexts,
              ElementsAre("\"\" wird nicht übernommen: Der Stationsname ist leer.",
                          "\"PC 9\" wird nicht übernommen: Der Stationsname darf keine "
                          "Leerzeichen enthalten.",
                          ::testing::StartsWith("\"PC8\" wird nicht übernommen: Der Bezeichner"),
                          "\"PC7\" als \"Gut\" übernommen", "1 Einträge übernommen"));
  EXPECT_EQ(directory.SingleCount(), 2);
  EXPECT_THAT(Members(directory), ElementsAre("PC1,PC7"));

  request.editorOpen = true;
  request.rows = {{"\\\\PC6", "Neu"}};
  const TakeOverOutcome refused = TakeOverStations(directory, request);
  EXPECT_THAT(refused.statusTexts,
              ElementsAre("Die Rechnerliste wird gerade bearbeitet: nichts übernommen."));
  EXPECT_FALSE(refused.singlesChanged || refused.listsChanged);
  EXPECT_EQ(directory.FindStation("PC6"), -1);
}

TEST(TakeOverTest, TargetListAndLabelFollowTheRecipientSelection) {
  const RecipientDirectory directory = Directory();
  const struct {
    ListChoice choice;
    int target;
    std::string label;
  } cases[] = {
      {{1, "Alle", 0, -1}, 0, "Alle"},
      {{1, "getippt", -1, -1}, -1, "getippt"},  // a typed name designates no list
      {{1, "Alle", 5, -1}, -1, "Alle"},         // an index beyond the lists neither
      {{0, "Empfang", 0, -1}, 0, "Alle"},       // other modes: the first list by default
      {{2, "BUERO", 0, 1}, 1, "Zweite Lis..."},
      {{0, "", 0, 9}, -1, ""},
      {{1, "Dreizehn Zeic", 1, -1}, 1, "Dreizehn Z..."},
      {{1, "Zwoelf Zeich", 1, -1}, 1, "Zwoelf Zeich"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.choice.boxText);
    EXPECT_EQ(TargetList(c.choice, directory), c.target);
    EXPECT_EQ(ListLabel(c.choice, directory), c.label);
  }
  EXPECT_EQ(TargetList({0, "", -1, -1}, RecipientDirectory()), -1);
}

}  // namespace
}  // namespace botenruf
