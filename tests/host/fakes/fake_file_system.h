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
    if (readOnly.count(path) || (!files.count(path) && !MayCreate(path)))
      return false;
    const bool full = Full(path, bytes.size());
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
    if (readOnly.count(path) || (!exists && !MayCreate(path)))
      return WriteStatus::kNoAccess;
    if (!exists && mode == WriteMode::kInPlace)
      return WriteStatus::kFailed;
    if (mode == WriteMode::kCreate)
      return WriteAll(path, bytes) ? WriteStatus::kOk : WriteStatus::kNoSpace;
    // In place the new length is taken first: a full disk leaves the old content.
    if (Full(path, bytes.size()))
      return WriteStatus::kNoSpace;
    if (faultyInPlaceWrites > 0) {
      --faultyInPlaceWrites;
      files[path] = bytes.substr(0, bytes.size() / 2);
      return WriteStatus::kFailed;
    }
    files[path] = bytes;
    return WriteStatus::kOk;
  }
  bool IsReadOnly(const std::string& path) override { return readOnly.count(path) != 0; }
  bool CreateNew(const std::string& path) override {
    if (noNewFiles || files.count(path))
      return false;
    files[path] = "";
    return true;
  }
  bool CopyToNew(const std::string& from, const std::string& to) override {
    if (!MayCreate(to) || files.count(to) || !files.count(from))
      return false;
    files[to] = files[from];
    return true;
  }

  std::string TemporaryFolder() override { return temporaryFolder; }

  std::map<std::string, std::string> files;
  std::set<std::string> unreadable;  // exist but cannot be read (locked, offline share)
  // When set, a write of more bytes stops after this many (a full disk) outside the temporary
  // folder, which lies on another disk; in place nothing is written then.
  long long failWriteAfter = -1;
  bool failReplace = false;
  std::set<std::string> readOnly;
  bool noNewFiles = false;             // a folder where files may be changed but not created
  std::map<std::string, int> heldFor;  // deletes refused before a file can go (still open)
  std::string temporaryFolder = "C:\\Temp\\";  // where files may always be created
  // So many writes in place fail halfway (a faulty disk), leaving the first half of the bytes.
  int faultyInPlaceWrites = 0;

 private:
  bool InTemporaryFolder(const std::string& path) const {
    return path.rfind(temporaryFolder, 0) == 0;
  }
  bool MayCreate(const std::string& path) const { return !noNewFiles || InTemporaryFolder(path); }
  bool Full(const std::string& path, size_t size) const {
    return failWriteAfter >= 0 && static_cast<size_t>(failWriteAfter) < size &&
           !InTemporaryFolder(path);
  }
};

}  // namespace botenruf::fakes
