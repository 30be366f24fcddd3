// Screen readers over Qt's accessibility: the controls we paint are exposed through the widgets
// they are painted on.
#pragma once

class QWidget;

namespace ui {
class TControl;
}

namespace ui::qt {

void InstallAccessibility();
// Sends the events a screen reader listens for when a control's states or value changed.
void AnnounceChange(TControl* control, bool valueChanged);
// A control is going away: its accessible stand-in answers nothing more.
void ForgetControl(TControl* control);
// Called at the end of a peer widget's constructor: an interface made while the widget was still
// being built (a screen reader may ask that early) knew only a plain widget and is dropped.
void RefreshAccessible(QWidget* widget);

} // namespace ui::qt
