// The recorded dialogs as the checks tests judge entries on them.
#pragma once

#include <map>
#include <string>

#include "checks/checks.hpp"

namespace checks_testing {

/// The recorded dialog of a standard class as a fresh capture of it; nullptr for a class without
/// a recording. Made once per class.
inline const checks::DialogLayout* Recorded(const std::string& ClassName) {
  static std::map<std::string, checks::DialogLayout> layouts;
  if (const auto found = layouts.find(ClassName); found != layouts.end()) return &found->second;
  const win::RecordedDialog* d = win::FindRecordedDialog(checks::RecordedKindOf(ClassName));
  if (!d) return nullptr;
  return &(layouts[ClassName] = checks::LayoutFromRecorded(*d, ClassName));
}

}  // namespace checks_testing
