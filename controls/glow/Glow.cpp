#include "controls/glow/Glow.h"

#include <algorithm>
#include <cfenv>
#include <cmath>
#include <cstddef>

namespace glow {

namespace {

// Radius² below which the weight is flat: the ring meets the inner disc at r = 0.77.
constexpr double kInnerDiscLimit = 0.5929;
constexpr float kInnerDiscWeight = 0.16f;
// Radius of the ring's crest, where its weight is 1.
constexpr double kRingCrest = 0.875;

// The blend is defined with ties going to even; run it under round-to-nearest whatever mode the
// caller left set, and hand the caller's mode back afterwards.
class RoundToNearest {
public:
    RoundToNearest() : saved_(std::fegetround()) {
        if (saved_ != FE_TONEAREST) std::fesetround(FE_TONEAREST);
    }
    ~RoundToNearest() {
        if (saved_ != FE_TONEAREST && saved_ >= 0) std::fesetround(saved_);
    }
    RoundToNearest(const RoundToNearest&) = delete;
    RoundToNearest& operator=(const RoundToNearest&) = delete;

private:
    int saved_;
};

// background × k + colour × w, formed in double and rounded to the nearest integer, ties to even.
// With a strength in 0..1, w and k lie in 0..1 and the result stays within a byte; a larger or
// negative strength can push it outside, so it is clamped to 0..255 rather than wrapped.
inline uint8_t Blend(double background, double color, float k, float w) {
    const double value =
        std::nearbyint(background * static_cast<double>(k) + color * static_cast<double>(w));
    return static_cast<uint8_t>(std::clamp(value, 0.0, 255.0));
}

} // namespace

void RenderGlow(uint8_t* bits, int strideBytes, int lastColumn, int lastRow, bool whiteCore,
                uint32_t color, float strength) {
    // Fewer than two columns or rows would divide by zero below: no ring is defined there.
    if (bits == nullptr || lastColumn < 1 || lastRow < 1) return;
    if (static_cast<long long>(strideBytes) < (static_cast<long long>(lastColumn) + 1) * 4) return;
    // A NaN or infinite strength would make every blend NaN.
    if (!std::isfinite(strength)) return;

    const RoundToNearest roundToNearest;

    const double red = static_cast<double>(color & 0xFFu);
    const double green = static_cast<double>((color >> 8) & 0xFFu);
    const double blue = static_cast<double>((color >> 16) & 0xFFu);
    const double strengthD = static_cast<double>(strength);

    // Every stored value is a float, each formed from its expression in double and rounded once
    // when stored. All products below are exact in double, so a fused multiply-add changes
    // nothing.
    const float sx = static_cast<float>(2.0 / lastColumn);
    const float sy = static_cast<float>(2.0 / lastRow);

    for (long long y = 0; y <= lastRow; ++y) {
        const float v = static_cast<float>(static_cast<double>(y) * sy - 1.0);
        const double vv = static_cast<double>(v) * v;
        uint8_t* row = bits + static_cast<std::ptrdiff_t>(y) * strideBytes;

        for (long long x = 0; x <= lastColumn; ++x) {
            const float u = static_cast<float>(static_cast<double>(x) * sx - 1.0);
            const float d = static_cast<float>(static_cast<double>(u) * u + vv);
            if (d >= 1.0f) continue; // on or outside the ellipse

            float w = kInnerDiscWeight;
            bool white = false;
            if (d >= kInnerDiscLimit) {
                const float r = std::sqrt(d);
                w = static_cast<float>(1.0 - 8.0 * std::fabs(static_cast<double>(r) - kRingCrest));
                if (whiteCore) {
                    w *= 2.0f;
                    if (w > 1.0f) {
                        white = true;
                        w = 2.0f - w;
                    }
                }
            }
            w = static_cast<float>(static_cast<double>(w) * strengthD);
            const float k = static_cast<float>(1.0 - static_cast<double>(w));

            uint8_t* pixel = row + x * 4;
            pixel[0] = Blend(white ? 255.0 : pixel[0], blue, k, w);
            pixel[1] = Blend(white ? 255.0 : pixel[1], green, k, w);
            pixel[2] = Blend(white ? 255.0 : pixel[2], red, k, w);
            // pixel[3] carries no colour and is left as it is.
        }
    }
}

} // namespace glow
