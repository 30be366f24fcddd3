// Controls: windowless graphic controls that paint on their parent's surface, windowed controls
// with a native peer, the paint pipeline, alignment, anchors, mouse messages and the canvas.
#pragma once

#include "platform/Graphics.h"

#include <optional>

namespace ui {

class TWinControl;
class TForm;

enum TControlStyleFlag : uint16_t {
    csCaptureMouse = 1,
    csClickEvents = 2,
    csDoubleClicks = 4,
    csOpaque = 8,
    csAcceptsControls = 16,
    csReplicatable = 32,
};

// The low and high 16 bits of a mouse message's LParam, signed.
inline LPARAM MakeMousePos(int x, int y) {
    return static_cast<LPARAM>((static_cast<uint32_t>(static_cast<uint16_t>(x))) |
                               (static_cast<uint32_t>(static_cast<uint16_t>(y)) << 16));
}
inline int MouseX(LPARAM l) {
    return static_cast<int16_t>(l & 0xFFFF);
}
inline int MouseY(LPARAM l) {
    return static_cast<int16_t>((l >> 16) & 0xFFFF);
}

// What a screen reader hears of a control: its role, name, description, value and states, and
// its press action. Windowed controls of the toolkit's own kinds answer for themselves; the
// controls we paint answer here.
enum class TAccessibleRole : uint8_t { Pane, Group, Graphic, Label, PushButton, StatusBar };
struct TAccessibleStates {
    bool checkable = false, checked = false;
    bool expandable = false, expanded = false;
};

class TControl : public TComponent {
    UI_CLASS(TControl)
public:
    explicit TControl(TComponent* owner);
    ~TControl() override;

    TWinControl* Parent() const { return parent_; }
    virtual void SetParent(TWinControl* parent);
    // The form this control is on, or the control itself when it is a form.
    TForm* ParentForm() const;

    int Left() const { return left_; }
    int Top() const { return top_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    void SetLeft(int v) { SetBounds(v, top_, width_, height_); }
    void SetTop(int v) { SetBounds(left_, v, width_, height_); }
    void SetWidth(int v) { SetBounds(left_, top_, v, height_); }
    void SetHeight(int v) { SetBounds(left_, top_, width_, v); }
    virtual void SetBounds(int left, int top, int width, int height);
    TRect BoundsRect() const { return Bounds(left_, top_, width_, height_); }
    virtual TRect ClientRect() const { return {0, 0, width_, height_}; }
    int ClientWidth() const { return ClientRect().Width(); }
    int ClientHeight() const { return ClientRect().Height(); }
    virtual void SetClientWidth(int v) { SetWidth(v); }
    virtual void SetClientHeight(int v) { SetHeight(v); }
    // Screen position of the client area's top-left corner.
    virtual TPoint ClientOrigin() const;
    TPoint ScreenToClient(TPoint p) const;
    TPoint ClientToScreen(TPoint p) const;

    bool Visible() const { return visible_; }
    virtual void SetVisible(bool v);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    // Visible itself and through every parent up to a showing form.
    bool Showing() const;
    bool Enabled() const { return enabled_; }
    virtual void SetEnabled(bool v);

    TAlign Align() const { return align_; }
    void SetAlign(TAlign a);
    TAnchors Anchors() const { return anchors_; }
    void SetAnchors(TAnchors a);

    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& text);
    const std::string& Hint() const { return hint_; }
    void SetHint(const std::string& h) { hint_ = h; }
    bool ShowHint = false;
    bool ParentShowHint = true;
    int Cursor = 0;

    // Font and colour, inherited from the parent while ParentFont / ParentColor hold.
    const TFont& Font() const;
    void SetFont(const TFont& f);
    TFont& FontForChange(); // switches ParentFont off and returns the own font
    bool ParentFont() const { return parentFont_; }
    void SetParentFont(bool v);
    TColor Color() const;
    void SetColor(TColor c);
    bool ParentColor() const { return parentColor_; }
    void SetParentColor(bool v);

