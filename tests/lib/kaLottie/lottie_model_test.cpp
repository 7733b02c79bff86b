// Frame evaluation of the Lottie player: small documents written here, their scenes checked
// against values worked out by hand (transforms, time, keyframes, shapes and their paint
// order, modifiers, masks, mattes, precomps).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>

#include "lib/kaLottie/LottieModel.h"
#include "lib/kaLottie/kaLottie.h"

namespace {

using namespace kaLottie;

// A 100 x 100 document at 30 fps from frame 0 to 60.
std::string Doc(const std::string& Layers, const std::string& Assets = "[]") {
  return R"({"v":"5.7.0","fr":30,"ip":0,"op":60,"w":100,"h":100,"assets":)" + Assets + R"(,"layers":)" + Layers + "}";
}

// A shape layer, from frame 0 to 60 unless More says otherwise; More adds members
// ("ind":2,"parent":1, ...).
std::string ShapeLayer(const std::string& Shapes, const std::string& Ks = "{}", const std::string& More = "") {
  std::string members = More;
  for (const char* key : {"ip", "op"})
    if (More.find(std::string("\"") + key + "\"") == std::string::npos)
      members += std::string(members.empty() ? "" : ",") + "\"" + key + "\":" + (key[0] == 'i' ? "0" : "60");
  return R"({"ty":4,"st":0,"ks":)" + Ks + "," + members + R"(,"shapes":)" + Shapes + "}";
}

const std::string kRect = R"({"ty":"rc","p":{"k":[5,5]},"s":{"k":[10,10]},"r":{"k":0}})";
const std::string kRed = R"({"ty":"fl","c":{"k":[1,0,0,1]},"o":{"k":100}})";
const std::string kBlue = R"({"ty":"fl","c":{"k":[0,0,1,1]},"o":{"k":100}})";
const std::string kStroke = R"({"ty":"st","c":{"k":[0,0,0,1]},"o":{"k":100},"w":{"k":2}})";

std::unique_ptr<TDocument> Load(const std::string& Json) {
  return ParseDocument(reinterpret_cast<const uint8_t*>(Json.data()), Json.size());
}

void Collect(const TSceneNode& Node, std::vector<const TDrawItem*>& Out) {
  for (const auto& e : Node.Content)
    if (e.Item)
      Out.push_back(e.Item.get());
    else
      Collect(*e.Node, Out);
}

// The draw items of a frame in paint order (the first lowest), mattes and masks aside.
std::vector<const TDrawItem*> Items(const TScene& Scene) {
  std::vector<const TDrawItem*> items;
  Collect(Scene.Root, items);
  return items;
}

struct TFrame {
  std::unique_ptr<TDocument> Doc;
  std::unique_ptr<TScene> Scene;
  std::vector<const TDrawItem*> Items;
};

TFrame Evaluate(const std::string& Json, double Frame) {
  TFrame f;
  f.Doc = Load(Json);
  f.Scene = EvaluateFrame(*f.Doc, Frame);
  f.Items = Items(*f.Scene);
  return f;
}

void ExpectPoint(TPointD Actual, double X, double Y, double Tolerance = 1e-6) {
  EXPECT_NEAR(Actual.X, X, Tolerance);
  EXPECT_NEAR(Actual.Y, Y, Tolerance);
}

TEST(LottieModel, LayerTransformsMapPointsAsTheFormatDefines) {
  struct TCase {
    const char* Ks;
    TPointD In, Out;
  };
  const TCase cases[] = {
      {"{}", {3, 4}, {3, 4}},
      {R"({"a":{"k":[10,10]},"p":{"k":[50,50]}})", {20, 10}, {60, 50}},
      {R"({"s":{"k":[200,50]}})", {10, 10}, {20, 5}},
      {R"({"a":{"k":[10,0]},"r":{"k":90}})", {20, 0}, {0, 10}},  // clockwise on screen
      {R"({"p":{"s":true,"x":{"k":30},"y":{"k":40}}})", {1, 2}, {31, 42}},
      // Anchor out, scale, rotate, then position: (10,5) -> (5,0) -> (10,0) -> (0,10) -> (100,10).
      {R"({"a":{"k":[5,5]},"p":{"k":[100,0]},"s":{"k":[200,100]},"r":{"k":90}})", {10, 5}, {100, 10}},
      // Skew leans what lies above the anchor to the right (as the reference renderer draws).
      {R"({"sk":{"k":30}})", {0, -20}, {11.547005383792516, -20}},
      {R"({"sk":{"k":30},"sa":{"k":45}})", {-20, -20}, {-8.452994616207484, -31.547005383792516}},
      // 3D values of a flat layer: z is dropped.
      {R"({"a":{"k":[0,0,0]},"p":{"k":[10,20,30]},"s":{"k":[100,100,100]}})", {0, 0}, {10, 20}},
  };
  for (const auto& c : cases) {
    auto f = Evaluate(Doc("[" + ShapeLayer("[" + kRect + "," + kRed + "]", c.Ks) + "]"), 0);
    ASSERT_EQ(f.Items.size(), 1u) << c.Ks;
    SCOPED_TRACE(c.Ks);
    ExpectPoint(f.Items[0]->Transform.Apply(c.In), c.Out.X, c.Out.Y);
  }
}

TEST(LottieModel, OpacitiesOfLayerGroupAndPaintMultiply) {
  std::string group = R"({"ty":"gr","it":[)" + kRect + R"(,{"ty":"fl","c":{"k":[1,0,0]},"o":{"k":80}},
      {"ty":"tr","o":{"k":50}}]})";
  auto f = Evaluate(Doc("[" + ShapeLayer("[" + group + "]", R"({"o":{"k":50}})") + "]"), 0);
  ASSERT_EQ(f.Items.size(), 1u);
  EXPECT_NEAR(f.Items[0]->Paint.Opacity, 0.5 * 0.5 * 0.8, 1e-12);
  EXPECT_EQ(f.Items[0]->Paint.Color, (TColorD{1, 0, 0, 1}));
}

