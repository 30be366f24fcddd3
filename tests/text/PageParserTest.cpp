#include "platform/text/PageParser.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using page::ObjectNode;
using page::PageError;
using page::ParsePage;
using Kind = page::Value::Kind;

const char* const kPage = R"(object MainForm: TMainForm
  Left = 305
  Caption = 'Setup'
  Font.Name = 'MS Sans Serif'
  Font.Height = -11
  WindowState = wsMaximized
  OnCreate = FormCreate
  Anchors = [akLeft, akTop]
  BorderIcons = []
  Items.Strings = (
    'Pull Up'
    'Pull Down')
  Scale = 1.5
  Picture.Data = {
    0A1B
    ff00}
  Hint = 'It''s'#13#10'two lines' +
    ' and more'#$263A
  Visible = False
  object MainMenu1: TMainMenu
    object File1: TMenuItem
      Caption = '&File'
      Hint = 'caf'#233
    end
    object TMenuItem
    end
  end
  inherited SetSup: TSetupSupporter
    Ratio = -2.5E+003
    Mask = $FF
    Nested = (
      [a]
      (1 2.5)
      'x')
  end
end
)";

struct Expected {
    const char* name;
    int line;
    Kind kind;
};

TEST(PageParser, RepresentativePage) {
    const ObjectNode root = ParsePage(kPage);
    EXPECT_EQ(root.name, "MainForm");
    EXPECT_EQ(root.className, "TMainForm");
    EXPECT_EQ(root.line, 1);
    EXPECT_FALSE(root.inherited);

    const Expected props[] = {
        {"Left", 2, Kind::Integer},
        {"Caption", 3, Kind::String},
        {"Font.Name", 4, Kind::String},
        {"Font.Height", 5, Kind::Integer},
        {"WindowState", 6, Kind::Identifier},
        {"OnCreate", 7, Kind::Identifier},
        {"Anchors", 8, Kind::Set},
        {"BorderIcons", 9, Kind::Set},
        {"Items.Strings", 10, Kind::List},
        {"Scale", 13, Kind::Float},
        {"Picture.Data", 14, Kind::Binary},
        {"Hint", 17, Kind::String},
        {"Visible", 19, Kind::Identifier},
    };
    ASSERT_EQ(root.properties.size(), std::size(props));
    for (size_t i = 0; i < std::size(props); ++i) {
        SCOPED_TRACE(props[i].name);
        EXPECT_EQ(root.properties[i].name, props[i].name);
        EXPECT_EQ(root.properties[i].line, props[i].line);
        EXPECT_EQ(root.properties[i].value.line, props[i].line);
        EXPECT_EQ(root.properties[i].value.kind, props[i].kind);
    }
    const auto& p = root.properties;
    EXPECT_EQ(p[0].value.integer, 305);
    EXPECT_EQ(p[1].value.text, "Setup");
    EXPECT_EQ(p[2].value.text, "MS Sans Serif");
    EXPECT_EQ(p[3].value.integer, -11);
    EXPECT_EQ(p[4].value.text, "wsMaximized");
    EXPECT_EQ(p[5].value.text, "FormCreate");
    EXPECT_EQ(p[6].value.set, (std::vector<std::string>{"akLeft", "akTop"}));
    EXPECT_TRUE(p[7].value.set.empty());
    ASSERT_EQ(p[8].value.items.size(), 2u);
    EXPECT_EQ(p[8].value.items[0].text, "Pull Up");
    EXPECT_EQ(p[8].value.items[0].line, 11);
    EXPECT_EQ(p[8].value.items[1].text, "Pull Down");
    EXPECT_EQ(p[8].value.items[1].line, 12);
    EXPECT_DOUBLE_EQ(p[9].value.number, 1.5);
    EXPECT_EQ(p[10].value.bytes, (std::vector<uint8_t>{0x0A, 0x1B, 0xFF, 0x00}));
    EXPECT_EQ(p[11].value.text, "It's\r\ntwo lines and more\xE2\x98\xBA");
    EXPECT_EQ(p[12].value.text, "False");

    ASSERT_EQ(root.children.size(), 2u);
    const ObjectNode& menu = root.children[0];
    EXPECT_EQ(menu.name, "MainMenu1");
    EXPECT_EQ(menu.className, "TMainMenu");
    EXPECT_EQ(menu.line, 20);
    EXPECT_TRUE(menu.properties.empty());
    ASSERT_EQ(menu.children.size(), 2u);
    EXPECT_EQ(menu.children[0].name, "File1");
    EXPECT_EQ(menu.children[0].line, 21);
    ASSERT_EQ(menu.children[0].properties.size(), 2u);
    EXPECT_EQ(menu.children[0].properties[0].value.text, "&File");
    EXPECT_EQ(menu.children[0].properties[1].value.text, "caf\xC3\xA9");
    EXPECT_EQ(menu.children[0].properties[1].line, 23);
    EXPECT_EQ(menu.children[1].name, "");
    EXPECT_EQ(menu.children[1].className, "TMenuItem");
    EXPECT_EQ(menu.children[1].line, 25);

    const ObjectNode& sup = root.children[1];
    EXPECT_EQ(sup.name, "SetSup");
    EXPECT_TRUE(sup.inherited);
    EXPECT_EQ(sup.line, 28);
    ASSERT_EQ(sup.properties.size(), 3u);
    EXPECT_EQ(sup.properties[0].value.kind, Kind::Float);
    EXPECT_DOUBLE_EQ(sup.properties[0].value.number, -2500.0);
    EXPECT_EQ(sup.properties[1].value.kind, Kind::Integer);
    EXPECT_EQ(sup.properties[1].value.integer, 255);
    const page::Value& nested = sup.properties[2].value;
    ASSERT_EQ(nested.items.size(), 3u);
    EXPECT_EQ(nested.items[0].kind, Kind::Set);
    EXPECT_EQ(nested.items[0].set, std::vector<std::string>{"a"});
    EXPECT_EQ(nested.items[1].kind, Kind::List);
    ASSERT_EQ(nested.items[1].items.size(), 2u);
    EXPECT_EQ(nested.items[1].items[0].integer, 1);
    EXPECT_DOUBLE_EQ(nested.items[1].items[1].number, 2.5);
    EXPECT_EQ(nested.items[1].line, 33);
    EXPECT_EQ(nested.items[2].text, "x");
    EXPECT_EQ(nested.items[2].line, 34);
}

