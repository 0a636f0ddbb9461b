#include "netinfo/win32/station_info_dialog.h"

#include "resource.h"

namespace botenruf::win {

bool StationInfoDialog::OnInitDialog() {
  SetCaption(info_.station);
  SetItemText(IDC_STATION_INFO_NAME, info_.station);
  HWND users = Item(IDC_STATION_INFO_USERS);
  for (const std::string& user : info_.userNames)
    SendMessageA(users, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(user.c_str()));
  SendMessageA(users, CB_SETCURSEL, 0, 0);  // the box sorts: the first name in order
  SetItemText(IDC_STATION_INFO_IP, info_.ip);
  SetItemText(IDC_STATION_INFO_MAC, info_.mac);
  return true;
}

void StartStationInfoWorker(std::shared_ptr<StationQuery> job, HWND owner) {
  StartQueryWorker([job, owner] {
    const NetQuery& query = job->query;
    job->info = QueryStationInfo(query.services(), query.target(), query.outputFile());
    SendMessageA(owner, WM_APP_STATION_INFO_DONE, 0, 0);
  });
}

}  // namespace botenruf::win
