// The class library: objects with class references, components, lists, string lists, streams.
#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <unordered_map>
#include <utility>
#include <vector>

#include "vcl/SysUtils.hpp"

namespace vcl {

class TObject;
class TComponent;
class TFiler;
class TMetaClass;
class TPropInfo;
template <class T>
class TPublisher;
struct TStreamedInfo;

/// A class reference: a pointer to the class's meta object. Compare with ==.
using TClass = TMetaClass*;

/// A code address held in a class's table of replaceable entries.
using TCodePointer = void (*)();

/// The meta object of one class: its name, its parent, how to construct it by name, and its
/// table of replaceable virtual entries. Each class has its own table, made when the class is
/// first used from the parent's entries as the parent's class set them up, so replacing an
/// entry changes exactly this class (also for descendants first used afterwards).
class TMetaClass {
public:
  using TConstructor = TComponent* (*)(TComponent* AOwner);
  using TSetup = void (*)(TMetaClass& Class);

  /// Declares a class. Setup, when given, adds or overrides entries of the new table.
  TMetaClass(const char* AName, TClass AParent, TConstructor ACreate = nullptr, TSetup Setup = nullptr);
  TMetaClass(const TMetaClass&) = delete;
  TMetaClass& operator=(const TMetaClass&) = delete;
  ~TMetaClass();

  /// The class reference of T, with a constructor when T is a component constructible from an owner.
  template <class T>
  static TConstructor ConstructorOf() {
    if constexpr (std::is_base_of_v<TComponent, T> && !std::is_abstract_v<T> &&
                  std::is_constructible_v<T, TComponent*>)
      return [](TComponent* AOwner) -> TComponent* { return new T(AOwner); };
    else
      return nullptr;
  }

  const std::string& ClassName() const { return FName; }
  TClass ClassParent() const { return FParent; }
  /// True when this class is AClass or descends from it; false for nullptr.
  bool InheritsFrom(const TMetaClass* AClass) const;

  /// A new component of this class owned by AOwner; nullptr when the class cannot be
  /// constructed by name (not a component, or abstract).
  TComponent* Create(TComponent* AOwner) const { return FCreate ? FCreate(AOwner) : nullptr; }
  bool CanCreate() const { return FCreate != nullptr; }

  /// Appends a new entry and returns its slot; descendants inherit it at the same slot.
  int AddEntry(TCodePointer Code);
  int EntryCount() const { return static_cast<int>(FEntries.size()); }
  /// The entry at Slot. Raises EListError for a slot outside the table.
  TCodePointer Entry(int Slot) const;
  /// Replaces the entry at Slot of this class only. Raises EListError outside the table.
  void SetEntry(int Slot, TCodePointer Code);
  /// The table as raw bytes, for code that locates an entry by its address.
  std::uint8_t* EntryTable() { return reinterpret_cast<std::uint8_t*>(FEntries.data()); }
  std::size_t EntryTableSize() const { return FEntries.size() * sizeof(TCodePointer); }

  /// Starts the published-property declarations of class T, made in its setup; see TPublisher.
  template <class T>
  TPublisher<T> Publish();
  /// Adds a published property after those declared so far. One with the name of an inherited
  /// property takes that property's place in the list.
  TPropInfo& AddProperty(std::unique_ptr<TPropInfo> Info);
  /// Every published property: the ancestors' first, each class's in declaration order.
  std::vector<const TPropInfo*> Properties() const;
  /// The published property of that name (exact, case-sensitive) of this class or an ancestor,
  /// or nullptr.
  const TPropInfo* FindProperty(std::string_view Name) const;

private:
  std::string FName;
  TClass FParent;
  TConstructor FCreate;
  std::vector<TCodePointer> FEntries;
  std::vector<TCodePointer> FDeclaredEntries;  // as set up, before any SetEntry from outside
  std::vector<std::unique_ptr<TPropInfo>> FProperties;
};

/// Declares the class-reference members of a class of the library: StaticClass() and the
/// ClassType() override. Pair with VCL_IMPLEMENT_CLASS in the source file.
#define VCL_DECLARE_CLASS                   \
public:                                     \
  static ::vcl::TClass StaticClass();       \
  ::vcl::TClass ClassType() const override { return StaticClass(); }

/// Defines StaticClass() of T with parent class P; an optional third argument is a
/// TMetaClass::TSetup that adds or overrides table entries. The meta object is never freed:
/// exit procedures that run after static destruction still put entries back into it.
#ifdef LUMETRA_PACKAGE
// In a package the meta objects go with the module: once its units are finalized nothing
// outside it refers to them, and a host may load and unload it any number of times.
#define VCL_IMPLEMENT_CLASS(T, P, ...)                                                           \
  ::vcl::TClass T::StaticClass() {                                                               \
    static ::vcl::TMetaClass meta(#T, P::StaticClass(),                                          \
                                  ::vcl::TMetaClass::ConstructorOf<T>() __VA_OPT__(, ) __VA_ARGS__); \
    return &meta;                                                                                \
  }
#else
#define VCL_IMPLEMENT_CLASS(T, P, ...)                                                           \
  ::vcl::TClass T::StaticClass() {                                                               \
    static ::vcl::TMetaClass* const meta = new ::vcl::TMetaClass(                                \
        #T, P::StaticClass(), ::vcl::TMetaClass::ConstructorOf<T>() __VA_OPT__(, ) __VA_ARGS__); \
    return meta;                                                                                 \
  }
#endif

/// Root of every class of the library: knows its class at run time.
class TObject {
public:
  TObject() = default;
  TObject(const TObject&) = delete;
  TObject& operator=(const TObject&) = delete;
  virtual ~TObject() = default;

  static TClass StaticClass();
  virtual TClass ClassType() const { return StaticClass(); }
  const std::string& ClassName() const { return ClassType()->ClassName(); }
  bool InheritsFrom(TClass AClass) const { return ClassType()->InheritsFrom(AClass); }
  /// The "is" test: this object's class is T or descends from it.
  template <class T>
  bool Is() const {
    return InheritsFrom(T::StaticClass());
  }
};

/// Adds a class to the registry that form streaming uses to construct components by name.
void RegisterClass(TClass AClass);
/// Takes a class out of the registry (a module that registered its classes and is unloaded).
void UnRegisterClass(TClass AClass);
/// The registered class of that name (exact, case-sensitive), or nullptr.
TClass GetClass(std::string_view ClassName);
/// As GetClass, but raises EReadError "Class <name> not found" when it is not registered.
TClass FindClass(std::string_view ClassName);

/// An object that can copy itself from another and take part in form streaming.
class TPersistent : public TObject {
  VCL_DECLARE_CLASS
public:
  /// Copies Source into this object. The base raises EConvertError "Cannot assign a <class>
  /// to a <class>".
  virtual void Assign(const TPersistent* Source);
  /// Declares the properties that are streamed by code rather than by name.
  virtual void DefineProperties(TFiler* Filer);
};

/// Component state flags, a set held in an unsigned value.
enum TComponentStateFlag : unsigned {
  csLoading = 1u << 0,
  csReading = 1u << 1,
  csWriting = 1u << 2,
  csDestroying = 1u << 3,
  csDesigning = 1u << 4,
  csAncestor = 1u << 5,
  csInline = 1u << 6,
};
using TComponentState = unsigned;

/// A component: named, owned by another component, owning the components it holds and freeing
/// them when it is freed.
class TComponent : public TPersistent {
  VCL_DECLARE_CLASS
public:
  explicit TComponent(TComponent* AOwner);
  /// Frees the owned components, last first, and leaves the owner's list.
  ~TComponent() override;

  const std::string& Name() const { return FName; }
  /// Renames the component; its owner finds it by the new name from then on. Never fails.
  void SetName(std::string AName);
  TComponent* Owner() const { return FOwner; }

  int ComponentCount() const { return static_cast<int>(FComponents.size()); }
  /// The owned component at Index. Raises EListError outside 0 .. ComponentCount - 1.
  TComponent* Components(int Index) const;
  /// This component's index in its owner's list, or -1 without an owner.
  int ComponentIndex() const;
  /// The owned component with that name (exact, case-sensitive), the first in the list when
  /// several have it, or nullptr. Takes constant time: the owner keeps an index of the names.
  TComponent* FindComponent(std::string_view AName) const;
  /// Makes this component own AComponent (removing it from its previous owner).
  void InsertComponent(TComponent* AComponent);
  /// Releases AComponent without freeing it.
  void RemoveComponent(TComponent* AComponent);

  TComponentState ComponentState() const { return FComponentState; }
  /// Turns design mode on or off for this component and every component it owns.
  void SetDesigning(bool Value);
  /// Marks the component as being read from a form stream; Loaded ends it.
  void Loading() { FComponentState |= csLoading; }
  /// Called once all properties of the owning form have been read.
  virtual void Loaded();

  /// What the form stream this component was read from held beyond what its class reads back;
  /// nullptr for a component that was not read from a form.
  TStreamedInfo* StreamedInfo() const { return FStreamedInfo.get(); }
  void SetStreamedInfo(std::unique_ptr<TStreamedInfo> Info);

private:
  // Puts AComponent into, or takes it out of, the index of owned components by name.
  void IndexName(TComponent* AComponent);
  void UnindexName(TComponent* AComponent);

  std::string FName;
  TComponent* FOwner = nullptr;
  std::vector<TComponent*> FComponents;
  // The owned components by name, each name's in list order. The order is told by when each
  // was inserted (FInserted), which is also their order in FComponents.
  struct TNameHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view S) const noexcept { return std::hash<std::string_view>{}(S); }
  };
  std::unordered_map<std::string, std::vector<TComponent*>, TNameHash, std::equal_to<>> FNames;
  std::uint64_t FInsertions = 0;
  std::uint64_t FInserted = 0;
  TComponentState FComponentState = 0;
  std::unique_ptr<TStreamedInfo> FStreamedInfo;
};

