// Forms: client and outer size, auto-size, close actions, placement, dialog keys, activation.
#include "platform/StdCtrls.h"
#include "platform/TestSeams.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace ui;
namespace seam = ui::testing;

namespace ui {
// Readable failures; local to this file.
[[maybe_unused]] static void PrintTo(const TRect& r, std::ostream* os) {
    *os << "(" << r.Left << "," << r.Top << " " << r.Width() << "x" << r.Height() << ")";
}
} // namespace ui

namespace {

class PlatformForms : public ::testing::Test {
protected:
    void SetUp() override {
        seam::InitTestApplication();
        seam::SetScreenSize(1024, 768);
        mainForm = Application->CreateForm<TForm>();
    }
    void TearDown() override { seam::DoneTestApplication(); }

    template <class T> T* Add(TForm* owner, TWinControl* parent, TRect r) {
        auto* c = new T(owner);
        c->SetParent(parent);
        c->SetBounds(r.Left, r.Top, r.Width(), r.Height());
        return c;
    }
    static bool Exists(TForm* f) {
        auto forms = Application->Forms();
        return std::find(forms.begin(), forms.end(), f) != forms.end();
    }
    TForm* mainForm = nullptr;
};

} // namespace

// ---------------------------------------------------------------- client and outer size

namespace {
class PlatformFormBorders : public PlatformForms,
                            public ::testing::WithParamInterface<TFormBorderStyle> {};
std::string BorderName(const ::testing::TestParamInfo<TFormBorderStyle>& info) {
    static const char* const names[] = {"None",   "Single",     "Sizeable",
                                        "Dialog", "ToolWindow", "SizeToolWin"};
    return names[static_cast<int>(info.param)];
}
} // namespace

TEST_P(PlatformFormBorders, ClientSizeIsTheOuterSizeLessFrameAndMenu) {
    TForm* f = Application->CreateForm<TForm>();
    f->SetBorderStyle(GetParam());
    f->SetClientWidth(200);
    f->SetClientHeight(100);
    EXPECT_EQ(f->ClientWidth(), 200);
    EXPECT_EQ(f->ClientHeight(), 100);
    int frameW = f->Width() - 200, frameH = f->Height() - 100;
    if (GetParam() == TFormBorderStyle::bsNone) {
        EXPECT_EQ(frameW, 0);
        EXPECT_EQ(frameH, 0);
    } else {
        EXPECT_GT(frameW, 0);
        EXPECT_GT(frameH, frameW); // the caption bar is part of the height
    }

    // A menu bar takes its height from the client area of the same window...
    auto* menu = new TMainMenu(f);
    f->SetMenu(menu);
    EXPECT_EQ(f->ClientHeight(), 100 - TForm::MenuBarHeight);
    // ...and a client size asked for with a menu adds it to the outer size.
    f->SetClientHeight(100);
    EXPECT_EQ(f->Height(), 100 + frameH + TForm::MenuBarHeight);
    EXPECT_EQ(f->ClientWidth(), 200);

    // The native window agrees once shown.
    f->Show();
    seam::ProcessPendingMessages();
    EXPECT_EQ(f->ClientWidth(), 200);
    EXPECT_EQ(f->ClientHeight(), 100);
    EXPECT_EQ(f->Height(), 100 + frameH + TForm::MenuBarHeight);

    // Another border keeps the client area and changes the frame around it.
    f->SetBorderStyle(GetParam() == TFormBorderStyle::bsNone ? TFormBorderStyle::bsSizeable
                                                             : TFormBorderStyle::bsNone);
    seam::ProcessPendingMessages();
    EXPECT_EQ(f->ClientWidth(), 200);
    EXPECT_EQ(f->ClientHeight(), 100);
}

INSTANTIATE_TEST_SUITE_P(Styles, PlatformFormBorders,
                         ::testing::Values(TFormBorderStyle::bsNone, TFormBorderStyle::bsSingle,
                                           TFormBorderStyle::bsSizeable, TFormBorderStyle::bsDialog,
                                           TFormBorderStyle::bsToolWindow,
                                           TFormBorderStyle::bsSizeToolWin),
                         BorderName);

// ---------------------------------------------------------------- auto-size

