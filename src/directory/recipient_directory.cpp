#include "directory/recipient_directory.h"

#include <algorithm>
#include <numeric>

#include "directory/list_file.h"
#include "settings/settings.h"
#include "text/collation.h"
#include "text/text.h"

namespace botenruf {
namespace {

// Far more than any recipient list; a larger file is surely not one (the user may have
// picked the wrong file as list path), so it is neither read nor overwritten.
constexpr uint64_t kMaxListFileBytes = 16u * 1024 * 1024;

// Written beside the target and moved over it once complete.
constexpr char kTemporarySuffix[] = ".neu";
// A partly read file is kept under this name (then ".alt2" and on) before it is replaced.
constexpr char kCopySuffix[] = ".alt";
constexpr int kMostCopies = 99;
// The boxes name at most this many entries, each cut to this many characters.
constexpr size_t kNamedEntries = 3;
constexpr size_t kNamedLength = 40;

std::string ListFilePath(const std::string& path) {
  return path.empty() ? std::string(kDefaultListPath) : path;
}

std::string FirstCharacters(const std::string& text) {
  return text.substr(0, kMaxNameLength);
}

// An entry as the boxes name it: its kind and its shown name, short and on one line.
std::string EntryLabel(const char* kind, std::string name) {
  if (name.size() > kNamedLength)
    name = name.substr(0, kNamedLength - 3) + "...";
  for (char& c : name) {
    if (static_cast<unsigned char>(c) < 0x20)
      c = ' ';
  }
  return std::string(kind) + " \"" + name + "\"";
}

std::vector<std::string> UncarriedEntries(const RecipientDirectory& directory) {
  std::vector<std::string> labels;
  for (int i = 0; i < directory.SingleCount(); ++i) {
    const std::string& station = directory.Stations()[i];
    const std::string& alias = directory.Aliases()[i];
    if (!ListFileCanCarrySingle(station, alias))
      labels.push_back(EntryLabel("Einzelempfänger", alias.empty() ? station : alias));
  }
  for (int i = 0; i < directory.ListCount(); ++i) {
    if (!ListFileCanCarryList(directory.ListNames()[i], directory.MemberTexts()[i]))
      labels.push_back(EntryLabel("Verteilerliste", directory.ListNames()[i]));
  }
  return labels;
}

// A name for a copy of the old file that no earlier copy has: `base` and ".alt", ".alt2" ...
std::string FreeCopyPath(FileSystem& files, const std::string& base) {
  for (int n = 1; n <= kMostCopies; ++n) {
    std::string path = base + kCopySuffix + (n == 1 ? std::string() : std::to_string(n));
    if (!files.Exists(path))
      return path;
  }
  return {};
}

std::string ReplaceQuestion(const UnreadParts& unread, const std::string& target,
                            const std::string& copy) {
  std::string text =
      "Die Rechnerliste \"" + target + "\" konnte beim Laden nur zum Teil gelesen werden:\n";
  for (const std::string& line : DescribeUnreadParts(unread))
    text += "\n- " + line;
  return text +
         "\n\nWas nicht gelesen wurde, ginge beim Speichern verloren. Die alte Datei wird "
         "deshalb als \"" +
         copy + "\" aufbewahrt.\n\nJetzt speichern? Mit \"Nein\" bleibt die Datei, wie sie ist.";
}

std::string ChangedQuestion(const std::string& target) {
  return "Die Rechnerliste \"" + target +
         "\" wurde geändert, seit sie hier zuletzt gelesen oder gespeichert wurde (von Hand oder "
         "von einem anderen Programm).\n\nJetzt speichern? Was dort geändert wurde, ginge "
         "verloren. Mit \"Nein\" bleibt die Datei, wie sie ist.";
}

bool Holds(FileSystem& files, const std::string& path, const std::string& bytes) {
  std::string now;
  return files.ReadAll(path, now, bytes.size()) == ReadStatus::kOk && now == bytes;
}

// Over the old file, where no file may be created beside it. Its old content stays in memory
// and, in case the program does not live to write it back, as a copy in the temporary folder
// (always writable), until the new content is complete; after a failure it is written back.
SaveStatus WriteInPlace(FileSystem& files, const std::string& target, const std::string& text,
                        const std::string& old, std::string& copyPath) {
  const std::string folder = files.TemporaryFolder();
  copyPath = folder.empty()
                 ? std::string()
                 : FreeCopyPath(files, folder + target.substr(target.find_last_of("\\/:") + 1));
  if (copyPath.empty() || !files.WriteAll(copyPath, old)) {
    if (!copyPath.empty())
      files.Remove(copyPath);
    return SaveStatus::kCannotKeepCopy;
  }
  const WriteStatus status = files.Write(target, text, WriteMode::kInPlace);
  if (status != WriteStatus::kOk && !Holds(files, target, old)) {
    files.Write(target, old, WriteMode::kInPlace);
    if (!Holds(files, target, old))
      return SaveStatus::kKeptAsCopy;
  }
  files.Remove(copyPath);
  copyPath.clear();
  switch (status) {
    case WriteStatus::kOk:
      return SaveStatus::kSaved;
    case WriteStatus::kNoSpace:
      return SaveStatus::kNoSpace;
    default:
      return SaveStatus::kRestored;
  }
}

// The old file stays untouched until the new one is complete; a leftover of an interrupted
// save is written over. Where no file may be created beside it, it is rewritten in place.
// `old` is the file's content, null when there is none.
SaveStatus WriteListFile(FileSystem& files, const std::string& target, const std::string& text,
                         const std::string* old, std::string& copyPath) {
  const std::string temporary = target + kTemporarySuffix;
  const WriteStatus status = files.Write(temporary, text, WriteMode::kCreate);
  if (status == WriteStatus::kNoAccess) {
    return old ? WriteInPlace(files, target, text, *old, copyPath) : SaveStatus::kCannotCreate;
  }
  if (status == WriteStatus::kOk && files.Replace(temporary, target))
    return SaveStatus::kSaved;
  files.Remove(temporary);
  return status == WriteStatus::kNoSpace ? SaveStatus::kNoSpace : SaveStatus::kCannotCreate;
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

std::vector<size_t> RecipientDirectory::SortPairs(std::vector<std::string>& column0,
                                                  std::vector<std::string>& column1,
                                                  int keyColumn) {
  if (keyColumn == sortState_.lastKeyColumn)
    sortState_.ascending = !sortState_.ascending;
  sortState_.lastKeyColumn = keyColumn;

  // Picking the first smallest (or, descending, the first greatest) remaining key over and
  // over is exactly a stable sort: equal keys keep their order in both directions.
  // Each key is turned into its sort key once, so that the comparisons are plain byte
  // comparisons: a header click may sort tens of thousands of stations.
  std::vector<std::string> keys;
  keys.reserve(column0.size());
  for (const std::string& key : keyColumn == 0 ? column0 : column1)
    keys.push_back(SortKey1252(key));
  std::vector<size_t> order(keys.size());
  std::iota(order.begin(), order.end(), size_t{0});
  const bool ascending = sortState_.ascending;
  std::stable_sort(order.begin(), order.end(), [&keys, ascending](size_t a, size_t b) {
    return ascending ? keys[a] < keys[b] : keys[b] < keys[a];
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
  return order;
}

std::vector<size_t> RecipientDirectory::SortMembers(int i) {
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

  std::vector<size_t> order = SortPairs(aliases, stations, 0);

  std::string sorted;
  for (const std::string& station : stations) {
    sorted += station;
    sorted += ',';
  }
  // The trailing comma is optional; dropping it keeps a full text within the limit.
  if (sorted.size() > kMaxMemberTextLength)
    sorted.pop_back();
  SetMembers(i, sorted);
  return order;
}

RecipientDirectory::FileStamp RecipientDirectory::StampOf(const std::string& path,
                                                          ReadStatus status,
                                                          const std::string& bytes) {
  FileStamp stamp{path, status};
  if (status == ReadStatus::kOk) {
    stamp.size = bytes.size();
    stamp.hash = std::hash<std::string>()(bytes);
  }
  return stamp;
}

bool RecipientDirectory::ChangedSince(const FileStamp& now) const {
  // A file the directory never read is a change where there is one.
  if (now.path != stamp_.path)
    return now.status != ReadStatus::kMissing;
  return !(now == stamp_);
}

void RecipientDirectory::ReloadDirectory(FileSystem& files, const std::string& path) {
  stations_.clear();
  aliases_.clear();
  listNames_.clear();
  members_.clear();
  unread_ = {};

  // An empty path means the default file, for reading as for writing: otherwise a save
  // would overwrite a default file that was never read.
  std::string bytes;
  const ReadStatus status = files.ReadAll(ListFilePath(path), bytes, kMaxListFileBytes);
  stamp_ = StampOf(ListFilePath(path), status, bytes);
  switch (status) {
    case ReadStatus::kOk:
      unread_ = ReadListFile(bytes, *this);
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

bool RecipientDirectory::ReloadIfChanged(FileSystem& files, const std::string& path) {
  const std::string target = ListFilePath(path);
  std::string bytes;
  const ReadStatus status = files.ReadAll(target, bytes, kMaxListFileBytes);
  // A file that is gone or cannot be read now (a share out of reach, a lock) would leave the
  // directory empty: it stays, and a save asks or refuses.
  if (status != ReadStatus::kOk || !ChangedSince(StampOf(target, status, bytes)))
    return false;
  ReloadDirectory(files, path);
  return true;
}

SaveResult RecipientDirectory::SaveDirectory(FileSystem& files, const std::string& path,
                                             const LocalTime& date, const std::string& version,
                                             const ConfirmReplace& confirm) {
  SaveResult result;
  if (lastLoadFailed_) {
    result.status = SaveStatus::kRefusedAfterFailedLoad;
    return result;
  }
  // Nothing is written without them: the user can still change them in the editor.
  int leftOut = 0;
  const std::string text = ListFileText(*this, date, version, &leftOut);
  if (leftOut > 0) {
    result.uncarried = UncarriedEntries(*this);
    result.status = SaveStatus::kCannotCarry;
    return result;
  }
  const std::string target = ListFilePath(path);
  if (files.IsReadOnly(target)) {
    result.status = SaveStatus::kReadOnly;
    return result;
  }
  std::string old;
  const ReadStatus read = files.ReadAll(target, old, kMaxListFileBytes);
  if (read == ReadStatus::kUnreadable || read == ReadStatus::kTooLarge) {
    result.status = SaveStatus::kUnreadable;
    return result;
  }
  if (ChangedSince(StampOf(target, read, old)) && (!confirm || !confirm(ChangedQuestion(target)))) {
    result.status = SaveStatus::kDeclined;
    return result;
  }
  const bool exists = read == ReadStatus::kOk;
  if (unread_.Any() && exists) {
    result.copyPath = FreeCopyPath(files, target);
    if (!result.copyPath.empty() &&
        (!confirm || !confirm(ReplaceQuestion(unread_, target, result.copyPath)))) {
      result.status = SaveStatus::kDeclined;
      return result;
    }
    if (result.copyPath.empty() || !files.CopyToNew(target, result.copyPath)) {
      result.status = SaveStatus::kCannotKeepCopy;
      return result;
    }
    unread_ = {};  // the copy keeps all of it
  }
  std::string copyPath;
  result.status = WriteListFile(files, target, text, exists ? &old : nullptr, copyPath);
  if (!copyPath.empty())
    result.copyPath = copyPath;
  if (result.status == SaveStatus::kSaved)
    stamp_ = StampOf(target, ReadStatus::kOk, text);
  return result;
}

std::string SaveProblemText(const SaveResult& result) {
  const std::string notSaved = "Die Rechnerliste wurde nicht gespeichert";
  switch (result.status) {
    case SaveStatus::kSaved:
      return {};
    case SaveStatus::kCannotCreate:
      return "Die Rechnerliste konnte nicht gespeichert werden.";
    case SaveStatus::kNoSpace:
      return notSaved + ": auf dem Datenträger ist nicht genug Platz. Die Datei ist unverändert.";
    case SaveStatus::kRestored:
      return "Die Rechnerliste konnte nicht gespeichert werden. Die Datei hat ihren alten Inhalt.";
    case SaveStatus::kKeptAsCopy:
      return "Die Rechnerliste konnte nicht gespeichert werden, und ihr alter Inhalt ließ sich "
             "nicht zurückschreiben. Er ist in \"" +
             result.copyPath + "\" aufbewahrt.";
    case SaveStatus::kUnreadable:
      return notSaved + ": die Datei kann gerade nicht gelesen werden.";
    case SaveStatus::kRefusedAfterFailedLoad:
      return notSaved + ": sie konnte beim Laden nicht gelesen werden.";
    case SaveStatus::kReadOnly:
      return notSaved + ": die Datei ist schreibgeschützt.";
    case SaveStatus::kDeclined:
      return notSaved + ".";
    case SaveStatus::kCannotKeepCopy:
      return notSaved + ": die alte Datei konnte nicht als Kopie aufbewahrt werden" +
             (result.copyPath.empty() ? std::string() : " (\"" + result.copyPath + "\")") + ".";
    case SaveStatus::kCannotCarry:
      break;
  }
  const size_t count = result.uncarried.size();
  std::string text = notSaved + (count == 1 ? ": diesen Eintrag kann die Datei nicht aufnehmen, "
                                              "ohne ihn oder andere Einträge zu verändern: "
                                            : ": diese Einträge kann die Datei nicht aufnehmen, "
                                              "ohne sie oder andere Einträge zu verändern: ");
  for (size_t i = 0; i < count && i < kNamedEntries; ++i)
    text += (i > 0 ? ", " : "") + result.uncarried[i];
  if (count > kNamedEntries)
    text += Format(" und %d weitere", static_cast<int>(count - kNamedEntries));
  return text + ".";
}

}  // namespace botenruf
