#include "support/main_window_fixture.h"

#include "dispatch/send_workers.h"
#include "platform/win32/win32_desktop_services.h"

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
  services.update.clipboard = std::make_shared<win::Win32Clipboard>();
  app = std::make_unique<Application>(ApplicationServices{
      registry, *services.workers.system, *services.workers.files, *boxes, startup});
  services.workers.settings = app->settings().shared();
  app->settings().SetRechnerListePfad(scratch + "\\Rechner.txt");
  // The window sends with net send, whichever Windows the prefix reports to this test.
  app->settings().SetZustellung(kDeliveryNetSend);
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
  win::WaitForQueryWorkers(20000);  // as the program's end does
}

void MainWindowFixture::TypeRecipient(const std::string& text) const {
  HWND edit = FindWindowExA(Item(IDC_RECIPIENT), nullptr, "Edit", nullptr);
  SendMessageA(edit, EM_SETSEL, 0, -1);
  for (char c : text)
    SendMessageA(edit, WM_CHAR, static_cast<unsigned char>(c), 0);
}

std::vector<std::string> MainWindowFixture::BoxTexts() const {
  std::vector<std::string> texts;
  for (const BoxRequest& box : boxes->boxes())
    texts.push_back(box.text);
  return texts;
}

}  // namespace botenruf::wintest
