#include "platform/StdCtrls.h"

#include "platform/qt/Peers.h"
#include "platform/qt/QtSupport.h"
#include "platform/text/Rtf.h"

#include <QComboBox>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>
#include <algorithm>
#include <cmath>
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

QWidget* TButton::CreatePeer(QWidget* parentWidget) {
    auto* b = new QPushButton(parentWidget);
    b->setAutoDefault(false);
    QObject::connect(b, &QPushButton::clicked, b,
                     [this] { qt::Guarded(this, [this] { Click(); }); });
    return b;
}

void TButton::InitPeer() {
    static_cast<QPushButton*>(peer_)->setText(qt::ToQ(caption_));
}

void TButton::CaptionChanged() {
    if (peer_) static_cast<QPushButton*>(peer_)->setText(qt::ToQ(caption_));
}

// ---------------------------------------------------------------- radio button

TRadioButton::TRadioButton(TComponent* owner) : TWinControl(owner) {
    SetBoundsInternal(0, 0, 113, 17);
}

QWidget* TRadioButton::CreatePeer(QWidget* parentWidget) {
    auto* b = new QRadioButton(parentWidget);
    // Exclusiveness is ours: checking from code follows the same rule as a user's click.
    b->setAutoExclusive(false);
    QObject::connect(b, &QRadioButton::clicked, b, [this] {
        qt::Guarded(this, [this] {
            SetChecked(true);
            SyncPeer();
        });
    });
    return b;
}

void TRadioButton::InitPeer() {
    static_cast<QRadioButton*>(peer_)->setText(qt::ToQ(caption_));
    SyncPeer();
}

void TRadioButton::CaptionChanged() {
    if (peer_) static_cast<QRadioButton*>(peer_)->setText(qt::ToQ(caption_));
}

