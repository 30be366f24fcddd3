#include "platform/jpeg/JpegDecode.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <new>
#include <string>
#include <utility>

// jpeglib.h needs FILE and size_t declared before it.
#include <jerror.h>
#include <jpeglib.h>

namespace jpeg {
namespace {

// libjpeg reports errors through error_exit, whose default calls exit(), and warnings through
// emit_message, whose default prints them and carries on (a truncated file then "decodes" with
// grey filler). Both handlers below record the message and jump back to RunGuarded instead.
struct ErrorManager {
    jpeg_error_mgr pub; // first member: libjpeg hands back a pointer to it
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
    bool truncated;
};

ErrorManager& Manager(j_common_ptr cinfo) {
    return *reinterpret_cast<ErrorManager*>(cinfo->err);
}

[[noreturn]] void Abandon(j_common_ptr cinfo) {
    ErrorManager& manager = Manager(cinfo);
    manager.truncated = cinfo->err->msg_code == JWRN_JPEG_EOF;
    cinfo->err->format_message(cinfo, manager.message);
    std::longjmp(manager.jump, 1);
}

void OnError(j_common_ptr cinfo) {
    Abandon(cinfo);
}

void OnMessage(j_common_ptr cinfo, int level) {
    if (level >= 0) return; // trace output: nobody reads it
    // A newer JFIF revision number says nothing about the data itself.
    if (cinfo->err->msg_code == JWRN_JFIF_MAJOR) return;
    // Every other warning means damaged or missing data: refuse the image rather than show
    // whatever the library patched in.
    Abandon(cinfo);
}

void Silent(j_common_ptr) {}

struct Job {
    j_decompress_ptr cinfo = nullptr;
    const uint8_t* data = nullptr;
    size_t size = 0;
    int headerResult = 0;
    uint8_t* rows = nullptr; // destination of the scanlines, top-down
    size_t stride = 0;
    bool complete = false; // every scanline arrived
};

using Step = void (*)(Job&);

// The only frame that calls setjmp. It holds nothing but trivially destructible values, and
// neither libjpeg nor the steps hold C++ objects, so the jump back skips no destructor.
bool RunGuarded(ErrorManager& manager, Step step, Job& job) {
    if (setjmp(manager.jump) != 0) return false;
    step(job);
    return true;
}

void CreateStep(Job& job) {
    jpeg_create_decompress(job.cinfo);
}

void HeaderStep(Job& job) {
    jpeg_mem_src(job.cinfo, job.data, static_cast<unsigned long>(job.size));
    job.headerResult = jpeg_read_header(job.cinfo, TRUE);
}

void DimensionsStep(Job& job) {
    jpeg_calc_output_dimensions(job.cinfo);
}

void StartStep(Job& job) {
    jpeg_start_decompress(job.cinfo);
}

void ReadStep(Job& job) {
    j_decompress_ptr cinfo = job.cinfo;
    constexpr JDIMENSION kBatch = 16;
    JSAMPROW rows[kBatch];
    while (cinfo->output_scanline < cinfo->output_height) {
        const JDIMENSION first = cinfo->output_scanline;
        const JDIMENSION count = std::min(kBatch, cinfo->output_height - first);
        for (JDIMENSION i = 0; i < count; ++i)
            rows[i] = job.rows + (first + i) * job.stride;
        // A memory source never suspends, so no progress means the decoder gave up.
        if (jpeg_read_scanlines(cinfo, rows, count) == 0) return;
    }
    job.complete = true;
}

void FinishStep(Job& job) {
    jpeg_finish_decompress(job.cinfo);
}

// Owns the decompressor; destroying a value-initialised or half-created one is safe.
struct Session {
    jpeg_decompress_struct cinfo{};
    ErrorManager manager{};
    Job job;

