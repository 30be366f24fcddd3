// Windows on a screen of another logical resolution than the 96 pixels per inch they were laid
// out at: pages scale once loaded, windows built in code scale the same way, and the board keeps
// its circles over the jumpers of the stretched photograph.
#include "app/Template.h"
#include "controls/PopupForm.h"
#include "platform/Streaming.h"
#include "platform/System.h"
#include "platform/TestSeams.h"
#include "tests/support/MainWindow.h"

#include <gtest/gtest.h>

using namespace ui;
namespace ts = ui::testing;

namespace {

class TScaleForm : public TForm {
    UI_CLASS(TScaleForm)
public:
    explicit TScaleForm(TComponent* owner) : TForm(owner) {}
};

const char* const kScalePage = R"(object ScaleForm: TScaleForm
  Left = 10
  Top = 20
  Width = 400
  Height = 300
  Font.Height = -11
  PixelsPerInch = 96
  TextHeight = 13
  object Strip: TPanel
    Height = 30
    Align = alTop
  end
  object Big: TLabel
    Left = 8
    Top = 40
    Caption = 'Large'
    Font.Height = -16
    ParentFont = False
  end
  object Plain: TLabel
    Left = 8
    Top = 120
    Width = 33
    Height = 13
    AutoSize = False
    Caption = 'x'
  end
  object Pick: TComboBox
    Left = 8
    Top = 80
    Width = 121
    Height = 21
    ItemHeight = 13
  end
  object Go: TButton
    Left = 300
    Top = 240
    Width = 75
    Height = 25
    Anchors = [akRight, akBottom]
    Caption = 'Go'
  end
end
)";

class PageScaling : public ::testing::Test {
protected:
    void SetUp() override {
        ts::InitTestApplication();
        RegisterStandardClasses();
        RegisterClass<TScaleForm>("TScaleForm", "TForm");
    }
    void TearDown() override {
        ts::DoneTestApplication();
        ClassRegistry::Get().Unregister("TScaleForm");
    }
    TScaleForm* Load(int screenPpi) {
        ts::SetPixelsPerInch(screenPpi);
        auto* f = Application->CreateForm<TScaleForm>();
        LoadPageText(*f, kScalePage, "SCALEPAGE");
        return f;
    }
    template <class T> T* Child(TForm* f, const char* name) {
        return dynamic_cast<T*>(f->FindComponent(name));
    }
};

TEST_F(PageScaling, BoundsFontsAndListsFollowTheScreensResolution) {
    struct Case {
        int ppi;
        TRect go; // edges scaled, so right and bottom round on their own
        int formFont, bigFont;
        int itemHeight;
        int strip; // height of the top-aligned panel
    } cases[] = {
        {96, Bounds(300, 240, 75, 25), -11, -16, 13, 30},
        {120, Bounds(375, 300, 94, 31), -14, -20, 16, 38},
        {144, Bounds(450, 360, 113, 38), -17, -24, 20, 45},
    };
    TRect fm = TForm::FrameMetrics(TFormBorderStyle::bsSizeable);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ppi);
        TScaleForm* f = Load(c.ppi);
        EXPECT_EQ(f->PixelsPerInch, c.ppi);
        EXPECT_EQ(f->ClientWidth(), MulDiv(400 - fm.Left - fm.Right, c.ppi, 96));
        EXPECT_EQ(f->Left(), 10); // the window's place on the screen is not a layout length
        EXPECT_EQ(Child<TButton>(f, "Go")->BoundsRect(), c.go);
        EXPECT_EQ(f->Font().Height, c.formFont);
        EXPECT_EQ(Child<TLabel>(f, "Plain")->Font().Height, c.formFont); // inherited
        EXPECT_EQ(Child<TLabel>(f, "Big")->Font().Height, c.bigFont);
        EXPECT_EQ(Child<TComboBox>(f, "Pick")->ItemHeight, c.itemHeight);
        auto* strip = Child<TPanel>(f, "Strip");
        EXPECT_EQ(strip->BoundsRect(), Bounds(0, 0, f->ClientWidth(), c.strip));
        delete f;
    }
}

