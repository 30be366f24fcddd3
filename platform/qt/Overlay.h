// Text painted by the layer's canvas. On a surface at one device pixel per pixel it is drawn into
// the pixels at once; a widget shown at a higher device pixel ratio keeps it instead, with the
// finer pictures controls draw for it, and draws them after its pixels at the device's
// resolution, so that they stay sharp where the rest of the picture is enlarged.
#pragma once

#include "platform/System.h"

#include <QImage>
#include <QPainter>
#include <vector>

namespace ui::qt {

struct OverlayOp {
    enum class Kind { Text, TextInBox, Picture };
    Kind kind = Kind::Text;
    TRect clip;    // surface coordinates
    TPoint origin; // surface coordinates
    TFont font;
    int x = 0, y = 0;
    TRect box;
    std::string text;
    TAlignment alignment = TAlignment::taLeftJustify;
    TTextLayout layout = TTextLayout::tlTop;
    bool wordWrap = false;
    QImage picture = {}; // its device pixel ratio set; drawn into `box`
};

void DrawOverlayOp(QPainter& painter, const OverlayOp& op);

std::unique_ptr<ITextPainter> MakeTextPainter(TSurface surface);

// While `ops` is set for the surface whose pixels start at `bits`, text and fine pictures
// painted on it are added to `ops` instead of being drawn; nullptr ends it.
void DeferOverlay(const uint8_t* bits, std::vector<OverlayOp>* ops);

} // namespace ui::qt