TEST_F(PlatformForms, AutoSizeFitsTheClientToTheVisibleChildrenAndMovesThemToTheCorner) {
    TForm* f = Application->CreateForm<TForm>();
    f->SetClientWidth(400);
    f->SetClientHeight(300);
    auto* memo = Add<TMemo>(f, f, Bounds(8, 8, 305, 89));
    auto* button = Add<TButton>(f, f, Bounds(165, 105, 73, 25));
    // Anchored to the right and bottom edges: auto-size moves it with the others all the same.
    auto* corner = Add<TButton>(f, f, Bounds(200, 40, 30, 20));
    corner->SetAnchors(akRight | akBottom);
    auto* hidden = Add<TPanel>(f, f, Bounds(500, 400, 10, 10));
    hidden->Hide();

    f->SetAutoSize(true);
    f->SetAutoSize(false);
    EXPECT_EQ(f->ClientWidth(), 305);
    EXPECT_EQ(f->ClientHeight(), 122);
    EXPECT_EQ(memo->BoundsRect(), Bounds(0, 0, 305, 89));
    EXPECT_EQ(button->BoundsRect(), Bounds(157, 97, 73, 25));
    EXPECT_EQ(corner->BoundsRect(), Bounds(192, 32, 30, 20));

    // Later resizes start from the new layout.
    f->SetClientWidth(325);
    f->SetClientHeight(132);
    EXPECT_EQ(corner->BoundsRect(), Bounds(212, 42, 30, 20));
    EXPECT_EQ(button->BoundsRect(), Bounds(157, 97, 73, 25));
}

// The help window's recipe: fixed width, auto-size on and off, a little more height, then a
// button anchored to the bottom only, kept centred when the window grows.
TEST_F(PlatformForms, AutoSizedWindowWithABottomAnchoredButtonStaysCentredWhenResized) {
    TForm* f = Application->CreateForm<TForm>();
    auto* title = Add<TPanel>(f, f, Bounds(0, 0, 100, 24));
    title->SetAlign(TAlign::alTop);
    auto* rich = Add<TMemo>(f, f, Bounds(0, 24, 305, 73));
    auto* start = Add<TButton>(f, f, Bounds(0, 105, 173, 25));
    f->SetClientWidth(305);
    f->SetAutoSize(true);
    f->SetAutoSize(false);
    ASSERT_EQ(f->ClientWidth(), 305);
    ASSERT_EQ(f->ClientHeight(), 130);
    f->SetClientHeight(f->ClientHeight() + 8);
    rich->SetAnchors(akLeft | akTop | akRight | akBottom);
    start->SetLeft((f->ClientWidth() - start->Width()) / 2);
    EXPECT_EQ(start->Left(), 66);
    start->SetAnchors(akBottom);

    f->SetClientWidth(390);
    f->SetClientHeight(160);
    EXPECT_EQ(start->BoundsRect(), Bounds(108, 127, 173, 25));
    EXPECT_EQ(rich->BoundsRect(), Bounds(0, 24, 390, 95));
    EXPECT_EQ(title->BoundsRect(), Bounds(0, 0, 390, 24));
}

// ---------------------------------------------------------------- close

namespace {

struct CloseCase {
    const char* label;
    TCloseAction action;
    bool visible;
    TWindowState state;
};
void PrintTo(const CloseCase& c, std::ostream* os) {
    *os << c.label;
}

class PlatformFormClose : public PlatformForms, public ::testing::WithParamInterface<CloseCase> {};

} // namespace

TEST_P(PlatformFormClose, CloseActionDecidesWhatHappens) {
    const auto& c = GetParam();
    TForm* f = Application->CreateForm<TForm>();
    int closes = 0;
    f->OnClose = [&](TObject* sender, TCloseAction& action) {
        EXPECT_EQ(sender, f);
        EXPECT_EQ(action, TCloseAction::caHide); // what a form proposes
        action = c.action;
        ++closes;
    };
    f->Show();
    seam::ProcessPendingMessages();
    f->Close();
    EXPECT_EQ(closes, 1);
    EXPECT_FALSE(Application->Terminated());
    seam::ProcessPendingMessages();
    if (c.action == TCloseAction::caFree) {
        EXPECT_FALSE(Exists(f));
        return;
    }
    ASSERT_TRUE(Exists(f));
    EXPECT_EQ(f->Visible(), c.visible);
    EXPECT_EQ(f->WindowState(), c.state);
}

INSTANTIATE_TEST_SUITE_P(
    Actions, PlatformFormClose,
    ::testing::Values(CloseCase{"None", TCloseAction::caNone, true, TWindowState::wsNormal},
                      CloseCase{"Hide", TCloseAction::caHide, false, TWindowState::wsNormal},
                      CloseCase{"Minimize", TCloseAction::caMinimize, true,
                                TWindowState::wsMinimized},
                      CloseCase{"Free", TCloseAction::caFree, false, TWindowState::wsNormal}),
    [](const ::testing::TestParamInfo<CloseCase>& info) { return std::string(info.param.label); });

