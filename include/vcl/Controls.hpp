// The visual part of the class library: fonts, events bound by method name, TControl,
// TWinControl, TGraphicControl and TCustomForm with its modal loop and keyboard handling.
#pragma once

#include <any>
#include <cstdint>
#include <exception>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "vcl/Classes.hpp"
#include "win/api.h"

namespace vcl {

class TControl;
class TWinControl;
class TCustomForm;

/// An operation a control cannot do in its state (focusing a hidden control, a window that
/// cannot be created).
class EInvalidOperation : public Exception {
public:
  using Exception::Exception;
};

/// A colour: an RGB value, or a system colour (0x80000000 + the COLOR_ index).
using TColor = std::int32_t;
inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clWhite = 0xFFFFFF;
inline constexpr TColor clWindow = static_cast<TColor>(0x80000005);
inline constexpr TColor clWindowText = static_cast<TColor>(0x80000008);
inline constexpr TColor clBtnFace = static_cast<TColor>(0x8000000F);
inline constexpr TColor clBtnText = static_cast<TColor>(0x80000012);
inline constexpr TColor clDefault = 0x20000000;

/// The identifiers of the colours (clBlack, clBtnFace, ...) and of the character sets
/// (DEFAULT_CHARSET, ...), as form streams hold such values.
TIdentMap ColorIdents();
TIdentMap CharsetIdents();

/// A mouse cursor; negative values are the stock cursors.
using TCursor = int;
inline constexpr TCursor crDefault = 0;
inline constexpr TCursor crNone = -1;
inline constexpr TCursor crArrow = -2;
inline constexpr TCursor crCross = -3;
inline constexpr TCursor crIBeam = -4;
inline constexpr TCursor crSize = -5;
inline constexpr TCursor crSizeNESW = -6;
inline constexpr TCursor crSizeNS = -7;
inline constexpr TCursor crSizeNWSE = -8;
inline constexpr TCursor crSizeWE = -9;
inline constexpr TCursor crUpArrow = -10;
inline constexpr TCursor crHourGlass = -11;
inline constexpr TCursor crNoDrop = -13;
inline constexpr TCursor crNo = -18;
inline constexpr TCursor crAppStart = -19;
inline constexpr TCursor crHelp = -20;
inline constexpr TCursor crHandPoint = -21;
inline constexpr TCursor crSizeAll = -22;

/// Modal results, as the buttons of a form answer.
using TModalResult = int;
inline constexpr TModalResult mrNone = 0;
inline constexpr TModalResult mrOk = 1;
inline constexpr TModalResult mrCancel = 2;
inline constexpr TModalResult mrAbort = 3;
inline constexpr TModalResult mrRetry = 4;
inline constexpr TModalResult mrIgnore = 5;
inline constexpr TModalResult mrYes = 6;
inline constexpr TModalResult mrNo = 7;
inline constexpr TModalResult mrAll = 8;

/// The shift keys and mouse buttons held during a key or mouse event.
using TShiftState = unsigned;
inline constexpr TShiftState ssShift = 1u << 0;
inline constexpr TShiftState ssAlt = 1u << 1;
inline constexpr TShiftState ssCtrl = 1u << 2;
inline constexpr TShiftState ssLeft = 1u << 3;

enum TAlignment : std::uint8_t { taLeftJustify = 0, taRightJustify = 1, taCenter = 2 };

/// Font styles, a set.
using TFontStyles = unsigned;
inline constexpr TFontStyles fsBold = 1u << 0;
inline constexpr TFontStyles fsItalic = 1u << 1;
inline constexpr TFontStyles fsUnderline = 1u << 2;
inline constexpr TFontStyles fsStrikeOut = 1u << 3;

/// A font: face name, height in pixels (negative: character height), colour, style and
/// character set. Size is the height in points at 96 dots per inch.
class TFont : public TPersistent {
  VCL_DECLARE_CLASS
public:
  TFont();
  ~TFont() override;
  const std::string& Name() const { return FName; }
  void SetName(const std::string& Value);
  int Height() const { return FHeight; }
  void SetHeight(int Value);
  int Size() const;
  void SetSize(int Value);
  TColor Color() const { return FColor; }
  void SetColor(TColor Value);
  TFontStyles Style() const { return FStyle; }
  void SetStyle(TFontStyles Value);
  std::uint8_t Charset() const { return FCharset; }
  void SetCharset(std::uint8_t Value);
  /// Copies name, height, colour, style and character set from another TFont.
  void Assign(const TPersistent* Source) override;
  /// The font object for windows, made on first use and remade after a change.
  HFONT Handle();
  /// Called after every change.
  std::function<void()> OnChange;
  bool operator==(const TFont& Other) const;

private:
  void Changed();
  std::string FName = "MS Sans Serif";
  int FHeight = -11;
  TColor FColor = clWindowText;
  TFontStyles FStyle = 0;
  std::uint8_t FCharset = DEFAULT_CHARSET;
  HFONT FHandle = nullptr;
};

// ---- Events ----------------------------------------------------------------------------------

/// An event property of a stored form before its method is known: it is bound by name against
/// the published methods of the form's class once the form is read.
class TEventBase {
public:
  TEventBase() = default;
  explicit TEventBase(std::string Name) : FName(std::move(Name)) {}
  virtual ~TEventBase() = default;
  const std::string& MethodName() const { return FName; }
  /// Binds the event to Root's published method of its name; nothing for an event without a
  /// name. Raises EReadError naming the method and the class when Root's class has no method
  /// of that name, or one whose parameters do not fit the event.
  virtual void Bind(TComponent* Root) = 0;

protected:
  std::string FName;
};

/// The published methods of a class, by name: each held as std::function<void(TComponent*,
/// Args...)>, called with the instance.
void RegisterMethod(TClass AClass, std::string Name, std::any Method);
/// Forgets every method published for AClass itself: a module that published methods calls it
/// before it is unloaded, so that no entry keeps code of the module.
void UnRegisterMethods(TClass AClass);
/// The method of that name of AClass or an ancestor, or nullptr.
const std::any* FindMethod(TClass AClass, std::string_view Name);

/// Publishes T::Method under Name, so that stored forms bind event properties to it:
///   PublishMethod(c, "BtnOKClick", &TDlgEditor::BtnOKClick);   // in the class's setup
template <class T, class... Args>
void PublishMethod(TMetaClass& Class, std::string Name, void (T::*Method)(Args...)) {
  RegisterMethod(&Class, std::move(Name), std::function<void(TComponent*, Args...)>([Method](TComponent* Self, Args... A) {
                   (static_cast<T*>(Self)->*Method)(std::forward<Args>(A)...);
                 }));
}

/// An event: a method of an object to call, or a method name waiting to be bound.
template <class... Args>
class TEvent : public TEventBase {
public:
  using TFunction = std::function<void(Args...)>;
  TEvent() = default;
  explicit TEvent(std::string Name) : TEventBase(std::move(Name)) {}
  /// A method of Object; Name is what a form stream would store.
  template <class T>
  TEvent(T* Object, void (T::*Method)(Args...), std::string Name = {})
      : TEventBase(std::move(Name)), FCall([Object, Method](Args... A) { (Object->*Method)(std::forward<Args>(A)...); }) {}
  /// Any callable (tests, forms built in code).
  TEvent(TFunction Call, std::string Name = {}) : TEventBase(std::move(Name)), FCall(std::move(Call)) {}

