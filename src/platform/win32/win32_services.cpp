#include "platform/win32/win32_services.h"

// The socket header must come before the Windows header.
#include <winsock2.h>

#include <windows.h>

#include <algorithm>
#include <vector>

#include "platform/win32/dialog.h"
#include "platform/win32/win32_version.h"
#include "resource.h"

namespace botenruf::win {

namespace {

UINT IconFlags(BoxIcon icon) {
  switch (icon) {
    case BoxIcon::kStop:
      return MB_ICONHAND;
    case BoxIcon::kExclamation:
      return MB_ICONEXCLAMATION;
    case BoxIcon::kInformation:
      return MB_ICONINFORMATION;
    case BoxIcon::kQuestion:
      return MB_ICONQUESTION;
    case BoxIcon::kNone:
      break;
  }
  return 0;
}

}  // namespace

void Win32MessageBoxes::Show(NativeWindow owner, const BoxRequest& box) {
  MessageBoxA(static_cast<HWND>(owner), box.text.c_str(), box.title.c_str(),
              MB_OK | IconFlags(box.icon));
}

bool Win32MessageBoxes::Ask(NativeWindow owner, const BoxRequest& box) {
  return MessageBoxA(static_cast<HWND>(owner), box.text.c_str(), box.title.c_str(),
                     MB_YESNO | IconFlags(box.icon)) == IDYES;
}

void Win32MessageBoxes::BeginWaitCursor() {
  SetCursor(LoadCursor(nullptr, IDC_WAIT));
}

void Win32MessageBoxes::EndWaitCursor() {
  SetCursor(LoadCursor(nullptr, IDC_ARROW));
}

namespace {

struct Handle {
  HANDLE value;
  explicit Handle(HANDLE h) : value(h) {}
  ~Handle() {
    if (value != INVALID_HANDLE_VALUE)
      CloseHandle(value);
  }
  bool valid() const { return value != INVALID_HANDLE_VALUE; }
};

class Win32OutputFile : public OutputFile {
 public:
  explicit Win32OutputFile(HANDLE file) : file_(file) {}
  ~Win32OutputFile() override { Close(); }

  bool Write(const char* data, size_t size) override {
    while (size > 0) {
      DWORD written = 0;
      const DWORD chunk = static_cast<DWORD>(std::min<size_t>(size, 1 << 20));
      if (file_ == INVALID_HANDLE_VALUE || !WriteFile(file_, data, chunk, &written, nullptr) ||
          written == 0) {
        return false;
      }
      data += written;
      size -= written;
    }
    return true;
  }

  bool Close() override {
    if (file_ == INVALID_HANDLE_VALUE)
      return true;
    const bool flushed = FlushFileBuffers(file_) != 0;
    const bool closed = CloseHandle(file_) != 0;
    file_ = INVALID_HANDLE_VALUE;
    return flushed && closed;
  }

 private:
  HANDLE file_;
};

}  // namespace

std::unique_ptr<OutputFile> Win32OutputFiles::CreateExclusive(const std::string& path) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE)
    return nullptr;
  return std::make_unique<Win32OutputFile>(file);
}

ReadStatus Win32FileSystem::ReadAll(const std::string& path, std::string& bytes, uint64_t limit) {
  Handle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) {
    // A file that is there but cannot be opened (locked, no access) is not a missing one.
    return Exists(path) ? ReadStatus::kUnreadable : ReadStatus::kMissing;
  }
  LARGE_INTEGER size;
  if (!GetFileSizeEx(file.value, &size))
    return ReadStatus::kUnreadable;
  if (static_cast<uint64_t>(size.QuadPart) > limit)
    return ReadStatus::kTooLarge;
  std::string content(static_cast<size_t>(size.QuadPart), '\0');
  size_t done = 0;
  while (done < content.size()) {
    DWORD read = 0;
    const DWORD chunk = static_cast<DWORD>(std::min<size_t>(content.size() - done, 1 << 20));
    if (!ReadFile(file.value, content.data() + done, chunk, &read, nullptr)) {
      return ReadStatus::kUnreadable;
    }
    if (read == 0)
      break;
    done += read;
  }
  content.resize(done);
  bytes = std::move(content);
  return ReadStatus::kOk;
}

bool Win32FileSystem::WriteAll(const std::string& path, const std::string& bytes) {
  const std::unique_ptr<OutputFile> file = Win32OutputFiles().CreateExclusive(path);
  return file && file->Write(bytes.data(), bytes.size()) && file->Close();
}

