// Published properties as data: one table per class, written once in the class's .cpp and
// found by class name. A class inherits the tables of its ancestors. Layout streaming reads
// these tables to create components by name, assign their properties and bind their events.
//
//   KA_REGISTER_ENUM(TAlign, {{L"alNone", alNone}, {L"alTop", alTop}, ...});
//   KA_REGISTER_CLASS(TkaGPPanel, [](auto& c) {
//     c.Property(L"FillColor", &TkaGPPanel::FillColor, &TkaGPPanel::SetFillColor);
//     c.Property(L"Margins", &TControl::Margins);      // sub-object: const getter returning a pointer
//     c.Property(L"OnClick", &TControl::OnClick);      // event: a public std::function member
//   });
//   KA_REGISTER_CLASS(TForm1, [](auto& c) {
//     c.Handler(L"CloseButtonClick", &TForm1::CloseButtonClick);
//     c.Field(L"CloseButton", &TForm1::CloseButton);
//   });
//
// The value kind of a property follows from its C++ type: bool, integers, floating point,
// String, TColor, registered enumerations, TSet<Enum>, pointers to TComponent descendants
// (references to other components), pointers to other TPersistent descendants (sub-objects,
// TCollection descendants being collections), std::vector<uint8_t> (binary data) and
// std::function (events). Classes named in property types must be complete at registration.
// Classes must declare themselves with KA_CLASS: the table chain follows its `inherited`.
#pragma once

#include <any>
#include <cstdint>
#include <functional>
#include <limits>
#include <memory>
#include <tuple>
#include <type_traits>
#include <typeinfo>
#include <utility>
#include <variant>
#include <vector>

#include "framework/Classes.h"

enum TPropKind {
  pkBool, pkInteger, pkFloat, pkString, pkColor, pkEnum, pkSet, pkComponent, pkPersistent,
  pkCollection, pkBinary, pkEvent
};

// A property value in the representation of its kind: bool; int64_t for integers, colours,
// enumerations and sets (the bit mask); double; String; TObject* for component references and
// sub-objects; the bytes of binary data; the std::function of an event inside a std::any.
using TPropValue =
    std::variant<std::monostate, bool, int64_t, double, String, TObject*, std::vector<uint8_t>, std::any>;

// The value names of an enumeration, registered once with KA_REGISTER_ENUM.
class TEnumInfo {
 public:
  using TValues = std::vector<std::pair<String, int64_t>>;
  const String& Name() const { return FName; }
  bool Registered() const { return FRegistered; }
  const TValues& Values() const { return FValues; }
  // Names compare without case.
  bool ValueOf(const String& Ident, int64_t& Value) const;
  String NameOf(int64_t Value) const;
  void Register(const String& Name, TValues Values);

 private:
  String FName;
  TValues FValues;
  bool FRegistered = false;
};

template <class E>
TEnumInfo& EnumInfoOf() {
  static TEnumInfo info;
  return info;
}

class TClassInfo;

struct TPropInfo {
  String Name;
  TPropKind Kind = pkInteger;
  int64_t MinValue = 0, MaxValue = 0;           // integers and colours
  const TEnumInfo* Enum = nullptr;              // enumerations and sets
  const TClassInfo* ObjectClass = nullptr;      // component references and sub-objects
  const std::type_info* EventType = nullptr;    // events: typeid of their std::function
  String (*TypeName)() = nullptr;               // the declared C++ type, for messages
  std::function<TPropValue(TObject*)> Read;     // empty when there is no getter
  std::function<void(TObject*, const TPropValue&)> Write;  // empty for read-only sub-objects
};

// A method of a form class that an event property can be bound to by name.
struct THandlerInfo {
  String Name;
  const std::type_info* EventType = nullptr;  // typeid of the std::function it fits
  String (*Signature)() = nullptr;
  // The std::function (in a std::any) calling the method on Root.
  std::function<std::any(TObject* Root)> Bind;
};

// A component field of a form class, assigned when the layout creates the component.
struct TFieldInfo {
  String Name;
  const TClassInfo* FieldClass = nullptr;
  // False when Component is not of the field's class.
  std::function<bool(TObject* Root, TComponent* Component)> Assign;
};

