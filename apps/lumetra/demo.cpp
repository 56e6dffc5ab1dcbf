// `lumetra demo`: prints how the built-in example entries are split and decoded, then goes on
// to the dialogs (demo_dialogs.cpp).
#include <cstdio>
#include <string>

#include "Vek.hpp"
#include "commands.hpp"
#include "options.hpp"
#include "vcl/CodePages.hpp"

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
    case EntryKind::BiDiMode: return "reading order";
    case EntryKind::PixelsPerInch: return "pixels per inch of the sizes";
    case EntryKind::Ignored: break;
  }
  return "ignored";
}

// Shows control characters of a decoded value visibly, so a line break stays on one line.
}  // namespace

std::string Visible(const std::string& s) {
  std::string out = "\"";
  for (unsigned char c : s) {
    if (c == '\r') out += "\\r";
    else if (c == '\n') out += "\\n";
    else if (c < 32 || (c >= 0x7F && c < 0xA0)) out += "\\x" + std::string(1, "0123456789abcdef"[c >> 4]) + "0123456789abcdef"[c & 15];
    else if (c >= 0xA0) vcl::AppendUtf8(out, vcl::AnsiCharToUnicode(static_cast<char>(c)));  // for a UTF-8 terminal
    else out += static_cast<char>(c);
  }
  return out + "\"";
}

namespace {

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

const char* const DemoHelp =
    "usage: lumetra demo [--hold-dialogs <folder>]\n\n"
    "Shows how translation entries are split and decoded; shows each kind of common dialog and\n"
    "prints its controls; shows the open dialog before and after its translation into German,\n"
    "and prints the capture of each kind. With --hold-dialogs the open dialog, and the open,\n"
    "font and find dialogs in German, each stay on the screen from writing <folder>/<name>.ready\n"
    "until <folder>/<name>.done appears (for screenshots).\n";

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

}  // namespace

int RunDemo(const Args& args) {
  std::string holdFolder;
  const Parsed p = ParseOptions(args, {Value("--hold-dialogs", "", "a folder", holdFolder)});
  if (HelpOrCheck(p, 0, DemoHelp)) return 0;
  ShowEntries();
  ShowLiterals();
  ShowDialogs(holdFolder);
  return 0;
}

}  // namespace lumetra_cli
