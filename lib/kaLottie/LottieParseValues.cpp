// Reading values: numbers, animatable properties with their keyframes, bezier shapes and
// transforms.
#include <algorithm>
#include <cmath>

#include "lib/kaLottie/LottieParse.h"
#include "lib/kaLottie/kaLottie.h"

namespace kaLottie {

std::string TLoc::Path() const {
  std::vector<const TLoc*> chain;
  for (const TLoc* l = this; l != nullptr && l->FParent != nullptr; l = l->FParent) chain.push_back(l);
  std::string s;
  for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
    if ((*it)->FKey != nullptr) {
      if (!s.empty()) s += '.';
      s += (*it)->FKey;
    } else {
      s += '[' + std::to_string((*it)->FIndex) + ']';
    }
  }
  return s;
}

void Fail(const TLoc& Where, const std::string& What) {
  std::string path = Where.Path();
  throw ELottieError(FromUtf8("Lottie: " + (path.empty() ? std::string() : path + ": ") + What));
}

void TParser::Note(const char* Kind, const TLoc& Where, const std::string& What) {
  // Kinds named after the document's own values (unknown shape types) could be many.
  if (FNoted.size() >= kMaxDiagnostics || !FNoted.insert(Kind).second) return;
  std::string path = Where.Path();
  FDoc.Diagnostics.push_back(FromUtf8("Lottie: " + (path.empty() ? std::string() : path + ": ") + What));
}

const TJson* TParser::Member(const TJson& Object, const char* Key) {
  if (!Object.is_object()) return nullptr;
  auto it = Object.find(Key);
  return it == Object.end() || it->is_null() ? nullptr : &*it;
}

double TParser::Number(const TJson& J, const TLoc& Where) const {
  if (!J.is_number()) Fail(Where, "expected a number");
  double v = J.get<double>();
  if (!std::isfinite(v)) Fail(Where, "expected a finite number");
  return v;
}

double TParser::NumberOr(const TJson& Object, const char* Key, const TLoc& Where, double Default) const {
  const TJson* j = Member(Object, Key);
  if (j == nullptr) return Default;
  // A constant given as a property by some exporters ({"k": 4}).
  if (j->is_object()) {
    const TJson* k = Member(*j, "k");
    if (k != nullptr && k->is_number()) return Number(*k, Where[Key]["k"]);
  }
  return Number(*j, Where[Key]);
}

bool TParser::Flag(const TJson& Object, const char* Key, const TLoc& Where) const {
  const TJson* j = Member(Object, Key);
  if (j == nullptr) return false;
  if (j->is_boolean()) return j->get<bool>();
  return Number(*j, Where[Key]) != 0;
}

const TJson& TParser::ObjectAt(const TJson& J, const TLoc& Where) const {
  if (!J.is_object()) Fail(Where, "expected an object");
  return J;
}

const TJson& TParser::ArrayAt(const TJson& J, const TLoc& Where) const {
  if (!J.is_array()) Fail(Where, "expected an array");
  return J;
}

void TParser::StaticValue(const TJson& J, const TLoc& Where, TValueKind Kind, int Dim,
                          const std::vector<double>& Default, double* Out) const {
  auto fallback = [&](int d) { return d < static_cast<int>(Default.size()) ? Default[static_cast<size_t>(d)] : 0.0; };
  if (J.is_number()) {
    double v = Number(J, Where);
    for (int d = 0; d < Dim; ++d) Out[d] = v;
    return;
  }
  if (!J.is_array()) Fail(Where, "expected a number or an array");
  for (int d = 0; d < Dim; ++d) {
    if (static_cast<size_t>(d) < J.size())
      Out[d] = Number(J[static_cast<size_t>(d)], Where[static_cast<size_t>(d)]);
    else
      Out[d] = fallback(d);
  }
}

namespace {

// One component of an easing handle: a number, or an array with one entry per dimension
// (the last one standing in for missing dimensions).
double EaseComponent(const TParser& P, const TJson& Handle, const char* Name, const TLoc& Where, int D) {
  const TJson* j = TParser::Member(Handle, Name);
  if (j == nullptr) Fail(Where[Name], "missing");
  if (j->is_array()) {
    if (j->empty()) Fail(Where[Name], "expected a number or an array");
    size_t i = std::min(static_cast<size_t>(D), j->size() - 1);
    return P.Number((*j)[i], Where[Name][i]);
  }
  if (!j->is_number()) Fail(Where[Name], "expected a number or an array");
  return P.Number(*j, Where[Name]);
}

int GradientDim(const TJson& Value) {
  if (Value.is_array()) return static_cast<int>(std::min<size_t>(Value.size(), kMaxGradientStops * 6));
  return Value.is_number() ? 1 : 0;
}

void ScaleOldColors(TAnimated& Target) {
  // Very old files give colours as 0..255: any component above 1 tells.
  bool wide = std::any_of(Target.Values.begin(), Target.Values.end(), [](double v) { return v > 1; });
  if (wide)
    for (double& v : Target.Values) v /= 255;
}

}  // namespace

