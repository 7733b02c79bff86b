// The renderer's own scan converter: fills and strokes turned into per-pixel coverage in
// plain C++, for systems whose GDI+ does not anti-alias (Wine's) and wherever the frame's
// pixels are at hand.
//
// Coverage is measured the way the format's reference players measure it: on four sample
// rows per pixel, at y + 1/8, 3/8, 5/8 and 7/8, each crossing the shape exactly from edge to
// edge, so a pixel's coverage is the mean of four exact horizontal overlaps. Straight edges
// land where those players put them, and thin lines get the same weight.
//
// Strokes become a union of pieces (a strip along each run of gently bending segments, a
// wedge per join, a cap per open end), all counted the same way round, so that the nonzero
// rule fills exactly their union: a stroke over itself is one coat of paint.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <vector>

#include "lib/kaLottie/LottieScene.h"

namespace kaLottie::render {

// A box of whole pixels, L and T inside, R and B outside.
struct TRectI {
  int L = 0, T = 0, R = 0, B = 0;
  int Width() const { return R - L; }
  int Height() const { return B - T; }
  bool Empty() const { return R <= L || B <= T; }
  TRectI Intersect(const TRectI& O) const;
};

// Polylines, open or closed. Smooth marks the vertices where the line runs on without a
// corner (inside a flattened curve, or where curves meet tangent to each other): a stroke
// turns round them whatever its own join.
struct TPolylines {
  struct TLine {
    size_t Begin, End;  // Points[Begin .. End)
    bool Closed;
  };
  std::vector<TPointD> Points;
  std::vector<uint8_t> Smooth;
  std::vector<TLine> Lines;
  void Clear() {
    Points.clear();
    Smooth.clear();
    Lines.clear();
  }
  void Begin() { Lines.push_back({Points.size(), Points.size(), false}); }
  void Add(TPointD P, bool IsSmooth) {
    Points.push_back(P);
    Smooth.push_back(IsSmooth ? 1 : 0);
    Lines.back().End = Points.size();
  }
};

// The contours of Path as polylines, each cubic cut into enough straight pieces to stay
// within Tolerance of the curve (in Path's units).
void FlattenPath(const TPath& Path, double Tolerance, TPolylines& Out);

// Receives the coverage of one pixel row: Alpha[i] (0..255) belongs to pixel X0 + i.
class TCoverageSink {
 public:
  virtual void Row(int Y, int X0, int X1, const uint8_t* Alpha) = 0;

 protected:
  ~TCoverageSink() = default;
};

class TCoverageRaster {
 public:
  static constexpr int kSampleRows = 4;
  // Flattening error allowed for curves, in pixels.
  static constexpr double kTolerance = 0.05;

  // Forgets the outline; coverage will be reported within Box only. SnapRows: the ends of
  // every edge move up or down to the nearest boundary between sample rows, as the
  // reference players place the vertices of filled outlines; the coverage within each
  // quarter row is then its exact area. Measured on the reference frames, fills and masks
  // land best that way and stroke outlines (which those players build otherwise) best
  // without it.
  void Reset(const TRectI& Box, bool SnapRows);
  // An edge from A to B (pixels); its direction counts for the fill rule.
  void AddLine(TPointD A, TPointD B);
  // A closed polygon (pixels) that counts inside the same as every other piece, whichever
  // way round it runs: pieces add up to their union under the nonzero rule.
  void AddPiece(const TPointD* Points, size_t Count);
  // A closed polygon (pixels) taken as it runs (Reverse: the other way round).
  void AddLoop(const TPointD* Points, size_t Count, bool Reverse);
  // Every contour of Path under ToDevice, closed.
  void AddPath(const TPath& Path, const TMatrix& ToDevice);
  // True once the outline holds as many edges as one shape may have; more are ignored.
  bool Full() const { return FEdges.size() >= kMaxEdges; }
  // Reports every row of Box that has coverage, top down.
  void Sweep(TFillRule Rule, TCoverageSink& Sink);

 private:
  static constexpr size_t kMaxEdges = size_t(1) << 20;
  struct TEdge {
    double X0, Y0, Y1, Slope;  // x at Y0, y range, dx/dy
    int Winding;
  };
  struct TCrossing {
    double X;
    int Winding;
  };
  void SampleRow(double Y, TFillRule Rule);
  void AddSpan(double A, double B);
  void EmitRow(int Y, TCoverageSink& Sink);

  TRectI FBox;
  bool FSnapRows = false;
  std::vector<TEdge> FEdges;
  // The edges in the order of the rows they start in: FOrder[FRowStart[r] ..
  // FRowStart[r + 1]) start in row r of the box.
  std::vector<size_t> FRowStart, FOrder, FCursor;
  std::vector<size_t> FActive;
  std::vector<TCrossing> FCrossings;
  // The row being gathered, indexed from FBox.L: partial coverage in 1/kSubpixels of a
  // pixel per sample row, and the runs of whole pixels as differences; FMinX .. FMaxX (from
  // FBox.L too) is what the row touched.
  static constexpr int kSubpixels = 256;
  std::vector<int> FCover;
  std::vector<int> FRun;
  std::vector<uint8_t> FAlpha;
  int FMinX = 0, FMaxX = -1;
};

// Turns strokes into pieces for a coverage raster, keeping its scratch memory from stroke
// to stroke. Strokes are drawn in the path's own space, so ToDevice scales and skews the
// pen as well.
class TStroker {
 public:
  void AddPath(TCoverageRaster& Raster, const TPath& Path, const TStrokeStyle& Style, const TMatrix& ToDevice);
  // Polylines already cut (dashes).
  void AddLines(TCoverageRaster& Raster, const TPolylines& Lines, const TStrokeStyle& Style, const TMatrix& ToDevice);

 private:
  bool Prepare(const TPolylines& Lines, const TPolylines::TLine& L);
  void Merge();
  TPointD Side(size_t Vertex, size_t Segment) const;
  void Line();
  void Strip(size_t From, size_t Segments);
  void Ring();
  void Join(TPointD V, TPointD D0, TPointD D1, bool Smooth);
  void Cap(TPointD P, TPointD Outward);
  // A pie round Centre from Centre + From, turning by Sweep radians (either way).
  void Pie(TPointD Centre, TPointD From, double Sweep);
  void Piece(std::initializer_list<TPointD> Points);

  // The stroke being added.
  TCoverageRaster* FRaster = nullptr;
  const TStrokeStyle* FStyle = nullptr;
  TMatrix FMap;
  double FHalf = 0;
  bool FReverse = false;
  double FArcStep = 0;
  // The line being stroked: its distinct points, whether each is smooth, the directions of
  // its segments, and at merged vertices the shared offset of the two segments' strips.
  std::vector<TPointD> FPoints, FDirections, FOffsets, FDevice, FBack;
  std::vector<uint8_t> FSmooth, FMerged;
  bool FClosed = false;
  size_t FSegments = 0;
  TPolylines FFlat;
};

}  // namespace kaLottie::render
