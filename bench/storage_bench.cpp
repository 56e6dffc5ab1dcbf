// Text files and dictionaries at scale: a 1,000,000-line translation file saved and loaded for
// one owner, and a 500,000-pair dictionary exported to and applied to 100,000 entries; then the
// text file at four times that size (argument 4: 240 MB, near the 256 MiB a text file may have)
// and the dictionary at ten times (argument 10). Each operation's time is printed as a ratio to
// the time `sort` takes on the same file, writing a file as they do, measured in the same run
// between the iterations.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <vector>

#include "Vek.hpp"
#include "benchmark_aims.hpp"
#include "scratch_folder.hpp"
#include "vcl/Forms.hpp"

namespace {

namespace fs = std::filesystem;

constexpr int FileLines = 1000000;
constexpr int OwnerEntries = 20000;  // this owner's entries of its locale
constexpr int DictionaryPairs = 500000;
constexpr int Entries = 100000;

const fs::path& Folder() { return bench::ScratchFolder(); }

std::string Key(int n) { return "TOpenDialog.Caption[" + std::to_string(n) + "]"; }

// A text file written as SaveTo writes it: sorted, many owners and locales.
std::string TextFileName(int Scale) {
  static std::map<int, std::string> names;
  if (names.count(Scale)) return names[Scale];
  return names[Scale] = [Scale] {
    std::vector<std::string> lines;
    lines.reserve(static_cast<std::size_t>(FileLines) * Scale);
    for (int i = 0; lines.size() < static_cast<std::size_t>(FileLines) * Scale; ++i) {
      const int owner = i % 50, locale = 1031 + i % 4;
      lines.push_back("#0Form" + std::to_string(owner) + "." + Key(i) + "%" + std::to_string(locale) + "='Text " +
                      std::to_string(i) + "'");
    }
    std::sort(lines.begin(), lines.end());
    const std::string file = (Folder() / ("lang" + std::to_string(Scale) + ".txt")).string();
    std::ofstream out(file, std::ios::binary);
    for (const auto& l : lines) out << l << "\r\n";
    return file;
  }();
}

std::string DictionaryFileName(int Scale) {
  static std::map<int, std::string> names;
  if (names.count(Scale)) return names[Scale];
  return names[Scale] = [Scale] {
    std::vector<std::string> lines;
    for (int i = 0; i < DictionaryPairs * Scale; ++i)
      lines.push_back("Text " + std::to_string(i * 5) + "\tTexte " + std::to_string(i * 5));
    std::sort(lines.begin(), lines.end());
    const std::string file = (Folder() / ("fr" + std::to_string(Scale) + ".dic")).string();
    std::ofstream out(file, std::ios::binary);
    for (const auto& l : lines) out << l << "\r\n";
    return file;
  }();
}

// A form "Form7" with a translator of locale 1032 holding Count entries and their originals.
struct Translator {
  explicit Translator(int Count) {
    form->SetName("Form7");
    lmt->SetLocale(1032);
    for (int i = 0; i < Count; ++i) {
      lmt->Translations()->Add(Key(i * 3) + "='Neu " + std::to_string(i) + "'");
      lmt->OrgProps()->Add(Key(i * 3) + "='Text " + std::to_string(i * 3) + "'");
    }
    lmt->Translations()->Assign(SortedCopy(*lmt->Translations()).get());
    lmt->OrgProps()->Assign(SortedCopy(*lmt->OrgProps()).get());
  }
  ~Translator() { delete form; }
  static std::unique_ptr<Vek::TSortList> SortedCopy(const vcl::TStrings& s) {
    std::vector<std::string> v;
    for (int i = 0; i < s.Count(); ++i) v.push_back(s.Strings(i));
    std::sort(v.begin(), v.end());
    auto list = std::make_unique<Vek::TSortList>();
    for (auto& l : v) list->Add(std::move(l));
    return list;
  }
  vcl::TForm* form = new vcl::TForm(vcl::Application);
  Vek::TLumetra* lmt = new Vek::TLumetra(form);
};

double Seconds(std::chrono::steady_clock::time_point Start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - Start).count();
}