class TClassInfo {
 public:
  using TFactory = TComponent* (*)(TComponent* Owner);
  TClassInfo(const wchar_t* Name, const TClassInfo* Base, bool (*IsInstance)(const TObject*));
  TClassInfo(const TClassInfo&) = delete;
  TClassInfo& operator=(const TClassInfo&) = delete;

  const String& Name() const { return FName; }
  const TClassInfo* Base() const { return FBase; }
  int Depth() const;
  bool IsInstance(const TObject* Obj) const { return Obj != nullptr && FIsInstance(Obj); }
  bool InheritsFrom(const TClassInfo* Other) const;

  bool CanCreate() const { return FFactory != nullptr; }
  // Constructs (through Construct, so AfterConstruction runs) with the given owner.
  TComponent* Create(TComponent* Owner) const;

  // These search this class, then its ancestors; names compare without case.
  const TPropInfo* FindProperty(const String& Name) const;
  const THandlerInfo* FindHandler(const String& Name) const;
  const TFieldInfo* FindField(const String& Name) const;
  // This class's own table, in registration order.
  const std::vector<std::unique_ptr<TPropInfo>>& OwnProperties() const { return FProperties; }

  // Filled by the class builder; a later entry of the same name replaces the earlier one.
  void AddProperty(TPropInfo Info);
  void AddHandler(THandlerInfo Info);
  void AddField(TFieldInfo Info);
  void SetFactory(TFactory Factory) { FFactory = Factory; }

 private:
  String FName;
  const TClassInfo* FBase;
  bool (*FIsInstance)(const TObject*);
  TFactory FFactory = nullptr;
  std::vector<std::unique_ptr<TPropInfo>> FProperties;
  std::vector<std::unique_ptr<THandlerInfo>> FHandlers;
  std::vector<std::unique_ptr<TFieldInfo>> FFields;
};

// A class by name, without case; nullptr when no class of that name is known.
const TClassInfo* FindClassInfo(const String& ClassName);
// The most derived known class of an object.
const TClassInfo* ClassInfoOf(const TObject* Obj);

namespace KaTypeInfo {
TClassInfo* NewClassInfo(const wchar_t* Name, const TClassInfo* Base, bool (*IsInstance)(const TObject*));
template <class T>
bool IsInstanceOf(const TObject* Obj) {
  return dynamic_cast<const T*>(Obj) != nullptr;
}
}  // namespace KaTypeInfo

// The table of T, made on first use together with those of its ancestors.
template <class T>
TClassInfo& StaticClassInfo() {
  static_assert(std::is_base_of_v<TObject, T>, "only framework objects have class tables");
  static TClassInfo* info = [] {
    const TClassInfo* base = nullptr;
    if constexpr (!std::is_same_v<T, TObject>) base = &StaticClassInfo<typename T::inherited>();
    return KaTypeInfo::NewClassInfo(T::StaticClassName(), base, &KaTypeInfo::IsInstanceOf<T>);
  }();
  return *info;
}

// ---- Type descriptions and value conversions ---------------------------------------------

