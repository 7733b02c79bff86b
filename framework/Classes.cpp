#include "framework/Classes.h"

#include <algorithm>
#include <atomic>
#include <iterator>

namespace {
// Both constant-initialised: usable by statics of any unit, before or after this one's.
std::atomic<int> gAliveObjects{0};
std::atomic<int> gUnitHolders{0};
std::atomic<void (*)()> gAfterUnits{nullptr};
}  // namespace

TObject::TObject() { ++gAliveObjects; }
TObject::~TObject() { --gAliveObjects; }
int TObject::AliveCount() { return gAliveObjects.load(); }

TUnitLifetime::TUnitLifetime() { ++gUnitHolders; }

TUnitLifetime::~TUnitLifetime() {
  if (--gUnitHolders != 0) return;
  if (void (*action)() = gAfterUnits.exchange(nullptr)) action();
}

void TUnitLifetime::WhenAllEnded(void (*Action)()) {
  if (gUnitHolders.load() == 0)
    Action();
  else
    gAfterUnits = Action;
}

void TObject::Free() {
  BeforeDestruction();
  delete this;
}

// ---- TPersistent ----------------------------------------------------------------------

namespace {
[[noreturn]] void AssignError(const wchar_t* from, const wchar_t* to) {
  throw EConvertError(Format(L"Cannot assign a %ls to a %ls", from, to));
}
}  // namespace

void TPersistent::Assign(TPersistent* Source) {
  if (Source == nullptr) AssignError(L"nil", ClassName());
  Source->AssignTo(this);
}

void TPersistent::AssignTo(TPersistent* Dest) {
  AssignError(ClassName(), Dest == nullptr ? L"nil" : Dest->ClassName());
}

// ---- TComponent -----------------------------------------------------------------------

TComponent::TComponent(TComponent* AOwner) {
  if (AOwner != nullptr) AOwner->InsertComponent(this);
}

TComponent::~TComponent() {
  Destroying();
  // Subscribers hear of the removal while this object is still in one piece.
  while (!FFreeNotifies.empty()) {
    TComponent* c = FFreeNotifies.back();
    FFreeNotifies.pop_back();
    c->RemoveNotification(this);
    c->Notification(this, opRemove);
  }
  DestroyComponents();
  if (FOwner != nullptr) FOwner->RemoveComponent(this);
}

TComponent* TComponent::Components(int Index) const {
  if (Index < 0 || Index >= ComponentCount()) ListIndexError(Index);
  return FComponents[Index];
}

int TComponent::ComponentIndex() const {
  if (FOwner == nullptr) return -1;
  auto& v = FOwner->FComponents;
  auto it = std::find(v.begin(), v.end(), this);
  return it == v.end() ? -1 : static_cast<int>(it - v.begin());
}

TComponent* TComponent::FindComponent(const String& AName) const {
  if (AName.empty()) return nullptr;
  for (TComponent* c : FComponents)
    if (SameText(c->FName, AName)) return c;
  return nullptr;
}

void TComponent::SetName(const String& NewName) {
  if (NewName == FName) return;
  if (!NewName.empty() && FOwner != nullptr) {
    TComponent* other = FOwner->FindComponent(NewName);
    if (other != nullptr && other != this)
      throw EComponentError(Format(L"A component named %ls already exists", NewName.c_str()));
  }
  FName = NewName;
}

void TComponent::InsertComponent(TComponent* AComponent) {
  if (AComponent->FOwner != nullptr) AComponent->FOwner->RemoveComponent(AComponent);
  Insert(AComponent);
  Notification(AComponent, opInsert);
}

void TComponent::RemoveComponent(TComponent* AComponent) {
  Notification(AComponent, opRemove);
  Remove(AComponent);
}

void TComponent::Insert(TComponent* AComponent) {
  FComponents.push_back(AComponent);
  AComponent->FOwner = this;
}

void TComponent::Remove(TComponent* AComponent) {
  auto it = std::find(FComponents.begin(), FComponents.end(), AComponent);
  if (it != FComponents.end()) FComponents.erase(it);
  AComponent->FOwner = nullptr;
}

void TComponent::DestroyComponents() {
  while (!FComponents.empty()) {
    TComponent* c = FComponents.back();
    Remove(c);
    c->Free();
  }
}

