// "Rechner-Info" (dialog 136): the results of a station query, shown modally.
#pragma once

#include <memory>

#include "netinfo/net_query.h"
#include "netinfo/station_info.h"
#include "platform/win32/dialog.h"
#include "resource.h"

namespace botenruf::win {

class StationInfoDialog : public Dialog {
 public:
  StationInfoDialog(HWND owner, StationInfo info)
      : Dialog(IDD_STATION_INFO, owner), info_(std::move(info)) {}

 protected:
  bool OnInitDialog() override;

 private:
  StationInfo info_;
};

// A station query with its result, which the worker writes before its last message.
struct StationQuery {
  StationQuery(WorkerServices services, std::string station)
      : query(std::move(services), std::move(station)) {}
  NetQuery query;
  StationInfo info;
};

// Starts the worker; `owner` gets the end message and shows the result.
void StartStationInfoWorker(std::shared_ptr<StationQuery> job, HWND owner);

}  // namespace botenruf::win
