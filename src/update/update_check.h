// The update check behind "Inf&os" / "&Update suchen": fetches the version list, compares
// the program's own version with its entry, offers the newer one and downloads it into the
// program's folder. It runs on a thread of its own, so that the window stays usable while the
// server takes its time; the window shows its boxes.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/clipboard.h"
#include "platform/file_system.h"
#include "platform/http_client.h"
#include "platform/message_boxes.h"
#include "platform/output_file.h"
#include "platform/program_environment.h"
#include "update/update_list.h"

namespace botenruf {

// The services that only the update check needs, as the main window keeps them.
struct UpdatePlatform {
  std::shared_ptr<HttpClient> http;
  std::shared_ptr<OutputFiles> outputs;
  std::shared_ptr<Clipboard> clipboard;
  std::shared_ptr<ProgramEnvironment> program;
};

struct UpdateServices {
  HttpClient& http;
  FileSystem& files;
  OutputFiles& outputs;
  MessageBoxes& boxes;
  Clipboard& clipboard;
  ProgramEnvironment& program;
  // Raised when the program ends: the check shows nothing more, leaves its transfer and
  // removes what it has half written.
  const std::atomic<bool>& stop;
};

// One check on a thread of its own: the window keeps it to know that one runs and to stop it,
// the thread keeps it alive until the check has ended.
struct UpdateJob {
  std::atomic<bool> stop{false};
  std::atomic<bool> finished{false};
};

struct FetchResult {
  bool ok = false;
  bool tooLarge = false;
  // Why it failed, for the failure box. Stays empty when the transfer broke off: its own
  // message has been shown already.
  std::string errorText;
};

// GETs `url` into `localPath`, at most `limit` bytes, within `times`. The body goes to a
// temporary file beside the target, which replaces the target only when it is complete (all
// bytes announced by the server, if it announced any), so a broken transfer leaves no half file
// and keeps an earlier copy. A broken transfer shows its own message in a box.
FetchResult FetchFile(const UpdateServices& services, NativeWindow owner, const std::string& url,
                      const std::string& localPath, uint64_t limit, const HttpLimits& times);

// Fetches the version list into `folder` + "_updates.txt", reads it and deletes it. Empty when
// it cannot be fetched or read; only a list too large is reported.
std::vector<UpdateEntry> ReadUpdateList(const UpdateServices& services, NativeWindow owner,
                                        const std::string& baseUrl, const std::string& folder);

void CheckForUpdate(const UpdateServices& services, NativeWindow owner);

}  // namespace botenruf
