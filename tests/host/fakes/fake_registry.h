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

  void PutRaw(const std::string& path, const std::string& name, StoredValue::Type type,
              const std::string& bytes) {
    keys_[path][name] = {type, bytes};
  }
  void PutString(const std::string& path, const std::string& name, const std::string& text) {
    PutRaw(path, name, StoredValue::Type::kString, text + '\0');
  }
  const StoredValue* Find(const std::string& path, const std::string& name) const {
    const auto key = keys_.find(path);
    const auto value = key == keys_.end() ? Values::const_iterator() : key->second.find(name);
    return key == keys_.end() || value == key->second.end() ? nullptr : &value->second;
  }
  bool Has(const std::string& path, const std::string& name) const {
    return Find(path, name) != nullptr;
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
  class Key : public RegistryKey {
   public:
    Key(FakeRegistry& registry, Values& values) : registry_(registry), values_(values) {}
    RegistryRead Read(const std::string& name, size_t capacity) override {
      const auto value = values_.find(name);
      if (value == values_.end())
        return {};
      if (value->second.bytes.size() > capacity)
        return {RegistryRead::Status::kTooLarge, {}};
      return {RegistryRead::Status::kOk, value->second.bytes};
    }
    bool WriteString(const std::string& name, const std::string& text) override {
      if (registry_.failWritesOf.count(name))
        return false;
      values_[name] = {StoredValue::Type::kString, text + '\0'};
      return true;
    }
    bool DeleteValue(const std::string& name) override {
      values_.erase(name);
      return true;
    }

   private:
    FakeRegistry& registry_;
    Values& values_;
  };
};

}  // namespace botenruf::fakes