/// A list of untyped references, as the class library's TList.
class TList : public TObject {
  VCL_DECLARE_CLASS
public:
  int Count() const { return static_cast<int>(FItems.size()); }
  /// Appends Item and returns its index.
  int Add(void* Item);
  /// Raises EListError when Index is not 0 .. Count.
  void Insert(int Index, void* Item);
  /// Raises EListError outside 0 .. Count - 1.
  void Delete(int Index);
  /// Removes the first occurrence of Item and returns its former index, or -1.
  int Remove(void* Item);
  void Clear() { FItems.clear(); }
  /// Removes every nil reference.
  void Pack();
  int IndexOf(const void* Item) const;
  /// Raises EListError outside 0 .. Count - 1.
  void* Get(int Index) const;
  void Put(int Index, void* Item);
  void* operator[](int Index) const { return Get(Index); }

private:
  void Check(int Index, int Limit) const;
  std::vector<void*> FItems;
};

/// The lines of Text, split as TStrings::SetText splits them (CR LF, a lone CR or a lone LF
/// ends a line; no line after a final line end), as views into Text.
std::vector<std::string_view> SplitLines(std::string_view Text);
inline std::vector<std::string_view> SplitLines(const char* Text) { return SplitLines(std::string_view(Text)); }
std::vector<std::string_view> SplitLines(std::string&& Text) = delete;
/// The lines of Text one at a time, as SplitLines splits them, for files of millions of lines
/// that need no vector of them.
class TLineReader {
public:
  explicit TLineReader(std::string_view Text) : FNext(Text.data()), FEnd(Text.data() + Text.size()) {}
  /// The next line, as a view into Text; false when there is none.
  bool Next(std::string_view& Line);

private:
  const char* FNext;
  const char* FEnd;
};
/// The lines of Text as a control draws them: split as SplitLines splits them, but every line end
/// starts a line, so an empty text is one empty line and a final line end is followed by one.
std::vector<std::string_view> DrawnLines(std::string_view Text);
std::vector<std::string_view> DrawnLines(std::string&& Text) = delete;

/// Abstract list of text lines with one object reference per line.
class TStrings : public TPersistent {
  VCL_DECLARE_CLASS
public:
  virtual int Count() const = 0;
  /// The line at Index. Raises EListError "List index out of bounds (<n>)" outside the list.
  virtual const std::string& Get(int Index) const = 0;
  virtual void Put(int Index, std::string S) = 0;
  virtual TObject* GetObject(int Index) const = 0;
  virtual void PutObject(int Index, TObject* AObject) = 0;
  /// Inserts at Index (0 .. Count). Raises EListError outside.
  virtual void InsertObject(int Index, std::string S, TObject* AObject) = 0;
  virtual void Delete(int Index) = 0;
  virtual void Clear() = 0;

  const std::string& Strings(int Index) const { return Get(Index); }
  TObject* Objects(int Index) const { return GetObject(Index); }
  /// Appends S and returns its index.
  int Add(std::string S) { return AddObject(std::move(S), nullptr); }
  /// Appends S with AObject and returns its index (a sorted list puts it in its place).
  virtual int AddObject(std::string S, TObject* AObject);
  void Insert(int Index, std::string S) { InsertObject(Index, std::move(S), nullptr); }
  /// Appends every line and object of Source.
  void AddStrings(const TStrings& Source);
  /// The index of the first line equal to S (exact, case-sensitive), or -1.
  int IndexOf(std::string_view S) const;

  /// All lines, each followed by CR LF.
  std::string Text() const;
  /// Replaces the lines by those of Value, split at CR LF, a lone CR or a lone LF.
  void SetText(std::string_view Value);
  /// Replaces the lines by those of the file, split as SetText. Raises EFOpenError naming the
  /// file when it cannot be read.
  void LoadFromFile(const std::string& FileName);
  /// Writes every line followed by CR LF, replacing the file whole (ReplaceFile). Raises
  /// EFCreateError naming the file when it cannot be written; an old file then stays as it was.
  void SaveToFile(const std::string& FileName) const;