TEST_F(PageScaling, AnchorsHoldAfterScaling) {
    TScaleForm* f = Load(144);
    auto* go = Child<TButton>(f, "Go");
    const int right = f->ClientWidth() - go->Left() - go->Width();
    const int bottom = f->ClientHeight() - go->Top() - go->Height();
    f->SetClientWidth(f->ClientWidth() + 60);
    f->SetClientHeight(f->ClientHeight() + 30);
    EXPECT_EQ(f->ClientWidth() - go->Left() - go->Width(), right);
    EXPECT_EQ(f->ClientHeight() - go->Top() - go->Height(), bottom);
    EXPECT_EQ(go->Width(), 113);
}

TEST_F(PageScaling, APageMadeAtTheScreensResolutionIsLeftAlone) {
    ts::SetPixelsPerInch(144);
    auto* f = Application->CreateForm<TScaleForm>();
    std::string page = kScalePage;
    page.replace(page.find("PixelsPerInch = 96"), 18, "PixelsPerInch = 144");
    LoadPageText(*f, page, "SCALEPAGE");
    EXPECT_EQ(Child<TButton>(f, "Go")->BoundsRect(), Bounds(300, 240, 75, 25));
    EXPECT_EQ(f->Font().Height, -11);
    // Scaling again to the same screen changes nothing.
    f->ScaleToScreen();
    EXPECT_EQ(Child<TButton>(f, "Go")->BoundsRect(), Bounds(300, 240, 75, 25));
}

// ---------------------------------------------------------------- the board page

class BoardAtResolution : public ::testing::Test {
protected:
    void TearDown() override { ts::DoneTestApplication(); }
    TMainForm* Start(int ppi) {
        ts::SetPixelsPerInch(ppi);
        TMainForm* f = ts::CreateMainWindow(MulDiv(1024, ppi, 96), MulDiv(768, ppi, 96));
        ts::ShowUntilIdle(f);
        ts::ProcessPendingMessages();
        return f;
    }
    static std::vector<TBoardHighlight*> Circles(TMainForm* f) {
        return {f->VCCHighlight0, f->DIOPullHighlight, f->CTRPullHighlight0, f->CTRPullHighlight1};
    }
    // A circle's centre in the photograph's own pixels.
    static std::pair<double, double> CentreOnPhoto(TBoardHighlight* c) {
        auto* board = static_cast<TBoardImage*>(c->Parent());
        TRect dest = board->DestinationRect();
        double x = c->Left() + c->Width() / 2.0, y = c->Top() + c->Height() / 2.0;
        return {(x - dest.Left) * board->Picture().Width() / dest.Width(),
                (y - dest.Top) * board->Picture().Height() / dest.Height()};
    }
};

TEST_F(BoardAtResolution, CirclesStayOverTheJumpersOfTheStretchedPhotograph) {
    std::vector<std::pair<double, double>> at96;
    TMainForm* f = Start(96);
    for (TBoardHighlight* c : Circles(f))
        at96.push_back(CentreOnPhoto(c));
    ts::DoneTestApplication();

    f = Start(144);
    TBoardImage* board = f->BoardImage1;
    EXPECT_EQ(board->Width(), 900);
    EXPECT_EQ(board->Height(), 627);
    // The photograph fills the scaled control.
    EXPECT_EQ(board->DestinationRect(), board->ClientRect());
    auto circles = Circles(f);
    for (size_t i = 0; i < circles.size(); ++i) {
        SCOPED_TRACE(circles[i]->Name());
        auto [x, y] = CentreOnPhoto(circles[i]);
        EXPECT_NEAR(x, at96[i].first, 1.0);
        EXPECT_NEAR(y, at96[i].second, 1.0);
        EXPECT_EQ(circles[i]->Parent(), board);
    }
    EXPECT_EQ(f->VCCHighlight0->BoundsRect(), Bounds(560, 3, 64, 39));
}

