// Stand-in for explorer.exe: a share opened from the shares browser only leaves its trace in
// the log.
#include "common/netsim_records.h"

int main() {
  botenruf::netsim::LogInvocation("explorer");
  return 0;
}
