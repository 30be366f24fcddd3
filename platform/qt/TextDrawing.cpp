#include "platform/qt/TextDrawing.h"

#include "platform/qt/QtSupport.h"

#include <QFontMetrics>
#include <QImage>
#include <map>

namespace ui::qt {

namespace {

std::map<const uint8_t*, std::vector<TextOp>*>& Deferred() {
    static std::map<const uint8_t*, std::vector<TextOp>*> map;
    return map;
}

int Flags(const TextOp& op) {
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

// Text on a surface of ours, drawn in place: the image wraps the pixels without copying them.
class DirectPainter : public ITextPainter {
public:
    explicit DirectPainter(TSurface s)
        : image_(s.bits, s.width, s.height, s.strideBytes, QImage::Format_RGB32),
          painter_(&image_) {}
    void TextOut(const TRect& clip, TPoint origin, const TFont& font, int x, int y,
                 const std::string& text) override {
        DrawTextOp(painter_, {clip, origin, font, false, x, y, {}, text});
    }
    void TextRect(const TRect& clip, TPoint origin, const TFont& font, const TRect& r,
                  const std::string& text, TAlignment alignment, TTextLayout layout,
                  bool wordWrap) override {
        DrawTextOp(painter_,
                   {clip, origin, font, true, 0, 0, r, text, alignment, layout, wordWrap});
    }

private:
    QImage image_;
    QPainter painter_;
};

class DeferringPainter : public ITextPainter {
public:
    explicit DeferringPainter(std::vector<TextOp>& ops) : ops_(ops) {}
    void TextOut(const TRect& clip, TPoint origin, const TFont& font, int x, int y,
                 const std::string& text) override {
        ops_.push_back({clip, origin, font, false, x, y, {}, text});
    }
    void TextRect(const TRect& clip, TPoint origin, const TFont& font, const TRect& r,
                  const std::string& text, TAlignment alignment, TTextLayout layout,
                  bool wordWrap) override {
        ops_.push_back({clip, origin, font, true, 0, 0, r, text, alignment, layout, wordWrap});
    }

private:
    std::vector<TextOp>& ops_;
};

} // namespace

void DrawTextOp(QPainter& painter, const TextOp& op) {
    painter.save();
    painter.setClipRect(QRect(op.clip.Left, op.clip.Top, op.clip.Width(), op.clip.Height()),
                        Qt::IntersectClip);
    painter.translate(op.origin.X, op.origin.Y);
    painter.setFont(ToQFont(op.font));
    painter.setPen(ToQColor(op.font.Color));
    if (op.inBox) {
        QRect box(op.box.Left, op.box.Top, op.box.Width(), op.box.Height());
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
    if (auto it = Deferred().find(surface.bits); it != Deferred().end())
        return std::make_unique<DeferringPainter>(*it->second);
    return std::make_unique<DirectPainter>(surface);
}

void DeferText(const uint8_t* bits, std::vector<TextOp>* ops) {
    if (ops)
        Deferred()[bits] = ops;
    else
        Deferred().erase(bits);
}

} // namespace ui::qt