bool Win32FileSystem::Replace(const std::string& from, const std::string& to) {
  return MoveFileExA(from.c_str(), to.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

bool Win32FileSystem::Remove(const std::string& path) {
  return DeleteFileA(path.c_str()) != 0;
}

bool Win32FileSystem::Exists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

namespace {

// ERROR_DISK_QUOTA_EXCEEDED: a used-up quota from Windows Vista on (before, ERROR_DISK_FULL); the
// headers show it only to programs for Vista.
constexpr DWORD kQuotaExceeded = 1295;

WriteStatus FailureStatus(DWORD error) {
  switch (error) {
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
    case kQuotaExceeded:
      return WriteStatus::kNoSpace;
    default:
      return WriteStatus::kFailed;
  }
}

// SetFilePointer rather than its Ex form: the Win32 documentation has it since Windows NT 3.1.
bool MoveTo(HANDLE file, uint64_t offset) {
  LONG high = static_cast<LONG>(offset >> 32);
  const DWORD low =
      SetFilePointer(file, static_cast<LONG>(offset & 0xFFFFFFFFu), &high, FILE_BEGIN);
  return low == static_cast<DWORD>(offset) && static_cast<DWORD>(high) == (offset >> 32);
}

// Lengthens the file to `size` by writing blanks after its end. Writing them, not merely setting
// the end, takes the space for real (a file system may keep a lengthened file sparse); blanks at
// the end of a list file change no entry (the readers trim them), should the program end before
// the overwrite.
bool Lengthen(HANDLE file, uint64_t oldSize, uint64_t size) {
  const std::string blanks(static_cast<size_t>(std::min<uint64_t>(size - oldSize, 1 << 16)), ' ');
  if (!MoveTo(file, oldSize))
    return false;
  // A write that takes only part goes on with the rest: the next one tells why it stopped.
  for (uint64_t left = size - oldSize; left > 0;) {
    const DWORD chunk = static_cast<DWORD>(std::min<uint64_t>(left, blanks.size()));
    DWORD written = 0;
    if (!WriteFile(file, blanks.data(), chunk, &written, nullptr))
      return false;
    if (written == 0) {
      SetLastError(ERROR_WRITE_FAULT);
      return false;
    }
    left -= written;
  }
  return true;
}

}  // namespace

WriteStatus Win32FileSystem::Write(const std::string& path, const std::string& bytes,
                                   WriteMode mode) {
  HANDLE handle = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr,
                              mode == WriteMode::kInPlace ? OPEN_EXISTING : CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE)
    return GetLastError() == ERROR_ACCESS_DENIED ? WriteStatus::kNoAccess : WriteStatus::kFailed;
  Win32OutputFile file(handle);
  if (mode == WriteMode::kInPlace) {
    LARGE_INTEGER oldSize = {};
    if (!GetFileSizeEx(handle, &oldSize))
      return WriteStatus::kFailed;
    const uint64_t size = bytes.size(), old = static_cast<uint64_t>(oldSize.QuadPart);
    if (size > old && !Lengthen(handle, old, size)) {
      const DWORD error = GetLastError();
      // The blanks that did fit go again: the file is as it was.
      if (MoveTo(handle, old))
        SetEndOfFile(handle);
      file.Close();
      return FailureStatus(error);
    }
    if (!MoveTo(handle, 0))
      return WriteStatus::kFailed;
  }
  // In place the old text may be longer: it ends where the new one does.
  if (!file.Write(bytes.data(), bytes.size()) || !SetEndOfFile(handle)) {
    const DWORD error = GetLastError();
    file.Close();
    return FailureStatus(error);
  }
  return file.Close() ? WriteStatus::kOk : FailureStatus(GetLastError());
}

bool Win32FileSystem::IsReadOnly(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
}

bool Win32FileSystem::CopyToNew(const std::string& from, const std::string& to) {
  return CopyFileA(from.c_str(), to.c_str(), TRUE) != 0;
}

std::string Win32FileSystem::TemporaryFolder() {
  char buffer[MAX_PATH] = {};
  const DWORD length = GetTempPathA(sizeof(buffer), buffer);
  return length == 0 || length >= sizeof(buffer) ? std::string() : std::string(buffer, length);
}

bool Win32FileSystem::CreateNew(const std::string& path) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE)
    return false;
  CloseHandle(file);
  return true;
}

Win32Startup::~Win32Startup() {
  if (socketsStarted_)
    WSACleanup();
  if (instances_)
    CloseHandle(instances_);
}

bool Win32Startup::LockInstances() {
  if (!instances_) {
    // One name per user in the session's own namespace ("Local\", which Windows 2000 without
    // terminal services ignores): another user's Botenruf in the same session is no instance
    // of this one. The system removes the mutex with the last process that holds it.
    char user[257] = {};
    DWORD size = sizeof(user);
    if (!GetUserNameA(user, &size))
      user[0] = '\0';
    const std::string name = std::string("Local\\Botenruf.Instanzen.") + user;
    instances_ = CreateMutexA(nullptr, FALSE, name.c_str());
    anotherInstance_ = instances_ && GetLastError() == ERROR_ALREADY_EXISTS;
  }
  if (instances_) {
    // An instance that died holding the lock hands it over as abandoned; one that hangs
    // holding it is not waited for beyond a few seconds.
    const DWORD wait = WaitForSingleObject(instances_, 5000);
    locked_ = wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED;
  }
  return anotherInstance_;
}

void Win32Startup::UnlockInstances() {
  if (locked_)
    ReleaseMutex(instances_);
  locked_ = false;
}

bool Win32Startup::MainWindowExists(const std::string& caption) {
  // The main window is the dialog that holds the recipient box and the send button (the ids of
  // its template, the same in every version); a box of the program is a dialog with the same
  // caption but without them.
  for (HWND window : TopLevelDialogs(caption)) {
    if (GetDlgItem(window, IDC_RECIPIENT) && GetDlgItem(window, IDC_SEND))
      return true;
  }
  return false;
}

bool Win32Startup::InitializeSockets() {
  WSADATA data;
  socketsStarted_ = WSAStartup(MAKEWORD(1, 1), &data) == 0;
  return socketsStarted_;
}

std::string Win32Startup::FileVersion() {
  return ReadOwnFileVersion();
}

std::string ReadOwnFileVersion() {
  VersionBlock block;
  ReadOwnVersionBlock(block);
  return block.fileVersion;
}

}  // namespace botenruf::win
