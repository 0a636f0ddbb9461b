#include "directory/recipient_directory.h"

#include <algorithm>
#include <numeric>

#include "app/settings.h"
#include "directory/list_file.h"
#include "text/text.h"

namespace botenruf {
namespace {

// Far more than any recipient list; a larger file is surely not one (the user may have
// picked the wrong file as list path), so it is neither read nor overwritten.
constexpr uint64_t kMaxListFileBytes = 16u * 1024 * 1024;

// Written beside the target and moved over it once complete.
constexpr char kTemporarySuffix[] = ".neu";

std::string ListFilePath(const std::string& path) {
  return path.empty() ? std::string(kDefaultListPath) : path;
}

std::string FirstCharacters(const std::string& text) {
  return text.substr(0, kMaxNameLength);
}

}  // namespace

void RecipientDirectory::GetSingle(int i, std::string& station, std::string& alias) const {
  station = stations_[i];
  alias = aliases_[i];
}

void RecipientDirectory::GetList(int i, std::string& name, std::string& members) const {
  name = listNames_[i];
  members = members_[i];
}

void RecipientDirectory::SetStation(int i, const std::string& text) {
  stations_[i] = FirstCharacters(text);
}

void RecipientDirectory::SetAlias(int i, const std::string& text) {
  aliases_[i] = FirstCharacters(text);
}

void RecipientDirectory::SetListName(int i, const std::string& text) {
  listNames_[i] = FirstCharacters(text);
}

bool RecipientDirectory::SetMembers(int i, const std::string& text) {
  if (text.size() > kMaxMemberTextLength)
    return false;
  members_[i] = text;
  return true;
}

bool RecipientDirectory::AddSingle(const std::string& alias, const std::string& station) {
  stations_.push_back(station);
  aliases_.push_back(alias);
  return true;
}

bool RecipientDirectory::AddList(const std::string& name, const std::string& members) {
  listNames_.push_back(name);
  members_.push_back(members);
  return true;
}

bool RecipientDirectory::RemoveSingle(int i) {
  stations_.erase(stations_.begin() + i);
  aliases_.erase(aliases_.begin() + i);
  return true;
}

std::vector<std::string> RecipientDirectory::MembersBeforeCommas(const std::string& members) {
  std::vector<std::string> pieces;
  size_t start = 0;
  for (size_t comma = members.find(','); comma != std::string::npos;
       comma = members.find(',', start)) {
    pieces.push_back(members.substr(start, comma - start));
    start = comma + 1;
  }
  return pieces;
}

void RecipientDirectory::SwapSingles(int i, int j) {
  std::swap(stations_[i], stations_[j]);
  std::swap(aliases_[i], aliases_[j]);
}

void RecipientDirectory::SwapLists(int i, int j) {
  std::swap(listNames_[i], listNames_[j]);
  std::swap(members_[i], members_[j]);
}

bool RecipientDirectory::RemoveList(int i) {
  listNames_.erase(listNames_.begin() + i);
  members_.erase(members_.begin() + i);
  return true;
}

int RecipientDirectory::FindStation(const std::string& name) const {
  for (size_t i = 0; i < stations_.size(); ++i) {
    if (stations_[i] == name)
      return static_cast<int>(i);
  }
  return -1;
}

std::string RecipientDirectory::AliasForStation(const std::string& station) const {
  for (size_t i = 0; i < stations_.size(); ++i) {
    if (EqualsIgnoreCase1252(stations_[i], station))
      return aliases_[i];
  }
  return std::string();
}

std::string RecipientDirectory::StationForAlias(const std::string& alias) const {
  for (size_t i = 0; i < aliases_.size(); ++i) {
    if (EqualsIgnoreCase1252(aliases_[i], alias))
      return stations_[i];
  }
  return std::string();
}

void RecipientDirectory::EntryForMode(int mode, int i, std::string& text) const {
  switch (mode) {
    case 0:
      text = stations_[i];
      break;
    case 1:
      text = members_[i];
      break;
    case 2:
      text = domains_[i];
      break;
    default:
      break;
  }
}

void RecipientDirectory::EnsureTrailingComma(std::string& text) {
  if (!text.empty() && text.back() != ',')
    text += ',';
}

int RecipientDirectory::CountOccurrences(const std::string& text, const std::string& pattern) {
  // An empty pattern would be "found" at every position; nothing counts it.
  if (pattern.empty())
    return 0;
  int count = 0;
  for (size_t pos = text.find(pattern); pos != std::string::npos;
       pos = text.find(pattern, pos + 1)) {
    ++count;
  }
  return count;
}

void RecipientDirectory::PurgeMembers() {
  for (size_t i = 0; i < members_.size(); ++i) {
    std::string text = members_[i];
    EnsureTrailingComma(text);
    std::string result;
    size_t start = 0;
    for (size_t comma = text.find(','); comma != std::string::npos; comma = text.find(',', start)) {
      const std::string station = text.substr(start, comma - start);
      start = comma + 1;
      if (FindStation(station) == -1)
        continue;
      result += station;
      if (text.find(',', start) != std::string::npos)
        result += ',';
    }
    // Kept stations never make the text longer than it was, so this only fails for a text
    // that was already over the limit; that text is then kept as it is.
    SetMembers(static_cast<int>(i), result);
  }
}

void RecipientDirectory::SortPairs(std::vector<std::string>& column0,
                                   std::vector<std::string>& column1, int keyColumn) {
  if (keyColumn == sortState_.lastKeyColumn)
    sortState_.ascending = !sortState_.ascending;
  sortState_.lastKeyColumn = keyColumn;

  // Picking the first smallest (or, descending, the first greatest) remaining key over and
  // over is exactly a stable sort: equal keys keep their order in both directions.
  const std::vector<std::string>& keys = keyColumn == 0 ? column0 : column1;
  std::vector<size_t> order(keys.size());
  std::iota(order.begin(), order.end(), size_t{0});
  const bool ascending = sortState_.ascending;
  std::stable_sort(order.begin(), order.end(), [&keys, ascending](size_t a, size_t b) {
    const int result = CompareIgnoreCase1252(keys[a], keys[b]);
    return ascending ? result < 0 : result > 0;
  });

  std::vector<std::string> sorted0;
  std::vector<std::string> sorted1;
  sorted0.reserve(order.size());
  sorted1.reserve(order.size());
  for (size_t index : order) {
    sorted0.push_back(std::move(column0[index]));
    sorted1.push_back(std::move(column1[index]));
  }
  column0 = std::move(sorted0);
  column1 = std::move(sorted1);
}

void RecipientDirectory::SortMembers(int i) {
  std::string text = members_[i];
  EnsureTrailingComma(text);

  // Every piece before a comma is a station, an empty one too; the first comma is looked
  // for from the second character on, so a leading comma stays part of the first station.
  std::vector<std::string> aliases;
  std::vector<std::string> stations;
  size_t start = 0;
  for (size_t comma = text.find(',', 1); comma != std::string::npos;
       comma = text.find(',', start)) {
    stations.push_back(text.substr(start, comma - start));
    aliases.push_back(AliasForStation(stations.back()));
    start = comma + 1;
  }

  SortPairs(aliases, stations, 0);

  std::string sorted;
  for (const std::string& station : stations) {
    sorted += station;
    sorted += ',';
  }
  // The trailing comma is optional; dropping it keeps a full text within the limit.
  if (sorted.size() > kMaxMemberTextLength)
    sorted.pop_back();
  SetMembers(i, sorted);
}

void RecipientDirectory::ReloadDirectory(FileSystem& files, const std::string& path) {
  stations_.clear();
  aliases_.clear();
  listNames_.clear();
  members_.clear();

  // An empty path means the default file, for reading as for writing: otherwise a save
  // would overwrite a default file that was never read.
  std::string bytes;
  switch (files.ReadAll(ListFilePath(path), bytes, kMaxListFileBytes)) {
    case ReadStatus::kOk:
      ReadSingles(bytes, *this);
      ReadLists(bytes, *this);
      lastLoadFailed_ = false;
      break;
    case ReadStatus::kMissing:
      lastLoadFailed_ = false;
      break;
    case ReadStatus::kUnreadable:
    case ReadStatus::kTooLarge:
      lastLoadFailed_ = true;
      break;
  }
}

SaveResult RecipientDirectory::SaveDirectory(FileSystem& files, const std::string& path,
                                             const LocalTime& date,
                                             const std::string& version) const {
  SaveResult result;
  if (lastLoadFailed_) {
    result.status = SaveStatus::kRefusedAfterFailedLoad;
    return result;
  }
  const std::string target = ListFilePath(path);
  const std::string text = ListFileText(*this, date, version, &result.skippedEntries);

  // The old file stays untouched until the new one is complete.
  const std::string temporary = target + kTemporarySuffix;
  if (!files.WriteAll(temporary, text) || !files.Replace(temporary, target)) {
    files.Remove(temporary);
    result.status = SaveStatus::kCannotCreate;
  }
  return result;
}

std::string SaveProblemText(const SaveResult& result) {
  switch (result.status) {
    case SaveStatus::kCannotCreate:
      return "Die Rechnerliste konnte nicht gespeichert werden.";
    case SaveStatus::kRefusedAfterFailedLoad:
      return "Die Rechnerliste wurde nicht gespeichert: sie konnte beim Laden nicht gelesen "
             "werden.";
    case SaveStatus::kSaved:
      break;
  }
  if (result.skippedEntries > 0) {
    return Format("%d Einträge konnten nicht in die Rechnerliste geschrieben werden.",
                  result.skippedEntries);
  }
  return {};
}

}  // namespace botenruf