  explicit operator bool() const { return static_cast<bool>(FCall); }
  void operator()(Args... A) const {
    if (FCall) FCall(std::forward<Args>(A)...);
  }
  void Bind(TComponent* Root) override {
    if (FName.empty()) return;
    const std::any* found = Root ? FindMethod(Root->ClassType(), FName) : nullptr;
    const std::string where = Root ? Root->ClassName() : std::string("nil");
    if (!found) throw EReadError("Method " + FName + " not found in " + where);
    const auto* method = std::any_cast<std::function<void(TComponent*, Args...)>>(found);
    if (!method) throw EReadError("Method " + FName + " of " + where + " does not fit the event's parameters");
    FCall = [m = *method, Root](Args... A) { m(Root, std::forward<Args>(A)...); };
  }

private:
  TFunction FCall;
};

using TNotifyEvent = TEvent<TObject*>;
/// Key down: the key can be changed; 0 means handled, nothing else sees it.
using TKeyEvent = TEvent<TObject*, WORD&, TShiftState>;
using TKeyPressEvent = TEvent<TObject*, char&>;
using TMouseMoveEvent = TEvent<TObject*, TShiftState, int, int>;

/// Keeps an exception an event handler raised inside a window procedure, so that none crosses
/// it; the first is kept until taken.
void KeepEventException(std::exception_ptr Error);
/// The kept exception, cleared; nullptr when none.
std::exception_ptr TakeEventException();
/// Raises the kept exception, if any.
void RaiseEventException();
bool EventExceptionPending();

/// The window that owns every form's window (the application's main window); forms are
/// unowned while it is not set.
extern HWND (*FormOwnerWindow)();

/// The stock cursor Cursor stands for (crDefault and unknown values: the arrow; crNone: none).
HCURSOR CursorHandle(TCursor Cursor);
/// Screen->Cursor: shown at once and kept over every control until set back to crDefault.
TCursor ScreenCursor();
void SetScreenCursor(TCursor Value);

/// How hints show (TApplication's HintPause, HintHidePause, HintShortPause and ShowHint), in ms.
struct THintSettings {
  int Pause = 500;       // the mouse rests this long on a control before its hint shows
  int HidePause = 2500;  // a shown hint goes after this long
  int ShortPause = 50;   // moving from one hinted control to another shows its hint after this
  bool Active = true;    // false: no hint shows
  bool operator==(const THintSettings&) const = default;
};
const THintSettings& HintSettings();
/// Takes Value and hands it to the hint window, if there is one.
void SetHintSettings(const THintSettings& Value);
/// The application's one tooltip window (TTS_ALWAYSTIP), owned by FormOwnerWindow and made when
/// the first control with ShowHint and a Hint gets a window; nullptr before.
HWND HintWindow();
/// Takes down the hint that shows (or is about to).
void CancelHint();
class TControl;
/// The control whose hint shows, or in the simulation would show once the mouse rested on it
/// for the pause; nullptr when none.
TControl* HintControl();

// ---- Controls --------------------------------------------------------------------------------

/// What a control's window is made of, filled by CreateParams.
struct TCreateParams {
  std::string ClassName;
  DWORD Style = 0;
  DWORD ExStyle = 0;
};

/// A visual element: position and size in its parent's client area, caption, visibility,
/// state, hint, font and colour. Its state lives in the object and is handed to its window
/// when the window is created and read back when it goes, so a control can lose and regain
/// its window without losing anything.
class TControl : public TComponent {
  VCL_DECLARE_CLASS
public:
  /// A control made while its owner is read from a form has that owner as parent.
  explicit TControl(TComponent* AOwner);
  ~TControl() override;