  /// Copies the lines and objects of another TStrings; other sources go to TPersistent.
  void Assign(const TPersistent* Source) override;

  /// Starts a batch of changes: a view of the list (a list box, a memo) updates once, at the
  /// EndUpdate that matches the first BeginUpdate.
  void BeginUpdate() {
    if (FUpdateCount++ == 0) SetUpdateState(true);
  }
  void EndUpdate() {
    if (FUpdateCount > 0 && --FUpdateCount == 0) SetUpdateState(false);
  }
  int UpdateCount() const { return FUpdateCount; }

protected:
  /// Called when a batch of changes starts (true) and when it ends (false).
  virtual void SetUpdateState(bool Updating) { (void)Updating; }

private:
  int FUpdateCount = 0;
};

/// The concrete string list: lines and objects held in order, appended as given. Lines are
/// kept in blocks, so inserting or deleting in the middle of a list of a million lines costs
/// about a thousand moves rather than a million, and reading by index stays logarithmic.
class TStringList : public TStrings {
  VCL_DECLARE_CLASS
public:
  TStringList() = default;

  int Count() const override { return FCount; }
  const std::string& Get(int Index) const override;
  void Put(int Index, std::string S) override;
  TObject* GetObject(int Index) const override;
  void PutObject(int Index, TObject* AObject) override;
  void InsertObject(int Index, std::string S, TObject* AObject) override;
  void Delete(int Index) override;
  void Clear() override;
  /// Kept for callers that know the final size; blocks make it unnecessary.
  void Reserve(int) {}
  /// Grows with every change of the lines (not of their objects), so that derived data can
  /// tell whether it is still up to date.
  std::uint64_t ChangeCount() const { return FChangeCount; }

private:
  struct TItem {
    std::string S;
    TObject* O = nullptr;
  };
  using TBlock = std::vector<TItem>;
  TItem& At(int Index, int Limit);
  const TItem& At(int Index) const;
  // The block holding Index (0 .. Count - 1, or Count for appending) and the offset in it.
  std::pair<std::size_t, std::size_t> Locate(int Index) const;
  void Renumber(std::size_t FromBlock);

  std::vector<TBlock> FBlocks;
  std::vector<int> FStarts;  // index of each block's first line
  mutable std::size_t FLastBlock = 0;  // where Locate found the last line: lines are mostly read in order
  int FCount = 0;
  std::uint64_t FChangeCount = 0;
};

/// Origin of a stream seek.
enum class TSeekOrigin : std::uint8_t { soBeginning = 0, soCurrent = 1, soEnd = 2 };

/// A sequence of bytes that can be read, written and positioned.
class TStream : public TObject {
  VCL_DECLARE_CLASS
public:
  /// Reads up to Count bytes into Buffer; returns how many were read.
  virtual std::int64_t Read(void* Buffer, std::int64_t Count) = 0;
  /// Writes Count bytes; returns how many were written.
  virtual std::int64_t Write(const void* Buffer, std::int64_t Count) = 0;
  /// Moves the position; returns the new position.
  virtual std::int64_t Seek(std::int64_t Offset, TSeekOrigin Origin) = 0;

  std::int64_t Position() { return Seek(0, TSeekOrigin::soCurrent); }
  void SetPosition(std::int64_t Pos) { Seek(Pos, TSeekOrigin::soBeginning); }
  std::int64_t Size();
  /// Reads exactly Count bytes. Raises EReadError "Stream read error" when fewer are left.
  void ReadBuffer(void* Buffer, std::int64_t Count);
  /// Writes exactly Count bytes. Raises EWriteError "Stream write error" otherwise.
  void WriteBuffer(const void* Buffer, std::int64_t Count);
};

/// A stream held in memory.
class TMemoryStream : public TStream {
  VCL_DECLARE_CLASS
public:
  std::int64_t Read(void* Buffer, std::int64_t Count) override;
  std::int64_t Write(const void* Buffer, std::int64_t Count) override;
  std::int64_t Seek(std::int64_t Offset, TSeekOrigin Origin) override;

  const std::vector<std::uint8_t>& Bytes() const { return FData; }
  std::vector<std::uint8_t>& Bytes() { return FData; }
  void Clear();
  /// Replaces the content with the file's bytes. Raises EFOpenError naming the file.
  void LoadFromFile(const std::string& FileName);
  /// Replaces the file whole (ReplaceFile). Raises EFCreateError naming the file.
  void SaveToFile(const std::string& FileName) const;

private:
  std::vector<std::uint8_t> FData;
  std::size_t FPosition = 0;
};

/// File open modes of TFileStream.
enum TFileMode : std::uint16_t { fmOpenRead = 0x0000, fmOpenWrite = 0x0001, fmOpenReadWrite = 0x0002, fmCreate = 0xFF00 };

/// A stream on a file.
class TFileStream : public TStream {
  VCL_DECLARE_CLASS
public:
  /// Opens or creates the file. Raises EFOpenError or EFCreateError naming it, with the reason.
  TFileStream(const std::string& FileName, TFileMode Mode);
  ~TFileStream() override;

  std::int64_t Read(void* Buffer, std::int64_t Count) override;
  std::int64_t Write(const void* Buffer, std::int64_t Count) override;
  std::int64_t Seek(std::int64_t Offset, TSeekOrigin Origin) override;
  const std::string& FileName() const { return FFileName; }

private:
  std::string FFileName;
  std::FILE* FFile = nullptr;
};

/// The whole content of a file: while a TReplaceBatch is active, the content prepared for it
/// there, if any. Raises EFOpenError naming the file, with the reason.
std::string ReadFileBytes(const std::string& FileName);
/// As ReadFileBytes, or nothing when there is no such regular file (and none is prepared in the
/// active batch). Raises EFOpenError naming the file, with the reason.
std::optional<std::string> ReadFileIfExists(const std::string& FileName);

/// Replaces the file by Bytes, whole or not at all: writes a new file beside it, flushes it to
/// the disk and renames it over the old one, holding the file's TFileLock meanwhile. The new
/// file keeps the old one's mode (and owner, where the process may set it); a symbolic link
/// stays and the file it leads to gets the content. While a TReplaceBatch is active the rename
/// waits for its Commit. Raises EFCreateError naming the file, with the reason of the step that
/// failed, and then leaves an existing file as it was: also when it is read-only, a folder, a
/// FIFO or a device, or has several hard links (a new file would part them), and when the name
/// of its temporary is taken already.
void ReplaceFile(const std::string& FileName, std::string_view Bytes);
/// Replaces FileName as ReplaceFile does, with Pieces one after the other: a file made mostly of
/// the runs of another is written from them, not first joined in memory. Raises as ReplaceFile.
void ReplaceFile(const std::string& FileName, std::span<const std::string_view> Pieces);

