// The program's only top-level window (dialog 102, caption "Botenruf").
#pragma once

#include <string>

#include "app/application.h"
#include "platform/win32/dialog.h"

namespace botenruf::win {

class MainWindow : public Dialog {
 public:
  MainWindow(Application& app, std::string initialText, bool startInTray);

 protected:
  bool OnInitDialog() override;
  void OnOK() override {}  // Enter never ends the window
  void OnCancel() override;
  bool Dispatch(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  void OnExitCommand();

  static const MessageEntry<MainWindow> kMessageMap[];

  Application& app_;
  std::string initialText_;
  bool startInTray_;
  HICON icon_ = nullptr;
};

}  // namespace botenruf::win
