// A highlight circle: a glowing ring over a jumper of the card photograph. Hovering it lights it
// and opens its tool window with the jumper's option panel; a click pins the window; circles of
// equal title and kind on one board picture are twins that light together and share one window
// and one menu entry.
#pragma once

#include "controls/RadioPanel.h"

#include <string>

namespace ui {

class TPopupForm;
class TMenuItem;

enum class THighlightType : uint8_t { htOptions, htSettings, htCalibration };

// Every "&" removed, a doubled one included.
std::string StripAmpersands(std::string text);
// The text made into an identifier: leading characters up to the first letter or "_" removed,
// then every later character that is not a letter, digit or "_".
std::string MakeIdentifier(std::string text);

class TBoardHighlight : public TGraphicControl {
    UI_CLASS(TBoardHighlight)
public:
    explicit TBoardHighlight(TComponent* owner);
    ~TBoardHighlight() override;

    bool CreatePopup = true;
    THighlightType HighlightType() const { return type_; }
    // Takes the kind's colour and strengths; the images already built stay as they are.
    void SetHighlightType(THighlightType t);
    TRadioPanel* RadioPanel() const { return radioPanel_; }
    // Refused when a circle of another title or kind already uses the panel.
    void SetRadioPanel(TRadioPanel* panel);
    const std::string& Title() const { return title_; }
    void SetTitle(const std::string& title);

    const std::string& PopupCaption() const { return popupCaption_; }
    const std::string& NameStem() const { return nameStem_; }
    uint32_t GlowColor() const { return glowColor_; }
    float RestStrength() const { return restStrength_; }
    float LitStrength() const { return litStrength_; }
    float BrightStrength() const { return brightStrength_; }
    bool Hot() const { return hot_; }
    bool Pinned() const { return pinned_; }
    bool PopupActive() const { return popupActive_; }
    bool ImagesBuilt() const { return imagesBuilt_; }
    TPopupForm* Popup() const { return popup_; }
    TMainMenu* BoardMenu() const { return boardMenu_; }
    const TBitmap& RestImage() const { return restImage_; }
    const TBitmap& LitImage() const { return litImage_; }
    const TBitmap& BrightImage() const { return brightImage_; }
    // The image a paint copies now, from PopupActive and Hot.
    const TBitmap& CurrentImage() const;

    void Paint(TCanvas& canvas) override;

    // For a screen reader: a button named by the window's caption, checked while the group's
    // window is pinned, expanded while it is open; pressing it does what a click does.
    TAccessibleRole AccessibleRole() const override { return TAccessibleRole::PushButton; }
    std::string AccessibleName() const override { return popupCaption_; }
    std::string AccessibleDescription() const override;
    TAccessibleStates AccessibleStates() const override;
    bool AccessiblePress() override;
    // The group's tool window, whichever twin built it.
    TPopupForm* GroupWindow() const;
    void WndProc(TMessage& m) override;
    // The standard click (OnClick), then Pin.
    void Click() override;

    void Pin();
    void PinOwnPopup();
    void SetPopupActive(bool active, bool propagate);
    void ClearHot();

    // Renders the three glow images from what the parent painted beneath the circle.
    void BuildImages(TCanvas& canvas);
    // The three images again at `scale` device pixels a pixel, from the background kept.
    void BuildFineImages(int scale);
    // The rest, bright and lit images of the background kept, at `scale` times its size.
    void GlowImages(int scale, TBitmap& rest, TBitmap& bright, TBitmap& lit);
    // Of three images, the one for the circle's state.
    const TBitmap& ForState(const TBitmap& rest, const TBitmap& lit, const TBitmap& bright) const;

    // The tool window: shown, reused or built.
    void ShowPopup();
    void PopupClosed(TObject* sender, TCloseAction& action);
    void PreviousClick(TObject* sender);
    void NextClick(TObject* sender);
    void DoneClick(TObject* sender);

    // The circle's kind menu and its entry.
    void AddToMenu();
    void SetMenuCheck(bool checked);
    void MenuClick(TObject* sender);
    // "&Settings", "&Calibration" or "&Options".
    static const char* KindMenuCaption(THighlightType t);

    // Twins: same board picture (exactly that class), exactly this class, equal title and kind.
    bool IsTwin(const TControl* other) const;
    bool OnBoardImage() const;

protected:
    void Notification(TComponent* component, bool removing) override;

private:
    void MouseEnter(WPARAM marker);
    void MouseLeave(WPARAM marker);
    void FirstPaintSetup(TCanvas& canvas);
    // Sends the message to every twin, the circle itself included, by index over the child
    // count taken at the start.
    void NotifyTwins(unsigned msg);
    // The circle's own entry in its kind menu, or none.
    TMenuItem* OwnEntry() const;
    void Navigate(bool forward);
    // Whether the group's tool window (this circle's or a twin's) is on screen.
    bool GroupWindowShown() const;
    // The entry this circle made passes to a twin that stays, or goes with the circle.
    void ReleaseMenuEntry();
    TMenuItem* MakeEntry(TComponent* owner);

    TBitmap restImage_;
    TBitmap brightImage_;
    TBitmap litImage_;
    // What lay beneath the circle when its images were made.
    TBitmap background_;
    // At device resolution, on a screen that enlarges the window; made on first need.
    TBitmap fineRest_, fineBright_, fineLit_;
    int fineScale_ = 0;
    float restStrength_ = 0;
    float brightStrength_ = 0;
    float litStrength_ = 0;
    uint32_t glowColor_ = 0;
    THighlightType type_ = THighlightType::htOptions;
    bool hot_ = false;
    TPopupForm* popup_ = nullptr;
    std::string title_;
    std::string popupCaption_;
    std::string nameStem_;
    TMainMenu* boardMenu_ = nullptr;
    bool imagesBuilt_ = false;
    bool pinned_ = false;
    TRadioPanel* radioPanel_ = nullptr;
    bool popupActive_ = false;
    TMenuItem* madeEntry_ = nullptr;
};

void RegisterBoardHighlightClass();

} // namespace ui
