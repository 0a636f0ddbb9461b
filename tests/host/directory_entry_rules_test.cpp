#include <gtest/gtest.h>

#include <functional>

#include "directory/entry_rules.h"

namespace botenruf {
namespace {

using Check = std::function<std::string(std::string_view)>;

const Check kStation = CheckStationName;
const Check kAlias = CheckAlias;
const Check kListName = CheckListName;
const Check kMembers = CheckMemberText;

TEST(DirectoryEntryRulesTest, AcceptsWhatTheFileCarriesAndRefusesTheRest) {
  const std::string max(255, 'x'), over(256, 'x');
  struct Case {
    const char* what;
    Check check;
    std::string value;
    bool accepted;
  };
  const Case cases[] = {
      {"station: empty", kStation, "", true},
      {"station: umlauts", kStation, "RÄUM-01", true},
      {"station: 255", kStation, max, true},
      {"station: 256", kStation, over, false},
      {"station: blank", kStation, "PC 1", false},
      {"station: tab", kStation, "PC\t1", false},
      {"station: comma", kStation, "PC1,PC2", false},
      {"station: marker", kStation, "//end", false},
      {"station: NUL", kStation, std::string("PC\0", 3), false},
      {"alias: blanks at the ends", kAlias, " Empfang 2 ", true},
      {"alias: brackets", kAlias, "[Lager]", true},
      {"alias: 256", kAlias, over, false},
      {"alias: marker inside", kAlias, "Ost//v_beginx", false},
      {"alias: line feed", kAlias, "a\nb", false},
      {"alias: DEL", kAlias, "a\x7f", false},
      {"list: blanks", kListName, "Alle im Haus", true},
      {"list: opening bracket", kListName, "Alle [", false},
      {"list: closing bracket", kListName, "Alle]", false},
      {"list: marker", kListName, "//v_end", false},
      {"members: usual", kMembers, "PC1,PC2,", true},
      {"members: 255", kMembers, max, true},
      {"members: 256", kMembers, over, false},
      {"members: closing bracket", kMembers, "PC1]", false},
      {"members: marker", kMembers, "PC1,//begin", false},
      {"members: tab", kMembers, "PC1,\tPC2", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string message = c.check(c.value);
    EXPECT_EQ(message.empty(), c.accepted) << message;
    if (c.accepted) {
      EXPECT_TRUE(ListFileCanCarry(c.value));
    }
  }
  EXPECT_EQ(CheckMemberText(over), "Die Mitgliederliste darf höchstens 255 Zeichen lang sein.");
  EXPECT_EQ(CheckStationName("a b"), "Der Stationsname darf keine Leerzeichen enthalten.");
}

TEST(DirectoryEntryRulesTest, WhatTheWriterCannotCarry) {
  for (const char* text : {"//begin", "x//endx", "//v_begin", "a//v_end", "a\rb", "\n"}) {
    SCOPED_TRACE(text);
    EXPECT_FALSE(ListFileCanCarry(text));
  }
  for (const char* text : {"", "//BEGIN", "/ /end", "// end", "v_end", "[]", "a b\tc"}) {
    SCOPED_TRACE(text);
    EXPECT_TRUE(ListFileCanCarry(text));
  }
  EXPECT_FALSE(ListFileCanCarrySingle("PC1", "//end"));
  EXPECT_FALSE(ListFileCanCarryList("L\n", "PC1"));
}

}  // namespace
}  // namespace botenruf
