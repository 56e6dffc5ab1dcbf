// The dialog part of `lumetra demo`: each kind of common dialog with its controls, the open
// dialog before and after its translation into German, the capture of each kind, and a round
// trip of the German entries through a translation text file and a dictionary.
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <thread>
#include <vector>

#include "Vek.hpp"
#include "commands.hpp"
#include "vcl/CodePages.hpp"
#include "vcl/Dialogs.hpp"
#include "vcl/StandardDialogs.hpp"
#include "win/dialog_layout.h"
#include "win/printer.h"

namespace lumetra_cli {

namespace {

#ifdef _WIN32
const char* const WindowSystem = "Wine's comdlg32 (the Windows build)";
#else
const char* const WindowSystem = "the simulated window system";
#endif

// German entries for the open, font and find dialogs (texts in the ANSI code page, 1252).
const char* const GermanEntries[] = {
    "TOpenDialog.Caption='\xD6" "ffnen'",
    "TOpenDialog.Caption[1091]='Suchen &in:'",
    "TOpenDialog.Caption[1090]='Datei&name:'",
    "TOpenDialog.Caption[1089]='Datei&typ:'",
    "TOpenDialog.Caption[1040]='&Schreibgesch\xFCtzt \xF6" "ffnen'",
    "TOpenDialog.Caption[1]='\xD6&" "ffnen'",
    "TOpenDialog.Caption[2]='Abbrechen'",
    "TOpenDialog.Caption[1038]='&Hilfe'",
    "TOpenDialog.Font.Name='Arial'",
    "TOpenDialog.Width[1040]=250",
    "TFontDialog.Caption='Schriftart'",
    "TFontDialog.Caption[1088]='&Schriftart:'",
    "TFontDialog.Caption[1089]='Schriftsti&l:'",
    "TFontDialog.Caption[1090]='&Grad:'",
    "TFontDialog.Caption[2]='Abbrechen'",
    "TFontDialog.Caption[1026]='\xDC&" "bernehmen'",
    "TFontDialog.Caption[1038]='&Hilfe'",
    "TFontDialog.Caption[1072]='Effekte'",
    "TFontDialog.Caption[1040]='Durchges&trichen'",
    "TFontDialog.Caption[1041]='&Unterstrichen'",
    "TFontDialog.Caption[1091]='&Farbe:'",
    "TFontDialog.Caption[1073]='Beispiel'",
    "TFontDialog.Caption[1094]='Sk&ript:'",
    "TFindDialog.Caption='Suchen'",
    "TFindDialog.Caption[-1]='Su&chen nach:'",
    "TFindDialog.Caption[1040]='Nur &ganzes Wort suchen'",
    "TFindDialog.Caption[1041]='Gro\xDF/&Kleinschreibung'",
    "TFindDialog.Caption[1072]='Richtung'",
    "TFindDialog.Caption[1056]='Nach &oben'",
    "TFindDialog.Caption[1057]='Nach &unten'",
    "TFindDialog.Caption[1]='&Weitersuchen'",
    "TFindDialog.Caption[2]='Abbrechen'",
    "TFindDialog.Caption[1038]='&Hilfe'",
    "TFindDialog.Left[1040]=8",
    "TFindDialog.Width[1040]=208",
    "TFindDialog.Width=430",
};

}  // namespace

std::span<const char* const> GermanDemoEntries() { return GermanEntries; }

namespace {

// Text padded to Width characters on a UTF-8 terminal.
std::string Padded(const std::string& Text, std::size_t Width) {
  const std::size_t shown = vcl::Utf8CharCount(Text);
  return Text + std::string(shown < Width ? Width - shown : 0, ' ');
}

std::string Rect(const RECT& r) {
  return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + ")-(" + std::to_string(r.right) + "," +
         std::to_string(r.bottom) + ")";
}

void PrintControls(const std::string& ClassName, HWND Dialog) {
  const win::DialogLayout d = win::ReadDialog(Dialog);
  const RECT& r = d.Window;
  std::printf("\n%s: %s, %ld x %ld at (%ld,%ld)\n\n", ClassName.c_str(), Visible(d.Title).c_str(),
              static_cast<long>(r.right - r.left), static_cast<long>(r.bottom - r.top), static_cast<long>(r.left),
              static_cast<long>(r.top));
  std::printf("  %3s  %6s  %-18s %-28s %s\n", "pos", "id", "class", "text", "rectangle (client)");
  for (const win::ControlLayout& c : d.Controls)
    std::printf("  %3d  %6d  %-18s %s %s\n", c.Position, c.Id, c.ClassName.c_str(), Padded(Visible(c.Text), 28).c_str(),
                Rect(c.Rect).c_str());
}

// Holding a dialog on the screen for a screenshot (run-demo --windows).
std::string Hold;

bool Exists(const std::string& Name) { return std::filesystem::exists(Hold + "/" + Name); }
void Touch(const std::string& Name) {
  if (std::FILE* f = std::fopen((Hold + "/" + Name).c_str(), "w")) std::fclose(f);
}

// Keeps the shown dialog on the screen, when holding, from <name>.ready until <name>.done
// appears; gives up after a minute.
void HoldUp(const std::string& HoldAs) {
  if (Hold.empty() || HoldAs.empty()) return;
  Touch(HoldAs + ".ready");
  for (int i = 0; i < 600 && !Exists(HoldAs + ".done"); ++i) {
    vcl::Application->ProcessMessages();
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
}

// Shows Dialog; Look sees it once it is up; then it closes (after its screenshot, if held).
void Show(vcl::TCommonDialog* Dialog, const std::function<void(HWND)>& Look, const std::string& HoldAs = "") {
  vcl::ShowDialogOnce(*Dialog, [&](HWND shown) {
    Look(shown);
    std::fflush(stdout);
    HoldUp(HoldAs);
  });
}

void ShowEachKind() {
  std::printf("\nThe common dialogs as %s shows them, with their direct children in z-order:\n", WindowSystem);
  for (const vcl::TStandardDialog& standard : vcl::StandardDialogs()) {
    const std::unique_ptr<vcl::TCommonDialog> dialog(standard.Make(nullptr));
    const bool open = dialog->ClassType() == vcl::TOpenDialog::StaticClass();
    Show(dialog.get(), [&](HWND shown) { PrintControls(dialog->ClassName(), shown); }, open ? "open-dialog" : "");
  }
}

// A form with the open, font and find dialogs and a translator with German entries for them.
struct GermanForm {
  GermanForm() {
    for (const char* e : GermanEntries) Lmt->Translations()->SortInsert(e, nullptr);
    Lmt->Loaded();  // registers the dialog classes on the form
  }
  ~GermanForm() { delete Form; }
  vcl::TForm* Form = new vcl::TForm(vcl::Application);
  vcl::TOpenDialog* Open = new vcl::TOpenDialog(Form);
  vcl::TFontDialog* Font = new vcl::TFontDialog(Form);
  vcl::TFindDialog* Find = new vcl::TFindDialog(Form);
  Vek::TLumetra* Lmt = new Vek::TLumetra(Form);
};

void ShowOpenBeforeAndAfter(GermanForm& Form) {
  std::printf("\nThe open dialog before and after translation into German (%s):\n", WindowSystem);
  win::DialogLayout shownBefore, shownAfter;
  Form.Lmt->SetTranslate(false);
  Show(Form.Open, [&](HWND d) { shownBefore = win::ReadDialog(d); });
  Form.Lmt->SetTranslate(true);
  Show(Form.Open, [&](HWND d) { shownAfter = win::ReadDialog(d); }, "open-german");
  const std::vector<win::ControlLayout>& before = shownBefore.Controls;
  const std::vector<win::ControlLayout>& after = shownAfter.Controls;
  std::printf("\n  title: %s -> %s\n\n", Visible(shownBefore.Title).c_str(), Visible(shownAfter.Title).c_str());
  std::printf("  %3s  %6s  %-26s %-30s %s\n", "pos", "id", "text before", "text after", "rectangle before -> after");
  for (std::size_t i = 0; i < before.size() && i < after.size(); ++i) {
    const std::string moved = Rect(before[i].Rect) == Rect(after[i].Rect) ? Rect(before[i].Rect)
                                                                           : Rect(before[i].Rect) + " -> " + Rect(after[i].Rect);
    std::printf("  %3zu  %6d  %s %s %s\n", i + 1, before[i].Id, Padded(Visible(before[i].Text), 26).c_str(),
                Padded(Visible(after[i].Text), 30).c_str(), moved.c_str());
  }
  // The font and find dialogs in German, for the screenshots of run-demo --windows.
  if (!Hold.empty()) {
    Show(Form.Font, [](HWND) {}, "font-german");
    Show(Form.Find, [](HWND) {}, "find-german");
  }
}

void ShowCaptures() {
  std::printf("\nThe capture of each kind (%s): the entries a translator starts from.\n", WindowSystem);
  vcl::TForm form(vcl::Application);
  auto* lmt = new Vek::TLumetra(&form);
  for (const vcl::TStandardDialog& standard : vcl::StandardDialogs()) {
    const std::unique_ptr<vcl::TCommonDialog> dialog(standard.Make(&form));
    vcl::TStringList list, values;
    lmt->GetDlgProps(dialog.get(), &list);
    Vek::MergeCapture(values, list);  // a dialog may be described more than once before it closes
    std::printf("\n");
    for (int i = 0; i < values.Count(); ++i) std::printf("  %s\n", values.Strings(i).c_str());
  }
}

void PrintFile(const std::string& Title, const std::string& FileName) {
  std::printf("\n  %s:\n", Title.c_str());
  vcl::TStringList lines;
  lines.LoadFromFile(FileName);
  for (int i = 0; i < lines.Count(); ++i) std::printf("    %s\n", Visible(lines.Strings(i)).c_str());
}

// The German entries of the open dialog go into a translation text file and a dictionary, and
// come back from them into translators that had none.
void ShowRoundTrip() {
  std::printf("\nA round trip through a translation text file and a dictionary:\n");
  const std::filesystem::path folder = std::filesystem::temp_directory_path() / "lumetra-demo";
  std::filesystem::create_directories(folder);
  const std::string textFile = (folder / "lang.txt").string(), dictionary = (folder / "de.dic").string();
  std::filesystem::remove(textFile);
  std::filesystem::remove(dictionary);

  vcl::TForm form(vcl::Application);
  form.SetName("Form1");
  auto* open = new vcl::TOpenDialog(&form);
  open->SetOptions(open->Options() | vcl::ofNoChangeDir);
  auto* german = new Vek::TLumetra(&form);
  german->SetLocale(1031);
  for (const char* e : GermanEntries)
    if (Vek::Entry::Split(e).AppliesTo("TOpenDialog")) german->Translations()->SortInsert(e, nullptr);
  vcl::TStringList captured;
  german->GetDlgProps(open, &captured);  // the originals, beside which the file keeps them
  Vek::MergeCapture(*german->OrgProps(), captured);

  german->SaveTo(textFile);
  PrintFile("SaveTo " + textFile, textFile);
  auto* loaded = new Vek::TLumetra(&form);
  loaded->SetLocale(1031);
  loaded->LoadFrom(textFile);
  std::printf("\n  LoadFrom into a new translator of locale 1031: %d entries, %s\n", loaded->Translations()->Count(),
              loaded->Translations()->Text() == german->Translations()->Text() ? "the same as saved" : "NOT the same");

  german->TranslateTo(dictionary);
  PrintFile("TranslateTo " + dictionary, dictionary);
  // A translator whose entries still hold the English originals takes the German from it.
  auto* english = new Vek::TLumetra(&form);
  for (int i = 0; i < german->Translations()->Count(); ++i) {
    const int index = Vek::FindEntry(*german->OrgProps(), Vek::EntryKey(german->Translations()->Strings(i)));
    if (index >= 0) english->Translations()->Add(german->OrgProps()->Strings(index));
  }
  english->OrgProps()->Assign(german->OrgProps());
  english->TranslateFrom(dictionary);
  std::printf("\n  TranslateFrom into entries that held the originals:\n");
  for (int i = 0; i < english->Translations()->Count(); ++i)
    std::printf("    %s\n", Visible(english->Translations()->Strings(i)).c_str());
}

}  // namespace

void ShowDialogs(const std::string& HoldFolder) {
  Hold = HoldFolder;
  win::LocalPrinter printer;  // the print dialogs need one under Wine
  ShowEachKind();
  {
    GermanForm german;
    ShowOpenBeforeAndAfter(german);
  }
  ShowCaptures();
  ShowRoundTrip();
  Vek::UnRegisterDialogClasses();
}

}  // namespace lumetra_cli
