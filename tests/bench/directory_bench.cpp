// Loading, sorting and saving a directory far larger than any real one: 10,000 single
// recipients and 1,000 lists of ten members each.
#include <benchmark/benchmark.h>

#include <map>
#include <random>
#include <string>

#include "../fuzz/list_file_round_trip.h"
#include "directory/recipient_directory.h"
#include "text/text.h"

namespace {

using namespace botenruf;

constexpr int kSingles = 10000;
constexpr int kLists = 1000;
const char kPath[] = "C:\\Rechner.txt";
const LocalTime kDate{2004, 12, 6};

RecipientDirectory MakeDirectory() {
  std::mt19937 random(42);
  const char* words[] = {"Empfang", "buchhaltung", "Lager", "Vertrieb", "Ärzte", "zentrale"};
  RecipientDirectory directory;
  for (int i = 0; i < kSingles; ++i) {
    directory.AddSingle(
        Format("%s %u", words[random() % 6], static_cast<unsigned>(random() % 1000)),
        Format("PC%05u", static_cast<unsigned>(random() % 100000)));
  }
  for (int i = 0; i < kLists; ++i) {
    std::string members;
    for (int m = 0; m < 10; ++m) {
      members += Format("PC%05u,", static_cast<unsigned>(random() % 100000));
    }
    directory.AddList(Format("Liste %s %d", words[random() % 6], i), members);
  }
  return directory;
}

void BM_Load(benchmark::State& state) {
  fakes::FakeFileSystem files;
  MakeDirectory().SaveDirectory(files, kPath, kDate, "3.0.0.15");
  RecipientDirectory directory;
  for (auto _ : state) {
    directory.ReloadDirectory(files, kPath);
    benchmark::DoNotOptimize(directory.SingleCount());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(files.files[kPath].size()));
}
BENCHMARK(BM_Load)->Unit(benchmark::kMillisecond);

void BM_Save(benchmark::State& state) {
  RecipientDirectory directory = MakeDirectory();
  fakes::FakeFileSystem files;
  for (auto _ : state) {
    benchmark::DoNotOptimize(directory.SaveDirectory(files, kPath, kDate, "3.0.0.15"));
  }
}
BENCHMARK(BM_Save)->Unit(benchmark::kMillisecond);

// Each run sorts the unsorted directory afresh.
template <bool kSortSingles>
void BM_Sort(benchmark::State& state) {
  const RecipientDirectory unsorted = MakeDirectory();
  RecipientDirectory directory;
  for (auto _ : state) {
    state.PauseTiming();
    directory = unsorted;
    state.ResumeTiming();
    if (kSortSingles) {
      directory.SortSingles(1);
    } else {
      directory.SortLists(0);
    }
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_Sort<true>)->Name("BM_SortSingles")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Sort<false>)->Name("BM_SortLists")->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