TEST(PageParser, LenientSpellings) {
    // Keywords in any case, CR LF line ends, a byte-order mark, a value on the next line and a
    // string continued on the next line with '+' at its start.
    const ObjectNode root = ParsePage("\xEF\xBB\xBFOBJECT Form1: TForm\r\n"
                                      "  Caption =\r\n"
                                      "    'one'\r\n"
                                      "    + 'two'\r\n"
                                      "  Count = +7\r\n"
                                      "  Empty = ''\r\n"
                                      "  Items = ()\r\n"
                                      "End\r\n");
    ASSERT_EQ(root.properties.size(), 4u);
    EXPECT_EQ(root.properties[0].value.text, "onetwo");
    EXPECT_EQ(root.properties[0].line, 2);
    EXPECT_EQ(root.properties[0].value.line, 3);
    EXPECT_EQ(root.properties[1].value.integer, 7);
    EXPECT_EQ(root.properties[2].value.kind, Kind::String);
    EXPECT_EQ(root.properties[2].value.text, "");
    EXPECT_EQ(root.properties[3].value.kind, Kind::List);
    EXPECT_TRUE(root.properties[3].value.items.empty());
}

TEST(PageParser, BrokenDefinitionsNameTheLine) {
    struct Case {
        const char* name;
        std::string text;
        int line;
        const char* message; // part of what()
    } cases[] = {
        {"missing '='", "object A: T\n  Left = 1\n  Caption 'x'\nend", 3,
         "line 3: expected '=' after property name 'Caption'"},
        {"missing '=' before a line break", "object A: T\n  Caption\n  Left = 1\nend", 2,
         "expected '=' after property name 'Caption', found 'Left'"},
        {"missing end", "object A: T\n  Left = 1\n  object B: T\n  end\n\n", 4,
         "expected 'end' for object 'A' (opened at line 1)"},
        {"missing end of a child", "object A: T\n  object B: T\n    Left = 1\nend\n", 4,
         "expected 'end' for object 'A'"},
        {"unexpected token", "object A: T\n  = 5\nend", 2,
         "expected a property name, 'object' or 'end' in object 'A', found '='"},
        {"missing value", "object A: T\n  Left =\nend", 2,
         "expected a value in property 'Left', found 'end'"},
        {"comma as value", "object A: T\n  Left = ,\nend", 2, "expected a value"},
        {"unterminated string", "object A: T\n  Caption = 'abc\nend", 2, "unterminated string"},
        {"string cut at the end", "object A: T\n  Caption = 'abc", 2, "unterminated string"},
        {"bad number", "object A: T\n  Left = 12abc\nend", 2,
         "bad number '12abc' in property 'Left'"},
        {"two dots", "object A: T\n\n  Scale = 1.2.3\nend", 3, "bad number '1.2.3'"},
        {"lone minus", "object A: T\n  Left = -\nend", 2, "bad number '-'"},
        {"integer overflow", "object A: T\n  Left = 99999999999999999999\nend", 2, "bad number"},
        {"float overflow", "object A: T\n  Scale = 1e999\nend", 2, "bad number"},
        {"empty hex", "object A: T\n  Color = $\nend", 2, "bad number '$'"},
        {"odd hex digits", "object A: T\n  Data = {\n    0A1\n  }\nend", 2,
         "odd number of hex digits"},
        {"bad hex digit", "object A: T\n  Data = {\n    0G}\nend", 3,
         "unexpected character 'G' in binary data"},
        {"unterminated binary", "object A: T\n  Data = {0A\n  0B\n", 3,
         "binary data opened at line 2 is not closed"},
        {"trailing garbage", "object A: T\nend\nxyz", 3, "unexpected 'xyz' after the final 'end'"},
        {"second root object", "object A: T\nend\n\nobject B: T\nend\n", 4,
         "after the final 'end'"},
        {"empty text", "", 1, "expected 'object' at the start"},
        {"no object", "  Left = 1\n", 1, "expected 'object' at the start"},
        {"missing class name", "object A:\n  Left = 1\nend", 1, "expected a class name after 'A:'"},
        {"dotted object name", "object A.B: T\nend", 1, "expected an object name"},
        {"set without comma", "object A: T\n  Anchors = [akLeft akTop]\nend", 2,
         "expected ',' or ']' in the set"},
        {"set with trailing comma", "object A: T\n  Anchors = [akLeft,]\nend", 2,
         "expected an identifier in the set"},
        {"number in a set", "object A: T\n  Anchors = [1]\nend", 2,
         "expected an identifier in the set"},
        {"unterminated list", "object A: T\n  Items.Strings = (\n    'a'\n", 3,
         "list opened at line 2 is not closed with ')' in property 'Items.Strings'"},
        {"end inside a list", "object A: T\n  Items = (\n    'a'\nend\n", 4,
         "expected a value or ')' in the list"},
        {"plus without string", "object A: T\n  Caption = 'a' +\n    5\nend", 3,
         "expected a string after '+'"},
        {"character code too big", "object A: T\n  Caption = #1114112\nend", 2,
         "bad character code '#1114112'"},
        {"surrogate code", "object A: T\n  Caption = 'a'#$D800\nend", 2, "bad character code"},
        {"hash without digits", "object A: T\n  Caption = 'a'#\nend", 2,
         "expected a character code after '#'"},
        {"unexpected character", "object A: T\n  Left = @\nend", 2, "unexpected character '@'"},
        {"control byte", std::string("object A: T\n  \x01\nend"), 2,
         "unexpected character byte 0x01"},
        {"objects nested too deeply",
         [] {
             std::string s;
             for (int i = 0; i < page::kMaxNesting + 10; ++i)
                 s += "object A: T\n";
             return s;
         }(),
         page::kMaxNesting + 1, "nested too deeply"},
        {"lists nested too deeply", "object A: T\n  Items = " + std::string(100000, '(') + "\nend",
         2, "nested too deeply"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        try {
            ParsePage(c.text);
            ADD_FAILURE() << "no error";
        } catch (const PageError& e) {
            EXPECT_EQ(e.line, c.line) << e.what();
            EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
            EXPECT_EQ(std::string(e.what()).rfind("line " + std::to_string(c.line) + ": ", 0), 0u)
                << e.what();
        }
    }
}

} // namespace
