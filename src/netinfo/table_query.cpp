#include "netinfo/table_query.h"

#include "netinfo/net_output.h"
#include "netinfo/net_query.h"

namespace botenruf {
namespace {

template <class Parse>
void RunTableQuery(const WorkerServices& services, const std::string& target,
                   const std::string& outputFile, const char* doneText, Parse parse,
                   TableView& view) {
  std::vector<std::string> lines;
  std::vector<TableRow> rows;
  if (RunQuery(*services.processes, *services.system, QueryKind::kNetView, target, outputFile) &&
      ReadOutputLines(*services.files, *services.system, outputFile, lines)) {
    rows = parse(lines);
  }
  lines = {};
  services.files->Remove(outputFile);
  view.ShowListing(std::move(rows), doneText);
  WaitUntilClosed([&] { return view.CloseRequested(); });
}

}  // namespace

void RunDomainQuery(const WorkerServices& services, const std::string& domain,
                    const std::string& outputFile, TableView& view) {
  const auto parse = [](const std::vector<std::string>& lines) {
    std::vector<TableRow> rows;
    for (StationRow& row : ParseDomainStations(lines))
      rows.push_back({std::move(row.station), std::move(row.comment)});
    return rows;
  };
  RunTableQuery(services, "/domain:" + domain, outputFile, kDomainDone, parse, view);
}

void RunSharesQuery(const WorkerServices& services, const std::string& station,
                    const std::string& outputFile, TableView& view) {
  const auto parse = [](const std::vector<std::string>& lines) {
    std::vector<TableRow> rows;
    for (ShareRow& row : ParseShareList(lines))
      rows.push_back({std::move(row.name), std::move(row.type)});
    return rows;
  };
  RunTableQuery(services, station, outputFile, kSharesDone, parse, view);
}

}  // namespace botenruf
