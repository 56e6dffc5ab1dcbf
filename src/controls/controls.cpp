// Fonts, events bound by name, TControl, TWinControl and TGraphicControl: windows made from the
// objects' state, messages routed to the objects, focus and keyboard order.
//
// Notes:
// - Every window of the layer is subclassed: GWLP_WNDPROC is ControlWndProc, and a table maps
//   the window back to its object. WM_COMMAND and WM_NOTIFY reach the parent, which hands them
//   to the child control the notification came from.
// - The subclassing is done with SetWindowLongPtrW, which makes every window of the layer a
//   Unicode window (SetWindowLongPtrA would make it an ANSI one, and a UTF-16 text sent to it
//   would come back as "?"). The system converts what the A functions send and ask for, so the
//   ANSI accessors work as before; the window procedures get the W forms of messages: WM_CHAR
//   and WM_SYSCHAR carry a UTF-16 code unit, which the handlers read through AnsiKey.
// - No exception crosses ControlWndProc: one raised by a handler is kept (KeepEventException)
//   and the message is answered 0; the modal loop raises it once the form is down.
// - A window's state is read back at WM_DESTROY, which Windows sends to a parent before its
//   children while all of them still exist, so it works also when a parent window goes first.
// - Each control class declares the size a new one has as the default of Width and Height, so
//   that forms read and written again (the command line's text save/load) keep what they had.
// - Colours and character sets are identifiers in form files (clBtnFace, DEFAULT_CHARSET) or
//   numbers; they are published integers with identifiers, which take either.
#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <map>
#include <unordered_map>

#include "control_support.hpp"
#include "vcl/CodePages.hpp"
#include "vcl/Controls.hpp"

