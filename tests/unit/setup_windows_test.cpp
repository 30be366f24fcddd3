// The help and technical-support windows as the program builds them at its first idle moment:
// layout, scaling, the help document on the card's page, and what their buttons and keys do.
#include "app/Template.h"
#include "controls/BoardImage.h"
#include "platform/TestSeams.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ostream>

using namespace ui;
namespace ts = ui::testing;

namespace {

// A board picture that records the tour requests it receives.
class TourBoard : public TBoardImage {
public:
    using TBoardImage::TBoardImage;
    int tours = 0;
    WPARAM lastWParam = 99;
    LPARAM lastLParam = 99;
    void WndProc(TMessage& m) override {
        if (m.Msg == WM_STARTTOUR) {
            ++tours;
            lastWParam = m.WParam;
            lastLParam = m.LParam;
        }
        TBoardImage::WndProc(m);
    }
};

class SetupWindows : public ::testing::Test {
protected:
    void SetUp() override {
        ts::InitTestApplication();
        ts::SetScreenSize(800, 600);
    }
    void TearDown() override { ts::DoneTestApplication(); }

    // Creates the main window and runs it up to its first idle moment; `before` may adjust the
    // page first.
    void StartUp(const std::function<void(TMainForm*)>& before = nullptr) {
        form = Application->CreateForm<TMainForm>();
        if (before) before(form);
        form->Show();
        ts::ProcessPendingMessages();
        ts::RunIdle();
        help = form->SetSup->HelpForm();
        tech = form->SetSup->TechForm();
        ASSERT_NE(help, nullptr);
        ASSERT_NE(tech, nullptr);
    }

    TMainForm* form = nullptr;
    THelpForm* help = nullptr;
    TTechForm* tech = nullptr;
};

const std::string CRLF = "\r\n";

std::string SupportParagraph1(const std::string& company, const std::string& callHow) {
    return "There are several ways to get technical support. First and fastest is to skim the "
           "relevant sections of the manual. However, some questions require personal "
           "assistance, and " +
           company + " stands ready to provide that help. You can call us " + callHow +
           " for any of your product questions.";
}

std::string SupportParagraph2(const std::string& company) {
    return "In order to provide the best and fastest support possible, we ask that you be at "
           "your computer when you call, and have the " +
           company + " product manual and Companion Disc at hand.";
}

} // namespace

// ---------------------------------------------------------------- help window

TEST_F(SetupWindows, HelpWindowLayoutAtBaseSize) {
    StartUp();
    EXPECT_EQ(help->Name(), "HelpForm");
    EXPECT_EQ(help->Caption(), "Instructions for Settings utility");
    EXPECT_EQ(help->FormStyle(), TFormStyle::fsStayOnTop);
    EXPECT_EQ(help->Position(), TPosition::poMainFormCenter);
    EXPECT_EQ(help->BorderStyle(), TFormBorderStyle::bsSizeable);
    EXPECT_FALSE(help->AutoSize());
    EXPECT_EQ(help->ClientWidth(), 305);
    EXPECT_EQ(help->ClientHeight(), 138);

    ASSERT_NE(help->HelpLabel, nullptr);
    EXPECT_EQ(help->HelpLabel->Name(), "HelpLabel");
    EXPECT_EQ(help->HelpLabel->Parent(), help);
    EXPECT_EQ(help->HelpLabel->Caption(), "How to use this program");
    EXPECT_EQ(help->HelpLabel->Align(), TAlign::alTop);
    EXPECT_EQ(help->HelpLabel->Alignment(), TAlignment::taCenter);
    EXPECT_EQ(help->HelpLabel->Font().Name, "Verdana");
    EXPECT_EQ(help->HelpLabel->Font().Size(), 12);
    EXPECT_EQ(help->HelpLabel->Font().Style, fsBold);
    EXPECT_EQ(help->HelpLabel->BoundsRect(), Bounds(0, 0, 305, help->HelpLabel->Height()));

    TRichEdit* rich = help->HelpRich;
    ASSERT_NE(rich, nullptr);
    EXPECT_EQ(rich->Name(), "HelpRich");
    EXPECT_EQ(rich->Parent(), help);
    EXPECT_EQ(rich->BoundsRect(), Bounds(0, 24, 305, 73));
    EXPECT_EQ(rich->Anchors(), akLeft | akTop | akRight | akBottom);
    EXPECT_TRUE(rich->ReadOnly());
    EXPECT_EQ(rich->ScrollBars(), TScrollStyle::ssVertical);
    EXPECT_EQ(rich->Color(), 0xDDDDDD);

    TButton* start = help->StartButton;
    ASSERT_NE(start, nullptr);
    EXPECT_EQ(start->Name(), "StartButton");
    EXPECT_EQ(start->Parent(), help);
    EXPECT_EQ(start->Caption(), "Start");
    EXPECT_TRUE(start->Default);
    EXPECT_TRUE(start->Cancel);
    EXPECT_EQ(start->TabOrder(), 0);
    EXPECT_EQ(start->BoundsRect(), Bounds(66, 105, 173, 25));
    EXPECT_EQ(start->Anchors(), akBottom);
    EXPECT_TRUE(start->OnClick);
}

