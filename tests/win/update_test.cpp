// The update check of the real program against a small HTTP server on 127.0.0.1
// (support/update_server.py, started here), answered in real boxes; the failures are host-tested.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <windows.h>

#include <wininet.h>

#include <algorithm>
#include <atomic>
#include <future>
#include <memory>
#include <optional>
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

const std::atomic<bool> kGoOn{false};  // the stop of transfers that nobody stops

// Takes what comes, as long as it is not announced larger than a program file may be.
struct Received : HttpReceiver {
  bool OnResponse(uint32_t, std::optional<uint64_t> length) override {
    return length.value_or(0) <= kProgramFileLimit;
  }
  bool OnBlock(const char* data, size_t size) override { return body.append(data, size), true; }
  std::string body;
  HttpResult result;
};

// The server runs as a Linux process; Wine gives no handle to it, so it is ended by a request.
class UpdateServer : public ::testing::Environment {
 public:
  void SetUp() override {
    root = wintest::ScratchDir("UpdateServerRoot");
    CreateDirectoryA((root + "\\Updates").c_str(), nullptr);
    const std::string portFile = root + "\\port.txt";
    process.emplace(UnixPath(wintest::kTestDataDir + "/../win/support/update_server.py") +
                        " --root " + UnixPath(root) + " --port-file " + UnixPath(portFile),
                    "Z:\\usr\\bin\\python3");
    ASSERT_TRUE(PumpUntil([&] { return !ReadTextFile(portFile).empty(); }, 20000));
    baseUrl = "http://127.0.0.1:" + ReadTextFile(portFile) + "/";
  }
  void TearDown() override {
    Received ignore;
    if (const auto quit = SplitHttpUrl(baseUrl + "quit"))  // none when the start failed
      win::Win32HttpClient().Get(*quit, ignore, kVersionListTimes, kGoOn);
  }
  static void Serve(const std::string& path, const std::string& bytes) {
    ASSERT_TRUE(WriteTextFile(root + "\\" + path, bytes));
  }
  static inline std::string root, baseUrl;
  static inline std::optional<wintest::ProgramProcess> process;
};
::testing::Environment* const kServer = ::testing::AddGlobalTestEnvironment(new UpdateServer);

const std::string kAsk = "Update suchen...", kSearch = "Suche nach Updates...",
                  kDone = "Herunterladen erfolgreich";

// The real program from a folder of its own (the same version block as this test program),
// offered version 9.1 by the server at `base`, whose entry's file lies under `path`.
struct UpdateProgram {
  explicit UpdateProgram(const std::string& base, const std::string& path = "Updates/")
      : folder(wintest::ScratchDir("UpdateProgram")) {
    wintest::DeleteUserKeyTree(kSettingsKey);
    wintest::WriteUserString(kSettingsKey, "RechnerListePfad", folder + "\\Rechner.txt");
    EXPECT_TRUE(
        CopyFileA(wintest::kProgramPath.c_str(), (folder + "\\Botenruf.exe").c_str(), FALSE));
    std::replace(target.begin(), target.end(), '/', '\\');  // as the system names the folder
    UpdateServer::Serve("Updates\\_updates.txt",
                        "botenruf;9;1;0;0;2004.12.6;2;1;" + path + ";Botenruf-9.1.zip;");
    SetEnvironmentVariableA(kUpdateUrlVariable, base.c_str());
    program.emplace("", folder + "\\Botenruf.exe");
    window = wintest::WaitForWindow("Botenruf", 20000, program->id());
    EXPECT_NE(window, nullptr);
  }
  // Answers the next box of this title (0 leaves it open) and gives its text.
  std::string Answer(const std::string& title, int button) {
    answered = wintest::WaitForWindow(title, 10000, program->id());
    EXPECT_NE(answered, nullptr) << title;
    const std::string text = answered ? wintest::ItemText(answered, 0xFFFF /* static */) : "";
    if (answered && button)
      wintest::Click(answered, button);
    return text;
  }

  std::string folder;
  std::string target = folder + "\\Botenruf-9.1.zip";
  std::optional<wintest::ProgramProcess> program;
  HWND window = nullptr, answered = nullptr;
};

