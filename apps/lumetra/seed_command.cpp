// `lumetra seed`: a form's dialogs as the system shows them in another language, paired with the
// form's captured originals: a PO file of fuzzy messages to review, or the entries of a locale in
// a translation text file.
//
// Notes:
// - The texts are the system's own. The Windows build shows the dialogs in the language: on
//   Windows through the thread's UI language, which picks comdlg32's resources; under Wine, whose
//   comdlg32 takes its language from the process's locale, in a process started with LC_ALL set.
//   On Linux the command runs the Windows build through cmake/wine-run, one Wine process and
//   prefix per language, two languages side by side; the simulation knows English only.
// - The Windows build names the languages it can show (--languages, for the Linux side) from
//   the dialog templates comdlg32 carries, and, on Windows, the UI languages installed.
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <cstring>

#include "commands.hpp"
#include "exchange/Formats.hpp"
#include "exchange/Seed.hpp"
#include "form_file.hpp"
#include "options.hpp"
#include "win/printer.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <spawn.h>
#include <sys/wait.h>
#include <fcntl.h>
#include <unistd.h>
extern char** environ;
#endif

namespace lumetra_cli {

namespace {

const char* const SeedHelp =
    "usage: lumetra seed FORM --lang LL[_CC] --po FILE\n"
    "       lumetra seed FORM --lang LL[_CC] --text FILE --locale N\n"
    "       lumetra seed FORM --list\n"
    "       lumetra seed FORM --all DIR\n\n"
    "Shows each dialog class of the form as the system shows it in the language LL[_CC] and pairs\n"
    "every text captured with the form's captured original of the same key (run 'lumetra capture'\n"
    "first). The title, every control text and the font face where the language's dialog has\n"
    "another are seeded; texts the system shows as the original has them are left out and counted;\n"
    "sizes and positions are not seeded ('lumetra check' judges them).\n"
    "  --po FILE     writes a PO file as 'lumetra dict export --po' does, every message translated,\n"
    "                marked fuzzy and commented \"system translation, LL_CC\": review it in any PO\n"
    "                editor; 'lumetra dict import' takes the messages that are no longer fuzzy\n"
    "  --text FILE --locale N\n"
    "                writes the texts as the form's entries of locale N into the translation text\n"
    "                file FILE (created when missing), with the language's Font.Charset entries,\n"
    "                as if imported and accepted\n"
    "  --list        lists the languages the system shows the dialogs in, with how many of the\n"
    "                form's texts each fills\n"
    "  --all DIR     writes DIR/LL_CC.po for every language of --list\n\n"
    "The texts are the system's own wording: Wine's are under the LGPL 2.1 or later, and who ships\n"
    "them ships that. On Linux the Windows build of lumetra runs under Wine (cmake/wine-run), one\n"
    "Wine process and prefix per language with LC_ALL set, two languages at a time; on Windows the\n"
    "dialogs are shown in the languages whose resources the system has. A print dialog is shown\n"
    "with a printer added for the while when the system has none; a dialog that cannot be shown\n"
    "is named, and the others are seeded. FORM may have at most 64 MiB.\n";

// What one language's seed of a form filled, as the line it prints says.
struct Filled {
  int Texts = 0, Same = 0, NotShown = 0;
};

#ifdef _WIN32

// The line a seed ends with.
std::string FilledLine(const std::string& Form, const std::string& Language, const Filled& F) {
  return Escaped(Form) + ": " + vcl::IntToStr(F.Texts) + " texts seeded in " + Language + " (" + vcl::IntToStr(F.Same) +
         " the same as the original, " + vcl::IntToStr(F.NotShown) + " not shown)";
}

LANGID LanguageOfTag(const std::string& Tag);

// Writes a seed where the options say, for the form's translator.
void WriteSeed(FormFile& Form, const std::string& Language, const exchange::TSeed& Seed,
               const std::string& Po, const std::string& Text, std::optional<int> Locale) {
  Vek::TLumetra* t = Form.Translator();
  if (!Po.empty()) {
    exchange::WritePoUnits(Po, t->OwnerName(), Language, Locale.value_or(LanguageOfTag(Language)), Seed.Units,
                           [](const std::string& Warning) { Messages().Print("warning: " + Warning); });
    return;
  }
  Vek::TSortList entries;
  Vek::LoadFrom(Text, t->OwnerName(), *Locale, entries);
  const exchange::ImportResult result =
      exchange::ImportUnits(entries, *t->OrgProps(), exchange::Accepted(Seed.Units), "the seed of " + Language, {Language, std::nullopt});
  if (!result.Faults.empty()) {
    for (const std::string& f : result.Faults) Messages().Print(f, "texts that cannot be taken");
    throw vcl::EConvertError(Text + ": " + vcl::IntToStr(static_cast<int>(result.Faults.size())) +
                             " seeded texts cannot be taken; the file is unchanged");
  }
  for (const std::string& c : result.Charsets) Messages().Print(c, "character sets");
  Messages().Flush();
  Vek::SaveTo(Text, t->OwnerName(), *Locale, entries, *t->OrgProps());
}

bool UnderWine() { return GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr; }

// A language as gettext names it ("de_DE", "sr_RS@latin"), from a language id; empty when the
// system does not know it.
std::string TagOfLanguage(LANGID Id) {
  // A neutral id ("German") stands for the language's main country.
  if (SUBLANGID(Id) == SUBLANG_NEUTRAL) Id = MAKELANGID(PRIMARYLANGID(Id), SUBLANG_DEFAULT);
  wchar_t name[LOCALE_NAME_MAX_LENGTH] = {};
  if (!LCIDToLocaleName(MAKELCID(Id, SORT_DEFAULT), name, LOCALE_NAME_MAX_LENGTH, 0)) return "";
  std::string parts[3];
  int part = 0;
  for (const wchar_t* c = name; *c; ++c) {
    if (*c == L'-') {
      if (++part > 2) return "";
    } else if (*c < 128) {
      parts[part] += static_cast<char>(*c);
    }
  }
  // "sr-Latn-RS": language, script, country; "de-DE": language, country.
  std::string script, country = parts[1];
  if (parts[1].size() == 4) script = parts[1], country = parts[2];
  country = country.substr(0, country.find('_'));  // "es-ES_tradnl": the traditional sort of es-ES
  std::string tag = parts[0] + (country.empty() ? "" : "_" + country);
  if (script == "Latn" && (parts[0] == "sr" || parts[0] == "uz" || parts[0] == "bs")) tag += "@latin";
  return tag;
}

LANGID LanguageOfTag(const std::string& Tag) {
  std::string name = Tag.substr(0, Tag.find('@'));
  for (char& c : name)
    if (c == '_') c = '-';
  if (Tag.ends_with("@latin")) name.insert(name.find('-') == std::string::npos ? name.size() : name.find('-'), "-Latn");
  const auto id = [](const std::string& Name) {
    const std::wstring wide(Name.begin(), Name.end());
    return LANGIDFROMLCID(LocaleNameToLCID(wide.c_str(), 0));
  };
  if (const LANGID found = id(name)) return found;
  // gettext leaves out the script a language is written in by default ("sr_RS": Cyrillic).
  const std::size_t dash = name.find('-');
  return dash == std::string::npos ? 0 : id(name.substr(0, dash) + "-Cyrl" + name.substr(dash));
}

BOOL CALLBACK AddLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD Language, LONG_PTR Into) {
  reinterpret_cast<std::set<LANGID>*>(Into)->insert(Language);
  return TRUE;
}

BOOL CALLBACK AddUiLanguage(LPWSTR Name, LONG_PTR Into) {
  reinterpret_cast<std::set<LANGID>*>(Into)->insert(static_cast<LANGID>(wcstoul(Name, nullptr, 16)));
  return TRUE;
}

// The languages comdlg32 has the find dialog's template in (the one every language has), with
// the UI languages installed on Windows.
std::vector<std::string> SystemLanguages() {
  std::set<LANGID> ids;
  const HMODULE comdlg = LoadLibraryExA("comdlg32.dll", nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (comdlg) {
    EnumResourceLanguagesW(comdlg, reinterpret_cast<LPCWSTR>(RT_DIALOG), MAKEINTRESOURCEW(1540), &AddLanguage, reinterpret_cast<LONG_PTR>(&ids));
    FreeLibrary(comdlg);
  }
  if (!UnderWine()) EnumUILanguagesW(&AddUiLanguage, 0, reinterpret_cast<LONG_PTR>(&ids));
  std::set<std::string> tags;
  for (const LANGID id : ids)
    if (const std::string tag = TagOfLanguage(id); !tag.empty() && PRIMARYLANGID(id) != LANG_NEUTRAL) tags.insert(tag);
  return {tags.begin(), tags.end()};
}

// Makes the dialogs this thread shows come in Language, or says why they cannot.
void ShowDialogsIn(const std::string& Language) {
  const LANGID wanted = LanguageOfTag(Language);
  if (!wanted) throw vcl::Exception("--lang " + Language + ": the system knows no such language");
  if (UnderWine()) {
    // Wine's comdlg32 takes the language of the process's locale.
    const LANGID shown = GetUserDefaultUILanguage();
    if (PRIMARYLANGID(shown) != PRIMARYLANGID(wanted))
      throw vcl::Exception("this Wine process shows its dialogs in " + TagOfLanguage(shown) + ", not " + Language +
                           ": start it with LC_ALL=" + Language + ".UTF-8 ('lumetra seed' on Linux does)");
    return;
  }
  SetThreadUILanguage(wanted);
  std::string name = Language.substr(0, Language.find('@'));
  for (char& c : name)
    if (c == '_') c = '-';
  std::wstring list(name.begin(), name.end());
  list.push_back(L'\0');
  ULONG count = 0;
  SetThreadPreferredUILanguages(MUI_LANGUAGE_NAME, list.c_str(), &count);
}

// Shows the form's dialogs in Language and pairs what they show with the captured originals.
exchange::TSeed SeedIn(FormFile& Form, const std::string& FormName, const std::string& Language) {
  Vek::TLumetra* t = Form.Translator();
  if (t->OrgProps()->Count() == 0) throw vcl::Exception(FormName + ": the form has no captured texts: run 'lumetra capture' first");
  ShowDialogsIn(Language);
  const win::LocalPrinter printer;  // the print dialogs show a message instead of themselves without one
  if (!printer.Error().empty()) Messages().Print("the print dialogs may not show: " + printer.Error());
  vcl::TStringList shown;
  const CaptureResult result = CaptureEachDialog(Form.Root(), *t, [&](vcl::TCommonDialog&, const vcl::TStringList& Captured) {
    for (int i = 0; i < Captured.Count(); ++i) shown.Add(Captured.Strings(i));
  });
  if (!result.Missed.empty()) Messages().Print(FormName + ": not shown in " + Language + ", not seeded: " + Listed(result.Missed));
  return exchange::SeedUnits(*t->OrgProps(), shown, t->Owner(), Language);
}

#else

// The figures of the line a seed of the Windows build ends with.
std::optional<Filled> ParseFilled(const std::string& Output) {
  const std::size_t at = Output.rfind(" texts seeded in ");
  if (at == std::string::npos) return std::nullopt;
  std::size_t start = at;
  while (start > 0 && Output[start - 1] >= '0' && Output[start - 1] <= '9') --start;
  Filled f;
  f.Texts = std::atoi(Output.c_str() + start);
  const std::size_t open = Output.find('(', at);
  if (open == std::string::npos || std::sscanf(Output.c_str() + open, "(%d the same as the original, %d not shown)", &f.Same, &f.NotShown) != 2)
    return std::nullopt;
  return f;
}

// The Windows build of lumetra and the runner that starts it under Wine.
struct WindowsBuild {
  std::string Runner, Program, Prefixes;
};

WindowsBuild FindWindowsBuild() {
  const std::string source = LUMETRA_SOURCE_DIR;
  WindowsBuild b{source + "/cmake/wine-run", source + "/build/windows/apps/lumetra/lumetra.exe", source + "/build/windows"};
  if (const char* program = std::getenv("LUMETRA_WINDOWS_LUMETRA"); program && *program) b.Program = program;
  std::error_code ec;
  if (!std::filesystem::is_regular_file(b.Program, ec))
    throw vcl::Exception("the system's dialogs are shown by the Windows build of lumetra under Wine, and " + b.Program +
                         " is missing: build it with 'source tools/setup.sh; lumetra_build windows --target lumetra_cli'"
                         " (or name it in LUMETRA_WINDOWS_LUMETRA)");
  return b;
}

// A path as the Windows program under Wine reaches it.
std::string ForWine(const std::string& Path) {
  return "Z:" + std::filesystem::absolute(Path).lexically_normal().string();
}

// The locale LC_ALL names for a language ("de_DE.UTF-8", "sr_RS.UTF-8@latin").
std::string LocaleOf(const std::string& Language) {
  // Wine reads Serbian without a modifier as written in Latin letters; gettext's sr_RS is Cyrillic.
  if (Language.starts_with("sr_") && Language.find('@') == std::string::npos) return Language + ".UTF-8@cyrillic";
  const std::size_t at = Language.find('@');
  return Language.substr(0, at) + ".UTF-8" + (at == std::string::npos ? "" : Language.substr(at));
}

// Starts the Windows build with Arguments under Wine in Language, in Wine prefix Slot; its
// output goes to Log when given. Returns the process.
pid_t StartUnderWine(const WindowsBuild& B, const Args& Arguments, const std::string& Language, int Slot, const std::string& Log) {
  std::vector<std::string> env;
  for (char** e = environ; *e; ++e) {
    const std::string_view v(*e);
    if (!v.starts_with("LUMETRA_LC_ALL=") && !v.starts_with("LUMETRA_WINEPREFIX=") && !v.starts_with("LUMETRA_FONT_SET=")) env.emplace_back(v);
  }
  env.push_back("LUMETRA_LC_ALL=" + LocaleOf(Language));
  env.push_back("LUMETRA_WINEPREFIX=" + B.Prefixes + "/wineprefix-seed-" + vcl::IntToStr(Slot));
  std::vector<std::string> argv = {B.Runner, B.Program};
  argv.insert(argv.end(), Arguments.begin(), Arguments.end());
  std::vector<char*> cargv, cenv;
  for (std::string& a : argv) cargv.push_back(a.data());
  cargv.push_back(nullptr);
  for (std::string& e : env) cenv.push_back(e.data());
  cenv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (!Log.empty()) {
    posix_spawn_file_actions_addopen(&actions, 1, Log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
  }
  std::fflush(stdout);
  pid_t pid = 0;
  const int error = posix_spawn(&pid, B.Runner.c_str(), &actions, nullptr, cargv.data(), cenv.data());
  posix_spawn_file_actions_destroy(&actions);
  if (error != 0) throw vcl::Exception(B.Runner + ": cannot be started: " + std::strerror(error));
  return pid;
}

int Wait(pid_t Pid) {
  int status = 0;
  while (waitpid(Pid, &status, 0) < 0)
    if (errno != EINTR) return 1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : 1;
}

// Runs the Windows build once in Language, its output on ours; its exit code.
int RunUnderWine(const WindowsBuild& B, const Args& Arguments, const std::string& Language) {
  return Wait(StartUnderWine(B, Arguments, Language, 0, ""));
}

// The languages the system's comdlg32 shows its dialogs in.
std::vector<std::string> WineLanguages(const WindowsBuild& B, const std::string& Scratch) {
  const std::string log = Scratch + "/languages.txt";
  if (Wait(StartUnderWine(B, {"seed", "--languages"}, "en_US", 0, log)) != 0)
    throw vcl::Exception("the languages of the system's dialogs cannot be listed: " + vcl::ReadFileIfExists(log).value_or(""));
  std::vector<std::string> languages;
  const std::string output = vcl::ReadFileIfExists(log).value_or("");
  for (const std::string_view line : vcl::SplitLines(output))
    if (!line.empty() && line.find(' ') == std::string_view::npos && line.find(':') == std::string_view::npos) languages.emplace_back(line);
  return languages;
}

// Seeds the form in every language into PO files of Dir (Scratch when the files are not kept),
// two languages at a time; prints a line for each as it ends, and the table.
int SeedAll(const std::string& FormName, const std::string& Dir, bool Keep) {
  const WindowsBuild b = FindWindowsBuild();
  const auto started = std::chrono::steady_clock::now();
  std::filesystem::create_directories(Dir);
  const std::vector<std::string> languages = WineLanguages(b, Dir);
  std::filesystem::remove(Dir + "/languages.txt");
  std::map<std::string, int> slots;  // the Wine prefix each language runs in
  std::map<std::string, std::optional<Filled>> filled;
  std::map<pid_t, std::string> running;  // the language of each process, at most two
  std::size_t next = 0;
  int failed = 0;
  while (next < languages.size() || !running.empty()) {
    while (running.size() < 2 && next < languages.size()) {
      const std::string& language = languages[next++];
      const Args args = {"seed", ForWine(FormName), "--lang", language, "--po", ForWine(Dir + "/" + language + ".po")};
      // Each of the two at a time has a Wine prefix of its own: the one no other run holds.
      int slot = 0;
      std::set<int> taken;
      for (const auto& [pid, l] : running) taken.insert(slots.at(l));
      while (taken.contains(slot)) ++slot;
      slots[language] = slot;
      running[StartUnderWine(b, args, language, slot, Dir + "/" + language + ".log")] = language;
    }
    int status = 0;
    const pid_t done = waitpid(-1, &status, 0);
    if (done < 0) {
      if (errno == EINTR) continue;
      break;
    }
    const auto it = running.find(done);
    if (it == running.end()) continue;
    const std::string language = it->second;
    running.erase(it);
    const std::string log = Dir + "/" + language + ".log";
    const std::string output = vcl::ReadFileIfExists(log).value_or("");
    filled[language] = WIFEXITED(status) && WEXITSTATUS(status) == 0 ? ParseFilled(output) : std::nullopt;
    if (!filled[language]) {
      ++failed;
      filled.erase(language);
      Messages().Print(language + ": not seeded: " + vcl::Excerpt(output));
    } else {
      std::filesystem::remove(log);
    }
    if (!Keep) std::filesystem::remove(Dir + "/" + language + ".po");
  }
  std::printf("%-14s %6s %6s %6s\n", "language", "texts", "same", "absent");
  for (const auto& [language, f] : filled)
    if (f) std::printf("%-14s %6d %6d %6d\n", language.c_str(), f->Texts, f->Same, f->NotShown);
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  std::printf("%zu languages seeded in %.1f s, two at a time%s\n", filled.size(), seconds,
              failed ? (", " + vcl::IntToStr(failed) + " not").c_str() : "");
  return failed ? 1 : 0;
}

#endif

}  // namespace

int RunSeed(const Args& args) {
  std::string lang, po, text, all;
  std::optional<int> locale;
  bool list = false, languages = false;
  const Parsed p = ParseOptions(args, {{"--lang", "", "a language such as de_DE", [&lang](const std::string& V) { lang = LanguageOption(V); }},
                                       Value("--po", "", "a file name", po), Value("--text", "", "a file name", text),
                                       LocaleOption(locale), Flag("--list", list), Value("--all", "", "a folder", all),
                                       Flag("--languages", languages)});
  if (p.Help) return std::fputs(SeedHelp, stdout), 0;
#ifdef _WIN32
  if (languages) {
    for (const std::string& l : SystemLanguages()) std::printf("%s\n", l.c_str());
    return 0;
  }
#endif
  if (p.Positional.size() != 1) throw UsageError(std::string("wrong arguments\n\n") + SeedHelp);
  const std::string& formName = p.Positional[0];
  const int modes = (list ? 1 : 0) + (!all.empty() ? 1 : 0) + (!lang.empty() ? 1 : 0);
  if (modes != 1) throw UsageError(std::string("give one of --lang, --list and --all\n\n") + SeedHelp);
  if (!lang.empty() && (po.empty() == text.empty()))
    throw UsageError(std::string("--lang needs one of --po FILE and --text FILE\n\n") + SeedHelp);
  if (!text.empty() && !locale) throw UsageError(std::string("--text needs --locale N\n\n") + SeedHelp);
  {
    FormFile form(formName);  // read here too, so that a form at fault is named before Wine starts
    if (form.Translator()->OrgProps()->Count() == 0)
      throw vcl::Exception(formName + ": the form has no captured texts: run 'lumetra capture' first");
  }
#ifdef _WIN32
  if (list || !all.empty()) {
    if (UnderWine())
      throw vcl::Exception("under Wine each language needs a process of its own started with LC_ALL set: run 'lumetra seed " +
                           std::string(list ? "--list" : "--all") + "' on Linux, which does that");
    std::vector<std::string> tags = SystemLanguages();
    if (!all.empty()) std::filesystem::create_directories(all);
    std::printf("%-14s %6s %6s %6s\n", "language", "texts", "same", "absent");
    for (const std::string& l : tags) {
      FormFile form(formName);
      const exchange::TSeed seed = SeedIn(form, formName, l);
      if (!all.empty()) WriteSeed(form, l, seed, all + "\\" + l + ".po", "", std::nullopt);
      std::printf("%-14s %6zu %6d %6d\n", l.c_str(), seed.Units.size(), seed.Untranslated, seed.NotShown);
    }
    return 0;
  }
  FormFile form(formName);
  const exchange::TSeed seed = SeedIn(form, formName, lang);
  WriteSeed(form, lang, seed, po, text, locale);
  std::printf("%s\n", FilledLine(formName, lang, {static_cast<int>(seed.Units.size()), seed.Untranslated, seed.NotShown}).c_str());
  return 0;
#else
  if (list) {
    const std::filesystem::path scratch = std::filesystem::temp_directory_path() / ("lumetra-seed-" + vcl::IntToStr(getpid()));
    struct Remove {
      std::filesystem::path Dir;
      ~Remove() {
        std::error_code ec;
        std::filesystem::remove_all(Dir, ec);
      }
    } remove{scratch};
    return SeedAll(formName, scratch.string(), false);
  }
  if (!all.empty()) return SeedAll(formName, all, true);
  Args forwarded = {"seed", ForWine(formName), "--lang", lang};
  if (!po.empty()) forwarded.insert(forwarded.end(), {"--po", ForWine(po)});
  if (!text.empty()) forwarded.insert(forwarded.end(), {"--text", ForWine(text), "--locale", vcl::IntToStr(*locale)});
  const int rc = RunUnderWine(FindWindowsBuild(), forwarded, lang);
  if (rc != 0) throw vcl::Exception(formName + ": not seeded in " + lang + " (the Windows build under Wine ended with " + vcl::IntToStr(rc) + ")");
  return 0;
#endif
}

}  // namespace lumetra_cli
