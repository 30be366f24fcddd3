// The board guide controls on their own: jumper drawing, option panel and board picture.
#include "controls/BoardImage.h"
#include "controls/RadioPanel.h"
#include "controls/ThreeJumper.h"
#include "platform/Streaming.h"
#include "platform/TestSeams.h"
#include "platform/jpeg/JpegDecode.h"

#include <cstring>
#include <typeinfo>

#include <gtest/gtest.h>

using namespace ui;

namespace {

// Paints a windowed control and its graphic children into an off-screen bitmap, as a paint pass
// of its peer would.
void PaintInto(TWinControl& w, TBitmap& bmp) {
    bmp.SetSize(w.Width(), w.Height());
    TCanvas canvas(bmp.Surface());
    w.PaintWindow(canvas, w.ClientRect());
}

uint32_t At(const TBitmap& bmp, int x, int y) {
    const uint8_t* p = bmp.ScanLine(y) + x * 4;
    return RGB(p[2], p[1], p[0]);
}

class Controls : public ::testing::Test {
protected:
    void SetUp() override { ui::testing::InitTestApplication(); }
    void TearDown() override { ui::testing::DoneTestApplication(); }
};

// ---------------------------------------------------------------- jumper

TEST_F(Controls, NewJumperIsAnOpenYellowPinnedGreyHeader) {
    TRadioPanel panel(nullptr);
    auto* j = new TThreeJumper(&panel);
    j->SetParent(&panel);
    EXPECT_EQ(j->Width(), 43);
    EXPECT_EQ(j->Height(), 18);
    EXPECT_EQ(j->JumperState(), TJumperState::jsOpen);
    EXPECT_TRUE(j->AllowOpen());
    EXPECT_EQ(j->BorderStyle(), TBorderStyle::bsSingle);
    TBitmap bmp;
    PaintInto(panel, bmp);
    uint32_t face = ColorToRGB(panel.Color());
    EXPECT_EQ(At(bmp, 0, 0), face);                // background corner
    EXPECT_EQ(At(bmp, 42, 17), face);              // the box excludes right and bottom
    EXPECT_EQ(At(bmp, 21, 1), RGB(0, 0, 0));       // base outline, top edge
    EXPECT_EQ(At(bmp, 15, 9), ColorToRGB(clGray)); // base between the pins
    for (int cx : {10, 21, 33})
        EXPECT_EQ(At(bmp, cx, 9), ColorToRGB(clYellow)) << cx;
}

TEST_F(Controls, JumperWorkedExampleBlocks) {
    struct Case {
        TJumperState state;
        int blockLeft, blockRight; // outline columns of the block
    } cases[] = {{TJumperState::jsLeft, 0, 26}, {TJumperState::jsRight, 15, 42}};
    for (const auto& c : cases) {
        TRadioPanel panel(nullptr);
        panel.SetColor(0x00C08040);
        auto* j = new TThreeJumper(&panel);
        j->SetParent(&panel);
        j->SetJumperState(c.state);
        TBitmap bmp;
        PaintInto(panel, bmp);
        for (int y : {0, 17}) {
            EXPECT_EQ(At(bmp, c.blockLeft, y), RGB(0, 0, 0));
            EXPECT_EQ(At(bmp, c.blockRight, y), RGB(0, 0, 0));
        }
        // Inside the block, away from the pins: the jumper colour (maroon).
        int inside = (c.blockLeft + c.blockRight) / 2;
        EXPECT_EQ(At(bmp, inside, 2), ColorToRGB(clMaroon));
        // The pins lie over the block; all three stay yellow.
        for (int cx : {10, 21, 33})
            EXPECT_EQ(At(bmp, cx, 9), ColorToRGB(clYellow));
        // Outside the block the panel's colour shows at the corners.
        int outside = c.state == TJumperState::jsLeft ? 42 : 0;
        EXPECT_EQ(At(bmp, outside, 0), ColorToRGB(0x00C08040));
    }
}

// An option panel derived from TRadioPanel that keeps its ClassName: by its name it is an option
// panel, by its class it is not.
class TDerivedPanel : public TRadioPanel {
public:
    using TRadioPanel::TRadioPanel;
};

TEST_F(Controls, JumperBackgroundIsThePanelColourOnlyOnAnOptionPanel) {
    TPanel plain(nullptr);
    TDerivedPanel derived(nullptr);
    ASSERT_EQ(derived.ClassName(), "TRadioPanel");
    TRadioPanel own(nullptr);
    struct Case {
        TCustomPanel* parent;
        uint32_t background;
    } cases[] = {{&plain, ColorToRGB(clBtnFace)},
                 {&derived, ColorToRGB(clBtnFace)},
                 {&own, ColorToRGB(0x00123456)}};
    for (const auto& c : cases) {
        c.parent->SetColor(0x00123456);
        auto* j = new TThreeJumper(c.parent);
        j->SetParent(c.parent);
        TBitmap bmp;
        PaintInto(*c.parent, bmp);
        EXPECT_EQ(At(bmp, 0, 0), c.background) << typeid(*c.parent).name();
    }
}

TEST(IsExactly, ComparesTheDynamicClassNotTheName) {
    TRadioPanel own(nullptr);
    TDerivedPanel derived(nullptr);
    EXPECT_TRUE(IsExactly<TRadioPanel>(&own));
    EXPECT_FALSE(IsExactly<TRadioPanel>(&derived));
    EXPECT_TRUE(IsExactly<TDerivedPanel>(&derived));
    EXPECT_FALSE(IsExactly<TCustomPanel>(&own));
    EXPECT_FALSE(IsExactly<TRadioPanel>(nullptr));
}

TEST_F(Controls, JumperWithoutBorderHasNoVisibleBaseOutline) {
    TRadioPanel panel(nullptr);
    auto* j = new TThreeJumper(&panel);
    j->SetParent(&panel);
    j->SetBorderStyle(TBorderStyle::bsNone);
    j->SetJumperState(TJumperState::jsLeft);
    TBitmap bmp;
    PaintInto(panel, bmp);
    EXPECT_EQ(At(bmp, 34, 1), ColorToRGB(clGray)); // base edge in the base colour
    EXPECT_EQ(At(bmp, 0, 0), RGB(0, 0, 0));        // the block keeps its black outline
}

TEST_F(Controls, JumperOrientationsTurnThePicture) {
    // Each orientation against otUp: where the pixel of the block at (24, 2) lands.
    struct Case {
        TOrientationType o;
        int w, h, x, y;
    } cases[] = {{TOrientationType::otUp, 43, 18, 24, 2},
                 {TOrientationType::otDown, 43, 18, 42 - 24, 17 - 2},
                 {TOrientationType::otLeft, 18, 43, 2, 42 - 24},
                 {TOrientationType::otRight, 18, 43, 17 - 2, 24}};
    for (const auto& c : cases) {
        TRadioPanel panel(nullptr);
        auto* j = new TThreeJumper(&panel);
        j->SetParent(&panel);
        j->SetJumperState(TJumperState::jsLeft);
        if (c.w != 43) j->SetBounds(0, 0, c.w, c.h); // loaded as stored: sized for its group
        j->SetOrientation(c.o);
        TBitmap bmp;
        PaintInto(panel, bmp);
        EXPECT_EQ(j->Width(), c.w);
        EXPECT_EQ(j->OutputBitmap().Width(), c.w);
        EXPECT_EQ(At(bmp, c.x, c.y), ColorToRGB(clMaroon)) << static_cast<int>(c.o);
    }
}

TEST_F(Controls, TurningAPaintedJumperAcrossGroupsSwapsItsSize) {
    TRadioPanel panel(nullptr);
    auto* j = new TThreeJumper(&panel);
    j->SetParent(&panel);
    TBitmap bmp;
    PaintInto(panel, bmp);
    j->SetOrientation(TOrientationType::otDown);
    PaintInto(panel, bmp);
    EXPECT_EQ(j->Width(), 43);
    j->SetOrientation(TOrientationType::otLeft);
    EXPECT_TRUE(j->SwapPending());
    PaintInto(panel, bmp);
    EXPECT_FALSE(j->SwapPending());
    EXPECT_EQ(j->Width(), 18);
    EXPECT_EQ(j->Height(), 43);
}

TEST_F(Controls, JumperClicksCycleByAllowOpen) {
    TJumperState open = TJumperState::jsOpen, left = TJumperState::jsLeft,
                 right = TJumperState::jsRight;
    struct Case {
        bool allowOpen;
        std::vector<TJumperState> sequence;
    } cases[] = {{true, {left, right, open, left}},
                 // Not allowed open: the open start has already moved to the left.
                 {false, {right, left, right, left}}};
    for (const auto& c : cases) {
        TThreeJumper j(nullptr);
        j.SetAllowOpen(c.allowOpen);
        std::vector<TJumperState> seen;
        int events = 0;
        j.OnClick = [&](TObject* s) {
            ++events;
            seen.push_back(static_cast<TThreeJumper*>(s)->JumperState()); // already advanced
        };
        for (size_t i = 0; i < c.sequence.size(); ++i)
            j.Click();
        EXPECT_EQ(seen, c.sequence);
        EXPECT_EQ(events, static_cast<int>(c.sequence.size()));
    }
}

TEST_F(Controls, JumperStateRulesAndNoEventFromCode) {
    TThreeJumper j(nullptr);
    int events = 0;
    j.OnClick = [&](TObject*) { ++events; };
    j.SetAllowOpen(false); // was open: moves to the left
    EXPECT_EQ(j.JumperState(), TJumperState::jsLeft);
    j.SetJumperState(TJumperState::jsOpen);
    EXPECT_EQ(j.JumperState(), TJumperState::jsLeft);
    j.SetJumperState(TJumperState::jsRight);
    EXPECT_EQ(j.JumperState(), TJumperState::jsRight);
    EXPECT_EQ(events, 0);
}

TEST_F(Controls, DoubleClickOnAJumperAdvancesItOnce) {
    TRadioPanel panel(nullptr);
    auto* j = new TThreeJumper(&panel);
    j->SetParent(&panel);
    j->SetBounds(10, 10, 43, 18);
    TPoint p{20, 15};
    panel.PeerMouse(WM_LBUTTONDOWN, p);
    panel.PeerMouse(WM_LBUTTONUP, p);
    panel.PeerMouse(WM_LBUTTONDBLCLK, p);
    panel.PeerMouse(WM_LBUTTONUP, p);
    EXPECT_EQ(j->JumperState(), TJumperState::jsLeft);
}

TEST_F(Controls, JumperLoadedWithoutStateButNotAllowedOpenStartsLeft) {
    class TJumperForm : public TForm {
        UI_CLASS(TMainForm)
    public:
        using TForm::TForm;
    };
    RegisterStandardClasses();
    RegisterThreeJumperClass();
    RegisterRadioPanelClass();
    ClassRegistry::Get().Register("TMainForm", "TForm", nullptr);
    TJumperForm form(nullptr);
    LoadPageText(form,
                 "object F: TMainForm\n"
                 "  object P: TRadioPanel\n"
                 "    object J: TThreeJumper\n"
                 "      AllowOpen = False\n"
                 "    end\n"
                 "  end\n"
                 "end\n",
                 "test page");
    auto* j = dynamic_cast<TThreeJumper*>(form.FindComponent("J"));
    ASSERT_NE(j, nullptr);
    EXPECT_EQ(j->JumperState(), TJumperState::jsLeft);
    auto* p = dynamic_cast<TRadioPanel*>(form.FindComponent("P"));
    ASSERT_NE(p, nullptr);
    EXPECT_FALSE(p->Visible());
    EXPECT_EQ(p->BevelOuter(), TBevelCut::bvNone);
}

// ---------------------------------------------------------------- option panel

TEST_F(Controls, NewOptionPanel) {
    TRadioPanel p(nullptr);
    EXPECT_EQ(p.Width(), 194);
    EXPECT_EQ(p.Height(), 100);
    EXPECT_FALSE(p.Visible());
    EXPECT_EQ(p.BevelOuter(), TBevelCut::bvNone);
    EXPECT_EQ(p.Anchors(), akLeft | akTop);
    EXPECT_EQ(p.FinalAnchors(), akLeft | akTop);
    EXPECT_EQ(p.MemoHeight, 58);
    EXPECT_FALSE(p.RadioEnabled);
    EXPECT_EQ(p.Lines().Count(), 0);
}

TEST_F(Controls, FinalAnchorsApplyOnlyInTheToolWindow) {
    TRadioPanel p(nullptr);
    p.SetFinalAnchors(akLeft | akTop | akRight | akBottom);
    EXPECT_EQ(p.Anchors(), akLeft | akTop);
    p.InPopup = true;
    p.SetFinalAnchors(akLeft | akRight);
    EXPECT_EQ(p.Anchors(), akLeft | akRight);
    EXPECT_EQ(p.FinalAnchors(), akLeft | akRight);
}

// The tool window's memo belongs to the tool window; the panel only points at it.
TEST_F(Controls, OptionPanelForgetsItsMemoWhenTheMemoGoes) {
    TRadioPanel p(nullptr);
    auto* memo = new TMemo(nullptr);
    p.SetPopupMemo(memo);
    EXPECT_EQ(p.PopupMemo(), memo);
    delete memo;
    EXPECT_EQ(p.PopupMemo(), nullptr);

    // The panel going first leaves nothing behind in the memo.
    auto* panel = new TRadioPanel(nullptr);
    TMemo other(nullptr);
    panel->SetPopupMemo(&other);
    delete panel;
}

TEST_F(Controls, OptionPanelLinesAreACopy) {
    TStrings source;
    source.Add("one");
    TRadioPanel p(nullptr);
    p.SetLines(source);
    source.Add("two");
    EXPECT_EQ(p.Lines().Count(), 1);
}

// ---------------------------------------------------------------- board picture

TEST_F(Controls, NewBoardPicture) {
    TBoardImage b(nullptr);
    EXPECT_EQ(b.Width(), 105);
    EXPECT_EQ(b.Height(), 105);
    EXPECT_DOUBLE_EQ(b.AspectRatio(), 1.0);
    EXPECT_TRUE(b.AutoSize());
    EXPECT_TRUE(b.Scale());
    EXPECT_TRUE(b.CenterOnForm);
    EXPECT_EQ(b.Picture().Graphic(), nullptr);
    // A panel, so opaque from the start; with nothing to show it paints its own colour.
    EXPECT_TRUE(b.Opaque());
    b.SetAutoSize(false);
    b.CenterOnForm = false;
    b.SetColor(0x00336699);
    TBitmap bmp;
    PaintInto(b, bmp);
    for (TPoint p : {TPoint{0, 0}, TPoint{52, 52}, TPoint{104, 104}})
        EXPECT_EQ(At(bmp, p.X, p.Y), ColorToRGB(0x00336699)) << p.X << "," << p.Y;
}

TEST_F(Controls, BoardPictureForgetsItsMenuWhenTheMenuGoes) {
    TBoardImage b(nullptr);
    auto* menu = new TMainMenu(nullptr);
    b.SetMenu(menu);
    EXPECT_EQ(b.Menu(), menu);
    delete menu;
    EXPECT_EQ(b.Menu(), nullptr);

    // Replacing the menu stops watching the old one; the board going first leaves nothing behind.
    TMainMenu first(nullptr), second(nullptr);
    auto* board = new TBoardImage(nullptr);
    board->SetMenu(&first);
    board->SetMenu(&second);
    EXPECT_EQ(board->Menu(), &second);
    delete board;
}

TEST_F(Controls, LoadingThePhotographSetsAspectAndAutoSize) {
    for (bool autoSize : {true, false}) {
        TBoardImage b(nullptr);
        b.SetBounds(7, 9, 105, 105);
        b.SetAutoSize(autoSize);
        b.Picture().LoadFromResource("card.jpg");
        EXPECT_NEAR(b.AspectRatio(), 418.0 / 600.0, 1e-12);
        EXPECT_EQ(b.BoundsRect(), autoSize ? Bounds(7, 9, 600, 418) : Bounds(7, 9, 105, 105));
    }
}

TEST_F(Controls, DestinationRectangle) {
    TBoardImage b(nullptr);
    b.SetAutoSize(false);
    b.SetBounds(0, 0, 400, 300);
    b.Picture().LoadFromResource("card.jpg");
    EXPECT_EQ(b.DestinationRect(), Bounds(0, 0, 600, 418));
    b.SetCenter(true);
    EXPECT_EQ(b.DestinationRect(), Bounds(-100, -59, 600, 418));
    b.SetStretch(true);
    EXPECT_EQ(b.DestinationRect(), Bounds(0, 0, 400, 300));
}

TEST_F(Controls, OpaqueFollowsThePicture) {
    struct Case {
        int w, h;
        bool stretch, transparent, opaque;
    } cases[] = {{600, 418, false, false, true},
                 {700, 418, false, false, false},
                 {700, 500, true, false, true},
                 {600, 418, false, true, false},
                 {300, 200, false, false, true}};
    for (const auto& c : cases) {
        TBoardImage b(nullptr);
        b.SetAutoSize(false);
        b.SetBounds(0, 0, c.w, c.h);
        b.SetStretch(c.stretch);
        b.SetTransparent(c.transparent);
        b.Picture().LoadFromResource("card.jpg");
        EXPECT_EQ(b.Opaque(), c.opaque) << c.w << "x" << c.h;
        b.Picture().Clear();
        EXPECT_FALSE(b.Opaque()) << "no picture: " << c.w << "x" << c.h;
    }
}

TEST_F(Controls, PaintCentresOnTheParentsOuterSizeAndRecordsTheFirstPosition) {
    TPanel parent(nullptr);
    parent.SetBounds(0, 0, 1000, 700);
    auto* b = new TBoardImage(&parent);
    b->SetParent(&parent);
    b->SetAutoSize(false);
    b->SetBounds(80, 72, 600, 418);
    TBitmap bmp;
    bmp.SetSize(600, 418);
    TCanvas canvas(bmp.Surface());
    b->Paint(canvas);
    EXPECT_EQ(b->Left(), 200);
    EXPECT_EQ(b->Top(), 141);
    EXPECT_EQ(b->InitialLeft(), 80);
    EXPECT_EQ(b->InitialTop(), 72);
    b->SetBounds(5, 5, 600, 418);
    b->Paint(canvas);
    EXPECT_EQ(b->InitialLeft(), 80);

    b->CenterOnForm = false;
    b->SetBounds(5, 6, 600, 418);
    b->Paint(canvas);
    EXPECT_EQ(b->BoundsRect(), Bounds(5, 6, 600, 418));
}

TEST_F(Controls, PaintDrawsThePhotographAtNaturalSize) {
    TBoardImage b(nullptr);
    b.SetAutoSize(false);
    b.SetBounds(0, 0, 600, 418);
    b.SetStretch(true);
    b.CenterOnForm = false;
    b.Picture().LoadFromResource("card.jpg");
    TBitmap bmp;
    PaintInto(b, bmp);
    std::string data = ResourceText("card.jpg");
    jpeg::Image img;
    std::string error;
    ASSERT_TRUE(
        jpeg::Decode(reinterpret_cast<const uint8_t*>(data.data()), data.size(), img, error));
    int differing = 0;
    for (int y = 0; y < 418; y += 7)
        for (int x = 0; x < 600; x += 7)
            if (std::memcmp(bmp.ScanLine(y) + x * 4, &img.pixels[(y * 600 + x) * 4], 3) != 0)
                ++differing;
    EXPECT_EQ(differing, 0);
}

// A graphic of any size that draws as one colour, for pictures the photograph cannot give.
class TSolidGraphic : public TGraphic {
public:
    TSolidGraphic(int w, int h, TColor color) : w_(w), h_(h), color_(color) {
        pixels_.SetSize(w, h);
    }
    int Width() const override { return w_; }
    int Height() const override { return h_; }
    void Draw(TCanvas& canvas, const TRect& r) const override {
        canvas.Brush = {color_, TBrushStyle::bsSolid};
        canvas.FillRect(r);
    }
    std::unique_ptr<TGraphic> Clone() const override {
        return std::make_unique<TSolidGraphic>(w_, h_, color_);
    }
    const char* FormatName() const override { return "solid"; }
    TSurface Pixels() const override { return pixels_.Surface(); }

private:
    int w_, h_;
    TColor color_;
    mutable TBitmap pixels_;
};

// In a designer: the height follows the width by the aspect ratio (301 x 0.5 = 150.5 is a tie and
// goes to the even 150), then a dashed outline of the new size is drawn under the picture. The
// dash is 18 pixels on and 6 off, counted clockwise round the outline from the top-left corner.
TEST_F(Controls, DesignerScalesHeightAndDrawsADashedOutline) {
    TPanel parent(nullptr);
    auto* b = new TBoardImage(&parent);
    b->SetParent(&parent);
    b->SetAutoSize(false);
    b->SetBounds(0, 0, 301, 100);
    b->SetCenter(true); // keeps the picture off the outline
    b->Picture().SetGraphic(std::make_unique<TSolidGraphic>(200, 100, clRed));
    ASSERT_DOUBLE_EQ(b->AspectRatio(), 0.5);
    b->SetDesigning(true);
    TBitmap bmp;
    bmp.SetSize(301, 300);
    bmp.Canvas().Brush = {clWhite, TBrushStyle::bsSolid};
    bmp.Canvas().FillRect(Bounds(0, 0, 301, 300));
    TCanvas canvas(bmp.Surface());
    b->Paint(canvas);
    EXPECT_EQ(b->Height(), 150);
    EXPECT_EQ(b->Left(), 0); // no centring in a designer

    const uint32_t black = RGB(0, 0, 0), white = RGB(255, 255, 255);
    auto dash = [&](int position) { return position % 24 < 18 ? black : white; };
    for (int x = 0; x < 301; ++x) {
        EXPECT_EQ(At(bmp, x, 0), dash(x)) << "top " << x;
        EXPECT_EQ(At(bmp, x, 149), dash(2 * 300 + 149 - x)) << "bottom " << x;
    }
    for (int y = 0; y < 150; ++y) {
        EXPECT_EQ(At(bmp, 300, y), dash(300 + y)) << "right " << y;
        EXPECT_EQ(At(bmp, 0, y), dash(2 * 300 + 2 * 149 - y)) << "left " << y;
    }
    EXPECT_EQ(At(bmp, 1, 1), white);     // a hollow outline
    EXPECT_EQ(At(bmp, 150, 150), white); // nothing below the new height
    EXPECT_EQ(At(bmp, 50, 25), ColorToRGB(clRed));
    EXPECT_EQ(At(bmp, 249, 124), ColorToRGB(clRed));

    // Outside a designer the height stays and no outline is drawn.
    b->SetDesigning(false);
    b->CenterOnForm = false;
    b->SetBounds(0, 0, 301, 100);
    bmp.Canvas().FillRect(Bounds(0, 0, 301, 300));
    b->Paint(canvas);
    EXPECT_EQ(b->Height(), 100);
    EXPECT_EQ(At(bmp, 0, 0), white);
}

// Without a first circle the tour message changes nothing; the mouse buttons only click (the
// picture never follows the mouse).
TEST_F(Controls, StartTourWithoutAFirstCircleChangesNothing) {
    TPanel parent(nullptr);
    auto* b = new TBoardImage(&parent);
    b->SetParent(&parent);
    b->SetAutoSize(false);
    b->SetBounds(10, 20, 300, 200);
    int clicks = 0;
    b->OnClick = [&](TObject*) { ++clicks; };
    const size_t forms = Application->Forms().size();

    b->Perform(WM_STARTTOUR, 0, 0);
    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(Application->Forms().size(), forms);
    EXPECT_TRUE(ui::testing::MessageBoxes().empty());
    EXPECT_EQ(b->BoundsRect(), Bounds(10, 20, 300, 200));

    b->PeerMouse(WM_LBUTTONDOWN, {40, 30});
    b->PeerMouse(WM_LBUTTONUP, {40, 30});
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(b->BoundsRect(), Bounds(10, 20, 300, 200));
}

TEST_F(Controls, APageWhosePhotographIsMissingStillLoadsAndSaysSo) {
    class TPictureForm : public TForm {
        UI_CLASS(TMainForm)
    public:
        using TForm::TForm;
    };
    RegisterStandardClasses();
    RegisterBoardImageClass();
    ClassRegistry::Get().Register("TMainForm", "TForm", nullptr);
    TPictureForm form(nullptr);
    LoadPageText(form,
                 "object F: TMainForm\n"
                 "  object B: TBoardImage\n"
                 "    Picture.Resource = 'no-such-photo.jpg'\n"
                 "  end\n"
                 "end\n",
                 "test page");
    auto* b = dynamic_cast<TBoardImage*>(form.FindComponent("B"));
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->Picture().Graphic(), nullptr);
    // Said once the program runs, in the standard error box.
    EXPECT_TRUE(ui::testing::MessageBoxes().empty());
    ui::testing::ProcessPendingMessages();
    ASSERT_EQ(ui::testing::MessageBoxes().size(), 1u);
    EXPECT_NE(ui::testing::MessageBoxes()[0].text.find("no-such-photo.jpg"), std::string::npos);
    EXPECT_EQ(ui::testing::MessageBoxes()[0].flags & MB_ICONERROR, MB_ICONERROR);
}

TEST_F(Controls, DamagedPhotographIsAnErrorNotACrash) {
    TPicture p;
    const uint8_t truncated[] = {0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x10};
    EXPECT_THROW(p.LoadFromBytes(truncated, sizeof truncated), EInvalidGraphic);
    EXPECT_EQ(p.Graphic(), nullptr);
    const uint8_t png[] = {0x89, 'P', 'N', 'G'};
    EXPECT_THROW(p.LoadFromBytes(png, sizeof png), EInvalidGraphic);
    EXPECT_THROW(p.LoadFromResource("no-such-picture.jpg"), EInvalidGraphic);
}

} // namespace
