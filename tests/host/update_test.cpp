// The update check: the version list, the download rules, and the check's failures with
// scripted transfers (tests/win/update_test.cpp runs a download against a real server).
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <future>
#include <map>

#include "fakes/fake_file_system.h"
#include "fakes/fake_message_boxes.h"
#include "platform/http_client.h"
#include "update/update_check.h"
#include "update/update_list.h"
#include "update/update_rules.h"

namespace botenruf {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

struct Answer {
  uint32_t status = 200;
  std::string body;
  bool announceLength = true;
  size_t cutAfter = std::string::npos;  // the client reports `error` after this many bytes
  uint32_t error = 0;                   // without cutAfter: no connection at all
  HttpResult::Status left = HttpResult::Status::kComplete;  // or so after cutAfter bytes
};

// Answers by "host:port/object", records every request, and writes output files into the fake
// file system so that a half-written file is seen as such.
class FakeInternet : public HttpClient, public OutputFiles {
 public:
  explicit FakeInternet(fakes::FakeFileSystem& files) : files_(files) {}

  HttpResult Get(const HttpUrl& url, HttpReceiver& receiver, const HttpLimits&,
                 const std::atomic<bool>&) override {
    const std::string key = url.host + ":" + std::to_string(url.port) + url.object;
    requests.push_back(key);
    const Answer& answer = answers.count(key) ? answers[key] : kNotFound;
    if (answer.error && answer.cutAfter == std::string::npos)
      return {HttpResult::Status::kFailed, answer.error};
    if (!receiver.OnResponse(answer.status, answer.announceLength
                                                ? std::optional<uint64_t>(answer.body.size())
                                                : std::nullopt)) {
      return {HttpResult::Status::kStopped, 0};
    }
    const size_t end = std::min(answer.body.size(), answer.cutAfter);
    for (size_t at = 0; at < end; at += kHttpBlockSize) {
      if (!receiver.OnBlock(answer.body.data() + at, std::min(kHttpBlockSize, end - at)))
        return {HttpResult::Status::kStopped, 0};
    }
    stop = answer.left == HttpResult::Status::kCancelled;
    if (answer.left != HttpResult::Status::kComplete)
      return {answer.left, 0};
    return {answer.error ? HttpResult::Status::kFailed : HttpResult::Status::kComplete,
            answer.error};
  }

  std::unique_ptr<OutputFile> CreateExclusive(const std::string& path) override {
    struct File : OutputFile {
      std::string& bytes;
      explicit File(std::string& target) : bytes(target) {}
      bool Write(const char* data, size_t size) override {
        bytes.append(data, size);
        return true;
      }
      bool Close() override { return true; }
    };
    if (failCreate)
      return nullptr;
    files_.files[path].clear();
    return std::make_unique<File>(files_.files[path]);
  }

  std::map<std::string, Answer> answers;
  std::vector<std::string> requests;
  bool failCreate = false;
  std::atomic<bool> stop{false};

 private:
  fakes::FakeFileSystem& files_;
  const Answer kNotFound{404, "not here"};
};

class FakeDesktop : public Clipboard, public ProgramEnvironment {
 public:
  bool SetText(NativeWindow, const std::string& value) override {
    clipboard = value;
    return true;
  }
  std::string ProgramPath() override { return "C:\\Programme\\Botenruf\\Botenruf.exe"; }
  std::string FileVersion() override { return version; }
  std::optional<std::string> Variable(const std::string& name) override {
    return name == kUpdateUrlVariable ? baseUrl : std::nullopt;
  }
  std::string clipboard = "vorher";
  std::string version = "3.1.0.0";
  std::optional<std::string> baseUrl = "http://127.0.0.1:8123/";
};

const std::string kTarget = "C:\\Programme\\Botenruf\\Botenruf.zip";
constexpr char kList[] = "127.0.0.1:8123/Updates/_updates.txt";
constexpr char kFile[] = "127.0.0.1:8123/Updates/Botenruf/Botenruf.zip";

std::string ListWith(const std::string& version) {
  return "# Versionen\r\nnetzmeister;9;9;9;9;2004.3.1;1;512;Updates/Netz/;Netz.zip;\r\n"
         "botenruf;" +
         version + ";2004.12.6;2;1;Updates/Botenruf/;Botenruf.zip;\r\n";
}

struct UpdateRig {
  UpdateRig() {
    internet.answers[kList] = {200, ListWith("3;1;0;1")};
    internet.answers[kFile] = {200, std::string(3000, 'Z')};
  }
  void Check() { CheckForUpdate(services, nullptr); }
  std::vector<std::string> Titles() const {
    std::vector<std::string> titles;
    for (const BoxRequest& box : boxes.boxes())
      titles.push_back(box.title);
    return titles;
  }

