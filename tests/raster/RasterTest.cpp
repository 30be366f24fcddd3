#include "platform/raster/Raster.h"

#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

using Art = std::vector<std::string>;
using raster::Brush;
using raster::Pen;
using raster::PenStyle;
using raster::Surface;
using raster::Target;

// Pictures are written with '.' for the background, 'X' for the pen, 'o' for the brush and lower
// case letters for the pixels of a copied source.
constexpr uint32_t kBackground = 0xA0B0C0;
constexpr uint32_t kInk = 0x102030;
constexpr uint32_t kPaint = 0x405060;

const Pen kSolid{kInk, PenStyle::Solid};
const Pen kNoPen{kInk, PenStyle::Clear};
const Brush kFill{kPaint, false};
const Brush kHollow{kPaint, true};

uint32_t ColourOf(char c) {
    switch (c) {
    case '.':
        return kBackground;
    case 'X':
        return kInk;
    case 'o':
        return kPaint;
    default:
        return 0x00200000u | static_cast<unsigned char>(c);
    }
}

char SymbolOf(uint32_t rgb) {
    if (rgb == kBackground) return '.';
    if (rgb == kInk) return 'X';
    if (rgb == kPaint) return 'o';
    if ((rgb & 0xFFFF00) == 0x200000 && rgb >= 0x200061 && rgb <= 0x20007A) {
        return static_cast<char>(rgb & 0xFF);
    }
    return '?';
}

// An owned 32-bit bitmap whose bytes are checked directly.
class Canvas {
public:
    Canvas(int w, int h, uint8_t fourthByte = 0) : bytes_(static_cast<size_t>(w) * h * 4) {
        surface_ = {bytes_.data(), w * 4, w, h};
        for (size_t i = 0; i < bytes_.size(); i += 4) {
            bytes_[i] = 0xA0; // blue, green, red of kBackground
            bytes_[i + 1] = 0xB0;
            bytes_[i + 2] = 0xC0;
            bytes_[i + 3] = fourthByte;
        }
        target = raster::WholeSurface(surface_);
    }
    explicit Canvas(const Art& art, uint8_t fourthByte = 0)
        : Canvas(static_cast<int>(art[0].size()), static_cast<int>(art.size()), fourthByte) {
        for (int y = 0; y < surface_.height; ++y) {
            for (int x = 0; x < surface_.width; ++x) {
                uint8_t* p = bytes_.data() + (static_cast<size_t>(y) * surface_.width + x) * 4;
                const uint32_t c = ColourOf(art[y][x]);
                p[0] = static_cast<uint8_t>(c >> 16);
                p[1] = static_cast<uint8_t>(c >> 8);
                p[2] = static_cast<uint8_t>(c);
            }
        }
    }

    const Surface& surface() const { return surface_; }
    int width() const { return surface_.width; }
    int height() const { return surface_.height; }
    const std::vector<uint8_t>& bytes() const { return bytes_; }

    // Read straight from the bytes, not through the code under test.
    uint32_t At(int x, int y) const {
        const uint8_t* p = bytes_.data() + (static_cast<size_t>(y) * surface_.width + x) * 4;
        return uint32_t{p[2]} | uint32_t{p[1]} << 8 | uint32_t{p[0]} << 16;
    }

    Art Picture() const {
        Art art(surface_.height, std::string(surface_.width, ' '));
        for (int y = 0; y < surface_.height; ++y) {
            for (int x = 0; x < surface_.width; ++x)
                art[y][x] = SymbolOf(At(x, y));
        }
        return art;
    }

    bool FourthBytesAre(uint8_t value) const {
        for (size_t i = 3; i < bytes_.size(); i += 4) {
            if (bytes_[i] != value) return false;
        }
        return true;
    }

    Target target;

private:
    std::vector<uint8_t> bytes_;
    Surface surface_;
};

// --- Pixels -------------------------------------------------------------------------------------

TEST(RasterPixels, ByteOrderFourthByteAndBounds) {
    Canvas c(3, 2, 0xEE);
    raster::SetPixel(c.target, 1, 0, 0xFF123456); // the top byte is not stored
    const uint8_t* p = c.bytes().data() + 4;
    EXPECT_EQ(p[0], 0x12); // blue
    EXPECT_EQ(p[1], 0x34); // green
    EXPECT_EQ(p[2], 0x56); // red
    EXPECT_EQ(p[3], 0x00);
    EXPECT_EQ(raster::GetPixel(c.target, 1, 0), 0x123456u);
    EXPECT_EQ(raster::GetPixel(c.target, 0, 0), kBackground);

    for (auto [x, y] : {std::pair{-1, 0}, {3, 0}, {0, -1}, {0, 2}, {INT_MIN, INT_MAX}}) {
        EXPECT_EQ(raster::GetPixel(c.target, x, y), 0u);
        raster::SetPixel(c.target, x, y, kInk);
    }
    // Only the one pixel written above carries a 0 in its 4th byte.
    int zeros = 0;
    for (size_t i = 3; i < c.bytes().size(); i += 4)
        zeros += c.bytes()[i] == 0;
    EXPECT_EQ(zeros, 1);
    EXPECT_EQ(c.Picture(), (Art{".?.", "..."}));
}

