// The About box: a message form built at run time whose OK button waits 1.5 seconds.
//
// Notes:
// - The wait runs on a window timer of the form, so the application's messages are handled
//   without pumping in a loop; the clock it compares with is TimedMessageClock.
// - The form refuses to close (OnCloseQuery) until TimedMessageDelay has passed since the call
//   began, so an early close leaves the same box up instead of building a new one. WM_QUIT ends
//   the modal loop without asking, and so ends the call.
#include <memory>

#include "Vek.hpp"
#include "vcl/StdCtrls.hpp"

namespace Vek {

DWORD (*TimedMessageClock)() = [] { return GetTickCount(); };

namespace {

constexpr UINT_PTR WaitTimer = 1;
constexpr UINT WaitTimerPeriod = 50;  // ms between two looks at the clock

// Whether Delay has passed from Start to now on the wrapping 32-bit clock: the difference is
// taken modulo 2^32 and compared unsigned, so a wrap of the counter changes nothing.
bool Passed(DWORD Start) { return static_cast<DWORD>(TimedMessageClock() - Start) >= TimedMessageDelay; }

class TTimedMessageForm : public vcl::TForm {
public:
  TTimedMessageForm(vcl::TComponent* AOwner, DWORD AShown) : vcl::TForm(AOwner), FShown(AShown) {}
  ~TTimedMessageForm() override {
    if (HandleAllocated()) KillTimer(WindowHandle(), WaitTimer);
  }

  // Each activation starts the wait again while the button is still disabled; once enabled it
  // stays so.
  void ShowMessageActivated(vcl::TObject* Sender) {
    auto* form = dynamic_cast<vcl::TComponent*>(Sender);
    auto* button = form ? dynamic_cast<vcl::TButton*>(form->FindComponent("Button")) : nullptr;
    if (!button || button->Enabled()) return;
    FActivated = TimedMessageClock();
    FButton = button;
    SetTimer(Handle(), WaitTimer, WaitTimerPeriod, nullptr);
  }

  void QueryClose(vcl::TObject*, bool& CanClose) { CanClose = Passed(FShown); }

protected:
  LRESULT WndProc(UINT Msg, WPARAM WParam, LPARAM LParam) override {
    if (Msg != WM_TIMER) return vcl::TForm::WndProc(Msg, WParam, LParam);
    if (FButton && Passed(FActivated)) {
      KillTimer(Handle(), WaitTimer);
      FButton->SetEnabled(true);
      FButton = nullptr;
    }
    return 0;
  }

private:
  DWORD FShown;
  DWORD FActivated = 0;
  vcl::TButton* FButton = nullptr;  // while waiting
};

}  // namespace

std::string AboutText() {
  return "Lumetra 2.1\r\n"
         "Copyright (C) Brevane\r\n"
         "\r\n"
         "Internet: www.brevane.com";
}

void TLumetra::ShowAbout() { ShowTimedMessage("About ...", AboutText()); }

void ShowTimedMessage(const std::string& Caption, const std::string& Text) {
  const DWORD shown = TimedMessageClock();
  // Freed label first, then button, then form, also when an exception passes.
  std::unique_ptr<TTimedMessageForm> form;
  std::unique_ptr<vcl::TButton> button;
  std::unique_ptr<vcl::TLabel> label;
  struct FreeInOrder {
    std::unique_ptr<TTimedMessageForm>& Form;
    std::unique_ptr<vcl::TButton>& Button;
    std::unique_ptr<vcl::TLabel>& Label;
    ~FreeInOrder() {
      Label.reset();
      Button.reset();
      Form.reset();
    }
  } freeInOrder{form, button, label};

  form = std::make_unique<TTimedMessageForm>(vcl::Application, shown);
  TTimedMessageForm* f = form.get();
  f->SetOnActivate(vcl::TNotifyEvent(f, &TTimedMessageForm::ShowMessageActivated));
  f->SetBorderIcons(0);
  f->SetBorderStyle(vcl::bsDialog);
  f->SetCaption(Caption);
  f->SetClientHeight(130);
  f->SetClientWidth(360);
  f->SetPosition(vcl::poScreenCenter);
  f->Font()->SetName("Ariel");
  f->Font()->SetSize(10);
  f->SetOnCloseQuery(vcl::TCloseQueryEvent(f, &TTimedMessageForm::QueryClose));

  button = std::make_unique<vcl::TButton>(f);
  vcl::TButton* b = button.get();
  b->SetName("Button");
  b->SetParent(f);
  b->SetCaption("OK");
  b->SetDefault(true);
  b->SetEnabled(false);
  b->SetModalResult(vcl::mrOk);
  b->SetLeft(f->Width() / 2 - b->Width() / 2);
  b->SetTop(f->ClientHeight() - (b->Height() + 5));

  label = std::make_unique<vcl::TLabel>(f);
  vcl::TLabel* l = label.get();
  l->SetParent(f);
  // Bold before the text: the label takes its size from the text in the font it has then.
  l->Font()->SetStyle(vcl::fsBold);
  l->SetCaption(Text);
  l->SetLeft(f->Width() / 2 - l->Width() / 2);
  l->SetTop(15);

  f->ShowModal();
}

}  // namespace Vek
