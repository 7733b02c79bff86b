// The component model: objects with class names, persistents that copy themselves,
// components that own one another and hear of each other's removal, and collections.
#pragma once

#include <functional>
#include <map>
#include <vector>

#include "framework/Types.h"

// Declares the class name, the `inherited` alias and the static class name of a class.
#define KA_CLASS(Cls, Base)                                         \
 public:                                                            \
  using inherited = Base;                                           \
  static const wchar_t* StaticClassName() { return L## #Cls; }      \
  const wchar_t* ClassName() const override { return L## #Cls; }

class TObject {
 public:
  TObject();
  TObject(const TObject&) = delete;
  TObject& operator=(const TObject&) = delete;
  virtual ~TObject();

  static const wchar_t* StaticClassName() { return L"TObject"; }
  virtual const wchar_t* ClassName() const { return L"TObject"; }
  bool ClassNameIs(const String& name) const { return name == ClassName(); }

  // Runs after the most-derived constructor finished (see Construct) and before destruction
  // starts (see Free), so both see the whole object with its overrides.
  virtual void AfterConstruction() {}
  virtual void BeforeDestruction() {}
  // BeforeDestruction, then delete. The way to free framework objects.
  void Free();

  // Number of framework objects alive in the process; reported at program exit.
  static int AliveCount();
};

// Held by the process-wide state of a unit (a static made at start-up and freed at exit,
// declared before the state it guards): whatever order the run-time ends the units in, work
// left for "after every unit has ended" (the report of objects still alive) waits until the
// last holder is gone.
class TUnitLifetime {
 public:
  TUnitLifetime();
  ~TUnitLifetime();
  TUnitLifetime(const TUnitLifetime&) = delete;
  TUnitLifetime& operator=(const TUnitLifetime&) = delete;
  // Runs Action once no holder is left: at once when none is, else as the last one ends.
  static void WhenAllEnded(void (*Action)());
};

// Creates an object and runs its AfterConstruction with the whole object built.
template <class T, class... Args>
T* Construct(Args&&... args) {
  T* obj = new T(std::forward<Args>(args)...);
  try {
    obj->AfterConstruction();
  } catch (...) {
    obj->Free();
    throw;
  }
  return obj;
}

template <class T>
void FreeAndNil(T*& obj) {
  T* p = obj;
  obj = nullptr;
  if (p) p->Free();
}

using TNotifyEvent = std::function<void(TObject* Sender)>;

class TPersistent : public TObject {
  KA_CLASS(TPersistent, TObject)
 public:
  // Copies Source into this object; fails with "Cannot assign a X to a Y" when the
  // classes do not know each other.
  virtual void Assign(TPersistent* Source);
  virtual TPersistent* GetOwner() { return nullptr; }

 protected:
  virtual void AssignTo(TPersistent* Dest);
};

enum TComponentStateFlag {
  csLoading, csReading, csWriting, csDestroying, csDesigning, csAncestor, csUpdating,
  csFixups, csFreeNotification, csInline, csDesignInstance
};
using TComponentState = TSet<TComponentStateFlag>;

enum TOperation { opInsert, opRemove };

class TComponent : public TPersistent {
  KA_CLASS(TComponent, TPersistent)
 public:
  explicit TComponent(TComponent* AOwner);
  ~TComponent() override;

  TComponent* Owner() const { return FOwner; }
  int ComponentCount() const { return static_cast<int>(FComponents.size()); }
  TComponent* Components(int Index) const;
  int ComponentIndex() const;
  TComponent* FindComponent(const String& AName) const;

  const String& Name() const { return FName; }
  virtual void SetName(const String& NewName);
  intptr_t Tag() const { return FTag; }
  void SetTag(intptr_t Value) { FTag = Value; }
  TComponentState ComponentState() const { return FComponentState; }

  void InsertComponent(TComponent* AComponent);
  void RemoveComponent(TComponent* AComponent);
  void DestroyComponents();

  // Asks to hear (Notification opRemove) when AComponent is destroyed, across owners.
  void FreeNotification(TComponent* AComponent);
  void RemoveFreeNotification(TComponent* AComponent);

  void BeforeDestruction() override;
  // Marks this component and everything it owns csDestroying.
  void Destroying();

  // Streaming support: loading state and the Loaded call made after all values are set.
  void SetLoadingState(bool Loading);
  void SetReadingState(bool Reading);
  virtual void Loaded();

  TPersistent* GetOwner() override { return FOwner; }

  // Layout streaming nests components: a control's enclosing object becomes its parent.
  virtual bool HasParent() const { return false; }
  virtual TComponent* GetParentComponent() const { return nullptr; }
  virtual void SetParentComponent(TComponent* Value) {}

 protected:
  virtual void Notification(TComponent* AComponent, TOperation Operation);
  // Points a reference to another component at Value, moving this component's free
  // notification from the old target to the new one. False when nothing changed.
  bool ReplaceReference(TComponent*& Field, TComponent* Value);
  // The same for a field of a TComponent descendant's type.
  template <class T>
  bool ReplaceReference(T*& Field, T* Value) {
    TComponent* Current = Field;
    if (!ReplaceReference(Current, static_cast<TComponent*>(Value))) return false;
    Field = Value;
    return true;
  }
  void SetDesigning(bool Value);
  friend class TComponentAccess;

  TComponentState FComponentState;

 private:
  void Insert(TComponent* AComponent);
  void Remove(TComponent* AComponent);
  void RemoveNotification(TComponent* AComponent);

  TComponent* FOwner = nullptr;
  std::vector<TComponent*> FComponents;
  std::vector<TComponent*> FFreeNotifies;
  String FName;
  intptr_t FTag = 0;
};

class TCollection;

class TCollectionItem : public TPersistent {
  KA_CLASS(TCollectionItem, TPersistent)
 public:
  explicit TCollectionItem(TCollection* Collection);
  ~TCollectionItem() override;
  TCollection* Collection() const { return FCollection; }
  void SetCollection(TCollection* Value);
  int Index() const;
  void SetIndex(int Value);
  int ID() const { return FID; }
  virtual String GetDisplayName() const;
  TPersistent* GetOwner() override;

 protected:
  // Tells the collection that this item changed (AllItems: every item may have).
  void Changed(bool AllItems);

 private:
  friend class TCollection;
  TCollection* FCollection = nullptr;
  int FID = 0;
};

class TCollection : public TPersistent {
  KA_CLASS(TCollection, TPersistent)
 public:
  using TItemFactory = std::function<TCollectionItem*(TCollection*)>;
  explicit TCollection(TItemFactory ItemFactory);
  ~TCollection() override;

  TCollectionItem* Add();
  TCollectionItem* Insert(int Index);
  void Delete(int Index);
  void Clear();
  int Count() const { return static_cast<int>(FItems.size()); }
  // Fails with "List index out of bounds (n)" outside 0..Count-1.
  TCollectionItem* Items(int Index) const;
  void SetItem(int Index, TCollectionItem* Value);
  TCollectionItem* FindItemID(int ID) const;
  void BeginUpdate();
  void EndUpdate();
  int UpdateCount() const { return FUpdateCount; }
  void Assign(TPersistent* Source) override;
  TPersistent* GetOwner() override { return nullptr; }

 protected:
  // Called after items change (nullptr: several or all of them), unless updating.
  virtual void Update(TCollectionItem* Item) {}
  virtual void Notify(TCollectionItem* Item, bool Added) {}
  void Changed();

 private:
  friend class TCollectionItem;
  void InsertItem(TCollectionItem* Item);
  void RemoveItem(TCollectionItem* Item);
  void MoveItem(int From, int To);

  TItemFactory FItemFactory;
  std::vector<TCollectionItem*> FItems;
  int FUpdateCount = 0;
  int FNextID = 0;
};

// A collection whose owner is a persistent (a control, a component).
class TOwnedCollection : public TCollection {
  KA_CLASS(TOwnedCollection, TCollection)
 public:
  TOwnedCollection(TPersistent* AOwner, TItemFactory ItemFactory)
      : TCollection(std::move(ItemFactory)), FOwner(AOwner) {}
  TPersistent* GetOwner() override { return FOwner; }

 private:
  TPersistent* FOwner;
};

// A list of strings with an optional object per string.
class TStringList : public TPersistent {
  KA_CLASS(TStringList, TPersistent)
 public:
  int Count() const { return static_cast<int>(FItems.size()); }
  const String& Strings(int Index) const;
  TObject* Objects(int Index) const;
  int Add(const String& S, TObject* Object = nullptr);
  void Insert(int Index, const String& S, TObject* Object = nullptr);
  void Delete(int Index);
  void Clear();
  int IndexOf(const String& S) const;
  void Sort();
  bool Sorted() const { return FSorted; }
  void SetSorted(bool Value);
  void Assign(TPersistent* Source) override;
  TNotifyEvent OnChange;

 private:
  void CheckIndex(int Index) const;
  void Changed();
  struct Item {
    String S;
    TObject* Object;
  };
  std::vector<Item> FItems;
  bool FSorted = false;
};
using TStrings = TStringList;

[[noreturn]] void ListIndexError(int Index);
