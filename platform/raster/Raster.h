#pragma once

// Software rasterizer behind the canvas: exact, deterministic pixel shapes on 32-bit bitmaps.
//
// Pixel conventions
// -----------------
// Colours are 0x00BBGGRR (red in the low byte). A pixel is stored as the bytes blue, green, red,
// unused; every write stores 0 in the unused byte and ignores the top byte of the colour (system
// colours must be resolved by the caller).
//
// Shapes (Rectangle, RoundRect, Ellipse) are given by their box (left, top, right, bottom): the
// right and bottom edges are excluded, so the box covers w = right - left columns and
// h = bottom - top rows. A box with w <= 0 or h <= 0 draws nothing. Every shape is a region R of
// the box described row by row: row y covers the columns [L(y), w - 1 - L(y)] (box coordinates),
// so it is symmetric left to right, and L(y) = L(h - 1 - y), so it is symmetric top to bottom.
//   - Rectangle: L(y) = 0.
//   - Ellipse: pixel centres are measured from the centre of the box in half pixels,
//     u = 2x - (w - 1) and v = 2y - (h - 1), with the semi-axes A = w - 1 and B = h - 1 in the
//     same unit (the curve runs through the centres of the outermost pixels). With m = |u| and
//     n = |v|, a pixel belongs to R when it is picked row-wise or column-wise:
//         row-wise:    m <= 1  or  (m - 1)^2 * B^2 < A^2 * (B^2 - n^2)
//         column-wise: n <= 1  or  (n - 1)^2 * A^2 < B^2 * (A^2 - m^2)
//     that is, each row (and each column) reaches the pixel nearest to where the curve crosses
//     its centre line, an exact half going inwards, and the middle one or two pixels are always
//     in. All of it is exact integer arithmetic.
//   - RoundRect: the corner ellipse ew x eh (each clamped to 0..box size) is the ellipse region
//     above cut through its centre: its rows 0 .. eh/2 - 1 shape the top rows of the box, its
//     rows eh - eh/2 .. eh - 1 the bottom rows, the rows in between are full; within a row the
//     ellipse's two halves move apart to the box edges. A corner of 0 (either size) gives the
//     Rectangle, a corner of the box size (or more) gives the Ellipse.
//   Corner ellipses are limited to 2^31 - 1 pixels a side (only absurd boxes notice).
//
// The outline is the inner 4-border of R: the pixels of R with a left, right, upper or lower
// neighbour outside R. It is one pixel wide, lies inside the box and touches all four sides of it.
// For ellipses it is a closed 8-connected curve; where the quadrants join it is a single run on
// one row or column (two pixels wide on the middle columns of an even-width narrow ellipse, whose
// tip is 2 x 2). A step from a run of two to a run of one gives the classic rounded corner of
// small circles (".XX" over ".X" in the 9 x 9 circle). The interior is R minus the outline. With a
// pen, the pen draws the outline and the brush fills the interior; with a clear pen the brush
// fills all of R; a clear brush fills nothing. A 1- or 2-pixel wide or high shape is all outline.
//
// Results for small boxes (X = outline):
//     6 x 6         7 x 7          12 x 12 (top half)
//     ..XX..        ..XXX..        ....XXXX....
//     .X..X.        .X...X.        ..XX....XX..
//     X....X        X.....X        .X........X.
//     X....X        X.....X        .X........X.
//     .X..X.        X.....X        X..........X
//     ..XX..        .X...X.        X..........X
//                   ..XXX..
//
// Pen patterns (1 pixel wide): a pattern is a repeating list of on/off run lengths, applied to the
// position of each outline pixel along the outline; off pixels are left untouched (the gaps show
// what was there before).
//     Solid: always on.    Dash: 18 on, 6 off.    Dot: 3 on, 3 off.
//     DashDot: 9 on, 6 off, 3 on, 6 off.    Clear: nothing drawn.
// The position of an outline pixel is its distance from the left end (xs, 0) of the top row, going
// clockwise, counted in horizontal plus vertical pixel steps (so a diagonal step counts 2 and the
// position is a closed formula, whatever the size of the shape). With xm = w - 1 and ym = h - 1 in
// box coordinates:
//     top row, and the right-hand runs of the rows above the middle and of an odd middle row:
//         x - xs + y
//     right-hand runs below the middle, and the bottom row:      2 xm - xs - x + y
//     left-hand runs below the middle, and of an odd middle row: 2 xm + 2 ym - xs - x - y
//     left-hand runs above the middle:                           2 xm + 2 ym - xs + x - y
// For a rectangle this is the plain pixel count round the outline: (x, 0) is at x, (w - 1, y) at
// w - 1 + y, and so on. On a Line the position is the distance from the first point along the
// longer axis.
//
// Lines step along the longer axis (x when |dx| >= |dy|) from the first point; the other coordinate
// is the nearest pixel to the exact line, an exact half going to the smaller coordinate, so a line
// covers the same pixels in either direction. The last point is excluded; a line from a point to
// itself draws nothing.
//
// Clipping: shape and line coordinates are relative to the target's origin. Nothing outside the
// clip rectangle (surface coordinates, right/bottom excluded) intersected with the surface is
// written, for any coordinates; shapes are computed in 64-bit (and 128-bit where needed) integers
// and only the visible rows and columns are visited. A surface with no bits, a width or height <=
// 0, or a stride smaller than 4 * width is treated as empty.

