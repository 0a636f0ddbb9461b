// The program's only top-level window (dialog 102, caption "Botenruf"): recipient box,
// mode buttons, message editor, menus, tray icon, and the receiver of every report that the
// worker threads send back. The rules live in portable code; this class wires controls.
#pragma once

#include <atomic>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "app/application.h"
#include "dispatch/send_workers.h"
#include "mainwindow/recipient_selection.h"
#include "mainwindow/win32/countdown_dialog.h"
#include "mainwindow/win32/message_editor.h"
#include "mainwindow/win32/send_report_dialog.h"
#include "netinfo/win32/domain_browser_dialog.h"
#include "netinfo/win32/list_check_dialog.h"
#include "netinfo/win32/station_info_dialog.h"
#include "platform/file_dialogs.h"
#include "platform/notify_icon.h"
#include "platform/win32/dialog.h"
#include "update/update_check.h"

namespace botenruf::win {

struct MainWindowServices {
  WorkerServices workers;  // shared with the threads the window starts
  std::shared_ptr<FileDialogs> fileDialogs;
  std::shared_ptr<NotifyIcon> notifyIcon;
  UpdatePlatform update;
};

class MainWindow : public Dialog, public DomainBrowserHost, public SendReportHost {
 public:
  MainWindow(Application& app, MainWindowServices services, std::string initialText,
             bool startInTray);
  ~MainWindow() override;

  // Operations other parts of the program use.
  void RefillRecipientBox();
  std::string ReadRecipientText(bool trailingComma);
  void UpdateInfoButton();
  void MoveToTray();
  void UpdateTray();
  bool inTray() const { return inTray_; }
  int32_t ActiveSendCount() const { return services_.workers.counter->Value(); }

