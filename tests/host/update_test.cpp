// The update check: the version list, the download rules, and the check's failures with
// scripted transfers (tests/win/update_test.cpp runs a download against a real server).
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <future>
#include <map>
#include <tuple>

#include "fakes/fake_file_system.h"
#include "fakes/fake_message_boxes.h"
#include "platform/http_client.h"
#include "update/update_check.h"
#include "update/update_list.h"
#include "update/update_rules.h"

namespace botenruf {
namespace {

using ::testing::ElementsAre;
using namespace std::string_literals;
using Status = HttpResult::Status;

struct Answer {
  uint32_t status = 200;
  std::string body;
  bool announceLength = true;
  size_t cutAfter = std::string::npos;  // the client reports `error` after this many bytes
  uint32_t error = 0;                   // without cutAfter: no connection at all
  Status left = Status::kComplete;      // or so after cutAfter bytes
};

const std::string kTarget = "C:\\Programme\\Botenruf\\Botenruf.zip";

std::string ListWith(const std::string& version) {
  return "# Versionen\r\nnetzmeister;9;9;9;9;2004.3.1;1;512;Updates/Netz/;Netz.zip;\r\nbotenruf;" +
         version + ";2004.12.6;2;1;Updates/Botenruf/;Botenruf.zip;\r\n";
}

// The check's world: a server that answers by "host:port/object" (404 for any other), output
// files in the fake file system (so that a half-written file is seen as such), and the desktop.
// The list offers 3.1.0.1 for the installed 3.1.0.0, the user says yes to both questions, and
// an earlier download lies in the program's folder.
struct UpdateRig : HttpClient, OutputFiles, Clipboard, ProgramEnvironment {
  UpdateRig() {
    files.files[kTarget] = "die alte Version";
    boxes.answers = {true, true};
  }

  HttpResult Get(const HttpUrl& url, HttpReceiver& receiver, const HttpLimits&,
                 const std::atomic<bool>&) override {
    const auto found = answers.find(url.host + ":" + std::to_string(url.port) + url.object);
    const Answer answer = found == answers.end() ? Answer{404, "not here"} : found->second;
    if (answer.error && answer.cutAfter == std::string::npos)
      return {Status::kFailed, answer.error};
    std::optional<uint64_t> length;
    if (answer.announceLength)
      length = answer.body.size();
    if (!receiver.OnResponse(answer.status, length))
      return {Status::kStopped, 0};
    const size_t end = std::min(answer.body.size(), answer.cutAfter);
    for (size_t at = 0; at < end; at += kHttpBlockSize) {
      if (!receiver.OnBlock(answer.body.data() + at, std::min(kHttpBlockSize, end - at)))
        return {Status::kStopped, 0};
    }
    stop = answer.left == Status::kCancelled;
    return {answer.error ? Status::kFailed : answer.left, answer.error};
  }
  std::unique_ptr<OutputFile> CreateExclusive(const std::string& path) override {
    struct File : OutputFile {
      explicit File(std::string& target) : bytes(target) {}
      bool Write(const char* data, size_t size) override { return bytes.append(data, size), true; }
      bool Close() override { return true; }
      std::string& bytes;
    };
    return failCreate ? nullptr : std::make_unique<File>(files.files[path] = "");
  }
  bool SetText(NativeWindow, const std::string& text) override { return clipboard = text, true; }
  std::string ProgramPath() override { return "C:\\Programme\\Botenruf\\Botenruf.exe"; }
  std::string FileVersion() override { return version; }
  std::optional<std::string> Variable(const std::string& name) override {
    return name == kUpdateUrlVariable ? "http://127.0.0.1:8123/"s : std::optional<std::string>();
  }
  std::string Titles() const {
    std::string titles;
    for (const BoxRequest& box : boxes.boxes())
      titles += box.title + "|";
    return titles;
  }

