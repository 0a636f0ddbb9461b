// Files written piece by piece, for transfers too large to hold in memory at once.
#pragma once

#include <cstddef>
#include <memory>
#include <string>

namespace botenruf {

class OutputFile {
 public:
  virtual ~OutputFile() = default;  // closes the file if Close was not called
  // Writes all bytes; false when any could not be written.
  virtual bool Write(const char* data, size_t size) = 0;
  // Flushes and closes; false when the data may not all have reached the disk.
  virtual bool Close() = 0;
};

class OutputFiles {
 public:
  virtual ~OutputFiles() = default;
  // Creates the file (an existing one is truncated) for exclusive use: nobody else may open
  // it while it is being written. Null when it cannot be created.
  virtual std::unique_ptr<OutputFile> CreateExclusive(const std::string& path) = 0;
};

}  // namespace botenruf
