// Highlight circles and their tool windows on the board page and on small pages of their own:
// titles, kinds, hovering, pinning, twins, the active state, placement, and the glow.
#include "app/Template.h"
#include "controls/BoardHighlight.h"
#include "controls/PopupForm.h"
#include "controls/glow/Glow.h"
#include "platform/TestSeams.h"
#include "tests/support/MainWindow.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

using namespace ui;
namespace ts = ui::testing;

namespace ui {
[[maybe_unused]] static void PrintTo(const TRect& r, std::ostream* os) {
    *os << "(" << r.Left << "," << r.Top << " " << r.Width() << "x" << r.Height() << ")";
}
} // namespace ui

// ---------------------------------------------------------------- titles

TEST(HighlightTitles, CaptionAndStemFollowTheTitle) {
    struct Case {
        const char* title;
        const char* caption;
        const char* stem;
    } cases[] = {
        {"High &Voltage Level", "High Voltage Level", "HighVoltageLevel"},
        {"&Digital Pull Up/Down", "Digital Pull Up/Down", "DigitalPullUpDown"},
        {"&Counter Pull Up/Down", "Counter Pull Up/Down", "CounterPullUpDown"},
        {"Salt && Pepper", "Salt  Pepper", "SaltPepper"},
        {"4ab & word", "4ab  word", "abword"},
        {"_already_1", "_already_1", "_already_1"},
        {"", "", ""},
        {"12/34", "12/34", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.title);
        EXPECT_EQ(StripAmpersands(c.title), c.caption);
        EXPECT_EQ(MakeIdentifier(c.title), c.stem);
        TBoardHighlight h(nullptr);
        h.SetTitle(c.title);
        EXPECT_EQ(h.PopupCaption(), c.caption);
        EXPECT_EQ(h.NameStem(), c.stem);
    }
}

TEST(HighlightKinds, EachKindHasItsColourAndStrengths) {
    struct Case {
        THighlightType type;
        uint32_t color;
        float rest, lit, bright;
    } cases[] = {
        {THighlightType::htOptions, 0xFF0000, 0.25f, 0.5f, 1.0f},
        {THighlightType::htSettings, 0x00FFFF, 0.5f, 0.75f, 1.0f},
        {THighlightType::htCalibration, 0x0000FF, 0.5f, 0.75f, 1.0f},
    };
    TBoardHighlight h(nullptr);
    EXPECT_EQ(h.HighlightType(), THighlightType::htSettings);
    EXPECT_EQ(h.Width(), 65);
    EXPECT_EQ(h.Height(), 65);
    EXPECT_TRUE(h.CreatePopup);
    EXPECT_TRUE(h.ControlStyle & csReplicatable);
    for (const auto& c : cases) {
        h.SetHighlightType(c.type);
        EXPECT_EQ(h.GlowColor(), c.color);
        EXPECT_EQ(h.RestStrength(), c.rest);
        EXPECT_EQ(h.LitStrength(), c.lit);
        EXPECT_EQ(h.BrightStrength(), c.bright);
    }
}

// ---------------------------------------------------------------- the board page

namespace {

class Circles : public ::testing::Test {
protected:
    void SetUp() override { form = ts::CreateMainWindow(); }
    void TearDown() override { ts::DoneTestApplication(); }

    void StartUp() {
        ts::ShowUntilIdle(form);
        ts::ProcessPendingMessages();
    }
    void MoveToScreen(TPoint s) {
        ts::SetCursorPos(s.X, s.Y);
        Application->TrackMouse();
    }
    void Hover(TControl* c) { MoveToScreen(c->ClientToScreen({c->Width() / 2, c->Height() / 2})); }
    // A point of the photograph that no circle covers.
    void Away() { MoveToScreen(form->BoardImage1->ClientToScreen({300, 300})); }
    void IntoWindow(TForm* w) { MoveToScreen(w->ClientToScreen({w->ClientWidth() / 2, 5})); }
    int PopupCount() const {
        auto forms = Application->Forms();
        return static_cast<int>(std::count_if(forms.begin(), forms.end(), [](TForm* f) {
            return dynamic_cast<TPopupForm*>(f) != nullptr;
        }));
    }
    enum class Look { Rest, Lit, Bright };
    static Look LookOf(const TBoardHighlight* h) {
        const TBitmap* img = &h->CurrentImage();
        return img == &h->BrightImage() ? Look::Bright
               : img == &h->LitImage()  ? Look::Lit
                                        : Look::Rest;
    }
    TMainForm* form = nullptr;
};

} // namespace