/// Replacements that take effect together, so that a task that rewrites several files changes
/// all of them or none. While a batch lives, ReplaceFile checks the file, takes its lock and
/// writes the temporary, but renames nothing; Commit renames them all. Until then each file's
/// lock is held, and ReadFileBytes gives the content prepared for it. A batch made while one is
/// active joins it: its Commit leaves the renames to the outer one, and ending without Commit
/// drops what was prepared since it began. One thread at a time.
class TReplaceBatch {
public:
  TReplaceBatch();
  /// Without Commit: removes the temporaries prepared since the batch began and lets their locks
  /// go; no file changes. Never fails.
  ~TReplaceBatch();
  TReplaceBatch(const TReplaceBatch&) = delete;
  TReplaceBatch& operator=(const TReplaceBatch&) = delete;

  /// Renames every temporary over its file (a file prepared twice gets the later content),
  /// tells FileNotifications of each, and lets the locks go. Raises EFCreateError naming the
  /// file whose rename failed; the files before it are replaced then, the others left as they
  /// were. A batch that joined another only marks its part as kept.
  void Commit();

private:
  std::size_t FStart;  // the replacements prepared before this batch began
  bool FCommitted = false;
};

/// An exclusive lock on a file for the lifetime of the object, held against other processes that
/// lock the same file (through any symbolic link to it): they wait, and are told of it through
/// FileNotifications once they have waited a while. Hold it over a whole read-change-write so
/// that two writers cannot lose each other's update. Within one process the locks of one file
/// nest (ReplaceFile takes it too); one thread at a time. The lock is a companion file beside
/// the file, opened without following a link. Raises EFCreateError naming the file when its
/// lock cannot be taken, and naming the companion too when that is a link, no regular file,
/// has several hard links or belongs to another user.
class TFileLock {
public:
  explicit TFileLock(const std::string& FileName);
  ~TFileLock();
  TFileLock(const TFileLock&) = delete;
  TFileLock& operator=(const TFileLock&) = delete;

private:
  std::string FLockName;
};

/// What the file functions tell the program while they work; the class library prints nothing
/// itself. Each call is made when set; the default is silent.
struct TFileNotifications {
  /// The lock of FileName (the companion LockName) is held by another process and has been
  /// waited for LockWaitNotice milliseconds; called once per wait, which goes on.
  std::function<void(const std::string& FileName, const std::string& LockName)> OnLockWait;
  /// The words in which a program tells of such a wait.
  static std::string LockWaitText(const std::string& FileName, const std::string& LockName);
  /// FileName (as ReplaceFile was given it) now holds its new content.
  std::function<void(const std::string& FileName)> OnReplaced;
  int LockWaitNotice = 3000;
};
/// The notifications of the process.
extern TFileNotifications FileNotifications;

// ---- Published properties --------------------------------------------------------------------

/// One identifier of an integer value, as a form stream may write the value (clBlack for 0).
struct TIdentMapEntry {
  int Value;
  const char* Name;
};
/// The identifiers of some values of an integer type.
using TIdentMap = std::span<const TIdentMapEntry>;
/// Sets Int to the value of Ident in Map (exact, case-sensitive); false, Int unchanged, when
/// Map has no such identifier.
bool IdentToInt(std::string_view Ident, int& Int, TIdentMap Map);
/// Sets Ident to the identifier of Int in Map (the first, should several name it); false,
/// Ident unchanged, when the value has none.
bool IntToIdent(std::int64_t Int, std::string& Ident, TIdentMap Map);

/// What a published property holds, and so how a form stream writes it.
enum class TPropKind : std::uint8_t {
  pkInteger = 0,      // an integral value: vaInt8 .. vaInt64 in the smallest width
  pkBoolean = 1,      // vaFalse / vaTrue
  pkEnumeration = 2,  // an identifier naming the value (vaIdent)
  pkSet = 3,          // the identifiers of the elements held (vaSet)
  pkString = 4,       // vaString, or vaLString beyond 255 bytes
  pkStrings = 5,      // a TStrings object, written as the list "<Name>.Strings"
  pkMethod = 6,       // an event, written as the method's name (vaIdent)
};

/// One published property of a class: its name, kind, access, default and stored rule. Made by
/// TPublisher in the class's setup; form streaming reads and writes components through these.
class TPropInfo {
public:
  TPropInfo(TClass AOwner, std::string AName, TPropKind AKind)
      : FOwner(AOwner), FName(std::move(AName)), FKind(AKind) {}

  const std::string& Name() const { return FName; }
  TPropKind Kind() const { return FKind; }
  /// The class that declared the property.
  TClass Owner() const { return FOwner; }
  /// The identifiers of an enumeration's values or of a set's elements, by ordinal.
  const std::vector<std::string>& Identifiers() const { return FIdentifiers; }
  /// The identifiers of some values of an integer property (empty for none): a form stream
  /// holds such a value as its identifier, and a reader takes the identifier or the number.
  TIdentMap IntegerIdents() const { return FIntegerIdents; }
  /// The ordinal of Ident among Identifiers (exact, case-sensitive), or -1.
  int IdentifierIndex(std::string_view Ident) const;
  bool HasDefault() const { return FHasDefault; }
  std::int64_t Default() const { return FDefault; }
  /// The default of a string property: empty unless declared.
  const std::string& DefaultText() const { return FDefaultText; }

  /// The stored rule (Stored): whether the property of Instance is written at all.
  bool IsStored(const TPersistent* Instance) const;
  /// Whether the value is the default, which a writer leaves out: the declared default of an
  /// ordinal (an ordinal without one has none), the declared text of a string (else the empty
  /// one), a list without lines, an event that names no method. A form stream holds the property when IsStored and not IsDefault.
  bool IsDefault(const TPersistent* Instance) const;

  /// The ordinal value of an integer, boolean, enumeration or set property.
  std::int64_t GetOrd(const TPersistent* Instance) const;
  /// Sets it through the property's setter. A value the property's type cannot hold raises
  /// EConvertError naming the property and the value.
  void SetOrd(TPersistent* Instance, std::int64_t Value) const;
  /// The text of a string property, or the method name of an event ("" when none).
  std::string GetStr(const TPersistent* Instance) const;
  /// Sets a text, or an event to the named method (none for "").
  void SetStr(TPersistent* Instance, std::string Value) const;
  /// The list object of a TStrings property.
  TStrings* GetStrings(const TPersistent* Instance) const;
  /// Assigns Value through the property's setter; EConvertError when it has none.
  void SetStrings(TPersistent* Instance, TStrings* Value) const;
  // Each accessor raises EConvertError for a property of another kind, or an Instance that is
  // not of the declaring class.

private:
  template <class>
  friend class TPublisher;
  void Check(const TPersistent* Instance, bool KindFits) const;

