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

protected:
  /// Runs Show (which shows a modal comdlg32 dialog owned by the main window) with the
  /// owner-side messages delivered to MessageHook; raises a hook's exception afterwards.
  bool RunModal(const std::function<bool()>& Show);
  static bool HookThunk(void* Data, TMessage& Message);
  friend class TDialogWatch;
  HWND FHandle = nullptr;
};

/// Option flags of the file dialogs (a set held in an unsigned value).
enum TOpenOption : unsigned {
  ofReadOnly = 1u << 0,
  ofOverwritePrompt = 1u << 1,
  ofHideReadOnly = 1u << 2,
  ofNoChangeDir = 1u << 3,
  ofPathMustExist = 1u << 4,
  ofFileMustExist = 1u << 5,
  ofEnableSizing = 1u << 6,
};
using TOpenOptions = unsigned;

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
  const std::string& DefaultExt() const { return FDefaultExt; }
  void SetDefaultExt(std::string Value) { FDefaultExt = std::move(Value); }
  TOpenOptions Options() const { return FOptions; }
  void SetOptions(TOpenOptions Value) { FOptions = Value; }

protected:
  bool RunFileDialog(const char* Kind);

private:
  std::string FFileName, FInitialDir, FTitle, FFilter, FDefaultExt;
  TOpenOptions FOptions = ofHideReadOnly | ofEnableSizing;
};

/// The file-save dialog.
class TSaveDialog : public TOpenDialog {
  VCL_DECLARE_CLASS
public:
  using TOpenDialog::TOpenDialog;
  static bool ExecuteEntry(TCommonDialog* Self);
};

/// The font dialog: starts from and returns a face name, character set and height.
class TFontDialog : public TCommonDialog {
  VCL_DECLARE_CLASS
public:
  using TCommonDialog::TCommonDialog;
  static bool ExecuteEntry(TCommonDialog* Self);

  const std::string& FontName() const { return FFontName; }
  void SetFontName(std::string Value) { FFontName = std::move(Value); }
  std::uint8_t FontCharset() const { return FFontCharset; }
  void SetFontCharset(std::uint8_t Value) { FFontCharset = Value; }
  /// The height as LOGFONTA's lfHeight (negative: character height in pixels).
  int FontHeight() const { return FFontHeight; }
  void SetFontHeight(int Value) { FFontHeight = Value; }

private:
  std::string FFontName = "Tahoma";
  std::uint8_t FFontCharset = DEFAULT_CHARSET;
  int FFontHeight = -11;
};

/// The colour dialog.
class TColorDialog : public TCommonDialog {
  VCL_DECLARE_CLASS
public:
  using TCommonDialog::TCommonDialog;
  static bool ExecuteEntry(TCommonDialog* Self);

  COLORREF Color() const { return FColor; }
  void SetColor(COLORREF Value) { FColor = Value; }

private:
  COLORREF FColor = 0;
};

/// The print dialog.
class TPrintDialog : public TCommonDialog {
  VCL_DECLARE_CLASS
public:
  using TCommonDialog::TCommonDialog;
  static bool ExecuteEntry(TCommonDialog* Self);
  int Copies() const { return FCopies; }

private:
  int FCopies = 1;
};

/// The printer-setup dialog.
class TPrinterSetupDialog : public TCommonDialog {
  VCL_DECLARE_CLASS
public:
  using TCommonDialog::TCommonDialog;
  static bool ExecuteEntry(TCommonDialog* Self);
};

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
  /// FR_DOWN, FR_WHOLEWORD, FR_MATCHCASE as the dialog reports them.
  DWORD Options() const { return FOptions; }
  void SetOptions(DWORD Value) { FOptions = Value; }
  /// Posts WM_CLOSE to the dialog when it is open.
  void CloseDialog();

  std::function<void(TObject* Sender)> OnFind, OnReplace, OnClose;

protected:
  bool ShowModeless(const char* Kind);
  virtual void TakeReplaceText(const char*) {}

private:
  void Detach();
  std::string FFindText;
  DWORD FOptions = FR_DOWN;
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
