// The preview in the simulation: a drawing of the dialog's layout with Cairo, in the face the
// controls are realised with, the texts read in the code page of their class, a mirrored layout
// as its rectangles place it (its title on the right), and the faults outlined in red.
#include <cairo.h>
#include <dlfcn.h>

#include <cstdint>

#include "checks/preview.hpp"
#include "vcl/Classes.hpp"
#include "vcl/CodePages.hpp"
#include "win/control_kind.h"

namespace checks {

namespace {

struct Painter {
  cairo_t* Cr;
  std::string Face;
  double Size;
  int Page;  // of the texts

  std::string Utf8(std::string_view Text) const { return vcl::ToUtf8(Page, Text); }

  void Color(double R, double G, double B) { cairo_set_source_rgb(Cr, R / 255, G / 255, B / 255); }
  void Fill(double X, double Y, double W, double H) {
    cairo_rectangle(Cr, X, Y, W, H);
    cairo_fill(Cr);
  }
  void Line(double X1, double Y1, double X2, double Y2) {
    cairo_move_to(Cr, X1 + 0.5, Y1 + 0.5);
    cairo_line_to(Cr, X2 + 0.5, Y2 + 0.5);
    cairo_set_line_width(Cr, 1);
    cairo_stroke(Cr);
  }
  // A 3-D edge: light on the top and left, dark on the bottom and right (or the other way).
  void Edge(const RECT& R, bool Raised) {
    Color(Raised ? 255 : 128, Raised ? 255 : 128, Raised ? 255 : 128);
    Line(R.left, R.top, R.right - 1, R.top);
    Line(R.left, R.top, R.left, R.bottom - 1);
    Color(Raised ? 64 : 255, Raised ? 64 : 255, Raised ? 64 : 255);
    Line(R.left, R.bottom - 1, R.right - 1, R.bottom - 1);
    Line(R.right - 1, R.top, R.right - 1, R.bottom - 1);
  }
  double Width(const std::string& Utf) {
    cairo_text_extents_t e;
    cairo_text_extents(Cr, Utf.c_str(), &e);
    return e.x_advance;
  }
  // One line of text at X, baseline from its top Y; the letter behind a single & underlined.
  void Text(double X, double Y, std::string_view Raw, bool Prefix) {
    std::string shown;
    std::size_t mnemonic = std::string::npos;
    for (std::size_t i = 0; i < Raw.size(); ++i) {
      if (Prefix && Raw[i] == '&' && i + 1 < Raw.size()) {
        ++i;
        if (Raw[i] != '&') mnemonic = shown.size();
      }
      shown += Raw[i];
    }
    cairo_font_extents_t fe;
    cairo_font_extents(Cr, &fe);
    cairo_move_to(Cr, X, Y + fe.ascent);
    cairo_show_text(Cr, Utf8(shown).c_str());
    if (mnemonic != std::string::npos) {
      const double x0 = X + Width(Utf8(shown.substr(0, mnemonic)));
      const double x1 = X + Width(Utf8(shown.substr(0, mnemonic + vcl::CharLength(Page, shown, mnemonic))));
      cairo_rectangle(Cr, x0, Y + fe.ascent + 1, x1 - x0, 1);
      cairo_fill(Cr);
    }
  }
  double TextWidth(std::string_view Raw, bool Prefix) {
    std::string shown;
    for (std::size_t i = 0; i < Raw.size(); ++i) {
      if (Prefix && Raw[i] == '&' && i + 1 < Raw.size()) ++i;
      shown += Raw[i];
    }
    return Width(Utf8(shown));
  }
  // The text wrapped between words within Width, as a label draws it.
  std::vector<std::string> Wrapped(const std::string& Raw, double WidthLimit, bool Prefix) {
    std::vector<std::string> lines;
    std::string line;
    std::size_t at = 0;
    while (at <= Raw.size()) {
      std::size_t end = Raw.find(' ', at);
      if (end == std::string::npos) end = Raw.size();
      const std::string word = Raw.substr(at, end - at);
      const std::string tried = line.empty() ? word : line + " " + word;
      if (!line.empty() && TextWidth(tried, Prefix) > WidthLimit) lines.push_back(line), line = word;
      else line = tried;
      at = end + 1;
    }
    lines.push_back(line);
    return lines;
  }
};

void DrawControl(Painter& P, const ControlLayout& C) {
  const RECT& r = C.Rect;
  const double w = r.right - r.left, h = r.bottom - r.top;
  cairo_save(P.Cr);
  cairo_select_font_face(P.Cr, P.Face.c_str(), CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_font_size(P.Cr, P.Size);
  const double line = P.Size + 2;
  const win::ControlKind kind = win::KindOfControl(C.ClassName, C.Style);
  if (kind == win::ControlKind::Label) {
    const win::LabelText how = win::LabelTextOf(C.Style);
    cairo_rectangle(P.Cr, r.left, r.top, w, h);
    cairo_clip(P.Cr);
    P.Color(0, 0, 0);
    double y = r.top;
    for (const std::string& l : how.Wraps ? P.Wrapped(C.Text, w, how.Prefix) : std::vector<std::string>{C.Text}) {
      const double tw = P.TextWidth(l, how.Prefix);
      const double x = how.Align == win::LabelText::Alignment::Center ? r.left + (w - tw) / 2
                       : how.Align == win::LabelText::Alignment::Right ? r.right - tw
                                                                         : r.left;
      P.Text(x, y, l, how.Prefix);
      y += line;
    }
  } else if (kind == win::ControlKind::GroupBox) {
    P.Color(128, 128, 128);
    cairo_rectangle(P.Cr, r.left + 0.5, r.top + 6.5, w - 1, h - 7);
    cairo_set_line_width(P.Cr, 1);
    cairo_stroke(P.Cr);
    P.Color(212, 208, 200);
    P.Fill(r.left + 6, r.top, P.TextWidth(C.Text, true) + 4, line);
    P.Color(0, 0, 0);
    P.Text(r.left + 8, r.top, C.Text, true);
  } else if (kind == win::ControlKind::CheckBox || kind == win::ControlKind::RadioButton) {
    const double box = 13, by = r.top + (h - box) / 2;
    P.Color(255, 255, 255);
    if (kind == win::ControlKind::RadioButton) {
      cairo_arc(P.Cr, r.left + box / 2, by + box / 2, box / 2, 0, 6.2832);
      cairo_fill_preserve(P.Cr);
      P.Color(128, 128, 128);
      cairo_stroke(P.Cr);
    } else {
      P.Fill(r.left, by, box, box);
      P.Edge(RECT{r.left, static_cast<LONG>(by), r.left + 13, static_cast<LONG>(by) + 13}, false);
    }
    cairo_rectangle(P.Cr, r.left, r.top, w, h);
    cairo_clip(P.Cr);
    P.Color(0, 0, 0);
    P.Text(r.left + 17, r.top + (h - line) / 2, C.Text, true);
  } else if (kind == win::ControlKind::PushButton || vcl::SameText(C.ClassName, "Button")) {
    // Owner-drawn and user buttons draw what they like: a push button stands for them.
    P.Edge(r, true);
    if ((C.Style & BS_TYPEMASK) == BS_DEFPUSHBUTTON) {
      P.Color(0, 0, 0);
      cairo_rectangle(P.Cr, r.left + 0.5, r.top + 0.5, w - 1, h - 1);
      cairo_stroke(P.Cr);
    }
    cairo_rectangle(P.Cr, r.left + 2, r.top + 2, w - 4, h - 4);
    cairo_clip(P.Cr);
    P.Color(0, 0, 0);
    P.Text(r.left + (w - P.TextWidth(C.Text, true)) / 2, r.top + (h - line) / 2, C.Text, true);
  } else if (win::ShowsContent(kind) || C.ClassName == "SHELLDLL_DefView") {
    // A drop-down combo box's rectangle includes its closed list: only the field is drawn.
    const bool dropDown = (kind == win::ControlKind::ComboBox && win::DropsDown(C.Style)) || vcl::SameText(C.ClassName, "ComboBoxEx32");
    const double fh = dropDown ? std::min(h, 21.0) : h;
    P.Color(255, 255, 255);
    P.Fill(r.left, r.top, w, fh);
    P.Edge(RECT{r.left, r.top, r.right, r.top + static_cast<LONG>(fh)}, false);
    if (dropDown) {
      P.Color(212, 208, 200);
      P.Fill(r.right - 18, r.top + 2, 16, fh - 4);
      P.Edge(RECT{r.right - 18, r.top + 2, r.right - 2, r.top + static_cast<LONG>(fh) - 2}, true);
    }
    cairo_rectangle(P.Cr, r.left + 2, r.top + 2, w - 22, fh - 4);
    cairo_clip(P.Cr);
    P.Color(0, 0, 0);
    P.Text(r.left + 4, r.top + 3, C.Text, false);
  }
  cairo_restore(P.Cr);
}

// The drawing on a new image surface, which the caller destroys.
cairo_surface_t* Render(const DialogLayout& Dialog, const std::vector<Problem>& Problems) {
  const RECT& win = Dialog.Window;
  const PictureSize size = PictureSizeOf(win);
  const int width = size.Width, height = size.Height;
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
  cairo_t* cr = cairo_create(surface);
  RecordedMeasure measure;
  const FontSpec& font = Dialog.Controls.empty() ? Dialog.Font : Dialog.Controls.front().Font;
  Painter p{cr, measure.Measure(font, "").Face, static_cast<double>(font.Height < 0 ? -font.Height : 11), Dialog.CodePage};
  if (p.Face.empty()) p.Face = "Liberation Sans";

  // Frame and title bar, then the client area with its controls.
  const double cx = Dialog.Client.left - win.left, cy = Dialog.Client.top - win.top;
  p.Color(212, 208, 200);
  p.Fill(0, 0, width, height);
  p.Edge(RECT{0, 0, width, height}, true);
  cairo_pattern_t* title = cairo_pattern_create_linear(0, 0, width, 0);
  cairo_pattern_add_color_stop_rgb(title, 0, 10 / 255.0, 36 / 255.0, 106 / 255.0);
  cairo_pattern_add_color_stop_rgb(title, 1, 166 / 255.0, 202 / 255.0, 240 / 255.0);
  cairo_set_source(cr, title);
  cairo_rectangle(cr, 3, 3, width - 6, std::max(0.0, cy - 4));
  cairo_fill(cr);
  cairo_pattern_destroy(title);
  cairo_select_font_face(cr, p.Face.c_str(), CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
  cairo_set_font_size(cr, p.Size);
  p.Color(255, 255, 255);
  const double titleY = 3 + (cy - 4 - p.Size - 2) / 2;
  p.Text(Dialog.Mirrored ? width - 8 - p.TextWidth(Dialog.Title, false) : 8, titleY, Dialog.Title, false);

  cairo_save(cr);
  cairo_translate(cr, cx, cy);
  cairo_rectangle(cr, 0, 0, Dialog.ClientWidth(), Dialog.ClientHeight());
  cairo_clip(cr);
  for (const ControlLayout& c : Dialog.Controls)
    if (c.Visible()) DrawControl(p, c);
  cairo_restore(cr);

  // The faults, over everything, also where they leave the client area.
  cairo_translate(cr, cx, cy);
  cairo_set_source_rgb(cr, 1, 0, 0);
  cairo_set_line_width(cr, 2);
  for (const Problem& problem : Problems) {
    if (!problem.Place) continue;
    const RECT r = OutlineOf(*problem.Place);
    cairo_rectangle(cr, r.left, r.top, r.right - r.left, r.bottom - r.top);
    cairo_stroke(cr);
  }
  cairo_destroy(cr);
  return surface;
}

}  // namespace

Picture DrawPicture(const DialogLayout& Dialog, const std::vector<Problem>& Problems) {
  cairo_surface_t* surface = Render(Dialog, Problems);
  cairo_surface_flush(surface);
  // RGB24 keeps a pixel in a native-endian 32-bit word, red in bits 16-23: a picture's pixels.
  Picture picture = Picture::FromRows(cairo_image_surface_get_width(surface), cairo_image_surface_get_height(surface),
                                      cairo_image_surface_get_data(surface),
                                      static_cast<std::size_t>(cairo_image_surface_get_stride(surface)));
  cairo_surface_destroy(surface);
  return picture;
}

PictureSize DrawPreview(const DialogLayout& Dialog, const std::vector<Problem>& Problems, const std::string& FileName) {
  cairo_surface_t* surface = Render(Dialog, Problems);
  // The picture is made in memory and replaces the file whole, as every file we write does.
  std::string png;
  const cairo_status_t status = cairo_surface_write_to_png_stream(
      surface,
      [](void* Closure, const unsigned char* Data, unsigned int Length) {
        static_cast<std::string*>(Closure)->append(reinterpret_cast<const char*>(Data), Length);
        return CAIRO_STATUS_SUCCESS;
      },
      &png);
  cairo_surface_destroy(surface);
  if (status != CAIRO_STATUS_SUCCESS)
    throw vcl::EFCreateError(FileName + ": cannot be written (" + cairo_status_to_string(status) + ")");
  vcl::ReplaceFile(FileName, png);
  return PictureSizeOf(Dialog.Window);
}

void KeepDrawingLibraryLoaded() {
  Dl_info info{};
  if (!dladdr(reinterpret_cast<void*>(&cairo_version), &info) || !info.dli_fname) return;
  // Promotes the library already loaded; the handle is never closed, on purpose.
  dlopen(info.dli_fname, RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE);
}

}  // namespace checks
