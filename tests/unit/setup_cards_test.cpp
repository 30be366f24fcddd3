// The installed-cards window: its File menu entry, its layout, the count from the driver, one
// text per card from the page, and what the header says about it. The count comes through the
// supporter's CountCards (the driver library itself is exercised by tests/demo).
#include "controls/HelpForm.h"
#include "controls/PCIForm.h"
#include "controls/SetupSupporter.h"
#include "platform/Streaming.h"
#include "platform/TestSeams.h"

#include <gtest/gtest.h>

#include <climits>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

using namespace ui;
namespace ts = ui::testing;

namespace {

// A main window with a File menu (caption as given, none for no main menu at all), an Exit
// entry and one supporter whose OnGetCardString the page binds to the host's handler.
class CardsHost : public ::testing::Test {
protected:
    void SetUp() override {
        ts::InitTestApplication();
        ts::SetScreenSize(1024, 768);
        RegisterSetupSupporterClass();
    }
    void TearDown() override { ts::DoneTestApplication(); }

    TSetupSupporter* Load(std::optional<std::string> fileCaption = "&File",
                          const std::string& supporterProperties = "",
                          bool assignCardString = true) {
        host = Application->CreateForm<TForm>();
        host->RegisterTypedHandler<TPCIEvent>("GetCardString", [this](TObject* s, int32_t card) {
            EXPECT_EQ(s, sup);
            asked.push_back(card);
            if (card == throwAt) throw Exception("The card does not answer");
            if (texts.empty()) return std::string();
            return card < static_cast<int32_t>(texts.size()) ? texts[card] : std::string();
        });
        std::string page = "object Host: TForm\n";
        if (fileCaption)
            page += "  Menu = MainMenu1\n  object MainMenu1: TMainMenu\n"
                    "    object File1: TMenuItem\n      Caption = '" +
                    *fileCaption +
                    "'\n      object Exit1: TMenuItem\n        Caption = '&Exit'\n      end\n"
                    "    end\n  end\n";
        page += "  object Sup: TSetupSupporter\n    CardNameA = 'KX-7140'\n" + supporterProperties;
        if (assignCardString) page += "    OnGetCardString = GetCardString\n";
        page += "  end\nend\n";
        LoadPageText(*host, page, "host");
        sup = dynamic_cast<TSetupSupporter*>(host->FindComponent("Sup"));
        EXPECT_NE(sup, nullptr);
        sup->CountCards = [this] {
            ++counts;
            return count;
        };
        Application->OnIdle = [this](TObject* s, bool& d) { sup->AppIdle(s, d); };
        return sup;
    }

    void StartUp() {
        host->Show();
        ts::ProcessPendingMessages();
        ts::RunIdle();
    }

    std::vector<std::string> MemoLines() const { return sup->PCIForm()->PCIMemo->Lines.Items(); }
    TMenuItem* File() const { return host->Menu()->Items()->Items(0); }

    TForm* host = nullptr;
    TSetupSupporter* sup = nullptr;
    int32_t count = 2;
    int counts = 0;
    std::vector<std::string> texts{"Card 0", "Card 1"};
    std::vector<int32_t> asked;
    int32_t throwAt = -1;
};

} // namespace

TEST_F(CardsHost, WindowLayoutAfterFittingAndShownBeforeTheHelpWindow) {
    Load();
    StartUp();
    TPCIForm* f = sup->PCIForm();
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f->Name(), "PCIForm");
    EXPECT_EQ(f->Owner(), host);
    EXPECT_EQ(f->Caption(), "KX-7140 Cards installed");
    EXPECT_EQ(f->FormStyle(), TFormStyle::fsStayOnTop);
    EXPECT_EQ(f->Position(), TPosition::poDefaultPosOnly);
    EXPECT_FALSE(f->AutoSize());
    EXPECT_EQ(f->ClientWidth(), 305);
    EXPECT_EQ(f->ClientHeight(), 122);
    EXPECT_TRUE(f->Visible());
    EXPECT_FALSE(sup->HelpForm()->Visible()) << "the help window waits for the first tick";

    TMemo* memo = f->PCIMemo;
    ASSERT_NE(memo, nullptr);
    EXPECT_EQ(memo->Name(), "PCIMemo");
    EXPECT_EQ(memo->Owner(), f);
    EXPECT_EQ(memo->Parent(), f);
    EXPECT_EQ(memo->BoundsRect(), Bounds(0, 0, 305, 89));
    EXPECT_EQ(memo->Font().Name, "Tahoma");
    EXPECT_EQ(memo->Font().Size(), 10);
    EXPECT_EQ(memo->Font().Style, fsBold);
    EXPECT_TRUE(memo->ReadOnly());
    EXPECT_EQ(memo->ScrollBars(), TScrollStyle::ssVertical);
    EXPECT_EQ(memo->Anchors(), akLeft | akTop | akRight | akBottom);

    TButton* close = f->CloseButton;
    ASSERT_NE(close, nullptr);
    EXPECT_EQ(close->Name(), "CloseButton");
    EXPECT_EQ(close->Owner(), f);
    EXPECT_EQ(close->Caption(), "Close");
    EXPECT_TRUE(close->Cancel);
    EXPECT_FALSE(close->Default);
    EXPECT_EQ(close->TabOrder(), 0);
    // Placed for the new 320-pixel window and moved with the fit, not centred again.
    EXPECT_EQ(close->BoundsRect(), Bounds(115, 97, 73, 25));
    EXPECT_EQ(close->Anchors(), akBottom);

    // The help document points to the menu entry.
    EXPECT_NE(sup->HelpForm()->HelpRich->Rtf().find("\"Display KX-7140 Cards Installed\""),
              std::string::npos);
}

