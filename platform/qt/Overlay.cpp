#include "platform/qt/Overlay.h"

#include "platform/qt/QtSupport.h"

#include <QFontMetrics>
#include <QImage>
#include <map>

namespace ui::qt {

namespace {

std::map<const uint8_t*, std::vector<OverlayOp>*>& Deferred() {
    static std::map<const uint8_t*, std::vector<OverlayOp>*> map;
    return map;
}

int Flags(const OverlayOp& op) {
    int flags = 0;
    switch (op.alignment) {
    case TAlignment::taLeftJustify:
        flags |= Qt::AlignLeft;
        break;
    case TAlignment::taRightJustify:
        flags |= Qt::AlignRight;
        break;
    case TAlignment::taCenter:
        flags |= Qt::AlignHCenter;
        break;
    }
    switch (op.layout) {
    case TTextLayout::tlTop:
        flags |= Qt::AlignTop;
        break;
    case TTextLayout::tlCenter:
        flags |= Qt::AlignVCenter;
        break;
    case TTextLayout::tlBottom:
        flags |= Qt::AlignBottom;
        break;
    }
    if (op.wordWrap) flags |= Qt::TextWordWrap;
    return flags;
}

// Text on a surface of ours: drawn in place (the image wraps the pixels without copying them),
// or kept, with finer pictures, for a widget that shows the surface enlarged.
class SurfacePainter : public ITextPainter {
public:
    SurfacePainter(TSurface s, std::vector<OverlayOp>* deferred) : deferred_(deferred) {
        if (!deferred_) {
            image_ = QImage(s.bits, s.width, s.height, s.strideBytes, QImage::Format_RGB32);
            painter_.begin(&image_);
        }
    }
    void TextOut(const TRect& clip, TPoint origin, const TFont& font, int x, int y,
                 const std::string& text) override {
        Add({OverlayOp::Kind::Text, clip, origin, font, x, y, {}, text});
    }
    void TextRect(const TRect& clip, TPoint origin, const TFont& font, const TRect& r,
                  const std::string& text, TAlignment alignment, TTextLayout layout,
                  bool wordWrap) override {
        Add({OverlayOp::Kind::TextInBox, clip, origin, font, 0, 0, r, text, alignment, layout,
             wordWrap});
    }
    void DevicePicture(const TRect& clip, TPoint origin, const TRect& dest,
                       TSurface pixels) override {
        // Only an enlarged surface shows finer pictures.
        if (!deferred_ || pixels.Empty() || dest.Width() <= 0 || dest.Height() <= 0) return;
        OverlayOp op;
        op.kind = OverlayOp::Kind::Picture;
        op.clip = clip;
        op.origin = origin;
        op.box = dest;
        // A copy: the control may draw its next picture into the same pixels before this one
        // is shown.
        op.picture = QImage(pixels.bits, pixels.width, pixels.height, pixels.strideBytes,
                            QImage::Format_RGB32)
                         .copy();
        op.picture.setDevicePixelRatio(static_cast<double>(pixels.width) / dest.Width());
        deferred_->push_back(std::move(op));
    }

private:
    void Add(OverlayOp op) {
        if (deferred_)
            deferred_->push_back(std::move(op));
        else
            DrawOverlayOp(painter_, op);
    }
    std::vector<OverlayOp>* deferred_;
    QImage image_;
    QPainter painter_;
};

} // namespace

void DrawOverlayOp(QPainter& painter, const OverlayOp& op) {
    painter.save();
    painter.setClipRect(QRect(op.clip.Left, op.clip.Top, op.clip.Width(), op.clip.Height()),
                        Qt::IntersectClip);
    painter.translate(op.origin.X, op.origin.Y);
    const QRect box(op.box.Left, op.box.Top, op.box.Width(), op.box.Height());
    if (op.kind == OverlayOp::Kind::Picture) {
        // Exactly at device resolution at a whole ratio; smoothly resampled at any other.
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(box, op.picture);
        painter.restore();
        return;
    }
    painter.setFont(ToQFont(op.font));
    painter.setPen(ToQColor(op.font.Color));
    if (op.kind == OverlayOp::Kind::TextInBox) {
        painter.setClipRect(box, Qt::IntersectClip);
        painter.drawText(box, Flags(op), ToQ(op.text));
    } else {
        QFontMetrics fm(painter.font());
        painter.drawText(op.x, op.y + fm.ascent(), ToQ(op.text));
    }
    painter.restore();
}

std::unique_ptr<ITextPainter> MakeTextPainter(TSurface surface) {
    if (surface.Empty()) return nullptr;
    auto it = Deferred().find(surface.bits);
    return std::make_unique<SurfacePainter>(surface, it != Deferred().end() ? it->second : nullptr);
}

void DeferOverlay(const uint8_t* bits, std::vector<OverlayOp>* ops) {
    if (ops)
        Deferred()[bits] = ops;
    else
        Deferred().erase(bits);
}

} // namespace ui::qt
