#include "platform/Controls.h"

#include "platform/Forms.h"
#include "platform/System.h"

#include <algorithm>

namespace ui {

namespace {

// Captions mark the shortcut letter with '&'; "&&" is a literal ampersand.
std::string StripAccel(const std::string& s) {
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '&') {
            if (i + 1 < s.size() && s[i + 1] == '&') {
                out += '&';
                ++i;
            }
            continue;
        }
        out += s[i];
    }
    return out;
}

} // namespace

// ---------------------------------------------------------------- control

TControl::TControl(TComponent* owner) : TComponent(owner) {}

TControl::~TControl() {
    BeginDestroy();
    if (SystemInstalled()) System().ControlDestroyed(this);
    detail::ControlGone(this);
    if (parent_) parent_->RemoveControl(this);
    parent_ = nullptr;
}

void TControl::SetParent(TWinControl* parent) {
    if (parent == parent_) return;
    if (parent == this) throw Exception("A control cannot be its own parent");
    if (parent_) {
        if (visible_ && !IsWindowed()) parent_->Invalidate();
        parent_->RemoveControl(this);
    }
    parent_ = nullptr;
    if (parent) parent->InsertControl(this);
    ParentChanged();
    if (parent_) {
        UpdateAnchorRules();
        FontChanged();
        if (align_ != TAlign::alNone) RequestAlign();
        Invalidate();
    }
}

TForm* TControl::ParentForm() const {
    const TControl* c = this;
    while (c->parent_)
        c = c->parent_;
    return dynamic_cast<TForm*>(const_cast<TControl*>(c));
}

void TControl::SetBounds(int left, int top, int width, int height) {
    SetBoundsInternal(left, top, width, height);
    if (parent_ && !parent_->aligning_) UpdateAnchorRules();
    if (align_ != TAlign::alNone) RequestAlign();
}

void TControl::SetBoundsInternal(int left, int top, int width, int height) {
    if (width < 0) width = 0;
    if (height < 0) height = 0;
    if (left == left_ && top == top_ && width == width_ && height == height_) return;
    if (!IsWindowed() && parent_ && visible_) parent_->Invalidate();
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    BoundsChanged();
    Invalidate();
}

TPoint TControl::ClientOrigin() const {
    if (!parent_) return {left_, top_};
    TPoint p = parent_->ClientOrigin();
    return {p.X + left_, p.Y + top_};
}

TPoint TControl::ScreenToClient(TPoint p) const {
    TPoint o = ClientOrigin();
    return {p.X - o.X, p.Y - o.Y};
}

TPoint TControl::ClientToScreen(TPoint p) const {
    TPoint o = ClientOrigin();
    return {p.X + o.X, p.Y + o.Y};
}

void TControl::SetVisible(bool v) {
    if (v == visible_) return;
    if (!v && !IsWindowed() && parent_) parent_->Invalidate();
    visible_ = v;
    VisibleChanged();
}

void TControl::VisibleChanged() {
    Invalidate();
    if (align_ != TAlign::alNone) RequestAlign();
}

bool TControl::Showing() const {
    if (!visible_) return false;
    if (parent_) return parent_->Showing();
    return dynamic_cast<const TForm*>(this) != nullptr;
}

void TControl::SetEnabled(bool v) {
    if (v == enabled_) return;
    enabled_ = v;
    Invalidate();
}

void TControl::SetAlign(TAlign a) {
    if (a == align_) return;
    align_ = a;
    RequestAlign();
}

void TControl::SetAnchors(TAnchors a) {
    anchors_ = a;
    UpdateAnchorRules();
}

void TControl::RequestAlign() {
    if (parent_) parent_->Realign();
}

void TControl::SetCaption(const std::string& text) {
    if (text == caption_) return;
    caption_ = text;
    CaptionChanged();
}

const TFont& TControl::Font() const {
    if (parentFont_ && parent_) return parent_->Font();
    return font_;
}

void TControl::SetFont(const TFont& f) {
    font_ = f;
    parentFont_ = false;
    FontChanged();
}

TFont& TControl::FontForChange() {
    if (parentFont_) {
        font_ = Font();
        parentFont_ = false;
    }
    return font_;
}

void TControl::SetParentFont(bool v) {
    if (v == parentFont_) return;
    if (!v) font_ = Font();
    parentFont_ = v;
    FontChanged();
}

