// Unit Vek: the run-time unit of Lumetra. Applications include this one header.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "vcl/Classes.hpp"
#include "vcl/Dialogs.hpp"
#include "win/api.h"

namespace Vek {

// ---- Sorted string list ----------------------------------------------------------------------

/// A string list kept in ordinal byte order (unsigned bytes, shorter prefix first) by its own
/// two operations; Add, Assign and LoadFromFile append as given and are not checked.
class TSortList : public vcl::TStringList {
  VCL_DECLARE_CLASS
public:
  /// Binary search for S. With Index = -1 on entry (position mode) Index receives the position
  /// of an equal line, or the insertion position when there is none. With any other value
  /// (object mode) it receives the object of the last probed line as an integer. Returns
  /// whether an equal line exists. Never fails.
  bool SortFind(const std::string& S, int& Index) const;
  /// Inserts S with AObject at its sorted position, or gives an equal line AObject instead.
  void SortInsert(const std::string& S, vcl::TObject* AObject);
};

// ---- Value literals ----------------------------------------------------------------------------

/// Replaces S by its literal form: quoted runs with doubled apostrophes and #n codes for the
/// characters 0 to 31. Cannot fail. Linear in the length of S.
void ConvertToLiterals(std::string& S);

/// Replaces S by the plain text its literal form denotes. A "#" outside quotes without a digit
/// after it raises EConvertError naming the literal; S is then unchanged. Linear in its length.
void ConvertFromLiterals(std::string& S);

// ---- Translation entries -------------------------------------------------------------------

/// The longest value, and the longest property part, that an entry is examined for.
inline constexpr std::size_t MaxValueLength = 4095;

/// What a property sets, in the order in which an entry's property is tested.
enum class EntryKind : std::uint8_t {
  WindowCaption = 1,  // "Caption"
  ChildCaption = 2,   // "Caption[" id "]"
  Font = 3,           // "Font." ...
  WindowWidth = 4,    // "Width"
  WindowHeight = 5,   // "Height"
  ChildLeft = 6,      // "Left[" id "]"
  ChildTop = 7,       // "Top[" id "]"
  ChildWidth = 8,     // "Width[" id "]"
  ChildHeight = 9,    // "Height[" id "]"
  Ignored = 10,       // anything else
  BiDiMode = 11,      // "BiDiMode": the reading order and layout (ReadingOrder)
  PixelsPerInch = 12, // "PixelsPerInch": the DPI the class's sizes and positions were captured at
};

/// The DPI of sizes and positions without a PixelsPerInch entry.
inline constexpr int DefaultPixelsPerInch = 96;
/// Whether a PixelsPerInch value is one a screen has (48 to 960); another is taken as 96.
constexpr bool IsPixelsPerInch(std::int64_t Value) { return Value >= 48 && Value <= 960; }

/// The reading orders a BiDiMode entry names, by the class library's names.
enum class BiDiMode : std::uint8_t {
  LeftToRight = 0,             // "bdLeftToRight": as the dialog is
  RightToLeft = 1,             // "bdRightToLeft": mirrored layout, texts right to left and right-aligned
  RightToLeftNoAlign = 2,      // "bdRightToLeftNoAlign": mirrored layout and right-to-left texts, alignment kept
  RightToLeftReadingOnly = 3,  // "bdRightToLeftReadingOnly": texts read right to left, layout kept
};
/// The reading order of a BiDiMode value ("bdRightToLeft", ...); nothing for any other text.
std::optional<BiDiMode> ParseBiDiMode(std::string_view Value);
/// The class library's name of a reading order.
std::string_view BiDiModeName(BiDiMode Mode);

/// Which font field a EntryKind::Font entry sets.
enum class FontField : std::uint8_t { None = 0, Name = 1, Charset = 2, Other = 3 };

/// One translation entry `<class>.<property>=<value>` split into its parts. The views point
/// into the line the entry was split from, which must outlive it.
struct Entry {
  std::string_view ClassPart;  // text before the first "."; meaningful when HasClass
  std::string_view Property;   // after that ".", up to the first "=" after it (at most 4095)
  std::string_view Value;      // literal value after the first "=" of the line (at most 4095)
  std::string_view IdText;     // child kinds: text between "[" and the first "]"
  EntryKind Kind = EntryKind::Ignored;
  FontField Font = FontField::None;
  bool HasClass = false;  // the line has a "."
  bool HasId = false;     // child kinds: the property has a "]" after the "["