 protected:
  bool OnInitDialog() override;
  void OnOK() override {}  // Enter never ends the window
  void OnCancel() override;
  bool Dispatch(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  // Set-up
  void AddSystemMenuItems();
  void SetMenuChecks();
  void SetSuccessChecks();
  void CreateTooltips();
  void StartNotificationPoller();
  void StopBackgroundWork();

  // Recipient selection
  void SwitchMode(int mode);
  void UpdateModeControls();
  void FillBox(const std::vector<std::string>& entries, int select);
  int SelectedEntry();
  void RememberShownEntry();
  void RefillKeepingSelection();
  void EnableModeButtons(bool enabled);
  void OnModeSingle() { SwitchMode(kModeSingle); }
  void OnModeList() { SwitchMode(kModeList); }
  void OnModeDomain() { SwitchMode(kModeDomain); }
  void OnRecipientSelected();
  LRESULT OnDomainListReady(WPARAM, LPARAM);

  // Sending
  void OnSendClicked();
  void RunSendDispatcher();
  bool StartDomainCountdown();
  LRESULT OnCountdownDone(WPARAM, LPARAM);
  void OnMemoriam();
  // The send report of a list or domain dispatch.
  void OpenSendReport(SendReport report);
  void DispatchSteps(const std::vector<SendStep>& steps, SendReportDialog& report) override;
  LRESULT OnSendReportClosed(WPARAM, LPARAM);

  // The list editor
  void OnListEdit();
  std::vector<std::string> BoxEntries();

  // Network information
  void OnInfoClicked();
  void StartStationInfo(const std::string& station);
  void StartListCheck(const std::string& memberText);
  void StartDomainBrowser(const std::string& domain);
  LRESULT OnStationInfoDone(WPARAM, LPARAM);
  LRESULT OnListCheckDone(WPARAM, LPARAM);
  LRESULT OnDomainInfoDone(WPARAM, LPARAM);
  // What the domain browser asks of this window.
  RecipientDirectory& Directory() override { return app_.directory(); }
  ListChoice CurrentListChoice() override;
  int32_t MaxListMembers() override { return settings_.MaxThreads(); }
  bool ListEditorOpen() override { return listEditorOpen_; }
  std::string SaveTakeOver(bool singlesChanged, bool listsChanged) override;
  void ReadChangedListFile() override;
  ListLook CurrentListLook() const { return {gridLinesOn_, fullRowOn_}; }

  // Message editor and files
  void OnClearMessage();
  void OnLoadMessage();
  void OnSaveMessage();
  LRESULT OnFileDropped(WPARAM, LPARAM);
  void OnToggleTooltips();
  LRESULT OnNotify(WPARAM, LPARAM);

  // Window
  void OnExitCommand();
  void OnTopmostCommand();
  void ApplyTopmost(bool on);
  void OnOriginalSize();

  // The update check, on a thread of its own; its boxes, wait cursor and clipboard are carried
  // out here (WindowCall) by UpdateWindowCalls.
  friend class UpdateWindowCalls;
  void OnUpdateCommand();
  LRESULT OnWindowCall(WPARAM, LPARAM);
  bool ShowUpdateBox(const BoxRequest& box, bool ask);
  // Lets the running check's calls through until it has ended; false when it has not in time.
  bool WaitForUpdateCheck(DWORD timeoutMs);
  void StopUpdateCheck();
  // Stops the check and waits until it has removed what it was writing: for the end of the
  // session, after which the system may end the process at any moment.
  void EndUpdateCheckNow();
  LRESULT OnSetCursor(WPARAM, LPARAM);
  LRESULT OnSize(WPARAM, LPARAM);
  LRESULT OnGetMinMaxInfo(WPARAM, LPARAM);
  LRESULT OnSysCommand(WPARAM, LPARAM);
  LRESULT OnPaint(WPARAM, LPARAM);
  LRESULT OnQueryDragIcon(WPARAM, LPARAM);
  LRESULT OnNotificationChanged(WPARAM, LPARAM);
  LRESULT OnDestroy(WPARAM, LPARAM);
  LRESULT OnQueryEndSession(WPARAM, LPARAM);
  LRESULT OnEndSession(WPARAM, LPARAM);

  // Tray and settings menu
  LRESULT OnTrayCallback(WPARAM, LPARAM);
  LRESULT OnTaskbarCreated(WPARAM, LPARAM);
  void RestoreFromTray();
  void ShowTrayPopupMenu();
  void OnToggleAutostart();
  void OnToggleTnaStart();
  void OnMinimizeTaskbar();
  void OnMinimizeSystray();
  void OnToggleSingleSuccess();
  void OnToggleListSuccess();
  void OnToggleDomainSuccess();
  void OnToggleGridLines();
  void OnToggleFullRow();
  void OnToggleVersandInfo();
  void OnToggleSendReport();
  void OnDeliveryAuto() { ChooseDelivery(kDeliveryAuto); }
  void OnDeliveryNetSend() { ChooseDelivery(kDeliveryNetSend); }
  void OnDeliveryMsg() { ChooseDelivery(kDeliveryMsg); }
  void ChooseDelivery(int choice);
  void SetDeliveryChecks();
  void ShowAutomaticDelivery();
  void OnListPath();
  void SetCheck(UINT item, bool on);

  // About box, version history, list info and help hint
  bool CanOpenInfoWindow();
  void OnAbout();
  void OnVersionHistory();
  void OnListInfo();
  void OnHelp();
  LRESULT OnHelpKey(WPARAM, LPARAM);

  Application& app_;
  SettingsStore& settings_;
  MainWindowServices services_;
  std::string initialText_;
  // Started for the tray: the first paint moves the window there.
  bool moveToTrayOnPaint_;
  HICON icon_ = nullptr;
  MessageEditor editor_;
  HWND tooltips_ = nullptr;
  bool toolTipsOn_ = false;
  bool layoutReady_ = false;
  bool inTray_ = false;
  bool fullRowOn_ = false;
  bool gridLinesOn_ = false;
  SelectionMemory savedSelection_;
  std::shared_ptr<DomainListJob> domainListJob_;
  std::unique_ptr<DomainCountdownDialog> countdown_;
  std::shared_ptr<StationQuery> stationQuery_;
  std::unique_ptr<ListCheckDialog> listCheckDialog_;
  std::unique_ptr<DomainBrowserDialog> domainBrowser_;
  // Send reports, let go of once closed and no dispatch of a report runs.
  std::vector<std::unique_ptr<SendReportDialog>> sendReports_;
  int reportDispatches_ = 0;
  bool listEditorOpen_ = false;
  std::shared_ptr<UpdateJob> updateJob_;
  bool updateCursor_ = false;
  // The update box on screen: its title, and the button that closes it at the end.
  std::optional<std::pair<std::string, int>> openUpdateBox_;
  std::thread poller_;
  std::atomic<bool> pollerStop_{false};
  UINT taskbarCreatedMessage_ = 0;

  static const MessageEntry<MainWindow> kMessageMap[];
};

}  // namespace botenruf::win
