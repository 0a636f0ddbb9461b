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
  using Values = std::map<std::string, StoredValue>;

  std::unique_ptr<RegistryKey> OpenUserKey(const std::string& path) override {
    return keys_.count(path) ? std::make_unique<Key>(*this, keys_[path]) : nullptr;
  }
  std::unique_ptr<RegistryKey> CreateUserKey(const std::string& path) override {
    return failCreate ? nullptr : std::make_unique<Key>(*this, keys_[path]);
  }

  void PutString(const std::string& path, const std::string& name, const std::string& text) {
    keys_[path][name] = {StoredValue::Type::kString, text + '\0'};
  }
  const StoredValue* Find(const std::string& path, const std::string& name) const {
    const bool found = keys_.count(path) && keys_.at(path).count(name);
    return found ? &keys_.at(path).at(name) : nullptr;
  }
  // The stored text without its terminating zero; empty when missing.
  std::string Text(const std::string& path, const std::string& name) const {
    const StoredValue* value = Find(path, name);
    return value ? value->bytes.substr(0, value->bytes.find('\0')) : std::string();
  }

  bool failCreate = false;             // creating or opening for writing fails
  std::set<std::string> failWritesOf;  // value names whose writes fail
  std::map<std::string, Values> keys_;

 private:
  struct Key : RegistryKey {
    Key(FakeRegistry& registry, Values& values) : registry(registry), values(values) {}
    RegistryRead Read(const std::string& name, size_t capacity) override {
      const auto value = values.find(name);
      if (value == values.end())
        return {};
      if (value->second.bytes.size() > capacity)
        return {RegistryRead::Status::kTooLarge, {}};
      return {RegistryRead::Status::kOk, value->second.bytes};
    }
    bool WriteString(const std::string& name, const std::string& text) override {
      if (registry.failWritesOf.count(name))
        return false;
      values[name] = {StoredValue::Type::kString, text + '\0'};
      return true;
    }
    bool DeleteValue(const std::string& name) override { return values.erase(name), true; }

    FakeRegistry& registry;
    Values& values;
  };
};

}  // namespace botenruf::fakes
