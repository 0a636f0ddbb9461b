// The program's entry: wires the Win32 services to the application object and runs the
// start and end routines.
#include <windows.h>

#include <commctrl.h>

#include "app/application.h"
#include "mainwindow/win32/main_window.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_services.h"
#include "platform/win32/win32_system.h"

namespace {

class MainWindowHost : public botenruf::MainWindowRunner {
 public:
  void Run(botenruf::Application& app, const std::string& initialText, bool startInTray) override {
    botenruf::win::MainWindow window(app, initialText, startInTray);
    window.RunModal();
  }
};

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);

  botenruf::win::Win32Registry registry;
  botenruf::win::Win32System system;
  botenruf::win::Win32FileSystem files;
  botenruf::win::Win32MessageBoxes boxes;
  botenruf::win::Win32Startup startup;
  botenruf::Application app({registry, system, files, boxes, startup});
  MainWindowHost host;
  app.Start(botenruf::CommandLineTail(GetCommandLineA()), host);
  return app.End();
}
