// The list file ("Rechner.txt"): single recipients between "//begin" and "//end" as
// "station alias" lines, distribution lists between "//v_begin" and "//v_end" as
// "name [members]" lines. Users edit it by hand, so the readers are lenient: markers count
// anywhere in a line, LF alone ends a line as well as CR LF, and malformed list lines are
// skipped. There is no escape mechanism: the writer judges every entry by the readers and
// writes it only when they give it back and no other entry changes because of it.
#pragma once

#include <string>
#include <vector>

#include "platform/system.h"

namespace botenruf {

class RecipientDirectory;

// Names and member texts read from the file keep at most this many characters (a
// single-recipient line without a blank is the one exception: it is taken whole).
inline constexpr size_t kListFileFieldLength = 256;
// A line that is no entry and longer than this is no comment: it is text the readers missed.
inline constexpr size_t kLongestComment = 1024;

// What the readers leave of a file beyond what the format always drops (blank lines, the
// "//Stand" and "//Version" lines, comment lines, white space at the ends of a line): a save
// of the directory read from it would lose these parts.
struct UnreadParts {
  bool foreignEncoding = false;  // a byte-order mark: UTF-8, UTF-16 or UTF-32, not ANSI text
  int binaryLines = 0;           // lines left unread holding NUL, control bytes or a lone CR
  int longLines = 0;             // lines left unread longer than any comment
  int cutTexts = 0;              // names or member texts cut to 256 characters
  int skippedLists = 0;          // list lines without "]" within 256 characters of the "["

  bool Any() const {
    return foreignEncoding || binaryLines > 0 || longLines > 0 || cutTexts > 0 || skippedLists > 0;
  }
  bool operator==(const UnreadParts&) const = default;
};
// Appends the single recipients of every "//begin" section (up to "//end", or to the end of
// the file when "//end" is missing) and the distribution lists of every "//v_begin" section
// (up to "//v_end" or the end of the file) to the directory, and tells what the readers left.
UnreadParts ReadListFile(const std::string& fileBytes, RecipientDirectory& directory);
// The same without keeping the entries.
UnreadParts FindUnreadParts(const std::string& fileBytes);
// One German sentence per kind of unread part.
std::vector<std::string> DescribeUnreadParts(const UnreadParts& parts);

// Whether the file carries an entry: written as its line, the readers give it back (exactly,
// or as they keep every entry: a text without white space at its ends and cut to 256
// characters, an empty alias as the station), and no other entry changes because of it (no
// line break, no marker that ends or opens a section for one of the readers).
bool ListFileCanCarrySingle(const std::string& station, const std::string& alias);
bool ListFileCanCarryList(const std::string& name, const std::string& members);

// The whole file as written, with CR LF line ends. The date is the local date of writing,
// the version the program's file version. Entries the file cannot carry are left out and
// counted in `skippedEntries`.
std::string ListFileText(const RecipientDirectory& directory, const LocalTime& date,
                         const std::string& version, int* skippedEntries = nullptr);

// The directory as text lines for the "Listen-Info" viewer.
std::vector<std::string> ListInfoText(const RecipientDirectory& directory);

}  // namespace botenruf