namespace vcl {

VCL_IMPLEMENT_CLASS(TFont, TPersistent)

namespace {

std::unordered_map<HWND, TControl*>& HandleTable() {
  static auto* table = new std::unordered_map<HWND, TControl*>;
  return *table;
}

std::map<std::pair<TClass, std::string>, std::any, std::less<>>& MethodTable() {
  static auto* table = new std::map<std::pair<TClass, std::string>, std::any, std::less<>>;
  return *table;
}

std::exception_ptr& PendingException() {
  static std::exception_ptr pending;
  return pending;
}

const TIdentMapEntry ColorNames[] = {
    {0x000000, "clBlack"},    {0x000080, "clMaroon"},    {0x008000, "clGreen"},     {0x008080, "clOlive"},
    {0x800000, "clNavy"},     {0x800080, "clPurple"},    {0x808000, "clTeal"},      {0x808080, "clGray"},
    {0xC0C0C0, "clSilver"},   {0x0000FF, "clRed"},       {0x00FF00, "clLime"},      {0x00FFFF, "clYellow"},
    {0xFF0000, "clBlue"},     {0xFF00FF, "clFuchsia"},   {0xFFFF00, "clAqua"},      {0xFFFFFF, "clWhite"},
    {static_cast<TColor>(0x80000000), "clScrollBar"},    {static_cast<TColor>(0x80000001), "clBackground"},
    {static_cast<TColor>(0x80000002), "clActiveCaption"}, {static_cast<TColor>(0x80000003), "clInactiveCaption"},
    {static_cast<TColor>(0x80000004), "clMenu"},         {clWindow, "clWindow"},
    {static_cast<TColor>(0x80000006), "clWindowFrame"},  {static_cast<TColor>(0x80000007), "clMenuText"},
    {clWindowText, "clWindowText"},                      {static_cast<TColor>(0x80000009), "clCaptionText"},
    {static_cast<TColor>(0x8000000D), "clHighlight"},    {static_cast<TColor>(0x8000000E), "clHighlightText"},
    {clBtnFace, "clBtnFace"},                            {static_cast<TColor>(0x80000010), "clBtnShadow"},
    {static_cast<TColor>(0x80000011), "clGrayText"},     {clBtnText, "clBtnText"},
    {static_cast<TColor>(0x80000014), "clBtnHighlight"}, {static_cast<TColor>(0x80000017), "clInfoText"},
    {static_cast<TColor>(0x80000018), "clInfoBk"},       {0x1FFFFFFF, "clNone"},
    {clDefault, "clDefault"},
};

const TIdentMapEntry CharsetNames[] = {
    {0, "ANSI_CHARSET"},        {1, "DEFAULT_CHARSET"},    {2, "SYMBOL_CHARSET"},      {77, "MAC_CHARSET"},
    {128, "SHIFTJIS_CHARSET"},  {129, "HANGEUL_CHARSET"},  {130, "JOHAB_CHARSET"},     {134, "GB2312_CHARSET"},
    {136, "CHINESEBIG5_CHARSET"}, {161, "GREEK_CHARSET"},  {162, "TURKISH_CHARSET"},   {163, "VIETNAMESE_CHARSET"},
    {177, "HEBREW_CHARSET"},    {178, "ARABIC_CHARSET"},   {186, "BALTIC_CHARSET"},    {204, "RUSSIAN_CHARSET"},
    {222, "THAI_CHARSET"},      {238, "EASTEUROPE_CHARSET"}, {255, "OEM_CHARSET"},
};

// The class for the windows of forms, panels and pages: the dialog background colour.
const char* ContainerClass() {
  static const char* const name = [] {
    WNDCLASSA wc{};
    wc.lpfnWndProc = &DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "TLumetraContainer";
#ifdef _WIN32
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
#endif
    RegisterClassA(&wc);
    return "TLumetraContainer";
  }();
  return name;
}

}  // namespace

TIdentMap ColorIdents() { return ColorNames; }
TIdentMap CharsetIdents() { return CharsetNames; }

const char* ContainerWindowClass() { return ContainerClass(); }

HWND (*FormOwnerWindow)() = nullptr;

namespace {

struct HintState {
  THintSettings Settings;
  HWND Window = nullptr;
};

HintState& Hints() {
  static HintState state;
  return state;
}

void ApplyHintSettings(HWND Window) {
  const THintSettings& s = Hints().Settings;
  SendMessageA(Window, TTM_SETDELAYTIME, TTDT_INITIAL, MAKELPARAM(s.Pause, 0));
  SendMessageA(Window, TTM_SETDELAYTIME, TTDT_AUTOPOP, MAKELPARAM(s.HidePause, 0));
  SendMessageA(Window, TTM_SETDELAYTIME, TTDT_RESHOW, MAKELPARAM(s.ShortPause, 0));
  SendMessageA(Window, TTM_ACTIVATE, s.Active, 0);
}

// The hint window; made when Make says so and there is none (or it went with its owner).
HWND MakeHintWindow(bool Make) {
  HWND& window = Hints().Window;
  if (window && !IsWindow(window)) window = nullptr;
  if (window || !Make) return window;
#ifdef _WIN32
  static const bool initialised = [] {
    INITCOMMONCONTROLSEX icc{sizeof(INITCOMMONCONTROLSEX), ICC_BAR_CLASSES};
    return InitCommonControlsEx(&icc) != FALSE;
  }();
  (void)initialised;
#endif
  window = CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                           CW_USEDEFAULT, CW_USEDEFAULT, FormOwnerWindow ? FormOwnerWindow() : nullptr, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
  if (!window) throw EInvalidOperation("Cannot create the hint window (error " + IntToStr(GetLastError()) + ")");
  ApplyHintSettings(window);
  return window;
}

TTTOOLINFOA ToolOf(HWND Hwnd) {
  TTTOOLINFOA tool{};
  tool.cbSize = static_cast<UINT>(TTTOOLINFOA_V2_SIZE);  // understood by every version of the tooltip control
  tool.uFlags = TTF_IDISHWND;
  tool.hwnd = GetParent(Hwnd);
  tool.uId = reinterpret_cast<UINT_PTR>(Hwnd);
  return tool;
}

}  // namespace

HCURSOR CursorHandle(TCursor Cursor) {
  static const std::map<TCursor, LPCSTR> stock = {
      {crArrow, IDC_ARROW},       {crCross, IDC_CROSS},         {crIBeam, IDC_IBEAM},     {crSize, IDC_SIZEALL},
      {crSizeNESW, IDC_SIZENESW}, {crSizeNS, IDC_SIZENS},       {crSizeNWSE, IDC_SIZENWSE}, {crSizeWE, IDC_SIZEWE},
      {crUpArrow, IDC_UPARROW},   {crHourGlass, IDC_WAIT},      {crNoDrop, IDC_NO},       {crNo, IDC_NO},
      {crAppStart, IDC_APPSTARTING}, {crHelp, IDC_HELP},        {crHandPoint, IDC_HAND},  {crSizeAll, IDC_SIZEALL},
  };
  if (Cursor == crNone) return nullptr;
  const auto it = stock.find(Cursor);
  return LoadCursorA(nullptr, it == stock.end() ? IDC_ARROW : it->second);
}

namespace {
TCursor TheScreenCursor = crDefault;
}  // namespace

TCursor ScreenCursor() { return TheScreenCursor; }

void SetScreenCursor(TCursor Value) {
  TheScreenCursor = Value;
  // Back to crDefault the arrow shows until the mouse moves and a window sets its own.
  ::SetCursor(CursorHandle(Value));
}

const THintSettings& HintSettings() { return Hints().Settings; }

void SetHintSettings(const THintSettings& Value) {
  Hints().Settings = Value;
  if (const HWND window = MakeHintWindow(false)) ApplyHintSettings(window);
}

HWND HintWindow() { return MakeHintWindow(false); }

void CancelHint() {
  if (const HWND window = MakeHintWindow(false)) SendMessageA(window, TTM_POP, 0, 0);
}

TControl* HintControl() {
  const HWND window = MakeHintWindow(false);
  TTTOOLINFOA tool = ToolOf(nullptr);
  if (!window || !SendMessageA(window, TTM_GETCURRENTTOOLA, 0, reinterpret_cast<LPARAM>(&tool))) return nullptr;
  return TControl::FromHandle(reinterpret_cast<HWND>(tool.uId));
}

void KeepEventException(std::exception_ptr Error) {
  if (!PendingException()) PendingException() = std::move(Error);
}

std::exception_ptr TakeEventException() { return std::exchange(PendingException(), nullptr); }

bool EventExceptionPending() { return static_cast<bool>(PendingException()); }

void RaiseEventException() {
  if (std::exception_ptr e = TakeEventException()) std::rethrow_exception(e);
}

void RegisterMethod(TClass AClass, std::string Name, std::any Method) {
  MethodTable()[{AClass, std::move(Name)}] = std::move(Method);
}

void UnRegisterMethods(TClass AClass) {
  std::erase_if(MethodTable(), [AClass](const auto& Entry) { return Entry.first.first == AClass; });
}

const std::any* FindMethod(TClass AClass, std::string_view Name) {
  auto& table = MethodTable();
  for (TClass c = AClass; c; c = c->ClassParent()) {
    auto it = table.find(std::pair<TClass, std::string>(c, std::string(Name)));
    if (it != table.end()) return &it->second;
  }
  return nullptr;
}

char AnsiKey(WPARAM Char) {
  if (Char < 0x80) return static_cast<char>(Char);
  const std::optional<std::string> bytes = FromUtf16Char(SystemCodePage(), static_cast<char16_t>(Char));
  return bytes && bytes->size() == 1 ? bytes->front() : '?';
}

WPARAM WideKey(char Key) {
  const std::optional<char16_t> c = CharToUtf16(SystemCodePage(), std::string_view(&Key, 1));
  return c ? *c : static_cast<unsigned char>(Key);
}

TShiftState KeyShiftState() {
  TShiftState s = 0;
  if (GetKeyState(VK_SHIFT) & 0x8000) s |= ssShift;
  if (GetKeyState(VK_CONTROL) & 0x8000) s |= ssCtrl;
  if (GetKeyState(VK_MENU) & 0x8000) s |= ssAlt;
  return s;
}

std::string WindowText(HWND Hwnd) {
  const int n = GetWindowTextLengthA(Hwnd);
  std::string text(static_cast<std::size_t>(n) + 1, '\0');
  const int got = GetWindowTextA(Hwnd, text.data(), n + 1);
  text.resize(static_cast<std::size_t>(std::max(got, 0)));
  return text;
}

std::u16string WindowTextW(HWND Hwnd) {
  const int n = GetWindowTextLengthW(Hwnd);
  std::u16string text(static_cast<std::size_t>(n) + 1, u'\0');
  const int got = GetWindowTextW(Hwnd, reinterpret_cast<LPWSTR>(text.data()), n + 1);
  text.resize(static_cast<std::size_t>(std::max(got, 0)));
  return text;
}

std::pair<int, int> TextExtent(TFont& Font, const std::string& Text) {
  const std::vector<std::string_view> lines = DrawnLines(Text);
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, Font.Handle());
  int width = 0, height = 0;
  for (const std::string_view line : lines) {
    SIZE size{};
    GetTextExtentPoint32A(dc, line.empty() ? " " : line.data(), line.empty() ? 1 : static_cast<int>(line.size()), &size);
    width = std::max(width, line.empty() ? 0 : static_cast<int>(size.cx));
    height += size.cy;
  }
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  return {width, height};
}