    virtual bool AutoSize() const { return autoSize_; }
    virtual void SetAutoSize(bool v);

    uint16_t ControlStyle = csCaptureMouse | csClickEvents | csDoubleClicks;

    // Messages: numbered, sent synchronously.
    LRESULT Perform(unsigned msg, WPARAM wParam = 0, LPARAM lParam = 0);
    virtual void WndProc(TMessage& message);

    virtual void Invalidate();
    // Paints the control through a canvas whose origin and clip are its bounds.
    virtual void Paint(TCanvas&) {}
    virtual bool IsWindowed() const { return false; }

    // Brings the control to the end of its parent's child list (painted last, hit first).
    virtual void BringToFront();
    virtual void SendToBack();

    virtual void Click();

    virtual TAccessibleRole AccessibleRole() const;
    // The caption without its shortcut marks, unless a control knows better.
    virtual std::string AccessibleName() const;
    virtual std::string AccessibleDescription() const { return hint_; }
    virtual std::string AccessibleValue() const { return {}; }
    virtual TAccessibleStates AccessibleStates() const { return {}; }
    // The press action of a screen reader; false when the control has none.
    virtual bool AccessiblePress() { return false; }
    // Tells a listening screen reader that the control's states or value changed.
    void AccessibleChanged(bool valueChanged = false);
    virtual void DblClick();

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TMouseMoveEvent OnMouseMove;

    // Distances kept to the parent's edges by the anchors; updated whenever the bounds or
    // anchors change other than by anchoring itself.
    void UpdateAnchorRules();
    void AnchorTo(int parentWidth, int parentHeight);

    // Scales bounds and own font by m / d, as for a layout made at another screen resolution;
    // a windowed control scales its children with it.
    virtual void ChangeScale(int m, int d);

protected:
    virtual void ParentChanged() {}
    virtual void FontChanged();
    virtual void ColorChanged() { Invalidate(); }
    virtual void CaptionChanged() { Invalidate(); }
    virtual void VisibleChanged();
    virtual void BoundsChanged() {}
    // Makes the bounds follow the content when auto-size is on.
    virtual void AdjustSize() {}
    // The bounds part of ChangeScale: edges are scaled, so neighbours stay neighbours.
    virtual void ScaleBounds(int m, int d);
    // Sets bounds without touching the anchor rules (alignment and anchoring).
    void SetBoundsInternal(int left, int top, int width, int height);
    void RequestAlign();

    TWinControl* parent_ = nullptr;
    int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    bool visible_ = true;
    bool enabled_ = true;
    bool clicked_ = false;
    TAlign align_ = TAlign::alNone;
    TAnchors anchors_ = DefaultAnchors;
    std::string caption_;
    std::string hint_;
    TFont font_;
    bool parentFont_ = true;
    TColor color_ = clBtnFace;
    bool parentColor_ = false;
    bool autoSize_ = false;
    bool anchoring_ = false;
    // Anchor rules: for each axis the remembered offset (left edge, right distance, or centre)
    // and the parent's client size at that time.
    int anchorRuleX_ = 0, anchorRuleY_ = 0, origParentW_ = 0, origParentH_ = 0;
    bool anchorRulesValid_ = false;

    friend class TWinControl;
    friend class TForm;
};

class TGraphicControl : public TControl {
    UI_CLASS(TGraphicControl)
public:
    explicit TGraphicControl(TComponent* owner);
};

class TWinControl : public TControl {
    UI_CLASS(TWinControl)
public:
    explicit TWinControl(TComponent* owner);
    ~TWinControl() override;

    int ControlCount() const { return static_cast<int>(controls_.size()); }
    TControl* Controls(int index) const { return controls_.at(index); }
    int IndexOf(const TControl* c) const;
    // The topmost visible child at a client point, or none.
    TControl* ControlAtPos(TPoint p, bool allowDisabled = false, bool allowWindowed = true) const;

