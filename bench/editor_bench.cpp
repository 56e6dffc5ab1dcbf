// Times the translations editor with 20,000 keys and 20,000 captured values, on the window
// system it is built for (real controls under Wine, the simulation on Linux), and prints the
// figures: showing the editor, RefreshPropList, a click in the key list, PageDown through the
// list, Include and Remove of 1,000 keys, and a key typed with the preview window shown. A plain
// program like bench_list_box, so that the Windows build runs it under Wine too.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "VekEdit.hpp"
#include "aims.hpp"

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::time_point From) { return std::chrono::duration<double, std::milli>(Clock::now() - From).count(); }

// Every question answered Yes, no dialog shown.
class Answers : public VekEdit::TEditorDialogs {
public:
  bool Execute(vcl::TCommonDialog&) override { return false; }
  vcl::TModalResult MessageDlg(const std::string&, vcl::TMsgDlgType, vcl::TMsgDlgButtons, int) override { return vcl::mrYes; }
  bool InputQuery(const std::string&, const std::string&, std::string&) override { return false; }
};

struct Figures {
  double Create, Open, Refresh, Click, PageDownWalk, PageDownStep, Include, Remove;
};

std::string KeyOf(int I) {
  char key[64];
  std::snprintf(key, sizeof key, "TDialog%02d.Caption[%d]", I % 37, I);
  return key;
}

Figures Run(int Keys, int Moved) {
  auto form = std::make_unique<vcl::TForm>(vcl::Application);
  form->SetName("Form1");
  auto* lmt = new Vek::TLumetra(form.get());
  form->SetDesigning(true);
  // Keys 0 .. Keys-1 translated; captured values for Moved .. Keys+Moved-1, so that Moved of
  // them are available for Include.
  for (int i = 0; i < Keys; ++i) lmt->Translations()->SortInsert(KeyOf(i) + "='Text " + std::to_string(i) + "'", nullptr);
  for (int i = Moved; i < Keys + Moved; ++i) lmt->OrgProps()->SortInsert(KeyOf(i) + "='Original'", nullptr);

  Figures f{};
  auto start = Clock::now();
  auto editor = std::make_unique<VekEdit::TDlgEditor>(vcl::Application);
  editor->Translator = lmt;
  editor->Handle();
  f.Create = Ms(start);
  start = Clock::now();
  editor->FormShow(editor.get());
  f.Open = Ms(start);

  editor->PropList->SetItemIndex(Keys / 2);
  start = Clock::now();
  editor->RefreshPropList();
  f.Refresh = Ms(start);

  start = Clock::now();
  editor->PropList->SetItemIndex(Keys / 3);
  editor->PropListClick(editor->PropList);
  f.Click = Ms(start);

  // All keys translated: one PageDown walks from the first key to the last.
  editor->CkxMove->SetChecked(true);
  editor->PropList->SetItemIndex(0);
  editor->PropListClick(editor->PropList);
  WORD key = VK_NEXT;
  start = Clock::now();
  editor->EdtTranslationKeyDown(editor->EdtTranslation, key, 0);
  f.PageDownWalk = Ms(start);
  editor->CkxMove->SetChecked(false);
  editor->PropList->SetItemIndex(0);
  start = Clock::now();
  for (int i = 0; i < 100; ++i) {
    key = VK_NEXT;
    editor->EdtTranslationKeyDown(editor->EdtTranslation, key, 0);
  }
  f.PageDownStep = Ms(start) / 100;

  editor->ListAvail->SelectAll();
  editor->ListAvailClick(editor->ListAvail);
  start = Clock::now();
  editor->BtnIncludePropClick(editor->BtnIncludeProp);
  f.Include = Ms(start);
  if (editor->ListAvail->Items()->Count() != 0) std::fprintf(stderr, "Include left %d keys\n", editor->ListAvail->Items()->Count());

  editor->RemoveSelection();
  std::set<std::string> included;
  for (int i = Keys; i < Keys + Moved; ++i) included.insert(KeyOf(i));
  for (int i = 0; i < editor->PropList->Items()->Count(); ++i)
    if (included.count(editor->PropList->Items()->Get(i))) editor->PropList->SetSelected(i, true);
  start = Clock::now();
  editor->BtnRemoveClick(editor->BtnRemove);
  f.Remove = Ms(start);
  if (editor->PropList->Items()->Count() != Keys) std::fprintf(stderr, "Remove left %d keys\n", editor->PropList->Items()->Count());
  return f;
}