void TParser::ReadEase(const TJson& Key, const TLoc& Where, int Dim, TEase* Out) const {
  const TJson* o = Member(Key, "o");
  const TJson* i = Member(Key, "i");
  if (o == nullptr || i == nullptr) return;  // linear
  TLoc lo = Where["o"], li = Where["i"];
  ObjectAt(*o, lo);
  ObjectAt(*i, li);
  for (int d = 0; d < Dim; ++d) {
    TEase& e = Out[d];
    e.X1 = std::clamp(EaseComponent(*this, *o, "x", lo, d), 0.0, 1.0);
    e.Y1 = EaseComponent(*this, *o, "y", lo, d);
    e.X2 = std::clamp(EaseComponent(*this, *i, "x", li, d), 0.0, 1.0);
    e.Y2 = EaseComponent(*this, *i, "y", li, d);
  }
}

// What the keyframes of a numeric property say, before the old form's gaps are filled.
struct TKeyframeData {
  explicit TKeyframeData(size_t N, size_t Dim)
      : Starts(N * Dim), Ends(N * Dim), HasStart(N), HasEnd(N), Out(N), In(N), Curved(N) {}
  std::vector<double> Starts, Ends;
  std::vector<char> HasStart, HasEnd;
  std::vector<TPointD> Out, In;  // spatial tangents
  std::vector<char> Curved;
};

void TParser::Keyframe(const TJson& Key, const TLoc& At, size_t K, TValueKind Kind, TAnimated& Target,
                       const std::vector<double>& Defaults, TKeyframeData& Data) {
  const size_t dim = static_cast<size_t>(Target.Dim);
  const TJson* t = Member(Key, "t");
  if (t == nullptr) Fail(At, "missing t");
  // Keyframes out of order are taken as coming at the same time as the one before.
  TKeyframe& kf = Target.Keys[K];
  kf.Time = std::max(K > 0 ? Target.Keys[K - 1].Time : -INFINITY, Number(*t, At["t"]));
  kf.Hold = Flag(Key, "h", At);
  if (const TJson* s = Member(Key, "s")) {
    StaticValue(*s, At["s"], Kind, Target.Dim, Defaults, &Data.Starts[K * dim]);
    Data.HasStart[K] = 1;
  }
  if (const TJson* e = Member(Key, "e")) {
    StaticValue(*e, At["e"], Kind, Target.Dim, Defaults, &Data.Ends[K * dim]);
    Data.HasEnd[K] = 1;
  }
  TEase* eases = &Target.Eases[K * dim];
  ReadEase(Key, At, Target.Dim, eases);
  kf.Linear = std::all_of(eases, eases + dim, [](const TEase& e) { return e.IsLinear(); });
  const TJson* to = Member(Key, "to");
  const TJson* ti = Member(Key, "ti");
  if (Kind != TValueKind::Position || dim < 2 || to == nullptr || ti == nullptr) return;
  double a[2], b[2];
  StaticValue(*to, At["to"], Kind, 2, {0, 0}, a);
  StaticValue(*ti, At["ti"], Kind, 2, {0, 0}, b);
  Data.Out[K] = {a[0], a[1]};
  Data.In[K] = {b[0], b[1]};
  Data.Curved[K] = a[0] != 0 || a[1] != 0 || b[0] != 0 || b[1] != 0;
}

