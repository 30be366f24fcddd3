// Controls: alignment, anchors, z-order, clicks from button messages, mouse tracking across
// forms, and the standard controls' event rules.
#include "platform/StdCtrls.h"
#include "platform/TestSeams.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

using namespace ui;
namespace seam = ui::testing;

namespace ui {
// Readable failures; local to this file.
[[maybe_unused]] static void PrintTo(const TRect& r, std::ostream* os) {
    *os << "(" << r.Left << "," << r.Top << " " << r.Width() << "x" << r.Height() << ")";
}
[[maybe_unused]] static void PrintTo(const TPoint& p, std::ostream* os) {
    *os << "(" << p.X << "," << p.Y << ")";
}
} // namespace ui

namespace {

class PlatformControls : public ::testing::Test {
protected:
    void SetUp() override {
        seam::InitTestApplication();
        form = Application->CreateForm<TForm>();
    }
    void TearDown() override { seam::DoneTestApplication(); }

    template <class T> T* Add(TWinControl* parent, TRect r) {
        auto* c = new T(form);
        c->SetParent(parent);
        c->SetBounds(r.Left, r.Top, r.Width(), r.Height());
        return c;
    }
    TForm* form = nullptr;
};

} // namespace

// ---------------------------------------------------------------- alignment

TEST_F(PlatformControls, AlignTopStacksAndClientTakesTheRest) {
    auto* box = Add<TPanel>(form, Bounds(0, 0, 300, 200));
    auto* top1 = Add<TPanel>(box, Bounds(0, 0, 10, 20));
    auto* top2 = Add<TPanel>(box, Bounds(0, 0, 10, 30));
    auto* rest = Add<TPanel>(box, Bounds(5, 5, 10, 10));
    top1->SetAlign(TAlign::alTop);
    top2->SetAlign(TAlign::alTop);
    rest->SetAlign(TAlign::alClient);
    EXPECT_EQ(top1->BoundsRect(), Bounds(0, 0, 300, 20));
    EXPECT_EQ(top2->BoundsRect(), Bounds(0, 20, 300, 30));
    EXPECT_EQ(rest->BoundsRect(), Bounds(0, 50, 300, 150));

    // The parent's new size flows through.
    box->SetBounds(0, 0, 400, 260);
    EXPECT_EQ(top2->BoundsRect(), Bounds(0, 20, 400, 30));
    EXPECT_EQ(rest->BoundsRect(), Bounds(0, 50, 400, 210));

    // A hidden control gives up its band; a new height of an aligned control moves the others.
    top1->Hide();
    EXPECT_EQ(top2->BoundsRect(), Bounds(0, 0, 400, 30));
    EXPECT_EQ(rest->BoundsRect(), Bounds(0, 30, 400, 230));
    top2->SetHeight(50);
    EXPECT_EQ(top2->BoundsRect(), Bounds(0, 0, 400, 50));
    EXPECT_EQ(rest->BoundsRect(), Bounds(0, 50, 400, 210));
    // Removing an aligned control from the parent realigns the rest.
    top2->SetParent(nullptr);
    EXPECT_EQ(rest->BoundsRect(), Bounds(0, 0, 400, 260));
    delete top2;
}

// ---------------------------------------------------------------- anchors

namespace {

struct AnchorCase {
    const char* label;
    TAnchors anchors;
    TRect after; // the button's bounds once its 305 x 130 parent is 390 x 160
};
void PrintTo(const AnchorCase& c, std::ostream* os) {
    *os << c.label;
}

class PlatformAnchors : public PlatformControls,
                        public ::testing::WithParamInterface<AnchorCase> {};

} // namespace

