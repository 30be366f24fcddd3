#include "platform/Forms.h"

#include "platform/StdCtrls.h"
#include "platform/System.h"

#include <algorithm>

namespace ui {

TApplication* Application = nullptr;
static TScreen screenInstance;
TScreen* Screen = &screenInstance;

namespace {
std::vector<TForm*> allForms;
TControl* captureControl = nullptr;
int defaultPlacement = 0;
} // namespace

uint64_t applicationGeneration = 0;

void Guarded(TObject* sender, const std::function<void()>& fn) {
    try {
        fn();
    } catch (const std::exception& e) {
        if (Application) Application->HandleException(sender, e);
    } catch (...) {
        if (Application) Application->HandleException(sender, Exception("Unknown error"));
    }
}

void detail::ControlGone(TControl* c) {
    if (captureControl == c) captureControl = nullptr;
    if (Application) {
        if (Application->mouseControl_ == c) Application->mouseControl_ = nullptr;
        if (Application->activeForm_ == c) Application->activeForm_ = nullptr;
        if (Application->awaitedActivation_ == c) Application->awaitedActivation_ = nullptr;
        if (Application->mainForm_ == c) Application->mainForm_ = nullptr;
        std::erase_if(Application->zorder_,
                      [c](TForm* f) { return static_cast<TControl*>(f) == c; });
    }
}

TControl* detail::MouseCapture() {
    return captureControl;
}
void detail::SetMouseCapture(TControl* c) {
    captureControl = c;
}

// ---------------------------------------------------------------- form

TForm::TForm(TComponent* owner) : TWinControl(owner) {
    visible_ = false;
    parentFont_ = false;
    allForms.push_back(this);
    SetBoundsInternal(0, 0, 320, 240);
}

TForm::~TForm() {
    BeginDestroy();
    std::erase(allForms, this);
    if (Application) {
        if (Application->activeForm_ == this) Application->activeForm_ = nullptr;
        if (Application->awaitedActivation_ == this) Application->awaitedActivation_ = nullptr;
        std::erase(Application->zorder_, this);
        if (Application->mainForm_ == this) Application->mainForm_ = nullptr;
    }
    // Children and their peers go before the window that holds them.
    while (!controls_.empty())
        delete controls_.back();
    DestroyPeer();
}

TRect TForm::FrameMetrics(TFormBorderStyle style) {
    // left, caption + top border, right, bottom
    switch (style) {
    case TFormBorderStyle::bsNone:
        return {0, 0, 0, 0};
    case TFormBorderStyle::bsSingle:
    case TFormBorderStyle::bsDialog:
        return {3, 26, 3, 3};
    case TFormBorderStyle::bsSizeable:
        return {4, 27, 4, 4};
    case TFormBorderStyle::bsToolWindow:
        return {3, 20, 3, 3};
    case TFormBorderStyle::bsSizeToolWin:
        return {4, 21, 4, 4};
    }
    return {};
}

int TForm::ShownWidth() const {
    if (IFormPeer* p = FormPeer(); p && p->IsVisible() && p->HasFrame())
        return p->FrameRect().Width();
    return width_;
}

int TForm::ShownHeight() const {
    if (IFormPeer* p = FormPeer(); p && p->IsVisible() && p->HasFrame())
        return p->FrameRect().Height();
    return height_;
}

TRect TForm::ShownRect() const {
    if (IFormPeer* p = FormPeer(); p && p->IsVisible() && p->HasFrame()) return p->FrameRect();
    return BoundsRect();
}

int TForm::MenuHeight() const {
    return menu_ ? ScalePixels(MenuBarHeight) : 0;
}

void TForm::ScaleToScreen() {
    int ppi = Screen ? Screen->PixelsPerInch() : 96;
    if (ppi <= 0 || PixelsPerInch <= 0 || ppi == PixelsPerInch) return;
    ScaleBy(ppi, PixelsPerInch);
}

void TForm::ChangeScale(int m, int d) {
    if (m == d || d == 0) return;
    auto scale = [m, d](int v) { return MulDiv(v, m, d); };
    Constraints = {scale(Constraints.MinWidth), scale(Constraints.MinHeight),
                   scale(Constraints.MaxWidth), scale(Constraints.MaxHeight)};
    TextHeight = scale(TextHeight);
    TWinControl::ChangeScale(m, d);
    ApplySizeLimits();
}

void TForm::ScaleBounds(int m, int d) {
    const int cw = ClientWidth(), ch = ClientHeight();
    PixelsPerInch = MulDiv(PixelsPerInch, m, d);
    TRect fm = FrameMetrics(borderStyle_);
    SetBoundsInternal(left_, top_, MulDiv(cw, m, d) + fm.Left + fm.Right,
                      MulDiv(ch, m, d) + fm.Top + fm.Bottom + MenuHeight());
    if (IFormPeer* p = FormPeer()) p->SetMenu(menu_, MenuHeight());
}

TRect TForm::ClientRect() const {
    TRect fm = FrameMetrics(borderStyle_);
    return {0, 0, std::max(0, width_ - fm.Left - fm.Right),
            std::max(0, height_ - fm.Top - fm.Bottom - MenuHeight())};
}

void TForm::SetClientWidth(int v) {
    TRect fm = FrameMetrics(borderStyle_);
    SetWidth(v + fm.Left + fm.Right);
}

void TForm::SetClientHeight(int v) {
    TRect fm = FrameMetrics(borderStyle_);
    SetHeight(v + fm.Top + fm.Bottom + MenuHeight());
}

TPoint TForm::ClientOrigin() const {
    if (IFormPeer* p = FormPeer(); p && p->IsVisible()) return p->ClientOrigin();
    TRect fm = FrameMetrics(borderStyle_);
    return {left_ + fm.Left, top_ + fm.Top + MenuHeight()};
}

void TForm::SetBorderStyle(TFormBorderStyle s) {
    if (s == borderStyle_) return;
    // The client area keeps its size; the frame changes around it.
    int cw = ClientWidth(), ch = ClientHeight();
    borderStyle_ = s;
    TRect fm = FrameMetrics(s);
    SetBoundsInternal(left_, top_, cw + fm.Left + fm.Right, ch + fm.Top + fm.Bottom + MenuHeight());
    ApplyWindowFlags();
}

void TForm::SetFormStyle(TFormStyle s) {
    if (s == formStyle_) return;
    formStyle_ = s;
    ApplyWindowFlags();
}

void TForm::SetWindowState(TWindowState s) {
    if (s == windowState_) return;
    windowState_ = s;
    if (peer_ && visible_) {
        if (s == TWindowState::wsNormal) FitWorkArea();
        FormPeer()->ShowState(s == TWindowState::wsMaximized   ? TPeerWindowState::Maximized
                              : s == TWindowState::wsMinimized ? TPeerWindowState::Minimized
                                                               : TPeerWindowState::Normal);
    }
}

void TForm::SetConstraints(const TSizeConstraints& c) {
    Constraints = c;
    ApplySizeLimits();
}

void TForm::SetMenu(TMainMenu* m) {
    if (m == menu_) return;
    menu_ = m;
    if (m) FreeNotification(m);
    if (IFormPeer* p = FormPeer()) p->SetMenu(menu_, MenuHeight());
    CheckClientResize();
}

void TForm::MenuChanged() {
    if (IFormPeer* p = FormPeer()) p->MenuChanged();
}

void TForm::MenuItemChanged(TMenuItem* item) {
    if (IFormPeer* p = FormPeer()) p->MenuItemChanged(item);
}

void TForm::Notification(TComponent* c, bool removing) {
    TWinControl::Notification(c, removing);
    if (!removing) return;
    if (c == menu_) {
        menu_ = nullptr;
        if (IFormPeer* p = FormPeer(); p && !IsDestroying()) p->SetMenu(nullptr, 0);
    }
    if (c == activeControl_) activeControl_ = nullptr;
}

std::unique_ptr<IControlPeer> TForm::CreatePeer(IControlPeer*) {
    return System().CreateFormPeer(this);
}

void TForm::ApplyWindowFlags() {
    if (IFormPeer* p = FormPeer())
        p->SetLook({borderStyle_, formStyle_ == TFormStyle::fsStayOnTop});
}

void TForm::ApplySizeLimits() {
    IFormPeer* p = FormPeer();
    if (!p) return;
    bool sizeable = borderStyle_ == TFormBorderStyle::bsSizeable ||
                    borderStyle_ == TFormBorderStyle::bsSizeToolWin;
    TRect fm = FrameMetrics(borderStyle_);
    int frameW = fm.Left + fm.Right, frameH = fm.Top + fm.Bottom;
    if (!sizeable) {
        p->SetSizeLimits(true, ClientWidth(), ClientHeight() + MenuHeight());
    } else {
        int minW = Constraints.MinWidth > 0 ? std::max(0, Constraints.MinWidth - frameW) : 0;
        int minH = Constraints.MinHeight > 0 ? std::max(0, Constraints.MinHeight - frameH) : 0;
        p->SetSizeLimits(false, minW, minH);
    }
}

void TForm::InitPeer() {
    IFormPeer* p = FormPeer();
    p->SetTitle(caption_);
    ApplyWindowFlags();
    p->SetMenu(menu_, MenuHeight());
    ApplySizeLimits();
    SyncPeerGeometry();
}

void TForm::BoundsChanged() {
    if (!syncingFromPeer_) SyncPeerGeometry();
    CheckClientResize();
}

void TForm::SyncPeerGeometry() {
    IFormPeer* p = FormPeer();
    if (!p) return;
    if (windowState_ != TWindowState::wsNormal && p->IsVisible()) return;
    p->Place(left_, top_, ClientWidth(), ClientHeight() + MenuHeight());
}

void TForm::CaptionChanged() {
    if (IFormPeer* p = FormPeer()) p->SetTitle(caption_);
}

void TForm::PeerMoved(int left, int top) {
    if (left == left_ && top == top_) return;
    syncingFromPeer_ = true;
    left_ = left;
    top_ = top;
    syncingFromPeer_ = false;
}

void TForm::PeerFrameResized(int clientWidth, int clientHeight) {
    if (clientWidth == ClientWidth() && clientHeight == ClientHeight()) return;
    syncingFromPeer_ = true;
    width_ += clientWidth - ClientWidth();
    height_ += clientHeight - ClientHeight();
    CheckClientResize();
    syncingFromPeer_ = false;
}

void TForm::PeerStateChanged(TWindowState state) {
    if (state == windowState_) return;
    windowState_ = state;
    // Restored by the user: a client-aligned window fits the work area again.
    if (state == TWindowState::wsNormal) FitWorkArea();
}

void TForm::FitWorkArea() {
    if (align_ != TAlign::alClient) return;
    TRect work = Screen->WorkArea();
    SetBounds(work.Left, work.Top, work.Width(), work.Height());
}

void TForm::PeerCloseRequested() {
    Close();
}

void TForm::PeerActivated(bool active) {
    if (Application) Application->NativeActivation(this, active);
}

void TForm::SetBounds(int left, int top, int width, int height) {
    if (Constraints.MinWidth > 0) width = std::max(width, Constraints.MinWidth);
    if (Constraints.MinHeight > 0) height = std::max(height, Constraints.MinHeight);
    if (Constraints.MaxWidth > 0) width = std::min(width, Constraints.MaxWidth);
    if (Constraints.MaxHeight > 0) height = std::min(height, Constraints.MaxHeight);
    TWinControl::SetBounds(left, top, width, height);
}

void TForm::SetFocus() {
    if (!visible_) return;
    if (Application) Application->BringFormToFront(this);
    if (activeControl_ && activeControl_->HandleAllocated() && activeControl_->CanFocus())
        activeControl_->Handle()->SetFocus();
}

void TForm::NotePainted() {
    firstPaint_ = true;
    if (Application && Application->MainForm() == this && Application->OnFirstFrame) {
        // Raised once the frame is on its way to the screen, after this paint pass.
        TNotifyEvent handler = Application->OnFirstFrame;
        Application->QueueAsyncCall([handler] { handler(Application); });
    }
}

void TForm::SetAutoSize(bool v) {
    if (v == autoSize_) return;
    autoSize_ = v;
    if (v) AdjustSize();
}

void TForm::Loaded() {
    TWinControl::Loaded();
    if (autoSize_) AdjustSize();
}

void TForm::AdjustSize() {
    if (!autoSize_ || IsLoading()) return;
    // Fit the client area to the visible children and move them so that their bounding box
    // starts at the client area's top-left corner.
    bool any = false;
    TRect box;
    for (TControl* c : controls_) {
        if (!c->Visible()) continue;
        TRect b = c->BoundsRect();
        if (!any) {
            box = b;
            any = true;
        } else {
            box = {std::min(box.Left, b.Left), std::min(box.Top, b.Top),
                   std::max(box.Right, b.Right), std::max(box.Bottom, b.Bottom)};
        }
    }
    if (!any) return;
    DisableAlign();
    if (box.Left != 0 || box.Top != 0)
        for (TControl* c : controls_)
            c->SetBoundsInternal(c->Left() - box.Left, c->Top() - box.Top, c->Width(), c->Height());
    // The children are where they belong now: the form's new size must not move them again by
    // their anchors. Their rules are taken anew from this layout below.
    for (TControl* c : controls_)
        c->anchorRulesValid_ = false;
    TRect fm = FrameMetrics(borderStyle_);
    SetBoundsInternal(left_, top_, box.Width() + fm.Left + fm.Right,
                      box.Height() + fm.Top + fm.Bottom + MenuHeight());
    for (TControl* c : controls_)
        c->UpdateAnchorRules();
    EnableAlign();
}

void TForm::PlaceForShow() {
    TRect work = Screen->WorkArea();
    int sw = Screen->Width(), sh = Screen->Height();
    switch (position_) {
    case TPosition::poScreenCenter:
    case TPosition::poDesktopCenter:
        SetBounds((sw - width_) / 2, (sh - height_) / 2, width_, height_);
        break;
    case TPosition::poMainFormCenter:
    case TPosition::poOwnerFormCenter: {
        TForm* over =
            position_ == TPosition::poOwnerFormCenter ? dynamic_cast<TForm*>(Owner()) : nullptr;
        if (!over && Application) over = Application->MainForm();
        if (over && over != this) {
            int l = over->Left() + (over->Width() - width_) / 2;
            int t = over->Top() + (over->Height() - height_) / 2;
            // Stay on the screen.
            l = std::clamp(l, work.Left, std::max(work.Left, work.Right - width_));
            t = std::clamp(t, work.Top, std::max(work.Top, work.Bottom - height_));
            SetBounds(l, t, width_, height_);
        } else {
            SetBounds((sw - width_) / 2, (sh - height_) / 2, width_, height_);
        }
        break;
    }
    case TPosition::poDefault:
    case TPosition::poDefaultPosOnly: {
        // The system's default placement cascades new windows from the top-left corner.
        int step = 24 * (defaultPlacement++ % 8);
        SetBounds(work.Left + 40 + step, work.Top + 40 + step, width_, height_);
        break;
    }
    default:
        break;
    }
}

void TForm::SetVisible(bool v) {
    if (v == visible_) {
        if (v && peer_) {
            // Showing a visible window again brings it to the front.
            if (Application) Application->BringFormToFront(this);
        }
        return;
    }
    visible_ = v;
    if (v)
        DoShow();
    else
        DoHide();
}

void TForm::DoShow() {
    Handle();
    if (!placed_) {
        placed_ = true;
        PlaceForShow();
    }
    if (windowState_ == TWindowState::wsNormal) FitWorkArea();
    FormPeer()->ShowState(windowState_ == TWindowState::wsMaximized   ? TPeerWindowState::Maximized
                          : windowState_ == TWindowState::wsMinimized ? TPeerWindowState::Minimized
                                                                      : TPeerWindowState::Normal);
    if (Application) Application->BringFormToFront(this);
    // Focus goes to the active control, or else the first control in tab order that can take it.
    TWinControl* target = activeControl_;
    if (!target) {
        std::function<TWinControl*(TWinControl*)> first = [&](TWinControl* p) -> TWinControl* {
            for (TWinControl* c : p->TabList()) {
                if (!c->Visible() || !c->Enabled()) continue;
                if (c->TabStop) return c;
                if (TWinControl* inner = first(c)) return inner;
            }
            return nullptr;
        };
        target = first(this);
    }
    if (target && target->CanFocus()) {
        activeControl_ = target;
        if (target->HandleAllocated()) target->Handle()->SetFocus();
    }
    if (OnShow) OnShow(this);
}

void TForm::DoHide() {
    if (peer_) peer_->SetVisible(false);
    if (Application) {
        std::erase(Application->zorder_, this);
        if (Application->awaitedActivation_ == this) Application->awaitedActivation_ = nullptr;
        // As the window system does, activation passes to the topmost window left.
        if (Application->activeForm_ == this) {
            auto order = Application->ZOrder();
            TForm* next = order.empty() ? nullptr : order.back();
            if (next)
                Application->BringFormToFront(next);
            else
                Application->ActivateForm(nullptr);
        }
    }
    if (OnHide) OnHide(this);
}

void TForm::Close() {
    TCloseAction action = TCloseAction::caHide;
    if (OnClose) OnClose(this, action);
    if (action == TCloseAction::caNone) return;
    if (Application && Application->MainForm() == this) {
        Application->Terminate();
    } else if (action == TCloseAction::caHide) {
        Hide();
    } else if (action == TCloseAction::caMinimize) {
        SetWindowState(TWindowState::wsMinimized);
    } else {
        Release();
    }
}

void TForm::Release() {
    // Freed once the current message is done, so that the handler that asked can return.
    Hide();
    if (!Application) return;
    std::weak_ptr<int> alive = alive_;
    TForm* self = this;
    Application->QueueAsyncCall([alive, self] {
        if (!alive.expired()) delete self;
    });
}

bool TForm::Active() const {
    return Application && Application->ActiveForm() == this;
}

void TForm::SetActiveControl(TWinControl* c) {
    if (c == activeControl_) return;
    activeControl_ = c;
    if (c) FreeNotification(c);
}

bool TForm::DialogKey(int key) {
    std::function<TButton*(TWinControl*, bool)> find = [&](TWinControl* p,
                                                           bool cancel) -> TButton* {
        for (int i = 0; i < p->ControlCount(); ++i) {
            TControl* c = p->Controls(i);
            if (!c->Visible() || !c->Enabled()) continue;
            if (auto* b = dynamic_cast<TButton*>(c); b && (cancel ? b->Cancel : b->Default))
                return b;
            if (auto* w = dynamic_cast<TWinControl*>(c))
                if (TButton* inner = find(w, cancel)) return inner;
        }
        return nullptr;
    };
    if (key == VK_ESCAPE) {
        if (TButton* b = find(this, true)) {
            b->Click();
            return true;
        }
        return false;
    }
    if (key == VK_RETURN) {
        TWinControl* focused = System().FocusedControl();
        if (focused && focused->ParentForm() == this) {
            if (focused->WantsReturn()) return false;
            if (auto* b = dynamic_cast<TButton*>(focused)) {
                b->Click();
                return true;
            }
        }
        if (TButton* b = find(this, false)) {
            b->Click();
            return true;
        }
    }
    return false;
}

void TForm::WndProc(TMessage& m) {
    if (m.Msg == WM_ACTIVATE) {
        // The default processing: an activated form gives the focus back to its control.
        if ((m.WParam & 0xFFFF) != WA_INACTIVE && activeControl_ &&
            activeControl_->HandleAllocated() && activeControl_->CanFocus())
            activeControl_->Handle()->SetFocus();
        return;
    }
    TWinControl::WndProc(m);
}

const TNotifyEvent* TForm::FindHandler(const std::string& name) const {
    for (const auto& [n, h] : handlers_)
        if (SameText(n, name)) return &h;
    return nullptr;
}

void TForm::RegisterHandler(const std::string& name, TNotifyEvent handler) {
    handlers_.emplace_back(name, std::move(handler));
}

const std::any* TForm::FindTypedHandler(const std::string& name) const {
    for (const auto& [n, h] : typedHandlers_)
        if (SameText(n, name)) return &h;
    return nullptr;
}

void TForm::DoCreate() {
    if (OnCreate) OnCreate(this);
}

// ---------------------------------------------------------------- application

TApplication::TApplication() : TComponent(nullptr), generation_(++applicationGeneration) {
    if (!Application) Application = this;
}

TApplication::~TApplication() {
    BeginDestroy();
    // Forms go first, newest first, while the application is still whole.
    while (ComponentCount() > 0)
        delete Components(ComponentCount() - 1);
    if (Application == this) Application = nullptr;
}

void TApplication::Notification(TComponent* c, bool removing) {
    if (!removing) return;
    if (c == mainForm_) mainForm_ = nullptr;
    if (c == activeForm_) activeForm_ = nullptr;
    std::erase_if(zorder_, [c](TForm* f) { return static_cast<TComponent*>(f) == c; });
}

void TApplication::Run() {
    if (!mainForm_ || terminated_) return;
    mainForm_->Show();
    if (terminated_) return;
    System().RunLoop();
}

void TApplication::Terminate() {
    terminated_ = true;
    if (SystemInstalled()) System().ExitLoop(0);
}

void TApplication::ProcessMessages() {
    System().ProcessMessages();
}

void TApplication::QueueAsyncCall(std::function<void()> fn) {
    uint64_t generation = generation_;
    System().Post([generation, fn = std::move(fn)] {
        if (Application && Application->generation_ == generation) Guarded(Application, fn);
    });
}

void TApplication::DoIdle() {
    if (inIdle_ || !mainForm_ || !mainForm_->FirstPaintDone()) return;
    inIdle_ = true;
    struct Reset {
        bool& flag;
        ~Reset() { flag = false; }
    } reset{inIdle_};
    TrackMouse();
    if (!OnIdle) return;
    bool done = true;
    TIdleEvent handler = OnIdle; // the handler may unhook itself
    handler(this, done);
    if (!done) System().WakeUp();
}

void TApplication::HandleException(TObject*, const std::exception& e) {
    std::string msg = e.what();
    if (!msg.empty() && static_cast<unsigned char>(msg.back()) > '.') msg += '.';
    MessageBox(msg, Title, MB_OK | MB_ICONERROR);
}

int TApplication::MessageBox(const std::string& text, const std::string& caption, unsigned flags) {
    return Hooks().MessageBox(text, caption, flags);
}

std::vector<TForm*> TApplication::Forms() const {
    return allForms;
}

std::vector<TForm*> TApplication::ZOrder() const {
    std::vector<TForm*> out;
    for (TForm* f : zorder_)
        if (f->Visible() && f->FormStyle() != TFormStyle::fsStayOnTop) out.push_back(f);
    for (TForm* f : zorder_)
        if (f->Visible() && f->FormStyle() == TFormStyle::fsStayOnTop) out.push_back(f);
    return out;
}

void TApplication::BringFormToFront(TForm* f) {
    std::erase(zorder_, f);
    zorder_.push_back(f);
    if (!f->Visible()) return;
    ActivateForm(f);
    if (f->HandleAllocated()) {
        awaitedActivation_ = f;
        f->FormPeer()->Activate();
    }
}

void TApplication::ActivateForm(TForm* f) {
    if (f == activeForm_) return;
    TForm* old = activeForm_;
    activeForm_ = f;
    if (f) {
        std::erase(zorder_, f);
        zorder_.push_back(f);
    }
    if (old) {
        old->Perform(WM_ACTIVATE, WA_INACTIVE, reinterpret_cast<LPARAM>(f));
        if (old->OnDeactivate) old->OnDeactivate(old);
    }
    // A handler may have moved activation on already.
    if (f && activeForm_ == f) {
        f->Perform(WM_ACTIVATE, WA_ACTIVE, reinterpret_cast<LPARAM>(old));
        if (f->OnActivate) f->OnActivate(f);
    }
}

void TApplication::NativeActivation(TForm* f, bool active) {
    if (awaitedActivation_) {
        // Reports from before our own request are stale; the awaited one confirms it.
        if (active && f == awaitedActivation_) awaitedActivation_ = nullptr;
        return;
    }
    if (active) {
        if (f->Visible()) ActivateForm(f);
    } else if (f == activeForm_) {
        // Activation went to a window that is not one of our forms.
        ActivateForm(nullptr);
    }
}

TControl* TApplication::FindControlAtScreen(TPoint p) const {
    auto order = ZOrder();
    for (auto it = order.rbegin(); it != order.rend(); ++it) {
        TForm* f = *it;
        if (!f->HandleAllocated() || !f->Handle()->IsVisible()) continue;
        TPoint local = f->ScreenToClient(p);
        TRect client = f->ClientRect();
        if (!client.Contains(local)) {
            // Over the frame, caption or menu bar: the pointer is over the form itself, so
            // that leaving the window that way is leaving the form.
            if (f->FormPeer()->FrameRect().Contains(p)) return f;
            continue;
        }
        TControl* c = f;
        for (;;) {
            auto* w = dynamic_cast<TWinControl*>(c);
            if (!w) return c;
            TControl* child = w->ControlAtPos(local);
            if (!child) return c;
            local.X -= child->Left();
            local.Y -= child->Top();
            c = child;
        }
    }
    return nullptr;
}

TControl* TApplication::TrackingTarget(TPoint p) const {
    // A drop-down list, menu or message box keeps the pointer to itself: inside it the pointer
    // is over the control that opened it; elsewhere nothing changes until it closes.
    TPopupState popup = System().OpenPopup(p);
    if (popup.open) return popup.owner ? popup.owner : mouseControl_;
    return FindControlAtScreen(p);
}

void TApplication::TrackMouse() {
    if (tracking_) {
        // Asked again from inside a leave or enter handler: the outer call looks once more
        // when that handler returns.
        retrack_ = true;
        return;
    }
    tracking_ = true;
    struct Reset {
        bool& flag;
        ~Reset() { flag = false; }
    } reset{tracking_};
    // Each pass settles one change; handlers that keep moving things get a few more passes.
    for (int pass = 0; pass < 8; ++pass) {
        retrack_ = false;
        TControl* target = TrackingTarget(Screen->CursorPos());
        if (target != mouseControl_) {
            TControl* old = mouseControl_;
            mouseControl_ = target;
            if (old) old->Perform(CM_MOUSELEAVE);
            // The leave handler may have hidden, moved or destroyed the new control: it is
            // entered only if it is still the one under the cursor.
            if (target && mouseControl_ == target &&
                TrackingTarget(Screen->CursorPos()) == target) {
                target->Perform(CM_MOUSEENTER);
            } else if (mouseControl_ == target) {
                mouseControl_ = nullptr;
                retrack_ = true;
            }
        }
        if (!retrack_) break;
    }
}

// ---------------------------------------------------------------- screen

int TScreen::Width() const {
    return Hooks().ScreenRect().Width();
}

int TScreen::Height() const {
    return Hooks().ScreenRect().Height();
}

TRect TScreen::WorkArea() const {
    return Hooks().WorkArea();
}

TPoint TScreen::CursorPos() const {
    return Hooks().CursorPos();
}

int TScreen::PixelsPerInch() const {
    return Hooks().PixelsPerInch();
}

} // namespace ui
