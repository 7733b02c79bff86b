// Layout tree to components: creation through the class factories, property assignment
// through the class tables, component references resolved once the whole tree exists.
#include <algorithm>

#include "framework/Streaming.h"
#include "framework/TypeInfo.h"

namespace {

// Never destroyed: forms unregister themselves while the application is freed at exit,
// after function-local statics may already be gone.
std::vector<TComponent*>& NamedRoots() {
  static auto* roots = new std::vector<TComponent*>();
  return *roots;
}

String ValueText(const TLayoutValue& v) {
  switch (v.Kind) {
    case TLayoutValueKind::Integer: return L"an integer";
    case TLayoutValueKind::Float: return L"a number";
    case TLayoutValueKind::String: return L"a string";
    case TLayoutValueKind::Identifier: return L"'" + v.Text + L"'";
    case TLayoutValueKind::Set: return L"a set";
    case TLayoutValueKind::Collection: return L"a collection";
    case TLayoutValueKind::Binary: return L"binary data";
  }
  return L"a value";
}

String EnumName(const TPropInfo& p) {
  return p.Enum != nullptr && !p.Enum->Name().empty() ? p.Enum->Name() : p.TypeName();
}

String KindText(const TPropInfo& p) {
  switch (p.Kind) {
    case pkBool: return L"True or False";
    case pkInteger: return L"an integer";
    case pkFloat: return L"a number";
    case pkString: return L"a string";
    case pkColor: return L"a colour";
    case pkEnum: return L"a value of " + EnumName(p);
    case pkSet: return L"a set of " + EnumName(p);
    case pkComponent: return L"a component name";
    case pkPersistent: return L"an object";
    case pkCollection: return L"a collection";
    case pkBinary: return L"binary data";
    case pkEvent: return L"a handler name";
  }
  return L"a value";
}

class TLayoutReader {
 public:
  TLayoutReader(TComponent* Root, const String& Source) : FRoot(Root), FSource(Source) {}
  void Read(const TLayoutObject& Layout);

 private:
  struct TCreated {
    TComponent* Component;
    int Line;
  };
  struct TFixup {
    TObject* Target;
    const TPropInfo* Prop;
    String Where;  // "'Images' of TkaGPPanel"
    String Name;
    int Line;
  };

  [[noreturn]] void Fail(int Line, const String& Problem) const { throw ELayoutError(FSource, Line, Problem); }

  // Runs code of the classes being loaded; their framework errors gain the layout's line.
  template <class F>
  auto Guard(int Line, const String& What, F&& Action) {
    try {
      return Action();
    } catch (const ELayoutError&) {
      throw;
    } catch (const Exception& e) {
      Fail(Line, What + L": " + e.Message());
    }
  }

  void ReadRoot(const TLayoutObject& Node);
  void ReadChild(TComponent* Enclosing, const TLayoutObject& Node);
  void ReadBody(TComponent* Instance, const TLayoutObject& Node);
  void ApplyProperty(TObject* Instance, const TLayoutProperty& Prop);
  const TPropInfo& ResolvePath(TObject*& Target, const TLayoutProperty& Prop);
  void ApplyValue(TObject* Target, const TPropInfo& Info, const TLayoutValue& Value);
  TPropValue Convert(const TPropInfo& Info, const String& Where, const TLayoutValue& Value);
  int64_t EnumValue(const TPropInfo& Info, const String& Where, const String& Ident, int Line, bool InSet) const;
  void ReadCollection(TObject* Target, const TPropInfo& Info, const String& Where, const TLayoutValue& Value);
  void BindEvent(TObject* Target, const TPropInfo& Info, const String& Where, const TLayoutValue& Value);
  void Write(TObject* Target, const TPropInfo& Info, const String& Where, const TPropValue& Value, int Line);
  void ResolveFixups();
  TComponent* FindReference(const String& Name) const;
  void Finish(int Line);
  void Abandon();

