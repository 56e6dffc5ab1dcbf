// Unit VekEdit: the translations editor TDlgEditor, a modal form built from its stored form
// TDLGEDITOR, with which a developer edits the entries of one TLumetra.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "Vek.hpp"
#include "vcl/Dialogs.hpp"
#include "vcl/ExtCtrls.hpp"
#include "vcl/Forms.hpp"
#include "vcl/StdCtrls.hpp"
#include "vcl/TabNotBk.hpp"

namespace VekEdit {

/// The platform dialogs the editor opens (file, font, message and input boxes), in one place so
/// that tests and scripted runs can answer them. The base class shows the real ones.
class TEditorDialogs {
public:
  virtual ~TEditorDialogs() = default;
  /// Runs a file or font dialog component; true when the user chose a file or font.
  virtual bool Execute(vcl::TCommonDialog& Dialog);
  virtual vcl::TModalResult MessageDlg(const std::string& Msg, vcl::TMsgDlgType DlgType, vcl::TMsgDlgButtons Buttons,
                                       int HelpCtx);
  /// True and Value changed when the user pressed OK.
  virtual bool InputQuery(const std::string& ACaption, const std::string& APrompt, std::string& Value);
};

/// The dialogs every editor uses: the real ones unless SetEditorDialogs replaced them.
TEditorDialogs& EditorDialogs();
/// Makes Dialogs the ones every editor uses (nullptr: the real ones again) and returns the
/// previous replacement (nullptr when there was none). Never fails.
TEditorDialogs* SetEditorDialogs(TEditorDialogs* Dialogs);

class TDlgEditor;

/// What fitting a dialog proposes (TEditorPreview::Fit).
struct TFitProposal {
  /// Whether the class has a dialog to fit at all.
  bool HasDialog = false;
  /// The entry lines the fit wrote, each replacing the entry of its key or new.
  std::vector<std::string> Written;
  /// The texts that could not be made to fit, one line each, `key: error: reason` (the reason
  /// names the DPI and the work area).
  std::vector<std::string> Unfitted;
};

/// The window beside the editor that shows the current key's dialog translated by the working
/// copy, with its faults outlined in red and listed. Programs that link the editor's preview
/// part have it; the editor then has a Preview button.
class TEditorPreview {
public:
  virtual ~TEditorPreview() = default;
  /// Shows the window (it does not take the focus from the editor).
  virtual void Show() = 0;
  virtual bool Showing() const = 0;
  /// Draws the dialog of ClassName after Entries (the working copy's lines) and lists the
  /// faults the checks find against the captured values Originals; an empty ClassName (no
  /// current key) or a class without a dialog to draw leaves the picture empty and says why.
  virtual void Update(const std::string& ClassName, const std::vector<std::string>& Entries,
                      const std::vector<std::string>& Originals) = 0;
  /// Proposes the sizes and positions that make every text of ClassName's dialog fit at 96 dpi
  /// and at the screen's DPI, within the work area, for Entries and Originals as Update takes
  /// them. The texts it could not fit lead the fault list of Update whenever the class's
  /// entries are those the proposal leaves. A class without a dialog proposes nothing.
  virtual TFitProposal Fit(const std::string& ClassName, const std::vector<std::string>& Entries,
                           const std::vector<std::string>& Originals) = 0;
};
/// Makes the preview window of an editor; the window's controls are owned by the editor.
using TPreviewMaker = std::unique_ptr<TEditorPreview> (*)(TDlgEditor& Editor);
/// Makes Maker the one every editor made afterwards uses (nullptr: no preview) and returns the
/// previous one. Never fails.
TPreviewMaker SetPreviewMaker(TPreviewMaker Maker);

/// Where the editor keeps its per-user settings: HKEY_CURRENT_USER key and section.
inline constexpr const char* SettingsKey = "Software\\Brevane";
inline constexpr const char* SettingsSection = "Korrin";

/// The translations editor. It works on a copy of Translator's two lists and hands the copy
/// back on OK, only when it changed. Every handler is public, so that a script or a test drives
/// it as the user's clicks and keys would; a handler that fails shows the error through
/// EditorDialogs() and leaves the working copy, the lists on screen and the cursor as they were.
class TDlgEditor : public vcl::TForm {
  VCL_DECLARE_CLASS
public:
  /// Reads the stored form TDLGEDITOR, makes the file and font dialogs and runs FormCreate.
  /// Raises EReadError naming the resource when the stored form is missing or faulty.
  explicit TDlgEditor(vcl::TComponent* AOwner);
  ~TDlgEditor() override;