  /// Splits a line. Never fails: what is not an entry comes back with Kind Ignored.
  static Entry Split(std::string_view Line);
  static Entry Split(const char* Line) { return Split(std::string_view(Line)); }
  /// The views would outlive a temporary line: split a line that stays.
  static Entry Split(std::string&& Line) = delete;
  /// True when the entry belongs to the dialog class ClassName (exact, case-sensitive).
  bool AppliesTo(std::string_view ClassName) const { return HasClass && ClassPart == ClassName; }
  bool IsChildKind() const;
  /// The control id as a signed decimal integer (negative: ordinal id, -n is the n-th direct
  /// child); nothing when the id text is not one.
  std::optional<int> Id() const;
  /// The decoded value: the literal with a NUL appended, decoded, cut at its first NUL.
  /// Raises EConvertError naming the literal when it cannot be decoded.
  std::string DecodedValue() const;
  /// As DecodedValue, but answers nothing instead of raising.
  std::optional<std::string> TryDecodedValue() const;
  /// The character set a Font.Charset entry sets: the low 8 bits of its integer value; nothing
  /// for any other entry and for a value that is no integer.
  std::optional<int> Charset() const;
};

/// A signed decimal integer (optional sign, then digits, in 32-bit range); nothing for any
/// other text, such as an empty value, blanks or hexadecimal.
std::optional<int> ParseDecimal(std::string_view Text);

/// The farthest a position or a size on a screen reaches, in pixels: positions lie within
/// -ScreenLimit to ScreenLimit, sizes within 0 to ScreenLimit.
inline constexpr int ScreenLimit = 32767;
/// Whether an entry of that kind sets a width or a height (of the window or of a control).
bool IsSizeKind(EntryKind Kind);
/// Whether an entry of that kind sets a control's left or top edge.
bool IsPositionKind(EntryKind Kind);
/// Whether an entry of that kind sets a text the dialog shows: the title or a control's caption.
bool IsTextKind(EntryKind Kind);
/// Whether E's value must be a decimal integer: sizes, positions and Font.Charset.
bool TakesInteger(const Entry& E);
/// A capture writes a Width or Height one larger than the extent it read (right minus left),
/// as stored files have always had it: the value a capture writes for an extent, and the extent
/// a captured value stands for.
constexpr std::int64_t CapturedExtent(std::int64_t Extent) { return Extent + 1; }
constexpr std::int64_t ExtentOfCaptured(std::int64_t Captured) { return Captured - 1; }
/// Value as a screen holds it for an entry of kind Kind: a size within 0 to ScreenLimit, a
/// position within -ScreenLimit to ScreenLimit; for other kinds the value itself, within the
/// range of an int. Never fails.
int OnScreen(EntryKind Kind, std::int64_t Value);

/// The code page a dialog class's texts are in, from the character set of its Font.Charset entry
/// (nothing: it has none): the set's own code page (1252 for 0, 1251 for 204, 932 for 128, ...),
/// or the system's ANSI code page for the default set 1, the symbol set and any set whose code
/// page this system cannot convert. Entries stay bytes; this is the page their texts are read in
/// wherever they meet UTF-16 or UTF-8 (applying, capture, the editor, the checks, PO and XLIFF).
int TextCodePage(std::optional<int> Charset);
/// The character set that the Font.Charset entries of class ClassName among Lines leave its
/// controls with: the low 8 bits of the last one whose value is an integer; nothing without one.
std::optional<int> CharsetOf(const vcl::TStrings& Lines, std::string_view ClassName);
/// TextCodePage of CharsetOf.
int TextCodePage(const vcl::TStrings& Lines, std::string_view ClassName);

/// The property key of a line: the text before its first "=" (the whole line without one).
std::string_view EntryKey(std::string_view Line);
/// The value of a line: the text after its first "=", at most 4095 characters; empty without one.
std::string_view EntryValue(std::string_view Line);
/// The key lookup rule: Line is the entry for Key when it begins with Key followed by "=".
bool IsEntryFor(std::string_view Line, std::string_view Key);
/// The position of the entry for Key in a sorted list: where SortFind puts Key + "=", when
/// the line there begins with it; -1 when the list holds no entry for Key. Never fails.
int FindEntry(const TSortList& List, std::string_view Key);
/// The same for lines held as views in ordinal order without equal lines (the lines a TSortList
/// filled through SortInsert holds).
int FindEntry(const std::vector<std::string_view>& SortedLines, std::string_view Key);
/// The entry line Key=Value.
std::string EntryLine(std::string_view Key, std::string_view Value);

/// A line of a translation text file, `#0<owner>.<key>%<locale>=<value>`, taken apart by the
/// position of its first separators. The views point into the line, which must outlive them.
struct TextFileLine {
  std::string_view Owner;       // before the first "." (with the "#0")
  std::string_view Head;        // before the first "="
  std::string_view LocaleText;  // after the first "%" of the head (the whole head without one), at most 255
  std::string_view Value;       // after the first "=", at most 4095 characters

