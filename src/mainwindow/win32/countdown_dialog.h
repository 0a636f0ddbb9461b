// The revocation window before a domain send (dialog 166): a bar that fills up; when it is
// full the message goes out, "Abbrechen" (or Esc, or the close box) stops it first.
#pragma once

#include <atomic>
#include <memory>
#include <string>

#include "mainwindow/countdown.h"
#include "platform/win32/dialog.h"

namespace botenruf::win {

// What the watcher thread reads; shared so it can never outlive its reader.
struct CountdownOutcome {
  std::atomic<bool> send{false};
  std::atomic<bool> finished{false};
};

class DomainCountdownDialog : public Dialog {
 public:
  DomainCountdownDialog(HWND owner, std::string domain, int32_t step, int32_t intervalMs);
  ~DomainCountdownDialog() override;

  std::shared_ptr<const CountdownOutcome> outcome() const { return outcome_; }
  bool IsFinished(bool& send) const;

 protected:
  bool OnInitDialog() override;
  void OnOK() override {}
  void OnCancel() override;
  bool Dispatch(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  LRESULT OnTimer(WPARAM, LPARAM);
  void Publish();

  std::string domain_;
  CountdownModel model_;
  uint32_t started_ = 0;
  std::shared_ptr<CountdownOutcome> outcome_ = std::make_shared<CountdownOutcome>();
  static const MessageEntry<DomainCountdownDialog> kMessageMap[];
};

}  // namespace botenruf::win
