// Reading a Lottie document: the composition, its assets and layers, and the links between
// layers (parents, track mattes, precomps), checked so that evaluation can trust them.
#include <algorithm>
#include <cmath>
#include <map>
#include <new>

#include "lib/kaLottie/LottieParse.h"
#include "lib/kaLottie/kaLottie.h"

namespace kaLottie {

namespace {

// The reader builds its tree without recursion, but what is read from it is walked
// recursively; a quick scan of the text keeps pathological nesting out before parsing.
void CheckNesting(const uint8_t* Data, size_t Size) {
  int depth = 0;
  bool inString = false;
  for (size_t i = 0; i < Size; ++i) {
    uint8_t c = Data[i];
    if (inString) {
      if (c == '\\')
        ++i;
      else if (c == '"')
        inString = false;
      continue;
    }
    if (c == '"') {
      inString = true;
    } else if (c == '[' || c == '{') {
      if (++depth > kMaxJsonDepth)
        throw ELottieError(Format(L"Lottie: the JSON text is nested deeper than %d levels", kMaxJsonDepth));
    } else if (c == ']' || c == '}') {
      --depth;
    }
  }
}

TMaskMode MaskMode(const std::string& Mode, bool& Skip) {
  Skip = false;
  if (Mode == "a") return TMaskMode::Add;
  if (Mode == "s") return TMaskMode::Subtract;
  if (Mode == "i") return TMaskMode::Intersect;
  if (Mode == "l") return TMaskMode::Lighten;
  if (Mode == "d") return TMaskMode::Darken;
  if (Mode == "f") return TMaskMode::Difference;
  Skip = true;  // "n" (none) and unknown modes
  return TMaskMode::Add;
}

int HexDigit(char C) {
  if (C >= '0' && C <= '9') return C - '0';
  if (C >= 'a' && C <= 'f') return C - 'a' + 10;
  if (C >= 'A' && C <= 'F') return C - 'A' + 10;
  return -1;
}

bool HexColor(const std::string& S, TColorD& Out) {
  if (S.size() != 7 || S[0] != '#') return false;
  double v[3];
  for (size_t i = 0; i < 3; ++i) {
    int hi = HexDigit(S[1 + 2 * i]), lo = HexDigit(S[2 + 2 * i]);
    if (hi < 0 || lo < 0) return false;
    v[i] = (hi * 16 + lo) / 255.0;
  }
  Out = {v[0], v[1], v[2], 1};
  return true;
}

class TDocumentReader {
 public:
  explicit TDocumentReader(TParser& P) : P(P), Doc(P.Doc()) {}

  void Read(const TJson& Root);

 private:
  void Header(const TJson& Root);
  void Assets(const TJson& Root, std::map<std::string, int>& Ids);
  void Layers(const TJson& Array, const TLoc& Where, TComposition& Comp);
  void Layer(const TJson& J, const TLoc& Where, TLayer& L);
  void LayerContent(const TJson& J, const TLoc& Where, int Type, TLayer& L);
  void Masks(const TJson& J, const TLoc& Where, TLayer& L);
  void Links(TComposition& Comp, const TJson& Array, const TLoc& Where);
  void Precomps(TComposition& Comp, const TJson& Array, const TLoc& Where, const std::map<std::string, int>& Ids);
  void BreakPrecompCycles();
  // Calls Fn with the place of composition C's layers ("layers" or "assets[2].layers").
  template <class F>
  void AtLayers(size_t C, F Fn) const {
    TLoc root;
    if (C == 0) {
      Fn(root["layers"]);
    } else {
      TLoc assets = root["assets"];
      TLoc asset = assets[FAssetIndex[C]];
      Fn(asset["layers"]);
    }
  }

