// Design-time registration of unit Vek: the property editors of About, FileName and
// Translations, the component editor with its three verbs, the palette, and the help.
//
// Notes:
// - The help viewer of old, "WINHLP32.EXE VEK.HLP" with show command 0, would start hidden and
//   look for the file in the host's current folder. Help is instead the HTML document next to
//   the module, opened shown by the system's handler; the old viewer only when a VEK.HLP lies
//   next to the module, by its full path.
// - ShellExecuteA is looked up in shell32 when needed, so that no module that holds unit Vek has
//   to link shell32 for a help verb.
// - The host drops a module's registrations before unloading it; should it not, the module's
//   own unload drops those Register made.
// - A FileName in the folder GetAppDir gives is stored as a bare name, so that the form loads on
//   another machine, where the project lies elsewhere.
#include <cctype>
#include <filesystem>

#include "Vek.hpp"
#include "design/DsgnIntf.hpp"

#ifndef _WIN32
#include <dlfcn.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace Vek {

namespace {

using design::TPropertyAttribute;
using design::TPropertyAttributes;

// The component a Lumetra editor edits. Raises vcl::EConvertError naming the class when it is
// none (an editor registered for another class by mistake).
TLumetra* Translator(vcl::TPersistent* Component) {
  if (auto* t = dynamic_cast<TLumetra*>(Component)) return t;
  throw vcl::EConvertError("Lumetra editor used on a " + (Component ? Component->ClassName() : std::string("nil")));
}

bool SameFolder(const std::string& A, const std::string& B) {
#ifdef _WIN32
  if (A.size() != B.size()) return false;
  for (std::size_t i = 0; i < A.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(A[i])) != std::tolower(static_cast<unsigned char>(B[i]))) return false;
  return true;
#else
  return A == B;
#endif
}

void SystemExec(const std::string& CommandLine, int Show) {
#ifdef _WIN32
  WinExec(CommandLine.c_str(), static_cast<UINT>(Show));
#else
  (void)CommandLine, (void)Show;
#endif
}

void SystemOpen(const std::string& Document) {
#ifdef _WIN32
  using TShellExecute = HINSTANCE(WINAPI*)(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT);
  const HMODULE shell = LoadLibraryA("shell32.dll");
  if (!shell) return;
  if (auto open = reinterpret_cast<TShellExecute>(reinterpret_cast<void*>(GetProcAddress(shell, "ShellExecuteA"))))
    open(nullptr, "open", Document.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
  FreeLibrary(shell);
#else
  // Two forks: the viewer outlives the host without becoming its zombie.
  const pid_t child = fork();
  if (child == 0) {
    if (fork() == 0) {
      setsid();
      execlp("xdg-open", "xdg-open", Document.c_str(), static_cast<char*>(nullptr));
    }
    _exit(0);
  }
  if (child > 0) waitpid(child, nullptr, 0);
#endif
}

// ---- The editors ---------------------------------------------------------------------------

class TLmtTranslationsProperty : public design::TPropertyEditor {
public:
  void Edit() override {
    if (Translator(GetComponent(0))->ShowEditor()) Modified();
  }
  TPropertyAttributes GetAttributes() override { return {TPropertyAttribute::paDialog, TPropertyAttribute::paReadOnly}; }
  std::string GetValue() override { return "(Dialog Editor)"; }
};

class TLmtAboutProperty : public design::TPropertyEditor {
public:
  void Edit() override { Translator(GetComponent(0))->ShowAbout(); }
  TPropertyAttributes GetAttributes() override { return {TPropertyAttribute::paDialog, TPropertyAttribute::paReadOnly}; }
  std::string GetValue() override { return "(About...)"; }
};

class TLmtFileNameProperty : public design::TStringProperty {
public:
  void Edit() override {
    TLumetra* translator = Translator(GetComponent(0));
    const std::string appDir = translator->GetAppDir();
    auto dialog = std::make_unique<vcl::TOpenDialog>(vcl::Application);
    dialog->SetFilter("Dialog translations (*.txt)|*.txt");
    dialog->SetTitle("Select a dialog translations file");
    dialog->SetDefaultExt("txt");
    // A bare name stands for the file in GetAppDir's folder: the dialog starts there.
    std::string current = translator->FileName();
    if (!current.empty() && !appDir.empty() && vcl::ExtractFilePath(current).empty()) current = appDir + current;
    dialog->SetFileName(current);
    if (!dialog->Execute()) return;

    const std::string chosen = dialog->FileName();
    const std::string folder = vcl::ExtractFilePath(chosen);
    translator->SetFileName(!appDir.empty() && SameFolder(folder, appDir) ? chosen.substr(folder.size()) : chosen);
    Modified();
    // The next save rewrites the file from the entries: take in what it holds first.
    if (vcl::FileExists(chosen)) translator->LoadFrom(chosen);
  }
  TPropertyAttributes GetAttributes() override { return {TPropertyAttribute::paDialog}; }
};

class TLmtTranslatorEditor : public design::TComponentEditor {
public:
  using design::TComponentEditor::TComponentEditor;
  void ExecuteVerb(int Index) override {
    switch (Index) {
      case 0:
        if (Translator(Component())->ShowEditor() && Designer()) Designer()->Modified();
        break;
      case 1: Translator(Component())->ShowAbout(); break;
      case 2: ShowHelp(ModuleDir()); break;
      default: break;
    }
  }
  std::string GetVerb(int Index) override {
    switch (Index) {
      case 0: return "Common Dialog Translation Editor";
      case 1: return "About Lumetra";
      case 2: return "Help Contents";
      default: return {};
    }
  }
  int GetVerbCount() override { return 3; }
};

// An address inside this module, to find the module by.
void ModuleAnchor() {}

// The module Register ran in. Should the module be unloaded while the host still keeps its
// registrations, they go with it here, so that none points into unloaded code.
struct OwnRegistrations {
  bool Made = false;
  design::TModuleHandle Module = nullptr;
  ~OwnRegistrations() {
    if (Made) design::DropModuleRegistrations(Module);
  }
} Registered;

}  // namespace