  /// Splits a line. Never fails: a part without its separator is as described above.
  static TextFileLine Split(std::string_view Line);
  static TextFileLine Split(const char* Line) { return Split(std::string_view(Line)); }
  static TextFileLine Split(std::string&& Line) = delete;
  /// The key: the head after its first ".", without its first "%" and the LocaleDigits
  /// characters after it (the digits of the locale the line was read for).
  std::string Key(std::size_t LocaleDigits) const;
  /// The line `#0<OwnerName>.<Key>%<Locale>=<Value>`, Value cut to 4095 characters.
  static std::string Format(std::string_view OwnerName, std::string_view Key, std::string_view Locale,
                            std::string_view Value);
};

/// Whether Line is a line of a translation text file: "#0", the owner, ".", the key, "%", a
/// locale as StrToInt reads it, "=" and the value, and no NUL. Never fails.
bool IsTextFileLine(std::string_view Line);
/// Refuses the lines of the file FileName as a translation text file unless each is empty or
/// IsTextFileLine: raises vcl::EReadError naming the file and the number of the first other
/// line, without its bytes (the file may be anyone's).
void CheckTextFileLines(const std::string& FileName, const std::vector<std::string_view>& Lines);

// ---- Which captured values are for translators ---------------------------------------------

/// The kind of recorded dialog a standard dialog class shows ("open" for TOpenDialog, "color"
/// for TColorDialog, ...); empty for any other class name.
std::string_view RecordedKindOf(std::string_view ClassName);
/// The kind of recorded dialog a dialog class shows: that of the class itself or of its nearest
/// standard ancestor, the class found among the dialog components of Form (when given) or among
/// the classes registered for streaming; empty when neither knows it as a dialog class.
std::string_view DialogKindOf(std::string_view ClassName, const vcl::TComponent* Form = nullptr);
/// Whether a captured value (`<class>.<property>=<value>`, as a capture writes it) is a text for
/// translators. It is not when it is the text of an edit, combo or list box in the recorded
/// dialog of its class (content: what the user types or picks, or what the machine fills in) or
/// a text of digits only; every other captured text, size and font is. The class is looked up as
/// DialogKindOf does. Never fails: a line that is no entry, or whose value is no valid literal,
/// is for translation (the checks report what is wrong with it).
bool IsForTranslation(std::string_view CapturedLine, const vcl::TComponent* Form = nullptr);

// ---- Text files and dictionaries on lists ----------------------------------------------------

// What TLumetra's SaveTo, LoadFrom, TranslateTo and TranslateFrom do, on lists the caller
// holds: the translator's methods call these with its owner name, Locale and lists, so the
// editor works on its copies without a translator of its own (making one switches others off).
// OrgProps need not be sorted: its lines count as they would in ordinal order, so the files
// are those the translator writes once it holds the same lines. No line they write holds a raw
// CR, LF or NUL (entries keep such characters in literal form), and no file they write is larger
// than MaxListFileSize.

/// The largest translation text file or dictionary that is written, as the most that is read
/// back: they are read whole into memory.
inline constexpr std::uintmax_t MaxListFileSize = std::uintmax_t(256) << 20;

/// Rewrites the text file AFileName with the lines of owner OwnerName: its lines of Locale and
/// its originals (locale -1) are replaced by Translations and the originals of the translated
/// properties; every other line stays in its place. The file is replaced whole or not at all.
/// A file with a line of another kind raises vcl::EReadError (CheckTextFileLines); an entry or
/// written original with a raw CR, LF or NUL raises vcl::EWriteError naming the file and the
/// entry; a file that would be larger than MaxListFileSize, and file errors, raise EFCreateError
/// / EFOpenError naming the file. The file is then left as it was.
void SaveTo(const std::string& AFileName, std::string_view OwnerName, int Locale, const vcl::TStrings& Translations,
            const vcl::TStrings& OrgProps);
/// Merges the lines of owner OwnerName and Locale into Translations; false, changing nothing,
/// when the file does not exist. A file with a line of another kind raises vcl::EReadError
/// (CheckTextFileLines), changing nothing.
bool LoadFrom(const std::string& AFileName, std::string_view OwnerName, int Locale, TSortList& Translations);
/// Creates or updates the dictionary AFileName from the entries of Translations whose properties
/// OrgProps holds (a later entry of one original text wins), and rewrites it in ordinal order
/// without repeated lines, whole or not at all. A value that is not a valid literal raises
/// EConvertError, a text or a line of the file that holds a NUL raises vcl::EWriteError naming
/// the file and the entry or line, a file that would be larger than MaxListFileSize raises
/// EFCreateError naming it; all before anything is written.
void TranslateTo(const std::string& AFileName, const vcl::TStrings& Translations, const vcl::TStrings& OrgProps);
/// Translates every entry of Translations whose original text (from OrgProps) the dictionary
/// holds; false, changing nothing, when the file does not exist. A value that is not a valid
/// literal, or a translation that would make an entry value longer than MaxValueLength, raises
/// EConvertError (the latter naming the file and the line) and changes nothing.
bool TranslateFrom(const std::string& AFileName, TSortList& Translations, const vcl::TStrings& OrgProps);

// ---- The translator component -------------------------------------------------------------

/// A method reference: a handler bound to an object, and the method's name, by which a form
/// stores it.
template <class... TArgs>
class TMethodRef {
public:
  TMethodRef() = default;
  /// Binds Method of Object; Name is what a form stores for it.
  template <class T>
  TMethodRef(T* Object, void (T::*Method)(TArgs...), std::string Name)
      : FHandler([Object, Method](TArgs... Args) { (Object->*Method)(Args...); }), FName(std::move(Name)) {}
  /// A reference read from a form: the method's name only, with nothing bound yet.
  explicit TMethodRef(std::string Name) : FName(std::move(Name)) {}

