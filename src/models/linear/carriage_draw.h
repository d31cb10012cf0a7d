// Drawing pieces shared by the two motor carriages, in the carriage's local frame
// (x along it, y across, z up). Needs a current OpenGL context.
#pragma once

#include "render/draw_context.h"
#include "render/draw_helpers.h"

TRgb Scaled(TRgb c, float k);

// A box from x0 to x1, 0 to width across, hanging from z = 0 down to -depth, with
// no top face: bottom 0.65, faces normal to x 0.5 and to y 0.6 of `mask`.
void HangingBox(double x0, double x1, double width, double depth, TRgb mask);

// The body slab: top textured with the green picture and the end at x1 with the
// ripple texture (both keep the colour left by the last arrow), end at x0 grey
// 0.5, long sides 0.6, bottom 0.4.
void DrawCarriageBody(const TDrawContext& dc, double x0, double x1, double width, double thickness);

// Force arrows at the current origin, `scale` metres per newton: the x force red,
// the normal force blue pointing down, the resultant magenta.
void DrawForceArrows(double fx, double fz, double scale);

// `text` at the raster position (x, 0, z).
void PrintAt(const TDrawContext& dc, double x, double z, const char* text);
