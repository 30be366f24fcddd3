// The seam between the component layer and the native windows that show it. Component classes
// decide; a peer shows what it is told and reports input back to its control. Nothing here names
// a type of the native toolkit.
#pragma once

#include "platform/Classes.h"

#include <memory>
#include <string>
#include <vector>

namespace rtf {
struct Document;
}

namespace ui {

class TWinControl;
class TForm;
class TMainMenu;
class TMenuItem;

// A block of 32-bit pixels (bytes blue, green, red, unused), not owned.
struct TSurface {
    uint8_t* bits = nullptr;
    int strideBytes = 0;
    int width = 0;
    int height = 0;
    // Device pixels a pixel of the surface becomes on the screen, when the toolkit enlarges it.
    int deviceScale = 1;
    bool Empty() const { return !bits || width <= 0 || height <= 0; }
};

// What kind of native control shows a windowed control: one that the layer paints, or a
// standard control of the toolkit.
enum class TPeerKind { Plain, Button, Radio, Combo, Memo, Rich };

// A native window or widget showing one windowed control.
class IControlPeer {
public:
    virtual ~IControlPeer() = default;
    // The control is going away: the peer reports nothing more.
    virtual void Detach() = 0;
    // Bounds in the parent's client coordinates (for a form: its client area on the screen).
    virtual void SetGeometry(int left, int top, int width, int height) = 0;
    virtual void SetVisible(bool visible) = 0;
    virtual bool IsVisible() const = 0;
    // Re-parents the peer into `container` (a parent's child container), or to none.
    virtual void SetParentPeer(IControlPeer* container) = 0;
    // Where children's peers live: the peer itself, or a form's client area.
    virtual IControlPeer* ChildContainer() { return this; }
    // Schedules a paint of the whole control, or paints it now.
    virtual void Invalidate() = 0;
    virtual void Repaint() = 0;
    virtual void Raise() = 0;
    virtual void Lower() = 0;
    virtual void SetFont(const TFont& font) = 0;
    virtual void SetEnabled(bool enabled) = 0;
    virtual void SetFocus() = 0;
    virtual bool HasFocus() const = 0;
    // Tab moves from this peer to `next`.
    virtual void SetTabNext(IControlPeer* next) = 0;
};

class IButtonPeer : public virtual IControlPeer {
public:
    virtual void SetText(const std::string& text) = 0;
};

class IRadioPeer : public virtual IControlPeer {
public:
    virtual void SetText(const std::string& text) = 0;
    virtual void SetChecked(bool checked) = 0;
};

class IComboPeer : public virtual IControlPeer {
public:
    virtual void SetItems(const std::vector<std::string>& items, int itemIndex, bool editable) = 0;
    // The drop-down list: opened or closed, and where it is on the screen while open.
    virtual void SetDroppedDown(bool open) = 0;
    virtual TRect DropDownRect() const = 0;
};

struct TMemoLook {
    bool readOnly = false;
    bool vertical = false, horizontal = false; // scroll bars
    bool wordWrap = true;
    TColor color = clWindow;
};

class IMemoPeer : public virtual IControlPeer {
public:
    virtual void SetLook(const TMemoLook& look) = 0;
    virtual void SetLines(const std::vector<std::string>& lines) = 0;
};

class IRichPeer : public virtual IControlPeer {
public:
    virtual void SetLook(const TMemoLook& look) = 0;
    // Shows a parsed document; runs without a font name use `defaultFont`.
    // Point sizes of the document are shown at `pixelsPerInch`.
    virtual void SetDocument(const ::rtf::Document& doc, const TFont& defaultFont,
                             int pixelsPerInch) = 0;
};

enum class TPeerWindowState { Normal, Minimized, Maximized };

struct TWindowLook {
    TFormBorderStyle border = TFormBorderStyle::bsSizeable;
    bool stayOnTop = false;
};

// A form's top-level window: a frame from the window manager, an optional menu bar and the
// client area where the form and its children paint.
class IFormPeer : public virtual IControlPeer {
public:
    virtual void SetTitle(const std::string& title) = 0;
    virtual void SetLook(const TWindowLook& look) = 0;
    // Client size plus menu bar, at the client area's screen position less the menu bar.
    virtual void Place(int left, int top, int clientWidth, int clientHeightWithMenu) = 0;
    // Fixed size for a border that cannot be resized; otherwise the smallest client size.
    virtual void SetSizeLimits(bool fixed, int minClientWidth, int minClientHeight) = 0;
    virtual void ShowState(TPeerWindowState state) = 0;
    // The menu bar shows `menu` (or none); MenuChanged rebuilds it after structural changes,
    // MenuItemChanged updates one entry in place (caption, check mark, enabled).
    virtual void SetMenu(TMainMenu* menu, int height) = 0;
    virtual void MenuChanged() = 0;
    virtual void MenuItemChanged(TMenuItem* item) = 0;
    // Raises and activates the window.
    virtual void Activate() = 0;
    // Screen position of the client area's top-left corner.
    virtual TPoint ClientOrigin() const = 0;
    // The window in screen coordinates: with the window manager's frame when it has one (then
    // HasFrame), else the menu bar and client area alone.
    virtual TRect FrameRect() const = 0;
    virtual bool HasFrame() const = 0;
};

} // namespace ui
