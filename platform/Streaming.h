// Page definitions: a registry of classes and their properties (each declared once, with its typed
// default), the value readers, and the loader that streams a definition into a component tree.
#pragma once

#include "platform/Forms.h"
#include "platform/text/PageParser.h"

#include <algorithm>
#include <any>
#include <functional>
#include <initializer_list>
#include <limits>
#include <map>
#include <optional>
#include <stdexcept>
#include <type_traits>
#include <utility>
#include <vector>

namespace ui {

class LoadContext;

// How the values of one type are read from a page and written as canonical text (the form of
// CanonicalValue). Equal values have equal texts, so a declared default, a written value and a
// getter's value compare through their texts.
template <class V> struct PropType {
    std::function<V(const page::Value&)> read;
    std::function<std::string(const V&)> text;
};

using PropertySetter = std::function<void(TComponent&, const page::Value&, LoadContext&)>;

struct PropertyInfo {
    std::string name;
    PropertySetter set;
    // The canonical text of the property's value on a component; unset for properties without a
    // value of their own (events, references, pictures).
    std::function<std::string(const TComponent&)> current;
    // The canonical text of a written value read through the property's type; none when the value
    // does not read as that type.
    std::function<std::optional<std::string>(const page::Value&)> canonical;
    // The canonical text of a typed value held in std::any (for redeclaring the default).
    std::function<std::string(const std::any&)> textOf;
    // Text of the declared default; none when a page always writes the property.
    std::optional<std::string> declaredDefault;