TEST_F(Circles, FourCirclesAsThePageDefinesThem) {
    struct Case {
        TBoardHighlight* circle;
        TRect bounds;
        TRadioPanel* panel;
        const char* title;
    } cases[] = {
        {form->VCCHighlight0, Bounds(373, 2, 43, 26), form->LevelPanel, "High &Voltage Level"},
        {form->DIOPullHighlight, Bounds(105, 5, 37, 57), form->DIOPullPanel,
         "&Digital Pull Up/Down"},
        {form->CTRPullHighlight0, Bounds(444, 94, 43, 26), form->CTRPullPanel,
         "&Counter Pull Up/Down"},
        {form->CTRPullHighlight1, Bounds(539, 94, 43, 26), form->CTRPullPanel,
         "&Counter Pull Up/Down"},
    };
    ASSERT_EQ(form->BoardImage1->ControlCount(), 4);
    for (int i = 0; i < 4; ++i) {
        const auto& c = cases[i];
        SCOPED_TRACE(c.title);
        EXPECT_EQ(form->BoardImage1->Controls(i), c.circle);
        EXPECT_EQ(c.circle->BoundsRect(), c.bounds);
        EXPECT_EQ(c.circle->RadioPanel(), c.panel);
        EXPECT_EQ(c.circle->Title(), c.title);
        EXPECT_EQ(c.circle->HighlightType(), THighlightType::htSettings);
        EXPECT_TRUE(c.circle->CreatePopup);
    }
    EXPECT_TRUE(form->CTRPullHighlight0->IsTwin(form->CTRPullHighlight1));
    EXPECT_FALSE(form->CTRPullHighlight0->IsTwin(form->VCCHighlight0));
}

TEST_F(Circles, EachWindowHasItsSizeAndPlaceBesideThePicture) {
    StartUp();
    struct Case {
        TBoardHighlight* circle;
        int clientW, clientH;
        int dx, dy; // from the board picture's current corner
        const char* caption;
    } cases[] = {
        {form->VCCHighlight0, 233, 182, 456, -88, "High Voltage Level"},
        {form->DIOPullHighlight, 265, 334, -72, 192, "Digital Pull Up/Down"},
        {form->CTRPullHighlight0, 313, 166, 328, 176, "Counter Pull Up/Down"},
    };
    TBoardImage* board = form->BoardImage1;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.caption);
        Hover(c.circle);
        TPopupForm* w = c.circle->Popup();
        ASSERT_NE(w, nullptr);
        EXPECT_TRUE(w->Visible());
        EXPECT_EQ(w->Caption(), c.caption);
        EXPECT_EQ(w->ClientWidth(), c.clientW);
        EXPECT_EQ(w->ClientHeight(), c.clientH);
        EXPECT_EQ(w->BorderStyle(), TFormBorderStyle::bsSizeToolWin);
        EXPECT_EQ(w->FormStyle(), TFormStyle::fsStayOnTop);
        EXPECT_EQ(w->Tag, 1);
        int left = board->Left() + c.dx, top = board->Top() + c.dy;
        left = left < 0 ? 0 : std::min(left, Screen->Width() - w->Width());
        top = top < 0 ? 0 : std::min(top, Screen->Height() - w->Height());
        EXPECT_EQ(w->Left(), left);
        EXPECT_EQ(w->Top(), top);
        // Below the panel: the memo, the button row and the status bar.
        const int ch = c.clientH;
        EXPECT_EQ(w->DoneButton()->BoundsRect(), Bounds(c.clientW - 64, ch - 44, 58, 25));
        EXPECT_EQ(w->PreviousButton()->BoundsRect(), Bounds(6, ch - 44, 58, 25));
        EXPECT_EQ(w->NextButton()->BoundsRect(), Bounds((c.clientW - 58) / 2, ch - 44, 58, 25));
        EXPECT_EQ(w->StatusMemo()->BoundsRect(), Bounds(6, ch - 44 - 6 - 58, c.clientW - 12, 58));
        EXPECT_EQ(w->PopupStatus->BoundsRect(), Bounds(0, ch - 19, c.clientW, 19));
        EXPECT_EQ(w->StatusMemo()->Lines.Items(), c.circle->RadioPanel()->Lines().Items());
        EXPECT_EQ(c.circle->RadioPanel()->Parent(), w);
        EXPECT_EQ(c.circle->RadioPanel()->BoundsRect().Left, 0);
        EXPECT_TRUE(c.circle->RadioPanel()->Visible());
        EXPECT_TRUE(c.circle->RadioPanel()->InPopup);
        EXPECT_EQ(c.circle->RadioPanel()->PopupMemo(), w->StatusMemo());
        EXPECT_EQ(w->Constraints.MinWidth, w->Width());
        EXPECT_EQ(w->Constraints.MinHeight, w->Height());
        Away();
        EXPECT_FALSE(w->Visible());
    }
    // The level window's top: 88 above the picture, which the maximised window puts lower.
    EXPECT_GT(board->Top(), 88);
}

