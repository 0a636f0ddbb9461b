// The editing rules of the recipient list editor ("Rechnerliste"), over the directory: moves
// of single recipients, lists and members, adding and removing members, and which controls
// each edit mode enables. The dialog only wires its controls to these.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "directory/recipient_directory.h"
#include "platform/message_boxes.h"

namespace botenruf {

// What the editor needs of the program: the address book, its file and the list limit.
class ListEditorHost {
 public:
  virtual ~ListEditorHost() = default;
  virtual RecipientDirectory& directory() = 0;
  virtual int32_t MaxListMembers() = 0;
  // "Rückgängig": the list file read anew.
  virtual void ReloadDirectory() = 0;
  // "OK": the directory written to the list file; a question about it is owned by `owner`.
  virtual SaveResult SaveDirectory(NativeWindow owner) = 0;
};

// One row of the member view: a member that is a single recipient, shown by its alias. The
// view hides the other members, so a row number is no position in the member text.
struct MemberRow {
  std::string alias;
  int position = 0;  // of the member in the member text, counted from 0
};

// The pieces of a member text between its commas (an empty last piece is none).
std::vector<std::string> SplitMembers(std::string members);
// The rows of the member view for a list's member text.
std::vector<MemberRow> MemberRows(const std::string& members, const RecipientDirectory& directory);

// The member view's order after SortMembers (`pieces`: the piece each piece was before): the
// row of `before` that each row of `after` was. Empty when they do not match up.
std::vector<size_t> MemberRowOrder(const std::vector<MemberRow>& before,
                                   const std::vector<MemberRow>& after,
                                   const std::vector<size_t>& pieces);

// Moves entry `index` one place up (direction -1) or down (+1); the index it moves to, or -1
// when it is already at that end (nothing changes).
int MoveSingle(RecipientDirectory& directory, int index, int direction);
int MoveList(RecipientDirectory& directory, int index, int direction);

// "Empfänger +": appends the stations of the single recipients `singles` (in view order) to
// list `list`. Stops at the first one that does not fit, with the message to show: the
// member limit `maxMembers`, what the list file keeps of a member text, or a station name
// the member text cannot carry.
std::optional<std::string> AddMembers(RecipientDirectory& directory, int list,
                                      const std::vector<int>& singles, int32_t maxMembers);
// "Empfänger -": removes the members the user selected in the member view (`rows` are rows of
// MemberRows); hidden members stay.
void RemoveMembers(RecipientDirectory& directory, int list, const std::vector<int>& rows);
// "Ho&ch" / "R&unter": exchanges the member of view row `row` with the member shown above
// (-1) or below (+1) it. The row it moves to, or -1 when nothing changes.
int MoveMember(RecipientDirectory& directory, int list, int row, int direction);

// The controls of each side; the edit mode enables one side and disables the other.
struct EditModeControls {
  std::vector<int> enabled;
  std::vector<int> disabled;
};
EditModeControls ControlsForMode(bool recipientMode);

}  // namespace botenruf
