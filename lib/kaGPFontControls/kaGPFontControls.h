// The icon font carried inside the program: a TrueType icon font (family "FontAwesome",
// icons in the private-use block from U+F000) stored as the raw-data resource FONTAWESOME,
// loaded into a GDI+ private font collection and drawn by icon index.
//
// One process-wide instance (GPFontAwesome) exists from start-up to the end of the process,
// whenever a program links this unit; it is freed before GDI+ shuts down.
#pragma once

#include <memory>

#include "framework/Graphics.h"
#include "lib/kaGPUtils/GPPrimitives.h"

class TkaGPFontAwesome : public TObject {
  KA_CLASS(TkaGPFontAwesome, TObject)
 public:
  // Make instances with Construct, so that LoadFont runs with the whole object built.
  TkaGPFontAwesome();
  ~TkaGPFontAwesome() override;
  void AfterConstruction() override;

  // Loads the FONTAWESOME resource of the module holding this code into a new collection.
  // Without the resource there is no collection and nothing is drawn.
  virtual void LoadFont();
  // Icon AIndex into ARect, through a surface made over the canvas for the call.
  virtual void Draw(TCanvas* ACanvas, TColor AColor, uint8_t AColorAlpha, const TRect& ARect,
                    int AFontHeight, int AIndex);
  // Icon AIndex (character U+F000 + AIndex) into ARect on an existing surface: centred
  // horizontally and, by its em box, vertically. AFontHeight 0 picks the em size from the
  // rectangle (GPIconFontEmSize). Indexes outside 0..$FFF draw nothing.
  virtual void Draw(Gdiplus::Graphics* AGraphics, TGPColor AColor, const TGPRectF& ARect,
                    int AFontHeight, int AIndex);

  // The loaded collection, nullptr until the font is loaded.
  Gdiplus::PrivateFontCollection* PrivateFontCollection() const { return FPrivateFontCollection.get(); }

 private:
  std::unique_ptr<Gdiplus::PrivateFontCollection> FPrivateFontCollection;
};

// The em size an icon is drawn at: AFontHeight, or when that is 0, nine tenths of the
// rectangle's smaller side, each step truncated (20 x 30 gives 18, 25.9 x 40 gives 22).
int GPIconFontEmSize(const TGPRectF& ARect, int AFontHeight);

// The process-wide instance.
TkaGPFontAwesome* GPFontAwesome();