namespace KaTypeInfo {

template <class T>
inline constexpr bool kAlwaysFalse = false;

template <class T>
struct TSetTraits {
  static constexpr bool IsSet = false;
};
template <class E>
struct TSetTraits<TSet<E>> {
  static constexpr bool IsSet = true;
  using Enum = E;
};

template <class T>
struct TFunctionTraits {
  static constexpr bool IsFunction = false;
};
template <class Sig>
struct TFunctionTraits<std::function<Sig>> {
  static constexpr bool IsFunction = true;
  using Signature = Sig;
};

String WidenName(const char* Name);

template <class Sig>
struct TSignatureName;

// A readable C++ type name for messages ("void(TObject*, int&)").
template <class T>
String TypeName() {
  if constexpr (std::is_reference_v<T>) {
    using B = std::remove_reference_t<T>;
    String s = std::is_const_v<B> ? L"const " : L"";
    return s + TypeName<std::remove_const_t<B>>() + (std::is_lvalue_reference_v<T> ? L"&" : L"&&");
  } else if constexpr (std::is_pointer_v<T>) {
    using P = std::remove_pointer_t<T>;
    String s = std::is_const_v<P> ? L"const " : L"";
    return s + TypeName<std::remove_cv_t<P>>() + L"*";
  } else if constexpr (std::is_same_v<T, void>) {
    return L"void";
  } else if constexpr (std::is_same_v<T, bool>) {
    return L"bool";
  } else if constexpr (std::is_same_v<T, int>) {
    return L"int";
  } else if constexpr (std::is_same_v<T, unsigned>) {
    return L"unsigned";
  } else if constexpr (std::is_same_v<T, long>) {
    return L"long";
  } else if constexpr (std::is_same_v<T, long long>) {
    return L"int64_t";
  } else if constexpr (std::is_same_v<T, double>) {
    return L"double";
  } else if constexpr (std::is_same_v<T, wchar_t>) {
    return L"wchar_t";
  } else if constexpr (std::is_same_v<T, String>) {
    return L"String";
  } else if constexpr (std::is_same_v<T, TColor>) {
    return L"TColor";
  } else if constexpr (requires { T::StaticClassName(); }) {
    return T::StaticClassName();
  } else if constexpr (TSetTraits<T>::IsSet) {
    return L"TSet<" + TypeName<typename TSetTraits<T>::Enum>() + L">";
  } else if constexpr (TFunctionTraits<T>::IsFunction) {
    return TSignatureName<typename TFunctionTraits<T>::Signature>::Get();
  } else if constexpr (std::is_enum_v<T>) {
    const String& name = EnumInfoOf<T>().Name();
    return name.empty() ? WidenName(typeid(T).name()) : name;
  } else {
    return WidenName(typeid(T).name());
  }
}

template <class R, class... A>
struct TSignatureName<R(A...)> {
  static String Get() {
    std::vector<String> args{TypeName<A>()...};
    String s = TypeName<R>() + L"(";
    for (std::size_t i = 0; i < args.size(); ++i) s += (i == 0 ? L"" : L", ") + args[i];
    return s + L")";
  }
};

template <class V>
constexpr TPropKind KindOf() {
  if constexpr (std::is_same_v<V, bool>) {
    return pkBool;
  } else if constexpr (std::is_same_v<V, TColor>) {
    return pkColor;
  } else if constexpr (std::is_enum_v<V>) {
    return pkEnum;
  } else if constexpr (std::is_integral_v<V>) {
    return pkInteger;
  } else if constexpr (std::is_floating_point_v<V>) {
    return pkFloat;
  } else if constexpr (std::is_same_v<V, String>) {
    return pkString;
  } else if constexpr (TSetTraits<V>::IsSet) {
    return pkSet;
  } else if constexpr (std::is_same_v<V, std::vector<uint8_t>>) {
    return pkBinary;
  } else if constexpr (TFunctionTraits<V>::IsFunction) {
    return pkEvent;
  } else if constexpr (std::is_pointer_v<V>) {
    using P = std::remove_pointer_t<V>;
    static_assert(!std::is_const_v<P>, "a property cannot hand out a const object");
    if constexpr (std::is_base_of_v<TComponent, P>) {
      return pkComponent;
    } else if constexpr (std::is_base_of_v<TCollection, P>) {
      return pkCollection;
    } else {
      static_assert(std::is_base_of_v<TPersistent, P>, "object properties hold TPersistent descendants");
      return pkPersistent;
    }
  } else {
    static_assert(kAlwaysFalse<V>, "this type cannot be a published property");
    return pkInteger;
  }
}

template <class V>
TPropValue ToValue(const V& v) {
  constexpr TPropKind kind = KindOf<V>();
  if constexpr (kind == pkBool) {
    return TPropValue(std::in_place_type<bool>, v);
  } else if constexpr (kind == pkInteger || kind == pkEnum || kind == pkColor) {
    return TPropValue(std::in_place_type<int64_t>, static_cast<int64_t>(v));
  } else if constexpr (kind == pkSet) {
    return TPropValue(std::in_place_type<int64_t>, static_cast<int64_t>(v.Bits()));
  } else if constexpr (kind == pkFloat) {
    return TPropValue(std::in_place_type<double>, static_cast<double>(v));
  } else if constexpr (kind == pkString) {
    return TPropValue(std::in_place_type<String>, v);
  } else if constexpr (kind == pkBinary) {
    return TPropValue(std::in_place_type<std::vector<uint8_t>>, v);
  } else if constexpr (kind == pkEvent) {
    return TPropValue(std::in_place_type<std::any>, v);
  } else {
    return TPropValue(std::in_place_type<TObject*>, static_cast<TObject*>(v));
  }
}

template <class V>
V FromValue(const TPropValue& v) {
  constexpr TPropKind kind = KindOf<V>();
  if constexpr (kind == pkBool) {
    return std::get<bool>(v);
  } else if constexpr (kind == pkColor) {
    return MakeColor(static_cast<uint32_t>(std::get<int64_t>(v)));
  } else if constexpr (kind == pkInteger || kind == pkEnum) {
    return static_cast<V>(std::get<int64_t>(v));
  } else if constexpr (kind == pkSet) {
    return V::FromBits(static_cast<uint64_t>(std::get<int64_t>(v)));
  } else if constexpr (kind == pkFloat) {
    return static_cast<V>(std::get<double>(v));
  } else if constexpr (kind == pkString || kind == pkBinary) {
    return std::get<V>(v);
  } else if constexpr (kind == pkEvent) {
    return std::any_cast<V>(std::get<std::any>(v));
  } else {
    return dynamic_cast<V>(std::get<TObject*>(v));
  }
}

// Describes a property of value type V (without its accessors).
template <class V>
TPropInfo MakePropInfo(const String& Name, TPropKind Kind) {
  TPropInfo p;
  p.Name = Name;
  p.Kind = Kind;
  p.TypeName = &TypeName<V>;
  if constexpr (std::is_integral_v<V> && !std::is_same_v<V, bool>) {
    p.MinValue = static_cast<int64_t>(std::numeric_limits<V>::min());
    if constexpr (std::is_unsigned_v<V> && sizeof(V) >= sizeof(int64_t))
      p.MaxValue = std::numeric_limits<int64_t>::max();
    else
      p.MaxValue = static_cast<int64_t>(std::numeric_limits<V>::max());
  } else if constexpr (std::is_same_v<V, TColor>) {
    // Either the signed or the unsigned reading of 32 bits ($FF000000 and -16777216 alike).
    p.MinValue = std::numeric_limits<int32_t>::min();
    p.MaxValue = std::numeric_limits<uint32_t>::max();
  } else if constexpr (std::is_enum_v<V>) {
    p.Enum = &EnumInfoOf<V>();
  } else if constexpr (TSetTraits<V>::IsSet) {
    p.Enum = &EnumInfoOf<typename TSetTraits<V>::Enum>();
  } else if constexpr (TFunctionTraits<V>::IsFunction) {
    p.EventType = &typeid(V);
  } else if constexpr (std::is_pointer_v<V>) {
    p.ObjectClass = &StaticClassInfo<std::remove_pointer_t<V>>();
  }
  return p;
}

template <class R, class C, class... A>
struct TMethodTraitsBase {
  using Result = R;
  using Class = C;
  using Signature = R(A...);
  using Function = std::function<R(A...)>;
  using ArgTuple = std::tuple<A...>;
  static constexpr std::size_t Arity = sizeof...(A);
  template <class M>
  static Function Bind(C* Self, M Method) {
    return [Self, Method](A... args) -> R { return (Self->*Method)(std::forward<A>(args)...); };
  }
};

template <class M>
struct TMethodTraits {
  static constexpr bool IsMethod = false;
};
template <class R, class C, class... A>
struct TMethodTraits<R (C::*)(A...)> : TMethodTraitsBase<R, C, A...> {
  static constexpr bool IsMethod = true;
  static constexpr bool IsConst = false;
};
template <class R, class C, class... A>
struct TMethodTraits<R (C::*)(A...) const> : TMethodTraitsBase<R, C, A...> {
  static constexpr bool IsMethod = true;
  static constexpr bool IsConst = true;
};
template <class R, class C, class... A>
struct TMethodTraits<R (C::*)(A...) noexcept> : TMethodTraitsBase<R, C, A...> {
  static constexpr bool IsMethod = true;
  static constexpr bool IsConst = false;
};
template <class R, class C, class... A>
struct TMethodTraits<R (C::*)(A...) const noexcept> : TMethodTraitsBase<R, C, A...> {
  static constexpr bool IsMethod = true;
  static constexpr bool IsConst = true;
};

template <class M>
struct TDataMemberTraits {
  static constexpr bool IsDataMember = false;
};
template <class D, class C>
struct TDataMemberTraits<D C::*> {
  static constexpr bool IsDataMember = !std::is_function_v<D>;
  using Type = D;
  using Class = C;
};

}  // namespace KaTypeInfo

