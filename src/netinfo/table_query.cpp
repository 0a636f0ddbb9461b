#include "netinfo/table_query.h"

#include "netinfo/net_output.h"
#include "netinfo/net_query.h"

namespace botenruf {
namespace {

// `read` turns the output file into rows; false when it cannot be read.
template <class Read>
void RunTableQuery(const WorkerServices& services, const std::string& target,
                   const std::string& outputFile, const char* doneText, Read read,
                   TableView& view) {
  std::vector<TableRow> rows;
  if (RunQuery(*services.processes, *services.system, QueryKind::kNetView, target, outputFile))
    read(outputFile, rows);
  services.files->Remove(outputFile);
  view.ShowListing(std::move(rows), doneText);
  WaitUntilClosed([&] { return view.CloseRequested(); });
}

}  // namespace

void RunDomainQuery(const WorkerServices& services, const std::string& domain,
                    const std::string& outputFile, TableView& view) {
  // As ReadOutputLines reads it, but parsed from the whole text: a line of its own for each
  // of tens of thousands of stations would cost their allocations, and the memory they leave.
  const auto read = [&services](const std::string& file, std::vector<TableRow>& rows) {
    std::string listing;
    if (services.files->ReadAll(file, listing, kMaxOutputFileBytes) != ReadStatus::kOk)
      return false;
    listing = services.system->ConsoleToAnsi(listing);
    std::vector<StationRow> stations = ParseDomainStations(std::string_view(listing));
    listing = {};
    rows.reserve(stations.size());
    for (StationRow& row : stations)
      rows.push_back({std::move(row.station), std::move(row.comment)});
    return true;
  };
  RunTableQuery(services, "/domain:" + domain, outputFile, kDomainDone, read, view);
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
  RunTableQuery(services, station, outputFile, kSharesDone, read, view);
}

}  // namespace botenruf