    bool IsWindowed() const override { return true; }
    int TabOrder() const { return tabOrder_; }
    void SetTabOrder(int v);
    bool TabStop = false;
    // Windowed children by tab order.
    const std::vector<TWinControl*>& TabList() const { return tabList_; }
    // Enter does not reach the default button while such a control has the focus.
    virtual bool WantsReturn() const { return false; }
    virtual bool CanFocus() const;
    virtual void SetFocus();
    bool Focused() const;

    void BringToFront() override;
    void SendToBack() override;
    void Invalidate() override;
    void ChangeScale(int m, int d) override;
    // Scales the control and its children by m / d, then lays them out once.
    void ScaleBy(int m, int d);
    // Lays out aligned children, then anchored ones.
    void Realign();
    void DisableAlign() { ++alignDisabled_; }
    void EnableAlign();

    // Native peer, created on first need together with the peers of windowed children.
    IControlPeer* Handle();
    bool HandleAllocated() const { return peer_ != nullptr; }
    // The peer that holds the children's peers (the client area of a form).
    virtual IControlPeer* ChildContainer();
    // Paints the control at once instead of waiting for the message loop.
    void Repaint();

    // Paint pipeline: the control itself, then its graphic children in z-order.
    void PaintWindow(TCanvas& canvas, const TRect& dirty);
    // Called by the peer when the native side resized the client area.
    void PeerResized(int clientWidth, int clientHeight);
    // Mouse input from the peer, at a client point, routed to the graphic child under it.
    void PeerMouse(unsigned msg, TPoint clientPos);

protected:
    virtual std::unique_ptr<IControlPeer> CreatePeer(IControlPeer* parentContainer);
    // Pushes the control's state to a freshly created peer.
    virtual void InitPeer() {}
    virtual void DestroyPeer();
    void VisibleChanged() override;
    void BoundsChanged() override;
    void FontChanged() override;
    void ColorChanged() override;
    void CaptionChanged() override;
    virtual void ClientResized(int oldWidth, int oldHeight);
    virtual void SyncPeerGeometry();
    void ApplyPeerFont();

    void CheckClientResize();
    // Tab order: the windowed children in the order Tab visits them.
    void ApplyTabChain();

    template <class P> P* PeerAs() const { return dynamic_cast<P*>(peer_.get()); }

    std::unique_ptr<IControlPeer> peer_;
    std::vector<TControl*> controls_;
    std::vector<TWinControl*> tabList_;
    int tabOrder_ = -1;
    int lastClientW_ = 0, lastClientH_ = 0;
    int alignDisabled_ = 0;
    bool aligning_ = false;
    bool alignPending_ = false;
    // While scaling, a resize of the client area does not re-anchor the children: they are
    // scaled themselves.
    bool scaling_ = false;

private:
    void InsertControl(TControl* c);
    void RemoveControl(TControl* c);
    void CreateChildPeers();
    void RestackChildPeers();
    friend class TControl;
};

// A windowed control that paints itself.
class TCustomControl : public TWinControl {
    UI_CLASS(TCustomControl)
public:
    explicit TCustomControl(TComponent* owner);
};

class TLabel : public TGraphicControl {
    UI_CLASS(TLabel)
public:
    explicit TLabel(TComponent* owner);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment a);
    TTextLayout Layout() const { return layout_; }
    void SetLayout(TTextLayout l);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool v);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool v);
    void Paint(TCanvas& canvas) override;
    TAccessibleRole AccessibleRole() const override { return TAccessibleRole::Label; }

protected:
    void AdjustSize() override;
    void FontChanged() override;
    void CaptionChanged() override;

private:
    TAlignment alignment_ = TAlignment::taLeftJustify;
    TTextLayout layout_ = TTextLayout::tlTop;
    bool wordWrap_ = false;
    bool transparent_ = false;
};

} // namespace ui