void TControl::FontChanged() {
    AdjustSize();
    Invalidate();
}

TColor TControl::Color() const {
    if (parentColor_ && parent_) return parent_->Color();
    return color_;
}

void TControl::SetColor(TColor c) {
    color_ = c;
    parentColor_ = false;
    ColorChanged();
}

void TControl::SetParentColor(bool v) {
    if (v == parentColor_) return;
    if (!v) color_ = Color();
    parentColor_ = v;
    ColorChanged();
}

void TControl::SetAutoSize(bool v) {
    if (v == autoSize_) return;
    autoSize_ = v;
    if (v) AdjustSize();
}

LRESULT TControl::Perform(unsigned msg, WPARAM wParam, LPARAM lParam) {
    TMessage m{msg, wParam, lParam, 0};
    WndProc(m);
    return m.Result;
}

void TControl::WndProc(TMessage& m) {
    switch (m.Msg) {
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
        // Controls tell their parent by default, naming themselves.
        if (parent_) parent_->Perform(m.Msg, 0, reinterpret_cast<LPARAM>(this));
        break;
    case WM_LBUTTONDOWN:
        if (ControlStyle & csClickEvents) clicked_ = true;
        if (OnMouseDown)
            OnMouseDown(this, TMouseButton::mbLeft, MouseX(m.LParam), MouseY(m.LParam));
        break;
    case WM_LBUTTONDBLCLK:
        if (ControlStyle & csDoubleClicks) DblClick();
        if (OnMouseDown)
            OnMouseDown(this, TMouseButton::mbLeft, MouseX(m.LParam), MouseY(m.LParam));
        break;
    case WM_LBUTTONUP: {
        if (clicked_) {
            clicked_ = false;
            if (ClientRect().Contains({MouseX(m.LParam), MouseY(m.LParam)})) Click();
        }
        if (OnMouseUp) OnMouseUp(this, TMouseButton::mbLeft, MouseX(m.LParam), MouseY(m.LParam));
        break;
    }
    case WM_MOUSEMOVE:
        if (OnMouseMove) OnMouseMove(this, MouseX(m.LParam), MouseY(m.LParam));
        break;
    default:
        break;
    }
}

void TControl::Invalidate() {
    if (IsDestroying()) return;
    if (parent_ && visible_) parent_->Invalidate();
}

void TControl::BringToFront() {
    if (!parent_) return;
    auto& list = parent_->controls_;
    std::erase(list, this);
    list.push_back(this);
    Invalidate();
}

void TControl::SendToBack() {
    if (!parent_) return;
    auto& list = parent_->controls_;
    std::erase(list, this);
    list.insert(list.begin(), this);
    Invalidate();
}

TAccessibleRole TControl::AccessibleRole() const {
    return IsWindowed() ? TAccessibleRole::Pane : TAccessibleRole::Graphic;
}

std::string TControl::AccessibleName() const {
    return StripAccel(caption_);
}

void TControl::AccessibleChanged(bool valueChanged) {
    if (SystemInstalled() && !IsDestroying()) System().AccessibleChanged(this, valueChanged);
}

void TControl::Click() {
    if (OnClick) OnClick(this);
}

void TControl::DblClick() {
    if (OnDblClick) OnDblClick(this);
}

void TControl::UpdateAnchorRules() {
    if (!parent_ || anchoring_) return;
    int pw = parent_->ClientWidth(), ph = parent_->ClientHeight();
    bool l = anchors_ & akLeft, r = anchors_ & akRight;
    bool t = anchors_ & akTop, b = anchors_ & akBottom;
    anchorRuleX_ = (l && r) ? width_ : (l || r) ? left_ : left_ + width_ / 2;
    anchorRuleY_ = (t && b) ? height_ : (t || b) ? top_ : top_ + height_ / 2;
    origParentW_ = pw;
    origParentH_ = ph;
    anchorRulesValid_ = true;
}