  TClass FOwner;
  std::string FName;
  TPropKind FKind;
  std::vector<std::string> FIdentifiers;
  TIdentMap FIntegerIdents;
  bool FHasDefault = false;
  std::int64_t FDefault = 0;
  std::string FDefaultText;
  bool FStored = true;
  std::function<bool(const TPersistent*)> FStoredIf;
  std::function<std::int64_t(const TPersistent*)> FGetOrd;
  std::function<bool(TPersistent*, std::int64_t)> FSetOrd;  // false: out of range
  std::function<std::string(const TPersistent*)> FGetStr;
  std::function<void(TPersistent*, std::string)> FSetStr;
  std::function<TStrings*(const TPersistent*)> FGetStrings;
  std::function<void(TPersistent*, TStrings*)> FSetStrings;
};

/// Declares the published properties of class T in its setup, in the order a form stream
/// writes them, as a Pascal class declares them:
///
///   VCL_IMPLEMENT_CLASS(TPanel, vcl::TComponent, [](vcl::TMetaClass& c) {
///     c.Publish<TPanel>()
///         .String("Caption", &TPanel::Caption, &TPanel::SetCaption)
///         .Integer("Tag", &TPanel::Tag, &TPanel::SetTag).Default(0)
///         .Integer("Color", &TPanel::Color, &TPanel::SetColor).Idents(ColorIdents()).Default(clBtnFace)
///         .Boolean("Visible", &TPanel::Visible, &TPanel::SetVisible).Default(true)
///         .Enumeration("Align", &TPanel::Align, &TPanel::SetAlign, {"alNone", "alTop"}).Default(alNone)
///         .Set("Anchors", &TPanel::Anchors, &TPanel::SetAnchors, {"akLeft", "akTop"})
///         .Strings("Lines", &TPanel::Lines, &TPanel::SetLines).Stored(&TPanel::StoreLines)
///         .String("Hint", &TPanel::Hint, &TPanel::SetHint).Stored(false)
///         .Event("OnClick", &TPanel::OnClick, &TPanel::SetOnClick);
///   })
///
/// The setup runs inside the class, so private getters, setters and predicates may be named.
/// Getters are const member functions; setters take the getter's value type. Without Default
/// an ordinal is always written; strings, lists and events are written when not empty; Stored
/// (false, or a const predicate of T) decides first. An event's type has MethodName() and is
/// constructible from the method's name.
template <class T>
class TPublisher {
public:
  explicit TPublisher(TMetaClass& AClass) : FClass(AClass) {}

  /// An integer of any integral type but bool.
  template <class G, class S>
  TPublisher& Integer(std::string Name, G Getter, S Setter) {
    using V = ValueOf<G>;
    static_assert(std::is_integral_v<V> && !std::is_same_v<V, bool>, "Integer needs an integral getter");
    TPropInfo& p = Add(std::move(Name), TPropKind::pkInteger);
    p.FGetOrd = [Getter](const TPersistent* I) { return static_cast<std::int64_t>(Get(Getter, I)); };
    p.FSetOrd = [Setter](TPersistent* I, std::int64_t Value) {
      if (!std::in_range<V>(Value)) return false;
      std::invoke(Setter, static_cast<T*>(I), static_cast<V>(Value));
      return true;
    };
    return *this;
  }

  template <class G, class S>
  TPublisher& Boolean(std::string Name, G Getter, S Setter) {
    static_assert(std::is_same_v<ValueOf<G>, bool>, "Boolean needs a bool getter");
    TPropInfo& p = Add(std::move(Name), TPropKind::pkBoolean);
    p.FGetOrd = [Getter](const TPersistent* I) -> std::int64_t { return Get(Getter, I) ? 1 : 0; };
    p.FSetOrd = [Setter](TPersistent* I, std::int64_t Value) {
      if (Value != 0 && Value != 1) return false;
      std::invoke(Setter, static_cast<T*>(I), Value == 1);
      return true;
    };
    return *this;
  }

  /// An enumeration (enum or integral type) whose ordinals 0, 1, ... Identifiers name.
  template <class G, class S>
  TPublisher& Enumeration(std::string Name, G Getter, S Setter, std::vector<std::string> Identifiers) {
    using V = ValueOf<G>;
    TPropInfo& p = Add(std::move(Name), TPropKind::pkEnumeration);
    const auto count = static_cast<std::int64_t>(Identifiers.size());
    p.FIdentifiers = std::move(Identifiers);
    p.FGetOrd = [Getter](const TPersistent* I) { return static_cast<std::int64_t>(Get(Getter, I)); };
    p.FSetOrd = [Setter, count](TPersistent* I, std::int64_t Value) {
      if (Value < 0 || Value >= count) return false;
      std::invoke(Setter, static_cast<T*>(I), static_cast<V>(Value));
      return true;
    };
    return *this;
  }

  /// A set held in an unsigned integer: bit n is the element Identifiers[n].
  template <class G, class S>
  TPublisher& Set(std::string Name, G Getter, S Setter, std::vector<std::string> Identifiers) {
    using V = ValueOf<G>;
    static_assert(std::is_unsigned_v<V> && !std::is_same_v<V, bool>, "Set needs an unsigned getter");
    TPropInfo& p = Add(std::move(Name), TPropKind::pkSet);
    const std::size_t count = Identifiers.size();
    if (count > sizeof(V) * 8) throw EConvertError("Set " + p.Name() + " has more elements than bits");
    p.FIdentifiers = std::move(Identifiers);
    p.FGetOrd = [Getter](const TPersistent* I) { return static_cast<std::int64_t>(Get(Getter, I)); };
    p.FSetOrd = [Setter, count](TPersistent* I, std::int64_t Value) {
      const auto bits = static_cast<std::uint64_t>(Value);
      if (count < 64 && (bits >> count) != 0) return false;
      std::invoke(Setter, static_cast<T*>(I), static_cast<V>(bits));
      return true;
    };
    return *this;
  }

  template <class G, class S>
  TPublisher& String(std::string Name, G Getter, S Setter) {
    static_assert(std::is_same_v<ValueOf<G>, std::string>, "String needs a std::string getter");
    TPropInfo& p = Add(std::move(Name), TPropKind::pkString);
    p.FGetStr = [Getter](const TPersistent* I) { return std::string(Get(Getter, I)); };
    p.FSetStr = [Setter](TPersistent* I, std::string Value) { std::invoke(Setter, static_cast<T*>(I), std::move(Value)); };
    return *this;
  }

