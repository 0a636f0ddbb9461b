#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>

#include "fakes/fake_file_system.h"
#include "fakes/fake_message_boxes.h"
#include "update/update_check.h"
#include "update/update_rules.h"

namespace botenruf {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

struct Answer {
  uint32_t status = 200;
  std::string body;
  bool announceLength = true;
  size_t cutAfter = std::string::npos;  // the server stops sending here
  uint32_t error = 0;  // with cutAfter: the client reports this; without: no connection at all
};

// Serves scripted answers by object; every request is recorded.
class FakeHttpClient : public HttpClient {
 public:
  HttpResult Get(const HttpUrl& url, HttpReceiver& receiver) override {
    const std::string key = url.host + ":" + std::to_string(url.port) + url.object;
    requests.push_back(key);
    auto it = answers.find(key);
    const Answer& answer = it == answers.end() ? kNotFound : it->second;
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
    if (answer.error)
      return {HttpResult::Status::kFailed, answer.error};
    return {HttpResult::Status::kComplete, 0};
  }
  std::map<std::string, Answer> answers;  // by "host:port/object"
  std::vector<std::string> requests;
  const Answer kNotFound{404, "not here"};
};

// Writes into the fake file system, so that a half-written file is seen as such.
class FakeOutputFiles : public OutputFiles {
 public:
  explicit FakeOutputFiles(fakes::FakeFileSystem& files) : files_(files) {}
  std::unique_ptr<OutputFile> CreateExclusive(const std::string& path) override;
  bool failCreate = false;

 private:
  fakes::FakeFileSystem& files_;
};

class FakeOutputFile : public OutputFile {
 public:
  FakeOutputFile(fakes::FakeFileSystem& files, std::string path)
      : files_(files), path_(std::move(path)) {}
  bool Write(const char* data, size_t size) override {
    files_.files[path_].append(data, size);
    return true;
  }
  bool Close() override { return true; }

 private:
  fakes::FakeFileSystem& files_;
  std::string path_;
};

std::unique_ptr<OutputFile> FakeOutputFiles::CreateExclusive(const std::string& path) {
  if (failCreate)
    return nullptr;
  files_.files[path].clear();
  return std::make_unique<FakeOutputFile>(files_, path);
}

class FakeClipboard : public Clipboard {
 public:
  bool SetText(NativeWindow, const std::string& value) override {
    text = value;
    return true;
  }
  std::string text = "vorher";
};

class FakeProgram : public ProgramEnvironment {
 public:
  std::string ProgramPath() override { return "C:\\Programme\\Botenruf\\Botenruf.exe"; }
  std::string FileVersion() override { return version; }
  std::optional<std::string> Variable(const std::string& name) override {
    return name == kUpdateUrlVariable ? baseUrl : std::nullopt;
  }
  std::string version = "3.1.0.0";
  std::optional<std::string> baseUrl = "http://127.0.0.1:8123/";
};

constexpr char kFolder[] = "C:\\Programme\\Botenruf\\";
const std::string kTarget = std::string(kFolder) + "Botenruf.zip";
constexpr char kList[] = "127.0.0.1:8123/Updates/_updates.txt";
constexpr char kFile[] = "127.0.0.1:8123/Updates/Botenruf/Botenruf.zip";

std::string ListWith(const std::string& version, const std::string& name = "Botenruf.zip") {
  return "# Versionen\r\nnetzmeister;9;9;9;9;2004.3.1;1;512;Updates/Netz/;Netz.zip;\r\n"
         "botenruf;" +
         version + ";2004.12.6;2;1;Updates/Botenruf/;" + name + ";\r\n";
}

struct UpdateRig {
  UpdateRig() {
    http.answers[kList] = {200, ListWith("3;1;0;1")};
    http.answers[kFile] = {200, std::string(3000, 'Z')};
  }
  void Check() { CheckForUpdate(services, nullptr); }
  std::vector<std::string> Titles() const {
    std::vector<std::string> titles;
    for (const BoxRequest& box : boxes.boxes())
      titles.push_back(box.title);
    return titles;
  }

