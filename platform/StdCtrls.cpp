#include "platform/StdCtrls.h"

#include "platform/System.h"
#include "platform/text/Rtf.h"

#include <algorithm>
#include <unordered_map>

namespace ui {

// ---------------------------------------------------------------- panel

TCustomPanel::TCustomPanel(TComponent* owner) : TCustomControl(owner) {
    ControlStyle |= csAcceptsControls | csOpaque; // Paint fills the whole face
    SetBoundsInternal(0, 0, 185, 41);
}

void TCustomPanel::SetBevelOuter(TBevelCut b) {
    if (b == bevelOuter_) return;
    bevelOuter_ = b;
    Invalidate();
}

void TCustomPanel::SetBevelInner(TBevelCut b) {
    if (b == bevelInner_) return;
    bevelInner_ = b;
    Invalidate();
}

void TCustomPanel::SetBevelWidth(int w) {
    if (w == bevelWidth_) return;
    bevelWidth_ = w;
    Invalidate();
}

void TCustomPanel::Paint(TCanvas& canvas) {
    TRect r = ClientRect();
    // Opaque: nothing erased the background, so a spacing bevel shows the face colour too.
    canvas.Brush.Color = Color();
    canvas.FillRect(r);
    auto bevel = [&](TBevelCut cut) {
        if (cut == TBevelCut::bvNone) return;
        if (cut != TBevelCut::bvSpace) {
            TColor tl = cut == TBevelCut::bvRaised ? clBtnHighlight : clBtnShadow;
            TColor br = cut == TBevelCut::bvRaised ? clBtnShadow : clBtnHighlight;
            for (int i = 0; i < bevelWidth_; ++i) {
                canvas.Brush.Color = tl;
                canvas.FillRect({r.Left, r.Top, r.Right, r.Top + 1});
                canvas.FillRect({r.Left, r.Top, r.Left + 1, r.Bottom});
                canvas.Brush.Color = br;
                canvas.FillRect({r.Left, r.Bottom - 1, r.Right, r.Bottom});
                canvas.FillRect({r.Right - 1, r.Top, r.Right, r.Bottom});
                r = {r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1};
            }
        } else {
            r = {r.Left + bevelWidth_, r.Top + bevelWidth_, r.Right - bevelWidth_,
                 r.Bottom - bevelWidth_};
        }
    };
    bevel(bevelOuter_);
    bevel(bevelInner_);
    canvas.Brush.Color = Color();
    canvas.FillRect(r);
    if (ShowCaption && !caption_.empty())
        canvas.TextRect(r, caption_, TAlignment::taCenter, TTextLayout::tlCenter, false);
}

// ---------------------------------------------------------------- button

TButton::TButton(TComponent* owner) : TWinControl(owner) {
    TabStop = true;
    SetBoundsInternal(0, 0, 75, 25);
}

std::unique_ptr<IControlPeer> TButton::CreatePeer(IControlPeer* parentContainer) {
    return System().CreatePeer(this, TPeerKind::Button, parentContainer);
}

void TButton::InitPeer() {
    CaptionChanged();
}

void TButton::CaptionChanged() {
    if (auto* p = PeerAs<IButtonPeer>()) p->SetText(caption_);
}

// ---------------------------------------------------------------- radio button

TRadioButton::TRadioButton(TComponent* owner) : TWinControl(owner) {
    SetBoundsInternal(0, 0, 113, 17);
}

std::unique_ptr<IControlPeer> TRadioButton::CreatePeer(IControlPeer* parentContainer) {
    // Exclusiveness is ours: checking from code follows the same rule as a user's click.
    return System().CreatePeer(this, TPeerKind::Radio, parentContainer);
}

void TRadioButton::InitPeer() {
    CaptionChanged();
    SyncPeer();
}

void TRadioButton::CaptionChanged() {
    if (auto* p = PeerAs<IRadioPeer>()) p->SetText(caption_);
}

void TRadioButton::UserClicked() {
    SetChecked(true);
    SyncPeer();
}

void TRadioButton::SyncPeer() {
    if (auto* p = PeerAs<IRadioPeer>()) p->SetChecked(checked_);
}

void TRadioButton::SetChecked(bool v) {
    if (v == checked_) return;
    checked_ = v;
    TabStop = v;
    SyncPeer();
    if (!v) return;
    if (parent_) {
        for (int i = 0, n = parent_->ControlCount(); i < n; ++i) {
            auto* sib = dynamic_cast<TRadioButton*>(parent_->Controls(i));
            if (sib && sib != this && sib->checked_) {
                sib->checked_ = false;
                sib->TabStop = false;
                sib->SyncPeer();
            }
        }
    }
    Click();
}

// ---------------------------------------------------------------- combo box

TComboBox::TComboBox(TComponent* owner) : TWinControl(owner) {
    TabStop = true;
    color_ = clWindow;
    SetBoundsInternal(0, 0, 145, 21);
    Items.OnChange = [this] {
        if (itemIndex_ >= Items.Count()) itemIndex_ = -1;
        SyncPeer();
    };
}

std::unique_ptr<IControlPeer> TComboBox::CreatePeer(IControlPeer* parentContainer) {
    return System().CreatePeer(this, TPeerKind::Combo, parentContainer);
}

void TComboBox::InitPeer() {
    SyncPeer();
}

void TComboBox::SyncPeer() {
    if (auto* p = PeerAs<IComboPeer>())
        p->SetItems(Items.Items(), itemIndex_, Style != TComboBoxStyle::csDropDownList);
}

void TComboBox::SetItemIndex(int i) {
    if (i < -1 || i >= Items.Count()) i = -1;
    if (i == itemIndex_) return;
    itemIndex_ = i;
    SyncPeer();
}

void TComboBox::SetDroppedDown(bool open) {
    if (open) Handle();
    if (auto* p = PeerAs<IComboPeer>()) p->SetDroppedDown(open);
}

void TComboBox::ChangeScale(int m, int d) {
    if (m != d && d != 0) ItemHeight = MulDiv(ItemHeight, m, d);
    TWinControl::ChangeScale(m, d);
}

TRect TComboBox::DropDownRect() const {
    auto* p = PeerAs<IComboPeer>();
    return p ? p->DropDownRect() : TRect{};
}

std::string TComboBox::Text() const {
    return itemIndex_ >= 0 ? Items[itemIndex_] : std::string();
}

void TComboBox::UserPicked(int index) {
    if (index < 0 || index >= Items.Count()) return;
    itemIndex_ = index;
    SyncPeer();
    if (OnChange) OnChange(this);
}

// ---------------------------------------------------------------- memo and rich text

TCustomMemo::TCustomMemo(TComponent* owner) : TWinControl(owner) {
    TabStop = true;
    color_ = clWindow;
    SetBoundsInternal(0, 0, 185, 89);
}

void TCustomMemo::SetReadOnly(bool v) {
    readOnly_ = v;
    ApplyCommon();
}

void TCustomMemo::SetScrollBars(TScrollStyle s) {
    scrollBars_ = s;
    ApplyCommon();
}

void TCustomMemo::ColorChanged() {
    TWinControl::ColorChanged();
    ApplyCommon();
}

std::string TCustomMemo::AccessibleName() const {
    TForm* f = ParentForm();
    return f ? f->Caption() : std::string();
}

TMemoLook TCustomMemo::Look() const {
    TMemoLook look;
    look.readOnly = readOnly_;
    look.vertical = scrollBars_ == TScrollStyle::ssVertical || scrollBars_ == TScrollStyle::ssBoth;
    look.horizontal =
        scrollBars_ == TScrollStyle::ssHorizontal || scrollBars_ == TScrollStyle::ssBoth;
    look.wordWrap = WordWrapLines;
    look.color = Color();
    return look;
}

TMemo::TMemo(TComponent* owner) : TCustomMemo(owner) {
    Lines.OnChange = [this] { SyncText(); };
}

std::unique_ptr<IControlPeer> TMemo::CreatePeer(IControlPeer* parentContainer) {
    return System().CreatePeer(this, TPeerKind::Memo, parentContainer);
}

void TMemo::InitPeer() {
    ApplyCommon();
    SyncText();
}

void TMemo::ApplyCommon() {
    if (auto* p = PeerAs<IMemoPeer>()) p->SetLook(Look());
}

void TMemo::SyncText() {
    if (auto* p = PeerAs<IMemoPeer>()) p->SetLines(Lines.Items());
}

TRichEdit::TRichEdit(TComponent* owner) : TCustomMemo(owner) {}

std::unique_ptr<IControlPeer> TRichEdit::CreatePeer(IControlPeer* parentContainer) {
    return System().CreatePeer(this, TPeerKind::Rich, parentContainer);
}

void TRichEdit::ApplyCommon() {
    if (auto* p = PeerAs<IRichPeer>()) p->SetLook(Look());
}

void TRichEdit::InitPeer() {
    ApplyCommon();
    SyncDocument();
}

void TRichEdit::LoadRtf(const std::string& rtf) {
    rtf_ = rtf;
    SyncDocument();
}

std::string TRichEdit::PlainText() const {
    return rtf::Parse(rtf_).plainText();
}

void TRichEdit::SyncDocument() {
    if (auto* p = PeerAs<IRichPeer>()) p->SetDocument(rtf::Parse(rtf_), Font(), pixelsPerInch_);
}

void TRichEdit::ChangeScale(int m, int d) {
    if (m == d || d == 0) return;
    pixelsPerInch_ = MulDiv(pixelsPerInch_, m, d);
    TCustomMemo::ChangeScale(m, d);
    SyncDocument();
}

// ---------------------------------------------------------------- status bar

TStatusBar::TStatusBar(TComponent* owner) : TCustomControl(owner) {
    align_ = TAlign::alBottom;
    SetBoundsInternal(0, 0, 185, 19);
}

std::string TStatusBar::AccessibleName() const {
    std::string text = SimplePanel ? SimpleText : std::string();
    if (!SimplePanel)
        for (const auto& p : Panels)
            if (!p.Text.empty()) text += (text.empty() ? "" : " ") + p.Text;
    return text.empty() ? "Status" : text;
}

void TStatusBar::ChangeScale(int m, int d) {
    if (m != d && d != 0)
        for (TStatusPanel& p : Panels)
            p.Width = MulDiv(p.Width, m, d);
    TCustomControl::ChangeScale(m, d);
}

void TStatusBar::Paint(TCanvas& canvas) {
    TRect r = ClientRect();
    canvas.Brush.Color = clBtnFace;
    canvas.FillRect(r);
    auto text = [&](const TRect& box, const std::string& s) {
        canvas.TextRect({box.Left + 2, box.Top, box.Right - 2, box.Bottom}, s,
                        TAlignment::taLeftJustify, TTextLayout::tlCenter, false);
    };
    if (SimplePanel) {
        text(r, SimpleText);
        return;
    }
    int x = 0;
    for (size_t i = 0; i < Panels.size(); ++i) {
        const auto& p = Panels[i];
        int right = i + 1 == Panels.size() ? r.Right : std::min(r.Right, x + p.Width);
        TRect box{x, r.Top + 2, right, r.Bottom};
        if (p.Bevel != TBevelCut::bvNone) {
            canvas.Brush.Color = p.Bevel == TBevelCut::bvLowered ? clBtnShadow : clBtnHighlight;
            canvas.FillRect({box.Left, box.Top, box.Right - 2, box.Top + 1});
            canvas.FillRect({box.Left, box.Top, box.Left + 1, box.Bottom});
        }
        text(box, p.Text);
        x = right;
    }
}

// ---------------------------------------------------------------- menus

namespace {
// Native menu actions name their entry by a serial number, never reused, so that an action that
// outlives its entry (until the deferred rebuild) finds nothing instead of freed memory.
std::unordered_map<uint64_t, TMenuItem*>& LiveItems() {
    static std::unordered_map<uint64_t, TMenuItem*> items;
    return items;
}
uint64_t nextItemSerial = 1;
} // namespace

TMenuItem* TMenuItem::FindBySerial(uint64_t serial) {
    auto it = LiveItems().find(serial);
    return it == LiveItems().end() ? nullptr : it->second;
}

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner), serial_(nextItemSerial++) {
    LiveItems()[serial_] = this;
}

