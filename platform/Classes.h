// Objects, components with owners and names, string lists and fonts.
#pragma once

#include "platform/Types.h"

#include <memory>
#include <string>
#include <string_view>
#include <typeinfo>
#include <vector>

namespace ui {

class TObject {
public:
    virtual ~TObject() = default;
    // The exact class name, as the page definition spells it.
    virtual std::string ClassName() const { return "TObject"; }
};

// Whether the object's dynamic class is exactly T: a class derived from T does not count, whatever
// its ClassName says.
template <class T> bool IsExactly(const TObject* o) {
    return o && typeid(*o) == typeid(T);
}

// Declares ClassName for a class of ours.
#define UI_CLASS(Name)                                                                             \
public:                                                                                            \
    std::string ClassName() const override {                                                       \
        return #Name;                                                                              \
    }

bool SameText(std::string_view a, std::string_view b);
// Nearest integer, halfway cases to the even neighbour (4.5 gives 4, 3.5 gives 4).
int RoundHalfEven(double v);

enum TComponentStateFlag : uint8_t { csLoading = 1, csDesigning = 2, csDestroying = 4 };

class TComponent : public TObject {
    UI_CLASS(TComponent)
public:
    explicit TComponent(TComponent* owner);
    ~TComponent() override;
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    TComponent* Owner() const { return owner_; }
    const std::string& Name() const { return name_; }
    // Throws when another component of the same owner already has the name (ignoring case).
    void SetName(const std::string& name);
    intptr_t Tag = 0;

    int ComponentCount() const { return static_cast<int>(components_.size()); }
    TComponent* Components(int index) const { return components_.at(index); }
    // Case-insensitive lookup among the owned components.
    TComponent* FindComponent(std::string_view name) const;
    // stem + the smallest number from 1 up that no owned component uses yet.
    std::string UniqueName(const std::string& stem) const;

    uint8_t ComponentState() const { return state_; }
    bool IsDesigning() const { return state_ & csDesigning; }
    bool IsLoading() const { return state_ & csLoading; }
    bool IsDestroying() const { return state_ & csDestroying; }
    void SetDesigning(bool on);
    void SetLoading(bool on);

    // Runs after a page definition has been loaded and its references resolved.
    virtual void Loaded() {}

    // Components that hold a link to `other` are told when it goes away.
    void FreeNotification(TComponent* other);
    void RemoveFreeNotification(TComponent* other);

protected:
    virtual void Notification(TComponent* component, bool removing);
    void BeginDestroy() { state_ |= csDestroying; }

private:
    void InsertComponent(TComponent* child);
    void RemoveComponent(TComponent* child);

    TComponent* owner_ = nullptr;
    std::string name_;
    std::vector<TComponent*> components_;
    std::vector<TComponent*> notified_;
    uint8_t state_ = 0;
};

// A component pointer that empties itself when its target is destroyed.
template <class T> class TLink {
public:
    TLink() = default;
    T* get() const { return ptr_; }
    operator T*() const { return ptr_; }
    T* operator->() const { return ptr_; }
    void set(T* p) { ptr_ = p; }
    void clearIf(TComponent* gone) {
        if (static_cast<TComponent*>(ptr_) == gone) ptr_ = nullptr;
    }

private:
    T* ptr_ = nullptr;
};

class TStrings {
public:
    int Count() const { return static_cast<int>(items_.size()); }
    const std::string& operator[](int i) const { return items_.at(i); }
    void Add(const std::string& s);
    // Replaces line i, which must exist.
    void Put(int i, const std::string& s);
    void Clear();
    void Assign(const std::vector<std::string>& items);
    const std::vector<std::string>& Items() const { return items_; }
    // Lines joined with CR LF, and split again at CR LF, CR or LF.
    std::string Text() const;
    void SetText(std::string_view text);
    std::function<void()> OnChange;

private:
    void Changed() {
        if (OnChange) OnChange();
    }
    std::vector<std::string> items_;
};

struct TFont {
    std::string Name = "MS Sans Serif";
    int Height = -11; // negative: character height in pixels
    TFontStyles Style = 0;
    TColor Color = clWindowText;
    int Charset = 1;
    int Size(int pixelsPerInch = 96) const; // points at that resolution
    void SetSize(int points, int pixelsPerInch = 96);
    friend bool operator==(const TFont&, const TFont&) = default;
};

} // namespace ui
