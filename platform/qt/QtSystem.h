// Starting the native toolkit. This header names no toolkit type: the rest of the program calls
// it to bring the native side up and to drive it from tests.
#pragma once

#include <memory>

namespace ui {
class TForm;
}

namespace ui::qt {

// The native side of one program run: the toolkit's application object and the system services
// over it, installed for the component layer while the session lives.
class NativeSession {
public:
    NativeSession(int& argc, char** argv);
    ~NativeSession();
    NativeSession(const NativeSession&) = delete;
    NativeSession& operator=(const NativeSession&) = delete;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// For test processes: an offscreen session that lives until the process ends.
void StartTestSession(int& argc, char** argv);
// Delivers everything queued (posted calls, paints, activation) without waiting.
void ProcessPendingEvents();
// A key press sent to the form's focused control (or the form) as the keyboard would.
void SendKey(TForm* form, int key);

} // namespace ui::qt
