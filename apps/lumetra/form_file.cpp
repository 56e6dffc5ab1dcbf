// Form files for the command line: the design layer's form file with the form's translator.
#include "form_file.hpp"

#include "commands.hpp"
#include "design/Components.hpp"

#include <cstdio>
#include <filesystem>

namespace lumetra_cli {

namespace {

// The first translator on the form, also one a component on it owns (a frame's).
Vek::TLumetra* FindTranslator(const vcl::TComponent* Root) {
  const std::vector<Vek::TLumetra*> found = design::ComponentsOf<Vek::TLumetra>(Root);
  return found.empty() ? nullptr : found.front();
}

}  // namespace

void Progress(const std::string& FileName, const char* Doing) {
  std::error_code ec;
  const auto size = std::filesystem::file_size(FileName, ec);
  if (!ec && size >= 4u << 20)
    std::fprintf(stderr, "lumetra: %s %s (%ju MB)...\n", Doing, Escaped(FileName).c_str(), static_cast<std::uintmax_t>(size >> 20));
}

// A file that is refused gets no "reading" line first.
FormFile::FormFile(const std::string& FileName, bool Locked)
    : design::TFormFile(FileName, Locked, [&FileName] { Progress(FileName, "reading"); }) {}

FormFile::FormFile(design::TReadFile File) : design::TFormFile(std::move(File)) {}

Vek::TLumetra* FormFile::Translator() const {
  if (Vek::TLumetra* t = FindTranslator(Root())) return t;
  throw vcl::Exception(FileName() + ": the form holds no TLumetra");
}

Vek::TLumetra* FormFile::AddTranslator() {
  if (Vek::TLumetra* t = FindTranslator(Root())) return t;
  // A translator sits on the form itself, named as the designer names a dropped component.
  const std::string name = design::NewComponentName(Root(), Vek::TLumetra::StaticClass()->ClassName());
  auto* t = new Vek::TLumetra(Root());
  t->SetName(name);
  return t;
}

}  // namespace lumetra_cli