  std::map<std::string, Answer> answers;
  Answer& list = answers["127.0.0.1:8123/Updates/_updates.txt"] = {200, ListWith("3;1;0;1")};
  Answer& file =
      answers["127.0.0.1:8123/Updates/Botenruf/Botenruf.zip"] = {200, std::string(3000, 'Z')};
  bool failCreate = false;
  std::atomic<bool> stop{false};
  std::string clipboard = "vorher", version = "3.1.0.0";
  fakes::FakeFileSystem files;
  fakes::FakeMessageBoxes boxes;
  UpdateServices services{*this, files, *this, boxes, *this, *this, stop};
};

// The server's, the connection's and the disk's failures.
TEST(UpdateCheckFailureTest, EachShowsOnlyItsOwnBoxesAndKeepsTheEarlierCopy) {
  // The titles of the boxes, each followed by "|", and the text that gives the reason.
  const std::string ask = "Update suchen...|", search = ask + "Suche nach Updates...|",
                    refused = search + "Fehler beim Herunterladen|",
                    broken = search + kApplicationTitle + "|Fehler beim Herunterladen|";
  const std::string none = "Keine neuere Version vorhanden",
                    fail = "Die Datei konnte nicht herunter geladen werden.\nErrorcode: ";
  using Case = std::tuple<const char*, std::function<void(UpdateRig&)>, std::string, std::string>;
  const Case cases[] = {
      {"no to the search", [](auto& t) { t.boxes.answers = {false}; }, ask, ""},
      {"older entry", [](auto& t) { t.list.body = ListWith("2;5;0;0"); }, search, none},
      {"own version unreadable", [](auto& t) { t.version = ""; }, search, none},
      {"none of ours", [](auto& t) { t.list.body = "netzmeister;9;0;0;0;;1;1;;n.zip;"; }, ask, ""},
      {"list missing", [](auto& t) { t.list.status = 404; }, ask, ""},
      {"no connection", [](auto& t) { t.list.error = 12029; }, ask + kApplicationTitle + "|",
       TransferErrorText(12029)},
      {"program file missing", [](auto& t) { t.file.status = 404; }, refused,
       fail + kHttpErrorText},
      {"a DLL to plant beside the program",
       [](auto& t) {
         t.list.body = "botenruf;9;0;0;0;;2;1;Updates/Botenruf/;VERSION.dll;";
         t.answers["127.0.0.1:8123/Updates/Botenruf/VERSION.dll"] = {200, "MZ"};
       },
       refused, fail + DownloadNameProblem("VERSION.dll", "")},
      {"folder not writable", [](auto& t) { t.failCreate = true; }, ask, ""},
      {"list too large", [](auto& t) { t.list.body += std::string(kVersionListLimit, '#'); },
       ask + "Fehler beim Herunterladen|", fail + TooLargeText(kVersionListLimit)},
      {"program file too large without a length",
       [](auto& t) { t.file.body.resize(kProgramFileLimit + 1), t.file.announceLength = false; },
       refused, fail + TooLargeText(kProgramFileLimit)},
      {"cut short without an error", [](auto& t) { t.file.cutAfter = 1024; }, broken,
       IncompleteTransferText(1024, 3000)},
      {"too slow after the first block",
       [](auto& t) { t.file.cutAfter = 1024, t.file.left = Status::kTooSlow; }, broken,
       SlowTransferText(1024)},
      {"longer than announced", [](auto& t) { t.file.left = Status::kOverlong; }, broken,
       OverlongTransferText(3000)},
      {"program ended during the download",
       [](auto& t) { t.file.cutAfter = 1024, t.file.left = Status::kCancelled; }, search, ""},
      {"broken after the first block",
       [](auto& t) { t.file.cutAfter = 1024, t.file.error = 12031; }, broken,
       TransferErrorText(12031)},
  };
  for (const auto& [what, setUp, titles, reasonText] : cases) {
    SCOPED_TRACE(what);
    UpdateRig t;
    setUp(t);
    CheckForUpdate(t.services, nullptr);
    EXPECT_EQ(t.Titles(), titles);
    const std::vector<BoxRequest> shown = t.boxes.boxes();
    // A broken transfer's own box gives the reason, else the last one.
    const auto own = std::find_if(shown.begin(), shown.end(), [](const BoxRequest& box) {
      return box.title == kApplicationTitle;
    });
    if (!reasonText.empty() && !shown.empty()) {
      EXPECT_EQ(own == shown.end() ? shown.back().text : own->text, reasonText);
    }
    EXPECT_THAT(t.files.files, ElementsAre(std::pair(kTarget, std::string("die alte Version"))));
    EXPECT_EQ(t.clipboard, "vorher");
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
  const UpdateEntry* e = FindUpdateEntry(entries, kUpdateKey);
  ASSERT_EQ(e, &entries[2]);
  EXPECT_EQ(std::tie(e->version, e->date, e->sizeUnit, e->size, e->path, e->fileName),
            std::make_tuple(Version{9, 0, 1, 2}, std::optional(ReleaseDate{2004, 12, 6}), 2, 1,
                            "Updates/Botenruf/", "Botenruf.zip"));
  EXPECT_EQ(FindUpdateEntry(entries, ""), nullptr);
  EXPECT_EQ(FindUpdateEntry(ParseUpdateList("# botenruf;9;0;0;0;;2;1;;a.zip;\n"), kUpdateKey),
            nullptr);
}

TEST(UpdateListTest, FieldsWithoutTheirSemicolonAreMissing) {
  // Only the first 1024 characters of a line are read.
  const std::string overLong = "botenruf;1;0;0;0;;1;1;" + std::string(1000, 'x') + ";a.zip;";
  const std::tuple<std::string, Version, int32_t, int32_t, std::string, bool> cases[] = {
      {"botenruf;3;1;0;7;2004.1.2;0;900;p/;a.zip;", {3, 1, 0, 7}, 0, 900, "a.zip", true},
      {"botenruf;3;1;0;7;2004.1.2;0;900;p/;a.zip", {3, 1, 0, 7}, 0, 900, "", true},
      {"botenruf;3;1", {3, -1, -1, -1}, -1, -1, "", false},
      {"botenruf;x3;;+4;-2;;7;12kB;;a.zip;", {0, 0, 4, -2}, 7, 12, "a.zip", false},
      {"botenruf;1;0;0;0;2004.0.6;1;1;;a.zip;", {1, 0, 0, 0}, 1, 1, "a.zip", false},
      {"botenruf;1;0;0;0;2004.12;3;1;;a.zip;", {1, 0, 0, 0}, 3, 1, "a.zip", false},
      {overLong, {1, 0, 0, 0}, 1, 1, "", false},
  };
  for (const auto& [line, version, unit, size, fileName, dated] : cases) {
    SCOPED_TRACE(line.substr(0, 60));
    const UpdateEntry e = ParseUpdateLine(line);
    EXPECT_EQ(std::make_tuple(e.name, e.version, e.sizeUnit, e.size, e.fileName, !!e.date),
              std::make_tuple(std::string("botenruf"), version, unit, size, fileName, dated));
  }
}

TEST(UpdateListTest, VersionsCompareFromTheMajorPartOn) {
  const std::tuple<Version, Version, bool> cases[] = {
      {{2, 5, 0, 0}, {3, 1, 0, 0}, false},  {{3, 1, 0, 1}, {3, 1, 0, 0}, true},
      {{3, 1, 0, 0}, {3, 1, 0, 0}, false},  {{4, 0, 0, 0}, {3, 9, 9, 9}, true},
      {{3, 0, 10, 0}, {3, 0, 9, 99}, true}, {{-1, -1, -1, -1}, {0, 0, 0, 0}, false},
  };
  for (const auto& [candidate, installed, newer] : cases)
    EXPECT_EQ(IsNewer(candidate, installed), newer) << VersionText(candidate);
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
                           "CONSOLE.zip", "a.ZIP", "b.Zip"})
    EXPECT_EQ(DownloadNameProblem(name, "Botenruf.exe"), "") << name;
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
        "http://server:65536/", "http://server:/", "http://ser ver/", "http://user@server/", ""})
    EXPECT_FALSE(SplitHttpUrl(url)) << url;
  const HttpUrl from{"h", 8123, "/hop/5?x=1"};
  const std::pair<const char*, HttpUrl> redirects[] = {
      {"/a/b.zip", {"h", 8123, "/a/b.zip"}},      {"4", {"h", 8123, "/hop/4"}},
      {"http://other:81/x", {"other", 81, "/x"}}, {"//other/x?y", {"other", 80, "/x?y"}},
      {"HTTP://h/y#teil", {"h", 80, "/y"}},
  };
  for (const auto& [location, to] : redirects)
    EXPECT_EQ(ResolveRedirect(from, location), to) << location;
  for (const char* location : {"https://h/x", "ftp://h/x", "mailto:x", ""})
    EXPECT_FALSE(ResolveRedirect(from, location)) << location;
  EXPECT_TRUE(IsHttpRedirect(302));
  EXPECT_TRUE(IsHttpRedirect(307));
  EXPECT_FALSE(IsHttpRedirect(304));

  // The answer's head and the request, as the program's own client reads and writes them.
  const std::optional<HttpResponseHead> head =
      ParseResponseHead("HTTP/1.1 302 Found\r\ncontent-length:  12 \r\nLocation: /x\r\n");
  ASSERT_TRUE(head);
  EXPECT_EQ(std::tie(head->status, head->contentLength, head->location, head->chunked),
            std::make_tuple(302u, std::optional<uint64_t>(12), std::string("/x"), false));
  EXPECT_TRUE(ParseResponseHead("HTTP/1.0 200 OK\r\nTransfer-Encoding: chunked\r\n")->chunked);
  for (const char* bad : {"", "HTTP/1.0", "HTTP/1.0 20", "HTTP/1.0 2000 OK", "ICY 200 OK"})
    EXPECT_FALSE(ParseResponseHead(bad)) << bad;
  EXPECT_THAT(GetRequestText({"h", 8123, "/a b\r\nX: y.zip"}),
              ::testing::StartsWith("GET /a%20b%0D%0AX:%20y.zip HTTP/1.0\r\nHost: h:8123\r\n"));
  EXPECT_THAT(GetRequestText({"h", 80, "/"}), ::testing::HasSubstr("\r\nHost: h\r\n"));

  EXPECT_EQ(ParseContentLength("70000000"), 70000000u);
  for (const char* length : {"12 ", "-1", ""})
    EXPECT_FALSE(ParseContentLength(length)) << length;

  EXPECT_EQ(UpdateBaseUrl(std::nullopt), kDefaultUpdateBaseUrl);
  EXPECT_EQ(UpdateBaseUrl(""), kDefaultUpdateBaseUrl);
  EXPECT_EQ(UpdateBaseUrl("http://mirror/botenruf"), "http://mirror/botenruf/");
}