void TControl::AnchorTo(int pw, int ph) {
    if (!anchorRulesValid_ || align_ != TAlign::alNone) return;
    int left = left_, top = top_, width = width_, height = height_;
    int dx = pw - origParentW_, dy = ph - origParentH_;
    bool l = anchors_ & akLeft, r = anchors_ & akRight;
    bool t = anchors_ & akTop, b = anchors_ & akBottom;
    if (l && r)
        width = anchorRuleX_ + dx;
    else if (r)
        left = anchorRuleX_ + dx;
    else if (!l && origParentW_ > 0)
        left = MulDiv(anchorRuleX_, pw, origParentW_) - width / 2;
    if (t && b)
        height = anchorRuleY_ + dy;
    else if (b)
        top = anchorRuleY_ + dy;
    else if (!t && origParentH_ > 0)
        top = MulDiv(anchorRuleY_, ph, origParentH_) - height / 2;
    anchoring_ = true;
    SetBoundsInternal(left, top, width, height);
    anchoring_ = false;
}

void TControl::ChangeScale(int m, int d) {
    if (m == d || d == 0) return;
    const bool ownFont = !parentFont_ || !parent_;
    if (ownFont) font_.Height = MulDiv(font_.Height, m, d);
    ScaleBounds(m, d);
    // After the bounds: an auto-sized control measures itself in the new font.
    if (ownFont) FontChanged();
}

void TControl::ScaleBounds(int m, int d) {
    int l = MulDiv(left_, m, d), t = MulDiv(top_, m, d);
    SetBoundsInternal(l, t, MulDiv(left_ + width_, m, d) - l, MulDiv(top_ + height_, m, d) - t);
}

TGraphicControl::TGraphicControl(TComponent* owner) : TControl(owner) {}

// ---------------------------------------------------------------- windowed control

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {
    ControlStyle |= csAcceptsControls;
}

TWinControl::~TWinControl() {
    BeginDestroy();
    // Child controls go with their parent, whoever owns them.
    while (!controls_.empty())
        delete controls_.back();
    DestroyPeer();
}

void TWinControl::DestroyPeer() {
    if (!peer_) return;
    std::unique_ptr<IControlPeer> p = std::move(peer_);
    p->Detach();
    // Peers of windowed children live inside this one; they go first.
    for (TControl* c : controls_)
        if (auto* wc = dynamic_cast<TWinControl*>(c)) wc->DestroyPeer();
}

int TWinControl::IndexOf(const TControl* c) const {
    auto it = std::find(controls_.begin(), controls_.end(), c);
    return it == controls_.end() ? -1 : static_cast<int>(it - controls_.begin());
}

TControl* TWinControl::ControlAtPos(TPoint p, bool allowDisabled, bool allowWindowed) const {
    // Graphic children are drawn on this control's surface, beneath every windowed child: the
    // windowed ones are hit first, whatever their places in the list.
    auto topmost = [&](bool windowed) -> TControl* {
        for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
            TControl* c = *it;
            if (c->IsWindowed() != windowed) continue;
            if (!c->Visible() || (!allowDisabled && !c->Enabled())) continue;
            if (c->BoundsRect().Contains(p)) return c;
        }
        return nullptr;
    };
    if (allowWindowed)
        if (TControl* c = topmost(true)) return c;
    return topmost(false);
}

void TWinControl::SetTabOrder(int v) {
    if (!parent_) {
        tabOrder_ = v;
        return;
    }
    auto& list = parent_->tabList_;
    std::erase(list, this);
    int pos = std::clamp(v, 0, static_cast<int>(list.size()));
    list.insert(list.begin() + pos, this);
    for (size_t i = 0; i < list.size(); ++i)
        list[i]->tabOrder_ = static_cast<int>(i);
    parent_->ApplyTabChain();
}

void TWinControl::ApplyTabChain() {
    IControlPeer* prev = nullptr;
    for (TWinControl* c : tabList_) {
        if (!c->peer_) continue;
        if (prev) prev->SetTabNext(c->peer_.get());
        prev = c->peer_.get();
    }
}

bool TWinControl::CanFocus() const {
    return Showing() && Enabled();
}

void TWinControl::SetFocus() {
    if (TForm* f = ParentForm()) f->SetActiveControl(this);
    if (peer_ && peer_->IsVisible()) peer_->SetFocus();
}

bool TWinControl::Focused() const {
    return peer_ && peer_->HasFocus();
}

void TWinControl::BringToFront() {
    TControl::BringToFront();
    if (peer_) peer_->Raise();
}

void TWinControl::SendToBack() {
    TControl::SendToBack();
    if (peer_) peer_->Lower();
}

