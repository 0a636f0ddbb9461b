#pragma once

#include "platform/registry.h"

namespace botenruf::win {

class Win32Registry : public Registry {
 public:
  std::unique_ptr<RegistryKey> OpenUserKey(const std::string& path) override;
  std::unique_ptr<RegistryKey> CreateUserKey(const std::string& path) override;
};

}  // namespace botenruf::win