  /// The component being edited; set before the form is shown. Not owned.
  Vek::TLumetra* Translator = nullptr;
  /// The key shown first, with its dialog in the preview where the editor has one; set before
  /// the form is shown. Empty, or a key PropList does not list: the editor opens as usual.
  std::string StartKey;

  // Controls of the stored form.
  vcl::TButton* BtnOK;
  vcl::TButton* BtnCancel;
  vcl::TTabbedNotebook* FormNotebook;
  vcl::TListBox* PropList;
  vcl::TButton* BtnNew;
  vcl::TButton* BtnRemove;
  vcl::TMemo* EdtOrgTranslation;
  vcl::TMemo* EdtTranslation;
  vcl::TLabel* LblTot;
  vcl::TLabel* LblLocalized;
  vcl::TCheckBox* CkxMove;
  vcl::TLabel* LblDisplayFont;
  vcl::TButton* BtnDisplayFont;
  vcl::TLabel* LblEditFont;
  vcl::TButton* BtnEditFont;
  vcl::TRadioGroup* GroupReadingOrder;
  vcl::TListBox* ListAvail;
  vcl::TLabel* LblSelected;
  vcl::TButton* BtnIncludeProp;
  vcl::TButton* BtnRescan;
  vcl::TLabel* LblTranslate;
  vcl::TButton* BtnTranslate;
  vcl::TLabel* LblExport;
  vcl::TButton* BtnExport;
  vcl::TLabel* LblLoad;
  vcl::TButton* BtnLoad;
  vcl::TLabel* LblSave;
  vcl::TButton* BtnSave;
  /// Opens the preview window (F5 in the key list and the translation box too); made in code
  /// beside New and Remove, and only when the program has the preview (else nullptr).
  vcl::TButton* BtnPreview = nullptr;
  /// Fits the current key's dialog: the sizes and positions that make its texts fit go into
  /// the working copy; made beside BtnPreview, and only with it.
  vcl::TButton* BtnFit = nullptr;
  /// Takes the current key's translation as reviewed, clearing its fuzzy mark; made in code
  /// below the translation box, enabled while the current key is fuzzy.
  vcl::TButton* BtnAccept = nullptr;
  // The form's dialogs (made in code: dialog components are not part of stored forms here).
  vcl::TFontDialog* FontDialog1;
  vcl::TOpenDialog* OpenDialog1;
  vcl::TSaveDialog* SaveDialog1;

  // Form lifecycle.
  void FormCreate(vcl::TObject* Sender);
  void FormShow(vcl::TObject* Sender);
  void FormDestroy(vcl::TObject* Sender);
  /// Stores a pending edit; the close box asks Cancel's question when something changed.
  void FormCloseQuery(vcl::TObject* Sender, bool& CanClose);
  /// Gives the application its hint pause back.
  void FormClose(vcl::TObject* Sender, vcl::TCloseAction& Action);
  void BtnOKClick(vcl::TObject* Sender);
  void BtnCancelClick(vcl::TObject* Sender);
  void FormNotebookChange(vcl::TObject* Sender, int NewTab, bool& AllowChange);

  // Translations page.
  void PropListClick(vcl::TObject* Sender);
  void PropListKeyDown(vcl::TObject* Sender, WORD& Key, vcl::TShiftState Shift);
  void EdtTranslationKeyDown(vcl::TObject* Sender, WORD& Key, vcl::TShiftState Shift);
  void EdtTranslationExit(vcl::TObject* Sender);
  void BtnNewClick(vcl::TObject* Sender);
  void BtnRemoveClick(vcl::TObject* Sender);
  /// Shows the preview window and draws the current key's dialog in it.
  void BtnPreviewClick(vcl::TObject* Sender);
  /// Stores a pending edit, puts the entries that make the current key's dialog fit into the
  /// working copy (new keys listed as New lists them) and shows the preview with the result;
  /// a message says when there was nothing to fit.
  void BtnFitClick(vcl::TObject* Sender);
  /// Redraws the shown preview with the text being typed.
  void EdtTranslationChange(vcl::TObject* Sender);
  /// Stores a pending edit and clears the current key's fuzzy mark.
  void BtnAcceptClick(vcl::TObject* Sender);

