#include "update/update_list.h"

#include "text/text.h"

namespace botenruf {

bool ParseVersionText(std::string_view text, Version& version) {
  Version parsed = {};
  size_t part = 0;
  size_t start = 0;
  while (part < parsed.size()) {
    const size_t end = part + 1 < parsed.size() ? text.find('.', start) : text.size();
    if (end == std::string_view::npos)
      return false;
    const std::string_view digits = text.substr(start, end - start);
    if (digits.empty() || digits.size() > 5)
      return false;
    for (char c : digits) {
      if (c < '0' || c > '9')
        return false;
    }
    parsed[part++] = ParseLong(digits);
    start = end + 1;
  }
  version = parsed;
  return true;
}

std::string VersionText(const Version& version) {
  return Format("%d.%d.%d.%d", version[0], version[1], version[2], version[3]);
}

bool IsNewer(const Version& candidate, const Version& installed) {
  return candidate > installed;
}

namespace {

// Walks the fields of one line. A field without its ";" leaves the position where it is, so
// every later field of the line is missing too.
class FieldReader {
 public:
  explicit FieldReader(std::string_view line) : line_(line) {}

  std::optional<std::string_view> Next() {
    const size_t end = line_.find(';', position_);
    if (end == std::string_view::npos)
      return std::nullopt;
    const std::string_view field = line_.substr(position_, end - position_);
    position_ = end + 1;
    return field;
  }
  int32_t Integer() {
    const std::optional<std::string_view> field = Next();
    return field ? ParseLong(*field) : -1;
  }
  std::string Text() {
    const std::optional<std::string_view> field = Next();
    return field ? std::string(*field) : std::string();
  }

 private:
  std::string_view line_;
  size_t position_ = 0;
};

std::optional<ReleaseDate> ParseDate(std::string_view text) {
  int32_t parts[3] = {};
  for (int32_t& part : parts) {
    const size_t dot = text.find('.');
    part = ParseLong(text.substr(0, dot));
    text = dot == std::string_view::npos ? std::string_view() : text.substr(dot + 1);
  }
  if (parts[0] <= 0 || parts[1] <= 0 || parts[2] <= 0)
    return std::nullopt;
  return ReleaseDate{parts[0], parts[1], parts[2]};
}

}  // namespace

UpdateEntry ParseUpdateLine(std::string_view line) {
  FieldReader fields(line.substr(0, kMaxUpdateLineLength));
  UpdateEntry entry;
  entry.name = fields.Text();
  for (int32_t& part : entry.version)
    part = fields.Integer();
  const std::string date = fields.Text();
  if (!date.empty())
    entry.date = ParseDate(date);
  entry.sizeUnit = fields.Integer();
  entry.size = fields.Integer();
  entry.path = fields.Text();
  entry.fileName = fields.Text();
  return entry;
}

std::vector<UpdateEntry> ParseUpdateList(std::string_view bytes) {
  std::vector<UpdateEntry> entries;
  for (const std::string& line : SplitLines(bytes)) {
    if (!line.empty() && line[0] == '#')
      continue;
    entries.push_back(ParseUpdateLine(line));
  }
  return entries;
}

const UpdateEntry* FindUpdateEntry(const std::vector<UpdateEntry>& entries, std::string_view name) {
  if (name.empty())
    return nullptr;
  for (const UpdateEntry& entry : entries) {
    if (entry.name == name)
      return &entry;
  }
  return nullptr;
}

const char* SizeUnitName(int32_t unit) {
  switch (unit) {
    case 0:
      return "Byte";
    case 1:
      return "KB";
    case 2:
      return "MB";
    case 3:
      return "GB";
    default:
      return "???";
  }
}

}  // namespace botenruf