  /// A TStrings property: the getter gives the list object, which a form is read into in place;
  /// the setter, when given, is what assigning the property calls.
  template <class G>
  TPublisher& Strings(std::string Name, G Getter) {
    static_assert(std::is_convertible_v<ValueOf<G>, TStrings*>, "Strings needs a getter of a TStrings pointer");
    TPropInfo& p = Add(std::move(Name), TPropKind::pkStrings);
    p.FGetStrings = [Getter](const TPersistent* I) -> TStrings* { return Get(Getter, I); };
    return *this;
  }
  template <class G, class S>
  TPublisher& Strings(std::string Name, G Getter, S Setter) {
    Strings(std::move(Name), Getter);
    FLast->FSetStrings = [Setter](TPersistent* I, TStrings* Value) { std::invoke(Setter, static_cast<T*>(I), Value); };
    return *this;
  }

  /// An event: the getter's type has MethodName(); the setter takes one made from a name.
  template <class G, class S>
  TPublisher& Event(std::string Name, G Getter, S Setter) {
    using V = ValueOf<G>;
    TPropInfo& p = Add(std::move(Name), TPropKind::pkMethod);
    p.FGetStr = [Getter](const TPersistent* I) { return std::string(Get(Getter, I).MethodName()); };
    p.FSetStr = [Setter](TPersistent* I, std::string Value) {
      std::invoke(Setter, static_cast<T*>(I), Value.empty() ? V() : V(std::move(Value)));
    };
    return *this;
  }

  /// The default of the ordinal property declared last: that value is not written.
  template <class V>
  TPublisher& Default(V Value) {
    if (!FLast || !IsOrdinal(FLast->FKind)) throw EConvertError("Default needs an ordinal property before it");
    FLast->FHasDefault = true;
    FLast->FDefault = static_cast<std::int64_t>(Value);
    return *this;
  }
  /// The default of the string property declared last, instead of the empty text.
  TPublisher& Default(const char* Value) {
    if (!FLast || FLast->FKind != TPropKind::pkString) throw EConvertError("A text default needs a string property before it");
    FLast->FDefaultText = Value;
    return *this;
  }
  /// The identifiers of values of the integer property declared last, which a form stream
  /// holds as identifiers (colours, character sets). Map must outlive the class.
  TPublisher& Idents(TIdentMap Map) {
    if (!FLast || FLast->FKind != TPropKind::pkInteger) throw EConvertError("Idents needs an integer property before it");
    FLast->FIntegerIdents = Map;
    return *this;
  }
  /// Whether the property declared last is written at all.
  TPublisher& Stored(bool Value) {
    Last().FStored = Value;
    return *this;
  }
  /// Writes the property declared last only while Predicate (a const member of T) holds.
  template <class P>
  TPublisher& Stored(P Predicate) {
    Last().FStoredIf = [Predicate](const TPersistent* I) { return static_cast<bool>(Get(Predicate, I)); };
    return *this;
  }

private:
  template <class G>
  using ValueOf = std::remove_cvref_t<std::invoke_result_t<G, const T*>>;
  template <class G>
  static decltype(auto) Get(G Getter, const TPersistent* Instance) {
    return std::invoke(Getter, static_cast<const T*>(Instance));
  }
  static bool IsOrdinal(TPropKind Kind) {
    return Kind == TPropKind::pkInteger || Kind == TPropKind::pkBoolean || Kind == TPropKind::pkEnumeration ||
           Kind == TPropKind::pkSet;
  }
  TPropInfo& Add(std::string Name, TPropKind Kind) {
    FLast = &FClass.AddProperty(std::make_unique<TPropInfo>(&FClass, std::move(Name), Kind));
    return *FLast;
  }
  TPropInfo& Last() {
    if (!FLast) throw EConvertError("Stored needs a property before it");
    return *FLast;
  }

  TMetaClass& FClass;
  TPropInfo* FLast = nullptr;
};

template <class T>
TPublisher<T> TMetaClass::Publish() {
  return TPublisher<T>(*this);
}

// ---- Form streams ----------------------------------------------------------------------------

class TReader;
class TWriter;
class TBinaryObjectReader;
class TBinaryObjectWriter;

/// The value types of a binary form stream, as the class library numbers them.
enum class TValueType : std::uint8_t {
  vaNull = 0,
  vaList = 1,
  vaInt8 = 2,
  vaInt16 = 3,
  vaInt32 = 4,
  vaExtended = 5,  // the 10-byte x87 extended
  vaString = 6,    // up to 255 bytes
  vaIdent = 7,
  vaFalse = 8,
  vaTrue = 9,
  vaBinary = 10,
  vaSet = 11,
  vaLString = 12,  // a string of more than 255 bytes
  vaNil = 13,
  vaCollection = 14,
  vaSingle = 15,
  vaCurrency = 16,  // a 64-bit integer in ten-thousandths
  vaDate = 17,      // a double
  vaWString = 18,   // UTF-16
  vaInt64 = 19,
  vaUTF8String = 20,
};

/// The flags of a component's prefix in a form stream.
enum TFilerFlag : std::uint8_t { ffInherited = 1, ffChildPos = 2, ffInline = 4 };
using TFilerFlags = std::uint8_t;

/// How deep components, lists and collections may nest in a form stream or its text.
inline constexpr int MaxFormNesting = 128;

/// The header that a form resource file (.dfm) puts before the form stream: FF 0A 00, the
/// resource name, the memory flags and the size of the data.
struct TResourceHeader {
  std::string Name;
  std::uint16_t Flags = 0x1030;
};

/// What a form stream held for one component, and what the component held once the whole form
/// was read: the class name and prefix it was written with, every property as the stream had
/// it, and the values of its class's properties then. Writing the component back puts every
/// property that nobody changed since back as it came, in its place, and adds none that the
/// stream did not hold, so that reading and writing loses nothing and changes nothing.
struct TStreamedInfo {
  struct TProperty {
    std::string Name;
    /// Whether the class reads the property.
    bool Known = false;
    /// The encoded value (value type and data) as the stream had it.
    std::string Value;
  };
  std::string ClassName;
  TFilerFlags Flags = 0;
  int ChildPos = 0;
  /// Every property of the stream, in stream order.
  std::vector<TProperty> Properties;
  /// Every published property of the class as a writer encodes it (name and value, one after
  /// the other) once the whole form was read, stored or not.
  std::string LoadedValues;
  /// The defined properties that had a value to write then (their writers are not run to know
  /// it, since writing may do more than encode).
  std::vector<std::string> LoadedDefined;
  /// The resource header the root component was read with, written back before it.
  std::optional<TResourceHeader> Resource;
};

/// A component of a class that the registry does not know (a TButton, a third-party control),
/// read from a form: it keeps its class name, properties and children to write them back.
class TUnknownComponent : public TComponent {
  VCL_DECLARE_CLASS
public:
  using TComponent::TComponent;
  /// The class name the form gave it ("" when it was not read from a form).
  const std::string& StreamedClassName() const;
};

/// The common part of TReader and TWriter: the definition of properties streamed by code.
class TFiler : public TObject {
  VCL_DECLARE_CLASS
public:
  using TReaderProc = std::function<void(TReader* Reader)>;
  using TWriterProc = std::function<void(TWriter* Writer)>;
  using TStreamProc = std::function<void(TStream* Stream)>;

