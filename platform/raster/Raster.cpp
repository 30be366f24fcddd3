#include "platform/raster/Raster.h"

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <vector>

namespace raster {
namespace {

using i64 = int64_t;
using i128 = __int128;
using u128 = unsigned __int128;

// Keeps the exact ellipse tests within 128 bits: (A^2)(B^2) < 2^124.
constexpr i64 kMaxCorner = (i64{1} << 31) - 1;

struct Rect {
    i64 l = 0, t = 0, r = 0, b = 0;
    bool Empty() const { return r <= l || b <= t; }
};

bool Usable(const Surface& s) {
    return s.bits != nullptr && s.width > 0 && s.height > 0 &&
           i64{s.strideBytes} >= i64{s.width} * 4;
}

// The writable area in surface coordinates.
Rect ClipOf(const Target& t) {
    if (!Usable(t.surface)) return {};
    return {std::max<i64>(t.clipLeft, 0), std::max<i64>(t.clipTop, 0),
            std::min<i64>(t.clipRight, t.surface.width),
            std::min<i64>(t.clipBottom, t.surface.height)};
}

uint8_t* At(const Surface& s, i64 x, i64 y) {
    return s.bits + static_cast<std::ptrdiff_t>(y) * s.strideBytes +
           static_cast<std::ptrdiff_t>(x) * 4;
}

void Store(uint8_t* p, uint32_t rgb) {
    p[0] = static_cast<uint8_t>(rgb >> 16);
    p[1] = static_cast<uint8_t>(rgb >> 8);
    p[2] = static_cast<uint8_t>(rgb);
    p[3] = 0;
}

uint32_t Load(const uint8_t* p) {
    return uint32_t{p[2]} | uint32_t{p[1]} << 8 | uint32_t{p[0]} << 16;
}

// Four pixels at a time for the long runs (fills, copies): the same bytes as one at a time,
// a quarter of the steps. Loads and stores go through memcpy, so any alignment is fine.
using Quad = uint32_t __attribute__((vector_size(16)));

// `count` pixels of the 32-bit word `word` from p on.
void FillWords(uint8_t* p, i64 count, uint32_t word) {
    const Quad quad = {word, word, word, word};
    i64 i = 0;
    for (; i + 4 <= count; i += 4, p += 16)
        std::memcpy(p, &quad, 16);
    for (; i < count; ++i, p += 4)
        std::memcpy(p, &word, 4);
}

// `count` pixels from `in` to `out` (not overlapping): the three colour bytes as they are, the
// fourth cleared.
void CopyColours(uint8_t* out, const uint8_t* in, i64 count) {
    uint8_t maskBytes[4] = {0xFF, 0xFF, 0xFF, 0};
    uint32_t mask;
    std::memcpy(&mask, maskBytes, 4);
    const Quad masks = {mask, mask, mask, mask};
    i64 i = 0;
    for (; i + 4 <= count; i += 4, in += 16, out += 16) {
        Quad q;
        std::memcpy(&q, in, 16);
        q &= masks;
        std::memcpy(out, &q, 16);
    }
    for (; i < count; ++i, in += 4, out += 4) {
        uint8_t px[4] = {in[0], in[1], in[2], 0};
        std::memcpy(out, px, 4);
    }
}

// Columns [x0, x1) of surface row y, clipped.
void Span(const Surface& s, const Rect& clip, i64 y, i64 x0, i64 x1, uint32_t rgb) {
    if (y < clip.t || y >= clip.b) return;
    x0 = std::max(x0, clip.l);
    x1 = std::min(x1, clip.r);
    if (x0 >= x1) return;
    // One 32-bit word a pixel, in whole words: what makes a full-window fill cheap.
    uint8_t bytes[4];
    Store(bytes, rgb);
    uint32_t word;
    std::memcpy(&word, bytes, 4);
    FillWords(At(s, x0, y), x1 - x0, word);
}

i128 FloorDiv(i128 a, i128 b) {
    i128 q = a / b;
    if (a % b != 0 && ((a < 0) != (b < 0))) --q;
    return q;
}

// q / n rounded to the nearest integer, an exact half downwards (n > 0).
i64 RoundHalfDown(i128 q, i64 n) {
    return static_cast<i64>(FloorDiv(2 * q + n - 1, i128{2} * n));
}

// Leftmost column of row `row` of the ellipse region of a w x h box (1 <= w, h <= kMaxCorner).
i64 EllipseLeft(i64 w, i64 h, i64 row) {
    const u128 a = static_cast<u128>(w - 1), b = static_cast<u128>(h - 1);
    const i64 n = std::abs(2 * row - (h - 1));
    const u128 nn = static_cast<u128>(n);
    auto inside = [&](i64 m) {
        const u128 mm = static_cast<u128>(m);
        if (m <= 1 || (mm - 1) * (mm - 1) * b * b < a * a * (b * b - nn * nn)) return true;
        return n <= 1 || (nn - 1) * (nn - 1) * a * a < b * b * (a * a - mm * mm);
    };
    // Half-pixel distances from the centre run over parity, parity + 2, ... up to w - 1.
    const i64 parity = (w - 1) & 1;
    i64 lo = 0, hi = (w - 1 - parity) / 2;
    while (lo < hi) {
        const i64 mid = lo + (hi - lo + 1) / 2;
        if (inside(parity + 2 * mid)) {
            lo = mid;
        } else {
            hi = mid - 1;
        }
    }
    return (w - 1 - (parity + 2 * lo)) / 2;
}

// A region of a w x h box given row by row: row y covers [Left(y), w - 1 - Left(y)].
struct Shape {
    i64 w = 0, h = 0;
    i64 ew = 0, eh = 0; // corner ellipse, 0 for square corners
    i64 k = 0;          // rows at the top and at the bottom that the corner shapes

