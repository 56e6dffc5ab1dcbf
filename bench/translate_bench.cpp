// One translation pass over a dialog with 60 matching entries, alone in the list and among
// 100,000 entries of 500 other dialog classes, in the simulated window system.
#include <benchmark/benchmark.h>

#include "Vek.hpp"
#include "benchmark_aims.hpp"
#include "vcl/Forms.hpp"

namespace {

constexpr int Children = 12;

// A dialog window with a font and twelve children, as the translator finds a shown dialog.
HWND MakeDialog() {
  const HWND dialog = CreateWindowExA(0, "#32770", "Open", WS_POPUP | WS_CAPTION, 100, 100, 500, 400, nullptr, nullptr,
                                      nullptr, nullptr);
  for (int i = 0; i < Children; ++i)
    CreateWindowExA(0, "Static", "Text", WS_CHILD | WS_VISIBLE, 10, 10 + 25 * i, 100, 20, dialog,
                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(1000 + i)), nullptr, nullptr);
  return dialog;
}

// Sixty entries of TOpenDialog: title, and per child its text and four geometry values.
std::vector<std::string> DialogEntries(const std::string& Class) {
  std::vector<std::string> v{Class + ".Caption='Ouvrir'"};
  for (int i = 0; v.size() < 60; ++i) {
    const std::string id = "[" + std::to_string(1000 + i % Children) + "]=";
    const std::string kinds[] = {".Caption" + id + "'Texte'", ".Left" + id + "12", ".Top" + id + std::to_string(10 + 25 * (i % Children)),
                                 ".Width" + id + "101", ".Height" + id + "21"};
    v.push_back(Class + kinds[i / Children % 5]);
  }
  return v;
}

void Pass(benchmark::State& state, bool Crowded) {
  auto* form = new vcl::TForm(vcl::Application);
  auto* lmt = new Vek::TLumetra(form);
  for (const auto& e : DialogEntries("TOpenDialog")) lmt->Translations()->SortInsert(e, nullptr);
  if (Crowded)  // 200 entries for each of 500 other dialog classes
    for (int c = 0; c < 500; ++c)
      for (int n = 0; n < 200; ++n)
        lmt->Translations()->SortInsert("TDialog" + std::to_string(c) + ".Caption[" + std::to_string(n) + "]='x'", nullptr);
  Vek::OwnerClassName = "TOpenDialog";
  const HWND dialog = MakeDialog();
  lmt->TranslateDialog(dialog);  // the first pass builds the index by class
  for (auto _ : state) lmt->TranslateDialog(dialog);
  state.counters["entries"] = lmt->Translations()->Count();
  DestroyWindow(dialog);
  delete form;
}

void BM_PassWith60Entries(benchmark::State& state) { Pass(state, false); }
void BM_PassAmong100000Entries(benchmark::State& state) { Pass(state, true); }

}  // namespace

BENCHMARK(BM_PassWith60Entries)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PassAmong100000Entries)->Unit(benchmark::kMicrosecond);

namespace {

// A pass runs on every activation and repaint: the entries of other classes must not slow it.
void CrowdedToAlone(const bench::RunFigures& Runs, bench::Aims& Aims) {
  const auto alone = Runs.find("BM_PassWith60Entries"), crowded = Runs.find("BM_PassAmong100000Entries");
  if (alone == Runs.end() || crowded == Runs.end()) return Aims.NotRun("pass among 100,000 entries / pass alone");
  Aims.Add("pass among 100,000 entries / pass alone", crowded->second.at("real_time") / alone->second.at("real_time"),
           bench::Aims::Bound::AtMost, 2, "x");
}

}  // namespace

int main(int argc, char** argv) {
  using bench::Aims;
  return bench::RunWithAims(argc, argv, {{"BM_PassWith60Entries", "real_time", Aims::Bound::AtMost, 50, "us"}}, CrowdedToAlone);
}
