// The form open in the design host.
#include "form_document.hpp"

#include "vcl/Classes.hpp"
#include "vcl/SysUtils.hpp"

namespace designer {

namespace {

void Fill(vcl::TMemoryStream& Stream, const std::string& Data) {
  Stream.WriteBuffer(Data.data(), static_cast<std::int64_t>(Data.size()));
  Stream.SetPosition(0);
}

std::string Bytes(const vcl::TMemoryStream& Stream) { return std::string(Stream.Bytes().begin(), Stream.Bytes().end()); }

}  // namespace

FormDocument::FormDocument(std::string FileName) : FFileName(std::move(FileName)) {
  FSavedHost = design::ToolServices;
  design::ToolServices = this;
  try {
    const std::string bytes = vcl::ReadFileBytes(FFileName);
    vcl::TMemoryStream input, binary;
    Fill(input, bytes);
    switch (vcl::TestStreamFormat(input)) {
      case vcl::TStreamOriginalFormat::sofBinary:
        FResourceHeader = !bytes.empty() && static_cast<unsigned char>(bytes[0]) == 0xFF;
        if (FResourceHeader) {  // the stream after the header, by way of its text
          vcl::TMemoryStream text;
          vcl::ObjectResourceToText(input, text);
          text.SetPosition(0);
          vcl::ObjectTextToBinary(text, binary);
        } else {
          Fill(binary, bytes);
        }
        break;
      case vcl::TStreamOriginalFormat::sofText:
      case vcl::TStreamOriginalFormat::sofUTF8Text: {
        FText = true;
        const std::size_t lineEnd = bytes.find_first_of("\r\n");
        if (lineEnd != std::string::npos) FLineBreak = bytes.compare(lineEnd, 2, "\r\n") == 0 ? "\r\n" : bytes.substr(lineEnd, 1);
        vcl::ObjectTextToBinary(input, binary);
        break;
      }
      case vcl::TStreamOriginalFormat::sofUnknown:
        throw vcl::EReadError("neither a binary form (\"TPF0\") nor a text form (\"object ...\") at offset 0");
    }
    binary.SetPosition(0);
    FRoot = std::make_unique<vcl::TUnknownComponent>(nullptr);
    FRoot->SetDesigning(true);
    vcl::TReader reader(binary);
    reader.ReadRootComponent(FRoot.get());
  } catch (const vcl::Exception& e) {
    FRoot.reset();
    design::ToolServices = FSavedHost;
    throw vcl::Exception(FFileName + ": " + e.Message());
  }
}

FormDocument::~FormDocument() {
  FRoot.reset();
  design::ToolServices = FSavedHost;
}

std::string FormDocument::Title() const { return "lumetra-designer - " + FFileName + (FModified ? " *" : ""); }

std::vector<vcl::TComponent*> FormDocument::Components() const {
  std::vector<vcl::TComponent*> v;
  for (int i = 0; i < FRoot->ComponentCount(); ++i) v.push_back(FRoot->Components(i));
  return v;
}

vcl::TComponent* FormDocument::Component(const std::string& Name) const {
  for (vcl::TComponent* c : Components())
    if (c->Name() == Name) return c;
  throw vcl::Exception(FFileName + ": the form has no component " + Name);
}

std::unique_ptr<design::TPropertyEditor> FormDocument::EditorOf(vcl::TComponent* Component, const std::string& Property) {
  for (const vcl::TPropInfo* p : Component->ClassType()->Properties())
    if (p->Name() == Property) return design::CreatePropertyEditor(this, {Component}, *p);
  throw vcl::Exception(Component->Name() + " (" + Component->ClassName() + ") has no published property " + Property);
}

std::vector<InspectorRow> FormDocument::Inspect(vcl::TComponent* Component) {
  std::vector<InspectorRow> rows;
  for (const vcl::TPropInfo* p : Component->ClassType()->Properties()) {
    std::unique_ptr<design::TPropertyEditor> editor = design::CreatePropertyEditor(this, {Component}, *p);
    const design::TPropertyAttributes a = editor->GetAttributes();
    rows.push_back({editor->GetName(), editor->GetValue(), a.Contains(design::TPropertyAttribute::paReadOnly),
                    a.Contains(design::TPropertyAttribute::paDialog)});
  }
  return rows;
}

void FormDocument::SetValue(vcl::TComponent* Component, const std::string& Property, const std::string& Value) {
  std::unique_ptr<design::TPropertyEditor> editor = EditorOf(Component, Property);
  if (editor->GetAttributes().Contains(design::TPropertyAttribute::paReadOnly))
    throw vcl::Exception("The property " + Component->Name() + "." + Property + " is read-only: its value cannot be typed");
  editor->SetValue(Value);
}

void FormDocument::Edit(vcl::TComponent* Component, const std::string& Property) { EditorOf(Component, Property)->Edit(); }

std::vector<std::string> FormDocument::Verbs(vcl::TComponent* Component) {
  std::unique_ptr<design::TComponentEditor> editor = design::GetComponentEditor(Component, this);
  std::vector<std::string> verbs;
  for (int i = 0; i < editor->GetVerbCount(); ++i) verbs.push_back(editor->GetVerb(i));
  return verbs;
}

void FormDocument::ExecuteVerb(vcl::TComponent* Component, int Index) {
  design::GetComponentEditor(Component, this)->ExecuteVerb(Index);
}

void FormDocument::EditComponent(vcl::TComponent* Component) { design::GetComponentEditor(Component, this)->Edit(); }

std::vector<FormDocument::Fault> FormDocument::Check() const {
  std::vector<Fault> faults;
  for (vcl::TComponent* c : Components())
    for (design::TDesignProblem& p : design::CheckComponent(c)) faults.push_back({c->Name(), std::move(p)});
  return faults;
}

void FormDocument::ShowFault(const Fault& F) {
  vcl::TComponent* c = Component(F.Component);
  if (!F.Problem.Show) return EditComponent(c);
  if (F.Problem.Show(c, F.Problem)) Modified();
}

vcl::TComponent* FormDocument::Drop(vcl::TClass Class) {
  if (!Class || !Class->CanCreate()) throw vcl::Exception("Cannot drop " + std::string(Class ? Class->ClassName() : "no class") + ": it has no constructor");
  std::string base = Class->ClassName();
  if (base.size() > 1 && base[0] == 'T') base.erase(0, 1);
  std::string name;
  for (int n = 1;; ++n) {
    name = base + std::to_string(n);
    if (!FRoot->FindComponent(name)) break;
  }
  vcl::TComponent* c = Class->Create(FRoot.get());
  c->SetName(name);
  c->SetDesigning(true);
  c->Loaded();  // as if read with the form
  Modified();
  return c;
}

void FormDocument::Save() {
  vcl::TMemoryStream stream;
  {
    vcl::TWriter writer(stream);
    writer.WriteRootComponent(FRoot.get());
  }
  std::string out = Bytes(stream);
  if (FText || FResourceHeader) {
    vcl::TMemoryStream binary, converted;
    Fill(binary, out);
    if (FText) {
      vcl::ObjectBinaryToText(binary, converted);
      out = Bytes(converted);
      if (FLineBreak != "\r\n") {  // the text comes with CR LF line ends
        std::string kept;
        for (std::size_t i = 0; i < out.size(); ++i) {
          if (out.compare(i, 2, "\r\n") != 0) kept += out[i];
          else kept += FLineBreak, ++i;
        }
        out.swap(kept);
      }
    } else {
      vcl::TMemoryStream text;
      vcl::ObjectBinaryToText(binary, text);
      text.SetPosition(0);
      vcl::ObjectTextToResource(text, converted);
      out = Bytes(converted);
    }
  }
  vcl::ReplaceFile(FFileName, out);
  FModified = false;
}

bool FormDocument::CanClose(const std::function<CloseAnswer(const std::string& Question)>& Ask) {
  if (!FModified) return true;
  switch (Ask("Save the changes to " + FFileName + "?")) {
    case CloseAnswer::Save: Save(); return true;
    case CloseAnswer::Discard: return true;
    case CloseAnswer::Cancel: break;
  }
  return false;
}

}  // namespace designer
