// XLIFF 1.2 through libxml2: a tree built and serialised, and a document parsed and walked.
//
// Notes:
// - Parsing never touches the network or external entities: XML_PARSE_NONET, no DTD loading,
//   no entity substitution. A document type declaration stops the parser where it stands, before
//   its entities are declared: XLIFF needs none, and an internal entity used in an attribute is
//   expanded by repeated concatenation each time the attribute is read (N uses of N bytes, N*N).
//   libxml2's own printing of errors is off; the first error names the line.
// - The text of a <source> or <target> is counted as the parser delivers it, and the parser is
//   stopped once it holds more than an entry can: a huge text costs no more than that.
// - XML normalises a CR in text to LF when it reads it; units carry LF line breaks (the bridge
//   puts CR LF back where the captured original has it), and libxml2 writes a lone CR as &#13;.
#include "exchange/XliffFile.hpp"

#include <algorithm>
#include <map>
#include <memory>
#include <new>

#include "Vek.hpp"
#include "vcl/CodePages.hpp"
#include "vcl/SysUtils.hpp"

#ifdef LUMETRA_HAVE_LIBXML2
#include <libxml/SAX2.h>
#include <libxml/parser.h>
#include <libxml/parserInternals.h>
#include <libxml/tree.h>
#include <libxml/xmlsave.h>
#endif

namespace exchange {

#ifndef LUMETRA_HAVE_LIBXML2

bool XliffAvailable() { return false; }

std::string WriteXliff(const std::string&, const std::string&, const std::vector<TextUnit>&) {
  throw vcl::Exception("XLIFF needs libxml2, which this build of lumetra was made without; use --po");
}

std::vector<TextUnit> ReadXliff(std::string_view, const std::string& FileName, std::string*) {
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
    if (vcl::StartsUtf8Char(b)) ++character;
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

// What stopped the parser before the end, and the text counted in the element being read.
struct ParseGuard {
  std::string Refusal;  // "line N: why", empty while the parser goes on
  const xmlNode* Counted = nullptr;
  std::size_t Characters = 0;

  static ParseGuard& Of(void* Context) { return *static_cast<ParseGuard*>(static_cast<xmlParserCtxt*>(Context)->_private); }
  static void Stop(void* Context, int Line, const std::string& Why) {
    ParseGuard& guard = Of(Context);
    if (guard.Refusal.empty()) guard.Refusal = "line " + vcl::IntToStr(Line) + ": " + Why;
    xmlStopParser(static_cast<xmlParserCtxt*>(Context));
  }
};

void RefuseDocumentType(void* Context, const xmlChar* Name, const xmlChar*, const xmlChar*) {
  const xmlParserCtxt* ctxt = static_cast<xmlParserCtxt*>(Context);
  ParseGuard::Stop(Context, ctxt->input ? ctxt->input->line : 0,
                   "a document type declaration (<!DOCTYPE " + vcl::Excerpt(S(Name)) +
                       ">) is not read: XLIFF needs none, and the entities it may declare are never expanded");
}

// Text as the tree builder takes it, counted in a <source> or <target>.
void CountedText(void* Context, const xmlChar* Text, int Length, void (*Take)(void*, const xmlChar*, int)) {
  Take(Context, Text, Length);
  const xmlNode* node = static_cast<xmlParserCtxt*>(Context)->node;
  if (!node || (S(node->name) != "source" && S(node->name) != "target")) return;
  ParseGuard& guard = ParseGuard::Of(Context);
  if (guard.Counted != node) {
    guard.Counted = node;
    guard.Characters = 0;
  }
  guard.Characters += vcl::Utf8CharCount(std::string_view(reinterpret_cast<const char*>(Text), static_cast<std::size_t>(Length)));
  if (guard.Characters <= Vek::MaxValueLength) return;
  ParseGuard::Stop(Context, static_cast<int>(node->line),
                   "<" + S(node->name) + "> of trans-unit " + vcl::Excerpt(Attribute(node->parent, "id")) + " has more than " + vcl::IntToStr(static_cast<std::int64_t>(Vek::MaxValueLength)) +
                       " characters, more than an entry holds");
}
void Characters(void* Context, const xmlChar* Text, int Length) { CountedText(Context, Text, Length, &xmlSAX2Characters); }
void CData(void* Context, const xmlChar* Text, int Length) { CountedText(Context, Text, Length, &xmlSAX2CDataBlock); }

// An element of XLIFF's own names in another namespace or none: a document of another
// version or a mistake, whose units would otherwise be passed over without a word.
void CheckNamespace(const xmlNode* N, const std::string& FileName) {
  if (N->type != XML_ELEMENT_NODE || (N->ns && S(N->ns->href) == Namespace12)) return;
  static const char* const Names[] = {"file", "body", "group", "trans-unit", "source", "target"};
  const std::string name = S(N->name);
  if (std::find(std::begin(Names), std::end(Names), name) == std::end(Names)) return;
  throw vcl::EReadError(FileName + ", line " + vcl::IntToStr(static_cast<int>(xmlGetLineNo(N))) + ": <" + name + "> " +
                        (N->ns ? "in namespace " + vcl::Excerpt(S(N->ns->href)) : std::string("without namespace")) +
                        " is not read: the elements of XLIFF 1.2 are in namespace " + Namespace12);
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
        Fail(c, "markup <" + vcl::Excerpt(S(c->name)) + "> inside <" + S(N->name) + "> of " + vcl::Excerpt(Id) +
                    " is not read; plain text only");
    std::string out;
    for (xmlNode* c = N->children; c; c = c->next)
      if (c->type != XML_COMMENT_NODE) out += S(c->content);
    return out;
  }

  void Walk(xmlNode* Parent) {
    for (xmlNode* n = Parent->children; n; n = n->next) {
      CheckNamespace(n, FFileName);
      if (IsXliff(n, "trans-unit")) Unit(n);
      else if (IsXliff(n, "file")) File(n);
      else if (IsXliff(n, "group") || IsXliff(n, "body")) Walk(n);
    }
  }

  // A <file>: its units are taken into one translator, so every file must name the same language.
  void File(xmlNode* N) {
    const std::string language = Attribute(N, "target-language");
    if (!language.empty()) {
      if (FLanguageLine == 0) {
        Language = language;
        FLanguageLine = static_cast<int>(xmlGetLineNo(N));
      } else if (language != Language) {
        Fail(N, "target-language '" + vcl::Excerpt(language) + "' differs from '" + vcl::Excerpt(Language) + "' of the <file> on line " +
                    vcl::IntToStr(FLanguageLine) + ": the units of one language are taken at a time");
      }
    }
    Walk(N);
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
      CheckNamespace(c, FFileName);
      if (IsXliff(c, "source") && !source) source = c;
      else if (IsXliff(c, "target") && !target) target = c;
    }
    if (!source) Fail(N, "trans-unit " + vcl::Excerpt(u.Key) + " has no <source>");
    u.Source = Text(source, u.Key);
    if (target) {
      const std::string state = Attribute(target, "state");
      if (state != "new" && state != "needs-translation") u.Target = Text(target, u.Key);
      u.Fuzzy = state.starts_with("needs-review") || state == "needs-adaptation" || state == "needs-l10n";
      // The text starts on the target's line; each line break in it moves one line on (the XML
      // parser has made every line end one LF, so the LFs are counted, not split lines).
      int line = static_cast<int>(xmlGetLineNo(target));
      u.TargetLines.emplace_back(0, line);
      for (std::size_t i = 0; i < u.Target.size(); ++i)
        if (u.Target[i] == '\n') u.TargetLines.emplace_back(i + 1, ++line);
    }
    const auto [seen, added] = FSeen.emplace(u.Key, u.Line);
    if (!added) Fail(N, "trans-unit " + vcl::Excerpt(u.Key) + " given twice (first on line " + vcl::IntToStr(seen->second) + ")");
    Units.push_back(std::move(u));
  }

