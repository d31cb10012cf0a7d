// The program's bitmap font: 8 x 12 glyphs for the codes 32..127, compiled into
// display lists, printed at the current raster position.
#pragma once

#include <cstdint>

// First of the 128 display lists of the font; 0 until BuildFont has run.
extern unsigned FontBase;

// The 12 glyph rows of code c, bottom row first, most significant bit left;
// null outside 32..127.
const std::uint8_t* FontGlyph(int c);

// Compiles the font into display lists in the current context.
void BuildFont();
// Releases the font's lists (before the context goes away).
void ReleaseFont();
// Draws s at the current raster position in the current colour; each character
// advances 10 pixels. Characters outside 32..127 draw nothing.
void PrintText(const char* s);