void TComponent::Notification(TComponent* AComponent, TOperation Operation) {
  if (Operation == opRemove && AComponent != nullptr) RemoveFreeNotification(AComponent);
  // Owned components hear of every insertion and removal among their siblings; the list
  // may shrink while they react.
  int i = ComponentCount() - 1;
  while (i >= 0) {
    FComponents[i]->Notification(AComponent, Operation);
    --i;
    if (i >= ComponentCount()) i = ComponentCount() - 1;
  }
}

void TComponent::FreeNotification(TComponent* AComponent) {
  if (AComponent == nullptr || AComponent == this) return;
  if (std::find(FFreeNotifies.begin(), FFreeNotifies.end(), AComponent) == FFreeNotifies.end()) {
    FFreeNotifies.push_back(AComponent);
    AComponent->FreeNotification(this);
  }
  FComponentState.Include(csFreeNotification);
}

bool TComponent::ReplaceReference(TComponent*& Field, TComponent* Value) {
  if (Field == Value) return false;
  if (Field != nullptr) Field->RemoveFreeNotification(this);
  Field = Value;
  if (Value != nullptr) Value->FreeNotification(this);
  return true;
}

void TComponent::RemoveNotification(TComponent* AComponent) {
  auto it = std::find(FFreeNotifies.begin(), FFreeNotifies.end(), AComponent);
  if (it != FFreeNotifies.end()) FFreeNotifies.erase(it);
}

void TComponent::RemoveFreeNotification(TComponent* AComponent) {
  RemoveNotification(AComponent);
  if (AComponent != nullptr) AComponent->RemoveNotification(this);
}

void TComponent::BeforeDestruction() {
  inherited::BeforeDestruction();
  Destroying();
}

void TComponent::Destroying() {
  if (FComponentState.Contains(csDestroying)) return;
  FComponentState.Include(csDestroying);
  for (TComponent* c : FComponents) c->Destroying();
}

void TComponent::SetLoadingState(bool Loading) {
  if (Loading)
    FComponentState.Include(csLoading);
  else
    FComponentState.Exclude(csLoading);
}

void TComponent::SetReadingState(bool Reading) {
  if (Reading)
    FComponentState.Include(csReading);
  else
    FComponentState.Exclude(csReading);
}

void TComponent::Loaded() { FComponentState.Exclude(csLoading); }

void TComponent::SetDesigning(bool Value) {
  if (Value)
    FComponentState.Include(csDesigning);
  else
    FComponentState.Exclude(csDesigning);
}

// ---- TCollection ----------------------------------------------------------------------

TCollectionItem::TCollectionItem(TCollection* Collection) { SetCollection(Collection); }

TCollectionItem::~TCollectionItem() {
  if (FCollection != nullptr) FCollection->RemoveItem(this);
}

void TCollectionItem::SetCollection(TCollection* Value) {
  if (Value == FCollection) return;
  if (FCollection != nullptr) FCollection->RemoveItem(this);
  if (Value != nullptr) Value->InsertItem(this);
}

int TCollectionItem::Index() const {
  if (FCollection == nullptr) return -1;
  auto& v = FCollection->FItems;
  return static_cast<int>(std::find(v.begin(), v.end(), this) - v.begin());
}

void TCollectionItem::SetIndex(int Value) {
  int cur = Index();
  if (cur >= 0 && cur != Value) FCollection->MoveItem(cur, Value);
}

String TCollectionItem::GetDisplayName() const { return ClassName(); }

TPersistent* TCollectionItem::GetOwner() { return FCollection; }

void TCollectionItem::Changed(bool AllItems) {
  if (FCollection != nullptr && FCollection->FUpdateCount == 0)
    FCollection->Update(AllItems ? nullptr : this);
}

TCollection::TCollection(TItemFactory ItemFactory) : FItemFactory(std::move(ItemFactory)) {}

TCollection::~TCollection() {
  FUpdateCount = 1;
  while (!FItems.empty()) FItems.back()->Free();
}

TCollectionItem* TCollection::Add() {
  TCollectionItem* item = FItemFactory(this);
  Changed();
  return item;
}

TCollectionItem* TCollection::Insert(int Index) {
  TCollectionItem* item = Add();
  item->SetIndex(Index);
  return item;
}

void TCollection::Delete(int Index) {
  Items(Index)->Free();
}

