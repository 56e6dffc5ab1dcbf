// Simulated standard controls: Button, Static, Edit, ListBox, SysTabControl32 and the tooltip
// control with the messages, notifications, keyboard and mouse handling the controls layer relies on.
//
// Notes:
// - Each control keeps its own data (check state, list items and selection, edit selection,
//   tab items) beside the window, dropped at WM_NCDESTROY.
// - Notifications go to the parent as on Windows: WM_COMMAND with BN_CLICKED, EN_CHANGE,
//   EN_SETFOCUS, EN_KILLFOCUS, LBN_SELCHANGE and LBN_DBLCLK (list boxes with LBS_NOTIFY), and
//   WM_NOTIFY with TCN_SELCHANGING (a nonzero answer refuses the change) and TCN_SELCHANGE.
// - Disabled controls take no mouse or keyboard input, as Windows does not deliver it to them.
// - A list box sorts (LBS_SORT) without regard to case, a new item before its equals; its items are 16 pixels high until
//   LB_SETITEMHEIGHT says otherwise. Tabs are 20 pixels high, each 12 pixels wider than 6
//   pixels per character of its text, from x = 2.
// - A tooltip has no clock: the tool whose window last had the mouse moved over it (relayed with
//   TTM_RELAYEVENT) is its current tool, the one whose tip would show once the initial delay
//   passed, until a button goes down, TTM_POP, or TTM_ACTIVATE turns the tips off. Its delays
//   are kept to be read back, 500, 5000 and 100 ms until set.
#include <algorithm>
#include <cctype>
#include <cstring>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "state.hpp"

