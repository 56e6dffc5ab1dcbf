// The common dialog components: TCommonDialog and the open, save, font, colour, print, printer
// setup, find and replace dialogs.
//
// While a dialog runs, the messages of its owner side reach the component's MessageHook, which
// dispatches through the replaceable entry of the component's class: replacing the entry of one
// class changes exactly the instances of that class. src/dialogs/common_dialog.cpp describes the
// messages and their order.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "vcl/Forms.hpp"

namespace vcl {

class TDialogWatch;
struct TModelessRun;

/// The base of the dialog components.
class TCommonDialog : public TComponent {
  VCL_DECLARE_CLASS
public:
  /// The type of the entries at MessageHookSlot(): the handler of an owner-side message;
  /// answers true when it handled the message.
  using TMessageHookEntry = bool (*)(TCommonDialog* Self, TMessage& Msg);
  /// The type of the entries at ExecuteSlot(): shows the dialog, answers whether the user
  /// confirmed it.
  using TExecuteEntry = bool (*)(TCommonDialog* Self);

  using TComponent::TComponent;

  /// Shows the dialog through the Execute entry of this object's class. Modal dialogs return
  /// true when the user confirmed them; find and replace return at once. An exception raised by
  /// a message hook while the dialog ran closes the dialog and is raised here.
  virtual bool Execute();
  /// Handles an owner-side message through the MessageHook entry of this object's class.
  bool MessageHook(TMessage& Msg);

  /// The class library's own Execute (shows nothing, answers false) and message handler
  /// (handles nothing, answers false): the initial entries of TCommonDialog.
  static bool ExecuteEntry(TCommonDialog* Self);
  static bool MessageHookEntry(TCommonDialog* Self, TMessage& Msg);

  /// The slots of the two entries in every dialog class's table (MessageHookSlot() > 0).
  static int ExecuteSlot();
  static int MessageHookSlot();

  /// The dialog window while it is shown, else nullptr.
  HWND Handle() const { return FHandle; }

  /// Kept and stored for the forms that set them; the dialogs look the same either way.
  bool Ctl3D() const { return FCtl3D; }
  void SetCtl3D(bool Value) { FCtl3D = Value; }
  int HelpContext() const { return FHelpContext; }
  void SetHelpContext(int Value) { FHelpContext = Value; }

protected:
  /// Runs Show (which shows a modal comdlg32 dialog owned by the main window) with the
  /// owner-side messages delivered to MessageHook; raises a hook's exception afterwards.
  bool RunModal(const std::function<bool()>& Show);
  static bool HookThunk(void* Data, TMessage& Message);
  friend class TDialogWatch;
  HWND FHandle = nullptr;

private:
  bool FCtl3D = true;
  int FHelpContext = 0;
};

/// Option flags of the file dialogs, a set: bit n is the element n of the class library's
/// TOpenOptions, as forms name them.
enum TOpenOption : unsigned {
  ofReadOnly = 1u << 0,
  ofOverwritePrompt = 1u << 1,
  ofHideReadOnly = 1u << 2,
  ofNoChangeDir = 1u << 3,
  ofShowHelp = 1u << 4,
  ofNoValidate = 1u << 5,
  ofAllowMultiSelect = 1u << 6,
  ofExtensionDifferent = 1u << 7,
  ofPathMustExist = 1u << 8,
  ofFileMustExist = 1u << 9,
  ofCreatePrompt = 1u << 10,
  ofShareAware = 1u << 11,
  ofNoReadOnlyReturn = 1u << 12,
  ofNoTestFileCreate = 1u << 13,
  ofNoNetworkButton = 1u << 14,
  ofNoLongNames = 1u << 15,
  ofOldStyleDialog = 1u << 16,
  ofNoDereferenceLinks = 1u << 17,
  ofEnableIncludeNotify = 1u << 18,
  ofEnableSizing = 1u << 19,
  ofDontAddToRecent = 1u << 20,
  ofForceShowHidden = 1u << 21,
};
using TOpenOptions = unsigned;
/// The further options of the file dialogs, a set.
enum TOpenOptionEx : unsigned { ofExNoPlacesBar = 1u << 0 };
using TOpenOptionsEx = unsigned;

/// The file-open dialog.
class TOpenDialog : public TCommonDialog {
  VCL_DECLARE_CLASS
public:
  using TCommonDialog::TCommonDialog;
  static bool ExecuteEntry(TCommonDialog* Self);

