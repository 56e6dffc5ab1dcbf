// `lumetra check` on a text form whose translator holds 20,000 entries for the eight standard
// dialog classes: the whole command (reading the form, showing each dialog once in the
// simulated window system, judging every entry), the checks alone on the same entries, and the
// design host's check of a translator given them, which runs after every change of the form (a
// translator keeps one entry per key: every key of the eight dialogs, about a thousand).
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>

#include "benchmark_aims.hpp"
#include "checks/checks.hpp"
#include "checks/translator_checks.hpp"
#include "commands.hpp"

namespace {

constexpr int EntryCount = 20000;
const char* const Classes[] = {"TOpenDialog", "TSaveDialog",  "TFontDialog", "TColorDialog",
                               "TPrintDialog", "TPrinterSetupDialog", "TFindDialog", "TReplaceDialog"};

// Entries as a translator holds them: every key of every dialog, the texts varied from round
// to round, until there are EntryCount.
std::vector<std::string> Entries() {
  std::vector<std::string> v;
  for (int round = 0; static_cast<int>(v.size()) < EntryCount; ++round) {
    for (const char* name : Classes) {
      const checks::DialogLayout d = checks::LayoutFromRecorded(*win::FindRecordedDialog(checks::RecordedKindOf(name)), name);
      const std::string c = name;
      v.push_back(c + ".Caption='" + d.Title + " " + std::to_string(round % 10) + "'");
      v.push_back(c + ".Width=" + std::to_string(d.Window.right - d.Window.left));
      std::set<int> seen;  // the capture's values are kept once per key, the first control's
      for (const checks::ControlLayout& k : d.Controls) {
        const int captured = k.Id == 0 || k.Id == -1 || k.Id == 65535 ? -k.Position : k.Id;  // as the capture writes ids
        if (!seen.insert(captured).second) continue;
        const std::string id = "[" + std::to_string(captured) + "]=";
        if (!k.Text.empty()) v.push_back(c + ".Caption" + id + "'" + k.Text + std::string(round % 2, '.') + "'");
        v.push_back(c + ".Left" + id + std::to_string(k.Rect.left));
        v.push_back(c + ".Top" + id + std::to_string(k.Rect.top));
        v.push_back(c + ".Width" + id + std::to_string(k.Rect.right - k.Rect.left));
        v.push_back(c + ".Height" + id + std::to_string(k.Rect.bottom - k.Rect.top));
      }
    }
  }
  v.resize(EntryCount);
  return v;
}

// The entries in a text form, each string of the list on a line of its own.
std::string FormWith(const std::vector<std::string>& Lines) {
  std::string form = "object Form1: TForm1\n  object OpenDialog1: TOpenDialog\n  end\n  object Lumetra1: TLumetra\n"
                     "    Translations.Strings = (\n";
  for (std::size_t i = 0; i < Lines.size(); ++i) {
    std::string s = "'";
    for (const char ch : Lines[i]) s += ch == '\'' ? std::string("'#39'") : std::string(1, ch);
    s += "'";
    if (s.size() >= 2 && s.compare(s.size() - 2, 2, "''") == 0) s.resize(s.size() - 2);
    form += "      " + s + (i + 1 == Lines.size() ? ")\n" : "\n");
  }
  return form + "  end\nend\n";
}

// Runs the command line with its report going nowhere.
int Quietly(const lumetra_cli::Args& Arguments) {
  std::fflush(stdout);
  const int saved = dup(1), null = open("/dev/null", O_WRONLY);
  dup2(null, 1);
  const int code = lumetra_cli::Run(Arguments, stderr);
  std::fflush(stdout);
  dup2(saved, 1);
  close(null);
  close(saved);
  return code;
}

void WholeCommand(benchmark::State& state) {
  const std::string file = (std::filesystem::temp_directory_path() / "lumetra-check-bench.dfm").string();
  std::ofstream(file, std::ios::binary) << FormWith(Entries());
  int code = 0;
  for (auto _ : state) code = Quietly({"check", file});
  state.counters["entries"] = EntryCount;
  state.counters["exit"] = code;
  std::filesystem::remove(file);
}

void ChecksAlone(benchmark::State& state) {
  std::vector<checks::DialogLayout> layouts;
  for (const char* name : Classes) layouts.push_back(checks::LayoutFromRecorded(*win::FindRecordedDialog(checks::RecordedKindOf(name)), name));
  checks::CheckInput in;
  in.File = "form1.dfm";
  int n = 0;
  for (const std::string& e : Entries()) in.Entries.push_back({e, ++n});
  in.Reference = [&](const std::string& ClassName) -> const checks::DialogLayout* {
    for (const auto& l : layouts)
      if (l.ClassName == ClassName) return &l;
    return nullptr;
  };
  std::size_t problems = 0;
  for (auto _ : state) problems = checks::Check(in).size();
  state.counters["entries"] = EntryCount;
  state.counters["problems"] = static_cast<double>(problems);
}

void DesignCheck(benchmark::State& state) {
  vcl::TComponent form(nullptr);
  auto* translator = new Vek::TLumetra(&form);
  translator->SetTranslate(false);
  for (const std::string& e : Entries()) translator->Translations()->SortInsert(e, nullptr);
  std::size_t problems = 0;
  for (auto _ : state) problems = checks::DesignCheck(translator).size();
  state.counters["entries"] = translator->Translations()->Count();
  state.counters["problems"] = static_cast<double>(problems);
}

}  // namespace

BENCHMARK(WholeCommand)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(ChecksAlone)->Unit(benchmark::kMillisecond);
BENCHMARK(DesignCheck)->Unit(benchmark::kMillisecond);

// The command answers within a second; the designer's check runs after every change of the form.
int main(int argc, char** argv) {
  using bench::Aims;
  return bench::RunWithAims(argc, argv,
                            {{"WholeCommand/iterations:3", "real_time", Aims::Bound::AtMost, 1000, "ms"},
                             {"ChecksAlone", "real_time", Aims::Bound::AtMost, 250, "ms"},
                             {"DesignCheck", "real_time", Aims::Bound::AtMost, 20, "ms"}});
}