namespace win_sim {

namespace {

struct ListItem {
  std::string Text;
  LPARAM Data = 0;
  bool Selected = false;
};

struct ControlData {
  bool Pressed = false;
  WPARAM Check = BST_UNCHECKED;
  DWORD SelStart = 0, SelEnd = 0;  // edit selection
  std::vector<ListItem> Items;
  int Cur = -1;     // list box selection (single) / tab control selection
  int Caret = 0;    // list box focus rectangle
  int Anchor = 0;   // start of a Shift range
  int Top = 0;
  int ItemHeight = 16;
};

std::map<HWND, ControlData>& Data() {
  static auto* data = new std::map<HWND, ControlData>;
  return *data;
}

ControlData& Of(HWND Hwnd) { return Data()[Hwnd]; }

DWORD StyleOf(HWND Hwnd) { return static_cast<DWORD>(GetWindowLongPtrA(Hwnd, GWL_STYLE)); }
bool Disabled(HWND Hwnd) { return (StyleOf(Hwnd) & WS_DISABLED) != 0; }

void Command(HWND Hwnd, WORD Code) {
  const HWND parent = GetParent(Hwnd);
  if (parent) Send(parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(Hwnd), Code), reinterpret_cast<LPARAM>(Hwnd));
}

bool KeyDown(int Vk) { return (GetKeyState(Vk) & 0x8000) != 0; }

// ---- Button --------------------------------------------------------------------------------

void ClickButton(HWND Hwnd) {
  const DWORD type = StyleOf(Hwnd) & BS_TYPEMASK;
  ControlData& d = Of(Hwnd);
  if (type == BS_AUTOCHECKBOX) {
    d.Check = d.Check == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED;
  } else if (type == BS_AUTORADIOBUTTON) {
    // The other automatic radio buttons of the parent lose their check.
    if (const HWND parent = GetParent(Hwnd))
      for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        if (c != Hwnd && (StyleOf(c) & BS_TYPEMASK) == BS_AUTORADIOBUTTON) Of(c).Check = BST_UNCHECKED;
    Of(Hwnd).Check = BST_CHECKED;
  }
  Command(Hwnd, BN_CLICKED);
}

LRESULT CALLBACK ButtonProc(HWND Hwnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  const bool group = (StyleOf(Hwnd) & BS_TYPEMASK) == BS_GROUPBOX;
  switch (Msg) {
    case WM_GETDLGCODE: return 0;
    case BM_GETCHECK: return static_cast<LRESULT>(Of(Hwnd).Check);
    case BM_SETCHECK: Of(Hwnd).Check = WParam; return 0;
    case BM_SETSTYLE:
      SetWindowLongPtrA(Hwnd, GWL_STYLE, static_cast<LONG_PTR>((StyleOf(Hwnd) & ~0xFFFFu) | (WParam & 0xFFFF)));
      return 0;
    case BM_CLICK:
      Send(Hwnd, WM_LBUTTONDOWN, MK_LBUTTON, 0);
      Send(Hwnd, WM_LBUTTONUP, 0, 0);
      return 0;
    case WM_LBUTTONDOWN:
      if (group || Disabled(Hwnd)) return 0;
      SetFocus(Hwnd);
      if (Find(Hwnd)) Of(Hwnd).Pressed = true;
      return 0;
    case WM_LBUTTONUP:
      if (group || !std::exchange(Of(Hwnd).Pressed, false)) return 0;
      ClickButton(Hwnd);
      return 0;
    case WM_KEYUP:
      if (WParam == VK_SPACE && !group && !Disabled(Hwnd)) ClickButton(Hwnd);
      return 0;
    case WM_NCDESTROY: Data().erase(Hwnd); break;
    default: break;
  }
  return DefWindowProcA(Hwnd, Msg, WParam, LParam);
}

// ---- Edit ----------------------------------------------------------------------------------

std::string TextOf(HWND Hwnd) {
  const int n = GetWindowTextLengthA(Hwnd);
  std::string text(static_cast<std::size_t>(n) + 1, '\0');
  GetWindowTextA(Hwnd, text.data(), n + 1);
  text.resize(static_cast<std::size_t>(n));
  return text;
}

void ReplaceSelection(HWND Hwnd, const std::string& With) {
  ControlData& d = Of(Hwnd);
  std::string text = TextOf(Hwnd);
  const DWORD from = std::min<DWORD>(std::min(d.SelStart, d.SelEnd), static_cast<DWORD>(text.size()));
  const DWORD to = std::min<DWORD>(std::max(d.SelStart, d.SelEnd), static_cast<DWORD>(text.size()));
  text.replace(from, to - from, With);
  DefWindowProcA(Hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
  Of(Hwnd).SelStart = Of(Hwnd).SelEnd = from + static_cast<DWORD>(With.size());
  Command(Hwnd, EN_CHANGE);
}

LRESULT CALLBACK EditProc(HWND Hwnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  const DWORD style = StyleOf(Hwnd);
  const bool multi = (style & ES_MULTILINE) != 0;
  switch (Msg) {
    case WM_GETDLGCODE: return DLGC_WANTCHARS | DLGC_WANTARROWS | (multi ? DLGC_WANTALLKEYS : 0);
    case WM_SETTEXT: {
      const LRESULT r = DefWindowProcA(Hwnd, Msg, WParam, LParam);
      Of(Hwnd).SelStart = Of(Hwnd).SelEnd = 0;
      Command(Hwnd, EN_CHANGE);
      return r;
    }
    case EM_GETSEL: {
      const ControlData& d = Of(Hwnd);
      if (WParam) *reinterpret_cast<DWORD*>(WParam) = d.SelStart;
      if (LParam) *reinterpret_cast<DWORD*>(LParam) = d.SelEnd;
      return static_cast<LRESULT>(MAKELPARAM(d.SelStart, d.SelEnd));
    }
    case EM_SETSEL: {
      const auto length = static_cast<long long>(GetWindowTextLengthA(Hwnd));
      auto clamp = [&](long long v) { return static_cast<DWORD>(v < 0 || v > length ? length : v); };
      long long start = static_cast<long long>(static_cast<INT_PTR>(WParam));
      long long end = static_cast<long long>(LParam);
      ControlData& d = Of(Hwnd);
      if (start == -1) {  // deselect, caret stays
        d.SelStart = d.SelEnd;
        return 0;
      }
      d.SelStart = clamp(start);
      d.SelEnd = clamp(end);
      return 0;
    }
    case EM_SETREADONLY:
      SetWindowLongPtrA(Hwnd, GWL_STYLE, static_cast<LONG_PTR>(WParam ? style | ES_READONLY : style & ~ES_READONLY));
      return TRUE;
    case WM_LBUTTONDOWN:
      if (!Disabled(Hwnd)) SetFocus(Hwnd);
      return 0;
    case WM_SETFOCUS: Command(Hwnd, EN_SETFOCUS); return 0;
    case WM_KILLFOCUS: Command(Hwnd, EN_KILLFOCUS); return 0;
    case WM_CHAR: {
      if (style & ES_READONLY) return 0;
      const char c = static_cast<char>(WParam);
      if (c == '\b') {
        ControlData& d = Of(Hwnd);
        if (d.SelStart == d.SelEnd && d.SelStart > 0) --d.SelStart;
        ReplaceSelection(Hwnd, "");
      } else if (c == '\r') {
        if (multi) ReplaceSelection(Hwnd, "\r\n");
      } else if (c == '\t') {
        if (multi) ReplaceSelection(Hwnd, "\t");
      } else if (static_cast<unsigned char>(c) >= 0x20) {
        ReplaceSelection(Hwnd, std::string(1, c));
      }
      return 0;
    }
    case WM_KEYDOWN: {
      ControlData& d = Of(Hwnd);
      const auto length = static_cast<DWORD>(GetWindowTextLengthA(Hwnd));
      switch (WParam) {
        case VK_HOME: d.SelStart = d.SelEnd = 0; break;
        case VK_END: d.SelStart = d.SelEnd = length; break;
        case VK_LEFT: d.SelStart = d.SelEnd = d.SelEnd > 0 ? d.SelEnd - 1 : 0; break;
        case VK_RIGHT: d.SelStart = d.SelEnd = std::min(d.SelEnd + 1, length); break;
        case VK_DELETE:
          if (style & ES_READONLY) break;
          if (d.SelStart == d.SelEnd) d.SelEnd = std::min(d.SelEnd + 1, length);
          ReplaceSelection(Hwnd, "");
          break;
        default: break;
      }
      return 0;
    }
    case WM_NCDESTROY: Data().erase(Hwnd); break;
    default: break;
  }
  return DefWindowProcA(Hwnd, Msg, WParam, LParam);
}

// ---- ListBox -------------------------------------------------------------------------------

bool Multi(DWORD Style) { return (Style & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL)) != 0; }

bool LessNoCase(const std::string& A, const std::string& B) {
  return std::lexicographical_compare(A.begin(), A.end(), B.begin(), B.end(), [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) < std::tolower(static_cast<unsigned char>(y));
  });
}