  explicit operator bool() const { return FHandler != nullptr || !FName.empty(); }
  const std::string& MethodName() const { return FName; }
  /// Calls the bound handler, if any.
  void operator()(TArgs... Args) const {
    if (FHandler) FHandler(Args...);
  }

private:
  std::function<void(TArgs...)> FHandler;
  std::string FName;
};

/// Raised around a translation: Sender, and Skip to leave the dialog untranslated.
using TTranslateEvent = TMethodRef<vcl::TObject*, bool&>;
/// Raised after a translation: Sender.
using TTranslatedEvent = TMethodRef<vcl::TObject*>;

struct EntryIndex;

/// A dialog that could not be captured: the message says which and why.
class ECaptureError : public vcl::Exception {
public:
  using vcl::Exception::Exception;
};

/// The translator component. Dropped on a form, it makes every common dialog that the
/// application shows through a registered dialog class appear translated from its entries.
/// One translator in the process is in charge (vekInstance); translators that share a
/// nonzero Locale form a locale group and are switched on and off together.
class TLumetra : public vcl::TComponent {
  VCL_DECLARE_CLASS
public:
  /// Becomes the translator in charge, switched on; every translator with a nonzero Locale on
  /// the application's forms is switched off.
  explicit TLumetra(vcl::TComponent* AOwner);
  /// Switches this translator and its locale group off. A translator in charge leaves nobody
  /// in charge, so no hook can reach it once it is gone.
  ~TLumetra() override;

