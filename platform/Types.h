// Basic value types shared by the whole platform layer: colours, geometry, enumerations,
// messages, events and the exceptions the layer raises.
#pragma once

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>

namespace ui {

class TObject;

// 0x00BBGGRR; the top bit set names a system colour by index.
using TColor = int32_t;
constexpr TColor clBlack = 0x000000;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clNavy = 0x800000;
constexpr TColor clSystemColor = static_cast<TColor>(0x80000000u);
constexpr TColor clWindow = clSystemColor | 5;
constexpr TColor clWindowText = clSystemColor | 8;
constexpr TColor clBtnFace = clSystemColor | 15;
constexpr TColor clBtnShadow = clSystemColor | 16;
constexpr TColor clBtnText = clSystemColor | 18;
constexpr TColor clBtnHighlight = clSystemColor | 20;
constexpr TColor clNone = 0x1FFFFFFF;

// The real 0x00BBGGRR value of a colour, system colours looked up in the classic palette.
uint32_t ColorToRGB(TColor color);
constexpr int GetRValue(uint32_t c) {
    return c & 0xFF;
}
constexpr int GetGValue(uint32_t c) {
    return (c >> 8) & 0xFF;
}
constexpr int GetBValue(uint32_t c) {
    return (c >> 16) & 0xFF;
}
constexpr uint32_t RGB(int r, int g, int b) {
    return static_cast<uint32_t>(r & 0xFF) | (static_cast<uint32_t>(g & 0xFF) << 8) |
           (static_cast<uint32_t>(b & 0xFF) << 16);
}

struct TPoint {
    int X = 0, Y = 0;
    friend bool operator==(const TPoint&, const TPoint&) = default;
};

// Right and bottom edges are excluded.
struct TRect {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    bool Contains(TPoint p) const {
        return p.X >= Left && p.X < Right && p.Y >= Top && p.Y < Bottom;
    }
    friend bool operator==(const TRect&, const TRect&) = default;
};
inline TRect Bounds(int left, int top, int width, int height) {
    return {left, top, left + width, top + height};
}

// a * b / c rounded half away from zero, as layout arithmetic expects; -1 for c = 0.
inline int MulDiv(int a, int b, int c) {
    if (c == 0) return -1;
    long long n = static_cast<long long>(a) * b, d = c;
    if (d < 0) {
        n = -n;
        d = -d;
    }
    return static_cast<int>(n >= 0 ? (n + d / 2) / d : (n - d / 2) / d);
}

enum class TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };
enum TAnchorKind : uint8_t { akLeft = 1, akTop = 2, akRight = 4, akBottom = 8 };
using TAnchors = uint8_t;
constexpr TAnchors DefaultAnchors = akLeft | akTop;
enum class TAlignment { taLeftJustify, taRightJustify, taCenter };
enum class TTextLayout { tlTop, tlCenter, tlBottom };
enum class TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

enum TFontStyle : uint8_t { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TFontStyles = uint8_t;

enum class TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
enum class TFormStyle { fsNormal, fsStayOnTop };
enum class TBorderStyle { bsNone, bsSingle };
enum class TPosition {
    poDesigned,
    poDefault,
    poDefaultPosOnly,
    poDefaultSizeOnly,
    poScreenCenter,
    poDesktopCenter,
    poMainFormCenter,
    poOwnerFormCenter
};
enum class TWindowState { wsNormal, wsMinimized, wsMaximized };
enum class TCloseAction { caNone, caHide, caFree, caMinimize };
enum class TMouseButton { mbLeft, mbRight, mbMiddle };

// Numbered messages with two parameters and a result.
using WPARAM = uintptr_t;
using LPARAM = intptr_t;
using LRESULT = intptr_t;
struct TMessage {
    unsigned Msg = 0;
    WPARAM WParam = 0;
    LPARAM LParam = 0;
    LRESULT Result = 0;
};

constexpr unsigned WM_ACTIVATE = 0x0006;
constexpr unsigned WM_TIMER = 0x0113;
constexpr unsigned WM_MOUSEMOVE = 0x0200;
constexpr unsigned WM_LBUTTONDOWN = 0x0201;
constexpr unsigned WM_LBUTTONUP = 0x0202;
constexpr unsigned WM_LBUTTONDBLCLK = 0x0203;
constexpr unsigned WM_QUERYNEWPALETTE = 0x030F;
constexpr unsigned WM_USER = 0x0400;
constexpr unsigned CM_BASE = 0xB000;
constexpr unsigned CM_MOUSEENTER = 0xB013;
constexpr unsigned CM_MOUSELEAVE = 0xB014;
constexpr unsigned WA_INACTIVE = 0;
constexpr unsigned WA_ACTIVE = 1;
constexpr unsigned WA_CLICKACTIVE = 2;

// Message-box flags and answers.
constexpr unsigned MB_OK = 0x0;
constexpr unsigned MB_OKCANCEL = 0x1;
constexpr unsigned MB_ABORTRETRYIGNORE = 0x2;
constexpr unsigned MB_YESNOCANCEL = 0x3;
constexpr unsigned MB_YESNO = 0x4;
constexpr unsigned MB_RETRYCANCEL = 0x5;
constexpr unsigned MB_ICONERROR = 0x10;
constexpr unsigned MB_ICONQUESTION = 0x20;
constexpr unsigned MB_ICONWARNING = 0x30;
constexpr unsigned MB_ICONINFORMATION = 0x40;
// Which button is the default (Enter); the first unless one of these says otherwise.
constexpr unsigned MB_DEFBUTTON1 = 0x000;
constexpr unsigned MB_DEFBUTTON2 = 0x100;
constexpr unsigned MB_DEFBUTTON3 = 0x200;
constexpr unsigned MB_SETFOREGROUND = 0x10000;
constexpr unsigned MB_TOPMOST = 0x40000;
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDABORT = 3;
constexpr int IDRETRY = 4;
constexpr int IDIGNORE = 5;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

// An event may be unassigned; callers test it before raising.
using TNotifyEvent = std::function<void(TObject* sender)>;
using TCloseEvent = std::function<void(TObject* sender, TCloseAction& action)>;
using TIdleEvent = std::function<void(TObject* sender, bool& done)>;
using TMouseEvent = std::function<void(TObject* sender, TMouseButton button, int x, int y)>;
using TMouseMoveEvent = std::function<void(TObject* sender, int x, int y)>;

class Exception : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};
class EOutOfResources : public Exception {
public:
    using Exception::Exception;
};
class EPageError : public Exception {
public:
    using Exception::Exception;
};

} // namespace ui