  TWinControl* Parent() const { return FParent; }
  /// Moves the control into AParent (nullptr: out of any); its window follows.
  virtual void SetParent(TWinControl* AParent);

  int Left() const { return FLeft; }
  int Top() const { return FTop; }
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  void SetLeft(int Value) { SetBounds(Value, FTop, FWidth, FHeight); }
  void SetTop(int Value) { SetBounds(FLeft, Value, FWidth, FHeight); }
  void SetWidth(int Value) { SetBounds(FLeft, FTop, Value, FHeight); }
  void SetHeight(int Value) { SetBounds(FLeft, FTop, FWidth, Value); }
  virtual void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);
  /// The control's rectangle in its parent's client area, as its window has it (its bounds
  /// without a window).
  RECT BoundsRect() const;

  /// The caption (labels, buttons, forms) or text (edits); the window's text while it has one.
  std::string Caption() const;
  virtual void SetCaption(std::string Value);
  std::string Text() const { return Caption(); }
  void SetText(std::string Value) { SetCaption(std::move(Value)); }
  /// The caption as UTF-16, with the characters the ANSI code page lacks: the window's text
  /// while it has one, else the one set last (SetCaption's bytes read in the system's ANSI code
  /// page). Setting it leaves Caption() the ANSI form, "?" for each character the page lacks;
  /// the text itself goes to the window and survives a window made again. Never fails.
  /// Controls whose SetCaption does more (labels, tab pages) take their captions as ANSI only.
  std::u16string CaptionW() const;
  void SetCaptionW(std::u16string Value);
  std::u16string TextW() const { return CaptionW(); }
  void SetTextW(std::u16string Value) { SetCaptionW(std::move(Value)); }