  // Published properties.
  const std::string& About() const { return FAbout; }
  void SetAbout(std::string Value) { FAbout = std::move(Value); }
  const std::string& FileName() const { return FFileName; }
  void SetFileName(std::string Value) { FFileName = std::move(Value); }
  int Locale() const { return FLocale; }
  void SetLocale(int Value) { FLocale = Value; }
  bool Translate() const { return FTranslate; }
  /// Switches this translator and its locale group; switching on also switches every other
  /// group off, and the group member met last on the application's forms ends in charge.
  /// Setting the value it already has changes nothing.
  void SetTranslate(bool Value);
  bool TranslateEmpty() const { return FTranslateEmpty; }
  void SetTranslateEmpty(bool Value) { FTranslateEmpty = Value; }
  /// The translation entries, in ordinal order.
  TSortList* Translations() const { return FTranslations.get(); }
  /// Replaces the entries by the lines of Value with their objects, sorted, equal lines once.
  /// Value may be Translations itself.
  void SetTranslations(const vcl::TStrings* Value);
  /// Whether the form stores Translations: only while there is no translation text file.
  bool StoreTranslationsInForm() const { return FFileName.empty(); }
  const TTranslateEvent& OnTranslate() const { return FOnTranslate; }
  void SetOnTranslate(TTranslateEvent Value) { FOnTranslate = std::move(Value); }
  const TTranslatedEvent& OnTranslated() const { return FOnTranslated; }
  void SetOnTranslated(TTranslatedEvent Value) { FOnTranslated = std::move(Value); }

  /// The untranslated entries captured from the form's dialogs.
  TSortList* OrgProps() const { return FOrgProps.get(); }
  /// While a dialog is captured, the list that receives its entries; not owned.
  vcl::TStrings* CaptureList = nullptr;

  /// Sets this translator's flag alone; switching on makes it the translator in charge.
  void InternalTranslate(bool Value);
  /// Takes the Translate flag of the first other member of its locale group, if any.
  void Loaded() override;

  // Persistence in the form: OrgProps as the defined property "Storage", which also loads and
  // saves the translation text file named by FileName.

  /// Declares "Storage", always written, after the published properties.
  void DefineProperties(vcl::TFiler* Filer) override;
  /// Reads OrgProps from the form, then merges the text file FileName (as given, else in
  /// GetAppDir) if one exists. Stream and file errors pass to the caller.
  void ReadTranslations(vcl::TReader* Reader);
  /// Writes OrgProps to the form, then saves the text file FileName: as given when it names a
  /// folder, else in GetAppDir. Stream and file errors pass to the caller.
  void WriteTranslations(vcl::TWriter* Writer);

  // Translation text files: lines `#0<owner>.<key>%<locale>=<value>` shared by forms and locales.

  /// Rewrites the file: this owner's lines of this Locale and its original lines (locale -1)
  /// are replaced by the entries and the originals of the translated properties; every other
  /// line stays in its place. The file is replaced whole or not at all. Raises what
  /// Vek::SaveTo raises, and then leaves the file as it was.
  void SaveTo(const std::string& AFileName);
  /// Merges this owner's lines of this Locale into Translations; false, changing nothing, when
  /// the file does not exist. Raises what Vek::LoadFrom raises, changing nothing.
  bool LoadFrom(const std::string& AFileName);
  /// The folder a relative FileName is taken from, with a trailing separator: the project's
  /// while designing (from the IDE host), the executable's otherwise.
  std::string GetAppDir() const;
  /// The name that prefixes this translator's lines: the owner's Name, or its class name
  /// without the first character. Raises vcl::Exception when there is no owner.
  std::string OwnerName() const;

  /// Shows the About box (product, version, maker) and returns when it has been closed.
  void ShowAbout();

  // Dictionaries: lines of escaped original, TAB, escaped translation.

  /// Creates or updates the dictionary from the entries whose properties were captured, and
  /// rewrites it in ordinal order without repeated lines, whole or not at all. Raises what
  /// Vek::TranslateTo raises, before anything is written.
  void TranslateTo(const std::string& AFileName);
  /// Translates the entries whose original text the dictionary holds; false, changing nothing,
  /// when the file does not exist. Raises as Vek::TranslateFrom does, changing nothing.
  bool TranslateFrom(const std::string& AFileName);
  /// The escaped form of S: backslash, LF, CR and TAB as two-character sequences.
  static std::string WriteString(std::string_view S);
  /// The unescaped form of S, the exact inverse of WriteString.
  static std::string ReadString(std::string_view S);

