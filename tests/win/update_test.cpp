// The update check of the real program against a small HTTP server on 127.0.0.1
// (support/update_server.py, started here), answered in real boxes; the failures are host-tested.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <windows.h>

#include <wininet.h>

#include <algorithm>
#include <memory>
#include <thread>

#include "app/settings_store.h"
#include "platform/win32/win32_http_client.h"
#include "platform/win32/win32_services.h"
#include "resource.h"
#include "support/win_test_support.h"
#include "update/update_rules.h"

namespace botenruf {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using wintest::ClipboardText;
using wintest::FilesIn;
using wintest::PumpUntil;
using wintest::ReadTextFile;
using wintest::WriteTextFile;

// The Z: path of a file of this build as Linux sees it.
std::string UnixPath(std::string path) {
  std::replace(path.begin(), path.end(), '\\', '/');
  return path.substr(2);
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
      win::Win32HttpClient().Get(*quit, ignore, kUpdateLimits);
  }
  static void Serve(const std::string& path, const std::string& bytes) {
    ASSERT_TRUE(WriteTextFile(root + "\\" + path, bytes));
  }
  static inline std::string root;
  static inline std::string baseUrl;
};
::testing::Environment* const kServer = ::testing::AddGlobalTestEnvironment(new UpdateServer);

const std::string kAsk = "Update suchen...", kSearch = "Suche nach Updates...",
                  kDone = "Herunterladen erfolgreich";

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
  UpdateServer::Serve("Updates\\_updates.txt",
                      "# Versionen\r\nnetzmeister;9;9;9;9;2004.3.1;1;512;Updates/;Botenruf.zip;\r\n"
                      "botenruf;9;1;0;0;2004.12.6;2;1;Updates/;Botenruf-9.1.zip;\r\n");
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

struct Received : HttpReceiver {
  bool OnResponse(uint32_t, std::optional<uint64_t>) override { return true; }
  bool OnBlock(const char* data, size_t size) override {
    body.append(data, size);
    return true;
  }
  std::string body;
  HttpResult result;
};

// The client's Get on a thread of its own, so that a transfer without end fails the test rather
// than holding it; null when it has not ended 5 s after its total time.
std::shared_ptr<Received> GetInTime(const std::string& url, const HttpLimits& limits) {
  auto received = std::make_shared<Received>();
  HANDLE ended = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  std::thread([received, url, limits, ended] {
    received->result = win::Win32HttpClient().Get(*SplitHttpUrl(url), *received, limits);
    SetEvent(ended);
  }).detach();
  if (WaitForSingleObject(ended, limits.totalMs + 5000) != WAIT_OBJECT_0)
    return nullptr;  // the event stays with the transfer that still runs
  CloseHandle(ended);
  return received;
}

// Answers that once held the window for minutes, and redirects: each transfer ends within its
// limits (short ones here, so that the test does not wait for the program's own).
TEST(UpdateTransferTest, FaultyServersHoldATransferNoLongerThanItsLimits) {
  constexpr HttpLimits kShort{2000, 1500, 3000};
  using Status = HttpResult::Status;
  struct Case {
    const char* object;
    std::optional<Status> status;  // none: either way, but in time
    DWORD error;                   // 0: any
    const char* body;              // when complete
  } cases[] = {
      {"silent", Status::kFailed, 0, ""},  // by the request's own timeout, before the total
      {"long", std::nullopt, 0, "hello"},
      {"trickle", Status::kTimedOut, 0, ""},
      {"trickle-head", Status::kTimedOut, 0, ""},
      {"to-https", Status::kFailed, ERROR_HTTP_REDIRECT_FAILED, ""},
      {"hop/5", Status::kComplete, 0, "angekommen"},
      {"hop/6", Status::kFailed, ERROR_HTTP_REDIRECT_FAILED, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.object);
    const DWORD start = GetTickCount();
    const std::shared_ptr<Received> got = GetInTime(UpdateServer::baseUrl + c.object, kShort);
    if (!got) {
      ADD_FAILURE() << "still running";
      continue;
    }
    EXPECT_LE(GetTickCount() - start, kShort.totalMs + 1000);
    if (c.status) {
      EXPECT_EQ(got->result.status, *c.status);
    }
    if (c.error) {
      EXPECT_EQ(got->result.error, c.error);
    }
    if (got->result.status == Status::kComplete) {
      EXPECT_EQ(got->body, c.body);
    }
  }
}

}  // namespace
}  // namespace botenruf
