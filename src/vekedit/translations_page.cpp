// The Translations page: the key list, the captured value and the translation of the current
// key, PageUp/PageDown, New, Remove and Accept; and the list operations the other pages share.
//
// Notes:
// - Keys are looked up by their exact text followed by "=" (or a line equal to the key), never by
//   prefix: a key that begins another key must not find that one's entry.
// - The boxes show texts as UTF-16, each in the code page of its key's class (Vek::TextCodePage):
//   the captured value in the page the captured values give the class, the translation in the
//   one the translations give it. A class the translations give no Font.Charset keeps the
//   captured one, as applying leaves the dialog's font with the character set it has. Typed
//   text goes back into the translation's page; a character the page lacks stores nothing.
// - Lookups go through indexes (binary search in the sorted entries, a hash of the captured
//   values rebuilt when that list changed), so that handlers stay fast with tens of thousands of
//   keys; list boxes change inside one batch each.
// - A fuzzy key's item is its key followed by FuzzyMark, with FFuzzyItem as its object: the
//   object, not the text, tells it from a key that ends in the mark's words (New takes any name).
//   Editing the translation or Accept clears the mark; Escape puts it back with the text.
#include <algorithm>

#include "editor_support.hpp"
#include "exchange/CodePage.hpp"
#include "vcl/CodePages.hpp"

