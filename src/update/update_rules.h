// The update check's rules: where it looks, which file names it accepts, how large a transfer
// may grow, and every text it shows.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/http_client.h"
#include "platform/message_boxes.h"
#include "update/update_list.h"

namespace botenruf {

// The maker's server; BOTENRUF_UPDATE_URL replaces it (an in-house mirror, a test server).
inline constexpr const char* kDefaultUpdateBaseUrl = "http://updates.botenruf.example/";
inline constexpr const char* kUpdateUrlVariable = "BOTENRUF_UPDATE_URL";
inline constexpr const char* kVersionListPath = "Updates/_updates.txt";
inline constexpr const char* kVersionListFile = "_updates.txt";

// A wrong server must not fill the disk: transfers beyond these sizes are not read on.
inline constexpr uint64_t kVersionListLimit = 64 * 1024;
inline constexpr uint64_t kProgramFileLimit = 64 * 1024 * 1024;
// Nor may a silent or trickling server hold the check: no step waits longer than 10 s for the
// connection or 20 s for data. The version list takes at most a minute altogether; the program
// file as long as it needs over a slow line, but after its first minute it must have come at
// 1 KB a second on average (a 2 MB zip over 64 kbit/s takes four minutes, at 8 KB a second).
inline constexpr HttpLimits kVersionListTimes{10000, 20000, 60000, 0};
inline constexpr HttpLimits kDownloadTimes{10000, 20000, 60000, 1024};

// The variable's value when it is set and not empty, else the default; always ending in "/"
// so that the list's path can be joined directly.
std::string UpdateBaseUrl(const std::optional<std::string>& variable);

// "C:\Programme\Botenruf\" for "C:\Programme\Botenruf\Botenruf.exe"; empty without a folder.
std::string FolderOf(std::string_view path);
std::string FileNameOf(std::string_view path);
// Where a transfer is written until it is complete, beside its target.
std::string TemporaryPathFor(const std::string& target);

// Why the list's file name may not be stored in the program's folder; empty when it may. A
// bare name is required: no drive or folder, not "." or "..", no character or device name
// that Windows forbids, no trailing dot or blank (Windows would drop it), and not the name of
// the running program. And it must name a zip archive: beside the program, a DLL, a manifest
// or a ".local" file would be loaded into it at the next start.
std::string DownloadNameProblem(std::string_view name, std::string_view programName);

// The message of a transfer that broke off, for a system error code of the internet client.
std::string TransferErrorText(uint32_t code);
std::string IncompleteTransferText(uint64_t received, uint64_t expected);
std::string OverlongTransferText(uint64_t announced);
std::string WriteErrorText(const std::string& path);
std::string OpenErrorText(const std::string& path);
std::string TooLargeText(uint64_t limit);
std::string TimeLimitText(uint32_t totalMs);
std::string SlowTransferText(uint32_t minBytesPerSecond);
inline constexpr const char* kParseErrorText = "Parse-Error: URL";
inline constexpr const char* kHttpErrorText = "Error: HTTP";

// The boxes, in the order the check may show them.
BoxRequest SearchQuestionBox();
// For "Update suchen" while a check still runs.
BoxRequest CheckRunningBox();
BoxRequest NoNewerVersionBox();
BoxRequest OfferBox(const Version& installed, const UpdateEntry& entry);
BoxRequest DownloadSuccessBox(const Version& version, const std::string& path);
BoxRequest DownloadFailureBox(const std::string& errorText);
// A broken transfer's own message.
BoxRequest TransferErrorBox(const std::string& message);

}  // namespace botenruf
