// Feeds arbitrary bytes to the list file readers, then saves the directory and loads it
// again: nothing may crash, no member text may outgrow its limit, and every entry the file
// can carry must come back (exactly, where the format allows it).
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "directory/list_file.h"
#include "directory/recipient_directory.h"
#include "fuzz_require.h"
#include "list_file_round_trip.h"

using namespace botenruf;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  RecipientDirectory directory;
  ReadSingles(bytes, directory);
  ReadLists(bytes, directory);
  for (const std::string& members : directory.MemberTexts()) {
    Require(members.size() <= kMaxMemberTextLength, "member text read within 255");
  }

  const round_trip::Outcome outcome = round_trip::RoundTrip(directory);
  if (!outcome.problem.empty())
    std::fprintf(stderr, "%s\n", outcome.problem.c_str());
  Require(outcome.problem.empty(), "the file keeps what it can carry");

  fakes::FakeFileSystem files;
  directory.SaveDirectory(files, "Rechner.txt", {2004, 12, 6}, "3.0");
  RecipientDirectory loaded;
  loaded.ReloadDirectory(files, "Rechner.txt");
  // The editor's operations on whatever the file held.
  loaded.SortSingles(1);
  loaded.SortLists(0);
  for (int i = 0; i < loaded.ListCount(); ++i)
    loaded.SortMembers(i);
  loaded.PurgeMembers();
  for (const std::string& members : loaded.MemberTexts()) {
    Require(members.size() <= kMaxMemberTextLength, "member text within 255 after editing");
  }
  ListInfoText(loaded);
  return 0;
}
