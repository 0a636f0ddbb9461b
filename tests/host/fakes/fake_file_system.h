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
    if (readOnly.count(path) || (noNewFiles && !files.count(path)))
      return false;
    const bool full = failWriteAfter >= 0 && static_cast<size_t>(failWriteAfter) < bytes.size();
    files[path] = full ? bytes.substr(0, static_cast<size_t>(failWriteAfter)) : bytes;
    return !full;
  }
  bool Replace(const std::string& from, const std::string& to) override {
    if (failReplace || !files.count(from))
      return false;
    files[to] = files[from];
    files.erase(from);
    unreadable.erase(to);
    return true;
  }
  bool Remove(const std::string& path) override {
    if (heldFor[path] > 0)
      return --heldFor[path], false;
    return unreadable.erase(path), files.erase(path) != 0;
  }
  bool Exists(const std::string& path) override { return files.count(path) != 0; }
  WriteStatus Write(const std::string& path, const std::string& bytes, WriteMode mode) override {
    const bool exists = files.count(path) != 0;
    if (readOnly.count(path) || (!exists && noNewFiles))
      return WriteStatus::kNoAccess;
    if (!exists && mode == WriteMode::kInPlace)
      return WriteStatus::kFailed;
    return WriteAll(path, bytes) ? WriteStatus::kOk : WriteStatus::kFailed;
  }
  bool IsReadOnly(const std::string& path) override { return readOnly.count(path) != 0; }
  bool CreateNew(const std::string& path) override {
    if (noNewFiles || files.count(path))
      return false;
    files[path] = "";
    return true;
  }
  bool CopyToNew(const std::string& from, const std::string& to) override {
    if (noNewFiles || files.count(to) || !files.count(from))
      return false;
    files[to] = files[from];
    return true;
  }

  std::map<std::string, std::string> files;
  std::set<std::string> unreadable;  // exist but cannot be read (locked, offline share)
  // When set, WriteAll stores only this many bytes and then fails (a full disk mid-write).
  long long failWriteAfter = -1;
  bool failReplace = false;
  std::set<std::string> readOnly;
  bool noNewFiles = false;             // a folder where files may be changed but not created
  std::map<std::string, int> heldFor;  // deletes refused before a file can go (still open)
};

}  // namespace botenruf::fakes