  /// Declares a property that ReadData reads with the reader's value functions and WriteData
  /// writes with the writer's; the writer writes it only when HasData. Each must read or write
  /// exactly one value (a list counts as one); otherwise the reader or writer raises
  /// EReadError or EWriteError naming the property.
  virtual void DefineProperty(const std::string& Name, TReaderProc ReadData, TWriterProc WriteData, bool HasData) = 0;
  /// As DefineProperty, with members of Object:
  /// Filer->DefineProperty("Storage", this, &TLumetra::ReadTranslations, &TLumetra::WriteTranslations, true).
  template <class T, class R, class W>
  void DefineProperty(const std::string& Name, T* Object, R ReadData, W WriteData, bool HasData) {
    DefineProperty(
        Name, [Object, ReadData](TReader* Reader) { std::invoke(ReadData, Object, Reader); },
        [Object, WriteData](TWriter* Writer) { std::invoke(WriteData, Object, Writer); }, HasData);
  }
  /// Declares a property held as binary data (vaBinary): ReadData gets a memory stream of the
  /// bytes at position 0, WriteData writes them into an empty one.
  virtual void DefineBinaryProperty(const std::string& Name, TStreamProc ReadData, TStreamProc WriteData, bool HasData) = 0;
  template <class T, class R, class W>
  void DefineBinaryProperty(const std::string& Name, T* Object, R ReadData, W WriteData, bool HasData) {
    DefineBinaryProperty(
        Name, [Object, ReadData](TStream* Stream) { std::invoke(ReadData, Object, Stream); },
        [Object, WriteData](TStream* Stream) { std::invoke(WriteData, Object, Stream); }, HasData);
  }

  /// The root component being read or written.
  TComponent* Root() const { return FRoot; }

protected:
  TComponent* FRoot = nullptr;
};

/// Reads a binary form stream: whole forms into components, or one value at a time for the
/// reader procedures of defined properties. Every fault of the stream (truncation, a length
/// past the end, an unknown value type, nesting deeper than MaxFormNesting, a value of the
/// wrong type) raises EReadError naming the offset in the stream; nothing is read past the
/// stream's end and nothing larger than the stream is allocated.
class TReader : public TFiler {
  VCL_DECLARE_CLASS
public:
  /// A reader of Stream from its position on; it takes the rest of the stream into memory.
  explicit TReader(TStream& Stream);
  /// Leaves the stream right after the last byte read.
  ~TReader() override;

  /// Reads a form ("TPF0", or a resource header and "TPF0") into Root, or into a new component
  /// of the class the stream names when Root is nullptr (a TUnknownComponent when the registry
  /// does not know it). Each child is constructed through the class registry with its parent
  /// in the stream as owner, or reused when the stream marks it inherited or inline and the
  /// owner already has one of that name. Every component read is Loading() during the read and
  /// gets Loaded() once the whole form is read, in reading order. Each one's StreamedInfo then
  /// keeps what the stream held for it and what its properties were after Loaded. On failure
  /// the components the read created are freed (a Root given by the caller keeps what was read
  /// into it) and EReadError names the component, property and offset at fault.
  TComponent* ReadRootComponent(TComponent* Root);
  /// Reads "TPF0"; EReadError otherwise.
  void ReadSignature();

  /// The type of the next value, without reading it.
  TValueType NextValue();
  TValueType ReadValue();
  /// Reads the value type and raises EReadError unless it is Value.
  void CheckValue(TValueType Value);
  /// True when the next byte ends a list (of values, properties or components).
  bool EndOfList();
  void ReadListBegin();
  void ReadListEnd();
  /// Skips one value, whatever its type.
  void SkipValue();
  /// A string value in the ANSI code page (1252): vaString and vaLString bytes unchanged,
  /// vaWString and vaUTF8String converted ("?" for a character the code page lacks; the bytes
  /// of a vaUTF8String that is not UTF-8 unchanged).
  std::string ReadString();
  /// An identifier; False, True, nil and Null for their value types.
  std::string ReadIdent();
  bool ReadBoolean();
  /// An integer of vaInt8, vaInt16 or vaInt32.
  int ReadInteger();
  /// An integer of any width.
  std::int64_t ReadInt64();
  long double ReadFloat();
  float ReadSingle();
  double ReadDate();
  /// A currency value, in ten-thousandths.
  std::int64_t ReadCurrency();
  /// A length-prefixed string without a value type (names in a stream).
  std::string ReadStr();
  /// The offset in the stream of the next byte to read.
  std::int64_t Position() const;

  using TFiler::DefineBinaryProperty;
  using TFiler::DefineProperty;
  void DefineProperty(const std::string& Name, TReaderProc ReadData, TWriterProc WriteData, bool HasData) override;
  void DefineBinaryProperty(const std::string& Name, TStreamProc ReadData, TStreamProc WriteData, bool HasData) override;

private:
  TComponent* NewComponent(const std::string& ClassName, TComponent* Owner);
  /// Reads a component's prefix and class name into Info; returns its name.
  std::string ReadHeader(TStreamedInfo& Info);
  void ReadComponent(TComponent* Owner);
  void ReadProperties(TComponent* Instance, TStreamedInfo& Info);
  /// Reads the value of a property the class knows; false, reading nothing, for one it does not.
  bool ReadProperty(TComponent* Instance, const std::string& Name);
  bool ReadPublished(TComponent* Instance, const TPropInfo& Prop);
  [[noreturn]] void InvalidValue(std::size_t Start, const std::string& Detail);
  /// A float of Type, or an integer taken as one.
  template <class F>
  F ReadFloating(TValueType Type, F (TBinaryObjectReader::*ReadData)());

  TStream& FStream;
  std::int64_t FOrigin;
  std::string FData;
  std::unique_ptr<TBinaryObjectReader> FIn;
  std::string FPropName;  // the property DefineProperties is asked about
  bool FPropRead = false;
  std::vector<TComponent*> FLoaded;
  std::vector<TComponent*> FCreated;
};

/// Writes a binary form stream: whole forms from components, or one value at a time for the
/// writer procedures of defined properties. Integers take the smallest width that holds them,
/// strings of up to 255 bytes are vaString and longer ones vaLString, bytes unchanged. Output
/// is buffered: WriteRootComponent flushes by itself; after single values call FlushBuffer to
/// hear about write errors (the destructor flushes too, but cannot report).
class TWriter : public TFiler {
  VCL_DECLARE_CLASS
public:
  explicit TWriter(TStream& Stream);
  ~TWriter() override;