// A slow line may take its time, a server that sends almost nothing may not.
TEST(HttpPaceTest, TheDownloadMayTakeLongerTheMoreItReceives) {
  const HttpLimits list = kVersionListTimes, file = kDownloadTimes;
  using P = TransferPace;
  // What, limits, elapsed and quiet ms, answered, bytes received, and the verdict.
  const std::tuple<const char*, HttpLimits, uint64_t, uint64_t, bool, uint64_t, P> cases[] = {
      {"list past its minute", list, 60001, 100, true, 60000, P::kTooLong},
      {"64 MB at 8 KB a second", file, 8192000, 125, true, 64 << 20, P::kGoOn},
      {"no answer yet, in the first minute", file, 59000, 59000, false, 0, P::kGoOn},
      {"no answer after the first minute", file, 60001, 60001, false, 0, P::kTooSlow},
      {"1 KB a second on average", file, 120000, 3000, true, 60 * 1024, P::kGoOn},
      {"a little less", file, 120001, 3000, true, 60 * 1024, P::kTooSlow},
      {"20 s without data", file, 30000, 20001, true, 5 * 1024 * 1024, P::kSilent},
  };
  for (const auto& [what, limits, elapsedMs, quietMs, answered, bytes, pace] : cases)
    EXPECT_EQ(JudgePace(limits, elapsedMs, quietMs, answered, bytes), pace) << what;
}

