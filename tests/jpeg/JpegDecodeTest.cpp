#include "platform/jpeg/JpegDecode.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

// jpeglib.h needs FILE and size_t declared before it.
#include <jpeglib.h>

namespace {

using Bytes = std::vector<uint8_t>;

struct Rgb {
    int r, g, b;
};

// How a test image is stored. Colour images go in as RGB; CMYK and YCCK files are written from
// CMYK samples, with or without the Adobe marker that says the inks are stored inverted.
enum class Stored { Rgb, Grey, Cmyk, Ycck, CmykPlain };

struct Encoding {
    int width = 16, height = 16;
    Stored stored = Stored::Rgb;
    bool progressive = false;
    int restartInterval = 0; // restart marker every so many MCUs; 0 = none
    bool subsample = true;   // 4:2:0 chroma (the library default) instead of 4:4:4
    int quality = 95;
};

// Encoder errors are mistakes in a test's set-up, not outcomes under test.
[[noreturn]] void EncoderFailed(j_common_ptr cinfo) {
    char message[JMSG_LENGTH_MAX];
    cinfo->err->format_message(cinfo, message);
    std::fprintf(stderr, "test JPEG encoder failed: %s\n", message);
    std::abort();
}

// RGB samples in, JPEG out. For the CMYK kinds each RGB colour is turned into exact inks
// (pure colours convert without loss).
Bytes Encode(const Encoding& encoding, const std::vector<Rgb>& pixels) {
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr err{};
    cinfo.err = jpeg_std_error(&err);
    err.error_exit = EncoderFailed;
    jpeg_create_compress(&cinfo);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);

    const bool cmyk = encoding.stored == Stored::Cmyk || encoding.stored == Stored::Ycck ||
                      encoding.stored == Stored::CmykPlain;
    const int components = encoding.stored == Stored::Grey ? 1 : cmyk ? 4 : 3;
    cinfo.image_width = JDIMENSION(encoding.width);
    cinfo.image_height = JDIMENSION(encoding.height);
    cinfo.input_components = components;
    cinfo.in_color_space = encoding.stored == Stored::Grey ? JCS_GRAYSCALE
                           : cmyk                          ? JCS_CMYK
                                                           : JCS_RGB;
    jpeg_set_defaults(&cinfo);
    if (encoding.stored == Stored::Ycck) jpeg_set_colorspace(&cinfo, JCS_YCCK);
    if (encoding.stored == Stored::CmykPlain) cinfo.write_Adobe_marker = FALSE;
    jpeg_set_quality(&cinfo, encoding.quality, TRUE);
    if (!encoding.subsample)
        cinfo.comp_info[0].h_samp_factor = cinfo.comp_info[0].v_samp_factor = 1;
    if (encoding.progressive) jpeg_simple_progression(&cinfo);
    cinfo.restart_interval = unsigned(encoding.restartInterval);
    jpeg_start_compress(&cinfo, TRUE);

