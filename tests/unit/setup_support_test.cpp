// The setup-support component on its own: starting values, what a page makes of it, the header
// line, design mode, its timer and how failures reach the user; plus the texts and the scale
// arithmetic it builds its windows from.
#include "app/Template.h"
#include "controls/SetupSupporter.h"
#include "controls/SetupTexts.h"
#include "platform/Streaming.h"
#include "platform/TestSeams.h"

#include <gtest/gtest.h>

#include <cfenv>
#include <ostream>
#include <string>
#include <vector>

using namespace ui;
namespace ts = ui::testing;

namespace {

const std::string CRLF = "\r\n";

// The help document, piece by piece, written out independently of the code that builds it.
std::string ExpectedHelpDocument(const std::string& company, const std::string& card, bool series,
                                 bool multiPort, bool cardStrings) {
    std::string d;
    d +=
        R"x({\rtf1\ansi\ansicpg1252\deff0\deflang1033{\fonttbl{\f0\fswiss\fprq2\fcharset0 Verdana;}}{\colortbl\red64\green64\blue64;\red255\green255\blue64;\red64\green64\blue255;\red255\green64\blue64;}\viewkind4\uc1\pard\f0\fs32\cf0)x" +
        CRLF + R"x({\b )x";
    d += company;
    d += " ";
    d += card;
    if (series) d += " Series";
    d += R"x( Settings Program}\par\par\fs24)x" + CRLF;
    d +=
        R"x(This program will help you configure the option jumpers and settings associated with this product. You should have the product in-hand when first using this program.\par\par)x" +
        CRLF;
    d +=
        R"x({\cf1\fs24\b Yellow circles} provide information on configuring jumpers and switches.\par\par)x" +
        CRLF;
    d +=
        R"x({\cf2\fs24\b Blue circles} are informational only. They provide information on standard and optional features of the product family.\par\par)x" +
        CRLF;
    d +=
        R"x({\cf3\fs24\b Red circles} handle calibration and types of configuration that require actually controlling the hardware device. Run this settings program again once the card is installed. )x";
    d +=
        R"x(Repeat the {\cf1 setup circles} (using the same settings) to configure this program, then perform the {\cf3 calibration circles}.\par\par)x" +
        CRLF;
    d +=
        R"x(Mouse over the highlight circles to see configuration or information popups for {\cf1 setup}, {\cf2 features}, and {\cf3 calibration}. Click a highlight circle to make its popup remain on-screen. )x";
    d +=
        R"x(You can have all or as many of these popups onscreen at the same time as you desire.\par\par)x" +
        CRLF;
    if (multiPort) {
        d +=
            R"x({\fs32\b Note:} Make sure to set the jumpers for each option group \emdash  the configuration options for each port are handled identically; )x";
        d +=
            R"x(this program only shows the setup once, but you need to perform this setup for each group of options on your device.\par\par)x" +
            CRLF;
    }
    if (cardStrings)
        d += "To see a list of " + card + " cards installed, click \"Display " + card +
             R"x( Cards Installed" under the File menu.\par\par)x" + CRLF;
    d += "}";
    return d;
}

// A main window that carries nothing but one supporter, loaded from a page definition.
class SupporterHost : public ::testing::Test {
protected:
    void SetUp() override {
        ts::InitTestApplication();
        ts::SetScreenSize(1024, 768);
        RegisterSetupSupporterClass();
    }
    void TearDown() override { ts::DoneTestApplication(); }

    TSetupSupporter* Load(const std::string& supporterProperties) {
        host = Application->CreateForm<TForm>();
        LoadPageText(*host,
                     "object Host: TForm\n  object Sup: TSetupSupporter\n" + supporterProperties +
                         "  end\nend\n",
                     "host");
        auto* sup = dynamic_cast<TSetupSupporter*>(host->FindComponent("Sup"));
        if (sup) Application->OnIdle = [sup](TObject* s, bool& d) { sup->AppIdle(s, d); };
        return sup;
    }

