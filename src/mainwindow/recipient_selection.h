// The rules of the recipient box: what it shows per mode, which entry is selected, what
// text a send or a query works on, and which entry each mode remembers within a run.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "directory/recipient_directory.h"
#include "platform/message_boxes.h"
#include "settings/settings.h"

namespace botenruf {

// What a refill puts into the box.
struct BoxContent {
  std::vector<std::string> entries;
  int select = -1;                  // entry to select, -1 for none
  bool startDomainRefresh = false;  // domain mode: the names come from a refresh
  bool clearText = false;           // unknown mode: the edit field is emptied
};
BoxContent RefillContent(int mode, const RecipientDirectory& directory);

// The recipient text for the box's state: the directory string of the selected entry, or the
// typed text when nothing is selected (or the index does not stand for an entry). Stores the
// index in `auswahl`. With `trailingComma`, a non-empty text gets a "," at its end.
std::string ReadRecipientText(int mode, int selectedIndex, const std::string& boxText,
                              bool trailingComma, const RecipientDirectory& directory,
                              int32_t& auswahl);

// What "Info" asks about for the recipient text of `mode`: the query's target, trimmed and
// in upper case (empty: no query), and the boxes that refuse names. A text of blanks and
// commas only names nothing. A name net send would not take as one station (with a blank,
// an option, "*") would reach the tools as more or other arguments than the user meant: a
// list's member is left out of the check, any other name gets no query.
struct InfoRequest {
  std::string target;
  std::vector<BoxRequest> refusals;
};
InfoRequest PlanInfo(int mode, const std::string& recipientText);

// True when the box (with these entries) shows what the directory holds for `mode`; the
// domain names of domain mode come from the network and always count as shown.
bool BoxShowsDirectory(int mode, const std::vector<std::string>& boxEntries,
                       const RecipientDirectory& directory);

// True when a change of the single recipients or of the lists shows in the box of `mode`.
inline bool BoxShowsChange(int mode, bool singlesChanged, bool listsChanged) {
  return (mode == kModeSingle && singlesChanged) || (mode == kModeList && listsChanged);
}

// The entry each mode had selected when it was left, for this run only.
class SelectionMemory {
 public:
  void Remember(int leavingMode, int selectedIndex);
  // The index to select after switching to `mode` with `entryCount` entries, or -1.
  int Restore(int mode, int entryCount) const;
  // The index kept for `mode`, -1 when none.
  int Saved(int mode) const { return IsKnownMode(mode) ? saved_[mode] : -1; }

 private:
  std::array<int, 3> saved_ = {-1, -1, -1};
};

// `Auswahl` after a switch to `mode`: the entry the box shows. In domain mode the box stays
// empty until the names arrive; then the domain this run last had selected stands (-1, for
// the first, when none).
int32_t AuswahlAfterSwitch(int mode, int shownIndex, const SelectionMemory& memory);

// The entry to select when the domain names arrive; `auswahl` becomes 0 when it does not
// stand for one of them (-1 included: a domain send needs a domain).
int DomainSelection(int32_t& auswahl, int domainCount);

// The entry to select after the box was refilled with `entries` while it had `oldIndex`
// (showing `oldText`) selected: the same entry, found by its text where the index now shows
// another; -1 while a typed text (no selection) is to stay.
int KeptSelection(const std::vector<std::string>& entries, int oldIndex,
                  const std::string& oldText);

struct BusyFlags {
  bool stationInfo = false;
  bool listCheck = false;
  bool domainInfo = false;
};
// "Info" is usable exactly when no query of the current mode runs.
bool InfoButtonEnabled(int mode, const BusyFlags& busy);

// The menu item that carries the mode's check mark, 0 for an unknown mode.
int ModeMenuItem(int mode);

}  // namespace botenruf
