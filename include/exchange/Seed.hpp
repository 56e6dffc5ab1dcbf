// Seeds: the texts a system's own dialogs show in a language, paired with a form's originals, as
// translations for a translator to review.
#pragma once

#include <string>
#include <vector>

#include "Vek.hpp"
#include "exchange/TextUnits.hpp"

namespace exchange {

/// What a capture in another language gives a form.
struct TSeed {
  std::vector<TextUnit> Units;  // one per key the system shows translated: fuzzy, saying where it came from
  int Untranslated = 0;         // texts the system shows as the original has them: left out
  int WithoutOriginal = 0;      // texts shown whose key the form has no captured original of
  int NotShown = 0;             // original texts the system showed none for (no such control, or empty)
};

/// Pairs Shown, the values a capture of the dialogs made while the system showed them in Language
/// (as gettext names it: "de_DE"), with the form's captured Originals, key by key: a unit for the
/// title and each control text for translation (Vek::IsForTranslation, with the dialog components
/// of Form) that the system shows other than the original, and for the font face where it
/// differs. Sizes, positions and the other values are not seeded. Each list's texts are read in
/// the code page of its class (Vek::TextCodePage). A unit is fuzzy and commented "system
/// translation, <Language>". Raises vcl::EConvertError naming the key for a value that is not a
/// valid literal.
TSeed SeedUnits(const vcl::TStrings& Originals, const vcl::TStrings& Shown, const vcl::TComponent* Form, const std::string& Language);

/// The units taken as accepted: not fuzzy, their comments kept.
std::vector<TextUnit> Accepted(std::vector<TextUnit> Units);

}  // namespace exchange