    // The main window's first paint, then the first idle moment, as at program start.
    void StartUp() {
        host->Show();
        ts::ProcessPendingMessages();
        ts::RunIdle();
    }

    TForm* host = nullptr;
};

} // namespace

// ---------------------------------------------------------------- construction and page

TEST_F(SupporterHost, StartsWithItsConstructorValues) {
    {
        TSetupSupporter s(nullptr);
        EXPECT_EQ(s.CompanyName, "");
        EXPECT_EQ(s.CardNameA, "");
        EXPECT_EQ(s.CardNameB, "");
        EXPECT_EQ(s.CallHow, "");
        EXPECT_FALSE(s.UseCardNameB);
        EXPECT_FALSE(s.MultiPort);
        EXPECT_EQ(s.Channels, 8);
        EXPECT_TRUE(s.ChangeButtons);
        EXPECT_TRUE(s.bSeries);
        EXPECT_FALSE(s.OnBeginCalib());
        EXPECT_FALSE(s.OnGetCardString);
        EXPECT_FALSE(s.OnGetCalibString);
        EXPECT_FALSE(s.OnStartButtonClick);
        EXPECT_FALSE(s.OnStopButtonClick);
        EXPECT_FALSE(s.FirstRun());
        EXPECT_FALSE(s.Calibrating());
        EXPECT_FALSE(s.TimerRunning());
        EXPECT_EQ(s.HelpForm(), nullptr);
        EXPECT_EQ(s.TechForm(), nullptr);
        EXPECT_EQ(s.HeaderLabel(), nullptr);
    }
}

// ChangeButtons starts True although its declared default is False, so a page that leaves it
// unwritten must not turn it off; one that writes False does.
TEST_F(SupporterHost, ChangeButtonsStaysTrueUnlessThePageWritesFalse) {
    TSetupSupporter* sup = Load("    CompanyName = 'Acme'\n");
    ASSERT_NE(sup, nullptr);
    EXPECT_TRUE(sup->ChangeButtons);
    EXPECT_EQ(sup->CompanyName, "Acme");
    EXPECT_TRUE(sup->bSeries);
    EXPECT_EQ(sup->Channels, 8);

    auto* other = Application->CreateForm<TForm>();
    LoadPageText(*other,
                 "object Other: TForm\n  object Sup2: TSetupSupporter\n    ChangeButtons = False\n"
                 "  end\nend\n",
                 "other");
    auto* sup2 = dynamic_cast<TSetupSupporter*>(other->FindComponent("Sup2"));
    ASSERT_NE(sup2, nullptr);
    EXPECT_FALSE(sup2->ChangeButtons);
}

// ---------------------------------------------------------------- header line

struct HeaderCase {
    bool useCardNameB;
    bool series;
    const char* caption;
};
void PrintTo(const HeaderCase& c, std::ostream* os) {
    *os << "UseCardNameB=" << c.useCardNameB << " bSeries=" << c.series;
}

class HeaderCaption : public SupporterHost, public ::testing::WithParamInterface<HeaderCase> {};

