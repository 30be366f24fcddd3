#include "platform/System.h"

#include <stdexcept>

namespace ui {

namespace {
ISystem* installed = nullptr;
} // namespace

ISystem& System() {
    if (!installed) throw std::logic_error("no native system is installed");
    return *installed;
}

bool SystemInstalled() {
    return installed != nullptr;
}

THooks& Hooks() {
    static THooks hooks;
    return hooks;
}

void InstallSystem(ISystem* system) {
    installed = system;
    ResetHooks();
}

void ResetHooks() {
    THooks& h = Hooks();
    h.CursorPos = [] { return System().CursorPos(); };
    h.ScreenRect = [] { return System().ScreenRect(); };
    h.WorkArea = [] { return System().WorkArea(); };
    h.PixelsPerInch = [] { return System().PixelsPerInch(); };
    h.MessageBox = [](const std::string& text, const std::string& caption, unsigned flags) {
        return System().MessageBox(text, caption, flags);
    };
    h.StartTimer = [](ITimerHost& host, unsigned id, unsigned ms) { return host.Start(id, ms); };
}

} // namespace ui
