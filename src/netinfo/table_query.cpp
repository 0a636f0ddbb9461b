#include "netinfo/table_query.h"

#include "netinfo/net_output.h"
#include "netinfo/net_query.h"

namespace botenruf {
namespace {

// "net view TARGET" into `outputFile`, turned into rows by `read` (false when the file cannot
// be read); the file is deleted afterwards.
template <class Read>
std::vector<TableRow> QueryTable(const WorkerServices& services, const std::string& target,
                                 const std::string& outputFile, Read read) {
  std::vector<TableRow> rows;
  if (RunQuery(*services.processes, *services.system, QueryKind::kNetView, target, outputFile))
    read(outputFile, rows);
  RemoveOutputFile(*services.files, outputFile);
  return rows;
}

void ShowTable(std::vector<TableRow> rows, const char* doneText, TableView& view) {
  view.ShowListing(std::move(rows), doneText);
  WaitUntilClosed([&] { return view.CloseRequested(); });
}

}  // namespace

std::vector<TableRow> QueryDomainStations(const WorkerServices& services, const std::string& domain,
                                          const std::string& outputFile) {
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
  return QueryTable(services, "/domain:" + domain, outputFile, read);
}

std::vector<std::string> ListDomainStationNames(const WorkerServices& services,
                                                const std::string& domain) {
  std::vector<std::string> names;
  for (const TableRow& row :
       QueryDomainStations(services, domain, MakeTempFileName(*services.system, *services.files)))
    names.push_back(row.first.substr(2));  // without the two backslashes
  return names;
}

void RunDomainQuery(const WorkerServices& services, const std::string& domain,
                    const std::string& outputFile, TableView& view) {
  ShowTable(QueryDomainStations(services, domain, outputFile), kDomainDone, view);
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
  ShowTable(QueryTable(services, station, outputFile, read), kSharesDone, view);
}

}  // namespace botenruf
