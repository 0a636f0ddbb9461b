// The bare program of the benchmarks' floors (not a test): shows the program's dialog templates
// whose ids its command line names, with no code behind them, and ends when one is closed.
// It imports only what a window needs, so that its start is the least a window of these
// controls costs.
#include <windows.h>

#include <commctrl.h>

#include <cstdlib>

namespace {

INT_PTR CALLBACK BareProc(HWND, UINT message, WPARAM wParam, LPARAM) {
  if (message == WM_CLOSE || (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL)) {
    PostQuitMessage(0);
    return TRUE;
  }
  return message == WM_INITDIALOG;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
  INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);
  for (char* next = commandLine; *next;) {
    const long id = std::strtol(next, &next, 10);
    if (id <= 0)
      break;
    HWND dialog = CreateDialogParamA(instance, MAKEINTRESOURCEA(id), nullptr, &BareProc, 0);
    if (dialog)
      ShowWindow(dialog, SW_SHOW);
  }
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return 0;
}
