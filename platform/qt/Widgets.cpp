#include "platform/qt/Widgets.h"

#include "platform/qt/Accessibility.h"
#include "platform/qt/Overlay.h"

#include "platform/StdCtrls.h"
#include "platform/text/Rtf.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QCloseEvent>
#include <QComboBox>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTextCursor>
#include <QTextEdit>
#include <QTimer>
#include <cmath>
#include <cstring>

namespace ui::qt {

namespace {
std::unordered_map<const QWidget*, TWinControl*>& Bindings() {
    static std::unordered_map<const QWidget*, TWinControl*> map;
    return map;
}
} // namespace

TWinControl* ControlOfWidget(const QWidget* w) {
    auto& map = Bindings();
    for (; w; w = w->parentWidget()) {
        auto it = map.find(w);
        if (it != map.end()) return it->second;
    }
    return nullptr;
}

void BindWidget(const QWidget* w, TWinControl* control) {
    if (control)
        Bindings()[w] = control;
    else
        Bindings().erase(w);
}

QWidget* WidgetOf(IControlPeer* peer) {
    return dynamic_cast<QWidget*>(peer);
}

// ---------------------------------------------------------------- painted controls

PaintedWidget::PaintedWidget(TWinControl* control, QWidget* parent, bool reportsResize)
    : WidgetPeer(control, parent), reportsResize_(reportsResize) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    RefreshAccessible(this);
}

QImage* PaintedWidget::DirectTarget(QPoint& at) const {
    // Where Qt sends this paint pass: normally the window's backing store, with this widget at
    // `at`. Our pixels (blue, green, red, unused) are its own when it is a plain 32-bit image at
    // one device pixel per pixel that holds the whole widget and is shared with nobody.
    QPoint offset;
    QPaintDevice* device = redirected(&offset);
    if (!device || device->devType() != QInternal::Image || sharedPainter()) return nullptr;
    auto* image = static_cast<QImage*>(device);
    at = -offset;
    const QImage::Format format = image->format();
    if ((format != QImage::Format_RGB32 && format != QImage::Format_ARGB32_Premultiplied) ||
        image->devicePixelRatio() != 1.0 || !image->isDetached() ||
        !image->rect().contains(QRect(at, size())))
        return nullptr;
    return image;
}

namespace {
// Our pixels leave their fourth byte 0; in a premultiplied store that byte is the alpha, which
// a copy of a 32-bit RGB buffer would have set opaque.
void MakeOpaque(uchar* topLeft, int stride, int width, int height) {
    // Four pixels a step, a whole window's worth being a million pixels a paint.
    using Quad = uint32_t __attribute__((vector_size(16)));
    const Quad alpha = {0xFF000000u, 0xFF000000u, 0xFF000000u, 0xFF000000u};
    for (int y = 0; y < height; ++y) {
        uchar* p = topLeft + static_cast<ptrdiff_t>(y) * stride;
        int x = 0;
        for (; x + 4 <= width; x += 4, p += 16) {
            Quad q;
            std::memcpy(&q, p, 16);
            q |= alpha;
            std::memcpy(p, &q, 16);
        }
        for (; x < width; ++x, p += 4)
            p[3] = 0xFF;
    }
}
} // namespace

