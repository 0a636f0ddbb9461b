// The update check's failures with scripted transfers; tests/win/update_test.cpp runs a
// download against a real server.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
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
  size_t cutAfter = std::string::npos;  // the client reports `error` after this many bytes
  uint32_t error = 0;                   // without cutAfter: no connection at all
};

// Answers by "host:port/object", records every request, and writes output files into the fake
// file system so that a half-written file is seen as such.
class FakeInternet : public HttpClient, public OutputFiles {
 public:
  explicit FakeInternet(fakes::FakeFileSystem& files) : files_(files) {}

  HttpResult Get(const HttpUrl& url, HttpReceiver& receiver) override {
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
  UpdateServices services{internet, files, internet, boxes, desktop, desktop};
};

// The server's and the disk's failures; what a real server can do is in the Wine test.
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

}  // namespace
}  // namespace botenruf
