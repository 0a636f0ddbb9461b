// What the console tools say when they fail. net.exe ends with exit code 2 for every error and
// writes its reason to standard error: "Systemfehler N aufgetreten." (English "System error N
// has occurred.") with the system's text for N, or, for the network's own messages, a text
// that ends "NET HELPMSG N" (2273: the message alias was not found on the network). msg writes
// "Fehler N ..." / "Error N ..." or "Error [N]:..." in the forms published for it. Only the
// number is read: the words differ between editions and languages.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace botenruf {

// The first error number in a tool's output: the number after "Fehler", "Error" or "HELPMSG"
// (any case; blanks and an opening "[" between them allowed); 0 when there is none.
uint32_t ToolErrorCode(const std::vector<std::string>& output);

// The network's answers for a station that cannot be found or reached (53: the network path was
// not found, 1231: the network cannot be reached, ...).
bool IsUnreachableError(uint32_t code);

// Answers that only a station that is there can give: it refuses the caller (5: access denied;
// the logon errors of a station that wants other credentials).
bool IsCallerRefusedError(uint32_t code);

// Whether a station answered "net view \\NAME", from all that the probe wrote (standard output
// and error): a listing, or a note that it shares nothing, means it did; of the errors, only
// those that the station itself gives (it refuses the caller) do.
bool AnswersNetView(const std::vector<std::string>& output);

// A line of dashes alone: what stands between a listing's column header and its rows.
bool IsDashLine(const std::string& line);

// net send's code for "the message alias was not found on the network".
inline constexpr uint32_t kAliasNotFound = 2273;

}  // namespace botenruf
