// The two table queries: the stations of a domain and the shares of a station, each one
// `net view` whose listing becomes the rows of a browser window.
#pragma once

#include <string>
#include <vector>

#include "dispatch/send_workers.h"

namespace botenruf {

struct TableRow {
  std::string first;
  std::string second;
};

// What the worker does to its window, which shows its search from the start. The window
// carries out each call on its own thread.
class TableView {
 public:
  virtual ~TableView() = default;
  // The end of the search: all rows of the listing, then the window as finished (not
  // searching, the status text, "OK"). One call: the window only keeps the rows (its list asks
  // for the rows it draws), and draws once, while every call to the window's thread costs
  // milliseconds of its own and may wait for the window to draw what the last one changed.
  virtual void ShowListing(std::vector<TableRow> rows, const std::string& status) = 0;
  virtual bool CloseRequested() = 0;
};

inline constexpr const char* kSharesDone = "Freigegebene Resourcen.";

// A domain's listing: its stations, or why it could not be read (the system's text and code of
// the error net view reported, where it reported one).
struct DomainListing {
  std::vector<TableRow> rows;
  std::string failure;  // empty when the listing was read, also when it lists no station
};
// The domain browser's status line once the search is over: "Domäne bearbeitet: 12
// Stationen." or the failure.
std::string DomainStatusText(const DomainListing& listing);

// The worker's part for a domain: "net view /domain:NAME", one row per station (with its two
// backslashes) and its comment; it deletes `outputFile` before it reports the end, then waits
// until the window is closed or the program ends.
void RunDomainQuery(const WorkerServices& services, const std::string& domain,
                    const std::string& outputFile, TableView& view);
// The stations of a domain as the domain browser lists them ("net view /domain:NAME" into
// `outputFile`, deleted afterwards), with their two backslashes.
DomainListing QueryDomainStations(const WorkerServices& services, const std::string& domain,
                                  const std::string& outputFile);
// Their names alone, for a domain send through msg.
DomainStations ListDomainStationNames(const WorkerServices& services, const std::string& domain);
// The same for the shares of a station ("\\NAME"): one row per share with its type.
void RunSharesQuery(const WorkerServices& services, const std::string& station,
                    const std::string& outputFile, TableView& view);

}  // namespace botenruf
