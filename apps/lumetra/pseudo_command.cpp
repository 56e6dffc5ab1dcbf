// `lumetra pseudo`: pseudo-translated entries of every captured text, written to a text file.
#include <cstdio>
#include <optional>

#include "commands.hpp"
#include "exchange/Pseudo.hpp"
#include "form_file.hpp"
#include "options.hpp"

namespace lumetra_cli {

namespace {

const char* const PseudoHelp =
    "usage: lumetra pseudo FORM FILE [--rtl] [--locale N]\n\n"
    "Writes pseudo-translations of every captured text of the form's dialogs into the translation\n"
    "text FILE, as 'lumetra text save' would write them: accented letters, brackets and 40% more\n"
    "length, so that cut-off texts and untranslatable ones show before any translator starts.\n"
    "Content (the texts of edit, combo and list boxes, and texts of digits only) is left out.\n"
    "The form itself is not changed; set its translator's Locale to N to see them.\n\n"
    "--rtl       also writes a BiDiMode entry of bdRightToLeft for each dialog class: the dialog\n"
    "            laid out mirrored and read right to left, as Hebrew and Arabic are\n"
    "--locale N  the locale of the lines (default: 1281, qps-ploc; with --rtl 2559, qps-plocm)\n\n"
    "Like 'lumetra text save', the file keeps every other form's and locale's lines, and the form's\n"
    "original lines (locale -1) are written for the pseudo-translated properties. FORM may have at\n"
    "most 64 MiB, FILE 256 MiB. \"--\" ends the options.\n";

}  // namespace

int RunPseudo(const Args& args) {
  std::optional<int> locale;
  bool rtl = false;
  const Parsed p = ParseOptions(args, {Flag("--rtl", rtl), LocaleOption(locale)});
  if (HelpOrCheck(p, 2, PseudoHelp)) return 0;
  const std::vector<std::string>& positional = p.Positional;
  FormFile form(positional[0]);
  const Vek::TLumetra* t = form.Translator();
  const std::string& file = positional[1];
  CheckInput(file, MaxListFileSize, true);
  Vek::TSortList entries;
  for (const std::string& e : exchange::PseudoEntries(*t->OrgProps(), rtl, t->Owner())) entries.SortInsert(e, nullptr);
  const int lineLocale = locale ? *locale : rtl ? 0x09FF : 0x0501;
  Progress(file, "rewriting");
  Vek::SaveTo(file, t->OwnerName(), lineLocale, entries, *t->OrgProps());
  std::printf("%s: %d pseudo-translated entries of %s, locale %d, saved to %s\n", Escaped(positional[0]).c_str(), entries.Count(),
              Escaped(t->OwnerName()).c_str(), lineLocale, Escaped(file).c_str());
  if (entries.Count() == 0) std::printf("  the form has no captured texts: run 'lumetra capture' first\n");
  return 0;
}

}  // namespace lumetra_cli
