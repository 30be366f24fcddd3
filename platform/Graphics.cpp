#include "platform/Graphics.h"

#include "platform/System.h"
#include "platform/jpeg/JpegDecode.h"
#include "platform/raster/Raster.h"

#include <algorithm>

namespace ui {

namespace {

raster::Surface SurfaceOf(const TSurface& s) {
    if (s.Empty()) return {};
    return {s.bits, s.strideBytes, s.width, s.height};
}

raster::PenStyle PenStyleOf(TPenStyle s) {
    switch (s) {
    case TPenStyle::psDash:
        return raster::PenStyle::Dash;
    case TPenStyle::psDot:
        return raster::PenStyle::Dot;
    case TPenStyle::psDashDot:
        return raster::PenStyle::DashDot;
    case TPenStyle::psClear:
        return raster::PenStyle::Clear;
    default:
        return raster::PenStyle::Solid;
    }
}

} // namespace

// ---------------------------------------------------------------- canvas

TCanvas::TCanvas(TSurface surface) {
    SetSurface(surface);
}

TCanvas::~TCanvas() = default;

void TCanvas::SetSurface(TSurface surface) {
    painter_.reset();
    surface_ = surface.Empty() ? TSurface{} : surface;
    origin_ = {};
    limit_ = clip_ = {0, 0, surface_.width, surface_.height};
}

void TCanvas::SetOriginAndClip(TPoint origin, const TRect& clip) {
    origin_ = origin;
    clip_ = {std::max(limit_.Left, clip.Left), std::max(limit_.Top, clip.Top),
             std::min(limit_.Right, clip.Right), std::min(limit_.Bottom, clip.Bottom)};
}

void TCanvas::SetLimit(const TRect& limit) {
    int w = surface_.width, h = surface_.height;
    limit_ = {std::max(0, limit.Left), std::max(0, limit.Top), std::min(w, limit.Right),
              std::min(h, limit.Bottom)};
    SetOriginAndClip(origin_, clip_);
}

TRect TCanvas::ClipRect() const {
    return {clip_.Left - origin_.X, clip_.Top - origin_.Y, clip_.Right - origin_.X,
            clip_.Bottom - origin_.Y};
}

// Where the rasterizer draws: the surface, the origin and the clip (surface coordinates).
static raster::Target TargetOf(const TSurface& surface, TPoint origin, const TRect& clip) {
    raster::Target t;
    t.surface = SurfaceOf(surface);
    t.originX = origin.X;
    t.originY = origin.Y;
    t.clipLeft = clip.Left;
    t.clipTop = clip.Top;
    t.clipRight = clip.Right;
    t.clipBottom = clip.Bottom;
    return t;
}

void TCanvas::FillRect(const TRect& r) {
    if (surface_.Empty() || Brush.Style == TBrushStyle::bsClear) return;
    raster::Target t = TargetOf(surface_, origin_, clip_);
    raster::FillRect(t, r.Left, r.Top, r.Right, r.Bottom, ColorToRGB(Brush.Color));
}

void TCanvas::FrameRect(const TRect& r) {
    if (surface_.Empty()) return;
    raster::Target t = TargetOf(surface_, origin_, clip_);
    raster::Rectangle(t, r.Left, r.Top, r.Right, r.Bottom,
                      {ColorToRGB(Brush.Color), raster::PenStyle::Solid}, {0, true});
}

void TCanvas::Rectangle(int left, int top, int right, int bottom) {
    if (surface_.Empty()) return;
    raster::Target t = TargetOf(surface_, origin_, clip_);
    raster::Rectangle(t, left, top, right, bottom, {ColorToRGB(Pen.Color), PenStyleOf(Pen.Style)},
                      {ColorToRGB(Brush.Color), Brush.Style == TBrushStyle::bsClear});
}

void TCanvas::RoundRect(int left, int top, int right, int bottom, int ew, int eh) {
    if (surface_.Empty()) return;
    raster::Target t = TargetOf(surface_, origin_, clip_);
    raster::RoundRect(t, left, top, right, bottom, ew, eh,
                      {ColorToRGB(Pen.Color), PenStyleOf(Pen.Style)},
                      {ColorToRGB(Brush.Color), Brush.Style == TBrushStyle::bsClear});
}

void TCanvas::Ellipse(int left, int top, int right, int bottom) {
    if (surface_.Empty()) return;
    raster::Target t = TargetOf(surface_, origin_, clip_);
    raster::Ellipse(t, left, top, right, bottom, {ColorToRGB(Pen.Color), PenStyleOf(Pen.Style)},
                    {ColorToRGB(Brush.Color), Brush.Style == TBrushStyle::bsClear});
}

void TCanvas::LineTo(int x, int y) {
    if (!surface_.Empty()) {
        raster::Target t = TargetOf(surface_, origin_, clip_);
        raster::Line(t, penPos_.X, penPos_.Y, x, y, {ColorToRGB(Pen.Color), PenStyleOf(Pen.Style)});
    }
    penPos_ = {x, y};
}

uint32_t TCanvas::Pixel(int x, int y) const {
    if (surface_.Empty()) return 0;
    raster::Target t = TargetOf(surface_, origin_, clip_);
    return raster::GetPixel(t, x, y);
}

void TCanvas::SetPixel(int x, int y, TColor c) {
    if (surface_.Empty()) return;
    raster::Target t = TargetOf(surface_, origin_, clip_);
    int sx = x + origin_.X, sy = y + origin_.Y;
    if (sx < clip_.Left || sy < clip_.Top || sx >= clip_.Right || sy >= clip_.Bottom) return;
    raster::SetPixel(t, x, y, ColorToRGB(c));
}

void TCanvas::CopyRect(const TRect& dest, const TCanvas& from, const TRect& source) {
    if (surface_.Empty() || from.surface_.Empty()) return;
    raster::Target t = TargetOf(surface_, origin_, clip_);
    raster::Surface src = SurfaceOf(from.surface_);
    int sx = source.Left + from.origin_.X, sy = source.Top + from.origin_.Y;
    if (dest.Width() == source.Width() && dest.Height() == source.Height()) {
        raster::CopyRect(t, dest.Left, dest.Top, src, sx, sy, source.Width(), source.Height());
        return;
    }
    // Scaled: the part of the source that exists, stretched into the destination.
    int l = std::max(0, sx), tp = std::max(0, sy);
    int r = std::min(src.width, sx + source.Width()),
        b = std::min(src.height, sy + source.Height());
    if (r <= l || b <= tp) return;
    raster::Surface sub{src.bits + static_cast<ptrdiff_t>(tp) * src.strideBytes + l * 4,
                        src.strideBytes, r - l, b - tp};
    raster::StretchCopy(t, dest.Left, dest.Top, dest.Right, dest.Bottom, sub);
}

void TCanvas::DrawDevicePicture(const TRect& dest, TBitmap& fine) {
    if (DeviceScale() <= 1 || fine.Width() <= 0 || fine.Height() <= 0) return;
    if (ITextPainter* p = TextPainter()) p->DevicePicture(clip_, origin_, dest, fine.Surface());
}

void TCanvas::Draw(int x, int y, const TGraphic& g) {
    g.Draw(*this, Bounds(x, y, g.Width(), g.Height()));
}

void TCanvas::StretchDraw(const TRect& r, const TGraphic& g) {
    g.Draw(*this, r);
}

ITextPainter* TCanvas::TextPainter() {
    if (surface_.Empty()) return nullptr;
    if (!painter_) painter_ = System().CreateTextPainter(surface_);
    return painter_.get();
}

void TCanvas::TextOut(int x, int y, const std::string& text) {
    ITextPainter* p = TextPainter();
    if (!p) return;
    if (Brush.Style != TBrushStyle::bsClear)
        FillRect(Bounds(x, y, TextWidth(text), TextHeight(text)));
    p->TextOut(clip_, origin_, Font, x, y, text);
}

void TCanvas::TextRect(const TRect& r, const std::string& text, TAlignment alignment,
                       TTextLayout layout, bool wordWrap) {
    if (ITextPainter* p = TextPainter())
        p->TextRect(clip_, origin_, Font, r, text, alignment, layout, wordWrap);
}

int TCanvas::TextWidth(const std::string& text) const {
    return System().TextWidth(Font, text);
}

int TCanvas::TextHeight(const std::string&) const {
    return System().TextHeight(Font);
}

// ---------------------------------------------------------------- bitmap

TBitmap::TBitmap() = default;
TBitmap::~TBitmap() = default;

int TBitmap::Width() const {
    return width_;
}
int TBitmap::Height() const {
    return height_;
}

void TBitmap::SetSize(int width, int height) {
    width = std::max(0, width);
    height = std::max(0, height);
    if (width == 0 || height == 0) width = height = 0;
    if (width == width_ && height == height_) return;
    width_ = width;
    height_ = height;
    pixels_.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0u);
    if (canvas_) canvas_->SetSurface(Surface());
}