// Every child of a window lies inside its client area, none covers another, and the buttons are
// at least as tall as their text.
void ExpectFits(TForm* w) {
    SCOPED_TRACE(w->Name());
    TRect client = w->ClientRect();
    std::vector<TControl*> kids;
    for (int i = 0; i < w->ControlCount(); ++i)
        if (w->Controls(i)->Visible()) kids.push_back(w->Controls(i));
    for (size_t i = 0; i < kids.size(); ++i) {
        TRect r = kids[i]->BoundsRect();
        SCOPED_TRACE(kids[i]->Name());
        EXPECT_GE(r.Left, 0);
        EXPECT_GE(r.Top, 0);
        EXPECT_LE(r.Right, client.Right);
        EXPECT_LE(r.Bottom, client.Bottom);
        if (dynamic_cast<TButton*>(kids[i])) {
            EXPECT_GT(r.Height(), System().TextHeight(kids[i]->Font()));
        }
        for (size_t j = i + 1; j < kids.size(); ++j) {
            TRect o = kids[j]->BoundsRect();
            bool overlap =
                r.Left < o.Right && o.Left < r.Right && r.Top < o.Bottom && o.Top < r.Bottom;
            EXPECT_FALSE(overlap) << kids[j]->Name();
        }
    }
}

TEST_F(BoardAtResolution, ToolWindowsFitTheirPanels) {
    TMainForm* f = Start(144);
    for (TBoardHighlight* c : {f->VCCHighlight0, f->DIOPullHighlight, f->CTRPullHighlight0}) {
        SCOPED_TRACE(c->Name());
        c->Click();
        TPopupForm* w = c->Popup();
        ASSERT_NE(w, nullptr);
        TRadioPanel* panel = c->RadioPanel();
        EXPECT_EQ(panel->Parent(), w);
        EXPECT_EQ(panel->Left(), 0);
        EXPECT_EQ(panel->Top(), 0);
        EXPECT_GE(w->ClientWidth(), panel->Width());
        ExpectFits(w);
        // The window's own controls are laid out at its resolution, below the panel.
        EXPECT_GE(w->StatusMemo()->Top(), panel->Top() + panel->Height());
        EXPECT_EQ(w->DoneButton()->Height(), 38);
        EXPECT_EQ(w->DoneButton()->Font().Height, -17);
        // Its panel's labels keep the page's scaled font.
        EXPECT_EQ(panel->Font().Height, -17);
        w->DoneButton()->Click();
    }
}

TEST_F(BoardAtResolution, WindowsBuiltInCodeScaleLikeThePage) {
    TMainForm* f = Start(144);
    f->TechnicalSupport1Click(f);
    f->Howtousethisprogram1Click(f);
    int checked = 0;
    for (TForm* w : Application->Forms()) {
        if (w == f || dynamic_cast<TPopupForm*>(w)) continue;
        EXPECT_EQ(w->PixelsPerInch, 144) << w->Name();
        ExpectFits(w);
        ++checked;
    }
    EXPECT_GE(checked, 2);
}

TEST_F(BoardAtResolution, TheHelpWindowTakesTheSameShareOfTheScreen) {
    auto helpSize = [this](int ppi) {
        TMainForm* f = Start(ppi);
        f->Howtousethisprogram1Click(f);
        for (TForm* w : Application->Forms())
            if (w->Name() == "HelpForm") {
                auto size = std::make_pair(w->ClientWidth(), w->ClientHeight());
                ts::DoneTestApplication();
                return size;
            }
        ts::DoneTestApplication();
        return std::make_pair(0, 0);
    };
    auto [w96, h96] = helpSize(96);
    auto [w144, h144] = helpSize(144);
    ASSERT_GT(w96, 0);
    EXPECT_NEAR(w144, w96 * 1.5, 2.0);
    EXPECT_NEAR(h144, h96 * 1.5, 2.0);
}

} // namespace
