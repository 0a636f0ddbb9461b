#include <gtest/gtest.h>

#include <functional>
#include <random>

#include "directory/recipient_directory.h"
#include "directory_test_support.h"
#include "text/text.h"

namespace botenruf {
namespace {

using namespace directory_test;

TEST(DirectorySortTest, FirstSortAscendsSecondReversesEqualKeysKeepOrder) {
  RecipientDirectory directory;
  // "Beta" and "alpha" sort differently as raw bytes; so do "Äb" and "äa".
  for (auto [station, alias] :
       Pairs{{"S1", "Beta"}, {"S2", "Äb"}, {"S3", "alpha"}, {"S4", "äa"}, {"S5", "ALPHA"}}) {
    directory.AddSingle(alias, station);
  }
  const Pairs ascending{
      {"S3", "alpha"}, {"S5", "ALPHA"}, {"S1", "Beta"}, {"S4", "äa"}, {"S2", "Äb"}};
  const Pairs descending{
      {"S2", "Äb"}, {"S4", "äa"}, {"S1", "Beta"}, {"S3", "alpha"}, {"S5", "ALPHA"}};

  directory.SortSingles(1);
  EXPECT_EQ(Singles(directory), ascending);
  directory.SortSingles(1);
  EXPECT_EQ(Singles(directory), descending);
  directory.SortSingles(1);
  EXPECT_EQ(Singles(directory), ascending);
}

TEST(DirectorySortTest, DirectionIsSharedAcrossEverySort) {
  RecipientDirectory directory;
  directory.AddSingle("b", "PC2");
  directory.AddSingle("a", "PC1");
  directory.AddList("Nord", "PC1,PC2");
  directory.AddList("Ost", "");
  std::vector<std::string> ownKeys{"x", "y"}, ownValues{"1", "2"};

  struct Step {
    const char* what;
    std::function<void()> sort;
    int lastKeyColumn;
    bool ascending;
  };
  const Step steps[] = {
      {"singles by alias, first of the run", [&] { directory.SortSingles(1); }, 1, true},
      {"lists by name: other key column keeps the direction", [&] { directory.SortLists(0); }, 0,
       true},
      {"members: same key column as the lists reverses", [&] { directory.SortMembers(0); }, 0,
       false},
      {"another view's own sequences", [&] { directory.SortPairs(ownKeys, ownValues, 0); }, 0,
       true},
      {"lists again", [&] { directory.SortLists(0); }, 0, false},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.what);
    step.sort();
    EXPECT_EQ(directory.sortState().lastKeyColumn, step.lastKeyColumn);
    EXPECT_EQ(directory.sortState().ascending, step.ascending);
  }
  // Nord's members were sorted descending by alias (b before a).
  EXPECT_EQ(Lists(directory), (Pairs{{"Ost", ""}, {"Nord", "PC2,PC1,"}}));
  EXPECT_EQ(Singles(directory), (Pairs{{"PC1", "a"}, {"PC2", "b"}}));
}

// The sort as the program has always done it: pick the first smallest (or greatest)
// remaining key, over and over.
void SelectionSort(std::vector<std::string>& keys, std::vector<std::string>& values,
                   bool ascending) {
  std::vector<std::string> restKeys = keys, restValues = values;
  keys.clear();
  values.clear();
  while (!restKeys.empty()) {
    size_t candidate = 0;
    for (size_t j = 0; j < restKeys.size(); ++j) {
      const int order = CompareIgnoreCase1252(restKeys[j], restKeys[candidate]);
      if (ascending ? order < 0 : order > 0)
        candidate = j;
    }
    keys.push_back(restKeys[candidate]);
    values.push_back(restValues[candidate]);
    restKeys.erase(restKeys.begin() + static_cast<long>(candidate));
    restValues.erase(restValues.begin() + static_cast<long>(candidate));
  }
}

TEST(DirectorySortTest, MatchesTheSelectionSortOnRandomSequences) {
  const std::vector<std::string> pieces{"a", "A", "b", "ä", "Ä", "ÿ", "Ÿ", "š", "Š", "", "z", "_"};
  for (unsigned seed = 0; seed < 100; ++seed) {
    SCOPED_TRACE(seed);
    std::mt19937 random(seed);
    std::vector<std::string> keys, values;
    const size_t count = random() % 30;
    for (size_t i = 0; i < count; ++i) {
      std::string key;
      for (size_t n = random() % 3; n > 0; --n)
        key += pieces[random() % pieces.size()];
      keys.push_back(key);
      values.push_back(std::to_string(i));
    }
    RecipientDirectory directory;
    std::vector<std::string> expectedKeys = keys, expectedValues = values;
    for (bool ascending : {true, false, true}) {
      directory.SortPairs(values, keys, 1);
      SelectionSort(expectedKeys, expectedValues, ascending);
      ASSERT_EQ(keys, expectedKeys);
      ASSERT_EQ(values, expectedValues);
    }
  }
}

}  // namespace
}  // namespace botenruf