    Shape(i64 width, i64 height, i64 cornerW, i64 cornerH) : w(width), h(height) {
        cornerW = std::clamp<i64>(cornerW, 0, std::min(w, kMaxCorner));
        cornerH = std::clamp<i64>(cornerH, 0, std::min(h, kMaxCorner));
        if (cornerW > 0 && cornerH > 0) {
            ew = cornerW;
            eh = cornerH;
            k = eh / 2;
        }
    }

    i64 Left(i64 y) const {
        if (ew == 0) return 0;
        if (y < k) return EllipseLeft(ew, eh, y);
        if (y >= h - k) return EllipseLeft(ew, eh, y - (h - eh));
        return 0;
    }
};

// The outline runs of one row: [xl, leftEnd] and [rightStart, xr], or one merged run [xl, xr].
struct Row {
    i64 xl = 0, xr = 0, leftEnd = 0, rightStart = 0;
    bool merged = false;
};

// `edge`: the top or bottom row, all outline. Otherwise a pixel is outline unless both the rows
// above and below cover it (the ends of the row always are).
Row MakeRow(i64 w, i64 left, i64 prevLeft, i64 nextLeft, bool edge) {
    Row r;
    r.xl = left;
    r.xr = w - 1 - left;
    if (!edge) {
        const i64 innerL = std::max(prevLeft, nextLeft), innerR = w - 1 - innerL;
        r.leftEnd = std::max(r.xl, innerL - 1);
        r.rightStart = std::min(r.xr, innerR + 1);
        r.merged = r.leftEnd >= r.rightStart;
    } else {
        r.merged = true;
    }
    if (r.merged) {
        r.leftEnd = r.xr;
        r.rightStart = r.xl;
    }
    return r;
}

// Pattern position of box pixel (x, y) of an outline run: the distance from the left end xs of the
// top row, clockwise, in horizontal plus vertical steps. `right`: a run of the right-hand side
// (or the top row); `lower`: below the middle (the bottom row, and the left side's middle row).
i64 OutlinePosition(i64 w, i64 h, i64 xs, i64 x, i64 y, bool right, bool lower) {
    const i64 xm = w - 1, ym = h - 1;
    if (right) return lower ? 2 * xm - xs - x + y : x - xs + y;
    return lower ? 2 * xm + 2 * ym - xs - x - y : 2 * xm + 2 * ym - xs + x - y;
}

// Columns [x0, x1] of one outline run in box row y, patterned.
void PenRun(const Surface& s, const Rect& clip, i64 boxL, i64 boxT, i64 w, i64 h, i64 xs, i64 y,
            i64 x0, i64 x1, bool right, bool lower, const Pen& pen) {
    const i64 sy = boxT + y;
    if (sy < clip.t || sy >= clip.b) return;
    const i64 from = std::max(boxL + x0, clip.l), to = std::min(boxL + x1 + 1, clip.r);
    for (i64 sx = from; sx < to; ++sx) {
        if (PatternOn(pen.style, OutlinePosition(w, h, xs, sx - boxL, y, right, lower))) {
            Store(At(s, sx, sy), pen.rgb);
        }
    }
}

void DrawShape(Target& t, i64 boxL, i64 boxT, const Shape& s, const Pen& pen, const Brush& brush) {
    const Rect clip = ClipOf(t);
    const bool outline = pen.style != PenStyle::Clear;
    if (clip.Empty() || s.w <= 0 || s.h <= 0 || (!outline && brush.clear)) return;
    if (boxL >= clip.r || boxL + s.w <= clip.l) return;
    const i64 y0 = std::max<i64>(0, clip.t - boxT), y1 = std::min(s.h, clip.b - boxT);
    if (y0 >= y1) return;
    const Surface& sf = t.surface;
    const bool dashed = outline && pen.style != PenStyle::Solid;
    const i64 xs = dashed ? s.Left(0) : 0;

    i64 prev = y0 > 0 ? s.Left(y0 - 1) : 0, cur = s.Left(y0);
    for (i64 y = y0; y < y1; ++y) {
        const i64 next = y + 1 < s.h ? s.Left(y + 1) : 0;
        const bool edge = y == 0 || y == s.h - 1;
        const Row r = MakeRow(s.w, cur, prev, next, edge);
        const i64 sy = boxT + y;
        if (!outline) {
            Span(sf, clip, sy, boxL + r.xl, boxL + r.xr + 1, brush.rgb);
        } else {
            if (!brush.clear && !r.merged) {
                Span(sf, clip, sy, boxL + r.leftEnd + 1, boxL + r.rightStart, brush.rgb);
            }
            if (!dashed) {
                if (!r.merged) Span(sf, clip, sy, boxL + r.xl, boxL + r.leftEnd + 1, pen.rgb);
                Span(sf, clip, sy, boxL + r.rightStart, boxL + r.xr + 1, pen.rgb);
            } else {
                // The top row runs with the right-hand side, the bottom row with the lower half.
                const bool lower = y > 0 && 2 * y > s.h - 1;
                PenRun(sf, clip, boxL, boxT, s.w, s.h, xs, y, r.rightStart, r.xr, true, lower, pen);
                if (!r.merged) {
                    PenRun(sf, clip, boxL, boxT, s.w, s.h, xs, y, r.xl, r.leftEnd, false,
                           2 * y >= s.h - 1, pen);
                }
            }
        }
        prev = cur;
        cur = next;
    }
}

bool MemoryOverlaps(const Surface& a, const Surface& b) {
    auto extent = [](const Surface& s, uintptr_t& from, uintptr_t& to) {
        from = reinterpret_cast<uintptr_t>(s.bits);
        to = from + static_cast<uintptr_t>(s.height - 1) * static_cast<uintptr_t>(s.strideBytes) +
             static_cast<uintptr_t>(s.width) * 4;
    };
    uintptr_t a0, a1, b0, b1;
    extent(a, a0, a1);
    extent(b, b0, b1);
    return a0 < b1 && b0 < a1;
}

// A packed private copy of a surface, for reading while the same memory is written.
struct Snapshot {
    std::vector<uint8_t> bytes;
    Surface surface;