TEST(RasterPixels, OriginAndClipApplyToSinglePixels) {
    Canvas c(4, 3);
    c.target.originX = 2;
    c.target.originY = 1;
    c.target.clipLeft = 1;
    c.target.clipRight = 4;
    raster::SetPixel(c.target, 0, 0, kInk);  // surface (2, 1)
    raster::SetPixel(c.target, -2, 0, kInk); // surface (0, 1): outside the clip
    raster::SetPixel(c.target, 1, 1, kPaint);
    EXPECT_EQ(c.Picture(), (Art{"....", "..X.", "...o"}));
    // Reading ignores the clip but not the surface.
    raster::Target whole = raster::WholeSurface(c.surface());
    raster::SetPixel(whole, 0, 1, kInk);
    EXPECT_EQ(raster::GetPixel(c.target, -2, 0), kInk);
    EXPECT_EQ(raster::GetPixel(c.target, 2, 0), 0u);
}

TEST(RasterPixels, UnusableSurfacesAreEmpty) {
    std::vector<uint8_t> bytes(64, 0xAB);
    const std::vector<Surface> surfaces = {{nullptr, 16, 4, 4},
                                           {bytes.data(), 16, 0, 4},
                                           {bytes.data(), 16, 4, -1},
                                           {bytes.data(), 12, 4, 4}, // stride shorter than a row
                                           {bytes.data(), -16, 4, 1}};
    for (const Surface& s : surfaces) {
        Target t = raster::WholeSurface(s);
        raster::SetPixel(t, 0, 0, kInk);
        raster::FillRect(t, 0, 0, 4, 4, kInk);
        raster::Ellipse(t, 0, 0, 4, 4, kSolid, kFill);
        raster::Line(t, 0, 0, 4, 4, kSolid);
        raster::CopyRect(t, 0, 0, s, 0, 0, 4, 4);
        raster::StretchCopy(t, 0, 0, 4, 4, s);
        EXPECT_EQ(raster::GetPixel(t, 0, 0), 0u);
    }
    EXPECT_EQ(bytes, std::vector<uint8_t>(64, 0xAB));
}

// --- Shapes
// ---------------------------------------------------------------------------------------

struct ShapeCase {
    const char* name;
    std::function<void(Target&)> draw;
    Art picture;
};

void ExpectPictures(int w, int h, const std::vector<ShapeCase>& cases) {
    for (const ShapeCase& sc : cases) {
        SCOPED_TRACE(sc.name);
        Canvas c(w, h);
        sc.draw(c.target);
        EXPECT_EQ(c.Picture(), sc.picture);
        EXPECT_TRUE(c.FourthBytesAre(0));
    }
}

TEST(RasterRectangle, Pictures) {
    auto rect = [](int l, int t, int r, int b, Pen pen, Brush brush) {
        return [=](Target& tg) { raster::Rectangle(tg, l, t, r, b, pen, brush); };
    };
    ExpectPictures(6, 5,
                   {
                       {"pen and brush",
                        rect(0, 0, 6, 5, kSolid, kFill),
                        {"XXXXXX", "XooooX", "XooooX", "XooooX", "XXXXXX"}},
                       {"clear pen fills the whole box",
                        rect(1, 1, 5, 4, kNoPen, kFill),
                        {"......", ".oooo.", ".oooo.", ".oooo.", "......"}},
                       {"clear brush",
                        rect(1, 0, 5, 4, kSolid, kHollow),
                        {".XXXX.", ".X..X.", ".X..X.", ".XXXX.", "......"}},
                       {"clear pen and brush",
                        rect(0, 0, 6, 5, kNoPen, kHollow),
                        {"......", "......", "......", "......", "......"}},
                       {"1 x 1",
                        rect(2, 2, 3, 3, kSolid, kFill),
                        {"......", "......", "..X...", "......", "......"}},
                       {"2 x 2",
                        rect(1, 1, 3, 3, kSolid, kFill),
                        {"......", ".XX...", ".XX...", "......", "......"}},
                       {"1 wide",
                        rect(2, 0, 3, 5, kSolid, kFill),
                        {"..X...", "..X...", "..X...", "..X...", "..X..."}},
                       {"1 high",
                        rect(1, 3, 6, 4, kSolid, kFill),
                        {"......", "......", "......", ".XXXXX", "......"}},
                       {"empty",
                        rect(2, 1, 2, 4, kSolid, kFill),
                        {"......", "......", "......", "......", "......"}},
                       {"inverted",
                        rect(5, 4, 1, 1, kSolid, kFill),
                        {"......", "......", "......", "......", "......"}},
                   });
}