  // Dialogs page.
  void ListAvailClick(vcl::TObject* Sender);
  void ListAvailMouseMove(vcl::TObject* Sender, vcl::TShiftState Shift, int X, int Y);
  void BtnIncludePropClick(vcl::TObject* Sender);
  void BtnRescanClick(vcl::TObject* Sender);

  // Dictionary page.
  void BtnTranslateClick(vcl::TObject* Sender);
  void BtnExportClick(vcl::TObject* Sender);
  void BtnLoadClick(vcl::TObject* Sender);
  void BtnSaveClick(vcl::TObject* Sender);

  // Options, fonts and reading order.
  void CkxMoveClick(vcl::TObject* Sender);
  void BtnEditFontClick(vcl::TObject* Sender);
  void BtnDisplayFontClick(vcl::TObject* Sender);
  void GroupReadingOrderClick(vcl::TObject* Sender);

  /// Rebuilds PropList from the working entries and ListAvail from the captured values not
  /// translated yet (each key once), keeping the current key.
  void RefreshPropList();
  /// The index of the first line of List that is the entry for Text (Text followed by "=") or
  /// equals Text; -1 when there is none and for an empty Text.
  static int GetPropIndex(const std::string& Text, const vcl::TStrings& List);
  /// True when Value begins with "'" or "#": a string in literal form.
  static bool IsStringLiteral(const std::string& Value);
  /// Deselects every item of PropList.
  void RemoveSelection();
  /// What PropList shows after a fuzzy key: its translation came from a message marked for
  /// review (Translate from a PO or XLIFF file) and was neither edited nor accepted since.
  static constexpr const char* FuzzyMark = " (fuzzy)";
  /// Whether Key (exact) is fuzzy.
  bool IsFuzzy(const std::string& Key) const { return FFuzzy.count(Key) != 0; }
  /// The key of PropList's item at Index: its text without the fuzzy mark.
  std::string KeyAt(int Index) const;
  /// Captures the dialogs on the form whose class was not captured yet, merging each capture
  /// into the captured values as it is made.
  void UpdateOrgProps();

