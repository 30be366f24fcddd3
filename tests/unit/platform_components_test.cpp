// Components (names, lookup, ownership, free notification), string lists and messages.
#include "platform/StdCtrls.h"
#include "platform/TestSeams.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace ui;
namespace seam = ui::testing;

namespace {

// Counts its own destructions so that a test can tell "freed once" from "leaked" or "freed twice"
// (the sanitizer build reports the latter two on its own as well).
int destroyed = 0;

class TCountedComponent : public TComponent {
public:
    using TComponent::TComponent;
    ~TCountedComponent() override { ++destroyed; }
};
class TCountedGraphic : public TGraphicControl {
public:
    using TGraphicControl::TGraphicControl;
    ~TCountedGraphic() override { ++destroyed; }
};
class TCountedPanel : public TPanel {
public:
    using TPanel::TPanel;
    ~TCountedPanel() override { ++destroyed; }
};
class TCountedItem : public TMenuItem {
public:
    using TMenuItem::TMenuItem;
    ~TCountedItem() override { ++destroyed; }
};

// Holds a link to another component and drops it when told the component is going.
class TLinkHolder : public TComponent {
public:
    using TComponent::TComponent;
    void Link(TComponent* c) {
        link.set(c);
        FreeNotification(c);
    }
    TLink<TComponent> link;
    std::vector<TComponent*> removed;

protected:
    void Notification(TComponent* c, bool removing) override {
        TComponent::Notification(c, removing);
        if (removing) {
            removed.push_back(c);
            link.clearIf(c);
        }
    }
};

class PlatformComponents : public ::testing::Test {
protected:
    void SetUp() override {
        seam::InitTestApplication();
        destroyed = 0;
    }
    void TearDown() override { seam::DoneTestApplication(); }
};

} // namespace

TEST_F(PlatformComponents, UniqueNameIsStemAndFirstFreeNumberIgnoringCase) {
    TComponent owner(nullptr);
    EXPECT_EQ(owner.UniqueName("Item"), "Item1");
    (new TComponent(&owner))->SetName("ITEM1");
    (new TComponent(&owner))->SetName("item3");
    // A name that only starts like a numbered one does not take the number.
    (new TComponent(&owner))->SetName("Item2x");
    EXPECT_EQ(owner.UniqueName("Item"), "Item2");
    (new TComponent(&owner))->SetName(owner.UniqueName("Item"));
    EXPECT_EQ(owner.UniqueName("Item"), "Item4");
    // Only the owner's own components count.
    TComponent other(nullptr);
    EXPECT_EQ(other.UniqueName("Item"), "Item1");
}

TEST_F(PlatformComponents, FindComponentIgnoresCaseAndLooksOnlyAtOwnComponents) {
    TComponent owner(nullptr);
    auto* a = new TComponent(&owner);
    a->SetName("StartButton");
    auto* inner = new TComponent(a);
    inner->SetName("Inner");
    EXPECT_EQ(owner.FindComponent("startbutton"), a);
    EXPECT_EQ(owner.FindComponent("STARTBUTTON"), a);
    EXPECT_EQ(owner.FindComponent("Inner"), nullptr);
    EXPECT_EQ(owner.FindComponent(""), nullptr);
    EXPECT_EQ(owner.FindComponent("Start"), nullptr);
}

TEST_F(PlatformComponents, DuplicateNameIsRejectedAndTheOldNameStays) {
    TComponent owner(nullptr);
    auto* a = new TComponent(&owner);
    a->SetName("Panel1");
    auto* b = new TComponent(&owner);
    b->SetName("Panel2");
    EXPECT_THROW(b->SetName("PANEL1"), Exception);
    EXPECT_EQ(b->Name(), "Panel2");
    // Renaming to the own name in another case is no clash; components of other owners do not
    // clash either.
    EXPECT_NO_THROW(a->SetName("PANEL1"));
    EXPECT_EQ(a->Name(), "PANEL1");
    TComponent other(nullptr);
    EXPECT_NO_THROW((new TComponent(&other))->SetName("Panel2"));
    // Unnamed components never clash.
    EXPECT_NO_THROW((new TComponent(&owner))->SetName(""));
    EXPECT_NO_THROW((new TComponent(&owner))->SetName(""));
}

TEST_F(PlatformComponents, OwnedComponentsGoWithTheirOwnerOnce) {
    auto* owner = new TComponent(nullptr);
    auto* a = new TCountedComponent(owner);
    new TCountedComponent(a); // grandchild
    auto* early = new TCountedComponent(owner);
    new TCountedComponent(owner);
    // A component freed early leaves its owner's list.
    delete early;
    EXPECT_EQ(destroyed, 1);
    EXPECT_EQ(owner->ComponentCount(), 2);
    delete owner;
    EXPECT_EQ(destroyed, 4);
}

