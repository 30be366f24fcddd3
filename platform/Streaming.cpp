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
    return info;
}

const ClassInfo* ClassRegistry::Find(const std::string& name) const {
    auto it = classes_.find(name);
    return it == classes_.end() ? nullptr : &it->second;
}

const PropertyInfo* ClassRegistry::FindProperty(const std::string& className,
                                                const std::string& prop) const {
    for (const ClassInfo* c = Find(className); c; c = Find(c->parent))
        for (const auto& p : c->properties)
            if (SameText(p.name, prop)) return &p;
    return nullptr;
}

namespace {
std::string Lower(std::string s) {
    for (char& c : s)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}
} // namespace

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
// A set of enumeration names in brackets, combined into flags.
template <class E> uint8_t FlagsOf(const page::Value& v, const std::map<std::string, E>& table) {
    uint8_t flags = 0;
    for (const auto& s : LoadContext::Set(v)) {
        page::Value id;
        id.kind = page::Value::Kind::Identifier;
        id.text = s;
        flags |= LoadContext::Enum(id, table);
    }
    return flags;
}
} // namespace

TAnchors LoadContext::Anchors(const page::Value& v) {
    static const std::map<std::string, TAnchorKind> kinds{
        {"akLeft", akLeft}, {"akTop", akTop}, {"akRight", akRight}, {"akBottom", akBottom}};
    return FlagsOf(v, kinds);
}

TFontStyles LoadContext::FontStyles(const page::Value& v) {
    static const std::map<std::string, TFontStyle> kinds{{"fsBold", fsBold},
                                                         {"fsItalic", fsItalic},
                                                         {"fsUnderline", fsUnderline},
                                                         {"fsStrikeOut", fsStrikeOut}};
    return FlagsOf(v, kinds);
}