TEST(RasterEllipse, Pictures) {
    auto ellipse = [](int l, int t, int r, int b, Pen pen = kSolid, Brush brush = kFill) {
        return [=](Target& tg) { raster::Ellipse(tg, l, t, r, b, pen, brush); };
    };
    ExpectPictures(9, 9,
                   {
                       {"6 x 6",
                        ellipse(1, 1, 7, 7),
                        {".........", "...XX....", "..XooX...", ".XooooX..", ".XooooX..",
                         "..XooX...", "...XX....", ".........", "........."}},
                       {"7 x 7",
                        ellipse(1, 1, 8, 8),
                        {".........", "...XXX...", "..XoooX..", ".XoooooX.", ".XoooooX.",
                         ".XoooooX.", "..XoooX..", "...XXX...", "........."}},
                       {"7 x 7 clear pen",
                        ellipse(1, 1, 8, 8, kNoPen),
                        {".........", "...ooo...", "..ooooo..", ".ooooooo.", ".ooooooo.",
                         ".ooooooo.", "..ooooo..", "...ooo...", "........."}},
                       {"9 x 9 clear brush",
                        ellipse(0, 0, 9, 9, kSolid, kHollow),
                        {"...XXX...", ".XX...XX.", ".X.....X.", "X.......X", "X.......X",
                         "X.......X", ".X.....X.", ".XX...XX.", "...XXX..."}},
                       {"1 x 1",
                        ellipse(4, 4, 5, 5),
                        {".........", ".........", ".........", ".........", "....X....",
                         ".........", ".........", ".........", "........."}},
                       {"2 x 2",
                        ellipse(4, 4, 6, 6),
                        {".........", ".........", ".........", ".........", "....XX...",
                         "....XX...", ".........", ".........", "........."}},
                       {"3 x 3",
                        ellipse(1, 1, 4, 4),
                        {".........", "..X......", ".XoX.....", "..X......", ".........",
                         ".........", ".........", ".........", "........."}},
                       {"2 x 5 and 8 x 3",
                        [](Target& tg) {
                            raster::Ellipse(tg, 0, 0, 2, 5, kSolid, kFill);
                            raster::Ellipse(tg, 1, 6, 9, 9, kSolid, kFill);
                        },
                        {"XX.......", "XX.......", "XX.......", "XX.......", "XX.......",
                         ".........", "..XXXXXX.", ".XooooooX", "..XXXXXX."}},
                       {"empty and inverted",
                        [](Target& tg) {
                            raster::Ellipse(tg, 2, 2, 2, 8, kSolid, kFill);
                            raster::Ellipse(tg, 8, 8, 1, 1, kSolid, kFill);
                            raster::Ellipse(tg, 1, 5, 8, 5, kSolid, kFill);
                        },
                        {".........", ".........", ".........", ".........", ".........",
                         ".........", ".........", ".........", "........."}},
                   });
    // A flat one, and the classic 12 x 12 circle.
    ExpectPictures(22, 13,
                   {{"22 x 13",
                     ellipse(0, 0, 22, 13),
                     {
                         ".......XXXXXXXX.......",
                         "....XXXooooooooXXX....",
                         "..XXooooooooooooooXX..",
                         ".XooooooooooooooooooX.",
                         ".XooooooooooooooooooX.",
                         "XooooooooooooooooooooX",
                         "XooooooooooooooooooooX",
                         "XooooooooooooooooooooX",
                         ".XooooooooooooooooooX.",
                         ".XooooooooooooooooooX.",
                         "..XXooooooooooooooXX..",
                         "....XXXooooooooXXX....",
                         ".......XXXXXXXX.......",
                     }}});
    ExpectPictures(12, 12,
                   {{"12 x 12",
                     ellipse(0, 0, 12, 12, kSolid, kHollow),
                     {
                         "....XXXX....",
                         "..XX....XX..",
                         ".X........X.",
                         ".X........X.",
                         "X..........X",
                         "X..........X",
                         "X..........X",
                         "X..........X",
                         ".X........X.",
                         ".X........X.",
                         "..XX....XX..",
                         "....XXXX....",
                     }}});
}

// The base of the three-pin jumper drawing: (1, 1, 42, 17) with 9 x 9 corners on 43 x 18.
TEST(RasterRoundRect, JumperBase) {
    Canvas c(43, 18);
    raster::RoundRect(c.target, 1, 1, 42, 17, 9, 9, kSolid, kFill);
    const Art expected = {
        "...........................................",
        "....XXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXX....",
        "..XXoooooooooooooooooooooooooooooooooooXX..",
        "..XoooooooooooooooooooooooooooooooooooooX..",
        ".XoooooooooooooooooooooooooooooooooooooooX.",
        ".XoooooooooooooooooooooooooooooooooooooooX.",
        ".XoooooooooooooooooooooooooooooooooooooooX.",
        ".XoooooooooooooooooooooooooooooooooooooooX.",
        ".XoooooooooooooooooooooooooooooooooooooooX.",
        ".XoooooooooooooooooooooooooooooooooooooooX.",
        ".XoooooooooooooooooooooooooooooooooooooooX.",
        ".XoooooooooooooooooooooooooooooooooooooooX.",
        ".XoooooooooooooooooooooooooooooooooooooooX.",
        ".XoooooooooooooooooooooooooooooooooooooooX.",
        "..XoooooooooooooooooooooooooooooooooooooX..",
        "..XXoooooooooooooooooooooooooooooooooooXX..",
        "....XXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXX....",
        "...........................................",
    };
    EXPECT_EQ(c.Picture(), expected);
}

