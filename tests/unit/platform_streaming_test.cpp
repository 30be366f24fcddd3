// Page definitions streamed into a component tree: setter order, declared defaults, references,
// handlers, Loaded, errors; and the program's own page against the declared defaults.
#include "app/Template.h"
#include "platform/Streaming.h"
#include "platform/TestSeams.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace ui;
namespace seam = ui::testing;

namespace {

std::vector<std::string> events;

// A component whose setters and Loaded record what happens, in order.
class TProbe : public TComponent {
    UI_CLASS(TProbe)
public:
    explicit TProbe(TComponent* owner) : TComponent(owner) {}
    int Level = 7; // the constructor's value; the declared default is 3
    TProbe* Buddy = nullptr;
    TNotifyEvent OnPing;
    void Loaded() override {
        TComponent::Loaded();
        events.push_back(Name() + ".Loaded buddy=" + (Buddy ? Buddy->Name() : "-"));
    }
};

class TTestForm : public TForm {
    UI_CLASS(TTestForm)
public:
    explicit TTestForm(TComponent* owner) : TForm(owner) {
        RegisterHandler("ButtonClick", [](TObject* s) {
            events.push_back(dynamic_cast<TComponent*>(s)->Name() + " clicked");
        });
        RegisterHandler("FormCreate", [](TObject*) { events.push_back("create"); });
        RegisterHandler("ProbePing", [](TObject*) { events.push_back("ping"); });
    }
};

void RegisterTestClasses() {
    using C = LoadContext;
    using V = page::Value;
    RegisterStandardClasses();
    RegisterClass<TTestForm>("TTestForm", "TForm");
    auto record = [](const char* prop) {
        return [prop](TProbe& p, const V& v, C&) {
            events.push_back(p.Name() + "." + prop + "=" + std::to_string(C::Int(v)));
        };
    };
    RegisterClass<TProbe>("TProbe", "TComponent")
        .Custom("First", record("First"))
        .Custom("Second", record("Second"))
        .Custom("Third", record("Third"))
        .Field("Level", &TProbe::Level, prop::Int<int>(), 3)
        .Ref<TProbe>("Buddy",
                     [](TProbe& p, TProbe* b) {
                         events.push_back(p.Name() + ".Buddy=" + b->Name());
                         p.Buddy = b;
                     })
        .Event("OnPing", &TProbe::OnPing);
}

class PlatformStreaming : public ::testing::Test {
protected:
    void SetUp() override {
        seam::InitTestApplication();
        RegisterTestClasses();
        events.clear();
        form = Application->CreateForm<TTestForm>();
    }
    void TearDown() override {
        seam::DoneTestApplication();
        // The probe differs from its declared default on purpose; it must not stay among the
        // program's classes for other tests to find.
        ClassRegistry::Get().Unregister("TProbe");
    }
    TTestForm* form = nullptr;
};

} // namespace

TEST_F(PlatformStreaming, SettersInWrittenOrderThenReferencesThenLoadedThenCreate) {
    LoadPageText(*form, R"(object TestForm: TTestForm
  Caption = 'Probe'
  OnCreate = FormCreate
  object P1: TProbe
    Third = 3
    First = 1
    Buddy = P2
    Second = 2
  end
  object P2: TProbe
    First = 10
  end
end
)",
                 "TESTPAGE");
    // The reference names a component defined later: it is resolved once the whole tree is
    // there, and Loaded sees it resolved. The create event is the caller's.
    const std::vector<std::string> expected{"P1.Third=3",       "P1.First=1",  "P1.Second=2",
                                            "P2.First=10",      "P1.Buddy=P2", "P1.Loaded buddy=P2",
                                            "P2.Loaded buddy=-"};
    EXPECT_EQ(events, expected);
    form->DoCreate();
    EXPECT_EQ(events.back(), "create");

    EXPECT_EQ(form->Name(), "TestForm");
    EXPECT_EQ(form->Caption(), "Probe");
    EXPECT_FALSE(form->IsLoading());
    auto* p1 = dynamic_cast<TProbe*>(form->FindComponent("p1"));
    ASSERT_NE(p1, nullptr);
    EXPECT_FALSE(p1->IsLoading());
    // Properties left out keep the constructor's value; the declared default only says what a
    // page need not record.
    EXPECT_EQ(p1->Level, 7);
}

TEST_F(PlatformStreaming, HandlersAreTheRootFormsRegisteredOnesByNameIgnoringCase) {
    LoadPageText(*form, R"(object TestForm: TTestForm
  object Button1: TButton
    OnClick = buttonclick
  end
  object P1: TProbe
    OnPing = ProbePing
  end
  object MainMenu1: TMainMenu
    object Item1: TMenuItem
      Caption = '&Go'
      OnClick = ButtonClick
    end
  end
  Menu = MainMenu1
end
)",
                 "TESTPAGE");
    events.clear();
    auto* button = dynamic_cast<TButton*>(form->FindComponent("Button1"));
    auto* probe = dynamic_cast<TProbe*>(form->FindComponent("P1"));
    auto* item = dynamic_cast<TMenuItem*>(form->FindComponent("Item1"));
    ASSERT_TRUE(button && probe && item);
    EXPECT_EQ(form->Menu(), form->FindComponent("MainMenu1"));
    EXPECT_EQ(item->ParentItem(), form->Menu()->Items());
    button->Click();
    ASSERT_TRUE(probe->OnPing);
    probe->OnPing(probe);
    item->Click();
    EXPECT_EQ(events, (std::vector<std::string>{"Button1 clicked", "ping", "Item1 clicked"}));
}

