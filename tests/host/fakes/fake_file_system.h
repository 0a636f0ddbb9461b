// In-memory file system with failure injection.
#pragma once

#include <map>
#include <set>
#include <string>

#include "platform/file_system.h"

namespace botenruf::fakes {

class FakeFileSystem : public FileSystem {
 public:
  ReadStatus ReadAll(const std::string& path, std::string& bytes, uint64_t limit) override;
  bool WriteAll(const std::string& path, const std::string& bytes) override;
  bool Replace(const std::string& from, const std::string& to) override;
  bool Remove(const std::string& path) override;
  bool Exists(const std::string& path) override { return files.count(path) != 0; }

  std::map<std::string, std::string> files;
  std::set<std::string> unreadable;  // exist but cannot be read (locked, offline share)
  // When set, WriteAll stores only this many bytes and then fails (a full disk mid-write).
  long long failWriteAfter = -1;
  bool failReplace = false;
};

}  // namespace botenruf::fakes