TEST_F(Circles, TheWindowCannotBeMadeSmallerThanItOpenedAndStretchesItsControls) {
    StartUp();
    Hover(form->CTRPullHighlight0);
    TPopupForm* w = form->CTRPullHighlight0->Popup();
    ASSERT_NE(w, nullptr);
    TRect opened = w->BoundsRect();
    w->SetBounds(w->Left(), w->Top(), 100, 80);
    EXPECT_EQ(w->Width(), opened.Width());
    EXPECT_EQ(w->Height(), opened.Height());
    w->SetBounds(w->Left(), w->Top(), opened.Width() + 100, opened.Height() + 40);
    const int cw = w->ClientWidth(), ch = w->ClientHeight();
    EXPECT_EQ(w->PreviousButton()->Left(), 6);
    EXPECT_EQ(w->DoneButton()->Left(), cw - 64);
    // Next keeps its centre in proportion to the width: in the middle, give or take a pixel.
    EXPECT_LE(std::abs(w->NextButton()->Left() + 29 - cw / 2), 1);
    EXPECT_EQ(w->DoneButton()->Top(), ch - 44);
    EXPECT_EQ(w->StatusMemo()->Width(), cw - 12);
    EXPECT_EQ(w->StatusMemo()->Height(), 58 + 40);
    EXPECT_EQ(w->PopupStatus->Width(), cw);
}

TEST_F(Circles, TwinsLightTogetherAndShareOneWindow) {
    StartUp();
    auto* a = form->CTRPullHighlight0;
    auto* b = form->CTRPullHighlight1;
    Hover(b);
    EXPECT_TRUE(a->Hot());
    EXPECT_TRUE(b->Hot());
    EXPECT_EQ(PopupCount(), 1);
    TPopupForm* w = b->Popup() ? b->Popup() : a->Popup();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->Caption(), "Counter Pull Up/Down");
    // The window is active: both circles are bright.
    EXPECT_TRUE(w->Active());
    EXPECT_EQ(LookOf(a), Look::Bright);
    EXPECT_EQ(LookOf(b), Look::Bright);
    // The main window activated: both lit.
    Application->UserInput();
    form->PeerActivated(true);
    EXPECT_EQ(LookOf(a), Look::Lit);
    EXPECT_EQ(LookOf(b), Look::Lit);
    // Hovering the other twin builds nothing more.
    Hover(a);
    EXPECT_EQ(PopupCount(), 1);
    // Away from both: the window closes and both rest.
    Away();
    EXPECT_FALSE(w->Visible());
    EXPECT_FALSE(a->Hot());
    EXPECT_FALSE(b->Hot());
    EXPECT_EQ(LookOf(a), Look::Rest);
    EXPECT_EQ(LookOf(b), Look::Rest);
    // Entered again: the same window, shown where it was.
    Hover(a);
    EXPECT_EQ(PopupCount(), 1);
    EXPECT_TRUE(w->Visible());
}

TEST_F(Circles, AMarkedNotificationIsNotPassedOnAndAHotCircleIgnoresEntry) {
    StartUp();
    auto* a = form->CTRPullHighlight0;
    auto* b = form->CTRPullHighlight1;
    a->Perform(CM_MOUSEENTER, 1, 0);
    EXPECT_TRUE(a->Hot());
    EXPECT_FALSE(b->Hot());
    TPopupForm* w = a->Popup();
    ASSERT_NE(w, nullptr);
    // Hidden behind the circle's back: a hot circle entered again shows nothing.
    w->Hide();
    a->Perform(CM_MOUSEENTER, 0, 0);
    EXPECT_FALSE(w->Visible());
    EXPECT_FALSE(b->Hot());
}