// ---------------------------------------------------------------- declared defaults

namespace {

struct CanonicalCase {
    const char* a;
    const char* b;
    bool same;
};
void PrintTo(const CanonicalCase& c, std::ostream* os) {
    *os << c.a << (c.same ? " == " : " != ") << c.b;
}

class PlatformCanonicalValue : public ::testing::TestWithParam<CanonicalCase> {};

} // namespace

namespace {
// The value of property X in a one-property page.
page::Value ValueOf(const std::string& text) {
    page::ObjectNode n = page::ParsePage("object A: TProbe\n  X = " + text + "\nend\n");
    return n.properties.at(0).value;
}
} // namespace

TEST_P(PlatformCanonicalValue, EqualValuesHaveOneTextAndOthersDiffer) {
    const auto& c = GetParam();
    if (c.same)
        EXPECT_EQ(CanonicalValue(ValueOf(c.a)), CanonicalValue(ValueOf(c.b)));
    else
        EXPECT_NE(CanonicalValue(ValueOf(c.a)), CanonicalValue(ValueOf(c.b)));
}

INSTANTIATE_TEST_SUITE_P(Cases, PlatformCanonicalValue,
                         ::testing::Values(CanonicalCase{"True", "TRUE", true},
                                           CanonicalCase{"alClient", "alclient", true},
                                           CanonicalCase{"[akTop, akLeft]", "[AKLEFT,aktop]", true},
                                           CanonicalCase{"[akLeft]", "[akLeft, akTop]", false},
                                           CanonicalCase{"-11", "-11", true},
                                           CanonicalCase{"11", "-11", false},
                                           CanonicalCase{"'Pull Up'", "'pull up'", false},
                                           CanonicalCase{"'8'", "8", false},
                                           CanonicalCase{"True", "'True'", false}));

TEST_F(PlatformStreaming, DeclaredDefaultsCompareWithWrittenValues) {
    auto& reg = ClassRegistry::Get();
    const PropertyInfo* level = reg.FindProperty("TProbe", "level");
    ASSERT_NE(level, nullptr);
    ASSERT_TRUE(level->declaredDefault);
    EXPECT_EQ(*level->declaredDefault, CanonicalValue(ValueOf("3")));
    EXPECT_NE(*level->declaredDefault, CanonicalValue(ValueOf("7")));
    // Inherited properties carry their declared defaults down the class tree.
    const PropertyInfo* anchors = reg.FindProperty("TButton", "Anchors");
    ASSERT_TRUE(anchors && anchors->declaredDefault);
    EXPECT_EQ(*anchors->declaredDefault, CanonicalValue(ValueOf("[akTop, akLeft]")));
    const PropertyInfo* visible = reg.FindProperty("TLabel", "Visible");
    ASSERT_TRUE(visible && visible->declaredDefault);
    EXPECT_EQ(*visible->declaredDefault, CanonicalValue(ValueOf("True")));
    // A property without a declared default is always written.
    const PropertyInfo* caption = reg.FindProperty("TButton", "Caption");
    ASSERT_NE(caption, nullptr);
    EXPECT_FALSE(caption->declaredDefault);
}

namespace {

// "Object.Property" of every written property whose value equals its class's declared default,
// and "?Object.Property" of every property the registry does not know.
void CollectDefaults(const page::ObjectNode& node, std::vector<std::string>& out) {
    for (const auto& p : node.properties) {
        const PropertyInfo* info = ClassRegistry::Get().FindProperty(node.className, p.name);
        if (!info)
            out.push_back("?" + node.name + "." + p.name);
        else if (info->IsDeclaredDefault(p.value))
            out.push_back(node.name + "." + p.name);
    }
    for (const auto& child : node.children)
        CollectDefaults(child, out);
}

} // namespace

TEST_F(PlatformStreaming, DefaultCheckFindsWrittenDefaults) {
    page::ObjectNode tree = page::ParsePage(R"(object TestForm: TTestForm
  object B: TButton
    Visible = True
    Anchors = [akTop, akLeft]
    Tag = 5
    Default = False
    Cancel = True
  end
  object P: TProbe
    Level = 3
    Colour = 1
  end
end
)");
    std::vector<std::string> found;
    CollectDefaults(tree, found);
    EXPECT_EQ(found, (std::vector<std::string>{"B.Visible", "B.Anchors", "B.Default", "P.Level",
                                               "?P.Colour"}));
}