    explicit Snapshot(const Surface& s) : bytes(static_cast<size_t>(s.width) * 4 * s.height) {
        surface = {bytes.data(), s.width * 4, s.width, s.height};
        for (int y = 0; y < s.height; ++y) {
            std::memcpy(At(surface, 0, y), At(s, 0, y), static_cast<size_t>(s.width) * 4);
        }
    }
};

} // namespace

Target WholeSurface(const Surface& s) {
    Target t;
    t.surface = s;
    t.clipRight = s.width;
    t.clipBottom = s.height;
    return t;
}

bool PatternOn(PenStyle style, int64_t position) {
    static constexpr int kDash[] = {18, 6};
    static constexpr int kDot[] = {3, 3};
    static constexpr int kDashDot[] = {9, 6, 3, 6};
    const int* runs = nullptr;
    int count = 0;
    switch (style) {
    case PenStyle::Solid:
        return true;
    case PenStyle::Clear:
        return false;
    case PenStyle::Dash:
        runs = kDash;
        count = 2;
        break;
    case PenStyle::Dot:
        runs = kDot;
        count = 2;
        break;
    case PenStyle::DashDot:
        runs = kDashDot;
        count = 4;
        break;
    }
    int period = 0;
    for (int i = 0; i < count; ++i)
        period += runs[i];
    i64 p = position % period;
    if (p < 0) p += period;
    for (int i = 0; i < count; ++i) {
        if (p < runs[i]) return i % 2 == 0;
        p -= runs[i];
    }
    return false;
}

uint32_t GetPixel(const Target& t, int x, int y) {
    if (!Usable(t.surface)) return 0;
    const i64 sx = i64{x} + t.originX, sy = i64{y} + t.originY;
    if (sx < 0 || sy < 0 || sx >= t.surface.width || sy >= t.surface.height) return 0;
    return Load(At(t.surface, sx, sy));
}

void SetPixel(Target& t, int x, int y, uint32_t rgb) {
    const Rect clip = ClipOf(t);
    const i64 sx = i64{x} + t.originX, sy = i64{y} + t.originY;
    if (sx < clip.l || sy < clip.t || sx >= clip.r || sy >= clip.b) return;
    Store(At(t.surface, sx, sy), rgb);
}

void FillRect(Target& t, int l, int tp, int r, int b, uint32_t rgb) {
    const Rect clip = ClipOf(t);
    const i64 y0 = std::max(i64{tp} + t.originY, clip.t), y1 = std::min(i64{b} + t.originY, clip.b);
    for (i64 y = y0; y < y1; ++y) {
        Span(t.surface, clip, y, i64{l} + t.originX, i64{r} + t.originX, rgb);
    }
}

void Rectangle(Target& t, int l, int tp, int r, int b, const Pen& pen, const Brush& brush) {
    DrawShape(t, i64{l} + t.originX, i64{tp} + t.originY, Shape(i64{r} - l, i64{b} - tp, 0, 0), pen,
              brush);
}

void RoundRect(Target& t, int l, int tp, int r, int b, int ellipseWidth, int ellipseHeight,
               const Pen& pen, const Brush& brush) {
    DrawShape(t, i64{l} + t.originX, i64{tp} + t.originY,
              Shape(i64{r} - l, i64{b} - tp, ellipseWidth, ellipseHeight), pen, brush);
}

void Ellipse(Target& t, int l, int tp, int r, int b, const Pen& pen, const Brush& brush) {
    const i64 w = i64{r} - l, h = i64{b} - tp;
    DrawShape(t, i64{l} + t.originX, i64{tp} + t.originY, Shape(w, h, w, h), pen, brush);
}

void Line(Target& t, int x0, int y0, int x1, int y1, const Pen& pen) {
    const Rect clip = ClipOf(t);
    if (clip.Empty() || pen.style == PenStyle::Clear) return;
    const i64 ax = i64{x0} + t.originX, ay = i64{y0} + t.originY;
    const i64 dx = i64{x1} - x0, dy = i64{y1} - y0;
    const bool xMajor = std::abs(dx) >= std::abs(dy);
    const i64 steps = xMajor ? std::abs(dx) : std::abs(dy);
    if (steps == 0) return;
    const i64 major0 = xMajor ? ax : ay, minor0 = xMajor ? ay : ax;
    const i64 dir = (xMajor ? dx : dy) > 0 ? 1 : -1, minorDelta = xMajor ? dy : dx;
    const i64 lo = xMajor ? clip.l : clip.t, hi = xMajor ? clip.r : clip.b;
    // Only the steps whose major coordinate lies in the clip.
    const i64 from = dir > 0 ? std::max<i64>(0, lo - major0) : std::max<i64>(0, major0 - hi + 1);
    const i64 to = dir > 0 ? std::min(steps, hi - major0) : std::min(steps, major0 - lo + 1);
    for (i64 i = from; i < to; ++i) {
        const i64 major = major0 + dir * i;
        const i64 minor = minor0 + RoundHalfDown(i128{i} * minorDelta, steps);
        const i64 x = xMajor ? major : minor, y = xMajor ? minor : major;
        if (x < clip.l || x >= clip.r || y < clip.t || y >= clip.b) continue;
        if (PatternOn(pen.style, i)) Store(At(t.surface, x, y), pen.rgb);
    }
}

void CopyRect(Target& dst, int dx, int dy, const Surface& src, int sx, int sy, int w, int h) {
    const Rect clip = ClipOf(dst);
    if (clip.Empty() || !Usable(src) || w <= 0 || h <= 0) return;
    const i64 tx = i64{dx} + dst.originX, ty = i64{dy} + dst.originY;
    // Offsets within the block that are inside both the source and the clip.
    const i64 i0 = std::max({i64{0}, -i64{sx}, clip.l - tx});
    const i64 i1 = std::min({i64{w}, i64{src.width} - sx, clip.r - tx});
    const i64 j0 = std::max({i64{0}, -i64{sy}, clip.t - ty});
    const i64 j1 = std::min({i64{h}, i64{src.height} - sy, clip.b - ty});
    if (i0 >= i1 || j0 >= j1) return;
    std::vector<uint8_t> rows;
    const uint8_t* from = At(src, sx + i0, sy + j0);
    i64 stride = src.strideBytes;
    if (MemoryOverlaps(src, dst.surface)) {
        stride = (i1 - i0) * 4;
        rows.resize(static_cast<size_t>(stride * (j1 - j0)));
        for (i64 j = j0; j < j1; ++j) {
            std::memcpy(rows.data() + (j - j0) * stride, At(src, sx + i0, sy + j),
                        static_cast<size_t>(stride));
        }
        from = rows.data();
    }
    for (i64 j = j0; j < j1; ++j) {
        CopyColours(At(dst.surface, tx + i0, ty + j), from + (j - j0) * stride, i1 - i0);
    }
}

void StretchCopy(Target& dst, int l, int t, int r, int b, const Surface& src) {
    const Rect clip = ClipOf(dst);
    if (clip.Empty() || !Usable(src)) return;
    const i64 boxL = i64{l} + dst.originX, boxT = i64{t} + dst.originY;
    const i64 w = i64{r} - l, h = i64{b} - t;
    if (w <= 0 || h <= 0) return;
    // At natural size a stretch is a block copy.
    if (w == src.width && h == src.height) {
        CopyRect(dst, l, t, src, 0, 0, src.width, src.height);
        return;
    }
    const i64 x0 = std::max(boxL, clip.l), x1 = std::min(boxL + w, clip.r);
    const i64 y0 = std::max(boxT, clip.t), y1 = std::min(boxT + h, clip.b);
    if (x0 >= x1 || y0 >= y1) return;
    // Source column of each target column: the centre of target pixel i is at i + 1/2.
    std::vector<i64> columns(static_cast<size_t>(x1 - x0));
    for (i64 x = x0; x < x1; ++x) {
        columns[static_cast<size_t>(x - x0)] =
            static_cast<i64>((i128{2} * (x - boxL) + 1) * src.width / (i128{2} * w));
    }
    std::optional<Snapshot> snapshot;
    const Surface* from = &src;
    if (MemoryOverlaps(src, dst.surface)) from = &snapshot.emplace(src).surface;
    for (i64 y = y0; y < y1; ++y) {
        const i64 row = static_cast<i64>((i128{2} * (y - boxT) + 1) * src.height / (i128{2} * h));
        for (i64 x = x0; x < x1; ++x) {
            Store(At(dst.surface, x, y),
                  Load(At(*from, columns[static_cast<size_t>(x - x0)], row)));
        }
    }
}

} // namespace raster
