// Proposing the sizes and positions that make translated texts fit: for every text the checks
// find too long for its control, the control grows to its text, the controls after it on its row
// and below it move as far as they must, and the dialog grows to hold them, at every DPI asked
// for at once, never beyond a work area.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "checks/checks.hpp"

namespace checks {

struct FitInput {
  /// The entries, their originals and measure; Input.Reference is not used (see Reference).
  CheckInput Input;
  /// The dialog of a class as its template lays it out at a DPI; nullptr when there is none.
  std::function<const DialogLayout*(const std::string& ClassName, int Dpi)> Reference;
  /// The DPIs the texts must fit at, all with the same entries; 96 when empty.
  std::vector<int> PixelsPerInch;
  /// The screen's work area in pixels, at each DPI: no dialog is made larger.
  int WorkWidth = 1024, WorkHeight = 768;
};

struct FitResult {
  /// Every entry after the fit, in the input's order: the geometry entries that changed replace
  /// those of their key on their line, new ones follow with LineNumber 0.
  std::vector<SourceEntry> Entries;
  /// The entry lines the fit wrote, class by class in the order of their first entries, by key.
  std::vector<std::string> Written;
  /// The texts that could not be made to fit (the dialog would leave the work area, or the
  /// control is no text the fit can grow), one problem each, with the DPI in the reason.
  std::vector<Problem> Unfitted;
};

/// Fits the entries of every class of Input that has a dialog. Never fails on bad entries: the
/// fit leaves what it cannot use as it is.
FitResult FitEntries(const FitInput& Input);

}  // namespace checks