bool LessNoCase(const std::string& A, const std::string& B) {
#ifdef _WIN32
  return lstrcmpiA(A.c_str(), B.c_str()) < 0;  // as a sorted LISTBOX compares
#else
  return std::lexicographical_compare(A.begin(), A.end(), B.begin(), B.end(), [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) < std::tolower(static_cast<unsigned char>(y));
  });
#endif
}

// ---- TFont ---------------------------------------------------------------------------------

TFont::TFont() = default;

TFont::~TFont() {
  if (FHandle) DeleteObject(FHandle);
}

void TFont::Changed() {
  if (FHandle) {
    DeleteObject(FHandle);
    FHandle = nullptr;
  }
  if (OnChange) OnChange();
}

void TFont::SetName(const std::string& Value) {
  if (Value.size() == FName.size() && Value.compare(FName) == 0) return;
  FName = Value;
  Changed();
}
void TFont::SetHeight(int Value) {
  if (Value == FHeight) return;
  FHeight = Value;
  Changed();
}
// Points at 96 dots per inch, rounded as MulDiv does.
int TFont::Size() const { return -(FHeight * 72 + (FHeight < 0 ? -48 : 48)) / 96; }
void TFont::SetSize(int Value) { SetHeight(-(Value * 96 + 36) / 72); }
void TFont::SetColor(TColor Value) {
  if (Value == FColor) return;
  FColor = Value;
  Changed();
}
void TFont::SetStyle(TFontStyles Value) {
  if (Value == FStyle) return;
  FStyle = Value;
  Changed();
}
void TFont::SetCharset(std::uint8_t Value) {
  if (Value == FCharset) return;
  FCharset = Value;
  Changed();
}

