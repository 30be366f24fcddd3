// Forms, the application object, the screen and message boxes.
#pragma once

#include "platform/Controls.h"

#include <any>
#include <optional>
#include <type_traits>

namespace ui {

class TMainMenu;
class TButton;

struct TSizeConstraints {
    int MinWidth = 0, MinHeight = 0, MaxWidth = 0, MaxHeight = 0;
};

class TForm : public TWinControl {
    UI_CLASS(TForm)
public:
    explicit TForm(TComponent* owner);
    ~TForm() override;

    // Outer bounds are Left/Top/Width/Height; the client area is the outer size less the frame
    // of the border style and the menu bar.
    TRect ClientRect() const override;
    void SetClientWidth(int v) override;
    void SetClientHeight(int v) override;
    TPoint ClientOrigin() const override;
    // Frame widths (left + right) and heights (caption + borders) of each border style.
    static TRect FrameMetrics(TFormBorderStyle style);
    // The menu bar's height at 96 pixels per inch; it grows with the form's resolution.
    static constexpr int MenuBarHeight = 20;
    int MenuHeight() const;

    TFormBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TFormBorderStyle s);
    TFormStyle FormStyle() const { return formStyle_; }
    void SetFormStyle(TFormStyle s);
    TPosition Position() const { return position_; }
    void SetPosition(TPosition p) { position_ = p; }
    TWindowState WindowState() const { return windowState_; }
    void SetWindowState(TWindowState s);
    TSizeConstraints Constraints;
    void SetConstraints(const TSizeConstraints& c);
    bool AutoScroll = false;
    // The resolution the form is laid out for. A page made at another resolution than the
    // screen's is scaled to the screen once loaded; windows built in code are laid out at 96
    // and scale themselves the same way.
    int PixelsPerInch = 96;
    int TextHeight = 13;
    void ScaleToScreen();
    // A length laid out at 96 pixels per inch, at the form's resolution.
    int ScalePixels(int pixelsAt96) const { return MulDiv(pixelsAt96, PixelsPerInch, 96); }
    void ChangeScale(int m, int d) override;

    TMainMenu* Menu() const { return menu_; }
    void SetMenu(TMainMenu* m);
    // Rebuilds the native menu bar after the menu changed, or updates one entry in place.
    void MenuChanged();
    void MenuItemChanged(TMenuItem* item);

    void SetAutoSize(bool v) override;
    // A page that switches auto-size on gets it applied once the page is loaded.
    void Loaded() override;
    // The size constraints hold for every way of setting the bounds.
    void SetBounds(int left, int top, int width, int height) override;
    // A shown form that takes the focus becomes the active window.
    void SetFocus() override;

    void SetVisible(bool v) override;
    void Close();
    void Release();
    bool Active() const;
    TWinControl* ActiveControl() const { return activeControl_; }
    void SetActiveControl(TWinControl* c);
    // Enter presses the default button unless the focused control takes Enter itself; Esc
    // presses the cancel button. Returns whether the key was used.
    bool DialogKey(int key);
    static constexpr int VK_RETURN = 0x0D;
    static constexpr int VK_ESCAPE = 0x1B;

    TNotifyEvent OnCreate;
    TNotifyEvent OnActivate;
    TNotifyEvent OnDeactivate;
    TCloseEvent OnClose;
    TNotifyEvent OnShow;
    TNotifyEvent OnHide;

    void WndProc(TMessage& m) override;
    // Registered page handlers, bound by name when a page definition is loaded.
    const TNotifyEvent* FindHandler(const std::string& name) const;
    void RegisterHandler(const std::string& name, TNotifyEvent handler);
    // Page handlers of the other event types, each kept as its event type, which the caller
    // names: RegisterTypedHandler<TPCIEvent>("SetSupGetCardString", ...).
    template <class E>
    void RegisterTypedHandler(const std::string& name, std::type_identity_t<E> handler) {
        typedHandlers_.emplace_back(name, std::any(std::move(handler)));
    }
    const std::any* FindTypedHandler(const std::string& name) const;

