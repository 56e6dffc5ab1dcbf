// The class library: objects with class references, components, lists, string lists, streams.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "vcl/SysUtils.hpp"

namespace vcl {

class TObject;
class TComponent;
class TFiler;
class TMetaClass;

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

private:
  std::string FName;
  TClass FParent;
  TConstructor FCreate;
  std::vector<TCodePointer> FEntries;
  std::vector<TCodePointer> FDeclaredEntries;  // as set up, before any SetEntry from outside
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
#define VCL_IMPLEMENT_CLASS(T, P, ...)                                                           \
  ::vcl::TClass T::StaticClass() {                                                               \
    static ::vcl::TMetaClass* const meta = new ::vcl::TMetaClass(                                \
        #T, P::StaticClass(), ::vcl::TMetaClass::ConstructorOf<T>() __VA_OPT__(, ) __VA_ARGS__); \
    return meta;                                                                                 \
  }

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
  void SetName(std::string AName) { FName = std::move(AName); }
  TComponent* Owner() const { return FOwner; }

  int ComponentCount() const { return static_cast<int>(FComponents.size()); }
  /// The owned component at Index. Raises EListError outside 0 .. ComponentCount - 1.
  TComponent* Components(int Index) const;
  /// This component's index in its owner's list, or -1 without an owner.
  int ComponentIndex() const;
  /// The owned component with that name (exact), or nullptr.
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

private:
  std::string FName;
  TComponent* FOwner = nullptr;
  std::vector<TComponent*> FComponents;
  TComponentState FComponentState = 0;
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
  int AddObject(std::string S, TObject* AObject);
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

/// The whole content of a file. Raises EFOpenError naming the file, with the reason.
std::string ReadFileBytes(const std::string& FileName);

/// Replaces the file by Bytes, whole or not at all: writes a new file beside it and renames it
/// over the old one. Raises EFCreateError naming the file, with the reason, and then leaves an
/// existing file as it was.
void ReplaceFile(const std::string& FileName, std::string_view Bytes);

}  // namespace vcl
