// The checks of translation entries: syntax, control ids, integers, code pages, texts that do
// not fit, controls that overlap or leave the dialog, mnemonics and stale originals. A dialog is
// judged as the apply step leaves it, so that what the check reports is what the user will see;
// each concern's checks are in a file of their own (see checker.hpp).
#include <algorithm>
#include <map>

#include "checks/checker.hpp"

namespace checks {

namespace detail {

EntriesByClass ByClass(const std::vector<Parsed>& All) {
  EntriesByClass byClass;
  for (const Parsed& p : All)
    if (p.Usable) byClass[std::string(p.E.ClassPart)].push_back(&p);
  for (auto& [className, entries] : byClass)
    std::stable_sort(entries.begin(), entries.end(), [](const Parsed* a, const Parsed* b) { return a->Source->Line < b->Source->Line; });
  return byClass;
}

std::string Escaped(std::string_view Text) {
  std::string shown;
  for (const char c : Text) {
    const auto b = static_cast<unsigned char>(c);
    if (b < 0x20 || b == 0x7F) shown += "#" + std::to_string(b);
    else shown += c;
  }
  return shown;
}

}  // namespace detail

namespace {

using detail::ByClass;
using detail::EntriesByClass;
using detail::Escaped;
using detail::Findings;
using detail::Parsed;

// One run: the entries parsed, grouped by class and judged on each class's dialog.
CheckResult Run(const CheckInput& Input) {
  Findings f(Input);
  std::unique_ptr<RecordedMeasure> ownMeasure;
  TextMeasure* measure = Input.Measure;
  if (!measure) measure = (ownMeasure = std::make_unique<RecordedMeasure>()).get();
  std::vector<Parsed> parsed;
  parsed.reserve(Input.Entries.size());
  for (const SourceEntry& s : Input.Entries) parsed.push_back(detail::ParseEntry(s, f));
  for (const std::string& line : Input.Originals) {
    const Vek::Entry e = Vek::Entry::Split(std::string_view(line));
    if (e.HasClass) f.Originals[std::string(Vek::EntryKey(line))] = std::string(Vek::EntryValue(line));
  }
  CheckResult result;
  for (const auto& [className, entries] : ByClass(parsed)) {
    const DialogLayout* ref = Input.Reference ? Input.Reference(className) : nullptr;
    if (!ref) {
      f.Report(*entries.front(), Severity::Warning, Fault::NoDialog,
               "no dialog of class " + className + " to check against (none on the form and no capture of it): its ids, "
               "texts and rectangles are not checked");
      continue;
    }
    detail::AppliedDialog after = detail::ApplyEntries(*ref, entries, f, true, *measure);
    // Every text of the class is in the code page of its Font.Charset entry.
    const int page = after.Layout.CodePage;
    for (const Parsed* p : entries) {
      detail::CheckStale(f, *ref, *p);
      const bool isText = p->E.Kind == Vek::EntryKind::WindowCaption || (p->E.Kind == Vek::EntryKind::ChildCaption && ref->Find(*p->E.Id()));
      if (!isText) continue;
      detail::CheckCodePage(f, *p, page, after.TextCharset);
      detail::CheckMixedScript(f, *p, page);
    }
    detail::CheckGlyphs(f, *measure, after);
    detail::CheckLayout(f, *measure, after, *ref);
    result.Applied.insert_or_assign(className, std::move(after.Layout));
  }
  std::stable_sort(f.Problems.begin(), f.Problems.end(), [](const Problem& a, const Problem& b) { return a.Line < b.Line; });
  result.Problems = std::move(f.Problems);
  return result;
}

constexpr std::string_view FaultNameTable[FaultCount] = {
    "syntax",  "unknown-property", "too-long", "empty",     "not-an-integer", "beyond-screen",  "charset",
    "charset-undone", "no-dialog", "unknown-id", "stale", "code-page",      "utf-8",          "fit",
    "outside", "overlap", "mnemonic-clash", "mnemonic-dropped", "mnemonic-added", "glyphs", "mixed-script"};

}  // namespace

std::string_view FaultName(Fault Kind) { return FaultNameTable[static_cast<std::size_t>(Kind)]; }

std::optional<Fault> FaultNamed(std::string_view Name) {
  for (std::size_t i = 0; i < FaultCount; ++i)
    if (FaultNameTable[i] == Name) return static_cast<Fault>(i);
  return std::nullopt;
}

std::string FaultNames() {
  std::string names;
  for (const std::string_view n : FaultNameTable) names += (names.empty() ? "" : ", ") + std::string(n);
  return names;
}

std::string FormatFault(const Problem& P) {
  return Escaped(P.Key + ": " + (P.Level == Severity::Error ? "error" : "warning") + ": " + P.Reason);
}

std::string FormatProblem(const Problem& P) { return Escaped(P.File + ":" + std::to_string(P.Line) + ": ") + FormatFault(P); }

bool HasErrors(const std::vector<Problem>& Problems) {
  return std::any_of(Problems.begin(), Problems.end(), [](const Problem& p) { return p.Level == Severity::Error; });
}

std::vector<Problem> Check(const CheckInput& Input) { return Run(Input).Problems; }

CheckResult CheckAndApply(const CheckInput& Input) { return Run(Input); }

DialogLayout Applied(const DialogLayout& Reference, const std::vector<SourceEntry>& Entries, bool TranslateEmpty) {
  CheckInput input;
  input.TranslateEmpty = TranslateEmpty;
  Findings unreported(input);
  std::vector<Parsed> parsed;
  parsed.reserve(Entries.size());
  for (const SourceEntry& s : Entries) parsed.push_back(detail::ParseEntry(s, unreported));
  const EntriesByClass byClass = ByClass(parsed);
  const auto mine = byClass.find(Reference.ClassName);
  RecordedMeasure measure;
  return mine == byClass.end() ? Reference : detail::ApplyEntries(Reference, mine->second, unreported, false, measure).Layout;
}

}  // namespace checks
