// The in-memory address book: single recipients (station + alias), distribution lists
// (name + member text of stations separated by ","), and the domain names of the last
// domain query. Indexes are shared with the recipient box and the list editor, so order
// is meaningful and nothing is unique; lookups return the first match.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "directory/list_file.h"
#include "platform/file_system.h"
#include "platform/system.h"

namespace botenruf {

// One sort state for the whole program: the list views of the list editor, the list check
// and the domain browser all share it.
struct SortState {
  int lastKeyColumn = -1;
  bool ascending = true;
};

// Names and member texts keep at most this many characters when set.
inline constexpr size_t kMaxNameLength = 256;
// Member texts are kept below the list file's 256-character window, so the reader always
// finds the closing "]" and no list vanishes at the next load.
inline constexpr size_t kMaxMemberTextLength = 255;

enum class SaveStatus {
  kSaved,
  kCannotCreate,            // the file (or its replacement) could not be written
  kNoSpace,                 // the disk is full or the quota used up; the file is as it was
  kRestored,                // writing over the file failed; its old content is back in it
  kKeptAsCopy,              // nor could the old content be written back: it is in `copyPath`
  kUnreadable,              // the file cannot be read now, so it is not written over
  kRefusedAfterFailedLoad,  // the file exists but could not be read at the last load
  kReadOnly,                // the file is marked read-only
  kCannotCarry,             // entries that the file cannot carry (see `uncarried`)
  kDeclined,                // the user kept the partly read or meanwhile changed file as it is
  kCannotKeepCopy,          // the copy of the old file could not be made
};

struct SaveResult {
  SaveStatus status = SaveStatus::kSaved;
  // The entries the file cannot carry, as the user knows them ("Verteilerliste \"x\"").
  std::vector<std::string> uncarried;
  std::string copyPath;  // where the old file is kept
};

// What the user is told about a save that did not happen. Empty for a save that did.
std::string SaveProblemText(const SaveResult& result);

// Asked before a partly read file, or one changed since it was last read or written, is
// replaced, with the question for the box; true to go on.
using ConfirmReplace = std::function<bool(const std::string& question)>;

class RecipientDirectory {
 public:
  int SingleCount() const { return static_cast<int>(stations_.size()); }
  int ListCount() const { return static_cast<int>(listNames_.size()); }
  void GetSingle(int i, std::string& station, std::string& alias) const;
  void GetList(int i, std::string& name, std::string& members) const;

  // Keep the first 256 characters of the text.
  void SetStation(int i, const std::string& text);
  void SetAlias(int i, const std::string& text);
  void SetListName(int i, const std::string& text);
  // Refuses (false, nothing changed) a member text longer than 255 characters instead of
  // cutting a station name in half.
  bool SetMembers(int i, const std::string& text);

  bool AddSingle(const std::string& alias, const std::string& station);
  bool AddList(const std::string& name, const std::string& members);
  bool RemoveSingle(int i);
  bool RemoveList(int i);
  // Exchange two entries whole (the list editor's moves up and down).
  void SwapSingles(int i, int j);
  void SwapLists(int i, int j);

  // Exact, case-sensitive comparison; -1 when absent.
  int FindStation(const std::string& name) const;
  // Case-insensitive (Windows-1252); empty when absent.
  std::string AliasForStation(const std::string& station) const;
  std::string StationForAlias(const std::string& alias) const;
  // Mode 0: station i; 1: member text i; 2: domain name i; any other mode leaves text as is.
  void EntryForMode(int mode, int i, std::string& text) const;

  void StoreDomainNames(const std::vector<std::string>& names) { domains_ = names; }
  const std::vector<std::string>& DomainNames() const { return domains_; }

  static void EnsureTrailingComma(std::string& text);
  // Overlapping finds count: the search resumes one character after each find's start.
  static int CountOccurrences(const std::string& text, const std::string& pattern);
  static int MemberCount(const std::string& members) { return CountOccurrences(members, ","); }
  // The stations of a member text: every piece that a comma ends, empty ones too (what follows
  // the last comma is none).
  static std::vector<std::string> MembersBeforeCommas(const std::string& members);

  // Drops from every list the members that are no station of a single recipient.
  void PurgeMembers();

  // The shared stable selection sort of two parallel sequences by key column 0 or 1, in the
  // order of SortKey1252: the same key column again reverses the direction, another keeps it.
  // The new order: the old place of each entry, entry by entry.
  std::vector<size_t> SortPairs(std::vector<std::string>& column0,
                                std::vector<std::string>& column1, int keyColumn);
  std::vector<size_t> SortSingles(int keyColumn) {
    return SortPairs(stations_, aliases_, keyColumn);
  }
  std::vector<size_t> SortLists(int keyColumn) {
    return SortPairs(listNames_, members_, keyColumn);
  }
  // Reorders one list's members by their aliases; the new order of its member pieces.
  std::vector<size_t> SortMembers(int i);
  SortState& sortState() { return sortState_; }

  // Empties singles and lists and reads the list file at `path`; domain names stay.
  // A missing file leaves the directory empty. A file that exists but cannot be read
  // leaves it empty too and makes later saves refuse, so the user's real file is never
  // overwritten with the near-empty directory.
  void ReloadDirectory(FileSystem& files, const std::string& path);
  // Reads the file again when it is no longer what the directory last read or wrote (a hand
  // edit meanwhile) and can be read; true when it did.
  bool ReloadIfChanged(FileSystem& files, const std::string& path);
  bool LastLoadFailed() const { return lastLoadFailed_; }
  // What the last load left unread; a save first asks, and keeps the old file as a copy.
  const UnreadParts& LastLoadUnread() const { return unread_; }

  // Writes the list file (to "C:\Rechner.txt" when path is empty) beside the old one and
  // replaces the old one only when the whole text was written; where no file may be created
  // beside it, over the old one in place, with a copy of the old content in the temporary
  // folder until the new one is complete. Refuses a read-only file, and a directory with an
  // entry the file cannot carry. Asks `confirm` first before it replaces a file changed since
  // the directory last read or wrote it, and after a partial load, when it also keeps the old
  // file as "<file>.alt" (or ".alt2" ..., never one that exists).
  SaveResult SaveDirectory(FileSystem& files, const std::string& path, const LocalTime& date,
                           const std::string& version, const ConfirmReplace& confirm = {});

  // Raw access for the list file reader and writer.
  const std::vector<std::string>& Stations() const { return stations_; }
  const std::vector<std::string>& Aliases() const { return aliases_; }
  const std::vector<std::string>& ListNames() const { return listNames_; }
  const std::vector<std::string>& MemberTexts() const { return members_; }

 private:
  // What the list file held when the directory last read or wrote it.
  struct FileStamp {
    std::string path;
    ReadStatus status = ReadStatus::kMissing;
    size_t size = 0;
    size_t hash = 0;
    bool operator==(const FileStamp&) const = default;
  };
  static FileStamp StampOf(const std::string& path, ReadStatus status, const std::string& bytes);
  bool ChangedSince(const FileStamp& now) const;

  std::vector<std::string> stations_;
  std::vector<std::string> aliases_;
  std::vector<std::string> listNames_;
  std::vector<std::string> members_;
  std::vector<std::string> domains_;
  SortState sortState_;
  bool lastLoadFailed_ = false;
  UnreadParts unread_;
  FileStamp stamp_;
};

}  // namespace botenruf
