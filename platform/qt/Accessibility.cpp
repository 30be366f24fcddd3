// Screen readers: Qt's accessibility for the widgets we paint ourselves, with the graphic
// controls painted on them (labels, circles, jumper drawings) as children at their bounds, and
// the events that announce their changes.
#include "platform/qt/Accessibility.h"

#include "platform/qt/Widgets.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QPointer>
#include <QRadioButton>
#include <unordered_map>

namespace ui::qt {

namespace {

QAccessible::Role RoleOf(TAccessibleRole r) {
    switch (r) {
    case TAccessibleRole::Pane:
        return QAccessible::Pane;
    case TAccessibleRole::Group:
        return QAccessible::Grouping;
    case TAccessibleRole::Graphic:
        return QAccessible::Graphic;
    case TAccessibleRole::Label:
        return QAccessible::StaticText;
    case TAccessibleRole::PushButton:
        return QAccessible::Button;
    case TAccessibleRole::StatusBar:
        return QAccessible::StatusBar;
    }
    return QAccessible::Client;
}

QAccessible::State StateOf(const TControl* c) {
    QAccessible::State s;
    TAccessibleStates a = c->AccessibleStates();
    s.checkable = a.checkable;
    s.checked = a.checked;
    s.expandable = a.expandable;
    s.expanded = a.expanded;
    s.collapsed = a.expandable && !a.expanded;
    s.invisible = !c->Showing();
    s.disabled = !c->Enabled();
    return s;
}

QString TextOf(const TControl* c, QAccessible::Text t) {
    switch (t) {
    case QAccessible::Name:
        return ToQ(c->AccessibleName());
    case QAccessible::Description:
        return ToQ(c->AccessibleDescription());
    case QAccessible::Value:
        return ToQ(c->AccessibleValue());
    default:
        return {};
    }
}

// The graphic children of a windowed control, in paint order.
std::vector<TControl*> GraphicChildren(const TWinControl* w) {
    std::vector<TControl*> out;
    for (int i = 0; i < w->ControlCount(); ++i)
        if (TControl* c = w->Controls(i); !c->IsWindowed() && c->Visible()) out.push_back(c);
    return out;
}

class GraphicAccessible;
std::unordered_map<const TControl*, QAccessible::Id>& Graphics() {
    static std::unordered_map<const TControl*, QAccessible::Id> map;
    return map;
}

// A graphic control, answered for by its windowed parent's widget. It has no widget of its
// own; a small object stands in for it where the bridge asks for one.
class GraphicAccessible : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    explicit GraphicAccessible(TControl* c) : control_(c) {}
    bool isValid() const override { return control_ != nullptr; }
    QObject* object() const override { return const_cast<QObject*>(&anchor_); }
    QWindow* window() const override {
        QAccessibleInterface* p = parent();
        return p ? p->window() : nullptr;
    }
    QAccessibleInterface* parent() const override {
        if (!control_ || !control_->Parent() || !control_->Parent()->HandleAllocated())
            return nullptr;
        return QAccessible::queryAccessibleInterface(
            WidgetOf(control_->Parent()->ChildContainer()));
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QString text(QAccessible::Text t) const override {
        return control_ ? TextOf(control_, t) : QString();
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override {
        if (!control_) return {};
        TPoint o = control_->ClientToScreen({0, 0});
        return QRect(o.X, o.Y, control_->Width(), control_->Height());
    }
    QAccessible::Role role() const override {
        return control_ ? RoleOf(control_->AccessibleRole()) : QAccessible::NoRole;
    }
    QAccessible::State state() const override {
        return control_ ? StateOf(control_) : QAccessible::State();
    }
    void* interface_cast(QAccessible::InterfaceType t) override {
        return t == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this)
                                                 : nullptr;
    }
    QStringList actionNames() const override {
        return control_ ? QStringList{pressAction()} : QStringList{};
    }
    void doAction(const QString& name) override {
        TControl* c = control_;
        if (c && name == pressAction()) Guarded(c, [c] { c->AccessiblePress(); });
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }
    void Forget() { control_ = nullptr; }

private:
    TControl* control_;
    QObject anchor_;
};

QAccessibleInterface* InterfaceOfGraphic(TControl* c) {
    auto& map = Graphics();
    auto it = map.find(c);
    if (it != map.end()) return QAccessible::accessibleInterface(it->second);
    auto* iface = new GraphicAccessible(c);
    map[c] = QAccessible::registerAccessibleInterface(iface);
    return iface;
}

// A widget we paint: its graphic children first (they lie beneath every windowed child), then
// the widgets.
class PaintedAccessible : public QAccessibleWidget {
public:
    explicit PaintedAccessible(QWidget* w) : QAccessibleWidget(w) {}
    TWinControl* Control() const { return ControlOfWidget(widget()); }
    QAccessible::Role role() const override {
        TWinControl* c = Control();
        return c ? RoleOf(c->AccessibleRole()) : QAccessible::Pane;
    }
    QString text(QAccessible::Text t) const override {
        TWinControl* c = Control();
        return c ? TextOf(c, t) : QAccessibleWidget::text(t);
    }
    int childCount() const override {
        TWinControl* c = Control();
        return (c ? static_cast<int>(GraphicChildren(c).size()) : 0) +
               QAccessibleWidget::childCount();
    }
    QAccessibleInterface* child(int i) const override {
        TWinControl* c = Control();
        auto g = c ? GraphicChildren(c) : std::vector<TControl*>{};
        if (i < 0) return nullptr;
        if (i < static_cast<int>(g.size())) return InterfaceOfGraphic(g[static_cast<size_t>(i)]);
        return QAccessibleWidget::child(i - static_cast<int>(g.size()));
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        TWinControl* c = Control();
        auto g = c ? GraphicChildren(c) : std::vector<TControl*>{};
        for (size_t i = 0; i < g.size(); ++i)
            if (auto it = Graphics().find(g[i]);
                it != Graphics().end() && QAccessible::accessibleInterface(it->second) == child)
                return static_cast<int>(i);
        int w = QAccessibleWidget::indexOfChild(child);
        return w < 0 ? -1 : w + static_cast<int>(g.size());
    }
};

// Our radio buttons keep their exclusiveness themselves, so the toolkit would call them check
// boxes; a screen reader should hear radio buttons.
class RadioAccessible : public QAccessibleWidget {
public:
    explicit RadioAccessible(QRadioButton* b) : QAccessibleWidget(b, QAccessible::RadioButton) {}
    QRadioButton* Button() const { return static_cast<QRadioButton*>(widget()); }
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name) {
            QString n = widget()->accessibleName();
            return n.isEmpty() ? Button()->text().remove(QLatin1Char('&')) : n;
        }
        return QAccessibleWidget::text(t);
    }
    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.checkable = true;
        s.checked = Button()->isChecked();
        return s;
    }
    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& name) override {
        if (name == pressAction()) Button()->click();
    }
};

