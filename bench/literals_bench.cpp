// Literal conversion throughput for caption-sized and 1 MB values.
#include <benchmark/benchmark.h>

#include <random>

#include "Vek.hpp"
#include "benchmark_aims.hpp"

namespace {

// Mostly printable text with apostrophes and line breaks, as dialog texts hold them.
std::string Text(std::size_t size) {
  std::mt19937 rng(3);
  std::string s(size, ' ');
  for (char& c : s) {
    const unsigned r = rng() % 100;
    c = r < 2 ? '\'' : r < 4 ? '\n' : static_cast<char>('a' + r % 26);
  }
  return s;
}

void BM_ToLiterals(benchmark::State& state) {
  const std::string text = Text(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) {
    std::string s = text;
    Vek::ConvertToLiterals(s);
    benchmark::DoNotOptimize(s.data());
  }
  state.SetBytesProcessed(state.iterations() * state.range(0));
}

void BM_FromLiterals(benchmark::State& state) {
  std::string literal = Text(static_cast<std::size_t>(state.range(0)));
  Vek::ConvertToLiterals(literal);
  for (auto _ : state) {
    std::string s = literal;
    Vek::ConvertFromLiterals(s);
    benchmark::DoNotOptimize(s.data());
  }
  state.SetBytesProcessed(state.iterations() * state.range(0));
}

}  // namespace

BENCHMARK(BM_ToLiterals)->Arg(24)->Arg(1 << 20);
BENCHMARK(BM_FromLiterals)->Arg(24)->Arg(1 << 20);

// Every value read from or written to a file goes through one of the two conversions.
int main(int argc, char** argv) {
  using bench::Aims;
  return bench::RunWithAims(argc, argv,
                            {{"BM_ToLiterals/24", "bytes_per_second", Aims::Bound::AtLeast, 100, "MB/s", 1e-6},
                             {"BM_ToLiterals/1048576", "bytes_per_second", Aims::Bound::AtLeast, 200, "MB/s", 1e-6},
                             {"BM_FromLiterals/24", "bytes_per_second", Aims::Bound::AtLeast, 100, "MB/s", 1e-6},
                             {"BM_FromLiterals/1048576", "bytes_per_second", Aims::Bound::AtLeast, 200, "MB/s", 1e-6}});
}