uint8_t* TBitmap::ScanLine(int y) {
    return reinterpret_cast<uint8_t*>(pixels_.data() + static_cast<size_t>(y) * width_);
}
const uint8_t* TBitmap::ScanLine(int y) const {
    return reinterpret_cast<const uint8_t*>(pixels_.data() + static_cast<size_t>(y) * width_);
}
int TBitmap::StrideBytes() const {
    return width_ * 4;
}

TSurface TBitmap::Surface() {
    if (pixels_.empty()) return {};
    return {reinterpret_cast<uint8_t*>(pixels_.data()), width_ * 4, width_, height_};
}

TCanvas& TBitmap::Canvas() {
    if (!canvas_) canvas_ = std::make_unique<TCanvas>(Surface());
    return *canvas_;
}

// ---------------------------------------------------------------- graphics

int DisplayDepth() {
    return SystemInstalled() ? System().DisplayDepth() : 24;
}

void TJPEGImage::LoadFromBytes(const uint8_t* data, size_t size) {
    jpeg::Image img;
    std::string error;
    jpeg::Options opt;
    opt.paletteDisplay = DisplayDepth() <= 8;
    if (!jpeg::Decode(data, size, img, error, opt)) throw EInvalidGraphic(error);
    auto out = std::make_shared<Pixmap>();
    out->width = img.width;
    out->height = img.height;
    if (!img.paletted) {
        // Already in our layout: taken over, not copied, so the photograph exists once.
        out->pixels = std::move(img.pixels);
    } else {
        out->pixels.assign(static_cast<size_t>(img.width) * static_cast<size_t>(img.height) * 4, 0);
        for (size_t i = 0; i < img.pixels.size(); ++i) {
            uint32_t c = img.palette[img.pixels[i]];
            out->pixels[i * 4 + 0] = static_cast<uint8_t>(GetBValue(c));
            out->pixels[i * 4 + 1] = static_cast<uint8_t>(GetGValue(c));
            out->pixels[i * 4 + 2] = static_cast<uint8_t>(GetRValue(c));
        }
    }
    image_ = std::move(out);
    paletted_ = img.paletted;
}

