// Helpers shared by the recipient directory tests.
#pragma once

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "directory/recipient_directory.h"

namespace botenruf::directory_test {

using Pairs = std::vector<std::pair<std::string, std::string>>;

// The golden list files, byte for byte.
inline std::string ListFileData(const std::string& name) {
  const std::string path = std::string(BOTENRUF_TEST_DATA) + "/listfile/" + name;
  std::ifstream in(path, std::ios::binary);
  if (!in)
    ADD_FAILURE() << "cannot open " << path;
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

// (station, alias) of every single recipient, in order.
inline Pairs Singles(const RecipientDirectory& directory) {
  Pairs pairs;
  for (int i = 0; i < directory.SingleCount(); ++i) {
    std::string station, alias;
    directory.GetSingle(i, station, alias);
    pairs.emplace_back(station, alias);
  }
  return pairs;
}

// (name, member text) of every list, in order.
inline Pairs Lists(const RecipientDirectory& directory) {
  Pairs pairs;
  for (int i = 0; i < directory.ListCount(); ++i) {
    std::string name, members;
    directory.GetList(i, name, members);
    pairs.emplace_back(name, members);
  }
  return pairs;
}

}  // namespace botenruf::directory_test
