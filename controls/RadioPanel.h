// An option panel: holds the controls of one group of jumper options and carries the group's
// explanatory text; hidden on the page until a circle's tool window takes it in.
#pragma once

#include "platform/StdCtrls.h"

namespace ui {

using TRadioPanelChangeEvent = std::function<void(TObject* sender)>;

class TRadioPanel : public TCustomPanel {
    UI_CLASS(TRadioPanel)
public:
    explicit TRadioPanel(TComponent* owner);

    bool RadioEnabled = false;
    TRadioPanelChangeEvent OnRadioChange;
    const TStrings& Lines() const { return lines_; }
    // Copies the given lines; the caller keeps its own list.
    void SetLines(const TStrings& lines) { lines_.Assign(lines.Items()); }
    void SetLines(const std::vector<std::string>& lines) { lines_.Assign(lines); }
    int MemoHeight = 58;
    TAnchors FinalAnchors() const { return finalAnchors_; }
    // Applied at once only when the panel already sits in its tool window.
    void SetFinalAnchors(TAnchors a);
    TNotifyEvent OnActivate;
    TNotifyEvent OnDeactivate;
    // The explanatory memo of the tool window that took the panel in; cleared when the memo goes.
    TMemo* PopupMemo() const { return popupMemo_; }
    void SetPopupMemo(TMemo* memo);
    // Set by the tool window that takes the panel in.
    bool InPopup = false;
    bool DesignHidden() const { return designHidden_; }

    void Paint(TCanvas& canvas) override;
    void ChangeScale(int m, int d) override;
    // The settings of its tool window, named after it.
    TAccessibleRole AccessibleRole() const override { return TAccessibleRole::Group; }
    std::string AccessibleName() const override;

protected:
    void Notification(TComponent* component, bool removing) override;

private:
    TStrings lines_;
    TLink<TMemo> popupMemo_;
    TAnchors finalAnchors_ = akLeft | akTop;
    bool designHidden_ = false;
};

void RegisterRadioPanelClass();

} // namespace ui