void TWinControl::Invalidate() {
    if (IsDestroying() || !peer_) return;
    peer_->Invalidate();
}

void TWinControl::Repaint() {
    if (IsDestroying() || !peer_) return;
    peer_->Repaint();
}

void TWinControl::EnableAlign() {
    if (alignDisabled_ > 0 && --alignDisabled_ == 0 && alignPending_) Realign();
}

void TWinControl::Realign() {
    if (aligning_) return;
    if (alignDisabled_ > 0) {
        alignPending_ = true;
        return;
    }
    alignPending_ = false;
    aligning_ = true;
    TRect r = ClientRect();
    auto place = [&](TAlign kind) {
        std::vector<TControl*> list;
        for (TControl* c : controls_)
            if (c->Visible() && c->Align() == kind) list.push_back(c);
        // Controls of one kind keep their relative order by position, then by z-order.
        std::stable_sort(list.begin(), list.end(), [kind](TControl* a, TControl* b) {
            switch (kind) {
            case TAlign::alTop:
                return a->Top() < b->Top();
            case TAlign::alBottom:
                return a->Top() + a->Height() > b->Top() + b->Height();
            case TAlign::alLeft:
                return a->Left() < b->Left();
            case TAlign::alRight:
                return a->Left() + a->Width() > b->Left() + b->Width();
            default:
                return false;
            }
        });
        for (TControl* c : list) {
            switch (kind) {
            case TAlign::alTop:
                c->SetBoundsInternal(r.Left, r.Top, r.Width(), c->Height());
                r.Top += c->Height();
                break;
            case TAlign::alBottom:
                c->SetBoundsInternal(r.Left, r.Bottom - c->Height(), r.Width(), c->Height());
                r.Bottom -= c->Height();
                break;
            case TAlign::alLeft:
                c->SetBoundsInternal(r.Left, r.Top, c->Width(), r.Height());
                r.Left += c->Width();
                break;
            case TAlign::alRight:
                c->SetBoundsInternal(r.Right - c->Width(), r.Top, c->Width(), r.Height());
                r.Right -= c->Width();
                break;
            case TAlign::alClient:
                c->SetBoundsInternal(r.Left, r.Top, r.Width(), r.Height());
                break;
            default:
                break;
            }
        }
    };
    place(TAlign::alTop);
    place(TAlign::alBottom);
    place(TAlign::alLeft);
    place(TAlign::alRight);
    place(TAlign::alClient);
    aligning_ = false;
}

void TWinControl::ChangeScale(int m, int d) {
    if (m == d || d == 0) return;
    DisableAlign();
    const bool wasScaling = scaling_;
    scaling_ = true;
    // Children first: the own font change that follows lets auto-sized children that share
    // the font measure themselves once, in the scaled font.
    for (TControl* c : std::vector<TControl*>(controls_))
        c->ChangeScale(m, d);
    TControl::ChangeScale(m, d);
    for (TControl* c : controls_)
        c->UpdateAnchorRules();
    scaling_ = wasScaling;
    EnableAlign();
}

void TWinControl::ScaleBy(int m, int d) {
    ChangeScale(m, d);
    Realign();
}

void TWinControl::ClientResized(int, int) {
    if (scaling_) return;
    int w = ClientWidth(), h = ClientHeight();
    for (TControl* c : std::vector<TControl*>(controls_))
        c->AnchorTo(w, h);
    Realign();
}

void TWinControl::BoundsChanged() {
    SyncPeerGeometry();
    CheckClientResize();
}

void TWinControl::CheckClientResize() {
    int w = ClientWidth(), h = ClientHeight();
    if (w == lastClientW_ && h == lastClientH_) return;
    int oldW = lastClientW_, oldH = lastClientH_;
    lastClientW_ = w;
    lastClientH_ = h;
    ClientResized(oldW, oldH);
}

void TWinControl::SyncPeerGeometry() {
    if (peer_) peer_->SetGeometry(left_, top_, width_, height_);
}

void TWinControl::PeerResized(int clientWidth, int clientHeight) {
    if (clientWidth == ClientWidth() && clientHeight == ClientHeight()) return;
    width_ += clientWidth - ClientWidth();
    height_ += clientHeight - ClientHeight();
    CheckClientResize();
}

