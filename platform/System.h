// The operating system's services as the component layer sees them: native peers, the message
// loop, the screen, the cursor, message boxes, timers, text measuring and drawing, and the
// program's embedded resources. The native implementation is installed at start; tests replace
// single services through the hooks (platform/TestSeams.h), never through flags in product code.
#pragma once

#include "platform/Peer.h"

#include <functional>
#include <memory>
#include <optional>

namespace ui {

class TControl;

// Runs `fn` for timer ids as they fall due.
class ITimerHost {
public:
    virtual ~ITimerHost() = default;
    virtual bool Start(unsigned id, unsigned milliseconds) = 0;
    virtual void Stop(unsigned id) = 0;
};

// Text drawing on one surface; kept by a canvas while its surface stays the same.
class ITextPainter {
public:
    virtual ~ITextPainter() = default;
    // Clip and origin in surface coordinates.
    virtual void TextOut(const TRect& clip, TPoint origin, const TFont& font, int x, int y,
                         const std::string& text) = 0;
    virtual void TextRect(const TRect& clip, TPoint origin, const TFont& font, const TRect& box,
                          const std::string& text, TAlignment alignment, TTextLayout layout,
                          bool wordWrap) = 0;
    // On a surface the toolkit enlarges: `pixels`, the picture of `dest` at the surface's device
    // scale, shown over it at device resolution.
    virtual void DevicePicture(const TRect& clip, TPoint origin, const TRect& dest,
                               TSurface pixels) = 0;
};

struct TPopupState {
    bool open = false;         // a drop-down list, menu or modal box is open
    TControl* owner = nullptr; // the control that opened it, when the point lies inside it
};

class ISystem {
public:
    virtual ~ISystem() = default;

    // Peers. A control's peer reports to the control until Detach.
    virtual std::unique_ptr<IControlPeer> CreatePeer(TWinControl* control, TPeerKind kind,
                                                     IControlPeer* parentContainer) = 0;
    virtual std::unique_ptr<IFormPeer> CreateFormPeer(TForm* form) = 0;
    // The control whose peer has the keyboard focus, if it is one of ours.
    virtual TWinControl* FocusedControl() const = 0;

    // The message loop.
    virtual void RunLoop() = 0;
    virtual void ExitLoop(int code) = 0;
    virtual void ProcessMessages() = 0;
    // Runs `fn` later from the loop, like a posted message.
    virtual void Post(std::function<void()> fn) = 0;
    // Wakes the loop once more so that it reaches idle again.
    virtual void WakeUp() = 0;

    // The native screen.
    virtual TRect ScreenRect() const = 0;
    virtual TRect WorkArea() const = 0;
    virtual TPoint CursorPos() const = 0;
    virtual int DisplayDepth() const = 0;
    // Logical pixels per inch of the primary screen: 96 unless the desktop asks for larger text
    // without the toolkit scaling the pixels itself.
    virtual int PixelsPerInch() const = 0;
    virtual int MessageBox(const std::string& text, const std::string& caption, unsigned flags) = 0;
    virtual TPopupState OpenPopup(TPoint screenPoint) const = 0;

    virtual std::unique_ptr<ITimerHost> CreateTimerHost(std::function<void(unsigned id)> tick) = 0;

    // Text.
    virtual int TextWidth(const TFont& font, const std::string& text) const = 0;
    virtual int TextHeight(const TFont& font) const = 0;
    // Height of `text` wrapped at `width`.
    virtual int WrappedTextHeight(const TFont& font, const std::string& text, int width) const = 0;
    virtual std::unique_ptr<ITextPainter> CreateTextPainter(TSurface surface) = 0;

    // Screen readers: a control's states or value changed; a control is going away.
    virtual void AccessibleChanged(TControl* control, bool valueChanged) = 0;
    virtual void ControlDestroyed(TControl* control) = 0;

    // An embedded resource by name, or none.
    virtual std::optional<std::string> Resource(const std::string& name) const = 0;
};

// The installed system; there is always one while an application exists.
ISystem& System();
bool SystemInstalled();
void InstallSystem(ISystem* system);

// Services that tests replace. Each starts as the installed system's own.
struct THooks {
    std::function<TPoint()> CursorPos;
    std::function<TRect()> ScreenRect;
    std::function<TRect()> WorkArea;
    std::function<int()> PixelsPerInch;
    std::function<int(const std::string& text, const std::string& caption, unsigned flags)>
        MessageBox;
    std::function<bool(ITimerHost& host, unsigned id, unsigned milliseconds)> StartTimer;
};
THooks& Hooks();
// Sets every hook back to the installed system's service.
void ResetHooks();

} // namespace ui
