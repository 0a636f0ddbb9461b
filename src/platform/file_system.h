// File service: whole-file reads and writes with binary I/O; line ends are handled by the
// callers in portable code so that the host and Windows behave alike.
#pragma once

#include <cstdint>
#include <string>

namespace botenruf {

enum class ReadStatus { kOk, kMissing, kUnreadable, kTooLarge };
// kNoSpace: the disk is full or the user's quota is used up.
enum class WriteStatus { kOk, kNoAccess, kNoSpace, kFailed };
// kCreate makes a new file or truncates one; kInPlace overwrites a file that exists and
// never creates one (for folders where files may be changed but not created). In place, the
// file is first lengthened to the new length, so that a full disk fails before the first old
// byte is overwritten; the file then keeps its old content. A failure while overwriting (a
// faulty disk) leaves it mixed, so the caller keeps the old content to write it back.
enum class WriteMode { kCreate, kInPlace };

class FileSystem {
 public:
  virtual ~FileSystem() = default;
  // Reads the whole file; files larger than `limit` bytes are not read (kTooLarge).
  virtual ReadStatus ReadAll(const std::string& path, std::string& bytes,
                             uint64_t limit = UINT64_MAX) = 0;
  // Creates or truncates the file and writes all bytes; false when any step failed
  // (a partly written file may then be left behind).
  virtual bool WriteAll(const std::string& path, const std::string& bytes) = 0;
  // Moves `from` over `to`, replacing `to` in one step.
  virtual bool Replace(const std::string& from, const std::string& to) = 0;
  virtual bool Remove(const std::string& path) = 0;
  virtual bool Exists(const std::string& path) = 0;
  // As WriteAll, but tells a file that may not be opened for writing (no rights, read-only)
  // from other failures.
  virtual WriteStatus Write(const std::string& path, const std::string& bytes, WriteMode mode) = 0;
  virtual bool IsReadOnly(const std::string& path) = 0;
  // Copies a file to a name that is free; never replaces a file.
  virtual bool CopyToNew(const std::string& from, const std::string& to) = 0;
  // The folder for temporary files, with its final backslash; empty when there is none.
  virtual std::string TemporaryFolder() = 0;
  // Creates an empty file under a name that no file has; false when one has it already or it
  // cannot be created. Of two processes that ask for one name, only one gets it.
  virtual bool CreateNew(const std::string& path) = 0;
};

}  // namespace botenruf
