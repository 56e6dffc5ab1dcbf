// The modal dialog components: open, save, font, colour, print and printer setup.
#include <algorithm>
#include <cstring>

#include "comdlg_params.hpp"
#include "vcl/Dialogs.hpp"

namespace vcl {

namespace {

template <class T>
void SetExecute(TMetaClass& Class) {
  Class.SetEntry(TCommonDialog::ExecuteSlot(), reinterpret_cast<TCodePointer>(&T::ExecuteEntry));
}

}  // namespace

VCL_IMPLEMENT_CLASS(TOpenDialog, TCommonDialog, &SetExecute<TOpenDialog>)
VCL_IMPLEMENT_CLASS(TSaveDialog, TOpenDialog, &SetExecute<TSaveDialog>)
VCL_IMPLEMENT_CLASS(TFontDialog, TCommonDialog, &SetExecute<TFontDialog>)
VCL_IMPLEMENT_CLASS(TColorDialog, TCommonDialog, &SetExecute<TColorDialog>)
VCL_IMPLEMENT_CLASS(TPrintDialog, TCommonDialog, &SetExecute<TPrintDialog>)
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
  if (!FFilter.empty()) p.Open.lpstrFilter = filter.c_str();
  if (!FInitialDir.empty()) p.Open.lpstrInitialDir = FInitialDir.c_str();
  if (!FTitle.empty()) p.Open.lpstrTitle = FTitle.c_str();
  if (!FDefaultExt.empty()) p.Open.lpstrDefExt = FDefaultExt.c_str();
  static const struct {
    TOpenOption Option;
    DWORD Flag;
  } flags[] = {{ofReadOnly, OFN_READONLY},           {ofOverwritePrompt, OFN_OVERWRITEPROMPT},
               {ofHideReadOnly, OFN_HIDEREADONLY},   {ofNoChangeDir, OFN_NOCHANGEDIR},
               {ofPathMustExist, OFN_PATHMUSTEXIST}, {ofFileMustExist, OFN_FILEMUSTEXIST},
               {ofEnableSizing, OFN_ENABLESIZING}};
  p.Open.Flags = OFN_EXPLORER;
  for (const auto& f : flags)
    if (FOptions & f.Option) p.Open.Flags |= f.Flag;
  const bool ok = RunModal([&p] { return p.Run(); });
  if (ok) FFileName = p.File;
  return ok;
}

bool TFontDialog::ExecuteEntry(TCommonDialog* Self) {
  auto* self = static_cast<TFontDialog*>(Self);
  dialogs::ComDlgParams p("font", Application->Handle());
  dialogs::CopyInto(p.LogFont.lfFaceName, sizeof p.LogFont.lfFaceName, self->FFontName, "FontName");
  p.LogFont.lfCharSet = self->FFontCharset;
  p.LogFont.lfHeight = self->FFontHeight;
  const bool ok = self->RunModal([&p] { return p.Run(); });
  if (ok) {
    self->FFontName = std::string(p.LogFont.lfFaceName, strnlen(p.LogFont.lfFaceName, LF_FACESIZE));
    self->FFontCharset = p.LogFont.lfCharSet;
    self->FFontHeight = p.LogFont.lfHeight;
  }
  return ok;
}

bool TColorDialog::ExecuteEntry(TCommonDialog* Self) {
  auto* self = static_cast<TColorDialog*>(Self);
  dialogs::ComDlgParams p("color", Application->Handle());
  p.Color.rgbResult = self->FColor;
  const bool ok = self->RunModal([&p] { return p.Run(); });
  if (ok) self->FColor = p.Color.rgbResult;
  return ok;
}

bool TPrintDialog::ExecuteEntry(TCommonDialog* Self) {
  auto* self = static_cast<TPrintDialog*>(Self);
  dialogs::ComDlgParams p("print", Application->Handle());
  const bool ok = self->RunModal([&p] { return p.Run(); });
  if (ok) self->FCopies = p.Print.nCopies;
  return ok;
}

bool TPrinterSetupDialog::ExecuteEntry(TCommonDialog* Self) {
  dialogs::ComDlgParams p("printsetup", Application->Handle());
  return static_cast<TPrinterSetupDialog*>(Self)->RunModal([&p] { return p.Run(); });
}

}  // namespace vcl
