// Text files and dictionaries at scale: a 1,000,000-line translation file saved and loaded for
// one owner, and a 500,000-pair dictionary exported to and applied to 100,000 entries. Each
// figure is printed in lines per second next to the time `sort` takes on the same file.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>

#include "Vek.hpp"
#include "vcl/Forms.hpp"

namespace {

namespace fs = std::filesystem;

constexpr int FileLines = 1000000;
constexpr int OwnerEntries = 20000;  // this owner's entries of its locale
constexpr int DictionaryPairs = 500000;
constexpr int Entries = 100000;

const fs::path& Folder() {
  static const fs::path folder = [] {
    fs::path p = fs::temp_directory_path() / ("lumetra-bench-" + std::to_string(std::random_device{}()));
    fs::create_directories(p);
    return p;
  }();
  return folder;
}

std::string Key(int n) { return "TOpenDialog.Caption[" + std::to_string(n) + "]"; }

// A text file written as SaveTo writes it: sorted, many owners and locales.
const std::string& TextFileName() {
  static const std::string name = [] {
    std::vector<std::string> lines;
    lines.reserve(FileLines);
    for (int i = 0; lines.size() < static_cast<std::size_t>(FileLines); ++i) {
      const int owner = i % 50, locale = 1031 + i % 4;
      lines.push_back("#0Form" + std::to_string(owner) + "." + Key(i) + "%" + std::to_string(locale) + "='Text " +
                      std::to_string(i) + "'");
    }
    std::sort(lines.begin(), lines.end());
    const std::string file = (Folder() / "lang.txt").string();
    std::ofstream out(file, std::ios::binary);
    for (const auto& l : lines) out << l << "\r\n";
    return file;
  }();
  return name;
}

const std::string& DictionaryFileName() {
  static const std::string name = [] {
    std::vector<std::string> lines;
    for (int i = 0; i < DictionaryPairs; ++i)
      lines.push_back("Text " + std::to_string(i * 5) + "\tTexte " + std::to_string(i * 5));
    std::sort(lines.begin(), lines.end());
    const std::string file = (Folder() / "fr.dic").string();
    std::ofstream out(file, std::ios::binary);
    for (const auto& l : lines) out << l << "\r\n";
    return file;
  }();
  return name;
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

void ReportSort(benchmark::State& state, const std::string& file, double lines) {
  const auto start = std::chrono::steady_clock::now();
  const std::string command = "LC_ALL=C sort '" + file + "' > /dev/null";
  if (std::system(command.c_str()) != 0) state.SkipWithError("sort failed");
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  state.counters["sort_seconds"] = seconds;
  state.counters["lines_per_second"] = benchmark::Counter(lines * static_cast<double>(state.iterations()),
                                                          benchmark::Counter::kIsRate);
}

void BM_SaveTo(benchmark::State& state) {
  Translator t(OwnerEntries);
  const std::string file = (Folder() / "save.txt").string();
  for (auto _ : state) {
    state.PauseTiming();
    fs::copy_file(TextFileName(), file, fs::copy_options::overwrite_existing);
    state.ResumeTiming();
    t.lmt->SaveTo(file);
  }
  ReportSort(state, TextFileName(), FileLines);
}

void BM_LoadFrom(benchmark::State& state) {
  Translator t(0);

  for (auto _ : state) {
    t.lmt->Translations()->Clear();
    t.lmt->LoadFrom(TextFileName());
  }
  state.counters["entries_loaded"] = t.lmt->Translations()->Count();
  ReportSort(state, TextFileName(), FileLines);
}

void BM_TranslateTo(benchmark::State& state) {
  Translator t(Entries);
  const std::string file = (Folder() / "export.dic").string();
  for (auto _ : state) {
    state.PauseTiming();
    fs::copy_file(DictionaryFileName(), file, fs::copy_options::overwrite_existing);
    state.ResumeTiming();
    t.lmt->TranslateTo(file);
  }
  ReportSort(state, DictionaryFileName(), DictionaryPairs);
}

void BM_TranslateFrom(benchmark::State& state) {
  Translator t(Entries);
  for (auto _ : state) t.lmt->TranslateFrom(DictionaryFileName());
  ReportSort(state, DictionaryFileName(), DictionaryPairs);
}

}  // namespace

BENCHMARK(BM_SaveTo)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_LoadFrom)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_TranslateTo)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_TranslateFrom)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::error_code ec;
  fs::remove_all(Folder(), ec);
  return 0;
}
