// What the checks share among the files of their concerns: an entry after its syntax checks,
// the findings of one run, and the dialog as the entries leave it. The entry language is judged
// in entry_syntax.cpp, the apply step modelled in apply_model.cpp, ids, originals and code pages
// judged in text_checks.cpp, fit, places and mnemonics in layout_checks.cpp; checks.cpp runs them,
// and mnemonics.cpp proposes letters for the mnemonics that layout_checks.cpp finds at fault.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "checks/checks.hpp"

namespace checks::detail {

/// An entry after its syntax checks.
struct Parsed {
  const SourceEntry* Source = nullptr;
  Vek::Entry E;
  std::string Value;  ///< decoded
  int Number = 0;     ///< integer kinds
  bool Usable = false;
};

/// The entry's property key, as problems name it.
std::string KeyOf(const Parsed& P);
std::string Quoted(std::string_view Text);
/// Control bytes a terminal might take for commands, as the entry language writes them ("#27").
std::string Escaped(std::string_view Text);
/// "W x H" and "W x H at X,Y" of a rectangle, as problems write them.
std::string Size(const RECT& R);
std::string Place(const RECT& R);

/// What one run of the checks reads and finds.
struct Findings {
  explicit Findings(const CheckInput& In) : Input(In) {}
  const CheckInput& Input;
  /// The captured values by key, their values as written.
  std::map<std::string, std::string, std::less<>> Originals;
  std::vector<Problem> Problems;

  /// Adds a problem of the entry P, unless its kind is left out.
  void Report(const Parsed& P, Severity Level, Fault Kind, std::string Reason, std::optional<RECT> Where = std::nullopt);
};

/// The usable entries of each class, in the ordinal order of their whole lines, as the apply
/// step walks the list.
using EntriesByClass = std::map<std::string, std::vector<const Parsed*>, std::less<>>;
EntriesByClass ByClass(const std::vector<Parsed>& All);

/// What a control draws of its text, and how much room it leaves for it.
struct TextRoom {
  bool Draws = false;  ///< the text is a label the control draws
  bool Wraps = false;
  bool Prefix = true;  ///< & marks a mnemonic
  int Width = 0, Height = 0;
};
TextRoom RoomOf(const ControlLayout& C);
/// Text as drawn: with Prefix, each "&" gives way to the character after it.
std::string WithoutPrefix(std::string_view Text, bool Prefix);

/// The letter a mnemonic is typed as: upper and lower case alike, in Latin, Greek and Cyrillic.
char16_t Folded(char16_t C);
/// Where a text's mnemonic stands: the "&" at byte Offset, the Length bytes of the character
/// after it, and that character folded.
struct MnemonicAt {
  std::size_t Offset = 0, Length = 0;
  char16_t Letter = 0;
};
/// The character after the first "&" that is not "&&", as typed (bytes in code page Page); in a
/// double-byte code page it may be a two-byte character, and the usual form there is "(&N)"
/// after the text. Nothing for a text without one.
std::optional<MnemonicAt> FindMnemonic(std::string_view Text, int Page);
std::optional<char16_t> Mnemonic(std::string_view Text, int Page);
/// The mnemonic letter as the text's code page writes it ("?" where it has none).
std::string Letter(char16_t C, int Page);

/// The entry line S after the checks of the entry language, integers and bounds, which report
/// to F. Usable when the apply step takes it.
Parsed ParseEntry(const SourceEntry& S, Findings& F);

/// The dialog after the entries, with for each control the entries that changed it.
struct AppliedDialog {
  DialogLayout Layout;
  std::vector<const Parsed*> Caption, Geometry;  ///< per control
  const Parsed* WindowSize = nullptr;
  const Parsed* Font = nullptr;
  /// A Font.Charset entry that a later Font.Name entry (UndoingName) undoes: the controls have
  /// the dialog's character set again.
  const Parsed* UndoneCharset = nullptr;
  const Parsed* UndoingName = nullptr;
  /// The character set whose code page the texts are in (Layout.CodePage): the class's
  /// Font.Charset entry's, else the dialog's.
  int TextCharset = 0;
  /// The DPI the sizes and positions of the entries are pixels of, and the dialog's base units
  /// there and at the layout's DPI (both 0 when the two DPIs are the same).
  int EntryPixelsPerInch = Vek::DefaultPixelsPerInch;
  POINT UnitsThen{0, 0}, UnitsNow{0, 0};
  /// A size or position of an entry as pixels of the layout's DPI.
  int Scaled(int Value, bool Across) const {
    if (UnitsThen.x <= 0) return Value;
    return Across ? Vek::Rescaled(Value, UnitsNow.x, UnitsThen.x) : Vek::Rescaled(Value, UnitsNow.y, UnitsThen.y);
  }
};

/// Ref after Entries (usable entries of its class in ordinal order) as the apply step leaves it,
/// with the code page of its texts and mirrored as its BiDiMode entry says. With ReportFaults,
/// entries for controls the dialog lacks are reported to F.
/// Sizes and positions of entries at another DPI than Ref's are converted through the base units
/// Measure gives.
AppliedDialog ApplyEntries(const DialogLayout& Ref, const std::vector<const Parsed*>& Entries, Findings& F, bool ReportFaults,
                           TextMeasure& Measure);

/// An entry for a control Ref lacks: stale when the captured values know the control, else an
/// unknown id.
void ReportMissingControl(Findings& F, const Parsed& P, const DialogLayout& Ref, int Id);
/// An entry whose captured original differs from what a fresh capture (Ref) shows.
void CheckStale(Findings& F, const DialogLayout& Ref, const Parsed& P);
/// A text with characters code page Page (that of character set Charset) lacks, a double-byte
/// character cut in two, or a text that reads as UTF-8.
void CheckCodePage(Findings& F, const Parsed& P, int Page, int Charset);
/// A word of a text that mixes Latin letters with Cyrillic or Greek ones (text in code page Page).
void CheckMixedScript(Findings& F, const Parsed& P, int Page);
/// Characters of the texts of After that the face their control is realised with has no glyph for.
void CheckGlyphs(Findings& F, TextMeasure& Measure, const AppliedDialog& After);

/// A control's text as drawn in its room: the widest line, the lines it takes (a wrapping one
/// broken between words) and whether that fits.
struct TextFit {
  bool Fits = true;
  int Width = 0, Lines = 1, LineHeight = 0;
  std::string Face;
};
TextFit MeasureText(TextMeasure& M, const ControlLayout& C, const TextRoom& Room, int Page);
/// The entry a text that does not fit in control I of After is reported on: its caption's, else
/// its size's or position's, else the font's; nullptr when none of them changed the control.
const Parsed* CauseOfFit(const AppliedDialog& After, std::size_t I);
/// The fit of control I of After when it is a fault of the entries: a visible text they changed
/// (or moved, or gave a font) that does not fit, where the dialog's own text did.
std::optional<TextFit> UnfitText(TextMeasure& M, const AppliedDialog& After, const DialogLayout& Ref, std::size_t I);

/// Texts that no longer fit, controls that leave the dialog or overlap, and mnemonics, of the
/// dialog After the entries against the dialog Ref before them.
void CheckLayout(Findings& F, TextMeasure& Measure, const AppliedDialog& After, const DialogLayout& Ref);

}  // namespace checks::detail
