// Printing benchmark figures beside their aims.
#include "aims.hpp"

#include <algorithm>
#include <cstdio>

namespace bench {

void Aims::Add(std::string Name, double Figure, Bound Kind, double Limit, std::string Unit) {
  FEntries.push_back({std::move(Name), true, Figure, Kind, Limit, std::move(Unit)});
}

void Aims::NotRun(std::string Name) { FEntries.push_back({std::move(Name), false, 0, Bound::AtMost, 0, {}}); }

int Aims::Report() const {
  std::size_t width = 4;
  for (const Entry& e : FEntries) width = std::max(width, e.Name.size());
  int met = 0, missed = 0;
  std::printf("\n%-*s  %12s  %-22s  %s\n", static_cast<int>(width), "aim", "figure", "should be", "");
  for (const Entry& e : FEntries) {
    if (!e.Measured) {
      std::printf("%-*s  %12s  %-22s  not run\n", static_cast<int>(width), e.Name.c_str(), "-", "");
      continue;
    }
    const bool ok = e.Kind == Bound::AtMost ? e.Figure <= e.Limit : e.Figure >= e.Limit;
    ok ? ++met : ++missed;
    char figure[64], aim[64];
    std::snprintf(figure, sizeof figure, "%.3g %s", e.Figure, e.Unit.c_str());
    std::snprintf(aim, sizeof aim, "%s %.3g %s", e.Kind == Bound::AtMost ? "at most" : "at least", e.Limit, e.Unit.c_str());
    std::printf("%-*s  %12s  %-22s  %s\n", static_cast<int>(width), e.Name.c_str(), figure, aim, ok ? "met" : "MISSED");
  }
  std::printf("aims: %d met, %d missed\n", met, missed);
  std::fflush(stdout);
  return missed ? 1 : 0;
}

}  // namespace bench
