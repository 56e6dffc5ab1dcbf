// Some classes of the real forms, each with a few of its published properties and the defaults
// the class library declares, so that known and kept properties meet in real data. Defines the
// classes: include it in one file of a program.
#pragma once

#include "form_test_support.hpp"

namespace form_test {

template <class T, class V>
auto Get(V T::*Field) {
  return [Field](const T* Object) { return Object->*Field; };
}
template <class T, class V>
auto Set(V T::*Field) {
  return [Field](T* Object, V Value) { Object->*Field = std::move(Value); };
}

struct TButton : vcl::TComponent {
  VCL_DECLARE_CLASS
public:
  using vcl::TComponent::TComponent;
  std::string Caption;
  int TabOrder = -1;
  bool Default = false, Cancel = false;
  TClick OnClick;
};
VCL_IMPLEMENT_CLASS(TButton, vcl::TComponent, [](vcl::TMetaClass& c) {
  c.Publish<TButton>()
      .String("Caption", Get(&TButton::Caption), Set(&TButton::Caption))
      .Integer("TabOrder", Get(&TButton::TabOrder), Set(&TButton::TabOrder)).Default(-1)
      .Boolean("Default", Get(&TButton::Default), Set(&TButton::Default)).Default(false)
      .Boolean("Cancel", Get(&TButton::Cancel), Set(&TButton::Cancel)).Default(false)
      .Event("OnClick", Get(&TButton::OnClick), Set(&TButton::OnClick));
})

enum class TTextLayout { tlTop, tlCenter, tlBottom };
struct TLabel : vcl::TComponent {
  VCL_DECLARE_CLASS
public:
  using vcl::TComponent::TComponent;
  std::string Caption;
  bool Transparent = false;
  TTextLayout Layout = TTextLayout::tlTop;
  TClick OnClick;
};
VCL_IMPLEMENT_CLASS(TLabel, vcl::TComponent, [](vcl::TMetaClass& c) {
  c.Publish<TLabel>()
      .String("Caption", Get(&TLabel::Caption), Set(&TLabel::Caption))
      .Boolean("Transparent", Get(&TLabel::Transparent), Set(&TLabel::Transparent)).Default(false)
      .Enumeration("Layout", Get(&TLabel::Layout), Set(&TLabel::Layout), {"tlTop", "tlCenter", "tlBottom"})
      .Default(TTextLayout::tlTop)
      .Event("OnClick", Get(&TLabel::OnClick), Set(&TLabel::OnClick));
})

struct TMenuItem : vcl::TComponent {
  VCL_DECLARE_CLASS
public:
  using vcl::TComponent::TComponent;
  std::string Caption;
  int ShortCut = 0;
  bool Checked = false;
  TClick OnClick;
};
VCL_IMPLEMENT_CLASS(TMenuItem, vcl::TComponent, [](vcl::TMetaClass& c) {
  c.Publish<TMenuItem>()
      .String("Caption", Get(&TMenuItem::Caption), Set(&TMenuItem::Caption))
      .Boolean("Checked", Get(&TMenuItem::Checked), Set(&TMenuItem::Checked)).Default(false)
      .Integer("ShortCut", Get(&TMenuItem::ShortCut), Set(&TMenuItem::ShortCut)).Default(0)
      .Event("OnClick", Get(&TMenuItem::OnClick), Set(&TMenuItem::OnClick));
})

struct TMemo : vcl::TComponent {
  VCL_DECLARE_CLASS
public:
  using vcl::TComponent::TComponent;
  vcl::TStringList Lines;
};
VCL_IMPLEMENT_CLASS(TMemo, vcl::TComponent, [](vcl::TMetaClass& c) {
  c.Publish<TMemo>().Strings("Lines", [](const TMemo* m) { return const_cast<vcl::TStringList*>(&m->Lines); });
})

inline const bool RealFormClassesRegistered = [] {
  for (vcl::TClass c : {TButton::StaticClass(), TLabel::StaticClass(), TMenuItem::StaticClass(), TMemo::StaticClass()})
    vcl::RegisterClass(c);
  return true;
}();

}  // namespace form_test
