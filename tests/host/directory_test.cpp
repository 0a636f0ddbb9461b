// The recipient directory, its list file and its rules (tests/fuzz/list_file_fuzz.cpp saves and
// reads back any directory).
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <sstream>

#include "directory/entry_rules.h"
#include "directory/list_file.h"
#include "directory/recipient_directory.h"
#include "fakes/fake_file_system.h"
#include "text/collation.h"
#include "text/text.h"

namespace botenruf {
namespace {

using namespace std::string_literals;
using ::testing::ElementsAre;

std::string ListFileData(const std::string& name) {
  std::ifstream in(std::string(BOTENRUF_TEST_DATA) + "/listfile/" + name, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

// The entries as "station=alias" or "name=members" lines.
std::string Lines(const std::vector<std::string>& first, const std::vector<std::string>& second) {
  std::string text;
  for (size_t i = 0; i < first.size(); ++i)
    text += first[i] + "=" + second[i] + "\n";
  return text;
}
std::string Singles(const RecipientDirectory& d) {
  return Lines(d.Stations(), d.Aliases());
}
std::string Lists(const RecipientDirectory& d) {
  return Lines(d.ListNames(), d.MemberTexts());
}

RecipientDirectory Read(const std::string& bytes) {
  RecipientDirectory directory;
  ReadListFile(bytes, directory);
  return directory;
}

// What the readers take from golden files and odd bytes, and what they take comes back byte for
// byte from a save, which reads without loss.
TEST(ListFileReadTest, GoldenFilesAndOddBytesFollowTheSameRulesAndComeBackUnchanged) {
  const std::string mega(1 << 20, 'x'), y(1000, 'y'), z(1000, 'z');
  std::string everyByte;
  for (int b = 0; b < 256; ++b)
    everyByte += static_cast<char>(b);
  const std::tuple<const char*, std::string, std::string, std::string> cases[] = {
      {"hand-written", ListFileData("hand_written.txt"),
       "PC017=Empfang\nPC022=Buchhaltung 2. Stock\nPC030=Müller, Jörg\nPC5=Kurs //beginner\n"
       "PC099=PC099\n",
       "Alle=PC017,PC022,PC030\nTeam //end=PC017,PC5\n"
       "Geschäftsführung=PC030 \nKurse //v_begin=PC5\n"},
      {"blanks, tabs and CR at every place", ListFileData("trimming.txt"),
       "PC001=Empfang  im   Erdgeschoss\nPC002=Lager\nPC099=PC099\n=\nPC003\t=Tab\tAlias\n",
       "Alle=PC001,PC002\nLager=PC002 \n=PC099\nDoppelt=a\nMit CR=PC001,\n"},
      {"several sections", ListFileData("sections.txt"),
       "PC010=Geschäftsführung\nPC011=Büro Süd\nPC013=Zweiter Abschnitt\n",
       "Geschäft=PC010\nZweite Liste=PC013,PC014\n"},
      {"without //v_end", ListFileData("missing_v_end.txt"), "PC001=Empfang\n",
       "Alle=PC001\nRest=PC002\n"},
      {"a huge line without a blank is taken whole", "//begin\r\n" + mega, mega + "=" + mega + "\n",
       ""},
      {"station and alias are cut to 256", "//begin\n" + y + " " + z,
       y.substr(0, 256) + "=" + z.substr(0, 256) + "\n", ""},
      {"the closing bracket is looked for within 256 characters",
       "//v_begin\n" + y + " [" + z + "]\n" + y + " [" + z.substr(0, 255) + "]", "",
       y.substr(0, 256) + "=" + z.substr(0, 255) + "\n"},
      {"NUL bytes and CR inside are ordinary characters",
       "//begin\nPC\0 1 A\0b\nPC2 x\ry\n\n//end\n//v_begin\nN\0 [a\0b]"s,
       "PC\0=1 A\0b\nPC2=x\ry\n=\n"s, "N\0=a\0b\n"s},
      {"CR alone does not end a line", "//begin\rPC1 A\r//end\rPC2 B", "", ""},
      {"every byte value outside the sections", everyByte + "\n" + everyByte, "", ""},
      // The LF splits it; the name starts after VT, FF and CR and ends before "[" (0x5B).
      {"every byte value in the list section", "//v_begin\n" + everyByte, "",
       everyByte.substr(0x0E, 0x5B - 0x0E) + "=\\\n"},
  };
  for (const auto& [what, bytes, singles, lists] : cases) {
    SCOPED_TRACE(what);
    const RecipientDirectory directory = Read(bytes);
    EXPECT_EQ(Singles(directory), singles);
    EXPECT_EQ(Lists(directory), lists);
    int skipped = -1;
    const std::string written = ListFileText(directory, {2024, 3, 9}, "3.0", &skipped);
    const RecipientDirectory again = Read(written);
    EXPECT_EQ(skipped, 0);
    EXPECT_EQ(Singles(again), singles);
    EXPECT_EQ(Lists(again), lists);
    EXPECT_FALSE(FindUnreadParts(written).Any());
  }
  // Without //end the rest are single recipients, the markers too (which a save leaves out).
  const RecipientDirectory missingEnd = Read(ListFileData("missing_end.txt"));
  EXPECT_EQ(Singles(missingEnd),
            "PC001=Empfang\n//v_begin=//v_begin\nAlle=[PC001]\n//v_end=//v_end\n");
  EXPECT_EQ(Lists(missingEnd), "Alle=PC001\n");
}

std::string Summary(const UnreadParts& parts) {
  return Format("mark %d, binary %d, long %d, cut %d, skipped %d", parts.foreignEncoding,
                parts.binaryLines, parts.longLines, parts.cutTexts, parts.skippedLists);
}

std::string Utf16(const std::string& text, bool bigEndian) {
  std::string out = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
  for (char c : text)
    out += bigEndian ? "\0"s + c : c + "\0"s;
  return out;
}

// Blank lines, comments, "//Stand" lines, umlauts and any line ends are what hand-written files
// hold and lose nothing that counts; text the readers could not take as entries does.
TEST(ListFileReadTest, OnlyWhatASaveWouldLoseCountsAsUnread) {
  const std::string example = ListFileData("example.txt"), x(100000, 'x');
  std::string crOnly = example, hundred = "//v_begin\r\nAlle [";
  std::replace(crOnly.begin(), crOnly.end(), '\n', '\r');
  for (int i = 1; i <= 100; ++i)
    hundred += Format("PC%03d,", i);
  const std::tuple<const char*, std::string, UnreadParts> cases[] = {
      {"hand-written", ListFileData("hand_written.txt"), {}},
      {"comments between sections", ListFileData("sections.txt"), {}},
      {"NUL and CR inside entries are read", "//begin\nPC\0 1 A\0b\nPC2 x\ry\n//end"s, {}},
      {"a line without a blank is taken whole", "//begin\n" + x, {}},
      {"a list line without its \"]\"", ListFileData("trimming.txt"), {.skippedLists = 1}},
      {"UTF-16", Utf16(example, false), {.foreignEncoding = true, .binaryLines = 10}},
      {"UTF-16 big-endian", Utf16(example, true), {.foreignEncoding = true, .binaryLines = 9}},
      {"UTF-8 with its mark", "\xEF\xBB\xBF" + example, {.foreignEncoding = true}},
      {"CR alone ends the lines", crOnly, {.binaryLines = 1}},
      {"junk before", "\x01\x02Müll\0\r\n"s + example, {.binaryLines = 1}},
      {"junk after", example + "\x7F\x1B", {.binaryLines = 1}},
      {"junk after the \"]\"", "//v_begin\nAlle [PC1] \x01", {.binaryLines = 1}},
      {"a long comment", "Kommentar " + x + "\r\n" + example, {.longLines = 1}},
      {"a long line with a blank", "//begin\nPC1 " + x, {.cutTexts = 1}},
      {"a long list name", "//v_begin\n" + x + " [PC1]", {.cutTexts = 1}},
      {"100 members", hundred + "]\r\n//v_end\r\n", {.skippedLists = 1}},
  };
  for (const auto& [what, bytes, expected] : cases)
    EXPECT_EQ(Summary(FindUnreadParts(bytes)), Summary(expected)) << what;
}

TEST(ListFileWriteTest, ByteForByteAndNothingThatWouldDamageOtherEntries) {
  RecipientDirectory example;
  example.AddSingle("Empfang", "PC017");
  example.AddSingle("Buchhaltung 2. Stock", "PC022");
  example.AddList("Alle", "PC017,PC022");
  EXPECT_EQ(ListFileText(example, {2004, 12, 6}, "3.0.0.15"), ListFileData("example.txt"));

  // Each entry alone, and what the readers give back of it ("-": the writer leaves it out).
  const std::string x300(300, 'x'), m256(256, 'm');
  const std::tuple<bool, std::string, std::string, std::string, std::string> cases[] = {
      {false, "PC6", "", "PC6", "PC6"},    {false, "PC5", "K //beginner", "PC5", "K //beginner"},
      {false, x300, x300, x300, x300},     {false, "PC4", "b\rc //v_end", "PC4", "b\rc //v_end"},
      {false, "PC2", "a//end", "-", ""},   {false, "PC7", " Empfang\t", "PC7", "Empfang"},
      {false, "", "Kantine", "-", ""},     {false, "PC8", x300, "PC8", x300.substr(0, 256)},
      {true, "//v_end", "PC1", "-", ""},   {false, "PC3", "x//v_begin", "-", ""},
      {true, "A //begin", "PC1", "-", ""}, {false, "PC3\n//begin", "x", "-", ""},
      {true, "Rest [", "", "-", ""},       {false, "PC5 mit Blank", "x", "-", ""},
      {true, "M", "a]b", "-", ""},         {true, "Team //end", "PC1", "Team //end", "PC1"},
      {true, "N", "PC1\r\nPC2", "-", ""},  {true, "L", "x//v_begin", "L", "x//v_begin"},
      {true, "Lang", m256, "-", ""},       {true, "Neu ", " PC1 ", "Neu", "PC1 "},
  };
  for (const auto& [list, first, second, readFirst, readSecond] : cases) {
    SCOPED_TRACE(first.substr(0, 20) + "|" + second.substr(0, 20));
    RecipientDirectory directory;
    list ? directory.AddList(first, second) : directory.AddSingle(second, first);
    int skipped = -1;
    const RecipientDirectory read = Read(ListFileText(directory, {2024, 3, 9}, "3.0", &skipped));
    const bool leftOut = readFirst == "-";
    EXPECT_EQ(skipped, leftOut ? 1 : 0);
    EXPECT_EQ(list ? Lists(read) : Singles(read),
              leftOut ? "" : readFirst + "=" + readSecond + "\n");
    EXPECT_EQ(read.SingleCount() + read.ListCount(), leftOut ? 0 : 1);
  }
  // The version comes from outside and must not open a section either.
  EXPECT_EQ(ListFileText({}, {2024, 3, 9}, "1.0\r\n//begin"),
            "//Stand: 09.03.2024\r\n//Version \r\n//begin\r\n//end\r\n//v_begin\r\n//v_end\r\n");
}

TEST(DirectorySaveTest, TheOldFileStaysWhenASaveFailsOrMayNotHappen) {
  using Change = std::function<void(fakes::FakeFileSystem&, RecipientDirectory&)>;
  const std::string path = "D:\\Daten\\Rechner.txt", old = ListFileData("sections.txt");
  const std::string partly = old + "\0"s;
  using S = SaveStatus;
  const std::tuple<const char*, std::string, Change, S> cases[] = {
      {"disk full", old, [](auto& f, auto&) { f.failWriteAfter = 10; }, S::kNoSpace},
      {"in place, disk full", old,
       [](auto& f, auto&) { f.noNewFiles = true, f.failWriteAfter = 10; }, S::kNoSpace},
      {"in place, a faulty disk", old,
       [](auto& f, auto&) { f.noNewFiles = true, f.faultyInPlaceWrites = 1; }, S::kRestored},
      {"in place, no copy in the temporary folder", old,
       [](auto& f, auto&) { f.noNewFiles = true, f.readOnly.insert("C:\\Temp\\Rechner.txt.alt"); },
       S::kCannotKeepCopy},
      {"changed by hand since it was read, the user says no", old,
       [&](auto& f, auto&) { f.files[path] += "//begin\r\nPC5 Hand\r\n"; }, S::kDeclined},
      {"unreadable now", old, [&](auto& f, auto&) { f.unreadable.insert(path); }, S::kUnreadable},
      {"replace fails", old, [](auto& f, auto&) { f.failReplace = true; }, S::kCannotCreate},
      {"the file could not be read", old,
       [&](auto& f, auto& d) { f.unreadable.insert(path), d.ReloadDirectory(f, path); },
       S::kRefusedAfterFailedLoad},
      {"read-only", old, [&](auto& f, auto&) { f.readOnly.insert(path); }, S::kReadOnly},
      {"an entry the file cannot carry", old, [](auto&, auto& d) { d.AddList("Rest [", "PC9"); },
       S::kCannotCarry},
      {"nothing may be created, the file is gone", old,
       [&](auto& f, auto&) { f.noNewFiles = true, f.files.erase(path); }, S::kCannotCreate},
      {"partly read, the user says no", partly, [](auto&, auto&) {}, S::kDeclined},
      {"partly read, no copy can be made", partly, [](auto& f, auto&) { f.noNewFiles = true; },
       S::kCannotKeepCopy},
  };
  for (const auto& [what, bytes, change, status] : cases) {
    SCOPED_TRACE(what);
    fakes::FakeFileSystem files;
    files.files[path] = bytes;
    RecipientDirectory directory;
    directory.ReloadDirectory(files, path);
    directory.AddSingle("Neu", "PC9");
    change(files, directory);
    const std::map<std::string, std::string> before = files.files;
    // The user says yes to every question, but for the cases of the answer no.
    const bool yes = status != S::kDeclined;
    const SaveResult result = directory.SaveDirectory(files, path, {2004, 12, 6}, "3.0",
                                                      [yes](const std::string&) { return yes; });
    EXPECT_EQ(result.status, status);
    EXPECT_EQ(files.files, before);
    EXPECT_FALSE(SaveProblemText(result).empty());
  }
}

TEST(DirectorySaveTest, WritesInPlaceOverLeftoversAndAsksBeforeReplacingWhatItDidNotRead) {
  const std::string path = "D:\\Daten\\Rechner.txt", example = ListFileData("example.txt");
  fakes::FakeFileSystem files;
  RecipientDirectory directory;
  std::vector<std::string> questions;
  const ConfirmReplace yes = [&](const std::string& question) {
    return questions.push_back(question), true;
  };
  const auto save = [&](const std::string& at) {
    return directory.SaveDirectory(files, at, {2004, 12, 6}, "3.0.0.15", yes);
  };
  // A leftover of an interrupted save goes; where no file may be created beside the list, the
  // list file itself is written, its old content kept in the temporary folder meanwhile; an
  // empty path means C:\Rechner.txt for reading and writing.
  files.files = {{"C:\\Rechner.txt", "alt"}, {"C:\\Rechner.txt.neu", "//begin\r\nPC"}};
  directory.ReloadDirectory(files, "");
  directory.AddSingle("Empfang", "PC017");
  EXPECT_EQ(save("").status, SaveStatus::kSaved);
  files.noNewFiles = true;
  directory.AddSingle("Buchhaltung 2. Stock", "PC022");
  directory.AddList("Alle", "PC017,PC022");
  EXPECT_EQ(save("").status, SaveStatus::kSaved);
  EXPECT_EQ(files.files, (std::map<std::string, std::string>{{"C:\\Rechner.txt", example}}));
  // Neither the new nor the old content could be written: the old one stays in the copy.
  files.faultyInPlaceWrites = 2;
  directory.AddSingle("Kasse", "PC9");
  const SaveResult kept = save("");
  EXPECT_EQ(kept.status, SaveStatus::kKeptAsCopy);
  EXPECT_EQ(files.files["C:\\Temp\\Rechner.txt.alt"], example);
  EXPECT_NE(SaveProblemText(kept).find("in \"C:\\Temp\\Rechner.txt.alt\" aufbewahrt."),
            std::string::npos);
  EXPECT_TRUE(questions.empty());

  // A partly read file: the first save asks and keeps it, later saves do not; an earlier copy
  // stays as it is.
  files.noNewFiles = false;
  const std::string utf16 = Utf16(example, false);
  files.files = {{path, utf16}, {path + ".alt", "älter"}};
  directory.ReloadDirectory(files, path);
  directory.AddSingle("Empfang", "PC017");
  EXPECT_EQ(save(path).status, SaveStatus::kSaved);
  EXPECT_EQ(save(path).status, SaveStatus::kSaved);
  ASSERT_EQ(questions.size(), 1u);
  EXPECT_EQ(questions[0],
            "Die Rechnerliste \"D:\\Daten\\Rechner.txt\" konnte beim Laden nur zum Teil gelesen "
            "werden:\n\n- Die Datei ist nicht als ANSI-Text gespeichert, sondern als Unicode "
            "(UTF-8, UTF-16 oder UTF-32).\n- 10 Zeilen enthalten Zeichen, die in keinem Text "
            "stehen (Nullbytes, Steuerzeichen oder Zeilenenden nur aus CR).\n\nWas nicht gelesen "
            "wurde, ginge beim Speichern verloren. Die alte Datei wird deshalb als "
            "\"D:\\Daten\\Rechner.txt.alt2\" aufbewahrt.\n\nJetzt speichern? Mit \"Nein\" bleibt "
            "die Datei, wie sie ist.");
  EXPECT_EQ(files.files, (std::map<std::string, std::string>{
                             {path, ListFileText(directory, {2004, 12, 6}, "3.0.0.15")},
                             {path + ".alt", "älter"},
                             {path + ".alt2", utf16}}));

  // Changed by hand since the last save, or a file the directory never read: it asks first.
  files.files[path] += "PC5 Hand\r\n";
  files.files["D:\\Rechner.txt"] = "fremd";
  for (const std::string& at : {path, "D:\\Rechner.txt"s})
    EXPECT_EQ(save(at).status, SaveStatus::kSaved);
  ASSERT_EQ(questions.size(), 3u);
  EXPECT_EQ(questions[1],
            "Die Rechnerliste \"D:\\Daten\\Rechner.txt\" wurde geändert, seit sie hier zuletzt "
            "gelesen oder gespeichert wurde (von Hand oder von einem anderen Programm).\n\nJetzt "
            "speichern? Was dort geändert wurde, ginge verloren. Mit \"Nein\" bleibt die Datei, "
            "wie sie ist.");
}

// A take-over reads the file again only when it changed and can be read: a file locked or gone
// for a moment must not empty the directory.
TEST(DirectorySaveTest, ReadsAgainOnlyAChangedFileThatCanBeRead) {
  fakes::FakeFileSystem files;
  files.files["R.txt"] = ListFileData("example.txt");
  RecipientDirectory directory;
  directory.ReloadDirectory(files, "R.txt");
  EXPECT_FALSE(directory.ReloadIfChanged(files, "R.txt"));
  files.files["R.txt"] += "//begin\r\nPC5 Hand\r\n";
  for (const bool locked : {true, false}) {
    locked ? void(files.unreadable.insert("R.txt")) : void(files.unreadable.clear());
    EXPECT_EQ(directory.ReloadIfChanged(files, "R.txt"), !locked);
    EXPECT_EQ(directory.SingleCount(), locked ? 2 : 3);
  }
  files.files.clear();
  EXPECT_FALSE(directory.ReloadIfChanged(files, "R.txt"));
  EXPECT_EQ(directory.SingleCount(), 3);
}

TEST(DirectoryMembersTest, PurgeSortAndSettersKeepTheLimits) {
  const std::tuple<std::vector<std::string>, std::string, std::string> purges[] = {
      {{"S1", "S3"}, "S1,S2,S3", "S1,S3"},
      {{"S1", "S2"}, "S1,S2,S3", "S1,S2,"},
      {{"S1", "S2"}, "s1,S2", "S2"},
      {{"S1"}, "S1,,S1", "S1,S1"},
  };
  for (const auto& [known, members, expected] : purges) {
    RecipientDirectory directory;
    for (const std::string& station : known)
      directory.AddSingle("x", station);
    directory.AddList("Liste", members);
    directory.PurgeMembers();
    EXPECT_EQ(directory.MemberTexts()[0], expected) << members;
  }

  // Sorting by alias keeps strangers; the optional last comma goes when 256 would be reached.
  const std::string a253(253, 'A'), a252(252, 'A');
  const std::pair<std::string, std::string> sorts[] = {{"pc1,PC9,PC3,PC2", "PC9,PC3,PC2,pc1,"},
                                                       {a253 + ",B", "B," + a253},
                                                       {a252 + ",B", "B," + a252 + ","}};
  for (const auto& [members, expected] : sorts) {
    SCOPED_TRACE(members.substr(0, 16));
    RecipientDirectory directory;
    directory.AddSingle("Zentrale", "PC1");
    directory.AddSingle("Empfang", "PC2");
    directory.AddSingle("empfang", "PC3");
    directory.AddSingle("b", members.substr(0, members.find(',')));
    directory.AddSingle("a", "B");
    directory.AddList("Voll", members);
    directory.SortMembers(0);
    EXPECT_EQ(directory.MemberTexts()[0], expected);
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
  // As raw bytes "Beta" < "alpha" and "Öl" after "Zu": the sort compares as Windows' lists do
  // for a German user, letter case aside.
  for (auto [station, alias] :
       {std::pair{"S1", "Beta"}, {"S2", "Öl"}, {"S3", "alpha"}, {"S4", "Zu"}, {"S5", "ALPHA"}}) {
    directory.AddSingle(alias, station);
  }
  EXPECT_THAT(directory.SortSingles(1), ElementsAre(2, 4, 0, 1, 3));
  EXPECT_EQ(Singles(directory), "S3=alpha\nS5=ALPHA\nS1=Beta\nS2=Öl\nS4=Zu\n");
  directory.SortSingles(1);  // the same column again reverses; equal keys keep their order
  EXPECT_EQ(Singles(directory), "S4=Zu\nS2=Öl\nS1=Beta\nS3=alpha\nS5=ALPHA\n");

  // Another column keeps the direction; every view shares it.
  std::vector<std::string> keys{"b", "a"}, values{"2", "1"};
  directory.SortPairs(keys, values, 0);
  EXPECT_EQ(keys, (std::vector<std::string>{"b", "a"}));  // still descending
  directory.SortLists(0);
  EXPECT_TRUE(directory.sortState().ascending);
}

// Where Windows' lists put names for a German user: an accent or a hyphen counts only between
// names that are otherwise equal, "ß" as "ss"; symbols before digits before letters.
TEST(DirectorySortTest, NamesSortWhereAGermanUserLooksForThem) {
  const char* ordered[] = {"",       " Empfang",  "(alt)", "_Test",  "\x80", "+49",    "0815",
                           "½",      "1",         "10",    "2",      "²",    "Abel",   "Apfel",
                           "Äpfel",  "Apfelbaum", "coop",  "co-op",  "cop",  "Öl",     "Ostern",
                           "Ozturk", "Öztürk",    "Pahl",  "Straße", "Zoë",  "Zoe-Ann"};
  for (size_t i = 1; i < std::size(ordered); ++i) {
    SCOPED_TRACE(ordered[i]);
    EXPECT_LT(SortKey1252(ordered[i - 1]), SortKey1252(ordered[i]));
  }
  EXPECT_EQ(SortKey1252("Straße"), SortKey1252("STRASSE"));
}

// Letters typed in a list lead to the next row that begins with them, letter case aside (and
// backslashes aside where the list's rows begin with them).
TEST(DirectorySortTest, TypedLettersFindTheNextRowBeginningWithThem) {
  const std::vector<std::string> rows{"Lager", "ärger", "Lagerhalle", "lag", "\\\\WS20"};
  const struct {
    int start;
    const char* typed;
    bool whole, wrap;
    int row;
    const char* skipped = "";
  } cases[] = {{1, "LA", false, true, 2},          {3, "lager", false, true, 0},
               {3, "lager", false, false, -1},     {0, "Ä", false, true, 1},
               {0, "lag", true, true, 3},          {0, "ws2", false, true, -1},
               {0, "ws2", false, true, 4, "\\\\"}, {0, "ws20", true, true, 4, "\\\\"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.start << " " << c.typed);
    EXPECT_EQ(FindTyped(rows, c.start, c.typed, c.whole, c.wrap, c.skipped), c.row);
  }
}

TEST(EntryRulesTest, AcceptsWhatTheFileCarriesAndRefusesTheRest) {
  using Check = std::function<std::string(std::string_view)>;
  const Check station = CheckStationName, alias = CheckAlias, list = CheckListName,
              members = CheckMemberText;
  const std::string max(255, 'x'), over(256, 'x');
  const std::tuple<Check, std::string, bool> cases[] = {
      {station, "", true},         {station, max, true},
      {station, over, false},      {station, "PC 1", false},
      {station, "PC1,PC2", false}, {station, "PC\0"s, false},
      {alias, " Empfang ", true},  {alias, "Ost//v_beginx", false},
      {alias, "a\nb", false},      {list, "Alle im Haus", true},
      {list, "Alle [", false},     {list, "//v_end", false},
      {members, max, true},        {members, over, false},
      {members, "PC1]", false},    {members, "PC1,\tPC2", false},
  };
  for (const auto& c : cases) {
    const auto& [check, value, accepted] = c;
    SCOPED_TRACE(&c - cases);
    const std::string message = check(value);
    EXPECT_EQ(message.empty(), accepted) << message;
    EXPECT_TRUE(!accepted || ListFileCanCarry(value));
  }
}

}  // namespace
}  // namespace botenruf