namespace VekEdit {

using namespace vcl;

namespace {

// What a name given to New must not hold: "=" ends a key, control characters break lines.
bool ValidKey(const std::string& Name) {
  if (Name.empty()) return false;
  return std::none_of(Name.begin(), Name.end(), [](char c) { return c == '=' || static_cast<unsigned char>(c) < 32; });
}

// Whether typed text survives being stored as it is: the literal decoding leaves it unchanged.
bool PlainText(const std::string& Text) {
  return std::none_of(Text.begin(), Text.end(),
                      [](char c) { return c == '\'' || c == '#' || static_cast<unsigned char>(c) < 32; });
}

Vek::EntryKind KindOf(const std::string& Key) {
  const std::string line = Key + "=";
  return Vek::Entry::Split(line).Kind;
}

// The class part of a key (the text before its first "."), or empty when it has none.
std::string_view ClassOfKey(std::string_view Key) {
  const std::size_t dot = Key.find('.');
  return dot == std::string_view::npos ? std::string_view() : Key.substr(0, dot);
}

}  // namespace

int TDlgEditor::GetPropIndex(const std::string& Text, const TStrings& List) {
  if (Text.empty()) return -1;
  for (int i = 0; i < List.Count(); ++i)
    if (Vek::EntryKey(List.Get(i)) == Text) return i;
  return -1;
}

bool TDlgEditor::IsStringLiteral(const std::string& Value) {
  return !Value.empty() && (Value.front() == '\'' || Value.front() == '#');
}

std::string TDlgEditor::CurrentKey() const {
  const int i = PropList->ItemIndex();
  if (i < 0 || i >= PropList->Items()->Count()) return {};
  return KeyAt(i);
}

std::string TDlgEditor::KeyAt(int Index) const {
  const std::string& text = PropList->Items()->Get(Index);
  if (PropList->Items()->Objects(Index) != &FFuzzyItem) return text;
  return text.substr(0, text.size() - std::string_view(FuzzyMark).size());
}

int TDlgEditor::ItemOfKey(const std::string& Key) const {
  const bool fuzzy = IsFuzzy(Key);
  const std::string folded = Fold(fuzzy ? Key + FuzzyMark : Key);
  const TStrings& items = *PropList->Items();
  for (int i = 0; i < items.Count(); ++i)
    if ((items.Objects(i) == &FFuzzyItem) == fuzzy && items.Get(i).size() == folded.size() && Fold(items.Get(i)) == folded) return i;
  return -1;
}

void TDlgEditor::SetFuzzy(const std::string& Key, bool Fuzzy) {
  if (Key.empty() || IsFuzzy(Key) == Fuzzy) return;
  const int at = ItemOfKey(Key);
  if (Fuzzy) FFuzzy.insert(Key);
  else FFuzzy.erase(Key);
  if (Key == FShownKey) BtnAccept->SetEnabled(Fuzzy);
  if (at < 0) return;
  // Added again rather than renamed in place: the list box puts the new text where it sorts.
  const bool selected = PropList->Selected(at);
  const bool current = PropList->ItemIndex() == at;
  PropList->Items()->Delete(at);
  const int to = PropList->Items()->AddObject(Fuzzy ? Key + FuzzyMark : Key, Fuzzy ? &FFuzzyItem : nullptr);
  if (selected) PropList->SetSelected(to, true);
  if (current) PropList->SetItemIndex(to);
}

int TDlgEditor::TransIndex(const std::string& Key) const {
  if (Key.empty() || !FTransList) return -1;
  // A line equal to the key sorts before the key's entries.
  int index = -1;
  if (FTransList->SortFind(Key, index)) return index;
  return Vek::FindEntry(*FTransList, Key);
}

void TDlgEditor::IndexOrgList() {
  if (FOrgIndexed == FOrgList->ChangeCount()) return;
  FOrgIndex.clear();
  FOrgIndex.reserve(static_cast<std::size_t>(FOrgList->Count()));
  for (int i = 0; i < FOrgList->Count(); ++i) FOrgIndex.emplace(std::string(Vek::EntryKey(FOrgList->Get(i))), i);
  FOrgIndexed = FOrgList->ChangeCount();
}

int TDlgEditor::OrgIndex(const std::string& Key) const {
  if (Key.empty() || !FOrgList) return -1;
  const_cast<TDlgEditor*>(this)->IndexOrgList();
  const auto it = FOrgIndex.find(Key);
  return it == FOrgIndex.end() ? -1 : it->second;
}

std::string TDlgEditor::OrgValue(const std::string& Key) const {
  const int i = OrgIndex(Key);
  return i < 0 ? std::string() : std::string(Vek::EntryValue(FOrgList->Get(i)));
}

bool TDlgEditor::IsContent(const std::string& Key) const {
  const int i = OrgIndex(Key);
  return i >= 0 && !Vek::IsForTranslation(FOrgList->Get(i), Translator ? Translator->Owner() : nullptr);
}

int TDlgEditor::OrgCodePage(const std::string& Key) const { return Vek::TextCodePage(*FOrgList, ClassOfKey(Key)); }

int TDlgEditor::TransCodePage(const std::string& Key) const {
  const std::string_view className = ClassOfKey(Key);
  std::optional<int> charset = Vek::CharsetOf(*FTransList, className);
  if (!charset) charset = Vek::CharsetOf(*FOrgList, className);
  return Vek::TextCodePage(charset);
}

std::string TDlgEditor::TypedText() const {
  const std::u16string typed = EdtTranslation->TextW();
  std::string bytes;
  bytes.reserve(typed.size());
  std::size_t character = 0;
  for (std::size_t i = 0; i < typed.size(); ++i) {
    ++character;
    const char16_t c = typed[i];
    const bool pair = c >= 0xD800 && c <= 0xDBFF && i + 1 < typed.size() && typed[i + 1] >= 0xDC00 && typed[i + 1] <= 0xDFFF;
    // No code page of the table holds a character beyond U+FFFF.
    const std::optional<std::string> got = pair ? std::nullopt : vcl::FromUtf16Char(FShownPage, c);
    if (got) {
      bytes += *got;
      continue;
    }
    const char32_t code = pair ? 0x10000 + ((char32_t{c} - 0xD800) << 10) + (char32_t{typed[i + 1]} - 0xDC00) : c;
    // The character itself where the message can show it: messages are in the system's page.
    std::string shown;
    if (const auto ansi = pair ? std::nullopt : vcl::FromUtf16Char(SystemCodePage(), c)) shown = "\"" + *ansi + "\" ";
    throw EConvertError("Code page " + IntToStr(FShownPage) + " of the translation of " + FShownKey +
                        " has no character " + shown + exchange::CharacterName(code) + " (character " +
                        IntToStr(static_cast<int>(character)) + " of the text typed); nothing was stored");
  }
  return bytes;
}

bool TDlgEditor::ShowsEmpty(int Index) const { return Index < 0 || ShownValue(Vek::EntryValue(FTransList->Get(Index))).empty(); }

std::string TDlgEditor::InitialValuePart(const std::string& Key) const {
  const int i = OrgIndex(Key);
  if (i < 0) return "=";
  const std::string value(Vek::EntryValue(FOrgList->Get(i)));
  if (IsStringLiteral(value)) return "=''";
  // A capture measures sizes one pixel larger than applying them sets; starting from the
  // captured value would grow the dialog.
  if (const Vek::EntryKind kind = KindOf(Key); Vek::IsSizeKind(kind))
    if (const auto size = Vek::ParseDecimal(value)) return "=" + IntToStr(Vek::OnScreen(kind, std::int64_t{*size} - 1));
  return "=" + value;
}

void TDlgEditor::RemoveSelection() { DeselectAll(*PropList); }

void TDlgEditor::RefreshPropList() {
  const std::string remembered = CurrentKey();
  {
    // ListAvail's batch ends first, as it began last. Emptied inside the batches: a window
    // filled again with the items it shows keeps them.
    TListBatch props(*PropList);
    TListBatch avail(*ListAvail);
    PropList->Clear();
    ListAvail->Clear();
    FListed.clear();
    FAvail.clear();

    // The items' texts, fuzzy keys with the mark, and how many of each text are marked ones.
    std::vector<std::string> items;
    items.reserve(static_cast<std::size_t>(FTransList->Count()));
    std::unordered_map<std::string, int> marked;
    for (int i = 0; i < FTransList->Count(); ++i) {
      std::string key(Vek::EntryKey(FTransList->Get(i)));
      if (IsFuzzy(key)) ++marked[key += FuzzyMark];
      items.push_back(std::move(key));
    }
    SortAsListBox(items);
    FListed.reserve(items.size());
    // In the list box's own order already: appended without a search each.
    for (std::string& item : items) {
      const auto mark = marked.find(item);
      const bool fuzzy = mark != marked.end() && mark->second-- > 0;
      ++FListed[Fold(std::string_view(item).substr(0, item.size() - (fuzzy ? std::string_view(FuzzyMark).size() : 0)))];
      PropList->Items()->InsertObject(PropList->Items()->Count(), std::move(item), fuzzy ? &FFuzzyItem : nullptr);
    }
    PropList->SetItemIndex(remembered.empty() ? -1 : ItemOfKey(remembered));

    std::vector<std::string> available;
    for (int i = FOrgList->Count() - 1; i >= 0; --i) {
      std::string key(Vek::EntryKey(FOrgList->Get(i)));
      if (key.rfind("ActiveControl", 0) == 0) continue;
      std::string folded = Fold(key);
      if (FListed.count(folded) || !FAvail.insert(std::move(folded)).second) continue;
      available.push_back(std::move(key));
    }
    SortAsListBox(available);
    for (std::string& key : available) ListAvail->Items()->Insert(ListAvail->Items()->Count(), std::move(key));
  }
  ListAvailClick(this);
  PropListClick(this);
}

void TDlgEditor::ShowStartKey() {
  const int at = ItemOfKey(StartKey);
  if (at < 0) return;
  DeselectAll(*PropList);
  PropList->SetItemIndex(at);
  PropList->SetSelected(at, true);
  PropListClick(this);
  if (BtnPreview) BtnPreviewClick(this);
}

void TDlgEditor::PropListClick(TObject*) {
  if (!FTransList) return;
  EdtTranslation->SetText("");
  EdtOrgTranslation->SetText("");
  FShownKey = CurrentKey();
  FCurText.clear();
  FHasCurLine = false;
  FShownFuzzy = IsFuzzy(FShownKey);
  BtnAccept->SetEnabled(FShownFuzzy);
  if (FShownKey.empty()) {
    BtnRemove->SetEnabled(false);
    EdtTranslation->SetColor(clBtnFace);
    EdtTranslation->SetEnabled(false);
    UpdatePreview();
    return;
  }
  BtnRemove->SetEnabled(true);
  EdtOrgTranslation->SetTextW(ToUtf16(OrgCodePage(FShownKey), ShownValue(OrgValue(FShownKey))));
  const int j = TransIndex(FShownKey);
  if (j >= 0) {
    FCurLine = FTransList->Get(j);
    FHasCurLine = true;
    FCurText = ShownValue(Vek::EntryValue(FCurLine));
  }
  FShownPage = TransCodePage(FShownKey);
  EdtTranslation->SetTextW(ToUtf16(FShownPage, FCurText));
  EdtTranslation->SetColor(clWindow);
  EdtTranslation->SetEnabled(true);
  UpdatePreview();
}

void TDlgEditor::StorePendingEdit() {
  if (!FTransList || FShownKey.empty()) return;
  if (EdtTranslation->TextW() == ToUtf16(FShownPage, FCurText)) return;
  const int j = TransIndex(FShownKey);
  if (j < 0) return;
  const std::string text = TypedText();
  if (text == FCurText) return;
  FTransList->Put(j, FShownKey + "=" + StoredText(text));
  SetModified();
  SetFuzzy(FShownKey, false);  // edited: reviewed
}

std::string TDlgEditor::StoredText(std::string Text) const {
  // Captions and anything the literal form would change are stored in literal form, so that
  // the stored value always reads back as the text typed; plain numbers and names stay as typed.
  if (IsStringLiteral(OrgValue(FShownKey)) || !PlainText(Text) || KindOf(FShownKey) == Vek::EntryKind::WindowCaption ||
      KindOf(FShownKey) == Vek::EntryKind::ChildCaption)
    Vek::TLumetra::ConvertToLiterals(Text);
  return Text;
}

void TDlgEditor::EdtTranslationExit(TObject*) {
  Guarded([this] { StorePendingEdit(); });
}

void TDlgEditor::MoveCurrent(bool Forward) {
  StorePendingEdit();
  RemoveSelection();
  const int count = PropList->Items()->Count();
  const int from = PropList->ItemIndex();
  int to = from;
  const bool untranslatedOnly = CkxMove->Checked();
  auto untranslated = [&](int Index) {
    const std::string key = KeyAt(Index);
    return ShowsEmpty(TransIndex(key)) && !IsContent(key);
  };
  // Where the walk of single steps ends; the keys passed on the way are not shown one by one.
  if (Forward) {
    while (to < count - 1) {
      ++to;
      if (!untranslatedOnly || untranslated(to)) break;
    }
  } else if (from < count) {
    while (to > 0) {
      --to;
      if (!untranslatedOnly || untranslated(to)) break;
    }
  }
  if (to != from) {
    PropList->SetItemIndex(to);
    PropListClick(this);
  }
  const int current = PropList->ItemIndex();
  if (current >= 0 && current < count) PropList->SetSelected(current, true);
}

void TDlgEditor::EdtTranslationKeyDown(TObject*, WORD& Key, TShiftState) {
  Guarded([&] {
    switch (Key) {
      case VK_ESCAPE: {
        // Back to the entry exactly as it was when the key became current.
        if (FShownKey.empty()) return;
        const int j = TransIndex(FShownKey);
        if (j >= 0 && FHasCurLine) FTransList->Put(j, FCurLine);
        if (FShownFuzzy) SetFuzzy(FShownKey, true);
        EdtTranslation->SetTextW(ToUtf16(FShownPage, FCurText));
        UpdatePreview();  // a memo set by its window text does not notify on Windows
        return;
      }
      case VK_NEXT: MoveCurrent(true); return;
      case VK_PRIOR: MoveCurrent(false); return;
      case VK_F5: BtnPreviewClick(this); return;
      default:
        if (GroupReadingOrder->ItemIndex() == 0 && FCodePage != 1255 && FCodePage != 1256) {
          EdtTranslation->SetSelStart(0);
          EdtTranslation->SetSelLength(0);
        }
        return;
    }
  });
}

void TDlgEditor::PropListKeyDown(TObject*, WORD& Key, TShiftState) {
  if (Key == VK_INSERT) BtnNewClick(this);
  else if (Key == VK_DELETE) BtnRemoveClick(this);
  else if (Key == VK_F5) BtnPreviewClick(this);
}

void TDlgEditor::BtnNewClick(TObject*) {
  Guarded([this] {
    StorePendingEdit();
    std::string name;
    if (!EditorDialogs().InputQuery("Add a property", "Please enter the property name", name)) return;
    if (!ValidKey(name) || FListed.count(Fold(name))) return;
    RemoveSelection();
    FTransList->SortInsert(name + InitialValuePart(name), nullptr);
    if (FAvail.erase(Fold(name))) {
      // The key is translated now, so it is no longer available.
      TListBatch avail(*ListAvail);
      for (int i; (i = IndexOfFolded(*ListAvail, name)) >= 0;) ListAvail->Items()->Delete(i);
    }
    const int index = PropList->Items()->Add(name);
    ++FListed[Fold(name)];
    PropList->SetItemIndex(index);
    PropList->SetSelected(index, true);
    PropListClick(this);
    SetModified();
    ListAvailClick(this);
  });
}

void TDlgEditor::BtnAcceptClick(TObject*) {
  Guarded([this] {
    StorePendingEdit();
    SetFuzzy(FShownKey, false);
  });
}

void TDlgEditor::MakeAcceptButton() {
  // Below the translation box at its right edge, where the page has room.
  BtnAccept = new TButton(this);
  BtnAccept->SetName("BtnAccept");
  BtnAccept->SetParent(EdtTranslation->Parent());
  BtnAccept->SetBounds(EdtTranslation->Left() + EdtTranslation->Width() - BtnRemove->Width(),
                       EdtTranslation->Top() + EdtTranslation->Height() + 5, BtnRemove->Width(), BtnRemove->Height());
  BtnAccept->SetCaption("&Accept");
  BtnAccept->SetHint("Take the translation as it stands: the property is no longer fuzzy");
  BtnAccept->SetShowHint(true);
  BtnAccept->SetEnabled(false);
  BtnAccept->SetOnClick(TNotifyEvent([this](TObject* Sender) { BtnAcceptClick(Sender); }));
}

void TDlgEditor::BtnRemoveClick(TObject*) {
  Guarded([this] {
    StorePendingEdit();
    const std::vector<int> selected = SelectedItems(*PropList);
    if (selected.empty()) return;
    if (EditorDialogs().MessageDlg("Do you want to remove the selected property ?", mtWarning, mbYes | mbNo, 0) != mrYes)
      return;
    {
      TListBatch props(*PropList);
      TListBatch avail(*ListAvail);
      for (auto it = selected.rbegin(); it != selected.rend(); ++it) {
        const std::string key = KeyAt(*it);
        std::string folded = Fold(key);
        FFuzzy.erase(key);  // gone from the list: a key included again is not fuzzy
        if (OrgIndex(key) != -1 && !FAvail.count(folded)) {
          ListAvail->Items()->Add(key);
          FAvail.insert(folded);
        }
        const int j = Vek::FindEntry(*FTransList, key);
        if (j >= 0) FTransList->Delete(j);
        PropList->Items()->Delete(*it);
        if (auto listed = FListed.find(folded); listed != FListed.end() && --listed->second == 0) FListed.erase(listed);
      }
    }
    PropListClick(this);
    SetModified();
    ListAvailClick(this);
  });
}

}  // namespace VekEdit