TEST(LottieModel, ParentsLendTheirTransformButNotTheirOpacity) {
  // Child at (10,0) in its parent; the parent (a null layer, half transparent) turned 90
  // degrees at (50,0); the grandparent moves everything down 5.
  std::string layers = "[" +
                       ShapeLayer("[" + kRect + "," + kRed + "]", R"({"p":{"k":[10,0]}})", R"("ind":3,"parent":2)") +
                       R"(,{"ty":3,"ind":2,"parent":1,"ip":0,"op":60,"ks":{"p":{"k":[50,0]},"r":{"k":90},"o":{"k":50}}},
                       {"ty":3,"ind":1,"ip":0,"op":60,"hd":true,"ks":{"p":{"k":[0,5]}}}])";
  auto f = Evaluate(Doc(layers), 0);
  ASSERT_EQ(f.Items.size(), 1u);
  ExpectPoint(f.Items[0]->Transform.Apply({0, 0}), 50, 15);
  ExpectPoint(f.Items[0]->Transform.Apply({1, 0}), 50, 16);
  EXPECT_EQ(f.Items[0]->Paint.Opacity, 1);
}

TEST(LottieModel, LayersShowFromTheirInPointUntilTheirOutPoint) {
  std::string doc = Doc("[" + ShapeLayer("[" + kRect + "," + kRed + "]", "{}", R"("ip":10,"op":20)") + "]");
  auto d = Load(doc);
  for (double frame : {9.99, 10.0, 19.99, 20.0})
    EXPECT_EQ(Items(*EvaluateFrame(*d, frame)).size(), frame >= 10 && frame < 20 ? 1u : 0u) << frame;
}

// Opacity keyframes from 0 at Start to 100 at End, linear: a clock to read times with.
std::string Clock(double Start, double End) {
  return R"({"o":{"a":1,"k":[{"t":)" + std::to_string(Start) + R"(,"s":[0]},{"t":)" + std::to_string(End) +
         R"(,"s":[100]}]}})";
}

TEST(LottieModel, TimeOfLayersPrecompsAndTheirContent) {
  // A layer's own keyframes are timed in its composition's frames, whatever its start time
  // (the exporter shifts them with the layer).
  auto f = Evaluate(Doc("[" + ShapeLayer("[" + kRect + "," + kRed + "]", Clock(35, 45), R"("st":35)") + "]"), 40);
  ASSERT_EQ(f.Items.size(), 1u);
  EXPECT_NEAR(f.Items[0]->Paint.Opacity, 0.5, 1e-12);

  // A precomp's content runs on (frame - st) / sr; its layers' in and out points are in
  // that time too.
  std::string assets =
      R"([{"id":"c","layers":[)" + ShapeLayer("[" + kRect + "," + kRed + "]", Clock(0, 20), R"("op":12)") + "]}]";
  auto precomp = [&](const std::string& more) {
    return Doc(R"([{"ty":0,"refId":"c","ip":0,"op":60,"ks":{},)" + more + "}]", assets);
  };
  f = Evaluate(precomp(R"("st":10,"sr":2)"), 30);  // content time 10
  ASSERT_EQ(f.Items.size(), 1u);
  EXPECT_NEAR(f.Items[0]->Paint.Opacity, 0.5, 1e-12);
  EXPECT_TRUE(Evaluate(precomp(R"("st":10,"sr":2)"), 35).Items.empty());  // content time 12.5
  // Time remapping gives the content's time in seconds: 0.3 s at 30 fps is frame 9.
  f = Evaluate(precomp(R"("tm":{"k":0.3})"), 50);
  ASSERT_EQ(f.Items.size(), 1u);
  EXPECT_NEAR(f.Items[0]->Paint.Opacity, 0.45, 1e-12);
}