TEST_F(Circles, PointerFromTheCircleIntoItsWindowKeepsItUntilItLeavesTheWindow) {
    StartUp();
    auto* c = form->CTRPullHighlight0;
    Hover(c);
    TPopupForm* w = c->Popup();
    ASSERT_NE(w, nullptr);
    IntoWindow(w);
    EXPECT_TRUE(w->Visible());
    EXPECT_TRUE(w->CloseOnLeave);
    EXPECT_TRUE(c->Pinned());
    // Over the controls of the window it stays.
    MoveToScreen(form->CTRPullCombo->ClientToScreen({5, 5}));
    EXPECT_TRUE(w->Visible());
    // Out of the window: it closes, and the group rests.
    Away();
    EXPECT_FALSE(w->Visible());
    EXPECT_FALSE(w->CloseOnLeave);
    EXPECT_FALSE(form->CTRPullHighlight1->Hot());
}

TEST_F(Circles, AClickPinsTheWindowUntilDone) {
    StartUp();
    auto* c = form->VCCHighlight0;
    int clicks = 0;
    c->OnClick = [&](TObject*) {
        ++clicks;
        EXPECT_FALSE(c->Pinned()) << "OnClick comes before the pin";
    };
    Hover(c);
    c->Click();
    EXPECT_EQ(clicks, 1);
    TPopupForm* w = c->Popup();
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(c->Pinned());
    EXPECT_FALSE(w->CloseOnLeave);
    Away();
    EXPECT_TRUE(w->Visible());
    EXPECT_TRUE(c->Hot());
    w->DoneButton()->Click();
    EXPECT_FALSE(w->Visible());
    EXPECT_FALSE(c->Hot());
    EXPECT_EQ(LookOf(c), Look::Rest);
    // Shown again, it is not pinned any more.
    Hover(c);
    EXPECT_FALSE(c->Pinned());
}

TEST_F(Circles, AClickAfterTheWindowClosedUnderThePointerOpensItPinned) {
    StartUp();
    auto* c = form->CTRPullHighlight0;
    Hover(c);
    TPopupForm* w = form->CTRPullHighlight0->Popup();
    ASSERT_NE(w, nullptr);
    // Closed from its close box while the pointer stays on the circle.
    w->PeerCloseRequested();
    ASSERT_FALSE(w->Visible());
    ASSERT_FALSE(c->Hot());
    c->Click();
    EXPECT_TRUE(w->Visible());
    EXPECT_TRUE(c->Pinned());
    EXPECT_TRUE(form->CTRPullHighlight1->Hot());
}

TEST_F(Circles, EscInAToolWindowDoesWhatDoneDoes) {
    StartUp();
    auto* c = form->VCCHighlight0;
    c->Perform(CM_MOUSEENTER);
    c->Click();
    TPopupForm* w = c->Popup();
    ASSERT_NE(w, nullptr);
    ts::ProcessPendingMessages();
    ts::PressKey(w, TForm::VK_ESCAPE);
    EXPECT_FALSE(w->Visible());
    EXPECT_FALSE(c->Hot());
    EXPECT_FALSE(c->Pinned() && w->Visible());
}

TEST_F(Circles, AMovedWindowReappearsWhereTheUserLeftIt) {
    StartUp();
    auto* c = form->DIOPullHighlight;
    Hover(c);
    TPopupForm* w = c->Popup();
    ASSERT_NE(w, nullptr);
    w->PeerMoved(300, 200);
    Away();
    ASSERT_FALSE(w->Visible());
    Hover(c);
    EXPECT_TRUE(w->Visible());
    EXPECT_EQ(w->Left(), 300);
    EXPECT_EQ(w->Top(), 200);
}

