// The package unit of VekD4, VekD3 and Vekc3 (one source, built once per package): the unit
// table and its counted Initialize and Finalize, the resource lookup, and unit Vek's routines
// under their plain names for hosts that bind by name.
//
// Notes:
// - LUMETRA_PACKAGE_NAME names the package; LUMETRA_PACKAGE_EDITOR_FIRST puts unit VekEdit
//   before unit Vek in the table (VekD4); LUMETRA_PACKAGE_INFO_TABLE exports the table
//   (VekD4, VekD3).
// - Loading the module runs no unit code: the host's Initialize does, so that a host that
//   loads a package only to read its resources changes nothing.
// - The C++ interface of units Vek and VekEdit is exported as well, under the compiler's
//   decorated names, for applications linked against the package.
// - Windows: resources come from a language resource module when one lies beside the package,
//   named as the package with the user's language abbreviation for extension (VekD4.SVE, else
//   VekD4.SV), loaded as data; otherwise from the package itself. It is looked for at the first
//   lookup rather than at load, since loading a module while the loader runs the package's own
//   start-up code is not allowed.
#include "Vek.hpp"
#include "VekEdit.hpp"
#include "checks/preview.hpp"
#include "checks/translator_checks.hpp"
#include "design/Packages.hpp"
#include "vekedit/editor_preview.hpp"

#ifdef _WIN32
#include <string>

#define PACKAGE_EXPORT extern "C" __declspec(dllexport)
#else
#include <strings.h>

#include <cstring>

#include "package_resources.hpp"
#define PACKAGE_EXPORT extern "C" __attribute__((visibility("default")))
#endif

namespace {

// A unit's two parts behind the count of Initialize calls.
template <void (*Initialization)(), void (*Finalization)()>
struct CountedUnit {
  static inline int Count = 0;
  static void Init() {
    if (Count++ == 0) Initialization();
  }
  static void FInit() {
    if (Count > 0 && --Count == 0) Finalization();
  }
};

// Unit VekEdit's initialization gives the editor its preview window. Its finalization takes
// that back and forgets the editor form's published methods, which the class library keeps by
// class: none may outlive the module.
void VekEditInitialization() { VekEdit::SetPreviewMaker(&VekEdit::MakePreviewWindow); }
void VekEditFinalization() {
  VekEdit::SetPreviewMaker(nullptr);
  vcl::UnRegisterMethods(VekEdit::TDlgEditor::StaticClass());
}

#ifndef _WIN32
// The preview's drawing library comes with the package, and pixman under it sets itself up
// whenever it is loaded and never gives that back. Pinned as soon as the package is loaded (no
// unit code: the loader has already run pixman's), it is set up once however often a host
// loads and unloads the package.
const bool DrawingLibraryKept = (checks::KeepDrawingLibraryLoaded(), true);
#endif

using VekUnit = CountedUnit<&Vek::UnitInitialization, &Vek::UnitFinalization>;
using VekEditUnit = CountedUnit<&VekEditInitialization, &VekEditFinalization>;

constexpr design::TPackageUnitEntry Units[] = {
#if LUMETRA_PACKAGE_EDITOR_FIRST
    {&VekEditUnit::Init, &VekEditUnit::FInit},
    {&VekUnit::Init, &VekUnit::FInit},
#else
    {&VekUnit::Init, &VekUnit::FInit},
    {&VekEditUnit::Init, &VekEditUnit::FInit},
#endif
};

#ifdef _WIN32
// The module the package's resources are read from, and the language resource module if any.
class ResourceSource {
public:
  ~ResourceSource() {
    if (FLanguage) FreeLibrary(FLanguage);
  }
  HMODULE Module() {
    if (!FOwn) Find();
    return FLanguage ? FLanguage : FOwn;
  }

private:
  void Find();
  HMODULE FOwn = nullptr;
  HMODULE FLanguage = nullptr;
};

void ResourceSource::Find() {
  if (!GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                          reinterpret_cast<LPCSTR>(&VekEditInitialization), &FOwn))
    return;
  char path[MAX_PATH];
  const DWORD n = GetModuleFileNameA(FOwn, path, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return;
  std::string base(path, n);
  const std::size_t dot = base.find_last_of('.'), slash = base.find_last_of("\\/");
  if (dot != std::string::npos && (slash == std::string::npos || dot > slash)) base.erase(dot);
  char language[16] = "";
  if (!GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SABBREVLANGNAME, language, sizeof language)) return;
  for (const std::string& ext : {std::string(language), std::string(language).substr(0, 2)}) {
    FLanguage = LoadLibraryExA((base + "." + ext).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (FLanguage) return;
  }
}

ResourceSource Resources;
#endif

}  // namespace

