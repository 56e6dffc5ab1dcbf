// translated-open: a form with a TLumetra holding Swedish entries for the open dialog, which it
// shows; the dialog closes itself once it is up, and the program prints the title it had.
// Exits with 0 when the title was translated.
#include <cstdio>
#include <string>

#include "Vek.hpp"
#include "vcl/Dialogs.hpp"
#include "vcl/Forms.hpp"

namespace {

const std::string Title = "\xD6ppna fil";  // "Öppna fil" in code page 1252

struct Shown {
  vcl::TOpenDialog* Dialog;
  std::string Caption;
};

// Once the dialog's loop first goes idle it is translated and painted: read it, then cancel.
bool OnIdle(void* Data, vcl::TMessage& Msg) {
  auto* shown = static_cast<Shown*>(Data);
  const HWND dialog = shown->Dialog->Handle();
  if (Msg.Msg != WM_ENTERIDLE || !dialog || reinterpret_cast<HWND>(Msg.LParam) != dialog || !shown->Caption.empty())
    return false;
  char text[256] = "";
  GetWindowTextA(dialog, text, sizeof text);
  shown->Caption = text;
  PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
  return false;
}

}  // namespace

int main() {
  auto* form = new vcl::TForm(vcl::Application);
  auto* translator = new Vek::TLumetra(form);
  auto* dialog = new vcl::TOpenDialog(form);
  dialog->SetOptions(dialog->Options() | vcl::ofNoChangeDir);
  translator->Translations()->SortInsert("TOpenDialog.Caption='" + Title + "'", nullptr);
  translator->Translations()->SortInsert("TOpenDialog.Caption[2]='Avbryt'", nullptr);
  translator->Loaded();  // registers the dialog classes on the form, as reading the form would

  Shown shown{dialog, ""};
  const vcl::TWindowHook hook{&OnIdle, &shown};
  vcl::Application->HookMainWindow(hook);
  dialog->Execute();
  vcl::Application->UnhookMainWindow(hook);

  std::printf("open dialog title: %s\n", shown.Caption.c_str());
  delete form;
  return shown.Caption == Title ? 0 : 1;
}