struct ScreenCase {
    int width, height;
    int clientWidth, clientHeight;
};
void PrintTo(const ScreenCase& c, std::ostream* os) {
    *os << c.width << "x" << c.height;
}

class HelpWindowScale : public SetupWindows, public ::testing::WithParamInterface<ScreenCase> {};

// The window grows with the screen (never shrinks); the text box follows all four edges and the
// button stays centred at the same distance from the bottom.
TEST_P(HelpWindowScale, FollowsTheScreen) {
    const ScreenCase& c = GetParam();
    ts::SetScreenSize(c.width, c.height);
    StartUp();
    EXPECT_EQ(help->ClientWidth(), c.clientWidth);
    EXPECT_EQ(help->ClientHeight(), c.clientHeight);

    TRichEdit* rich = help->HelpRich;
    EXPECT_EQ(rich->Left(), 0);
    EXPECT_EQ(rich->Top(), 24);
    EXPECT_EQ(rich->Width(), c.clientWidth);
    EXPECT_EQ(c.clientHeight - (rich->Top() + rich->Height()), 138 - 97);

    TButton* start = help->StartButton;
    EXPECT_EQ(start->Width(), 173);
    EXPECT_EQ(start->Height(), 25);
    EXPECT_EQ(c.clientHeight - (start->Top() + start->Height()), 8);
    EXPECT_LE(std::abs(2 * start->Left() + start->Width() - c.clientWidth), 2)
        << "left " << start->Left() << " in " << c.clientWidth;
}

INSTANTIATE_TEST_SUITE_P(
    Screens, HelpWindowScale,
    ::testing::Values(ScreenCase{800, 600, 305, 138}, ScreenCase{1024, 768, 390, 177},
                      ScreenCase{1920, 1080, 732, 331}, ScreenCase{1200, 675, 458, 207},
                      ScreenCase{640, 480, 305, 138}, ScreenCase{0, 0, 305, 138}));

TEST_F(SetupWindows, HelpDocumentOnTheCardsPage) {
    StartUp();
    // The card's page: no series, no note, no installed-cards paragraph.
    const std::string expected =
        R"x({\rtf1\ansi\ansicpg1252\deff0\deflang1033{\fonttbl{\f0\fswiss\fprq2\fcharset0 Verdana;}}{\colortbl\red64\green64\blue64;\red255\green255\blue64;\red64\green64\blue255;\red255\green64\blue64;}\viewkind4\uc1\pard\f0\fs32\cf0)x" +
        CRLF + R"x({\b Telvar KX-7140 Settings Program}\par\par\fs24)x" + CRLF +
        R"x(This program will help you configure the option jumpers and settings associated with this product. You should have the product in-hand when first using this program.\par\par)x" +
        CRLF +
        R"x({\cf1\fs24\b Yellow circles} provide information on configuring jumpers and switches.\par\par)x" +
        CRLF +
        R"x({\cf2\fs24\b Blue circles} are informational only. They provide information on standard and optional features of the product family.\par\par)x" +
        CRLF +
        R"x({\cf3\fs24\b Red circles} handle calibration and types of configuration that require actually controlling the hardware device. Run this settings program again once the card is installed. Repeat the {\cf1 setup circles} (using the same settings) to configure this program, then perform the {\cf3 calibration circles}.\par\par)x" +
        CRLF +
        R"x(Mouse over the highlight circles to see configuration or information popups for {\cf1 setup}, {\cf2 features}, and {\cf3 calibration}. Click a highlight circle to make its popup remain on-screen. You can have all or as many of these popups onscreen at the same time as you desire.\par\par)x" +
        CRLF + "}";
    EXPECT_EQ(help->HelpRich->Rtf(), expected);

    const std::string text = help->HelpRich->PlainText();
    EXPECT_EQ(text.substr(0, text.find('\n')), "Telvar KX-7140 Settings Program");
    for (const char* words : {"Yellow circles", "Blue circles", "Red circles"})
        EXPECT_NE(text.find(words), std::string::npos) << words;
    EXPECT_EQ(text.find('\\'), std::string::npos);
    EXPECT_EQ(text.find('{'), std::string::npos);
}

