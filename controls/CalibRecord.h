// What the calibration cycle serves: the page's list, button and hidden control, each reached
// through the page's own reference to it.
#pragma once

#include "platform/StdCtrls.h"

#include <functional>
#include <type_traits>

namespace ui {

// A control reached through the page's own reference to it, followed at every use: a page that
// replaces the control is followed, and a reference that holds none yields none.
template <class T> class TPageLink {
public:
    TPageLink() = default;
    template <class U>
    requires std::is_base_of_v<T, U> TPageLink(U* const* reference)
        : address_(reference),
          follow_([reference]() -> T* { return reference ? *reference : nullptr; }) {}
    T* operator()() const { return follow_ ? follow_() : nullptr; }
    // The reference's address: two links to the same reference are the same link.
    const void* Address() const { return address_; }

private:
    const void* address_ = nullptr;
    std::function<T*()> follow_;
};

// One registered set of page controls that the calibration cycle serves.
struct TCalibRecord {
    TPageLink<TMemo> ChannelList;      // line n shows channel n
    TPageLink<TButton> CalibButton;    // gets OnStartButtonClick and "Start" back at the end
    TPageLink<TControl> HiddenControl; // hidden at every tick
    // The page's own value for the record, for instance the card it calibrates; the cycle never
    // reads it.
    int Tag = 0;
};

} // namespace ui