// Controls are destroyed with their parent whoever owns them, and with their owner whoever is
// their parent; either way each one goes exactly once.
TEST_F(PlatformComponents, ControlsWhoseOwnerIsNotTheirParentGoOnce) {
    auto* form = Application->CreateForm<TForm>();
    auto* panel = new TCountedPanel(form);
    panel->SetParent(form);
    // Owned by the panel, placed on the form.
    auto* onForm = new TCountedGraphic(panel);
    onForm->SetParent(form);
    // Owned by the form, placed on the panel.
    auto* onPanel = new TCountedGraphic(form);
    onPanel->SetParent(panel);
    // Owned by another form altogether, placed on the panel.
    auto* otherForm = Application->CreateForm<TForm>();
    auto* foreign = new TCountedGraphic(otherForm);
    foreign->SetParent(panel);

    delete panel; // takes onPanel and foreign (children) and onForm (owned)
    EXPECT_EQ(destroyed, 4);
    EXPECT_EQ(form->ControlCount(), 0);
    EXPECT_EQ(form->ComponentCount(), 0);
    EXPECT_EQ(otherForm->ComponentCount(), 0);

    // The same tree, this time going with the form that holds it.
    destroyed = 0;
    auto* panel2 = new TCountedPanel(otherForm);
    panel2->SetParent(form);
    (new TCountedGraphic(panel2))->SetParent(form);
    (new TCountedGraphic(form))->SetParent(panel2);
    (new TCountedGraphic(otherForm))->SetParent(panel2);
    delete form; // panel2 with its children and the control it owns
    EXPECT_EQ(destroyed, 4);
    EXPECT_EQ(otherForm->ComponentCount(), 0);
}

TEST_F(PlatformComponents, MenuItemsGoOnceWithTheirOwnerOrTheirMenu) {
    auto* form = Application->CreateForm<TForm>();
    auto* menu = new TMainMenu(form);
    form->SetMenu(menu);
    auto* file = new TCountedItem(form);
    menu->Items()->Add(file);
    auto* exit = new TCountedItem(form);
    file->Add(exit);
    auto* early = new TCountedItem(form);
    auto* help = new TCountedItem(form);
    menu->Items()->Add(help);
    help->Add(early);

    delete exit;
    EXPECT_EQ(file->Count(), 0);
    EXPECT_EQ(destroyed, 1);

    // Freeing the menu frees its entries, though the form owns them.
    delete menu;
    EXPECT_EQ(form->Menu(), nullptr);
    EXPECT_EQ(destroyed, 4);
    EXPECT_EQ(form->ComponentCount(), 0);

    // And the other way round: the form goes with its menu and entries, one of them created
    // before the entry that holds it.
    destroyed = 0;
    auto* menu2 = new TMainMenu(form);
    form->SetMenu(menu2);
    auto* late = new TCountedItem(form);
    auto* top = new TCountedItem(form);
    menu2->Items()->Add(top);
    top->Add(late);
    top->Add(new TCountedItem(form));
    delete form;
    EXPECT_EQ(destroyed, 3);
}

TEST_F(PlatformComponents, FreeNotificationClearsTheLinkWhicheverGoesFirst) {
    auto* holder = new TLinkHolder(nullptr);
    auto* target = new TComponent(nullptr);
    holder->Link(target);
    delete target;
    EXPECT_EQ(holder->link.get(), nullptr);
    ASSERT_EQ(holder->removed.size(), 1u);

    // The holder going first must leave nothing behind in the target (no call into a freed
    // holder when the target goes later).
    auto* target2 = new TComponent(nullptr);
    holder->Link(target2);
    delete holder;
    delete target2;

    // A linked component that the holder's own owner frees is reported too.
    TComponent owner(nullptr);
    auto* holder2 = new TLinkHolder(&owner);
    auto* sibling = new TComponent(&owner);
    holder2->Link(sibling);
    delete sibling;
    EXPECT_EQ(holder2->link.get(), nullptr);
}

// ---------------------------------------------------------------- string lists

namespace {

struct SplitCase {
    const char* text;
    std::vector<std::string> lines;
};
void PrintTo(const SplitCase& c, std::ostream* os) {
    *os << ::testing::PrintToString(std::string(c.text));
}

class PlatformStringsSplit : public ::testing::TestWithParam<SplitCase> {};

} // namespace