TEST(RasterRoundRect, CornerSizes) {
    auto same = [](const std::function<void(Target&)>& a, const std::function<void(Target&)>& b) {
        Canvas ca(14, 9), cb(14, 9);
        a(ca.target);
        b(cb.target);
        return ca.bytes() == cb.bytes();
    };
    for (Pen pen : {kSolid, Pen{kInk, PenStyle::Dash}, Pen{kInk, PenStyle::Dot}, kNoPen}) {
        SCOPED_TRACE(static_cast<int>(pen.style));
        for (auto [cwValue, chValue] :
             {std::pair{0, 0}, {0, 5}, {5, 0}, {-3, -3}, {1, 9}, {9, 1}}) {
            const int cw = cwValue, ch = chValue; // captured below
            EXPECT_TRUE(
                same([&](Target& t) { raster::Rectangle(t, 1, 1, 13, 8, pen, kFill); },
                     [&](Target& t) { raster::RoundRect(t, 1, 1, 13, 8, cw, ch, pen, kFill); }))
                << cw << " x " << ch;
        }
        for (auto [cwValue, chValue] :
             {std::pair{12, 7}, {13, 7}, {100, 100}, {INT_MAX, INT_MAX}}) {
            const int cw = cwValue, ch = chValue;
            EXPECT_TRUE(
                same([&](Target& t) { raster::Ellipse(t, 1, 1, 13, 8, pen, kFill); },
                     [&](Target& t) { raster::RoundRect(t, 1, 1, 13, 8, cw, ch, pen, kFill); }))
                << cw << " x " << ch;
        }
    }
    // Unequal corner width and height: each corner is a quarter of a 6 x 4 ellipse.
    Canvas c(12, 7);
    raster::RoundRect(c.target, 0, 0, 12, 7, 6, 4, kSolid, kFill);
    EXPECT_EQ(c.Picture(), (Art{".XXXXXXXXXX.", "XooooooooooX", "XooooooooooX", "XooooooooooX",
                                "XooooooooooX", "XooooooooooX", ".XXXXXXXXXX."}));
}

int CountNeighbours(const Art& art, int x, int y, char what, bool diagonals) {
    int n = 0;
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
            if ((dx == 0 && dy == 0) || (!diagonals && dx != 0 && dy != 0)) continue;
            n += art[y + dy][x + dx] == what;
        }
    }
    return n;
}

// The rules of a shape drawn with a pen and a brush into the box (1, 1, w + 1, h + 1) of a canvas
// one pixel larger all round.
void ExpectWellFormed(const Art& art, int w, int h, bool curve) {
    const int W = w + 2, H = h + 2;
    int outline = 0;
    for (int y = 0; y < H; ++y) {
        ASSERT_EQ(art[y], std::string(art[y].rbegin(), art[y].rend())) << "row " << y;
        ASSERT_EQ(art[y], art[H - 1 - y]) << "row " << y;
        const size_t first = art[y].find_first_not_of('.'), last = art[y].find_last_not_of('.');
        if (y == 0 || y == H - 1) {
            ASSERT_EQ(first, std::string::npos) << "outside the box, row " << y;
            continue;
        }
        ASSERT_NE(first, std::string::npos) << "empty row " << y;
        ASSERT_GE(first, 1u) << "row " << y;
        ASSERT_EQ(art[y].substr(first, last - first + 1).find('.'), std::string::npos)
            << "gap in row " << y;
        for (int x = 1; x < W - 1; ++x) {
            if (art[y][x] == 'o') {
                ASSERT_EQ(CountNeighbours(art, x, y, '.', false), 0) << x << "," << y;
            }
            if (art[y][x] != 'X') continue;
            ++outline;
            ASSERT_GT(CountNeighbours(art, x, y, '.', false), 0) << x << "," << y;
            if (curve && w >= 3 && h >= 3) {
                // Only the far end of a run at the box edge may stop (a narrow shape's tip).
                if (x > 1 && x < w && y > 1 && y < h) {
                    ASSERT_GE(CountNeighbours(art, x, y, 'X', true), 2)
                        << "loose end " << x << "," << y;
                }
                // A 2 x 2 block only where the two halves of an even-sized narrow shape meet at
                // its tip, as the middle two columns (or rows).
                const bool tip = (w % 2 == 0 && x == w / 2) || (h % 2 == 0 && y == h / 2);
                ASSERT_FALSE(!tip && art[y][x + 1] == 'X' && art[y + 1][x] == 'X' &&
                             art[y + 1][x + 1] == 'X')
                    << "doubled pixels at " << x << "," << y;
            }
        }
    }
    // Touches all four sides of the box.
    EXPECT_NE(art[1].find('X'), std::string::npos);
    bool left = false;
    for (int y = 1; y < H - 1; ++y)
        left |= art[y][1] == 'X';
    EXPECT_TRUE(left);
    // One 8-connected curve.
    std::vector<std::pair<int, int>> todo;
    Art seen = art;
    for (int y = 1; y < H - 1 && todo.empty(); ++y) {
        const size_t x = art[y].find('X');
        if (x != std::string::npos) todo.push_back({static_cast<int>(x), y});
    }
    int reached = 0;
    while (!todo.empty()) {
        auto [x, y] = todo.back();
        todo.pop_back();
        if (seen[y][x] != 'X') continue;
        seen[y][x] = '*';
        ++reached;
        for (int dy = -1; dy <= 1; ++dy) {
            for (int dx = -1; dx <= 1; ++dx)
                todo.push_back({x + dx, y + dy});
        }
    }
    EXPECT_EQ(reached, outline);
}