// A key typed in the translation box with the preview shown: the open dialog judged and drawn
// again from the working copy of Keys keys and the text typed; milliseconds a key.
double PreviewTyping(int Keys) {
  auto form = std::make_unique<vcl::TForm>(vcl::Application);
  form->SetName("Form1");
  auto* lmt = new Vek::TLumetra(form.get());
  form->SetDesigning(true);
  for (int i = 0; i < Keys; ++i) lmt->Translations()->SortInsert(KeyOf(i) + "='Text " + std::to_string(i) + "'", nullptr);
  lmt->Translations()->SortInsert("TOpenDialog.Caption[1090]='Datei&name:'", nullptr);
  auto editor = std::make_unique<VekEdit::TDlgEditor>(vcl::Application);
  editor->Translator = lmt;
  editor->Handle();
  editor->FormShow(editor.get());
  editor->PropList->SetItemIndex(editor->PropList->Items()->IndexOf("TOpenDialog.Caption[1090]"));
  editor->PropListClick(editor->PropList);
  editor->BtnPreviewClick(editor->BtnPreview);
  std::string text = "Datei&name:";
  const auto start = Clock::now();
  for (int i = 0; i < 50; ++i) {
    text += 'x';
    editor->EdtTranslation->SetText(text);
    editor->EdtTranslationChange(editor->EdtTranslation);
  }
  return Ms(start) / 50;
}

}  // namespace

int main() {
#ifndef _WIN32
  // The editor's settings go to a folder of the benchmark's own.
  const std::filesystem::path settings = std::filesystem::temp_directory_path() / "lumetra-editor-bench";
  setenv("XDG_CONFIG_HOME", settings.string().c_str(), 1);
#endif
  Answers answers;
  VekEdit::SetEditorDialogs(&answers);
  const int keys = 20000, moved = 1000;
  std::printf("translations editor, %d keys and %d captured values (median of 5 runs, ms)\n", keys, keys);
  std::vector<Figures> runs;
  for (int r = 0; r < 5; ++r) runs.push_back(Run(keys, moved));
  auto median = [&](double Figures::*Field) {
    std::vector<double> v;
    for (const Figures& f : runs) v.push_back(f.*Field);
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
  };
  std::printf("making the form and its windows   %8.1f\n", median(&Figures::Create));
  std::printf("open (FormShow)                  %8.1f\n", median(&Figures::Open));
  std::printf("RefreshPropList                  %8.1f\n", median(&Figures::Refresh));
  std::printf("PropList click                   %8.2f\n", median(&Figures::Click));
  std::printf("PageDown walking all keys        %8.1f\n", median(&Figures::PageDownWalk));
  std::printf("PageDown one key                 %8.2f\n", median(&Figures::PageDownStep));
  std::printf("Include %d keys                %8.1f\n", moved, median(&Figures::Include));
  std::printf("Remove %d keys                 %8.1f\n", moved, median(&Figures::Remove));
  std::vector<double> typing;
  for (int r = 0; r < 5; ++r) typing.push_back(PreviewTyping(keys));
  std::sort(typing.begin(), typing.end());
  std::printf("a key typed, preview shown       %8.2f\n", typing[2]);
  VekEdit::SetEditorDialogs(nullptr);
#ifndef _WIN32
  std::filesystem::remove_all(settings);
#endif
  // What the user does in the editor answers within 100 ms with 20,000 keys; a typed key
  // redraws the preview before the next one comes.
  bench::Aims aims;
  const auto atMost = bench::Aims::Bound::AtMost;
  aims.Add("open (FormShow)", median(&Figures::Open), atMost, 100, "ms");
  aims.Add("RefreshPropList", median(&Figures::Refresh), atMost, 100, "ms");
  aims.Add("PropList click", median(&Figures::Click), atMost, 100, "ms");
  aims.Add("PageDown walking all keys", median(&Figures::PageDownWalk), atMost, 100, "ms");
  aims.Add("Include " + std::to_string(moved) + " keys", median(&Figures::Include), atMost, 100, "ms");
  aims.Add("Remove " + std::to_string(moved) + " keys", median(&Figures::Remove), atMost, 100, "ms");
  aims.Add("a key typed, preview shown", typing[2], atMost, 50, "ms");
  return aims.Report();
}
