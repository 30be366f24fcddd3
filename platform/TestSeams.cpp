#include "platform/TestSeams.h"

#include "platform/Forms.h"
#include "platform/System.h"
#include "platform/Timers.h"
#include "platform/qt/QtSystem.h"

namespace ui::testing {

namespace {
std::vector<MessageBoxRecord>& Boxes() {
    static std::vector<MessageBoxRecord> boxes;
    return boxes;
}

// The answer a person would most likely give: the first button of the box.
int FirstButton(unsigned flags) {
    unsigned type = flags & 0xF;
    return type == MB_YESNO || type == MB_YESNOCANCEL ? IDYES
           : type == MB_RETRYCANCEL                   ? IDRETRY
           : type == MB_ABORTRETRYIGNORE              ? IDABORT
                                                      : IDOK;
}
} // namespace

void StartTestProcess(int& argc, char** argv) {
    qt::StartTestSession(argc, argv);
}

void InitTestApplication() {
    if (!Application) new TApplication();
    AnswerMessageBoxes();
    RefuseTimers(false);
}

void DoneTestApplication() {
    delete Application;
    ResetHooks();
    Boxes().clear();
}

void SetCursorPos(int x, int y) {
    Hooks().CursorPos = [x, y] { return TPoint{x, y}; };
}
void ClearCursorPos() {
    Hooks().CursorPos = [] { return System().CursorPos(); };
}
void SetScreenSize(int width, int height) {
    Hooks().ScreenRect = [width, height] { return TRect{0, 0, width, height}; };
    Hooks().WorkArea = [width, height] { return TRect{0, 0, width, height}; };
}
void ClearScreenSize() {
    Hooks().ScreenRect = [] { return System().ScreenRect(); };
    Hooks().WorkArea = [] { return System().WorkArea(); };
}

void SetPixelsPerInch(int ppi) {
    Hooks().PixelsPerInch = [ppi] { return ppi; };
}
void ClearPixelsPerInch() {
    Hooks().PixelsPerInch = [] { return System().PixelsPerInch(); };
}

void AnswerMessageBoxes(MessageBoxResponder responder) {
    Hooks().MessageBox = [responder = std::move(responder)](
                             const std::string& text, const std::string& caption, unsigned flags) {
        MessageBoxRecord rec{text, caption, flags};
        Boxes().push_back(rec);
        return responder ? responder(rec) : FirstButton(flags);
    };
}

const std::vector<MessageBoxRecord>& MessageBoxes() {
    return Boxes();
}
void ClearMessageBoxes() {
    Boxes().clear();
}

void RefuseTimers(bool refuse) {
    if (refuse)
        Hooks().StartTimer = [](ITimerHost&, unsigned, unsigned) { return false; };
    else
        // Granted, but never ticking by the clock: a slow machine must not let a tick in
        // between a test's steps. Ticks come from DeliverTimerTicks alone.
        Hooks().StartTimer = [](ITimerHost&, unsigned, unsigned) { return true; };
}
int DeliverTimerTicks() {
    return TMessageWindow::DeliverAllTicks();
}
bool AnyTimerRunning() {
    return TMessageWindow::AnyRunning();
}

void ProcessPendingMessages() {
    qt::ProcessPendingEvents();
}

void RunIdle() {
    // As from the message loop: what escapes the idle handler goes to the central handler.
    if (Application) Guarded(Application, [] { Application->DoIdle(); });
}

void PressKey(TForm* form, int key) {
    qt::SendKey(form, key);
}

} // namespace ui::testing