TEST(PlatformPageResource, MainPageRecordsNoDeclaredDefault) {
    seam::InitTestApplication();
    RegisterProgramClasses();
    page::ObjectNode tree = page::ParsePage(ResourceText("TMAINFORM"));
    ASSERT_EQ(tree.className, "TMainForm");
    std::vector<std::string> found;
    CollectDefaults(tree, found);
    EXPECT_TRUE(found.empty()) << ::testing::PrintToString(found);
    seam::DoneTestApplication();
}

// ---------------------------------------------------------------- errors

namespace {

struct BadPage {
    const char* label;
    const char* text;
    int line;
    std::vector<std::string> named; // what the message must name besides page and line
};
void PrintTo(const BadPage& c, std::ostream* os) {
    *os << c.label;
}

class PlatformStreamingErrors : public PlatformStreaming,
                                public ::testing::WithParamInterface<BadPage> {};

} // namespace

TEST_P(PlatformStreamingErrors, NameTheLineAndTheProperty) {
    const auto& c = GetParam();
    std::string message;
    try {
        LoadPageText(*form, c.text, "TESTPAGE");
        ADD_FAILURE() << "no error for " << c.label;
    } catch (const EPageError& e) {
        message = e.what();
    }
    EXPECT_NE(message.find("TESTPAGE"), std::string::npos) << message;
    EXPECT_NE(message.find("line " + std::to_string(c.line)), std::string::npos) << message;
    for (const auto& n : c.named)
        EXPECT_NE(message.find(n), std::string::npos) << n << " not in: " << message;
    // A page that failed runs no Loaded and leaves nothing in the loading state.
    for (const auto& e : events)
        EXPECT_EQ(e.find("Loaded"), std::string::npos) << e;
    EXPECT_FALSE(form->IsLoading());
    for (int i = 0; i < form->ComponentCount(); ++i)
        EXPECT_FALSE(form->Components(i)->IsLoading());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PlatformStreamingErrors,
    ::testing::Values(
        BadPage{"UnknownClass",
                "object TestForm: TTestForm\n  object P1: TNoSuchClass\n  end\nend\n",
                2,
                {"TNoSuchClass"}},
        BadPage{"UnknownProperty",
                "object TestForm: TTestForm\n  object P1: TProbe\n    First = 1\n    Colour = 1\n"
                "  end\nend\n",
                4,
                {"Colour"}},
        BadPage{"WrongValueType",
                "object TestForm: TTestForm\n  object P1: TProbe\n    First = 'one'\n  end\nend\n",
                3,
                {"First"}},
        BadPage{"WrongValueTypeOnTheRoot",
                "object TestForm: TTestForm\n  Width = 'wide'\nend\n",
                2,
                {"Width"}},
        BadPage{
            "UnknownHandler",
            "object TestForm: TTestForm\n  object P1: TProbe\n    OnPing = Nowhere\n  end\nend\n",
            3,
            {"OnPing", "Nowhere"}},
        BadPage{"UnresolvedReference",
                "object TestForm: TTestForm\n  object P1: TProbe\n    Buddy = Ghost\n  end\nend\n",
                3,
                {"Buddy", "Ghost"}},
        BadPage{"ReferenceOfTheWrongClass",
                "object TestForm: TTestForm\n  object P1: TProbe\n    Buddy = B1\n  end\n"
                "  object B1: TButton\n  end\nend\n",
                3,
                {"Buddy", "B1"}},
        BadPage{"UnresolvedMenu",
                "object TestForm: TTestForm\n  Caption = 'x'\n  Menu = Menu9\nend\n",
                3,
                {"Menu", "Menu9"}},
        BadPage{"OutOfRange",
                "object TestForm: TTestForm\n  object P1: TPanel\n    BevelWidth = 0\n  end\nend\n",
                3,
                {"BevelWidth", "from 1 to 32767"}},
        BadPage{"UnknownEnumerationValue",
                "object TestForm: TTestForm\n  object P1: TPanel\n    Align = alMiddle\n"
                "  end\nend\n",
                3,
                {"Align", "alMiddle"}},
        BadPage{"SyntaxError",
                "object TestForm: TTestForm\n  object P1: TProbe\n    First 1\n  end\nend\n",
                3,
                {"First"}},
        BadPage{
            "DuplicateName",
            "object TestForm: TTestForm\n  object P1: TProbe\n  end\n  object p1: TProbe\n  end\n"
            "end\n",
            4,
            {"p1"}}),
    [](const ::testing::TestParamInfo<BadPage>& info) { return std::string(info.param.label); });

TEST_F(PlatformStreaming, AFormThatAsksForAutoSizeIsFittedOnceLoaded) {
    LoadPageText(*form, R"(object TestForm: TTestForm
  Width = 500
  Height = 400
  AutoSize = True
  object B: TButton
    Left = 20
    Top = 10
    Width = 75
    Height = 25
  end
end
)",
                 "TESTPAGE");
    EXPECT_EQ(form->ClientWidth(), 75);
    EXPECT_EQ(form->ClientHeight(), 25);
    EXPECT_EQ(form->FindComponent("B")->Name(), "B");
    EXPECT_EQ(static_cast<TControl*>(form->FindComponent("B"))->BoundsRect(), Bounds(0, 0, 75, 25));
}
