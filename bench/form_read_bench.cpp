// Reading and writing a form with 100,000 sibling components, as the command line and the
// designer read a form file: the text form (about 5 MB) and the binary one, read into
// components and freed, and the text form written back. Each prints its aim beside its time.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>

#include "benchmark_aims.hpp"
#include "design/FormFile.hpp"
#include "scratch_folder.hpp"

namespace {

namespace fs = std::filesystem;

constexpr int Siblings = 100000;

const fs::path& Folder() { return bench::ScratchFolder(); }

std::string TextForm() {
  std::string form = "object Form1: TForm1\r\n  Caption = 'Many'\r\n";
  for (int i = 1; i <= Siblings; ++i)
    form += "  object Button" + std::to_string(i) + ": TButton\r\n    Left = " + std::to_string(i % 640) + "\r\n  end\r\n";
  return form + "end\r\n";
}

std::string Written(const std::string& Name, const std::string& Bytes) {
  const std::string file = (Folder() / Name).string();
  std::ofstream(file, std::ios::binary) << Bytes;
  return file;
}

const std::string& TextFile() {
  static const std::string file = Written("many.dfm", TextForm());
  return file;
}

const std::string& BinaryFile() {
  static const std::string file = Written("many-binary.dfm", design::FormFromText(TextForm(), true));
  return file;
}

void Read(benchmark::State& state, const std::string& File) {
  for (auto _ : state) {
    design::TFormFile form(File);
    benchmark::DoNotOptimize(form.Root()->ComponentCount());
  }
  state.counters["bytes"] = static_cast<double>(fs::file_size(File));
}

void ReadText(benchmark::State& state) { Read(state, TextFile()); }
void ReadBinary(benchmark::State& state) { Read(state, BinaryFile()); }

void WriteText(benchmark::State& state) {
  const std::string file = Written("many-written.dfm", TextForm());
  design::TFormFile form(file);
  for (auto _ : state) form.Save();
}

}  // namespace

BENCHMARK(ReadText)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(ReadBinary)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(WriteText)->Unit(benchmark::kMillisecond)->Iterations(3);

// A form as large as a real one is read or written before the user notices.
int main(int argc, char** argv) {
  using bench::Aims;
  const int code = bench::RunWithAims(argc, argv,
                                      {{"ReadText/iterations:3", "real_time", Aims::Bound::AtMost, 1000, "ms"},
                                       {"ReadBinary/iterations:3", "real_time", Aims::Bound::AtMost, 1000, "ms"},
                                       {"WriteText/iterations:3", "real_time", Aims::Bound::AtMost, 1000, "ms"}});
  bench::RemoveScratchFolder();
  return code;
}
