// Checking translation entries against the dialogs they are for: every entry that cannot apply
// or will look wrong, for the command line, the editor and the designer.
#pragma once

#include <bitset>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "Vek.hpp"
#include "vcl/CodePages.hpp"
#include "win/api.h"
#include "win/dialog_layout.h"
#include "win/recorded_dialogs.h"

namespace checks {

enum class Severity : std::uint8_t { Warning = 1, Error = 2 };

/// What kind of fault a problem is: what `lumetra check --only`/`--disable` choose by, and what
/// the tests match. Named by FaultName.
enum class Fault : std::uint8_t {
  Syntax,           ///< "syntax": no class, no value, a broken id or literal, text after "]"
  UnknownProperty,  ///< "unknown-property": a property the entry language lacks, a font field it ignores
  TooLong,          ///< "too-long": a value beyond the 4095 characters an entry keeps
  EmptyValue,       ///< "empty": an empty value skipped while TranslateEmpty is off
  NotAnInteger,     ///< "not-an-integer": a size, position or character set that is no decimal integer
  BeyondScreen,     ///< "beyond-screen": a negative size, or a size or position beyond what a screen holds
  Charset,          ///< "charset": a character set beyond a byte, taken by its low 8 bits
  CharsetUndone,    ///< "charset-undone": a Font.Charset that a later Font.Name gives up again (named by the
                    ///< glyph fault it causes, which is reported in its place)
  NoDialog,         ///< "no-dialog": a class without a dialog to judge the entries on
  UnknownId,        ///< "unknown-id": a control id or position the dialog does not have
  Stale,            ///< "stale": an original that changed, or a control gone from a fresh capture
  CodePage,         ///< "code-page": a character the code page of the font's character set lacks
  LooksLikeUtf8,    ///< "utf-8": bytes that read as UTF-8 where entries are ANSI
  Fit,              ///< "fit": a text that does not fit its control
  Outside,          ///< "outside": a control that leaves the dialog's client area
  Overlap,          ///< "overlap": a control moved onto another
  MnemonicClash,    ///< "mnemonic-clash": a mnemonic letter that another control of the dialog has
  MnemonicDropped,  ///< "mnemonic-dropped": a translation without the original's mnemonic
  MnemonicAdded,    ///< "mnemonic-added": a mnemonic the original does not have
  Glyphs,           ///< "glyphs": a character the face the controls are realised with has no glyph for
  MixedScript,      ///< "mixed-script": a Latin letter among Cyrillic or Greek ones, or the reverse
};
inline constexpr std::size_t FaultCount = static_cast<std::size_t>(Fault::MixedScript) + 1;
/// A set of fault kinds, indexed by their number.
using FaultSet = std::bitset<FaultCount>;

/// The name of a fault kind, as `lumetra check` takes it ("syntax", "unknown-id", ...).
std::string_view FaultName(Fault Kind);
/// The fault kind of a name; nothing for a name that is none.
std::optional<Fault> FaultNamed(std::string_view Name);
/// Every fault kind's name, in the order of their numbers, separated by ", ".
std::string FaultNames();

/// One entry line `<class>.<property>=<value>` and the line of its file it stands on.
struct SourceEntry {
  std::string Line;
  int LineNumber = 0;
};

/// What is wrong with one entry.
struct Problem {
  std::string File;
  int Line = 0;
  std::string Key;  ///< the entry's property key
  Severity Level = Severity::Error;
  Fault Kind = Fault::Syntax;
  std::string Reason;
  std::string ClassName;     ///< the dialog class the entry is for ("" when it names none)
  std::optional<RECT> Place;  ///< the control or window at fault, in the dialog's client coordinates
};

/// `file:line: key: error: reason`, with bytes a terminal might take for commands escaped.
std::string FormatProblem(const Problem& P);
/// `key: error: reason` as FormatProblem writes it, for lists of one file's problems.
std::string FormatFault(const Problem& P);

/// A font as the checks measure with it.
using FontSpec = win::DialogFont;

/// One direct child of a dialog, in z-order. In the layouts the checks make, Font is the font the
/// control is drawn with: the dialog's for one without a font of its own (SystemFont).
using ControlLayout = win::ControlLayout;

/// A dialog as the checks and the preview see it: the window, its font and its direct children,
/// for the dialog class ClassName. Font is the dialog face for a dialog without a font of its
/// own, which is how the checks measure it.
struct DialogLayout : win::DialogLayout {
  std::string ClassName;
  /// The code page the texts are in: Vek::TextCodePage of the class's entries, the system's ANSI
  /// code page for a dialog as it is shown untranslated.
  int CodePage = vcl::SystemCodePage();
  /// Whether the layout is mirrored (BiDiMode bdRightToLeft or bdRightToLeftNoAlign): the
  /// rectangles are then where the controls are seen, a control at x with width w in a client
  /// area of width W being at W - x - w.
  bool Mirrored = false;
  /// The DPI the rectangles and font heights are of: the screen's for a shown dialog, 96 for a
  /// recording.
  int PixelsPerInch = Vek::DefaultPixelsPerInch;