// Answered in real boxes, modal to the main window.
TEST(UpdateProgramTest, ProgramAsksOffersDownloadsAndReportsInRealBoxes) {
  std::string bytes;
  for (int i = 0; i < 5000; ++i)
    bytes += static_cast<char>(i * 7);  // every byte value, over several blocks
  UpdateServer::Serve("Updates\\Botenruf-9.1.zip", bytes);
  UpdateProgram p(UpdateServer::baseUrl);
  PostMessageA(p.window, WM_COMMAND, IDM_UPDATE, 0);

  EXPECT_EQ(p.Answer(kAsk, IDYES), SearchQuestionBox().text);
  EXPECT_THAT(p.Answer(kSearch, 0), HasSubstr("Lokale Version:   " + win::ReadOwnFileVersion() +
                                              "\nAktuelle Version: 9.1.0.0\nGröße: 1 MB"));
  EXPECT_EQ(GetWindow(p.answered, GW_OWNER), p.window);  // modal to the window, as ever
  wintest::Click(p.answered, IDYES);
  EXPECT_EQ(p.Answer(kDone, IDOK), DownloadSuccessBox({9, 1, 0, 0}, p.target).text);

  EXPECT_TRUE(PumpUntil([&] { return ClipboardText() == p.target; }, 5000)) << ClipboardText();
  EXPECT_EQ(ReadTextFile(p.target), bytes);
  EXPECT_THAT(FilesIn(p.folder + "\\*"), ElementsAre("Botenruf-9.1.zip", "Botenruf.exe"));
  PostMessageA(p.window, WM_CLOSE, 0, 0);
  EXPECT_TRUE(p.program->WaitForExit(10000));
}

// Each check makes its request and ends with its box, also when it starts the moment the box
// of the one before closes.
TEST(UpdateProgramTest, ChecksOneAfterAnotherEachAskAndEndWithTheirBox) {
  UpdateProgram p(UpdateServer::baseUrl);
  const std::string failed = "Fehler beim Herunterladen";
  // The list, whether the offer comes, and the title of the last box.
  const std::tuple<const char*, bool, std::string> checks[] = {
      {"botenruf;0;0;0;1;;2;1;Updates/;x.zip;", false, kSearch},  // not newer
      {"botenruf;9;1;0;0;;2;1;Updates/;x.dll;", true, failed},    // a name refused
      {"botenruf;9;1;0;0;;2;1;missing/;x.zip;", true, failed},    // a failed download
      {"botenruf;0;0;0;1;;2;1;Updates/;x.zip;", false, kSearch},
  };
  for (const auto& [list, offered, last] : checks) {
    SCOPED_TRACE(list);
    UpdateServer::Serve("Updates\\_updates.txt", list);
    PostMessageA(p.window, WM_COMMAND, IDM_UPDATE, 0);
    ASSERT_EQ(p.Answer(kAsk, 0), SearchQuestionBox().text);
    wintest::Click(p.answered, IDYES);
    if (offered)
      p.Answer(kSearch, IDYES);
    ASSERT_FALSE(p.Answer(last, IDOK).empty());
  }
}