TEST_F(SetupWindows, HelpWindowOpensCentredOverTheMainWindow) {
    StartUp();
    ASSERT_EQ(ts::DeliverTimerTicks(), 1);
    ts::ProcessPendingMessages();
    ASSERT_TRUE(help->Visible());
    const int mainCx = form->Left() + form->Width() / 2, mainCy = form->Top() + form->Height() / 2;
    const int helpCx = help->Left() + help->Width() / 2, helpCy = help->Top() + help->Height() / 2;
    EXPECT_LE(std::abs(mainCx - helpCx), 1) << form->Left() << "+" << form->Width();
    EXPECT_LE(std::abs(mainCy - helpCy), 1) << form->Top() << "+" << form->Height();
    EXPECT_EQ(help->ClientWidth(), 305);
    EXPECT_EQ(help->ClientHeight(), 138);
}

// Start, Enter and Esc all hide the window and start the tour on the first board picture.
class HelpStart : public SetupWindows, public ::testing::WithParamInterface<int> {};

TEST_P(HelpStart, HidesAndStartsTheTourOnTheFirstBoardPicture) {
    TourBoard* first = nullptr;
    TourBoard* second = nullptr;
    StartUp([&](TMainForm* f) {
        auto* panel = new TPanel(f);
        panel->SetParent(f);
        first = new TourBoard(f);
        first->SetParent(f);
        second = new TourBoard(f);
        second->SetParent(f);
        // Ahead of the page's own board picture: the plain panel, then the first test board.
        first->SendToBack();
        panel->SendToBack();
    });
    ASSERT_EQ(ts::DeliverTimerTicks(), 1);
    ts::ProcessPendingMessages();
    ASSERT_TRUE(help->Visible());

    switch (GetParam()) {
    case 0:
        help->StartButton->Click();
        break;
    default:
        ts::PressKey(help, GetParam());
        break;
    }
    // Delivered at once, not queued.
    EXPECT_FALSE(help->Visible());
    EXPECT_EQ(first->tours, 1);
    EXPECT_EQ(first->lastWParam, 0u);
    EXPECT_EQ(first->lastLParam, 0);
    EXPECT_EQ(second->tours, 0);

    // Shown again from the menu, it starts the tour again.
    form->Howtousethisprogram1->Click();
    ts::ProcessPendingMessages();
    help->StartButton->Click();
    EXPECT_EQ(first->tours, 2);
    EXPECT_EQ(second->tours, 0);
}

INSTANTIATE_TEST_SUITE_P(Ways, HelpStart, ::testing::Values(0, TForm::VK_RETURN, TForm::VK_ESCAPE),
                         [](const ::testing::TestParamInfo<int>& p) {
                             return p.param == 0                  ? std::string("Click")
                                    : p.param == TForm::VK_RETURN ? std::string("Enter")
                                                                  : std::string("Escape");
                         });

TEST_F(SetupWindows, StartWithoutABoardPictureOnlyHides) {
    StartUp([](TMainForm* f) {
        delete f->BoardImage1;
        f->BoardImage1 = nullptr;
    });
    form->Howtousethisprogram1->Click();
    ts::ProcessPendingMessages();
    const int children = form->ControlCount();
    help->StartButton->Click();
    EXPECT_FALSE(help->Visible());
    EXPECT_EQ(form->ControlCount(), children);
    EXPECT_TRUE(ts::MessageBoxes().empty());
    EXPECT_FALSE(Application->Terminated());
}

// ---------------------------------------------------------------- support window

