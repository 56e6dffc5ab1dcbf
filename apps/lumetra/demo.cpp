// `lumetra demo`: prints how the built-in example entries are split and decoded, then shows
// each kind of common dialog and prints its controls.
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "Vek.hpp"
#include "commands.hpp"
#include "vcl/Dialogs.hpp"
#include "win/api.h"
#include "win/printer.h"
#include "win/window_info.h"

namespace lumetra_cli {

namespace {

const char* KindName(Vek::EntryKind Kind, Vek::FontField Font) {
  using Vek::EntryKind;
  switch (Kind) {
    case EntryKind::WindowCaption: return "window title";
    case EntryKind::ChildCaption: return "child text";
    case EntryKind::Font:
      return Font == Vek::FontField::Name      ? "font face name"
             : Font == Vek::FontField::Charset ? "font character set"
                                               : "font (dialog's own again)";
    case EntryKind::WindowWidth: return "window width";
    case EntryKind::WindowHeight: return "window height";
    case EntryKind::ChildLeft: return "child x";
    case EntryKind::ChildTop: return "child y";
    case EntryKind::ChildWidth: return "child width";
    case EntryKind::ChildHeight: return "child height";
    case EntryKind::Ignored: break;
  }
  return "ignored";
}

// Shows control characters of a decoded value visibly, so a line break stays on one line.
std::string Visible(const std::string& s) {
  std::string out = "\"";
  for (unsigned char c : s) {
    if (c == '\r') out += "\\r";
    else if (c == '\n') out += "\\n";
    else if (c < 32) out += "\\x" + std::string(1, "0123456789abcdef"[c >> 4]) + "0123456789abcdef"[c & 15];
    else out += static_cast<char>(c);
  }
  return out + "\"";
}

// Why an entry does nothing to a shown TOpenDialog, or an empty text when it applies.
std::string WhyIgnored(const Vek::Entry& e, const std::optional<std::string>& value) {
  if (!e.HasClass) return "no \".\": no class part";
  if (!e.AppliesTo("TOpenDialog")) return "class part '" + std::string(e.ClassPart) + "' is not TOpenDialog";
  if (e.Kind == Vek::EntryKind::Ignored)
    return e.Property.empty() ? "no \"=\": empty property" : "unknown property '" + std::string(e.Property) + "'";
  if (!value) return "value is not a valid literal";
  if (value->empty()) return "empty value (skipped unless TranslateEmpty)";
  if (e.IsChildKind() && !e.Id()) return "control id '" + std::string(e.IdText) + "' is not a decimal integer";
  const bool integerKind = e.Kind != Vek::EntryKind::WindowCaption && e.Kind != Vek::EntryKind::ChildCaption &&
                           !(e.Kind == Vek::EntryKind::Font && e.Font != Vek::FontField::Charset);
  if (integerKind && !Vek::ParseDecimal(*value)) return "value is not a decimal integer";
  return "";
}

void ShowEntries() {
  const char* const lines[] = {
      "TOpenDialog.Caption='Ouvrir'",
      "TOpenDialog.Caption[1090]='&Dateiname:'",
      "TOpenDialog.Caption[1090]x='A'",
      "TOpenDialog.Caption[-3]='Nom :'",
      "TOpenDialog.Font.Name='MS Sans Serif'",
      "TOpenDialog.Font.Charset=494",
      "TOpenDialog.Font.Style=1",
      "TOpenDialog.Width=564",
      "TOpenDialog.Left[-3]=8",
      "TOpenDialog.Height[1090]=30",
      "TOpenDialog.Caption='abc'#0'def'",
      "TOpenDialog.Caption='Fichier'#13#10'texte'",
      "TOpenDialog.Caption=''",
      "TOpenDialog.Caption[12a]='x'",
      "TOpenDialog.Width=wide",
      "TOpenDialog.Foo=1",
      "TOpenDialog.Caption",
      "topendialog.Caption='x'",
      "TSaveDialog.Caption='Enregistrer'",
      "Caption='no class'",
  };
  std::printf("Entries as a shown TOpenDialog reads them:\n\n");
  std::printf("  %-44s %-26s %-6s %s\n", "entry", "kind", "id", "decoded value / why ignored");
  for (const char* line : lines) {
    const Vek::Entry e = Vek::Entry::Split(line);
    const auto value = e.TryDecodedValue();
    const std::string why = WhyIgnored(e, value);
    const std::string id = e.IsChildKind() && e.Id() ? std::to_string(*e.Id()) : "";
    std::printf("  %-44s %-26s %-6s %s\n", line, KindName(e.Kind, e.Font), id.c_str(),
                why.empty() ? Visible(*value).c_str() : ("ignored: " + why).c_str());
  }
}

void ShowLiterals() {
  std::printf("\nLiteral form of values (plain text -> literal -> plain text):\n\n");
  for (std::string text : {std::string("It's"), std::string("A\r\nB"), std::string("\tX"), std::string()}) {
    std::string literal = text;
    Vek::ConvertToLiterals(literal);
    std::string back = literal;
    Vek::ConvertFromLiterals(back);
    std::printf("  %-12s -> %-14s -> %s\n", Visible(text).c_str(), literal.c_str(), Visible(back).c_str());
  }
}

// Shown dialogs, for the demo.

#ifdef _WIN32
const char* const WindowSystem = "Wine's comdlg32 (the Windows build)";
#else
const char* const WindowSystem = "the simulated window system";
#endif

void PrintControls(const char* ClassName, HWND Dialog) {
  using win::WindowText;
  RECT r;
  GetWindowRect(Dialog, &r);
  std::printf("\n%s: \"%s\", %ld x %ld at (%ld,%ld)\n\n", ClassName, WindowText(Dialog).c_str(),
              static_cast<long>(r.right - r.left), static_cast<long>(r.bottom - r.top), static_cast<long>(r.left),
              static_cast<long>(r.top));
  std::printf("  %3s  %6s  %-18s %-28s %s\n", "pos", "id", "class", "text", "rectangle (client)");
  int position = 0;
  for (HWND c = GetWindow(Dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    const RECT cr = win::RectInClientOf(c, Dialog);
    std::printf("  %3d  %6d  %-18s %-28s (%ld,%ld)-(%ld,%ld)\n", ++position, GetDlgCtrlID(c),
                win::ClassNameOf(c).c_str(), Visible(WindowText(c)).c_str(), static_cast<long>(cr.left),
                static_cast<long>(cr.top), static_cast<long>(cr.right), static_cast<long>(cr.bottom));
  }
}

// While the demo shows the open dialog for a screenshot (run-demo --windows): the folder of
// the handshake files, and whether the screenshot was taken.
std::string HoldFolder;
void CALLBACK CheckScreenshotTaken(HWND, UINT, UINT_PTR Id, DWORD) {
  static int ticks = 0;
  const bool done = std::filesystem::exists(HoldFolder + "/done");
  if (!done && ++ticks < 600) return;  // gives up after a minute
  KillTimer(nullptr, Id);
  PostMessageA(GetActiveWindow(), WM_COMMAND, IDCANCEL, 0);
}

bool ShowOnIdle(void* Data, vcl::TMessage& Msg) {
  auto* dialog = static_cast<vcl::TCommonDialog*>(Data);
  if (Msg.Msg != WM_ENTERIDLE || !dialog->Handle() || reinterpret_cast<HWND>(Msg.LParam) != dialog->Handle()) return false;
  static HWND printed = nullptr;
  if (printed == dialog->Handle()) return false;
  printed = dialog->Handle();
  PrintControls(dialog->ClassName().c_str(), printed);
  std::fflush(stdout);
  if (!HoldFolder.empty() && dialog->Is<vcl::TOpenDialog>() && !dialog->Is<vcl::TSaveDialog>()) {
    std::FILE* ready = std::fopen((HoldFolder + "/ready").c_str(), "w");
    if (ready) std::fclose(ready);
    SetTimer(nullptr, 0, 100, &CheckScreenshotTaken);
  } else {
    PostMessageA(printed, WM_COMMAND, IDCANCEL, 0);
  }
  return false;
}

void ShowDialogs() {
  std::printf("\nThe common dialogs as %s shows them, with their direct children in z-order:\n", WindowSystem);
  win::LocalPrinter printer;  // the print dialogs need one under Wine
  using Make = std::unique_ptr<vcl::TCommonDialog> (*)();
  const Make kinds[] = {
      [] { return std::unique_ptr<vcl::TCommonDialog>(new vcl::TOpenDialog(nullptr)); },
      [] { return std::unique_ptr<vcl::TCommonDialog>(new vcl::TSaveDialog(nullptr)); },
      [] { return std::unique_ptr<vcl::TCommonDialog>(new vcl::TFontDialog(nullptr)); },
      [] { return std::unique_ptr<vcl::TCommonDialog>(new vcl::TColorDialog(nullptr)); },
      [] { return std::unique_ptr<vcl::TCommonDialog>(new vcl::TPrintDialog(nullptr)); },
      [] { return std::unique_ptr<vcl::TCommonDialog>(new vcl::TPrinterSetupDialog(nullptr)); },
      [] { return std::unique_ptr<vcl::TCommonDialog>(new vcl::TFindDialog(nullptr)); },
      [] { return std::unique_ptr<vcl::TCommonDialog>(new vcl::TReplaceDialog(nullptr)); },
  };
  for (Make make : kinds) {
    auto dialog = make();
    if (auto* open = dynamic_cast<vcl::TOpenDialog*>(dialog.get())) open->SetOptions(open->Options() | vcl::ofNoChangeDir);
    if (auto* find = dynamic_cast<vcl::TFindDialog*>(dialog.get())) {
      find->Execute();  // modeless: shown at once
      vcl::Application->ProcessMessages();
      if (find->Handle()) PrintControls(find->ClassName().c_str(), find->Handle());
      find->CloseDialog();
      vcl::Application->ProcessMessages();
      continue;
    }
    const vcl::TWindowHook hook{&ShowOnIdle, dialog.get()};
    vcl::Application->HookMainWindow(hook);
    dialog->Execute();
    vcl::Application->UnhookMainWindow(hook);
  }
}

}  // namespace

int RunDemo(const Args& args) {
  if (!args.empty() && args[0] == "--help") {
    std::printf(
        "usage: lumetra demo [--hold-open-dialog <folder>]\n\n"
        "Shows how translation entries are split and decoded, then shows each kind of common\n"
        "dialog and prints its controls. With --hold-open-dialog the open dialog stays on the\n"
        "screen after <folder>/ready is written, until <folder>/done appears (for a screenshot).\n");
    return 0;
  }
  if (args.size() == 2 && args[0] == "--hold-open-dialog") HoldFolder = args[1];
  else if (!args.empty()) throw vcl::Exception("unknown option '" + args[0] + "' (see lumetra demo --help)");
  ShowEntries();
  ShowLiterals();
  ShowDialogs();
  return 0;
}

}  // namespace lumetra_cli