TEST_P(PlatformAnchors, KeepDistancesOrTheCentreInProportion) {
    const auto& c = GetParam();
    auto* parent = Add<TPanel>(form, Bounds(0, 0, 305, 130));
    auto* button = Add<TButton>(parent, Bounds(66, 105, 173, 25));
    button->SetAnchors(c.anchors);
    parent->SetBounds(0, 0, 390, 160);
    EXPECT_EQ(button->BoundsRect(), c.after);
    // Going back restores the original bounds exactly: the rules are kept from the last
    // placement by code, not recomputed from rounded results.
    parent->SetBounds(0, 0, 320, 140);
    parent->SetBounds(0, 0, 305, 130);
    EXPECT_EQ(button->BoundsRect(), Bounds(66, 105, 173, 25));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PlatformAnchors,
    ::testing::Values(
        AnchorCase{"LeftTop", akLeft | akTop, Bounds(66, 105, 173, 25)},
        AnchorCase{"LeftRightGrows", akLeft | akRight | akTop, Bounds(66, 105, 258, 25)},
        AnchorCase{"RightOnlyMoves", akRight | akTop, Bounds(151, 105, 173, 25)},
        AnchorCase{"TopBottomGrows", akLeft | akTop | akBottom, Bounds(66, 105, 173, 55)},
        // 152 * 390 / 305 = 194.4 -> 194, less half the width (86): 108.
        AnchorCase{"BottomOnlyKeepsBottomDistanceAndCentresX", akBottom, Bounds(108, 135, 173, 25)},
        // Vertically too: (105 + 12) * 160 / 130 = 144, less 12.
        AnchorCase{"NoneCentresBoth", 0, Bounds(108, 132, 173, 25)}),
    [](const ::testing::TestParamInfo<AnchorCase>& info) { return std::string(info.param.label); });

TEST_F(PlatformControls, AnchorRulesFollowAMoveByCode) {
    auto* parent = Add<TPanel>(form, Bounds(0, 0, 300, 100));
    auto* c = Add<TButton>(parent, Bounds(10, 10, 50, 20));
    c->SetAnchors(akRight | akTop);
    parent->SetWidth(400);
    EXPECT_EQ(c->Left(), 110);
    // Placed again by code: the distance to the right edge is taken anew.
    c->SetLeft(300);
    parent->SetWidth(300);
    EXPECT_EQ(c->Left(), 200);
}

// ---------------------------------------------------------------- z-order

TEST_F(PlatformControls, BringToFrontEndsTheListAndControlAtPosPicksTheTopmost) {
    auto* box = Add<TPanel>(form, Bounds(0, 0, 200, 200));
    auto* g1 = Add<TGraphicControl>(box, Bounds(10, 10, 50, 50));
    auto* g2 = Add<TGraphicControl>(box, Bounds(30, 30, 50, 50));
    auto* g3 = Add<TGraphicControl>(box, Bounds(150, 150, 10, 10));
    const TPoint overlap{40, 40};
    EXPECT_EQ(box->ControlAtPos(overlap), g2);
    g1->BringToFront();
    EXPECT_EQ(box->IndexOf(g1), box->ControlCount() - 1);
    EXPECT_EQ(box->ControlAtPos(overlap), g1);
    g1->SendToBack();
    EXPECT_EQ(box->IndexOf(g1), 0);
    EXPECT_EQ(box->ControlAtPos(overlap), g2);
    // Hidden and (unless asked) disabled controls are not hit.
    g2->Hide();
    EXPECT_EQ(box->ControlAtPos(overlap), g1);
    g1->SetEnabled(false);
    EXPECT_EQ(box->ControlAtPos(overlap), nullptr);
    EXPECT_EQ(box->ControlAtPos(overlap, true), g1);
    // Right and bottom edges are outside.
    EXPECT_EQ(box->ControlAtPos({160, 155}), nullptr);
    EXPECT_EQ(box->ControlAtPos({159, 159}), g3);
}

// Graphic controls are drawn on their parent's surface, beneath every windowed sibling; the hit
// test must agree with what is seen.
TEST_F(PlatformControls, WindowedSiblingsAreAboveGraphicOnes) {
    auto* box = Add<TPanel>(form, Bounds(0, 0, 200, 200));
    auto* win = Add<TPanel>(box, Bounds(30, 30, 50, 50));
    auto* graphic = Add<TGraphicControl>(box, Bounds(10, 10, 50, 50));
    graphic->BringToFront();
    EXPECT_EQ(box->ControlAtPos({40, 40}), win);
    EXPECT_EQ(box->ControlAtPos({15, 15}), graphic);
    // Asked for graphic controls only, the one beneath is found.
    EXPECT_EQ(box->ControlAtPos({40, 40}, false, false), graphic);
}

// ---------------------------------------------------------------- clicks from button messages

