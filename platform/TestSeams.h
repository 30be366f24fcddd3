// Seams through which tests make the layer deterministic: cursor, screen, message-box answers,
// timer ticks and the message loop, without sleeps.
#pragma once

#include "platform/Types.h"

#include <functional>
#include <string>
#include <vector>

namespace ui {
class TForm;
}

namespace ui::testing {

struct MessageBoxRecord {
    std::string text;
    std::string caption;
    unsigned flags = 0;
};
using MessageBoxResponder = std::function<int(const MessageBoxRecord&)>;

// Starts Qt (offscreen) for a test process; call once from the test main.
void StartTestProcess(int& argc, char** argv);
// Creates the application object for an in-process test run; message boxes are answered (as
// by AnswerMessageBoxes) from then on.
void InitTestApplication();
void DoneTestApplication();

void SetCursorPos(int x, int y);
void ClearCursorPos();
void SetScreenSize(int width, int height);
void ClearScreenSize();
void SetPixelsPerInch(int ppi);
void ClearPixelsPerInch();

// Answers every message box with `responder` (or IDOK without one) and records it.
void AnswerMessageBoxes(MessageBoxResponder responder = nullptr);
const std::vector<MessageBoxRecord>& MessageBoxes();
void ClearMessageBoxes();

// In a test application timers are granted but tick only through DeliverTimerTicks; while
// refusing, every request for a timer is refused.
void RefuseTimers(bool refuse);
// Delivers one tick of every running timer at once; returns how many were delivered.
int DeliverTimerTicks();
bool AnyTimerRunning();

// Processes everything queued (posted events, paints) without waiting.
void ProcessPendingMessages();
// Raises the application's idle processing as when the queue runs empty.
void RunIdle();

// Sends a key press to a form as the keyboard would (Enter, Esc, ...).
void PressKey(TForm* form, int key);

} // namespace ui::testing
