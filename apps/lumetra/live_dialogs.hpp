// The dialogs that `lumetra check`, `preview` and `fit` judge entries on: each shown for an
// instant untranslated (a fresh capture) and kept as a layout, optionally as the same template
// lays it out at another DPI.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>

#include "check_source.hpp"
#include "checks/checks.hpp"
#include "vcl/Forms.hpp"
#include "win/printer.h"

namespace lumetra_cli {

class LiveDialogs {
public:
  /// Form: the form whose dialog components the entries may name (nullptr for files without one).
  explicit LiveDialogs(vcl::TComponent* Form);
  ~LiveDialogs();
  LiveDialogs(const LiveDialogs&) = delete;
  LiveDialogs& operator=(const LiveDialogs&) = delete;

  const vcl::TComponent* Form() const { return FForm; }

  /// The dialog of ClassName as shown untranslated on this screen; nullptr for a class without
  /// a dialog, or one that did not show.
  const checks::DialogLayout* Reference(const std::string& ClassName);
  /// The same dialog as its template lays it out at Dpi (on this screen's DPI the one shown).
  const checks::DialogLayout* Reference(const std::string& ClassName, int Dpi, checks::TextMeasure& Measure);

  /// Shows the dialog of ClassName translated by the entries of Set; Look sees it. Answers
  /// whether it showed.
  bool ShowTranslated(const std::string& ClassName, const EntrySet& Set, const std::function<void(HWND)>& Look);

private:
  vcl::TComponent* FForm;
  vcl::TForm* FOwner;
  Vek::TLumetra* FTranslator;
  std::map<std::string, std::optional<checks::DialogLayout>> FLayouts;
  std::map<std::pair<std::string, int>, checks::DialogLayout> FScaled;
  win::LocalPrinter FPrinter;  // the print dialogs need one under Wine
};

/// The checks' input for the entries of Set on the dialogs of Live, measured with Measure and
/// judged at Dpi (as shown when none); every fault reported.
checks::CheckInput CheckInputOf(const EntrySet& Set, LiveDialogs& Live, checks::TextMeasure& Measure, std::optional<int> Dpi);

/// Problems on stdout, one line each, as `lumetra check` prints them.
void Print(const std::vector<checks::Problem>& Problems);

}  // namespace lumetra_cli