TEST(LottieModel, FramesOutsideTheDocumentAreClamped) {
  std::string ks = R"({"p":{"a":1,"k":[{"t":0,"s":[0,0]},{"t":60,"s":[60,0]}]}})";
  auto d = Load(Doc("[" + ShapeLayer("[" + kRect + "," + kRed + "]", ks) + "]"));
  auto x = [&](double frame) {
    auto items = Items(*EvaluateFrame(*d, frame));
    return items.size() == 1 ? items[0]->Transform.DX : -1;
  };
  EXPECT_EQ(x(-10), 0);
  EXPECT_EQ(x(NAN), 0);
  // At and past the out point: the last moment before it, where the layer still shows.
  EXPECT_NEAR(x(60), 60, 1e-4);
  EXPECT_NEAR(x(1e300), 60, 1e-4);
}

TEST(LottieModel, KeyframesInterpolateWithTheirEasing) {
  struct TCase {
    const char* Name;
    const char* Position;
    double Frame;
    TPointD Expected;
  };
  const TCase cases[] = {
      {"linear", R"([{"t":0,"s":[0,0]},{"t":10,"s":[100,0]}])", 2.5, {25, 0}},
      {"before the first", R"([{"t":10,"s":[0,0]},{"t":20,"s":[100,0]}])", 0, {0, 0}},
      {"after the last", R"([{"t":10,"s":[0,0]},{"t":20,"s":[100,0]}])", 30, {100, 0}},
      {"bezier, one handle for all",
       R"([{"t":0,"s":[0,0],"o":{"x":0.42,"y":0},"i":{"x":0.58,"y":1}},{"t":10,"s":[100,100]}])",
       2.5,
       {12.91619310473198, 12.91619310473198}},
      // x eases, y is linear: one handle per dimension.
      {"bezier per dimension",
       R"([{"t":0,"s":[0,0],"o":{"x":[0.42,0],"y":[0,0]},"i":{"x":[0.58,1],"y":[1,1]}},{"t":10,"s":[100,100]}])",
       2.5,
       {12.91619310473198, 25}},
      {"overshooting handle",
       R"([{"t":0,"s":[0,0],"o":{"x":0.25,"y":-0.5},"i":{"x":0.75,"y":1.5}},{"t":10,"s":[100,0]}])",
       1,
       {-8.063405387498176, 0}},
      {"hold", R"([{"t":0,"s":[0,0],"h":1},{"t":10,"s":[100,0]}])", 9.99, {0, 0}},
      {"hold ends", R"([{"t":0,"s":[0,0],"h":1},{"t":10,"s":[100,0]}])", 10, {100, 0}},
      // The old form: each keyframe says where its segment goes, the last one only when.
      {"old form", R"([{"t":0,"s":[0,0],"e":[100,50]},{"t":10}])", 5, {50, 25}},
      {"old form, end", R"([{"t":0,"s":[0,0],"e":[100,50]},{"t":10}])", 12, {100, 50}},
      // Along the curve (0,0) (0,-50) (100,-50) (100,0): halfway by length is its apex.
      {"spatial", R"([{"t":0,"s":[0,0],"to":[0,-50],"ti":[0,-50]},{"t":10,"s":[100,0]}])", 5, {50, -37.5}},
      // A curve along a line whose parameter runs unevenly: the point still moves evenly
      // (at parameter 0.3 it would be at 53.7; the reference renderer draws it at 34).
      {"spatial, even speed", R"([{"t":0,"s":[10,50],"to":[60,0],"ti":[0,0]},{"t":10,"s":[90,50]}])", 3, {34, 50}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    std::string ks = std::string(R"({"p":{"a":1,"k":)") + c.Position + "}}";
    auto f = Evaluate(Doc("[" + ShapeLayer("[" + kRect + "," + kRed + "]", ks) + "]"), c.Frame);
    ASSERT_EQ(f.Items.size(), 1u);
    ExpectPoint({f.Items[0]->Transform.DX, f.Items[0]->Transform.DY}, c.Expected.X, c.Expected.Y,
                c.Name[0] == 's' ? 0.1 : 1e-6);
  }
}

TEST(LottieModel, AnimatedPathsBlendVertexByVertex) {
  std::string path = R"({"ty":"sh","ks":{"a":1,"k":[
      {"t":0,"s":[{"v":[[0,0],[10,0]],"i":[[0,0],[0,0]],"o":[[0,0],[0,0]],"c":false}],"o":{"x":[0.5],"y":[0]},"i":{"x":[0.5],"y":[1]}},
      {"t":10,"s":[{"v":[[0,20],[30,0]],"i":[[0,0],[0,0]],"o":[[0,0],[0,0]],"c":false}]}]}})";
  auto f = Evaluate(Doc("[" + ShapeLayer("[" + path + "," + kStroke + "]") + "]"), 2);
  ASSERT_EQ(f.Items.size(), 1u);
  // Eased progress at time 0.2 of the curve (0.5,0) (0.5,1): 0.06449503239314855.
  const double q = 0.06449503239314855;
  ASSERT_EQ(f.Items[0]->Path.size(), 1u);
  ExpectPoint(f.Items[0]->Path[0].Points.front(), 0, 20 * q);
  ExpectPoint(f.Items[0]->Path[0].Points.back(), 10 + 20 * q, 0);
}