TEST(RasterEllipse, RulesHoldForEverySize) {
    std::vector<std::pair<int, int>> sizes = {{43, 26}, {26, 43}, {60, 9}, {9, 60}, {41, 16}};
    for (int w = 1; w <= 24; ++w) {
        for (int h = 1; h <= 24; ++h)
            sizes.push_back({w, h});
    }
    for (auto [w, h] : sizes) {
        SCOPED_TRACE(std::to_string(w) + " x " + std::to_string(h));
        Canvas outlined(w + 2, h + 2), filled(w + 2, h + 2);
        raster::Ellipse(outlined.target, 1, 1, w + 1, h + 1, kSolid, kFill);
        raster::Ellipse(filled.target, 1, 1, w + 1, h + 1, kNoPen, kFill);
        const Art art = outlined.Picture();
        ExpectWellFormed(art, w, h, true);
        // The clear pen's fill is exactly the outlined shape.
        Art union_ = art;
        for (std::string& row : union_) {
            for (char& ch : row)
                ch = ch == 'X' ? 'o' : ch;
        }
        EXPECT_EQ(filled.Picture(), union_);
        if (HasFatalFailure()) return;
    }
}

TEST(RasterRoundRect, RulesHoldForCornerSizes) {
    for (auto [w, h] : {std::pair{43, 18}, {41, 16}, {18, 43}, {7, 5}, {20, 3}}) {
        for (int cw = 0; cw <= w; cw += 3) {
            for (int ch = 0; ch <= h; ch += 2) {
                SCOPED_TRACE(std::to_string(w) + " x " + std::to_string(h) + " corners " +
                             std::to_string(cw) + " x " + std::to_string(ch));
                Canvas c(w + 2, h + 2);
                raster::RoundRect(c.target, 1, 1, w + 1, h + 1, cw, ch, kSolid, kFill);
                ExpectWellFormed(c.Picture(), w, h, cw >= 3 && ch >= 3);
                if (HasFatalFailure()) return;
            }
        }
    }
}

// --- Pen patterns -------------------------------------------------------------------------------