    // Runs the create event, as after loading a page definition.
    void DoCreate();
    // The peer: a top-level window.
    IFormPeer* FormPeer() const { return PeerAs<IFormPeer>(); }
    // The outer size as the screen shows it: the window manager's frame once the window is
    // shown and has one, otherwise the outer bounds from the fixed frame metrics.
    int ShownWidth() const;
    int ShownHeight() const;
    // The outer rectangle on the screen in the same sense.
    TRect ShownRect() const;
    // Called by the window when the system moved or resized it, changed its state (the user
    // maximised or restored it), or asked to close it.
    void PeerMoved(int left, int top);
    void PeerFrameResized(int clientWidth, int clientHeight);
    void PeerStateChanged(TWindowState state);
    void PeerCloseRequested();
    void PeerActivated(bool active);
    bool FirstPaintDone() const { return firstPaint_; }
    void NotePainted();

protected:
    std::unique_ptr<IControlPeer> CreatePeer(IControlPeer* parentContainer) override;
    void InitPeer() override;
    void BoundsChanged() override;
    void SyncPeerGeometry() override;
    void AdjustSize() override;
    // The client area is scaled; the frame around it stays the system's.
    void ScaleBounds(int m, int d) override;
    void CaptionChanged() override;
    void DoShow();
    void DoHide();
    void PlaceForShow();
    void ApplyWindowFlags();
    void ApplySizeLimits();
    void FitWorkArea();

private:
    TFormBorderStyle borderStyle_ = TFormBorderStyle::bsSizeable;
    TFormStyle formStyle_ = TFormStyle::fsNormal;
    TPosition position_ = TPosition::poDesigned;
    TWindowState windowState_ = TWindowState::wsNormal;
    TMainMenu* menu_ = nullptr;
    TWinControl* activeControl_ = nullptr;
    std::vector<std::pair<std::string, TNotifyEvent>> handlers_;
    std::vector<std::pair<std::string, std::any>> typedHandlers_;
    bool placed_ = false;
    bool firstPaint_ = false;
    bool syncingFromPeer_ = false;
    // Lives as long as the form: a deferred release finds out whether the form is still there.
    std::shared_ptr<int> alive_ = std::make_shared<int>(0);

    friend class TApplication;

protected:
    void Notification(TComponent* c, bool removing) override;
};

namespace detail {
void ControlGone(TControl* c);
TControl* MouseCapture();
void SetMouseCapture(TControl* c);
} // namespace detail

class TApplication : public TComponent {
    UI_CLASS(TApplication)
public:
    TApplication();
    ~TApplication() override;

    // Creates a form owned by the application; the first one becomes the main form.
    template <class T> T* CreateForm() {
        T* f = new T(this);
        if (!mainForm_) mainForm_ = f;
        return f;
    }
    TForm* MainForm() const { return mainForm_; }
    void SetMainForm(TForm* f) { mainForm_ = f; }

    // Shows the main form and processes messages until Terminate.
    void Run();
    void Terminate();
    bool Terminated() const { return terminated_; }
    void ProcessMessages();
    // Runs `fn` later from the message loop, like a posted message; what escapes it goes to the
    // error box. Dropped when the application is gone by then.
    void QueueAsyncCall(std::function<void()> fn);

    std::string Title = "Settings";
    TIdleEvent OnIdle;
    // Raised once, after the main window's first paint (used to measure start-up).
    TNotifyEvent OnFirstFrame;
    // Raised when the message queue runs empty, from the first empty queue after the main
    // window's first paint on.
    void DoIdle();

    // The standard error box; the program goes on.
    void HandleException(TObject* sender, const std::exception& e);
    // A modal message box; returns the button pressed (IDOK, IDYES, ...).
    int MessageBox(const std::string& text, const std::string& caption, unsigned flags);

    // Forms in creation order, and the visible ones from bottom to top.
    std::vector<TForm*> Forms() const;
    std::vector<TForm*> ZOrder() const;
    void BringFormToFront(TForm* f);
    TForm* ActiveForm() const { return activeForm_; }
    // Makes `f` (or none) the active form at once: the record of the active form and of the
    // stacking, WM_ACTIVATE to the form losing and the form gaining activation, then their
    // OnDeactivate and OnActivate.
    void ActivateForm(TForm* f);
    // The window system reports a change of the active window.
    void NativeActivation(TForm* f, bool active);
    // A mouse button or key went down: what the window system says about activation from now
    // on comes from the user.
    void UserInput() { awaitedActivation_ = nullptr; }

    // Mouse tracking: finds the control under the cursor and sends leave / enter on change.
    void TrackMouse();
    TControl* MouseControl() const { return mouseControl_; }
    // The control under a screen point for mouse tracking: while a drop-down list or menu is
    // open it belongs to the control or window that opened it.
    TControl* TrackingTarget(TPoint p) const;
    // The topmost visible control at a screen point across every visible form.
    TControl* FindControlAtScreen(TPoint p) const;

protected:
    void Notification(TComponent* c, bool removing) override;

private:
    friend class TForm;
    friend void detail::ControlGone(TControl*);
    TForm* mainForm_ = nullptr;
    TForm* activeForm_ = nullptr;
    TControl* mouseControl_ = nullptr;
    std::vector<TForm*> zorder_;
    bool terminated_ = false;
    bool inIdle_ = false;
    bool tracking_ = false;
    bool retrack_ = false;
    // The form this layer asked the window system to activate, until the system confirms it;
    // reports of other windows in between are stale.
    TForm* awaitedActivation_ = nullptr;
    // Bumped per application, so that calls queued for an earlier one are dropped.
    uint64_t generation_ = 0;
};

// Runs code that came in from the native side (input, paint, timers, posted calls); an escaping
// exception goes to the application's central handler instead of unwinding further.
void Guarded(TObject* sender, const std::function<void()>& fn);

class TScreen {
public:
    int Width() const;
    int Height() const;
    // The screen less the task bar.
    TRect WorkArea() const;
    TPoint CursorPos() const;
    int PixelsPerInch() const;
};

extern TApplication* Application;
extern TScreen* Screen;

} // namespace ui