TEST_F(PlatformForms, FreedFormOutlivesTheHandlerThatClosedIt) {
    TForm* f = Application->CreateForm<TForm>();
    f->OnClose = [](TObject*, TCloseAction& a) { a = TCloseAction::caFree; };
    auto* button = Add<TButton>(f, f, Bounds(0, 0, 75, 25));
    std::string seen;
    button->OnClick = [&](TObject*) {
        f->Close();
        // Still whole until the current message is done.
        seen = f->Caption() + std::to_string(button->Width());
    };
    f->SetCaption("Dialog");
    f->Show();
    seam::ProcessPendingMessages();
    button->Click();
    EXPECT_EQ(seen, "Dialog75");
    EXPECT_TRUE(Exists(f));
    EXPECT_FALSE(f->Visible());
    seam::ProcessPendingMessages();
    EXPECT_FALSE(Exists(f));
}

TEST_F(PlatformForms, ReleasedFormThatGoesWithItsOwnerFirstIsFreedOnce) {
    TForm* owner = Application->CreateForm<TForm>();
    auto* f = new TForm(owner);
    f->Show();
    f->Release();
    delete owner;
    EXPECT_FALSE(Exists(f));
    seam::ProcessPendingMessages(); // the pending release finds nothing to free
    EXPECT_EQ(Application->Forms().size(), 1u);
}

TEST_F(PlatformForms, ClosingTheMainFormTerminatesUnlessRefused) {
    int closes = 0;
    TCloseAction answer = TCloseAction::caNone;
    mainForm->OnClose = [&](TObject*, TCloseAction& a) {
        ++closes;
        a = answer;
    };
    mainForm->Show();
    seam::ProcessPendingMessages();
    mainForm->Close();
    EXPECT_FALSE(Application->Terminated());
    EXPECT_TRUE(mainForm->Visible());

    answer = TCloseAction::caHide;
    mainForm->Close();
    EXPECT_TRUE(Application->Terminated());
    EXPECT_EQ(closes, 2);
    EXPECT_TRUE(Exists(mainForm));
    EXPECT_EQ(Application->MainForm(), mainForm);
}

// ---------------------------------------------------------------- placement

TEST_F(PlatformForms, ScreenCentreUsesTheScreenSize) {
    TForm* f = Application->CreateForm<TForm>();
    f->SetBounds(5, 5, 320, 240);
    f->SetPosition(TPosition::poScreenCenter);
    f->Show();
    seam::ProcessPendingMessages();
    EXPECT_EQ(f->BoundsRect(), Bounds(352, 264, 320, 240));

    // A designed position is kept as it is.
    TForm* g = Application->CreateForm<TForm>();
    g->SetBounds(40, 30, 200, 100);
    g->Show();
    seam::ProcessPendingMessages();
    EXPECT_EQ(g->BoundsRect(), Bounds(40, 30, 200, 100));
}

TEST_F(PlatformForms, MainFormCentreCentresOverTheMainFormOnTheScreen) {
    mainForm->SetBounds(100, 50, 600, 400);
    TForm* f = Application->CreateForm<TForm>();
    f->SetBounds(0, 0, 200, 100);
    f->SetPosition(TPosition::poMainFormCenter);
    f->Show();
    seam::ProcessPendingMessages();
    EXPECT_EQ(f->BoundsRect(), Bounds(300, 200, 200, 100));

    // Centred over a main form near the corner, it is pulled back onto the screen.
    mainForm->SetBounds(900, 700, 300, 200);
    TForm* g = Application->CreateForm<TForm>();
    g->SetBounds(0, 0, 200, 100);
    g->SetPosition(TPosition::poMainFormCenter);
    g->Show();
    seam::ProcessPendingMessages();
    EXPECT_EQ(g->BoundsRect(), Bounds(824, 668, 200, 100));
}