#include <cstdint>

namespace raster {

// 32 bits a pixel, rows top-down, bytes blue, green, red, unused (0). Not owned.
struct Surface {
    uint8_t* bits = nullptr;
    int strideBytes = 0;
    int width = 0, height = 0;
};

// Where drawing goes: shape coordinates are relative to origin; nothing outside clip (surface
// coordinates, right/bottom excluded, intersected with the surface) is touched.
struct Target {
    Surface surface;
    int originX = 0, originY = 0;
    int clipLeft = 0, clipTop = 0, clipRight = 0, clipBottom = 0;
};

// The whole surface, origin at its top-left pixel.
Target WholeSurface(const Surface& s);

enum class PenStyle { Solid, Dash, Dot, DashDot, Clear };

// rgb = 0x00BBGGRR, always 1 pixel wide.
struct Pen {
    uint32_t rgb = 0;
    PenStyle style = PenStyle::Solid;
};

struct Brush {
    uint32_t rgb = 0xFFFFFF;
    bool clear = false;
};

// Whether the pattern of `style` draws the pixel at `position` (>= 0) along an outline or line.
bool PatternOn(PenStyle style, int64_t position);

// Relative to the origin; 0x00BBGGRR, 0 outside the surface (the clip does not apply to reading).
uint32_t GetPixel(const Target&, int x, int y);
// Relative to the origin; writes the 4th byte as 0; nothing outside the clip.
void SetPixel(Target&, int x, int y, uint32_t rgb);
void FillRect(Target&, int l, int t, int r, int b, uint32_t rgb);
void Rectangle(Target&, int l, int t, int r, int b, const Pen&, const Brush&);
void RoundRect(Target&, int l, int t, int r, int b, int ellipseWidth, int ellipseHeight, const Pen&,
               const Brush&);
void Ellipse(Target&, int l, int t, int r, int b, const Pen&, const Brush&);
// Last point excluded.
void Line(Target&, int x0, int y0, int x1, int y1, const Pen&);
// Block copy of a w x h block from src (sx, sy) to the target at (dx, dy) (relative to the origin);
// clipped on both sides: parts outside src are not copied and leave the target as it was.
// Overlapping source and target memory is copied as if through a separate buffer. The 4th byte is
// written as 0.
void CopyRect(Target& dst, int dx, int dy, const Surface& src, int sx, int sy, int w, int h);
// Scales the whole of src into the box (l, t, r, b) of the target (nearest neighbour: the target
// pixel i of n takes source pixel floor((i + 1/2) * srcSize / n)); a box of src's own size is an
// exact block copy; an empty or inverted box draws nothing (no mirroring).
void StretchCopy(Target& dst, int l, int t, int r, int b, const Surface& src);

} // namespace raster
