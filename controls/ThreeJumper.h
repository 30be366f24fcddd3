// A three-pin jumper header seen from above: a rounded base, three pins and an optional shorting
// block; a click moves the block to the next position.
#pragma once

#include "platform/StdCtrls.h"

namespace ui {

enum class TJumperState : uint8_t { jsOpen, jsLeft, jsRight };
enum class TOrientationType : uint8_t { otUp, otDown, otLeft, otRight };

class TThreeJumper : public TGraphicControl {
    UI_CLASS(TThreeJumper)
public:
    explicit TThreeJumper(TComponent* owner);

    TJumperState JumperState() const { return state_; }
    // Raises no event; ignores jsOpen while AllowOpen is false.
    void SetJumperState(TJumperState s);
    TOrientationType Orientation() const { return orientation_; }
    void SetOrientation(TOrientationType o);
    bool AllowOpen() const { return allowOpen_; }
    void SetAllowOpen(bool v);
    TColor BaseColor() const { return baseColor_; }
    void SetBaseColor(TColor c);
    TColor PinColor() const { return pinColor_; }
    void SetPinColor(TColor c);
    TColor JumperColor() const { return jumperColor_; }
    void SetJumperColor(TColor c);
    TBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TBorderStyle b);

    // Advances the state, then raises OnClick: the handler sees the new state.
    void Click() override;
    void Paint(TCanvas& canvas) override;

    // For a screen reader: named by the label in its row ("PORT A"), its value the label above
    // the pins the block covers ("Pull UP", "5V"); pressing it steps it like a click.
    TAccessibleRole AccessibleRole() const override { return TAccessibleRole::PushButton; }
    std::string AccessibleName() const override;
    std::string AccessibleValue() const override;
    std::string AccessibleDescription() const override;
    bool AccessiblePress() override;

    bool SwapPending() const { return swapPending_; }
    bool Painted() const { return painted_; }
    // The picture with the pins in a row, and turned to the control's orientation.
    const TBitmap& DrawingBitmap() const { return drawing_; }
    const TBitmap& OutputBitmap() const { return output_; }

private:
    // Steps 1 to 9 of a paint: the picture W x H with the pins in a row, into `drawing`, and
    // turned to the orientation, into `output`.
    void Compose(TBitmap& drawing, TBitmap& output, int W, int H) const;
    TOrientationType orientation_ = TOrientationType::otUp;
    TJumperState state_ = TJumperState::jsOpen;
    TBitmap output_;
    TBitmap drawing_;
    // The same at device resolution, on a screen that enlarges the window.
    TBitmap fineOutput_;
    TBitmap fineDrawing_;
    bool swapPending_ = false;
    bool painted_ = false;
    TColor baseColor_ = clGray;
    TColor jumperColor_ = clMaroon;
    TColor pinColor_ = clYellow;
    TBorderStyle borderStyle_ = TBorderStyle::bsSingle;
    bool allowOpen_ = true;
};

void RegisterThreeJumperClass();

} // namespace ui