int TJPEGImage::Width() const {
    return image_ ? image_->width : 0;
}
int TJPEGImage::Height() const {
    return image_ ? image_->height : 0;
}

TSurface TJPEGImage::Pixels() const {
    if (!image_ || image_->pixels.empty()) return {};
    // Read-only use: the rasterizer only reads from a source surface.
    return {const_cast<uint8_t*>(image_->pixels.data()), image_->width * 4, image_->width,
            image_->height};
}

void TJPEGImage::Draw(TCanvas& canvas, const TRect& r) const {
    if (!image_ || canvas.Surface().Empty()) return;
    TRect clip = canvas.ClipRect();
    TPoint o = canvas.Origin();
    raster::Target t =
        TargetOf(canvas.Surface(), o,
                 {clip.Left + o.X, clip.Top + o.Y, clip.Right + o.X, clip.Bottom + o.Y});
    raster::StretchCopy(t, r.Left, r.Top, r.Right, r.Bottom, SurfaceOf(Pixels()));
}

std::unique_ptr<TGraphic> TJPEGImage::Clone() const {
    auto c = std::make_unique<TJPEGImage>();
    c->image_ = image_; // decoded pixels are shared; nothing ever changes them
    c->paletted_ = paletted_;
    c->transparent_ = transparent_;
    return c;
}

void TPicture::SetGraphic(std::unique_ptr<TGraphic> g) {
    graphic_ = std::move(g);
    Changed();
}

void TPicture::Assign(const TPicture& other) {
    if (&other == this) return;
    graphic_ = other.graphic_ ? other.graphic_->Clone() : nullptr;
    Changed();
}

void TPicture::Clear() {
    if (!graphic_) return;
    graphic_.reset();
    Changed();
}

void TPicture::LoadFromBytes(const uint8_t* data, size_t size) {
    if (size >= 2 && data[0] == 0xFF && data[1] == 0xD8) {
        auto g = std::make_unique<TJPEGImage>();
        g->LoadFromBytes(data, size);
        SetGraphic(std::move(g));
        return;
    }
    throw EInvalidGraphic("Unknown picture format");
}

void TPicture::LoadFromResource(const std::string& name) {
    std::optional<std::string> data = System().Resource(name);
    if (!data) throw EInvalidGraphic("The picture " + name + " is missing from the program");
    try {
        LoadFromBytes(reinterpret_cast<const uint8_t*>(data->data()), data->size());
    } catch (const EInvalidGraphic& e) {
        throw EInvalidGraphic("The picture " + name + " cannot be shown: " + e.what());
    }
}

} // namespace ui