void PaintedWidget::paintEvent(QPaintEvent* e) {
    if (!control_) return;
    QSize sz = size();
    if (sz.isEmpty()) return;
    TWinControl* c = control_;
    QPoint at;
    if (QImage* store = DirectTarget(at)) {
        // Painted in place: no copy of the widget's pixels of its own, and nothing to copy
        // afterwards. Only the rectangles of Qt's region are written, so child widgets and the
        // parts Qt does not repaint now keep their pixels; what a graphic child reads beneath it
        // is what the parent painted, as in a buffer of its own.
        buffer_ = QImage();
        const auto stride = static_cast<int>(store->bytesPerLine());
        uchar* origin = store->bits() + at.y() * stride + at.x() * 4;
        const bool alpha = store->format() == QImage::Format_ARGB32_Premultiplied;
        TCanvas canvas(TSurface{origin, stride, sz.width(), sz.height()});
        for (const QRect& region : e->region()) {
            const QRect r = region & rect();
            if (r.isEmpty()) continue;
            TRect part = Bounds(r.x(), r.y(), r.width(), r.height());
            canvas.SetLimit(part);
            Guarded(c, [&] { c->PaintWindow(canvas, part); });
            if (alpha)
                MakeOpaque(origin + r.y() * stride + r.x() * 4, stride, r.width(), r.height());
            if (!control_) return;
        }
    } else {
        // Anywhere else (another pixel ratio, a pixmap), through a 32-bit buffer kept for the
        // next paint.
        if (buffer_.size() != sz) buffer_ = QImage(sz, QImage::Format_RGB32);
        QRect dirty = e->rect();
        // Above one device pixel per pixel the buffer is shown enlarged; its text, and the finer
        // pictures controls draw for such a screen, are drawn after it at device resolution.
        std::vector<OverlayOp> overlay;
        const double ratio = devicePixelRatioF();
        const bool enlarged = ratio > 1.0;
        {
            // Finer pictures are drawn at a whole number of device pixels a pixel, the next one up.
            TCanvas canvas(TSurface{buffer_.bits(), static_cast<int>(buffer_.bytesPerLine()),
                                    buffer_.width(), buffer_.height(),
                                    enlarged ? static_cast<int>(std::ceil(ratio - 0.01)) : 1});
            struct Deferring {
                const uint8_t* bits;
                ~Deferring() {
                    if (bits) DeferOverlay(bits, nullptr);
                }
            } deferring{enlarged ? buffer_.constBits() : nullptr};
            if (enlarged) DeferOverlay(deferring.bits, &overlay);
            Guarded(c, [&] {
                c->PaintWindow(canvas, Bounds(dirty.x(), dirty.y(), dirty.width(), dirty.height()));
            });
        }
        QPainter wp(this);
        wp.drawImage(dirty.topLeft(), buffer_, dirty);
        wp.setClipRect(dirty);
        for (const OverlayOp& op : overlay)
            DrawOverlayOp(wp, op);
    }
    if (control_)
        if (auto* f = dynamic_cast<TForm*>(control_); f && !f->FirstPaintDone()) f->NotePainted();
}

void PaintedWidget::SendMouse(unsigned msg, QMouseEvent* e) {
    TWinControl* c = control_;
    if (!c) return;
    QPoint p = e->position().toPoint();
    Guarded(c, [&] { c->PeerMouse(msg, {p.x(), p.y()}); });
}

void PaintedWidget::mousePressEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton) SendMouse(WM_LBUTTONDOWN, e);
}

void PaintedWidget::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton) SendMouse(WM_LBUTTONUP, e);
}

void PaintedWidget::mouseDoubleClickEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton) SendMouse(WM_LBUTTONDBLCLK, e);
}

void PaintedWidget::mouseMoveEvent(QMouseEvent* e) {
    SendMouse(WM_MOUSEMOVE, e);
}

void PaintedWidget::resizeEvent(QResizeEvent*) {
    // A form's client area is sized by its window; other controls size their own peers.
    if (control_ && reportsResize_) {
        TWinControl* c = control_;
        int w = width(), h = height();
        Guarded(c, [c, w, h] { c->PeerResized(w, h); });
    }
}

// ---------------------------------------------------------------- standard controls

