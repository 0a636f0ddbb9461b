#include "directory/list_file.h"

#include "directory/entry_rules.h"
#include "text/text.h"

namespace botenruf {
namespace {

std::string Cut(std::string text) {
  if (text.size() > kListFileFieldLength)
    text.resize(kListFileFieldLength);
  return text;
}

void AppendLine(std::string& out, std::string_view line) {
  out += line;
  out += "\r\n";
}

}  // namespace

void ReadSingles(const std::string& fileBytes, RecipientDirectory& directory) {
  bool inSection = false;
  for (const std::string& rawLine : SplitLines(fileBytes)) {
    const std::string line = Trim(rawLine);
    if (!inSection) {
      if (Contains(line, "//begin"))
        inSection = true;
      continue;
    }
    if (Contains(line, "//end")) {
      inSection = false;
      continue;
    }
    const size_t blank = line.find(' ');
    if (blank == std::string::npos) {
      directory.AddSingle(line, line);
    } else {
      directory.AddSingle(Cut(TrimLeft(std::string_view(line).substr(blank + 1))),
                          Cut(line.substr(0, blank)));
    }
  }
}

void ReadLists(const std::string& fileBytes, RecipientDirectory& directory) {
  bool inSection = false;
  for (const std::string& line : SplitLines(fileBytes)) {
    if (!inSection) {
      if (Contains(line, "//v_begin"))
        inSection = true;
      continue;
    }
    if (Contains(line, "//v_end")) {
      inSection = false;
      continue;
    }
    const size_t open = line.find('[');
    if (open == std::string::npos)
      continue;
    const std::string rest = Cut(TrimLeft(std::string_view(line).substr(open + 1)));
    const std::string name = Cut(Trim(std::string_view(line).substr(0, open)));
    // Only the cut rest is searched, so a member text stays within 255 characters.
    const size_t close = rest.find(']');
    if (close == std::string::npos)
      continue;
    directory.AddList(name, rest.substr(0, close));
  }
}

std::string ListFileText(const RecipientDirectory& directory, const LocalTime& date,
                         const std::string& version, int* skippedEntries) {
  int skipped = 0;
  std::string out;
  AppendLine(out, Format("//Stand: %.2ld.%.2ld.%.4ld", static_cast<long>(date.day),
                         static_cast<long>(date.month), static_cast<long>(date.year)));
  // The version comes from the program file; it must not open a section either.
  AppendLine(out, "//Version " + (ListFileCanCarry(version) ? version : std::string()));

  AppendLine(out, "//begin");
  const std::vector<std::string>& stations = directory.Stations();
  const std::vector<std::string>& aliases = directory.Aliases();
  for (size_t i = 0; i < stations.size(); ++i) {
    if (!ListFileCanCarrySingle(stations[i], aliases[i])) {
      ++skipped;
      continue;
    }
    out += stations[i];
    out += ' ';
    AppendLine(out, aliases[i]);
  }
  AppendLine(out, "//end");

  AppendLine(out, "//v_begin");
  const std::vector<std::string>& names = directory.ListNames();
  const std::vector<std::string>& members = directory.MemberTexts();
  for (size_t i = 0; i < names.size(); ++i) {
    if (!ListFileCanCarryList(names[i], members[i])) {
      ++skipped;
      continue;
    }
    out += names[i];
    out += " [";
    out += members[i];
    AppendLine(out, "]");
  }
  AppendLine(out, "//v_end");

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