    // Whether a page that writes this value could have left the property out.
    bool IsDeclaredDefault(const page::Value& v) const;
};

struct ClassInfo {
    std::string name;
    std::string parent;
    std::function<TComponent*(TComponent* owner)> create;
    // What a page may write for this class besides what its ancestors publish: its own properties
    // and those it exposes from a base.
    std::vector<PropertyInfo> properties;
    // A base that only offers its properties: descendants expose them by name.
    bool publishes = true;
};

class ClassRegistry {
public:
    static ClassRegistry& Get();
    ClassInfo& Register(const std::string& name, const std::string& parent,
                        std::function<TComponent*(TComponent*)> create);
    void Unregister(const std::string& name);
    const ClassInfo* Find(const std::string& name) const;
    std::vector<const ClassInfo*> Classes() const;
    // A property a page may write for the class: its own, then what its ancestors publish.
    const PropertyInfo* FindProperty(const std::string& className, const std::string& prop) const;
    // Every property a page may write for the class, each once (the nearest declaration).
    std::vector<const PropertyInfo*> Properties(const std::string& className) const;
    // A property the class or one of its ancestors declares, published or only offered.
    const PropertyInfo* FindOffered(const std::string& className, const std::string& prop) const;

private:
    std::map<std::string, ClassInfo> classes_;
};

// Registers the properties of class T, each once: name, getter, setter, type and the typed
// declared default, whose text is derived from the value.
template <class T> class ClassBuilder {
public:
    explicit ClassBuilder(ClassInfo& info) : info_(info) {}

    // A property with its declared default: a page that leaves it out keeps what the constructor
    // gave, which is the default unless the class says otherwise.
    template <class V, class G, class S>
    ClassBuilder& Prop(const std::string& name, G get, S set, const PropType<V>& type,
                       std::type_identity_t<V> declaredDefault) {
        PropertyInfo p = Typed<V>(name, get, set, type);
        p.declaredDefault = type.text(declaredDefault);
        return Add(std::move(p));
    }
    // A property without a declared default: a page writes it whenever it is set.
    template <class V, class G, class S>
    ClassBuilder& Prop(const std::string& name, G get, S set, const PropType<V>& type) {
        return Add(Typed<V>(name, get, set, type));
    }
    // A plain member variable, read and written directly.
    template <class V, class B>
    ClassBuilder& Field(const std::string& name, V B::*field, const PropType<V>& type,
                        std::type_identity_t<V> declaredDefault) {
        static_assert(std::is_base_of_v<B, T>);
        return Prop(
            name, [field](const T& t) -> const V& { return t.*field; },
            [field](T& t, V v) { t.*field = std::move(v); }, type, std::move(declaredDefault));
    }
    template <class V, class B>
    ClassBuilder& Field(const std::string& name, V B::*field, const PropType<V>& type) {
        static_assert(std::is_base_of_v<B, T>);
        return Prop(
            name, [field](const T& t) -> const V& { return t.*field; },
            [field](T& t, V v) { t.*field = std::move(v); }, type);
    }
    // An event, bound by name to a handler of the page's root form: a member of the event type
    // E, or a write operation taking one. `typeName` names E when a handler does not fit.
    template <class E = TNotifyEvent, class S>
    ClassBuilder& Event(const std::string& name, S set, const char* typeName = "TNotifyEvent");
    // A link to another component of the page, resolved once the whole tree is loaded.
    template <class R, class S> ClassBuilder& Ref(const std::string& name, S set);
    // A property whose value needs more than a typed reader.
    ClassBuilder& Custom(const std::string& name,
                         std::function<void(T&, const page::Value&, LoadContext&)> set) {
        PropertyInfo p;
        p.name = name;
        p.set = [set](TComponent& c, const page::Value& v, LoadContext& ctx) {
            set(Self(c), v, ctx);
        };
        return Add(std::move(p));
    }

    // Makes properties that a base offers writable on this class, with the base's defaults.
    ClassBuilder& Expose(std::initializer_list<const char*> names) {
        for (const char* n : names)
            Add(Offered(n));
        return *this;
    }
    // Every property the ancestors offer.
    ClassBuilder& ExposeAll();
    // Another declared default for a property of this class or one it exposes (a base's
    // property is exposed by this); the value has the property's own type.
    template <class V> ClassBuilder& Default(const std::string& name, const V& declaredDefault);

private:
    static T& Self(TComponent& c) {
        auto* t = dynamic_cast<T*>(&c);
        if (!t) throw Exception("the property does not apply to " + c.ClassName());
        return *t;
    }
    static const T& Self(const TComponent& c) { return Self(const_cast<TComponent&>(c)); }

    // A property read and written through its type: the setter, the getter's text, and the text
    // of written and typed values.
    template <class V, class G, class S>
    static PropertyInfo Typed(const std::string& name, G get, S set, const PropType<V>& type) {
        PropertyInfo p;
        p.name = name;
        p.set = [set, type](TComponent& c, const page::Value& v, LoadContext&) {
            std::invoke(set, Self(c), type.read(v));
        };
        p.current = [get, type](const TComponent& c) {
            return type.text(std::invoke(get, Self(c)));
        };
        p.canonical = [type](const page::Value& v) -> std::optional<std::string> {
            try {
                return type.text(type.read(v));
            } catch (const std::exception&) {
                return std::nullopt;
            }
        };
        p.textOf = [type](const std::any& a) { return type.text(std::any_cast<const V&>(a)); };
        return p;
    }
    ClassBuilder& Add(PropertyInfo p);
    PropertyInfo Offered(const std::string& name) const;

    ClassInfo& info_;
};

template <class T>
ClassBuilder<T> RegisterClass(const std::string& name, const std::string& parent) {
    return ClassBuilder<T>(ClassRegistry::Get().Register(
        name, parent, [](TComponent* owner) -> TComponent* { return new T(owner); }));
}

// A base class that pages do not name: it offers properties for its descendants to expose.
template <class T>
ClassBuilder<T> RegisterBase(const std::string& name, const std::string& parent) {
    ClassInfo& info = ClassRegistry::Get().Register(name, parent, nullptr);
    info.publishes = false;
    return ClassBuilder<T>(info);
}

// One canonical text per value, so that a written value can be compared with a declared default:
// integers in decimal, identifiers in lower case, strings quoted, sets sorted in brackets.
std::string CanonicalValue(const page::Value& v);

// What property setters use to read values and to defer references until the tree is loaded.
class LoadContext {
public:
    explicit LoadContext(TForm& root) : root_(root) {}
    TForm& Root() { return root_; }