    Session() {
        jpeg_std_error(&manager.pub);
        manager.pub.error_exit = OnError;
        manager.pub.emit_message = OnMessage;
        manager.pub.output_message = Silent;
        cinfo.err = &manager.pub;
        job.cinfo = &cinfo;
    }
    ~Session() { jpeg_destroy_decompress(&cinfo); }
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    bool Run(Step step, std::string& error) {
        if (RunGuarded(manager, step, job)) return true;
        error = manager.truncated ? "JPEG data is truncated: " : "JPEG decode failed: ";
        error += manager.message;
        return false;
    }
};

uint8_t Scale(unsigned light, unsigned black) {
    return uint8_t((light * black + 127) / 255);
}

// CMYK to 0x00BBGGRR. Files with an Adobe marker store the inks inverted (0 = full ink), which
// is the common case; others store them plainly.
uint32_t CmykColour(unsigned c, unsigned m, unsigned y, unsigned k, bool inverted) {
    if (!inverted) {
        c = 255 - c;
        m = 255 - m;
        y = 255 - y;
        k = 255 - k;
    }
    return uint32_t(Scale(c, k)) | uint32_t(Scale(m, k)) << 8 | uint32_t(Scale(y, k)) << 16;
}

std::string Hex(uint8_t byte) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%02X", unsigned(byte));
    return text;
}

bool CheckSignature(const uint8_t* data, size_t size, std::string& error) {
    if (data == nullptr || size == 0) {
        error = "No JPEG data (empty input)";
        return false;
    }
    if (data[0] != 0xFF || (size >= 2 && data[1] != 0xD8)) {
        error = "Not a JPEG file: starts with " + Hex(data[0]);
        if (size >= 2) error += " " + Hex(data[1]);
        return false;
    }
    if (size < 2) {
        error = "JPEG data is truncated: 1 byte";
        return false;
    }
    return true;
}

bool CheckSize(const jpeg_decompress_struct& cinfo, std::string& error) {
    const size_t width = cinfo.image_width, height = cinfo.image_height;
    const std::string size = std::to_string(width) + " x " + std::to_string(height);
    if (width > size_t(kMaxDimension) || height > size_t(kMaxDimension)) {
        error = "JPEG image is too large: " + size + " pixels (limit " +
                std::to_string(kMaxDimension) + " a side)";
        return false;
    }
    if (width * height * 4 > kMaxPixelBytes) {
        error = "JPEG image is too large: " + size + " pixels need " +
                std::to_string((width * height * 4) >> 20) + " MiB (limit " +
                std::to_string(kMaxPixelBytes >> 20) + " MiB)";
        return false;
    }
    return true;
}

bool IsCmyk(const jpeg_decompress_struct& cinfo) {
    return cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
}

// Chooses the output: BGRX for colour and greyscale (libjpeg-turbo converts), raw CMYK that we
// convert ourselves, or palette indexes. libjpeg-turbo's two-pass quantizer handles only three
// components, so greyscale uses the one-pass quantizer (exact: 256 grey levels) and CMYK is
// decoded in true colour and put on a colour cube afterwards (QuantizeToCube).
void Configure(jpeg_decompress_struct& cinfo, bool palette) {
    cinfo.scale_num = 1;
    cinfo.scale_denom = 1;
    cinfo.do_fancy_upsampling = TRUE;
    cinfo.do_block_smoothing = TRUE;
    cinfo.buffered_image = FALSE;
    cinfo.quantize_colors = FALSE;
    if (IsCmyk(cinfo)) {
        cinfo.out_color_space = JCS_CMYK;
    } else if (!palette) {
        cinfo.out_color_space = JCS_EXT_BGRX;
    } else {
        const bool grey = cinfo.jpeg_color_space == JCS_GRAYSCALE;
        cinfo.out_color_space = grey ? JCS_GRAYSCALE : JCS_RGB;
        cinfo.quantize_colors = TRUE;
        cinfo.desired_number_of_colors = 256;
        cinfo.two_pass_quantize = grey ? FALSE : TRUE;
        cinfo.dither_mode = JDITHER_FS;
    }
}

void ReadPalette(const jpeg_decompress_struct& cinfo, std::vector<uint32_t>& palette) {
    const int count = std::clamp(cinfo.actual_number_of_colors, 0, 256);
    palette.resize(size_t(count));
    JSAMPARRAY map = cinfo.colormap;
    const bool grey = cinfo.out_color_components == 1;
    for (int i = 0; i < count; ++i) {
        palette[size_t(i)] =
            grey ? uint32_t(map[0][i]) * 0x010101u
                 : uint32_t(map[0][i]) | uint32_t(map[1][i]) << 8 | uint32_t(map[2][i]) << 16;
    }
}

// In place: CMYK pixels become blue, green, red, 0; BGRX pixels get their undefined X byte zeroed.
void FinishTrueColour(const jpeg_decompress_struct& cinfo, std::vector<uint8_t>& pixels) {
    if (cinfo.out_color_space != JCS_CMYK) {
        for (size_t i = 3; i < pixels.size(); i += 4)
            pixels[i] = 0;
        return;
    }
    const bool inverted = cinfo.saw_Adobe_marker != FALSE;
    for (size_t i = 0; i + 3 < pixels.size(); i += 4) {
        const uint32_t colour =
            CmykColour(pixels[i], pixels[i + 1], pixels[i + 2], pixels[i + 3], inverted);
        pixels[i] = uint8_t(colour >> 16);
        pixels[i + 1] = uint8_t(colour >> 8);
        pixels[i + 2] = uint8_t(colour);
        pixels[i + 3] = 0;
    }
}

// Puts a true-colour image on a 6 x 7 x 6 colour cube (252 colours; greens get the extra level
// because the eye separates them best) with Floyd-Steinberg error diffusion.
void QuantizeToCube(Image& image) {
    constexpr int kLevels[3] = {6, 7, 6}; // red, green, blue
    const auto level = [&](int channel, int step) {
        return (step * 255 + (kLevels[channel] - 1) / 2) / (kLevels[channel] - 1);
    };
    image.palette.clear();
    for (int r = 0; r < kLevels[0]; ++r)
        for (int g = 0; g < kLevels[1]; ++g)
            for (int b = 0; b < kLevels[2]; ++b)
                image.palette.push_back(uint32_t(level(0, r)) | uint32_t(level(1, g)) << 8 |
                                        uint32_t(level(2, b)) << 16);

    const size_t width = size_t(image.width), height = size_t(image.height);
    std::vector<uint8_t> indexes(width * height);
    // Errors carried to the current and the next row, three channels a pixel, one spare pixel
    // at each end so that the neighbours need no bounds checks.
    std::vector<int> current((width + 2) * 3), next((width + 2) * 3);
    for (size_t y = 0; y < height; ++y) {
        std::fill(next.begin(), next.end(), 0);
        for (size_t x = 0; x < width; ++x) {
            const uint8_t* bgrx = &image.pixels[(y * width + x) * 4];
            int steps[3];
            for (int c = 0; c < 3; ++c) {
                const size_t at = (x + 1) * 3 + size_t(c);
                const int want = std::clamp(int(bgrx[2 - c]) + current[at] / 16, 0, 255);
                const int last = kLevels[c] - 1;
                steps[c] = (want * last + 127) / 255;
                const int error = want - level(c, steps[c]);
                current[at + 3] += error * 7;
                next[at - 3] += error * 3;
                next[at] += error * 5;
                next[at + 3] += error;
            }
            indexes[y * width + x] =
                uint8_t((steps[0] * kLevels[1] + steps[1]) * kLevels[2] + steps[2]);
        }
        std::swap(current, next);
    }
    image.pixels = std::move(indexes);
    image.paletted = true;
}

bool DecodeInto(const uint8_t* data, size_t size, Image& out, std::string& error,
                const Options& options) {
    if (!CheckSignature(data, size, error)) return false;

    Session session;
    session.job.data = data;
    session.job.size = size;
    jpeg_decompress_struct& cinfo = session.cinfo;
    if (!session.Run(CreateStep, error) || !session.Run(HeaderStep, error)) return false;
    if (session.job.headerResult != JPEG_HEADER_OK) {
        error = "JPEG data holds no image";
        return false;
    }
    // Before the library allocates anything the size of the image.
    if (!CheckSize(cinfo, error)) return false;

    Configure(cinfo, options.paletteDisplay);
    if (!session.Run(DimensionsStep, error)) return false;
    const bool libraryPalette = cinfo.quantize_colors != FALSE;
    const size_t bytesPerPixel = libraryPalette ? 1 : 4;
    if (cinfo.output_width != cinfo.image_width || cinfo.output_height != cinfo.image_height ||
        size_t(cinfo.output_components) != bytesPerPixel) {
        error = "JPEG decoder chose an unexpected output format";
        return false;
    }

    out.width = int(cinfo.output_width);
    out.height = int(cinfo.output_height);
    out.paletted = libraryPalette;
    out.pixels.resize(size_t(out.width) * size_t(out.height) * bytesPerPixel);
    session.job.rows = out.pixels.data();
    session.job.stride = size_t(out.width) * bytesPerPixel;

    if (!session.Run(StartStep, error) || !session.Run(ReadStep, error)) return false;
    if (!session.job.complete) {
        error = "JPEG decoder stopped before the last row";
        return false;
    }
    // The colour map lives in the decompressor's image memory, which finishing releases.
    if (libraryPalette) ReadPalette(cinfo, out.palette);
    // Finishing reads on to the end-of-image marker, so a file cut after its last row fails too.
    if (!session.Run(FinishStep, error)) return false;
    if (!libraryPalette) {
        FinishTrueColour(cinfo, out.pixels);
        if (options.paletteDisplay) QuantizeToCube(out);
    }
    return true;
}

} // namespace

bool Decode(const uint8_t* data, size_t size, Image& out, std::string& error,
            const Options& options) {
    out = Image{};
    error.clear();
    bool ok = false;
    try {
        ok = DecodeInto(data, size, out, error, options);
    } catch (const std::bad_alloc&) {
        error = "Not enough memory to decode the JPEG image";
    }
    if (!ok) out = Image{};
    return ok;
}

} // namespace jpeg
