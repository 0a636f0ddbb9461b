// A real main window in the test process, from the real resources, with the simulated
// network behind it; boxes and file dialogs are recorded instead of shown.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/application.h"
#include "fakes/fake_message_boxes.h"
#include "mainwindow/win32/main_window.h"
#include "netsim/harness.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_services.h"
#include "platform/win32/win32_system.h"
#include "resource.h"
#include "support/win_test_support.h"
#include "support/window_fakes.h"

namespace botenruf::wintest {

class MainWindowFixture : public ::testing::Test {
 protected:
  MainWindowFixture();
  ~MainWindowFixture() override;

  // Writes the list file, points the settings at it and loads it.
  void UseListFile(const std::string& content);
  // Creates and shows the window (modeless; the test pumps its messages).
  HWND Open(const std::string& initialText = "", bool startInTray = false);
  void Close();

  HWND Item(int id) const { return GetDlgItem(window_, id); }
  std::string ItemText(int id) const { return WindowText(Item(id)); }
  static std::string ItemText(HWND dialog, int id) { return wintest::ItemText(dialog, id); }
  void SetItemText(int id, const std::string& text) { SetWindowTextA(Item(id), text.c_str()); }
  bool Enabled(int id) const { return IsWindowEnabled(Item(id)) != 0; }
  static bool Enabled(HWND dialog, int id) { return IsWindowEnabled(GetDlgItem(dialog, id)); }
  void Click(int id) const { wintest::Click(window_, id); }
  static void Click(HWND dialog, int id) { wintest::Click(dialog, id); }
  void Command(int id) const { SendMessageA(window_, WM_COMMAND, id, 0); }  // a menu command
  void SelectEntry(int index) const { SelectRecipient(window_, index); }
  // Types over the whole text of the box's edit field, key by key, as a user does.
  void TypeRecipient(const std::string& text) const;
  int SelectedEntry() const { return (int)SendMessageA(Item(IDC_RECIPIENT), CB_GETCURSEL, 0, 0); }
  std::vector<std::string> BoxEntries() const { return ComboItems(Item(IDC_RECIPIENT)); }
  bool Checked(int item) const { return GetMenuState(GetMenu(window_), item, 0) & MF_CHECKED; }
  // Boxes shown so far, as texts.
  std::vector<std::string> BoxTexts() const;
  // The net send command lines the simulated network saw, in the order they started.
  std::vector<std::string> Sent() const { return netsim::harness::NetSendCommandLines(network); }

  netsim::harness::NetsimFolder network;
  std::string scratch;
  win::Win32Registry registry;
  win::Win32Startup startup;
  std::shared_ptr<fakes::FakeMessageBoxes> boxes = std::make_shared<fakes::FakeMessageBoxes>();
  std::shared_ptr<FakeFileDialogs> fileDialogs = std::make_shared<FakeFileDialogs>();
  std::shared_ptr<RecordingNotifyIcon> notifyIcon = std::make_shared<RecordingNotifyIcon>();
  win::MainWindowServices services;
  std::unique_ptr<Application> app;
  std::unique_ptr<win::MainWindow> window;
  HWND window_ = nullptr;
};

}  // namespace botenruf::wintest
