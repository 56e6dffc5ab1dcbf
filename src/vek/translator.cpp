// TLumetra: construction, the Translate flag, locale groups and the translator in charge.
#include "entry_index.hpp"
#include "vcl/Forms.hpp"

namespace Vek {

VCL_IMPLEMENT_CLASS(TLumetra, vcl::TComponent, [](vcl::TMetaClass& c) {
  c.Publish<TLumetra>()
      .String("About", &TLumetra::About, &TLumetra::SetAbout)
      .Stored(false)
      .String("FileName", &TLumetra::FileName, &TLumetra::SetFileName)
      .Integer("Locale", &TLumetra::Locale, &TLumetra::SetLocale)
      .Boolean("Translate", &TLumetra::Translate, &TLumetra::SetTranslate)
      .Boolean("TranslateEmpty", &TLumetra::TranslateEmpty, &TLumetra::SetTranslateEmpty)
      .Default(false)
      .Strings("Translations", &TLumetra::Translations, &TLumetra::SetTranslations)
      .Stored(&TLumetra::StoreTranslationsInForm)
      .Event("OnTranslate", &TLumetra::OnTranslate, &TLumetra::SetOnTranslate)
      .Event("OnTranslated", &TLumetra::OnTranslated, &TLumetra::SetOnTranslated);
})

TLumetra* vekInstance = nullptr;

void ForEachTranslator(const std::function<void(TLumetra*)>& Action) {
  for (int i = 0; i < vcl::Application->ComponentCount(); ++i) {
    vcl::TComponent* module = vcl::Application->Components(i);
    for (int j = 0; j < module->ComponentCount(); ++j)
      if (auto* t = dynamic_cast<TLumetra*>(module->Components(j))) Action(t);
  }
}

TLumetra::TLumetra(vcl::TComponent* AOwner) : vcl::TComponent(AOwner) {
  FTranslate = false;
  SetTranslate(true);
  FTranslations = std::make_unique<TSortList>();
  FOrgProps = std::make_unique<TSortList>();
  vekInstance = this;
  FTranslateEmpty = false;
}

TLumetra::~TLumetra() {
  SetTranslate(false);
  if (vekInstance == this) vekInstance = nullptr;
}

void TLumetra::InternalTranslate(bool Value) {
  FTranslate = Value;
  if (Value) vekInstance = this;
}

void TLumetra::SetTranslate(bool Value) {
  if (Value == FTranslate) return;
  InternalTranslate(Value);
  ForEachTranslator([&](TLumetra* other) {
    if (other == this || other->FLocale == 0) return;
    if (other->FLocale == FLocale) other->InternalTranslate(Value);
    else if (Value) other->InternalTranslate(false);
  });
}

void TLumetra::Loaded() {
  vcl::TComponent::Loaded();
  InternalTranslate(FTranslate);
  RegisterDialogComponents();
  if (FLocale == 0) return;
  TLumetra* first = nullptr;
  ForEachTranslator([&](TLumetra* other) {
    if (!first && other != this && other->FLocale == FLocale) first = other;
  });
  if (first) SetTranslate(first->FTranslate);
}

}  // namespace Vek