  TComponent* FRoot;
  const TClassInfo* FRootInfo = nullptr;
  String FSource;
  std::vector<TCreated> FCreated;
  std::vector<TFixup> FFixups;
  std::vector<TCollection*> FCollections;
};

void TLayoutReader::Read(const TLayoutObject& Layout) {
  try {
    ReadRoot(Layout);
    ResolveFixups();
    Finish(Layout.Line);
  } catch (...) {
    Abandon();
    throw;
  }
}

void TLayoutReader::ReadRoot(const TLayoutObject& Node) {
  FRoot->SetLoadingState(true);
  FRoot->SetReadingState(true);
  FRootInfo = ClassInfoOf(FRoot);
  const TClassInfo* named = FindClassInfo(Node.ClassName);
  if (named == nullptr) Fail(Node.Line, L"unknown class '" + Node.ClassName + L"'");
  if (FRootInfo == nullptr || !named->IsInstance(FRoot))
    Fail(Node.Line, Format(L"the layout is for a %ls, which %ls is not", Node.ClassName.c_str(), FRoot->ClassName()));
  Guard(Node.Line, L"cannot name the " + String(FRoot->ClassName()), [&] { FRoot->SetName(Node.Name); });
  ReadBody(FRoot, Node);
}

void TLayoutReader::ReadChild(TComponent* Enclosing, const TLayoutObject& Node) {
  const TClassInfo* info = FindClassInfo(Node.ClassName);
  if (info == nullptr) Fail(Node.Line, L"unknown class '" + Node.ClassName + L"'");
  if (!info->CanCreate()) Fail(Node.Line, L"class '" + info->Name() + L"' cannot be created from a layout");
  TComponent* c = Guard(Node.Line, L"cannot create a " + info->Name(), [&] { return info->Create(FRoot); });
  c->SetLoadingState(true);
  c->SetReadingState(true);
  FCreated.push_back({c, Node.Line});
  Guard(Node.Line, Format(L"cannot name a %ls '%ls'", c->ClassName(), Node.Name.c_str()),
        [&] { c->SetName(Node.Name); });
  if (Enclosing != FRoot || c->HasParent())
    Guard(Node.Line, Format(L"cannot place '%ls' in '%ls'", Node.Name.c_str(), Enclosing->Name().c_str()),
          [&] { c->SetParentComponent(Enclosing); });
  if (const TFieldInfo* field = FRootInfo->FindField(Node.Name)) {
    if (!field->Assign(FRoot, c))
      Fail(Node.Line, Format(L"field '%ls' of %ls holds a %ls, not a %ls", field->Name.c_str(), FRoot->ClassName(),
                             field->FieldClass->Name().c_str(), c->ClassName()));
  }
  ReadBody(c, Node);
}

void TLayoutReader::ReadBody(TComponent* Instance, const TLayoutObject& Node) {
  for (const TLayoutProperty& p : Node.Properties) ApplyProperty(Instance, p);
  for (const TLayoutObject& child : Node.Children) ReadChild(Instance, child);
}

void TLayoutReader::ApplyProperty(TObject* Instance, const TLayoutProperty& Prop) {
  TObject* target = Instance;
  const TPropInfo& info = ResolvePath(target, Prop);
  ApplyValue(target, info, Prop.Value);
}

// Walks Margins.Left: every step but the last names a sub-object.
const TPropInfo& TLayoutReader::ResolvePath(TObject*& Target, const TLayoutProperty& Prop) {
  size_t start = 0;
  for (;;) {
    size_t dot = Prop.Path.find(L'.', start);
    String part = Prop.Path.substr(start, dot == String::npos ? String::npos : dot - start);
    const TClassInfo* info = ClassInfoOf(Target);
    const TPropInfo* p = info != nullptr ? info->FindProperty(part) : nullptr;
    if (p == nullptr) Fail(Prop.Line, Format(L"unknown property '%ls' of %ls", part.c_str(), Target->ClassName()));
    if (dot == String::npos) return *p;
    if (p->Kind != pkPersistent && p->Kind != pkCollection)
      Fail(Prop.Line, Format(L"property '%ls' of %ls is not an object, so '%ls' cannot be set", part.c_str(),
                             Target->ClassName(), Prop.Path.c_str()));
    TObject* sub = Guard(Prop.Line, Format(L"cannot get '%ls' of %ls", part.c_str(), Target->ClassName()),
                         [&] { return std::get<TObject*>(p->Read(Target)); });
    if (sub == nullptr)
      Fail(Prop.Line, Format(L"property '%ls' of %ls is not assigned", part.c_str(), Target->ClassName()));
    Target = sub;
    start = dot + 1;
  }
}

void TLayoutReader::ApplyValue(TObject* Target, const TPropInfo& Info, const TLayoutValue& Value) {
  const String where = Format(L"'%ls' of %ls", Info.Name.c_str(), Target->ClassName());
  auto wrongKind = [&] {
    Fail(Value.Line, L"property " + where + L" expects " + KindText(Info) + L", not " + ValueText(Value));
  };
  switch (Info.Kind) {
    case pkPersistent:
      Fail(Value.Line, L"property " + where + L" is an object: set its properties ('" + Info.Name + L".Name = ...')");
    case pkCollection:
      if (Value.Kind != TLayoutValueKind::Collection) wrongKind();
      ReadCollection(Target, Info, where, Value);
      return;
    case pkEvent:
      if (Value.Kind != TLayoutValueKind::Identifier) wrongKind();
      BindEvent(Target, Info, where, Value);
      return;
    case pkComponent:
      if (Value.Kind != TLayoutValueKind::Identifier) wrongKind();
      if (SameText(Value.Text, L"nil"))
        Write(Target, Info, where, TPropValue(std::in_place_type<TObject*>, nullptr), Value.Line);
      else
        FFixups.push_back({Target, &Info, where, Value.Text, Value.Line});
      return;
    default:
      Write(Target, Info, where, Convert(Info, where, Value), Value.Line);
      return;
  }
}

TPropValue TLayoutReader::Convert(const TPropInfo& Info, const String& Where, const TLayoutValue& Value) {
  using K = TLayoutValueKind;
  const int line = Value.Line;
  auto wrongKind = [&] {
    Fail(line, L"property " + Where + L" expects " + KindText(Info) + L", not " + ValueText(Value));
  };
  auto checkRange = [&](int64_t v) {
    if (v < Info.MinValue || v > Info.MaxValue)
      Fail(line, IntToStr(v) + L" is out of range for property " + Where + L" (" + IntToStr(Info.MinValue) + L".." +
                     IntToStr(Info.MaxValue) + L")");
    return TPropValue(std::in_place_type<int64_t>, v);
  };
  switch (Info.Kind) {
    case pkBool:
      if (Value.Kind == K::Identifier && SameText(Value.Text, L"True")) return TPropValue(std::in_place_type<bool>, true);
      if (Value.Kind == K::Identifier && SameText(Value.Text, L"False")) return TPropValue(std::in_place_type<bool>, false);
      break;
    case pkInteger:
      if (Value.Kind == K::Integer) return checkRange(Value.Integer);
      break;
    case pkFloat:
      if (Value.Kind == K::Integer) return TPropValue(std::in_place_type<double>, static_cast<double>(Value.Integer));
      if (Value.Kind == K::Float) return TPropValue(std::in_place_type<double>, Value.Float);
      break;
    case pkString:
      if (Value.Kind == K::String) return TPropValue(std::in_place_type<String>, Value.Text);
      break;
    case pkBinary:
      if (Value.Kind == K::Binary) return TPropValue(std::in_place_type<std::vector<uint8_t>>, Value.Binary);
      break;
    case pkColor:
      if (Value.Kind == K::Integer) return checkRange(Value.Integer);
      if (Value.Kind == K::Identifier) {
        TColor color;
        if (!IdentToColor(Value.Text, color))
          Fail(line, L"unknown colour '" + Value.Text + L"' for property " + Where);
        return TPropValue(std::in_place_type<int64_t>, static_cast<int64_t>(static_cast<uint32_t>(color)));
      }
      break;
    case pkEnum:
      if (Value.Kind == K::Identifier)
        return TPropValue(std::in_place_type<int64_t>, EnumValue(Info, Where, Value.Text, line, false));
      break;
    case pkSet:
      if (Value.Kind == K::Set) {
        uint64_t bits = 0;
        for (const String& member : Value.Set) {
          int64_t v = EnumValue(Info, Where, member, line, true);
          if (v < 0 || v > 63) Fail(line, L"value '" + member + L"' cannot be a member of a set");
          bits |= uint64_t(1) << v;
        }
        return TPropValue(std::in_place_type<int64_t>, static_cast<int64_t>(bits));
      }
      break;
    default:
      break;
  }
  wrongKind();
  return TPropValue();
}

int64_t TLayoutReader::EnumValue(const TPropInfo& Info, const String& Where, const String& Ident, int Line,
                                 bool InSet) const {
  if (Info.Enum == nullptr || !Info.Enum->Registered())
    Fail(Line, L"the enumeration of property " + Where + L" (" + Info.TypeName() + L") is not registered");
  int64_t v;
  if (!Info.Enum->ValueOf(Ident, v))
    Fail(Line, L"unknown value '" + Ident + L"' of " + Info.Enum->Name() +
                   (InSet ? L" in the set for property " : L" for property ") + Where);
  return v;
}

void TLayoutReader::ReadCollection(TObject* Target, const TPropInfo& Info, const String& Where,
                                   const TLayoutValue& Value) {
  auto* collection = dynamic_cast<TCollection*>(
      Guard(Value.Line, L"cannot get " + Where, [&] { return std::get<TObject*>(Info.Read(Target)); }));
  if (collection == nullptr) Fail(Value.Line, L"property " + Where + L" is not assigned");
  // Refilling a collection would free items that pending references point into.
  if (std::find(FCollections.begin(), FCollections.end(), collection) != FCollections.end())
    Fail(Value.Line, L"collection " + Where + L" is given twice");
  FCollections.push_back(collection);
  collection->BeginUpdate();
  try {
    Guard(Value.Line, L"cannot clear " + Where, [&] { collection->Clear(); });
    for (const TLayoutItem& item : Value.Items) {
      TCollectionItem* added = Guard(item.Line, L"cannot add an item to " + Where, [&] { return collection->Add(); });
      for (const TLayoutProperty& p : item.Properties) ApplyProperty(added, p);
    }
  } catch (...) {
    collection->EndUpdate();
    throw;
  }
  Guard(Value.Line, L"cannot update " + Where, [&] { collection->EndUpdate(); });
}

void TLayoutReader::BindEvent(TObject* Target, const TPropInfo& Info, const String& Where, const TLayoutValue& Value) {
  const THandlerInfo* handler = FRootInfo->FindHandler(Value.Text);
  if (handler == nullptr)
    Fail(Value.Line, Format(L"unknown handler '%ls' of %ls for event %ls", Value.Text.c_str(), FRoot->ClassName(),
                            Where.c_str()));
  if (*handler->EventType != *Info.EventType)
    Fail(Value.Line, Format(L"handler '%ls' of %ls is %ls, but event %ls is %ls", handler->Name.c_str(),
                            FRoot->ClassName(), handler->Signature().c_str(), Where.c_str(), Info.TypeName().c_str()));
  Write(Target, Info, Where, TPropValue(std::in_place_type<std::any>, handler->Bind(FRoot)), Value.Line);
}

void TLayoutReader::Write(TObject* Target, const TPropInfo& Info, const String& Where, const TPropValue& Value,
                          int Line) {
  if (!Info.Write) Fail(Line, L"property " + Where + L" is read-only");
  Guard(Line, L"cannot set " + Where, [&] { Info.Write(Target, Value); });
}

void TLayoutReader::ResolveFixups() {
  for (const TFixup& f : FFixups) {
    TComponent* c = FindReference(f.Name);
    if (c == nullptr) Fail(f.Line, L"unknown component '" + f.Name + L"' for property " + f.Where);
    if (!f.Prop->ObjectClass->IsInstance(c))
      Fail(f.Line, Format(L"component '%ls' is a %ls, but property %ls holds a %ls", f.Name.c_str(), c->ClassName(),
                          f.Where.c_str(), f.Prop->ObjectClass->Name().c_str()));
    Write(f.Target, *f.Prop, f.Where, TPropValue(std::in_place_type<TObject*>, c), f.Line);
  }
}

// A name among the root's components (or the root itself), or Form1.Name in another root.
TComponent* TLayoutReader::FindReference(const String& Name) const {
  size_t dot = Name.find(L'.');
  if (dot == String::npos) return SameText(Name, FRoot->Name()) ? FRoot : FRoot->FindComponent(Name);
  String qualifier = Name.substr(0, dot);
  String rest = Name.substr(dot + 1);
  TComponent* root = SameText(qualifier, FRoot->Name()) ? FRoot : FindLayoutRoot(qualifier);
  if (root == nullptr || rest.find(L'.') != String::npos) return nullptr;
  return root->FindComponent(rest);
}

void TLayoutReader::Finish(int Line) {
  FRoot->SetReadingState(false);
  for (const TCreated& c : FCreated) c.Component->SetReadingState(false);
  Guard(Line, L"Loaded of '" + FRoot->Name() + L"' failed", [&] { FRoot->Loaded(); });
  for (const TCreated& c : FCreated)
    Guard(c.Line, L"Loaded of '" + c.Component->Name() + L"' failed", [&] { c.Component->Loaded(); });
}

// After an error nothing will call Loaded: leave no component believing it is still loading.
void TLayoutReader::Abandon() {
  FRoot->SetReadingState(false);
  FRoot->SetLoadingState(false);
  for (const TCreated& c : FCreated) {
    c.Component->SetReadingState(false);
    c.Component->SetLoadingState(false);
  }
}

}  // namespace