void TParser::Keyframes(const TJson& Array, const TLoc& Where, TValueKind Kind, TAnimated& Target) {
  const size_t n = Array.size();
  if (n > kMaxKeyframes) Fail(Where, "more than " + std::to_string(kMaxKeyframes) + " keyframes");
  if (Kind == TValueKind::Gradient) {
    const TJson* s = Member(Array[0], "s");
    Target.Dim = s != nullptr ? GradientDim(*s) : 0;
    if (Target.Dim == 0) Fail(Where[size_t(0)]["s"], "expected the gradient's numbers");
  }
  const size_t dim = static_cast<size_t>(Target.Dim);
  const std::vector<double> defaults = Target.Values;
  TKeyframeData data(n, dim);
  Target.Keys.assign(n, TKeyframe());
  Target.Eases.assign(n * dim, TEase());
  Target.Spatials.clear();
  for (size_t k = 0; k < n; ++k) Keyframe(ObjectAt(Array[k], Where[k]), Where[k], k, Kind, Target, defaults, data);
  // The old form ends with a keyframe holding only its time: its value is where the
  // segment before it went. A segment without an explicit end runs to the next value.
  for (size_t k = 0; k < n; ++k) {
    if (data.HasStart[k]) continue;
    if (k == 0) Fail(Where[k], "missing s");
    const double* from = data.HasEnd[k - 1] ? &data.Ends[(k - 1) * dim] : &data.Starts[(k - 1) * dim];
    std::copy_n(from, dim, &data.Starts[k * dim]);
  }
  for (size_t k = 0; k < n; ++k)
    if (!data.HasEnd[k]) std::copy_n(&data.Starts[(k + 1 < n ? k + 1 : k) * dim], dim, &data.Ends[k * dim]);
  Target.Values.resize(n * 2 * dim);
  for (size_t k = 0; k < n; ++k) {
    std::copy_n(&data.Starts[k * dim], dim, &Target.Values[k * 2 * dim]);
    std::copy_n(&data.Ends[k * dim], dim, &Target.Values[k * 2 * dim + dim]);
    if (!data.Curved[k] || k + 1 == n || Target.Keys[k].Hold) continue;
    Target.Keys[k].Spatial = static_cast<int32_t>(Target.Spatials.size());
    Target.Spatials.push_back(MakeSpatialSegment({data.Starts[k * dim], data.Starts[k * dim + 1]}, data.Out[k],
                                                 data.In[k], {data.Ends[k * dim], data.Ends[k * dim + 1]}));
  }
}

void TParser::Property(const TJson& Object, const char* Key, const TLoc& Where, TValueKind Kind, TAnimated& Target) {
  const TJson* p = Member(Object, Key);
  if (p == nullptr) return;
  TLoc at = Where[Key];
  const TJson* k = p;
  TLoc kat = at;
  TLoc katk = at["k"];
  if (p->is_object()) {
    if (const TJson* x = Member(*p, "x"); x != nullptr && x->is_string())
      Note("expression", at, "expressions are not run; the keyframed values are used");
    k = Member(*p, "k");
    if (k == nullptr) Fail(at, "missing k");
  } else if (!p->is_number() && !p->is_array()) {
    Fail(at, "expected an animatable property");
  }
  const TLoc& valueAt = p->is_object() ? katk : kat;
  if (k->is_array() && !k->empty() && (*k)[0].is_object()) {
    Keyframes(*k, valueAt, Kind, Target);
  } else {
    if (k->is_array() && k->empty()) return;  // nothing given: the default stays
    if (Kind == TValueKind::Gradient) {
      Target.Dim = GradientDim(*k);
      if (Target.Dim == 0) Fail(valueAt, "expected the gradient's numbers");
    }
    std::vector<double> defaults = Target.Values;
    Target.Keys.clear();
    Target.Eases.clear();
    Target.Spatials.clear();
    Target.Values.assign(static_cast<size_t>(Target.Dim), 0.0);
    StaticValue(*k, valueAt, Kind, Target.Dim, defaults, Target.Values.data());
  }
  if (Kind == TValueKind::Color) ScaleOldColors(Target);
}

void TParser::Bezier(const TJson& J, const TLoc& Where, TContour& Out) const {
  // Keyframes hold their shape in an array of one; so do some old static values.
  if (J.is_array()) {
    if (J.empty()) Fail(Where, "expected a bezier shape");
    Bezier(J[0], Where[size_t(0)], Out);
    return;
  }
  const TJson& obj = ObjectAt(J, Where);
  const TJson* v = Member(obj, "v");
  if (v == nullptr) Fail(Where, "missing v");
  ArrayAt(*v, Where["v"]);
  const size_t n = v->size();
  if (n > kMaxVertices) Fail(Where["v"], "more than " + std::to_string(kMaxVertices) + " vertices");
  const TJson* in = Member(obj, "i");
  const TJson* out = Member(obj, "o");
  auto check = [&](const TJson* a, const char* name) {
    if (a == nullptr) return;
    ArrayAt(*a, Where[name]);
    if (a->size() != n) Fail(Where[name], "expected as many points as v");
  };
  check(in, "i");
  check(out, "o");
  auto point = [&](const TJson& p, const TLoc& at) -> TPointD {
    if (!p.is_array() || p.size() < 2) Fail(at, "expected a point [x, y]");
    return {Number(p[0], at[size_t(0)]), Number(p[1], at[size_t(1)])};
  };
  std::vector<TBezierVertex> vertices(n);
  for (size_t i = 0; i < n; ++i) {
    vertices[i].V = point((*v)[i], Where["v"][i]);
    if (in != nullptr) vertices[i].In = point((*in)[i], Where["i"][i]);
    if (out != nullptr) vertices[i].Out = point((*out)[i], Where["o"][i]);
  }
  BezierContour(vertices, Flag(obj, "c", Where), Out);
}