  FakeHttpClient http;
  fakes::FakeFileSystem files;
  FakeOutputFiles outputs{files};
  fakes::FakeMessageBoxes boxes;
  FakeClipboard clipboard;
  FakeProgram program;
  UpdateServices services{http, files, outputs, boxes, clipboard, program};
};

class UpdateCheckTest : public ::testing::Test, public UpdateRig {};

TEST_F(UpdateCheckTest, NewerVersionIsDownloadedBesideTheProgramAndItsPathCopied) {
  boxes.answers = {true, true};
  Check();
  const std::vector<BoxRequest> shown = boxes.boxes();
  ASSERT_EQ(shown.size(), 3u);
  EXPECT_EQ(shown[0], SearchQuestionBox());
  EXPECT_EQ(shown[1].text,
            "Es existiert eine neuere Programm-Version:\nLokale Version:   3.1.0.0\n"
            "Aktuelle Version: 3.1.0.1\nGröße: 1 MB\nHerunterladen ?");
  EXPECT_EQ(shown[2], (BoxRequest{"Die neue Version (3.1.0.1) steht nun unter dem Pfad\n\"" +
                                      kTarget + "\"\nzur Verfügung.",
                                  "Herunterladen erfolgreich", BoxIcon::kInformation}));
  EXPECT_THAT(http.requests, ElementsAre(kList, kFile));
  // Only the program file is left: the list and the temporary files are gone.
  ASSERT_EQ(files.files.size(), 1u);
  EXPECT_EQ(files.files[kTarget], std::string(3000, 'Z'));
  EXPECT_EQ(clipboard.text, kTarget);
  EXPECT_EQ(boxes.waitCursors, 0);
}

TEST_F(UpdateCheckTest, EveryOtherOutcomeShowsOnlyItsOwnBoxes) {
  const std::string kAsk = "Update suchen...", kSearch = "Suche nach Updates...",
                    kFailed = "Fehler beim Herunterladen", kBroken = kApplicationTitle;
  struct Case {
    const char* what;
    std::function<void(UpdateRig&)> setUp;
    std::vector<bool> answers;
    std::vector<std::string> titles;
    std::string lastText;  // of the last box, when it matters
    size_t requests;
  } cases[] = {
      {"no to the search", [](auto&) {}, {false}, {kAsk}, "", 0},
      {"no to the offer", [](auto&) {}, {true, false}, {kAsk, kSearch}, "", 1},
      {"same version",
       [](auto& t) { t.program.version = "3.1.0.1"; },
       {true},
       {kAsk, kSearch},
       "Keine neuere Version vorhanden",
       1},
      {"older entry",
       [](auto& t) { t.http.answers[kList].body = ListWith("2;5;0;0"); },
       {true},
       {kAsk, kSearch},
       "Keine neuere Version vorhanden",
       1},
      {"own version unreadable",
       [](auto& t) { t.program.version = ""; },
       {true},
       {kAsk, kSearch},
       "Keine neuere Version vorhanden",
       1},
      {"no entry of ours",
       [](auto& t) { t.http.answers[kList].body = "netzmeister;9;0;0;0;;1;1;;n.zip;\r\n"; },
       {true},
       {kAsk},
       "",
       1},
      {"list missing", [](auto& t) { t.http.answers.erase(kList); }, {true}, {kAsk}, "", 1},
      {"server not there",
       [](auto& t) { t.http.answers[kList].error = 12029; },
       {true},
       {kAsk, kBroken},
       TransferErrorText(12029),
       1},
      {"list too large",
       [](auto& t) { t.http.answers[kList].body += std::string(kVersionListLimit, '#'); },
       {true},
       {kAsk, kFailed},
       "Die Datei konnte nicht herunter geladen werden.\nErrorcode: " +
           TooLargeText(kVersionListLimit),
       1},
      {"program file 404",
       [](auto& t) { t.http.answers.erase(kFile); },
       {true, true},
       {kAsk, kSearch, kFailed},
       "Die Datei konnte nicht herunter geladen werden.\nErrorcode: " + std::string(kHttpErrorText),
       2},
      {"traversal name",
       [](auto& t) { t.http.answers[kList].body = ListWith("3;1;0;1", "..\\Botenruf.exe"); },
       {true, true},
       {kAsk, kSearch, kFailed},
       "",
       1},
      {"program file too large",
       [](auto& t) {
         t.http.answers[kFile] = {200, std::string(5000, 'Z'), false};
         t.http.answers[kFile].body.resize(kProgramFileLimit + 1, 'Z');
       },
       {true, true},
       {kAsk, kSearch, kFailed},
       "",
       2},
      {"cut without an error",
       [](auto& t) { t.http.answers[kFile].cutAfter = 2000; },
       {true, true},
       {kAsk, kSearch, kBroken, kFailed},
       "Die Datei konnte nicht herunter geladen werden.\nErrorcode: ",
       2},
      {"cut with an error",
       [](auto& t) {
         t.http.answers[kFile].cutAfter = 1024;
         t.http.answers[kFile].error = 12031;
       },
       {true, true},
       {kAsk, kSearch, kBroken, kFailed},
       "",
       2},
      {"folder not writable", [](auto& t) { t.outputs.failCreate = true; }, {true}, {kAsk}, "", 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    UpdateRig t;
    t.files.files[kTarget] = "die alte Version";
    c.setUp(t);
    t.boxes.answers.assign(c.answers.begin(), c.answers.end());
    t.Check();
    EXPECT_THAT(t.Titles(), ElementsAreArray(c.titles));
    if (!c.lastText.empty() && !t.boxes.boxes().empty()) {
      EXPECT_EQ(t.boxes.boxes().back().text, c.lastText);
    }
    EXPECT_EQ(t.http.requests.size(), c.requests);
    // Nothing beside the earlier copy is left behind, and that copy is untouched.
    EXPECT_EQ(t.files.files.size(), 1u);
    EXPECT_EQ(t.files.files[kTarget], "die alte Version");
    EXPECT_EQ(t.clipboard.text, "vorher");
    EXPECT_EQ(t.boxes.waitCursors, 0);
  }
}

TEST_F(UpdateCheckTest, WithoutTheVariableTheMakersServerIsAsked) {
  program.baseUrl = std::nullopt;
  boxes.answers = {true};
  Check();
  EXPECT_THAT(http.requests, ElementsAre("updates.botenruf.example:80/Updates/_updates.txt"));
}

}  // namespace
}  // namespace botenruf