void SelChange(HWND Hwnd) {
  if (StyleOf(Hwnd) & LBS_NOTIFY) Command(Hwnd, LBN_SELCHANGE);
}

// Moves the focus rectangle to Index after a mouse click or a key, as the selection style says.
void ListSelect(HWND Hwnd, int Index, bool Toggle, bool Range) {
  ControlData& d = Of(Hwnd);
  const DWORD style = StyleOf(Hwnd);
  const int count = static_cast<int>(d.Items.size());
  if (count == 0) return;
  Index = std::clamp(Index, 0, count - 1);
  d.Caret = Index;
  if (!Multi(style)) {
    d.Cur = Index;
  } else if (style & LBS_EXTENDEDSEL) {
    if (Range) {
      const int lo = std::min(d.Anchor, Index), hi = std::max(d.Anchor, Index);
      for (int i = 0; i < count; ++i) d.Items[static_cast<std::size_t>(i)].Selected = i >= lo && i <= hi;
    } else if (Toggle) {
      d.Items[static_cast<std::size_t>(Index)].Selected = !d.Items[static_cast<std::size_t>(Index)].Selected;
      d.Anchor = Index;
    } else {
      for (auto& item : d.Items) item.Selected = false;
      d.Items[static_cast<std::size_t>(Index)].Selected = true;
      d.Anchor = Index;
    }
  } else if (Toggle) {
    d.Items[static_cast<std::size_t>(Index)].Selected = !d.Items[static_cast<std::size_t>(Index)].Selected;
  }
  SelChange(Hwnd);
}