namespace {

class ButtonPeer : public WidgetPeer<QPushButton, IButtonPeer> {
public:
    ButtonPeer(TWinControl* control, QWidget* parent) : WidgetPeer(control, parent) {
        setAutoDefault(false);
        connect(this, &QPushButton::clicked, this, [this] {
            if (TWinControl* c = control_) Guarded(c, [c] { c->Click(); });
        });
    }
    void SetText(const std::string& text) override { setText(ToQ(text)); }
};

class RadioPeer : public WidgetPeer<QRadioButton, IRadioPeer> {
public:
    RadioPeer(TWinControl* control, QWidget* parent) : WidgetPeer(control, parent) {
        // The layer keeps the buttons of a parent exclusive, by its own rule.
        setAutoExclusive(false);
        connect(this, &QRadioButton::clicked, this, [this] {
            if (auto* r = dynamic_cast<TRadioButton*>(control_))
                Guarded(r, [r] { r->UserClicked(); });
        });
    }
    void SetText(const std::string& text) override { setText(ToQ(text)); }
    void SetChecked(bool checked) override {
        if (isChecked() == checked) return;
        {
            QSignalBlocker block(this);
            setChecked(checked);
        }
        if (QAccessible::isActive()) {
            QAccessible::State changed;
            changed.checked = true;
            QAccessibleStateChangeEvent e(this, changed);
            QAccessible::updateAccessibility(&e);
        }
    }
};

class ComboPeer : public WidgetPeer<QComboBox, IComboPeer> {
public:
    ComboPeer(TWinControl* control, QWidget* parent) : WidgetPeer(control, parent) {
        connect(this, &QComboBox::activated, this, [this](int i) {
            if (auto* c = dynamic_cast<TComboBox*>(control_))
                Guarded(c, [c, i] { c->UserPicked(i); });
        });
    }
    void SetItems(const std::vector<std::string>& items, int itemIndex, bool editable) override {
        QSignalBlocker block(this);
        if (isEditable() != editable) setEditable(editable);
        bool same = count() == static_cast<int>(items.size());
        for (int i = 0; same && i < count(); ++i)
            same = FromQ(itemText(i)) == items[static_cast<size_t>(i)];
        if (!same) {
            clear();
            for (const auto& s : items)
                addItem(ToQ(s));
        }
        setCurrentIndex(itemIndex);
    }
    void SetDroppedDown(bool open) override {
        if (open)
            showPopup();
        else
            hidePopup();
    }
    TRect DropDownRect() const override {
        QWidget* popup = view() ? view()->window() : nullptr;
        if (!popup || popup == window() || !popup->isVisible()) return {};
        QRect r = popup->frameGeometry();
        return Bounds(r.x(), r.y(), r.width(), r.height());
    }
};

template <class E> void ApplyLook(E* e, const TMemoLook& look) {
    e->setVerticalScrollBarPolicy(look.vertical ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    e->setHorizontalScrollBarPolicy(look.horizontal ? Qt::ScrollBarAlwaysOn
                                                    : Qt::ScrollBarAlwaysOff);
    QPalette pal = e->palette();
    pal.setColor(QPalette::Base, ToQColor(look.color));
    e->setPalette(pal);
    e->setFrameShape(QFrame::StyledPanel);
    e->setReadOnly(look.readOnly);
    e->setLineWrapMode(look.wordWrap ? E::WidgetWidth : E::NoWrap);
}

class MemoPeer : public WidgetPeer<QPlainTextEdit, IMemoPeer> {
public:
    // What a screen reader calls it: the memo is named after its window.
    MemoPeer(TWinControl* control, QWidget* parent) : WidgetPeer(control, parent) {
        setAccessibleName(ToQ(control->AccessibleName()));
    }
    void SetLook(const TMemoLook& look) override {
        ApplyLook(static_cast<QPlainTextEdit*>(this), look);
    }
    void SetLines(const std::vector<std::string>& lines) override {
        QStringList list;
        for (const auto& s : lines)
            list << ToQ(s);
        setPlainText(list.join('\n'));
    }
};

class RichPeer : public WidgetPeer<QTextEdit, IRichPeer> {
public:
    RichPeer(TWinControl* control, QWidget* parent) : WidgetPeer(control, parent) {
        setAccessibleName(ToQ(control->AccessibleName()));
    }
    void SetLook(const TMemoLook& look) override { ApplyLook(static_cast<QTextEdit*>(this), look); }
    void SetDocument(const ::rtf::Document& doc, const TFont& defaultFont,
                     int pixelsPerInch) override {
        clear();
        QTextCursor cur(document());
        bool firstBlock = true;
        for (const auto& para : doc.paragraphs) {
            if (!firstBlock) cur.insertBlock();
            firstBlock = false;
            for (const auto& run : para.runs) {
                TFont f;
                f.Name = run.fontName.empty() ? defaultFont.Name : run.fontName;
                f.Height =
                    -static_cast<int>(std::lround(run.halfPoints / 2.0 * pixelsPerInch / 72.0));
                f.Style = (run.bold ? fsBold : 0) | (run.italic ? fsItalic : 0) |
                          (run.underline ? fsUnderline : 0);
                QTextCharFormat fmt;
                fmt.setFont(ToQFont(f));
                fmt.setForeground(run.hasColor ? ToQColor(static_cast<TColor>(run.color))
                                               : QColor(Qt::black));
                cur.insertText(ToQ(run.text), fmt);
            }
        }
        moveCursor(QTextCursor::Start);
    }
};

} // namespace

std::unique_ptr<IControlPeer> CreateControlPeer(TWinControl* control, TPeerKind kind,
                                                QWidget* parent) {
    switch (kind) {
    case TPeerKind::Button:
        return std::make_unique<ButtonPeer>(control, parent);
    case TPeerKind::Radio:
        return std::make_unique<RadioPeer>(control, parent);
    case TPeerKind::Combo:
        return std::make_unique<ComboPeer>(control, parent);
    case TPeerKind::Memo:
        return std::make_unique<MemoPeer>(control, parent);
    case TPeerKind::Rich:
        return std::make_unique<RichPeer>(control, parent);
    case TPeerKind::Plain:
        break;
    }
    return std::make_unique<PaintedWidget>(control, parent);
}

// ---------------------------------------------------------------- form window

FormWindow::FormWindow(TForm* form) : WidgetPeer(form, nullptr) {
    client_ = new PaintedWidget(form, this, false);
    RefreshAccessible(this);
}

FormWindow::~FormWindow() = default;

TForm* FormWindow::Form() const {
    return static_cast<TForm*>(control_);
}

void FormWindow::Detach() {
    WidgetPeer::Detach();
    client_->Detach();
    menu_ = nullptr;
}

void FormWindow::SetGeometry(int left, int top, int width, int height) {
    move(left, top);
    resize(width, height);
    LayoutClient();
}

void FormWindow::Invalidate() {
    // A form paints in its client area, not in the window around it.
    client_->update();
}

void FormWindow::Repaint() {
    client_->repaint();
}

void FormWindow::SetTitle(const std::string& title) {
    setWindowTitle(ToQ(title));
}

void FormWindow::SetLook(const TWindowLook& look) {
    Qt::WindowFlags f = Qt::Window;
    bool tool = look.border == TFormBorderStyle::bsToolWindow ||
                look.border == TFormBorderStyle::bsSizeToolWin;
    if (tool) f = Qt::Tool;
    if (look.border == TFormBorderStyle::bsNone) f |= Qt::FramelessWindowHint;
    if (look.border == TFormBorderStyle::bsDialog) f = Qt::Dialog;
    if (look.stayOnTop) f |= Qt::WindowStaysOnTopHint;
    if (tool) f |= Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;
    // Changing the flags re-creates the native window: only when they really change.
    if (windowFlags() == f) return;
    bool wasVisible = isVisible();
    setWindowFlags(f);
    if (wasVisible) show();
}

void FormWindow::Place(int left, int top, int clientWidth, int clientHeightWithMenu) {
    move(left, top);
    resize(clientWidth, clientHeightWithMenu);
    LayoutClient();
}

void FormWindow::SetSizeLimits(bool fixed, int minClientWidth, int minClientHeight) {
    if (fixed) {
        setFixedSize(minClientWidth, minClientHeight);
        return;
    }
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    setMinimumSize(minClientWidth, minClientHeight);
}

void FormWindow::ShowState(TPeerWindowState state) {
    switch (state) {
    case TPeerWindowState::Maximized:
        showMaximized();
        break;
    case TPeerWindowState::Minimized:
        showMinimized();
        break;
    case TPeerWindowState::Normal:
        if (isMaximized() || isMinimized())
            showNormal();
        else
            show();
        break;
    }
}

int FormWindow::MenuHeight() const {
    return menuBar_ ? menuHeight_ : 0;
}

void FormWindow::SetMenu(TMainMenu* menu, int height) {
    menu_ = menu;
    menuHeight_ = height;
    RebuildMenu();
}

void FormWindow::MenuChanged() {
    // Deferred: the change may come from a handler of the very menu entry being rebuilt.
    if (menuPending_) return;
    menuPending_ = true;
    QTimer::singleShot(0, this, [this] {
        menuPending_ = false;
        RebuildMenu();
    });
}

void FormWindow::MenuItemChanged(TMenuItem* item) {
    auto it = actions_.find(item->Serial());
    if (it == actions_.end() || !it->second) {
        MenuChanged();
        return;
    }
    QAction* act = it->second;
    act->setText(ToQ(item->Caption()));
    act->setCheckable(item->Checked());
    act->setChecked(item->Checked());
    act->setEnabled(item->Enabled());
}

namespace {

void AddItems(QWidget* target, TMenuItem* parent, bool bar,
              std::unordered_map<uint64_t, QPointer<QAction>>& actions) {
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
            AddItems(sub, item, false, actions);
            QAction* act = bar ? static_cast<QMenuBar*>(target)->addMenu(sub)
                               : static_cast<QMenu*>(target)->addMenu(sub);
            actions[item->Serial()] = act;
            continue;
        }
        auto* act = new QAction(ToQ(item->Caption()), target);
        act->setCheckable(item->Checked());
        act->setChecked(item->Checked());
        act->setEnabled(item->Enabled());
        // By serial number, never reused: an action that outlives its entry finds nothing.
        uint64_t serial = item->Serial();
        QObject::connect(act, &QAction::triggered, act, [serial] {
            if (TMenuItem* live = TMenuItem::FindBySerial(serial))
                Guarded(live, [live] { live->Click(); });
        });
        target->addAction(act);
        actions[serial] = act;
    }
}

} // namespace

