// Fills a list box with 20,000 items inside BeginUpdate/EndUpdate and selects them all, on the
// window system it is built for (real LISTBOX windows under Wine, the simulation on Linux), and
// prints the times. A plain program rather than a Google Benchmark one, so that the Windows
// build runs it under Wine too.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "aims.hpp"
#include "vcl/Forms.hpp"
#include "vcl/StdCtrls.hpp"

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::time_point From) { return std::chrono::duration<double, std::milli>(Clock::now() - From).count(); }

struct Figures {
  double Fill, SelectAll, SelectEach;
};

Figures Run(int Count, bool Sorted) {
  auto form = std::make_unique<vcl::TForm>(vcl::Application);
  auto* list = new vcl::TListBox(form.get());
  list->SetParent(form.get());
  list->SetMultiSelect(true);
  list->SetSorted(Sorted);
  list->SetBounds(8, 8, 300, 400);
  form->Handle();
  Figures f{};
  auto start = Clock::now();
  list->Items()->BeginUpdate();
  for (int i = 0; i < Count; ++i) list->Items()->Add("Item " + std::to_string((i * 7919) % Count));
  list->Items()->EndUpdate();
  f.Fill = Ms(start);
  start = Clock::now();
  list->SelectAll();
  f.SelectAll = Ms(start);
  if (list->SelCount() != Count) std::fprintf(stderr, "selected %d of %d\n", list->SelCount(), Count);
  start = Clock::now();
  list->Items()->BeginUpdate();
  for (int i = 0; i < Count; ++i) list->SetSelected(i, false);
  list->Items()->EndUpdate();
  f.SelectEach = Ms(start);
  return f;
}

}  // namespace

int main() {
  const int count = 20000;
  std::printf("list box of %d items (median of 5 runs, ms)\n", count);
  bench::Aims aims;
  for (bool sorted : {false, true}) {
    std::vector<Figures> runs;
    for (int r = 0; r < 5; ++r) runs.push_back(Run(count, sorted));
    auto median = [&](double Figures::*Field) {
      std::vector<double> v;
      for (const Figures& f : runs) v.push_back(f.*Field);
      std::sort(v.begin(), v.end());
      return v[v.size() / 2];
    };
    std::printf("%-8s fill in BeginUpdate/EndUpdate %8.1f   select all %6.1f   deselect one by one %8.1f\n",
                sorted ? "sorted" : "unsorted", median(&Figures::Fill), median(&Figures::SelectAll),
                median(&Figures::SelectEach));
    // The editor fills and selects lists this long at every change.
    const std::string kind = sorted ? "sorted " : "unsorted ";
    aims.Add(kind + "fill", median(&Figures::Fill), bench::Aims::Bound::AtMost, 100, "ms");
    aims.Add(kind + "select all", median(&Figures::SelectAll), bench::Aims::Bound::AtMost, 100, "ms");
  }
  return aims.Report();
}
