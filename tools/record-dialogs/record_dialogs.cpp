// record-dialogs: shows each common dialog of comdlg32 once (a Windows program, run under Wine)
// and writes what it finds to <folder>/<kind>.json: title, window and client rectangles, font,
// the face that font is realised as, style, and every direct child in z-order with its id,
// class, text, rectangle, font and style. The kind "metrics" writes <folder>/metrics.json: the
// system metrics (GetSystemMetrics) of the sizes and of the screen, mouse and language the
// dialogs are laid out for.
//
// Usage: record-dialogs <folder> [kind ...]   (kinds: those of the standard dialog classes,
// vcl::StandardDialogs(), and metrics; all when none is named).
//
// Notes:
// - The dialogs are shown the way the class library's Execute shows them: owned by a hidden
//   popup window at the middle of the screen (the application's main window), with the same
//   flags, so that positions and contents match what the components show.
// - A modal dialog is recorded on its owner's first WM_ENTERIDLE, when it is shown, painted and
//   idle, and then closed with WM_COMMAND IDCANCEL. Find and replace are modeless: they are
//   recorded once their messages have been dispatched, then closed the same way.
// - The print dialogs need a printer; win::LocalPrinter adds one for the run when there is none.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <sstream>
#include <string>
#include <vector>

#include "dialog_font.hpp"
#include "dialogs/comdlg_params.hpp"
#include "vcl/StandardDialogs.hpp"
#include "win/api.h"
#include "win/dialog_layout.h"
#include "win/printer.h"

namespace {

struct Recorder {
  std::string Folder;
  std::string Kind;
  std::string Error;
  bool Done = false;
};
Recorder* Current = nullptr;

std::string Quote(const std::string& S, const std::string& Where) {
  std::string out = "\"";
  for (unsigned char c : S) {
    if (c >= 0x80) throw std::runtime_error(Where + ": text \"" + S + "\" has a byte beyond ASCII (" + std::to_string(c) + ")");
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (c < 0x20) {
          char buf[8];
          std::snprintf(buf, sizeof buf, "\\u%04x", c);
          out += buf;
        } else {
          out += static_cast<char>(c);
        }
    }
  }
  return out + "\"";
}

std::string FontOf(const win::DialogFont& Font, bool SystemFont, const std::string& Where) {
  if (SystemFont) return "null";
  return "{\"face\": " + Quote(Font.Face, Where) + ", \"charset\": " + std::to_string(Font.Charset) +
         ", \"height\": " + std::to_string(Font.Height) + "}";
}

// The face the dialog's font is realised as: the recordings hold only for Wine runs that realise it so.
std::string RealisedFaceOf(HWND Dialog, const std::string& Where) {
  auto font = reinterpret_cast<HFONT>(SendMessageA(Dialog, WM_GETFONT, 0, 0));
  if (!font) font = static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
  const std::string face = testing_support::RealisedFace(font);
  if (face.empty()) throw std::runtime_error(Where + ": the dialog's font cannot be realised");
  return Quote(face, Where);
}

std::string Rect(const RECT& R) {
  return "[" + std::to_string(R.left) + ", " + std::to_string(R.top) + ", " + std::to_string(R.right) + ", " +
         std::to_string(R.bottom) + "]";
}

std::string Hex(std::uint32_t Value) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "0x%08lx", static_cast<unsigned long>(Value));
  return buf;
}

std::string Describe(HWND Dialog, const std::string& Kind) {
  const win::DialogLayout d = win::ReadDialog(Dialog);
  std::ostringstream out;
  out << "{\n  \"kind\": " << Quote(Kind, Kind) << ",\n  \"title\": " << Quote(d.Title, Kind + " title")
      << ",\n  \"window\": " << Rect(d.Window) << ",\n  \"client\": " << Rect(d.Client)
      << ",\n  \"font\": " << FontOf(d.Font, d.SystemFont, Kind) << ",\n  \"realised_face\": " << RealisedFaceOf(Dialog, Kind)
      << ",\n  \"style\": \"" << Hex(d.Style)
      << "\",\n  \"controls\": [";
  for (const win::ControlLayout& c : d.Controls) {
    const std::string where = Kind + " control " + std::to_string(c.Position);
    out << (c.Position > 1 ? "," : "") << "\n    {\"position\": " << c.Position << ", \"id\": " << c.Id
        << ", \"class\": " << Quote(c.ClassName, where) << ", \"text\": " << Quote(c.Text, where)
        << ", \"rect\": " << Rect(c.Rect) << ", \"font\": " << FontOf(c.Font, c.SystemFont, where)
        << ", \"style\": \"" << Hex(c.Style) << "\"}";
  }
  out << "\n  ]\n}\n";
  return out.str();
}

