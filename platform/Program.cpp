#include "platform/Program.h"

#include <QApplication>
#include <cstdlib>

namespace ui {

int RunProgram(int argc, char** argv, const std::function<void()>& createForms) {
    // The glib dispatcher reports "about to block" on every pass; the plain one only when the
    // queue is really empty, which is what the idle event means.
    setenv("QT_NO_GLIB", "1", 1);
    QApplication qapp(argc, argv);
    QApplication::setApplicationName("Settings");
    auto* app = new TApplication();
    int code = 0;
    try {
        createForms();
        app->Run();
    } catch (const std::exception& e) {
        app->HandleException(app, e);
        code = 1;
    }
    delete app;
    return code;
}

} // namespace ui
