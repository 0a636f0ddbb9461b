#include "netinfo/take_over.h"

#include <algorithm>
#include <optional>
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

std::string AddedText(const std::string& station, const std::string& alias) {
  return Format("\"%s\" als \"%s\" übernommen", station.c_str(), alias.c_str());
}

std::string ExistsText(const std::string& station) {
  return Format("\"%s\" existiert bereits", station.c_str());
}

std::string FullText(int32_t maxMembers) {
  return Format("Maximal %d Einträge pro Liste", static_cast<int>(maxMembers));
}

// What became of a row; the refusals by their reason, as the summary counts them.
enum class Result { kTaken, kExists, kFull, kTooLong, kInvalid };

// Appends stations to one list. Its members are kept at hand, folded for the comparison: a
// whole domain of thousands of stations may be taken over at once.
class ListAppender {
 public:
  ListAppender(RecipientDirectory& directory, int list, int32_t maxMembers)
      : directory_(directory),
        list_(list),
        maxMembers_(maxMembers),
        fullText_(FullText(maxMembers)) {
    directory.GetList(list, name_, members_);
    RecipientDirectory::EnsureTrailingComma(members_);
    for (const std::string& member : RecipientDirectory::MembersBeforeCommas(members_))
      folded_.insert(ToLower1252(member));
    count_ = RecipientDirectory::MemberCount(members_);
  }

  // Appends the station unless a member has its name (in any letter case), the list is full or
  // its member text would outgrow what the list file keeps; `text` tells why it was not.
  Result Append(const std::string& station, std::string& text) {
    if (folded_.count(ToLower1252(station)) > 0)
      return text = ExistsText(station), Result::kExists;
    if (count_ >= maxMembers_)
      return text = fullText_, Result::kFull;
    // A longer member text would lose its end in the list file, in the middle of a name.
    if (members_.size() + station.size() > kMaxMemberTextLength) {
      text = Format("\"%s\" passt nicht mehr in die Liste \"%s\" (höchstens %d Zeichen)",
                    station.c_str(), name_.c_str(), static_cast<int>(kMaxMemberTextLength));
      return Result::kTooLong;
    }
    const std::string refusal = CheckAppendedMember(members_, station);
    if (!refusal.empty())
      return text = RefusedText(station, refusal), Result::kInvalid;
    if (!directory_.SetMembers(list_, members_ + station))
      return Result::kTooLong;
    members_ += station + ",";
    folded_.insert(ToLower1252(station));
    ++count_;
    return Result::kTaken;
  }

 private:
  RecipientDirectory& directory_;
  int list_;
  int32_t maxMembers_;
  std::string fullText_, name_, members_;
  std::unordered_set<std::string> folded_;
  int count_ = 0;
};

// The list the request names: at its index while that still holds the list of that name,
// else the first list of that name; -1 when there is none.
int FollowTarget(const RecipientDirectory& directory, const TakeOverRequest& request) {
  const std::vector<std::string>& names = directory.ListNames();
  if (request.targetList >= 0 && request.targetList < directory.ListCount() &&
      names[request.targetList] == request.targetName) {
    return request.targetList;
  }
  const auto found = std::find(names.begin(), names.end(), request.targetName);
  return found == names.end() ? -1 : static_cast<int>(found - names.begin());
}

// How many rows came to each result.
struct Tally {
  int counts[5] = {};
  int& operator[](Result result) { return counts[static_cast<int>(result)]; }
};

// The summary of many rows, short enough for the status line at the window's first width:
// "%d Einträge übernommen" when every row was taken over, else how many were taken over, were
// there already and were refused, and why ("18 übernommen, 29982 abgelehnt (Liste voll)").
std::string Summary(Tally tally) {
  const std::pair<Result, const char*> reasons[] = {{Result::kFull, "Liste voll"},
                                                    {Result::kTooLong, "Liste zu lang"},
                                                    {Result::kInvalid, "ungültiger Name"}};
  std::vector<std::pair<int, const char*>> named;
  int refused = 0;
  for (const auto& [result, reason] : reasons) {
    if (tally[result] > 0)
      named.emplace_back(tally[result], reason);
    refused += tally[result];
  }
  if (tally[Result::kExists] == 0 && refused == 0)
    return Format("%d Einträge übernommen", tally[Result::kTaken]);
  std::string text = Format("%d übernommen", tally[Result::kTaken]);
  if (tally[Result::kExists] > 0)
    text += Format(", %d vorhanden", tally[Result::kExists]);
  if (refused == 0)
    return text;
  text += Format(", %d abgelehnt (", refused);
  for (size_t i = 0; i < named.size(); ++i) {
    text += i > 0 ? ", " : "";
    text += named.size() == 1 ? named[i].second : Format("%d %s", named[i].first, named[i].second);
  }
  return text + ")";
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

void AimAtTargetList(TakeOverRequest& request, const ListChoice& choice,
                     const RecipientDirectory& directory) {
  request.targetList = TargetList(choice, directory);
  request.targetName = request.targetList < 0 ? "" : directory.ListNames()[request.targetList];
}

TakeOverOutcome TakeOverStations(RecipientDirectory& directory, const TakeOverRequest& request) {
  TakeOverOutcome outcome;
  std::vector<std::string>& status = outcome.statusTexts;
  if (request.editorOpen) {
    status.push_back("Die Rechnerliste wird gerade bearbeitet: nichts übernommen.");
    return outcome;
  }
  const int list = request.intoList ? FollowTarget(directory, request) : -1;
  if (request.intoList && request.targetList >= 0 && list < 0) {
    status.push_back(Format("Die Verteilerliste \"%s\" gibt es nicht mehr: nichts übernommen.",
                            request.targetName.c_str()));
    return outcome;
  }
  std::optional<ListAppender> appender;
  if (list >= 0)
    appender.emplace(directory, list, request.maxMembers);
  Tally tally;
  // Looked up in a set rather than in the directory: a whole domain of thousands of stations
  // may be taken over at once.
  std::unordered_set<std::string> known(directory.Stations().begin(), directory.Stations().end());
  for (const StationRow& row : request.rows) {
    std::string station = row.station;
    const SingleResult single = TakeOverSingle(directory, known, row.comment, station, status);
    if (single == SingleResult::kRefused) {
      ++tally[Result::kInvalid];
      continue;
    }
    if (single == SingleResult::kAdded) {
      outcome.singlesChanged = true;
      status.push_back(AddedText(station, row.comment));
    } else if (!request.intoList) {
      status.push_back(ExistsText(station));
    }
    if (!request.intoList) {
      ++tally[single == SingleResult::kAdded ? Result::kTaken : Result::kExists];
      continue;
    }
    if (!appender)
      continue;
    std::string text;
    const Result appended = appender->Append(station, text);
    ++tally[appended];
    if (appended == Result::kTaken)
      outcome.listsChanged = true;
    else
      status.push_back(text);
  }
  if (request.rows.size() > 1)
    status.push_back(Summary(tally));
  return outcome;
}

}  // namespace botenruf
