#include "harness.h"

#include "common/netsim_records.h"

namespace botenruf::netsim::harness {

std::string SystemDirectoryPrefix() {
  char buffer[MAX_PATH];
  const UINT length = GetSystemDirectoryA(buffer, sizeof buffer);
  std::string directory(buffer, length < sizeof buffer ? length : 0);
  if (directory.empty() || directory.back() != '\\') {
    directory += '\\';
  }
  return directory;
}

std::string ReadBytes(const std::string& path) {
  std::string bytes;
  ReadWholeFile(path, bytes);
  return bytes;
}

bool WriteBytes(const std::string& path, const std::string& bytes) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    return false;
  }
  DWORD written = 0;
  const bool ok =
      WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
      written == bytes.size();
  CloseHandle(file);
  return ok;
}

NetsimFolder::NetsimFolder() {
  char buffer[MAX_PATH];
  const DWORD length = GetEnvironmentVariableA("BOTENRUF_NETSIM_DIR", buffer, sizeof buffer);
  hadPrevious_ = length > 0 && length < sizeof buffer;
  if (hadPrevious_) {
    previous_.assign(buffer, length);
  }
  char temp[MAX_PATH];
  const DWORD tempLength = GetTempPathA(sizeof temp, temp);
  path_ = tempLength > 0 && tempLength < sizeof temp ? std::string(temp, tempLength) : "C:\\";
  path_ += "botenruf-netsim-" + std::to_string(GetCurrentProcessId()) + "\\";
  CreateDirectoryA(path_.c_str(), nullptr);
  SetEnvironmentVariableA("BOTENRUF_NETSIM_DIR", path_.c_str());
}

NetsimFolder::~NetsimFolder() {
  for (const char* name : {"scenario.txt", "log.txt", "received.txt", "out.txt", "err.txt"}) {
    DeleteFileA(File(name).c_str());
  }
  RemoveDirectoryA(path_.c_str());
  SetEnvironmentVariableA("BOTENRUF_NETSIM_DIR", hadPrevious_ ? previous_.c_str() : nullptr);
}

void NetsimFolder::Reset(const std::string& scenario) {
  DeleteFileA(File("log.txt").c_str());
  DeleteFileA(File("received.txt").c_str());
  WriteBytes(File("scenario.txt"), scenario);
}

// The records of a record file that the parser accepts, in order.
template <class Entry>
static std::vector<Entry> ReadRecords(const std::string& path,
                                      std::optional<Entry> (*parse)(std::string_view)) {
  std::vector<Entry> entries;
  for (const std::string& line : SplitRecordLines(ReadBytes(path))) {
    if (std::optional<Entry> entry = parse(line))
      entries.push_back(*entry);
  }
  return entries;
}

std::vector<LogEntry> ReadLog(const NetsimFolder& folder) {
  return ReadRecords(folder.File("log.txt"), &ParseLogLine);
}

std::vector<ReceivedEntry> ReadReceived(const NetsimFolder& folder) {
  return ReadRecords(folder.File("received.txt"), &ParseReceivedLine);
}

std::vector<std::string> NetSendCommandLines(const NetsimFolder& folder) {
  std::vector<std::string> lines;
  for (const LogEntry& entry : ReadLog(folder)) {
    if (entry.tool == "net" && entry.commandLine.rfind("net send", 0) == 0) {
      lines.push_back(entry.commandLine);
    }
  }
  return lines;
}

std::vector<LogEntry> MsgStarts(const NetsimFolder& folder) {
  std::vector<LogEntry> starts = ReadLog(folder);
  std::erase_if(starts, [](const LogEntry& entry) { return entry.tool != "msg"; });
  return starts;
}

}  // namespace botenruf::netsim::harness
