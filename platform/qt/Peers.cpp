#include "platform/qt/Peers.h"

#include "platform/Forms.h"
#include "platform/StdCtrls.h"
#include "platform/qt/QtSupport.h"

#include <QCloseEvent>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QTimer>
#include <unordered_map>

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

void BindWidget(QWidget* w, TWinControl* control) {
    if (control)
        Bindings()[w] = control;
    else
        Bindings().erase(w);
}

PeerWidget::PeerWidget(TWinControl* control, QWidget* parent) : QWidget(parent), control_(control) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
}

void PeerWidget::paintEvent(QPaintEvent* e) {
    if (!control_) return;
    QSize sz = size();
    if (sz.isEmpty()) return;
    if (buffer_.size() != sz) buffer_ = QImage(sz, QImage::Format_RGB32);
    QRect dirty = e->rect();
    {
        TCanvas canvas(&buffer_);
        TWinControl* c = control_;
        Guarded(c, [&] {
            c->PaintWindow(canvas, Bounds(dirty.x(), dirty.y(), dirty.width(), dirty.height()));
        });
    }
    QPainter wp(this);
    wp.drawImage(dirty.topLeft(), buffer_, dirty);
    if (control_)
        if (TForm* f = dynamic_cast<TForm*>(control_); f && !f->FirstPaintDone()) f->NotePainted();
}

static void SendMouse(TWinControl* c, unsigned msg, QMouseEvent* e) {
    if (!c) return;
    QPoint p = e->position().toPoint();
    Guarded(c, [&] { c->PeerMouse(msg, {p.x(), p.y()}); });
}

void PeerWidget::mousePressEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton) SendMouse(control_, WM_LBUTTONDOWN, e);
}

void PeerWidget::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton) SendMouse(control_, WM_LBUTTONUP, e);
}

void PeerWidget::mouseDoubleClickEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton) SendMouse(control_, WM_LBUTTONDBLCLK, e);
}

void PeerWidget::mouseMoveEvent(QMouseEvent* e) {
    SendMouse(control_, WM_MOUSEMOVE, e);
}

void PeerWidget::resizeEvent(QResizeEvent*) {
    // A form's client area is sized by its window; other controls size their own peers.
    if (control_ && parentWidget() && dynamic_cast<FormWindow*>(parentWidget()) == nullptr) {
        TWinControl* c = control_;
        Guarded(c, [&] { c->PeerResized(width(), height()); });
    }
}

FormWindow::FormWindow(TForm* form) : QWidget(nullptr), form_(form) {
    client_ = new PeerWidget(form, this);
    BindWidget(client_, form);
}

FormWindow::~FormWindow() {
    BindWidget(client_, nullptr);
}

void FormWindow::Detach() {
    form_ = nullptr;
    client_->Detach();
    BindWidget(client_, nullptr);
}

int FormWindow::MenuHeight() const {
    return menuBar_ ? TForm::MenuBarHeight : 0;
}

void FormWindow::SetMenuBar(QMenuBar* bar) {
    if (menuBar_) menuBar_->deleteLater();
    menuBar_ = bar;
    if (bar) {
        bar->setFixedHeight(TForm::MenuBarHeight);
        bar->show();
    }
    LayoutClient();
}

void FormWindow::ScheduleMenuRebuild() {
    if (menuPending_) return;
    menuPending_ = true;
    QTimer::singleShot(0, this, [this] {
        menuPending_ = false;
        if (form_) RebuildMenuBar(this, form_->Menu());
    });
}

void FormWindow::LayoutClient() {
    int mh = MenuHeight();
    if (menuBar_) menuBar_->setGeometry(0, 0, width(), mh);
    client_->setGeometry(0, mh, width(), std::max(0, height() - mh));
}

void FormWindow::closeEvent(QCloseEvent* e) {
    // Closing from the title bar follows the form's own close rules.
    e->ignore();
    if (form_) {
        TForm* f = form_;
        Guarded(f, [f] { f->PeerCloseRequested(); });
    }
}

void FormWindow::changeEvent(QEvent* e) {
    if (e->type() == QEvent::ActivationChange && form_) {
        TForm* f = form_;
        bool active = isActiveWindow();
        Guarded(f, [f, active] { f->PeerActivated(active); });
    }
    QWidget::changeEvent(e);
}

void FormWindow::moveEvent(QMoveEvent*) {
    if (form_ && isVisible()) form_->PeerMoved(x(), y());
}

void FormWindow::resizeEvent(QResizeEvent*) {
    LayoutClient();
    if (form_) {
        TForm* f = form_;
        int w = width(), h = height() - MenuHeight();
        Guarded(f, [f, w, h] { f->PeerFrameResized(w, h); });
    }
}

} // namespace ui::qt