namespace {

struct MouseLog {
    int clicks = 0, dblClicks = 0;
    std::vector<TPoint> downs, moves;
    void Hook(TControl* c) {
        c->OnClick = [this](TObject*) { ++clicks; };
        c->OnDblClick = [this](TObject*) { ++dblClicks; };
        c->OnMouseDown = [this](TObject*, TMouseButton, int x, int y) { downs.push_back({x, y}); };
        c->OnMouseMove = [this](TObject*, int x, int y) { moves.push_back({x, y}); };
    }
};

} // namespace

TEST_F(PlatformControls, ClickNeedsDownAndUpOnTheSameControlWithCapture) {
    auto* box = Add<TPanel>(form, Bounds(0, 0, 200, 200));
    auto* g = Add<TGraphicControl>(box, Bounds(10, 10, 40, 20));
    MouseLog onBox, onG;
    onBox.Hook(box);
    onG.Hook(g);

    // The graphic child under the point gets the press, in its own coordinates.
    box->PeerMouse(WM_LBUTTONDOWN, {15, 15});
    box->PeerMouse(WM_LBUTTONUP, {16, 16});
    EXPECT_EQ(onG.clicks, 1);
    ASSERT_EQ(onG.downs.size(), 1u);
    EXPECT_EQ(onG.downs[0], (TPoint{5, 5}));
    EXPECT_EQ(onBox.clicks, 0);

    // While the button is held the control keeps the mouse: moves outside go to it.
    box->PeerMouse(WM_LBUTTONDOWN, {15, 15});
    box->PeerMouse(WM_MOUSEMOVE, {100, 100});
    ASSERT_EQ(onG.moves.size(), 1u);
    EXPECT_EQ(onG.moves[0], (TPoint{90, 90}));
    EXPECT_TRUE(onBox.moves.empty());
    // Released outside: no click, for the control or for what is under the point.
    box->PeerMouse(WM_LBUTTONUP, {100, 100});
    EXPECT_EQ(onG.clicks, 1);
    EXPECT_EQ(onBox.clicks, 0);

    // Out and back in before the release is still a click.
    box->PeerMouse(WM_LBUTTONDOWN, {15, 15});
    box->PeerMouse(WM_MOUSEMOVE, {100, 100});
    box->PeerMouse(WM_LBUTTONUP, {49, 29});
    EXPECT_EQ(onG.clicks, 2);

    // Pressed on the panel beside the control and released over it: the panel had the mouse
    // and the point is inside the panel, so the panel is clicked, not the control.
    box->PeerMouse(WM_LBUTTONDOWN, {100, 100});
    box->PeerMouse(WM_LBUTTONUP, {15, 15});
    EXPECT_EQ(onG.clicks, 2);
    EXPECT_EQ(onBox.clicks, 1);
}

TEST_F(PlatformControls, DoubleClickIsADoubleClickOnlyWhereTheStyleAsksForIt) {
    auto* box = Add<TPanel>(form, Bounds(0, 0, 200, 200));
    auto* withDbl = Add<TGraphicControl>(box, Bounds(0, 0, 50, 50));
    auto* without = Add<TGraphicControl>(box, Bounds(100, 0, 50, 50));
    without->ControlStyle &= static_cast<uint16_t>(~csDoubleClicks);
    MouseLog a, b;
    a.Hook(withDbl);
    b.Hook(without);
    auto doubleClickAt = [&](TPoint p) {
        box->PeerMouse(WM_LBUTTONDOWN, p);
        box->PeerMouse(WM_LBUTTONUP, p);
        box->PeerMouse(WM_LBUTTONDBLCLK, p);
        box->PeerMouse(WM_LBUTTONUP, p);
    };
    // The second press of a double click is a double click, not a second click.
    doubleClickAt({10, 10});
    EXPECT_EQ(a.clicks, 1);
    EXPECT_EQ(a.dblClicks, 1);
    // Without the style it is an ordinary press: two clicks.
    doubleClickAt({110, 10});
    EXPECT_EQ(b.clicks, 2);
    EXPECT_EQ(b.dblClicks, 0);
}