void FormWindow::RebuildMenu() {
    if (menuBar_) menuBar_->deleteLater();
    menuBar_ = nullptr;
    actions_.clear();
    if (menu_) {
        auto* bar = new QMenuBar(this);
        bar->setAccessibleName(QStringLiteral("Menu bar"));
        AddItems(bar, menu_->Items(), true, actions_);
        bar->setFixedHeight(menuHeight_);
        bar->show();
        menuBar_ = bar;
    }
    LayoutClient();
}

void FormWindow::LayoutClient() {
    int mh = MenuHeight();
    if (menuBar_) menuBar_->setGeometry(0, 0, width(), mh);
    client_->setGeometry(0, mh, width(), std::max(0, height() - mh));
}

void FormWindow::Activate() {
    raise();
    activateWindow();
}

TPoint FormWindow::ClientOrigin() const {
    QPoint p = client_->mapToGlobal(QPoint(0, 0));
    return {p.x(), p.y()};
}

TRect FormWindow::FrameRect() const {
    QRect r = frameGeometry();
    return Bounds(r.x(), r.y(), r.width(), r.height());
}

bool FormWindow::HasFrame() const {
    return frameGeometry() != geometry();
}

void FormWindow::closeEvent(QCloseEvent* e) {
    // Closing from the title bar follows the form's own close rules.
    e->ignore();
    if (TForm* f = Form()) Guarded(f, [f] { f->PeerCloseRequested(); });
}

void FormWindow::changeEvent(QEvent* e) {
    if (TForm* f = Form()) {
        if (e->type() == QEvent::ActivationChange) {
            bool active = isActiveWindow();
            Guarded(f, [f, active] { f->PeerActivated(active); });
        } else if (e->type() == QEvent::WindowStateChange) {
            Qt::WindowStates s = windowState();
            TWindowState state = s & Qt::WindowMinimized   ? TWindowState::wsMinimized
                                 : s & Qt::WindowMaximized ? TWindowState::wsMaximized
                                                           : TWindowState::wsNormal;
            Guarded(f, [f, state] { f->PeerStateChanged(state); });
        }
    }
    QWidget::changeEvent(e);
}

void FormWindow::moveEvent(QMoveEvent*) {
    if (TForm* f = Form(); f && isVisible()) f->PeerMoved(x(), y());
}

void FormWindow::resizeEvent(QResizeEvent*) {
    LayoutClient();
    if (TForm* f = Form()) {
        int w = width(), h = height() - MenuHeight();
        Guarded(f, [f, w, h] { f->PeerFrameResized(w, h); });
    }
}

} // namespace ui::qt