  const std::string& FileName() const { return FFileName; }
  void SetFileName(std::string Value) { FFileName = std::move(Value); }
  const std::string& InitialDir() const { return FInitialDir; }
  void SetInitialDir(std::string Value) { FInitialDir = std::move(Value); }
  /// The dialog's title; empty for the system's own.
  const std::string& Title() const { return FTitle; }
  void SetTitle(std::string Value) { FTitle = std::move(Value); }
  /// Filter pairs separated by "|": "Text files|*.txt|All files|*.*".
  const std::string& Filter() const { return FFilter; }
  void SetFilter(std::string Value) { FFilter = std::move(Value); }
  /// The filter pair shown first, counted from 1; the one the user picked after Execute.
  int FilterIndex() const { return FFilterIndex; }
  void SetFilterIndex(int Value) { FFilterIndex = Value; }
  const std::string& DefaultExt() const { return FDefaultExt; }
  void SetDefaultExt(std::string Value) { FDefaultExt = std::move(Value); }
  TOpenOptions Options() const { return FOptions; }
  void SetOptions(TOpenOptions Value) { FOptions = Value; }
  TOpenOptionsEx OptionsEx() const { return FOptionsEx; }
  void SetOptionsEx(TOpenOptionsEx Value) { FOptionsEx = Value; }

protected:
  bool RunFileDialog(const char* Kind);

private:
  std::string FFileName, FInitialDir, FTitle, FFilter, FDefaultExt;
  int FFilterIndex = 1;
  TOpenOptions FOptions = ofHideReadOnly | ofEnableSizing;
  TOpenOptionsEx FOptionsEx = 0;
};

/// The file-save dialog.
class TSaveDialog : public TOpenDialog {
  VCL_DECLARE_CLASS
public:
  using TOpenDialog::TOpenDialog;
  static bool ExecuteEntry(TCommonDialog* Self);
};

/// Which fonts the font dialog lists.
enum TFontDialogDevice : std::uint8_t { fdScreen = 0, fdPrinter = 1, fdBoth = 2 };
/// Option flags of the font dialog, a set: bit n is the element n of TFontDialogOptions.
enum TFontDialogOption : unsigned {
  fdAnsiOnly = 1u << 0,
  fdTrueTypeOnly = 1u << 1,
  fdEffects = 1u << 2,
  fdFixedPitchOnly = 1u << 3,
  fdForceFontExist = 1u << 4,
  fdNoFaceSel = 1u << 5,
  fdNoOEMFonts = 1u << 6,
  fdNoSimulations = 1u << 7,
  fdNoSizeSel = 1u << 8,
  fdNoStyleSel = 1u << 9,
  fdNoVectorFonts = 1u << 10,
  fdShowHelp = 1u << 11,
  fdWysiwyg = 1u << 12,
  fdLimitSize = 1u << 13,
  fdScalableOnly = 1u << 14,
  fdApplyButton = 1u << 15,
};
using TFontDialogOptions = unsigned;

/// The font dialog: starts from and returns its Font (face, character set, height, style and,
/// with fdEffects, colour).
class TFontDialog : public TCommonDialog {
  VCL_DECLARE_CLASS
public:
  explicit TFontDialog(TComponent* AOwner);
  ~TFontDialog() override;
  static bool ExecuteEntry(TCommonDialog* Self);

  TFont* Font() const { return FFont.get(); }
  void SetFont(const TFont* Value) { FFont->Assign(Value); }
  const std::string& FontName() const { return FFont->Name(); }
  void SetFontName(std::string Value) { FFont->SetName(Value); }
  std::uint8_t FontCharset() const { return FFont->Charset(); }
  void SetFontCharset(std::uint8_t Value) { FFont->SetCharset(Value); }
  /// The height as LOGFONTA's lfHeight (negative: character height in pixels).
  int FontHeight() const { return FFont->Height(); }
  void SetFontHeight(int Value) { FFont->SetHeight(Value); }
  TFontDialogDevice Device() const { return FDevice; }
  void SetDevice(TFontDialogDevice Value) { FDevice = Value; }
  /// The sizes in points the dialog offers, with fdLimitSize.
  int MinFontSize() const { return FMinFontSize; }
  void SetMinFontSize(int Value) { FMinFontSize = Value; }
  int MaxFontSize() const { return FMaxFontSize; }
  void SetMaxFontSize(int Value) { FMaxFontSize = Value; }
  TFontDialogOptions Options() const { return FOptions; }
  void SetOptions(TFontDialogOptions Value) { FOptions = Value; }

private:
  // Font.Color and Font.Style as published, through the font.
  TColor FontColor() const { return FFont->Color(); }
  void SetFontColor(TColor Value) { FFont->SetColor(Value); }
  TFontStyles FontStyle() const { return FFont->Style(); }
  void SetFontStyle(TFontStyles Value) { FFont->SetStyle(Value); }