TEST(RasterPen, PatternsAlongOutlines) {
    const Pen dash{kInk, PenStyle::Dash}, dot{kInk, PenStyle::Dot},
        dashDot{kInk, PenStyle::DashDot};
    // Positions run clockwise from the top-left pixel: 8 x 5 dotted (3 on, 3 off) has the top row
    // at 0..7, the right column at 8..10, the bottom row at 11..18 from the right, the left column
    // at 19..21 from the bottom. Gaps keep what was there.
    ExpectPictures(8, 5,
                   {{"dotted rectangle",
                     [&](Target& t) { raster::Rectangle(t, 0, 0, 8, 5, dot, kHollow); },
                     {"XXX...XX", ".......X", "X.......", "X.......", "X...XXX."}}});
    // 18 on, 6 off along the 44 pixels of a 16 x 8 outline; the brush is not patterned.
    ExpectPictures(
        16, 8,
        {{"dashed rectangle",
          [&](Target& t) { raster::Rectangle(t, 0, 0, 16, 8, dash, kFill); },
          {"XXXXXXXXXXXXXXXX", ".ooooooooooooooX", ".ooooooooooooooX", "Xoooooooooooooo.",
           "Xoooooooooooooo.", "Xoooooooooooooo.", "Xoooooooooooooo.", "XXXXXXXXXXXXXX.."}}});
    // 7 x 7 ellipse, positions in horizontal plus vertical steps from (2, 0): the top row 0..2, the
    // right side 4, 6, 7, 8, 10, the bottom row 12..14, the left side 16, 18, 19, 20, 22.
    ExpectPictures(
        7, 7,
        {{"dotted ellipse",
          [&](Target& t) { raster::Ellipse(t, 0, 0, 7, 7, dot, kHollow); },
          {"..XXX..", ".......", "X.....X", "X.....X", "X.....X", ".......", "..XXX.."}}});
    // A flat one with two-pixel runs on its middle row: right (18, 1) and (19, 1) at 17 and 18,
    // left (1, 1) and (0, 1) at 38 and 39 (counted as below the middle), the bottom row at 38 - x.
    ExpectPictures(20, 3,
                   {{"dotted flat ellipse",
                     [&](Target& t) { raster::Ellipse(t, 0, 0, 20, 3, dot, kHollow); },
                     {"..XXX...XXX...XXX...", ".X.................X", "..X...XXX...XXX....."}}});
    // 9 on, 6 off, 3 on, 6 off from the first point of a line.
    ExpectPictures(24, 2,
                   {{"dash-dot line",
                     [&](Target& t) { raster::Line(t, 0, 0, 24, 0, dashDot); },
                     {"XXXXXXXXX......XXX......", "........................"}},
                    {"dash-dot line backwards",
                     [&](Target& t) { raster::Line(t, 23, 1, -1, 1, dashDot); },
                     {"........................", "......XXX......XXXXXXXXX"}}});
    EXPECT_TRUE(raster::PatternOn(PenStyle::Dot, -4)); // same as 2: the pattern repeats both ways
    EXPECT_FALSE(raster::PatternOn(PenStyle::Dot, -1));
}

// --- Lines --------------------------------------------------------------------------------------

TEST(RasterLine, Pictures) {
    auto line = [](std::vector<std::array<int, 4>> lines) {
        return [=](Target& t) {
            for (auto [x0, y0, x1, y1] : lines)
                raster::Line(t, x0, y0, x1, y1, kSolid);
        };
    };
    ExpectPictures(7, 5,
                   {
                       {"horizontal and vertical, last point excluded",
                        line({{0, 0, 5, 0}, {6, 4, 6, 1}}),
                        {"XXXXX..", ".......", "......X", "......X", "......X"}},
                       {"diagonal",
                        line({{0, 0, 4, 4}}),
                        {"X......", ".X.....", "..X....", "...X...", "......."}},
                       {"shallow: halves go up",
                        line({{0, 0, 6, 3}}),
                        {"XX.....", "..XX...", "....XX.", ".......", "......."}},
                       {"shallow backwards",
                        line({{6, 3, 0, 0}}),
                        {".X.....", "..XX...", "....XX.", "......X", "......."}},
                       {"steep",
                        line({{1, 0, 3, 5}}),
                        {".X.....", ".X.....", "..X....", "..X....", "...X..."}},
                       {"a point draws nothing; clear pen draws nothing",
                        [](Target& t) {
                            raster::Line(t, 3, 3, 3, 3, kSolid);
                            raster::Line(t, 0, 0, 6, 0, kNoPen);
                        },
                        {".......", ".......", ".......", ".......", "......."}},
                   });
}

TEST(RasterLine, SamePixelsInBothDirections) {
    for (int a = 0; a < 36; ++a) {
        for (int b = 0; b < 36; ++b) {
            const int x0 = a % 6, y0 = a / 6, x1 = b % 6, y1 = b / 6;
            Canvas forward(6, 6), backward(6, 6);
            raster::Line(forward.target, x0, y0, x1, y1, kSolid);
            raster::SetPixel(forward.target, x1, y1, kInk);
            raster::Line(backward.target, x1, y1, x0, y0, kSolid);
            raster::SetPixel(backward.target, x0, y0, kInk);
            ASSERT_EQ(forward.Picture(), backward.Picture())
                << x0 << "," << y0 << " - " << x1 << "," << y1;
        }
    }
}

// --- Clipping and origins
// -------------------------------------------------------------------------

