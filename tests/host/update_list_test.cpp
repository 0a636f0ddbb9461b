#include <gtest/gtest.h>

#include "platform/http_client.h"
#include "update/update_list.h"
#include "update/update_rules.h"

namespace botenruf {
namespace {

TEST(UpdateListTest, CommentsAreSkippedAndTheProgramsOwnEntryIsFound) {
  const std::vector<UpdateEntry> entries = ParseUpdateList(
      "# Versionen der Programme\r\n"
      "netzmeister;4;2;0;1;2004.3.1;1;512;Updates/Netz/;Netz.zip;\r\n"
      "Botenruf;8;0;0;0;2004.3.1;2;2;Updates/;Falsch.zip;\r\n"
      "botenruf;9;0;1;2;2004.12.6;2;1;Updates/Botenruf/;Botenruf.zip;\r\n"
      "\r\n");
  ASSERT_EQ(entries.size(), 4u);  // the empty line is an entry without a name
  const UpdateEntry* entry = FindUpdateEntry(entries, kUpdateKey);
  ASSERT_EQ(entry, &entries[2]);
  EXPECT_EQ(entry->version, (Version{9, 0, 1, 2}));
  EXPECT_EQ(entry->date, (ReleaseDate{2004, 12, 6}));
  EXPECT_EQ(entry->sizeUnit, 2);
  EXPECT_EQ(entry->size, 1);
  EXPECT_EQ(entry->path, "Updates/Botenruf/");
  EXPECT_EQ(entry->fileName, "Botenruf.zip");
  EXPECT_EQ(FindUpdateEntry(entries, ""), nullptr);
  EXPECT_EQ(FindUpdateEntry(ParseUpdateList("# botenruf;9;0;0;0;;2;1;;a.zip;\n"), kUpdateKey),
            nullptr);
}

TEST(UpdateListTest, FieldsWithoutTheirSemicolonAreMissing) {
  struct Case {
    std::string line;
    Version version;
    int32_t unit, size;
    const char* fileName;
    bool dated;
  } cases[] = {
      {"botenruf;3;1;0;7;2004.1.2;0;900;p/;a.zip;", {3, 1, 0, 7}, 0, 900, "a.zip", true},
      {"botenruf;3;1;0;7;2004.1.2;0;900;p/;a.zip", {3, 1, 0, 7}, 0, 900, "", true},
      {"botenruf;3;1", {3, -1, -1, -1}, -1, -1, "", false},
      {"botenruf;x3;;+4;-2;;7;12kB;;a.zip;", {0, 0, 4, -2}, 7, 12, "a.zip", false},
      {"botenruf;1;0;0;0;2004.0.6;1;1;;a.zip;", {1, 0, 0, 0}, 1, 1, "a.zip", false},
      {"botenruf;1;0;0;0;0.12.6;3;1;;a.zip;", {1, 0, 0, 0}, 3, 1, "a.zip", false},
      {"botenruf;1;0;0;0;2004.12;3;1;;a.zip;", {1, 0, 0, 0}, 3, 1, "a.zip", false},
      // Only the first 1024 characters of a line are read.
      {"botenruf;1;0;0;0;;1;1;" + std::string(1000, 'x') + ";a.zip;",
       {1, 0, 0, 0},
       1,
       1,
       "",
       false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line.substr(0, 60));
    const UpdateEntry entry = ParseUpdateLine(c.line);
    EXPECT_EQ(entry.name, "botenruf");
    EXPECT_EQ(entry.version, c.version);
    EXPECT_EQ(entry.sizeUnit, c.unit);
    EXPECT_EQ(entry.size, c.size);
    EXPECT_EQ(entry.fileName, c.fileName);
    EXPECT_EQ(entry.date.has_value(), c.dated);
  }
}

TEST(UpdateListTest, VersionsCompareFromTheMajorPartOn) {
  struct Case {
    Version candidate, installed;
    bool newer;
  } cases[] = {
      {{2, 5, 0, 0}, {3, 1, 0, 0}, false},  {{3, 1, 0, 1}, {3, 1, 0, 0}, true},
      {{3, 1, 0, 0}, {3, 1, 0, 0}, false},  {{4, 0, 0, 0}, {3, 9, 9, 9}, true},
      {{3, 0, 10, 0}, {3, 0, 9, 99}, true}, {{-1, -1, -1, -1}, {0, 0, 0, 0}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(VersionText(c.candidate) + " vs " + VersionText(c.installed));
    EXPECT_EQ(IsNewer(c.candidate, c.installed), c.newer);
  }
  Version version;
  ASSERT_TRUE(ParseVersionText("3.0.0.15", version));
  EXPECT_EQ(version, (Version{3, 0, 0, 15}));
  for (const char* text : {"", "3.0.0", "3.0.0.15.1", "3..0.1", "-3.0.0.1", "3.0.0.1 "})
    EXPECT_FALSE(ParseVersionText(text, version)) << text;
  EXPECT_STREQ(SizeUnitName(2), "MB");
  EXPECT_STREQ(SizeUnitName(7), "???");
}

TEST(UpdateRulesTest, OnlyABareFileNameOtherThanTheProgramsOwnIsStored) {
  for (const char* name :
       {"Botenruf.zip", "Botenruf 3.1.zip", "botenruf.exe.zip", "COM0.zip", "CONSOLE.zip"}) {
    EXPECT_EQ(DownloadNameProblem(name, "Botenruf.exe"), "") << name;
  }
  // clang-format off
  for (const char* name : {"", "..\\Botenruf.exe", "C:\\x.zip", "C:x.zip", "Updates/x.zip",
                           "\\\\server\\x.zip", ".", "..", "x.zip.", "x.zip ", "a*b.zip", "a?.zip",
                           "a|b", "a<b", "\"a\"", "a\tb.zip", "NUL", "con.zip", "LPT1.txt",
                           "Botenruf.exe", "BOTENRUF.EXE"}) {
    // clang-format on
    EXPECT_NE(DownloadNameProblem(name, "Botenruf.exe"), "") << name;
  }
  EXPECT_EQ(DownloadNameProblem("..\\Botenruf.exe", "Botenruf.exe"),
            "Unzulässiger Dateiname \"..\\Botenruf.exe\" (Pfad- oder Laufwerksangabe)");
}

TEST(UpdateRulesTest, AddressesAreSplitForHttpOnly) {
  EXPECT_EQ(SplitHttpUrl("http://updates.botenruf.example/Updates/_updates.txt"),
            (HttpUrl{"updates.botenruf.example", 80, "/Updates/_updates.txt"}));
  EXPECT_EQ(SplitHttpUrl("HTTP://127.0.0.1:8123/a/b.zip?x=1"),
            (HttpUrl{"127.0.0.1", 8123, "/a/b.zip?x=1"}));
  EXPECT_EQ(SplitHttpUrl("http://server"), (HttpUrl{"server", 80, "/"}));
  for (const char* url :
       {"https://server/", "ftp://server/", "server/x", "http:///x", "http://server:0/",
        "http://server:65536/", "http://server:/", "http://ser ver/", "http://user@server/", ""}) {
    EXPECT_FALSE(SplitHttpUrl(url)) << url;
  }
  EXPECT_EQ(ParseContentLength("70000000"), 70000000u);
  EXPECT_FALSE(ParseContentLength("12 "));
  EXPECT_FALSE(ParseContentLength("-1"));
  EXPECT_FALSE(ParseContentLength(""));

  EXPECT_EQ(UpdateBaseUrl(std::nullopt), kDefaultUpdateBaseUrl);
  EXPECT_EQ(UpdateBaseUrl(""), kDefaultUpdateBaseUrl);
  EXPECT_EQ(UpdateBaseUrl("http://mirror/botenruf"), "http://mirror/botenruf/");
  EXPECT_EQ(UpdateBaseUrl("http://mirror/"), "http://mirror/");
}

}  // namespace
}  // namespace botenruf
