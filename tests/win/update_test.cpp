// The update check against a small HTTP server on 127.0.0.1 (support/update_server.py, started
// here): the real main window with recorded boxes, and the real program with real boxes.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>

#include "app/settings_store.h"
#include "platform/win32/win32_desktop_services.h"
#include "platform/win32/win32_http_client.h"
#include "resource.h"
#include "support/main_window_fixture.h"
#include "support/win_test_support.h"
#include "update/update_rules.h"

namespace botenruf {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::HasSubstr;
using wintest::FilesIn;
using wintest::PumpUntil;
using wintest::ReadTextFile;
using wintest::WriteTextFile;

// The Z: path of a file of this build as Linux sees it.
std::string UnixPath(std::string path) {
  for (char& c : path) {
    if (c == '\\')
      c = '/';
  }
  return path.substr(2);
}

std::string ClipboardText() {
  std::string text = "<empty>";
  if (!OpenClipboard(nullptr))
    return "<not open>";
  if (HANDLE data = GetClipboardData(CF_TEXT)) {
    if (const char* bytes = static_cast<const char*>(GlobalLock(data))) {
      text = bytes;
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

// The server runs as a Linux process; Wine gives no handle to it, so it is ended by a request.
class UpdateServer : public ::testing::Environment {
 public:
  void SetUp() override {
    root = wintest::ScratchDir("UpdateServerRoot");
    CreateDirectoryA((root + "\\Updates").c_str(), nullptr);
    const std::string portFile = root + "\\port.txt";
    std::string commandLine = "Z:\\usr\\bin\\python3 " +
                              UnixPath(wintest::kTestDataDir + "/../win/support/update_server.py") +
                              " --root " + UnixPath(root) + " --port-file " + UnixPath(portFile);
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info = {};  // a Linux process: Wine gives no handles to it
    ASSERT_TRUE(CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               nullptr, &startup, &info));
    ASSERT_TRUE(PumpUntil([&] { return !ReadTextFile(portFile).empty(); }, 20000));
    baseUrl = "http://127.0.0.1:" + ReadTextFile(portFile) + "/";
  }
  void TearDown() override {
    struct Ignore : HttpReceiver {
      bool OnResponse(uint32_t, std::optional<uint64_t>) override { return true; }
      bool OnBlock(const char*, size_t) override { return true; }
    } ignore;
    if (const auto quit = SplitHttpUrl(baseUrl + "quit"))  // none when the start failed
      win::Win32HttpClient().Get(*quit, ignore);
  }
  static void Serve(const std::string& path, const std::string& bytes) {
    ASSERT_TRUE(WriteTextFile(root + "\\" + path, bytes));
  }
  static inline std::string root;
  static inline std::string baseUrl;
};
::testing::Environment* const kServer = ::testing::AddGlobalTestEnvironment(new UpdateServer);

// The program's folder is the test's scratch folder; everything else is the real thing.
class ScratchProgram : public win::Win32ProgramEnvironment {
 public:
  explicit ScratchProgram(std::string path) : path_(std::move(path)) {}
  std::string ProgramPath() override { return path_; }

 private:
  std::string path_;
};

std::string ListWith(const std::string& versionFields, const std::string& path,
                     const std::string& fileName) {
  return "# Versionen\r\nnetzmeister;9;9;9;9;2004.3.1;1;512;Updates/;Botenruf.zip;\r\n"
         "botenruf;" +
         versionFields + ";2004.12.6;2;1;" + path + ";" + fileName + ";\r\n";
}

const std::string kAsk = "Update suchen...", kSearch = "Suche nach Updates...",
                  kFailed = "Fehler beim Herunterladen", kBroken = kApplicationTitle,
                  kDone = "Herunterladen erfolgreich";

class UpdateTest : public wintest::MainWindowFixture {
 protected:
  void SetUp() override {
    SetEnvironmentVariableA(kUpdateUrlVariable, UpdateServer::baseUrl.c_str());
    services.update = {std::make_shared<win::Win32HttpClient>(),
                       std::make_shared<win::Win32OutputFiles>(),
                       std::make_shared<win::Win32Clipboard>(),
                       std::make_shared<ScratchProgram>(scratch + "\\Botenruf.exe")};
    UseListFile("");
  }
  std::vector<std::string> Titles() const {
    std::vector<std::string> titles;
    for (const BoxRequest& box : boxes->boxes())
      titles.push_back(box.title);
    return titles;
  }
};

// Everything but a download, which the real program shows below.
TEST_F(UpdateTest, EveryOtherOutcomeKeepsTheEarlierCopyAndWritesNothingElse) {
  UpdateServer::Serve("Updates\\Botenruf.zip", std::string(4000, 'N'));
  UpdateServer::Serve("Botenruf.exe", "fremd");
  const std::string failure = "Die Datei konnte nicht herunter geladen werden.\nErrorcode: ";
  struct Case {
    const char* what;
    std::string list;
    std::vector<bool> answers;
    std::vector<std::string> titles;
    std::string lastText;
    std::string baseUrl = UpdateServer::baseUrl;
  } cases[] = {
      {"program file missing",
       ListWith("9;0;0;0", "Updates/", "Fehlt.zip"),
       {true, true},
       {kAsk, kSearch, kFailed},
       failure + kHttpErrorText},
      {"name leaving the folder",
       ListWith("9;0;0;0", "", "..\\Botenruf.exe"),
       {true, true},
       {kAsk, kSearch, kFailed},
       failure + DownloadNameProblem("..\\Botenruf.exe", "")},
      {"connection cut mid-body",
       ListWith("9;0;0;0", "cut/Updates/", "Botenruf.zip"),
       {true, true},
       {kAsk, kSearch, kBroken, kFailed},
       failure},
      {"server not there", "", {true}, {kAsk, kBroken}, "", "http://127.0.0.1:1/"},
  };
  Open();
  EXPECT_EQ(GetMenuState(GetMenu(window_), IDM_UPDATE, MF_BYCOMMAND) & MF_GRAYED, 0u);
  win::Win32Clipboard().SetText(window_, "vorher");
  const std::string target = scratch + "\\Botenruf.zip";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    UpdateServer::Serve("Updates\\_updates.txt", c.list);
    WriteTextFile(target, "alte Version");
    SetEnvironmentVariableA(kUpdateUrlVariable, c.baseUrl.c_str());
    boxes->Clear();
    boxes->answers.assign(c.answers.begin(), c.answers.end());
    Command(IDM_UPDATE);
    EXPECT_THAT(Titles(), ElementsAreArray(c.titles));
    if (!c.lastText.empty() && !boxes->boxes().empty()) {
      EXPECT_EQ(boxes->boxes().back().text, c.lastText);
    }
    EXPECT_THAT(FilesIn(scratch + "\\*"), ElementsAre("Botenruf.zip", "Rechner.txt"));
    EXPECT_EQ(ReadTextFile(target), "alte Version");
    EXPECT_EQ(ClipboardText(), "vorher");
  }
  EXPECT_THAT(FilesIn(scratch + "\\..\\*"), ::testing::Not(::testing::Contains("Botenruf.exe")));
}

// The text of a message box (the static control every message box carries).
std::string MessageText(HWND box) {
  return wintest::ItemText(box, 0xFFFF);
}

// The real program from a folder of its own (the same version block as this test program), with
// real boxes answered like a user would.
TEST(UpdateProgramTest, ProgramAsksOffersDownloadsAndReportsInRealBoxes) {
  const std::string folder = wintest::ScratchDir("UpdateProgram");
  wintest::DeleteUserKeyTree(kSettingsKey);
  wintest::WriteUserString(kSettingsKey, "RechnerListePfad", folder + "\\Rechner.txt");
  ASSERT_TRUE(CopyFileA(wintest::kProgramPath.c_str(), (folder + "\\Botenruf.exe").c_str(), FALSE));
  UpdateServer::Serve("Updates\\_updates.txt", ListWith("9;1;0;0", "Updates/", "Botenruf-9.1.zip"));
  std::string bytes;
  for (int i = 0; i < 5000; ++i)
    bytes += static_cast<char>(i * 7);  // every byte value, over several blocks
  UpdateServer::Serve("Updates\\Botenruf-9.1.zip", bytes);
  SetEnvironmentVariableA(kUpdateUrlVariable, UpdateServer::baseUrl.c_str());

  wintest::ProgramProcess program("", folder + "\\Botenruf.exe");
  HWND window = wintest::WaitForWindow("Botenruf", 20000, program.id());
  ASSERT_NE(window, nullptr);
  PostMessageA(window, WM_COMMAND, IDM_UPDATE, 0);

  HWND ask = wintest::WaitForWindow(kAsk, 10000, program.id());
  ASSERT_NE(ask, nullptr);
  EXPECT_EQ(MessageText(ask), SearchQuestionBox().text);
  wintest::Click(ask, IDYES);

  HWND offer = wintest::WaitForWindow(kSearch, 10000, program.id());
  ASSERT_NE(offer, nullptr);
  EXPECT_THAT(MessageText(offer), HasSubstr("Lokale Version:   " + win::ReadOwnFileVersion() +
                                            "\nAktuelle Version: 9.1.0.0\nGröße: 1 MB"));
  wintest::Click(offer, IDYES);

  // The program names its folder as the system does, with backslashes.
  std::string target = folder + "\\Botenruf-9.1.zip";
  std::replace(target.begin(), target.end(), '/', '\\');
  HWND done = wintest::WaitForWindow(kDone, 10000, program.id());
  ASSERT_NE(done, nullptr);
  EXPECT_EQ(MessageText(done), DownloadSuccessBox({9, 1, 0, 0}, target).text);
  wintest::Click(done, IDOK);

  EXPECT_TRUE(PumpUntil([&] { return ClipboardText() == target; }, 5000)) << ClipboardText();
  EXPECT_EQ(ReadTextFile(target), bytes);
  EXPECT_THAT(FilesIn(folder + "\\*"), ElementsAre("Botenruf-9.1.zip", "Botenruf.exe"));
  PostMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_TRUE(program.WaitForExit(10000));
}

}  // namespace
}  // namespace botenruf
