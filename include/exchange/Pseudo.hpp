// Pseudo-localisation: translations made up from the captured texts, to see a dialog translated
// before any translator starts.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "Vek.hpp"

namespace exchange {

/// The pseudo-translation of a text in code page 1252: letters replaced by accented 1252
/// letters, each line at least 40% longer (padded with "!" after a blank), the whole in
/// brackets. The letter after a mnemonic "&" stays as it is, so the dialog's shortcuts keep
/// working; "&&" stays. An empty text stays empty.
std::string PseudoText(std::string_view Text);

/// The pseudo entries of a translator's captured values (Originals): one for every captured
/// text for translation (Vek::IsForTranslation, with the dialog components of Form), in literal
/// form. With RightToLeft, also a BiDiMode entry of bdRightToLeft for every dialog class of the
/// captured values, in the order they come first: the dialog laid out and read right to left, as
/// in Hebrew or Arabic. Captured values that are not valid literals are left out. Never fails.
std::vector<std::string> PseudoEntries(const vcl::TStrings& Originals, bool RightToLeft, const vcl::TComponent* Form = nullptr);

}  // namespace exchange