// ---------------------------------------------------------------- the File menu entry

namespace {
struct EntryCase {
    std::optional<std::string> fileCaption;
    bool made;
};
void PrintTo(const EntryCase& c, std::ostream* os) {
    *os << (c.fileCaption ? "File caption '" + *c.fileCaption + "'" : "no main menu");
}
} // namespace

class MenuEntry : public CardsHost, public ::testing::WithParamInterface<EntryCase> {};

TEST_P(MenuEntry, OnlyAnExactFileCaptionGetsTheEntryFirst) {
    Load(GetParam().fileCaption);
    StartUp();
    ASSERT_NE(sup->PCIForm(), nullptr);
    EXPECT_TRUE(sup->PCIForm()->Visible()) << "the window is built and shown all the same";
    EXPECT_EQ(MemoLines(), (std::vector<std::string>{"Card 0", "Card 1"}));
    if (!GetParam().fileCaption) return;
    TMenuItem* file = File();
    if (!GetParam().made) {
        EXPECT_EQ(file->Count(), 1);
        EXPECT_EQ(file->FindComponent("DisplayPCI"), nullptr);
        return;
    }
    ASSERT_EQ(file->Count(), 2);
    TMenuItem* entry = file->Items(0);
    EXPECT_EQ(entry->Name(), "DisplayPCI");
    EXPECT_EQ(entry->Owner(), file);
    EXPECT_EQ(entry->Caption(), "Display KX-7140 Cards Installed");
    EXPECT_EQ(file->Items(1)->Caption(), "&Exit");
}

INSTANTIATE_TEST_SUITE_P(Captions, MenuEntry,
                         ::testing::Values(EntryCase{"&File", true}, EntryCase{"File", false},
                                           EntryCase{"&file", false}, EntryCase{"&FILE", false},
                                           EntryCase{std::nullopt, false}));

// Close, Esc and the title bar only hide the window; the entry shows it again, not rebuilt.
TEST_F(CardsHost, HiddenWindowComesBackFromTheMenuWithTheSameLines) {
    Load();
    StartUp();
    TPCIForm* f = sup->PCIForm();
    ASSERT_NE(f, nullptr);
    f->CloseButton->Click();
    EXPECT_FALSE(f->Visible());
    File()->Items(0)->Click();
    EXPECT_TRUE(f->Visible());

    ts::PressKey(f, TForm::VK_ESCAPE);
    EXPECT_FALSE(f->Visible());
    File()->Items(0)->Click();
    EXPECT_TRUE(f->Visible());
    f->Close();
    EXPECT_FALSE(f->Visible());
    File()->Items(0)->Click();
    EXPECT_TRUE(f->Visible());

    EXPECT_EQ(sup->PCIForm(), f);
    EXPECT_EQ(MemoLines(), (std::vector<std::string>{"Card 0", "Card 1"}));
    EXPECT_EQ(counts, 1) << "the driver is asked once";
    EXPECT_EQ(asked.size(), 2u);
}

// ---------------------------------------------------------------- count and texts

namespace {
struct CountCase {
    const char* name;
    int32_t count;
    std::vector<std::string> texts;
    std::vector<std::string> lines; // the memo's lines
    size_t asked;                   // how many indexes the page is asked for
};
void PrintTo(const CountCase& c, std::ostream* os) {
    *os << c.name;
}
} // namespace

class CardTexts : public CardsHost, public ::testing::WithParamInterface<CountCase> {};