bool TFont::operator==(const TFont& Other) const {
  return FName == Other.FName && FHeight == Other.FHeight && FColor == Other.FColor && FStyle == Other.FStyle &&
         FCharset == Other.FCharset;
}

void TFont::Assign(const TPersistent* Source) {
  const auto* font = Source && Source->Is<TFont>() ? static_cast<const TFont*>(Source) : nullptr;
  if (!font) return TPersistent::Assign(Source);
  if (*font == *this) return;
  FName = font->FName;
  FHeight = font->FHeight;
  FColor = font->FColor;
  FStyle = font->FStyle;
  FCharset = font->FCharset;
  Changed();
}

HFONT TFont::Handle() {
  if (FHandle) return FHandle;
  LOGFONTA lf{};
  lf.lfHeight = FHeight;
  lf.lfWeight = (FStyle & fsBold) ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = (FStyle & fsItalic) ? 1 : 0;
  lf.lfUnderline = (FStyle & fsUnderline) ? 1 : 0;
  lf.lfStrikeOut = (FStyle & fsStrikeOut) ? 1 : 0;
  lf.lfCharSet = FCharset;
  FName.copy(lf.lfFaceName, LF_FACESIZE - 1);
  FHandle = CreateFontIndirectA(&lf);
  return FHandle;
}

// ---- TControl ------------------------------------------------------------------------------

