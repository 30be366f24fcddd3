// A hidden message window: receives numbered timer ticks as messages on the UI thread.
#pragma once

#include "platform/Types.h"

#include <functional>
#include <memory>

namespace ui {

class TMessageWindow {
public:
    using WndProcFn = std::function<void(TMessage&)>;
    explicit TMessageWindow(WndProcFn wndProc);
    ~TMessageWindow();
    TMessageWindow(const TMessageWindow&) = delete;
    TMessageWindow& operator=(const TMessageWindow&) = delete;

    // Starts (or restarts) timer `id`; false when the system refuses it.
    bool SetTimer(unsigned id, unsigned milliseconds);
    // Stops timer `id`; harmless when it is not running.
    void KillTimer(unsigned id);
    bool TimerRunning(unsigned id) const;
    // Delivers a message synchronously to the window procedure.
    LRESULT Send(unsigned msg, WPARAM wParam = 0, LPARAM lParam = 0);
    // What the system does with a message nobody handled.
    static void DefWindowProc(TMessage& m) { m.Result = 0; }

    // Test seam: one tick of every running timer of every window, at once.
    static int DeliverAllTicks();
    static bool AnyRunning();

private:
    class Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace ui