// Fills the table of T; handed to the function given to KA_REGISTER_CLASS.
template <class T>
class TClassBuilder {
 public:
  explicit TClassBuilder(TClassInfo& Info) : FInfo(Info) {}

  // A value property: a const getter without arguments and a setter taking the value.
  template <class Getter, class Setter>
  TClassBuilder& Property(const String& Name, Getter Get, Setter Set) {
    using GT = KaTypeInfo::TMethodTraits<Getter>;
    using ST = KaTypeInfo::TMethodTraits<Setter>;
    static_assert(GT::IsMethod && GT::IsConst && GT::Arity == 0, "a getter is a const method without arguments");
    static_assert(ST::IsMethod && ST::Arity == 1, "a setter is a method taking the value");
    static_assert(std::is_base_of_v<typename GT::Class, T> && std::is_base_of_v<typename ST::Class, T>,
                  "the accessors must belong to the class or one of its ancestors");
    using V = std::remove_cvref_t<std::tuple_element_t<0, typename ST::ArgTuple>>;
    using G = std::remove_cvref_t<typename GT::Result>;
    constexpr TPropKind kind = KaTypeInfo::KindOf<V>();
    static_assert(KaTypeInfo::KindOf<G>() == kind, "getter and setter disagree on the kind of value");
    TPropInfo p = KaTypeInfo::MakePropInfo<V>(Name, kind);
    p.Read = [Get](TObject* obj) {
      return KaTypeInfo::ToValue<G>((static_cast<typename GT::Class*>(obj)->*Get)());
    };
    p.Write = [Set](TObject* obj, const TPropValue& v) {
      (static_cast<typename ST::Class*>(obj)->*Set)(KaTypeInfo::FromValue<V>(v));
    };
    FInfo.AddProperty(std::move(p));
    return *this;
  }