void TParser::PathProperty(const TJson& Object, const char* Key, const TLoc& Where, TAnimatedPath& Target) {
  const TJson* p = Member(Object, Key);
  TLoc at = Where[Key];
  if (p == nullptr) Fail(at, "missing");
  ObjectAt(*p, at);
  if (const TJson* x = Member(*p, "x"); x != nullptr && x->is_string())
    Note("expression", at, "expressions are not run; the keyframed values are used");
  const TJson* k = Member(*p, "k");
  TLoc kat = at["k"];
  if (k == nullptr) Fail(at, "missing k");
  bool keyed = k->is_array() && !k->empty() && (*k)[0].is_object() && Member((*k)[0], "t") != nullptr;
  if (!keyed) {
    Bezier(*k, kat, Target.Static);
    return;
  }
  const size_t n = k->size();
  if (n > kMaxKeyframes) Fail(kat, "more than " + std::to_string(kMaxKeyframes) + " keyframes");
  Target.Keys.assign(n, TKeyframe());
  Target.Eases.assign(n, TEase());
  Target.Starts.assign(n, TContour());
  Target.Ends.assign(n, TContour());
  std::vector<char> hasStart(n), hasEnd(n);
  double last = -INFINITY;
  for (size_t i = 0; i < n; ++i) {
    TLoc ki = kat[i];
    const TJson& key = ObjectAt((*k)[i], ki);
    const TJson* t = Member(key, "t");
    if (t == nullptr) Fail(ki, "missing t");
    last = std::max(last, Number(*t, ki["t"]));
    Target.Keys[i].Time = last;
    Target.Keys[i].Hold = Flag(key, "h", ki);
    if (const TJson* s = Member(key, "s")) {
      Bezier(*s, ki["s"], Target.Starts[i]);
      hasStart[i] = 1;
    }
    if (const TJson* e = Member(key, "e")) {
      Bezier(*e, ki["e"], Target.Ends[i]);
      hasEnd[i] = 1;
    }
    ReadEase(key, ki, 1, &Target.Eases[i]);
  }
  for (size_t i = 0; i < n; ++i) {
    if (hasStart[i]) continue;
    if (i == 0) Fail(kat[i], "missing s");
    Target.Starts[i] = hasEnd[i - 1] ? Target.Ends[i - 1] : Target.Starts[i - 1];
  }
  for (size_t i = 0; i < n; ++i)
    if (!hasEnd[i]) Target.Ends[i] = Target.Starts[i + 1 < n ? i + 1 : i];
}

void TParser::Transform(const TJson& Object, const TLoc& Where, TTransform& Target) {
  Property(Object, "a", Where, TValueKind::Position, Target.Anchor);
  const TJson* p = Member(Object, "p");
  if (p != nullptr && p->is_object() && Member(*p, "k") == nullptr &&
      (Flag(*p, "s", Where["p"]) || Member(*p, "x") != nullptr)) {
    Target.SplitPosition = true;
    Property(*p, "x", Where["p"], TValueKind::Plain, Target.PositionX);
    Property(*p, "y", Where["p"], TValueKind::Plain, Target.PositionY);
  } else {
    Property(Object, "p", Where, TValueKind::Position, Target.Position);
  }
  Property(Object, "s", Where, TValueKind::Plain, Target.Scale);
  if (Member(Object, "r") != nullptr)
    Property(Object, "r", Where, TValueKind::Plain, Target.Rotation);
  else
    Property(Object, "rz", Where, TValueKind::Plain, Target.Rotation);
  Property(Object, "o", Where, TValueKind::Plain, Target.Opacity);
  Property(Object, "sk", Where, TValueKind::Plain, Target.Skew);
  Property(Object, "sa", Where, TValueKind::Plain, Target.SkewAxis);
  for (const char* k : {"rx", "ry", "or"})
    if (Member(Object, k) != nullptr) Note("3d", Where[k], "3D rotation is ignored; layers are drawn flat");
  Target.Resolve();
}

}  // namespace kaLottie