    std::vector<JSAMPLE> row(size_t(encoding.width) * size_t(components));
    for (int y = 0; y < encoding.height; ++y) {
        for (int x = 0; x < encoding.width; ++x) {
            const Rgb c = pixels[size_t(y) * size_t(encoding.width) + size_t(x)];
            JSAMPLE* out = &row[size_t(x) * size_t(components)];
            if (components == 1) {
                out[0] = JSAMPLE(c.r);
            } else if (components == 3) {
                out[0] = JSAMPLE(c.r), out[1] = JSAMPLE(c.g), out[2] = JSAMPLE(c.b);
            } else {
                const int light = std::max({c.r, c.g, c.b});
                const int inks[4] = {light ? 255 * (light - c.r) / light : 0,
                                     light ? 255 * (light - c.g) / light : 0,
                                     light ? 255 * (light - c.b) / light : 0, 255 - light};
                for (int i = 0; i < 4; ++i)
                    out[i] =
                        JSAMPLE(encoding.stored == Stored::CmykPlain ? inks[i] : 255 - inks[i]);
            }
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    Bytes result(buffer, buffer + size);
    jpeg_destroy_compress(&cinfo);
    std::free(buffer);
    return result;
}

// Four solid quadrants, split at (width / 2, height / 2); a one-pixel image is all blue, the
// last quadrant, which tells the byte order apart.
using Quadrants = std::array<Rgb, 4>;
constexpr Quadrants kColourQuadrants = {{{255, 0, 0}, {0, 160, 0}, {255, 255, 255}, {0, 0, 255}}};
constexpr Quadrants kGreyQuadrants = {
    {{30, 30, 30}, {100, 100, 100}, {170, 170, 170}, {240, 240, 240}}};

int QuadrantOf(int x, int y, int width, int height) {
    return (y >= height / 2 ? 2 : 0) + (x >= width / 2 ? 1 : 0);
}

std::vector<Rgb> QuadrantPixels(int width, int height, const Quadrants& colours) {
    std::vector<Rgb> pixels;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            pixels.push_back(colours[size_t(QuadrantOf(x, y, width, height))]);
    return pixels;
}

// A smooth field with far more than 256 colours.
std::vector<Rgb> GradientPixels(int width, int height) {
    std::vector<Rgb> pixels;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            pixels.push_back({x * 255 / (width - 1), y * 255 / (height - 1),
                              (x + y) * 255 / (width + height - 2)});
    return pixels;
}

// Colour of pixel (x, y) of a decoded image as 0x00BBGGRR, through the palette when there is one.
uint32_t ColourAt(const jpeg::Image& image, int x, int y) {
    const size_t i = size_t(y) * size_t(image.width) + size_t(x);
    if (image.paletted) return image.palette.at(image.pixels.at(i));
    const uint8_t* p = &image.pixels.at(i * 4);
    return uint32_t(p[2]) | uint32_t(p[1]) << 8 | uint32_t(p[0]) << 16;
}

int ChannelDistance(uint32_t colour, Rgb want) {
    const int r = int(colour & 0xFF), g = int(colour >> 8 & 0xFF), b = int(colour >> 16 & 0xFF);
    return std::max({std::abs(r - want.r), std::abs(g - want.g), std::abs(b - want.b)});
}

// Compares every pixel that lies at least `margin` pixels from the inner quadrant borders (where
// chroma subsampling and the DCT blur the edge) with its quadrant's colour.
void ExpectQuadrants(const jpeg::Image& image, const Quadrants& colours, int margin,
                     int tolerance) {
    const auto nearBorder = [margin](int v, int size) {
        return size > 1 && v >= size / 2 - margin && v < size / 2 + margin;
    };
    int checked = 0, worst = 0, worstX = 0, worstY = 0;
    for (int y = 0; y < image.height; ++y) {
        if (nearBorder(y, image.height)) continue;
        for (int x = 0; x < image.width; ++x) {
            if (nearBorder(x, image.width)) continue;
            const Rgb want = colours[size_t(QuadrantOf(x, y, image.width, image.height))];
            const int distance = ChannelDistance(ColourAt(image, x, y), want);
            if (distance > worst) worst = distance, worstX = x, worstY = y;
            ++checked;
        }
    }
    ASSERT_GT(checked, 0);
    EXPECT_LE(worst, tolerance) << "worst pixel at (" << worstX << ", " << worstY << ")";
}

// Offset of the first marker `code` (its 0xFF byte) among the segments before the scan data, or
// of the first occurrence in the scan data for restart markers.
size_t FindMarker(const Bytes& file, uint8_t code) {
    size_t pos = 2;
    while (pos + 4 <= file.size() && file[pos] == 0xFF) {
        if (file[pos + 1] == code) return pos;
        const size_t length = size_t(file[pos + 2]) << 8 | file[pos + 3];
        if (file[pos + 1] == 0xDA) {
            for (size_t i = pos + 2 + length; i + 1 < file.size(); ++i)
                if (file[i] == 0xFF && file[i + 1] == code) return i;
            break;
        }
        pos += 2 + length;
    }
    ADD_FAILURE() << "marker " << int(code) << " not found";
    return 0;
}

struct Decoded {
    bool ok = false;
    jpeg::Image image;
    std::string error;
    std::string stderrText;
};

// Decodes with stderr captured; the image starts out filled so that a failure must empty it.
Decoded DecodeCapturing(const uint8_t* data, size_t size, bool palette) {
    Decoded d;
    d.image.width = d.image.height = 7;
    d.image.pixels.assign(49, 0xAB);
    d.image.palette.assign(3, 0x123456);
    d.error = "stale";
    testing::internal::CaptureStderr();
    d.ok = jpeg::Decode(data, size, d.image, d.error, jpeg::Options{palette});
    d.stderrText = testing::internal::GetCapturedStderr();
    return d;
}

Decoded DecodeCapturing(const Bytes& bytes, bool palette = false) {
    return DecodeCapturing(bytes.data(), bytes.size(), palette);
}

// ---- True colour --------------------------------------------------------------------------

struct TrueColourCase {
    const char* name;
    Encoding encoding;
};

// Readable names in test listings instead of a byte dump.
void PrintTo(const TrueColourCase& c, std::ostream* os) {
    *os << c.name;
}

class JpegDecodeTrueColour : public testing::TestWithParam<TrueColourCase> {};

TEST_P(JpegDecodeTrueColour, QuadrantsComeOutAsBgrxTopDown) {
    const Encoding& encoding = GetParam().encoding;
    const Quadrants& colours = encoding.stored == Stored::Grey ? kGreyQuadrants : kColourQuadrants;
    const Bytes file = Encode(encoding, QuadrantPixels(encoding.width, encoding.height, colours));
    if (encoding.restartInterval != 0) {
        ASSERT_NE(FindMarker(file, 0xD0), 0u) << "no restart marker";
    }

    const Decoded d = DecodeCapturing(file);
    ASSERT_TRUE(d.ok) << d.error;
    EXPECT_EQ(d.error, "");
    EXPECT_EQ(d.stderrText, "");
    EXPECT_EQ(d.image.width, encoding.width);
    EXPECT_EQ(d.image.height, encoding.height);
    EXPECT_FALSE(d.image.paletted);
    EXPECT_TRUE(d.image.palette.empty());
    ASSERT_EQ(d.image.pixels.size(), size_t(encoding.width) * size_t(encoding.height) * 4);
    for (size_t i = 3; i < d.image.pixels.size(); i += 4)
        ASSERT_EQ(d.image.pixels[i], 0) << "pixel " << i / 4;
    ExpectQuadrants(d.image, colours, 2, 12);
}

const TrueColourCase kTrueColourCases[] = {
    {"OnePixel", {.width = 1, .height = 1}},
    {"OnePixelProgressive", {.width = 1, .height = 1, .progressive = true}},
    {"OddSize420", {.width = 17, .height = 9}},
    {"OddSize444", {.width = 17, .height = 9, .subsample = false}},
    {"OddSizeProgressive", {.width = 17, .height = 9, .progressive = true}},
    {"OddSizeRestarts", {.width = 17, .height = 9, .restartInterval = 1}},
    {"Photo", {.width = 600, .height = 418}},
    {"PhotoProgressive", {.width = 600, .height = 418, .progressive = true}},
    {"PhotoProgressiveRestarts",
     {.width = 600, .height = 418, .progressive = true, .restartInterval = 7}},
    {"Grey", {.width = 17, .height = 9, .stored = Stored::Grey}},
    {"GreyProgressive", {.width = 40, .height = 30, .stored = Stored::Grey, .progressive = true}},
    {"CmykAdobe", {.width = 17, .height = 9, .stored = Stored::Cmyk}},
    {"CmykPlain", {.width = 17, .height = 9, .stored = Stored::CmykPlain}},
    {"Ycck", {.width = 33, .height = 20, .stored = Stored::Ycck, .progressive = true}},
};

INSTANTIATE_TEST_SUITE_P(Images, JpegDecodeTrueColour, testing::ValuesIn(kTrueColourCases),
                         [](const auto& info) { return std::string(info.param.name); });

// ---- Palette display ----------------------------------------------------------------------

struct PaletteCase {
    const char* name;
    Encoding encoding;
    bool gradient; // many colours instead of four quadrants
};

void PrintTo(const PaletteCase& c, std::ostream* os) {
    *os << c.name;
}

class JpegDecodePalette : public testing::TestWithParam<PaletteCase> {};

// The paletted image must stay close to the true-colour decode of the same file.
TEST_P(JpegDecodePalette, IndexesAColourMapOfAtMost256) {
    const PaletteCase& c = GetParam();
    const Quadrants& colours =
        c.encoding.stored == Stored::Grey ? kGreyQuadrants : kColourQuadrants;
    const Bytes file = Encode(
        c.encoding, c.gradient ? GradientPixels(c.encoding.width, c.encoding.height)
                               : QuadrantPixels(c.encoding.width, c.encoding.height, colours));

    const Decoded d = DecodeCapturing(file, true);
    ASSERT_TRUE(d.ok) << d.error;
    EXPECT_EQ(d.stderrText, "");
    EXPECT_TRUE(d.image.paletted);
    EXPECT_EQ(d.image.width, c.encoding.width);
    EXPECT_EQ(d.image.height, c.encoding.height);
    ASSERT_EQ(d.image.pixels.size(), size_t(c.encoding.width) * size_t(c.encoding.height));
    ASSERT_GE(d.image.palette.size(), 1u);
    ASSERT_LE(d.image.palette.size(), 256u);
    for (uint32_t entry : d.image.palette)
        EXPECT_EQ(entry >> 24, 0u);
    for (uint8_t index : d.image.pixels)
        ASSERT_LT(index, d.image.palette.size());

    // Dithering trades exact pixels for the right average, so compare 4 x 4 block averages.
    const Decoded full = DecodeCapturing(file, false);
    ASSERT_TRUE(full.ok) << full.error;
    double worst = 0;
    for (int by = 0; by + 4 <= d.image.height; by += 4)
        for (int bx = 0; bx + 4 <= d.image.width; bx += 4)
            for (int shift : {0, 8, 16}) {
                int sum = 0;
                for (int y = by; y < by + 4; ++y)
                    for (int x = bx; x < bx + 4; ++x)
                        sum += int(ColourAt(d.image, x, y) >> shift & 0xFF) -
                               int(ColourAt(full.image, x, y) >> shift & 0xFF);
                worst = std::max(worst, std::abs(sum / 16.0));
            }
    EXPECT_LE(worst, 12.0);
}

const PaletteCase kPaletteCases[] = {
    {"PhotoProgressive", {.width = 600, .height = 418, .progressive = true}, false},
    {"Gradient", {.width = 256, .height = 128}, true},
    {"GreyGradient", {.width = 256, .height = 8, .stored = Stored::Grey}, true},
    {"Grey", {.width = 17, .height = 9, .stored = Stored::Grey}, false},
    {"Cmyk", {.width = 33, .height = 20, .stored = Stored::Cmyk}, false},
    {"CmykGradient", {.width = 64, .height = 64, .stored = Stored::Cmyk}, true},
};

INSTANTIATE_TEST_SUITE_P(Images, JpegDecodePalette, testing::ValuesIn(kPaletteCases),
                         [](const auto& info) { return std::string(info.param.name); });

// ---- Damaged input ------------------------------------------------------------------------

Bytes Baseline() {
    return Encode({.width = 32, .height = 24, .restartInterval = 1},
                  QuadrantPixels(32, 24, kColourQuadrants));
}
Bytes Progressive() {
    return Encode({.width = 32, .height = 24, .progressive = true},
                  QuadrantPixels(32, 24, kColourQuadrants));
}

Bytes Cut(Bytes file, size_t size) {
    file.resize(size);
    return file;
}

Bytes WithSofSize(int width, int height) {
    Bytes file = Baseline();
    const size_t sof = FindMarker(file, 0xC0);
    file[sof + 5] = uint8_t(height >> 8), file[sof + 6] = uint8_t(height);
    file[sof + 7] = uint8_t(width >> 8), file[sof + 8] = uint8_t(width);
    return file;
}

Bytes Patched(Bytes file, size_t at, std::initializer_list<uint8_t> bytes) {
    std::copy(bytes.begin(), bytes.end(), file.begin() + std::ptrdiff_t(at));
    return file;
}

Bytes Erased(Bytes file, size_t at, size_t count) {
    file.erase(file.begin() + std::ptrdiff_t(at), file.begin() + std::ptrdiff_t(at + count));
    return file;
}

// Inserts a comment segment between the scan data and the end marker.
Bytes WithTrailingComment(Bytes file) {
    const Bytes comment = {0xFF, 0xFE, 0x00, 0x10, 'a', 'f', 't', 'e', 'r',
                           ' ',  't',  'h',  'e',  ' ', 's', 'c', 'a', 'n'};
    file.insert(file.end() - 2, comment.begin(), comment.end());
    return file;
}

struct BadCase {
    std::string name;
    Bytes file;
    std::string expected; // part of the error message
};

std::vector<BadCase> BadCases() {
    const Bytes base = Baseline(), progressive = Progressive();
    const size_t sof = FindMarker(base, 0xC0), sos = FindMarker(base, 0xDA);
    const size_t progressiveSos = FindMarker(progressive, 0xDA);
    std::vector<BadCase> cases = {
        {"OneFFByte", {0xFF}, "truncated"},
        {"OneOtherByte", {'G'}, "Not a JPEG file: starts with 0x47"},
        {"PngSignature",
         {0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A},
         "Not a JPEG file: starts with 0x89 0x50"},
        {"SoiOnly", {0xFF, 0xD8}, "truncated"},
        {"SoiThenEoi", {0xFF, 0xD8, 0xFF, 0xD9}, "no image"},
        {"FirstMarkerDamaged", Patched(base, 2, {0x00}), "Corrupt JPEG data"},
        {"LosslessSof", Patched(base, sof + 1, {0xC3}), "Unsupported JPEG process"},
        {"TwelveBitPrecision", Patched(base, sof + 4, {12}), "precision 12"},
        {"ZeroWidth", WithSofSize(0, 24), "Empty JPEG image"},
        {"WiderThanLimit", WithSofSize(16385, 1), "too large: 16385 x 1"},
        {"SquareOverMemoryLimit", WithSofSize(16384, 16384), "too large: 16384 x 16384"},
        {"Absurd", WithSofSize(60000, 60000), "too large"},
        {"RestartMarkerMissing", Erased(base, FindMarker(base, 0xD0), 2), "Corrupt JPEG data"},
        // All rows are complete; only reading on to the end marker notices the cut.
        {"CutInCommentAfterScan", Cut(WithTrailingComment(base), base.size() + 4), "truncated"},
        {"EndMarkerInScan", Patched(base, sos + (base.size() - sos) / 2, {0xFF, 0xD9}),
         "Corrupt JPEG data"},
    };
    const size_t baseCuts[] = {
        3, 20, sof + 3, sos + 8, sos + (base.size() - sos) / 2, base.size() - 2, base.size() - 1};
    for (size_t at : baseCuts)
        cases.push_back({"BaselineCutAt" + std::to_string(at), Cut(base, at), "truncated"});
    const size_t progressiveCuts[] = {progressiveSos + 20, progressive.size() / 2,
                                      progressive.size() - 30, progressive.size() - 1};
    for (size_t at : progressiveCuts)
        cases.push_back(
            {"ProgressiveCutAt" + std::to_string(at), Cut(progressive, at), "truncated"});
    return cases;
}

void PrintTo(const BadCase& c, std::ostream* os) {
    *os << c.name;
}

class JpegDecodeDamaged : public testing::TestWithParam<BadCase> {};

TEST_P(JpegDecodeDamaged, FailsQuietlyWithAReason) {
    const BadCase& c = GetParam();
    for (bool palette : {false, true}) {
        SCOPED_TRACE(palette ? "palette display" : "true colour");
        const Decoded d = DecodeCapturing(c.file, palette);
        EXPECT_FALSE(d.ok);
        EXPECT_NE(d.error.find(c.expected), std::string::npos) << d.error;
        EXPECT_EQ(d.error.find('\n'), std::string::npos) << d.error;
        EXPECT_EQ(d.stderrText, "");
        EXPECT_EQ(d.image.width, 0);
        EXPECT_EQ(d.image.height, 0);
        EXPECT_FALSE(d.image.paletted);
        EXPECT_TRUE(d.image.pixels.empty());
        EXPECT_TRUE(d.image.palette.empty());
    }
}

INSTANTIATE_TEST_SUITE_P(Files, JpegDecodeDamaged, testing::ValuesIn(BadCases()),
                         [](const auto& info) { return info.param.name; });

TEST(JpegDecode, NoDataIsAnErrorNotACrash) {
    const uint8_t byte = 0xFF;
    for (const uint8_t* data : {static_cast<const uint8_t*>(nullptr), &byte}) {
        const Decoded d = DecodeCapturing(data, 0, false);
        EXPECT_FALSE(d.ok);
        EXPECT_EQ(d.error, "No JPEG data (empty input)");
        EXPECT_TRUE(d.image.pixels.empty());
        EXPECT_EQ(d.stderrText, "");
    }
}

// An unknown JFIF revision is only a warning about the header's version field; the image data
// is sound and must decode.
TEST(JpegDecode, NewerJfifRevisionStillDecodes) {
    Bytes file = Baseline();
    ASSERT_EQ(std::memcmp(&file[6], "JFIF", 5), 0);
    file[11] = 2;
    const Decoded d = DecodeCapturing(file);
    ASSERT_TRUE(d.ok) << d.error;
    EXPECT_EQ(d.stderrText, "");
    ExpectQuadrants(d.image, kColourQuadrants, 2, 12);
}

} // namespace
