// The test pictures the reference sheets draw: made here from code, so the sheets depend
// on nothing but the library.
#pragma once

#include "framework/Graphics.h"
#include "framework/ImageList.h"
#include "framework/PngImage.h"

// A 40 x 28 picture with an alpha channel: a rounded badge shading from blue to teal, its
// rim soft, with a white arrow pointing up-right and a transparent surround.
void MakeBadgePicture(TPngImage& Png);
// A 30 x 30 skin for drawing by margins, margins 8: red corners, green edges and a blue
// centre crossed by lighter lines, so stretched and tiled parts look different.
void MakeSkinBitmap(TBitmap& Bitmap);
// A checkerboard of light greys, so transparency shows.
void FillChecker(TCanvas* Canvas, const TRect& R);
// Sets Images to 16 x 16 and adds an orange square with a white one in its middle. With
// WhiteRim the outermost ring of pixels is white (a list's usual transparent colour).
void AddListGlyph(TImageList& Images, bool WhiteRim);