VCL_IMPLEMENT_CLASS(TControl, TComponent, [](TMetaClass& c) {
  c.Publish<TControl>()
      .Integer("Left", &TControl::Left, &TControl::SetLeft).Default(0)
      .Integer("Top", &TControl::Top, &TControl::SetTop).Default(0)
      .Integer("Width", &TControl::Width, &TControl::SetWidth).Default(0)
      .Integer("Height", &TControl::Height, &TControl::SetHeight).Default(0)
      .String("Caption", &TControl::Caption, &TControl::SetCaption)
      .Integer("Color", &TControl::Color, &TControl::SetColor).Idents(ColorIdents()).Stored(&TControl::StoreColor)
      .Boolean("Enabled", &TControl::Enabled, &TControl::SetEnabled).Default(true)
      .Integer("Font.Charset", &TControl::FontCharset, &TControl::SetFontCharset).Idents(CharsetIdents())
      .Default(DEFAULT_CHARSET).Stored(&TControl::StoreFont)
      .Integer("Font.Color", &TControl::FontColor, &TControl::SetFontColor).Idents(ColorIdents()).Default(clWindowText)
      .Stored(&TControl::StoreFont)
      .Integer("Font.Height", &TControl::FontHeight, &TControl::SetFontHeight).Stored(&TControl::StoreFont)
      .String("Font.Name", &TControl::FontName, &TControl::SetFontName).Stored(&TControl::StoreFont)
      // Taken from form files written at another size, and kept in them while the font is
      // unchanged; the layer lays out at 96 dpi and stores the height.
      .Integer("Font.Size", &TControl::FontSize, &TControl::SetFontSize).Stored(false)
      .Set("Font.Style", &TControl::FontStyle, &TControl::SetFontStyle, {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"})
      .Stored(&TControl::StoreFont)
      .Boolean("ParentFont", &TControl::ParentFont, &TControl::SetParentFont).Default(true)
      .String("Hint", &TControl::Hint, &TControl::SetHint)
      .Boolean("ShowHint", &TControl::ShowHint, &TControl::SetShowHint).Default(false)
      .Integer("Tag", &TControl::Tag, &TControl::SetTag).Default(0)
      .Boolean("Visible", &TControl::Visible, &TControl::SetVisible).Default(true)
      .Event("OnClick", &TControl::OnClick, &TControl::SetOnClick);
})

TControl::TControl(TComponent* AOwner) : TComponent(AOwner), FFont(std::make_unique<TFont>()) {
  FFont->OnChange = [this] {
    if (!FSettingParentFont) FParentFont = false;
    FontChanged();
  };
  AddEvent(FOnClick);
  if (AOwner && (AOwner->ComponentState() & csLoading) && AOwner->Is<TWinControl>())
    SetParent(static_cast<TWinControl*>(AOwner));
}

TControl::~TControl() {
  if (FHandle) DestroyHandle();
  SetParent(nullptr);
}

TControl* TControl::FromHandle(HWND Hwnd) {
  auto& table = HandleTable();
  auto it = table.find(Hwnd);
  return it == table.end() ? nullptr : it->second;
}

void TControl::SetParent(TWinControl* AParent) {
  if (AParent == FParent) return;
  if (FParent) {
    if (FHandle) DestroyHandle();
    auto& list = FParent->FControls;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    if (Is<TWinControl>()) {
      auto& tabs = FParent->FTabList;
      tabs.erase(std::remove(tabs.begin(), tabs.end(), static_cast<TWinControl*>(this)), tabs.end());
    }
    if (TCustomForm* form = ParentForm(); form && form->FActiveControl && Is<TWinControl>()) {
      // The active control may be this one or inside it.
      for (TControl* c = form->FActiveControl; c; c = c->FParent)
        if (c == this) {
          form->FActiveControl = nullptr;
          break;
        }
    }
  }
  FParent = AParent;
  if (!AParent) return;
  AParent->FControls.push_back(this);
  if (Is<TWinControl>()) AParent->FTabList.push_back(static_cast<TWinControl*>(this));
  if (FParentFont) {
    FSettingParentFont = true;
    FFont->Assign(AParent->FFont.get());
    FSettingParentFont = false;
  }
  if (AParent->FHandle) CreateHandle();
}

void TControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  FLeft = ALeft;
  FTop = ATop;
  FWidth = AWidth;
  FHeight = AHeight;
  if (FHandle) MoveWindow(FHandle, FLeft, FTop, FWidth, FHeight, TRUE);
}

RECT TControl::BoundsRect() const {
  if (!FHandle) return RECT{FLeft, FTop, FLeft + FWidth, FTop + FHeight};
  RECT r;
  GetWindowRect(FHandle, &r);
  if (const HWND parent = GetParent(FHandle); parent && (GetWindowLongPtrA(FHandle, GWL_STYLE) & WS_CHILD)) {
    POINT a{r.left, r.top}, b{r.right, r.bottom};
    ScreenToClient(parent, &a);
    ScreenToClient(parent, &b);
    r = RECT{a.x, a.y, b.x, b.y};
  }
  return r;
}

std::string TControl::Caption() const { return FHandle ? WindowText(FHandle) : FCaption; }

void TControl::SetCaption(std::string Value) {
  FCaption = std::move(Value);
  FCaptionW.reset();
  if (FHandle) SetWindowTextA(FHandle, FCaption.c_str());
}

std::u16string TControl::CaptionW() const {
  if (FHandle) return WindowTextW(FHandle);
  return FCaptionW ? *FCaptionW : ToUtf16(SystemCodePage(), FCaption);
}

void TControl::SetCaptionW(std::u16string Value) {
  FCaption = FromUtf16(SystemCodePage(), Value);
  FCaptionW = std::move(Value);
  if (FHandle) SetWindowTextW(FHandle, WideChars(*FCaptionW));
}

void TControl::SetVisible(bool Value) {
  FVisible = Value;
  if (FHandle) ShowWindow(FHandle, Value ? SW_SHOWNA : SW_HIDE);
}

void TControl::SetEnabled(bool Value) {
  FEnabled = Value;
  if (FHandle) EnableWindow(FHandle, Value ? TRUE : FALSE);
}

void TControl::SetParentFont(bool Value) {
  FParentFont = Value;
  if (Value && FParent) {
    FSettingParentFont = true;
    FFont->Assign(FParent->FFont.get());
    FSettingParentFont = false;
  }
}

void TControl::SetColor(TColor Value) {
  FColor = Value;
  if (FHandle) InvalidateRect(FHandle, nullptr, TRUE);
}

void TControl::Click() { FOnClick(this); }

TCustomForm* TControl::ParentForm() const {
  for (const TControl* c = this; c; c = c->FParent)
    if (c->Is<TCustomForm>()) return const_cast<TCustomForm*>(static_cast<const TCustomForm*>(c));
  return nullptr;
}

void TControl::BindEvents(TComponent* Root) {
  for (TEventBase* e : FEvents) e->Bind(Root);
}

TFont* TControl::EffectiveFont() const { return FFont.get(); }

void TControl::FontChanged() {
  if (FHandle) SendMessageA(FHandle, WM_SETFONT, reinterpret_cast<WPARAM>(FFont->Handle()), TRUE);
  if (!Is<TWinControl>()) return;
  for (TControl* child : static_cast<TWinControl*>(this)->FControls)
    if (child->FParentFont) {
      child->FSettingParentFont = true;
      child->FFont->Assign(FFont.get());
      child->FSettingParentFont = false;
    }
}

char TControl::Mnemonic() const {
  const std::string text = Caption();
  for (std::size_t i = 0; i + 1 < text.size(); ++i)
    if (text[i] == '&') {
      if (text[i + 1] == '&') {
        ++i;
        continue;
      }
      return static_cast<char>(std::toupper(static_cast<unsigned char>(text[i + 1])));
    }
  return 0;
}

bool TControl::StoreFont() const {
  if (FParentFont) return false;
  return FParent || !(*FFont == TFont());
}

void TControl::CreateParams(TCreateParams& Params) {
  Params.Style = WS_CHILD | WS_CLIPSIBLINGS;
  if (FVisible) Params.Style |= WS_VISIBLE;
  if (!FEnabled) Params.Style |= WS_DISABLED;
}

void TControl::CreateHandle() {
  if (FHandle) return;
  if (!FParent) throw EInvalidOperation("Control " + Name() + " has no parent window");
  const HWND parentWindow = FParent->ChildParentHandle();
  if (FHandle) return;  // made while the parent's window was made
  TCreateParams params;
  CreateParams(params);
  static int nextId = 100;
  const HWND hwnd = CreateWindowExA(params.ExStyle, params.ClassName.c_str(), FCaption.c_str(), params.Style, FLeft, FTop,
                                    FWidth, FHeight, parentWindow, reinterpret_cast<HMENU>(static_cast<INT_PTR>(nextId++)),
                                    GetModuleHandleA(nullptr), nullptr);
  if (!hwnd)
    throw EInvalidOperation("Cannot create the window of " + (Name().empty() ? ClassName() : Name()) + " (class " +
                            params.ClassName + ", error " + IntToStr(GetLastError()) + ")");
  AttachWindow(hwnd);
}

void TControl::AttachWindow(HWND Hwnd) {
  FHandle = Hwnd;
  FReadingBack = false;
  HandleTable()[Hwnd] = this;
  FDefProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(Hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ControlWndProc)));
  SendMessageA(Hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(FFont->Handle()), FALSE);
  if (FCaptionW) {
    // The window was made with the ANSI bytes; it takes the characters they lack now that it
    // is a Unicode window. Not a change the user made: its notification is not passed on.
    FWritingText = true;
    SetWindowTextW(Hwnd, WideChars(*FCaptionW));
    FWritingText = false;
  }
  WriteState();
  UpdateHintTool();
}