TEST_F(SetupWindows, SupportWindowLayoutAndText) {
    // Scaling is for the help window only.
    ts::SetScreenSize(1920, 1080);
    StartUp();
    EXPECT_EQ(tech->Name(), "TechForm");
    EXPECT_EQ(tech->Caption(), "Technical Support");
    EXPECT_EQ(tech->FormStyle(), TFormStyle::fsStayOnTop);
    EXPECT_EQ(tech->Position(), TPosition::poDefaultPosOnly);
    EXPECT_EQ(tech->BorderStyle(), TFormBorderStyle::bsSizeable);
    EXPECT_EQ(tech->ClientWidth(), 305);
    EXPECT_EQ(tech->ClientHeight(), 122);
    EXPECT_FALSE(tech->AutoSize());

    TMemo* memo = tech->TechMemo;
    ASSERT_NE(memo, nullptr);
    EXPECT_EQ(memo->Name(), "TechMemo");
    EXPECT_EQ(memo->Parent(), tech);
    EXPECT_EQ(memo->BoundsRect(), Bounds(0, 0, 305, 89));
    EXPECT_EQ(memo->Anchors(), akLeft | akTop | akRight | akBottom);
    EXPECT_TRUE(memo->ReadOnly());
    EXPECT_EQ(memo->ScrollBars(), TScrollStyle::ssVertical);
    const std::string& callHow = form->SetSup->CallHow;
    ASSERT_EQ(memo->Lines.Count(), 3);
    EXPECT_EQ(memo->Lines[0], SupportParagraph1("Telvar", callHow));
    EXPECT_EQ(memo->Lines[1], "");
    EXPECT_EQ(memo->Lines[2], SupportParagraph2("Telvar"));

    TButton* close = tech->CloseButton;
    ASSERT_NE(close, nullptr);
    EXPECT_EQ(close->Name(), "CloseButton");
    EXPECT_EQ(close->Parent(), tech);
    EXPECT_EQ(close->Caption(), "Close");
    EXPECT_TRUE(close->Cancel);
    EXPECT_FALSE(close->Default);
    EXPECT_EQ(close->TabOrder(), 0);
    EXPECT_EQ(close->BoundsRect(), Bounds(116, 97, 73, 25));
    EXPECT_EQ(close->Anchors(), akBottom);
}

TEST_F(SetupWindows, EmptyCallHowLeavesTwoBlanks) {
    StartUp([](TMainForm* f) {
        f->SetSup->CallHow = "";
        f->SetSup->CompanyName = "Acme";
    });
    ASSERT_EQ(tech->TechMemo->Lines.Count(), 3);
    const std::string& first = tech->TechMemo->Lines[0];
    EXPECT_EQ(first, SupportParagraph1("Acme", ""));
    EXPECT_NE(first.find("You can call us  for any of your product questions."), std::string::npos);
    EXPECT_EQ(tech->TechMemo->Lines[2], SupportParagraph2("Acme"));
}

class SupportClose : public SetupWindows, public ::testing::WithParamInterface<bool> {};

// Close and Esc hide the window; the menu shows the same window again, text and size unchanged,
// and later changes of the supporter's texts do not reach it.
TEST_P(SupportClose, HidesAndTheMenuShowsItAgainUnchanged) {
    StartUp();
    form->TechnicalSupport1->Click();
    form->TechnicalSupport1->Click();
    ts::ProcessPendingMessages();
    ASSERT_TRUE(tech->Visible());
    const auto lines = tech->TechMemo->Lines.Items();
    const TRect client = tech->ClientRect();

    if (GetParam())
        ts::PressKey(tech, TForm::VK_ESCAPE);
    else
        tech->CloseButton->Click();
    EXPECT_FALSE(tech->Visible());
    EXPECT_FALSE(help->Visible());
    EXPECT_FALSE(Application->Terminated());

    form->SetSup->CompanyName = "Changed";
    form->TechnicalSupport1->Click();
    ts::ProcessPendingMessages();
    EXPECT_TRUE(tech->Visible());
    EXPECT_EQ(form->SetSup->TechForm(), tech);
    EXPECT_EQ(tech->TechMemo->Lines.Items(), lines);
    EXPECT_EQ(tech->ClientRect(), client);
}

INSTANTIATE_TEST_SUITE_P(Ways, SupportClose, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& p) {
                             return p.param ? std::string("Escape") : std::string("CloseButton");
                         });