  bool Visible() const { return FVisible; }
  virtual void SetVisible(bool Value);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  bool Enabled() const { return FEnabled; }
  virtual void SetEnabled(bool Value);
  const std::string& Hint() const { return FHint; }
  void SetHint(std::string Value);
  bool ShowHint() const { return FShowHint; }
  void SetShowHint(bool Value);
  TFont* Font() const { return FFont.get(); }
  void SetFont(const TFont* Value) { FFont->Assign(Value); }
  /// Whether the control uses its parent's font; setting the font clears it.
  bool ParentFont() const { return FParentFont; }
  void SetParentFont(bool Value);
  TColor Color() const { return FColor; }
  void SetColor(TColor Value);
  int Tag() const { return FTag; }
  void SetTag(int Value) { FTag = Value; }
  TCursor Cursor() const { return FCursor; }
  void SetCursor(TCursor Value) { FCursor = Value; }

  const TNotifyEvent& OnClick() const { return FOnClick; }
  void SetOnClick(TNotifyEvent Value) { FOnClick = std::move(Value); }

  /// Runs OnClick, as a click of the user does.
  virtual void Click();
  /// The window of this control, or nullptr while it has none.
  HWND WindowHandle() const { return FHandle; }
  bool HandleAllocated() const { return FHandle != nullptr; }
  /// The control's form: the first TCustomForm among it and its parents, or nullptr.
  TCustomForm* ParentForm() const;
  /// Binds every event of this control to Root's published methods (see TEventBase::Bind).
  void BindEvents(TComponent* Root);

  /// The control whose window is Hwnd (subclassed by the layer), or nullptr.
  static TControl* FromHandle(HWND Hwnd);

protected:
  /// Declares an event so that stored forms bind it.
  void AddEvent(TEventBase& Event) { FEvents.push_back(&Event); }
  /// What the window is made of; the base gives WS_CHILD, WS_VISIBLE and WS_DISABLED by state.
  virtual void CreateParams(TCreateParams& Params);
  /// Creates the window (and the parent's first), hands it the state, and creates the windows
  /// of the children. Raises EInvalidOperation naming the control when it has no parent form
  /// or the window cannot be created.
  virtual void CreateHandle();
  /// Hands the object's state to the new window (texts, checks, items, selection).
  virtual void WriteState() {}
  /// Takes the window's state back into the object before the window goes.
  virtual void ReadState();
  /// Destroys the window after reading its state back.
  virtual void DestroyHandle();
  /// Handles a message of the control's window; the default calls the window's own procedure.
  virtual LRESULT WndProc(UINT Msg, WPARAM WParam, LPARAM LParam);
  LRESULT DefaultHandler(UINT Msg, WPARAM WParam, LPARAM LParam);
  /// A WM_COMMAND notification the parent received from this control's window.
  virtual void CNCommand(WORD Code) { (void)Code; }
  /// A WM_NOTIFY notification the parent received from this control's window.
  virtual LRESULT CNNotify(NMHDR& Header) {
    (void)Header;
    return 0;
  }
  /// The colour the control has when none is set (not stored then).
  virtual TColor DefaultColor() const { return clBtnFace; }
  /// Alt + the control's mnemonic was pressed: act as a click or focus; false to pass it on.
  virtual bool DoMnemonic() { return false; }
  /// For the form's Enter and Esc: a push button, the default button, the cancel button.
  virtual bool IsPushButton() const { return false; }
  virtual bool IsDefaultButton() const { return false; }
  virtual bool IsCancelButton() const { return false; }
  /// Makes Hwnd this control's window: subclasses it, gives it the font and the state.
  void AttachWindow(HWND Hwnd);
  /// Makes the window a tool of the hint window while ShowHint and Hint say it has a hint.
  void UpdateHintTool();
  /// The font this control shows: its own, or its parent's while ParentFont.
  TFont* EffectiveFont() const;
  void FontChanged();
  /// The control's mnemonic: the character after a single "&" of its caption, upper case; 0.
  char Mnemonic() const;
  void SetFieldCaption(std::string Value) { FCaption = std::move(Value); }