TEST_F(PlatformControls, ControlDestroyedWhileHoldingTheMouseIsForgotten) {
    auto* box = Add<TPanel>(form, Bounds(0, 0, 200, 200));
    auto* g = Add<TGraphicControl>(box, Bounds(10, 10, 40, 20));
    box->PeerMouse(WM_LBUTTONDOWN, {15, 15});
    delete g;
    MouseLog onBox;
    onBox.Hook(box);
    box->PeerMouse(WM_MOUSEMOVE, {20, 20});
    box->PeerMouse(WM_LBUTTONUP, {20, 20});
    EXPECT_EQ(onBox.moves.size(), 1u);
    EXPECT_EQ(onBox.clicks, 0);
}

TEST_F(PlatformControls, DestroyedWindowedChildLeavesTheTabOrder) {
    auto* a = Add<TButton>(form, Bounds(0, 0, 75, 25));
    auto* b = Add<TButton>(form, Bounds(0, 30, 75, 25));
    auto* c = Add<TButton>(form, Bounds(0, 60, 75, 25));
    delete b;
    ASSERT_EQ(form->TabList().size(), 2u);
    EXPECT_EQ(form->TabList()[0], a);
    EXPECT_EQ(form->TabList()[1], c);
    EXPECT_EQ(c->TabOrder(), 1);
    form->Show(); // builds the native tab chain from the list
    seam::ProcessPendingMessages();
    EXPECT_TRUE(form->Visible());
}

// ---------------------------------------------------------------- mouse tracking

namespace {

std::vector<std::string> tracked;

// Records enter and leave; a message passed on from a child shows as "enter P<-G".
template <class Base> class TTracked : public Base {
public:
    using Base::Base;
    void WndProc(TMessage& m) override {
        if (m.Msg == CM_MOUSEENTER || m.Msg == CM_MOUSELEAVE) {
            std::string s = (m.Msg == CM_MOUSEENTER ? "enter " : "leave ") + this->Name();
            if (m.LParam) s += "<-" + reinterpret_cast<TControl*>(m.LParam)->Name();
            tracked.push_back(s);
        }
        Base::WndProc(m);
    }
};

class PlatformMouseTracking : public ::testing::Test {
protected:
    void SetUp() override {
        seam::InitTestApplication();
        seam::SetScreenSize(1024, 768);
        tracked.clear();
        a = Application->CreateForm<TForm>();
        a->SetBounds(100, 100, 400, 300);
        p = Make<TTracked<TPanel>>(a, a, "P", Bounds(10, 10, 200, 150));
        g = Make<TTracked<TGraphicControl>>(a, p, "G", Bounds(20, 20, 50, 50));
        h = Make<TTracked<TGraphicControl>>(a, a, "H", Bounds(250, 10, 60, 60));
        a->Show();
        seam::ProcessPendingMessages();
    }
    void TearDown() override { seam::DoneTestApplication(); }

    template <class T> T* Make(TForm* owner, TWinControl* parent, const char* name, TRect r) {
        auto* c = new T(owner);
        c->SetName(name);
        c->SetParent(parent);
        c->SetBounds(r.Left, r.Top, r.Width(), r.Height());
        return c;
    }
    // Puts the cursor at a point of the control (its middle by default) and tracks.
    std::vector<std::string> MoveTo(TControl* c, std::optional<TPoint> at = std::nullopt) {
        TPoint s = c->ClientToScreen(at ? *at : TPoint{c->Width() / 2, c->Height() / 2});
        return MoveToScreen(s);
    }
    std::vector<std::string> MoveToScreen(TPoint s) {
        tracked.clear();
        seam::SetCursorPos(s.X, s.Y);
        Application->TrackMouse();
        return tracked;
    }
    using Log = std::vector<std::string>;
    TForm* a = nullptr;
    TWinControl* p = nullptr;
    TControl *g = nullptr, *h = nullptr;
};

} // namespace

