// Shared helpers of the tests that show windows and dialogs.
#include "dialog_support.hpp"

namespace testing_support {

VCL_IMPLEMENT_CLASS(TMyOpenDialog, vcl::TOpenDialog)

std::string TextOf(HWND Window, int Size) {
  std::string buf(static_cast<std::size_t>(Size > 0 ? Size : 1), '\0');
  const LRESULT n = SendMessageA(Window, WM_GETTEXT, static_cast<WPARAM>(buf.size()), reinterpret_cast<LPARAM>(buf.data()));
  buf.resize(static_cast<std::size_t>(n > 0 ? n : 0));
  return buf;
}

EntryGuard::EntryGuard(vcl::TClass Class, vcl::TCommonDialog::TMessageHookEntry Entry)
    : FClass(Class), FSaved(Class->Entry(vcl::TCommonDialog::MessageHookSlot())) {
  FClass->SetEntry(vcl::TCommonDialog::MessageHookSlot(), reinterpret_cast<vcl::TCodePointer>(Entry));
}

EntryGuard::~EntryGuard() { FClass->SetEntry(vcl::TCommonDialog::MessageHookSlot(), FSaved); }

}  // namespace testing_support
