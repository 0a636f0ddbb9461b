// Reads resource.h and the resource script as text: ids must be unique within a dialog, and
// the main dialog and its menu must carry the design's controls and items.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace botenruf {
namespace {

std::string ReadAll(const char* path) {
  std::ifstream file(path, std::ios::binary);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

std::map<std::string, long> Defines() {
  std::map<std::string, long> ids = {{"IDOK", 1}, {"IDCANCEL", 2}};
  std::istringstream header(ReadAll(BOTENRUF_RESOURCE_HEADER));
  const std::regex define(R"(^#define\s+(\w+)\s+(0x[0-9A-Fa-f]+|\d+))");
  std::string line;
  while (std::getline(header, line)) {
    std::smatch match;
    if (std::regex_search(line, match, define))
      ids[match[1]] = std::stol(match[2], nullptr, 0);
  }
  return ids;
}

struct Control {
  long id;
  std::vector<int> rect;
};

// Controls of every dialog template, by the dialog's id.
std::map<long, std::vector<Control>> Dialogs() {
  const auto ids = Defines();
  auto resolve = [&ids](const std::string& token) -> long {
    if (token == "-1")
      return -1;
    auto it = ids.find(token);
    return it == ids.end() ? std::stol(token) : it->second;
  };
  std::map<long, std::vector<Control>> dialogs;
  std::istringstream script(ReadAll(BOTENRUF_RESOURCE_SCRIPT));
  const std::regex start(R"(^(\w+)\s+DIALOGEX)");
  // KIND "text", ID, ... x, y, w, h   or   KIND ID, x, y, w, h  (EDITTEXT, COMBOBOX)
  const std::regex withText(
      R"(^\s+(\w+)\s+"[^"]*",\s*(-?\w+),(?:[^,]*,){0,2}\s*(\d+),\s*(\d+),\s*(\d+),\s*(\d+))");
  const std::regex withoutText(
      R"(^\s+(EDITTEXT|COMBOBOX)\s+(\w+),\s*(\d+),\s*(\d+),\s*(\d+),\s*(\d+))");
  std::string line;
  long current = 0;
  while (std::getline(script, line)) {
    std::smatch match;
    if (std::regex_search(line, match, start)) {
      current = resolve(match[1]);
      dialogs[current];
    } else if (line.rfind("END", 0) == 0) {
      current = 0;
    } else if (current != 0 && (std::regex_search(line, match, withoutText) ||
                                std::regex_search(line, match, withText))) {
      dialogs[current].push_back(
          {resolve(match[2]),
           {std::stoi(match[3]), std::stoi(match[4]), std::stoi(match[5]), std::stoi(match[6])}});
    }
  }
  return dialogs;
}

TEST(ResourcesTest, NoDialogRepeatsAControlId) {
  const auto dialogs = Dialogs();
  ASSERT_GE(dialogs.size(), 4u);
  for (const auto& [dialog, controls] : dialogs) {
    SCOPED_TRACE(dialog);
    std::set<long> seen;
    for (const Control& control : controls) {
      if (control.id == -1)
        continue;
      EXPECT_TRUE(seen.insert(control.id).second) << "id " << control.id << " twice";
    }
  }
}

TEST(ResourcesTest, MainDialogControlsStandWhereTheDesignPutsThem) {
  const std::vector<Control> expected = {{1004, {17, 16, 137, 83}},  {1032, {17, 31, 66, 10}},
                                         {1031, {87, 31, 55, 10}},   {1033, {166, 31, 50, 10}},
                                         {1001, {17, 42, 199, 108}}, {1052, {25, 162, 50, 14}},
                                         {1040, {91, 162, 50, 14}},  {2, {157, 162, 50, 14}},
                                         {1002, {166, 15, 50, 14}},  {1046, {7, 4, 220, 150}}};
  const auto controls = Dialogs()[102];
  ASSERT_EQ(controls.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    SCOPED_TRACE(expected[i].id);
    EXPECT_EQ(controls[i].id, expected[i].id);  // template order is the tab order
    EXPECT_EQ(controls[i].rect, expected[i].rect);
  }
}

TEST(ResourcesTest, MenuCarriesEveryItemOfTheDesign) {
  const auto ids = Defines();
  const std::string script = ReadAll(BOTENRUF_RESOURCE_SCRIPT);
  const std::regex item(R"(MENUITEM\s+"[^"]*",\s*(\w+))");
  std::vector<long> items;
  for (std::sregex_iterator it(script.begin(), script.end(), item), end; it != end; ++it) {
    items.push_back(ids.at((*it)[1]));
  }
  EXPECT_THAT(items,
              ::testing::ElementsAre(40003, 40002, 40013, 40005, 40008, 40029, 40018, 40019, 40039,
                                     40010, 40011, 40028, 40024, 40040, 40025, 40027, 40043, 40044,
                                     40041, 40042, 40038, 40020, 40006, 40037, 40004, 40045));
}

}  // namespace
}  // namespace botenruf