TEST(LottieModel, PaintsCoverThePathsBeforeThemAndEarlierItemsLieOnTop) {
  std::string ellipse = R"({"ty":"el","p":{"k":[50,50]},"s":{"k":[20,20]}})";
  std::string shapes = R"([{"ty":"gr","it":[)" + kRect + "," + kRed + R"(]},{"ty":"gr","it":[)" + ellipse + "," +
                       kBlue + "]}," + kStroke + "]";
  auto f = Evaluate(Doc("[" + ShapeLayer(shapes) + "]"), 0);
  ASSERT_EQ(f.Items.size(), 3u);
  // Bottom first: the stroke (last item, both paths), then the second group, then the first.
  EXPECT_TRUE(f.Items[0]->IsStroke);
  EXPECT_EQ(f.Items[0]->Path.size(), 2u);
  EXPECT_EQ(f.Items[1]->Paint.Color, (TColorD{0, 0, 1, 1}));
  EXPECT_EQ(f.Items[1]->Path.size(), 1u);
  EXPECT_EQ(f.Items[2]->Paint.Color, (TColorD{1, 0, 0, 1}));

  // Within one list too: a fill listed before a stroke is drawn over it.
  f = Evaluate(Doc("[" + ShapeLayer("[" + kRect + "," + kRed + "," + kStroke + "]") + "]"), 0);
  ASSERT_EQ(f.Items.size(), 2u);
  EXPECT_TRUE(f.Items[0]->IsStroke);
  EXPECT_FALSE(f.Items[1]->IsStroke);

  // Hidden items and layers draw nothing.
  f = Evaluate(Doc("[" + ShapeLayer("[" + kRect + R"(,{"ty":"fl","hd":true,"c":{"k":[1,0,0]}}])") + "," +
                   ShapeLayer("[" + kRect + "," + kRed + "]", "{}", R"("hd":true)") + "]"),
               0);
  EXPECT_TRUE(f.Items.empty());
}

TEST(LottieModel, PaintsDrawInTheirOwnGroupsSpace) {
  // The rectangle lies in a group scaled 3 times at (50,50); the stroke after the group
  // takes the path into its own space, so its pen is not scaled, and the group's
  // opacity is not its own.
  std::string shapes = R"([{"ty":"gr","it":[{"ty":"rc","p":{"k":[0,0]},"s":{"k":[10,10]}},
      {"ty":"tr","p":{"k":[50,50]},"s":{"k":[300,300]},"o":{"k":50}}]},)" +
                       kStroke + "]";
  auto f = Evaluate(Doc("[" + ShapeLayer(shapes) + "]"), 0);
  ASSERT_EQ(f.Items.size(), 1u);
  const TDrawItem& s = *f.Items[0];
  EXPECT_EQ(s.Transform, TMatrix());
  EXPECT_EQ(s.Stroke.Width, 2);
  EXPECT_EQ(s.Paint.Opacity, 1);
  ExpectPoint(s.Path[0].Points[0], 65, 35);  // the top right corner (5,-5) scaled and moved
  ExpectPoint(s.Path[0].Points[3], 65, 65);

  // A paint inside the group keeps the group's transform (its pen scales with it).
  shapes = R"([{"ty":"gr","it":[{"ty":"rc","p":{"k":[0,0]},"s":{"k":[10,10]}},)" + kStroke +
           R"(,{"ty":"tr","p":{"k":[50,50]},"s":{"k":[300,300]}}]}])";
  f = Evaluate(Doc("[" + ShapeLayer(shapes) + "]"), 0);
  ASSERT_EQ(f.Items.size(), 1u);
  ExpectPoint(f.Items[0]->Path[0].Points[0], 5, -5);
  ExpectPoint(f.Items[0]->Transform.Apply({5, -5}), 65, 35);
}

