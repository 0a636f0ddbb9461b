// A real main window in the test process, from the real resources, with the simulated
// network behind it; boxes and file dialogs are recorded instead of shown.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/application.h"
#include "fakes/fake_message_boxes.h"
#include "mainwindow/win32/main_window.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_services.h"
#include "platform/win32/win32_system.h"
#include "support/netsim_harness.h"
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
  std::string ItemText(int id) const;
  void SetItemText(int id, const std::string& text);
  void Command(int id);         // a menu command
  void SelectEntry(int index);  // as the user picks an entry of the recipient box
  int SelectedEntry() const;
  std::vector<std::string> BoxEntries() const;
  bool Checked(int menuItem) const;
  // Boxes shown so far, as texts.
  std::vector<std::string> BoxTexts() const;

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
