#include "controls/glow/Glow.h"

#include <gtest/gtest.h>

#include <array>
#include <cfenv>
#include <cmath>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <limits>
#include <vector>

namespace {

using Rgb = std::array<int, 3>; // red, green, blue
constexpr uint32_t kYellow = 0x00FFFF;

// A 32-bit image: rows top-down, blue, green, red and a spare byte a pixel, optional padding.
struct Image {
    Image(int w, int h, int padding = 0)
        : width(w), height(h), stride(w * 4 + padding), bytes(std::size_t(stride) * h) {}

    uint8_t* At(int x, int y) { return bytes.data() + std::size_t(y) * stride + x * 4; }
    Rgb RgbAt(int x, int y) {
        const uint8_t* p = At(x, y);
        return {p[2], p[1], p[0]};
    }
    // Fills every pixel's colour from `background` and its spare byte with 0xA5.
    void Fill(const std::function<Rgb(int, int)>& background) {
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                const Rgb c = background(x, y);
                uint8_t* p = At(x, y);
                p[0] = uint8_t(c[2]), p[1] = uint8_t(c[1]), p[2] = uint8_t(c[0]), p[3] = 0xA5;
            }
    }
    void Render(bool whiteCore, uint32_t colour, float strength) {
        glow::RenderGlow(bytes.data(), stride, width - 1, height - 1, whiteCore, colour, strength);
    }

    int width, height, stride;
    std::vector<uint8_t> bytes;
};

Rgb Black(int, int) {
    return {0, 0, 0};
}
Rgb Pattern(int x, int y) {
    return {(x * 37 + y * 11) % 256, (x * 5 + y * 53 + 90) % 256, (x * 101 + y * 7 + 200) % 256};
}

// Exact geometry in integers: is (x, y) on or outside the ellipse inscribed in the bounds, and is
// it inside the inner disc (radius 0.77)? u = (2x - L) / L, v = (2y - M) / M.
long long Radius2Numerator(int x, int y, int L, int M) {
    const long long a = 2LL * x - L, b = 2LL * y - M;
    return a * a * M * M + b * b * L * L; // over L²·M²
}
bool OnOrOutside(int x, int y, int L, int M) {
    return Radius2Numerator(x, y, L, M) >= 1LL * L * L * M * M;
}
bool InInnerDisc(int x, int y, int L, int M) {
    return Radius2Numerator(x, y, L, M) * 10000 < 5929LL * L * L * M * M;
}

// The blend written out from the formula for one pixel, apart from the routine: double
// arithmetic with a float cast wherever a value is kept.
Rgb Reference(int x, int y, int L, int M, bool core, Rgb background, Rgb colour, double strength) {
    const float u = float(x * double(float(2.0 / L)) - 1.0);
    const float v = float(y * double(float(2.0 / M)) - 1.0);
    const float d = float(double(u) * u + double(v) * v);
    if (d >= 1.0f) return background;
    float w = 0.16f;
    if (double(d) >= 0.5929) { // 0.77²
        w = float(1.0 - 8.0 * std::abs(double(float(std::sqrt(double(d)))) - 0.875));
        if (core && 2.0 * w > 1.0) {
            background = {255, 255, 255};
            w = float(2.0 - 2.0 * w);
        } else if (core) {
            w = float(2.0 * w);
        }
    }
    w = float(w * strength);
    const float k = float(1.0 - w);
    Rgb out;
    for (int i = 0; i < 3; ++i)
        out[i] = int(std::fmin(255.0, std::fmax(0.0, std::nearbyint(background[i] * double(k) +
                                                                    colour[i] * double(w)))));
    return out;
}

// The three images of a 65 × 65 setup circle (yellow) on black.
struct SettingsImage {
    const char* name;
    bool whiteCore;
    float strength;
    std::array<Rgb, 9> row32; // columns 0 to 8 of row 32
    Rgb centre;
};
const SettingsImage kSettingsImages[] = {
    {"Rest",
     false,
     0.5f,
     {{{0, 0, 0},
       {32, 32, 0},
       {64, 64, 0},
       {96, 96, 0},
       {128, 128, 0},
       {96, 96, 0},
       {64, 64, 0},
       {32, 32, 0},
       {20, 20, 0}}},
     {20, 20, 0}},
    {"Bright",
     true,
     1.0f,
     {{{0, 0, 0},
       {128, 128, 0},
       {255, 255, 0},
       {255, 255, 128},
       {255, 255, 255},
       {255, 255, 128},
       {255, 255, 0},
       {128, 128, 0},
       {41, 41, 0}}},
     {41, 41, 0}},
    {"Lit",
     false,
     0.75f,
     {{{0, 0, 0},
       {48, 48, 0},
       {96, 96, 0},
       {143, 143, 0},
       {191, 191, 0},
       {143, 143, 0},
       {96, 96, 0},
       {48, 48, 0},
       {31, 31, 0}}},
     {31, 31, 0}},
};

