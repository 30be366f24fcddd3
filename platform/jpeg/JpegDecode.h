#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace jpeg {

struct Image {
    int width = 0, height = 0;
    // True only when decoded for a display of 8 bits per pixel or fewer.
    bool paletted = false;
    // True colour: rows top-down, 4 bytes a pixel: blue, green, red, 0.
    // Paletted: one index byte a pixel.
    std::vector<uint8_t> pixels;
    // Paletted only: 0x00BBGGRR entries, at most 256.
    std::vector<uint32_t> palette;
};

struct Options {
    // The display has 8 bits per pixel or fewer: quantize to a palette of at most 256 colours.
    bool paletteDisplay = false;
};

// Largest accepted width or height, and largest true-colour pixel buffer (4 bytes a pixel).
inline constexpr int kMaxDimension = 16384;
inline constexpr std::size_t kMaxPixelBytes = std::size_t{256} << 20;

// Decodes a whole JPEG held in memory at full scale with fancy upsampling. Greyscale images come
// out grey, CMYK and YCCK images are converted to colour. On failure returns false, leaves `out`
// empty and sets `error` to a one-line reason; nothing is printed and the process never exits.
bool Decode(const uint8_t* data, size_t size, Image& out, std::string& error,
            const Options& options = {});

} // namespace jpeg