  // The working copy, for scripts and tests.
  bool Modified() const { return FModified; }
  const Vek::TSortList& TransList() const { return *FTransList; }
  const vcl::TStringList& OrgList() const { return *FOrgList; }
  const vcl::TStringList& DlgClasses() const { return *FDlgClasses; }
  const std::string& CurText() const { return FCurText; }
  /// The working copy with the translation box's text in the shown key's entry, stored as
  /// leaving the box would store it.
  std::vector<std::string> PendingEntries() const;
  /// The preview window once BtnPreviewClick made it, else nullptr.
  TEditorPreview* Preview() const { return FPreview.get(); }
  /// The ANSI code page that decides how keys act in a right-to-left translation box: the
  /// system's (1252 in the simulation); settable for tests.
  int CodePage() const { return FCodePage; }
  void SetCodePage(int Value) { FCodePage = Value; }

private:
  // Captures the dialogs whose class is new; answers the number of captured lines added. A
  // dialog that could not be captured (Vek::ECaptureError) leaves the others to be captured;
  // then one ECaptureError says which, one a line.
  int CaptureDialogs();
  // The current key of PropList, or empty when there is none.
  std::string CurrentKey() const;
  // Positions of entries by key, in the working copy (exact keys).
  int TransIndex(const std::string& Key) const;
  int OrgIndex(const std::string& Key) const;
  void IndexOrgList();
  // The captured value of Key (literal form), or empty.
  std::string OrgValue(const std::string& Key) const;
  // Whether Key was captured as content (Vek::IsForTranslation says no): while its entry holds no
  // translation, it is neither counted nor stopped at as untranslated.
  bool IsContent(const std::string& Key) const;
  // Whether the entry at Index of the working copy shows an empty text.
  bool ShowsEmpty(int Index) const;
  // The entry line a key starts with when it is included or added: "=", "=''" or the captured
  // value (a captured size one less, as capture adds one).
  std::string InitialValuePart(const std::string& Key) const;
  // Stores an edit of the translation box when there is one (EdtTranslationExit's work).
  void StorePendingEdit();
  // For Cancel and the close box: stores the edit, and answers whether there is a change to
  // discard (an edit that cannot be stored is one).
  bool StoreBeforeDiscarding();
  // Text typed for the shown key as its entry keeps it (literal form where needed).
  std::string StoredText(std::string Text) const;
  // The code pages a key's texts are shown and typed in: its class's among the captured
  // values, and its class's among the translations (the captured values' Font.Charset where
  // the translations have none for the class).
  int OrgCodePage(const std::string& Key) const;
  int TransCodePage(const std::string& Key) const;
  // The translation box's text in the shown key's code page; EConvertError naming the first
  // character the page lacks, and the page, when there is one.
  std::string TypedText() const;
  // Makes BtnPreview when the program has the preview; redraws the preview when it shows.
  void MakePreviewButton();
  void MakeAcceptButton();
  // The PropList item of Key (keys compared without regard to case, as items are), or -1.
  int ItemOfKey(const std::string& Key) const;
  // Marks Key fuzzy or clears its mark, in PropList too (the item keeps its selection).
  void SetFuzzy(const std::string& Key, bool Fuzzy);
  void UpdatePreview();
  // The class of the shown key (empty without one) and the captured values, as the preview
  // takes them.
  std::string ShownClass() const;
  std::vector<std::string> Originals() const;
  // Puts entry lines into the working copy, each replacing the entry of its key; a new key is
  // listed and no longer available, as New does it.
  void TakeEntries(const std::vector<std::string>& Lines);
  // Moves the current key by PageUp or PageDown.
  void MoveCurrent(bool Forward);
  // Makes StartKey the current key and shows its preview.
  void ShowStartKey();
  void SetModified() { FModified = true; }
  // Runs Action; an exception is shown and the screen cursor is put back.
  template <class F>
  void Guarded(F&& Action);
  void ShowError(const std::string& Message);
  void ReadSettings();
  void RestoreHintPause();
  // Dictionary page: runs a file operation on the working copy, the dialog offering Filter.
  // An operation that takes a file into the working copy names the keys it took fuzzy, which
  // replace the marks there were.
  using TFileOperation = std::function<bool(const std::string& FileName, Vek::TSortList& Work, std::vector<std::string>& Fuzzy)>;
  void FileOperation(vcl::TOpenDialog& Dialog, const vcl::TLabel& Title, const std::string& Filter, bool TakesBack,
                     const TFileOperation& Operation);

  bool FModified = false;
  std::string FCurText;
  vcl::TStringList* FOrgList = nullptr;
  std::string FSelectedFmt;
  int FHintItem = 0;
  vcl::TStringList* FDlgClasses = nullptr;
  Vek::TSortList* FTransList = nullptr;

  std::string FShownKey;      // the key PropListClick showed last: edits are stored in its entry
  std::string FCurLine;       // the shown key's entry as it was when the key became current
  int FShownPage = 1252;      // the code page the translation box shows the shown key's text in
  bool FHasCurLine = false;   // whether the shown key had an entry then
  bool FShownFuzzy = false;   // whether the shown key was fuzzy then (Escape marks it again)
  bool FCloseDecided = false; // OK or Cancel decided how the form closes; no question on close
  std::optional<int> FSavedHintPause;
  int FCodePage = 1252;
  std::unordered_map<std::string, int> FOrgIndex;  // key -> first line of FOrgList
  std::uint64_t FOrgIndexed = ~std::uint64_t{0};   // FOrgList's change count FOrgIndex reflects
  std::unordered_map<std::string, int> FListed;    // PropList's items, case folded, with counts
  std::unordered_set<std::string> FAvail;          // ListAvail's items, case folded
  std::unique_ptr<TEditorPreview> FPreview;        // made on first use of the button or F5
  // The fuzzy keys. They live as long as the editor is open: entries and the form have no place
  // for them, so OK hands back the translations only, and Export is the way to keep them.
  // Translate and Load replace them with those of the file they take.
  std::unordered_set<std::string> FFuzzy;
  vcl::TObject FFuzzyItem;  // the object of a fuzzy key's PropList item: tells the mark from a key's own text
};

/// Opens the editor on Translator at the key Key (see TDlgEditor::StartKey); answers whether
/// the user changed the translations (OK with a change).
bool ShowEditorAt(Vek::TLumetra& Translator, const std::string& Key);

}  // namespace VekEdit
