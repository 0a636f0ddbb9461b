#include "netinfo/take_over.h"

#include <unordered_set>

#include "directory/entry_rules.h"
#include "dispatch/message_composer.h"
#include "settings/settings.h"
#include "text/text.h"

namespace botenruf {
namespace {

constexpr size_t kLabelLength = 12;
constexpr size_t kLabelCut = 10;

enum class SingleResult { kAdded, kExists, kRefused };

// Why the list file cannot carry this station or alias, or net send would not take the
// station for one (an option such as "/DOMAIN:BUERO", or "*"); empty when both can.
std::string Refusal(const std::string& station, const std::string& alias) {
  if (station.empty())
    return "Der Stationsname ist leer.";
  if (std::string reason = CheckStationName(station); !reason.empty())
    return reason;
  if (const std::string fault = RecipientNameFault(station); !fault.empty())
    return "Der Stationsname " + fault + ".";
  return CheckAlias(alias);
}

std::string RefusedText(const std::string& station, const std::string& reason) {
  return Format("\"%s\" wird nicht übernommen: %s", station.c_str(), reason.c_str());
}

// `known` holds the stations of the directory's single recipients.
SingleResult TakeOverSingle(RecipientDirectory& directory, std::unordered_set<std::string>& known,
                            const std::string& alias, std::string& station,
                            std::vector<std::string>& status) {
  if (station.size() >= 2 && station[0] == '\\' && station[1] == '\\')
    station.erase(0, 2);
  const std::string reason = Refusal(station, alias);
  if (!reason.empty()) {
    status.push_back(RefusedText(station, reason));
    return SingleResult::kRefused;
  }
  if (known.count(station) > 0)
    return SingleResult::kExists;
  directory.AddSingle(alias, station);
  known.insert(station);
  return SingleResult::kAdded;
}

bool HasMember(const std::string& members, const std::string& station) {
  for (const std::string& member : RecipientDirectory::MembersBeforeCommas(members)) {
    if (EqualsIgnoreCase1252(member, station))
      return true;
  }
  return false;
}

std::string AddedText(const std::string& station, const std::string& alias) {
  return Format("\"%s\" als \"%s\" übernommen", station.c_str(), alias.c_str());
}

std::string ExistsText(const std::string& station) {
  return Format("\"%s\" existiert bereits", station.c_str());
}

// Appends the station to the list; the text of the outcome for the status line.
std::string AppendToList(RecipientDirectory& directory, int list, const std::string& station,
                         int32_t maxMembers, bool& appended) {
  std::string name, members;
  directory.GetList(list, name, members);
  RecipientDirectory::EnsureTrailingComma(members);
  if (HasMember(members, station))
    return ExistsText(station);
  if (RecipientDirectory::MemberCount(members) >= maxMembers)
    return Format("Maximal %d Einträge pro Liste", static_cast<int>(maxMembers));
  // A longer member text would lose its end in the list file, in the middle of a name.
  if (members.size() + station.size() > kMaxMemberTextLength) {
    return Format("\"%s\" passt nicht mehr in die Liste \"%s\" (höchstens %d Zeichen)",
                  station.c_str(), name.c_str(), static_cast<int>(kMaxMemberTextLength));
  }
  const std::string refusal = CheckAppendedMember(members, station);
  if (!refusal.empty())
    return RefusedText(station, refusal);
  appended = directory.SetMembers(list, members + station);
  return {};
}

}  // namespace

int TargetList(const ListChoice& choice, const RecipientDirectory& directory) {
  int index = -1;
  if (choice.mode == kModeList)
    index = choice.selectedIndex;
  else
    index = choice.savedListIndex < 0 ? 0 : choice.savedListIndex;
  if (index < 0 || index >= directory.ListCount())
    return -1;
  if (choice.mode == kModeList && directory.ListNames()[index] != choice.boxText)
    return -1;
  return index;
}

std::string ListLabel(const ListChoice& choice, const RecipientDirectory& directory) {
  const int index = TargetList(choice, directory);
  if (index < 0)
    return {};
  std::string label = directory.ListNames()[index];
  if (label.size() > kLabelLength)
    label = label.substr(0, kLabelCut) + "...";
  return label;
}

std::string ListMenuText(const std::string& label) {
  std::string shown;
  for (char c : label)
    shown += c == '&' ? std::string("&&") : std::string(1, c);
  return Format("&Verteilerliste \"%s\"", shown.c_str());
}

TakeOverOutcome TakeOverStations(RecipientDirectory& directory, const TakeOverRequest& request) {
  TakeOverOutcome outcome;
  std::vector<std::string>& status = outcome.statusTexts;
  if (request.editorOpen) {
    status.push_back("Die Rechnerliste wird gerade bearbeitet: nichts übernommen.");
    return outcome;
  }
  int counted = 0;
  // Looked up in a set rather than in the directory: a whole domain of thousands of stations
  // may be taken over at once.
  std::unordered_set<std::string> known(directory.Stations().begin(), directory.Stations().end());
  for (const StationRow& row : request.rows) {
    std::string station = row.station;
    const SingleResult single = TakeOverSingle(directory, known, row.comment, station, status);
    if (single == SingleResult::kRefused)
      continue;
    if (single == SingleResult::kAdded) {
      outcome.singlesChanged = true;
      status.push_back(AddedText(station, row.comment));
      counted += request.intoList ? 0 : 1;
    } else if (!request.intoList) {
      status.push_back(ExistsText(station));
    }
    if (!request.intoList || request.targetList < 0)
      continue;
    bool appended = false;
    const std::string text =
        AppendToList(directory, request.targetList, station, request.maxMembers, appended);
    if (appended) {
      outcome.listsChanged = true;
      ++counted;
    } else {
      status.push_back(text);
    }
  }
  if (request.rows.size() > 1)
    status.push_back(Format("%d Einträge übernommen", counted));
  return outcome;
}

}  // namespace botenruf
