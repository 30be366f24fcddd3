// Text painted by the layer's canvas. On a surface at one device pixel per pixel it is drawn into
// the pixels at once; a widget shown at a higher device pixel ratio keeps it instead and draws it
// after its pixels, at the device's resolution, so that text stays sharp where the rest of the
// picture is enlarged.
#pragma once

#include "platform/System.h"

#include <QPainter>
#include <vector>

namespace ui::qt {

struct TextOp {
    TRect clip;    // surface coordinates
    TPoint origin; // surface coordinates
    TFont font;
    bool inBox = false; // TextRect rather than TextOut
    int x = 0, y = 0;
    TRect box;
    std::string text;
    TAlignment alignment = TAlignment::taLeftJustify;
    TTextLayout layout = TTextLayout::tlTop;
    bool wordWrap = false;
};

void DrawTextOp(QPainter& painter, const TextOp& op);

std::unique_ptr<ITextPainter> MakeTextPainter(TSurface surface);

// While `ops` is set for the surface whose pixels start at `bits`, text painted on it is added
// to `ops` instead of being drawn; nullptr ends it.
void DeferText(const uint8_t* bits, std::vector<TextOp>* ops);

} // namespace ui::qt
