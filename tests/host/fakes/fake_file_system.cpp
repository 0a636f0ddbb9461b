#include "fakes/fake_file_system.h"

namespace botenruf::fakes {

ReadStatus FakeFileSystem::ReadAll(const std::string& path, std::string& bytes, uint64_t limit) {
  auto it = files.find(path);
  if (it == files.end())
    return ReadStatus::kMissing;
  if (unreadable.count(path))
    return ReadStatus::kUnreadable;
  if (it->second.size() > limit)
    return ReadStatus::kTooLarge;
  bytes = it->second;
  return ReadStatus::kOk;
}

bool FakeFileSystem::WriteAll(const std::string& path, const std::string& bytes) {
  if (failWriteAfter >= 0 && static_cast<size_t>(failWriteAfter) < bytes.size()) {
    files[path] = bytes.substr(0, static_cast<size_t>(failWriteAfter));
    return false;
  }
  files[path] = bytes;
  return true;
}

bool FakeFileSystem::Replace(const std::string& from, const std::string& to) {
  auto it = files.find(from);
  if (failReplace || it == files.end())
    return false;
  files[to] = it->second;
  files.erase(from);
  unreadable.erase(to);
  return true;
}

bool FakeFileSystem::Remove(const std::string& path) {
  unreadable.erase(path);
  return files.erase(path) != 0;
}

}  // namespace botenruf::fakes