  TParser& P;
  TDocument& Doc;
  // Each composition's layers as read, and where precomps lie in the asset list.
  std::vector<const TJson*> FLayerArrays;
  std::vector<size_t> FAssetIndex;
};

void TDocumentReader::Read(const TJson& Root) {
  TLoc root;
  P.ObjectAt(Root, root);
  Header(Root);
  const TJson* layers = P.Member(Root, "layers");
  if (layers == nullptr) Fail(root["layers"], "missing");
  std::map<std::string, int> ids;
  FLayerArrays.push_back(layers);
  FAssetIndex.push_back(0);
  Doc.Compositions.emplace_back();
  Assets(Root, ids);
  for (size_t c = 0; c < FLayerArrays.size(); ++c)
    AtLayers(c, [&](const TLoc& at) { Layers(*FLayerArrays[c], at, Doc.Compositions[c]); });
  for (size_t c = 0; c < FLayerArrays.size(); ++c)
    AtLayers(c, [&](const TLoc& at) {
      Links(Doc.Compositions[c], *FLayerArrays[c], at);
      Precomps(Doc.Compositions[c], *FLayerArrays[c], at, ids);
    });
  BreakPrecompCycles();
}

void TDocumentReader::Header(const TJson& Root) {
  TLoc root;
  auto required = [&](const char* key) {
    const TJson* j = P.Member(Root, key);
    if (j == nullptr) Fail(root[key], "missing");
    return P.Number(*j, root[key]);
  };
  Doc.Width = required("w");
  Doc.Height = required("h");
  Doc.FrameRate = required("fr");
  Doc.InPoint = required("ip");
  Doc.OutPoint = required("op");
  if (!(Doc.Width > 0)) Fail(root["w"], "the width must be above 0");
  if (!(Doc.Height > 0)) Fail(root["h"], "the height must be above 0");
  if (!(Doc.FrameRate > 0)) Fail(root["fr"], "the frame rate must be above 0");
  if (!(Doc.OutPoint > Doc.InPoint)) Fail(root["op"], "the out point must come after the in point");
  if (!std::isfinite((Doc.OutPoint - Doc.InPoint) / Doc.FrameRate)) Fail(root["op"], "the duration is not finite");
}

void TDocumentReader::Assets(const TJson& Root, std::map<std::string, int>& Ids) {
  const TJson* assets = P.Member(Root, "assets");
  if (assets == nullptr) return;
  TLoc root;
  TLoc at = root["assets"];
  P.ArrayAt(*assets, at);
  for (size_t i = 0; i < assets->size(); ++i) {
    const TJson& a = P.ObjectAt((*assets)[i], at[i]);
    const TJson* layers = P.Member(a, "layers");
    if (layers == nullptr) continue;  // an image
    const TJson* id = P.Member(a, "id");
    if (id == nullptr) Fail(at[i], "missing id");
    std::string key = id->is_string() ? id->get<std::string>() : id->dump();
    if (Ids.count(key) != 0) {
      P.Note("asset id", at[i]["id"], "assets with an id used before are skipped");
      continue;
    }
    Ids[key] = static_cast<int>(FLayerArrays.size());
    FLayerArrays.push_back(layers);
    FAssetIndex.push_back(i);
    Doc.Compositions.emplace_back();
  }
}

void TDocumentReader::Layers(const TJson& Array, const TLoc& Where, TComposition& Comp) {
  P.ArrayAt(Array, Where);
  Comp.Layers.resize(Array.size());
  for (size_t i = 0; i < Array.size(); ++i) {
    if (++P.LayerCount > kMaxLayers) Fail(Where[i], "more than " + std::to_string(kMaxLayers) + " layers");
    Layer(P.ObjectAt(Array[i], Where[i]), Where[i], Comp.Layers[i]);
  }
}

void TDocumentReader::Layer(const TJson& J, const TLoc& Where, TLayer& L) {
  const TJson* ty = P.Member(J, "ty");
  if (ty == nullptr) Fail(Where, "missing ty");
  int type = static_cast<int>(std::clamp(P.Number(*ty, Where["ty"]), -1.0, 1000.0));
  for (const char* key : {"ip", "op"})
    if (P.Member(J, key) == nullptr) Fail(Where[key], "missing");
  L.InPoint = P.NumberOr(J, "ip", Where, 0);
  L.OutPoint = P.NumberOr(J, "op", Where, 0);
  L.StartTime = P.NumberOr(J, "st", Where, 0);
  L.Stretch = P.NumberOr(J, "sr", Where, 1);
  if (!(L.Stretch > 0)) Fail(Where["sr"], "the time stretch must be above 0");
  if (const TJson* ind = P.Member(J, "ind")) {
    L.HasIndex = true;
    L.Index = static_cast<int64_t>(std::clamp(P.Number(*ind, Where["ind"]), -1e15, 1e15));
  }
  L.Hidden = P.Flag(J, "hd", Where);
  L.IsMatteSource = P.Flag(J, "td", Where);
  int tt = static_cast<int>(std::clamp(P.NumberOr(J, "tt", Where, 0), -1.0, 100.0));
  if (tt >= 1 && tt <= 4)
    L.Matte = static_cast<TMatteMode>(tt);
  else if (tt != 0)
    P.Note("tt", Where["tt"], "unknown track matte modes are ignored");
  if (const TJson* ks = P.Member(J, "ks")) P.Transform(P.ObjectAt(*ks, Where["ks"]), Where["ks"], L.Transform);
  if (P.Flag(J, "ddd", Where)) P.Note("3d", Where["ddd"], "3D layers are drawn flat");
  if (P.Flag(J, "ao", Where)) P.Note("ao", Where["ao"], "auto-orient is not supported");
  if (const TJson* ef = P.Member(J, "ef"); ef != nullptr && ef->is_array() && !ef->empty())
    P.Note("ef", Where["ef"], "layer effects are ignored");
  if (P.NumberOr(J, "bm", Where, 0) != 0) P.Note("bm", Where["bm"], "blend modes are drawn as normal");
  L.Transform.Resolve();
  Masks(J, Where, L);
  LayerContent(J, Where, type, L);
}

void TDocumentReader::LayerContent(const TJson& J, const TLoc& Where, int Type, TLayer& L) {
  switch (Type) {
    case 0: {
      L.Kind = TLayerKind::Precomp;
      const TJson* w = P.Member(J, "w");
      const TJson* h = P.Member(J, "h");
      if (w != nullptr && h != nullptr) {
        L.ClipWidth = P.Number(*w, Where["w"]);
        L.ClipHeight = P.Number(*h, Where["h"]);
        L.HasClip = true;
      }
      if (P.Member(J, "tm") != nullptr) {
        L.HasTimeRemap = true;
        P.Property(J, "tm", Where, TValueKind::Plain, L.TimeRemap);
      }
      break;
    }
    case 1: {
      L.Kind = TLayerKind::Solid;
      L.SolidWidth = P.NumberOr(J, "sw", Where, 0);
      L.SolidHeight = P.NumberOr(J, "sh", Where, 0);
      const TJson* sc = P.Member(J, "sc");
      if (sc == nullptr) Fail(Where["sc"], "missing");
      if (!sc->is_string() || !HexColor(sc->get<std::string>(), L.SolidColor))
        Fail(Where["sc"], "expected a colour \"#rrggbb\"");
      break;
    }
    case 2:
      L.Kind = TLayerKind::Image;
      P.Note("image", Where, "image layers are skipped");
      break;
    case 3: L.Kind = TLayerKind::Null; break;
    case 4: {
      L.Kind = TLayerKind::Shape;
      if (const TJson* shapes = P.Member(J, "shapes")) P.Shapes(*shapes, Where["shapes"], 0, L.Shapes);
      break;
    }
    case 5:
      L.Kind = TLayerKind::Text;
      P.Note("text", Where, "text layers are skipped");
      break;
    default:
      L.Kind = TLayerKind::Other;
      P.Note(("layer " + std::to_string(Type)).c_str(), Where,
             "layers of type " + std::to_string(Type) + " are skipped");
      break;
  }
}

void TDocumentReader::Masks(const TJson& J, const TLoc& Where, TLayer& L) {
  const TJson* masks = P.Member(J, "masksProperties");
  if (masks == nullptr) return;
  TLoc at = Where["masksProperties"];
  P.ArrayAt(*masks, at);
  for (size_t i = 0; i < masks->size(); ++i) {
    const TJson& m = P.ObjectAt((*masks)[i], at[i]);
    TMaskDef def;
    bool skip = false;
    const TJson* mode = P.Member(m, "mode");
    if (mode != nullptr && !mode->is_string()) Fail(at[i]["mode"], "expected a string");
    def.Mode = MaskMode(mode != nullptr ? mode->get<std::string>() : "i", skip);
    def.Inverted = P.Flag(m, "inv", at[i]);
    P.PathProperty(m, "pt", at[i], def.Path);
    P.Property(m, "o", at[i], TValueKind::Plain, def.Opacity);
    if (P.Member(m, "x") != nullptr) {
      TAnimated expansion(std::vector<double>{0});
      P.Property(m, "x", at[i], TValueKind::Plain, expansion);
      if (expansion.IsKeyframed() || expansion.Values[0] != 0)
        P.Note("mask x", at[i]["x"], "mask expansion is ignored");
    }
    if (!skip) L.Masks.push_back(std::move(def));
  }
}

// Parents and track matte sources by "ind"; a parent chain that loops is cut where found.
void TDocumentReader::Links(TComposition& Comp, const TJson& Array, const TLoc& Where) {
  std::map<int64_t, int> byIndex;
  for (size_t i = 0; i < Comp.Layers.size(); ++i)
    if (Comp.Layers[i].HasIndex) byIndex.emplace(Comp.Layers[i].Index, static_cast<int>(i));
  for (size_t i = 0; i < Comp.Layers.size(); ++i) {
    TLayer& L = Comp.Layers[i];
    const TJson& J = Array[i];
    if (const TJson* parent = P.Member(J, "parent")) {
      auto it = byIndex.find(static_cast<int64_t>(std::clamp(P.Number(*parent, Where[i]["parent"]), -1e15, 1e15)));
      if (it == byIndex.end() || it->second == static_cast<int>(i))
        P.Note("parent", Where[i]["parent"], "parents that are not layers of the same composition are ignored");
      else
        L.Parent = it->second;
    }
    if (L.Matte != TMatteMode::None) {
      if (const TJson* tp = P.Member(J, "tp")) {
        auto it = byIndex.find(static_cast<int64_t>(std::clamp(P.Number(*tp, Where[i]["tp"]), -1e15, 1e15)));
        if (it != byIndex.end() && it->second != static_cast<int>(i)) L.MatteSource = it->second;
      } else if (i > 0) {
        L.MatteSource = static_cast<int>(i) - 1;
      }
      if (L.MatteSource < 0) {
        P.Note("matte", Where[i]["tt"], "track mattes without their matte layer are ignored");
        L.Matte = TMatteMode::None;
      }
    }
  }
  // 0: not seen, 1: on the chain being walked, 2: known to reach a root.
  std::vector<char> state(Comp.Layers.size(), 0);
  std::vector<int> chain;
  for (size_t i = 0; i < Comp.Layers.size(); ++i) {
    chain.clear();
    int j = static_cast<int>(i);
    while (j >= 0 && state[j] == 0) {
      state[j] = 1;
      chain.push_back(j);
      int parent = Comp.Layers[j].Parent;
      if (parent >= 0 && state[parent] == 1) {
        P.Note("parent cycle", Where[static_cast<size_t>(j)]["parent"], "parent links that loop are cut");
        Comp.Layers[j].Parent = -1;
        parent = -1;
      }
      j = parent;
    }
    for (int c : chain) state[c] = 2;
  }
}

void TDocumentReader::Precomps(TComposition& Comp, const TJson& Array, const TLoc& Where,
                               const std::map<std::string, int>& Ids) {
  for (size_t i = 0; i < Comp.Layers.size(); ++i) {
    TLayer& L = Comp.Layers[i];
    if (L.Kind != TLayerKind::Precomp) continue;
    const TJson* ref = P.Member(Array[i], "refId");
    auto it = ref != nullptr ? Ids.find(ref->is_string() ? ref->get<std::string>() : ref->dump()) : Ids.end();
    if (it == Ids.end())
      P.Note("refId", Where[i]["refId"], "precomp layers without their precomp asset are skipped");
    else
      L.Composition = it->second;
  }
}

// A precomp that contains itself, directly or not, would never end: such links are cut.
void TDocumentReader::BreakPrecompCycles() {
  const size_t n = Doc.Compositions.size();
  std::vector<char> state(n, 0);  // 0 not seen, 1 open, 2 done
  struct TFrame {
    int Comp;
    size_t Layer;
  };
  std::vector<TFrame> stack;
  for (size_t start = 0; start < n; ++start) {
    if (state[start] != 0) continue;
    stack.push_back({static_cast<int>(start), 0});
    state[start] = 1;
    while (!stack.empty()) {
      TFrame& f = stack.back();
      auto& layers = Doc.Compositions[static_cast<size_t>(f.Comp)].Layers;
      if (f.Layer == layers.size()) {
        state[static_cast<size_t>(f.Comp)] = 2;
        stack.pop_back();
        continue;
      }
      TLayer& L = layers[f.Layer++];
      if (L.Composition < 0) continue;
      char s = state[static_cast<size_t>(L.Composition)];
      if (s == 1) {
        P.Note("precomp cycle", TLoc()["assets"], "precomps that contain themselves are skipped");
        L.Composition = -1;
      } else if (s == 0) {
        state[static_cast<size_t>(L.Composition)] = 1;
        stack.push_back({L.Composition, 0});
      }
    }
  }
}

}  // namespace

std::unique_ptr<TDocument> ParseDocument(const uint8_t* Data, size_t Size) {
  if (Data == nullptr || Size == 0) throw ELottieError(L"Lottie: the document is empty");
  if (Size > kMaxDocumentBytes)
    throw ELottieError(Format(L"Lottie: the document is larger than %d MB", int(kMaxDocumentBytes >> 20)));
  CheckNesting(Data, Size);
  TJson root;
  try {
    root = TJson::parse(Data, Data + Size);
  } catch (const TJson::exception& e) {
    throw ELottieError(FromUtf8(std::string("Lottie: not valid JSON: ") + e.what()));
  } catch (const std::bad_alloc&) {
    throw ELottieError(L"Lottie: the document is too large to read");
  }
  if (!root.is_object()) throw ELottieError(L"Lottie: the document is not a JSON object");
  auto doc = std::make_unique<TDocument>();
  TParser parser(*doc);
  try {
    TDocumentReader(parser).Read(root);
  } catch (const TJson::exception& e) {
    // Not expected (every access is checked first), but a fault of the reader must still
    // come out as a document that cannot be played.
    throw ELottieError(FromUtf8(std::string("Lottie: unreadable document: ") + e.what()));
  }
  return doc;
}

}  // namespace kaLottie
