// Registry service: keys under HKEY_CURRENT_USER, raw value reads with a size limit,
// REG_SZ writes and value deletion.
#pragma once

#include <cstddef>
#include <memory>
#include <string>

namespace botenruf {

struct RegistryRead {
  enum class Status { kOk, kMissing, kTooLarge, kFailed };
  Status status = Status::kMissing;
  // The raw data as stored (any type), at most the capacity asked for.
  std::string bytes;
};

class RegistryKey {
 public:
  virtual ~RegistryKey() = default;
  // Reads a value's raw bytes into a buffer of `capacity` bytes; the stored type is not examined.
  virtual RegistryRead Read(const std::string& name, size_t capacity) = 0;
  // Writes REG_SZ with the terminating zero counted in the stored length.
  virtual bool WriteString(const std::string& name, const std::string& text) = 0;
  // True when the value is gone afterwards (also when it was never there).
  virtual bool DeleteValue(const std::string& name) = 0;
};

class Registry {
 public:
  virtual ~Registry() = default;
  // Opens an existing key with full access; null when it is missing or cannot be opened.
  virtual std::unique_ptr<RegistryKey> OpenUserKey(const std::string& path) = 0;
  // Creates (non-volatile) or opens a key with full access; null on failure.
  virtual std::unique_ptr<RegistryKey> CreateUserKey(const std::string& path) = 0;
};

}  // namespace botenruf