TEST(LottieModel, FillAndStrokeCarryTheirSettings) {
  std::string shapes = "[" + kRect + R"(,{"ty":"fl","c":{"k":[1,0.5,0,1]},"o":{"k":50},"r":2},
      {"ty":"st","c":{"k":[0,1,0]},"o":{"k":100},"w":{"k":3},"lc":3,"lj":1,"ml":7,
       "d":[{"n":"d","v":{"k":4}},{"n":"g","v":{"k":2}},{"n":"o","v":{"k":1}}]},
      {"ty":"st","c":{"k":[0,1,0]},"o":{"k":100},"w":{"k":1},"lc":1,"lj":3,"d":[{"n":"d","v":{"k":4}}]},
      {"ty":"st","c":{"k":[0,1,0]},"o":{"k":100},"w":{"k":0}}])";
  auto f = Evaluate(Doc("[" + ShapeLayer(shapes) + "]"), 0);
  ASSERT_EQ(f.Items.size(), 3u);  // the stroke of width 0 is left out
  const TDrawItem& bevel = *f.Items[0];
  EXPECT_EQ(bevel.Stroke.Cap, TLineCap::Butt);
  EXPECT_EQ(bevel.Stroke.Join, TLineJoin::Bevel);
  EXPECT_EQ(bevel.Stroke.Dashes, (std::vector<double>{4, 4}));  // a lone dash: dash and gap alike
  const TDrawItem& dashed = *f.Items[1];
  EXPECT_TRUE(dashed.IsStroke);
  EXPECT_EQ(dashed.Stroke.Width, 3);
  EXPECT_EQ(dashed.Stroke.Cap, TLineCap::Square);
  EXPECT_EQ(dashed.Stroke.Join, TLineJoin::Miter);
  EXPECT_EQ(dashed.Stroke.MiterLimit, 7);
  EXPECT_EQ(dashed.Stroke.Dashes, (std::vector<double>{4, 2}));
  EXPECT_EQ(dashed.Stroke.DashOffset, 1);
  EXPECT_EQ(dashed.Paint.Color, (TColorD{0, 1, 0, 1}));
  const TDrawItem& fill = *f.Items[2];
  EXPECT_FALSE(fill.IsStroke);
  EXPECT_EQ(fill.Rule, TFillRule::EvenOdd);
  EXPECT_EQ(fill.Paint.Color, (TColorD{1, 0.5, 0, 1}));
  EXPECT_EQ(fill.Paint.Opacity, 0.5);

  // Very old files give colours as 0..255.
  f = Evaluate(Doc("[" + ShapeLayer("[" + kRect + R"(,{"ty":"fl","c":{"k":[255,51,0]},"o":{"k":100}}])") + "]"), 0);
  ASSERT_EQ(f.Items.size(), 1u);
  EXPECT_EQ(f.Items[0]->Paint.Color, (TColorD{1, 0.2, 0, 1}));
}

TEST(LottieModel, GradientsMergeColourAndOpacityStops) {
  // Red to blue, opaque at the ends and clear in the middle.
  std::string shapes = "[" + kRect + R"(,{"ty":"gf","o":{"k":100},"r":1,"t":1,"s":{"k":[0,5]},"e":{"k":[10,5]},
      "g":{"p":2,"k":{"k":[0,1,0,0, 1,0,0,1, 0,1, 0.5,0, 1,1]}}},
      {"ty":"gs","o":{"k":100},"w":{"k":2},"t":2,"s":{"k":[5,5]},"e":{"k":[5,0]},"h":{"k":50},"a":{"k":30},
      "g":{"p":2,"k":{"k":[0,1,1,1, 1,0,0,0]}}}])";
  auto f = Evaluate(Doc("[" + ShapeLayer(shapes) + "]"), 0);
  ASSERT_EQ(f.Items.size(), 2u);
  const TGradient& radial = f.Items[0]->Paint.Gradient;
  EXPECT_TRUE(f.Items[0]->IsStroke);
  EXPECT_TRUE(f.Items[0]->Paint.IsGradient);
  EXPECT_TRUE(radial.Radial);
  EXPECT_EQ(radial.Start, (TPointD{5, 5}));
  EXPECT_EQ(radial.End, (TPointD{5, 0}));
  EXPECT_EQ(radial.HighlightLength, 0.5);
  EXPECT_EQ(radial.HighlightAngle, 30);
  ASSERT_EQ(radial.Stops.size(), 2u);
  EXPECT_EQ(radial.Stops[1].Color, (TColorD{0, 0, 0, 1}));

  const TGradient& linear = f.Items[1]->Paint.Gradient;
  EXPECT_FALSE(linear.Radial);
  EXPECT_EQ(linear.End, (TPointD{10, 5}));
  ASSERT_EQ(linear.Stops.size(), 3u);
  EXPECT_EQ(linear.Stops[0].Offset, 0);
  EXPECT_EQ(linear.Stops[0].Color, (TColorD{1, 0, 0, 1}));
  EXPECT_EQ(linear.Stops[1].Offset, 0.5);
  EXPECT_EQ(linear.Stops[1].Color, (TColorD{0.5, 0, 0.5, 0}));
  EXPECT_EQ(linear.Stops[2].Color, (TColorD{0, 0, 1, 1}));
}

std::string Line(double X0, double Y0, double X1, double Y1) {
  char buf[160];
  std::snprintf(buf, sizeof buf,
                R"({"ty":"sh","ks":{"k":{"v":[[%g,%g],[%g,%g]],"i":[[0,0],[0,0]],"o":[[0,0],[0,0]],"c":false}}})", X0,
                Y0, X1, Y1);
  return buf;
}