TEST_P(PlatformStringsSplit, SplitsAtLineBreaks) {
    TStrings s;
    s.Add("old");
    int changes = 0;
    s.OnChange = [&] { ++changes; };
    s.SetText(GetParam().text);
    EXPECT_EQ(s.Items(), GetParam().lines);
    EXPECT_EQ(changes, 1);
}

INSTANTIATE_TEST_SUITE_P(Cases, PlatformStringsSplit,
                         ::testing::Values(SplitCase{"", {}}, SplitCase{"one", {"one"}},
                                           SplitCase{"one\r\ntwo\r\n", {"one", "two"}},
                                           SplitCase{"one\r\ntwo", {"one", "two"}},
                                           SplitCase{"one\r\n\r\nthree", {"one", "", "three"}},
                                           SplitCase{"\r\n", {""}},
                                           SplitCase{"a\nb\rc", {"a", "b", "c"}},
                                           // CR LF is one break, LF CR two.
                                           SplitCase{"a\n\rb", {"a", "", "b"}}));

TEST(PlatformStrings, TextJoinsWithCrLfAndReadsBack) {
    TStrings s;
    s.Assign({"Pull Up", "", "Pull Down"});
    EXPECT_EQ(s.Text(), "Pull Up\r\n\r\nPull Down\r\n");
    TStrings t;
    t.SetText(s.Text());
    EXPECT_EQ(t.Items(), s.Items());
}

// ---------------------------------------------------------------- messages

namespace {

struct Received {
    std::string who;
    unsigned msg;
    WPARAM wParam;
    LPARAM lParam;
};

// Records the enter/leave messages it receives, answers WM_USER + 1 with its tag, and otherwise
// does what a control does.
template <class Base> class TRecorder : public Base {
public:
    TRecorder(TComponent* owner, std::vector<Received>& log) : Base(owner), log_(log) {}
    void WndProc(TMessage& m) override {
        if (m.Msg == CM_MOUSEENTER || m.Msg == CM_MOUSELEAVE)
            log_.push_back({this->Name(), m.Msg, m.WParam, m.LParam});
        if (m.Msg == WM_USER + 1) {
            m.Result = static_cast<LRESULT>(this->Tag) + static_cast<LRESULT>(m.WParam);
            return;
        }
        Base::WndProc(m);
    }

private:
    std::vector<Received>& log_;
};

} // namespace

TEST_F(PlatformComponents, PerformReturnsTheResultOfTheWindowProcedure) {
    std::vector<Received> log;
    TRecorder<TGraphicControl> c(nullptr, log);
    c.Tag = 40;
    EXPECT_EQ(c.Perform(WM_USER + 1, 2, 0), 42);
    // A message nobody handles answers 0.
    EXPECT_EQ(c.Perform(WM_USER + 7, 1, 1), 0);
}

TEST_F(PlatformComponents, MouseEnterAndLeavePassOnToTheParentNamingTheControl) {
    std::vector<Received> log;
    auto* form = Application->CreateForm<TForm>();
    auto* panel = new TRecorder<TPanel>(form, log);
    panel->SetName("Panel");
    panel->SetParent(form);
    auto* inner = new TRecorder<TGraphicControl>(form, log);
    inner->SetName("Inner");
    inner->SetParent(panel);

    inner->Perform(CM_MOUSEENTER);
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].who, "Inner");
    EXPECT_EQ(log[0].lParam, 0);
    EXPECT_EQ(log[1].who, "Panel");
    EXPECT_EQ(log[1].msg, CM_MOUSEENTER);
    EXPECT_EQ(log[1].wParam, 0u);
    EXPECT_EQ(log[1].lParam, reinterpret_cast<LPARAM>(inner));

    log.clear();
    inner->Perform(CM_MOUSELEAVE);
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[1].who, "Panel");
    EXPECT_EQ(log[1].msg, CM_MOUSELEAVE);
    EXPECT_EQ(log[1].lParam, reinterpret_cast<LPARAM>(inner));

    // Without a parent the message simply ends.
    log.clear();
    inner->SetParent(nullptr);
    inner->Perform(CM_MOUSEENTER);
    EXPECT_EQ(log.size(), 1u);
}

TEST(PlatformMenuEntries, AGoneEntryIsNotFoundByItsSerialAndSerialsAreNotReused) {
    auto* item = new TMenuItem(nullptr);
    uint64_t serial = item->Serial();
    EXPECT_EQ(TMenuItem::FindBySerial(serial), item);
    delete item;
    EXPECT_EQ(TMenuItem::FindBySerial(serial), nullptr);
    TMenuItem next(nullptr);
    EXPECT_NE(next.Serial(), serial);
    EXPECT_EQ(TMenuItem::FindBySerial(serial), nullptr);
}
