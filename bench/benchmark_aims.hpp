// The main of a Google Benchmark program with aims: the benchmarks run and print as usual, then
// each aim is judged on the figure its benchmark reported.
#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

#include "aims.hpp"

namespace bench {

/// One aim on a figure of a Google Benchmark run: Benchmark is the run's name as printed
/// ("BM_SortFind/1000000"); Figure is "real_time" (real time per iteration, converted to Unit:
/// "s", "ms", "us" or "ns") or the name of a counter, multiplied by Scale (bytes_per_second
/// with Scale 1e-6 is MB/s).
struct BenchmarkAim {
  std::string Benchmark;
  std::string Figure;
  Aims::Bound Kind;
  double Limit;
  std::string Unit;
  double Scale = 1;
};

/// The figures of the runs: by run name, then "real_time" (seconds an iteration) and counters.
using RunFigures = std::map<std::string, std::map<std::string, double>>;

namespace detail {

// Passes every run to the console and keeps its figures by name.
class KeepingReporter : public benchmark::ConsoleReporter {
public:
  void ReportRuns(const std::vector<Run>& Runs) override {
    benchmark::ConsoleReporter::ReportRuns(Runs);
    for (const Run& r : Runs) {
      if (r.error_occurred || r.run_type != Run::RT_Iteration) continue;
      auto& figures = Figures[r.benchmark_name()];
      figures["real_time"] = r.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(r.time_unit);  // seconds
      for (const auto& [name, counter] : r.counters) figures[name] = counter.value;
    }
  }
  RunFigures Figures;
};

inline double FromSeconds(double Seconds, const std::string& Unit) {
  if (Unit == "ms") return Seconds * 1e3;
  if (Unit == "us") return Seconds * 1e6;
  if (Unit == "ns") return Seconds * 1e9;
  return Seconds;
}

}  // namespace detail

/// Runs the benchmarks the command line selects and judges the aims, then lets Derived add
/// aims on figures computed from several runs (it is given only the runs that took place);
/// returns the exit code (1 when an aim was missed, 2 for an unknown option).
inline int RunWithAims(int argc, char** argv, const std::vector<BenchmarkAim>& List,
                       void (*Derived)(const RunFigures&, Aims&) = nullptr) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 2;
  detail::KeepingReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  Aims aims;
  for (const BenchmarkAim& a : List) {
    const std::string name = a.Benchmark + (a.Figure == "real_time" ? "" : " " + a.Figure);
    const auto run = reporter.Figures.find(a.Benchmark);
    if (run == reporter.Figures.end() || !run->second.count(a.Figure)) {
      aims.NotRun(name);
      continue;
    }
    const double figure = run->second.at(a.Figure);
    aims.Add(name, a.Figure == "real_time" ? detail::FromSeconds(figure, a.Unit) : figure * a.Scale, a.Kind, a.Limit, a.Unit);
  }
  if (Derived) Derived(reporter.Figures, aims);
  return aims.Report();
}

}  // namespace bench
