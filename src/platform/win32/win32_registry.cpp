#include "platform/win32/win32_registry.h"

#include <windows.h>

#include <vector>

namespace botenruf::win {
namespace {

class Win32Key : public RegistryKey {
 public:
  explicit Win32Key(HKEY key) : key_(key) {}
  ~Win32Key() override { RegCloseKey(key_); }

  RegistryRead Read(const std::string& name, size_t capacity) override {
    RegistryRead read;
    std::vector<BYTE> buffer(capacity);
    DWORD size = static_cast<DWORD>(capacity);
    DWORD type = 0;
    const LONG status = RegQueryValueExA(key_, name.c_str(), nullptr, &type, buffer.data(), &size);
    if (status == ERROR_MORE_DATA) {
      read.status = RegistryRead::Status::kTooLarge;
    } else if (status == ERROR_FILE_NOT_FOUND) {
      read.status = RegistryRead::Status::kMissing;
    } else if (status != ERROR_SUCCESS) {
      read.status = RegistryRead::Status::kFailed;
    } else {
      read.status = RegistryRead::Status::kOk;
      // The reported size never counts past the buffer we handed over.
      const size_t length = size < capacity ? size : capacity;
      read.bytes.assign(reinterpret_cast<const char*>(buffer.data()), length);
    }
    return read;
  }

  bool WriteString(const std::string& name, const std::string& text) override {
    return RegSetValueExA(key_, name.c_str(), 0, REG_SZ,
                          reinterpret_cast<const BYTE*>(text.c_str()),
                          static_cast<DWORD>(text.size() + 1)) == ERROR_SUCCESS;
  }

  bool DeleteValue(const std::string& name) override {
    const LONG status = RegDeleteValueA(key_, name.c_str());
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
  }

 private:
  HKEY key_;
};

}  // namespace

std::unique_ptr<RegistryKey> Win32Registry::OpenUserKey(const std::string& path) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) {
    return nullptr;
  }
  return std::make_unique<Win32Key>(key);
}

std::unique_ptr<RegistryKey> Win32Registry::CreateUserKey(const std::string& path) {
  HKEY key = nullptr;
  DWORD disposition = 0;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                      KEY_ALL_ACCESS, nullptr, &key, &disposition) != ERROR_SUCCESS) {
    return nullptr;
  }
  return std::make_unique<Win32Key>(key);
}

}  // namespace botenruf::win
