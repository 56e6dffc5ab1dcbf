// Letters for the mnemonics at fault: each dialog as the entries leave it, the letters its
// controls have (those the system shows untranslated too), and for every entry whose mnemonic
// clashes, was dropped or was added, a text that mends it. The rules are those the checks judge
// by (layout_checks.cpp), so that a proposal taken leaves no mnemonic fault behind.
#include "checks/mnemonics.hpp"

#include <algorithm>
#include <map>
#include <set>

#include "checks/checker.hpp"
#include "vcl/CodePages.hpp"

namespace checks {

namespace {

using detail::Findings;
using detail::Parsed;

bool Reported(const CheckInput& In, Fault Kind) { return In.Reported.test(static_cast<std::size_t>(Kind)); }

// One character of a text: where it stands and what it is.
struct Char {
  std::size_t Offset = 0, Length = 0;
  char16_t C = 0;
};

std::vector<Char> CharsOf(std::string_view Text, int Page) {
  std::vector<Char> chars;
  for (std::size_t i = 0; i < Text.size();) {
    const std::size_t n = std::max<std::size_t>(vcl::CharLength(Page, Text, i), 1);
    chars.push_back({i, n, vcl::CharToUtf16(Page, Text.substr(i, n)).value_or(u'\uFFFD')});
    i += n;
  }
  return chars;
}

bool IsAsciiLetter(char16_t C) { return (C >= u'a' && C <= u'z') || (C >= u'A' && C <= u'Z'); }

// The "(&N)" a double-byte text carries its mnemonic in: its offset, when M is one.
std::optional<std::size_t> BracketForm(std::string_view Text, const detail::MnemonicAt& M) {
  if (M.Offset == 0 || Text[M.Offset - 1] != '(' || M.Length != 1 || M.Offset + 2 >= Text.size() || Text[M.Offset + 2] != ')')
    return std::nullopt;
  return M.Offset - 1;
}

// Text without its mnemonic: the "&" taken out, or in a double-byte code page the whole "(&N)".
std::string WithoutMnemonic(std::string_view Text, int Page) {
  std::string out(Text);
  const std::optional<detail::MnemonicAt> m = detail::FindMnemonic(Text, Page);
  if (!m) return out;
  if (const std::optional<std::size_t> bracket = vcl::IsDoubleByteCodePage(Page) ? BracketForm(Text, *m) : std::nullopt)
    return out.erase(*bracket, 4);
  return out.erase(m->Offset, 1);
}

// Where "(&N)" goes in a double-byte text: before a closing ":" or "...", as those dialogs have it.
std::size_t BracketPlace(std::string_view Text) {
  std::size_t end = Text.size();
  if (Text.ends_with("...")) end -= 3;
  else if (Text.ends_with(":")) end -= 1;
  return end;
}

struct Choice {
  std::string Text;
  char16_t Letter = 0;
};

// The dialog of one class and the mnemonic letters of its controls while proposals change them.
class DialogLetters {
public:
  DialogLetters(const detail::AppliedDialog& After, const DialogLayout& Ref, const Keyboard& Keys)
      : FAfter(After), FRef(Ref), FKeys(Keys), FPage(After.Layout.CodePage) {
    const auto& a = After.Layout.Controls;
    FLetter.resize(a.size());
    FPrefix.resize(a.size());
    for (std::size_t i = 0; i < a.size(); ++i) {
      const detail::TextRoom room = detail::RoomOf(a[i]);
      FPrefix[i] = room.Draws && room.Prefix;
      if (FPrefix[i]) FLetter[i] = detail::Mnemonic(a[i].Text, FPage);
    }
  }

  std::size_t Count() const { return FLetter.size(); }
  bool Prefix(std::size_t I) const { return FPrefix[I]; }
  std::optional<char16_t> LetterOf(std::size_t I) const { return FLetter[I]; }
  void SetLetter(std::size_t I, std::optional<char16_t> L) { FLetter[I] = L; }
  /// Whether control I's mnemonic is one a clash counts: drawn and shown.
  bool Counts(std::size_t I) const { return FPrefix[I] && FAfter.Layout.Controls[I].Visible() && FLetter[I]; }
  /// The original's letter of control I.
  std::optional<char16_t> OriginalLetter(std::size_t I) const { return detail::Mnemonic(FRef.Controls[I].Text, FRef.CodePage); }

