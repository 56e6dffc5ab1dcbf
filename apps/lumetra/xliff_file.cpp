// XLIFF 1.2 through libxml2: a tree built and serialised, and a document parsed and walked.
//
// Notes:
// - Parsing never touches the network or external entities: XML_PARSE_NONET, no DTD loading,
//   no entity substitution. libxml2's own printing of errors is off; the last error of the
//   parser context names the line.
// - XML normalises a CR in text to LF when it reads it; units carry LF line breaks (the bridge
//   puts CR LF back where the captured original has it), and libxml2 writes a lone CR as &#13;.
#include "xliff_file.hpp"

#include <map>
#include <memory>
#include <new>

#include "vcl/SysUtils.hpp"

#ifdef LUMETRA_HAVE_LIBXML2
#include <libxml/parser.h>
#include <libxml/tree.h>
#include <libxml/xmlsave.h>
#endif

namespace lumetra_cli {

#ifndef LUMETRA_HAVE_LIBXML2

bool XliffAvailable() { return false; }

std::string WriteXliff(const std::string&, const std::string&, const std::vector<TextUnit>&) {
  throw vcl::Exception("XLIFF needs libxml2, which this build of lumetra was made without; use --po");
}

std::vector<TextUnit> ReadXliff(std::string_view, const std::string& FileName) {
  throw vcl::Exception(FileName + ": XLIFF needs libxml2, which this build of lumetra was made without; use --po");
}

#else

namespace {

const char* const Namespace12 = "urn:oasis:names:tc:xliff:document:1.2";

const xmlChar* X(const char* S) { return reinterpret_cast<const xmlChar*>(S); }
const xmlChar* X(const std::string& S) { return X(S.c_str()); }
std::string S(const xmlChar* S) { return S ? reinterpret_cast<const char*>(S) : ""; }

// Frees what libxml2 allocated when the scope ends, also when an exception passes.
struct DocDeleter {
  void operator()(xmlDoc* D) const { xmlFreeDoc(D); }
};
struct CtxtDeleter {
  void operator()(xmlParserCtxt* C) const { xmlFreeParserCtxt(C); }
};
using Doc = std::unique_ptr<xmlDoc, DocDeleter>;

void CheckXmlText(const TextUnit& U, const std::string& Text) {
  std::size_t character = 0;
  for (std::size_t i = 0; i < Text.size(); ++i) {
    const auto b = static_cast<unsigned char>(Text[i]);
    if ((b & 0xC0) != 0x80) ++character;
    if (b < 0x20 && b != '\t' && b != '\n' && b != '\r')
      throw vcl::EConvertError(U.Key + ", character " + vcl::IntToStr(static_cast<int>(character)) + ": control character #" +
                               vcl::IntToStr(b) + " cannot be held by XML 1.0");
  }
}

std::string Attribute(xmlNode* N, const char* Name) {
  xmlChar* value = xmlGetProp(N, X(Name));
  std::string out = S(value);
  xmlFree(value);
  return out;
}

bool IsXliff(const xmlNode* N, const char* Name) {
  return N->type == XML_ELEMENT_NODE && N->ns && S(N->ns->href) == Namespace12 && S(N->name) == Name;
}

struct FirstError {
  bool Seen = false;
  int Line = 0;
  std::string Message;
};

void KeepFirstError(void* Data, xmlErrorPtr Error) {
  auto* first = static_cast<FirstError*>(Data);
  if (first->Seen || !Error || Error->level < XML_ERR_ERROR) return;
  *first = {true, Error->line, Error->message ? Error->message : "not well-formed"};
}

class Walker {
public:
  explicit Walker(const std::string& FileName) : FFileName(FileName) {}

  [[noreturn]] void Fail(const xmlNode* N, const std::string& What) const {
    throw vcl::EReadError(FFileName + ", line " + vcl::IntToStr(static_cast<int>(xmlGetLineNo(N))) + ": " + What);
  }

  // The text of a <source> or <target>: text and CDATA only.
  std::string Text(xmlNode* N, const std::string& Id) const {
    for (xmlNode* c = N->children; c; c = c->next)
      if (c->type != XML_TEXT_NODE && c->type != XML_CDATA_SECTION_NODE && c->type != XML_COMMENT_NODE)
        Fail(c, "markup <" + S(c->name) + "> inside <" + S(N->name) + "> of " + Id + " is not read; plain text only");
    std::string out;
    for (xmlNode* c = N->children; c; c = c->next)
      if (c->type != XML_COMMENT_NODE) out += S(c->content);
    return out;
  }

  void Walk(xmlNode* Parent) {
    for (xmlNode* n = Parent->children; n; n = n->next) {
      if (IsXliff(n, "trans-unit")) Unit(n);
      else if (IsXliff(n, "group") || IsXliff(n, "body") || IsXliff(n, "file")) Walk(n);
    }
  }