void TRadioButton::SyncPeer() {
    if (!peer_) return;
    auto* b = static_cast<QRadioButton*>(peer_);
    QSignalBlocker block(b);
    b->setChecked(checked_);
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

QWidget* TComboBox::CreatePeer(QWidget* parentWidget) {
    auto* c = new QComboBox(parentWidget);
    QObject::connect(c, &QComboBox::activated, c,
                     [this](int i) { qt::Guarded(this, [this, i] { UserPicked(i); }); });
    return c;
}

void TComboBox::InitPeer() {
    SyncPeer();
}

void TComboBox::SyncPeer() {
    if (!peer_) return;
    auto* c = static_cast<QComboBox*>(peer_);
    QSignalBlocker block(c);
    c->setEditable(Style != TComboBoxStyle::csDropDownList);
    if (c->count() != Items.Count() || [&] {
            for (int i = 0; i < Items.Count(); ++i)
                if (qt::FromQ(c->itemText(i)) != Items[i]) return true;
            return false;
        }()) {
        c->clear();
        for (const auto& s : Items.Items())
            c->addItem(qt::ToQ(s));
    }
    c->setCurrentIndex(itemIndex_);
}

void TComboBox::SetItemIndex(int i) {
    if (i < -1 || i >= Items.Count()) i = -1;
    if (i == itemIndex_) return;
    itemIndex_ = i;
    SyncPeer();
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

void TCustomMemo::ApplyCommon() {
    auto* area = dynamic_cast<QAbstractScrollArea*>(peer_);
    if (!area) return;
    bool v = scrollBars_ == TScrollStyle::ssVertical || scrollBars_ == TScrollStyle::ssBoth;
    bool h = scrollBars_ == TScrollStyle::ssHorizontal || scrollBars_ == TScrollStyle::ssBoth;
    area->setVerticalScrollBarPolicy(v ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    area->setHorizontalScrollBarPolicy(h ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    QPalette pal = area->palette();
    pal.setColor(QPalette::Base, qt::ToQColor(Color()));
    area->setPalette(pal);
    area->setFrameShape(QFrame::StyledPanel);
    if (auto* pt = dynamic_cast<QPlainTextEdit*>(peer_)) {
        pt->setReadOnly(readOnly_);
        pt->setLineWrapMode(WordWrapLines ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
    }
    if (auto* te = dynamic_cast<QTextEdit*>(peer_)) {
        te->setReadOnly(readOnly_);
        te->setLineWrapMode(WordWrapLines ? QTextEdit::WidgetWidth : QTextEdit::NoWrap);
    }
}

TMemo::TMemo(TComponent* owner) : TCustomMemo(owner) {
    Lines.OnChange = [this] { SyncText(); };
}

QWidget* TMemo::CreatePeer(QWidget* parentWidget) {
    return new QPlainTextEdit(parentWidget);
}

void TMemo::InitPeer() {
    ApplyCommon();
    SyncText();
}

void TMemo::SyncText() {
    auto* e = dynamic_cast<QPlainTextEdit*>(peer_);
    if (!e) return;
    QStringList lines;
    for (const auto& s : Lines.Items())
        lines << qt::ToQ(s);
    e->setPlainText(lines.join('\n'));
}

TRichEdit::TRichEdit(TComponent* owner) : TCustomMemo(owner) {}

QWidget* TRichEdit::CreatePeer(QWidget* parentWidget) {
    return new QTextEdit(parentWidget);
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
    auto* e = dynamic_cast<QTextEdit*>(peer_);
    if (!e) return;
    rtf::Document doc = rtf::Parse(rtf_);
    e->clear();
    QTextCursor cur(e->document());
    bool firstBlock = true;
    for (const auto& para : doc.paragraphs) {
        if (!firstBlock) cur.insertBlock();
        firstBlock = false;
        for (const auto& run : para.runs) {
            TFont f;
            f.Name = run.fontName.empty() ? Font().Name : run.fontName;
            f.Height = -static_cast<int>(std::lround(run.halfPoints / 2.0 * 96.0 / 72.0));
            f.Style = (run.bold ? fsBold : 0) | (run.italic ? fsItalic : 0) |
                      (run.underline ? fsUnderline : 0);
            QTextCharFormat fmt;
            fmt.setFont(qt::ToQFont(f));
            fmt.setForeground(run.hasColor ? qt::ToQColor(static_cast<TColor>(run.color))
                                           : QColor(Qt::black));
            cur.insertText(qt::ToQ(run.text), fmt);
        }
    }
    e->moveCursor(QTextCursor::Start);
}

// ---------------------------------------------------------------- status bar

TStatusBar::TStatusBar(TComponent* owner) : TCustomControl(owner) {
    align_ = TAlign::alBottom;
    SetBoundsInternal(0, 0, 185, 19);
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

void TMenuItem::SetCaption(const std::string& c) {
    if (c == caption_) return;
    caption_ = c;
    Changed();
}

void TMenuItem::SetChecked(bool v) {
    if (v == checked_) return;
    checked_ = v;
    Changed();
}

void TMenuItem::SetEnabled(bool v) {
    if (v == enabled_) return;
    enabled_ = v;
    Changed();
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

namespace qt {

static void AddItems(QWidget* target, TMenuItem* parent, bool bar) {
    for (int i = 0; i < parent->Count(); ++i) {
        TMenuItem* item = parent->Items(i);
        if (!item->Visible()) continue;
        if (item->Caption() == "-") {
            if (auto* m = dynamic_cast<QMenu*>(target)) m->addSeparator();
            continue;
        }
        if (item->Count() > 0) {
            auto* sub = new QMenu(ToQ(item->Caption()), target);
            sub->setEnabled(item->Enabled());
            AddItems(sub, item, false);
            if (bar)
                static_cast<QMenuBar*>(target)->addMenu(sub);
            else
                static_cast<QMenu*>(target)->addMenu(sub);
            continue;
        }
        auto* act = new QAction(ToQ(item->Caption()), target);
        act->setCheckable(item->Checked());
        act->setChecked(item->Checked());
        act->setEnabled(item->Enabled());
        uint64_t serial = item->Serial();
        QObject::connect(act, &QAction::triggered, act, [serial] {
            if (TMenuItem* live = TMenuItem::FindBySerial(serial))
                Guarded(live, [live] { live->Click(); });
        });
        target->addAction(act);
    }
}

void RebuildMenuBar(FormWindow* window, TMainMenu* menu) {
    if (!menu) {
        window->SetMenuBar(nullptr);
        return;
    }
    auto* bar = new QMenuBar(window);
    AddItems(bar, menu->Items(), true);
    window->SetMenuBar(bar);
}

} // namespace qt

} // namespace ui