  /// The letters of the shown controls other than I.
  std::set<char16_t> UsedBesides(std::size_t I) const {
    std::set<char16_t> used;
    for (std::size_t j = 0; j < FLetter.size(); ++j)
      if (j != I && Counts(j)) used.insert(*FLetter[j]);
    return used;
  }

  /// Text of control I with a free letter as its mnemonic; nothing when none is free.
  std::optional<Choice> Choose(std::size_t I, std::string_view Text) const {
    const std::set<char16_t> used = UsedBesides(I);
    const std::string base = WithoutMnemonic(Text, FPage);
    const std::optional<char16_t> original = OriginalLetter(I);
    auto free = [&](char16_t C) { return IsLetter(C) && !used.contains(detail::Folded(C)) && FKeys.Types(C); };
    if (vcl::IsDoubleByteCodePage(FPage)) {
      // A Latin letter in "(&N)": the original's, one of the original's text, or any.
      std::u16string order;
      if (original && IsAsciiLetter(*original)) order += *original;
      for (const char16_t c : vcl::ToUtf16(FRef.CodePage, FRef.Controls[I].Text))
        if (IsAsciiLetter(c)) order += detail::Folded(c);
      for (char16_t c = u'a'; c <= u'z'; ++c) order += c;
      for (const char16_t c : order) {
        if (!free(c)) continue;
        std::string text = base;
        text.insert(BracketPlace(text), std::string("(&") + static_cast<char>(c - u'a' + 'A') + ")");
        return Choice{text, c};
      }
      return std::nullopt;
    }
    const std::vector<Char> chars = CharsOf(base, FPage);
    // The original's letter if the text has it free, else any free one; at a word start when
    // one stands at one.
    std::optional<std::size_t> originalFirst, originalStart, first, start;
    for (std::size_t k = 0; k < chars.size(); ++k) {
      const char16_t c = chars[k].C;
      if (!free(c)) continue;
      const bool starts = k == 0 || !IsLetter(chars[k - 1].C);
      const bool originals = original && detail::Folded(c) == *original;
      if (originals && !originalFirst) originalFirst = k;
      if (originals && starts && !originalStart) originalStart = k;
      if (!first) first = k;
      if (starts && !start) start = k;
    }
    const std::optional<std::size_t> pick = originalStart ? originalStart : originalFirst ? originalFirst : start ? start : first;
    if (!pick) return std::nullopt;
    std::string text = base;
    text.insert(chars[*pick].Offset, 1, '&');
    return Choice{text, detail::Folded(chars[*pick].C)};
  }

