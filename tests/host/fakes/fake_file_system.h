// In-memory file system with failure injection.
#pragma once

#include <map>
#include <set>
#include <string>

#include "platform/file_system.h"

namespace botenruf::fakes {

class FakeFileSystem : public FileSystem {
 public:
  ReadStatus ReadAll(const std::string& path, std::string& bytes, uint64_t limit) override {
    const auto it = files.find(path);
    if (it == files.end())
      return ReadStatus::kMissing;
    if (unreadable.count(path))
      return ReadStatus::kUnreadable;
    if (it->second.size() > limit)
      return ReadStatus::kTooLarge;
    bytes = it->second;
    return ReadStatus::kOk;
  }
  bool WriteAll(const std::string& path, const std::string& bytes) override {
    const bool full = failWriteAfter >= 0 && static_cast<size_t>(failWriteAfter) < bytes.size();
    files[path] = full ? bytes.substr(0, static_cast<size_t>(failWriteAfter)) : bytes;
    return !full;
  }
  bool Replace(const std::string& from, const std::string& to) override {
    const auto it = files.find(from);
    if (failReplace || it == files.end())
      return false;
    files[to] = it->second;
    files.erase(from);
    unreadable.erase(to);
    return true;
  }
  bool Remove(const std::string& path) override {
    unreadable.erase(path);
    return files.erase(path) != 0;
  }
  bool Exists(const std::string& path) override { return files.count(path) != 0; }

  std::map<std::string, std::string> files;
  std::set<std::string> unreadable;  // exist but cannot be read (locked, offline share)
  // When set, WriteAll stores only this many bytes and then fails (a full disk mid-write).
  long long failWriteAfter = -1;
  bool failReplace = false;
};

}  // namespace botenruf::fakes