// Each drawing once on a large canvas, and once on a small canvas that shows the part from (10, 10)
// through an origin of (-10, -10) and a clip: the small one must show exactly the large one's
// pixels inside the clip and nothing outside it.
TEST(RasterClip, WritesOnlyInsideClipAndSurface) {
    Canvas source({"abcde", "fghij", "klmno"});
    const Pen dash{kInk, PenStyle::Dash};
    const std::vector<std::pair<const char*, std::function<void(Target&)>>> drawings = {
        {"rectangle", [](Target& t) { raster::Rectangle(t, 6, 8, 18, 30, kSolid, kFill); }},
        {"dashed rectangle", [&](Target& t) { raster::Rectangle(t, 4, 12, 33, 21, dash, kFill); }},
        {"round rect", [](Target& t) { raster::RoundRect(t, 5, 5, 29, 20, 12, 9, kSolid, kFill); }},
        {"ellipse", [](Target& t) { raster::Ellipse(t, 8, 3, 35, 24, kSolid, kFill); }},
        {"dashed ellipse", [&](Target& t) { raster::Ellipse(t, 12, 6, 38, 33, dash, kFill); }},
        {"ellipse, clear pen", [](Target& t) { raster::Ellipse(t, 2, 9, 22, 27, kNoPen, kFill); }},
        {"fill", [](Target& t) { raster::FillRect(t, 7, 7, 30, 12, kPaint); }},
        {"lines",
         [](Target& t) {
             raster::Line(t, 0, 2, 39, 31, kSolid);
             raster::Line(t, 30, 0, 12, 35, kSolid);
         }},
        {"copy", [&](Target& t) { raster::CopyRect(t, 9, 11, source.surface(), 0, 0, 5, 3); }},
        {"stretch", [&](Target& t) { raster::StretchCopy(t, 8, 9, 33, 29, source.surface()); }},
    };
    for (const auto& [name, draw] : drawings) {
        SCOPED_TRACE(name);
        Canvas large(40, 36);
        draw(large.target);
        Canvas small(12, 10);
        small.target.originX = -10;
        small.target.originY = -10;
        small.target.clipLeft = 2;
        small.target.clipTop = -5;
        small.target.clipRight = 9;
        small.target.clipBottom = 50; // beyond the surface
        draw(small.target);
        int differences = 0, inside = 0;
        for (int y = 0; y < 10; ++y) {
            for (int x = 0; x < 12; ++x) {
                const bool clipped = x >= 2 && x < 9;
                const uint32_t want = clipped ? large.At(x + 10, y + 10) : kBackground;
                differences += small.At(x, y) != want;
                inside += clipped && want != kBackground;
            }
        }
        EXPECT_EQ(differences, 0);
        EXPECT_GT(inside, 0) << "the drawing should show in the clip";
    }
}

TEST(RasterClip, HugeCoordinates) {
    const Pen dot{kInk, PenStyle::Dot};
    ExpectPictures(
        8, 6,
        {
            {"rectangle reaching to the ends of int",
             [](Target& t) { raster::Rectangle(t, INT_MIN, 2, INT_MAX, INT_MAX, kSolid, kFill); },
             {"........", "........", "XXXXXXXX", "oooooooo", "oooooooo", "oooooooo"}},
            {"dotted top edge keeps counting from its far corner (1000 % 6 = 4)",
             [&](Target& t) { raster::Rectangle(t, -1000, 0, INT_MAX, INT_MAX, dot, kHollow); },
             {"..XXX...", "........", "........", "........", "........", "........"}},
            {"ellipse around the surface",
             [](Target& t) {
                 raster::Ellipse(t, INT_MIN, INT_MIN, INT_MAX, INT_MAX, kSolid, kFill);
             },
             {"oooooooo", "oooooooo", "oooooooo", "oooooooo", "oooooooo", "oooooooo"}},
            {"left side of a huge ellipse",
             [](Target& t) {
                 raster::Ellipse(t, 0, -1000000000, 2000000000, 1000000001, kSolid, kFill);
             },
             {"Xooooooo", "Xooooooo", "Xooooooo", "Xooooooo", "Xooooooo", "Xooooooo"}},
            {"top of a huge ellipse",
             [](Target& t) {
                 raster::Ellipse(t, -1000000000, 0, 1000000008, 2000000000, kSolid, kFill);
             },
             {"XXXXXXXX", "oooooooo", "oooooooo", "oooooooo", "oooooooo", "oooooooo"}},
            // The top row of this ellipse starts at 2998107 - 3000000: the largest odd m with
            // (B - 1)^2 A^2 < B^2 (A^2 - m^2), A = 6000007, B = 4999999, is 3793, and the row
            // starts (A - m) / 2 from the left of the box.
            {"dotted top of a huge ellipse",
             [&](Target& t) { raster::Ellipse(t, -3000000, 0, 3000008, 5000000, dot, kHollow); },
             {"...XXX..", "........", "........", "........", "........", "........"}},
            {"lines between the ends of int",
             [](Target& t) {
                 raster::Line(t, INT_MIN, INT_MIN, INT_MAX, INT_MAX, kSolid);
                 raster::Line(t, INT_MIN, 0, INT_MAX, 3, kSolid); // 1.5000000003 at x = 0
             },
             {"X.......", ".X......", "XXXXXXXX", "...X....", "....X...", ".....X.."}},
            {"origin and box at opposite ends of int: the box is (-1, -1, 3, 2)",
             [](Target& t) {
                 t.originX = t.originY = INT_MAX;
                 raster::Rectangle(t, INT_MIN, INT_MIN, INT_MIN + 4, INT_MIN + 3, kSolid, kFill);
             },
             {"ooX.....", "XXX.....", "........", "........", "........", "........"}},
            {"fill",
             [](Target& t) { raster::FillRect(t, INT_MIN, 4, INT_MAX, INT_MAX, kPaint); },
             {"........", "........", "........", "........", "oooooooo", "oooooooo"}},
        });
    // An origin far out moves everything off the surface without overflowing.
    Canvas c(8, 6);
    Canvas source({"ab", "cd"});
    const std::vector<std::pair<int, std::vector<int>>> farOut = {
        {INT_MIN, {INT_MIN, -1, 0, INT_MAX}}, // right and bottom edges end at -1
        {INT_MAX, {0, INT_MAX}}};
    for (const auto& [origin, values] : farOut) {
        c.target.originX = origin;
        c.target.originY = origin;
        for (int v : values) {
            raster::SetPixel(c.target, v, v, kInk);
            raster::FillRect(c.target, v, v, INT_MAX, INT_MAX, kInk);
            raster::Rectangle(c.target, v, v, INT_MAX, INT_MAX, dot, kFill);
            raster::Ellipse(c.target, INT_MIN, v, INT_MAX, INT_MAX, kSolid, kFill);
            raster::Line(c.target, v, INT_MIN, INT_MAX, v, kSolid);
            raster::CopyRect(c.target, v, v, source.surface(), INT_MIN, v, INT_MAX, INT_MAX);
            raster::StretchCopy(c.target, v, v, INT_MAX, INT_MAX, source.surface());
        }
    }
    EXPECT_EQ(c.Picture(), Art(6, "........"));
}

