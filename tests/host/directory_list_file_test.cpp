#include <gtest/gtest.h>

#include "directory/list_file.h"
#include "directory/recipient_directory.h"
#include "directory_test_support.h"

namespace botenruf {
namespace {

using namespace directory_test;

using namespace std::string_literals;

RecipientDirectory Read(const std::string& bytes) {
  RecipientDirectory directory;
  ReadSingles(bytes, directory);
  ReadLists(bytes, directory);
  return directory;
}

RecipientDirectory ExampleDirectory() {
  RecipientDirectory directory;
  directory.AddSingle("Empfang", "PC017");
  directory.AddSingle("Buchhaltung 2. Stock", "PC022");
  directory.AddList("Alle", "PC017,PC022");
  return directory;
}

TEST(DirectoryListFileTest, ReadsTheGoldenFiles) {
  struct Case {
    const char* file;
    Pairs singles;
    Pairs lists;
  };
  const Case cases[] = {
      {"example.txt",
       {{"PC017", "Empfang"}, {"PC022", "Buchhaltung 2. Stock"}},
       {{"Alle", "PC017,PC022"}}},
      {"trimming.txt",
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
      {"sections.txt",
       {{"PC010", "Geschäftsführung"}, {"PC011", "Büro Süd"}, {"PC013", "Zweiter Abschnitt"}},
       {{"Geschäft", "PC010"}, {"Zweite Liste", "PC013,PC014"}}},
      // Without "//end" the rest of the file, list section included, is single recipients.
      {"missing_end.txt",
       {{"PC001", "Empfang"},
        {"//v_begin", "//v_begin"},
        {"Alle", "[PC001]"},
        {"//v_end", "//v_end"}},
       {{"Alle", "PC001"}}},
      {"missing_v_end.txt", {{"PC001", "Empfang"}}, {{"Alle", "PC001"}, {"Rest", "PC002"}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    const RecipientDirectory directory = Read(ListFileData(c.file));
    EXPECT_EQ(Singles(directory), c.singles);
    EXPECT_EQ(Lists(directory), c.lists);
  }
}

TEST(DirectoryListFileTest, WritesTheExampleByteForByte) {
  const LocalTime date{2004, 12, 6};
  EXPECT_EQ(ListFileText(ExampleDirectory(), date, "3.0.0.15"), ListFileData("example.txt"));
  EXPECT_EQ(ListFileText(RecipientDirectory(), LocalTime{5, 1, 31}, ""),
            "//Stand: 31.01.0005\r\n//Version \r\n//begin\r\n//end\r\n//v_begin\r\n//v_end\r\n");
}

TEST(DirectoryListFileTest, LeavesOutWhatWouldDamageOtherEntries) {
  RecipientDirectory directory;
  for (auto [station, alias] : Pairs{{"PC1", "Gut"},
                                     {"PC2", "a//end"},
                                     {"PC3\n//begin", "x"},
                                     {"PC4", "b\rc"},
                                     {"PC5 mit Blank", "bleibt [so]"}}) {
    directory.AddSingle(alias, station);
  }
  for (auto [name, members] : Pairs{{"Alle", "PC1"},
                                    {"//v_end", "PC1"},
                                    {"Neu", "PC1\r\nPC2"},
                                    {"L", "x//v_begin"},
                                    {"Rest [", ""}}) {
    directory.AddList(name, members);
  }
  int skipped = -1;
  const std::string text =
      ListFileText(directory, LocalTime{2024, 3, 9}, "1.0\r\n//begin", &skipped);
  EXPECT_EQ(text,
            "//Stand: 09.03.2024\r\n//Version \r\n//begin\r\nPC1 Gut\r\nPC5 mit Blank bleibt "
            "[so]\r\n//end\r\n//v_begin\r\nAlle [PC1]\r\nRest [ []\r\n//v_end\r\n");
  EXPECT_EQ(skipped, 6);
}

TEST(DirectoryListFileTest, ListInfoText) {
  EXPECT_EQ(ListInfoText(ExampleDirectory()),
            (std::vector<std::string>{"<<<Einzelempfänger>>>", "PC017 = Empfang",
                                      "PC022 = Buchhaltung 2. Stock", "<<<Verteilerlisten>>>",
                                      "Alle = PC017,PC022"}));
}

TEST(DirectoryListFileTest, OddInputIsReadByTheSameRules) {
  const std::string mega(1 << 20, 'x');
  const std::string y(1000, 'y'), z(1000, 'z');
  std::string everyByte;
  for (int b = 0; b < 256; ++b)
    everyByte += static_cast<char>(b);
  struct Case {
    const char* what;
    std::string bytes;
    Pairs singles;
    Pairs lists;
  };
  const Case cases[] = {
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
       {{std::string("PC\0", 3), std::string("1 A\0b", 5)}},
       {{std::string("N\0", 2), std::string("a\0b", 3)}}},
      {"no line ends: the marker line is no entry", "//begin PC1 Alias //end", {}, {}},
      {"CR alone does not end a line", "//begin\rPC1 A\r//end\rPC2 B", {}, {}},
      {"every byte value outside the sections", everyByte + "\n" + everyByte, {}, {}},
      // The LF (0x0A) splits it; the next line's name starts after VT, FF and CR and ends
      // before "[" (0x5B), and the members are the "\\" (0x5C) before "]".
      {"every byte value in the list section",
       "//v_begin\n" + everyByte,
       {},
       {{everyByte.substr(0x0E, 0x5B - 0x0E), "\\"}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const RecipientDirectory directory = Read(c.bytes);
    EXPECT_EQ(Singles(directory), c.singles);
    EXPECT_EQ(Lists(directory), c.lists);
  }
}

}  // namespace
}  // namespace botenruf