  std::vector<TextUnit> Units;
  std::string Language;  // the target-language of the <file> elements

private:
  const std::string& FFileName;
  int FLanguageLine = 0;
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
    if (!u.Target.empty())  // a translation marked for review goes out as one, which the reader takes for fuzzy again
      xmlNewProp(xmlNewTextChild(unit, ns, X("target"), X(u.Target)), X("state"), X(u.Fuzzy ? "needs-review-translation" : "translated"));
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

std::vector<TextUnit> ReadXliff(std::string_view Bytes, const std::string& FileName, std::string* Language) {
  // The first error is the one at fault; later ones follow from it.
  FirstError first;
  xmlSetStructuredErrorFunc(&first, KeepFirstError);
  std::unique_ptr<xmlParserCtxt, CtxtDeleter> ctxt(xmlCreateMemoryParserCtxt(Bytes.data(), static_cast<int>(Bytes.size())));
  if (!ctxt) {
    xmlSetStructuredErrorFunc(nullptr, nullptr);
    if (Bytes.empty()) throw vcl::EReadError(FileName + ", line 1: the document is empty");
    throw std::bad_alloc();
  }
  // Set up here rather than through xmlCtxtReadMemory, which would reset them.
  xmlCtxtUseOptions(ctxt.get(), XML_PARSE_NONET | XML_PARSE_NOWARNING);
  ParseGuard guard;
  ctxt->_private = &guard;
  ctxt->sax->internalSubset = &RefuseDocumentType;
  ctxt->sax->characters = &Characters;
  ctxt->sax->ignorableWhitespace = &Characters;
  ctxt->sax->cdataBlock = &CData;
  xmlParseDocument(ctxt.get());
  Doc doc(ctxt->myDoc);
  ctxt->myDoc = nullptr;
  if (!ctxt->wellFormed) doc.reset();
  xmlSetStructuredErrorFunc(nullptr, nullptr);
  if (!guard.Refusal.empty()) throw vcl::EReadError(FileName + ", " + guard.Refusal);
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
  if (Attribute(root, "version") != "1.2")
    walker.Fail(root, "XLIFF version '" + vcl::Excerpt(Attribute(root, "version")) + "' is not read; only 1.2");
  walker.Walk(root);
  if (Language) *Language = walker.Language;
  return std::move(walker.Units);
}

#endif

}  // namespace exchange