  std::string Letter(char16_t C) const { return detail::Letter(C, FPage); }
  int Page() const { return FPage; }

private:
  const detail::AppliedDialog& FAfter;
  const DialogLayout& FRef;
  const Keyboard& FKeys;
  const int FPage;
  std::vector<std::optional<char16_t>> FLetter;
  std::vector<bool> FPrefix;
};

MnemonicProposal ProposalFor(const Parsed& P, Fault Kind, std::optional<std::string> Text, std::string Reason) {
  MnemonicProposal m;
  m.ClassName = std::string(P.E.ClassPart);
  m.Line = P.Source->LineNumber;
  m.Key = detail::KeyOf(P);
  m.Kind = Kind;
  if (Text) {
    Vek::ConvertToLiterals(*Text);
    m.Entry = Vek::EntryLine(m.Key, *Text);
  }
  m.Reason = std::move(Reason);
  return m;
}

void ProposeForDialog(const CheckInput& In, const Keyboard& Keys, const detail::AppliedDialog& After, const DialogLayout& Ref,
                      std::vector<MnemonicProposal>& Out) {
  DialogLetters d(After, Ref, Keys);
  const auto& a = After.Layout.Controls;
  // Added mnemonics first: taking them out frees their letters for the others.
  for (std::size_t i = 0; i < d.Count(); ++i) {
    const Parsed* p = After.Caption[i];
    if (!p || !d.Prefix(i) || !d.LetterOf(i) || d.OriginalLetter(i) || !Reported(In, Fault::MnemonicAdded)) continue;
    d.SetLetter(i, std::nullopt);
    Out.push_back(ProposalFor(*p, Fault::MnemonicAdded, WithoutMnemonic(a[i].Text, d.Page()),
                              "the original " + detail::Quoted(Ref.Controls[i].Text) + " has no mnemonic: the & is taken out"));
  }
  if (Reported(In, Fault::MnemonicClash)) {
    std::map<char16_t, std::vector<std::size_t>> byLetter;
    for (std::size_t i = 0; i < d.Count(); ++i)
      if (d.Counts(i)) byLetter[*d.LetterOf(i)].push_back(i);
    for (const auto& [letter, controls] : byLetter) {
      if (controls.size() < 2) continue;
      // One control keeps the letter: one the entries leave as the system shows it, else the
      // first whose original has it, else the first.
      std::optional<std::size_t> keeper;
      for (const std::size_t i : controls)
        if (!After.Caption[i]) keeper = keeper.value_or(i);
      for (const std::size_t i : controls)
        if (!keeper && d.OriginalLetter(i) == letter) keeper = i;
      if (!keeper) keeper = controls.front();
      for (const std::size_t i : controls) {
        if (i == *keeper || !After.Caption[i]) continue;
        std::string others;
        for (const std::size_t j : controls)
          if (j != i) others += (others.empty() ? "" : ", ") + std::to_string(a[j].Id) + " " + detail::Quoted(a[j].Text);
        std::string reason = "mnemonic &" + d.Letter(letter) + " is also that of control " + others;
        const std::optional<Choice> c = d.Choose(i, a[i].Text);
        if (!c) {
          Out.push_back(ProposalFor(*After.Caption[i], Fault::MnemonicClash, std::nullopt,
                                    reason + "; no other letter of " + detail::Quoted(a[i].Text) + " is free and typed by the keyboard"));
          continue;
        }
        d.SetLetter(i, c->Letter);
        reason += "; &" + d.Letter(c->Letter) + (d.OriginalLetter(i) == c->Letter ? ", the original's, is free" : " is free");
        Out.push_back(ProposalFor(*After.Caption[i], Fault::MnemonicClash, c->Text, reason));
      }
    }
  }
  if (Reported(In, Fault::MnemonicDropped))
    for (std::size_t i = 0; i < d.Count(); ++i) {
      const Parsed* p = After.Caption[i];
      if (!p || !d.Prefix(i) || d.LetterOf(i) || !d.OriginalLetter(i)) continue;
      std::string reason = "the original " + detail::Quoted(Ref.Controls[i].Text) + " has a mnemonic";
      const std::optional<Choice> c = d.Choose(i, a[i].Text);
      if (!c) {
        Out.push_back(ProposalFor(*p, Fault::MnemonicDropped, std::nullopt,
                                  reason + "; no letter of " + detail::Quoted(a[i].Text) + " is free and typed by the keyboard"));
        continue;
      }
      d.SetLetter(i, c->Letter);
      reason += "; &" + d.Letter(c->Letter) + (d.OriginalLetter(i) == c->Letter ? ", its letter, is free" : " is free");
      Out.push_back(ProposalFor(*p, Fault::MnemonicDropped, c->Text, reason));
    }
}

}  // namespace

std::vector<MnemonicProposal> ProposeMnemonics(const CheckInput& Input, const Keyboard& Keys) {
  Findings unreported(Input);
  std::vector<Parsed> parsed;
  parsed.reserve(Input.Entries.size());
  for (const SourceEntry& s : Input.Entries) parsed.push_back(detail::ParseEntry(s, unreported));
  std::vector<MnemonicProposal> proposals;
  RecordedMeasure recorded;
  TextMeasure& measure = Input.Measure ? *Input.Measure : recorded;
  for (const auto& [className, entries] : detail::ByClass(parsed)) {
    const DialogLayout* ref = Input.Reference ? Input.Reference(className) : nullptr;
    if (!ref) continue;
    const detail::AppliedDialog after = detail::ApplyEntries(*ref, entries, unreported, false, measure);
    ProposeForDialog(Input, Keys, after, *ref, proposals);
  }
  std::stable_sort(proposals.begin(), proposals.end(), [](const MnemonicProposal& a, const MnemonicProposal& b) { return a.Line < b.Line; });
  return proposals;
}

std::vector<MnemonicProposal> ProposeMnemonics(const CheckInput& Input) { return ProposeMnemonics(Input, KeyboardLetters(Input.Locale)); }

std::string FormatProposal(const std::string& File, const MnemonicProposal& P) {
  std::string line = File + ":" + std::to_string(P.Line) + ": " + P.Key + ": hint: " + P.Reason;
  if (P.Entry) line += " (proposed: " + *P.Entry + ")";
  return detail::Escaped(line);
}

}  // namespace checks