// --- Copies -------------------------------------------------------------------------------------

TEST(RasterCopy, BlockCopies) {
    const Canvas source({"abcd", "efgh", "ijkl"}, 0x7F);
    auto copy = [&](int dx, int dy, int sx, int sy, int w, int h) {
        return [=, &source](Target& t) {
            raster::CopyRect(t, dx, dy, source.surface(), sx, sy, w, h);
        };
    };
    ExpectPictures(
        6, 4, // also checks that the source's 4th bytes (0x7F) come out as 0
        {
            {"inside", copy(1, 1, 1, 0, 3, 2), {"......", ".bcd..", ".fgh..", "......"}},
            {"source partly outside",
             copy(0, 0, -1, -1, 3, 3),
             {"......", ".ab...", ".ef...", "......"}},
            {"target partly outside",
             copy(-2, -1, 0, 0, 4, 3),
             {"gh....", "kl....", "......", "......"}},
            {"huge block clipped both sides",
             copy(3, 2, 0, 0, INT_MAX, INT_MAX),
             {"......", "......", "...abc", "...efg"}},
            {"empty block", copy(0, 0, 0, 0, 0, 3), {"......", "......", "......", "......"}},
            {"nothing of the source",
             copy(0, 0, 4, 0, 2, 2),
             {"......", "......", "......", "......"}},
        });
}

TEST(RasterCopy, OverlappingCopiesUseTheOriginalPixels) {
    Canvas right({"abcdef"}), left({"abcdef"}), grow({"abcd"});
    raster::CopyRect(right.target, 1, 0, right.surface(), 0, 0, 5, 1);
    raster::CopyRect(left.target, 0, 0, left.surface(), 1, 0, 5, 1);
    raster::StretchCopy(grow.target, 0, 0, 8, 1, grow.surface());
    EXPECT_EQ(right.Picture(), Art{"aabcde"});
    EXPECT_EQ(left.Picture(), Art{"bcdeff"});
    EXPECT_EQ(grow.Picture(), Art{"aabb"});
}

TEST(RasterCopy, StretchCopies) {
    const Canvas source({"ab", "cd"}, 0x7F);
    const Canvas row({"abcd"});
    auto stretch = [](const Canvas& src, int l, int t, int r, int b) {
        return [=, &src](Target& tg) { raster::StretchCopy(tg, l, t, r, b, src.surface()); };
    };
    ExpectPictures(
        6, 4,
        {
            {"own size is a block copy",
             stretch(source, 1, 1, 3, 3),
             {"......", ".ab...", ".cd...", "......"}},
            {"doubled", stretch(source, 0, 0, 4, 4), {"aabb..", "aabb..", "ccdd..", "ccdd.."}},
            {"halved: pixel centres pick the second of each pair",
             stretch(row, 0, 0, 2, 1),
             {"bd....", "......", "......", "......"}},
            {"4 to 3 and 4 to 6",
             [&](Target& t) {
                 raster::StretchCopy(t, 0, 0, 3, 1, row.surface());
                 raster::StretchCopy(t, 0, 2, 6, 3, row.surface());
             },
             {"acd...", "......", "abbcdd", "......"}},
            {"negative position",
             stretch(source, -2, -2, 2, 2),
             {"dd....", "dd....", "......", "......"}},
            {"empty and inverted boxes",
             [&](Target& t) {
                 raster::StretchCopy(t, 0, 0, 0, 4, source.surface());
                 raster::StretchCopy(t, 4, 4, 0, 0, source.surface());
             },
             {"......", "......", "......", "......"}},
        });
}

} // namespace
