// Form files for the command line: the design layer's form file with the form's translator.
#include "form_file.hpp"

#include "commands.hpp"

#include <cstdio>
#include <filesystem>

namespace lumetra_cli {

namespace {

Vek::TLumetra* FindTranslator(vcl::TComponent* Owner) {
  for (int i = 0; i < Owner->ComponentCount(); ++i) {
    if (auto* t = dynamic_cast<Vek::TLumetra*>(Owner->Components(i))) return t;
    if (Vek::TLumetra* t = FindTranslator(Owner->Components(i))) return t;
  }
  return nullptr;
}

// The file name, once it passed the checks and the user was told of a long read: a file that
// is refused gets no "reading" line first.
std::string Announced(std::string FileName) {
  CheckInput(FileName, MaxFormFileSize);
  Progress(FileName, "reading");
  return FileName;
}

}  // namespace

void Progress(const std::string& FileName, const char* Doing) {
  std::error_code ec;
  const auto size = std::filesystem::file_size(FileName, ec);
  if (!ec && size >= 4u << 20)
    std::fprintf(stderr, "lumetra: %s %s (%ju MB)...\n", Doing, Escaped(FileName).c_str(), static_cast<std::uintmax_t>(size >> 20));
}

FormFile::FormFile(std::string FileName, bool Locked) : design::TFormFile(Announced(std::move(FileName)), Locked) {}

Vek::TLumetra* FormFile::Translator() const {
  if (Vek::TLumetra* t = FindTranslator(Root())) return t;
  throw vcl::Exception(FileName() + ": the form holds no TLumetra");
}

Vek::TLumetra* FormFile::AddTranslator() {
  if (Vek::TLumetra* t = FindTranslator(Root())) return t;
  // A translator sits on the form itself, named as the designer names a dropped component.
  std::string name;
  for (int n = 1; name.empty() || Root()->FindComponent(name); ++n) name = "Lumetra" + std::to_string(n);
  auto* t = new Vek::TLumetra(Root());
  t->SetName(name);
  return t;
}

}  // namespace lumetra_cli