  std::unique_ptr<TFont> FFont;
  TFontDialogDevice FDevice = fdScreen;
  int FMinFontSize = 0, FMaxFontSize = 0;
  TFontDialogOptions FOptions = fdEffects;
};

/// Option flags of the colour dialog, a set: bit n is the element n of TColorDialogOptions.
enum TColorDialogOption : unsigned {
  cdFullOpen = 1u << 0,
  cdPreventFullOpen = 1u << 1,
  cdShowHelp = 1u << 2,
  cdSolidColor = 1u << 3,
  cdAnyColor = 1u << 4,
};
using TColorDialogOptions = unsigned;

/// The colour dialog.
class TColorDialog : public TCommonDialog {
  VCL_DECLARE_CLASS
public:
  explicit TColorDialog(TComponent* AOwner);
  ~TColorDialog() override;
  static bool ExecuteEntry(TCommonDialog* Self);

  TColor Color() const { return FColor; }
  void SetColor(TColor Value) { FColor = Value; }
  /// The sixteen custom colours, as lines "ColorA=RRGGBB" ... "ColorP=RRGGBB" (hexadecimal,
  /// in the byte order of a COLORREF); a colour without a line is white. Execute writes all
  /// sixteen back when the user confirms.
  TStrings* CustomColors() const { return FCustomColors.get(); }
  void SetCustomColors(TStrings* Value) { FCustomColors->Assign(Value); }
  TColorDialogOptions Options() const { return FOptions; }
  void SetOptions(TColorDialogOptions Value) { FOptions = Value; }

private:
  TColor FColor = clBlack;
  std::unique_ptr<TStringList> FCustomColors;
  TColorDialogOptions FOptions = 0;
};

/// Option flags of the print dialog, a set: bit n is the element n of TPrintDialogOptions.
/// poPageNums and poSelection offer those ranges, poDisablePrintToFile greys the check box,
/// poHelp shows Help; poPrintToFile and poWarning are kept and stored (the check box always
/// shows and the dialog always warns).
enum TPrintDialogOption : unsigned {
  poPrintToFile = 1u << 0,
  poPageNums = 1u << 1,
  poSelection = 1u << 2,
  poWarning = 1u << 3,
  poHelp = 1u << 4,
  poDisablePrintToFile = 1u << 5,
};
using TPrintDialogOptions = unsigned;
/// What the print dialog prints.
enum TPrintRange : std::uint8_t { prAllPages = 0, prSelection = 1, prPageNums = 2 };

/// The print dialog.
class TPrintDialog : public TCommonDialog {
  VCL_DECLARE_CLASS
public:
  using TCommonDialog::TCommonDialog;
  static bool ExecuteEntry(TCommonDialog* Self);

  bool Collate() const { return FCollate; }
  void SetCollate(bool Value) { FCollate = Value; }
  /// The number of copies; 0 shows 1.
  int Copies() const { return FCopies; }
  void SetCopies(int Value) { FCopies = Value; }
  int FromPage() const { return FFromPage; }
  void SetFromPage(int Value) { FFromPage = Value; }
  int ToPage() const { return FToPage; }
  void SetToPage(int Value) { FToPage = Value; }
  int MinPage() const { return FMinPage; }
  void SetMinPage(int Value) { FMinPage = Value; }
  int MaxPage() const { return FMaxPage; }
  void SetMaxPage(int Value) { FMaxPage = Value; }
  TPrintDialogOptions Options() const { return FOptions; }
  void SetOptions(TPrintDialogOptions Value) { FOptions = Value; }
  TPrintRange PrintRange() const { return FPrintRange; }
  void SetPrintRange(TPrintRange Value) { FPrintRange = Value; }
  bool PrintToFile() const { return FPrintToFile; }
  void SetPrintToFile(bool Value) { FPrintToFile = Value; }

private:
  bool FCollate = false, FPrintToFile = false;
  int FCopies = 0, FFromPage = 0, FToPage = 0, FMinPage = 0, FMaxPage = 0;
  TPrintDialogOptions FOptions = 0;
  TPrintRange FPrintRange = prAllPages;
};

/// The printer-setup dialog.
class TPrinterSetupDialog : public TCommonDialog {
  VCL_DECLARE_CLASS
public:
  using TCommonDialog::TCommonDialog;
  static bool ExecuteEntry(TCommonDialog* Self);
};

/// Option flags of the find and replace dialogs, a set: bit n is the element n of
/// TFindOptions. frFindNext, frReplace and frReplaceAll tell what the user last asked for.
enum TFindOption : unsigned {
  frDown = 1u << 0,
  frFindNext = 1u << 1,
  frHideMatchCase = 1u << 2,
  frHideWholeWord = 1u << 3,
  frHideUpDown = 1u << 4,
  frMatchCase = 1u << 5,
  frDisableMatchCase = 1u << 6,
  frDisableUpDown = 1u << 7,
  frDisableWholeWord = 1u << 8,
  frReplace = 1u << 9,
  frReplaceAll = 1u << 10,
  frWholeWord = 1u << 11,
  frShowHelp = 1u << 12,
};
using TFindOptions = unsigned;

/// The modeless find dialog. Execute shows it (or brings the shown one forward) and returns at
/// once; the dialog reports through the main window while it stays open.
class TFindDialog : public TCommonDialog {
  VCL_DECLARE_CLASS
public:
  explicit TFindDialog(TComponent* AOwner);
  /// Closes a dialog that is still open.
  ~TFindDialog() override;
  static bool ExecuteEntry(TCommonDialog* Self);
  /// The class library's own handling of find and replace: the dialog's reports (find next,
  /// replace, replace all, closed) through the registered message "commdlg_FindReplace".
  static bool MessageHookEntry(TCommonDialog* Self, TMessage& Msg);

