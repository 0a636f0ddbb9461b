#include "netinfo/list_check.h"

#include "dispatch/tool_errors.h"
#include "netinfo/net_output.h"
#include "netinfo/net_query.h"
#include "text/text.h"

namespace botenruf {

MemberCheck ListMembers(const std::string& memberText, const RecipientDirectory& directory) {
  MemberCheck check;
  check.searching = memberText.find(',') != std::string::npos;
  for (const std::string& station : RecipientDirectory::MembersBeforeCommas(memberText)) {
    if (station.empty())
      continue;
    ListMember member;
    member.station = station;
    const int index = directory.FindStation(member.station);
    if (index >= 0) {
      member.alias = directory.Aliases()[index];
      member.known = true;
    }
    check.members.push_back(std::move(member));
  }
  return check;
}

std::string ListCheckRowLabel(const ListMember& member) {
  return member.known ? Format("%s {%s}", member.station.c_str(), member.alias.c_str())
                      : member.station;
}

const char* OnlineText(bool online) {
  return online ? "ja" : "nein";
}

void RunListCheck(const WorkerServices& services, const MemberCheck& check,
                  const std::string& outputFile, ListCheckView& view) {
  if (check.searching)
    view.SetSearching(true);
  int row = 0;
  for (const ListMember& member : check.members) {
    // The end of the program stops the check as the user's close does.
    if (view.CloseRequested() || ShutdownFlag().load())
      break;
    view.ShowTesting(member.known ? member.alias : member.station);
    std::vector<std::string> lines;
    if (!RunQuery(*services.processes, *services.system, QueryKind::kNetView,
                  "\\\\" + member.station, outputFile) ||
        !ReadOutputLines(*services.files, *services.system, outputFile, lines)) {
      continue;
    }
    view.AddRow(row++, ListCheckRowLabel(member), AnswersNetView(lines));
  }
  RemoveOutputFile(*services.files, outputFile);
  view.SetSearching(false);
  view.Finish(kListCheckDone);
  view.ShowOk();
  WaitUntilClosed([&] { return view.CloseRequested(); });
  view.StopFlashing();
}

}  // namespace botenruf
