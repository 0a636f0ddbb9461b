// The list member check: every member of a distribution list probed with `net view`, one
// row per member ("ja" when the station answers, "nein" when not).
#pragma once

#include <string>
#include <vector>

#include "directory/recipient_directory.h"
#include "dispatch/send_workers.h"

namespace botenruf {

struct ListMember {
  std::string station;
  std::string alias;   // of the single recipient with exactly this station name
  bool known = false;  // such a single recipient exists
};

// The members of a member text: each text before a comma (what follows the last comma is
// no member; empty names between two commas are none either), with the alias looked up in
// the directory. Taken on the user-interface thread when the check starts, so the worker
// never reads the directory that the user may change meanwhile.
struct MemberCheck {
  std::vector<ListMember> members;
  bool searching = false;  // the member text has a comma: the window shows its search
};
MemberCheck ListMembers(const std::string& memberText, const RecipientDirectory& directory);

// "%s {%s}" with station and alias for a known member, else the station.
std::string ListCheckRowLabel(const ListMember& member);
// The state column: "ja" or "nein".
const char* OnlineText(bool online);

// What the worker does to its window. The window carries out each call on its own thread.
class ListCheckView {
 public:
  virtual ~ListCheckView() = default;
  virtual void SetSearching(bool on) = 0;
  virtual void ShowTesting(const std::string& name) = 0;
  virtual void AddRow(int index, const std::string& label, bool online) = 0;
  virtual void Finish(const std::string& status) = 0;
  virtual void ShowOk() = 0;
  virtual void StopFlashing() = 0;
  virtual bool CloseRequested() = 0;
};

inline constexpr const char* kListCheckDone = "Liste bearbeitet.";

// The worker's part: probes the members in order until the user closes the window or the
// program ends (either way the member in progress is finished first), deletes `outputFile`,
// reports the end, then waits (the window flashing) until the user closes it or the program ends.
void RunListCheck(const WorkerServices& services, const MemberCheck& check,
                  const std::string& outputFile, ListCheckView& view);

}  // namespace botenruf