    static int64_t Int(const page::Value& v);
    static double Number(const page::Value& v);
    static bool Bool(const page::Value& v);
    static std::string String(const page::Value& v);
    static std::string Ident(const page::Value& v);
    static std::vector<std::string> Set(const page::Value& v);
    static std::vector<std::string> Strings(const page::Value& v);
    // A colour by name or number. Named values, flag sets and ranges: the property types below.
    static TColor Color(const page::Value& v);

    // A page handler of the root form, by name, of the event type E; `typeName` names E in the
    // message when the form's handler of that name is of another type.
    template <class E = TNotifyEvent>
    E Handler(const page::Value& v, const char* typeName = "TNotifyEvent") {
        std::string name = Ident(v);
        if constexpr (std::is_same_v<E, TNotifyEvent>)
            if (const TNotifyEvent* h = root_.FindHandler(name)) return *h;
        const std::any* typed = root_.FindTypedHandler(name);
        if (typed)
            if (const E* h = std::any_cast<E>(typed)) return *h;
        if (typed || root_.FindHandler(name))
            throw Exception("the handler " + name + " does not fit this event, which needs a " +
                            typeName + " handler");
        throw Exception("the form has no handler named " + name);
    }
    // Resolves a component reference once the whole tree exists.
    template <class T> void Ref(const page::Value& v, std::function<void(T*)> assign) {
        std::string name = Ident(v);
        // Resolved later: the message must still say where the reference was written.
        std::string where = where_.empty() ? "line " + std::to_string(v.line) : where_;
        fixups_.push_back([this, name, where, assign] {
            TComponent* c = SameText(name, root_.Name()) ? &root_ : root_.FindComponent(name);
            T* t = dynamic_cast<T*>(c);
            if (!t)
                throw EPageError(where + ": component '" + name + "' " +
                                 (c ? "has the wrong class" : "not found"));
            assign(t);
        });
    }
    void RunFixups();
    // Where the property being applied is written (page, line, property).
    void SetWhere(std::string where) { where_ = std::move(where); }

private:
    TForm& root_;
    std::string where_;
    std::vector<std::function<void()>> fixups_;
};

// Reads the page definition stored among the program's resources under `resourceName` into the
// form: every component in definition order, properties applied in the order written,
// references resolved, then Loaded. The form's create event is left to the caller.
void LoadPageResource(TForm& root, const std::string& resourceName);
void LoadPageText(TForm& root, std::string_view text, const std::string& pageName);
// The text of a resource, or an exception naming it.
std::string ResourceText(const std::string& resourceName);

// Fills a form's field with the component of the same name, checking its class.
template <class T> void BindField(TForm& root, T*& field, const char* name) {
    field = dynamic_cast<T*>(root.FindComponent(name));
    if (!field) throw EPageError(std::string("The page has no component ") + name);
}

// ---------------------------------------------------------------- property types

namespace prop {

std::string Lower(std::string s);

const PropType<bool>& Bool();
const PropType<std::string>& String();
// A list of strings, written as ( 'one' 'two' ).
const PropType<std::vector<std::string>>& Strings();
// A colour by name (clWhite, clBtnFace, ...) or by number; written by name where it has one.
const PropType<TColor>& Color();
const PropType<TAnchors>& Anchors();
const PropType<TFontStyles>& FontStyles();

// An integer within [lo, hi].
template <class V>
PropType<V> Int(V lo = std::numeric_limits<V>::min(), V hi = std::numeric_limits<V>::max()) {
    return {[lo, hi](const page::Value& v) {
                int64_t n = LoadContext::Int(v);
                if (n < static_cast<int64_t>(lo) || n > static_cast<int64_t>(hi))
                    throw Exception("a value from " + std::to_string(lo) + " to " +
                                    std::to_string(hi) + " is expected");
                return static_cast<V>(n);
            },
            [](const V& v) { return std::to_string(v); }};
}

// One of the named values, written by its name.
template <class E> PropType<E> Enum(std::vector<std::pair<std::string, E>> names) {
    return {[names](const page::Value& v) {
                std::string id = LoadContext::Ident(v);
                for (const auto& [name, value] : names)
                    if (SameText(name, id)) return value;
                throw Exception("'" + id + "' is not a valid value");
            },
            [names](const E& e) {
                for (const auto& [name, value] : names)
                    if (value == e) return Lower(name);
                return std::to_string(static_cast<int64_t>(e));
            }};
}

// An integer, or one of the named values; written by name where the value has one.
template <class V> PropType<V> IntOrName(std::vector<std::pair<std::string, V>> names) {
    return {[names](const page::Value& v) {
                if (v.kind == page::Value::Kind::Integer) return Int<V>().read(v);
                std::string id = LoadContext::Ident(v);
                for (const auto& [name, value] : names)
                    if (SameText(name, id)) return value;
                throw Exception("'" + id + "' is not a valid value");
            },
            [names](const V& n) {
                for (const auto& [name, value] : names)
                    if (value == n) return Lower(name);
                return std::to_string(n);
            }};
}

} // namespace prop

// ---------------------------------------------------------------- ClassBuilder, the rest

template <class T>
template <class E, class S>
ClassBuilder<T>& ClassBuilder<T>::Event(const std::string& name, S set, const char* typeName) {
    PropertyInfo p;
    p.name = name;
    p.set = [set, typeName](TComponent& c, const page::Value& v, LoadContext& ctx) {
        E handler = ctx.Handler<E>(v, typeName);
        if constexpr (std::is_member_object_pointer_v<S>)
            std::invoke(set, Self(c)) = std::move(handler);
        else
            std::invoke(set, Self(c), std::move(handler));
    };
    return Add(std::move(p));
}

template <class T>
template <class R, class S>
ClassBuilder<T>& ClassBuilder<T>::Ref(const std::string& name, S set) {
    PropertyInfo p;
    p.name = name;
    p.set = [set](TComponent& c, const page::Value& v, LoadContext& ctx) {
        T& t = Self(c);
        ctx.Ref<R>(v, [&t, set](R* r) { std::invoke(set, t, r); });
    };
    return Add(std::move(p));
}

template <class T> ClassBuilder<T>& ClassBuilder<T>::Add(PropertyInfo p) {
    for (auto& own : info_.properties)
        if (SameText(own.name, p.name)) {
            own = std::move(p);
            return *this;
        }
    info_.properties.push_back(std::move(p));
    return *this;
}

template <class T> PropertyInfo ClassBuilder<T>::Offered(const std::string& name) const {
    const PropertyInfo* p = ClassRegistry::Get().FindOffered(info_.parent, name);
    if (!p) throw std::logic_error(info_.name + " cannot expose " + name + ": no base has it");
    return *p;
}

template <class T> ClassBuilder<T>& ClassBuilder<T>::ExposeAll() {
    auto& reg = ClassRegistry::Get();
    for (const ClassInfo* c = reg.Find(info_.parent); c; c = reg.Find(c->parent))
        for (const auto& p : c->properties)
            if (std::none_of(info_.properties.begin(), info_.properties.end(),
                             [&](const PropertyInfo& own) { return SameText(own.name, p.name); }))
                info_.properties.push_back(p);
    return *this;
}

template <class T>
template <class V>
ClassBuilder<T>& ClassBuilder<T>::Default(const std::string& name, const V& declaredDefault) {
    auto own = [&]() -> PropertyInfo* {
        for (auto& p : info_.properties)
            if (SameText(p.name, name)) return &p;
        return nullptr;
    };
    if (!own()) Add(Offered(name));
    PropertyInfo* p = own();
    try {
        if (!p->textOf) throw std::bad_any_cast();
        p->declaredDefault = p->textOf(std::any(declaredDefault));
    } catch (const std::bad_any_cast&) {
        throw std::logic_error(info_.name + "." + name +
                               ": the default is not of the property's type");
    }
    return *this;
}

// The standard classes, each registered in a file next to its header: components, controls and
// labels (ControlsProps.cpp), forms (FormsProps.cpp), panels, buttons, lists, memos and menus
// (StdCtrlsProps.cpp).
void RegisterControlsClasses();
void RegisterFormsClasses();
void RegisterStdCtrlsClasses();
void RegisterStandardClasses();

} // namespace ui
