#include "support/main_window_fixture.h"

#include "dispatch/send_workers.h"
#include "support/win_test_support.h"

namespace botenruf::wintest {

MainWindowFixture::MainWindowFixture() {
  ShutdownFlag() = false;
  scratch = ScratchDir(::testing::UnitTest::GetInstance()->current_test_info()->name());
  services.workers.processes = std::make_shared<win::Win32ProcessStarter>();
  services.workers.boxes = boxes;
  services.workers.system = std::make_shared<win::Win32System>();
  services.workers.files = std::make_shared<win::Win32FileSystem>();
  services.workers.counter = std::make_shared<SendCounter>();
  services.fileDialogs = fileDialogs;
  services.notifyIcon = notifyIcon;
  app = std::make_unique<Application>(ApplicationServices{
      registry, *services.workers.system, *services.workers.files, *boxes, startup});
  services.workers.settings = app->settings().shared();
  app->settings().SetRechnerListePfad(scratch + "\\Rechner.txt");
}

MainWindowFixture::~MainWindowFixture() {
  Close();
  // Let workers that are still running finish against the simulated network.
  PumpUntil([this] { return services.workers.counter->Value() == 0; }, 10000);
}

void MainWindowFixture::UseListFile(const std::string& content) {
  WriteTextFile(scratch + "\\Rechner.txt", content);
  app->ReloadDirectory();
}

HWND MainWindowFixture::Open(const std::string& initialText, bool startInTray) {
  ShutdownFlag() = false;  // a window closed before in this test raised it
  window = std::make_unique<win::MainWindow>(*app, services, initialText, startInTray);
  EXPECT_TRUE(window->CreateModeless());
  window_ = window->hwnd();
  ShowWindow(window_, SW_SHOW);
  UpdateWindow(window_);
  PumpFor(50);
  return window_;
}

void MainWindowFixture::Close() {
  window.reset();
  window_ = nullptr;
}

std::string MainWindowFixture::ItemText(int id) const {
  return WindowText(Item(id));
}

void MainWindowFixture::SetItemText(int id, const std::string& text) {
  SendMessageA(Item(id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void MainWindowFixture::Command(int id) {
  SendMessageA(window_, WM_COMMAND, id, 0);
}

void MainWindowFixture::SelectEntry(int index) {
  HWND box = Item(1004);
  SendMessageA(box, CB_SETCURSEL, index, 0);
  SendMessageA(window_, WM_COMMAND, MAKEWPARAM(1004, CBN_SELCHANGE), reinterpret_cast<LPARAM>(box));
}

int MainWindowFixture::SelectedEntry() const {
  return static_cast<int>(SendMessageA(Item(1004), CB_GETCURSEL, 0, 0));
}

std::vector<std::string> MainWindowFixture::BoxEntries() const {
  std::vector<std::string> entries;
  HWND box = Item(1004);
  const int count = static_cast<int>(SendMessageA(box, CB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    char text[512] = {};
    SendMessageA(box, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
    entries.push_back(text);
  }
  return entries;
}

bool MainWindowFixture::Checked(int menuItem) const {
  return (GetMenuState(GetMenu(window_), menuItem, MF_BYCOMMAND) & MF_CHECKED) != 0;
}

std::vector<std::string> MainWindowFixture::BoxTexts() const {
  std::vector<std::string> texts;
  for (const BoxRequest& box : boxes->boxes())
    texts.push_back(box.text);
  return texts;
}

}  // namespace botenruf::wintest
