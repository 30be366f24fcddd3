#include "platform/Streaming.h"

#include "platform/StdCtrls.h"
#include "platform/System.h"
#include <algorithm>
#include <cctype>

namespace ui {

ClassRegistry& ClassRegistry::Get() {
    static ClassRegistry r;
    return r;
}

ClassInfo& ClassRegistry::Register(const std::string& name, const std::string& parent,
                                   std::function<TComponent*(TComponent*)> create) {
    ClassInfo& info = classes_[name];
    info.name = name;
    info.parent = parent;
    info.create = std::move(create);
    info.properties.clear();
    info.publishes = true;
    return info;
}

void ClassRegistry::Unregister(const std::string& name) {
    classes_.erase(name);
}

const ClassInfo* ClassRegistry::Find(const std::string& name) const {
    auto it = classes_.find(name);
    return it == classes_.end() ? nullptr : &it->second;
}

std::vector<const ClassInfo*> ClassRegistry::Classes() const {
    std::vector<const ClassInfo*> out;
    for (const auto& [name, info] : classes_)
        out.push_back(&info);
    return out;
}

const PropertyInfo* ClassRegistry::FindProperty(const std::string& className,
                                                const std::string& prop) const {
    const ClassInfo* c = Find(className);
    // The class itself, even when it is a base; then only what its ancestors publish.
    for (bool first = true; c; c = Find(c->parent), first = false) {
        if (!first && !c->publishes) continue;
        for (const auto& p : c->properties)
            if (SameText(p.name, prop)) return &p;
    }
    return nullptr;
}

std::vector<const PropertyInfo*> ClassRegistry::Properties(const std::string& className) const {
    std::vector<const PropertyInfo*> out;
    const ClassInfo* c = Find(className);
    for (bool first = true; c; c = Find(c->parent), first = false) {
        if (!first && !c->publishes) continue;
        for (const auto& p : c->properties)
            if (std::none_of(out.begin(), out.end(),
                             [&](const PropertyInfo* o) { return SameText(o->name, p.name); }))
                out.push_back(&p);
    }
    return out;
}

const PropertyInfo* ClassRegistry::FindOffered(const std::string& className,
                                               const std::string& prop) const {
    for (const ClassInfo* c = Find(className); c; c = Find(c->parent))
        for (const auto& p : c->properties)
            if (SameText(p.name, prop)) return &p;
    return nullptr;
}

bool PropertyInfo::IsDeclaredDefault(const page::Value& v) const {
    if (!declaredDefault) return false;
    if (canonical) return canonical(v) == declaredDefault;
    return CanonicalValue(v) == *declaredDefault;
}

namespace prop {
std::string Lower(std::string s) {
    for (char& c : s)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}
} // namespace prop

using prop::Lower;

std::string CanonicalValue(const page::Value& v) {
    switch (v.kind) {
    case page::Value::Kind::Integer:
        return std::to_string(v.integer);
    case page::Value::Kind::Float: {
        char buf[64];
        std::snprintf(buf, sizeof buf, "%.10g", v.number);
        return buf;
    }
    case page::Value::Kind::String:
        return "'" + v.text + "'";
    case page::Value::Kind::Identifier:
        return Lower(v.text);
    case page::Value::Kind::Set: {
        std::vector<std::string> items;
        for (const auto& s : v.set)
            items.push_back(Lower(s));
        std::sort(items.begin(), items.end());
        std::string out = "[";
        for (size_t i = 0; i < items.size(); ++i)
            out += (i ? "," : "") + items[i];
        return out + "]";
    }
    case page::Value::Kind::List: {
        std::string out = "(";
        for (size_t i = 0; i < v.items.size(); ++i)
            out += (i ? " " : "") + CanonicalValue(v.items[i]);
        return out + ")";
    }
    case page::Value::Kind::Binary:
        return "{" + std::to_string(v.bytes.size()) + " bytes}";
    }
    return {};
}

// ---------------------------------------------------------------- value readers

int64_t LoadContext::Int(const page::Value& v) {
    if (v.kind != page::Value::Kind::Integer) throw Exception("an integer is expected");
    return v.integer;
}

double LoadContext::Number(const page::Value& v) {
    if (v.kind == page::Value::Kind::Integer) return static_cast<double>(v.integer);
    if (v.kind != page::Value::Kind::Float) throw Exception("a number is expected");
    return v.number;
}

bool LoadContext::Bool(const page::Value& v) {
    if (v.kind == page::Value::Kind::Identifier) {
        if (SameText(v.text, "True")) return true;
        if (SameText(v.text, "False")) return false;
    }
    throw Exception("True or False is expected");
}

std::string LoadContext::String(const page::Value& v) {
    if (v.kind != page::Value::Kind::String) throw Exception("a string is expected");
    return v.text;
}

std::string LoadContext::Ident(const page::Value& v) {
    if (v.kind != page::Value::Kind::Identifier) throw Exception("an identifier is expected");
    return v.text;
}

std::vector<std::string> LoadContext::Set(const page::Value& v) {
    if (v.kind != page::Value::Kind::Set) throw Exception("a set in brackets is expected");
    return v.set;
}

std::vector<std::string> LoadContext::Strings(const page::Value& v) {
    if (v.kind != page::Value::Kind::List) throw Exception("a list of strings is expected");
    std::vector<std::string> out;
    for (const auto& item : v.items)
        out.push_back(String(item));
    return out;
}

namespace {
const std::vector<std::pair<std::string, TColor>>& ColorNames() {
    static const std::vector<std::pair<std::string, TColor>> names{
        {"clBlack", clBlack},
        {"clWhite", clWhite},
        {"clRed", clRed},
        {"clLime", clLime},
        {"clBlue", clBlue},
        {"clYellow", clYellow},
        {"clGray", clGray},
        {"clSilver", clSilver},
        {"clMaroon", clMaroon},
        {"clGreen", clGreen},
        {"clNavy", clNavy},
        {"clWindow", clWindow},
        {"clWindowText", clWindowText},
        {"clBtnFace", clBtnFace},
        {"clBtnText", clBtnText},
        {"clBtnShadow", clBtnShadow},
        {"clBtnHighlight", clBtnHighlight}};
    return names;
}
} // namespace

TColor LoadContext::Color(const page::Value& v) {
    if (v.kind == page::Value::Kind::Integer) return static_cast<TColor>(v.integer);
    std::string id = Ident(v);
    for (const auto& [name, value] : ColorNames())
        if (SameText(name, id)) return value;
    throw Exception("'" + id + "' is not a valid value");
}

void LoadContext::RunFixups() {
    for (auto& f : fixups_)
        f();
    fixups_.clear();
}

// ---------------------------------------------------------------- loader

namespace {

void ApplyProperties(TComponent& c, const page::ObjectNode& node, LoadContext& ctx,
                     const std::string& pageName) {
    auto& reg = ClassRegistry::Get();
    for (const auto& p : node.properties) {
        const PropertyInfo* info = reg.FindProperty(node.className, p.name);
        auto where = pageName + ", line " + std::to_string(p.line) + ", property " + p.name;
        if (!info) throw EPageError(where + ": " + node.className + " has no such property");
        ctx.SetWhere(where);
        try {
            info->set(c, p.value, ctx);
        } catch (const EPageError&) {
            throw;
        } catch (const std::exception& e) {
            throw EPageError(where + ": " + e.what());
        }
    }
}

void LoadChildren(TComponent& parent, const page::ObjectNode& node, LoadContext& ctx,
                  const std::string& pageName, std::vector<TComponent*>& loaded) {
    auto& reg = ClassRegistry::Get();
    for (const auto& child : node.children) {
        auto where = pageName + ", line " + std::to_string(child.line);
        const ClassInfo* cls = reg.Find(child.className);
        if (!cls || !cls->create) throw EPageError(where + ": unknown class " + child.className);
        TComponent* c = cls->create(&ctx.Root());
        loaded.push_back(c);
        c->SetLoading(true);
        try {
            c->SetName(child.name);
        } catch (const std::exception& e) {
            throw EPageError(where + ": " + e.what());
        }
        if (auto* ctl = dynamic_cast<TControl*>(c)) {
            auto* wp = dynamic_cast<TWinControl*>(&parent);
            if (!wp)
                throw EPageError(where + ": " + child.name + " cannot be placed on " +
                                 parent.Name());
            ctl->SetParent(wp);
        } else if (auto* item = dynamic_cast<TMenuItem*>(c)) {
            if (auto* pm = dynamic_cast<TMainMenu*>(&parent))
                pm->Items()->Add(item);
            else if (auto* pi = dynamic_cast<TMenuItem*>(&parent))
                pi->Add(item);
            else
                throw EPageError(where + ": menu item " + child.name + " outside a menu");
        }
        ApplyProperties(*c, child, ctx, pageName);
        LoadChildren(*c, child, ctx, pageName, loaded);
    }
}

} // namespace

void LoadPageText(TForm& root, std::string_view text, const std::string& pageName) {
    RegisterStandardClasses();
    page::ObjectNode tree;
    try {
        tree = page::ParsePage(text);
    } catch (const page::PageError& e) {
        throw EPageError(pageName + ": " + e.what());
    }
    if (tree.className != root.ClassName())
        throw EPageError(pageName + ", line " + std::to_string(tree.line) + ": the page is for " +
                         tree.className + ", not " + root.ClassName());
    LoadContext ctx(root);
    std::vector<TComponent*> loaded{&root};
    root.SetLoading(true);
    root.DisableAlign();
    struct Finish {
        TForm& root;
        std::vector<TComponent*>& loaded;
        ~Finish() {
            for (TComponent* c : loaded)
                c->SetLoading(false);
            root.EnableAlign();
        }
    } finish{root, loaded};
    root.SetName(tree.name);
    ApplyProperties(root, tree, ctx, pageName);
    LoadChildren(root, tree, ctx, pageName, loaded);
    ctx.RunFixups();
    // Laid out at the page's resolution; shown at the screen's.
    root.ScaleToScreen();
    for (TComponent* c : loaded)
        c->SetLoading(false);
    for (TComponent* c : loaded)
        c->Loaded();
}

std::string ResourceText(const std::string& resourceName) {
    std::optional<std::string> data = System().Resource(resourceName);
    if (!data) throw EPageError("The program's resource " + resourceName + " is missing");
    return *data;
}

void LoadPageResource(TForm& root, const std::string& resourceName) {
    LoadPageText(root, ResourceText(resourceName), resourceName);
}

// ---------------------------------------------------------------- property types

namespace prop {

namespace {
// Flags by name, written as the sorted names in brackets.
template <class V> PropType<V> Flags(std::vector<std::pair<std::string, V>> names) {
    return {[names](const page::Value& v) {
                V flags = 0;
                for (const auto& s : LoadContext::Set(v)) {
                    auto it = std::find_if(names.begin(), names.end(),
                                           [&](const auto& n) { return SameText(n.first, s); });
                    if (it == names.end()) throw Exception("'" + s + "' is not a valid value");
                    flags |= it->second;
                }
                return flags;
            },
            [names](const V& flags) {
                std::vector<std::string> set;
                for (const auto& [name, bit] : names)
                    if (flags & bit) set.push_back(Lower(name));
                std::sort(set.begin(), set.end());
                std::string out = "[";
                for (size_t i = 0; i < set.size(); ++i)
                    out += (i ? "," : "") + set[i];
                return out + "]";
            }};
}
} // namespace

const PropType<bool>& Bool() {
    static const PropType<bool> t{LoadContext::Bool,
                                  [](const bool& b) { return std::string(b ? "true" : "false"); }};
    return t;
}

const PropType<std::string>& String() {
    static const PropType<std::string> t{LoadContext::String,
                                         [](const std::string& s) { return "'" + s + "'"; }};
    return t;
}

const PropType<std::vector<std::string>>& Strings() {
    static const PropType<std::vector<std::string>> t{
        LoadContext::Strings, [](const std::vector<std::string>& items) {
            std::string out = "(";
            for (size_t i = 0; i < items.size(); ++i)
                out += (i ? " '" : "'") + items[i] + "'";
            return out + ")";
        }};
    return t;
}

const PropType<TColor>& Color() {
    static const PropType<TColor> t{LoadContext::Color, [](const TColor& c) {
                                        for (const auto& [name, value] : ColorNames())
                                            if (value == c) return Lower(name);
                                        return std::to_string(c);
                                    }};
    return t;
}

const PropType<TAnchors>& Anchors() {
    static const PropType<TAnchors> t = Flags<TAnchors>(
        {{"akLeft", akLeft}, {"akTop", akTop}, {"akRight", akRight}, {"akBottom", akBottom}});
    return t;
}

const PropType<TFontStyles>& FontStyles() {
    static const PropType<TFontStyles> t = Flags<TFontStyles>({{"fsBold", fsBold},
                                                               {"fsItalic", fsItalic},
                                                               {"fsUnderline", fsUnderline},
                                                               {"fsStrikeOut", fsStrikeOut}});
    return t;
}

} // namespace prop

// ---------------------------------------------------------------- standard classes

void RegisterStandardClasses() {
    static bool done = false;
    if (done) return;
    done = true;
    RegisterControlsClasses();
    RegisterFormsClasses();
    RegisterStdCtrlsClasses();
}

} // namespace ui