// Writes the file whole or not at all: a temporary file first, then a replacing rename.
void WriteWhole(const std::string& FileName, const std::string& Content) {
  const std::string temp = FileName + ".tmp";
  {
    std::ofstream f(temp, std::ios::binary | std::ios::trunc);
    f << Content;
    f.flush();
    if (!f) throw std::runtime_error("cannot write " + temp);
  }
  if (!MoveFileExA(temp.c_str(), FileName.c_str(), MOVEFILE_REPLACE_EXISTING)) {
    DeleteFileA(temp.c_str());
    throw std::runtime_error("cannot replace " + FileName + " (error " + std::to_string(GetLastError()) + ")");
  }
}

// The metrics recorded: every size the system gives, and what describes the screen, the mouse
// and the language. Left out are those that tell about the machine (network, debug build, boot).
#define LUMETRA_METRIC(Name) {#Name, Name}
const struct {
  const char* Name;
  int Index;
} Metrics[] = {
    LUMETRA_METRIC(SM_CXSCREEN),        LUMETRA_METRIC(SM_CYSCREEN),         LUMETRA_METRIC(SM_CXVSCROLL),
    LUMETRA_METRIC(SM_CYHSCROLL),       LUMETRA_METRIC(SM_CYCAPTION),        LUMETRA_METRIC(SM_CXBORDER),
    LUMETRA_METRIC(SM_CYBORDER),        LUMETRA_METRIC(SM_CXFIXEDFRAME),     LUMETRA_METRIC(SM_CYFIXEDFRAME),
    LUMETRA_METRIC(SM_CYVTHUMB),        LUMETRA_METRIC(SM_CXHTHUMB),         LUMETRA_METRIC(SM_CXICON),
    LUMETRA_METRIC(SM_CYICON),          LUMETRA_METRIC(SM_CXCURSOR),         LUMETRA_METRIC(SM_CYCURSOR),
    LUMETRA_METRIC(SM_CYMENU),          LUMETRA_METRIC(SM_CXFULLSCREEN),     LUMETRA_METRIC(SM_CYFULLSCREEN),
    LUMETRA_METRIC(SM_CYKANJIWINDOW),   LUMETRA_METRIC(SM_MOUSEPRESENT),     LUMETRA_METRIC(SM_CYVSCROLL),
    LUMETRA_METRIC(SM_CXHSCROLL),       LUMETRA_METRIC(SM_SWAPBUTTON),       LUMETRA_METRIC(SM_CXMIN),
    LUMETRA_METRIC(SM_CYMIN),           LUMETRA_METRIC(SM_CXSIZE),           LUMETRA_METRIC(SM_CYSIZE),
    LUMETRA_METRIC(SM_CXSIZEFRAME),     LUMETRA_METRIC(SM_CYSIZEFRAME),      LUMETRA_METRIC(SM_CXMINTRACK),
    LUMETRA_METRIC(SM_CYMINTRACK),      LUMETRA_METRIC(SM_CXDOUBLECLK),      LUMETRA_METRIC(SM_CYDOUBLECLK),
    LUMETRA_METRIC(SM_CXICONSPACING),   LUMETRA_METRIC(SM_CYICONSPACING),    LUMETRA_METRIC(SM_MENUDROPALIGNMENT),
    LUMETRA_METRIC(SM_DBCSENABLED),     LUMETRA_METRIC(SM_CMOUSEBUTTONS),    LUMETRA_METRIC(SM_CXEDGE),
    LUMETRA_METRIC(SM_CYEDGE),          LUMETRA_METRIC(SM_CXMINSPACING),     LUMETRA_METRIC(SM_CYMINSPACING),
    LUMETRA_METRIC(SM_CXSMICON),        LUMETRA_METRIC(SM_CYSMICON),         LUMETRA_METRIC(SM_CYSMCAPTION),
    LUMETRA_METRIC(SM_CXSMSIZE),        LUMETRA_METRIC(SM_CYSMSIZE),         LUMETRA_METRIC(SM_CXMENUSIZE),
    LUMETRA_METRIC(SM_CYMENUSIZE),      LUMETRA_METRIC(SM_ARRANGE),          LUMETRA_METRIC(SM_CXMINIMIZED),
    LUMETRA_METRIC(SM_CYMINIMIZED),     LUMETRA_METRIC(SM_CXMAXTRACK),       LUMETRA_METRIC(SM_CYMAXTRACK),
    LUMETRA_METRIC(SM_CXMAXIMIZED),     LUMETRA_METRIC(SM_CYMAXIMIZED),      LUMETRA_METRIC(SM_CXDRAG),
    LUMETRA_METRIC(SM_CYDRAG),          LUMETRA_METRIC(SM_CXMENUCHECK),      LUMETRA_METRIC(SM_CYMENUCHECK),
    LUMETRA_METRIC(SM_MIDEASTENABLED),  LUMETRA_METRIC(SM_MOUSEWHEELPRESENT), LUMETRA_METRIC(SM_XVIRTUALSCREEN),
    LUMETRA_METRIC(SM_YVIRTUALSCREEN),  LUMETRA_METRIC(SM_CXVIRTUALSCREEN),  LUMETRA_METRIC(SM_CYVIRTUALSCREEN),
    LUMETRA_METRIC(SM_CMONITORS),       LUMETRA_METRIC(SM_SAMEDISPLAYFORMAT), LUMETRA_METRIC(SM_IMMENABLED),
    LUMETRA_METRIC(SM_CXFOCUSBORDER),   LUMETRA_METRIC(SM_CYFOCUSBORDER),    LUMETRA_METRIC(SM_CXPADDEDBORDER),
};
#undef LUMETRA_METRIC

