// Reading the shapes of shape layers: groups, geometry, paints and modifiers.
#include <algorithm>
#include <cmath>

#include "lib/kaLottie/LottieParse.h"

namespace kaLottie {

namespace {

std::string TypeOf(const TParser& P, const TJson& J, const TLoc& Where) {
  const TJson* ty = TParser::Member(J, "ty");
  if (ty == nullptr) Fail(Where, "missing ty");
  if (!ty->is_string()) Fail(Where["ty"], "expected a string");
  return ty->get<std::string>();
}

bool AllStatic(std::initializer_list<const TAnimated*> Props) {
  return std::all_of(Props.begin(), Props.end(), [](const TAnimated* p) { return p->IsStatic(); });
}

int NestingOf(const TShapeList& Items) {
  int deepest = 0;
  for (const auto& item : Items) deepest = std::max(deepest, item->Nesting);
  return deepest + 1;
}

void Cache(TGeometryShape& G, bool Static) {
  G.Static = Static;
  if (Static) BuildGeometry(G, 0, G.Cached);
}

}  // namespace

void TParser::Shapes(const TJson& Array, const TLoc& Where, int Depth, TShapeList& Out) {
  ArrayAt(Array, Where);
  if (Depth > kMaxGroupDepth) {
    Note("depth", Where, "groups nested deeper than " + std::to_string(kMaxGroupDepth) + " levels are skipped");
    return;
  }
  for (size_t i = 0; i < Array.size(); ++i) {
    TLoc at = Where[i];
    const TJson& item = ObjectAt(Array[i], at);
    if (++ShapeCount > kMaxShapes) Fail(at, "more than " + std::to_string(kMaxShapes) + " shapes");
    if (Flag(item, "hd", at)) continue;
    auto shape = Shape(item, at, Depth, Out);
    if (shape == nullptr) continue;
    if (shape->Nesting > kMaxGroupDepth) {
      // Only repeaters after repeaters get here (groups stop at the depth check above).
      Note("depth", at,
           "groups and repeaters nested deeper than " + std::to_string(kMaxGroupDepth) + " levels are skipped");
      continue;
    }
    Out.push_back(std::move(shape));
  }
}

std::unique_ptr<TShape> TParser::Shape(const TJson& J, const TLoc& Where, int Depth, TShapeList& Before) {
  std::string type = TypeOf(*this, J, Where);
  if (type == "gr") {
    auto g = std::make_unique<TGroupShape>();
    if (const TJson* it = Member(J, "it")) {
      Shapes(*it, Where["it"], Depth + 1, g->Items);
      // The group's transform is one of its items ("tr"), usually the last.
      const TJson& items = *it;
      for (size_t i = items.size(); i-- > 0;) {
        const TJson* ty = Member(items[i], "ty");
        if (ty != nullptr && ty->is_string() && ty->get<std::string>() == "tr") {
          Transform(items[i], Where["it"][i], g->Transform);
          break;
        }
      }
    }
    g->Transform.Resolve();
    g->Nesting = NestingOf(g->Items);
    return g;
  }
  if (type == "sh" || type == "rc" || type == "el" || type == "sr") return Geometry(type, J, Where);
  if (type == "fl" || type == "st" || type == "gf" || type == "gs") return Style(type, J, Where);
  if (type == "tm") {
    auto t = std::make_unique<TTrimShape>();
    Property(J, "s", Where, TValueKind::Plain, t->Start);
    Property(J, "e", Where, TValueKind::Plain, t->End);
    Property(J, "o", Where, TValueKind::Plain, t->Offset);
    t->Individually = NumberOr(J, "m", Where, 1) == 2;
    return t;
  }
  if (type == "rd") {
    auto r = std::make_unique<TRoundShape>();
    Property(J, "r", Where, TValueKind::Plain, r->Radius);
    return r;
  }
  if (type == "rp") return Repeater(J, Where, Before);
  if (type == "tr") return nullptr;  // read by its group
  if (type == "mm") {
    Note("mm", Where, "merge paths are drawn as their paths, unmerged");
    return nullptr;
  }
  Note(("shape " + type).c_str(), Where, "shapes of type \"" + type + "\" are skipped");
  return nullptr;
}

std::unique_ptr<TShape> TParser::Geometry(const std::string& Type, const TJson& J, const TLoc& Where) {
  bool reversed = NumberOr(J, "d", Where, 1) == 3;
  if (Type == "sh") {
    auto s = std::make_unique<TPathShape>();
    PathProperty(J, "ks", Where, s->Path);
    // A path keeps its own drawing direction ("d" only turns the generated shapes).
    s->Static = s->Path.IsStatic();
    if (s->Static) s->Path.Evaluate(0, s->Cached);
    return s;
  }
  if (Type == "rc") {
    auto s = std::make_unique<TRectShape>();
    s->Reversed = reversed;
    Property(J, "p", Where, TValueKind::Position, s->Position);
    Property(J, "s", Where, TValueKind::Plain, s->Size);
    Property(J, "r", Where, TValueKind::Plain, s->Roundness);
    Cache(*s, AllStatic({&s->Position, &s->Size, &s->Roundness}));
    return s;
  }
  if (Type == "el") {
    auto s = std::make_unique<TEllipseShape>();
    s->Reversed = reversed;
    Property(J, "p", Where, TValueKind::Position, s->Position);
    Property(J, "s", Where, TValueKind::Plain, s->Size);
    Cache(*s, AllStatic({&s->Position, &s->Size}));
    return s;
  }
  auto s = std::make_unique<TStarShapeDef>();
  s->Reversed = reversed;
  s->Polygon = NumberOr(J, "sy", Where, 1) == 2;
  Property(J, "p", Where, TValueKind::Position, s->Position);
  Property(J, "pt", Where, TValueKind::Plain, s->Points);
  Property(J, "or", Where, TValueKind::Plain, s->OuterRadius);
  Property(J, "os", Where, TValueKind::Plain, s->OuterRoundness);
  Property(J, "r", Where, TValueKind::Plain, s->Rotation);
  if (!s->Polygon) {
    Property(J, "ir", Where, TValueKind::Plain, s->InnerRadius);
    Property(J, "is", Where, TValueKind::Plain, s->InnerRoundness);
  }
  Cache(*s, AllStatic({&s->Position, &s->Points, &s->OuterRadius, &s->OuterRoundness, &s->Rotation, &s->InnerRadius,
                       &s->InnerRoundness}));
  return s;
}

void TParser::StrokeSettings(const TJson& J, const TLoc& Where, TStyleShape& S) {
  Property(J, "w", Where, TValueKind::Plain, S.Width);
  switch (static_cast<int>(NumberOr(J, "lc", Where, 2))) {
    case 1: S.Cap = TLineCap::Butt; break;
    case 3: S.Cap = TLineCap::Square; break;
    default: S.Cap = TLineCap::Round; break;
  }
  switch (static_cast<int>(NumberOr(J, "lj", Where, 2))) {
    case 1: S.Join = TLineJoin::Miter; break;
    case 3: S.Join = TLineJoin::Bevel; break;
    default: S.Join = TLineJoin::Round; break;
  }
  if (Member(J, "ml2") != nullptr)
    Property(J, "ml2", Where, TValueKind::Plain, S.MiterLimit);
  else
    S.MiterLimit = TAnimated(std::vector<double>{NumberOr(J, "ml", Where, 4)});
  const TJson* d = Member(J, "d");
  if (d == nullptr) return;
  TLoc at = Where["d"];
  ArrayAt(*d, at);
  if (d->size() > kMaxDashes)
    Note("dashes", at, "dash patterns past " + std::to_string(kMaxDashes) + " entries are cut");
  for (size_t i = 0; i < std::min(d->size(), kMaxDashes); ++i) {
    const TJson& e = ObjectAt((*d)[i], at[i]);
    TDash dash;
    if (const TJson* n = Member(e, "n"); n != nullptr && n->is_string()) {
      std::string kind = n->get<std::string>();
      dash.Kind = kind == "o" ? TDashKind::Offset : kind == "g" ? TDashKind::Gap : TDashKind::Dash;
    }
    Property(e, "v", at[i], TValueKind::Plain, dash.Length);
    S.Dashes.push_back(std::move(dash));
  }
}

void TParser::GradientSettings(const TJson& J, const TLoc& Where, TStyleShape& S) {
  S.Radial = NumberOr(J, "t", Where, 1) == 2;
  Property(J, "s", Where, TValueKind::Position, S.Start);
  Property(J, "e", Where, TValueKind::Position, S.End);
  Property(J, "h", Where, TValueKind::Plain, S.HighlightLength);
  Property(J, "a", Where, TValueKind::Plain, S.HighlightAngle);
  const TJson* g = Member(J, "g");
  if (g == nullptr) Fail(Where, "missing g");
  ObjectAt(*g, Where["g"]);
  double count = NumberOr(*g, "p", Where["g"], 0);
  S.ColorStops = static_cast<int>(std::clamp(count, 0.0, double(kMaxGradientStops)));
  Property(*g, "k", Where["g"], TValueKind::Gradient, S.Stops);
  if (S.Stops.Dim == 0) Fail(Where["g"], "missing k");
}

std::unique_ptr<TShape> TParser::Style(const std::string& Type, const TJson& J, const TLoc& Where) {
  auto s = std::make_unique<TStyleShape>();
  s->IsStroke = Type == "st" || Type == "gs";
  s->IsGradient = Type == "gf" || Type == "gs";
  Property(J, "o", Where, TValueKind::Plain, s->Opacity);
  if (s->IsStroke)
    StrokeSettings(J, Where, *s);
  else
    s->Rule = NumberOr(J, "r", Where, 1) == 2 ? TFillRule::EvenOdd : TFillRule::NonZero;
  if (s->IsGradient)
    GradientSettings(J, Where, *s);
  else
    Property(J, "c", Where, TValueKind::Color, s->Color);
  return s;
}

std::unique_ptr<TShape> TParser::Repeater(const TJson& J, const TLoc& Where, TShapeList& Before) {
  auto r = std::make_unique<TRepeaterShape>();
  Property(J, "c", Where, TValueKind::Plain, r->Copies);
  Property(J, "o", Where, TValueKind::Plain, r->Offset);
  r->Below = NumberOr(J, "m", Where, 1) == 2;
  if (const TJson* tr = Member(J, "tr")) {
    TLoc at = Where["tr"];
    ObjectAt(*tr, at);
    Property(*tr, "a", at, TValueKind::Position, r->Anchor);
    Property(*tr, "p", at, TValueKind::Position, r->Position);
    Property(*tr, "s", at, TValueKind::Plain, r->Scale);
    Property(*tr, "r", at, TValueKind::Plain, r->Rotation);
    Property(*tr, "so", at, TValueKind::Plain, r->StartOpacity);
    Property(*tr, "eo", at, TValueKind::Plain, r->EndOpacity);
  }
  // What the repeater copies is everything before it in its group.
  r->Items = std::move(Before);
  Before.clear();
  r->Nesting = NestingOf(r->Items);
  return r;
}

}  // namespace kaLottie
