// The program's bitmap font: 8 x 12 glyphs for the codes 32..127, compiled into
// display lists, printed at the current raster position.
#pragma once

#include <cstdint>

// The 12 glyph rows of code c, bottom row first, most significant bit left;
// null outside 32..127.
const std::uint8_t* FontGlyph(int c);

// Compiles the font into display lists in the current context; the first of
// its 128 lists, or 0 if none could be had.
unsigned BuildFont();
// Releases the font's lists (before the context goes away) and zeroes `base`.
void ReleaseFont(unsigned& base);
// Draws s at the current raster position in the current colour with the font
// at `base`; each character advances 10 pixels. Characters outside 32..127
// draw nothing, and so does everything while base is 0.
void PrintText(unsigned base, const char* s);