  const std::string& FindText() const { return FFindText; }
  void SetFindText(std::string Value) { FFindText = std::move(Value); }
  /// The options the dialog starts with, and those it reported last.
  TFindOptions Options() const { return FOptions; }
  void SetOptions(TFindOptions Value) { FOptions = Value; }
  /// Posts WM_CLOSE to the dialog when it is open.
  void CloseDialog();

  std::function<void(TObject* Sender)> OnFind, OnReplace, OnClose;

protected:
  bool ShowModeless(const char* Kind);
  virtual void TakeReplaceText(const char*) {}

private:
  void Detach();
  std::string FFindText;
  TFindOptions FOptions = frDown;
  std::unique_ptr<TModelessRun> FRun;
};

/// The modeless replace dialog.
class TReplaceDialog : public TFindDialog {
  VCL_DECLARE_CLASS
public:
  using TFindDialog::TFindDialog;
  static bool ExecuteEntry(TCommonDialog* Self);

  const std::string& ReplaceText() const { return FReplaceText; }
  void SetReplaceText(std::string Value) { FReplaceText = std::move(Value); }

protected:
  void TakeReplaceText(const char* Text) override { FReplaceText = Text; }

private:
  std::string FReplaceText;
};

/// Registers the dialog classes with RegisterClass, so that form streaming can construct them
/// by name. Runs once, when the application object is first used.
void RegisterCommonDialogClasses();

/// Shows Dialog for an instant: Act sees its window once it is up (a modal dialog on its loop's
/// first idle, when it is set up and painted and no input has reached it; a find or replace
/// dialog once Execute showed it), and then the dialog is cancelled. A file dialog is shown
/// without changing the current folder and keeps its options. Answers whether Act ran (false
/// when the dialog did not show). What Act raises is raised again once the dialog is closed.
bool ShowDialogOnce(TCommonDialog& Dialog, const std::function<void(HWND)>& Act);

// ---- Message and input boxes of the class library ----------------------------------------------

enum TMsgDlgType : std::uint8_t { mtWarning = 0, mtError = 1, mtInformation = 2, mtConfirmation = 3, mtCustom = 4 };
/// The buttons of a message box, a set.
using TMsgDlgButtons = unsigned;
inline constexpr TMsgDlgButtons mbYes = 1u << 0;
inline constexpr TMsgDlgButtons mbNo = 1u << 1;
inline constexpr TMsgDlgButtons mbOK = 1u << 2;
inline constexpr TMsgDlgButtons mbCancel = 1u << 3;
inline constexpr TMsgDlgButtons mbAbort = 1u << 4;
inline constexpr TMsgDlgButtons mbRetry = 1u << 5;
inline constexpr TMsgDlgButtons mbIgnore = 1u << 6;
inline constexpr TMsgDlgButtons mbYesNoCancel = mbYes | mbNo | mbCancel;
inline constexpr TMsgDlgButtons mbOKCancel = mbOK | mbCancel;

/// Shows Msg in a modal form captioned by its type ("Warning", "Error", "Information",
/// "Confirm"; the application's name for mtCustom) with the buttons asked for, in the order
/// Yes, No, OK, Cancel, Abort, Retry, Ignore; the first is the default button, Cancel (else No,
/// else the only button) answers Esc. Returns the button's result (mrYes, mrNo, mrOk, ...), or
/// mrCancel when the form is closed otherwise.
TModalResult MessageDlg(const std::string& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx);
/// A message with an OK button, captioned with the application's name.
void ShowMessage(const std::string& Msg);
/// Asks for a line of text: a form captioned ACaption with APrompt above an edit holding Value.
/// True and Value changed when the user pressed OK; false and Value unchanged otherwise.
bool InputQuery(const std::string& ACaption, const std::string& APrompt, std::string& Value);

}  // namespace vcl