TEST(RenderGlow, SettingsCircleOnBlackGivesTheKnownRow) {
    for (const SettingsImage& c : kSettingsImages) {
        SCOPED_TRACE(c.name);
        Image image(65, 65);
        image.Fill(Black);
        image.Render(c.whiteCore, kYellow, c.strength);
        for (int x = 0; x <= 8; ++x)
            EXPECT_EQ(image.RgbAt(x, 32), c.row32[std::size_t(x)]) << "column " << x;
        EXPECT_EQ(image.RgbAt(32, 32), c.centre);
        // The ring is symmetric about the centre column; 65 × 65 has no rounding in its geometry.
        for (int x = 0; x <= 8; ++x)
            EXPECT_EQ(image.RgbAt(64 - x, 32), c.row32[std::size_t(x)]);
    }
}

// Pixels on or outside the inscribed ellipse keep the background: the corners, (0, 32) at d = 1,
// and for the smallest defined image, 2 × 2, every pixel. Everything inside follows the formula.
TEST(RenderGlow, KeepsTheBackgroundOnAndOutsideTheEllipse) {
    const std::array<int, 2> sizes[] = {{65, 65}, {43, 26}, {26, 43}, {2, 2}, {3, 3}, {2, 9}};
    for (const auto& [w, h] : sizes)
        for (const SettingsImage& c : kSettingsImages) {
            SCOPED_TRACE(testing::Message() << w << "x" << h << " " << c.name);
            Image image(w, h);
            image.Fill(Pattern);
            image.Render(c.whiteCore, kYellow, c.strength);
            int kept = 0;
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x) {
                    const Rgb expected = OnOrOutside(x, y, w - 1, h - 1)
                                             ? Pattern(x, y)
                                             : Reference(x, y, w - 1, h - 1, c.whiteCore,
                                                         Pattern(x, y), {255, 255, 0}, c.strength);
                    kept += OnOrOutside(x, y, w - 1, h - 1);
                    ASSERT_EQ(image.RgbAt(x, y), expected) << "pixel " << x << "," << y;
                }
            EXPECT_GE(kept, 4); // at least the corners were checked as kept
        }
}

// 43 × 26, as on the board page: the ring is squeezed vertically. Values worked out by hand.
TEST(RenderGlow, FlatEllipse) {
    struct Pixel {
        int x, y;
        Rgb rest, bright, lit;
    };
    const Pixel pixels[] = {
        {21, 0, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}},            // top of the ellipse, d = 1
        {0, 12, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}},            // just outside the left end
        {21, 1, {82, 82, 0}, {255, 255, 71}, {122, 122, 0}}, // r = 0.92, near the crest
        {1, 12, {48, 48, 0}, {191, 191, 0}, {72, 72, 0}},    // r = 0.953
        {21, 12, {20, 20, 0}, {41, 41, 0}, {31, 31, 0}},     // inner disc
        // r = 0.95086: the white-core blend is 200.50005, a hair above a tie; single rounding of
        // each kept value gets it right, and its mirror image gives the same.
        {33, 3, {50, 50, 0}, {201, 201, 0}, {75, 75, 0}},
        {9, 3, {50, 50, 0}, {201, 201, 0}, {75, 75, 0}},
    };
    Image rest(43, 26), bright(43, 26), lit(43, 26);
    for (Image* image : {&rest, &bright, &lit})
        image->Fill(Black);
    rest.Render(false, kYellow, 0.5f);
    bright.Render(true, kYellow, 1.0f);
    lit.Render(false, kYellow, 0.75f);
    for (const Pixel& p : pixels) {
        SCOPED_TRACE(testing::Message() << "pixel " << p.x << "," << p.y);
        EXPECT_EQ(rest.RgbAt(p.x, p.y), p.rest);
        EXPECT_EQ(bright.RgbAt(p.x, p.y), p.bright);
        EXPECT_EQ(lit.RgbAt(p.x, p.y), p.lit);
    }
}