TEST_F(Circles, RestImagesOnScreenAreTheGlowOverThePhotograph) {
    StartUp();
    TGraphic* photo = form->BoardImage1->Picture().Graphic();
    ASSERT_NE(photo, nullptr);
    TSurface px = photo->Pixels();
    for (int i = 0; i < 4; ++i) {
        auto* c = static_cast<TBoardHighlight*>(form->BoardImage1->Controls(i));
        SCOPED_TRACE(c->Name());
        ASSERT_TRUE(c->ImagesBuilt());
        const int w = c->Width(), h = c->Height();
        std::vector<uint8_t> expect(static_cast<size_t>(w) * h * 4);
        for (int y = 0; y < h; ++y)
            std::memcpy(&expect[static_cast<size_t>(y) * w * 4],
                        px.bits + static_cast<size_t>(c->Top() + y) * px.strideBytes +
                            static_cast<size_t>(c->Left()) * 4,
                        static_cast<size_t>(w) * 4);
        glow::RenderGlow(expect.data(), w * 4, w - 1, h - 1, false, 0x00FFFF, 0.5f);
        const TBitmap& rest = c->RestImage();
        ASSERT_EQ(rest.Width(), w);
        int differing = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                for (int k = 0; k < 3; ++k)
                    if (rest.ScanLine(y)[x * 4 + k] !=
                        expect[(static_cast<size_t>(y) * w + x) * 4 + k])
                        ++differing;
        EXPECT_EQ(differing, 0);
    }
}

// ---------------------------------------------------------------- small pages

namespace {

// A board picture with circles built in code, on a shown form.
class OwnBoard : public ::testing::Test {
protected:
    void SetUp() override {
        ts::InitTestApplication();
        ts::SetScreenSize(1024, 768);
        form = Application->CreateForm<TForm>();
        form->SetBounds(0, 0, 800, 600);
        board = new TBoardImage(form);
        board->SetName("Board");
        board->SetAutoSize(false);
        board->SetBounds(100, 100, 400, 300);
        board->CenterOnForm = false;
        board->SetParent(form);
    }
    void TearDown() override { ts::DoneTestApplication(); }
    TBoardHighlight* Circle(const char* name, const char* title, TRect r) {
        auto* c = new TBoardHighlight(form);
        c->SetName(name);
        c->SetTitle(title);
        c->SetBounds(r.Left, r.Top, r.Width(), r.Height());
        c->SetParent(board);
        return c;
    }
    TRadioPanel* Panel(const char* name, TRect r) {
        auto* p = new TRadioPanel(form);
        p->SetName(name);
        p->SetBounds(r.Left, r.Top, r.Width(), r.Height());
        p->SetParent(form);
        return p;
    }
    void Show() {
        form->Show();
        ts::ProcessPendingMessages();
    }
    TForm* form = nullptr;
    TBoardImage* board = nullptr;
};

} // namespace

TEST_F(OwnBoard, AWindowWithoutAPanelOpensBelowThePictureWithTheFocusOnDone) {
    auto* c = Circle("Info", "Info", Bounds(10, 10, 40, 40));
    Show();
    c->Perform(CM_MOUSEENTER);
    TPopupForm* w = c->Popup();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->Width(), 194);
    EXPECT_EQ(w->Height(), 141);
    EXPECT_EQ(w->Left(), board->Left());
    EXPECT_EQ(w->Top(), board->Top() + board->Height() + 38);
    EXPECT_EQ(w->StatusMemo()->Height(), 58);
    EXPECT_TRUE(w->StatusMemo()->Lines.Items().empty());
    EXPECT_EQ(w->ActiveControl(), w->DoneButton());
}

TEST_F(OwnBoard, WindowsAreKeptOnTheScreenWithOneCorrectionPerAxis) {
    struct Case {
        TRect panel;
        int screenW, screenH;
        int left, top;
    } cases[] = {
        // Outer size: client (panel width, panel height + 58 + 51) plus the tool window's frame.
        {Bounds(-500, -500, 200, 60), 1024, 768, 0, 0}, // above and left of the screen
        {Bounds(900, 700, 200, 60), 1024, 768, 1024 - 208, 768 - 194}, // past both far edges
        {Bounds(100, 100, 1200, 60), 1024, 768, 1024 - 1208, 100},     // wider than the screen
    };
    ts::SetCursorPos(3000, 3000); // far from every window
    int i = 0;
    for (const auto& k : cases) {
        SCOPED_TRACE(i);
        ts::SetScreenSize(k.screenW, k.screenH);
        std::string n = "P" + std::to_string(i), t = "T" + std::to_string(i);
        auto* p = Panel(n.c_str(), k.panel);
        auto* c = Circle(("C" + n).c_str(), t.c_str(), Bounds(10 + 50 * i, 10, 40, 40));
        c->SetRadioPanel(p);
        if (i == 0) Show();
        // The board picture has not moved since its first paint: the panel's own place.
        c->Perform(CM_MOUSEENTER);
        TPopupForm* w = c->Popup();
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(w->Left(), k.left);
        EXPECT_EQ(w->Top(), k.top);
        c->Perform(CM_MOUSELEAVE);
        ++i;
    }
}

