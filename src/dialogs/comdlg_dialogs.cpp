// The modal dialog components: open, save, font, colour, print and printer setup, their
// published properties and the comdlg32 flags their options stand for.
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "comdlg_params.hpp"
#include "vcl/Dialogs.hpp"

namespace vcl {

namespace {

template <class T>
void SetExecute(TMetaClass& Class) {
  Class.SetEntry(TCommonDialog::ExecuteSlot(), reinterpret_cast<TCodePointer>(&T::ExecuteEntry));
}

using dialogs::FlagsOf;

const DWORD OpenFlags[] = {
    OFN_READONLY,         OFN_OVERWRITEPROMPT,  OFN_HIDEREADONLY,        OFN_NOCHANGEDIR,      OFN_SHOWHELP,
    OFN_NOVALIDATE,       OFN_ALLOWMULTISELECT, OFN_EXTENSIONDIFFERENT,  OFN_PATHMUSTEXIST,    OFN_FILEMUSTEXIST,
    OFN_CREATEPROMPT,     OFN_SHAREAWARE,       OFN_NOREADONLYRETURN,    OFN_NOTESTFILECREATE, OFN_NONETWORKBUTTON,
    OFN_NOLONGNAMES,      0 /* ofOldStyleDialog: no OFN_EXPLORER */,     OFN_NODEREFERENCELINKS,
    OFN_ENABLEINCLUDENOTIFY, OFN_ENABLESIZING,  OFN_DONTADDTORECENT,     OFN_FORCESHOWHIDDEN};

// fdWysiwyg asks for the fonts both screen and printer have, which are scalable ones.
const DWORD FontFlags[] = {CF_ANSIONLY,      CF_TTONLY,       CF_EFFECTS,       CF_FIXEDPITCHONLY,
                           CF_FORCEFONTEXIST, CF_NOFACESEL,   CF_NOOEMFONTS,    CF_NOSIMULATIONS,
                           CF_NOSIZESEL,      CF_NOSTYLESEL,  CF_NOVECTORFONTS, CF_SHOWHELP,
                           CF_WYSIWYG | CF_BOTH | CF_SCALABLEONLY, CF_LIMITSIZE, CF_SCALABLEONLY, CF_APPLY};
const DWORD FontDevices[] = {CF_SCREENFONTS, CF_PRINTERFONTS, CF_BOTH};

const DWORD ColorFlags[] = {CC_FULLOPEN, CC_PREVENTFULLOPEN, CC_SHOWHELP, CC_SOLIDCOLOR, CC_ANYCOLOR};

// A system colour (clBtnFace, ...) as the RGB value the system gives it.
COLORREF ColorToRGB(TColor Color) {
  if (Color >= 0) return static_cast<COLORREF>(Color);
#ifdef _WIN32
  return GetSysColor(Color & 0xFF);
#else
  return 0;  // the simulation draws no colours
#endif
}

// "ColorA" ... "ColorP": the names of the custom colours in TColorDialog::CustomColors.
std::string CustomColorName(int Index) { return std::string("Color") + static_cast<char>('A' + Index); }

}  // namespace

VCL_IMPLEMENT_CLASS(TOpenDialog, TCommonDialog, [](TMetaClass& c) {
  SetExecute<TOpenDialog>(c);
  c.Publish<TOpenDialog>()
      .String("DefaultExt", &TOpenDialog::DefaultExt, &TOpenDialog::SetDefaultExt)
      .String("FileName", &TOpenDialog::FileName, &TOpenDialog::SetFileName)
      .String("Filter", &TOpenDialog::Filter, &TOpenDialog::SetFilter)
      .Integer("FilterIndex", &TOpenDialog::FilterIndex, &TOpenDialog::SetFilterIndex).Default(1)
      .String("InitialDir", &TOpenDialog::InitialDir, &TOpenDialog::SetInitialDir)
      .Set("Options", &TOpenDialog::Options, &TOpenDialog::SetOptions,
           {"ofReadOnly", "ofOverwritePrompt", "ofHideReadOnly", "ofNoChangeDir", "ofShowHelp", "ofNoValidate",
            "ofAllowMultiSelect", "ofExtensionDifferent", "ofPathMustExist", "ofFileMustExist", "ofCreatePrompt",
            "ofShareAware", "ofNoReadOnlyReturn", "ofNoTestFileCreate", "ofNoNetworkButton", "ofNoLongNames",
            "ofOldStyleDialog", "ofNoDereferenceLinks", "ofEnableIncludeNotify", "ofEnableSizing", "ofDontAddToRecent",
            "ofForceShowHidden"})
      .Default(ofHideReadOnly | ofEnableSizing)
      .Set("OptionsEx", &TOpenDialog::OptionsEx, &TOpenDialog::SetOptionsEx, {"ofExNoPlacesBar"})
      .Default(0)
      .String("Title", &TOpenDialog::Title, &TOpenDialog::SetTitle);
})
VCL_IMPLEMENT_CLASS(TSaveDialog, TOpenDialog, &SetExecute<TSaveDialog>)
VCL_IMPLEMENT_CLASS(TFontDialog, TCommonDialog, [](TMetaClass& c) {
  SetExecute<TFontDialog>(c);
  c.Publish<TFontDialog>()
      .Integer("Font.Charset", &TFontDialog::FontCharset, &TFontDialog::SetFontCharset)
      .Idents(CharsetIdents())
      .Default(DEFAULT_CHARSET)
      .Integer("Font.Color", &TFontDialog::FontColor, &TFontDialog::SetFontColor)
      .Idents(ColorIdents())
      .Default(clWindowText)
      .Integer("Font.Height", &TFontDialog::FontHeight, &TFontDialog::SetFontHeight)
      .Default(-11)
      .String("Font.Name", &TFontDialog::FontName, &TFontDialog::SetFontName)
      .Default("Tahoma")
      .Set("Font.Style", &TFontDialog::FontStyle, &TFontDialog::SetFontStyle, {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"})
      .Default(0)
      .Enumeration("Device", &TFontDialog::Device, &TFontDialog::SetDevice, {"fdScreen", "fdPrinter", "fdBoth"})
      .Default(fdScreen)
      .Integer("MinFontSize", &TFontDialog::MinFontSize, &TFontDialog::SetMinFontSize).Default(0)
      .Integer("MaxFontSize", &TFontDialog::MaxFontSize, &TFontDialog::SetMaxFontSize).Default(0)
      .Set("Options", &TFontDialog::Options, &TFontDialog::SetOptions,
           {"fdAnsiOnly", "fdTrueTypeOnly", "fdEffects", "fdFixedPitchOnly", "fdForceFontExist", "fdNoFaceSel",
            "fdNoOEMFonts", "fdNoSimulations", "fdNoSizeSel", "fdNoStyleSel", "fdNoVectorFonts", "fdShowHelp",
            "fdWysiwyg", "fdLimitSize", "fdScalableOnly", "fdApplyButton"})
      .Default(fdEffects);
})
VCL_IMPLEMENT_CLASS(TColorDialog, TCommonDialog, [](TMetaClass& c) {
  SetExecute<TColorDialog>(c);
  c.Publish<TColorDialog>()
      .Integer("Color", &TColorDialog::Color, &TColorDialog::SetColor)
      .Idents(ColorIdents())
      .Default(clBlack)
      .Strings("CustomColors", &TColorDialog::CustomColors, &TColorDialog::SetCustomColors)
      .Set("Options", &TColorDialog::Options, &TColorDialog::SetOptions,
           {"cdFullOpen", "cdPreventFullOpen", "cdShowHelp", "cdSolidColor", "cdAnyColor"})
      .Default(0);
})
VCL_IMPLEMENT_CLASS(TPrintDialog, TCommonDialog, [](TMetaClass& c) {
  SetExecute<TPrintDialog>(c);
  c.Publish<TPrintDialog>()
      .Boolean("Collate", &TPrintDialog::Collate, &TPrintDialog::SetCollate).Default(false)
      .Integer("Copies", &TPrintDialog::Copies, &TPrintDialog::SetCopies).Default(0)
      .Integer("FromPage", &TPrintDialog::FromPage, &TPrintDialog::SetFromPage).Default(0)
      .Integer("MinPage", &TPrintDialog::MinPage, &TPrintDialog::SetMinPage).Default(0)
      .Integer("MaxPage", &TPrintDialog::MaxPage, &TPrintDialog::SetMaxPage).Default(0)
      .Set("Options", &TPrintDialog::Options, &TPrintDialog::SetOptions,
           {"poPrintToFile", "poPageNums", "poSelection", "poWarning", "poHelp", "poDisablePrintToFile"})
      .Default(0)
      .Boolean("PrintToFile", &TPrintDialog::PrintToFile, &TPrintDialog::SetPrintToFile).Default(false)
      .Enumeration("PrintRange", &TPrintDialog::PrintRange, &TPrintDialog::SetPrintRange,
                   {"prAllPages", "prSelection", "prPageNums"})
      .Default(prAllPages)
      .Integer("ToPage", &TPrintDialog::ToPage, &TPrintDialog::SetToPage).Default(0);
})
VCL_IMPLEMENT_CLASS(TPrinterSetupDialog, TCommonDialog, &SetExecute<TPrinterSetupDialog>)

bool TOpenDialog::ExecuteEntry(TCommonDialog* Self) { return static_cast<TOpenDialog*>(Self)->RunFileDialog("open"); }
bool TSaveDialog::ExecuteEntry(TCommonDialog* Self) { return static_cast<TSaveDialog*>(Self)->RunFileDialog("save"); }

bool TOpenDialog::RunFileDialog(const char* Kind) {
  dialogs::ComDlgParams p(Kind, Application->Handle());
  dialogs::CopyInto(p.File, sizeof p.File, FFileName, "FileName");
  // "Name|pattern|Name|pattern" becomes the NUL-separated, double-NUL-terminated list.
  std::string filter = FFilter;
  std::replace(filter.begin(), filter.end(), '|', '\0');
  filter.append(2, '\0');
  if (!FFilter.empty()) {
    p.Open.lpstrFilter = filter.c_str();
    p.Open.nFilterIndex = static_cast<DWORD>(std::max(FFilterIndex, 0));
  }
  if (!FInitialDir.empty()) p.Open.lpstrInitialDir = FInitialDir.c_str();
  if (!FTitle.empty()) p.Open.lpstrTitle = FTitle.c_str();
  if (!FDefaultExt.empty()) p.Open.lpstrDefExt = FDefaultExt.c_str();
  p.Open.Flags = FlagsOf(FOptions, OpenFlags) | (FOptions & ofOldStyleDialog ? 0 : OFN_EXPLORER);
  p.Open.FlagsEx = FOptionsEx & ofExNoPlacesBar ? OFN_EX_NOPLACESBAR : 0;
  const bool ok = RunModal([&p] { return p.Run(); });
  if (ok) {
    FFileName = p.File;
    if (!FFilter.empty()) FFilterIndex = static_cast<int>(p.Open.nFilterIndex);
  }
  return ok;
}

TFontDialog::TFontDialog(TComponent* AOwner) : TCommonDialog(AOwner), FFont(std::make_unique<TFont>()) {
  // The face the dialogs are recorded with, so that a dialog shown equals its recording.
  FFont->SetName("Tahoma");
}

TFontDialog::~TFontDialog() = default;

bool TFontDialog::ExecuteEntry(TCommonDialog* Self) {
  auto* self = static_cast<TFontDialog*>(Self);
  const TFont& font = *self->FFont;
  dialogs::ComDlgParams p("font", Application->Handle());
  dialogs::CopyInto(p.LogFont.lfFaceName, sizeof p.LogFont.lfFaceName, font.Name(), "Font.Name");
  p.LogFont.lfCharSet = font.Charset();
  p.LogFont.lfHeight = font.Height();
  p.LogFont.lfWeight = font.Style() & fsBold ? FW_BOLD : FW_NORMAL;
  p.LogFont.lfItalic = font.Style() & fsItalic ? 1 : 0;
  p.LogFont.lfUnderline = font.Style() & fsUnderline ? 1 : 0;
  p.LogFont.lfStrikeOut = font.Style() & fsStrikeOut ? 1 : 0;
  p.Font.Flags = FontDevices[self->FDevice] | CF_INITTOLOGFONTSTRUCT | FlagsOf(self->FOptions, FontFlags);
  if (self->FOptions & fdEffects) p.Font.rgbColors = ColorToRGB(font.Color());
  if (self->FOptions & fdLimitSize) {
    p.Font.nSizeMin = self->FMinFontSize;
    p.Font.nSizeMax = self->FMaxFontSize;
  }
  const bool ok = self->RunModal([&p] { return p.Run(); });
  if (ok) {
    TFont chosen;
    chosen.SetName(std::string(p.LogFont.lfFaceName, strnlen(p.LogFont.lfFaceName, LF_FACESIZE)));
    chosen.SetCharset(p.LogFont.lfCharSet);
    chosen.SetHeight(p.LogFont.lfHeight);
    chosen.SetStyle((p.LogFont.lfWeight >= FW_BOLD ? fsBold : 0) | (p.LogFont.lfItalic ? fsItalic : 0) |
                    (p.LogFont.lfUnderline ? fsUnderline : 0) | (p.LogFont.lfStrikeOut ? fsStrikeOut : 0));
    chosen.SetColor(self->FOptions & fdEffects ? static_cast<TColor>(p.Font.rgbColors) : font.Color());
    self->FFont->Assign(&chosen);
  }
  return ok;
}

TColorDialog::TColorDialog(TComponent* AOwner) : TCommonDialog(AOwner), FCustomColors(std::make_unique<TStringList>()) {}

TColorDialog::~TColorDialog() = default;

bool TColorDialog::ExecuteEntry(TCommonDialog* Self) {
  auto* self = static_cast<TColorDialog*>(Self);
  dialogs::ComDlgParams p("color", Application->Handle());
  for (int i = 0; i < 16; ++i) {
    const std::string name = CustomColorName(i) + "=";
    for (int line = 0; line < self->FCustomColors->Count(); ++line) {
      const std::string& s = self->FCustomColors->Get(line);
      int value = 0;
      if (s.starts_with(name) && TryStrToInt("$" + s.substr(name.size()), value)) {
        p.CustomColors[i] = static_cast<COLORREF>(value) & 0xFFFFFF;
        break;
      }
    }
  }
  p.Color.rgbResult = ColorToRGB(self->FColor);
  p.Color.Flags |= FlagsOf(self->FOptions, ColorFlags);
  const bool ok = self->RunModal([&p] { return p.Run(); });
  if (ok) {
    self->FColor = static_cast<TColor>(p.Color.rgbResult);
    TStringList colors;
    for (int i = 0; i < 16; ++i) {
      char hex[8];
      std::snprintf(hex, sizeof hex, "%06X", static_cast<unsigned>(p.CustomColors[i] & 0xFFFFFF));
      colors.Add(CustomColorName(i) + "=" + hex);
    }
    self->FCustomColors->Assign(&colors);
  }
  return ok;
}

bool TPrintDialog::ExecuteEntry(TCommonDialog* Self) {
  auto* self = static_cast<TPrintDialog*>(Self);
  dialogs::ComDlgParams p("print", Application->Handle());
  PRINTDLGA& d = p.Print;
  const TPrintDialogOptions o = self->FOptions;
  d.Flags = (o & poPageNums ? 0 : PD_NOPAGENUMS) | (o & poSelection ? 0 : PD_NOSELECTION) |
            (o & poDisablePrintToFile ? PD_DISABLEPRINTTOFILE : 0) | (o & poHelp ? PD_SHOWHELP : 0) |
            (self->FCollate ? PD_COLLATE : 0) | (self->FPrintToFile ? PD_PRINTTOFILE : 0) |
            (self->FPrintRange == prPageNums ? PD_PAGENUMS : self->FPrintRange == prSelection ? PD_SELECTION : 0);
  const auto word = [](int Value) { return static_cast<WORD>(std::clamp(Value, 0, 0xFFFF)); };
  d.nCopies = word(std::max(self->FCopies, 1));
  d.nFromPage = word(self->FFromPage);
  d.nToPage = word(self->FToPage);
  d.nMinPage = word(self->FMinPage);
  d.nMaxPage = word(self->FMaxPage);
  const bool ok = self->RunModal([&p] { return p.Run(); });
  if (ok) {
    self->FCopies = d.nCopies;
    self->FFromPage = d.nFromPage;
    self->FToPage = d.nToPage;
    self->FCollate = d.Flags & PD_COLLATE;
    self->FPrintToFile = d.Flags & PD_PRINTTOFILE;
    self->FPrintRange = d.Flags & PD_PAGENUMS ? prPageNums : d.Flags & PD_SELECTION ? prSelection : prAllPages;
  }
  return ok;
}

bool TPrinterSetupDialog::ExecuteEntry(TCommonDialog* Self) {
  dialogs::ComDlgParams p("printsetup", Application->Handle());
  return static_cast<TPrinterSetupDialog*>(Self)->RunModal([&p] { return p.Run(); });
}

}  // namespace vcl
