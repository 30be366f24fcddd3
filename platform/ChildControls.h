// Building child controls in code: one call creates the control, names it, places it and puts it
// on its parent, instead of the same four or five steps for every control of a window.
#pragma once

#include "platform/Controls.h"

#include <optional>
#include <string>

namespace ui {

// A control of class T owned by `owner`, named `name`, with the given bounds and caption when
// they are given, then placed on `parent` (last, as a window composed by hand does it). Returns
// the typed control for the settings that follow.
template <class T>
T* Add(TComponent* owner, TWinControl* parent, const std::string& name,
       std::optional<TRect> bounds = std::nullopt, const std::string& caption = {}) {
    auto* c = new T(owner);
    c->SetName(name);
    if (bounds) c->SetBounds(bounds->Left, bounds->Top, bounds->Width(), bounds->Height());
    if (!caption.empty()) c->SetCaption(caption);
    c->SetParent(parent);
    return c;
}

} // namespace ui
