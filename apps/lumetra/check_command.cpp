// `lumetra check` and `lumetra preview`: the entries of a form or a translation text file judged
// on the dialogs they are for, and the picture of one translated dialog with its faults.
//
// Notes:
// - The dialogs are the live ones (simulated on Linux, comdlg32 on Windows), shown for an
//   instant untranslated: that is a fresh capture, against which ids and originals are judged.
// - Entries of a form stand on the lines of its text form (the n-th string of the list on the
//   line it starts on); in a binary form their line is their place in the list.
#include <cstdio>
#include <exception>
#include <filesystem>
#include <map>
#include <memory>
#include <set>

#include "check_source.hpp"
#include "live_dialogs.hpp"
#include "checks/checks.hpp"
#include "checks/mnemonics.hpp"
#include "checks/preview.hpp"
#include "commands.hpp"
#include "design/Components.hpp"
#include "form_file.hpp"
#include "options.hpp"
#include "vcl/Dialogs.hpp"
#include "vcl/Forms.hpp"
#include "vcl/StandardDialogs.hpp"
#include "win/printer.h"

namespace lumetra_cli {

namespace {

// The kinds of fault from the checks' own table, in lines of help text.
std::string FaultKindLines() {
  std::string lines = "The kinds:";
  std::size_t width = lines.size();
  for (std::size_t i = 0; i < checks::FaultCount; ++i) {
    const std::string word = std::string(checks::FaultName(static_cast<checks::Fault>(i))) + (i + 1 < checks::FaultCount ? "," : ".");
    if (width + 1 + word.size() > 92) lines += "\n ", width = 1;
    lines += " " + word, width += 1 + word.size();
  }
  return lines + "\n";
}

std::string CheckHelp() {
  return "usage: lumetra check FILE [--locale N] [--dpi N] [--only KINDS] [--disable KINDS]\n\n"
    "Reports every entry that cannot apply or will look wrong, one line each:\n"
    "  FILE:LINE: KEY: error|warning: REASON\n"
    "and exits with 1 when any is an error (0 otherwise, 2 for wrong usage). FILE is a form file\n"
    "(its translator's entries, or those of its translation text file), a translation text file\n"
    "(each form and locale in it, against its original lines), or a list of entries, one a line.\n"
    "Checked: the entry syntax; control ids that the dialog of the class does not have; values\n"
    "that must be integers; characters that the code page of the class's Font.Charset entry\n"
    "lacks (double-byte characters cut in two too), and that the face the controls are realised\n"
    "with has no glyph for; words that mix Latin letters with Cyrillic or Greek ones; texts that\n"
    "do not fit their control in its font; controls that overlap or leave the dialog (mirrored\n"
    "by BiDiMode) after the sizes and positions; mnemonics used twice in a dialog, dropped or\n"
    "added; entries whose original changed or whose control is gone in a fresh capture of the\n"
    "dialog.\n\n"
    "For each mnemonic used twice, dropped or added, a hint follows the faults of its entries:\n"
    "  FILE:LINE: KEY: hint: REASON (proposed: ENTRY)\n"
    "ENTRY is the whole entry with a letter of its own text that no other control of the dialog\n"
    "has and that the keyboard layout of the entries' locale types (without a proposal when no\n"
    "letter is free). Hints are no faults: they change neither the count nor the exit code.\n\n"
    "--locale N        checks the entries of locale N of the translation text file\n"
    "--dpi N           judges the dialogs as they are laid out on a screen of N pixels per inch\n"
    "                  (48 to 960): the template of each through its dialog units, the fonts at\n"
    "                  that DPI, the entries' sizes converted from the DPI of their capture\n"
    "--only KINDS      reports only faults of these kinds (a comma-separated list)\n"
    "--disable KINDS   reports no faults of these kinds\n"
    + FaultKindLines() + "\n"
    "In a binary form an entry's LINE is its place in the list. \"--\" ends the options.\n";
}

std::string PreviewHelp() {
  return "usage: lumetra preview FILE --class CLASS [--locale N] [--dpi N] [--only KINDS] [--disable KINDS] -o OUT.png\n\n"
    "Draws the dialog of CLASS translated by the entries of FILE (as for check), with the control\n"
    "of every fault outlined in red, into OUT.png: a drawing of the recorded dialog on Linux, a\n"
    "picture of the live dialog on Windows. The faults are also printed as check prints them;\n"
    "--only and --disable choose them as for check, --dpi judges and draws the dialog at that DPI\n"
    "(on Windows the screen must be at that DPI: the picture is of the live dialog).\n";
}

struct Options {
  Parsed Given;
  std::optional<int> Locale;
  checks::FaultSet Reported = checks::FaultSet().set();
  std::string ClassName, Output;
  std::optional<int> Dpi;  // the DPI the dialogs are judged at; the screen's when none
};

// The fault kinds of a comma-separated list.
checks::FaultSet FaultsOf(const std::string& Option, const std::string& List) {
  checks::FaultSet kinds;
  std::size_t start = 0;
  for (;;) {
    const std::size_t comma = List.find(',', start);
    const std::string name = List.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
    const std::optional<checks::Fault> kind = checks::FaultNamed(name);
    if (!kind) throw UsageError(Option + ": '" + name + "' is no kind of fault (" + checks::FaultNames() + ")");
    kinds.set(static_cast<std::size_t>(*kind));
    if (comma == std::string::npos) return kinds;
    start = comma + 1;
  }
}

Options ParseCheckOptions(const Args& args, bool Preview) {
  Options o;
  std::optional<checks::FaultSet> only;
  checks::FaultSet disabled;
  const Option onlyOption{"--only", "", "kinds of fault", [&](const std::string& V) {
                            const checks::FaultSet kinds = FaultsOf("--only", V);
                            only = only ? *only | kinds : kinds;
                          }};
  const Option disableOption{"--disable", "", "kinds of fault",
                             [&](const std::string& V) { disabled |= FaultsOf("--disable", V); }};
  std::vector<int> dpis;
  if (Preview)
    o.Given = ParseOptions(args, {LocaleOption(o.Locale), onlyOption, disableOption, DpiOption(dpis),
                                 Value("--class", "", "a class name", o.ClassName),
                                 Value("--output", "-o", "a file name", o.Output)});
  else o.Given = ParseOptions(args, {LocaleOption(o.Locale), onlyOption, disableOption, DpiOption(dpis)});
  if (dpis.size() > 1) throw UsageError("--dpi is given more than once: " + std::string(Preview ? "preview" : "check") + " judges at one DPI");
  if (!dpis.empty()) o.Dpi = dpis.front();
  o.Reported = only.value_or(checks::FaultSet().set()) & ~disabled;
  return o;
}

checks::CheckInput InputOf(const EntrySet& Set, LiveDialogs& Live, checks::TextMeasure& Measure, const Options& O) {
  checks::CheckInput in = CheckInputOf(Set, Live, Measure, O.Dpi);
  in.Reported = O.Reported;
  return in;
}


}  // namespace

int RunCheck(const Args& args) {
  const Options o = ParseCheckOptions(args, false);
  if (HelpOrCheck(o.Given, 1, CheckHelp())) return 0;
  const std::string& file = o.Given.Positional[0];
  CheckSource source(file, o.Locale);
  LiveDialogs live(source.Form());
  const auto measure = checks::NativeMeasure();
  int errors = 0, warnings = 0, entries = 0;
  for (const EntrySet& set : source.Sets()) {
    const checks::CheckInput in = InputOf(set, live, *measure, o);
    const std::vector<checks::Problem> problems = checks::Check(in);
    Print(problems);
    for (const checks::MnemonicProposal& p : checks::ProposeMnemonics(in))
      std::printf("%s\n", Escaped(checks::FormatProposal(set.File, p)).c_str());
    entries += static_cast<int>(set.Entries.size());
    for (const checks::Problem& p : problems) ++(p.Level == checks::Severity::Error ? errors : warnings);
  }
  std::fprintf(stderr, "lumetra check: %s: %d entries, %d errors, %d warnings\n", Escaped(file).c_str(), entries, errors,
               warnings);
  return errors ? 1 : 0;
}

int RunPreview(const Args& args) {
  const Options o = ParseCheckOptions(args, true);
  if (HelpOrCheck(o.Given, 1, PreviewHelp())) return 0;
  if (o.ClassName.empty() || o.Output.empty()) throw UsageError("wrong arguments\n\n" + PreviewHelp());
  const std::string& file = o.Given.Positional[0];
  CheckSource source(file, o.Locale);
  if (source.Sets().size() != 1)
    throw UsageError(file + " holds the entries of " + std::to_string(source.Sets().size()) +
                     " forms or locales: choose one with --locale");
  const EntrySet& set = source.Sets().front();
  LiveDialogs live(source.Form());
  const auto measure = checks::NativeMeasure();
  const checks::DialogLayout* ref = o.Dpi ? live.Reference(o.ClassName, *o.Dpi, *measure) : live.Reference(o.ClassName);
  if (!ref) throw vcl::Exception("no dialog of class " + o.ClassName + " to show (none on the form, and no standard dialog class)");
  const checks::CheckResult checked = checks::CheckAndApply(InputOf(set, live, *measure, o));
  Print(checked.Problems);
  std::vector<checks::Problem> mine;
  for (const checks::Problem& p : checked.Problems)
    if (p.ClassName == o.ClassName && p.Place) mine.push_back(p);
  checks::PictureSize size;
#ifdef _WIN32
  if (o.Dpi && *o.Dpi != Vek::ScreenPixelsPerInch(nullptr))
    throw UsageError("--dpi " + std::to_string(*o.Dpi) + ": the screen is at " + std::to_string(Vek::ScreenPixelsPerInch(nullptr)) +
                     " dpi, and the preview is a picture of the live dialog");
  const bool shown =
      live.ShowTranslated(o.ClassName, set, [&](HWND dialog) { size = checks::PhotographPreview(dialog, mine, o.Output); });
  if (!shown) throw vcl::Exception("the dialog of class " + o.ClassName + " did not show");
#else
  const auto applied = checked.Applied.find(o.ClassName);
  size = checks::DrawPreview(applied != checked.Applied.end() ? applied->second : *ref, mine, o.Output);
#endif
  std::fprintf(stderr, "lumetra preview: %zu faults outlined\n", mine.size());
  if (size.Clipped())
    std::fprintf(stderr, "lumetra preview: the dialog is %lld x %lld px, more than a picture holds: %s shows its top left %d x %d px\n",
                 size.WindowWidth, size.WindowHeight, Escaped(o.Output).c_str(), size.Width, size.Height);
  return 0;
}

}  // namespace lumetra_cli
