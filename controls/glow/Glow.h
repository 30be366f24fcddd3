#pragma once

#include <cstdint>

namespace glow {

// Renders the glowing elliptical ring of a highlight circle in place into columns 0..lastColumn
// and rows 0..lastRow of a 32-bit image whose pixels hold the background on entry. The ring is
// inscribed in those bounds; pixels on or outside the ellipse keep the background.
//
// Image layout: rows top-down, 4 bytes a pixel in the order blue, green, red, unused; `bits`
// points at row 0 and rows are `strideBytes` apart. The unused byte and any bytes past column
// lastColumn are never touched.
//
// color is 0x00BBGGRR (red in the low byte); its top byte is ignored, so a system colour must be
// resolved by the caller. whiteCore turns the middle of the ring white. strength scales the glow:
// 0 leaves the background, 1 is full strength. A finite strength outside 0..1 is accepted and
// each channel is clamped to 0..255; a NaN or infinite strength leaves the image unchanged.
//
// The image is left unchanged when bits is null, when it is less than 2 pixels wide or high
// (lastColumn < 1 or lastRow < 1: no ring is defined), or when strideBytes is shorter than a row.
// The caller's floating-point rounding mode is restored on return.
void RenderGlow(uint8_t* bits, int strideBytes, int lastColumn, int lastRow, bool whiteCore,
                uint32_t color, float strength);

} // namespace glow
