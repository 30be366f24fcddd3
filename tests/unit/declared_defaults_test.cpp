// Every class a page of the program may name, constructed: each property's value against its
// declared default. The few deliberate differences are listed with where they come from.
#include "app/Template.h"
#include "platform/Streaming.h"
#include "platform/TestSeams.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>

using namespace ui;
namespace ts = ui::testing;

namespace {

// "Class.Property" -> why a new instance does not hold the declared default. A page that leaves
// such a property out gets the constructor's value; one that wants the default must write it.
const std::map<std::string, const char*> kIntended{
    {"TSetupSupporter.ChangeButtons",
     "declared False, but a new supporter lets the calibration cycle restore its records' "
     "buttons"},
    {"TRadioPanel.BevelOuter",
     "panels declare a raised bevel; an option panel is built without one, so its page records "
     "bvNone"},
};

class DeclaredDefaults : public ::testing::Test {
protected:
    void SetUp() override {
        ts::InitTestApplication();
        RegisterProgramClasses();
    }
    void TearDown() override { ts::DoneTestApplication(); }
};

} // namespace

TEST_F(DeclaredDefaults, ANewInstanceHoldsEveryDeclaredDefault) {
    auto& reg = ClassRegistry::Get();
    std::map<std::string, std::string> differing; // "Class.Property" -> "declared / constructed"
    int checked = 0;
    for (const ClassInfo* cls : reg.Classes()) {
        if (!cls->create) continue; // bases and the main window are not created from a page
        std::unique_ptr<TComponent> c(cls->create(nullptr));
        ASSERT_EQ(c->ClassName(), cls->name);
        for (const PropertyInfo* p : reg.Properties(cls->name)) {
            if (!p->declaredDefault) continue;
            ASSERT_TRUE(p->current)
                << cls->name << "." << p->name << " has a default but no getter";
            ++checked;
            std::string now = p->current(*c);
            if (now != *p->declaredDefault)
                differing[cls->name + "." + p->name] = *p->declaredDefault + " / " + now;
        }
    }
    EXPECT_GT(checked, 0);
    for (const auto& [name, values] : differing)
        EXPECT_TRUE(kIntended.count(name)) << name << " declared / constructed: " << values;
    // The list stays honest: each entry still differs.
    for (const auto& [name, why] : kIntended)
        EXPECT_TRUE(differing.count(name)) << name << " no longer differs (" << why << ")";
}

// The text a page reader compares with is derived from the typed default, so it matches what a
// page writes however the page spells it.
TEST_F(DeclaredDefaults, WrittenValuesMatchTheTypedDefaultsHoweverSpelled) {
    auto value = [](const std::string& text) {
        return page::ParsePage("object A: TX\n  X = " + text + "\nend\n").properties.at(0).value;
    };
    struct Case {
        const char* cls;
        const char* prop;
        const char* written;
        bool isDefault;
    } cases[] = {
        {"TThreeJumper", "JumperState", "JSOPEN", true},
        {"TThreeJumper", "JumperState", "jsLeft", false},
        {"TThreeJumper", "BaseColor", "clGray", true},
        {"TThreeJumper", "BaseColor", "8421504", true}, // 0x808080 by number
        {"TThreeJumper", "PinColor", "clGray", false},
        {"TRadioPanel", "FinalAnchors", "[akTop, akLeft]", true},
        {"TRadioPanel", "FinalAnchors", "[akLeft]", false},
        {"TRadioPanel", "MemoHeight", "58", true},
        {"TRadioPanel", "Visible", "False", true},
        {"TLabel", "Visible", "True", true},
        {"TForm", "Visible", "True", false},
        {"TForm", "AutoScroll", "False", true},
        {"TSetupSupporter", "ChangeButtons", "False", true},
        {"TSetupSupporter", "Channels", "8", true},
        {"TSetupSupporter", "Channels", "'8'", false},
        {"TBoardImage", "AutoSize", "True", true},
    };
    for (const auto& c : cases) {
        const PropertyInfo* p = ClassRegistry::Get().FindProperty(c.cls, c.prop);
        ASSERT_NE(p, nullptr) << c.cls << "." << c.prop;
        EXPECT_EQ(p->IsDeclaredDefault(value(c.written)), c.isDefault)
            << c.cls << "." << c.prop << " = " << c.written;
    }
}

// What each class of the board guide exposes to a page, against what it must not.
TEST_F(DeclaredDefaults, ClassesExposeWhatTheyShowAndNoMore) {
    struct Case {
        const char* cls;
        std::vector<const char*> exposed, hidden;
    } cases[] = {
        {"TRadioPanel",
         {"RadioEnabled",   "Lines.Strings", "MemoHeight",  "Align",
          "FinalAnchors",   "BevelInner",    "BevelOuter",  "BevelWidth",
          "Color",          "Enabled",       "ParentColor", "ParentFont",
          "ParentShowHint", "ShowHint",      "TabOrder",    "TabStop",
          "Visible",        "OnRadioChange", "OnActivate",  "OnDeactivate",
          "OnClick",        "OnDblClick",    "Tag",         "Left",
          "Hint",           "Cursor"},
         {"Anchors", "Caption", "Font.Name", "Font.Height", "Alignment"}},
        {"TThreeJumper",
         {"JumperState", "BaseColor", "PinColor", "JumperColor", "Orientation", "BorderStyle",
          "AllowOpen", "Align", "Anchors", "Enabled", "ParentShowHint", "ShowHint", "Visible",
          "OnClick", "Tag", "Width"},
         {"Caption", "Color", "ParentColor", "Font.Name", "OnDblClick", "TabOrder"}},
        {"TBoardImage",
         {"Menu", "CenterOnForm", "Scale", "Align", "Anchors", "AutoSize", "Center", "Enabled",
          "ParentShowHint", "Picture.Resource", "ShowHint", "Stretch", "Transparent", "Visible",
          "OnClick", "OnDblClick", "Tag", "Height"},
         {"Caption", "Color", "Font.Name", "BevelOuter", "TabOrder", "TabStop"}},
        {"TSetupSupporter",
         {"CompanyName", "CardNameA", "CardNameB", "UseCardNameB", "CallHow", "MultiPort",
          "Channels", "ChangeButtons", "bSeries", "OnBeginCalib", "OnStopButtonClick",
          "OnStartButtonClick", "Tag"},
         {"Left", "Visible"}},
    };
    for (const auto& c : cases) {
        for (const char* p : c.exposed)
            EXPECT_NE(ClassRegistry::Get().FindProperty(c.cls, p), nullptr) << c.cls << "." << p;
        for (const char* p : c.hidden)
            EXPECT_EQ(ClassRegistry::Get().FindProperty(c.cls, p), nullptr) << c.cls << "." << p;
    }
}

TEST_F(DeclaredDefaults, APageSettingAPropertyTheClassDoesNotExposeFailsWithLineAndProperty) {
    class TPageForm : public TForm {
        UI_CLASS(TMainForm)
    public:
        using TForm::TForm;
    };
    TPageForm form(nullptr);
    try {
        LoadPageText(form,
                     "object F: TMainForm\n"
                     "  object P: TRadioPanel\n"
                     "    Width = 120\n"
                     "    Caption = 'Levels'\n"
                     "  end\n"
                     "end\n",
                     "panel page");
        FAIL() << "a caption was accepted on an option panel";
    } catch (const EPageError& e) {
        EXPECT_STREQ(e.what(),
                     "panel page, line 4, property Caption: TRadioPanel has no such property");
    }
}