  HWND FHandle = nullptr;
  WNDPROC FDefProc = nullptr;
  bool FReadingBack = false;
  bool FWritingText = false;  // a new window is given the UTF-16 caption: no notifications

private:
  friend class TWinControl;
  friend class TCustomForm;
  static LRESULT CALLBACK ControlWndProc(HWND Hwnd, UINT Msg, WPARAM WParam, LPARAM LParam);
  bool StoreFont() const;
  bool StoreColor() const { return FColor != DefaultColor(); }
  std::uint8_t FontCharset() const { return FFont->Charset(); }
  void SetFontCharset(std::uint8_t V) { FFont->SetCharset(V); }
  TColor FontColor() const { return FFont->Color(); }
  void SetFontColor(TColor V) { FFont->SetColor(V); }
  int FontHeight() const { return FFont->Height(); }
  void SetFontHeight(int V) { FFont->SetHeight(V); }
  int FontSize() const { return FFont->Size(); }
  void SetFontSize(int V) { FFont->SetSize(V); }
  std::string FontName() const { return FFont->Name(); }
  void SetFontName(std::string V) { FFont->SetName(V); }
  TFontStyles FontStyle() const { return FFont->Style(); }
  void SetFontStyle(TFontStyles V) { FFont->SetStyle(V); }

  TWinControl* FParent = nullptr;
  int FLeft = 0, FTop = 0, FWidth = 0, FHeight = 0;
  std::string FCaption;
  std::optional<std::u16string> FCaptionW;  // the caption when its bytes would lose characters
  bool FVisible = true;
  bool FEnabled = true;
  std::string FHint;
  bool FShowHint = false;
  std::unique_ptr<TFont> FFont;
  bool FParentFont = true;
  bool FSettingParentFont = false;
  TColor FColor = clBtnFace;
  int FTag = 0;
  TCursor FCursor = crDefault;
  TNotifyEvent FOnClick;
  std::vector<TEventBase*> FEvents;
};

/// A control with a window of its own that can take the focus and hold other controls.
class TWinControl : public TControl {
  VCL_DECLARE_CLASS
public:
  explicit TWinControl(TComponent* AOwner);
  ~TWinControl() override;

  /// The window, created (with those of the parents) on first use.
  HWND Handle();
  /// The controls whose parent this is, in the order they were put in.
  const std::vector<TControl*>& Controls() const { return FControls; }
  int ControlCount() const { return static_cast<int>(FControls.size()); }

  /// The position among the parent's windowed controls in keyboard order (0 first); -1 without
  /// a parent. Setting it moves the others up or down, as the class library does.
  int TabOrder() const;
  void SetTabOrder(int Value);
  bool TabStop() const { return FTabStop; }
  void SetTabStop(bool Value) { FTabStop = Value; }
  /// Whether the control and its parents are visible and enabled.
  bool CanFocus() const;
  /// Gives the control the keyboard focus (creating the windows); EInvalidOperation "Cannot
  /// focus a disabled or invisible window" naming the control otherwise.
  virtual void SetFocus();
  bool Focused() const;

  const TNotifyEvent& OnEnter() const { return FOnEnter; }
  void SetOnEnter(TNotifyEvent Value) { FOnEnter = std::move(Value); }
  const TNotifyEvent& OnExit() const { return FOnExit; }
  void SetOnExit(TNotifyEvent Value) { FOnExit = std::move(Value); }
  const TKeyEvent& OnKeyDown() const { return FOnKeyDown; }
  void SetOnKeyDown(TKeyEvent Value) { FOnKeyDown = std::move(Value); }
  const TKeyPressEvent& OnKeyPress() const { return FOnKeyPress; }
  void SetOnKeyPress(TKeyPressEvent Value) { FOnKeyPress = std::move(Value); }

  /// The windowed controls of this control and its children that Tab visits, in Tab order.
  void GetTabOrderList(std::vector<TWinControl*>& List);
  /// Whether the control takes Key itself rather than letting the form use it (Tab, Enter,
  /// Esc, arrows); the default asks the window (WM_GETDLGCODE).
  virtual bool WantsKey(WORD Key);

protected:
  void CreateHandle() override;
  void DestroyHandle() override;
  LRESULT WndProc(UINT Msg, WPARAM WParam, LPARAM LParam) override;
  /// OnKeyDown of the form (KeyPreview) and of the control; false when the key was taken.
  virtual bool DoKeyDown(WORD& Key, TShiftState Shift);
  virtual bool DoKeyPress(char& Key);
  /// The window to create the children's windows in (a notebook's page area).
  virtual HWND ChildParentHandle() { return Handle(); }
  virtual void DoEnter() { FOnEnter(this); }
  virtual void DoExit() { FOnExit(this); }
  /// Puts the children in the Tab order their form file gave (read in any order).
  void Loaded() override;

private:
  friend class TControl;
  friend class TCustomForm;
  int FLoadedTabOrder = -1;
  std::vector<TControl*> FControls;
  std::vector<TWinControl*> FTabList;
  bool FTabStop = false;
  char FSwallowChar = 0;
  TNotifyEvent FOnEnter, FOnExit;
  TKeyEvent FOnKeyDown;
  TKeyPressEvent FOnKeyPress;
};

