// Standard controls: panels, buttons, radio buttons, drop-down lists, memos, the rich-text box,
// the status bar and menus.
#pragma once

#include "platform/Forms.h"

namespace ui {

enum class TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };

// A windowed container that paints a face with bevels.
class TCustomPanel : public TCustomControl {
    UI_CLASS(TCustomPanel)
public:
    explicit TCustomPanel(TComponent* owner);
    TBevelCut BevelOuter() const { return bevelOuter_; }
    void SetBevelOuter(TBevelCut b);
    TBevelCut BevelInner() const { return bevelInner_; }
    void SetBevelInner(TBevelCut b);
    int BevelWidth() const { return bevelWidth_; }
    void SetBevelWidth(int w);
    bool ShowCaption = true;
    void Paint(TCanvas& canvas) override;

protected:
    TBevelCut bevelOuter_ = TBevelCut::bvRaised;
    TBevelCut bevelInner_ = TBevelCut::bvNone;
    int bevelWidth_ = 1;
};

class TPanel : public TCustomPanel {
    UI_CLASS(TPanel)
public:
    using TCustomPanel::TCustomPanel;
};

class TButton : public TWinControl {
    UI_CLASS(TButton)
public:
    explicit TButton(TComponent* owner);
    bool Default = false;
    bool Cancel = false;

protected:
    std::unique_ptr<IControlPeer> CreatePeer(IControlPeer* parentContainer) override;
    void InitPeer() override;
    void CaptionChanged() override;
};

class TRadioButton : public TWinControl {
    UI_CLASS(TRadioButton)
public:
    explicit TRadioButton(TComponent* owner);
    bool Checked() const { return checked_; }
    // Checking an unchecked button unchecks its siblings and raises its click event.
    void SetChecked(bool v);
    // What the peer reports when the user clicks the button.
    void UserClicked();

protected:
    std::unique_ptr<IControlPeer> CreatePeer(IControlPeer* parentContainer) override;
    void InitPeer() override;
    void CaptionChanged() override;

private:
    void SyncPeer();
    bool checked_ = false;
};

enum class TComboBoxStyle { csDropDown, csSimple, csDropDownList };

class TComboBox : public TWinControl {
    UI_CLASS(TComboBox)
public:
    explicit TComboBox(TComponent* owner);
    TStrings Items;
    int ItemIndex() const { return itemIndex_; }
    // Selecting from code raises nothing; the user's pick raises OnChange.
    void SetItemIndex(int i);
    std::string Text() const;
    TComboBoxStyle Style = TComboBoxStyle::csDropDown;
    int ItemHeight = 16;
    TNotifyEvent OnChange;
    // What the peer reports when the user picks an item.
    void UserPicked(int index);
    // Opens or closes the drop-down list; its screen rectangle while it is open.
    void SetDroppedDown(bool open);
    TRect DropDownRect() const;
    void ChangeScale(int m, int d) override;

protected:
    std::unique_ptr<IControlPeer> CreatePeer(IControlPeer* parentContainer) override;
    void InitPeer() override;

private:
    void SyncPeer();
    int itemIndex_ = -1;
};

class TCustomMemo : public TWinControl {
    UI_CLASS(TCustomMemo)
public:
    explicit TCustomMemo(TComponent* owner);
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool v);
    TScrollStyle ScrollBars() const { return scrollBars_; }
    void SetScrollBars(TScrollStyle s);
    bool WordWrapLines = true;
    bool WantReturns = true;
    bool WantsReturn() const override { return WantReturns; }
    // Named after its window: a screen reader reads "Technical Support" and then the text.
    std::string AccessibleName() const override;

protected:
    void ColorChanged() override;
    bool readOnly_ = false;
    TScrollStyle scrollBars_ = TScrollStyle::ssNone;
    TMemoLook Look() const;
    virtual void ApplyCommon() = 0;
};

class TMemo : public TCustomMemo {
    UI_CLASS(TMemo)
public:
    explicit TMemo(TComponent* owner);
    TStrings Lines;

protected:
    std::unique_ptr<IControlPeer> CreatePeer(IControlPeer* parentContainer) override;
    void InitPeer() override;
    void ApplyCommon() override;

private:
    void SyncText();
};

// A read-only rich-text box that loads RTF with the layer's own reader.
class TRichEdit : public TCustomMemo {
    UI_CLASS(TRichEdit)
public:
    explicit TRichEdit(TComponent* owner);
    // Replaces the content with the RTF document.
    void LoadRtf(const std::string& rtf);
    // The loaded text, paragraphs separated by "\n".
    std::string PlainText() const;
    const std::string& Rtf() const { return rtf_; }
    // The document's point sizes grow with the control's resolution.
    void ChangeScale(int m, int d) override;

protected:
    std::unique_ptr<IControlPeer> CreatePeer(IControlPeer* parentContainer) override;
    void InitPeer() override;
    void ApplyCommon() override;

private:
    void SyncDocument();
    std::string rtf_;
    int pixelsPerInch_ = 96;
};

struct TStatusPanel {
    std::string Text;
    int Width = 50;
    TBevelCut Bevel = TBevelCut::bvLowered;
};

class TStatusBar : public TCustomControl {
    UI_CLASS(TStatusBar)
public:
    explicit TStatusBar(TComponent* owner);
    std::vector<TStatusPanel> Panels;
    bool SimplePanel = false;
    std::string SimpleText;
    void PanelsChanged() { Invalidate(); }
    void Paint(TCanvas& canvas) override;
    void ChangeScale(int m, int d) override;
    TAccessibleRole AccessibleRole() const override { return TAccessibleRole::StatusBar; }
    // Its texts, or "Status" while it shows none.
    std::string AccessibleName() const override;
};

class TMenuItem : public TComponent {
    UI_CLASS(TMenuItem)
public:
    explicit TMenuItem(TComponent* owner);
    ~TMenuItem() override;
    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& c);
    bool Checked() const { return checked_; }
    void SetChecked(bool v);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool v);
    bool Visible() const { return visible_; }
    void SetVisible(bool v);
    TNotifyEvent OnClick;
    virtual void Click();

    int Count() const { return static_cast<int>(items_.size()); }
    TMenuItem* Items(int i) const { return items_.at(i); }
    int IndexOf(const TMenuItem* item) const;
    void Add(TMenuItem* item) { Insert(Count(), item); }
    void Insert(int index, TMenuItem* item);
    void Remove(TMenuItem* item);
    TMenuItem* ParentItem() const { return parent_; }
    uint64_t Serial() const { return serial_; }
    // The live entry with this serial number, or none once it is gone.
    static TMenuItem* FindBySerial(uint64_t serial);
    class TMainMenu* Menu() const;

private:
    // Structural changes rebuild the menu bar; a caption, check mark or enabled state changes
    // in place, so that an open menu stays open.
    void Changed();
    void Updated();
    uint64_t serial_;
    std::string caption_;
    bool checked_ = false, enabled_ = true, visible_ = true;
    std::vector<TMenuItem*> items_;
    TMenuItem* parent_ = nullptr;
    class TMainMenu* menu_ = nullptr;
    friend class TMainMenu;
};

class TMainMenu : public TComponent {
    UI_CLASS(TMainMenu)
public:
    explicit TMainMenu(TComponent* owner);
    ~TMainMenu() override;
    // The invisible root whose sub-items are the menu bar's entries.
    TMenuItem* Items() const { return items_.get(); }
    // The forms that show this menu rebuild their menu bars, or update one entry in place.
    void Changed();
    void ItemChanged(TMenuItem* item);

private:
    std::unique_ptr<TMenuItem> items_;
};

} // namespace ui