TEST_P(CardTexts, ListTheNonEmptyTextsInIndexOrder) {
    const CountCase& c = GetParam();
    count = c.count;
    texts = c.texts;
    Load();
    StartUp();
    ASSERT_NE(sup->PCIForm(), nullptr);
    EXPECT_EQ(MemoLines(), c.lines);
    ASSERT_EQ(asked.size(), c.asked);
    for (size_t i = 0; i < asked.size(); ++i)
        ASSERT_EQ(asked[i], static_cast<int32_t>(i));
    const bool found = c.lines != std::vector<std::string>{"No Card Found"};
    EXPECT_EQ(sup->HeaderLabel()->Caption(),
              found ? "KX-7140 Series Settings Program" : "No KX-7140 Series Card Found");
    EXPECT_TRUE(sup->FirstRun()) << "the build went to its end";
}

INSTANTIATE_TEST_SUITE_P(
    Counts, CardTexts,
    ::testing::Values(
        CountCase{"ThreeWithTheMiddleEmpty", 3, {"a", "", "c"}, {"a", "c"}, 3},
        CountCase{"TwoEmpty", 2, {"", ""}, {"No Card Found"}, 2},
        CountCase{"Zero", 0, {"a"}, {"No Card Found"}, 0},
        CountCase{"MinusOne", -1, {"a"}, {"No Card Found"}, 0},
        CountCase{"MostNegative", INT32_MIN, {"a"}, {"No Card Found"}, 0},
        // A broken library's count: the page is asked for the possible indexes only, and the
        // program does not freeze.
        CountCase{"TwoBillion", 2000000000, {"a"}, {"a"}, size_t(TSetupSupporter::MaxCards)}),
    [](const auto& info) { return std::string(info.param.name); });

namespace {
struct CardsHeaderCase {
    bool found;
    bool series;
    const char* caption;
};
void PrintTo(const CardsHeaderCase& c, std::ostream* os) {
    *os << "found=" << c.found << " bSeries=" << c.series;
}
} // namespace

class CardsHeader : public CardsHost, public ::testing::WithParamInterface<CardsHeaderCase> {};

TEST_P(CardsHeader, SaysWhetherACardWasFound) {
    count = GetParam().found ? 1 : 0;
    Load("&File", GetParam().series ? "" : "    bSeries = False\n");
    StartUp();
    EXPECT_EQ(sup->HeaderLabel()->Caption(), GetParam().caption);
    // bSeries enters neither the window nor the menu entry.
    EXPECT_EQ(sup->PCIForm()->Caption(), "KX-7140 Cards installed");
    EXPECT_EQ(File()->Items(0)->Caption(), "Display KX-7140 Cards Installed");
}

INSTANTIATE_TEST_SUITE_P(
    FourCaptions, CardsHeader,
    ::testing::Values(CardsHeaderCase{true, false, "KX-7140 Settings Program"},
                      CardsHeaderCase{true, true, "KX-7140 Series Settings Program"},
                      CardsHeaderCase{false, false, "No KX-7140 Found"},
                      CardsHeaderCase{false, true, "No KX-7140 Series Card Found"}));

TEST_F(CardsHost, WithoutOnGetCardStringNothingIsBuiltAndTheDriverIsNotAsked) {
    Load("&File", "", false);
    StartUp();
    EXPECT_EQ(sup->PCIForm(), nullptr);
    EXPECT_EQ(counts, 0);
    EXPECT_EQ(File()->Count(), 1);
    for (TForm* f : Application->Forms())
        EXPECT_NE(f->Name(), "PCIForm");
    EXPECT_EQ(sup->HeaderLabel()->Caption(), "KX-7140 Series Settings Program");
    EXPECT_EQ(sup->HelpForm()->HelpRich->Rtf().find("Cards Installed"), std::string::npos);
}

// A page handler that fails ends the build where it is: reported, the lines so far kept, no
// header caption and no timer.
TEST_F(CardsHost, FailingPageHandlerEndsTheBuildAndKeepsTheLinesSoFar) {
    count = 3;
    texts = {"Card 0", "Card 1", "Card 2"};
    throwAt = 1;
    Load();
    EXPECT_NO_THROW(StartUp());
    ASSERT_EQ(ts::MessageBoxes().size(), 1u);
    EXPECT_EQ(ts::MessageBoxes()[0].text, "The card does not answer.");
    EXPECT_EQ(ts::MessageBoxes()[0].flags, MB_OK | MB_ICONERROR);
    ASSERT_NE(sup->PCIForm(), nullptr);
    EXPECT_EQ(MemoLines(), std::vector<std::string>{"Card 0"});
    EXPECT_EQ(sup->HeaderLabel()->Caption(), "");
    EXPECT_FALSE(sup->FirstRun());
    EXPECT_FALSE(ts::AnyTimerRunning());
    EXPECT_EQ(asked, (std::vector<int32_t>{0, 1}));
}