PACKAGE_EXPORT void Initialize() {
  for (const design::TPackageUnitEntry& u : Units) u.Init();
}

PACKAGE_EXPORT void Finalize() {
  for (auto u = std::rbegin(Units); u != std::rend(Units); ++u) u->FInit();
}

#if LUMETRA_PACKAGE_INFO_TABLE
PACKAGE_EXPORT const design::TPackageInfoTable* GetPackageInfoTable() {
  static constexpr design::TPackageInfoTable Table{static_cast<int>(std::size(Units)), Units};
  return &Table;
}
#endif

PACKAGE_EXPORT const void* FindPackageResource(const char* Type, const char* Name, unsigned* Language,
                                               std::size_t* Size) {
#ifdef _WIN32
  const HMODULE module = Resources.Module();
  if (!module) return nullptr;
  HRSRC info = FindResourceA(module, Name, Type);
  HGLOBAL data = info ? LoadResource(module, info) : nullptr;
  if (!data) return nullptr;
  if (Size) *Size = SizeofResource(module, info);
  if (Language) {
    // The language is that of the first (here the only) one the resource exists in.
    struct Found {
      static BOOL CALLBACK First(HMODULE, LPCSTR, LPCSTR, WORD Lang, LONG_PTR Param) {
        *reinterpret_cast<unsigned*>(Param) = Lang;
        return FALSE;
      }
    };
    EnumResourceLanguagesA(module, Type, Name, &Found::First, reinterpret_cast<LONG_PTR>(Language));
  }
  return LockResource(data);
#else
  if (!Type || !Name) return nullptr;
  for (std::size_t i = 0; i < PackageResourceCount; ++i) {
    const PackageResource& r = PackageResources[i];
    if (std::strcmp(r.Type, Type) == 0 && strcasecmp(r.Name, Name) == 0) {  // names ignore case, as on Windows
      if (Language) *Language = r.Language;
      if (Size) *Size = r.Size;
      return r.Data;
    }
  }
  return nullptr;
#endif
}

namespace {

// A translator's fault picked in the host: its editor, opened at the entry at fault.
bool ShowTranslatorProblem(vcl::TComponent* Component, const design::TDesignProblem& Problem) {
  auto* translator = dynamic_cast<Vek::TLumetra*>(Component);
  return translator && VekEdit::ShowEditorAt(*translator, Problem.Key);
}

}  // namespace

// Unit Vek's registrations, and the check the host runs on every translator of its form.
PACKAGE_EXPORT void Register() {
  Vek::Register();
  design::RegisterComponentCheck(Vek::TLumetra::StaticClass(), &checks::DesignCheck, &ShowTranslatorProblem);
}
PACKAGE_EXPORT bool RegisterDialogClass(vcl::TClass AClass) { return Vek::RegisterDialogClass(AClass); }
PACKAGE_EXPORT bool UnRegisterDialogClass(vcl::TClass AClass) { return Vek::UnRegisterDialogClass(AClass); }
PACKAGE_EXPORT LRESULT CALLBACK ComDlgProc(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
  return Vek::ComDlgProc(hWnd, Msg, wParam, lParam);
}