TEST_F(PlatformMouseTracking, LeaveGoesToTheOldControlBeforeEnterToTheNew) {
    EXPECT_EQ(MoveTo(g), (Log{"enter G", "enter P<-G"}));
    EXPECT_EQ(Application->MouseControl(), g);
    EXPECT_EQ(MoveTo(h), (Log{"leave G", "leave P<-G", "enter H"}));
    EXPECT_EQ(MoveTo(p, TPoint{150, 100}), (Log{"leave H", "enter P"}));
    // No change, no message.
    EXPECT_EQ(MoveTo(p, TPoint{151, 101}), Log{});
    // Outside every form: the last control is left and nothing is entered.
    EXPECT_EQ(MoveToScreen({5, 5}), Log{"leave P"});
    EXPECT_EQ(Application->MouseControl(), nullptr);
    EXPECT_EQ(MoveToScreen({6, 6}), Log{});
}

TEST_F(PlatformMouseTracking, TopmostControlWins) {
    auto* g1 = Make<TTracked<TGraphicControl>>(a, a, "G1", Bounds(30, 200, 80, 40));
    auto* g2 = Make<TTracked<TGraphicControl>>(a, a, "G2", Bounds(60, 210, 80, 40));
    const TPoint overlap{40, 15}; // in g2's coordinates: inside g1 as well
    EXPECT_EQ(MoveTo(g2, overlap), Log{"enter G2"});
    g1->BringToFront();
    EXPECT_EQ(MoveTo(g2, overlap), (Log{"leave G2", "enter G1"}));
    // A windowed control covers graphic siblings wherever they overlap.
    auto* w = Make<TTracked<TPanel>>(a, a, "W", Bounds(20, 205, 30, 30));
    g1->BringToFront();
    EXPECT_EQ(MoveTo(w), (Log{"leave G1", "enter W"}));
}

TEST_F(PlatformMouseTracking, StayOnTopFormIsAboveANormalOneShownLater) {
    TForm* b = Application->CreateForm<TForm>();
    b->SetFormStyle(TFormStyle::fsStayOnTop);
    b->SetBounds(300, 150, 300, 200);
    auto* onB = Make<TTracked<TGraphicControl>>(b, b, "OnB", Bounds(0, 0, 10, 10));
    onB->SetAlign(TAlign::alClient);
    b->Show();
    a->Show(); // brings the normal form to the front of the normal ones
    seam::ProcessPendingMessages();

    // A point over both forms: inside a's client area and b's.
    TPoint both = onB->ClientToScreen({20, 20});
    TPoint inA = a->ScreenToClient(both);
    ASSERT_TRUE(a->ClientRect().Contains(inA));
    ASSERT_EQ(a->ControlAtPos(inA), nullptr);
    EXPECT_EQ(MoveToScreen(both), Log{"enter OnB"});
    // Over a only.
    EXPECT_EQ(MoveTo(h), (Log{"leave OnB", "enter H"}));
    // With b hidden, the same point is a's.
    b->Hide();
    EXPECT_EQ(MoveToScreen(both), Log{"leave H"});
    EXPECT_EQ(Application->MouseControl(), a);
}

TEST_F(PlatformMouseTracking, ControlDestroyedWhileUnderTheMouseIsNotTouchedAgain) {
    MoveTo(g);
    ASSERT_EQ(Application->MouseControl(), g);
    delete g;
    g = nullptr;
    EXPECT_EQ(Application->MouseControl(), nullptr);
    // The cursor is now over the panel: it is entered; the freed control hears nothing.
    EXPECT_EQ(MoveToScreen(Screen->CursorPos()), Log{"enter P"});
    // The same for a whole form going away under the mouse.
    delete a;
    EXPECT_EQ(Application->MouseControl(), nullptr);
    EXPECT_EQ(MoveToScreen(Screen->CursorPos()), Log{});
}

TEST_F(PlatformMouseTracking, HiddenControlIsLeft) {
    MoveTo(g);
    g->Hide();
    EXPECT_EQ(MoveToScreen(Screen->CursorPos()), (Log{"leave G", "leave P<-G", "enter P"}));
}

namespace {
// Runs `onEnter` when the mouse enters, from inside the tracker.
class TReentrant : public TGraphicControl {
public:
    using TGraphicControl::TGraphicControl;
    std::function<void()> onEnter, onLeave;
    void WndProc(TMessage& m) override {
        if (m.Msg == CM_MOUSEENTER) {
            tracked.push_back("enter " + Name());
            if (onEnter) onEnter();
        }
        if (m.Msg == CM_MOUSELEAVE) {
            tracked.push_back("leave " + Name());
            if (onLeave) onLeave();
        }
        TGraphicControl::WndProc(m);
    }
};
} // namespace