  // Applying entries to a shown dialog.

  /// One translation pass over the dialog window hWnd, whose component's class is
  /// OwnerClassName: sets its title, control texts, controls' font, and window and control
  /// sizes and positions from the matching entries, in list order, each size and position as a
  /// screen holds it (OnScreen). Does nothing while the
  /// Translate flag is off. Entries whose id or integer value is not a decimal integer, or
  /// whose value is not a valid literal, are skipped. Never raises.
  void TranslateDialog(HWND hWnd);
  /// Sets the text of the N-th window (from 1) of the sibling chain that starts at First.
  void SetDlgTextOfChild(HWND First, int N, const char* Text);
  /// Gives Font to every window of the chain that starts at First and to all their descendants.
  void SetFontOfChildren(HWND First, HFONT Font);
  /// A font like Font with the face name Name (cut to 31 characters), or Font itself when it
  /// is no font. During a pass the font is the one made for this dialog before, if any.
  HFONT SetFontName(HFONT Font, const std::string& Name);
  /// A font like Font with the character set Charset, or Font itself when it is no font.
  HFONT SetFontCharset(HFONT Font, BYTE Charset);

  // Capturing a dialog's properties.

  /// Shows Dialog in capture mode: its window is described into List, as entries holding the
  /// current values, and closed. A class outside the six dialog families is registered but not
  /// shown. This translator is in charge afterwards, with its Translate flag as before, also
  /// when an exception passes. A message box that the dialog shows before itself (comdlg32's
  /// "no printer" message, which would wait for a user) is closed: then List is left as it was
  /// and ECaptureError names the dialog's class and what the message said.
  void GetDlgProps(vcl::TObject* Dialog, vcl::TStrings* List);
  /// Appends the entries of the dialog window hWnd to CaptureList (nothing without one).
  void GetProps(HWND hWnd);
  /// The face name of Font, or "System" when it is no font (0: the system font).
  static std::string GetFontName(HFONT Font);
  /// The character set of Font, or DEFAULT_CHARSET (1) when it is no font.
  static BYTE GetFontCharset(HFONT Font);

  /// Opens the translations editor (unit VekEdit, lumetra_editor) on this translator, modally;
  /// true when OK handed back a changed copy. The form is freed also when an exception passes.
  bool ShowEditor();

  // Value literals, callable on the class or on an instance.
  static void ConvertToLiterals(std::string& S) { Vek::ConvertToLiterals(S); }
  static void ConvertFromLiterals(std::string& S) { Vek::ConvertFromLiterals(S); }

private:
  bool FTranslate = false;
  std::unique_ptr<TSortList> FTranslations;
  std::string FAbout;
  int FLocale = 0;
  std::string FFileName;
  TTranslateEvent FOnTranslate;
  TTranslatedEvent FOnTranslated;
  bool FTranslateEmpty = false;
  std::unique_ptr<TSortList> FOrgProps;
  std::unique_ptr<EntryIndex> FIndex;  // the entries' positions by class, built on demand
  HWND FPassDialog = nullptr;          // the dialog of the running pass, for its fonts
  int FPassCodePage = 1252;            // the code page of the running pass's texts
};

/// The translator in charge: hooked dialogs are translated and captured through it; nullptr
/// before the first translator is made and after the one in charge is destroyed.
extern TLumetra* vekInstance;

// ---- Dialog class hooking ----------------------------------------------------------------------

/// Everything the interception of dialog windows keeps between two messages, in one place. The
/// unit's globals below are its fields under their own names; the rest is the unit's own.
struct TInterceptionState {
  /// A font made for a shown dialog: kept per dialog and description, deleted with the dialog.
  struct DialogFont {
    HWND Dialog;
    LOGFONTA Description;
    HFONT Font;
  };

