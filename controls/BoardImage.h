// The board picture: a windowed panel that shows the card photograph instead of a panel face,
// keeps itself centred in its parent, records where the page put it, and starts the guided tour.
#pragma once

#include "platform/StdCtrls.h"

namespace ui {

class TBoardHighlight;

// Private message that starts the guided tour; both parameters 0.
constexpr unsigned WM_STARTTOUR = 0x04A2;

class TBoardImage : public TCustomPanel {
    UI_CLASS(TBoardImage)
public:
    explicit TBoardImage(TComponent* owner);

    TPicture& Picture() { return picture_; }
    // Copies the given picture into the owned one; its change notification does the rest.
    void SetPicture(const TPicture& p) { picture_.Assign(p); }
    bool Stretch() const { return stretch_; }
    void SetStretch(bool v);
    bool Center() const { return center_; }
    void SetCenter(bool v);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool v);
    bool Scale() const { return scale_; }
    void SetScale(bool v);
    bool CenterOnForm = true;
    // The main menu that receives the circles' menus; not owned, cleared when the menu goes.
    TMainMenu* Menu() const { return menu_; }
    void SetMenu(TMainMenu* menu);
    // The circle the guided tour opens; not owned, cleared when the circle goes.
    TBoardHighlight* First() const { return first_; }
    void SetFirst(TBoardHighlight* circle);

    double AspectRatio() const { return aspectRatio_; }
    bool Drawing() const { return drawing_; }
    bool PositionRecorded() const { return positionRecorded_; }
    int InitialLeft() const { return initialLeft_; }
    int InitialTop() const { return initialTop_; }

    TRect DestinationRect() const;
    void PictureChanged(TObject* sender);
    bool ApplyPaletteChange();
    // Answers whether the picture's graphic has a palette (palette displays only).
    bool GetPalette() const;
    bool CanAutoSize(int& newWidth, int& newHeight) const;
    bool Opaque() const { return ControlStyle & csOpaque; }

    void Paint(TCanvas& canvas) override;
    std::string AccessibleName() const override { return "Card photograph"; }
    TAccessibleRole AccessibleRole() const override { return TAccessibleRole::Graphic; }
    void WndProc(TMessage& m) override;

protected:
    void AdjustSize() override;
    void Notification(TComponent* component, bool removing) override;
    // The tour: the first circle as if the pointer entered it, clicked it and left it, with
    // the message's own parameters.
    void StartTour(const TMessage& m);

private:
    TPicture picture_;
    bool stretch_ = false;
    bool center_ = false;
    bool transparent_ = false;
    bool drawing_ = false;
    double aspectRatio_ = 1.0;
    bool scale_ = true;
    TLink<TMainMenu> menu_;
    TLink<TBoardHighlight> first_;
    bool positionRecorded_ = false;
    int initialLeft_ = 0;
    int initialTop_ = 0;
};

void RegisterBoardImageClass();

} // namespace ui