int ListIndexAt(HWND Hwnd, LPARAM Point, bool& Outside) {
  const ControlData& d = Of(Hwnd);
  const int y = static_cast<short>(HIWORD(Point));
  const int index = d.Top + (y < 0 ? -1 : y / std::max(d.ItemHeight, 1));
  const int count = static_cast<int>(d.Items.size());
  Outside = y < 0 || index >= count;
  return std::clamp(index, 0, std::max(count - 1, 0));
}

LRESULT CALLBACK ListBoxProc(HWND Hwnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  const DWORD style = StyleOf(Hwnd);
  ControlData& d = Of(Hwnd);
  const int count = static_cast<int>(d.Items.size());
  auto valid = [&](WPARAM Index) { return static_cast<INT_PTR>(Index) >= 0 && static_cast<INT_PTR>(Index) < count; };
  auto item = [&](WPARAM Index) -> ListItem& { return d.Items[static_cast<std::size_t>(Index)]; };
  switch (Msg) {
    case WM_GETDLGCODE: return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case LB_ADDSTRING:
    case LB_INSERTSTRING: {
      ListItem added{LParam ? reinterpret_cast<const char*>(LParam) : "", 0, false};
      std::size_t at = d.Items.size();
      if (Msg == LB_ADDSTRING && (style & LBS_SORT)) {
        at = static_cast<std::size_t>(
            std::lower_bound(d.Items.begin(), d.Items.end(), added,
                             [](const ListItem& a, const ListItem& b) { return LessNoCase(a.Text, b.Text); }) -
            d.Items.begin());
      } else if (Msg == LB_INSERTSTRING && static_cast<INT_PTR>(WParam) != -1) {
        if (static_cast<INT_PTR>(WParam) < 0 || static_cast<INT_PTR>(WParam) > count) return LB_ERR;
        at = WParam;
      }
      d.Items.insert(d.Items.begin() + static_cast<std::ptrdiff_t>(at), std::move(added));
      if (d.Cur >= static_cast<int>(at)) ++d.Cur;
      return static_cast<LRESULT>(at);
    }
    case LB_DELETESTRING:
      if (!valid(WParam)) return LB_ERR;
      d.Items.erase(d.Items.begin() + static_cast<std::ptrdiff_t>(WParam));
      if (d.Cur == static_cast<int>(WParam)) d.Cur = -1;
      else if (d.Cur > static_cast<int>(WParam)) --d.Cur;
      d.Caret = std::min(d.Caret, std::max(count - 2, 0));
      return count - 1;
    case LB_RESETCONTENT: d.Items.clear(); d.Cur = -1; d.Caret = d.Top = d.Anchor = 0; return 0;
    case LB_GETCOUNT: return count;
    case LB_GETTEXTLEN: return valid(WParam) ? static_cast<LRESULT>(item(WParam).Text.size()) : LB_ERR;
    case LB_GETTEXT:
      if (!valid(WParam) || !LParam) return LB_ERR;
      std::memcpy(reinterpret_cast<char*>(LParam), item(WParam).Text.c_str(), item(WParam).Text.size() + 1);
      return static_cast<LRESULT>(item(WParam).Text.size());
    case LB_GETITEMDATA: return valid(WParam) ? item(WParam).Data : LB_ERR;
    case LB_SETITEMDATA:
      if (!valid(WParam)) return LB_ERR;
      item(WParam).Data = LParam;
      return TRUE;
    case LB_SETCURSEL:
      if (Multi(style)) return LB_ERR;
      d.Cur = valid(WParam) ? static_cast<int>(WParam) : -1;
      if (d.Cur >= 0) d.Caret = d.Cur;
      return d.Cur < 0 ? LB_ERR : d.Cur;
    case LB_GETCURSEL:
      if (Multi(style)) return count ? d.Caret : LB_ERR;
      return d.Cur;
    case LB_SETSEL:
      if (!Multi(style)) return LB_ERR;
      if (static_cast<int>(LParam) == -1) {
        for (auto& i : d.Items) i.Selected = WParam != 0;
        return 0;
      }
      if (!valid(static_cast<WPARAM>(LParam))) return LB_ERR;
      item(static_cast<WPARAM>(LParam)).Selected = WParam != 0;
      if (WParam) d.Caret = static_cast<int>(LParam);
      return 0;
    case LB_GETSEL:
      if (!valid(WParam)) return LB_ERR;
      return Multi(style) ? (item(WParam).Selected ? 1 : 0) : (d.Cur == static_cast<int>(WParam) ? 1 : 0);
    case LB_GETSELCOUNT:
      if (!Multi(style)) return LB_ERR;
      return std::count_if(d.Items.begin(), d.Items.end(), [](const ListItem& i) { return i.Selected; });
    case LB_GETSELITEMS: {
      if (!Multi(style)) return LB_ERR;
      int* out = reinterpret_cast<int*>(LParam);
      int n = 0;
      for (int i = 0; i < count && n < static_cast<int>(WParam); ++i)
        if (d.Items[static_cast<std::size_t>(i)].Selected) out[n++] = i;
      return n;
    }
    case LB_SETCARETINDEX:
      if (!valid(WParam)) return LB_ERR;
      d.Caret = static_cast<int>(WParam);
      return 0;
    case LB_GETCARETINDEX: return d.Caret;
    case LB_SETANCHORINDEX:
      if (!valid(WParam)) return LB_ERR;
      d.Anchor = static_cast<int>(WParam);
      return 0;
    case LB_GETANCHORINDEX: return d.Anchor;
    case LB_INITSTORAGE:
      d.Items.reserve(d.Items.size() + WParam);
      return static_cast<LRESULT>(d.Items.capacity());
    case LB_GETTOPINDEX: return d.Top;
    case LB_SETTOPINDEX:
      if (!valid(WParam) && !(count == 0 && WParam == 0)) return LB_ERR;
      d.Top = static_cast<int>(WParam);
      return 0;
    case LB_SETITEMHEIGHT: d.ItemHeight = std::max(1, static_cast<int>(LOWORD(LParam))); return 0;
    case LB_GETITEMHEIGHT: return d.ItemHeight;
    case LB_GETITEMRECT: {
      if (!valid(WParam) || !LParam) return LB_ERR;
      RECT client;
      GetClientRect(Hwnd, &client);
      const LONG top = (static_cast<LONG>(WParam) - d.Top) * d.ItemHeight;
      *reinterpret_cast<RECT*>(LParam) = RECT{0, top, client.right, top + d.ItemHeight};
      return 0;
    }
    case LB_ITEMFROMPOINT: {
      bool outside = false;
      const int index = ListIndexAt(Hwnd, LParam, outside);
      return static_cast<LRESULT>(MAKELPARAM(index, outside ? 1 : 0));
    }
    case WM_SETREDRAW: return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      if (Disabled(Hwnd)) return 0;
      SetFocus(Hwnd);
      if (!Find(Hwnd) || count == 0) return 0;
      bool outside = false;
      const int index = ListIndexAt(Hwnd, LParam, outside);
      if (outside) return 0;
      if (Msg == WM_LBUTTONDBLCLK) {
        if (style & LBS_NOTIFY) Command(Hwnd, LBN_DBLCLK);
        return 0;
      }
      const bool multiple = (style & LBS_MULTIPLESEL) != 0;
      ListSelect(Hwnd, index, multiple || (WParam & MK_CONTROL), (style & LBS_EXTENDEDSEL) && (WParam & MK_SHIFT));
      return 0;
    }
    case WM_KEYDOWN: {
      if (count == 0) return 0;
      int to = Multi(style) ? d.Caret : std::max(d.Cur, 0);
      switch (WParam) {
        case VK_DOWN: to = std::min(to + 1, count - 1); break;
        case VK_UP: to = std::max(to - 1, 0); break;
        case VK_HOME: to = 0; break;
        case VK_END: to = count - 1; break;
        case VK_SPACE:
          if (style & LBS_MULTIPLESEL) ListSelect(Hwnd, d.Caret, true, false);
          return 0;
        default: return 0;
      }
      if (style & LBS_MULTIPLESEL) {
        d.Caret = to;
        return 0;
      }
      ListSelect(Hwnd, to, false, (style & LBS_EXTENDEDSEL) && KeyDown(VK_SHIFT));
      return 0;
    }
    case WM_NCDESTROY: Data().erase(Hwnd); break;
    default: break;
  }
  return DefWindowProcA(Hwnd, Msg, WParam, LParam);
}