IControlPeer* TWinControl::Handle() {
    if (!peer_) {
        IControlPeer* container = nullptr;
        if (parent_) container = parent_->Handle() ? parent_->ChildContainer() : nullptr;
        peer_ = CreatePeer(container);
        SyncPeerGeometry();
        ApplyPeerFont();
        if (!enabled_) peer_->SetEnabled(false);
        InitPeer();
        CreateChildPeers();
        ApplyTabChain();
        if (parent_) peer_->SetVisible(visible_);
    }
    return peer_.get();
}

IControlPeer* TWinControl::ChildContainer() {
    return Handle()->ChildContainer();
}

std::unique_ptr<IControlPeer> TWinControl::CreatePeer(IControlPeer* parentContainer) {
    return System().CreatePeer(this, TPeerKind::Plain, parentContainer);
}

void TWinControl::CreateChildPeers() {
    // Hidden children get their peers when they are first shown: a page full of hidden panels
    // costs nothing at start-up.
    for (TControl* c : controls_)
        if (auto* wc = dynamic_cast<TWinControl*>(c); wc && wc->visible_) wc->Handle();
    RestackChildPeers();
}

void TWinControl::RestackChildPeers() {
    // The native stacking follows the child list.
    for (TControl* c : controls_)
        if (auto* wc = dynamic_cast<TWinControl*>(c); wc && wc->peer_) wc->peer_->Raise();
}

void TWinControl::VisibleChanged() {
    TControl::VisibleChanged();
    if (peer_ && parent_) {
        peer_->SetVisible(visible_);
    } else if (!peer_ && visible_ && parent_ && parent_->peer_) {
        Handle();
        parent_->RestackChildPeers();
        parent_->ApplyTabChain();
    }
}

void TWinControl::ApplyPeerFont() {
    if (peer_) peer_->SetFont(Font());
}

void TWinControl::FontChanged() {
    ApplyPeerFont();
    TControl::FontChanged();
    for (TControl* c : controls_)
        if (c->ParentFont()) c->FontChanged();
}

void TWinControl::ColorChanged() {
    TControl::ColorChanged();
    Invalidate();
    for (TControl* c : controls_)
        if (c->ParentColor()) c->ColorChanged();
}

void TWinControl::CaptionChanged() {
    Invalidate();
}

void TWinControl::InsertControl(TControl* c) {
    controls_.push_back(c);
    c->parent_ = this;
    if (auto* wc = dynamic_cast<TWinControl*>(c)) {
        int wanted = wc->tabOrder_;
        tabList_.push_back(wc);
        wc->tabOrder_ = static_cast<int>(tabList_.size()) - 1;
        if (wanted >= 0 && wanted < wc->tabOrder_) wc->SetTabOrder(wanted);
        if (peer_) {
            if (wc->peer_) {
                wc->peer_->SetParentPeer(ChildContainer());
                wc->SyncPeerGeometry();
                wc->peer_->SetVisible(wc->visible_);
                wc->peer_->Raise();
            } else if (wc->visible_) {
                wc->Handle();
            }
        } else if (wc->peer_) {
            wc->DestroyPeer();
        }
    }
}

void TWinControl::RemoveControl(TControl* c) {
    std::erase(controls_, c);
    // By pointer, not by class: a windowed child that is being destroyed no longer answers a
    // class test, yet must leave the tab order.
    if (std::erase_if(tabList_, [c](TWinControl* w) { return static_cast<TControl*>(w) == c; }))
        for (size_t i = 0; i < tabList_.size(); ++i)
            tabList_[i]->tabOrder_ = static_cast<int>(i);
    c->parent_ = nullptr;
    if (auto* wc = dynamic_cast<TWinControl*>(c); wc && wc->peer_ && !wc->IsDestroying()) {
        wc->peer_->SetVisible(false);
        wc->peer_->SetParentPeer(nullptr);
        wc->DestroyPeer();
    }
    if (!IsDestroying()) {
        Invalidate();
        if (c->Align() != TAlign::alNone) Realign();
    }
}