TEST(LottieModel, TrimPathsCutThePathsBeforeThemWhereverTheirPaints) {
  // Lines of 100 and 300 in groups of their own, each with its stroke; the trim after the
  // groups cuts both, and so what their strokes draw.
  auto shapes = [](int Mode) {
    return R"([{"ty":"gr","it":[)" + Line(0, 0, 100, 0) + "," + kStroke + R"(]},{"ty":"gr","it":[)" +
           Line(0, 10, 300, 10) + "," + kStroke + R"(]},{"ty":"tm","s":{"k":20},"e":{"k":60},"o":{"k":0},"m":)" +
           std::to_string(Mode) + "}]";
  };
  // Individually: one sequence of 400, cut at 80 and 240.
  auto f = Evaluate(Doc("[" + ShapeLayer(shapes(2)) + "]"), 0);
  ASSERT_EQ(f.Items.size(), 2u);
  ExpectPoint(f.Items[0]->Path[0].Points.front(), 0, 10);
  ExpectPoint(f.Items[0]->Path[0].Points.back(), 140, 10);
  ExpectPoint(f.Items[1]->Path[0].Points.front(), 80, 0);
  ExpectPoint(f.Items[1]->Path[0].Points.back(), 100, 0);
  // Simultaneously: each path cut on its own at 20 % and 60 %.
  f = Evaluate(Doc("[" + ShapeLayer(shapes(1)) + "]"), 0);
  ASSERT_EQ(f.Items.size(), 2u);
  ExpectPoint(f.Items[0]->Path[0].Points.front(), 60, 10);
  ExpectPoint(f.Items[0]->Path[0].Points.back(), 180, 10);
  ExpectPoint(f.Items[1]->Path[0].Points.front(), 20, 0);
  ExpectPoint(f.Items[1]->Path[0].Points.back(), 60, 0);

  // A trim after the stroke still cuts the path it strokes: the first quarter of a square
  // is its right edge, from the top right corner down.
  f = Evaluate(
      Doc("[" + ShapeLayer("[" + kRect + "," + kStroke + R"(,{"ty":"tm","s":{"k":0},"e":{"k":25},"o":{"k":0}}])") +
          "]"),
      0);
  ASSERT_EQ(f.Items.size(), 1u);
  ASSERT_EQ(f.Items[0]->Path.size(), 1u);
  EXPECT_FALSE(f.Items[0]->Path[0].Closed);
  ExpectPoint(f.Items[0]->Path[0].Points.front(), 10, 0);
  ExpectPoint(f.Items[0]->Path[0].Points.back(), 10, 10);

  // Start equal to end leaves nothing to draw.
  f = Evaluate(
      Doc("[" + ShapeLayer("[" + kRect + "," + kStroke + R"(,{"ty":"tm","s":{"k":40},"e":{"k":40},"o":{"k":0}}])") +
          "]"),
      0);
  EXPECT_TRUE(f.Items.empty());
}

TEST(LottieModel, RoundCornersRoundThePathsBeforeThem) {
  auto f = Evaluate(Doc("[" + ShapeLayer("[" + kRect + R"(,{"ty":"rd","r":{"k":2}},)" + kRed + "]") + "]"), 0);
  ASSERT_EQ(f.Items.size(), 1u);
  const TContour& c = f.Items[0]->Path[0];
  ASSERT_EQ(c.SegmentCount(), 8u);
  // The top right corner (10,0) between (0,0) and (10,10).
  ExpectPoint(c.Points[0], 8, 0);
  ExpectPoint(c.Points[1], 8 + 2 * kCircleKappa, 0);
  ExpectPoint(c.Points[3], 10, 2);
}

