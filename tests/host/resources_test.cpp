// Reads resource.h and the resource script as text: a control id may stand only once in a
// dialog template (a repeated one makes GetDlgItem find the wrong control).
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>

namespace botenruf {
namespace {

std::string ReadAll(const char* path) {
  std::ifstream file(path, std::ios::binary);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

TEST(ResourcesTest, NoDialogRepeatsAControlId) {
  std::map<std::string, long> ids = {{"IDOK", 1}, {"IDCANCEL", 2}, {"-1", -1}};
  std::istringstream header(ReadAll(BOTENRUF_RESOURCE_HEADER));
  const std::regex define(R"(^#define\s+(\w+)\s+(0x[0-9A-Fa-f]+|\d+))");
  std::smatch match;
  for (std::string line; std::getline(header, line);) {
    if (std::regex_search(line, match, define))
      ids[match[1]] = std::stol(match[2], nullptr, 0);
  }
  // KIND "text", ID, ...   or   EDITTEXT/COMBOBOX ID, ...
  const std::regex start(R"(^(\w+)\s+DIALOGEX)");
  const std::regex control(R"(^\s+(?:\w+\s+"[^"]*"|EDITTEXT|COMBOBOX|ICON\s+\w+),?\s*(-?\w+),)");
  std::istringstream script(ReadAll(BOTENRUF_RESOURCE_SCRIPT));
  std::string dialog;
  std::set<long> seen;
  int dialogs = 0, controls = 0;
  for (std::string line; std::getline(script, line);) {
    if (std::regex_search(line, match, start)) {
      dialog = match[1];
      seen.clear();
      ++dialogs;
    } else if (line.rfind("END", 0) == 0) {
      dialog.clear();
    } else if (!dialog.empty() && std::regex_search(line, match, control)) {
      ASSERT_TRUE(ids.count(match[1]) || std::isdigit(match[1].str()[0])) << match[1];
      const long id = ids.count(match[1]) ? ids[match[1]] : std::stol(match[1]);
      ++controls;
      EXPECT_TRUE(id == -1 || seen.insert(id).second) << dialog << ": id " << id << " twice";
    }
  }
  EXPECT_GE(dialogs, 14);
  EXPECT_GE(controls, 80);
}

}  // namespace
}  // namespace botenruf
