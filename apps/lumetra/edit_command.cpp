// `lumetra edit`: the translations editor on a form file's translator, the form written back
// when the editor hands back a changed copy.
#include <cstdio>

#include "commands.hpp"
#include "form_file.hpp"
#include "options.hpp"

namespace lumetra_cli {

namespace {

const char* const EditHelp =
    "usage: lumetra edit FORM [--add]\n\n"
    "Opens the translations editor on the form's translator: the dialogs on the form are captured,\n"
    "and translations typed, included, loaded, saved and exchanged with dictionaries there. When\n"
    "OK hands back a change, FORM is written back in its own format (binary, or text with its\n"
    "line ends), and so is the translator's translation text file when its FileName names one (a\n"
    "bare name is taken from FORM's folder). Cancel, or OK without a change, writes nothing.\n\n"
    "--add  puts a translator (Lumetra1) on a form that holds none; it is written with the form\n"
    "       when the editor hands back a change\n\n"
    "The editor needs a screen and a user: it is the Windows build's (under Wine from Linux:\n"
    "LUMETRA_DISPLAY=$DISPLAY cmake/wine-run build/windows/apps/lumetra/lumetra.exe edit FORM).\n"
    "In the simulated window system of the Linux build it captures, finds no input and ends as\n"
    "Cancel. FORM may have at most 64 MiB; what is no regular file is refused. \"--\" ends the\n"
    "options.\n";

}  // namespace

int RunEdit(const Args& args) {
  bool add = false;
  const Parsed p = ParseOptions(args, {Flag("--add", add)});
  if (HelpOrCheck(p, 1, EditHelp)) return 0;
  const std::string& file = p.Positional[0];
  FormFile form(file, FormFile::ToRewrite);
  Vek::TLumetra* t = add ? form.AddTranslator() : form.Translator();
  if (!t->ShowEditor()) {
    std::printf("%s: no change handed back; the form is not written\n", Escaped(file).c_str());
    return 0;
  }
  try {
    form.Save();
  } catch (const vcl::Exception& e) {
    // The text file is written with the form: its name says which of the two failed.
    throw vcl::Exception(file + ": not written back: " + e.Message());
  }
  std::printf("%s: %s form written back, %d entries, %d captured values\n", Escaped(file).c_str(),
              form.IsText() ? "text" : "binary", t->Translations()->Count(), t->OrgProps()->Count());
  return 0;
}

}  // namespace lumetra_cli