// ---- SysTabControl32 -----------------------------------------------------------------------

RECT TabRect(const ControlData& D, int Index) {
  LONG x = 2;
  for (int i = 0; i < Index; ++i) x += 12 + 6 * static_cast<LONG>(D.Items[static_cast<std::size_t>(i)].Text.size());
  return RECT{x, 2, x + 12 + 6 * static_cast<LONG>(D.Items[static_cast<std::size_t>(Index)].Text.size()), 22};
}

LRESULT Notify(HWND Hwnd, UINT Code) {
  const HWND parent = GetParent(Hwnd);
  NMHDR header{Hwnd, static_cast<UINT_PTR>(GetDlgCtrlID(Hwnd)), Code};
  return parent ? Send(parent, WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header)) : 0;
}

void TabChangeTo(HWND Hwnd, int Index) {
  if (Index == Of(Hwnd).Cur) return;
  if (Notify(Hwnd, TCN_SELCHANGING)) return;  // refused
  if (!Find(Hwnd)) return;
  Of(Hwnd).Cur = Index;
  Notify(Hwnd, TCN_SELCHANGE);
}

LRESULT CALLBACK TabControlProc(HWND Hwnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  ControlData& d = Of(Hwnd);
  const int count = static_cast<int>(d.Items.size());
  switch (Msg) {
    case WM_GETDLGCODE: return DLGC_WANTARROWS;
    case TCM_GETITEMCOUNT: return count;
    case TCM_INSERTITEMA: {
      const auto* tab = reinterpret_cast<const TCITEMA*>(LParam);
      if (!tab || static_cast<INT_PTR>(WParam) < 0) return -1;
      const std::size_t at = std::min<std::size_t>(WParam, d.Items.size());
      d.Items.insert(d.Items.begin() + static_cast<std::ptrdiff_t>(at),
                     ListItem{(tab->mask & TCIF_TEXT) && tab->pszText ? tab->pszText : "", 0, false});
      if (d.Cur < 0) d.Cur = 0;
      else if (d.Cur >= static_cast<int>(at) && count > 0) ++d.Cur;
      return static_cast<LRESULT>(at);
    }
    case TCM_DELETEALLITEMS: d.Items.clear(); d.Cur = -1; return TRUE;
    case TCM_GETCURSEL: return d.Cur;
    case TCM_SETCURSEL: {
      const int old = d.Cur;
      if (static_cast<INT_PTR>(WParam) < 0 || static_cast<INT_PTR>(WParam) >= count) return -1;
      d.Cur = static_cast<int>(WParam);
      return old;
    }
    case TCM_GETITEMRECT:
      if (static_cast<INT_PTR>(WParam) < 0 || static_cast<INT_PTR>(WParam) >= count || !LParam) return FALSE;
      *reinterpret_cast<RECT*>(LParam) = TabRect(d, static_cast<int>(WParam));
      return TRUE;
    case TCM_ADJUSTRECT: {
      auto* r = reinterpret_cast<RECT*>(LParam);
      if (!r) return 0;
      const int sign = WParam ? -1 : 1;
      r->left += sign * 4;
      r->top += sign * 24;
      r->right -= sign * 4;
      r->bottom -= sign * 4;
      return 0;
    }
    case WM_LBUTTONDOWN: {
      if (Disabled(Hwnd)) return 0;
      SetFocus(Hwnd);
      const POINT p{static_cast<short>(LOWORD(LParam)), static_cast<short>(HIWORD(LParam))};
      for (int i = 0; Find(Hwnd) && i < count; ++i) {
        const RECT r = TabRect(Of(Hwnd), i);
        if (p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom) {
          TabChangeTo(Hwnd, i);
          break;
        }
      }
      return 0;
    }
    case WM_KEYDOWN:
      if (count && (WParam == VK_RIGHT || WParam == VK_LEFT))
        TabChangeTo(Hwnd, std::clamp(d.Cur + (WParam == VK_RIGHT ? 1 : -1), 0, count - 1));
      return 0;
    case WM_NCDESTROY: Data().erase(Hwnd); break;
    default: break;
  }
  return DefWindowProcA(Hwnd, Msg, WParam, LParam);
}

