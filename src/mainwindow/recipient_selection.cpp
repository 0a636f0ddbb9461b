#include "mainwindow/recipient_selection.h"

#include "dispatch/message_composer.h"
#include "netinfo/net_query.h"
#include "text/text.h"

namespace botenruf {

BoxContent RefillContent(int mode, const RecipientDirectory& directory) {
  BoxContent content;
  switch (mode) {
    case kModeSingle:
      content.entries = directory.Aliases();
      break;
    case kModeList:
      content.entries = directory.ListNames();
      break;
    case kModeDomain:
      content.startDomainRefresh = true;
      return content;
    default:
      content.clearText = true;
      return content;
  }
  if (!content.entries.empty())
    content.select = 0;
  return content;
}

bool BoxShowsDirectory(int mode, const std::vector<std::string>& boxEntries,
                       const RecipientDirectory& directory) {
  const BoxContent content = RefillContent(mode, directory);
  return content.startDomainRefresh || content.entries == boxEntries;
}

namespace {

int EntryCount(int mode, const RecipientDirectory& directory) {
  switch (mode) {
    case kModeSingle:
      return directory.SingleCount();
    case kModeList:
      return directory.ListCount();
    case kModeDomain:
      return static_cast<int>(directory.DomainNames().size());
    default:
      return 0;
  }
}

}  // namespace

std::string ReadRecipientText(int mode, int selectedIndex, const std::string& boxText,
                              bool trailingComma, const RecipientDirectory& directory,
                              int32_t& auswahl) {
  std::string text;
  // An index the directory has no entry for (box and directory out of step) is taken as
  // no selection, so it can never name another entry's stations.
  if (selectedIndex < 0 || selectedIndex >= EntryCount(mode, directory)) {
    text = boxText;
  } else {
    directory.EntryForMode(mode, selectedIndex, text);
  }
  auswahl = selectedIndex < 0 ? -1 : selectedIndex;
  if (trailingComma)
    RecipientDirectory::EnsureTrailingComma(text);
  return text;
}

InfoRequest PlanInfo(int mode, const std::string& recipientText) {
  InfoRequest request;
  const std::string text = QueryTarget(recipientText);
  if (mode != kModeList) {
    const std::string fault = RecipientNameFault(text);
    if (fault.empty()) {
      request.target = text;
    } else {
      request.refusals.push_back({Format("Für \"%s\" wird keine Info abgefragt: der Name %s.",
                                         text.c_str(), fault.c_str()),
                                  kErrorTitle, BoxIcon::kStop});
    }
    return request;
  }
  for (const std::string& member : RecipientDirectory::MembersBeforeCommas(text + ",")) {
    const std::string station = Trim(member);
    const std::string fault = RecipientNameFault(station);
    if (!fault.empty())
      request.refusals.push_back(SkippedNameBox(station, fault));
    else if (!station.empty())
      request.target += station + ",";
  }
  return request;
}

void SelectionMemory::Remember(int leavingMode, int selectedIndex) {
  if (selectedIndex != -1 && IsKnownMode(leavingMode))
    saved_[leavingMode] = selectedIndex;
}

int SelectionMemory::Restore(int mode, int entryCount) const {
  if (!IsKnownMode(mode))
    return -1;
  const int saved = saved_[mode];
  return saved >= 0 && saved < entryCount ? saved : -1;
}

int32_t AuswahlAfterSwitch(int mode, int shownIndex, const SelectionMemory& memory) {
  return mode == kModeDomain ? memory.Saved(kModeDomain) : shownIndex;
}

int DomainSelection(int32_t& auswahl, int domainCount) {
  if (auswahl >= 0 && auswahl < domainCount)
    return auswahl;
  auswahl = 0;
  return 0;
}

int KeptSelection(const std::vector<std::string>& entries, int oldIndex,
                  const std::string& oldText) {
  if (oldIndex < 0)
    return -1;
  const int count = static_cast<int>(entries.size());
  if (oldIndex < count && entries[oldIndex] == oldText)
    return oldIndex;
  for (int i = 0; i < count; ++i) {
    if (entries[i] == oldText)
      return i;
  }
  return count > 0 ? 0 : -1;
}

bool InfoButtonEnabled(int mode, const BusyFlags& busy) {
  switch (mode) {
    case kModeSingle:
      return !busy.stationInfo;
    case kModeList:
      return !busy.listCheck;
    case kModeDomain:
      return !busy.domainInfo;
    default:
      return false;
  }
}

int ModeMenuItem(int mode) {
  switch (mode) {
    case kModeSingle:
      return 40018;
    case kModeList:
      return 40019;
    case kModeDomain:
      return 40039;
    default:
      return 0;
  }
}

}  // namespace botenruf