  void Unit(xmlNode* N) {
    TextUnit u;
    u.Key = Attribute(N, "id");
    u.Line = static_cast<int>(xmlGetLineNo(N));
    if (u.Key.empty()) Fail(N, "trans-unit without id (the id holds the property key)");
    if (Attribute(N, "translate") == "no") return;
    xmlNode* source = nullptr;
    xmlNode* target = nullptr;
    for (xmlNode* c = N->children; c; c = c->next) {
      if (IsXliff(c, "source") && !source) source = c;
      else if (IsXliff(c, "target") && !target) target = c;
    }
    if (!source) Fail(N, "trans-unit " + u.Key + " has no <source>");
    u.Source = Text(source, u.Key);
    if (target) {
      const std::string state = Attribute(target, "state");
      if (state != "new" && state != "needs-translation") u.Target = Text(target, u.Key);
      u.Fuzzy = state.starts_with("needs-review") || state == "needs-adaptation" || state == "needs-l10n";
      // The text starts on the target's line; each line break in it moves one line on.
      int line = static_cast<int>(xmlGetLineNo(target));
      u.TargetLines.emplace_back(0, line);
      for (std::size_t i = 0; i < u.Target.size(); ++i)
        if (u.Target[i] == '\n') u.TargetLines.emplace_back(i + 1, ++line);
    }
    const auto [seen, added] = FSeen.emplace(u.Key, u.Line);
    if (!added) Fail(N, "trans-unit " + u.Key + " given twice (first on line " + vcl::IntToStr(seen->second) + ")");
    Units.push_back(std::move(u));
  }

  std::vector<TextUnit> Units;

private:
  const std::string& FFileName;
  std::map<std::string, int> FSeen;
};

}  // namespace

bool XliffAvailable() { return true; }

std::string WriteXliff(const std::string& Original, const std::string& TargetLanguage, const std::vector<TextUnit>& Units) {
  Doc doc(xmlNewDoc(X("1.0")));
  xmlNode* root = xmlNewDocNode(doc.get(), nullptr, X("xliff"), nullptr);
  xmlDocSetRootElement(doc.get(), root);
  xmlNs* ns = xmlNewNs(root, X(Namespace12), nullptr);
  xmlSetNs(root, ns);
  xmlNewProp(root, X("version"), X("1.2"));
  xmlNode* file = xmlNewChild(root, ns, X("file"), nullptr);
  xmlNewProp(file, X("original"), X(Original));
  xmlNewProp(file, X("datatype"), X("plaintext"));
  xmlNewProp(file, X("source-language"), X("en"));
  if (!TargetLanguage.empty()) xmlNewProp(file, X("target-language"), X(TargetLanguage));
  xmlNode* body = xmlNewChild(file, ns, X("body"), nullptr);
  xmlNode* group = nullptr;
  std::string groupClass;
  for (const TextUnit& u : Units) {
    CheckXmlText(u, u.Source);
    CheckXmlText(u, u.Target);
    // The dialog class, the key's text before its first ".", groups the units of one dialog.
    const std::string dialogClass = u.Key.substr(0, u.Key.find('.'));
    if (!group || dialogClass != groupClass) {
      group = xmlNewChild(body, ns, X("group"), nullptr);
      xmlNewProp(group, X("id"), X(dialogClass));
      xmlNewProp(group, X("resname"), X(dialogClass));
      groupClass = dialogClass;
    }
    xmlNode* unit = xmlNewChild(group, ns, X("trans-unit"), nullptr);
    xmlNewProp(unit, X("id"), X(u.Key));
    xmlNewProp(unit, X("resname"), X(u.Key));
    xmlNodeSetSpacePreserve(unit, 1);
    xmlNewTextChild(unit, ns, X("source"), X(u.Source));
    if (!u.Target.empty()) xmlNewProp(xmlNewTextChild(unit, ns, X("target"), X(u.Target)), X("state"), X("translated"));
    if (!u.Note.empty()) xmlNewTextChild(unit, ns, X("note"), X(u.Note));
  }
  xmlChar* text = nullptr;
  int size = 0;
  xmlDocDumpFormatMemoryEnc(doc.get(), &text, &size, "UTF-8", 1);
  if (!text) throw vcl::Exception("XLIFF: libxml2 could not write the document");
  std::string out(reinterpret_cast<const char*>(text), static_cast<std::size_t>(size));
  xmlFree(text);
  return out;
}

std::vector<TextUnit> ReadXliff(std::string_view Bytes, const std::string& FileName) {
  std::unique_ptr<xmlParserCtxt, CtxtDeleter> ctxt(xmlNewParserCtxt());
  if (!ctxt) throw std::bad_alloc();
  // The first error is the one at fault; later ones follow from it.
  FirstError first;
  xmlSetStructuredErrorFunc(&first, KeepFirstError);
  Doc doc(xmlCtxtReadMemory(ctxt.get(), Bytes.data(), static_cast<int>(Bytes.size()), FileName.c_str(), nullptr,
                            XML_PARSE_NONET | XML_PARSE_NOWARNING));
  xmlSetStructuredErrorFunc(nullptr, nullptr);
  if (!doc) {
    std::string message = first.Seen ? first.Message : "not well-formed";
    while (!message.empty() && (message.back() == '\n' || message.back() == ' ')) message.pop_back();
    throw vcl::EReadError(FileName + ", line " + vcl::IntToStr(first.Line) + ": " + message);
  }
  xmlNode* root = xmlDocGetRootElement(doc.get());
  Walker walker(FileName);
  if (!root) throw vcl::EReadError(FileName + ": no root element");
  if (!IsXliff(root, "xliff")) {
    const std::string ns = root->ns ? S(root->ns->href) : "";
    walker.Fail(root, "<" + S(root->name) + ">" + (ns.empty() ? "" : " in namespace " + ns) +
                          " is no XLIFF 1.2 document (root <xliff> in namespace " + Namespace12 + ")");
  }
  if (Attribute(root, "version") != "1.2") walker.Fail(root, "XLIFF version '" + Attribute(root, "version") + "' is not read; only 1.2");
  walker.Walk(root);
  return std::move(walker.Units);
}

#endif

}  // namespace lumetra_cli
