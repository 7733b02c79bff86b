// Blur of captured backgrounds: a stack (triangle-weighted) blur whose cost does not grow
// with the radius.
#pragma once

class TBitmap;

// Blurs a 32-bit bitmap in place with radius Radius: every pixel becomes the average of
// the (2 * Radius + 1)^2 window around it, each neighbour weighted by Radius + 1 minus its
// distance from the centre, per axis. Pixels outside the bitmap repeat the nearest edge
// pixel. Every written pixel gets alpha 255. Radii above 254 blur as 254 (the
// picture looks the same and the sums stay small). Radius <= 0, empty bitmaps and bitmaps that
// are not pf32bit are left as they are.
void StackBlur(TBitmap* Bitmap, int Radius);