  // Either a sub-object (a const getter returning a pointer to a TPersistent descendant, whose
  // properties a layout sets through dotted paths), or an event (a std::function data member).
  template <class M>
  TClassBuilder& Property(const String& Name, M Member) {
    using MT = KaTypeInfo::TMethodTraits<M>;
    using DT = KaTypeInfo::TDataMemberTraits<M>;
    if constexpr (MT::IsMethod) {
      static_assert(MT::IsConst && MT::Arity == 0, "a getter is a const method without arguments");
      static_assert(std::is_base_of_v<typename MT::Class, T>, "the getter must belong to the class or an ancestor");
      using G = std::remove_cvref_t<typename MT::Result>;
      static_assert(std::is_pointer_v<G>, "a property without setter must be a sub-object");
      TPropInfo p = KaTypeInfo::MakePropInfo<G>(Name, SubObjectKind<G>(KaTypeInfo::KindOf<G>()));
      p.Read = [Member](TObject* obj) {
        return KaTypeInfo::ToValue<G>((static_cast<typename MT::Class*>(obj)->*Member)());
      };
      FInfo.AddProperty(std::move(p));
    } else {
      static_assert(DT::IsDataMember, "expected a getter or a std::function member");
      using D = typename DT::Type;
      using C = typename DT::Class;
      static_assert(KaTypeInfo::TFunctionTraits<D>::IsFunction, "a data member property must be a std::function event");
      static_assert(std::is_base_of_v<C, T>, "the event must belong to the class or an ancestor");
      TPropInfo p = KaTypeInfo::MakePropInfo<D>(Name, pkEvent);
      p.Read = [Member](TObject* obj) { return KaTypeInfo::ToValue<D>(static_cast<C*>(obj)->*Member); };
      p.Write = [Member](TObject* obj, const TPropValue& v) {
        static_cast<C*>(obj)->*Member = KaTypeInfo::FromValue<D>(v);
      };
      FInfo.AddProperty(std::move(p));
    }
    return *this;
  }

