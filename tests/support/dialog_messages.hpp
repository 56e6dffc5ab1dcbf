// The messages of a running common dialog and what the translator's interception does on each,
// as one table that the tests of the dialogs, of the hooks and of the scenarios read, instead of
// each restating the rules (see the Notes of src/dialogs/common_dialog.cpp and src/vek/hooks.cpp).
#pragma once

#include <cstdint>
#include <vector>

#include "vcl/Dialogs.hpp"
#include "win/api.h"

namespace testing_support {

/// The dialog families, as the owner side reports them.
enum class Family : std::uint8_t { Modal = 1, Colour = 2, Find = 3 };

/// Find and replace dialogs are Find, colour dialogs Colour, the other modal ones Modal.
inline Family FamilyOf(const vcl::TCommonDialog& Dialog) {
  if (Dialog.Is<vcl::TFindDialog>()) return Family::Find;
  return Dialog.Is<vcl::TColorDialog>() ? Family::Colour : Family::Modal;
}

/// An owner-side message of a family. A family's rows stand in the order in which the messages
/// first reach the owner side while its dialog runs.
struct OwnerSideRule {
  Family Of;
  UINT Msg;
  bool Intercepts;  // the dialog window is intercepted on it, unless one already is
  bool Activates;   // the intercepted window is then sent WM_ACTIVATE, once, whenever it was intercepted
};

inline const OwnerSideRule OwnerSideRules[] = {
    {Family::Modal, WM_WINDOWPOSCHANGED, true, false},
    {Family::Modal, WM_ENTERIDLE, false, false},
    {Family::Colour, WM_WINDOWPOSCHANGED, true, false},
    {Family::Colour, WM_ENTERIDLE, true, true},  // Wine paints it without WM_CTLCOLORDLG
    {Family::Find, WM_CREATE, false, false},
    {Family::Find, WM_KILLFOCUS, true, false},   // wParam: the dialog window
};

/// The row of a family's owner-side message, or nullptr.
inline const OwnerSideRule* OwnerSideRuleFor(Family Of, UINT Msg) {
  for (const OwnerSideRule& r : OwnerSideRules)
    if (r.Of == Of && r.Msg == Msg) return &r;
  return nullptr;
}

/// A family's owner-side messages in the order of their first arrival.
inline std::vector<UINT> OwnerSideOrder(Family Of) {
  std::vector<UINT> order;
  for (const OwnerSideRule& r : OwnerSideRules)
    if (r.Of == Of) order.push_back(r.Msg);
  return order;
}

/// What the procedure in front of an intercepted dialog window does with a message.
enum class DialogAction : std::uint8_t {
  PassOn = 1,     // only the dialog's own procedure handles it
  Translate = 2,  // after the dialog's own procedure: translated (in capture mode: described and closed)
  Restore = 3,    // after the dialog's own procedure: the window gets its own procedure back
  Withhold = 4,   // never reaches the dialog's own procedure; answered with 1
};

/// A message to the intercepted window; for WM_COMMAND the low word of WParam is the control id.
struct DialogMessageRule {
  UINT Msg;
  WPARAM WParam;
  DialogAction Action;
};

#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif

inline const DialogMessageRule DialogMessageRules[] = {
    {WM_ACTIVATE, WA_ACTIVE, DialogAction::Translate},
    {WM_ACTIVATE, WA_INACTIVE, DialogAction::Translate},
    {WM_CTLCOLORDLG, 0, DialogAction::Translate},
    {WM_DPICHANGED, MAKEWPARAM(144, 144), DialogAction::Translate},  // the entries again at the new DPI
    {WM_COMMAND, MAKEWPARAM(psh1, BN_CLICKED), DialogAction::Translate},
    {WM_COMMAND, psh2, DialogAction::Translate},
    {WM_COMMAND, psh3, DialogAction::PassOn},
    {WM_COMMAND, IDOK, DialogAction::PassOn},
    {WM_USER + 1, 0, DialogAction::PassOn},
    {WM_USER + 300, 0, DialogAction::Withhold},
    {WM_CLOSE, 0, DialogAction::Restore},
    {WM_DESTROY, 0, DialogAction::Restore},
};

/// What the table says for a message; PassOn for one it does not list.
inline DialogAction DialogActionOn(UINT Msg, WPARAM WParam) {
  for (const DialogMessageRule& r : DialogMessageRules)
    if (r.Msg == Msg && (Msg != WM_COMMAND || LOWORD(r.WParam) == LOWORD(WParam))) return r.Action;
  return DialogAction::PassOn;
}

}  // namespace testing_support
