#include "platform/Timers.h"

#include "platform/Forms.h"
#include "platform/System.h"

#include <algorithm>
#include <set>
#include <vector>

namespace ui {

namespace {
std::vector<TMessageWindow*>& Windows() {
    static std::vector<TMessageWindow*> list;
    return list;
}
} // namespace

class TMessageWindow::Impl {
public:
    explicit Impl(WndProcFn fn) : wndProc(std::move(fn)) {}
    WndProcFn wndProc;
    std::set<unsigned> timers;
    std::unique_ptr<ITimerHost> host;

    void Deliver(unsigned id) {
        TMessage m{WM_TIMER, id, 0, 0};
        // A tick comes from the event loop: what escapes it is shown, not thrown further.
        Guarded(nullptr, [&] { wndProc(m); });
    }
    ITimerHost& Host() {
        if (!host)
            host = System().CreateTimerHost([this](unsigned id) {
                if (timers.count(id)) Deliver(id);
            });
        return *host;
    }
};

TMessageWindow::TMessageWindow(WndProcFn wndProc)
    : impl_(std::make_unique<Impl>(std::move(wndProc))) {
    Windows().push_back(this);
}

TMessageWindow::~TMessageWindow() {
    std::erase(Windows(), this);
    if (impl_->host)
        for (unsigned id : impl_->timers)
            impl_->host->Stop(id);
}

bool TMessageWindow::SetTimer(unsigned id, unsigned milliseconds) {
    KillTimer(id);
    if (!Hooks().StartTimer(impl_->Host(), id, milliseconds)) return false;
    impl_->timers.insert(id);
    return true;
}

void TMessageWindow::KillTimer(unsigned id) {
    auto it = impl_->timers.find(id);
    if (it == impl_->timers.end()) return;
    impl_->timers.erase(it);
    if (impl_->host) impl_->host->Stop(id);
}

bool TMessageWindow::TimerRunning(unsigned id) const {
    return impl_->timers.count(id) > 0;
}

LRESULT TMessageWindow::Send(unsigned msg, WPARAM wParam, LPARAM lParam) {
    TMessage m{msg, wParam, lParam, 0};
    impl_->wndProc(m);
    return m.Result;
}

int TMessageWindow::DeliverAllTicks() {
    int delivered = 0;
    // A tick may create or destroy windows and timers: work from a snapshot and re-check.
    auto windows = Windows();
    for (TMessageWindow* w : windows) {
        if (std::find(Windows().begin(), Windows().end(), w) == Windows().end()) continue;
        std::vector<unsigned> ids(w->impl_->timers.begin(), w->impl_->timers.end());
        for (unsigned id : ids) {
            if (std::find(Windows().begin(), Windows().end(), w) == Windows().end()) break;
            if (!w->TimerRunning(id)) continue;
            w->impl_->Deliver(id);
            ++delivered;
        }
    }
    return delivered;
}

bool TMessageWindow::AnyRunning() {
    for (TMessageWindow* w : Windows())
        if (!w->impl_->timers.empty()) return true;
    return false;
}

} // namespace ui
