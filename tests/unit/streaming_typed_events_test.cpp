// Typed events on a page: OnGetCardString and OnGetCalibString bind to the root form's handlers
// of their own types; a handler of another type, or a name no handler has, is a bad definition.
#include "controls/SetupSupporter.h"
#include "platform/Streaming.h"
#include "platform/TestSeams.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

using namespace ui;
namespace ts = ui::testing;

namespace {

class TypedEvents : public ::testing::Test {
protected:
    void SetUp() override {
        ts::InitTestApplication();
        RegisterSetupSupporterClass();
        host = Application->CreateForm<TForm>();
        host->RegisterHandler("Notify", [this](TObject*) { ++notified; });
        host->RegisterTypedHandler<TPCIEvent>(
            "CardText", [](TObject*, int32_t card) { return "card " + std::to_string(card); });
        host->RegisterTypedHandler<TCalibEvent>("CalibText",
                                                [](TObject*, uint8_t channel, bool& allBad) {
                                                    allBad = false;
                                                    return std::to_string(channel) + " V";
                                                });
    }
    void TearDown() override { ts::DoneTestApplication(); }

    // Loads a supporter with one event line, written on line 3 of the page.
    TSetupSupporter* Load(const std::string& property, const std::string& handler) {
        LoadPageText(*host,
                     "object Host: TForm\n  object Sup: TSetupSupporter\n    " + property + " = " +
                         handler + "\n  end\nend\n",
                     "host");
        return dynamic_cast<TSetupSupporter*>(host->FindComponent("Sup"));
    }

    TForm* host = nullptr;
    int notified = 0;
};

} // namespace

TEST_F(TypedEvents, BindToTheHandlersOfTheirType) {
    TSetupSupporter* sup = Load("OnGetCardString", "cardtext"); // names ignore case
    ASSERT_NE(sup, nullptr);
    ASSERT_TRUE(sup->OnGetCardString);
    EXPECT_EQ(sup->OnGetCardString(sup, 7), "card 7");
    EXPECT_FALSE(sup->OnGetCalibString);
}

TEST_F(TypedEvents, CalibEventSharesItsFlagWithTheCaller) {
    TSetupSupporter* sup = Load("OnGetCalibString", "CalibText");
    ASSERT_NE(sup, nullptr);
    ASSERT_TRUE(sup->OnGetCalibString);
    bool allBad = true;
    EXPECT_EQ(sup->OnGetCalibString(sup, 3, allBad), "3 V");
    EXPECT_FALSE(allBad);
}

namespace {
struct BadCase {
    const char* property;
    const char* handler;
    const char* message; // after "host, line 3, property <property>: "
};
void PrintTo(const BadCase& c, std::ostream* os) {
    *os << c.property << " = " << c.handler;
}
} // namespace

class BadHandler : public TypedEvents, public ::testing::WithParamInterface<BadCase> {};

TEST_P(BadHandler, IsRejectedNamingLineAndProperty) {
    const BadCase& c = GetParam();
    try {
        Load(c.property, c.handler);
        FAIL() << "the page loaded";
    } catch (const EPageError& e) {
        EXPECT_EQ(std::string(e.what()),
                  std::string("host, line 3, property ") + c.property + ": " + c.message);
    }
    EXPECT_EQ(notified, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BadHandler,
    ::testing::Values(
        BadCase{"OnGetCardString", "Notify",
                "the handler Notify does not fit this event, which needs a TPCIEvent handler"},
        BadCase{"OnGetCardString", "CalibText",
                "the handler CalibText does not fit this event, which needs a TPCIEvent handler"},
        BadCase{"OnGetCalibString", "CardText",
                "the handler CardText does not fit this event, which needs a TCalibEvent handler"},
        BadCase{"OnBeginCalib", "CardText",
                "the handler CardText does not fit this event, which needs a TNotifyEvent handler"},
        BadCase{"OnGetCalibString", "Missing", "the form has no handler named Missing"},
        BadCase{"OnGetCardString", "'CardText'", "an identifier is expected"}));
