#include "platform/Timers.h"

#include "platform/Seams.h"
#include "platform/qt/QtSupport.h"

#include <QObject>
#include <QTimerEvent>
#include <algorithm>
#include <map>
#include <vector>

namespace ui {

namespace {
std::vector<TMessageWindow*>& Windows() {
    static std::vector<TMessageWindow*> list;
    return list;
}
} // namespace

class TMessageWindow::Impl : public QObject {
public:
    explicit Impl(WndProcFn fn) : wndProc(std::move(fn)) {}
    WndProcFn wndProc;
    std::map<unsigned, int> timers; // our id -> Qt timer id

    void Deliver(unsigned id) {
        TMessage m{WM_TIMER, id, 0, 0};
        // A tick comes from the event loop: what escapes it is shown, not thrown through Qt.
        qt::Guarded(nullptr, [&] { wndProc(m); });
    }

protected:
    void timerEvent(QTimerEvent* e) override {
        for (auto& [id, qtId] : timers)
            if (qtId == e->timerId()) {
                Deliver(id);
                return;
            }
    }
};

TMessageWindow::TMessageWindow(WndProcFn wndProc)
    : impl_(std::make_unique<Impl>(std::move(wndProc))) {
    Windows().push_back(this);
}

TMessageWindow::~TMessageWindow() {
    std::erase(Windows(), this);
    for (auto& [id, qtId] : impl_->timers)
        impl_->killTimer(qtId);
}

bool TMessageWindow::SetTimer(unsigned id, unsigned milliseconds) {
    KillTimer(id);
    if (seams::Get().refuseTimers) return false;
    int qtId = impl_->startTimer(static_cast<int>(milliseconds), Qt::PreciseTimer);
    if (qtId == 0) return false;
    impl_->timers[id] = qtId;
    return true;
}

void TMessageWindow::KillTimer(unsigned id) {
    auto it = impl_->timers.find(id);
    if (it == impl_->timers.end()) return;
    impl_->killTimer(it->second);
    impl_->timers.erase(it);
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
        std::vector<unsigned> ids;
        for (auto& [id, qtId] : w->impl_->timers)
            ids.push_back(id);
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
