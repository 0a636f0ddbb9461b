// The domain browser's take-over of stations into the recipient directory: as single
// recipients (the station's comment becoming the alias) or into a distribution list. And the
// rule that names the list the stations go to.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "directory/recipient_directory.h"
#include "netinfo/net_output.h"

namespace botenruf {

// What the main window tells about its recipient selection.
struct ListChoice {
  int mode = 0;             // the recipient mode
  std::string boxText;      // the recipient box's text
  int selectedIndex = -1;   // the box's selected entry (-1 for none)
  int savedListIndex = -1;  // the selection kept for list mode (-1 for none)
};

// The list that "Verteilerliste" fills: in list mode the list the box shows, that is its
// selected entry while the box's text is that list's name (a name typed over it designates
// none); otherwise the one kept for list mode (the first when none is kept). -1 when none
// is designated or the index stands for no list.
int TargetList(const ListChoice& choice, const RecipientDirectory& directory);

// The label of the menu item: the name of the target list; empty while there is none. Longer
// than 12 characters, it is cut to 10 and "...". Empty hides the item, so the item always
// names the list it fills.
std::string ListLabel(const ListChoice& choice, const RecipientDirectory& directory);
// The menu item's text for a label: an "&" of the list's name is shown as it is, not taken as
// the access key.
std::string ListMenuText(const std::string& label);

struct TakeOverRequest {
  std::vector<StationRow> rows;  // the selected rows in view order
  bool intoList = false;         // "Verteilerliste" (else "Einzelempfänger")
  // The list the menu named (TargetList), by index and name: the list file may have been read
  // again since, with the lists in another order.
  int targetList = -1;
  std::string targetName;
  int32_t maxMembers = 20;  // MaxThreads
  bool editorOpen = false;  // the list editor works on the directory
};

struct TakeOverOutcome {
  // In order; the last one stays in the status line: for more than one row a summary of how
  // many were taken over, were already there and were refused, and why.
  std::vector<std::string> statusTexts;
  bool singlesChanged = false;
  bool listsChanged = false;
};

// Sets the request's target list to the TargetList of the choice.
void AimAtTargetList(TakeOverRequest& request, const ListChoice& choice,
                     const RecipientDirectory& directory);

// Takes the rows over. A station is added once as a single recipient; in a list it is
// appended unless a member already has its name, the list is full (maxMembers) or its member
// text would outgrow what the list file keeps. Names the list file cannot carry are skipped.
// Nothing is taken while the list editor is open, nor into a list that is gone.
TakeOverOutcome TakeOverStations(RecipientDirectory& directory, const TakeOverRequest& request);

}  // namespace botenruf
