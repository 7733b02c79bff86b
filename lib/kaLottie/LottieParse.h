// Reading the Lottie JSON into the document model: what the parser's parts share. Not a
// public header (it brings the JSON library along).
#pragma once

#include <initializer_list>
#include <set>
#include <string>

#include <nlohmann/json.hpp>

#include "lib/kaLottie/LottieModel.h"

namespace kaLottie {

using TJson = nlohmann::json;

// Where a value lies in the document, for messages ("layers[3].ks.p"): a chain of keys and
// indices living on the stack of the reading functions, spelled out only when needed.
class TLoc {
 public:
  TLoc() = default;
  TLoc operator[](const char* Key) const { return TLoc(this, Key, 0); }
  TLoc operator[](size_t Index) const { return TLoc(this, nullptr, Index); }
  std::string Path() const;

 private:
  TLoc(const TLoc* Parent, const char* Key, size_t Index) : FParent(Parent), FKey(Key), FIndex(Index) {}
  const TLoc* FParent = nullptr;
  const char* FKey = nullptr;
  size_t FIndex = 0;
};

// Throws ELottieError "Lottie: <where>: <what>".
[[noreturn]] void Fail(const TLoc& Where, const std::string& What);

// How a property's numbers are read.
struct TKeyframeData;

enum class TValueKind : uint8_t {
  Plain,     // numbers as they are
  Position,  // a point that may move along curves ("to"/"ti")
  Color,     // 0..1 components, or 0..255 in very old files
  Gradient,  // a flat list whose length the first value gives
};

class TParser {
 public:
  explicit TParser(TDocument& Doc) : FDoc(Doc) {}

  // Records a skipped feature once per Kind.
  void Note(const char* Kind, const TLoc& Where, const std::string& What);

  // Plain values.
  static const TJson* Member(const TJson& Object, const char* Key);
  double Number(const TJson& J, const TLoc& Where) const;
  double NumberOr(const TJson& Object, const char* Key, const TLoc& Where, double Default) const;
  bool Flag(const TJson& Object, const char* Key, const TLoc& Where) const;  // true, 1: set
  const TJson& ObjectAt(const TJson& J, const TLoc& Where) const;
  const TJson& ArrayAt(const TJson& J, const TLoc& Where) const;

  // An animatable property {"a", "k"}. Missing: Target keeps its default. The number of
  // values is Target.Dim (Gradient: taken from the document).
  void Property(const TJson& Object, const char* Key, const TLoc& Where, TValueKind Kind, TAnimated& Target);
  // A bezier shape property (paths and masks); Required fails when it is missing.
  void PathProperty(const TJson& Object, const char* Key, const TLoc& Where, TAnimatedPath& Target);
  void Transform(const TJson& Object, const TLoc& Where, TTransform& Target);

  // Shapes of a shape layer or group.
  void Shapes(const TJson& Array, const TLoc& Where, int Depth, TShapeList& Out);

  TDocument& Doc() { return FDoc; }
  size_t LayerCount = 0, ShapeCount = 0;

 private:
  void StaticValue(const TJson& J, const TLoc& Where, TValueKind Kind, int Dim, const std::vector<double>& Default,
                   double* Out) const;
  void Keyframes(const TJson& Array, const TLoc& Where, TValueKind Kind, TAnimated& Target);
  void Keyframe(const TJson& Key, const TLoc& At, size_t K, TValueKind Kind, TAnimated& Target,
                const std::vector<double>& Defaults, TKeyframeData& Data);
  void ReadEase(const TJson& Key, const TLoc& Where, int Dim, TEase* Out) const;
  void Bezier(const TJson& J, const TLoc& Where, TContour& Out) const;
  std::unique_ptr<TShape> Shape(const TJson& J, const TLoc& Where, int Depth, TShapeList& Before);
  std::unique_ptr<TShape> Geometry(const std::string& Type, const TJson& J, const TLoc& Where);
  std::unique_ptr<TShape> Style(const std::string& Type, const TJson& J, const TLoc& Where);
  void StrokeSettings(const TJson& J, const TLoc& Where, TStyleShape& S);
  void GradientSettings(const TJson& J, const TLoc& Where, TStyleShape& S);
  std::unique_ptr<TShape> Repeater(const TJson& J, const TLoc& Where, TShapeList& Before);

  TDocument& FDoc;
  std::set<std::string> FNoted;
};

}  // namespace kaLottie