// The white core stays in the ring: inner-disc pixels get the plain 0.16 blend, exactly as
// without the core, while the ring crest turns white.
TEST(RenderGlow, WhiteCoreNeverReachesTheInnerDisc) {
    const auto background = [](int, int) { return Rgb{50, 100, 200}; };
    for (float strength : {1.0f, 0.75f}) {
        SCOPED_TRACE(strength);
        Image core(65, 65), plain(65, 65);
        core.Fill(background);
        plain.Fill(background);
        core.Render(true, kYellow, strength);
        plain.Render(false, kYellow, strength);
        int inner = 0;
        for (int y = 0; y < 65; ++y)
            for (int x = 0; x < 65; ++x)
                if (InInnerDisc(x, y, 64, 64)) {
                    ++inner;
                    ASSERT_EQ(core.RgbAt(x, y), plain.RgbAt(x, y)) << x << "," << y;
                }
        EXPECT_GT(inner, 1000);
        EXPECT_NE(core.RgbAt(4, 32), plain.RgbAt(4, 32));
    }
    // By hand at full strength: 50·0.84 + 255·0.16 = 82.8, 100·0.84 + 40.8 = 124.8, 200·0.84.
    Image core(65, 65);
    core.Fill(background);
    core.Render(true, kYellow, 1.0f);
    EXPECT_EQ(core.RgbAt(32, 32), (Rgb{83, 125, 168}));
    EXPECT_EQ(core.RgbAt(4, 32), (Rgb{255, 255, 255})); // crest, r = 0.875
}

// On a coloured background, against the formula worked by hand or by the reference above.
TEST(RenderGlow, BlendsWithAColouredBackground) {
    struct Case {
        int x, y;
        bool core;
        uint32_t colour;
        float strength;
        Rgb background, expected;
    };
    const Case cases[] = {
        // Crest at half strength, w = k = 0.5: (2 + 255) / 2 = 128.5 and 5 / 2 = 2.5 go to even,
        // (0 + 255) / 2 = 127.5 goes up to even.
        {4, 32, false, kYellow, 0.5f, {2, 0, 5}, {128, 128, 2}},
        {4, 32, false, kYellow, 0.5f, {4, 1, 3}, {130, 128, 2}},
        // Inner disc, blue glow at a quarter: w = 0.04, k = 0.96.
        {32, 32, false, 0xFF0000, 0.25f, {100, 150, 200}, {96, 144, 202}},
        // Crest with the white core at full strength: pure white whatever the colour.
        {4, 32, true, 0x0000FF, 1.0f, {10, 20, 30}, {255, 255, 255}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.x << "," << c.y << " strength " << c.strength);
        Image image(65, 65);
        image.Fill([&](int, int) { return c.background; });
        image.Render(c.core, c.colour, c.strength);
        EXPECT_EQ(image.RgbAt(c.x, c.y), c.expected);
    }
    // Whole images of both shapes, several colours and strengths, against the reference.
    for (const auto& [w, h] : {std::array<int, 2>{65, 65}, {43, 26}})
        for (uint32_t colour : {0xFF0000u, kYellow, 0x0000FFu, 0x336699u})
            for (float strength : {0.25f, 0.5f, 0.75f, 1.0f})
                for (bool core : {false, true}) {
                    Image image(w, h);
                    image.Fill(Pattern);
                    image.Render(core, colour, strength);
                    const Rgb glow{int(colour & 0xFF), int(colour >> 8 & 0xFF),
                                   int(colour >> 16 & 0xFF)};
                    for (int y = 0; y < h; ++y)
                        for (int x = 0; x < w; ++x)
                            ASSERT_EQ(image.RgbAt(x, y), Reference(x, y, w - 1, h - 1, core,
                                                                   Pattern(x, y), glow, strength))
                                << w << "x" << h << " colour " << colour << " strength " << strength
                                << " core " << core << " pixel " << x << "," << y;
                }
}

