#include "dispatch/message_file.h"

#include "text/text.h"

namespace botenruf {

bool LoadMessageFile(FileSystem& files, const std::string& path, int32_t maxDateiKB,
                     std::string& text) {
  // A negative limit admits nothing larger than an empty file.
  const int64_t limit = maxDateiKB < 0 ? 0 : int64_t{maxDateiKB} * 1024;
  std::string bytes;
  if (files.ReadAll(path, bytes, static_cast<uint64_t>(limit)) != ReadStatus::kOk)
    return false;
  std::string result;
  for (std::string& line : SplitLines(bytes)) {
    if (line.empty())
      continue;
    if (line.back() == '\r') {
      line += '\n';
    } else {
      line += "\r\n";
    }
    result += line;
  }
  text = result;
  return true;
}

std::string MessageFileBytes(const std::string& editorText) {
  std::string bytes;
  bytes.reserve(editorText.size() + editorText.size() / 16);
  for (char c : editorText) {
    if (c == '\n')
      bytes += '\r';
    bytes += c;
  }
  return bytes;
}

}  // namespace botenruf
