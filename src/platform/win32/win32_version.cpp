#include "platform/win32/win32_version.h"

#include <windows.h>

#include <cstring>
#include <vector>

#include "platform/win32/win32_system.h"

namespace botenruf::win {
namespace {

std::string QueryString(std::vector<char>& data, const char* name) {
  const std::string key = std::string("\\StringFileInfo\\040704B0\\") + name;
  char* value = nullptr;
  UINT length = 0;
  if (!VerQueryValueA(data.data(), key.c_str(), reinterpret_cast<void**>(&value), &length) ||
      !value) {
    return {};
  }
  // The length counts the terminating zero; a damaged block need not have one.
  return std::string(value, strnlen(value, length));
}

}  // namespace

bool ReadVersionBlock(const std::string& path, VersionBlock& block) {
  block = {};
  DWORD handle = 0;
  const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &handle);
  if (size == 0)
    return false;
  std::vector<char> data(static_cast<size_t>(size) + 1);
  if (!GetFileVersionInfoA(path.c_str(), 0, size, data.data()))
    return false;
  bool fixedRead = false;
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  if (VerQueryValueA(data.data(), "\\", reinterpret_cast<void**>(&fixed), &length) && fixed &&
      length >= sizeof(VS_FIXEDFILEINFO) && fixed->dwSignature == VS_FFI_SIGNATURE) {
    block.fileVersion = FormatVersion(fixed->dwFileVersionMS, fixed->dwFileVersionLS);
    block.productVersion = FormatVersion(fixed->dwProductVersionMS, fixed->dwProductVersionLS);
    fixedRead = true;
  }
  block.comments = QueryString(data, "Comments");
  block.legalNotice = QueryString(data, "LegalCopyright");
  return fixedRead;
}

bool ReadOwnVersionBlock(VersionBlock& block) {
  const std::string path = Win32System().ModulePath();
  if (path.empty()) {
    block = {};
    return false;
  }
  return ReadVersionBlock(path, block);
}

}  // namespace botenruf::win
