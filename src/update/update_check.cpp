#include "update/update_check.h"

#include "update/update_rules.h"

namespace botenruf {

namespace {

// Writes the body to the temporary file and keeps count; refuses error statuses and bodies
// beyond the limit before anything is written.
class DownloadReceiver : public HttpReceiver {
 public:
  enum class Problem { kNone, kHttpStatus, kTooLarge, kCannotOpen, kCannotWrite };

  DownloadReceiver(OutputFiles& outputs, std::string path, uint64_t limit)
      : outputs_(outputs), path_(std::move(path)), limit_(limit) {}

  bool OnResponse(uint32_t status, std::optional<uint64_t> contentLength) override {
    if (status >= 400)
      return Stop(Problem::kHttpStatus);
    if (contentLength && *contentLength > limit_)
      return Stop(Problem::kTooLarge);
    expected_ = contentLength;
    file_ = outputs_.CreateExclusive(path_);
    created_ = file_ != nullptr;
    return created_ ? true : Stop(Problem::kCannotOpen);
  }

  bool OnBlock(const char* data, size_t size) override {
    received_ += size;
    if (received_ > limit_)
      return Stop(Problem::kTooLarge);
    return file_->Write(data, size) ? true : Stop(Problem::kCannotWrite);
  }

  // Closes the file; false when its data may not all be on the disk.
  bool Close() {
    if (!file_)
      return true;
    const bool closed = file_->Close();
    file_.reset();
    return closed;
  }

  bool Created() const { return created_; }
  bool Complete() const { return !expected_ || *expected_ == received_; }
  Problem problem() const { return problem_; }
  uint64_t received() const { return received_; }
  uint64_t expected() const { return expected_.value_or(received_); }

 private:
  bool Stop(Problem problem) {
    problem_ = problem;
    return false;
  }

  OutputFiles& outputs_;
  std::string path_;
  uint64_t limit_;
  std::unique_ptr<OutputFile> file_;
  bool created_ = false;
  std::optional<uint64_t> expected_;
  uint64_t received_ = 0;
  Problem problem_ = Problem::kNone;
};

// Once the program ends, no box shows and every question is answered No.
void Show(const UpdateServices& services, NativeWindow owner, const BoxRequest& box) {
  if (!services.stop.load())
    services.boxes.Show(owner, box);
}

bool Ask(const UpdateServices& services, NativeWindow owner, const BoxRequest& box) {
  return !services.stop.load() && services.boxes.Ask(owner, box);
}

}  // namespace

FetchResult FetchFile(const UpdateServices& services, NativeWindow owner, const std::string& url,
                      const std::string& localPath, uint64_t limit, const HttpLimits& times) {
  FetchResult result;
  const std::optional<HttpUrl> address = SplitHttpUrl(url);
  if (!address) {
    result.errorText = kParseErrorText;
    return result;
  }
  const std::string temporary = TemporaryPathFor(localPath);
  DownloadReceiver receiver(services.outputs, temporary, limit);
  const HttpResult transfer = services.http.Get(*address, receiver, times, services.stop);
  const bool closed = receiver.Close();

  std::string brokenMessage;
  switch (transfer.status) {
    case HttpResult::Status::kComplete:
      if (!closed) {
        brokenMessage = WriteErrorText(localPath);
      } else if (!receiver.Complete()) {
        brokenMessage = IncompleteTransferText(receiver.received(), receiver.expected());
      } else if (services.files.Replace(temporary, localPath)) {
        result.ok = true;
        return result;
      } else {
        result.errorText = OpenErrorText(localPath);
      }
      break;
    case HttpResult::Status::kNoStatus:
      result.errorText = kHttpErrorText;
      break;
    case HttpResult::Status::kStopped:
      switch (receiver.problem()) {
        case DownloadReceiver::Problem::kHttpStatus:
          result.errorText = kHttpErrorText;
          break;
        case DownloadReceiver::Problem::kTooLarge:
          result.tooLarge = true;
          result.errorText = TooLargeText(limit);
          break;
        case DownloadReceiver::Problem::kCannotOpen:
          result.errorText = OpenErrorText(localPath);
          break;
        case DownloadReceiver::Problem::kCannotWrite:
        case DownloadReceiver::Problem::kNone:
          brokenMessage = WriteErrorText(localPath);
          break;
      }
      break;
    case HttpResult::Status::kFailed:
      brokenMessage = TransferErrorText(transfer.error);
      break;
    case HttpResult::Status::kTimedOut:
      brokenMessage = TimeLimitText(times.totalMs);
      break;
    case HttpResult::Status::kTooSlow:
      brokenMessage = SlowTransferText(times.minBytesPerSecond);
      break;
    case HttpResult::Status::kOverlong:
      brokenMessage = OverlongTransferText(receiver.expected());
      break;
    case HttpResult::Status::kCancelled:
      break;  // the program ends: nothing to say
  }
  // Only a file of our own making goes; one that merely has the temporary name stays.
  if (receiver.Created())
    services.files.Remove(temporary);
  if (!brokenMessage.empty())
    Show(services, owner, TransferErrorBox(brokenMessage));
  return result;
}

std::vector<UpdateEntry> ReadUpdateList(const UpdateServices& services, NativeWindow owner,
                                        const std::string& baseUrl, const std::string& folder) {
  // Without the program's folder the list would land wherever the current directory is.
  if (folder.empty())
    return {};
  const std::string local = folder + kVersionListFile;
  const FetchResult fetched = FetchFile(services, owner, baseUrl + kVersionListPath, local,
                                        kVersionListLimit, kVersionListTimes);
  if (!fetched.ok) {
    if (fetched.tooLarge)
      Show(services, owner, DownloadFailureBox(fetched.errorText));
    return {};
  }
  std::string bytes;
  const ReadStatus read = services.files.ReadAll(local, bytes, kVersionListLimit);
  services.files.Remove(local);
  return read == ReadStatus::kOk ? ParseUpdateList(bytes) : std::vector<UpdateEntry>();
}

void CheckForUpdate(const UpdateServices& services, NativeWindow owner) {
  if (!Ask(services, owner, SearchQuestionBox()))
    return;
  WaitCursor wait(services.boxes);
  const std::string programPath = services.program.ProgramPath();
  const std::string folder = FolderOf(programPath);
  const std::string baseUrl = UpdateBaseUrl(services.program.Variable(kUpdateUrlVariable));
  const std::vector<UpdateEntry> entries = ReadUpdateList(services, owner, baseUrl, folder);
  const UpdateEntry* entry = FindUpdateEntry(entries, kUpdateKey);
  if (!entry)
    return;
  Version installed;
  if (!ParseVersionText(services.program.FileVersion(), installed) ||
      !IsNewer(entry->version, installed)) {
    Show(services, owner, NoNewerVersionBox());
    return;
  }
  if (!Ask(services, owner, OfferBox(installed, *entry)))
    return;
  const std::string problem = DownloadNameProblem(entry->fileName, FileNameOf(programPath));
  if (!problem.empty()) {
    Show(services, owner, DownloadFailureBox(problem));
    return;
  }
  const std::string target = folder + entry->fileName;
  const FetchResult fetched = FetchFile(services, owner, baseUrl + entry->path + entry->fileName,
                                        target, kProgramFileLimit, kDownloadTimes);
  if (!fetched.ok) {
    Show(services, owner, DownloadFailureBox(fetched.errorText));
    return;
  }
  Show(services, owner, DownloadSuccessBox(entry->version, target));
  if (!services.stop.load())
    services.clipboard.SetText(owner, target);
}

}  // namespace botenruf
