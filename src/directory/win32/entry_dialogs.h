// The two small dialogs that edit one entry of the directory: a single recipient (147) and
// a list name (150). Read-only, they serve as the confirmation before a deletion.
#pragma once

#include <string>

#include "platform/message_boxes.h"
#include "platform/win32/dialog.h"

namespace botenruf::win {

class SingleRecipientDialog : public Dialog {
 public:
  SingleRecipientDialog(HWND parent, MessageBoxes& boxes);
  void SetValues(const std::string& alias, const std::string& station);
  void GetValues(std::string& alias, std::string& station) const;
  void SetTitleSuffix(const std::string& suffix) { titleSuffix_ = suffix; }
  void SetReadOnly(bool readOnly) { readOnly_ = readOnly; }

 protected:
  bool OnInitDialog() override;
  void OnOK() override;

 private:
  MessageBoxes& boxes_;
  std::string alias_;
  std::string station_;
  std::string titleSuffix_;
  bool readOnly_ = false;
};

class ListNameDialog : public Dialog {
 public:
  ListNameDialog(HWND parent, MessageBoxes& boxes);
  void SetName(const std::string& name) { name_ = name; }
  const std::string& GetName() const { return name_; }
  void SetTitleSuffix(const std::string& suffix) { titleSuffix_ = suffix; }
  void SetReadOnly(bool readOnly) { readOnly_ = readOnly; }

 protected:
  bool OnInitDialog() override;
  void OnOK() override;

 private:
  MessageBoxes& boxes_;
  std::string name_;
  std::string titleSuffix_;
  bool readOnly_ = false;
};

}  // namespace botenruf::win
