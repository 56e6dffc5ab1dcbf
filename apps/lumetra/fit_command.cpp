// `lumetra fit`: the sizes and positions that make translated texts fit their dialogs, written
// into the file the entries came from, then the checks again on what remains.
//
// Notes:
// - The entries are read as `lumetra check` reads them, and go back where they came from: into
//   the form (its translator's entries), into the form's or the given translation text file (the
//   lines of their form and locale, as `lumetra text save` writes them), or into the list. Every
//   file is replaced whole, all of them together, or none.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <set>

#include "check_source.hpp"
#include "checks/fit.hpp"
#include "checks/mnemonics.hpp"
#include "commands.hpp"
#include "form_file.hpp"
#include "live_dialogs.hpp"
#include "options.hpp"
#include "vcl/Classes.hpp"

namespace lumetra_cli {

namespace {

const char* const FitHelp =
    "usage: lumetra fit FILE [--locale N] [--dpi N ...] [--mnemonics] [--dry-run]\n\n"
    "For every translated text that does not fit its control, writes the sizes and positions that\n"
    "make it fit into FILE (a form, a translation text file or a list of entries, read as 'lumetra\n"
    "check' reads it): the control grows to its text (a wrapping label first in width, within its\n"
    "height), the controls after it on its row and below it move as far as they must, and the\n"
    "dialog grows to hold them, never beyond a 1024 x 768 work area. A text that cannot fit there\n"
    "is reported and left as it is. Then the texts, places and overlaps are checked again at each\n"
    "DPI, and what remains is printed as 'lumetra check' prints it; the exit code is 1 when any\n"
    "remains (0 otherwise, 2 for wrong usage).\n\n"
    "--locale N   fits the entries of locale N of the translation text file\n"
    "--dpi N      fits at N pixels per inch (48 to 960; default 96); given several times, one set\n"
    "             of entries fits at all of them\n"
    "--mnemonics  also gives every mnemonic that two controls of a dialog share, or that a\n"
    "             translation dropped or added, the letter 'lumetra check' proposes for it\n"
    "--dry-run    prints the entries instead of writing them\n"
    "\"--\" ends the options.\n";

// The checks that judge what the fit is for: the layout, and the mnemonics when it gives them.
checks::FaultSet FitFaults(bool Mnemonics) {
  checks::FaultSet kinds;
  for (const checks::Fault f : {checks::Fault::Fit, checks::Fault::Outside, checks::Fault::Overlap}) kinds.set(static_cast<std::size_t>(f));
  if (Mnemonics)
    for (const checks::Fault f : {checks::Fault::MnemonicClash, checks::Fault::MnemonicDropped, checks::Fault::MnemonicAdded})
      kinds.set(static_cast<std::size_t>(f));
  return kinds;
}

// Entries with the proposed letters in place of the entries they are for; the lines written
// go to Written, the proposals without a free letter to Unsolved.
std::vector<checks::SourceEntry> WithMnemonics(const checks::CheckInput& Input, std::vector<std::string>& Written,
                                               std::vector<checks::MnemonicProposal>& Unsolved) {
  std::vector<checks::SourceEntry> entries = Input.Entries;
  for (const checks::MnemonicProposal& p : checks::ProposeMnemonics(Input)) {
    if (!p.Entry) {
      Unsolved.push_back(p);
      continue;
    }
    const auto same = std::find_if(entries.begin(), entries.end(), [&](const checks::SourceEntry& e) { return Vek::EntryKey(e.Line) == p.Key; });
    if (same == entries.end()) continue;
    same->Line = *p.Entry;
    Written.push_back(*p.Entry);
  }
  return entries;
}

// Lines of a list as they were, each changed one on its place, new ones after them.
std::string ListBytes(const std::string& Old, const std::vector<checks::SourceEntry>& Entries) {
  const std::string eol = Old.find("\r\n") != std::string::npos ? "\r\n" : "\n";
  std::vector<std::string> lines;
  for (const std::string_view l : vcl::SplitLines(Old)) lines.emplace_back(l);
  for (const checks::SourceEntry& e : Entries) {
    if (e.LineNumber > 0 && static_cast<std::size_t>(e.LineNumber) <= lines.size()) lines[static_cast<std::size_t>(e.LineNumber) - 1] = e.Line;
    else lines.push_back(e.Line);
  }
  std::string bytes;
  for (const std::string& l : lines) bytes += l + eol;
  return bytes;
}

struct Fitted {
  const EntrySet* Set;
  std::vector<checks::SourceEntry> Entries;
};

// Writes the fitted entries back where Source read them from.
void WriteBack(const std::string& File, const CheckSource& Source, const std::vector<Fitted>& Changed) {
  vcl::TReplaceBatch batch;
  for (const Fitted& f : Changed) {
    if (!f.Set->Owner.empty()) {
      // The lines of one form and locale of a translation text file.
      vcl::TStringList entries, originals;
      for (const checks::SourceEntry& e : f.Entries) entries.Add(e.Line);
      for (const std::string& o : f.Set->Originals) originals.Add(o);
      Progress(f.Set->File, "rewriting");
      Vek::SaveTo(f.Set->File, std::string_view(f.Set->Owner).substr(2), f.Set->Locale, entries, originals);
    } else if (Source.Form()) {
      FormFile form(File, FormFile::ToRewrite);
      Vek::TLumetra* t = form.Translator();
      t->Translations()->Clear();
      for (const checks::SourceEntry& e : f.Entries) t->Translations()->SortInsert(e.Line, nullptr);
      Progress(File, "rewriting");
      form.Save();
    } else {
      vcl::ReplaceFile(File, ListBytes(ReadInput(File, MaxListFileSize).Bytes, f.Entries));
    }
  }
  batch.Commit();
}

}  // namespace

int RunFit(const Args& args) {
  std::optional<int> locale;
  std::vector<int> dpis;
  bool dryRun = false, mnemonics = false;
  const Parsed p = ParseOptions(args, {LocaleOption(locale), DpiOption(dpis), Flag("--mnemonics", mnemonics), Flag("--dry-run", dryRun)});
  if (HelpOrCheck(p, 1, FitHelp)) return 0;
  if (dpis.empty()) dpis.push_back(Vek::DefaultPixelsPerInch);
  const std::string& file = p.Positional[0];
  CheckSource source(file, locale);
  LiveDialogs live(source.Form());
  const auto measure = checks::NativeMeasure();
  std::vector<Fitted> changed;
  int written = 0, remaining = 0;
  for (const EntrySet& set : source.Sets()) {
    checks::FitInput in;
    in.Input = CheckInputOf(set, live, *measure, std::nullopt);
    in.Reference = [&live, &measure](const std::string& ClassName, int Dpi) { return live.Reference(ClassName, Dpi, *measure); };
    in.PixelsPerInch = dpis;
    checks::FitResult fit = checks::FitEntries(in);
    std::vector<checks::MnemonicProposal> unsolved;
    if (mnemonics) {
      EntrySet sized = set;
      sized.Entries = fit.Entries;
      fit.Entries = WithMnemonics(CheckInputOf(sized, live, *measure, std::nullopt), fit.Written, unsolved);
    }
    for (const std::string& line : fit.Written) std::printf("%s%s\n", dryRun ? "" : "  ", Escaped(line).c_str());
    written += static_cast<int>(fit.Written.size());
    if (!fit.Written.empty()) changed.push_back({&set, fit.Entries});
    for (const checks::MnemonicProposal& u : unsolved) std::printf("%s\n", checks::FormatProposal(set.File, u).c_str());
    // What remains at each DPI: the texts the fit gave up on, then the other faults it is for.
    Print(fit.Unfitted);
    remaining += static_cast<int>(fit.Unfitted.size() + unsolved.size());
    std::set<std::pair<int, std::string>> reported;
    for (const checks::Problem& u : fit.Unfitted) reported.insert({u.Line, u.Key});
    for (const checks::MnemonicProposal& u : unsolved) reported.insert({u.Line, u.Key});
    EntrySet after = set;
    after.Entries = fit.Entries;
    for (const int dpi : dpis) {
      checks::CheckInput again = CheckInputOf(after, live, *measure, dpi);
      again.Reported = FitFaults(mnemonics);
      for (checks::Problem& problem : checks::Check(again)) {
        const bool layout = problem.Kind == checks::Fault::Fit || problem.Kind == checks::Fault::Outside || problem.Kind == checks::Fault::Overlap;
        if (reported.count({problem.Line, problem.Key}) || (!layout && dpi != dpis.front())) continue;  // a mnemonic is one at any DPI
        problem.Reason += " (at " + std::to_string(dpi) + " dpi)";
        Print({problem});
        ++remaining;
      }
    }
  }
  if (!dryRun && !changed.empty()) WriteBack(file, source, changed);
  std::fprintf(stderr, "lumetra fit: %s: %d entries %s, %d faults remain\n", Escaped(file).c_str(), written,
               dryRun ? "proposed" : "written", remaining);
  return remaining ? 1 : 0;
}

}  // namespace lumetra_cli
