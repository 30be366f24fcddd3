#include "platform/Program.h"

#include "platform/qt/QtSystem.h"

namespace ui {

int RunProgram(int argc, char** argv, const std::function<void()>& createForms) {
    qt::NativeSession session(argc, argv);
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
