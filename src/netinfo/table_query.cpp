#include "netinfo/table_query.h"

#include <algorithm>
#include <functional>

#include "netinfo/net_output.h"
#include "netinfo/net_query.h"

namespace botenruf {
namespace {

// "net view TARGET" into `outputFile`, parsed into rows; the file is deleted afterwards.
template <class Parse>
std::vector<TableRow> QueryTable(const WorkerServices& services, const std::string& target,
                                 const std::string& outputFile, Parse parse) {
  std::vector<TableRow> rows;
  std::vector<std::string> lines;
  if (RunQuery(*services.processes, *services.system, QueryKind::kNetView, target, outputFile) &&
      ReadOutputLines(*services.files, *services.system, outputFile, lines)) {
    rows = parse(lines);
  }
  services.files->Remove(outputFile);
  return rows;
}

void ShowTable(const std::function<std::vector<TableRow>()>& query, const char* doneText,
               TableView& view) {
  view.SetSearching(true);
  const std::vector<TableRow> rows = query();
  for (size_t first = 0; first < rows.size(); first += kRowsPerBatch) {
    const auto begin = rows.begin() + static_cast<long>(first);
    view.AddRows(static_cast<int>(first),
                 {begin, begin + static_cast<long>(std::min(kRowsPerBatch, rows.size() - first))});
  }
  view.SetSearching(false);
  view.Finish(doneText);
  view.ShowOk();
  WaitUntilClosed([&] { return view.CloseRequested(); });
}

}  // namespace

std::vector<TableRow> QueryDomainStations(const WorkerServices& services, const std::string& domain,
                                          const std::string& outputFile) {
  return QueryTable(services, "/domain:" + domain, outputFile,
                    [](const std::vector<std::string>& lines) {
                      std::vector<TableRow> rows;
                      for (StationRow& row : ParseDomainStations(lines))
                        rows.push_back({std::move(row.station), std::move(row.comment)});
                      return rows;
                    });
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
  ShowTable([&] { return QueryDomainStations(services, domain, outputFile); }, kDomainDone, view);
}

void RunSharesQuery(const WorkerServices& services, const std::string& station,
                    const std::string& outputFile, TableView& view) {
  const auto parse = [](const std::vector<std::string>& lines) {
    std::vector<TableRow> rows;
    for (ShareRow& row : ParseShareList(lines))
      rows.push_back({std::move(row.name), std::move(row.type)});
    return rows;
  };
  ShowTable([&] { return QueryTable(services, station, outputFile, parse); }, kSharesDone, view);
}

}  // namespace botenruf