  // A method event properties can be bound to by name; bound to the object being loaded.
  template <class M>
  TClassBuilder& Handler(const String& Name, M Method) {
    using MT = KaTypeInfo::TMethodTraits<M>;
    static_assert(MT::IsMethod, "a handler is a method");
    using C = typename MT::Class;
    static_assert(std::is_base_of_v<C, T>, "the handler must belong to the class or an ancestor");
    THandlerInfo h;
    h.Name = Name;
    h.EventType = &typeid(typename MT::Function);
    h.Signature = &KaTypeInfo::TSignatureName<typename MT::Signature>::Get;
    h.Bind = [Method](TObject* root) -> std::any { return MT::Bind(static_cast<C*>(root), Method); };
    FInfo.AddHandler(std::move(h));
    return *this;
  }

  // A component field assigned when the layout creates the component of that name.
  template <class F, class C>
  TClassBuilder& Field(const String& Name, F* C::*Member) {
    static_assert(std::is_base_of_v<TComponent, F>, "a field holds a component");
    static_assert(std::is_base_of_v<C, T>, "the field must belong to the class or an ancestor");
    TFieldInfo f;
    f.Name = Name;
    f.FieldClass = &StaticClassInfo<F>();
    f.Assign = [Member](TObject* root, TComponent* component) {
      F* typed = dynamic_cast<F*>(component);
      if (component != nullptr && typed == nullptr) return false;
      static_cast<C*>(root)->*Member = typed;
      return true;
    };
    FInfo.AddField(std::move(f));
    return *this;
  }

 private:
  // A getter alone makes a sub-object even of a component pointer (an owned sub-component).
  template <class V>
  static constexpr TPropKind SubObjectKind(TPropKind Kind) {
    if constexpr (std::is_pointer_v<V>)
      return std::is_base_of_v<TCollection, std::remove_pointer_t<V>> ? pkCollection : pkPersistent;
    else
      return Kind;
  }

  TClassInfo& FInfo;
};

// Registers T's table (and, for creatable components, its factory) at start-up.
template <class T>
class TClassRegistrar {
 public:
  TClassRegistrar() { Setup(); }
  template <class Fill>
  explicit TClassRegistrar(Fill&& FillTable) {
    TClassBuilder<T> builder = Setup();
    FillTable(builder);
  }

 private:
  static TClassBuilder<T> Setup() {
    TClassInfo& info = StaticClassInfo<T>();
    if constexpr (std::is_base_of_v<TComponent, T> && std::is_constructible_v<T, TComponent*>)
      info.SetFactory([](TComponent* Owner) -> TComponent* { return Construct<T>(Owner); });
    return TClassBuilder<T>(info);
  }
};

template <class E>
struct TEnumValue {
  const wchar_t* Name;
  E Value;
};

template <class E>
class TEnumRegistrar {
 public:
  TEnumRegistrar(const wchar_t* TypeName, std::initializer_list<TEnumValue<E>> Values) {
    static_assert(std::is_enum_v<E>, "KA_REGISTER_ENUM takes an enumeration");
    TEnumInfo::TValues values;
    for (const auto& v : Values) values.emplace_back(v.Name, static_cast<int64_t>(v.Value));
    EnumInfoOf<E>().Register(TypeName, std::move(values));
  }
};

#define KA_TI_CONCAT2(a, b) a##b
#define KA_TI_CONCAT(a, b) KA_TI_CONCAT2(a, b)

// KA_REGISTER_CLASS(Cls) or KA_REGISTER_CLASS(Cls, [](auto& c) { c.Property(...); ... });
// at namespace scope in the class's .cpp.
#define KA_REGISTER_CLASS(Cls, ...) \
  static const ::TClassRegistrar<Cls> KA_TI_CONCAT(kaClassRegistrar_, __LINE__){__VA_ARGS__}

// KA_REGISTER_ENUM(TAlign, {{L"alNone", alNone}, {L"alTop", alTop}, ...}); at namespace scope.
#define KA_REGISTER_ENUM(E, ...) \
  static const ::TEnumRegistrar<E> KA_TI_CONCAT(kaEnumRegistrar_, __LINE__)(L## #E, __VA_ARGS__)