TEST_F(PlatformForms, ClientAlignedWindowFollowsTheUsersMaximiseAndRestore) {
    mainForm->SetBounds(305, 83, 831, 607);
    mainForm->SetAlign(TAlign::alClient);
    mainForm->SetWindowState(TWindowState::wsMaximized);
    mainForm->Show();
    seam::ProcessPendingMessages();
    ASSERT_EQ(mainForm->WindowState(), TWindowState::wsMaximized);

    // The user restores the window from its title bar: it fits the work area again.
    mainForm->PeerStateChanged(TWindowState::wsNormal);
    seam::ProcessPendingMessages();
    EXPECT_EQ(mainForm->WindowState(), TWindowState::wsNormal);
    EXPECT_EQ(mainForm->BoundsRect(), Bounds(0, 0, 1024, 768));

    // Maximised again by the user, then set to normal from code: the same fit.
    mainForm->PeerStateChanged(TWindowState::wsMaximized);
    EXPECT_EQ(mainForm->WindowState(), TWindowState::wsMaximized);
    mainForm->SetBounds(10, 10, 300, 200);
    mainForm->SetWindowState(TWindowState::wsNormal);
    seam::ProcessPendingMessages();
    EXPECT_EQ(mainForm->BoundsRect(), Bounds(0, 0, 1024, 768));

    // A window that is not client-aligned keeps its normal bounds.
    TForm* f = Application->CreateForm<TForm>();
    f->SetBounds(40, 30, 200, 100);
    f->Show();
    f->PeerStateChanged(TWindowState::wsMaximized);
    f->PeerStateChanged(TWindowState::wsNormal);
    EXPECT_EQ(f->BoundsRect(), Bounds(40, 30, 200, 100));
}

// ---------------------------------------------------------------- dialog keys

namespace {

struct DialogSetup {
    TMemo* memo;
    TButton* ok;
    TButton* cancel;
    int okClicks = 0, cancelClicks = 0;
};

} // namespace

TEST_F(PlatformForms, EnterPressesTheDefaultButtonAndEscTheCancelButton) {
    TForm* f = Application->CreateForm<TForm>();
    auto* panel = Add<TPanel>(f, f, Bounds(0, 0, 300, 40));
    DialogSetup d{};
    d.ok = Add<TButton>(f, panel, Bounds(0, 0, 75, 25)); // nested: still found
    d.ok->Default = true;
    d.cancel = Add<TButton>(f, f, Bounds(100, 50, 75, 25));
    d.cancel->Cancel = true;
    d.ok->OnClick = [&](TObject*) { ++d.okClicks; };
    d.cancel->OnClick = [&](TObject*) { ++d.cancelClicks; };

    EXPECT_TRUE(f->DialogKey(TForm::VK_RETURN));
    EXPECT_TRUE(f->DialogKey(TForm::VK_ESCAPE));
    EXPECT_EQ(d.okClicks, 1);
    EXPECT_EQ(d.cancelClicks, 1);
    EXPECT_FALSE(f->DialogKey('A'));

    // Hidden or disabled buttons are not pressed.
    d.ok->Hide();
    d.cancel->SetEnabled(false);
    EXPECT_FALSE(f->DialogKey(TForm::VK_RETURN));
    EXPECT_FALSE(f->DialogKey(TForm::VK_ESCAPE));
    EXPECT_EQ(d.okClicks, 1);
    EXPECT_EQ(d.cancelClicks, 1);
}

TEST_F(PlatformForms, EnterFromTheKeyboardSkipsTheDefaultWhileAMemoTakesIt) {
    TForm* f = Application->CreateForm<TForm>();
    DialogSetup d{};
    d.memo = Add<TMemo>(f, f, Bounds(0, 0, 200, 80));
    d.ok = Add<TButton>(f, f, Bounds(0, 100, 75, 25));
    d.ok->Default = true;
    d.cancel = Add<TButton>(f, f, Bounds(100, 100, 75, 25));
    d.cancel->Cancel = true;
    d.ok->OnClick = [&](TObject*) { ++d.okClicks; };
    d.cancel->OnClick = [&](TObject*) { ++d.cancelClicks; };
    f->Show();
    seam::ProcessPendingMessages();
    d.memo->SetFocus();
    seam::ProcessPendingMessages();
    ASSERT_TRUE(d.memo->Focused());

    seam::PressKey(f, TForm::VK_RETURN);
    EXPECT_EQ(d.okClicks, 0);
    seam::PressKey(f, TForm::VK_ESCAPE);
    EXPECT_EQ(d.cancelClicks, 1);
    d.memo->WantReturns = false;
    seam::PressKey(f, TForm::VK_RETURN);
    EXPECT_EQ(d.okClicks, 1);
    // Enter on a focused push button presses that button.
    d.cancel->SetFocus();
    seam::ProcessPendingMessages();
    seam::PressKey(f, TForm::VK_RETURN);
    EXPECT_EQ(d.okClicks, 1);
    EXPECT_EQ(d.cancelClicks, 2);
}

// ---------------------------------------------------------------- activation

namespace {
// A form that answers WM_ACTIVATE itself, without the default processing.
class OwnActivateForm : public TForm {
public:
    using TForm::TForm;
    std::vector<WPARAM> seen;
    void WndProc(TMessage& m) override {
        if (m.Msg == WM_ACTIVATE) {
            seen.push_back(m.WParam);
            m.Result = 0;
            return;
        }
        TForm::WndProc(m);
    }
};
} // namespace

