// Native peers: Qt widgets that show what the layer decides and report input back to it.
#pragma once

#include "platform/Controls.h"

#include <QImage>
#include <QWidget>

class QMenuBar;

namespace ui {
class TForm;
}

namespace ui::qt {

// Looks up the control a widget belongs to.
TWinControl* ControlOfWidget(const QWidget* w);
void BindWidget(QWidget* w, TWinControl* control);

// A plain windowed control: paints through the layer's pipeline and reports the mouse.
class PeerWidget : public QWidget {
public:
    PeerWidget(TWinControl* control, QWidget* parent);
    TWinControl* Control() const { return control_; }
    void Detach() { control_ = nullptr; }

protected:
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    TWinControl* control_;
    QImage buffer_;
};

// A form's top-level window: an optional menu bar above the client area.
class FormWindow : public QWidget {
public:
    FormWindow(TForm* form);
    ~FormWindow() override;
    TForm* Form() const { return form_; }
    void Detach();
    PeerWidget* Client() const { return client_; }
    QMenuBar* MenuBar() const { return menuBar_; }
    void SetMenuBar(QMenuBar* bar);
    void ScheduleMenuRebuild();
    int MenuHeight() const;
    void LayoutClient();

protected:
    void closeEvent(QCloseEvent* e) override;
    void changeEvent(QEvent* e) override;
    void moveEvent(QMoveEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    TForm* form_;
    PeerWidget* client_;
    QMenuBar* menuBar_ = nullptr;
    bool menuPending_ = false;
};

} // namespace ui::qt
