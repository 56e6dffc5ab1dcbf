// Fuzzes the checks: any lines as entries and as captured originals, judged on the recorded open
// and find dialogs, never crash; every problem names a line of the input, a fault with a place in
// the dialog is one of an entry with a class, and the dialog the entries leave lies within what a
// screen holds. The mnemonic proposals name lines of the input, and each proposed entry is one
// for the key it names, with a value that decodes. The fit at 96 and 144 dpi writes only
// integer sizes and positions a screen holds, of the classes the entries name.
#include <cstddef>
#include <cstdint>
#include <string>

#include "checks/checks.hpp"
#include "checks/fit.hpp"
#include "checks/mnemonics.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  static const checks::DialogLayout open = checks::LayoutFromRecorded(*win::FindRecordedDialog("open"), "TOpenDialog");
  static const checks::DialogLayout find = checks::LayoutFromRecorded(*win::FindRecordedDialog("find"), "TFindDialog");
  const std::string text(reinterpret_cast<const char*>(Data), Size);
  checks::CheckInput in;
  in.File = "fuzz.txt";
  in.TranslateEmpty = Size % 2;
  int line = 0;
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string l = text.substr(start, end - start);
    // Lines behind a "!" are the captured originals.
    if (!l.empty() && l[0] == '!') in.Originals.push_back(l.substr(1));
    else in.Entries.push_back({l, ++line});
    start = end + 1;
  }
  in.Reference = [](const std::string& ClassName) -> const checks::DialogLayout* {
    return ClassName == "TOpenDialog" ? &open : ClassName == "TFindDialog" ? &find : nullptr;
  };
  for (const checks::Problem& p : checks::Check(in)) {
    if (p.Line < 1 || p.Line > line) __builtin_trap();
    if (p.Place && p.ClassName.empty()) __builtin_trap();
    (void)checks::FormatProblem(p);
  }
  in.Locale = Size % 3 == 0 ? 0 : Size % 3 == 1 ? 0x0419 : 0x0407;
  for (const checks::MnemonicProposal& p : checks::ProposeMnemonics(in)) {
    if (p.Line < 1 || p.Line > line) __builtin_trap();
    if (p.Entry && (Vek::EntryKey(*p.Entry) != p.Key || !Vek::Entry::Split(std::string_view(*p.Entry)).TryDecodedValue())) __builtin_trap();
    (void)checks::FormatProposal(in.File, p);
  }
  checks::FitInput fit;
  fit.Input = in;
  checks::RecordedMeasure measure;
  static const checks::DialogLayout open144 = checks::AtPixelsPerInch(open, 144, measure);
  static const checks::DialogLayout find144 = checks::AtPixelsPerInch(find, 144, measure);
  fit.Reference = [](const std::string& ClassName, int Dpi) -> const checks::DialogLayout* {
    if (ClassName == "TOpenDialog") return Dpi == 144 ? &open144 : Dpi == 96 ? &open : nullptr;
    if (ClassName == "TFindDialog") return Dpi == 144 ? &find144 : Dpi == 96 ? &find : nullptr;
    return nullptr;
  };
  fit.PixelsPerInch = {96, 144};
  const checks::FitResult fitted = checks::FitEntries(fit);
  for (const std::string& w : fitted.Written) {
    const Vek::Entry e = Vek::Entry::Split(std::string_view(w));
    const std::optional<int> n = Vek::ParseDecimal(Vek::EntryValue(w));
    if (!(e.AppliesTo("TOpenDialog") || e.AppliesTo("TFindDialog")) || !n || *n < -Vek::ScreenLimit || *n > Vek::ScreenLimit) __builtin_trap();
  }
  for (const checks::Problem& p : fitted.Unfitted)
    if (p.Line < 0 || p.Line > line) __builtin_trap();
  const checks::DialogLayout applied = checks::Applied(open, in.Entries);
  const auto onScreen = [](long long Size) { return Size >= 0 && Size <= Vek::ScreenLimit; };
  if (!onScreen(static_cast<long long>(applied.Window.right) - applied.Window.left)) __builtin_trap();
  for (const checks::ControlLayout& c : applied.Controls)
    if (!onScreen(static_cast<long long>(c.Rect.right) - c.Rect.left) || !onScreen(static_cast<long long>(c.Rect.bottom) - c.Rect.top) ||
        c.Rect.left < -Vek::ScreenLimit || c.Rect.left > Vek::ScreenLimit || c.Rect.top < -Vek::ScreenLimit || c.Rect.top > Vek::ScreenLimit)
      __builtin_trap();
  return 0;
}
