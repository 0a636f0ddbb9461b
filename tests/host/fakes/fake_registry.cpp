#include "fakes/fake_registry.h"

namespace botenruf::fakes {
namespace {

class FakeKey : public RegistryKey {
 public:
  FakeKey(FakeRegistry& registry, std::string path) : registry_(registry), path_(std::move(path)) {}

  RegistryRead Read(const std::string& name, size_t capacity) override {
    RegistryRead read;
    const StoredValue* value = registry_.Find(path_, name);
    if (!value)
      return read;
    if (value->bytes.size() > capacity) {
      read.status = RegistryRead::Status::kTooLarge;
      return read;
    }
    read.status = RegistryRead::Status::kOk;
    read.bytes = value->bytes;
    return read;
  }

  bool WriteString(const std::string& name, const std::string& text) override {
    if (registry_.failWritesOf.count(name))
      return false;
    registry_.PutString(path_, name, text);
    return true;
  }

  bool DeleteValue(const std::string& name) override {
    registry_.keys_[path_].erase(name);
    return true;
  }

 private:
  FakeRegistry& registry_;
  std::string path_;
};

}  // namespace

std::unique_ptr<RegistryKey> FakeRegistry::OpenUserKey(const std::string& path) {
  if (keys_.count(path) == 0)
    return nullptr;
  return std::make_unique<FakeKey>(*this, path);
}

std::unique_ptr<RegistryKey> FakeRegistry::CreateUserKey(const std::string& path) {
  if (failCreate)
    return nullptr;
  keys_[path];
  return std::make_unique<FakeKey>(*this, path);
}

void FakeRegistry::PutString(const std::string& path, const std::string& name,
                             const std::string& text) {
  PutRaw(path, name, StoredValue::Type::kString, text + std::string(1, '\0'));
}

void FakeRegistry::PutRaw(const std::string& path, const std::string& name, StoredValue::Type type,
                          const std::string& bytes) {
  keys_[path][name] = StoredValue{type, bytes};
}

bool FakeRegistry::Has(const std::string& path, const std::string& name) const {
  return Find(path, name) != nullptr;
}

const StoredValue* FakeRegistry::Find(const std::string& path, const std::string& name) const {
  auto key = keys_.find(path);
  if (key == keys_.end())
    return nullptr;
  auto value = key->second.find(name);
  return value == key->second.end() ? nullptr : &value->second;
}

std::string FakeRegistry::Text(const std::string& path, const std::string& name) const {
  const StoredValue* value = Find(path, name);
  if (!value)
    return {};
  std::string text = value->bytes;
  if (!text.empty() && text.back() == '\0')
    text.pop_back();
  return text;
}

}  // namespace botenruf::fakes