TEST_P(HeaderCaption, NamesTheChosenCardOnly) {
    const HeaderCase& c = GetParam();
    TSetupSupporter* sup = Load("    CompanyName = 'Acme'\n    CardNameA = 'KX-7140'\n"
                                "    CardNameB = 'ZZ-9000'\n");
    ASSERT_NE(sup, nullptr);
    sup->UseCardNameB = c.useCardNameB;
    sup->bSeries = c.series;
    StartUp();
    TLabel* header = sup->HeaderLabel();
    ASSERT_NE(header, nullptr);
    EXPECT_EQ(header->Caption(), c.caption);
    // The card that was not chosen appears nowhere, the help document included.
    const std::string unused = c.useCardNameB ? "KX-7140" : "ZZ-9000";
    const std::string chosen = c.useCardNameB ? "ZZ-9000" : "KX-7140";
    ASSERT_NE(sup->HelpForm(), nullptr);
    const std::string& doc = sup->HelpForm()->HelpRich->Rtf();
    EXPECT_EQ(doc.find(unused), std::string::npos);
    EXPECT_NE(doc.find("Acme " + chosen), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    FoundCard, HeaderCaption,
    ::testing::Values(HeaderCase{false, false, "KX-7140 Settings Program"},
                      HeaderCase{false, true, "KX-7140 Series Settings Program"},
                      HeaderCase{true, false, "ZZ-9000 Settings Program"},
                      HeaderCase{true, true, "ZZ-9000 Series Settings Program"}));

// ---------------------------------------------------------------- start-up and timer

TEST_F(SupporterHost, DesignModeBuildsNothingAndNeverStartsTheTimer) {
    TSetupSupporter* sup = Load("    CompanyName = 'Acme'\n    CardNameA = 'KX-7140'\n");
    ASSERT_NE(sup, nullptr);
    sup->SetDesigning(true);
    const int owned = host->ComponentCount();
    const int children = host->ControlCount();
    const size_t forms = Application->Forms().size();
    StartUp();
    EXPECT_FALSE(Application->OnIdle); // the handler still removes itself
    EXPECT_EQ(host->ComponentCount(), owned);
    EXPECT_EQ(host->ControlCount(), children);
    EXPECT_EQ(Application->Forms().size(), forms);
    EXPECT_EQ(sup->HelpForm(), nullptr);
    EXPECT_EQ(sup->TechForm(), nullptr);
    EXPECT_EQ(sup->HeaderLabel(), nullptr);
    EXPECT_FALSE(sup->FirstRun());
    EXPECT_FALSE(ts::AnyTimerRunning());
    EXPECT_EQ(ts::DeliverTimerTicks(), 0);
    sup->SetOnBeginCalib([](TObject*) {});
    EXPECT_FALSE(ts::AnyTimerRunning());
}

TEST_F(SupporterHost, WritingOnBeginCalibWithNothingPendingLeavesTheTimerStopped) {
    TSetupSupporter* sup = Load("");
    ASSERT_NE(sup, nullptr);
    int calls = 0;
    sup->SetOnBeginCalib([&calls](TObject*) { ++calls; });
    EXPECT_TRUE(sup->OnBeginCalib());
    EXPECT_FALSE(ts::AnyTimerRunning());

    // Also after the help window has had its tick.
    StartUp();
    ASSERT_TRUE(sup->TimerRunning());
    EXPECT_EQ(ts::DeliverTimerTicks(), 1);
    ASSERT_FALSE(ts::AnyTimerRunning());
    sup->SetOnBeginCalib(nullptr);
    sup->SetOnBeginCalib([&calls](TObject*) { ++calls; });
    EXPECT_FALSE(ts::AnyTimerRunning());
    EXPECT_EQ(calls, 0);
}

TEST_F(SupporterHost, WritingOnBeginCalibWhileTheHelpIsPendingKeepsTheTimer) {
    TSetupSupporter* sup = Load("");
    ASSERT_NE(sup, nullptr);
    StartUp();
    sup->SetOnBeginCalib([](TObject*) {});
    EXPECT_TRUE(sup->TimerRunning());
    EXPECT_EQ(ts::DeliverTimerTicks(), 1);
    EXPECT_TRUE(sup->HelpForm()->Visible());
    EXPECT_FALSE(ts::AnyTimerRunning());
}

// The idle handler removes itself before it builds, and leaves the application's done flag as it
// finds it: setting it false would keep an idle program spinning.
TEST_F(SupporterHost, AppIdleUnhooksItselfAndLeavesDoneAlone) {
    TSetupSupporter* sup = Load("    CardNameA = 'KX-7140'\n");
    ASSERT_NE(sup, nullptr);
    host->Show();
    ts::ProcessPendingMessages();
    bool done = true;
    sup->AppIdle(Application, done);
    EXPECT_TRUE(done);
    EXPECT_FALSE(Application->OnIdle);
    ASSERT_NE(sup->HelpForm(), nullptr);
    EXPECT_EQ(sup->HelpForm()->Owner(), host);
    EXPECT_EQ(sup->HeaderLabel()->Parent(), host);
    EXPECT_TRUE(sup->TimerRunning());
}

// No timer at the end of the build: the standard error box reports it, the idle handler is gone
// for good, and the help window waits for the Help menu.
TEST_F(SupporterHost, RefusedTimerIsReportedAndHelpStaysReachableFromTheMenu) {
    auto* form = Application->CreateForm<TMainForm>();
    TSetupSupporter* sup = form->SetSup;
    ts::RefuseTimers(true);
    form->Show();
    ts::ProcessPendingMessages();
    EXPECT_NO_THROW(ts::RunIdle());

    ASSERT_EQ(ts::MessageBoxes().size(), 1u);
    EXPECT_EQ(ts::MessageBoxes()[0].text, "Not enough timers available.");
    EXPECT_EQ(ts::MessageBoxes()[0].caption, Application->Title);
    EXPECT_EQ(ts::MessageBoxes()[0].flags, MB_OK | MB_ICONERROR);
    EXPECT_FALSE(Application->OnIdle);
    EXPECT_TRUE(sup->FirstRun());
    EXPECT_FALSE(ts::AnyTimerRunning());
    ASSERT_NE(sup->HelpForm(), nullptr);
    ASSERT_NE(sup->TechForm(), nullptr);
    EXPECT_EQ(sup->HeaderLabel()->Caption(), "KX-7140 Settings Program");

    // Nothing is retried and nothing opens by itself.
    ts::RefuseTimers(false);
    ts::RunIdle();
    EXPECT_EQ(ts::DeliverTimerTicks(), 0);
    EXPECT_FALSE(sup->HelpForm()->Visible());
    EXPECT_EQ(ts::MessageBoxes().size(), 1u);

    form->Howtousethisprogram1->Click();
    EXPECT_TRUE(sup->HelpForm()->Visible());
}

TEST_F(SupporterHost, ExceptionInATickIsReportedAndTheProgramGoesOn) {
    TSetupSupporter* sup = Load("    CardNameA = 'KX-7140'\n");
    ASSERT_NE(sup, nullptr);
    StartUp();
    ASSERT_NE(sup->HelpForm(), nullptr);
    int shows = 0;
    sup->HelpForm()->OnShow = [&shows](TObject*) {
        if (++shows == 1) throw Exception("Help text unavailable");
    };

    EXPECT_NO_THROW(EXPECT_EQ(ts::DeliverTimerTicks(), 1));
    ASSERT_EQ(ts::MessageBoxes().size(), 1u);
    EXPECT_EQ(ts::MessageBoxes()[0].text, "Help text unavailable.");
    EXPECT_EQ(ts::MessageBoxes()[0].flags, MB_OK | MB_ICONERROR);
    // What the tick did before the exception stands.
    EXPECT_TRUE(sup->HelpForm()->Visible());

    // The program goes on: the next tick finishes the job and stops the timer.
    EXPECT_EQ(ts::DeliverTimerTicks(), 1);
    EXPECT_FALSE(sup->FirstRun());
    EXPECT_FALSE(ts::AnyTimerRunning());
    EXPECT_EQ(ts::MessageBoxes().size(), 1u);
}

// ---------------------------------------------------------------- help document

struct DocCase {
    const char* company;
    const char* card;
    bool series, multiPort, cardStrings;
};
void PrintTo(const DocCase& c, std::ostream* os) {
    *os << "'" << c.company << "' '" << c.card << "' series=" << c.series
        << " multiPort=" << c.multiPort << " cardStrings=" << c.cardStrings;
}

class HelpDocument : public ::testing::TestWithParam<DocCase> {};

TEST_P(HelpDocument, IsThePiecesInOrder) {
    const DocCase& c = GetParam();
    EXPECT_EQ(BuildHelpDocument({c.company, c.card, c.series, c.multiPort, c.cardStrings}),
              ExpectedHelpDocument(c.company, c.card, c.series, c.multiPort, c.cardStrings));
}

INSTANTIATE_TEST_SUITE_P(Variants, HelpDocument,
                         ::testing::Values(DocCase{"Telvar", "KX-7140", false, false, false},
                                           DocCase{"Telvar", "KX-7140", true, false, false},
                                           DocCase{"Telvar", "KX-7140", false, true, false},
                                           DocCase{"Telvar", "KX-7140", false, false, true},
                                           DocCase{"Acme", "AB-12", true, true, true},
                                           DocCase{"", "", false, false, false}));

// Independent of the assembled reference: where the optional paragraphs sit.
TEST(HelpDocumentText, NoteComesBeforeTheCardsParagraphAndTheCardIsNamedTwice) {
    std::string d = BuildHelpDocument({"Telvar", "KX-7140", false, true, true});
    size_t popup = d.find("remain on-screen. You can have all");
    size_t note = d.find("{\\fs32\\b Note:}");
    size_t cards = d.find("To see a list of KX-7140 cards installed, click \"Display KX-7140 Cards "
                          "Installed\" under the File menu.\\par\\par\r\n");
    ASSERT_NE(popup, std::string::npos);
    ASSERT_NE(note, std::string::npos);
    ASSERT_NE(cards, std::string::npos);
    EXPECT_LT(popup, note);
    EXPECT_LT(note, cards);
    EXPECT_EQ(d.substr(d.size() - 3), "\r\n}");
    EXPECT_NE(d.find("\\emdash  the configuration"), std::string::npos);
}

// ---------------------------------------------------------------- scale arithmetic

struct ScaleCase {
    int width, height;
    double factor;
};
void PrintTo(const ScaleCase& c, std::ostream* os) {
    *os << c.width << "x" << c.height;
}

class HelpScaleTable : public ::testing::TestWithParam<ScaleCase> {};

TEST_P(HelpScaleTable, IsTheSmallerRatioButNeverBelowOne) {
    const ScaleCase& c = GetParam();
    EXPECT_DOUBLE_EQ(HelpScale(c.width, c.height), c.factor);
}

INSTANTIATE_TEST_SUITE_P(Screens, HelpScaleTable,
                         ::testing::Values(ScaleCase{800, 600, 1.0}, ScaleCase{1024, 768, 1.28},
                                           ScaleCase{1920, 1080, 2.4}, ScaleCase{1200, 675, 1.5},
                                           ScaleCase{640, 480, 1.0}, ScaleCase{0, 0, 1.0},
                                           ScaleCase{4000, 450, 1.0}, ScaleCase{800, 4000, 1.0},
                                           ScaleCase{-1024, -768, 1.0}));

TEST(RoundHalfEvenTable, HalfwayGoesToTheEvenNeighbour) {
    struct {
        double v;
        int expected;
    } cases[] = {{457.5, 458},  {456.5, 456}, {0.5, 0},  {1.5, 2},   {2.5, 2},   {390.4, 390},
                 {176.64, 177}, {331.2, 331}, {-0.5, 0}, {-1.5, -2}, {-2.6, -3}, {305.0, 305}};
    for (const auto& c : cases)
        EXPECT_EQ(RoundHalfEven(c.v), c.expected) << c.v;

    // A caller's rounding mode does not leak into the result, and is left as it was.
    const int saved = std::fegetround();
    ASSERT_EQ(std::fesetround(FE_UPWARD), 0);
    EXPECT_EQ(RoundHalfEven(390.4), 390);
    EXPECT_EQ(RoundHalfEven(2.5), 2);
    EXPECT_EQ(std::fegetround(), FE_UPWARD);
    std::fesetround(saved);
}