// ---- tooltips_class32 ----------------------------------------------------------------------

struct TooltipData {
  std::vector<std::pair<HWND, std::string>> Tools;
  int Delays[4] = {500, 100, 5000, 500};  // by TTDT_: automatic, reshow, autopop, initial
  bool Active = true;
  HWND Current = nullptr;
};

std::map<HWND, TooltipData>& Tooltips() {
  static auto* tips = new std::map<HWND, TooltipData>;
  return *tips;
}

LRESULT CALLBACK TooltipProc(HWND Hwnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  TooltipData& t = Tooltips()[Hwnd];
  auto* info = reinterpret_cast<TTTOOLINFOA*>(LParam);
  const auto tool = [&](HWND Id) {
    return std::find_if(t.Tools.begin(), t.Tools.end(), [Id](const auto& Tool) { return Tool.first == Id; });
  };
  switch (Msg) {
    case TTM_ADDTOOLA:
      if (!info || !(info->uFlags & TTF_IDISHWND)) return FALSE;
      if (auto it = tool(reinterpret_cast<HWND>(info->uId)); it != t.Tools.end()) t.Tools.erase(it);
      t.Tools.emplace_back(reinterpret_cast<HWND>(info->uId), info->lpszText ? info->lpszText : "");
      return TRUE;
    case TTM_DELTOOLA:
    case TTM_UPDATETIPTEXTA:
      if (auto it = info ? tool(reinterpret_cast<HWND>(info->uId)) : t.Tools.end(); it != t.Tools.end()) {
        if (Msg == TTM_UPDATETIPTEXTA) {
          it->second = info->lpszText ? info->lpszText : "";
        } else {
          if (t.Current == it->first) t.Current = nullptr;
          t.Tools.erase(it);
        }
      }
      return 0;
    case TTM_GETTOOLCOUNT: return static_cast<LRESULT>(t.Tools.size());
    case TTM_ACTIVATE:
      t.Active = WParam != 0;
      if (!t.Active) t.Current = nullptr;
      return 0;
    case TTM_POP: t.Current = nullptr; return 0;
    case TTM_SETDELAYTIME: {
      const int value = static_cast<short>(LOWORD(LParam));
      if (WParam == 0) {
        const int initial = value < 0 ? 500 : value;
        t.Delays[TTDT_INITIAL] = initial;
        t.Delays[TTDT_AUTOPOP] = initial * 10;
        t.Delays[TTDT_RESHOW] = initial / 5;
      } else if (WParam <= TTDT_INITIAL) {
        const int defaults[4] = {500, 100, 5000, 500};
        t.Delays[WParam] = value < 0 ? defaults[WParam] : value;
      }
      return 0;
    }
    case TTM_GETDELAYTIME: return WParam <= TTDT_INITIAL ? t.Delays[WParam] : 0;
    case TTM_RELAYEVENT: {
      const auto* msg = reinterpret_cast<const MSG*>(LParam);
      if (!msg) return 0;
      if (msg->message == WM_MOUSEMOVE)
        t.Current = t.Active && tool(msg->hwnd) != t.Tools.end() ? msg->hwnd : nullptr;
      else if (msg->message == WM_LBUTTONDOWN || msg->message == WM_RBUTTONDOWN || msg->message == WM_MBUTTONDOWN)
        t.Current = nullptr;
      return 0;
    }
    case TTM_GETCURRENTTOOLA:
      if (!t.Current) return FALSE;
      if (info) {
        info->uFlags = TTF_IDISHWND;
        info->hwnd = GetParent(t.Current);
        info->uId = reinterpret_cast<UINT_PTR>(t.Current);
      }
      return TRUE;
    case WM_NCDESTROY: Tooltips().erase(Hwnd); break;
    default: break;
  }
  return DefWindowProcA(Hwnd, Msg, WParam, LParam);
}

}  // namespace