// Times `sort` of File once, writing what it sorted to a file that it then flushes to the disk,
// as every operation here writes its file; an error stops the benchmark.
double SortSeconds(benchmark::State& state, const std::string& File) {
  const std::string sorted = (Folder() / "sorted.txt").string();
  const auto start = std::chrono::steady_clock::now();
  const std::string command = "LC_ALL=C sort -o '" + sorted + "' '" + File + "' && sync '" + sorted + "'";
  if (std::system(command.c_str()) != 0) state.SkipWithError("sort failed");
  const double seconds = Seconds(start);
  fs::remove(sorted);
  return seconds;
}

// Runs Prepare (untimed), Operation (timed) and `sort` of File (timed apart) in turns, so that
// both see the same load, and reports the ratio of their medians: one slow flush to the disk,
// which either may meet, does not decide the figure.
template <class P, class O>
void Measure(benchmark::State& state, const std::string& File, double Lines, P Prepare, O Operation) {
  std::vector<double> operation, sort;
  for (auto _ : state) {
    state.PauseTiming();
    Prepare();
    state.ResumeTiming();
    const auto start = std::chrono::steady_clock::now();
    Operation();
    operation.push_back(Seconds(start));
    state.PauseTiming();
    sort.push_back(SortSeconds(state, File));
    state.ResumeTiming();
  }
  const auto n = static_cast<double>(state.iterations());
  const auto median = [](std::vector<double> Times) {
    std::nth_element(Times.begin(), Times.begin() + static_cast<std::ptrdiff_t>(Times.size() / 2), Times.end());
    return Times.empty() ? 0.0 : Times[Times.size() / 2];
  };
  state.counters["sort_ms"] = 1000 * median(sort);
  state.counters["ratio_to_sort"] = median(operation) / median(sort);
  state.counters["lines_per_second"] = benchmark::Counter(Lines * n, benchmark::Counter::kIsRate);
}

void BM_SaveTo(benchmark::State& state) {
  const int scale = static_cast<int>(state.range(0));
  Translator t(OwnerEntries * scale);
  const std::string file = (Folder() / "save.txt").string();
  Measure(
      state, TextFileName(scale), FileLines * scale,
      [&] { fs::copy_file(TextFileName(scale), file, fs::copy_options::overwrite_existing); },
      [&] { t.lmt->SaveTo(file); });
}

void BM_LoadFrom(benchmark::State& state) {
  const int scale = static_cast<int>(state.range(0));
  Translator t(0);
  Measure(
      state, TextFileName(scale), FileLines * scale, [&] { t.lmt->Translations()->Clear(); },
      [&] { t.lmt->LoadFrom(TextFileName(scale)); });
  state.counters["entries_loaded"] = t.lmt->Translations()->Count();
}

void BM_TranslateTo(benchmark::State& state) {
  const int scale = static_cast<int>(state.range(0));
  Translator t(Entries * scale);
  const std::string file = (Folder() / "export.dic").string();
  Measure(
      state, DictionaryFileName(scale), DictionaryPairs * scale,
      [&] { fs::copy_file(DictionaryFileName(scale), file, fs::copy_options::overwrite_existing); },
      [&] { t.lmt->TranslateTo(file); });
}

void BM_TranslateFrom(benchmark::State& state) {
  const int scale = static_cast<int>(state.range(0));
  Translator t(Entries * scale);
  Measure(
      state, DictionaryFileName(scale), DictionaryPairs * scale, [] {},
      [&] { t.lmt->TranslateFrom(DictionaryFileName(scale)); });
}

}  // namespace

// Argument: the size as a multiple of the sizes above.
BENCHMARK(BM_SaveTo)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime()->Arg(1)->Arg(4);
BENCHMARK(BM_LoadFrom)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime()->Arg(1)->Arg(4);
BENCHMARK(BM_TranslateTo)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime()->Arg(1)->Arg(10);
BENCHMARK(BM_TranslateFrom)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime()->Arg(1)->Arg(10);

// Each is one read, a merge and one write of sorted data, which `sort` must also sort.
int main(int argc, char** argv) {
  std::vector<bench::BenchmarkAim> aims;
  for (const char* name : {"BM_SaveTo/1", "BM_SaveTo/4", "BM_LoadFrom/1", "BM_LoadFrom/4", "BM_TranslateTo/1", "BM_TranslateTo/10",
                           "BM_TranslateFrom/1", "BM_TranslateFrom/10"})
    aims.push_back({std::string(name) + "/iterations:5/real_time", "ratio_to_sort", bench::Aims::Bound::AtMost, 1.0, "x"});
  const int code = bench::RunWithAims(argc, argv, aims);
  bench::RemoveScratchFolder();
  return code;
}