TEST_F(PlatformForms, ActivationIsRecordedAndReportedWhateverTheFormsOwnHandlerDoes) {
    std::vector<std::string> log;
    auto* own = Application->CreateForm<OwnActivateForm>();
    own->OnActivate = [&](TObject*) { log.push_back("own activate"); };
    own->OnDeactivate = [&](TObject*) { log.push_back("own deactivate"); };
    mainForm->OnActivate = [&](TObject*) { log.push_back("main activate"); };
    mainForm->OnDeactivate = [&](TObject*) { log.push_back("main deactivate"); };
    mainForm->Show();
    own->Show();
    // Showing activates at once, before any message is processed.
    EXPECT_TRUE(own->Active());
    EXPECT_EQ(own->seen, (std::vector<WPARAM>{WA_ACTIVE}));
    EXPECT_EQ(log, (std::vector<std::string>{"main activate", "main deactivate", "own activate"}));
    // The window system's reports of the same change add nothing.
    seam::ProcessPendingMessages();
    EXPECT_EQ(Application->ActiveForm(), own);
    EXPECT_EQ(log.size(), 3u);

    // The user activates the main window: the new active form is on top for hit-testing.
    log.clear();
    Application->UserInput();
    mainForm->PeerActivated(true);
    own->PeerActivated(false);
    EXPECT_EQ(Application->ActiveForm(), mainForm);
    EXPECT_EQ(Application->ZOrder().back(), mainForm);
    EXPECT_EQ(own->seen, (std::vector<WPARAM>{WA_ACTIVE, WA_INACTIVE}));
    EXPECT_EQ(log, (std::vector<std::string>{"own deactivate", "main activate"}));

    // Another program takes activation: no form is active.
    mainForm->PeerActivated(false);
    EXPECT_EQ(Application->ActiveForm(), nullptr);
}

TEST_F(PlatformForms, HidingTheActiveFormActivatesTheTopmostOneLeft) {
    TForm* a = Application->CreateForm<TForm>();
    TForm* b = Application->CreateForm<TForm>();
    mainForm->Show();
    a->Show();
    b->Show();
    ASSERT_EQ(Application->ActiveForm(), b);
    b->Hide();
    EXPECT_EQ(Application->ActiveForm(), a);
    // A stale report from the window system that b is active changes nothing.
    b->PeerActivated(true);
    EXPECT_EQ(Application->ActiveForm(), a);
    a->Hide();
    mainForm->Hide();
    EXPECT_EQ(Application->ActiveForm(), nullptr);
}

TEST_F(PlatformForms, ConstraintsHoldForBoundsSetFromCode) {
    mainForm->SetBounds(0, 0, 300, 200);
    mainForm->Show();
    mainForm->SetConstraints({250, 150, 0, 0});
    EXPECT_TRUE(mainForm->Visible());
    mainForm->SetBounds(10, 20, 100, 100);
    EXPECT_EQ(mainForm->BoundsRect(), Bounds(10, 20, 250, 150));
    mainForm->SetBounds(10, 20, 400, 300);
    EXPECT_EQ(mainForm->BoundsRect(), Bounds(10, 20, 400, 300));
}

// Windows shown one after another end with the last one active, and activation comes to rest:
// no form keeps asking for it again.
TEST_F(PlatformForms, ShowingFormsActivatesTheLastAndSettles) {
    TForm* a = mainForm;
    TForm* b = Application->CreateForm<TForm>();
    b->SetBounds(400, 300, 200, 100);
    int activations = 0, deactivations = 0;
    for (TForm* f : {a, b}) {
        f->OnActivate = [&](TObject*) { ++activations; };
        f->OnDeactivate = [&](TObject*) { ++deactivations; };
    }
    a->Show();
    b->Show();
    seam::ProcessPendingMessages();
    EXPECT_EQ(Application->ActiveForm(), b);
    EXPECT_GE(activations, 1);
    activations = deactivations = 0;
    seam::ProcessPendingMessages();
    seam::ProcessPendingMessages();
    EXPECT_EQ(activations, 0);
    EXPECT_EQ(deactivations, 0);
    EXPECT_EQ(Application->ActiveForm(), b);

    // Showing the first again moves activation back to it, once.
    a->Show();
    seam::ProcessPendingMessages();
    EXPECT_EQ(Application->ActiveForm(), a);
    EXPECT_EQ(activations, 1);
    EXPECT_EQ(deactivations, 1);
}