// While the check waits for a server, the window answers, paints and refuses a second check;
// ending the program, or the session, stops the check at once, with no box after it and no half
// download (the system ends the process as soon as the window has answered the session's end).
TEST(UpdateProgramTest, TheWindowAnswersWhileTheCheckWaitsAndTheEndStopsTheCheck) {
  // The list below the server's address, the file below that, whether the check waits (else
  // the end comes while the offer is open), and whether the session ends.
  const std::tuple<const char*, const char*, const char*, bool, bool> cases[] = {
      {"for the list", "silent/", "Updates/", true, false},
      {"for the file", "", "trickle/", true, false},
      {"at the offer", "", "Updates/", false, false},
      {"for the file, at the end of the session", "", "trickle/", true, true},
  };
  for (const auto& [what, base, path, waits, sessionEnds] : cases) {
    SCOPED_TRACE(what);
    UpdateProgram p(UpdateServer::baseUrl + base, path);
    ASSERT_TRUE(WriteTextFile(p.target, "die alte Version"));
    PostMessageA(p.window, WM_COMMAND, IDM_UPDATE, 0);
    p.Answer(kAsk, IDYES);
    if (*base == '\0')
      p.Answer(kSearch, waits ? IDYES : 0);
    if (waits) {
      Sleep(500);
      EXPECT_NE(SendMessageTimeoutA(p.window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, nullptr), 0);
      InvalidateRect(p.window, nullptr, TRUE);
      EXPECT_TRUE(PumpUntil([&] { return !GetUpdateRect(p.window, nullptr, FALSE); }, 1000));
      PostMessageA(p.window, WM_COMMAND, IDM_UPDATE, 0);
      EXPECT_EQ(p.Answer(kAsk, IDOK), CheckRunningBox().text);
    }
    if (sessionEnds) {
      EXPECT_TRUE(SendMessageA(p.window, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF));
      SendMessageA(p.window, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
      p.program.reset();
    } else {
      PostMessageA(p.window, WM_CLOSE, 0, 0);
      EXPECT_TRUE(p.program->WaitForExit(5000)) << "held up, or a box shows";
    }
    EXPECT_EQ(ReadTextFile(p.target), "die alte Version");
    EXPECT_THAT(FilesIn(p.folder + "\\*"), ElementsAre("Botenruf-9.1.zip", "Botenruf.exe"));
  }
}

// The client's Get on a thread of its own, so that a transfer without end fails the test rather
// than holding it; null when it has not ended 5 s after its total time.
std::shared_ptr<Received> GetInTime(const std::string& url, const HttpLimits& limits) {
  auto received = std::make_shared<Received>();
  std::packaged_task<void()> get([received, url, limits] {
    received->result = win::Win32HttpClient().Get(*SplitHttpUrl(url), *received, limits, kGoOn);
  });
  std::future<void> ended = get.get_future();
  std::thread(std::move(get)).detach();
  const auto limit = std::chrono::milliseconds(limits.totalMs + 5000);
  return ended.wait_for(limit) == std::future_status::ready ? received : nullptr;
}

// Whether the server has seen the client of its last answer to `fault` leave, within a second.
bool ServerSawClientLeave(const std::string& fault) {
  return PumpUntil(
      [&] {
        Received ended;
        const HttpUrl url = *SplitHttpUrl(UpdateServer::baseUrl + "ended/" + fault);
        win::Win32HttpClient().Get(url, ended, kVersionListTimes, kGoOn);
        return ended.body == "1";
      },
      1000);
}

// Answers that once held the window for minutes, and redirects: each transfer ends within its
// limits (short ones here, so that the test does not wait for the program's own), with the
// cause named, and a transfer refused or given up closes its connection at once. A slow but
// steady download may take longer than the total.
TEST(UpdateTransferTest, FaultyServersHoldATransferNoLongerThanItsLimits) {
  constexpr HttpLimits kShort{2000, 1500, 3000}, kSlowLine{2000, 1500, 2500, 1024},
      kPatient{2000, 3000, 2500, 1024};
  using Status = HttpResult::Status;
  // The object, how it ends (none: either way, but in time), its error (0: any), the body when
  // it is complete, the limits, and whether the server then sees the client leave.
  const std::tuple<const char*, std::optional<Status>, DWORD, std::string, HttpLimits, bool>
      cases[] = {
          {"silent", Status::kFailed, 0, "", kShort, true},  // by the request's own timeout
          {"long", Status::kOverlong, 0, "", kShort, true},
          {"trickle", Status::kTimedOut, 0, "", kShort, true},
          {"drip", Status::kTooSlow, 0, "", kPatient, true},  // a byte every 2 s: slow, not silent
          {"trickle-head", Status::kTimedOut, 0, "", kShort, true},
          {"huge", Status::kStopped, 0, "", kShort, true},  // announced too large: refused at once
          {"to-https", Status::kFailed, ERROR_HTTP_REDIRECT_FAILED, "", kShort, false},
          {"hop/5", Status::kComplete, 0, "angekommen", kShort, false},
          {"hop/6", Status::kFailed, ERROR_HTTP_REDIRECT_FAILED, "", kShort, false},
          {"steady", Status::kComplete, 0, std::string(12 * 1024, 'x'), kSlowLine, false},
      };
  for (const auto& [object, status, error, body, limits, leaves] : cases) {
    SCOPED_TRACE(object);
    const DWORD start = GetTickCount();
    const std::shared_ptr<Received> got = GetInTime(UpdateServer::baseUrl + object, limits);
    ASSERT_TRUE(got) << "still running";
    EXPECT_LE(GetTickCount() - start, std::max(limits.totalMs, 3000u) + 1000);
    EXPECT_EQ(got->result.status, status.value_or(got->result.status));
    EXPECT_EQ(got->result.error, error ? error : got->result.error);
    if (got->result.status == Status::kComplete) {
      EXPECT_EQ(got->body, body);
    }
    if (leaves) {
      EXPECT_TRUE(ServerSawClientLeave(object));
    }
  }
}

}  // namespace
}  // namespace botenruf
