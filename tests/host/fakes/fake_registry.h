// In-memory registry: keys by path, values with their type and raw bytes.
#pragma once

#include <map>
#include <memory>
#include <set>
#include <string>

#include "platform/registry.h"

namespace botenruf::fakes {

struct StoredValue {
  enum class Type { kString, kDword, kBinary };
  Type type = Type::kString;
  std::string bytes;  // as stored, the terminating zero included for strings
};

class FakeRegistry : public Registry {
 public:
  std::unique_ptr<RegistryKey> OpenUserKey(const std::string& path) override;
  std::unique_ptr<RegistryKey> CreateUserKey(const std::string& path) override;

  // Test set-up and inspection.
  void PutString(const std::string& path, const std::string& name, const std::string& text);
  void PutRaw(const std::string& path, const std::string& name, StoredValue::Type type,
              const std::string& bytes);
  bool Has(const std::string& path, const std::string& name) const;
  // The stored text without its terminating zero; empty when missing.
  std::string Text(const std::string& path, const std::string& name) const;
  const StoredValue* Find(const std::string& path, const std::string& name) const;

  bool failCreate = false;             // creating or opening for writing fails
  std::set<std::string> failWritesOf;  // value names whose writes fail

  std::map<std::string, std::map<std::string, StoredValue>> keys_;
};

}  // namespace botenruf::fakes