  fakes::FakeFileSystem files;
  FakeInternet internet{files};
  fakes::FakeMessageBoxes boxes;
  FakeDesktop desktop;
  UpdateServices services{internet, files, internet, boxes, desktop, desktop, internet.stop};
};

// The server's, the connection's and the disk's failures.
TEST(UpdateCheckFailureTest, EachShowsOnlyItsOwnBoxesAndKeepsTheEarlierCopy) {
  const std::string kAsk = "Update suchen...", kSearch = "Suche nach Updates...",
                    kFailed = "Fehler beim Herunterladen", kBroken = kApplicationTitle;
  const std::string failure = "Die Datei konnte nicht herunter geladen werden.\nErrorcode: ";
  struct Case {
    const char* what;
    std::function<void(UpdateRig&)> setUp;
    std::vector<std::string> titles;
    std::string lastText;
  } cases[] = {
      {"no to the search", [](auto& t) { t.boxes.answers = {false}; }, {kAsk}, ""},
      {"older entry",
       [](auto& t) { t.internet.answers[kList].body = ListWith("2;5;0;0"); },
       {kAsk, kSearch},
       "Keine neuere Version vorhanden"},
      {"own version unreadable",
       [](auto& t) { t.desktop.version = ""; },
       {kAsk, kSearch},
       "Keine neuere Version vorhanden"},
      {"no entry of ours",
       [](auto& t) { t.internet.answers[kList].body = "netzmeister;9;0;0;0;;1;1;;n.zip;\r\n"; },
       {kAsk},
       ""},
      {"list missing", [](auto& t) { t.internet.answers.erase(kList); }, {kAsk}, ""},
      {"no connection",
       [](auto& t) { t.internet.answers[kList].error = 12029; },
       {kAsk, kBroken},
       ""},
      {"program file missing",
       [](auto& t) { t.internet.answers.erase(kFile); },
       {kAsk, kSearch, kFailed},
       failure + kHttpErrorText},
      {"name leaving the folder",
       [](auto& t) { t.internet.answers[kList].body = "botenruf;9;0;0;0;;2;1;;..\\Botenruf.exe;"; },
       {kAsk, kSearch, kFailed},
       failure + DownloadNameProblem("..\\Botenruf.exe", "")},
      {"a DLL to plant beside the program",
       [](auto& t) {
         t.internet.answers[kList].body = "botenruf;9;0;0;0;;2;1;Updates/Botenruf/;VERSION.dll;";
         t.internet.answers["127.0.0.1:8123/Updates/Botenruf/VERSION.dll"] = {200, "MZ"};
       },
       {kAsk, kSearch, kFailed},
       failure + DownloadNameProblem("VERSION.dll", "")},
      {"folder not writable", [](auto& t) { t.internet.failCreate = true; }, {kAsk}, ""},
      {"list too large",
       [](auto& t) { t.internet.answers[kList].body += std::string(kVersionListLimit, '#'); },
       {kAsk, kFailed},
       failure + TooLargeText(kVersionListLimit)},
      {"program file too large without a length",
       [](auto& t) {
         t.internet.answers[kFile] = {200, std::string(kProgramFileLimit + 1, 'Z'), false};
       },
       {kAsk, kSearch, kFailed},
       failure + TooLargeText(kProgramFileLimit)},
      {"cut short without an error",
       [](auto& t) { t.internet.answers[kFile].cutAfter = 1024; },
       {kAsk, kSearch, kBroken, kFailed},
       failure},
      {"too slow after the first block",
       [](auto& t) {
         t.internet.answers[kFile].cutAfter = 1024;
         t.internet.answers[kFile].left = HttpResult::Status::kTooSlow;
       },
       {kAsk, kSearch, kBroken, kFailed},
       failure},
      {"program ended during the download",
       [](auto& t) {
         t.internet.answers[kFile].cutAfter = 1024;
         t.internet.answers[kFile].left = HttpResult::Status::kCancelled;
       },
       {kAsk, kSearch},
       ""},
      {"broken after the first block",
       [](auto& t) {
         t.internet.answers[kFile].cutAfter = 1024, t.internet.answers[kFile].error = 12031;
       },
       {kAsk, kSearch, kBroken, kFailed},
       failure},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    UpdateRig t;
    t.files.files[kTarget] = "die alte Version";
    t.boxes.answers = {true, true};
    c.setUp(t);
    t.Check();
    EXPECT_THAT(t.Titles(), ElementsAreArray(c.titles));
    if (!c.lastText.empty() && !t.boxes.boxes().empty()) {
      EXPECT_EQ(t.boxes.boxes().back().text, c.lastText);
    }
    EXPECT_THAT(t.files.files, ElementsAre(std::pair(kTarget, std::string("die alte Version"))));
    EXPECT_EQ(t.desktop.clipboard, "vorher");
    EXPECT_EQ(t.boxes.waitCursors, 0);
  }
}

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
  // Only the first 1024 characters of a line are read.
  const std::string overLong = "botenruf;1;0;0;0;;1;1;" + std::string(1000, 'x') + ";a.zip;";
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
      {"botenruf;1;0;0;0;2004.12;3;1;;a.zip;", {1, 0, 0, 0}, 3, 1, "a.zip", false},
      {overLong, {1, 0, 0, 0}, 1, 1, "", false},
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

TEST(UpdateRulesTest, OnlyABareZipNameOtherThanTheProgramsOwnIsStored) {
  for (const char* name : {"Botenruf.zip", "Botenruf 3.1.zip", "botenruf.exe.zip", "COM0.zip",
                           "CONSOLE.zip", "a.ZIP", "b.Zip"}) {
    EXPECT_EQ(DownloadNameProblem(name, "Botenruf.exe"), "") << name;
  }
  // clang-format off
  for (const char* name : {"", "..\\Botenruf.exe", "C:\\x.zip", "C:x.zip", "Updates/x.zip",
                           "\\\\server\\x.zip", ".", "..", "x.zip.", "x.zip ", "a*b.zip", "a?.zip",
                           "a|b.zip", "a<b.zip", "\"a\".zip", "a\tb.zip", "NUL", "con.zip", "LPT1.zip",
                           "Botenruf.exe", "BOTENRUF.EXE", "VERSION.dll", "wininet.DLL",
                           "Botenruf.exe.manifest", "Botenruf.exe.local", "_updates.txt", ".zip",
                           "a.zip::$DATA", "a.zip:x", "..\\a.zip", "a.zip.exe", "a.zi"}) {
    // clang-format on
    EXPECT_NE(DownloadNameProblem(name, "Botenruf.exe"), "") << name;
  }
  EXPECT_EQ(DownloadNameProblem("..\\Botenruf.exe", "Botenruf.exe"),
            "Unzulässiger Dateiname \"..\\Botenruf.exe\" (Pfad- oder Laufwerksangabe)");
  EXPECT_EQ(DownloadNameProblem("VERSION.dll", "Botenruf.exe"),
            "Unzulässiger Dateiname \"VERSION.dll\" (kein Zip-Archiv)");
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
  const HttpUrl from{"h", 8123, "/hop/5?x=1"};
  struct Redirect {
    const char* location;
    std::optional<HttpUrl> to;
  } redirects[] = {
      {"/a/b.zip", HttpUrl{"h", 8123, "/a/b.zip"}},
      {"4", HttpUrl{"h", 8123, "/hop/4"}},
      {"http://other:81/x", HttpUrl{"other", 81, "/x"}},
      {"//other/x?y", HttpUrl{"other", 80, "/x?y"}},
      {"HTTP://h/y#teil", HttpUrl{"h", 80, "/y"}},
      {"https://h/x", std::nullopt},
      {"ftp://h/x", std::nullopt},
      {"mailto:x", std::nullopt},
      {"", std::nullopt},
  };
  for (const Redirect& r : redirects)
    EXPECT_EQ(ResolveRedirect(from, r.location), r.to) << r.location;
  EXPECT_TRUE(IsHttpRedirect(302));
  EXPECT_TRUE(IsHttpRedirect(307));
  EXPECT_FALSE(IsHttpRedirect(304));

  EXPECT_EQ(ParseContentLength("70000000"), 70000000u);
  EXPECT_FALSE(ParseContentLength("12 "));
  EXPECT_FALSE(ParseContentLength("-1"));
  EXPECT_FALSE(ParseContentLength(""));

  EXPECT_EQ(UpdateBaseUrl(std::nullopt), kDefaultUpdateBaseUrl);
  EXPECT_EQ(UpdateBaseUrl(""), kDefaultUpdateBaseUrl);
  EXPECT_EQ(UpdateBaseUrl("http://mirror/botenruf"), "http://mirror/botenruf/");
  EXPECT_EQ(UpdateBaseUrl("http://mirror/"), "http://mirror/");
}

// A slow line may take its time, a server that sends almost nothing may not.
TEST(HttpPaceTest, TheDownloadMayTakeLongerTheMoreItReceives) {
  const HttpLimits list = kVersionListTimes, file = kDownloadTimes;
  struct Case {
    const char* what;
    HttpLimits limits;
    uint64_t elapsedMs, quietMs;
    bool answered;
    uint64_t bytes;
    TransferPace pace;
  } cases[] = {
      {"list past its minute", list, 60001, 100, true, 60000, TransferPace::kTooLong},
      {"64 MB at 8 KB a second", file, 8192000, 125, true, 64 << 20, TransferPace::kGoOn},
      {"no answer yet, in the first minute", file, 59000, 59000, false, 0, TransferPace::kGoOn},
      {"no answer after the first minute", file, 60001, 60001, false, 0, TransferPace::kTooSlow},
      {"1 KB a second on average", file, 120000, 3000, true, 60 * 1024, TransferPace::kGoOn},
      {"a little less", file, 120001, 3000, true, 60 * 1024, TransferPace::kTooSlow},
      {"20 s without data", file, 30000, 20001, true, 5 * 1024 * 1024, TransferPace::kSilent},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(JudgePace(c.limits, c.elapsedMs, c.quietMs, c.answered, c.bytes), c.pace);
  }
}

// A transfer that is left, too slow or at the program's end, must not write into a receiver that
// its caller has let go.
TEST(HttpDeadlineTest, ALeftTransferReachesTheReceiverNoMore) {
  for (const bool programEnds : {false, true}) {
    SCOPED_TRACE(programEnds ? "the program ends" : "below the rate");
    struct Late {
      std::promise<void> release;
      std::promise<bool> accepted;
      std::atomic<bool> stop{false};
    };
    auto late = std::make_shared<Late>();
    struct Untouched : HttpReceiver {
      bool OnResponse(uint32_t, std::optional<uint64_t>) override { return true; }
      bool OnBlock(const char*, size_t) override { return touched = true; }
      bool touched = false;
    } receiver;
    const HttpResult left = RunWithinLimits(
        [late, programEnds, released = late->release.get_future().share()](HttpReceiver& to) {
          to.OnResponse(200, std::nullopt);
          late->stop = programEnds;
          released.wait();
          late->accepted.set_value(to.OnBlock("x", 1));
          return HttpResult{HttpResult::Status::kComplete, 0};
        },
        receiver, programEnds ? HttpLimits{0, 60000, 60000} : HttpLimits{0, 60000, 50, 1024},
        late->stop);
    EXPECT_EQ(left.status,
              programEnds ? HttpResult::Status::kCancelled : HttpResult::Status::kTooSlow);
    std::future<bool> accepted = late->accepted.get_future();
    late->release.set_value();
    ASSERT_EQ(accepted.wait_for(std::chrono::seconds(10)), std::future_status::ready);
    EXPECT_FALSE(accepted.get());
    EXPECT_FALSE(receiver.touched);
  }
}

}  // namespace
}  // namespace botenruf
