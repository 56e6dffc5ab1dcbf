// The face Windows realises for the dialogs' font, which their geometry and lists depend on.
#pragma once

#include <string>

#include "win/api.h"

namespace testing_support {

/// The family name of the font file that GDI realises Font with (from its outline metrics; the
/// text face for a bitmap font). Empty when the font cannot be selected.
std::string RealisedFace(HFONT Font);

/// The face realised for the font that dialog templates ask for ("MS Shell Dlg", 8 points).
std::string RealisedDialogFace();

}  // namespace testing_support
