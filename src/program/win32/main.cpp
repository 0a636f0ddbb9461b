// The program's entry: wires the Win32 services to the application object and runs the
// start and end routines.
#include <windows.h>

#include <commctrl.h>

#include "app/application.h"
#include "mainwindow/win32/main_window.h"
#include "netinfo/win32/browser_dialog.h"
#include "platform/win32/win32_desktop_services.h"
#include "platform/win32/win32_http_client.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_services.h"
#include "platform/win32/win32_shell.h"
#include "platform/win32/win32_system.h"

namespace {

using namespace botenruf;

class MainWindowHost : public MainWindowRunner {
 public:
  explicit MainWindowHost(win::MainWindowServices services) : services_(std::move(services)) {}

  void Run(Application& app, const std::string& initialText, bool startInTray) override {
    win::MainWindowServices services = services_;
    services.workers.settings = app.settings().shared();
    win::MainWindow window(app, services, initialText, startInTray);
    window.RunModal();
  }

 private:
  win::MainWindowServices services_;
};

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);

  // Services that worker threads use are shared with them: a worker may still finish its
  // send while the program ends.
  win::MainWindowServices services;
  services.workers.processes = std::make_shared<win::Win32ProcessStarter>();
  services.workers.boxes = std::make_shared<win::Win32MessageBoxes>();
  services.workers.system = std::make_shared<win::Win32System>();
  services.workers.files = std::make_shared<win::Win32FileSystem>();
  services.workers.counter = std::make_shared<SendCounter>();
  services.fileDialogs = std::make_shared<win::Win32FileDialogs>();
  services.notifyIcon = std::make_shared<win::Win32NotifyIcon>();
  services.update.http = std::make_shared<win::Win32HttpClient>();
  services.update.outputs = std::make_shared<win::Win32OutputFiles>();
  services.update.clipboard = std::make_shared<win::Win32Clipboard>();
  services.update.program = std::make_shared<win::Win32ProgramEnvironment>();

  win::Win32Registry registry;
  win::Win32Startup startup;
  Application app({registry, *services.workers.system, *services.workers.files,
                   *services.workers.boxes, startup});
  MainWindowHost host(services);
  app.Start(CommandLineTail(GetCommandLineA()), host);
  const int exitCode = app.End();
  // Sends the user started go out even when the program ends at once: their commands run on
  // without it, once started.
  constexpr uint32_t kSendStartGraceMs = 5000;
  WaitForSendStarts(*services.workers.counter, kSendStartGraceMs);
  // Only now, with the settings written and the window gone: a query still running has its
  // tool ended (with what the command interpreter started) and deletes its output file, and an
  // update check leaves its transfer at once and removes its half download. Nothing is waited
  // for beyond this.
  constexpr DWORD kQueryWorkerGraceMs = 20000;
  win::WaitForQueryWorkers(kQueryWorkerGraceMs);
  return exitCode;
}
