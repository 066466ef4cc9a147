#pragma once
// Drawing on the edit view's pictures through the raster engine. Each routine opens the buffer
// it works on; the buffer it names last is left active.

#include "editor/Display.h"

#include <cstdint>

// Grid lines in colour -1 (palette index 255, or white) on every column and row of the magnified
// view that is a multiple of 8.
void DrawGrid(const TPic& zoom);

// Clears the magnified view to colour 0 and draws its grid, then clears the edit buffer to 0.
void ClearViews(const TPic& zoom, const TPic& cel);

// Rebuilds the magnified view from the edit buffer: cel pixel (x, y) fills the 7 x 7 square at
// columns 8x + 1 .. 8x + 7, rows 8y + 1 .. 8y + 7. The grid is not touched. width, height and
// depth are the sprite's.
void RenderZoom(const TPic& cel, const TPic& zoom, std::int32_t width, std::int32_t height,
                std::int32_t depth);

// Paints the 256 palette entries into the strip: entry n is the 8 x 8 square at column
// 8 (n mod 32), row 8 (n div 32).
void DrawPaletteStrip(const TPic& strip);
