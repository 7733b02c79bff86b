#include "framework/TypeInfo.h"

#include <map>

namespace {

// Class names are ASCII identifiers; folding them here keeps start-up free of locale calls.
String FoldName(const String& Name) {
  String r = Name;
  for (wchar_t& c : r)
    if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - L'a' + L'A');
  return r;
}

struct TClassRegistry {
  std::vector<std::unique_ptr<TClassInfo>> All;
  std::map<String, TClassInfo*> ByName;  // folded names
};

TClassRegistry& Registry() {
  static TClassRegistry registry;
  return registry;
}

template <class Info>
const Info* FindByName(const std::vector<std::unique_ptr<Info>>& List, const String& Name) {
  for (const auto& i : List)
    if (SameText(i->Name, Name)) return i.get();
  return nullptr;
}

template <class Info>
void AddOrReplace(std::vector<std::unique_ptr<Info>>& List, Info&& Value) {
  for (auto& i : List)
    if (SameText(i->Name, Value.Name)) {
      *i = std::move(Value);
      return;
    }
  List.push_back(std::make_unique<Info>(std::move(Value)));
}

}  // namespace

// ---- TEnumInfo --------------------------------------------------------------------------

bool TEnumInfo::ValueOf(const String& Ident, int64_t& Value) const {
  for (const auto& v : FValues)
    if (SameText(v.first, Ident)) {
      Value = v.second;
      return true;
    }
  return false;
}

String TEnumInfo::NameOf(int64_t Value) const {
  for (const auto& v : FValues)
    if (v.second == Value) return v.first;
  return String();
}

void TEnumInfo::Register(const String& Name, TValues Values) {
  FName = Name;
  FValues = std::move(Values);
  FRegistered = true;
}

// ---- TClassInfo -------------------------------------------------------------------------

TClassInfo::TClassInfo(const wchar_t* Name, const TClassInfo* Base, bool (*IsInstance)(const TObject*))
    : FName(Name), FBase(Base), FIsInstance(IsInstance) {}

int TClassInfo::Depth() const {
  int depth = 0;
  for (const TClassInfo* c = FBase; c != nullptr; c = c->FBase) ++depth;
  return depth;
}

bool TClassInfo::InheritsFrom(const TClassInfo* Other) const {
  for (const TClassInfo* c = this; c != nullptr; c = c->FBase)
    if (c == Other) return true;
  return false;
}

TComponent* TClassInfo::Create(TComponent* Owner) const {
  if (FFactory == nullptr) throw EComponentError(Format(L"Class %ls cannot be created by name", FName.c_str()));
  return FFactory(Owner);
}

const TPropInfo* TClassInfo::FindProperty(const String& Name) const {
  for (const TClassInfo* c = this; c != nullptr; c = c->FBase)
    if (const TPropInfo* p = FindByName(c->FProperties, Name)) return p;
  return nullptr;
}

const THandlerInfo* TClassInfo::FindHandler(const String& Name) const {
  for (const TClassInfo* c = this; c != nullptr; c = c->FBase)
    if (const THandlerInfo* h = FindByName(c->FHandlers, Name)) return h;
  return nullptr;
}

const TFieldInfo* TClassInfo::FindField(const String& Name) const {
  for (const TClassInfo* c = this; c != nullptr; c = c->FBase)
    if (const TFieldInfo* f = FindByName(c->FFields, Name)) return f;
  return nullptr;
}

void TClassInfo::AddProperty(TPropInfo Info) { AddOrReplace(FProperties, std::move(Info)); }
void TClassInfo::AddHandler(THandlerInfo Info) { AddOrReplace(FHandlers, std::move(Info)); }
void TClassInfo::AddField(TFieldInfo Info) { AddOrReplace(FFields, std::move(Info)); }

// ---- Registry ---------------------------------------------------------------------------

TClassInfo* KaTypeInfo::NewClassInfo(const wchar_t* Name, const TClassInfo* Base,
                                     bool (*IsInstance)(const TObject*)) {
  TClassRegistry& r = Registry();
  r.All.push_back(std::make_unique<TClassInfo>(Name, Base, IsInstance));
  TClassInfo* info = r.All.back().get();
  // Two classes sharing a name: the first one keeps it, the other is still found through
  // its objects (ClassInfoOf).
  r.ByName.emplace(FoldName(Name), info);
  return info;
}

String KaTypeInfo::WidenName(const char* Name) {
  String r;
  for (const char* p = Name; *p != '\0'; ++p) r += static_cast<wchar_t>(static_cast<unsigned char>(*p));
  return r;
}

const TClassInfo* FindClassInfo(const String& ClassName) {
  const TClassRegistry& r = Registry();
  auto it = r.ByName.find(FoldName(ClassName));
  return it == r.ByName.end() ? nullptr : it->second;
}

const TClassInfo* ClassInfoOf(const TObject* Obj) {
  if (Obj == nullptr) return nullptr;
  const TClassInfo* byName = FindClassInfo(Obj->ClassName());
  if (byName != nullptr && byName->IsInstance(Obj)) return byName;
  // A class nobody registered: its deepest known ancestor.
  const TClassInfo* best = nullptr;
  for (const auto& info : Registry().All)
    if (info->IsInstance(Obj) && (best == nullptr || info->Depth() > best->Depth())) best = info.get();
  return best;
}

// ---- Tables of the component model ------------------------------------------------------

KA_REGISTER_CLASS(TComponent, [](auto& c) {
  c.Property(L"Name", &TComponent::Name, &TComponent::SetName);
  c.Property(L"Tag", &TComponent::Tag, &TComponent::SetTag);
});