// A transfer that is left (too slow, at the program's end, or refused by its receiver, however
// long it then takes to close) is told so at once, and writes into no receiver that its caller
// has let go.
TEST(HttpDeadlineTest, ALeftTransferIsToldAndReachesTheReceiverNoMore) {
  const std::tuple<const char*, HttpLimits, bool, bool, Status> cases[] = {
      {"below the rate", {0, 60000, 50, 1024}, false, false, Status::kTooSlow},
      {"the program ends", {0, 60000, 60000}, true, false, Status::kCancelled},
      {"the answer refused", {0, 60000, 60000}, false, true, Status::kStopped},
  };
  for (const auto& [what, limits, programEnds, refused, status] : cases) {
    SCOPED_TRACE(what);
    struct Late {
      std::promise<void> release;
      std::promise<bool> accepted;
      std::atomic<bool> stop{false}, told{false};
    };
    auto late = std::make_shared<Late>();
    struct Untouched : HttpReceiver {
      bool OnResponse(uint32_t, std::optional<uint64_t>) override { return !refuses; }
      bool OnBlock(const char*, size_t) override { return touched = true; }
      bool refuses = false, touched = false;
    } receiver;
    receiver.refuses = refused;
    const HttpResult left = RunWithinLimits(
        [late, programEnds, released = late->release.get_future().share()](
            HttpReceiver& to, const std::atomic<bool>& told) {
          to.OnResponse(200, std::nullopt);
          late->stop = programEnds;
          released.wait();
          late->told = told.load();
          late->accepted.set_value(to.OnBlock("x", 1));
          return HttpResult{Status::kComplete, 0};
        },
        receiver, limits, late->stop);
    EXPECT_EQ(left.status, status);
    std::future<bool> accepted = late->accepted.get_future();
    late->release.set_value();
    ASSERT_EQ(accepted.wait_for(std::chrono::seconds(10)), std::future_status::ready);
    EXPECT_FALSE(accepted.get());
    EXPECT_TRUE(late->told);
    EXPECT_FALSE(receiver.touched);
  }
}

}  // namespace
}  // namespace botenruf