void TCollection::Clear() {
  if (FItems.empty()) return;
  BeginUpdate();
  try {
    while (!FItems.empty()) FItems.back()->Free();
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

TCollectionItem* TCollection::Items(int Index) const {
  if (Index < 0 || Index >= Count()) ListIndexError(Index);
  return FItems[Index];
}

void TCollection::SetItem(int Index, TCollectionItem* Value) { Items(Index)->Assign(Value); }

TCollectionItem* TCollection::FindItemID(int ID) const {
  for (TCollectionItem* i : FItems)
    if (i->FID == ID) return i;
  return nullptr;
}

void TCollection::BeginUpdate() { ++FUpdateCount; }

void TCollection::EndUpdate() {
  if (FUpdateCount > 0) --FUpdateCount;
  Changed();
}

void TCollection::Changed() {
  if (FUpdateCount == 0) Update(nullptr);
}

void TCollection::Assign(TPersistent* Source) {
  auto* src = dynamic_cast<TCollection*>(Source);
  if (src == nullptr) {
    inherited::Assign(Source);
    return;
  }
  if (src == this) return;
  BeginUpdate();
  try {
    Clear();
    for (TCollectionItem* i : src->FItems) Add()->Assign(i);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TCollection::InsertItem(TCollectionItem* Item) {
  FItems.push_back(Item);
  Item->FCollection = this;
  Item->FID = FNextID++;
  Notify(Item, true);
}

void TCollection::RemoveItem(TCollectionItem* Item) {
  Notify(Item, false);
  // From the end: Clear and destruction remove the last item each time, which a search from
  // the front would make quadratic in the item count.
  auto it = std::find(FItems.rbegin(), FItems.rend(), Item);
  if (it != FItems.rend()) FItems.erase(std::next(it).base());
  Item->FCollection = nullptr;
  Changed();
}

void TCollection::MoveItem(int From, int To) {
  if (To < 0) To = 0;
  if (To >= Count()) To = Count() - 1;
  TCollectionItem* item = FItems[From];
  FItems.erase(FItems.begin() + From);
  FItems.insert(FItems.begin() + To, item);
  Changed();
}

// ---- TStringList ----------------------------------------------------------------------

void ListIndexError(int Index) {
  throw EListError(Format(L"List index out of bounds (%d)", Index));
}

void TStringList::CheckIndex(int Index) const {
  if (Index < 0 || Index >= Count()) ListIndexError(Index);
}

const String& TStringList::Strings(int Index) const {
  CheckIndex(Index);
  return FItems[Index].S;
}

TObject* TStringList::Objects(int Index) const {
  CheckIndex(Index);
  return FItems[Index].Object;
}

int TStringList::Add(const String& S, TObject* Object) {
  int index = Count();
  if (FSorted) {
    auto it = std::lower_bound(FItems.begin(), FItems.end(), S,
                               [](const Item& a, const String& b) { return a.S < b; });
    index = static_cast<int>(it - FItems.begin());
  }
  FItems.insert(FItems.begin() + index, Item{S, Object});
  Changed();
  return index;
}

void TStringList::Insert(int Index, const String& S, TObject* Object) {
  if (Index < 0 || Index > Count()) ListIndexError(Index);
  FItems.insert(FItems.begin() + Index, Item{S, Object});
  Changed();
}

void TStringList::Delete(int Index) {
  CheckIndex(Index);
  FItems.erase(FItems.begin() + Index);
  Changed();
}

void TStringList::Clear() {
  if (FItems.empty()) return;
  FItems.clear();
  Changed();
}

int TStringList::IndexOf(const String& S) const {
  for (int i = 0; i < Count(); ++i)
    if (SameText(FItems[i].S, S)) return i;
  return -1;
}

// Ordinal by UTF-16 code unit.
void TStringList::Sort() {
  std::stable_sort(FItems.begin(), FItems.end(), [](const Item& a, const Item& b) { return a.S < b.S; });
  Changed();
}

void TStringList::SetSorted(bool Value) {
  if (FSorted == Value) return;
  FSorted = Value;
  if (FSorted) Sort();
}

void TStringList::Assign(TPersistent* Source) {
  auto* src = dynamic_cast<TStringList*>(Source);
  if (src == nullptr) {
    inherited::Assign(Source);
    return;
  }
  FItems = src->FItems;
  Changed();
}

void TStringList::Changed() {
  if (OnChange) OnChange(this);
}
