// Feeds arbitrary bytes to the list file readers, then saves the directory and loads it
// again: nothing may crash, no member text may outgrow its limit, every entry the file can
// carry must come back, and what was read comes back byte for byte.
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
  const UnreadParts unread = ReadListFile(bytes, directory);
  for (const std::string& members : directory.MemberTexts()) {
    Require(members.size() <= kMaxMemberTextLength, "member text read within 255");
  }

  const round_trip::Outcome outcome = round_trip::RoundTrip(directory);
  if (!outcome.problem.empty())
    std::fprintf(stderr, "%s\n", outcome.problem.c_str());
  Require(outcome.problem.empty(), "the file keeps what it can carry");
  // What was read from a file is written back byte for byte, but for the entries whose marker
  // already acted on the other reader; a text cut to 256 characters may lose white space.
  const auto either = [](const std::string& a, const std::string& b, std::string_view marker) {
    return Contains(a, marker) || Contains(b, marker) ? 1 : 0;
  };
  int acting = 0;
  for (int i = 0; i < directory.SingleCount(); ++i)
    acting += either(directory.Stations()[i], directory.Aliases()[i], "//v_begin");
  for (int i = 0; i < directory.ListCount(); ++i)
    acting += either(directory.ListNames()[i], directory.MemberTexts()[i], "//begin");
  Require(outcome.leftOut == acting, "only entries with an acting marker are left out");
  Require(unread.cutTexts > 0 ||
              outcome.exact == directory.SingleCount() + directory.ListCount() - acting,
          "what was read comes back byte for byte");

  fakes::FakeFileSystem files;
  files.files["Rechner.txt"] = ListFileText(directory, {2004, 12, 6}, "3.0");
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
