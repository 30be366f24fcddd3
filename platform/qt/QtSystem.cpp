// The system services over Qt: peers, the message loop with its idle moments, input routing to
// the layer's mouse tracking and dialog keys, the screen, message boxes, timers, text and the
// embedded resources.
#include "platform/qt/QtSystem.h"

#include "platform/System.h"
#include "platform/qt/Accessibility.h"
#include "platform/qt/AppIcon.h"
#include "platform/qt/Overlay.h"
#include "platform/qt/Widgets.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QCursor>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPainter>
#include <QResource>
#include <QScreen>
#include <QTimerEvent>
#include <cmath>
#include <cstdlib>
#include <map>
#include <vector>

// The embedded resources live in a static library; naming their initialisers here keeps the
// linker from dropping them. Outside any namespace, as the initialisers are.
static void InitEmbeddedResources() {
    Q_INIT_RESOURCE(settings_resources);
    Q_INIT_RESOURCE(settings_icon);
}

namespace ui::qt {

namespace {

class TimerHost : public QObject, public ITimerHost {
public:
    explicit TimerHost(std::function<void(unsigned)> tick) : tick_(std::move(tick)) {}
    ~TimerHost() override {
        for (auto& [id, qtId] : timers_)
            killTimer(qtId);
    }
    bool Start(unsigned id, unsigned milliseconds) override {
        Stop(id);
        int qtId = startTimer(static_cast<int>(milliseconds), Qt::PreciseTimer);
        if (qtId == 0) return false;
        timers_[id] = qtId;
        return true;
    }
    void Stop(unsigned id) override {
        auto it = timers_.find(id);
        if (it == timers_.end()) return;
        killTimer(it->second);
        timers_.erase(it);
    }

protected:
    void timerEvent(QTimerEvent* e) override {
        for (auto& [id, qtId] : timers_)
            if (qtId == e->timerId()) {
                unsigned which = id;
                tick_(which);
                return;
            }
    }

private:
    std::function<void(unsigned)> tick_;
    std::map<unsigned, int> timers_;
};

int ShowMessageBox(const std::string& text, const std::string& caption, unsigned flags) {
    QMessageBox box;
    box.setWindowTitle(ToQ(caption));
    box.setText(ToQ(text));
    switch (flags & 0xF0) {
    case MB_ICONERROR:
        box.setIcon(QMessageBox::Critical);
        break;
    case MB_ICONQUESTION:
        box.setIcon(QMessageBox::Question);
        break;
    case MB_ICONWARNING:
        box.setIcon(QMessageBox::Warning);
        break;
    case MB_ICONINFORMATION:
        box.setIcon(QMessageBox::Information);
        break;
    default:
        break;
    }
    using B = QMessageBox::StandardButton;
    // The buttons in the order the flags count them, for the default-button flags.
    std::vector<B> buttons;
    switch (flags & 0xF) {
    case MB_OKCANCEL:
        buttons = {B::Ok, B::Cancel};
        break;
    case MB_ABORTRETRYIGNORE:
        buttons = {B::Abort, B::Retry, B::Ignore};
        break;
    case MB_YESNOCANCEL:
        buttons = {B::Yes, B::No, B::Cancel};
        break;
    case MB_YESNO:
        buttons = {B::Yes, B::No};
        break;
    case MB_RETRYCANCEL:
        buttons = {B::Retry, B::Cancel};
        break;
    default:
        buttons = {B::Ok};
        break;
    }
    QMessageBox::StandardButtons set;
    for (B b : buttons)
        set |= b;
    box.setStandardButtons(set);
    const size_t defaultIndex = (flags & 0xF00) / MB_DEFBUTTON2;
    box.setDefaultButton(buttons[defaultIndex < buttons.size() ? defaultIndex : 0]);
    if (flags & MB_TOPMOST) box.setWindowFlag(Qt::WindowStaysOnTopHint);
    if (flags & MB_SETFOREGROUND) {
        box.show();
        box.raise();
        box.activateWindow();
    }
    switch (box.exec()) {
    case B::Ok:
        return IDOK;
    case B::Cancel:
        return IDCANCEL;
    case B::Abort:
        return IDABORT;
    case B::Retry:
        return IDRETRY;
    case B::Ignore:
        return IDIGNORE;
    case B::Yes:
        return IDYES;
    case B::No:
        return IDNO;
    default:
        return IDCANCEL;
    }
}

// Routes input to the layer: every mouse move to its tracking (a tracking parent gets no move
// while the pointer is over a child widget, so this is application-wide), Enter and Esc to the
// form's default and cancel buttons.
class InputFilter : public QObject {
protected:
    bool eventFilter(QObject* obj, QEvent* e) override {
        switch (e->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            if (Application) Application->UserInput();
            break;
        case QEvent::MouseMove:
        case QEvent::Enter:
        case QEvent::Leave:
            if (Application) Guarded(Application, [] { Application->TrackMouse(); });
            break;
        case QEvent::KeyPress: {
            if (Application) Application->UserInput();
            auto* ke = static_cast<QKeyEvent*>(e);
            int key = 0;
            if (ke->key() == Qt::Key_Return || ke->key() == Qt::Key_Enter) key = TForm::VK_RETURN;
            if (ke->key() == Qt::Key_Escape) key = TForm::VK_ESCAPE;
            if (!key || !obj->isWidgetType()) break;
            auto* w = static_cast<QWidget*>(obj);
            // Only the first delivery counts; unhandled keys travel on to the parents.
            if (QApplication::focusWidget() && w != QApplication::focusWidget()) break;
            auto* win = dynamic_cast<FormWindow*>(w->window());
            TForm* form = win ? win->Form() : nullptr;
            if (!form) break;
            bool used = false;
            Guarded(form, [&] { used = form->DialogKey(key); });
            if (used) return true;
            break;
        }
        default:
            break;
        }
        return QObject::eventFilter(obj, e);
    }
};

class QtSystem : public ISystem {
public:
    QtSystem() {
        qApp->installEventFilter(&filter_);
        if (auto* d = QAbstractEventDispatcher::instance(qApp->thread()))
            idle_ = QObject::connect(d, &QAbstractEventDispatcher::aboutToBlock, &context_, [] {
                if (Application) Guarded(Application, [] { Application->DoIdle(); });
            });
    }
    ~QtSystem() override {
        QObject::disconnect(idle_);
        if (qApp) qApp->removeEventFilter(&filter_);
    }