TMenuItem::~TMenuItem() {
    BeginDestroy();
    LiveItems().erase(serial_);
    while (!items_.empty())
        delete items_.back();
    if (parent_) parent_->Remove(this);
}

TMainMenu* TMenuItem::Menu() const {
    const TMenuItem* i = this;
    while (i->parent_)
        i = i->parent_;
    return i->menu_;
}

void TMenuItem::Changed() {
    if (TMainMenu* m = Menu()) m->Changed();
}

void TMenuItem::Updated() {
    if (TMainMenu* m = Menu()) m->ItemChanged(this);
}

void TMenuItem::SetCaption(const std::string& c) {
    if (c == caption_) return;
    caption_ = c;
    Updated();
}

void TMenuItem::SetChecked(bool v) {
    if (v == checked_) return;
    checked_ = v;
    Updated();
}

void TMenuItem::SetEnabled(bool v) {
    if (v == enabled_) return;
    enabled_ = v;
    Updated();
}

void TMenuItem::SetVisible(bool v) {
    if (v == visible_) return;
    visible_ = v;
    Changed();
}

void TMenuItem::Click() {
    if (enabled_ && OnClick) OnClick(this);
}

int TMenuItem::IndexOf(const TMenuItem* item) const {
    auto it = std::find(items_.begin(), items_.end(), item);
    return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

void TMenuItem::Insert(int index, TMenuItem* item) {
    if (!item) return;
    if (item->parent_) throw Exception("Menu item is already inserted");
    index = std::clamp(index, 0, Count());
    items_.insert(items_.begin() + index, item);
    item->parent_ = this;
    Changed();
}

void TMenuItem::Remove(TMenuItem* item) {
    auto it = std::find(items_.begin(), items_.end(), item);
    if (it == items_.end()) return;
    items_.erase(it);
    item->parent_ = nullptr;
    if (!IsDestroying()) Changed();
}

TMainMenu::TMainMenu(TComponent* owner)
    : TComponent(owner), items_(std::make_unique<TMenuItem>(nullptr)) {
    items_->menu_ = this;
}

TMainMenu::~TMainMenu() {
    BeginDestroy();
    items_.reset();
}

void TMainMenu::Changed() {
    if (IsDestroying() || !Application) return;
    for (TForm* f : Application->Forms())
        if (f->Menu() == this && !f->IsDestroying()) f->MenuChanged();
}

void TMainMenu::ItemChanged(TMenuItem* item) {
    if (IsDestroying() || !Application) return;
    for (TForm* f : Application->Forms())
        if (f->Menu() == this && !f->IsDestroying()) f->MenuItemChanged(item);
}

} // namespace ui