TColor LoadContext::Color(const page::Value& v) {
    if (v.kind == page::Value::Kind::Integer) return static_cast<TColor>(v.integer);
    static const std::map<std::string, TColor> names{{"clBlack", clBlack},
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
    return Enum(v, names);
}

TNotifyEvent LoadContext::Handler(const page::Value& v) {
    std::string name = Ident(v);
    const TNotifyEvent* h = root_.FindHandler(name);
    if (!h) throw Exception("the form has no handler named " + name);
    return *h;
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

// ---------------------------------------------------------------- standard classes

namespace {

template <class T> void ControlProps(ClassInfo& c) {
    using C = LoadContext;
    using V = page::Value;
    c.template Prop<T>("Left", [](T& t, const V& v, C&) { t.SetLeft(int(C::Int(v))); })
        .template Prop<T>("Top", [](T& t, const V& v, C&) { t.SetTop(int(C::Int(v))); })
        .template Prop<T>("Width", [](T& t, const V& v, C&) { t.SetWidth(int(C::Int(v))); })
        .template Prop<T>("Height", [](T& t, const V& v, C&) { t.SetHeight(int(C::Int(v))); })
        .template Prop<T>(
            "Visible", [](T& t, const V& v, C&) { t.SetVisible(C::Bool(v)); }, "true")
        .template Prop<T>(
            "Enabled", [](T& t, const V& v, C&) { t.SetEnabled(C::Bool(v)); }, "true")
        .template Prop<T>(
            "Align",
            [](T& t, const V& v, C&) {
                t.SetAlign(C::Enum<TAlign>(v, {{"alNone", TAlign::alNone},
                                               {"alTop", TAlign::alTop},
                                               {"alBottom", TAlign::alBottom},
                                               {"alLeft", TAlign::alLeft},
                                               {"alRight", TAlign::alRight},
                                               {"alClient", TAlign::alClient}}));
            },
            "alnone")
        .template Prop<T>(
            "Anchors", [](T& t, const V& v, C&) { t.SetAnchors(C::Anchors(v)); }, "[akleft,aktop]")
        .template Prop<T>("Caption", [](T& t, const V& v, C&) { t.SetCaption(C::String(v)); })
        .template Prop<T>("Color", [](T& t, const V& v, C&) { t.SetColor(C::Color(v)); })
        .template Prop<T>("ParentColor", [](T& t, const V& v, C&) { t.SetParentColor(C::Bool(v)); })
        .template Prop<T>(
            "ParentFont", [](T& t, const V& v, C&) { t.SetParentFont(C::Bool(v)); }, "true")
        .template Prop<T>("Font.Name",
                          [](T& t, const V& v, C&) { t.FontForChange().Name = C::String(v); })
        .template Prop<T>("Font.Height",
                          [](T& t, const V& v, C&) { t.FontForChange().Height = int(C::Int(v)); })
        .template Prop<T>("Font.Color",
                          [](T& t, const V& v, C&) { t.FontForChange().Color = C::Color(v); })
        .template Prop<T>("Font.Charset",
                          [](T& t, const V& v, C&) {
                              t.FontForChange().Charset =
                                  v.kind == V::Kind::Integer ? int(v.integer) : 1;
                          })
        .template Prop<T>("Font.Style",
                          [](T& t, const V& v, C&) { t.FontForChange().Style = C::FontStyles(v); })
        .template Prop<T>("Hint", [](T& t, const V& v, C&) { t.SetHint(C::String(v)); })
        .template Prop<T>("ShowHint", [](T& t, const V& v, C&) { t.ShowHint = C::Bool(v); })
        .template Prop<T>(
            "ParentShowHint", [](T& t, const V& v, C&) { t.ParentShowHint = C::Bool(v); }, "true")
        .template Prop<T>("Cursor",
                          [](T& t, const V& v, C&) {
                              t.Cursor = v.kind == V::Kind::Integer ? int(v.integer) : 0;
                          })
        .template Prop<T>("OnClick", [](T& t, const V& v, C& ctx) { t.OnClick = ctx.Handler(v); })
        .template Prop<T>("OnDblClick",
                          [](T& t, const V& v, C& ctx) { t.OnDblClick = ctx.Handler(v); });
}

template <class T> void WinControlProps(ClassInfo& c) {
    using C = LoadContext;
    using V = page::Value;
    c.template Prop<T>(
         "TabOrder", [](T& t, const V& v, C&) { t.SetTabOrder(int(C::Int(v))); }, "-1")
        .template Prop<T>("TabStop", [](T& t, const V& v, C&) { t.TabStop = C::Bool(v); });
}

} // namespace

void RegisterStandardClasses() {
    static bool done = false;
    if (done) return;
    done = true;
    using C = LoadContext;
    using V = page::Value;

    auto& component = ClassRegistry::Get().Register("TComponent", "", nullptr);
    component.Prop<TComponent>(
        "Tag", [](TComponent& t, const V& v, C&) { t.Tag = C::Int(v); }, "0");

    auto& control = ClassRegistry::Get().Register("TControl", "TComponent", nullptr);
    ControlProps<TControl>(control);
    auto& win = ClassRegistry::Get().Register("TWinControl", "TControl", nullptr);
    WinControlProps<TWinControl>(win);

    RegisterClass<TForm>("TForm", "TWinControl")
        .Prop<TForm>("ClientWidth",
                     [](TForm& f, const V& v, C&) { f.SetClientWidth(int(C::Int(v))); })
        .Prop<TForm>("ClientHeight",
                     [](TForm& f, const V& v, C&) { f.SetClientHeight(int(C::Int(v))); })
        .Prop<TForm>(
            "BorderStyle",
            [](TForm& f, const V& v, C&) {
                f.SetBorderStyle(C::Enum<TFormBorderStyle>(
                    v, {{"bsNone", TFormBorderStyle::bsNone},
                        {"bsSingle", TFormBorderStyle::bsSingle},
                        {"bsSizeable", TFormBorderStyle::bsSizeable},
                        {"bsDialog", TFormBorderStyle::bsDialog},
                        {"bsToolWindow", TFormBorderStyle::bsToolWindow},
                        {"bsSizeToolWin", TFormBorderStyle::bsSizeToolWin}}));
            },
            "bssizeable")
        .Prop<TForm>(
            "FormStyle",
            [](TForm& f, const V& v, C&) {
                f.SetFormStyle(C::Enum<TFormStyle>(v, {{"fsNormal", TFormStyle::fsNormal},
                                                       {"fsStayOnTop", TFormStyle::fsStayOnTop}}));
            },
            "fsnormal")
        .Prop<TForm>(
            "Position",
            [](TForm& f, const V& v, C&) {
                f.SetPosition(
                    C::Enum<TPosition>(v, {{"poDesigned", TPosition::poDesigned},
                                           {"poDefault", TPosition::poDefault},
                                           {"poDefaultPosOnly", TPosition::poDefaultPosOnly},
                                           {"poDefaultSizeOnly", TPosition::poDefaultSizeOnly},
                                           {"poScreenCenter", TPosition::poScreenCenter},
                                           {"poDesktopCenter", TPosition::poDesktopCenter},
                                           {"poMainFormCenter", TPosition::poMainFormCenter},
                                           {"poOwnerFormCenter", TPosition::poOwnerFormCenter}}));
            },
            "podesigned")
        .Prop<TForm>(
            "WindowState",
            [](TForm& f, const V& v, C&) {
                f.SetWindowState(
                    C::Enum<TWindowState>(v, {{"wsNormal", TWindowState::wsNormal},
                                              {"wsMinimized", TWindowState::wsMinimized},
                                              {"wsMaximized", TWindowState::wsMaximized}}));
            },
            "wsnormal")
        .Prop<TForm>(
            "AutoSize", [](TForm& f, const V& v, C&) { f.SetAutoSize(C::Bool(v)); }, "false")
        .Prop<TForm>(
            "AutoScroll", [](TForm& f, const V& v, C&) { f.AutoScroll = C::Bool(v); }, "true")
        .Prop<TForm>("PixelsPerInch",
                     [](TForm& f, const V& v, C&) { f.PixelsPerInch = int(C::Int(v)); })
        .Prop<TForm>("TextHeight", [](TForm& f, const V& v, C&) { f.TextHeight = int(C::Int(v)); })
        .Prop<TForm>("Menu",
                     [](TForm& f, const V& v, C& ctx) {
                         ctx.Ref<TMainMenu>(v, [&f](TMainMenu* m) { f.SetMenu(m); });
                     })
        .Prop<TForm>("OnCreate", [](TForm& f, const V& v, C& ctx) { f.OnCreate = ctx.Handler(v); })
        .Prop<TForm>("OnActivate",
                     [](TForm& f, const V& v, C& ctx) { f.OnActivate = ctx.Handler(v); })
        .Prop<TForm>("OnDeactivate",
                     [](TForm& f, const V& v, C& ctx) { f.OnDeactivate = ctx.Handler(v); })
        .Prop<TForm>("OnShow", [](TForm& f, const V& v, C& ctx) { f.OnShow = ctx.Handler(v); });

    RegisterClass<TLabel>("TLabel", "TControl")
        .Prop<TLabel>(
            "AutoSize", [](TLabel& l, const V& v, C&) { l.SetAutoSize(C::Bool(v)); }, "true")
        .Prop<TLabel>(
            "Alignment",
            [](TLabel& l, const V& v, C&) {
                l.SetAlignment(
                    C::Enum<TAlignment>(v, {{"taLeftJustify", TAlignment::taLeftJustify},
                                            {"taRightJustify", TAlignment::taRightJustify},
                                            {"taCenter", TAlignment::taCenter}}));
            },
            "taleftjustify")
        .Prop<TLabel>(
            "Layout",
            [](TLabel& l, const V& v, C&) {
                l.SetLayout(C::Enum<TTextLayout>(v, {{"tlTop", TTextLayout::tlTop},
                                                     {"tlCenter", TTextLayout::tlCenter},
                                                     {"tlBottom", TTextLayout::tlBottom}}));
            },
            "tltop")
        .Prop<TLabel>(
            "WordWrap", [](TLabel& l, const V& v, C&) { l.SetWordWrap(C::Bool(v)); }, "false")
        .Prop<TLabel>(
            "Transparent", [](TLabel& l, const V& v, C&) { l.SetTransparent(C::Bool(v)); },
            "false");

    // Panels of every kind share their bevels.
    static const std::map<std::string, TBevelCut> bevels{{"bvNone", TBevelCut::bvNone},
                                                         {"bvLowered", TBevelCut::bvLowered},
                                                         {"bvRaised", TBevelCut::bvRaised},
                                                         {"bvSpace", TBevelCut::bvSpace}};
    using P = TCustomPanel;
    ClassRegistry::Get()
        .Register("TCustomPanel", "TWinControl", nullptr)
        .Prop<P>(
            "BevelInner",
            [](P& p, const V& v, C&) { p.SetBevelInner(C::Enum<TBevelCut>(v, bevels)); }, "bvnone")
        .Prop<P>(
            "BevelOuter",
            [](P& p, const V& v, C&) { p.SetBevelOuter(C::Enum<TBevelCut>(v, bevels)); },
            "bvraised")
        .Prop<P>(
            "BevelWidth", [](P& p, const V& v, C&) { p.SetBevelWidth(int(C::Int(v))); }, "1");
    RegisterClass<TPanel>("TPanel", "TCustomPanel");

    RegisterClass<TButton>("TButton", "TWinControl")
        .Prop<TButton>(
            "Default", [](TButton& b, const V& v, C&) { b.Default = C::Bool(v); }, "false")
        .Prop<TButton>(
            "Cancel", [](TButton& b, const V& v, C&) { b.Cancel = C::Bool(v); }, "false");

    RegisterClass<TRadioButton>("TRadioButton", "TWinControl")
        .Prop<TRadioButton>(
            "Checked", [](TRadioButton& r, const V& v, C&) { r.SetChecked(C::Bool(v)); }, "false");

    RegisterClass<TComboBox>("TComboBox", "TWinControl")
        .Prop<TComboBox>(
            "Style",
            [](TComboBox& c, const V& v, C&) {
                c.Style = C::Enum<TComboBoxStyle>(
                    v, {{"csDropDown", TComboBoxStyle::csDropDown},
                        {"csSimple", TComboBoxStyle::csSimple},
                        {"csDropDownList", TComboBoxStyle::csDropDownList}});
            },
            "csdropdown")
        .Prop<TComboBox>("ItemHeight",
                         [](TComboBox& c, const V& v, C&) { c.ItemHeight = int(C::Int(v)); })
        .Prop<TComboBox>("Items.Strings",
                         [](TComboBox& c, const V& v, C&) { c.Items.Assign(C::Strings(v)); })
        .Prop<TComboBox>("OnChange",
                         [](TComboBox& c, const V& v, C& ctx) { c.OnChange = ctx.Handler(v); });

    RegisterClass<TMemo>("TMemo", "TWinControl")
        .Prop<TMemo>("Lines.Strings",
                     [](TMemo& m, const V& v, C&) { m.Lines.Assign(C::Strings(v)); })
        .Prop<TMemo>(
            "ReadOnly", [](TMemo& m, const V& v, C&) { m.SetReadOnly(C::Bool(v)); }, "false");

    RegisterClass<TMainMenu>("TMainMenu", "TComponent");
    RegisterClass<TMenuItem>("TMenuItem", "TComponent")
        .Prop<TMenuItem>("Caption",
                         [](TMenuItem& m, const V& v, C&) { m.SetCaption(C::String(v)); })
        .Prop<TMenuItem>(
            "Checked", [](TMenuItem& m, const V& v, C&) { m.SetChecked(C::Bool(v)); }, "false")
        .Prop<TMenuItem>(
            "Enabled", [](TMenuItem& m, const V& v, C&) { m.SetEnabled(C::Bool(v)); }, "true")
        .Prop<TMenuItem>(
            "Visible", [](TMenuItem& m, const V& v, C&) { m.SetVisible(C::Bool(v)); }, "true")
        .Prop<TMenuItem>("OnClick",
                         [](TMenuItem& m, const V& v, C& ctx) { m.OnClick = ctx.Handler(v); });
}

} // namespace ui
