#include "controls/ThreeJumper.h"

#include "controls/RadioPanel.h"
#include "platform/Streaming.h"

#include <algorithm>

namespace ui {

TThreeJumper::TThreeJumper(TComponent* owner) : TGraphicControl(owner) {
    ControlStyle |= csReplicatable;
    SetBoundsInternal(left_, top_, 43, 18);
}

void TThreeJumper::SetJumperState(TJumperState s) {
    if (s == state_) return;
    if (s == TJumperState::jsOpen && !allowOpen_) return;
    state_ = s;
    Invalidate();
    AccessibleChanged(true);
}

namespace {
const TLabel* LabelOf(const TControl* c) {
    return dynamic_cast<const TLabel*>(c);
}
} // namespace

std::string TThreeJumper::AccessibleName() const {
    // The nearest label to the left in the same row.
    const TLabel* best = nullptr;
    if (parent_)
        for (int i = 0; i < parent_->ControlCount(); ++i) {
            const TLabel* l = LabelOf(parent_->Controls(i));
            if (!l || l->Caption().empty()) continue;
            bool sameRow = l->Top() < top_ + height_ && l->Top() + l->Height() > top_;
            if (sameRow && l->Left() + l->Width() <= left_ + 2 &&
                (!best || l->Left() + l->Width() > best->Left() + best->Width()))
                best = l;
        }
    if (best) return best->AccessibleName();
    TForm* f = ParentForm();
    return (f && !f->Caption().empty() ? f->Caption() + " " : std::string()) + "jumper";
}

std::string TThreeJumper::AccessibleValue() const {
    if (state_ == TJumperState::jsOpen) return "removed";
    // The labels above the pins, left and right of the middle one.
    const TLabel* left = nullptr;
    const TLabel* right = nullptr;
    const int middle = left_ + width_ / 2;
    if (parent_)
        for (int i = 0; i < parent_->ControlCount(); ++i) {
            const TLabel* l = LabelOf(parent_->Controls(i));
            if (!l || l->Caption().empty()) continue;
            bool above = l->Top() + l->Height() <= top_ + 2 && l->Top() + l->Height() >= top_ - 24;
            bool overColumn = l->Left() < left_ + width_ && l->Left() + l->Width() > left_;
            if (!above || !overColumn) continue;
            int centre = l->Left() + l->Width() / 2;
            if (centre < middle && (!left || centre < left->Left() + left->Width() / 2)) left = l;
            if (centre >= middle && (!right || centre > right->Left() + right->Width() / 2))
                right = l;
        }
    bool vertical =
        orientation_ == TOrientationType::otLeft || orientation_ == TOrientationType::otRight;
    bool onLeft = state_ == TJumperState::jsLeft;
    if (!vertical && left && right) return (onLeft ? left : right)->AccessibleName();
    return onLeft ? "left" : "right";
}

std::string TThreeJumper::AccessibleDescription() const {
    std::string v = AccessibleValue();
    return v == "removed" ? "Jumper removed" : "Jumper on " + v;
}

bool TThreeJumper::AccessiblePress() {
    Click();
    return true;
}

void TThreeJumper::SetOrientation(TOrientationType o) {
    if (o == orientation_) return;
    auto horizontal = [](TOrientationType t) {
        return t == TOrientationType::otUp || t == TOrientationType::otDown;
    };
    if (horizontal(o) != horizontal(orientation_)) swapPending_ = true;
    orientation_ = o;
    Invalidate();
}

void TThreeJumper::SetAllowOpen(bool v) {
    if (v == allowOpen_) return;
    allowOpen_ = v;
    if (!v && state_ == TJumperState::jsOpen) SetJumperState(TJumperState::jsLeft);
    Invalidate();
}

void TThreeJumper::SetBaseColor(TColor c) {
    if (c == baseColor_) return;
    baseColor_ = c;
    Invalidate();
}

void TThreeJumper::SetPinColor(TColor c) {
    if (c == pinColor_) return;
    pinColor_ = c;
    Invalidate();
}

void TThreeJumper::SetJumperColor(TColor c) {
    if (c == jumperColor_) return;
    jumperColor_ = c;
    Invalidate();
}

void TThreeJumper::SetBorderStyle(TBorderStyle b) {
    if (b == borderStyle_) return;
    borderStyle_ = b;
    Invalidate();
}

void TThreeJumper::Click() {
    switch (state_) {
    case TJumperState::jsOpen:
        SetJumperState(TJumperState::jsLeft);
        break;
    case TJumperState::jsLeft:
        SetJumperState(TJumperState::jsRight);
        break;
    case TJumperState::jsRight:
        SetJumperState(allowOpen_ ? TJumperState::jsOpen : TJumperState::jsLeft);
        break;
    }
    TGraphicControl::Click();
}

void TThreeJumper::Paint(TCanvas& canvas) {
    bool horizontal =
        orientation_ == TOrientationType::otUp || orientation_ == TOrientationType::otDown;
    // 1. The picture is composed wide and low, with the pins in a row.
    int W = horizontal ? Width() : Height();
    int H = horizontal ? Height() : Width();
    Compose(drawing_, output_, W, H);

    // 10. A turn across the groups exchanges width and height, once the control has been
    // painted; the new bounds schedule a further paint.
    if (swapPending_) {
        swapPending_ = false;
        if (painted_) {
            int oldW = Width(), oldH = Height();
            SetWidth(oldH);
            SetHeight(oldW);
        }
    }

    // 11.
    canvas.CopyRect(Bounds(0, 0, Width(), Height()), output_.Canvas(),
                    Bounds(0, 0, Width(), Height()));
    painted_ = true;

    // On a screen that enlarges the window, the same drawing composed at device resolution.
    if (const int scale = canvas.DeviceScale(); scale > 1) {
        Compose(fineDrawing_, fineOutput_, W * scale, H * scale);
        canvas.DrawDevicePicture(Bounds(0, 0, output_.Width(), output_.Height()), fineOutput_);
    }
}

void TThreeJumper::Compose(TBitmap& drawing, TBitmap& output, int W, int H) const {
    drawing.SetSize(W, H);
    TCanvas& dc = drawing.Canvas();
    TBrush savedBrush = dc.Brush;
    TPen savedPen = dc.Pen;

    // 3. Background: the colour of a parent that is an option panel itself (not a class derived
    // from one), otherwise the button face.
    TColor back = IsExactly<TRadioPanel>(parent_) ? parent_->Color() : clBtnFace;
    dc.Brush = {back, TBrushStyle::bsSolid};
    dc.Pen = {back, TPenStyle::psSolid, 1};
    dc.Rectangle(0, 0, W, H);

    // 4. Geometry.
    int p = RoundHalfEven((W - 2) / 4.5);
    int a = p + 1;
    int d = std::min(p / 3, RoundHalfEven((H - 2) / 4.0));
    int cy = H / 2, cx = W / 2;
    int g = cx - a + 2;

    // 5. Base.
    dc.Brush = {baseColor_, TBrushStyle::bsSolid};
    dc.Pen = {borderStyle_ == TBorderStyle::bsSingle ? clBlack : baseColor_, TPenStyle::psSolid, 1};
    dc.RoundRect(1, 1, W - 1, H - 1, H / 2, H / 2);

    // 6. Shorting block, over the base.
    dc.Pen = {clBlack, TPenStyle::psSolid, 1};
    dc.Brush = {jumperColor_, TBrushStyle::bsSolid};
    if (state_ == TJumperState::jsLeft) dc.Rectangle(0, 0, cx + g / 2, H);
    if (state_ == TJumperState::jsRight) dc.Rectangle(cx - g / 2, 0, W, H);

    // 7. Pins, over the block.
    dc.Pen.Style = TPenStyle::psClear;
    dc.Brush = {pinColor_, TBrushStyle::bsSolid};
    dc.Ellipse(a - d, cy - d, a + d, cy + d);
    dc.Ellipse(cx - d, cy - d, cx + d, cy + d);
    dc.Ellipse(W - a - d, cy - d, W - a + d, cy + d);

    // 8.
    dc.Brush = savedBrush;
    dc.Pen = savedPen;

    // 9. Turn the picture into the control's orientation, pixel by pixel.
    const bool horizontal =
        orientation_ == TOrientationType::otUp || orientation_ == TOrientationType::otDown;
    if (horizontal)
        output.SetSize(W, H);
    else
        output.SetSize(H, W);
    for (int y = 0; y < H; ++y) {
        const auto* src = reinterpret_cast<const uint32_t*>(drawing.ScanLine(y));
        for (int x = 0; x < W; ++x) {
            int ox = x, oy = y;
            switch (orientation_) {
            case TOrientationType::otUp:
                break;
            case TOrientationType::otDown:
                ox = W - 1 - x;
                oy = H - 1 - y;
                break;
            case TOrientationType::otLeft:
                ox = y;
                oy = W - 1 - x;
                break;
            case TOrientationType::otRight:
                ox = H - 1 - y;
                oy = x;
                break;
            }
            reinterpret_cast<uint32_t*>(output.ScanLine(oy))[ox] = src[x];
        }
    }
}

void RegisterThreeJumperClass() {
    using J = TThreeJumper;
    RegisterClass<J>("TThreeJumper", "TControl")
        .Prop("JumperState", &J::JumperState, &J::SetJumperState,
              prop::Enum<TJumperState>({{"jsOpen", TJumperState::jsOpen},
                                        {"jsLeft", TJumperState::jsLeft},
                                        {"jsRight", TJumperState::jsRight}}),
              TJumperState::jsOpen)
        .Prop("BaseColor", &J::BaseColor, &J::SetBaseColor, prop::Color(), clGray)
        .Prop("PinColor", &J::PinColor, &J::SetPinColor, prop::Color(), clYellow)
        .Prop("JumperColor", &J::JumperColor, &J::SetJumperColor, prop::Color(), clMaroon)
        .Prop("Orientation", &J::Orientation, &J::SetOrientation,
              prop::Enum<TOrientationType>({{"otUp", TOrientationType::otUp},
                                            {"otDown", TOrientationType::otDown},
                                            {"otLeft", TOrientationType::otLeft},
                                            {"otRight", TOrientationType::otRight}}),
              TOrientationType::otUp)
        .Prop("BorderStyle", &J::BorderStyle, &J::SetBorderStyle,
              prop::Enum<TBorderStyle>(
                  {{"bsNone", TBorderStyle::bsNone}, {"bsSingle", TBorderStyle::bsSingle}}),
              TBorderStyle::bsSingle)
        .Prop("AllowOpen", &J::AllowOpen, &J::SetAllowOpen, prop::Bool(), true)
        // A drawing in its own colours: no caption, colour or font to set.
        .Expose({"Align", "Anchors", "Enabled", "ParentShowHint", "ShowHint", "Visible", "Left",
                 "Top", "Width", "Height", "Cursor", "Hint", "OnClick"});
}

} // namespace ui