void TControl::SetHint(std::string Value) {
  FHint = std::move(Value);
  UpdateHintTool();
}

void TControl::SetShowHint(bool Value) {
  FShowHint = Value;
  UpdateHintTool();
}

void TControl::UpdateHintTool() {
  const bool hinted = FShowHint && !FHint.empty();
  const HWND window = FHandle ? MakeHintWindow(hinted && !FReadingBack) : nullptr;
  if (!window) return;
  TTTOOLINFOA tool = ToolOf(FHandle);
  SendMessageA(window, TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
  if (!hinted || FReadingBack) return;
  tool.lpszText = FHint.data();
  SendMessageA(window, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
}

void TControl::ReadState() {
  FCaption = WindowText(FHandle);
  // The UTF-16 text is kept only when the bytes lose characters of it.
  std::u16string wide = WindowTextW(FHandle);
  if (wide == ToUtf16(SystemCodePage(), FCaption)) FCaptionW.reset();
  else FCaptionW = std::move(wide);
}

void TControl::DestroyHandle() {
  if (FHandle) DestroyWindow(FHandle);  // WM_DESTROY reads the state back
}

LRESULT TControl::DefaultHandler(UINT Msg, WPARAM WParam, LPARAM LParam) {
  return FDefProc ? CallWindowProcW(FDefProc, FHandle, Msg, WParam, LParam) : DefWindowProcW(FHandle, Msg, WParam, LParam);
}

LRESULT TControl::WndProc(UINT Msg, WPARAM WParam, LPARAM LParam) {
  switch (Msg) {
    case WM_DESTROY:
      if (!FReadingBack) {
        FReadingBack = true;
        ReadState();
        UpdateHintTool();  // takes the window off the hint window's tools
      }
      break;
    case WM_SETCURSOR:
      // While Screen->Cursor is set, no window puts its own cursor back.
      if (TheScreenCursor != crDefault) {
        ::SetCursor(CursorHandle(TheScreenCursor));
        return TRUE;
      }
      break;
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      // The hint window sees the mouse over its tools (and a click that takes the tip down).
      if (const HWND window = MakeHintWindow(false)) {
        MSG msg{FHandle, Msg, WParam, LParam, 0, {}};
        GetCursorPos(&msg.pt);
        SendMessageA(window, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&msg));
      }
      break;
    case WM_COMMAND:
      if (TControl* child = LParam ? FromHandle(reinterpret_cast<HWND>(LParam)) : nullptr; child && child != this) {
        if (!child->FWritingText) child->CNCommand(HIWORD(WParam));
        return 0;
      }
      break;
    case WM_NOTIFY: {
      auto* header = reinterpret_cast<NMHDR*>(LParam);
      if (TControl* child = header ? FromHandle(header->hwndFrom) : nullptr; child && child != this)
        return child->CNNotify(*header);
      break;
    }
    default: break;
  }
  return DefaultHandler(Msg, WParam, LParam);
}

LRESULT CALLBACK TControl::ControlWndProc(HWND Hwnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  TControl* control = FromHandle(Hwnd);
  if (!control) return DefWindowProcW(Hwnd, Msg, WParam, LParam);
  if (Msg == WM_NCDESTROY) {
    const WNDPROC old = control->FDefProc;
    SetWindowLongPtrW(Hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(old));
    HandleTable().erase(Hwnd);
    control->FHandle = nullptr;
    return CallWindowProcW(old, Hwnd, Msg, WParam, LParam);
  }
  try {
    return control->WndProc(Msg, WParam, LParam);
  } catch (...) {
    KeepEventException(std::current_exception());
    return 0;
  }
}

// ---- TWinControl ---------------------------------------------------------------------------

VCL_IMPLEMENT_CLASS(TWinControl, TControl, [](TMetaClass& c) {
  c.Publish<TWinControl>()
      .Integer("TabOrder", &TWinControl::TabOrder, &TWinControl::SetTabOrder).Default(-1)
      .Boolean("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop).Default(false)
      .Event("OnEnter", &TWinControl::OnEnter, &TWinControl::SetOnEnter)
      .Event("OnExit", &TWinControl::OnExit, &TWinControl::SetOnExit)
      .Event("OnKeyDown", &TWinControl::OnKeyDown, &TWinControl::SetOnKeyDown)
      .Event("OnKeyPress", &TWinControl::OnKeyPress, &TWinControl::SetOnKeyPress);
})

TWinControl::TWinControl(TComponent* AOwner) : TControl(AOwner) {
  // A parent set while TControl was being made could not tell that this is a windowed control.
  if (Parent() && std::find(Parent()->FTabList.begin(), Parent()->FTabList.end(), this) == Parent()->FTabList.end())
    Parent()->FTabList.push_back(this);
  AddEvent(FOnEnter);
  AddEvent(FOnExit);
  AddEvent(FOnKeyDown);
  AddEvent(FOnKeyPress);
}

TWinControl::~TWinControl() {
  if (FHandle) DestroyHandle();
  for (TControl* c : FControls) c->FParent = nullptr;
  FControls.clear();
  FTabList.clear();
}

HWND TWinControl::Handle() {
  if (!FHandle) CreateHandle();
  return FHandle;
}

void TWinControl::CreateHandle() {
  TControl::CreateHandle();
  const std::vector<TControl*> children = FControls;
  for (TControl* c : children)
    if (!c->FHandle) c->CreateHandle();
}

void TWinControl::DestroyHandle() {
  // The children first, so that each reads its own state back while the object is whole.
  const std::vector<TControl*> children = FControls;
  for (TControl* c : children)
    if (c->FHandle) c->DestroyHandle();
  TControl::DestroyHandle();
}

int TWinControl::TabOrder() const {
  if (!Parent()) return -1;
  const auto& tabs = Parent()->FTabList;
  const auto it = std::find(tabs.begin(), tabs.end(), this);
  return it == tabs.end() ? -1 : static_cast<int>(it - tabs.begin());
}

void TWinControl::SetTabOrder(int Value) {
  if (ComponentState() & csLoading) FLoadedTabOrder = Value;
  if (!Parent()) return;
  auto& tabs = Parent()->FTabList;
  tabs.erase(std::remove(tabs.begin(), tabs.end(), this), tabs.end());
  const auto at = static_cast<std::size_t>(std::clamp(Value, 0, static_cast<int>(tabs.size())));
  tabs.insert(tabs.begin() + static_cast<std::ptrdiff_t>(at), this);
}

void TWinControl::Loaded() {
  TControl::Loaded();
  auto key = [](const TWinControl* c) { return c->FLoadedTabOrder < 0 ? INT32_MAX : c->FLoadedTabOrder; };
  std::stable_sort(FTabList.begin(), FTabList.end(), [&](const TWinControl* a, const TWinControl* b) { return key(a) < key(b); });
}

bool TWinControl::CanFocus() const {
  for (const TControl* c = this; c; c = c->Parent())
    if (!c->Visible() || !c->Enabled()) return false;
  return true;
}

void TWinControl::SetFocus() {
  if (!CanFocus())
    throw EInvalidOperation("Cannot focus a disabled or invisible window (" + (Name().empty() ? ClassName() : Name()) + ")");
  ::SetFocus(Handle());
}

bool TWinControl::Focused() const { return FHandle && GetFocus() == FHandle; }

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& List) {
  for (TWinControl* c : FTabList) {
    if (c->TabStop()) List.push_back(c);
    c->GetTabOrderList(List);
  }
}

bool TWinControl::WantsKey(WORD Key) {
  if (!FHandle) return false;
  const LRESULT code = DefaultHandler(WM_GETDLGCODE, Key, 0);
  if (code & DLGC_WANTALLKEYS) return true;
  if (Key == VK_TAB) return (code & DLGC_WANTTAB) != 0;
  return false;
}

bool TWinControl::DoKeyDown(WORD& Key, TShiftState Shift) {
  TCustomForm* form = ParentForm();
  if (form && form != this && form->KeyPreview()) {
    form->FOnKeyDown(form, Key, Shift);
    if (Key == 0) return false;
  }
  FOnKeyDown(this, Key, Shift);
  return Key != 0;
}

bool TWinControl::DoKeyPress(char& Key) {
  FOnKeyPress(this, Key);
  return Key != 0;
}

LRESULT TWinControl::WndProc(UINT Msg, WPARAM WParam, LPARAM LParam) {
  switch (Msg) {
    case WM_SETFOCUS:
      if (TCustomForm* form = ParentForm(); form && form != this) form->FocusChanged(this);
      break;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: {
      WORD key = static_cast<WORD>(WParam);
      const TShiftState shift = KeyShiftState();
      if (!DoKeyDown(key, shift)) {
        FSwallowChar = 1;  // the character of a taken key goes nowhere
        return 0;
      }
      if (Msg == WM_KEYDOWN && (key == VK_TAB || key == VK_RETURN || key == VK_ESCAPE || key == VK_LEFT || key == VK_UP ||
                                key == VK_RIGHT || key == VK_DOWN) &&
          !WantsKey(key))
        if (TCustomForm* form = ParentForm(); form && form->DialogKey(key, shift)) {
          FSwallowChar = 1;
          return 0;
        }
      if (!FHandle) return 0;
      return DefaultHandler(Msg, key, LParam);
    }
    case WM_CHAR: {
      if (std::exchange(FSwallowChar, 0)) return 0;
      const char given = AnsiKey(WParam);
      char c = given;
      if (!DoKeyPress(c)) return 0;
      if (!FHandle) return 0;
      // A key the handler left alone goes on as the window got it, a character the ANSI code
      // page lacks included; one it changed goes on as the character of its byte.
      return DefaultHandler(Msg, c == given ? WParam : WideKey(c), LParam);
    }
    case WM_SYSCHAR:
      if (std::exchange(FSwallowChar, 0)) return 0;
      if (TCustomForm* form = ParentForm(); form && form->DialogChar(AnsiKey(WParam))) return 0;
      break;
    default: break;
  }
  return TControl::WndProc(Msg, WParam, LParam);
}

VCL_IMPLEMENT_CLASS(TGraphicControl, TControl)

}  // namespace vcl
