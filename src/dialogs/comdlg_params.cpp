// The comdlg32 parameter blocks of the eight kinds of common dialog.
#include "comdlg_params.hpp"

#include <cstring>

#include "vcl/SysUtils.hpp"

namespace dialogs {

MainWindowPlacement MainWindowPlacementForScreen() {
  return MainWindowPlacement{WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX,
                             GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2};
}

ComDlgParams::ComDlgParams(std::string AKind, HWND Owner) : Kind(std::move(AKind)) {
  if (Kind == "open" || Kind == "save") {
    Open.lStructSize = sizeof Open;
    Open.hwndOwner = Owner;
    Open.lpstrFile = File;
    Open.nMaxFile = FileSize;
    Open.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_ENABLESIZING;
  } else if (Kind == "font") {
    LogFont.lfHeight = -11;
    LogFont.lfWeight = FW_NORMAL;
    LogFont.lfCharSet = DEFAULT_CHARSET;
    std::strcpy(LogFont.lfFaceName, "Tahoma");
    Font.lStructSize = sizeof Font;
    Font.hwndOwner = Owner;
    Font.lpLogFont = &LogFont;
    Font.Flags = CF_SCREENFONTS | CF_EFFECTS | CF_INITTOLOGFONTSTRUCT;
  } else if (Kind == "color") {
    for (COLORREF& c : CustomColors) c = RGB(255, 255, 255);
    Color.lStructSize = sizeof Color;
    Color.hwndOwner = Owner;
    Color.lpCustColors = CustomColors;
    Color.Flags = CC_RGBINIT;
  } else if (Kind == "print" || Kind == "printsetup") {
    Print.lStructSize = sizeof Print;
    Print.hwndOwner = Owner;
    Print.Flags = Kind == "print" ? PD_NOSELECTION | PD_NOPAGENUMS : PD_PRINTSETUP;
    Print.nCopies = 1;
  } else if (Kind == "find" || Kind == "replace") {
    Find.lStructSize = sizeof Find;
    Find.hwndOwner = Owner;
    Find.Flags = FR_DOWN;
    Find.lpstrFindWhat = FindWhat;
    Find.wFindWhatLen = FindSize;
    if (Kind == "replace") {
      Find.lpstrReplaceWith = ReplaceWith;
      Find.wReplaceWithLen = FindSize;
    }
  } else {
    FKnown = false;
  }
}

ComDlgParams::~ComDlgParams() {
  if (Print.hDevMode) GlobalFree(Print.hDevMode);
  if (Print.hDevNames) GlobalFree(Print.hDevNames);
}

bool ComDlgParams::Run() {
  if (Kind == "open") return GetOpenFileNameA(&Open) != FALSE;
  if (Kind == "save") return GetSaveFileNameA(&Open) != FALSE;
  if (Kind == "font") return ChooseFontA(&Font) != FALSE;
  if (Kind == "color") return ChooseColorA(&Color) != FALSE;
  if (Kind == "print" || Kind == "printsetup") return PrintDlgA(&Print) != FALSE;
  return false;
}

HWND ComDlgParams::Create() {
  if (Kind == "find") return FindTextA(&Find);
  if (Kind == "replace") return ReplaceTextA(&Find);
  return nullptr;
}

DWORD FlagsOf(unsigned Options, std::span<const DWORD> Flags) {
  DWORD flags = 0;
  for (std::size_t i = 0; i < Flags.size(); ++i)
    if (Options & (1u << i)) flags |= Flags[i];
  return flags;
}

unsigned OptionsOf(DWORD Set, std::span<const DWORD> Flags) {
  unsigned options = 0;
  for (std::size_t i = 0; i < Flags.size(); ++i)
    if (Flags[i] && (Set & Flags[i]) == Flags[i]) options |= 1u << i;
  return options;
}

void CopyInto(char* Buffer, std::size_t Size, const std::string& Value, const char* What) {
  if (Value.size() >= Size)
    throw vcl::EConvertError(std::string(What) + " is " + std::to_string(Value.size()) + " characters long; at most " +
                             std::to_string(Size - 1) + " fit");
  std::memcpy(Buffer, Value.c_str(), Value.size() + 1);
}

}  // namespace dialogs
