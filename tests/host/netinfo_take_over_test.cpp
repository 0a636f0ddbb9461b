// The domain browser's take-over of stations into the directory, and the list it fills.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "netinfo/take_over.h"

namespace botenruf {
namespace {

using ::testing::ElementsAre;
using Texts = std::vector<std::string>;

RecipientDirectory Directory(const std::string& members) {
  RecipientDirectory directory;
  directory.AddSingle("Empfang", "PC1");
  directory.AddList("Alle", members);
  directory.AddList("Zweite Liste mit langem Namen", "");
  return directory;
}

TEST(TakeOverTest, SinglesOnceAndNamesTheFileCannotCarryRefused) {
  RecipientDirectory directory = Directory("");
  TakeOverRequest request;
  request.rows = {{"\\\\PC1", "Empfang"}, {"\\\\PC2", "Buchhaltung"}, {"\\\\PC3", ""},
                  {"\\\\", "leer"},       {"\\\\PC 9", "x"},          {"\\\\PC8", "//end"}};
  const TakeOverOutcome outcome = TakeOverStations(directory, request);
  EXPECT_THAT(outcome.statusTexts,
              ElementsAre("\"PC1\" existiert bereits", "\"PC2\" als \"Buchhaltung\" übernommen",
                          "\"PC3\" als \"\" übernommen",
                          "\"\" wird nicht übernommen: Der Stationsname ist leer.",
                          "\"PC 9\" wird nicht übernommen: Der Stationsname darf keine "
                          "Leerzeichen enthalten.",
                          ::testing::StartsWith("\"PC8\" wird nicht übernommen: Der Bezeichner"),
                          "2 Einträge übernommen"));
  EXPECT_TRUE(outcome.singlesChanged);
  EXPECT_THAT(directory.Stations(), ElementsAre("PC1", "PC2", "PC3"));

  request.rows = {{"\\\\PC4", "Lager"}};  // one row: no summary
  EXPECT_THAT(TakeOverStations(directory, request).statusTexts,
              ElementsAre("\"PC4\" als \"Lager\" übernommen"));
  request.editorOpen = true;
  request.rows = {{"\\\\PC6", "Neu"}};
  EXPECT_THAT(TakeOverStations(directory, request).statusTexts,
              ElementsAre("Die Rechnerliste wird gerade bearbeitet: nichts übernommen."));
  EXPECT_EQ(directory.FindStation("PC6"), -1);
}

TEST(TakeOverTest, IntoAListOnlyWhatTheLimitAndTheFileAllow) {
  const std::string full(253, 'X');
  const struct {
    std::string members;
    int32_t maxMembers;
    std::string lastStatus, membersAfter;
  } cases[] = {
      {"PC1,", 20, "", "PC1,PC2"},
      {"", 20, "", "PC2"},
      {"pc2", 20, "\"PC2\" existiert bereits", "pc2"},
      {"A,B,", 2, "Maximal 2 Einträge pro Liste", "A,B,"},
      {"A,B,C,D,E,F,G,H,I,J,K,L,M,N,O,P,Q,R,S", 20, "",
       "A,B,C,D,E,F,G,H,I,J,K,L,M,N,O,P,Q,R,S,PC2"},
      {full + ",", 20, "\"PC2\" passt nicht mehr in die Liste \"Alle\" (höchstens 255 Zeichen)",
       full + ","},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.members.substr(0, 20));
    RecipientDirectory directory = Directory(c.members);
    TakeOverRequest request;
    request.intoList = true;
    request.targetList = 0;
    request.maxMembers = c.maxMembers;
    request.rows = {{"\\\\PC2", "Buchhaltung"}};
    const TakeOverOutcome outcome = TakeOverStations(directory, request);
    EXPECT_EQ(outcome.statusTexts.back(),
              c.lastStatus.empty() ? "\"PC2\" als \"Buchhaltung\" übernommen" : c.lastStatus);
    EXPECT_EQ(directory.MemberTexts()[0], c.membersAfter);
    EXPECT_EQ(directory.FindStation("PC2"), 1);  // a single recipient in every case
  }
}

TEST(TakeOverTest, TargetListAndLabelFollowTheRecipientSelection) {
  const RecipientDirectory directory = Directory("PC1,");
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
      {{1, "Zwoelf Zeich", 1, -1}, 1, "Zwoelf Zeich"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.choice.boxText);
    EXPECT_EQ(TargetList(c.choice, directory), c.target);
    EXPECT_EQ(ListLabel(c.choice, directory), c.label);
  }
}

}  // namespace
}  // namespace botenruf
