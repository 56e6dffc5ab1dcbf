// SortFind and SortInsert on lists of 10^5 and 10^6 entry-like lines.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <map>
#include <memory>
#include <random>

#include "Vek.hpp"
#include "benchmark_aims.hpp"

namespace {

std::string Line(std::uint32_t n) {
  return "#0Form" + std::to_string(n % 97) + ".TOpenDialog.Caption[" + std::to_string(n) + "]%1031='Text'";
}

// A sorted list of Count distinct lines, built once per size.
const Vek::TSortList& SortedList(int Count) {
  static std::map<int, std::unique_ptr<Vek::TSortList>> lists;
  auto& list = lists[Count];
  if (!list) {
    std::vector<std::string> lines;
    for (int i = 0; i < Count; ++i) lines.push_back(Line(static_cast<std::uint32_t>(i) * 2));
    std::sort(lines.begin(), lines.end());
    list = std::make_unique<Vek::TSortList>();
    list->Reserve(Count);
    for (auto& l : lines) list->Add(std::move(l));
  }
  return *list;
}

void BM_SortFind(benchmark::State& state) {
  const auto& list = SortedList(static_cast<int>(state.range(0)));
  std::mt19937 rng(1);
  for (auto _ : state) {
    int index = -1;
    // Odd numbers are absent, even ones present: half hits, half misses.
    benchmark::DoNotOptimize(list.SortFind(Line(rng() % (2 * list.Count())), index));
  }
  state.SetItemsProcessed(state.iterations());
}

void BM_SortInsertAndDelete(benchmark::State& state) {
  Vek::TSortList list;
  list.Assign(&SortedList(static_cast<int>(state.range(0))));
  std::mt19937 rng(2);
  for (auto _ : state) {
    const std::string s = Line(rng() % (2 * list.Count()) | 1);  // absent: a real insertion
    list.SortInsert(s, nullptr);
    int index = -1;
    list.SortFind(s, index);
    list.Delete(index);  // keep the size constant
  }
  state.SetItemsProcessed(state.iterations());
}

}  // namespace

BENCHMARK(BM_SortFind)->Arg(100000)->Arg(1000000);
BENCHMARK(BM_SortInsertAndDelete)->Arg(100000)->Arg(1000000);

// The editor and the file operations look up and insert one key at a time in lists this long.
int main(int argc, char** argv) {
  using bench::Aims;
  return bench::RunWithAims(argc, argv,
                            {{"BM_SortFind/100000", "real_time", Aims::Bound::AtMost, 2, "us"},
                             {"BM_SortFind/1000000", "real_time", Aims::Bound::AtMost, 5, "us"},
                             {"BM_SortInsertAndDelete/100000", "real_time", Aims::Bound::AtMost, 5, "us"},
                             {"BM_SortInsertAndDelete/1000000", "real_time", Aims::Bound::AtMost, 15, "us"}});
}
