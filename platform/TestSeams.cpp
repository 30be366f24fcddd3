#include "platform/TestSeams.h"

#include "platform/Forms.h"
#include "platform/Timers.h"
#include "platform/qt/Peers.h"
#include "platform/qt/QtSupport.h"

#include <QApplication>
#include <QKeyEvent>
#include <cstdlib>

namespace ui::testing {

void StartTestProcess(int& argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("QT_NO_GLIB", "1", 1);
    static QApplication* app = new QApplication(argc, argv);
    (void)app;
}

void InitTestApplication() {
    if (!Application) new TApplication();
    seams::Get().answerBoxes = true;
}

void DoneTestApplication() {
    delete Application;
    seams::Get() = seams::State{};
}

void SetCursorPos(int x, int y) {
    seams::Get().cursor = TPoint{x, y};
}
void ClearCursorPos() {
    seams::Get().cursor.reset();
}
void SetScreenSize(int width, int height) {
    seams::Get().screen = std::make_pair(width, height);
}
void ClearScreenSize() {
    seams::Get().screen.reset();
}

void AnswerMessageBoxes(seams::MessageBoxResponder responder) {
    seams::Get().answerBoxes = true;
    seams::Get().responder = std::move(responder);
}

const std::vector<MessageBoxRecord>& MessageBoxes() {
    return seams::Get().boxes;
}
void ClearMessageBoxes() {
    seams::Get().boxes.clear();
}

void RefuseTimers(bool refuse) {
    seams::Get().refuseTimers = refuse;
}
int DeliverTimerTicks() {
    return TMessageWindow::DeliverAllTicks();
}
bool AnyTimerRunning() {
    return TMessageWindow::AnyRunning();
}

void ProcessPendingMessages() {
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
}

void RunIdle() {
    // As from the message loop: what escapes the idle handler goes to the central handler.
    if (Application) qt::Guarded(Application, [] { Application->DoIdle(); });
}

void PressKey(TForm* form, int key) {
    QWidget* target = QApplication::focusWidget();
    if (!target || !form->HandleAllocated() || target->window() != form->Handle())
        target = form->Handle();
    Qt::Key k = key == TForm::VK_RETURN   ? Qt::Key_Return
                : key == TForm::VK_ESCAPE ? Qt::Key_Escape
                                          : static_cast<Qt::Key>(key);
    QKeyEvent press(QEvent::KeyPress, k, Qt::NoModifier);
    QApplication::sendEvent(target, &press);
}

} // namespace ui::testing