THelpSystem HelpSystem{&SystemExec, &SystemOpen};

std::string ModuleDir() {
#ifdef _WIN32
  HMODULE module = nullptr;
  if (!GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                          reinterpret_cast<LPCSTR>(reinterpret_cast<void*>(&ModuleAnchor)), &module))
    return {};
  char name[MAX_PATH];
  const DWORD n = GetModuleFileNameA(module, name, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return {};
  return vcl::ExtractFilePath(std::string(name, n));
#else
  Dl_info info{};
  if (!dladdr(reinterpret_cast<void*>(&ModuleAnchor), &info) || !info.dli_fname) return {};
  std::error_code error;
  const std::filesystem::path file = std::filesystem::absolute(info.dli_fname, error);
  if (error) return {};
  return vcl::ExtractFilePath(file.string());
#endif
}

void ShowHelp(const std::string& Folder) {
  if (Folder.empty()) return;
#ifdef _WIN32
  const std::string oldHelp = Folder + "VEK.HLP";
  if (vcl::FileExists(oldHelp)) {
    const bool blank = oldHelp.find(' ') != std::string::npos;
    HelpSystem.Exec("WINHLP32.EXE " + (blank ? "\"" + oldHelp + "\"" : oldHelp), SW_SHOWNORMAL);
    return;
  }
#endif
  if (vcl::FileExists(Folder + HelpDocument)) HelpSystem.Open(Folder + HelpDocument);
}

void Register() {
  const vcl::TClass lumetra = TLumetra::StaticClass();
  const design::TTypeInfo* string = design::TypeInfo(vcl::TPropKind::pkString);
  design::RegisterPropertyEditor(string, lumetra, "About",
                                 design::PropertyEditorClass<TLmtAboutProperty>("TLmtAboutProperty"));
  design::RegisterPropertyEditor(string, lumetra, "FileName",
                                 design::PropertyEditorClass<TLmtFileNameProperty>("TLmtFileNameProperty"));
  design::RegisterPropertyEditor(design::TypeInfo(vcl::TPropKind::pkStrings), lumetra, "Translations",
                                 design::PropertyEditorClass<TLmtTranslationsProperty>("TLmtTranslationsProperty"));
  design::RegisterComponentEditor(lumetra, design::ComponentEditorClass<TLmtTranslatorEditor>("TLmtTranslatorEditor"));
  design::RegisterComponents("Brevane", {lumetra});
  // The check the host runs on every translator of its form (checks::DesignCheck, with the
  // editor opened at a fault picked) is registered beside this by the package's Register
  // (packages/package.cpp): the checks are a layer above this unit.
  Registered.Made = true;
  Registered.Module = design::CurrentModule();
}

}  // namespace Vek
