#include "platform/Classes.h"

#include <algorithm>
#include <cctype>
#include <cfenv>
#include <cmath>

namespace ui {

bool SameText(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

int RoundHalfEven(double v) {
    int saved = std::fegetround();
    std::fesetround(FE_TONEAREST);
    double r = std::nearbyint(v);
    std::fesetround(saved);
    return static_cast<int>(r);
}

TComponent::TComponent(TComponent* owner) {
    if (owner) owner->InsertComponent(this);
}

TComponent::~TComponent() {
    state_ |= csDestroying;
    // Tell everyone who links to us, then free what we own, newest first.
    auto notified = notified_;
    notified_.clear();
    for (TComponent* c : notified) {
        c->RemoveFreeNotification(this);
        c->Notification(this, true);
    }
    while (!components_.empty()) {
        TComponent* child = components_.back();
        delete child; // the child removes itself from components_
    }
    if (owner_) {
        owner_->Notification(this, true);
        owner_->RemoveComponent(this);
    }
}

void TComponent::SetName(const std::string& name) {
    if (name == name_) return;
    if (!name.empty() && owner_) {
        TComponent* other = owner_->FindComponent(name);
        if (other && other != this)
            throw Exception("A component named " + name + " already exists");
    }
    name_ = name;
}

TComponent* TComponent::FindComponent(std::string_view name) const {
    if (name.empty()) return nullptr;
    for (TComponent* c : components_)
        if (SameText(c->name_, name)) return c;
    return nullptr;
}

std::string TComponent::UniqueName(const std::string& stem) const {
    for (int i = 1;; ++i) {
        std::string candidate = stem + std::to_string(i);
        if (!FindComponent(candidate)) return candidate;
    }
}

void TComponent::SetDesigning(bool on) {
    state_ = on ? (state_ | csDesigning) : (state_ & ~csDesigning);
    for (TComponent* c : components_)
        c->SetDesigning(on);
}

void TComponent::SetLoading(bool on) {
    state_ = on ? (state_ | csLoading) : (state_ & ~csLoading);
}

void TComponent::FreeNotification(TComponent* other) {
    if (!other || other == this) return;
    if (std::find(other->notified_.begin(), other->notified_.end(), this) == other->notified_.end())
        other->notified_.push_back(this);
    if (std::find(notified_.begin(), notified_.end(), other) == notified_.end())
        notified_.push_back(other);
}

void TComponent::RemoveFreeNotification(TComponent* other) {
    std::erase(notified_, other);
    if (other) std::erase(other->notified_, this);
}

void TComponent::Notification(TComponent*, bool) {}

void TComponent::InsertComponent(TComponent* child) {
    child->owner_ = this;
    components_.push_back(child);
}

void TComponent::RemoveComponent(TComponent* child) {
    std::erase(components_, child);
    child->owner_ = nullptr;
}

void TStrings::Add(const std::string& s) {
    items_.push_back(s);
    Changed();
}

void TStrings::Put(int i, const std::string& s) {
    std::string& line = items_.at(static_cast<size_t>(i));
    if (line == s) return;
    line = s;
    Changed();
}

void TStrings::Clear() {
    if (items_.empty()) return;
    items_.clear();
    Changed();
}

void TStrings::Assign(const std::vector<std::string>& items) {
    items_ = items;
    Changed();
}

std::string TStrings::Text() const {
    std::string out;
    for (const auto& s : items_) {
        out += s;
        out += "\r\n";
    }
    return out;
}

void TStrings::SetText(std::string_view text) {
    items_.clear();
    std::string line;
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '\r' || c == '\n') {
            items_.push_back(line);
            line.clear();
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            line += c;
        }
    }
    if (!line.empty()) items_.push_back(line);
    Changed();
}

int TFont::Size(int pixelsPerInch) const {
    if (pixelsPerInch <= 0) pixelsPerInch = 96;
    return Height < 0 ? static_cast<int>(std::lround(-Height * 72.0 / pixelsPerInch)) : Height;
}

void TFont::SetSize(int points, int pixelsPerInch) {
    Height = -static_cast<int>(std::lround(points * static_cast<double>(pixelsPerInch) / 72.0));
}

uint32_t ColorToRGB(TColor color) {
    if (!(color & clSystemColor)) return static_cast<uint32_t>(color) & 0xFFFFFF;
    // The classic desktop scheme: what the pages were designed against.
    switch (color & 0xFF) {
    case 5:
        return RGB(255, 255, 255); // window
    case 8:
        return RGB(0, 0, 0); // window text
    case 15:
        return RGB(240, 240, 240); // button face
    case 16:
        return RGB(160, 160, 160); // button shadow
    case 18:
        return RGB(0, 0, 0); // button text
    case 20:
        return RGB(255, 255, 255); // button highlight
    case 21:
        return RGB(105, 105, 105); // 3D dark shadow
    case 22:
        return RGB(227, 227, 227); // 3D light
    case 13:
        return RGB(0, 120, 215); // highlight
    case 14:
        return RGB(255, 255, 255); // highlight text
    default:
        return RGB(240, 240, 240);
    }
}

} // namespace ui