WNDPROC ControlClassProc(const char* ClassName) {
  const std::string name = ClassName ? ClassName : "";
  if (name == "Button") return &ButtonProc;
  if (name == "Edit") return &EditProc;
  if (name == "ListBox") return &ListBoxProc;
  if (name == WC_TABCONTROLA) return &TabControlProc;
  if (name == TOOLTIPS_CLASSA) return &TooltipProc;
  return &DefWindowProcA;
}

HWND ChildAt(HWND Parent, POINT Point) {
  const Window* w = Find(Parent);
  if (!w) return nullptr;
  for (HWND c : w->Children) {
    const Window* child = Find(c);
    if (child && (child->Style & WS_VISIBLE) && Point.x >= child->Rect.left && Point.x < child->Rect.right &&
        Point.y >= child->Rect.top && Point.y < child->Rect.bottom)
      return c;
  }
  return nullptr;
}

}  // namespace win_sim

using namespace win_sim;

BOOL SetWindowPos(HWND hWnd, HWND hWndInsertAfter, int X, int Y, int cx, int cy, UINT uFlags) {
  Window* w = Find(hWnd);
  if (!w) {
    Sim().LastError = ERROR_INVALID_WINDOW_HANDLE;
    return FALSE;
  }
  if (!(uFlags & SWP_NOZORDER)) {
    auto& siblings = w->Parent ? Find(w->Parent)->Children : Sim().TopLevel;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), hWnd), siblings.end());
    if (hWndInsertAfter == HWND_BOTTOM) siblings.push_back(hWnd);
    else siblings.insert(siblings.begin(), hWnd);
  }
  if ((uFlags & (SWP_NOMOVE | SWP_NOSIZE)) != (SWP_NOMOVE | SWP_NOSIZE)) {
    const RECT r = w->Rect;
    const int x = (uFlags & SWP_NOMOVE) ? r.left : X, y = (uFlags & SWP_NOMOVE) ? r.top : Y;
    const int width = (uFlags & SWP_NOSIZE) ? r.right - r.left : cx, height = (uFlags & SWP_NOSIZE) ? r.bottom - r.top : cy;
    MoveWindow(hWnd, x, y, width, height, TRUE);
  }
  return TRUE;
}

