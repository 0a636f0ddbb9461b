#include "netinfo/table_query.h"

#include "dispatch/tool_errors.h"
#include "netinfo/net_output.h"
#include "netinfo/net_query.h"
#include "text/text.h"

namespace botenruf {
namespace {

// "net view TARGET" into `outputFile`, turned into rows by `read` (false when the file cannot
// be read); the file is deleted afterwards. False when the query did not run or was not read.
template <class Read>
bool QueryTable(const WorkerServices& services, const std::string& target,
                const std::string& outputFile, Read read, std::vector<TableRow>& rows) {
  const bool done =
      RunQuery(*services.processes, *services.system, QueryKind::kNetView, target, outputFile) &&
      read(outputFile, rows);
  RemoveOutputFile(*services.files, outputFile);
  return done;
}

void ShowTable(std::vector<TableRow> rows, const char* doneText, TableView& view) {
  view.ShowListing(std::move(rows), doneText);
  WaitUntilClosed([&] { return view.CloseRequested(); });
}

}  // namespace

std::string DomainStatusText(const DomainListing& listing) {
  if (!listing.failure.empty())
    return listing.failure;
  const size_t count = listing.rows.size();
  return Format("Domäne bearbeitet: %lu %s.", static_cast<unsigned long>(count),
                count == 1 ? "Station" : "Stationen");
}

DomainListing QueryDomainStations(const WorkerServices& services, const std::string& domain,
                                  const std::string& outputFile) {
  DomainListing listing;
  uint32_t error = 0;
  // As ReadOutputLines reads it, but parsed from the whole text: a line of its own for each
  // of tens of thousands of stations would cost their allocations, and the memory they leave.
  const auto readListing = [&services, &error](const std::string& file,
                                               std::vector<TableRow>& rows) {
    std::string text;
    if (services.files->ReadAll(file, text, kMaxOutputFileBytes) != ReadStatus::kOk)
      return false;
    text = services.system->ConsoleToAnsi(text);
    std::vector<StationRow> stations = ParseDomainStations(std::string_view(text));
    // net view writes its error instead of a listing: only then is there a number to find.
    if (stations.empty())
      error = ToolErrorCode(SplitLines(text));
    text = {};
    rows.reserve(stations.size());
    for (StationRow& row : stations)
      rows.push_back({std::move(row.station), std::move(row.comment)});
    return true;
  };
  if (!QueryTable(services, "/domain:" + domain, outputFile, readListing, listing.rows) ||
      error != 0) {
    listing.failure =
        Format("Die Stationsliste der Domäne \"%s\" konnte nicht gelesen werden", domain.c_str());
    listing.failure += error != 0 ? ": " + OneLine(SystemErrorText(*services.system, error)) : ".";
  }
  return listing;
}

DomainStations ListDomainStationNames(const WorkerServices& services, const std::string& domain) {
  DomainListing listing =
      QueryDomainStations(services, domain, MakeTempFileName(*services.system, *services.files));
  DomainStations stations;
  stations.failure = std::move(listing.failure);
  for (TableRow& row : listing.rows)  // the station without its two backslashes
    stations.stations.push_back({row.first.substr(2), std::move(row.second)});
  return stations;
}

void RunDomainQuery(const WorkerServices& services, const std::string& domain,
                    const std::string& outputFile, TableView& view) {
  DomainListing listing = QueryDomainStations(services, domain, outputFile);
  const std::string status = DomainStatusText(listing);
  ShowTable(std::move(listing.rows), status.c_str(), view);
}

void RunSharesQuery(const WorkerServices& services, const std::string& station,
                    const std::string& outputFile, TableView& view) {
  const auto read = [&services](const std::string& file, std::vector<TableRow>& rows) {
    std::vector<std::string> lines;
    if (!ReadOutputLines(*services.files, *services.system, file, lines))
      return false;
    for (ShareRow& row : ParseShareList(lines))
      rows.push_back({std::move(row.name), std::move(row.type)});
    return true;
  };
  std::vector<TableRow> rows;
  QueryTable(services, station, outputFile, read, rows);
  ShowTable(std::move(rows), kSharesDone, view);
}

}  // namespace botenruf