  /// Writes "TPF0" and Root with its owned components, after the resource header Root was read
  /// with, if any. A component is written with the class name and prefix it was read with, its
  /// stored published properties in declaration order, then its defined properties; then its
  /// owned components. A component read from a form is written as the stream had it, except
  /// for what changed since it was read: every property the stream held comes back in its
  /// place with the bytes it had (the ones its class does not know too) unless its value
  /// changed, when the class writes the new value there (or leaves the property out, when it
  /// stores the new value no more); a property the stream did not hold is written only when its
  /// value changed and the class stores it, after the property declared before it.
  /// A name longer than 255 bytes or a value without an identifier raises EWriteError.
  void WriteRootComponent(TComponent* Root);
  void WriteSignature();
  void WriteComponent(TComponent* Component);

  void WriteListBegin();
  void WriteListEnd();
  void WriteString(std::string_view Value);
  void WriteUTF8String(std::string_view Value);
  void WriteWideString(std::u16string_view Value);
  /// An identifier; False, True, nil and Null (any case) as their own value types.
  void WriteIdent(std::string_view Ident);
  void WriteBoolean(bool Value);
  void WriteInteger(std::int64_t Value);
  void WriteFloat(long double Value);
  void WriteSingle(float Value);
  void WriteDate(double Value);
  /// A currency value, in ten-thousandths.
  void WriteCurrency(std::int64_t Value);
  void WriteValue(TValueType Value);
  /// A length-prefixed string without a value type; EWriteError beyond 255 bytes.
  void WriteStr(std::string_view Value);
  /// Writes what is buffered to the stream; EWriteError when it cannot.
  void FlushBuffer();

  using TFiler::DefineBinaryProperty;
  using TFiler::DefineProperty;
  void DefineProperty(const std::string& Name, TReaderProc ReadData, TWriterProc WriteData, bool HasData) override;
  void DefineBinaryProperty(const std::string& Name, TStreamProc ReadData, TStreamProc WriteData, bool HasData) override;

private:
  friend class TReader;
  // One property as the class writes it: its name and encoded value in the buffer of the
  // component's properties.
  struct TSegment {
    std::string Name;
    std::size_t Begin = 0, End = 0;
    bool Stores = true;     // the class stores this value
    bool Defined = false;   // a defined property
  };
  // The properties of Instance as the class encodes them, each one segment of Own: the stored
  // ones and, with Every, the published ones that are not. Defined properties without a value
  // go to WithoutData; while recording (FRecorded) their writers are not run.
  void EncodeProperties(TComponent* Instance, bool Every, std::string& Own, std::vector<TSegment>& Segments,
                        std::vector<std::string>* WithoutData);
  void WriteProperties(TComponent* Instance);
  /// Keeps in Info what Instance holds now, once the form it was read from is loaded.
  void RecordLoaded(TComponent* Instance, TStreamedInfo& Info);
  void WritePublished(const TComponent* Instance, const TPropInfo& Prop);
  bool DefinesValue(const std::string& Name, bool HasData);
  void BeginProperty(const std::string& Name, bool Defined);
  /// Ends the property begun last; a defined one must have been written as exactly one value.
  void EndProperty();

  TStream& FStream;
  std::string FBuffer;
  std::unique_ptr<TBinaryObjectWriter> FOut;
  std::vector<TSegment>* FSegments = nullptr;          // properties of the component being written
  std::vector<std::string>* FWithoutData = nullptr;    // its defined properties without a value
  TStreamedInfo* FRecorded = nullptr;                  // the component's info while recording it
};

/// What a stream holds, by its first bytes.
enum class TStreamOriginalFormat : std::uint8_t { sofUnknown = 0, sofBinary = 1, sofText = 2, sofUTF8Text = 3 };
/// Looks at the first bytes from the stream's position, which it leaves unchanged: "TPF0" or a
/// resource header is binary; "object", "inherited", "inline" or blanks are text.
TStreamOriginalFormat TestStreamFormat(TStream& Stream);

/// Converts a binary form stream ("TPF0") from Input's position to its text form, as the class
/// library writes it: `object Name: TClass` (`inherited`, `inline`, ` [n]` for a child
/// position) ... `end`, two-space indentation, CR LF line ends, strings quoted with #n codes
/// for control characters and the apostrophe (wide strings with #n for every character beyond
/// ASCII; a UTF-8 string as the ANSI or wide string that reading it gives), split into 64-character pieces joined by " +", lists in ( ),
/// collections in < > with item ... end, binary data in { } as 32-byte hex lines, sets in
/// [ ], floats with the suffixes s, c and d of single, currency and date values. A wide
/// (vaWString) string without a character above 255 starts with an empty piece, "'' + ", so
/// that converting the text back restores its type; floats take as many digits as their value needs to come back the same.
/// Any form stream converts without knowing its classes; one written by the class library
/// converts back byte for byte. Input is left after the form; Output gets the whole text or,
/// when the stream is at fault (EReadError naming the offset), nothing.
void ObjectBinaryToText(TStream& Input, TStream& Output);
/// As ObjectBinaryToText for a stream read from the text form Original and written back: every
/// part of it that Original held unchanged (a component's header, a property with its value,
/// a component's end) is written as Original has it, with its spacing, string literals and
/// numbers, and so is the text between two such parts that followed each other there, before
/// the form and after it; a part that is new or changed is written as ObjectBinaryToText writes
/// it, its lines ending in LineBreak. Components are matched by their place and name. Input is
/// left after the form; Output gets the whole text or, when the stream or Original is at
/// fault (EReadError naming the offset or line), nothing.
void ObjectBinaryToTextAs(TStream& Input, TStream& Output, std::string_view Original, std::string_view LineBreak);
/// The inverse: parses the text form from Input's position and writes the binary stream.
/// A string is bytes of the ANSI code page (vaString, vaLString), #n up to 255 being that byte,
/// as the hosts read a form; only a code above 255, or an empty first piece, makes it wide
/// (vaWString). It never writes vaUTF8String. Integers take the smallest width. Input is left at the text after the form; Output
/// gets the whole stream or, when the text is at fault (EReadError naming the line), nothing.
void ObjectTextToBinary(TStream& Input, TStream& Output);
/// As ObjectBinaryToText for a form resource file: a resource header, then the form stream,
/// which must end where the resource ends. EReadError naming the offset otherwise.
void ObjectResourceToText(TStream& Input, TStream& Output);
/// The line of the text form Text on which each item of the list property Property (e.g.
/// "Translations.Strings") of one component starts, in order. The component is named by Path:
/// its owners' names below the root and its own, joined by "." ("Lumetra1", "Frame1.Lumetra1";
/// "" for the root). Empty when it has no such list. EReadError as ObjectTextToBinary raises it.
std::vector<int> TextFormListLines(std::string_view Text, std::string_view Path, std::string_view Property);
/// As ObjectTextToBinary, with the resource header the class library writes before it: the
/// root's class name in upper case, flags $1030 and the size.
void ObjectTextToResource(TStream& Input, TStream& Output);

}  // namespace vcl