TEST(LottieModel, RepeaterCopiesWhatComesBeforeIt) {
  auto repeater = [](const std::string& tr, int mode, const char* offset = "0") {
    return "[" + kRect + "," + kRed + R"(,{"ty":"rp","c":{"k":3},"o":{"k":)" + offset + R"(},"m":)" +
           std::to_string(mode) + R"(,"tr":)" + tr + "}]";
  };
  const std::string step = R"({"p":{"k":[20,0]},"so":{"k":100},"eo":{"k":50}})";
  // Composite 1: the first copy on top, so painted last.
  auto f = Evaluate(Doc("[" + ShapeLayer(repeater(step, 1)) + "]"), 0);
  ASSERT_EQ(f.Items.size(), 3u);
  EXPECT_EQ(f.Items[0]->Transform.DX, 40);
  EXPECT_NEAR(f.Items[0]->Paint.Opacity, 0.5, 1e-12);
  EXPECT_EQ(f.Items[1]->Transform.DX, 20);
  EXPECT_NEAR(f.Items[1]->Paint.Opacity, 0.75, 1e-12);
  EXPECT_EQ(f.Items[2]->Transform.DX, 0);
  EXPECT_EQ(f.Items[2]->Paint.Opacity, 1);
  // Composite 2: the last copy on top.
  f = Evaluate(Doc("[" + ShapeLayer(repeater(step, 2)) + "]"), 0);
  ASSERT_EQ(f.Items.size(), 3u);
  EXPECT_EQ(f.Items[2]->Transform.DX, 40);
  // The offset shifts the copies by whole and partial steps.
  f = Evaluate(Doc("[" + ShapeLayer(repeater(step, 1, "1.5")) + "]"), 0);
  ASSERT_EQ(f.Items.size(), 3u);
  EXPECT_EQ(f.Items[2]->Transform.DX, 30);

  // Copy k is scaled and turned k times about the anchor and moved k steps, the steps not
  // turning with the copies (as the reference renderer draws): copy 2 of a step of 90
  // degrees and (30,0) puts (10,10) at (-10,-10) + (60,0).
  f = Evaluate(Doc("[" + ShapeLayer(repeater(R"({"p":{"k":[30,0]},"r":{"k":90},"s":{"k":[50,50]}})", 2)) + "]"), 0);
  ASSERT_EQ(f.Items.size(), 3u);
  ExpectPoint(f.Items[2]->Transform.Apply({10, 10}), 60 - 2.5, -2.5);
  ExpectPoint(f.Items[1]->Transform.Apply({10, 10}), 30 - 5, 5);

  // A paint after the repeater paints every copy's path at once.
  std::string after = "[" + kRect + R"(,{"ty":"rp","c":{"k":2},"o":{"k":0},"tr":{"p":{"k":[20,0]}}},)" + kRed + "]";
  f = Evaluate(Doc("[" + ShapeLayer(after) + "]"), 0);
  ASSERT_EQ(f.Items.size(), 1u);
  ASSERT_EQ(f.Items[0]->Path.size(), 2u);
  ExpectPoint(f.Items[0]->Path[0].Points[0], 10, 0);
  ExpectPoint(f.Items[0]->Path[1].Points[0], 30, 0);
}

TEST(LottieModel, MasksTakeTheLayersSpace) {
  std::string mask =
      R"({"pt":{"k":{"v":[[0,0],[10,0],[10,10]],"i":[[0,0],[0,0],[0,0]],"o":[[0,0],[0,0],[0,0]],"c":true}}})";
  std::string masks = R"("masksProperties":[)" + mask.substr(0, mask.size() - 1) + R"(,"mode":"a","o":{"k":50}},)" +
                      mask.substr(0, mask.size() - 1) + R"(,"mode":"s","inv":true},)" +
                      mask.substr(0, mask.size() - 1) + R"(,"mode":"n"},)" + mask + "]";
  auto f = Evaluate(Doc("[" + ShapeLayer("[" + kRect + "," + kRed + "]", R"({"p":{"k":[7,0]}})", masks) + "]"), 0);
  ASSERT_EQ(f.Scene->Root.Content.size(), 1u);
  const TSceneNode& layer = *f.Scene->Root.Content[0].Node;
  ASSERT_EQ(layer.Masks.size(), 3u);  // "n" masks nothing
  EXPECT_EQ(layer.Masks[0].Mode, TMaskMode::Add);
  EXPECT_EQ(layer.Masks[0].Opacity, 0.5);
  EXPECT_FALSE(layer.Masks[0].Inverted);
  EXPECT_EQ(layer.Masks[1].Mode, TMaskMode::Subtract);
  EXPECT_TRUE(layer.Masks[1].Inverted);
  EXPECT_EQ(layer.Masks[2].Mode, TMaskMode::Intersect);  // the format's default
  EXPECT_EQ(layer.Masks[0].Transform.DX, 7);
  ASSERT_EQ(layer.Masks[0].Path.size(), 1u);
  EXPECT_EQ(layer.Masks[0].Path[0].SegmentCount(), 3u);

  // The first mask meets an empty layer, so differencing (or lightening) is adding there;
  // the scene says so, since it keeps the layer whole before any mode but Add.
  std::string open = mask.substr(0, mask.size() - 1);
  std::string difference = R"("masksProperties":[)" + open + R"(,"mode":"f","inv":true},)" + open + R"(,"mode":"f"}])";
  f = Evaluate(Doc("[" + ShapeLayer("[" + kRect + "," + kRed + "]", "{}", difference) + "]"), 0);
  const auto& first = f.Scene->Root.Content[0].Node->Masks;
  ASSERT_EQ(first.size(), 2u);
  EXPECT_EQ(first[0].Mode, TMaskMode::Add);
  EXPECT_TRUE(first[0].Inverted);
  EXPECT_EQ(first[1].Mode, TMaskMode::Difference);
}

