#include "directory/list_file.h"

#include <optional>

#include "directory/entry_rules.h"
#include "directory/recipient_directory.h"
#include "text/text.h"

namespace botenruf {
namespace {

constexpr std::string_view kSinglesBegin = "//begin";
constexpr std::string_view kSinglesEnd = "//end";
constexpr std::string_view kListsBegin = "//v_begin";
constexpr std::string_view kListsEnd = "//v_end";

std::string Cut(std::string text) {
  if (text.size() > kListFileFieldLength)
    text.resize(kListFileFieldLength);
  return text;
}

void AppendLine(std::string& out, std::string_view line) {
  out += line;
  out += "\r\n";
}

enum class LineRole { kOutside, kMarker, kEntry };

// One reader's walk through its sections. A marker counts anywhere in a line; markers hold no
// white space, so it does not matter whether the line was trimmed first.
class Sections {
 public:
  Sections(std::string_view open, std::string_view close) : open_(open), close_(close) {}
  LineRole Next(std::string_view line) {
    if (!Contains(line, inside_ ? close_ : open_))
      return inside_ ? LineRole::kEntry : LineRole::kOutside;
    inside_ = !inside_;
    return LineRole::kMarker;
  }

 private:
  std::string_view open_;
  std::string_view close_;
  bool inside_ = false;
};

struct SingleEntry {
  std::string station;
  std::string alias;
  bool cut = false;  // station or alias was longer than the file keeps
};

// The station runs to the first blank and the alias follows it; a line without a blank is
// both, taken whole.
SingleEntry ParseSingle(std::string_view rawLine) {
  std::string line = Trim(rawLine);
  const size_t blank = line.find(' ');
  if (blank == std::string::npos)
    return {line, line, false};
  std::string station = line.substr(0, blank);
  std::string alias = TrimLeft(std::string_view(line).substr(blank + 1));
  const bool cut = station.size() > kListFileFieldLength || alias.size() > kListFileFieldLength;
  return {Cut(std::move(station)), Cut(std::move(alias)), cut};
}

struct ListEntry {
  enum Kind { kNoBracket, kUnclosed, kList } kind = kNoBracket;
  std::string name;
  std::string members;
  bool cut = false;  // the name was longer than the file keeps
  std::string tail;  // what follows the "]"
};

// The name runs to the first "[", the member text from there to the first "]". Only the first
// 256 characters after the "[" are searched, so a member text stays within 255 characters.
ListEntry ParseList(std::string_view line) {
  const size_t open = line.find('[');
  if (open == std::string_view::npos)
    return {};
  const std::string rest = TrimLeft(line.substr(open + 1));
  const size_t close = rest.find(']');
  if (close == std::string::npos || close >= kListFileFieldLength)
    return {ListEntry::kUnclosed, {}, {}, false, {}};
  std::string name = Trim(line.substr(0, open));
  const bool cut = name.size() > kListFileFieldLength;
  return {ListEntry::kList, Cut(std::move(name)), rest.substr(0, close), cut,
          rest.substr(close + 1)};
}

bool StartsWithByteOrderMark(std::string_view bytes) {
  for (std::string_view mark : {"\xEF\xBB\xBF", "\xFF\xFE", "\xFE\xFF"}) {
    if (bytes.substr(0, mark.size()) == mark)
      return true;
  }
  return false;
}

// NUL and the other control bytes stand in no text file; a CR ends no line unless only CRs
// follow it (CR CR LF is a common slip of programs that write CR LF in text mode).
bool HoldsNonText(std::string_view text) {
  size_t end = text.size();
  while (end > 0 && text[end - 1] == '\r')
    --end;
  for (char c : text.substr(0, end)) {
    const unsigned char b = static_cast<unsigned char>(c);
    if ((b < 0x20 && b != '\t') || b == 0x7F)
      return true;
  }
  return false;
}

// A line that closes or opens a section for one of the readers damages the entries around it.
bool SingleLineIsSafe(std::string_view line) {
  return !Contains(line, "\n") && !Contains(line, kSinglesEnd) && !Contains(line, kListsBegin);
}

bool ListLineIsSafe(std::string_view line) {
  return !Contains(line, "\n") && !Contains(line, kListsEnd) && !Contains(line, kSinglesBegin);
}

// The readers keep a text without white space at its ends and cut it to 256 characters.
std::string AsKept(std::string_view text) {
  return Cut(Trim(text));
}

bool GivesBackSingle(std::string_view line, const std::string& station, const std::string& alias,
                     bool exactly) {
  if (!SingleLineIsSafe(line))
    return false;
  const SingleEntry read = ParseSingle(line);
  if (exactly)
    return read.station == station && read.alias == alias;
  const std::string keptAlias = AsKept(alias);
  return (read.station == station || read.station == AsKept(station)) &&
         (read.alias == alias || read.alias == keptAlias ||
          (keptAlias.empty() && read.alias == read.station));
}

// The line that carries the single recipient, or none.
std::optional<std::string> SingleLine(const std::string& station, const std::string& alias) {
  const std::string pair = station + ' ' + alias;
  for (bool exactly : {true, false}) {
    if (GivesBackSingle(pair, station, alias, exactly))
      return pair;
    // A line without a blank is taken whole, also beyond 256 characters.
    if (station == alias && GivesBackSingle(station, station, alias, exactly))
      return station;
  }
  return std::nullopt;
}

std::optional<std::string> ListLine(const std::string& name, const std::string& members) {
  std::string line = name + " [" + members + "]";
  if (!ListLineIsSafe(line))
    return std::nullopt;
  const ListEntry read = ParseList(line);
  if (read.kind != ListEntry::kList || (read.name != name && read.name != AsKept(name)) ||
      (read.members != members && read.members != TrimLeft(members))) {
    return std::nullopt;
  }
  return line;
}

// The sentence for one, or the format filled with the count.
std::string Counted(int count, const char* one, const char* many) {
  return count == 1 ? std::string(one) : Format(many, count);
}

}  // namespace

// One walk through the lines for both readers: each keeps its own sections, an entry of one
// may stand in a section of the other, and what neither takes as an entry or marker is
// dropped. Dropped text is a comment unless it holds what no comment holds.
UnreadParts ReadListFile(const std::string& fileBytes, RecipientDirectory& directory) {
  UnreadParts parts;
  parts.foreignEncoding = StartsWithByteOrderMark(fileBytes);
  Sections singles(kSinglesBegin, kSinglesEnd);
  Sections lists(kListsBegin, kListsEnd);
  for (const std::string& line : SplitLines(fileBytes)) {
    const bool single = singles.Next(line) == LineRole::kEntry;
    const bool inLists = lists.Next(line) == LineRole::kEntry;
    std::string dropped = single ? std::string() : line;
    bool cut = false;
    if (single) {
      SingleEntry entry = ParseSingle(line);
      cut = entry.cut;
      directory.AddSingle(entry.alias, entry.station);
    }
    if (inLists) {
      ListEntry list = ParseList(line);
      if (list.kind == ListEntry::kUnclosed && !single) {
        ++parts.skippedLists;
        continue;
      }
      if (list.kind == ListEntry::kList) {
        cut = cut || list.cut;
        directory.AddList(list.name, list.members);
        if (!single)
          dropped = std::move(list.tail);
      }
    }
    parts.cutTexts += cut ? 1 : 0;
    parts.binaryLines += HoldsNonText(dropped) ? 1 : 0;
    parts.longLines += dropped.size() > kLongestComment ? 1 : 0;
  }
  return parts;
}

UnreadParts FindUnreadParts(const std::string& fileBytes) {
  RecipientDirectory scratch;
  return ReadListFile(fileBytes, scratch);
}

std::vector<std::string> DescribeUnreadParts(const UnreadParts& parts) {
  std::vector<std::string> lines;
  if (parts.foreignEncoding) {
    lines.push_back(
        "Die Datei ist nicht als ANSI-Text gespeichert, sondern als Unicode (UTF-8, "
        "UTF-16 oder UTF-32).");
  }
  if (parts.binaryLines > 0) {
    lines.push_back(Counted(parts.binaryLines,
                            "Eine Zeile enthält Zeichen, die in keinem Text stehen (Nullbytes, "
                            "Steuerzeichen oder ein Zeilenende nur aus CR).",
                            "%d Zeilen enthalten Zeichen, die in keinem Text stehen (Nullbytes, "
                            "Steuerzeichen oder Zeilenenden nur aus CR)."));
  }
  if (parts.longLines > 0) {
    lines.push_back(Counted(parts.longLines, "Eine Zeile ist länger als 1024 Zeichen.",
                            "%d Zeilen sind länger als 1024 Zeichen."));
  }
  if (parts.cutTexts > 0) {
    lines.push_back(Counted(parts.cutTexts,
                            "Ein Eintrag war länger als 256 Zeichen und wurde gekürzt.",
                            "%d Einträge waren länger als 256 Zeichen und wurden gekürzt."));
  }
  if (parts.skippedLists > 0) {
    lines.push_back(Counted(parts.skippedLists,
                            "Eine Verteilerliste wurde übersprungen: ihr \"]\" fehlt oder steht "
                            "nach mehr als 256 Zeichen.",
                            "%d Verteilerlisten wurden übersprungen: ihr \"]\" fehlt oder steht "
                            "nach mehr als 256 Zeichen."));
  }
  return lines;
}

bool ListFileCanCarrySingle(const std::string& station, const std::string& alias) {
  return SingleLine(station, alias).has_value();
}

bool ListFileCanCarryList(const std::string& name, const std::string& members) {
  return ListLine(name, members).has_value();
}

std::string ListFileText(const RecipientDirectory& directory, const LocalTime& date,
                         const std::string& version, int* skippedEntries) {
  int skipped = 0;
  std::string out;
  AppendLine(out, Format("//Stand: %.2ld.%.2ld.%.4ld", static_cast<long>(date.day),
                         static_cast<long>(date.month), static_cast<long>(date.year)));
  // The version comes from the program file; it must not open a section either.
  AppendLine(out, "//Version " + (ListFileCanCarry(version) ? version : std::string()));

  const auto append = [&out, &skipped](const std::optional<std::string>& line) {
    if (line)
      AppendLine(out, *line);
    else
      ++skipped;
  };
  AppendLine(out, kSinglesBegin);
  for (int i = 0; i < directory.SingleCount(); ++i)
    append(SingleLine(directory.Stations()[i], directory.Aliases()[i]));
  AppendLine(out, kSinglesEnd);

  AppendLine(out, kListsBegin);
  for (int i = 0; i < directory.ListCount(); ++i)
    append(ListLine(directory.ListNames()[i], directory.MemberTexts()[i]));
  AppendLine(out, kListsEnd);

  if (skippedEntries != nullptr)
    *skippedEntries = skipped;
  return out;
}

std::vector<std::string> ListInfoText(const RecipientDirectory& directory) {
  std::vector<std::string> lines;
  lines.reserve(2 + directory.Stations().size() + directory.ListNames().size());
  lines.push_back("<<<Einzelempfänger>>>");
  for (size_t i = 0; i < directory.Stations().size(); ++i) {
    lines.push_back(directory.Stations()[i] + " = " + directory.Aliases()[i]);
  }
  lines.push_back("<<<Verteilerlisten>>>");
  for (size_t i = 0; i < directory.ListNames().size(); ++i) {
    lines.push_back(directory.ListNames()[i] + " = " + directory.MemberTexts()[i]);
  }
  return lines;
}

}  // namespace botenruf