class WindowAccessible : public QAccessibleWidget {
public:
    explicit WindowAccessible(QWidget* w) : QAccessibleWidget(w, QAccessible::Window) {}
};

QAccessibleInterface* Factory(const QString&, QObject* object) {
    if (auto* fw = dynamic_cast<FormWindow*>(object)) return new WindowAccessible(fw);
    if (auto* pw = dynamic_cast<PaintedWidget*>(object)) return new PaintedAccessible(pw);
    if (auto* rb = qobject_cast<QRadioButton*>(object)) return new RadioAccessible(rb);
    return nullptr;
}

} // namespace

void InstallAccessibility() {
    QAccessible::installFactory(Factory);
}

void AnnounceChange(TControl* c, bool valueChanged) {
    if (!QAccessible::isActive()) return;
    QAccessibleInterface* iface = nullptr;
    if (!c->IsWindowed()) {
        if (!c->Parent() || !c->Parent()->HandleAllocated()) return;
        iface = InterfaceOfGraphic(c);
    } else if (auto* w = static_cast<TWinControl*>(c); w->HandleAllocated()) {
        iface = QAccessible::queryAccessibleInterface(WidgetOf(w->Handle()));
    }
    if (!iface) return;
    if (valueChanged) {
        QAccessibleValueChangeEvent e(iface, ToQ(c->AccessibleValue()));
        QAccessible::updateAccessibility(&e);
        QAccessibleEvent d(iface, QAccessible::DescriptionChanged);
        QAccessible::updateAccessibility(&d);
    }
    QAccessible::State changed;
    changed.checked = changed.expanded = changed.collapsed = true;
    QAccessibleStateChangeEvent s(iface, changed);
    QAccessible::updateAccessibility(&s);
}

void RefreshAccessible(QWidget* widget) {
    if (!QAccessible::isActive()) return;
    QAccessibleInterface* made = QAccessible::queryAccessibleInterface(widget);
    if (!made || dynamic_cast<PaintedAccessible*>(made) || dynamic_cast<WindowAccessible*>(made) ||
        dynamic_cast<RadioAccessible*>(made))
        return;
    QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(made));
}

void ForgetControl(TControl* c) {
    auto& map = Graphics();
    auto it = map.find(c);
    if (it == map.end()) return;
    QAccessible::Id id = it->second;
    map.erase(it);
    if (auto* iface = static_cast<GraphicAccessible*>(QAccessible::accessibleInterface(id))) {
        iface->Forget();
        QAccessible::deleteAccessibleInterface(id);
    }
}

} // namespace ui::qt
