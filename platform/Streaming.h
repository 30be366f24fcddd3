// Page definitions: a registry of classes and their properties (with declared defaults), and the
// loader that streams a definition into a component tree.
#pragma once

#include "platform/Forms.h"
#include "platform/text/PageParser.h"

#include <map>
#include <optional>

namespace ui {

class LoadContext;
using PropertySetter = std::function<void(TComponent&, const page::Value&, LoadContext&)>;

struct PropertyInfo {
    std::string name;
    PropertySetter set;
    // Canonical text of the declared default (see CanonicalValue); none when always written.
    std::optional<std::string> declaredDefault;
};

struct ClassInfo {
    std::string name;
    std::string parent;
    std::function<TComponent*(TComponent* owner)> create;
    std::vector<PropertyInfo> properties;

    // Adds a property whose setter takes the registered class itself.
    template <class T, class F>
    ClassInfo& Prop(const std::string& prop, F setter,
                    std::optional<std::string> declaredDefault = std::nullopt) {
        properties.push_back({prop,
                              [setter](TComponent& c, const page::Value& v, LoadContext& ctx) {
                                  auto* t = dynamic_cast<T*>(&c);
                                  if (!t)
                                      throw Exception("property does not apply to " +
                                                      c.ClassName());
                                  setter(*t, v, ctx);
                              },
                              std::move(declaredDefault)});
        return *this;
    }
};

class ClassRegistry {
public:
    static ClassRegistry& Get();
    ClassInfo& Register(const std::string& name, const std::string& parent,
                        std::function<TComponent*(TComponent*)> create);
    const ClassInfo* Find(const std::string& name) const;
    // Looks the property up in the class and then its ancestors.
    const PropertyInfo* FindProperty(const std::string& className, const std::string& prop) const;

private:
    std::map<std::string, ClassInfo> classes_;
};

template <class T> ClassInfo& RegisterClass(const std::string& name, const std::string& parent) {
    return ClassRegistry::Get().Register(
        name, parent, [](TComponent* owner) -> TComponent* { return new T(owner); });
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
    template <class E> static E Enum(const page::Value& v, const std::map<std::string, E>& table) {
        std::string id = Ident(v);
        for (const auto& [name, value] : table)
            if (SameText(name, id)) return value;
        throw Exception("'" + id + "' is not a valid value");
    }
    static TAnchors Anchors(const page::Value& v);
    static TFontStyles FontStyles(const page::Value& v);
    static TColor Color(const page::Value& v);

    // A page handler of the root form, by name.
    TNotifyEvent Handler(const page::Value& v);
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

void RegisterStandardClasses();

} // namespace ui