TEST_F(PlatformMouseTracking, ARequestFromInsideAHandlerIsFollowedUpNotDropped) {
    auto* r = Make<TReentrant>(a, a, "R", Bounds(300, 200, 40, 40));
    auto* q = Make<TReentrant>(a, a, "Q", Bounds(340, 200, 40, 40));
    // Entering R moves the cursor on to Q and asks the tracker again, as a window that opens
    // under the pointer makes the system do.
    r->onEnter = [q] {
        TPoint s = q->ClientToScreen({5, 5});
        seam::SetCursorPos(s.X, s.Y);
        Application->TrackMouse();
    };
    EXPECT_EQ(MoveTo(r), (Log{"enter R", "leave R", "enter Q"}));
    EXPECT_EQ(Application->MouseControl(), q);

    // A leave handler that hides the control the cursor moves onto: it gets no enter.
    q->onLeave = [this] { h->Hide(); };
    EXPECT_EQ(MoveTo(h), (Log{"leave Q"}));
    EXPECT_EQ(Application->MouseControl(), a);
}

TEST_F(PlatformMouseTracking, AnOpenDropDownListBelongsToItsListBox) {
    auto* combo = Make<TTracked<TComboBox>>(a, p, "C", Bounds(10, 120, 120, 21));
    combo->Items.Assign({"Pull Up", "Pull Down", "Floating", "4", "5", "6", "7", "8"});
    combo->SetItemIndex(0);
    seam::ProcessPendingMessages();
    MoveTo(combo);
    ASSERT_EQ(Application->MouseControl(), combo);
    combo->SetDroppedDown(true);
    seam::ProcessPendingMessages();
    TRect list = combo->DropDownRect();
    ASSERT_GT(list.Height(), 0) << "the list did not open";
    // A point of the list below the form's bottom edge: still the list box, nothing is left.
    TPoint below{list.Left + 5, list.Bottom - 3};
    EXPECT_EQ(MoveToScreen(below), Log{});
    EXPECT_EQ(Application->MouseControl(), combo);
    // Outside the list while it is open nothing changes either, not even over H.
    EXPECT_EQ(MoveTo(h), Log{});
    combo->SetDroppedDown(false);
    seam::ProcessPendingMessages();
    EXPECT_EQ(MoveTo(h), (Log{"leave C", "leave P<-C", "enter H"}));
}

// ---------------------------------------------------------------- standard controls

TEST_F(PlatformControls, CheckingARadioButtonUnchecksItsSiblingsAndClicksOnlyWhenItChanges) {
    auto* group = Add<TPanel>(form, Bounds(0, 0, 200, 200));
    auto* other = Add<TPanel>(form, Bounds(0, 200, 200, 200));
    std::vector<TRadioButton*> r;
    std::vector<int> clicks(4, 0);
    for (int i = 0; i < 4; ++i) {
        r.push_back(Add<TRadioButton>(i < 3 ? group : other, Bounds(0, 20 * i, 100, 17)));
        r[i]->OnClick = [&clicks, i](TObject*) { ++clicks[i]; };
    }
    r[3]->SetChecked(true); // another group
    r[0]->SetChecked(true);
    EXPECT_EQ(clicks, (std::vector<int>{1, 0, 0, 1}));
    r[1]->SetChecked(true);
    EXPECT_FALSE(r[0]->Checked());
    EXPECT_TRUE(r[1]->Checked());
    EXPECT_TRUE(r[3]->Checked());
    // The sibling that was unchecked raised nothing.
    EXPECT_EQ(clicks, (std::vector<int>{1, 1, 0, 1}));
    // Checking a checked one raises nothing; unchecking raises nothing.
    r[1]->SetChecked(true);
    r[1]->SetChecked(false);
    EXPECT_EQ(clicks, (std::vector<int>{1, 1, 0, 1}));
    EXPECT_FALSE(r[1]->Checked());
}