  WNDPROC OldWndProc = nullptr;
  int Offset = 0;
  std::string OwnerClassName;
  vcl::TList* ClassRegs = nullptr;
  vcl::TList* OrgDlgProc = nullptr;
  bool DebugDlg = false;
  bool Closing = false;
  vcl::TProcedure OldExitProc = nullptr;
  /// The window whose procedure OldWndProc is, and whether a colour dialog there already had
  /// the activation its first WM_ENTERIDLE gives it.
  HWND Intercepted = nullptr;
  bool ActivatedOnIdle = false;
  /// The fonts made for shown dialogs, and the thread hook that sees their dialogs go.
  std::vector<DialogFont> DialogFonts;
  HHOOK DestroyWatch = nullptr;
  /// The dialog a BiDiMode entry mirrored, so that later passes leave its controls where they are;
  /// forgotten when the interception ends.
  HWND Mirrored = nullptr;

  /// Back to the state of a freshly started unit: every registered class gets its own entry
  /// back, an intercepted window its own procedure, the dialog fonts are deleted, capture mode
  /// and the closing flag are off and no class name is kept. Offset, the registries themselves
  /// and the exit chain stay: they belong to the unit's start and end. Never fails.
  void Reset();
};
/// The one interception state of the process.
extern TInterceptionState Interception;

/// The procedure the intercepted dialog window had before; nullptr when none is intercepted.
extern WNDPROC& OldWndProc;
/// Byte position of the MessageHook entry in a dialog class's table; 0 until first needed.
extern int& Offset;
/// Class name of the dialog component whose window was intercepted last.
extern std::string& OwnerClassName;
/// The registered dialog classes, in registration order, and parallel to them the MessageHook
/// entry each had before.
extern vcl::TList*& ClassRegs;
extern vcl::TList*& OrgDlgProc;
/// Capture mode: intercepted windows are described and closed instead of translated.
extern bool& DebugDlg;
/// Set when the intercepted window closes; keeps the find hook from intercepting until the
/// next dialog is created.
extern bool& Closing;
/// The exit procedure installed before this unit's own.
extern vcl::TProcedure& OldExitProc;

/// Hooks AClass: its MessageHook entry (of this class alone) leads to TFindDlgHook's for find
/// and replace dialogs, to TCommonDlgHook's for the others. False, changing nothing, for
/// nullptr, a class that is no dialog component class, or one already registered.
bool RegisterDialogClass(vcl::TClass AClass);
/// Gives AClass its own entry back; false when it was not registered.
bool UnRegisterDialogClass(vcl::TClass AClass);
/// Gives every registered class its own entry back (nothing once the unit has ended).
void UnRegisterDialogClasses();
/// Registers the class of every dialog component on the forms (while designing: on the form
/// of the translator in charge), one level deep.
void RegisterDialogComponents();
/// The message (WM_USER + 300) that ComDlgProc answers with 1 and never passes on.
inline constexpr UINT WithheldMessage = 1324;
/// The window procedure of the intercepted dialog window. An exception of a translation or a
/// capture is kept and the dialog cancelled, so that its Execute raises it.
LRESULT CALLBACK ComDlgProc(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam);
/// The exit procedure: gives every registered class its entry back.
void RestoreDialogClasses();
/// The unit's initialization part: chains the exit procedure, creates the class registries
/// and registers TLumetra for form streaming. Runs at program start, or from a package's
/// Initialize. Never fails.
void UnitInitialization();
/// The unit's finalization part: restores what the exit procedure would (when it has not run),
/// takes back an intercepted window and the class registration. Never fails.
void UnitFinalization();

/// The class name entries use for the common dialog that the window Dialog is ("TOpenDialog",
/// "TSaveDialog", "TFontDialog", "TColorDialog", "TPrintDialog", "TPrinterSetupDialog",
/// "TPageSetupDialog", "TFindDialog", "TReplaceDialog"), judged from its window class and its
/// controls' ids and kinds, never from its texts; a file dialog's template child gives the file
/// dialog's kind. Never fails: "" for nullptr and for any window that is no common dialog.
std::string DialogKindOfWindow(HWND Dialog);

/// Supplies the MessageHook entry of registered dialog classes; never instantiated.
class TCommonDlgHook : public vcl::TCommonDialog {
  VCL_DECLARE_CLASS
public:
  using vcl::TCommonDialog::TCommonDialog;
  /// Intercepts the active dialog window on WM_WINDOWPOSCHANGED (the colour dialog's on
  /// WM_ENTERIDLE) after the class library's own handling, whose answer it returns.
  static bool MessageHook(vcl::TCommonDialog* Self, vcl::TMessage& Msg);
};

/// Supplies the MessageHook entry of registered find and replace dialog classes.
class TFindDlgHook : public vcl::TFindDialog {
  VCL_DECLARE_CLASS
public:
  using vcl::TFindDialog::TFindDialog;
  /// Intercepts the window that takes the focus (WM_KILLFOCUS) unless the last one closed and
  /// no new dialog was created since (WM_CREATE).
  static bool MessageHook(vcl::TCommonDialog* Self, vcl::TMessage& Msg);
};

/// Merges the lines of a capture into Originals, the way captured values are kept: a line whose
/// key Originals does not hold yet is added, into a TSortList at its sorted place, into any
/// other list at the end; a key already there keeps its value. A capture describes its dialog
/// once per activation, so of a key it repeats only the first line counts. Answers the number of
/// lines added.
int MergeCapture(vcl::TStrings& Originals, const vcl::TStrings& Captured);

/// The number of fonts made for shown dialogs and not yet released.
int LiveDialogFontCount();

/// The screen's pixels per inch, as the device context of Window (0: the screen) answers them;
/// 96 when it answers none.
int ScreenPixelsPerInch(HWND Window);
/// Value * Num / Den rounded to the nearest, halves away from zero, as MulDiv rounds; Value for
/// a Den that is not positive.
int Rescaled(int Value, int Num, int Den);
/// The height of a font described for FromDpi as the same font is described for ToDpi: a
/// character height (negative) through its point size, rounded as dialogs round it (8 points are
/// -11 at 96 dpi, -16 at 144), a cell height (positive) scaled; 0 stays 0.
int FontHeightAt(int Height, int FromDpi, int ToDpi);

/// Calls Action for every translator on the application's forms and data modules, in the order
/// of the application's components and then of theirs (one level deep).
void ForEachTranslator(const std::function<void(TLumetra*)>& Action);

// ---- About box and timed message -----------------------------------------------------------------

/// How long a timed message keeps its OK button disabled after each activation, in milliseconds.
inline constexpr DWORD TimedMessageDelay = 1500;
/// The milliseconds clock the timed message reads (32-bit, wrapping); GetTickCount unless a test
/// puts another in.
extern DWORD (*TimedMessageClock)();
/// The About text: four lines joined by CR LF, the third empty, no line end after the fourth.
std::string AboutText();
/// Shows a modal message form with Caption and Text whose OK button is enabled once
/// TimedMessageDelay has passed after the form's latest activation. Closing it by other means
/// before TimedMessageDelay has passed since the call began leaves it open; the application
/// quitting (WM_QUIT) ends it at once. An exception while it is built or shown frees it and
/// passes on.
void ShowTimedMessage(const std::string& Caption, const std::string& Text);

// ---- Design-time registration --------------------------------------------------------------------

/// Registers TLumetra with the IDE host: its property editors for About, FileName and
/// Translations, its component editor, and its place on the palette page "Brevane". The host
/// names the module being registered (design::TCurrentModule) and drops these registrations
/// before it unloads the module.
void Register();

/// How the Help verb reaches the system, replaceable by tests. Exec runs a command line with a
/// show command (Windows: WinExec); Open opens a document with the system's handler, shown.
/// Both ignore failures.
struct THelpSystem {
  void (*Exec)(const std::string& CommandLine, int Show);
  void (*Open)(const std::string& Document);
};
extern THelpSystem HelpSystem;
/// The name of the help document shipped next to the module.
inline constexpr const char* HelpDocument = "Vek.html";
/// The folder of the module (program, shared library or DLL) that holds unit Vek, with a
/// trailing separator; "" when it cannot be told.
std::string ModuleDir();
/// Opens the help kept in Folder (with a trailing separator): on Windows "VEK.HLP" in the help
/// viewer, shown, by its full path, when that file exists; otherwise HelpDocument with the
/// system's handler when that exists. Nothing happens when neither exists; failures are ignored.
void ShowHelp(const std::string& Folder);

}  // namespace Vek