TEST_F(OwnBoard, APanelUsedByAnotherTitleIsRefusedAndTwinsMayShareIt) {
    auto* p = Panel("Shared", Bounds(0, 0, 100, 50));
    auto* a = Circle("A", "Alpha", Bounds(10, 10, 40, 40));
    auto* b = Circle("B", "Beta", Bounds(60, 10, 40, 40));
    auto* twin = Circle("A2", "Alpha", Bounds(110, 10, 40, 40));
    a->SetRadioPanel(p);
    b->SetRadioPanel(p);
    EXPECT_EQ(b->RadioPanel(), nullptr);
    EXPECT_TRUE(ts::MessageBoxes().empty()) << "outside a designer the refusal is silent";
    twin->SetRadioPanel(p);
    EXPECT_EQ(twin->RadioPanel(), p);

    // In a designer the refusal says why, and a changed panel offers to follow in the twins.
    board->SetDesigning(true);
    a->SetDesigning(true);
    b->SetRadioPanel(p);
    ASSERT_EQ(ts::MessageBoxes().size(), 1u);
    EXPECT_EQ(ts::MessageBoxes()[0].text, "Shared has already been assigned to A.");
    EXPECT_EQ(ts::MessageBoxes()[0].caption, "Error");
    EXPECT_EQ(ts::MessageBoxes()[0].flags & 0xF, MB_OK);
    ts::ClearMessageBoxes();
    auto* other = Panel("Other", Bounds(0, 100, 100, 50));
    ts::AnswerMessageBoxes([](const ts::MessageBoxRecord&) { return IDNO; });
    a->SetRadioPanel(other);
    ASSERT_EQ(ts::MessageBoxes().size(), 1u);
    EXPECT_EQ(ts::MessageBoxes()[0].text,
              "A's RadioPanel property changed. Synchronize linked component A2?");
    EXPECT_EQ(ts::MessageBoxes()[0].caption, "Confirm");
    EXPECT_EQ(ts::MessageBoxes()[0].flags & 0xF, MB_YESNO);
    EXPECT_EQ(twin->RadioPanel(), p);
    ts::AnswerMessageBoxes([](const ts::MessageBoxRecord&) { return IDYES; });
    a->SetRadioPanel(p);
    a->SetRadioPanel(other);
    EXPECT_EQ(twin->RadioPanel(), other);
}

TEST_F(OwnBoard, ACircleWithoutAWindowLightsOnlyWhileThePointerIsOnIt) {
    auto* c = Circle("Lamp", "Lamp", Bounds(10, 10, 40, 40));
    c->CreatePopup = false;
    Show();
    c->Perform(CM_MOUSEENTER);
    EXPECT_TRUE(c->Hot());
    EXPECT_EQ(c->Popup(), nullptr);
    c->Perform(CM_MOUSELEAVE);
    EXPECT_FALSE(c->Hot());
}

TEST_F(OwnBoard, AResizedCircleGetsImagesOfItsNewSize) {
    auto* c = Circle("Ring", "Ring", Bounds(10, 10, 40, 30));
    Show();
    ASSERT_TRUE(c->ImagesBuilt());
    EXPECT_EQ(c->RestImage().Width(), 40);
    // The kind changes no image that is already built.
    uint8_t before = c->RestImage().ScanLine(15)[4 * 4 + 2];
    c->SetHighlightType(THighlightType::htOptions);
    form->Repaint();
    EXPECT_EQ(c->RestImage().ScanLine(15)[4 * 4 + 2], before);
    c->SetBounds(10, 10, 60, 50);
    form->Repaint();
    EXPECT_EQ(c->RestImage().Width(), 60);
    EXPECT_EQ(c->RestImage().Height(), 50);
}
