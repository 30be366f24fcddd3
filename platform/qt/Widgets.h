// The Qt widgets behind the peers: each shows one control and reports its input back.
#pragma once

#include "platform/Peer.h"
#include "platform/qt/QtSupport.h"

#include <QPointer>
#include <QWidget>
#include <unordered_map>

class QMenuBar;
class QAction;

namespace ui {
class TWinControl;
class TForm;
} // namespace ui

namespace ui::qt {

// The control a widget (or its nearest bound ancestor) belongs to.
TWinControl* ControlOfWidget(const QWidget* w);
void BindWidget(const QWidget* w, TWinControl* control);
QWidget* WidgetOf(IControlPeer* peer);
std::unique_ptr<IControlPeer> CreateControlPeer(TWinControl* control, TPeerKind kind,
                                                QWidget* parent);

// The control-independent half of every peer, over any widget class.
template <class W, class I> class WidgetPeer : public W, public I {
public:
    WidgetPeer(TWinControl* control, QWidget* parent) : W(parent), control_(control) {
        BindWidget(this, control);
    }
    ~WidgetPeer() override { BindWidget(this, nullptr); }

    void Detach() override {
        control_ = nullptr;
        BindWidget(this, nullptr);
    }
    void SetGeometry(int left, int top, int width, int height) override {
        this->setGeometry(left, top, width, height);
    }
    void SetVisible(bool visible) override { this->setVisible(visible); }
    bool IsVisible() const override { return this->isVisible(); }
    void SetParentPeer(IControlPeer* container) override {
        this->setParent(container ? WidgetOf(container) : nullptr);
    }
    void Invalidate() override { this->update(); }
    void Repaint() override { this->repaint(); }
    void Raise() override { this->raise(); }
    void Lower() override { this->lower(); }
    void SetFont(const TFont& font) override { this->setFont(ToQFont(font)); }
    void SetEnabled(bool enabled) override { this->setEnabled(enabled); }
    void SetFocus() override { this->setFocus(Qt::OtherFocusReason); }
    bool HasFocus() const override { return this->hasFocus(); }
    void SetTabNext(IControlPeer* next) override {
        if (QWidget* n = WidgetOf(next)) QWidget::setTabOrder(this, n);
    }

protected:
    TWinControl* control_;
};

// A windowed control that the layer paints, with its mouse input.
class PaintedWidget : public WidgetPeer<QWidget, IControlPeer> {
public:
    PaintedWidget(TWinControl* control, QWidget* parent, bool reportsResize = true);

protected:
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    void SendMouse(unsigned msg, QMouseEvent* e);
    // The backing store image this paint pass may write directly, with the widget's top-left
    // corner in it, or none.
    QImage* DirectTarget(QPoint& at) const;
    bool reportsResize_;
    // Only while paints cannot go to the backing store directly.
    QImage buffer_;
};

// A form's top-level window: an optional menu bar above the client area.
class FormWindow : public WidgetPeer<QWidget, IFormPeer> {
public:
    explicit FormWindow(TForm* form);
    ~FormWindow() override;
    TForm* Form() const;

    void Detach() override;
    IControlPeer* ChildContainer() override { return client_; }
    void SetGeometry(int left, int top, int width, int height) override;
    void Invalidate() override;
    void Repaint() override;
    void SetTitle(const std::string& title) override;
    void SetLook(const TWindowLook& look) override;
    void Place(int left, int top, int clientWidth, int clientHeightWithMenu) override;
    void SetSizeLimits(bool fixed, int minClientWidth, int minClientHeight) override;
    void ShowState(TPeerWindowState state) override;
    void SetMenu(TMainMenu* menu, int height) override;
    void MenuChanged() override;
    void MenuItemChanged(TMenuItem* item) override;
    void Activate() override;
    TPoint ClientOrigin() const override;
    TRect FrameRect() const override;
    bool HasFrame() const override;

protected:
    void closeEvent(QCloseEvent* e) override;
    void changeEvent(QEvent* e) override;
    void moveEvent(QMoveEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    void RebuildMenu();
    void LayoutClient();
    int MenuHeight() const;

    PaintedWidget* client_;
    TMainMenu* menu_ = nullptr;
    int menuHeight_ = 0;
    QPointer<QMenuBar> menuBar_;
    // Menu entries by serial number; an action never outlives the lookup.
    std::unordered_map<uint64_t, QPointer<QAction>> actions_;
    bool menuPending_ = false;
};

} // namespace ui::qt