    std::unique_ptr<IControlPeer> CreatePeer(TWinControl* control, TPeerKind kind,
                                             IControlPeer* parentContainer) override {
        return CreateControlPeer(control, kind,
                                 parentContainer ? WidgetOf(parentContainer) : nullptr);
    }
    std::unique_ptr<IFormPeer> CreateFormPeer(TForm* form) override {
        return std::make_unique<FormWindow>(form);
    }
    TWinControl* FocusedControl() const override {
        QWidget* w = QApplication::focusWidget();
        return w ? ControlOfWidget(w) : nullptr;
    }

    void RunLoop() override { QApplication::exec(); }
    // exit, not quit: quit would first ask every window to close, and ours only hide.
    void ExitLoop(int code) override { QCoreApplication::exit(code); }
    void ProcessMessages() override { QCoreApplication::processEvents(); }
    void Post(std::function<void()> fn) override {
        QMetaObject::invokeMethod(&context_, std::move(fn), Qt::QueuedConnection);
    }
    void WakeUp() override {
        QMetaObject::invokeMethod(
            &context_, [] {}, Qt::QueuedConnection);
    }

    TRect ScreenRect() const override {
        QScreen* sc = QGuiApplication::primaryScreen();
        if (!sc) return {0, 0, 800, 600};
        QRect r = sc->geometry();
        return Bounds(r.x(), r.y(), r.width(), r.height());
    }
    TRect WorkArea() const override {
        QScreen* sc = QGuiApplication::primaryScreen();
        if (!sc) return {0, 0, 800, 600};
        QRect r = sc->availableGeometry();
        return Bounds(r.x(), r.y(), r.width(), r.height());
    }
    TPoint CursorPos() const override {
        QPoint p = QCursor::pos();
        return {p.x(), p.y()};
    }
    int DisplayDepth() const override {
        QScreen* s = QGuiApplication::primaryScreen();
        return s ? s->depth() : 24;
    }
    int PixelsPerInch() const override {
        // With the toolkit's own high-resolution scaling on (its default) this stays 96 and the
        // toolkit scales every pixel; only a desktop that asks for larger text without it
        // reports more, and then the layer scales its windows.
        QScreen* s = QGuiApplication::primaryScreen();
        int ppi = s ? static_cast<int>(std::lround(s->logicalDotsPerInch())) : 96;
        return ppi >= 48 && ppi <= 960 ? ppi : 96;
    }
    int MessageBox(const std::string& text, const std::string& caption, unsigned flags) override {
        return ShowMessageBox(text, caption, flags);
    }
    TPopupState OpenPopup(TPoint p) const override {
        TPopupState state;
        if (QWidget* popup = QApplication::activePopupWidget()) {
            state.open = true;
            // A list's or menu's popup window hangs off the control or window that opened it.
            if (popup->frameGeometry().contains(p.X, p.Y)) state.owner = ControlOfWidget(popup);
            return state;
        }
        if (QWidget* modal = QApplication::activeModalWidget())
            if (!dynamic_cast<FormWindow*>(modal)) state.open = true;
        return state;
    }