void ReadLayout(TComponent* Root, const TLayoutObject& Layout, const String& SourceName) {
  TLayoutReader reader(Root, SourceName);
  reader.Read(Layout);
}

void ReadLayout(TComponent* Root, const std::string& Utf8Text, const String& SourceName) {
  ReadLayout(Root, ParseLayout(Utf8Text, SourceName), SourceName);
}

// ---- Resources ----------------------------------------------------------------------------

namespace {

struct TNameSearch {
  const String* Wanted;
  String Found;
};

BOOL CALLBACK MatchResourceName(HMODULE, LPCWSTR, LPWSTR Name, LONG_PTR Param) {
  auto* search = reinterpret_cast<TNameSearch*>(Param);
  if (IS_INTRESOURCE(Name) || !SameText(Name, *search->Wanted)) return TRUE;
  search->Found = Name;
  return FALSE;
}

}  // namespace

bool LoadLayoutText(HINSTANCE Instance, const String& ResourceName, std::string& Text) {
  if (ResourceName.empty()) return false;
  HRSRC res = ::FindResourceW(Instance, UpperCase(ResourceName).c_str(), RT_RCDATA);
  if (res == nullptr) res = ::FindResourceW(Instance, ResourceName.c_str(), RT_RCDATA);
  if (res == nullptr) {
    TNameSearch search{&ResourceName, String()};
    ::EnumResourceNamesW(Instance, RT_RCDATA, MatchResourceName, reinterpret_cast<LONG_PTR>(&search));
    if (!search.Found.empty()) res = ::FindResourceW(Instance, search.Found.c_str(), RT_RCDATA);
  }
  if (res == nullptr) return false;
  HGLOBAL handle = ::LoadResource(Instance, res);
  DWORD size = ::SizeofResource(Instance, res);
  const void* data = handle != nullptr ? ::LockResource(handle) : nullptr;
  if (data == nullptr && size != 0) return false;
  Text.assign(static_cast<const char*>(data), size);
  return true;
}

bool ReadLayoutResource(TComponent* Root, HINSTANCE Instance, const String& ResourceName) {
  std::string text;
  if (!LoadLayoutText(Instance, ResourceName, text)) return false;
  ReadLayout(Root, text, UpperCase(ResourceName));
  return true;
}

// ---- Named roots --------------------------------------------------------------------------

void RegisterLayoutRoot(TComponent* Root) {
  auto& roots = NamedRoots();
  if (Root != nullptr && std::find(roots.begin(), roots.end(), Root) == roots.end()) roots.push_back(Root);
}

void UnregisterLayoutRoot(TComponent* Root) {
  auto& roots = NamedRoots();
  roots.erase(std::remove(roots.begin(), roots.end(), Root), roots.end());
}

TComponent* FindLayoutRoot(const String& Name) {
  for (TComponent* r : NamedRoots())
    if (!r->Name().empty() && SameText(r->Name(), Name)) return r;
  return nullptr;
}