TEST(LottieModel, TrackMattesShowALayerThroughAnother) {
  std::string matte = ShapeLayer("[" + kRect + "," + kBlue + "]", "{}", R"("ind":1,"td":1)");
  std::string content = ShapeLayer("[" + kRect + "," + kRed + "]", "{}", R"("ind":2,"tt":3)");
  auto f = Evaluate(Doc("[" + matte + "," + content + "]"), 0);
  // The matte source is not drawn on its own.
  ASSERT_EQ(f.Scene->Root.Content.size(), 1u);
  const TSceneNode& node = *f.Scene->Root.Content[0].Node;
  EXPECT_EQ(node.Matte, TMatteMode::Luma);
  ASSERT_TRUE(node.MatteSource);
  ASSERT_EQ(node.MatteSource->Content.size(), 1u);
  EXPECT_EQ(node.MatteSource->Content[0].Item->Paint.Color, (TColorD{0, 0, 1, 1}));
  EXPECT_EQ(node.Content[0].Item->Paint.Color, (TColorD{1, 0, 0, 1}));

  // Newer files name the matte layer by "tp"; a matte layer not showing at the time gives
  // an empty matte (an alpha matte then hides everything, an inverted one nothing).
  std::string byIndex = ShapeLayer("[" + kRect + "," + kRed + "]", "{}", R"("ind":2,"tt":2,"tp":7)");
  std::string other = ShapeLayer("[" + kRect + "," + kRed + "]", "{}", R"("ind":3)");
  std::string late = ShapeLayer("[" + kRect + "," + kBlue + "]", "{}", R"("ind":7,"td":1,"ip":30)");
  f = Evaluate(Doc("[" + byIndex + "," + other + "," + late + "]"), 0);
  ASSERT_EQ(f.Scene->Root.Content.size(), 2u);
  const TSceneNode& shown = *f.Scene->Root.Content[1].Node;
  EXPECT_EQ(shown.Matte, TMatteMode::AlphaInverted);
  ASSERT_TRUE(shown.MatteSource);
  EXPECT_TRUE(shown.MatteSource->Content.empty());
  f = Evaluate(Doc("[" + byIndex + "," + other + "," + late + "]"), 30);
  EXPECT_EQ(f.Scene->Root.Content[1].Node->MatteSource->Content.size(), 1u);
}

TEST(LottieModel, SolidsAndPrecompsBecomeNodes) {
  std::string assets =
      R"([{"id":"inner","layers":[{"ty":1,"ip":0,"op":60,"ks":{"p":{"k":[1,2]}},"sw":20,"sh":10,"sc":"#ff8000"}]}])";
  std::string layers =
      R"([{"ty":0,"refId":"inner","ip":0,"op":60,"w":50,"h":40,"ks":{"p":{"k":[10,10]},"o":{"k":50}}}])";
  auto f = Evaluate(Doc(layers, assets), 0);
  ASSERT_EQ(f.Scene->Root.Content.size(), 1u);
  const TSceneNode& precomp = *f.Scene->Root.Content[0].Node;
  EXPECT_TRUE(precomp.HasClip);
  EXPECT_EQ(precomp.ClipWidth, 50);
  EXPECT_EQ(precomp.ClipHeight, 40);
  EXPECT_EQ(precomp.ClipTransform.DX, 10);
  ASSERT_EQ(f.Items.size(), 1u);
  const TDrawItem& solid = *f.Items[0];
  EXPECT_EQ(solid.Paint.Color, (TColorD{1, 128 / 255.0, 0, 1}));
  EXPECT_EQ(solid.Paint.Opacity, 0.5);
  ExpectPoint(solid.Transform.Apply({0, 0}), 11, 12);
  ASSERT_EQ(solid.Path.size(), 1u);
  ExpectPoint(solid.Path[0].Points[3], 20, 0);
  ExpectPoint(solid.Path[0].Points[6], 20, 10);
}

TEST(LottieModel, WhatDoesNotChangeIsWorkedOutOnce) {
  std::string shapes = "[" + kRect +
                       R"(,{"ty":"el","p":{"a":1,"k":[{"t":0,"s":[0,0]},{"t":10,"s":[10,0]}]},"s":{"k":[4,4]}},)" +
                       R"({"ty":"gr","it":[)" + kRect + R"(,{"ty":"tr","p":{"k":[3,4]}}]},)" + kRed + "]";
  auto d = Load(Doc("[" + ShapeLayer(shapes) + "]"));
  const TShapeList& items = d->Compositions[0].Layers[0].Shapes;
  ASSERT_EQ(items.size(), 4u);
  const auto& rect = static_cast<const TGeometryShape&>(*items[0]);
  EXPECT_TRUE(rect.Static);
  EXPECT_EQ(rect.Cached.SegmentCount(), 4u);
  EXPECT_FALSE(static_cast<const TGeometryShape&>(*items[1]).Static);
  const auto& group = static_cast<const TGroupShape&>(*items[2]);
  EXPECT_TRUE(group.Transform.Static);
  EXPECT_EQ(group.Transform.StaticMatrix.DY, 4);
  EXPECT_TRUE(d->Compositions[0].Layers[0].Transform.Static);
}

}  // namespace