std::string DescribeMetrics() {
  std::ostringstream out;
  out << "{\n  \"kind\": \"metrics\",\n  \"metrics\": [";
  for (std::size_t i = 0; i < std::size(Metrics); ++i)
    out << (i ? "," : "") << "\n    {\"name\": \"" << Metrics[i].Name << "\", \"index\": " << Metrics[i].Index
        << ", \"value\": " << GetSystemMetrics(Metrics[i].Index) << "}";
  out << "\n  ]\n}\n";
  return out.str();
}

void Record(HWND Dialog) {
  Recorder& r = *Current;
  if (r.Done) return;
  r.Done = true;
  try {
    WriteWhole(r.Folder + "\\" + r.Kind + ".json", Describe(Dialog, r.Kind));
  } catch (const std::exception& e) {
    r.Error = e.what();
  }
  PostMessageA(Dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
}

LRESULT CALLBACK OwnerProc(HWND Hwnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  if (Msg == WM_ENTERIDLE && WParam == MSGF_DIALOGBOX && Current) Record(reinterpret_cast<HWND>(LParam));
  return DefWindowProcA(Hwnd, Msg, WParam, LParam);
}

HWND CreateOwner() {
  WNDCLASSA wc{};
  wc.lpfnWndProc = &OwnerProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "TApplication";
  RegisterClassA(&wc);
  const dialogs::MainWindowPlacement p = dialogs::MainWindowPlacementForScreen();
  return CreateWindowExA(0, "TApplication", "Lumetra", p.Style, p.X, p.Y, 0, 0, nullptr, nullptr,
                         GetModuleHandleA(nullptr), nullptr);
}

void RunModeless(HWND Dialog) {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  Record(Dialog);
  while (IsWindow(Dialog) && GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

bool RecordKind(HWND Owner, const std::string& Kind) {
  if (Kind == "metrics") {
    try {
      WriteWhole(Current->Folder + "\\metrics.json", DescribeMetrics());
    } catch (const std::exception& e) {
      Current->Error = e.what();
    }
    return true;
  }
  dialogs::ComDlgParams p(Kind, Owner);
  p.StartIn("C:\\");
  if (!p.Known()) {
    std::fprintf(stderr, "record-dialogs: unknown kind '%s'\n", Kind.c_str());
    return false;
  }
  if (p.Modeless()) {
    const HWND dialog = p.Create();
    if (!dialog) {
      std::fprintf(stderr, "record-dialogs: %s: the dialog did not open (error 0x%lx)\n", Kind.c_str(),
                   static_cast<unsigned long>(CommDlgExtendedError()));
      return false;
    }
    RunModeless(dialog);
  } else {
    p.Run();
  }
  if (!Current->Done) {
    std::fprintf(stderr, "record-dialogs: %s: the dialog did not show (error 0x%lx)\n", Kind.c_str(),
                 static_cast<unsigned long>(CommDlgExtendedError()));
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: record-dialogs <folder> [kind ...]\n");
    return 2;
  }
  std::vector<std::string> kinds(argv + 2, argv + argc);
  if (kinds.empty()) {
    for (const vcl::TStandardDialog& d : vcl::StandardDialogs())
      if (std::find(kinds.begin(), kinds.end(), d.Kind) == kinds.end()) kinds.push_back(d.Kind);
    kinds.push_back("metrics");
  }
  win::LocalPrinter printer;
  if (!printer.Error().empty()) std::fprintf(stderr, "record-dialogs: no printer: %s\n", printer.Error().c_str());
  const HWND owner = CreateOwner();
  int failures = 0;
  for (const std::string& kind : kinds) {
    Recorder r{argv[1], kind, "", false};
    Current = &r;
    if (!RecordKind(owner, kind)) {
      ++failures;
    } else if (!r.Error.empty()) {
      std::fprintf(stderr, "record-dialogs: %s: %s\n", kind.c_str(), r.Error.c_str());
      ++failures;
    } else {
      std::printf("recorded %s\n", kind.c_str());
    }
    Current = nullptr;
  }
  DestroyWindow(owner);
  return failures ? 1 : 0;
}