  /// The child an id addresses as the apply step finds it: the first with that id, or for a
  /// negative (ordinal) id -n the n-th child; nullptr when there is none.
  const ControlLayout* Find(int Id) const;
};

/// The kind of recorded dialog a class shows ("open" for TOpenDialog, ...); empty for others.
using Vek::RecordedKindOf;
/// The recorded dialog as a layout for ClassName.
DialogLayout LayoutFromRecorded(const win::RecordedDialog& Dialog, std::string ClassName);
/// A shown dialog window as a layout, read through the window services.
DialogLayout LayoutFromWindow(HWND Dialog, std::string ClassName);

class TextMeasure;

/// The base units of a dialog in Font, as dialogs measure them: half the average width of the 52
/// letters (rounded), and the line height; {0, 0} when Measure cannot measure the font.
POINT BaseUnitsOf(const FontSpec& Font, TextMeasure& Measure);
/// Layout as the same dialog template lays it out at Dpi: the font heights at that DPI, each
/// control's place and size and the client area mapped through the dialog's units (pixels to
/// dialog units with the base units at the layout's DPI, back with those at Dpi), the frame
/// scaled with the DPI. What a template does by itself besides (a file dialog sizing its list to
/// the window) is not modelled. Layout itself when Dpi is its own or no screen's.
DialogLayout AtPixelsPerInch(const DialogLayout& Layout, int Dpi, TextMeasure& Measure);

/// What is wrong with a dialog as it is shown translated (Translated) against the same dialog
/// shown untranslated (Untranslated), both read with LayoutFromWindow at the same DPI: each
/// visible control whose text does not fit its rectangle (unless its untranslated text did not
/// either), that overlaps another visible control it did not overlap untranslated, or that leaves
/// the client area it was inside untranslated. The problems name no file or line: their keys are
/// "Caption[id]" for a text and "Left[id]" for a place (of the control that moved, for an
/// overlap), their Place the control's rectangle. Never fails: an empty list is a dialog that
/// shows well.
std::vector<Problem> ShownFaults(const DialogLayout& Untranslated, const DialogLayout& Translated, TextMeasure& Measure);

/// How wide a text is drawn, and whether the font it is drawn in has its characters.
class TextMeasure {
public:
  struct Extent {
    int Width = 0;
    int LineHeight = 0;
    std::string Face;  ///< the face that measured it
  };
  /// What a font lacks of a text.
  struct Glyphs {
    std::string Face;                    ///< the face the font is realised as
    std::optional<std::size_t> Missing;  ///< the byte offset of the first character it has no glyph for
  };
  virtual ~TextMeasure() = default;
  /// The width of Text (one line, bytes in code page CodePage, measured as its UTF-16 form).
  virtual Extent Measure(const FontSpec& Font, int CodePage, std::string_view Text) = 0;
  /// The same for a text in the code page of Font's character set (Vek::TextCodePage).
  Extent Measure(const FontSpec& Font, std::string_view Text);
  /// The first character of Text (bytes in code page CodePage) that the face Font is realised as
  /// has no glyph for. A measure that cannot tell finds none missing.
  virtual Glyphs MissingGlyph(const FontSpec& Font, int CodePage, std::string_view Text);
};

/// Measures with the widths and glyphs recorded under Wine (win::MeasureRecordedW,
/// win::HasRecordedGlyph); a face or character set without a table is measured with the dialog
/// face's table of that set (or of the ANSI set), never failing.
class RecordedMeasure : public TextMeasure {
public:
  using TextMeasure::Measure;
  Extent Measure(const FontSpec& Font, int CodePage, std::string_view Text) override;
  Glyphs MissingGlyph(const FontSpec& Font, int CodePage, std::string_view Text) override;
};

/// The widths GetTextExtentPoint32W and the glyphs GetGlyphIndicesW give in the font the window
/// system realises: the real font on Windows; in the simulation the recorded widths and glyphs,
/// as RecordedMeasure measures them.
std::unique_ptr<TextMeasure> NativeMeasure();

/// What the checks read.
struct CheckInput {
  std::string File;                  ///< named in every problem
  std::vector<SourceEntry> Entries;  ///< in any order; applied in ordinal order as a translator does
  /// The captured values the translation was made from (`key=value`, the form's captured values
  /// or a text file's original lines); empty when there are none.
  std::vector<std::string> Originals;
  /// The dialog of a class as a fresh capture shows it, untranslated; nullptr when there is none.
  std::function<const DialogLayout*(const std::string& ClassName)> Reference;
  TextMeasure* Measure = nullptr;  ///< RecordedMeasure when nullptr
  bool TranslateEmpty = false;
  /// The kinds of fault reported; problems of the others are left out.
  FaultSet Reported = FaultSet().set();
  /// The components holding the dialogs the entries are for, whose own dialog classes they may
  /// name (see Vek::DialogKindOf); nullptr when there are none.
  const vcl::TComponent* Form = nullptr;
  /// The locale (LCID) the entries are in; 0 when it is not known. Mnemonic proposals take the
  /// letters of its keyboard layout.
  int Locale = 0;
};

/// Every problem of the entries, in the order of their lines. Never fails on bad entries: they
/// are what it reports.
std::vector<Problem> Check(const CheckInput& Input);

/// What Check finds, and the dialog of each class it judged as the entries leave it (as Applied
/// gives it, with the input's TranslateEmpty), so that a caller drawing the dialog applies once.
struct CheckResult {
  std::vector<Problem> Problems;
  /// By class name; a class without usable entries, or without a dialog to check against, has none.
  std::map<std::string, DialogLayout, std::less<>> Applied;
};
CheckResult CheckAndApply(const CheckInput& Input);

/// The dialog of Reference after the entries for its class, as the apply step leaves it: title,
/// texts, font and rectangles (the window's outer size in Window). Bad entries change nothing;
/// empty texts are left out unless TranslateEmpty.
DialogLayout Applied(const DialogLayout& Reference, const std::vector<SourceEntry>& Entries, bool TranslateEmpty = false);

/// Whether any problem is an error.
bool HasErrors(const std::vector<Problem>& Problems);

}  // namespace checks