// The same frame widths as windows.cpp gives a new top-level window.
BOOL AdjustWindowRectEx(LPRECT lpRect, DWORD dwStyle, BOOL, DWORD) {
  if (!lpRect) return FALSE;
  const LONG border = (dwStyle & WS_THICKFRAME) ? 4 : (dwStyle & WS_DLGFRAME) ? 3 : (dwStyle & WS_BORDER) ? 1 : 0;
  const LONG caption = (dwStyle & WS_CAPTION) == WS_CAPTION ? 19 : 0;
  lpRect->left -= border;
  lpRect->top -= border + caption;
  lpRect->right += border;
  lpRect->bottom += border;
  return TRUE;
}

short GetKeyState(int nVirtKey) {
  return (nVirtKey >= 0 && nVirtKey < 256 && Sim().Keys[nVirtKey]) ? static_cast<short>(0x8000) : 0;
}

HWND SetCapture(HWND hWnd) { return std::exchange(Sim().Capture, hWnd); }
BOOL ReleaseCapture() {
  Sim().Capture = nullptr;
  return TRUE;
}
BOOL GetCursorPos(LPPOINT lpPoint) {
  if (!lpPoint) return FALSE;
  *lpPoint = POINT{0, 0};
  return TRUE;
}

HCURSOR LoadCursorA(HINSTANCE, LPCSTR lpCursorName) { return reinterpret_cast<HCURSOR>(const_cast<char*>(lpCursorName)); }
HCURSOR SetCursor(HCURSOR hCursor) { return std::exchange(Sim().Cursor, hCursor); }
HCURSOR GetCursor() { return Sim().Cursor; }
