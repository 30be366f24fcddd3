// Graphics: the canvas with pen, brush and font, 32-bit off-screen bitmaps with direct row access,
// graphics of registered formats (JPEG decoded by libjpeg-turbo) and the picture container.
#pragma once

#include "platform/Classes.h"
#include "platform/Peer.h"

#include <memory>

namespace ui {

enum class TBrushStyle { bsSolid, bsClear };
enum class TPenStyle { psSolid, psDash, psDot, psDashDot, psClear };

struct TBrush {
    TColor Color = clWhite;
    TBrushStyle Style = TBrushStyle::bsSolid;
};
struct TPen {
    TColor Color = clBlack;
    TPenStyle Style = TPenStyle::psSolid;
    int Width = 1;
};

class TGraphic;
class ITextPainter;
class TBitmap;

// Drawing surface: a 32-bit image (bytes blue, green, red, unused), with an origin and a clip.
// Shapes take a box whose right and bottom edges are excluded; outlines are one pixel wide and
// lie inside the box. During a paint pass the origin and clip are the painted control's bounds
// on its windowed parent's surface, so a graphic control can read what its parent painted.
class TCanvas {
public:
    explicit TCanvas(TSurface surface);
    ~TCanvas();
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;

    TFont Font;
    TBrush Brush;
    TPen Pen;

    void FillRect(const TRect& r);
    void FrameRect(const TRect& r);
    void Rectangle(int left, int top, int right, int bottom);
    void RoundRect(int left, int top, int right, int bottom, int ellipseWidth, int ellipseHeight);
    void Ellipse(int left, int top, int right, int bottom);
    void MoveTo(int x, int y) { penPos_ = {x, y}; }
    void LineTo(int x, int y);
    void TextOut(int x, int y, const std::string& text);
    // Draws text in a box with the label conventions (alignment, layout, word wrap, clip).
    void TextRect(const TRect& r, const std::string& text, TAlignment alignment, TTextLayout layout,
                  bool wordWrap);
    int TextWidth(const std::string& text) const;
    int TextHeight(const std::string& text) const;
    // Block copy of `source` (in the other canvas's coordinates) to `dest` (in ours); equal
    // sizes copy pixel for pixel.
    void CopyRect(const TRect& dest, const TCanvas& from, const TRect& source);
    // Device pixels a pixel becomes on the screen; above 1 a control may draw a finer picture.
    int DeviceScale() const { return surface_.deviceScale; }
    // Shows `fine`, the picture of `dest` at DeviceScale() device pixels a pixel, at device
    // resolution over what is drawn here (which should hold the same picture at one pixel per
    // pixel, for anything that reads it back). Without a device scale it does nothing.
    void DrawDevicePicture(const TRect& dest, TBitmap& fine);
    void Draw(int x, int y, const TGraphic& g);
    void StretchDraw(const TRect& r, const TGraphic& g);

    uint32_t Pixel(int x, int y) const; // 0x00BBGGRR; 0 outside the surface
    void SetPixel(int x, int y, TColor c);

    TPoint Origin() const { return origin_; }
    TRect ClipRect() const; // in our coordinates
    void SetOriginAndClip(TPoint origin, const TRect& clip);
    // Keeps this and every later clip inside `limit` (surface coordinates), for a paint pass
    // that may change only part of the surface; reading is not limited. A new surface lifts it.
    void SetLimit(const TRect& limit);
    const TSurface& Surface() const { return surface_; }
    // Called when the surface was reallocated (a bitmap resized).
    void SetSurface(TSurface surface);

private:
    ITextPainter* TextPainter();
    TSurface surface_;
    std::unique_ptr<ITextPainter> painter_;
    TPoint origin_;
    TRect clip_;  // surface coordinates
    TRect limit_; // surface coordinates
    TPoint penPos_;
};

// Off-screen bitmap, 32 bits a pixel, rows read and written directly.
class TBitmap {
public:
    TBitmap();
    ~TBitmap();
    TBitmap(const TBitmap&) = delete;
    TBitmap& operator=(const TBitmap&) = delete;
    int Width() const;
    int Height() const;
    void SetSize(int width, int height);
    // Row y: Width() pixels of 4 bytes (blue, green, red, unused).
    uint8_t* ScanLine(int y);
    const uint8_t* ScanLine(int y) const;
    int StrideBytes() const;
    TCanvas& Canvas();
    // The pixels as a drawing surface; valid until the next SetSize.
    TSurface Surface();

private:
    int width_ = 0, height_ = 0;
    std::vector<uint32_t> pixels_;
    std::unique_ptr<TCanvas> canvas_;
};

class EInvalidGraphic : public Exception {
public:
    using Exception::Exception;
};

// One graphic of a registered format.
class TGraphic {
public:
    virtual ~TGraphic() = default;
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    bool Empty() const { return Width() <= 0 || Height() <= 0; }
    virtual bool Transparent() const { return transparent_; }
    virtual void SetTransparent(bool v) { transparent_ = v; }
    // Palettes matter only on displays of 8 bits per pixel or fewer.
    virtual bool HasPalette() const { return false; }
    bool PaletteModified = false;
    virtual void Draw(TCanvas& canvas, const TRect& r) const = 0;
    virtual std::unique_ptr<TGraphic> Clone() const = 0;
    virtual const char* FormatName() const = 0;
    // The decoded pixels (32-bit), for drawing; read only.
    virtual TSurface Pixels() const = 0;

protected:
    bool transparent_ = false;
};

class TJPEGImage : public TGraphic {
public:
    // Decodes a whole JPEG file; a damaged, truncated or unreadable one raises EInvalidGraphic.
    void LoadFromBytes(const uint8_t* data, size_t size);
    int Width() const override;
    int Height() const override;
    bool HasPalette() const override { return paletted_; }
    void Draw(TCanvas& canvas, const TRect& r) const override;
    std::unique_ptr<TGraphic> Clone() const override;
    const char* FormatName() const override { return "JPEG"; }
    TSurface Pixels() const override;

private:
    struct Pixmap {
        int width = 0, height = 0;
        std::vector<uint8_t> pixels; // 4 bytes a pixel: blue, green, red, 0
    };
    std::shared_ptr<Pixmap> image_;
    bool paletted_ = false;
};

// Holds one graphic of any registered kind and reports every change.
class TPicture {
public:
    int Width() const { return graphic_ ? graphic_->Width() : 0; }
    int Height() const { return graphic_ ? graphic_->Height() : 0; }
    TGraphic* Graphic() const { return graphic_.get(); }
    void SetGraphic(std::unique_ptr<TGraphic> g);
    void Assign(const TPicture& other);
    void Clear();
    // Picks the format from the data (JPEG by its signature); unknown or damaged data raises
    // EInvalidGraphic and leaves the picture as it was.
    void LoadFromBytes(const uint8_t* data, size_t size);
    void LoadFromResource(const std::string& name);
    std::function<void(TPicture*)> OnChange;

private:
    void Changed() {
        if (OnChange) OnChange(this);
    }
    std::unique_ptr<TGraphic> graphic_;
};

// Bits per pixel of the display.
int DisplayDepth();

} // namespace ui