void TWinControl::PaintWindow(TCanvas& canvas, const TRect& dirty) {
    TRect client = ClientRect();
    canvas.SetOriginAndClip({0, 0}, client);
    if (!(ControlStyle & csOpaque)) {
        canvas.Brush.Color = Color();
        canvas.Brush.Style = TBrushStyle::bsSolid;
        canvas.FillRect(client);
    }
    canvas.Font = Font();
    canvas.Brush = TBrush{Color(), TBrushStyle::bsSolid};
    canvas.Pen = TPen{};
    Paint(canvas);
    for (TControl* c : std::vector<TControl*>(controls_)) {
        if (c->IsWindowed() || !c->Visible()) continue;
        TRect b = c->BoundsRect();
        TRect clip{std::max(b.Left, dirty.Left), std::max(b.Top, dirty.Top),
                   std::min(b.Right, dirty.Right), std::min(b.Bottom, dirty.Bottom)};
        if (clip.Width() <= 0 || clip.Height() <= 0) continue;
        canvas.SetOriginAndClip({b.Left, b.Top}, clip);
        canvas.Font = c->Font();
        canvas.Brush = TBrush{c->Color(), TBrushStyle::bsSolid};
        canvas.Pen = TPen{};
        c->Paint(canvas);
    }
}

void TWinControl::PeerMouse(unsigned msg, TPoint p) {
    TControl* target = detail::MouseCapture();
    if (!target || (msg != WM_MOUSEMOVE && msg != WM_LBUTTONUP)) {
        TControl* hit = ControlAtPos(p, false, false);
        target = hit ? hit : this;
    }
    if (msg == WM_LBUTTONDBLCLK && !(target->ControlStyle & csDoubleClicks)) msg = WM_LBUTTONDOWN;
    if ((msg == WM_LBUTTONDOWN || msg == WM_LBUTTONDBLCLK) &&
        (target->ControlStyle & csCaptureMouse))
        detail::SetMouseCapture(target);
    // Coordinates relative to the target control.
    TPoint local = p;
    for (TControl* c = target; c && c != this; c = c->Parent()) {
        local.X -= c->Left();
        local.Y -= c->Top();
    }
    if (msg == WM_LBUTTONUP) detail::SetMouseCapture(nullptr);
    target->Perform(msg, 0, MakeMousePos(local.X, local.Y));
}

TCustomControl::TCustomControl(TComponent* owner) : TWinControl(owner) {}

// ---------------------------------------------------------------- label

TLabel::TLabel(TComponent* owner) : TGraphicControl(owner) {
    autoSize_ = true;
    parentColor_ = true;
    ControlStyle |= csOpaque;
    SetBoundsInternal(0, 0, 65, 17);
}

void TLabel::SetAlignment(TAlignment a) {
    if (a == alignment_) return;
    alignment_ = a;
    Invalidate();
}

void TLabel::SetLayout(TTextLayout l) {
    if (l == layout_) return;
    layout_ = l;
    Invalidate();
}

void TLabel::SetWordWrap(bool v) {
    if (v == wordWrap_) return;
    wordWrap_ = v;
    AdjustSize();
    Invalidate();
}

void TLabel::SetTransparent(bool v) {
    if (v == transparent_) return;
    transparent_ = v;
    Invalidate();
}

void TLabel::FontChanged() {
    AdjustSize();
    Invalidate();
}

void TLabel::CaptionChanged() {
    AdjustSize();
    Invalidate();
}

void TLabel::AdjustSize() {
    if (!autoSize_ || IsLoading()) return;
    const ISystem& sys = System();
    std::string text = StripAccel(caption_);
    int w, h;
    if (wordWrap_) {
        w = width_;
        h = std::max(sys.WrappedTextHeight(Font(), text, std::max(1, width_)),
                     sys.TextHeight(Font()));
    } else {
        w = sys.TextWidth(Font(), text);
        h = sys.TextHeight(Font());
    }
    int left = left_;
    if (align_ == TAlign::alNone) {
        if (alignment_ == TAlignment::taRightJustify) left = left_ + width_ - w;
        if (alignment_ == TAlignment::taCenter) left = left_ + (width_ - w) / 2;
    }
    SetBounds(left, top_, w, h);
}

void TLabel::Paint(TCanvas& canvas) {
    TRect r = ClientRect();
    if (!transparent_) {
        canvas.Brush.Color = Color();
        canvas.Brush.Style = TBrushStyle::bsSolid;
        canvas.FillRect(r);
    }
    canvas.Font = Font();
    if (!Enabled()) canvas.Font.Color = clGray;
    canvas.TextRect(r, StripAccel(caption_), alignment_, layout_, wordWrap_);
}

} // namespace ui
