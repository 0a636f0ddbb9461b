#include "listeditor/list_editor.h"

#include <algorithm>
#include <utility>

#include "directory/entry_rules.h"
#include "resource.h"
#include "text/text.h"

namespace botenruf {
namespace {

std::string MembersOf(const RecipientDirectory& directory, int list) {
  std::string name, members;
  directory.GetList(list, name, members);
  return members;
}

// Each member followed by "," but the last, as the editor has always written a rebuilt text.
std::string JoinMembers(const std::vector<std::string>& members) {
  std::string text;
  for (size_t i = 0; i < members.size(); ++i) {
    text += members[i];
    if (i + 1 < members.size())
      text += ',';
  }
  return text;
}

int MoveEntry(int count, int index, int direction) {
  const int target = index + direction;
  return index >= 0 && index < count && target >= 0 && target < count ? target : -1;
}

}  // namespace

std::vector<std::string> SplitMembers(std::string members) {
  RecipientDirectory::EnsureTrailingComma(members);
  return RecipientDirectory::MembersBeforeCommas(members);
}

std::vector<MemberRow> MemberRows(const std::string& members, const RecipientDirectory& directory) {
  std::vector<MemberRow> rows;
  const std::vector<std::string> pieces = SplitMembers(members);
  for (size_t i = 0; i < pieces.size(); ++i) {
    const int single = directory.FindStation(pieces[i]);
    if (single < 0)
      continue;
    std::string station, alias;
    directory.GetSingle(single, station, alias);
    rows.push_back({alias, static_cast<int>(i)});
  }
  return rows;
}

std::vector<size_t> MemberRowOrder(const std::vector<MemberRow>& before,
                                   const std::vector<MemberRow>& after,
                                   const std::vector<size_t>& pieces) {
  std::vector<size_t> order;
  for (const MemberRow& row : after) {
    const size_t piece = static_cast<size_t>(row.position);
    const auto was = std::find_if(before.begin(), before.end(), [&](const MemberRow& old) {
      return piece < pieces.size() && static_cast<size_t>(old.position) == pieces[piece];
    });
    if (was == before.end() || was->alias != row.alias)
      return {};
    order.push_back(static_cast<size_t>(was - before.begin()));
  }
  return order.size() == before.size() ? order : std::vector<size_t>{};
}

int MoveSingle(RecipientDirectory& directory, int index, int direction) {
  const int target = MoveEntry(directory.SingleCount(), index, direction);
  if (target >= 0)
    directory.SwapSingles(index, target);
  return target;
}

int MoveList(RecipientDirectory& directory, int index, int direction) {
  const int target = MoveEntry(directory.ListCount(), index, direction);
  if (target >= 0)
    directory.SwapLists(index, target);
  return target;
}

std::optional<std::string> AddMembers(RecipientDirectory& directory, int list,
                                      const std::vector<int>& singles, int32_t maxMembers) {
  if (list < 0 || list >= directory.ListCount())
    return std::nullopt;
  for (int single : singles) {
    std::string members = MembersOf(directory, list);
    RecipientDirectory::EnsureTrailingComma(members);
    if (RecipientDirectory::MemberCount(members) >= maxMembers)
      return Format("Maximal %ld Empfänger pro Liste erlaubt.", static_cast<long>(maxMembers));
    std::string station, alias;
    directory.GetSingle(single, station, alias);
    const std::string refusal = CheckAppendedMember(members, station);
    if (!refusal.empty())
      return refusal;
    directory.SetMembers(list, members + station);
  }
  return std::nullopt;
}

void RemoveMembers(RecipientDirectory& directory, int list, const std::vector<int>& rows) {
  const std::string members = MembersOf(directory, list);
  const std::vector<MemberRow> shown = MemberRows(members, directory);
  std::vector<std::string> pieces = SplitMembers(members);
  std::vector<bool> removed(pieces.size(), false);
  for (int row : rows) {
    if (row >= 0 && row < static_cast<int>(shown.size()))
      removed[shown[row].position] = true;
  }
  std::string text;
  for (size_t i = 0; i < pieces.size(); ++i) {
    if (!removed[i])
      text += pieces[i] + ",";
  }
  directory.SetMembers(list, text);
}

int MoveMember(RecipientDirectory& directory, int list, int row, int direction) {
  const std::string members = MembersOf(directory, list);
  const std::vector<MemberRow> shown = MemberRows(members, directory);
  const int target = MoveEntry(static_cast<int>(shown.size()), row, direction);
  if (target < 0)
    return -1;
  std::vector<std::string> pieces = SplitMembers(members);
  std::swap(pieces[shown[row].position], pieces[shown[target].position]);
  directory.SetMembers(list, JoinMembers(pieces));
  return target;
}

EditModeControls ControlsForMode(bool recipientMode) {
  const std::vector<int> listSide = {
      IDC_EDITOR_LISTS,       IDC_EDITOR_LIST_NEW,   IDC_EDITOR_LIST_CHANGE,
      IDC_EDITOR_LIST_REMOVE, IDC_EDITOR_LIST_UP,    IDC_EDITOR_LIST_DOWN,
      IDC_EDITOR_MEMBERS,     IDC_EDITOR_MEMBER_ADD, IDC_EDITOR_MEMBER_REMOVE,
      IDC_EDITOR_MEMBER_UP,   IDC_EDITOR_MEMBER_DOWN};
  const std::vector<int> recipientSide = {IDC_EDITOR_STATION,       IDC_EDITOR_SINGLE_NEW,
                                          IDC_EDITOR_SINGLE_CHANGE, IDC_EDITOR_SINGLE_REMOVE,
                                          IDC_EDITOR_SINGLE_UP,     IDC_EDITOR_SINGLE_DOWN};
  return recipientMode ? EditModeControls{recipientSide, listSide}
                       : EditModeControls{listSide, recipientSide};
}

}  // namespace botenruf
