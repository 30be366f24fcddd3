#include "controls/BoardImage.h"

#include "controls/BoardHighlight.h"

#include "platform/Streaming.h"

#include <algorithm>

namespace ui {

// The flags, the aspect ratio and the links start at their values where they are declared.
TBoardImage::TBoardImage(TComponent* owner) : TCustomPanel(owner) {
    picture_.OnChange = [this](TPicture*) { PictureChanged(this); };
    SetHeight(105);
    SetWidth(105);
    SetAutoSize(true);
}

void TBoardImage::SetMenu(TMainMenu* menu) {
    if (menu == menu_) return;
    if (menu_) RemoveFreeNotification(menu_);
    menu_.set(menu);
    if (menu) FreeNotification(menu);
}

void TBoardImage::SetFirst(TBoardHighlight* circle) {
    if (circle == first_) return;
    if (first_) RemoveFreeNotification(first_);
    first_.set(circle);
    if (circle) FreeNotification(circle);
}

void TBoardImage::Notification(TComponent* component, bool removing) {
    TCustomPanel::Notification(component, removing);
    if (!removing) return;
    menu_.clearIf(component);
    first_.clearIf(component);
}

void TBoardImage::SetStretch(bool v) {
    if (v == stretch_) return;
    stretch_ = v;
    PictureChanged(this);
}

void TBoardImage::SetCenter(bool v) {
    if (v == center_) return;
    center_ = v;
    PictureChanged(this);
}

void TBoardImage::SetTransparent(bool v) {
    if (v == transparent_) return;
    transparent_ = v;
    PictureChanged(this);
}

void TBoardImage::SetScale(bool v) {
    if (v == scale_) return;
    scale_ = v;
    PictureChanged(this);
}

void TBoardImage::PictureChanged(TObject*) {
    int pw = picture_.Width(), ph = picture_.Height();
    if (pw > 0 && ph > 0) aspectRatio_ = static_cast<double>(ph) / pw;
    if (AutoSize() && pw > 0 && ph > 0) SetBounds(left_, top_, pw, ph);
    if (TGraphic* g = picture_.Graphic()) {
        g->SetTransparent(transparent_);
        bool opaque =
            !g->Transparent() && (stretch_ || (g->Width() >= Width() && g->Height() >= Height()));
        if (opaque)
            ControlStyle |= csOpaque;
        else
            ControlStyle &= ~csOpaque;
        // A palette change while drawing is shown at once, without scheduling another paint.
        if (ApplyPaletteChange() && drawing_) Repaint();
    } else {
        ControlStyle &= ~csOpaque;
    }
    if (!drawing_) Invalidate();
}

bool TBoardImage::ApplyPaletteChange() {
    TGraphic* g = picture_.Graphic();
    if (!Visible() || IsLoading() || !g || !g->PaletteModified) return false;
    if (!g->HasPalette()) {
        g->PaletteModified = false;
        return false;
    }
    TForm* form = ParentForm();
    if (!form || !form->Active() || !form->HandleAllocated()) return false;
    if (drawing_) {
        form->Perform(WM_QUERYNEWPALETTE);
    } else {
        // Posted: the form handles it once the current message is done, if it is still there.
        Application->QueueAsyncCall([form] {
            auto forms = Application->Forms();
            if (std::find(forms.begin(), forms.end(), form) != forms.end())
                form->Perform(WM_QUERYNEWPALETTE);
        });
    }
    g->PaletteModified = false;
    return true;
}

bool TBoardImage::GetPalette() const {
    TGraphic* g = picture_.Graphic();
    return g && g->HasPalette();
}

TRect TBoardImage::DestinationRect() const {
    if (stretch_) return ClientRect();
    int pw = picture_.Width(), ph = picture_.Height();
    if (center_) return Bounds((Width() - pw) / 2, (Height() - ph) / 2, pw, ph);
    return Bounds(0, 0, pw, ph);
}

bool TBoardImage::CanAutoSize(int& newWidth, int& newHeight) const {
    int pw = picture_.Width(), ph = picture_.Height();
    if (IsDesigning() && (pw <= 0 || ph <= 0)) return true;
    if (align_ == TAlign::alNone || align_ == TAlign::alLeft || align_ == TAlign::alRight)
        newWidth = pw;
    if (align_ == TAlign::alNone || align_ == TAlign::alTop || align_ == TAlign::alBottom)
        newHeight = ph;
    return true;
}

void TBoardImage::AdjustSize() {
    if (!AutoSize() || IsLoading()) return;
    int w = Width(), h = Height();
    if (CanAutoSize(w, h) && w > 0 && h > 0) SetBounds(left_, top_, w, h);
}

void TBoardImage::Paint(TCanvas& canvas) {
    if (!positionRecorded_) {
        initialLeft_ = Left();
        initialTop_ = Top();
        positionRecorded_ = true;
    }
    if (CenterOnForm && !IsDesigning() && parent_) {
        // The parent's outer size: for a window that includes its frame and menu bar, as the
        // window manager shows them once the window is on screen.
        auto* form = dynamic_cast<TForm*>(parent_);
        int outerW = form ? form->ShownWidth() : parent_->Width();
        int outerH = form ? form->ShownHeight() : parent_->Height();
        SetLeft((outerW - Width()) / 2);
        SetTop((outerH - Height()) / 2);
    }
    if (IsDesigning()) {
        if (scale_) SetHeight(RoundHalfEven(Width() * aspectRatio_));
        TPen pen = canvas.Pen;
        TBrush brush = canvas.Brush;
        canvas.Pen = {clBlack, TPenStyle::psDash, 1};
        canvas.Brush.Style = TBrushStyle::bsClear;
        canvas.Rectangle(0, 0, Width(), Height());
        canvas.Pen = pen;
        canvas.Brush = brush;
    }
    // Opaque from the start, the control erases nothing itself: until a picture has come (or when
    // its photograph could not be loaded) it shows its own colour rather than stale pixels.
    if (!picture_.Graphic() && Opaque()) {
        canvas.Brush = {Color(), TBrushStyle::bsSolid};
        canvas.FillRect(ClientRect());
    }
    bool saved = drawing_;
    drawing_ = true;
    struct Restore {
        bool& flag;
        bool value;
        ~Restore() { flag = value; }
    } restore{drawing_, saved};
    if (TGraphic* g = picture_.Graphic()) canvas.StretchDraw(DestinationRect(), *g);
}

void TBoardImage::StartTour(const TMessage& m) {
    TBoardHighlight* circle = first_;
    if (!circle) return;
    circle->Perform(CM_MOUSEENTER, m.WParam, m.LParam);
    circle->Click();
    // The click may have taken the circle away.
    if (first_ == circle) circle->Perform(CM_MOUSELEAVE, m.WParam, m.LParam);
}

void TBoardImage::WndProc(TMessage& m) {
    if (m.Msg == WM_STARTTOUR) {
        StartTour(m);
        return;
    }
    TCustomPanel::WndProc(m);
}

namespace {
// A picture that cannot be shown leaves the board empty; the program says why once it runs.
void ReportLater(const std::string& message) {
    if (Application)
        Application->QueueAsyncCall(
            [message] { Application->HandleException(Application, EInvalidGraphic(message)); });
}
} // namespace

void RegisterBoardImageClass() {
    using prop::Bool;
    using B = TBoardImage;
    RegisterClass<B>("TBoardImage", "TCustomPanel")
        .Ref<TBoardHighlight>("First", &B::SetFirst)
        .Ref<TMainMenu>("Menu", &B::SetMenu)
        .Field("CenterOnForm", &B::CenterOnForm, Bool(), true)
        .Prop("Scale", &B::Scale, &B::SetScale, Bool(), true)
        .Expose({"Align", "Anchors", "AutoSize"})
        .Default("AutoSize", true)
        .Prop("Center", &B::Center, &B::SetCenter, Bool(), false)
        .Custom("Picture.Resource",
                [](B& b, const page::Value& v, LoadContext&) {
                    TPicture p;
                    try {
                        p.LoadFromResource(LoadContext::String(v));
                    } catch (const EInvalidGraphic& e) {
                        ReportLater(e.what());
                        return;
                    }
                    b.SetPicture(p);
                })
        .Prop("Stretch", &B::Stretch, &B::SetStretch, Bool(), false)
        .Prop("Transparent", &B::Transparent, &B::SetTransparent, Bool(), false)
        // It paints a picture, not a panel face: no bevels, caption, colour or font of its own.
        .Expose({"Enabled", "ParentShowHint", "ShowHint", "Visible", "Left", "Top", "Width",
                 "Height", "Cursor", "Hint", "OnClick", "OnDblClick"});
}

} // namespace ui
