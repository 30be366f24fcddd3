#include "controls/MemoWindow.h"

#include "platform/ChildControls.h"

namespace ui {

TMemoAndClose AddMemoAndClose(TForm* f, const std::string& memoName, int closeLeft,
                              TNotifyEvent closeClick) {
    TMemoAndClose parts;
    parts.memo = Add<TMemo>(f, f, memoName, Bounds(8, 8, 305, 89));
    parts.memo->SetReadOnly(true);
    parts.memo->SetScrollBars(TScrollStyle::ssVertical);
    parts.close = Add<TButton>(f, f, "CloseButton", Bounds(closeLeft, 105, 73, 25), "Close");
    parts.close->Cancel = true;
    parts.close->SetTabOrder(0);
    parts.close->OnClick = std::move(closeClick);
    return parts;
}

void FitMemoAndClose(TForm* f, const TMemoAndClose& parts, bool centreClose) {
    f->SetAutoSize(true);
    f->SetAutoSize(false);
    parts.memo->SetAnchors(akLeft | akTop | akRight | akBottom);
    if (centreClose) parts.close->SetLeft((f->ClientWidth() - parts.close->Width()) / 2);
    parts.close->SetAnchors(akBottom);
    f->ScaleToScreen();
}

} // namespace ui