/// A control without keyboard focus, shown by a static window of its own (labels, bevels).
class TGraphicControl : public TControl {
  VCL_DECLARE_CLASS
public:
  using TControl::TControl;
};

/// Shift state of the keys as the key messages left them.
TShiftState KeyShiftState();

// ---- Forms -----------------------------------------------------------------------------------

enum TFormBorderStyle : std::uint8_t { bsNone = 0, bsSingle = 1, bsSizeable = 2, bsDialog = 3, bsToolWindow = 4, bsSizeToolWin = 5 };
using TBorderIcons = unsigned;
inline constexpr TBorderIcons biSystemMenu = 1u << 0;
inline constexpr TBorderIcons biMinimize = 1u << 1;
inline constexpr TBorderIcons biMaximize = 1u << 2;
inline constexpr TBorderIcons biHelp = 1u << 3;
enum TPosition : std::uint8_t { poDesigned = 0, poDefault = 1, poDefaultPosOnly = 2, poDefaultSizeOnly = 3, poScreenCenter = 4 };
enum TCloseAction : std::uint8_t { caNone = 0, caHide = 1, caFree = 2, caMinimize = 3 };
using TCloseEvent = TEvent<TObject*, TCloseAction&>;
using TCloseQueryEvent = TEvent<TObject*, bool&>;

/// A top-level window holding controls: border, position, client size, the active control,
/// keyboard handling (Tab order, default and cancel buttons, mnemonics) and the modal loop.
class TCustomForm : public TWinControl {
  VCL_DECLARE_CLASS
public:
  explicit TCustomForm(TComponent* AOwner);
  ~TCustomForm() override;

  TFormBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TFormBorderStyle Value) { FBorderStyle = Value; }
  TBorderIcons BorderIcons() const { return FBorderIcons; }
  void SetBorderIcons(TBorderIcons Value) { FBorderIcons = Value; }
  TPosition Position() const { return FPosition; }
  void SetPosition(TPosition Value) { FPosition = Value; }
  int ClientWidth() const;
  int ClientHeight() const;
  void SetClientWidth(int Value);
  void SetClientHeight(int Value);
  /// Pixels per inch the form was designed at; the layer does not scale.
  int PixelsPerInch() const { return 96; }
  void SetPixelsPerInch(int) {}
  int TextHeight() const { return FTextHeight; }
  void SetTextHeight(int Value) { FTextHeight = Value; }

  TWinControl* ActiveControl() const { return FActiveControl; }
  /// Makes Value the focused control (when the form is shown; else the first one focused).
  void SetActiveControl(TWinControl* Value);
  bool KeyPreview() const { return FKeyPreview; }
  void SetKeyPreview(bool Value) { FKeyPreview = Value; }
  TModalResult ModalResult() const { return FModalResult; }
  void SetModalResult(TModalResult Value) { FModalResult = Value; }

  /// Shows the form modally: the other windows of the application are disabled, messages are
  /// dispatched until ModalResult is set (a button with a ModalResult, Close, Esc), then the
  /// form is hidden and the windows enabled again. Returns ModalResult. An exception raised by
  /// a handler meanwhile ends the loop the same way and is raised here.
  virtual TModalResult ShowModal();
  /// Shows (creating the window, activating it and focusing ActiveControl) or hides the form.
  void SetVisible(bool Value) override;
  /// Asks OnCloseQuery, runs OnClose, then hides the form (a modal form ends with mrCancel
  /// unless a result is set).
  void Close();
  bool Modal() const { return FModal; }
  /// The component named Name owned by the form, as T; EInvalidOperation naming it when it is
  /// missing or of another class (a stored form that does not match its class).
  template <class T>
  T* Field(std::string_view Name) const {
    TComponent* c = FindComponent(Name);
    if (!c || !c->Is<T>())
      throw EInvalidOperation("Form " + ClassName() + " has no " + T::StaticClass()->ClassName() + " named " + std::string(Name));
    return static_cast<T*>(c);
  }

  /// Moves the focus to the next (or previous) control in Tab order after Current.
  void SelectNext(TWinControl* Current, bool Forward);
  /// Handles Tab, Enter and Esc for the form; true when it did.
  virtual bool DialogKey(WORD Key, TShiftState Shift);
  /// Handles Alt+Char (a mnemonic); true when a control took it.
  virtual bool DialogChar(char Char);

  const TNotifyEvent& OnCreate() const { return FOnCreate; }
  void SetOnCreate(TNotifyEvent Value) { FOnCreate = std::move(Value); }
  const TNotifyEvent& OnDestroy() const { return FOnDestroy; }
  void SetOnDestroy(TNotifyEvent Value) { FOnDestroy = std::move(Value); }
  const TNotifyEvent& OnShow() const { return FOnShow; }
  void SetOnShow(TNotifyEvent Value) { FOnShow = std::move(Value); }
  const TNotifyEvent& OnActivate() const { return FOnActivate; }
  void SetOnActivate(TNotifyEvent Value) { FOnActivate = std::move(Value); }
  const TCloseEvent& OnClose() const { return FOnClose; }
  void SetOnClose(TCloseEvent Value) { FOnClose = std::move(Value); }
  const TCloseQueryEvent& OnCloseQuery() const { return FOnCloseQuery; }
  void SetOnCloseQuery(TCloseQueryEvent Value) { FOnCloseQuery = std::move(Value); }

  /// The focus moved to Control (a window of this form): OnExit of the previous active control,
  /// OnEnter of the new one.
  void FocusChanged(TWinControl* Control);
  /// Runs OnCreate; the constructor of a form read from a stored form calls it at its end.
  void DoCreate();

protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateHandle() override;
  LRESULT WndProc(UINT Msg, WPARAM WParam, LPARAM LParam) override;
  void DefineProperties(TFiler* Filer) override;
  /// Reads the stored form of this form's class (its resource named after the class in
  /// capitals), binds its events and runs OnCreate. Raises EReadError naming the resource.
  void InitInheritedComponent();

private:
  friend class TControl;
  friend void AdoptStoredComponents(TComponent* Root);
  // The frame around the client area that the border style and icons give.
  RECT FrameSize() const;
  bool CloseQuery();
  TFormBorderStyle FBorderStyle = bsSizeable;
  TBorderIcons FBorderIcons = biSystemMenu | biMinimize | biMaximize;
  TPosition FPosition = poDesigned;
  int FClientWidth = 0, FClientHeight = 0;
  int FTextHeight = 0;
  TWinControl* FActiveControl = nullptr;
  std::string FActiveControlName;  // from a form file, resolved once every control is read
  bool FKeyPreview = false;
  TModalResult FModalResult = mrNone;
  bool FModal = false;
  TNotifyEvent FOnCreate, FOnDestroy, FOnShow, FOnActivate;
  TCloseEvent FOnClose;
  TCloseQueryEvent FOnCloseQuery;
};

// ---- Stored forms ----------------------------------------------------------------------------

/// Registers the binary form stream of a class under its resource name (the class name in
/// capitals) for systems without resources; generated byte tables call it at start-up.
struct TFormResource {
  TFormResource(const char* Name, const unsigned char* Data, std::size_t Size);
  /// Takes the table back unless another registration of the name replaced it since: a module
  /// that is unloaded leaves no view of its bytes behind.
  ~TFormResource();
  TFormResource(const TFormResource&) = delete;
  TFormResource& operator=(const TFormResource&) = delete;

private:
  const char* FName;
  const unsigned char* FData;
};
/// The binary form stream of the resource Name: the module's RCDATA on Windows, the registered
/// byte table elsewhere. Empty when there is none.
std::string_view FindFormResource(const std::string& Name);
/// Reads the resource named after Instance's class into Instance. False when there is none;
/// EReadError for a faulty stream.
bool ReadComponentRes(const std::string& ResName, TComponent* Instance);
/// Gives every named component read below Root to Root as owner (keeping parents), as forms of
/// the class library own all their controls, and binds every event to Root's methods.
void AdoptStoredComponents(TComponent* Root);
/// Checks that every component of a form read from a stream is of a registered class and that
/// every property is known; EReadError naming the component, the property and Where otherwise.
void CheckStoredForm(TComponent* Root, const std::string& Where);

}  // namespace vcl