TEST_F(PlatformControls, ComboBoxRaisesChangeOnlyForTheUsersPick) {
    auto* combo = Add<TComboBox>(form, Bounds(0, 0, 145, 21));
    combo->Items.Assign({"Pull Up", "Pull Down"});
    int changes = 0;
    combo->OnChange = [&](TObject*) { ++changes; };
    form->Show(); // with a native list, too
    seam::ProcessPendingMessages();

    combo->SetItemIndex(1);
    EXPECT_EQ(combo->ItemIndex(), 1);
    EXPECT_EQ(combo->Text(), "Pull Down");
    EXPECT_EQ(changes, 0);
    combo->UserPicked(0);
    EXPECT_EQ(combo->ItemIndex(), 0);
    EXPECT_EQ(changes, 1);

    // Out of range: from code it selects nothing; from the peer it is ignored.
    combo->SetItemIndex(2);
    EXPECT_EQ(combo->ItemIndex(), -1);
    EXPECT_EQ(combo->Text(), "");
    combo->SetItemIndex(0);
    combo->SetItemIndex(-5);
    EXPECT_EQ(combo->ItemIndex(), -1);
    combo->UserPicked(7);
    EXPECT_EQ(combo->ItemIndex(), -1);
    EXPECT_EQ(changes, 1);
    // A selection that the list no longer has goes.
    combo->SetItemIndex(1);
    combo->Items.Assign({"Pull Up"});
    EXPECT_EQ(combo->ItemIndex(), -1);
    EXPECT_EQ(changes, 1);
}

TEST_F(PlatformControls, MenuEntriesInsertCheckAndClick) {
    auto* menu = new TMainMenu(form);
    form->SetMenu(menu);
    form->Show(); // rebuilds of the native menu bar run as well
    auto* file = new TMenuItem(form);
    file->SetCaption("&File");
    auto* help = new TMenuItem(form);
    help->SetCaption("&Help");
    menu->Items()->Add(help);
    menu->Items()->Insert(0, file);
    auto* settings = new TMenuItem(form);
    menu->Items()->Insert(99, settings); // past the end: appended
    EXPECT_EQ(menu->Items()->IndexOf(file), 0);
    EXPECT_EQ(menu->Items()->IndexOf(help), 1);
    EXPECT_EQ(menu->Items()->IndexOf(settings), 2);
    auto* exit = new TMenuItem(form);
    file->Add(exit);
    EXPECT_EQ(exit->ParentItem(), file);
    EXPECT_EQ(exit->Menu(), menu);
    // An entry sits in one place only.
    EXPECT_THROW(help->Add(exit), Exception);

    int clicks = 0;
    exit->OnClick = [&](TObject*) { ++clicks; };
    exit->Click();
    EXPECT_EQ(clicks, 1);
    exit->SetEnabled(false);
    exit->Click();
    EXPECT_EQ(clicks, 1);

    exit->SetChecked(true);
    EXPECT_TRUE(exit->Checked());
    seam::ProcessPendingMessages();
    file->Remove(exit);
    EXPECT_EQ(exit->ParentItem(), nullptr);
    EXPECT_EQ(file->Count(), 0);
    help->Add(exit);
    EXPECT_EQ(help->Items(0), exit);
    seam::ProcessPendingMessages();
}

// Panels are opaque: their own paint covers every pixel of the face, a spacing bevel included,
// since nothing erases the background before it.
TEST_F(PlatformControls, PanelsAreOpaqueAndPaintTheirWholeFace) {
    auto* panel = Add<TPanel>(form, Bounds(0, 0, 40, 30));
    EXPECT_TRUE(panel->ControlStyle & csOpaque);
    panel->SetBevelOuter(TBevelCut::bvSpace);
    panel->SetBevelWidth(3);
    panel->SetColor(0x00204060);
    TBitmap bmp;
    bmp.SetSize(40, 30);
    bmp.Canvas().Brush = {clWhite, TBrushStyle::bsSolid};
    bmp.Canvas().FillRect(Bounds(0, 0, 40, 30));
    TCanvas canvas(bmp.Surface());
    panel->PaintWindow(canvas, panel->ClientRect());
    for (TPoint p : {TPoint{0, 0}, TPoint{2, 15}, TPoint{39, 29}, TPoint{20, 15}})
        EXPECT_EQ(canvas.Pixel(p.X, p.Y), ColorToRGB(0x00204060)) << p.X << "," << p.Y;
}