    std::unique_ptr<ITimerHost> CreateTimerHost(std::function<void(unsigned)> tick) override {
        return std::make_unique<TimerHost>(std::move(tick));
    }

    int TextWidth(const TFont& font, const std::string& text) const override {
        return QFontMetrics(ToQFont(font)).horizontalAdvance(ToQ(text));
    }
    int TextHeight(const TFont& font) const override {
        return QFontMetrics(ToQFont(font)).height();
    }
    int WrappedTextHeight(const TFont& font, const std::string& text, int width) const override {
        QFontMetrics fm(ToQFont(font));
        return fm.boundingRect(QRect(0, 0, std::max(1, width), 100000), Qt::TextWordWrap, ToQ(text))
            .height();
    }
    std::unique_ptr<ITextPainter> CreateTextPainter(TSurface surface) override {
        return MakeTextPainter(surface);
    }

    void AccessibleChanged(TControl* control, bool valueChanged) override {
        AnnounceChange(control, valueChanged);
    }
    void ControlDestroyed(TControl* control) override { ForgetControl(control); }

    std::optional<std::string> Resource(const std::string& name) const override {
        // Read where it lies in the program: one copy, not a file's buffer and then ours.
        QResource r(ToQ(":/" + name));
        if (!r.isValid() || !r.data()) return std::nullopt; // missing, or a folder
        if (r.compressionAlgorithm() != QResource::NoCompression) {
            QByteArray data = r.uncompressedData();
            return std::string(data.constData(), static_cast<size_t>(data.size()));
        }
        return std::string(reinterpret_cast<const char*>(r.data()), static_cast<size_t>(r.size()));
    }

private:
    InputFilter filter_;
    QObject context_;
    QMetaObject::Connection idle_;
};

} // namespace

struct NativeSession::Impl {
    Impl(int& argc, char** argv) : app(argc, argv) {
        InitEmbeddedResources();
        QApplication::setApplicationName("Settings");
        InstallAppIcon();
        InstallAccessibility();
        InstallSystem(&system);
    }
    ~Impl() { InstallSystem(nullptr); }
    QApplication app;
    QtSystem system;
};

NativeSession::NativeSession(int& argc, char** argv) {
    // The glib dispatcher reports "about to block" on every pass; the plain one only when the
    // queue is really empty, which is what the idle event means.
    setenv("QT_NO_GLIB", "1", 1);
    impl_ = std::make_unique<Impl>(argc, argv);
}

NativeSession::~NativeSession() = default;

void StartTestSession(int& argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static NativeSession* session = new NativeSession(argc, argv);
    (void)session;
}

void ProcessPendingEvents() {
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
}

void SendKey(TForm* form, int key) {
    QWidget* target = QApplication::focusWidget();
    QWidget* window = form->HandleAllocated() ? WidgetOf(form->Handle()) : nullptr;
    if (!target || !window || target->window() != window) target = window;
    if (!target) return;
    Qt::Key k = key == TForm::VK_RETURN   ? Qt::Key_Return
                : key == TForm::VK_ESCAPE ? Qt::Key_Escape
                                          : static_cast<Qt::Key>(key);
    QKeyEvent press(QEvent::KeyPress, k, Qt::NoModifier);
    QApplication::sendEvent(target, &press);
}

} // namespace ui::qt