// A strength outside 0..1 drives the blend past a byte; it is clamped, not wrapped. A strength
// that is not finite has no meaning and leaves the image alone.
TEST(RenderGlow, StrengthOutOfRange) {
    struct Case {
        float strength;
        Rgb expected; // crest pixel (4, 32) on grey 100: w = strength, k = 1 - strength
    };
    const Case cases[] = {
        {2.0f, {255, 255, 0}},  // -100 + 510 = 410 and -100
        {-1.0f, {0, 0, 200}},   // 200 - 255 = -55 and 200
        {1e30f, {255, 255, 0}}, // huge but finite
        {-1e30f, {0, 0, 255}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.strength);
        Image image(65, 65);
        image.Fill([](int, int) { return Rgb{100, 100, 100}; });
        image.Render(false, kYellow, c.strength);
        EXPECT_EQ(image.RgbAt(4, 32), c.expected);
        EXPECT_EQ(image.RgbAt(0, 0), (Rgb{100, 100, 100}));
    }
    for (float strength :
         {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(),
          -std::numeric_limits<float>::infinity()}) {
        Image image(65, 65);
        image.Fill(Pattern);
        const std::vector<uint8_t> before = image.bytes;
        image.Render(true, kYellow, strength);
        EXPECT_EQ(image.bytes, before) << strength;
    }
}

// Rows further apart than the pixels need: the padding and every pixel's spare byte stay as they
// were, and the pixels come out as in a tightly packed image.
TEST(RenderGlow, LeavesSpareBytesAndRowPaddingAlone) {
    Image tight(43, 26), padded(43, 26, 12);
    for (uint8_t& b : padded.bytes)
        b = 0x5A;
    tight.Fill(Pattern);
    padded.Fill(Pattern);
    const std::vector<uint8_t> before = padded.bytes;
    tight.Render(true, kYellow, 1.0f);
    padded.Render(true, kYellow, 1.0f);
    int changed = 0;
    for (int y = 0; y < 26; ++y) {
        for (int x = 0; x < 43; ++x) {
            ASSERT_EQ(padded.RgbAt(x, y), tight.RgbAt(x, y)) << x << "," << y;
            ASSERT_EQ(padded.At(x, y)[3], 0xA5) << x << "," << y;
            ASSERT_EQ(tight.At(x, y)[3], 0xA5) << x << "," << y;
            changed += padded.RgbAt(x, y) != Pattern(x, y);
        }
        for (int i = 43 * 4; i < padded.stride; ++i)
            ASSERT_EQ(padded.bytes[std::size_t(y) * padded.stride + i],
                      before[std::size_t(y) * padded.stride + i]);
    }
    EXPECT_GT(changed, 500);
}

// No ring is defined for an image less than 2 pixels wide or high, nor for a bad stride; the
// image stays as it was and nothing is read or written past it.
TEST(RenderGlow, DegenerateSizesLeaveTheImageUnchanged) {
    struct Case {
        int lastColumn, lastRow, stride;
    };
    const Case cases[] = {
        {0, 4, 20},   {4, 0, 20}, {0, 0, 20}, {-1, 4, 20}, {4, -1, 20},
        {-5, -5, 20}, {4, 4, 19}, {4, 4, 0},  {4, 4, -20}, {std::numeric_limits<int>::max(), 4, 20},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.lastColumn << " " << c.lastRow << " " << c.stride);
        Image image(5, 5);
        image.Fill(Pattern);
        const std::vector<uint8_t> before = image.bytes;
        glow::RenderGlow(image.bytes.data(), c.stride, c.lastColumn, c.lastRow, true, kYellow,
                         1.0f);
        EXPECT_EQ(image.bytes, before);
    }
    glow::RenderGlow(nullptr, 260, 64, 64, true, kYellow, 1.0f); // must simply return
}

// The blend is defined under round-to-nearest; another mode left set by the caller changes
// nothing and is handed back.
TEST(RenderGlow, IgnoresAndRestoresTheCallersRoundingMode) {
    const SettingsImage& bright = kSettingsImages[1];
    for (int mode : {FE_UPWARD, FE_DOWNWARD, FE_TOWARDZERO}) {
        Image image(65, 65);
        image.Fill(Black);
        const int saved = std::fegetround();
        ASSERT_EQ(std::fesetround(mode), 0);
        image.Render(bright.whiteCore, kYellow, bright.strength);
        const int after = std::fegetround();
        std::fesetround(saved);
        EXPECT_EQ(after, mode);
        for (int x = 0; x <= 8; ++x)
            EXPECT_EQ(image.RgbAt(x, 32), bright.row32[std::size_t(x)]) << mode << " column " << x;
    }
}

} // namespace
