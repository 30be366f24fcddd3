#include "platform/text/Rtf.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// The help window's instruction document, assembled the way the setup support does.
std::string HelpDocument(bool multiPort, bool cardStrings) {
    const std::string card = "KX-7140";
    std::string d =
        R"({\rtf1\ansi\ansicpg1252\deff0\deflang1033{\fonttbl{\f0\fswiss\fprq2\fcharset0 Verdana;}})"
        R"({\colortbl\red64\green64\blue64;\red255\green255\blue64;\red64\green64\blue255;)"
        R"(\red255\green64\blue64;}\viewkind4\uc1\pard\f0\fs32\cf0)"
        "\r\n"
        R"({\b )";
    d += "Telvar";
    d += " ";
    d += card;
    d += R"( Settings Program}\par\par\fs24)"
         "\r\n";
    d += R"(This program will help you configure the option jumpers and settings associated with )"
         R"(this product. You should have the product in-hand when first using this program.)"
         R"(\par\par)"
         "\r\n";
    d += R"({\cf1\fs24\b Yellow circles} provide information on configuring jumpers and )"
         R"(switches.\par\par)"
         "\r\n";
    d += R"({\cf2\fs24\b Blue circles} are informational only. They provide information on )"
         R"(standard and optional features of the product family.\par\par)"
         "\r\n";
    d += R"({\cf3\fs24\b Red circles} handle calibration and types of configuration that require )"
         R"(actually controlling the hardware device. Run this settings program again once the )"
         R"(card is installed. )";
    d += R"(Repeat the {\cf1 setup circles} (using the same settings) to configure this program, )"
         R"(then perform the {\cf3 calibration circles}.\par\par)"
         "\r\n";
    d += R"(Mouse over the highlight circles to see configuration or information popups for )"
         R"({\cf1 setup}, {\cf2 features}, and {\cf3 calibration}. Click a highlight circle to )"
         R"(make its popup remain on-screen. )";
    d += R"(You can have all or as many of these popups onscreen at the same time as you desire.)"
         R"(\par\par)"
         "\r\n";
    if (multiPort) {
        d += R"({\fs32\b Note:} Make sure to set the jumpers for each option group \emdash  the )"
             R"(configuration options for each port are handled identically; )";
        d += R"(this program only shows the setup once, but you need to perform this setup for )"
             R"(each group of options on your device.\par\par)"
             "\r\n";
    }
    if (cardStrings) {
        d += "To see a list of " + card + " cards installed, click \"Display " + card +
             " Cards Installed\" under the File menu.\\par\\par\r\n";
    }
    d += "}";
    return d;
}

constexpr uint32_t kGrey = 0x404040;
constexpr uint32_t kYellow = 0x40FFFF;
constexpr uint32_t kBlue = 0xFF4040;
constexpr uint32_t kRed = 0x4040FF;

struct R {
    std::string text;
    bool bold;
    int halfPoints;
    uint32_t color;
};
using P = std::vector<R>;

// Every run of the help document is Verdana, coloured, neither italic nor underlined.
void ExpectParagraphs(const rtf::Document& doc, const std::vector<P>& expected) {
    ASSERT_EQ(doc.paragraphs.size(), expected.size()) << doc.plainText();
    for (size_t p = 0; p < expected.size(); ++p) {
        const auto& runs = doc.paragraphs[p].runs;
        ASSERT_EQ(runs.size(), expected[p].size())
            << "paragraph " << p << ": " << doc.paragraphs[p].text();
        for (size_t r = 0; r < runs.size(); ++r) {
            SCOPED_TRACE("paragraph " + std::to_string(p) + " run " + std::to_string(r));
            EXPECT_EQ(runs[r].text, expected[p][r].text);
            EXPECT_EQ(runs[r].bold, expected[p][r].bold);
            EXPECT_EQ(runs[r].halfPoints, expected[p][r].halfPoints);
            EXPECT_TRUE(runs[r].hasColor);
            EXPECT_EQ(runs[r].color, expected[p][r].color);
            EXPECT_EQ(runs[r].fontName, "Verdana");
            EXPECT_FALSE(runs[r].italic);
            EXPECT_FALSE(runs[r].underline);
        }
    }
}

std::vector<P> CardPageParagraphs() {
    return {
        {{"Telvar KX-7140 Settings Program", true, 32, kGrey}},
        {},
        {{"This program will help you configure the option jumpers and settings associated with "
          "this product. You should have the product in-hand when first using this program.",
          false, 24, kGrey}},
        {},
        {{"Yellow circles", true, 24, kYellow},
         {" provide information on configuring jumpers and switches.", false, 24, kGrey}},
        {},
        {{"Blue circles", true, 24, kBlue},
         {" are informational only. They provide information on standard and optional features "
          "of the product family.",
          false, 24, kGrey}},
        {},
        {{"Red circles", true, 24, kRed},
         {" handle calibration and types of configuration that require actually controlling the "
          "hardware device. Run this settings program again once the card is installed. Repeat "
          "the ",
          false, 24, kGrey},
         {"setup circles", false, 24, kYellow},
         {" (using the same settings) to configure this program, then perform the ", false, 24,
          kGrey},
         {"calibration circles", false, 24, kRed},
         {".", false, 24, kGrey}},
        {},
        {{"Mouse over the highlight circles to see configuration or information popups for ", false,
          24, kGrey},
         {"setup", false, 24, kYellow},
         {", ", false, 24, kGrey},
         {"features", false, 24, kBlue},
         {", and ", false, 24, kGrey},
         {"calibration", false, 24, kRed},
         {". Click a highlight circle to make its popup remain on-screen. You can have all or as "
          "many of these popups onscreen at the same time as you desire.",
          false, 24, kGrey}},
        {},
    };
}

TEST(RtfHelpDocument, CardPageDocument) {
    const rtf::Document doc = rtf::Parse(HelpDocument(false, false));
    EXPECT_EQ(doc.fonts, std::vector<std::string>{"Verdana"});
    const std::vector<std::optional<uint32_t>> colors = {kGrey, kYellow, kBlue, kRed};
    EXPECT_EQ(doc.colors, colors);
    ExpectParagraphs(doc, CardPageParagraphs());
}

TEST(RtfHelpDocument, NoteAndInstalledCardsParagraphs) {
    const rtf::Document doc = rtf::Parse(HelpDocument(true, true));
    std::vector<P> expected = CardPageParagraphs();
    // The em dash is followed by one blank: the first of the two ends the control word.
    expected.push_back({{"Note:", true, 32, kGrey},
                        {" Make sure to set the jumpers for each option group \xE2\x80\x94 the "
                         "configuration options for each port are handled identically; this "
                         "program only shows the setup once, but you need to perform this setup "
                         "for each group of options on your device.",
                         false, 24, kGrey}});
    expected.push_back({});
    expected.push_back({{"To see a list of KX-7140 cards installed, click \"Display KX-7140 Cards "
                         "Installed\" under the File menu.",
                         false, 24, kGrey}});
    expected.push_back({});
    ExpectParagraphs(doc, expected);
}

// Cutting the document anywhere gives a prefix of its full text: nothing is invented or lost
// before the cut.
TEST(RtfHelpDocument, EveryTruncationGivesAPrefixOfTheText) {
    const std::string full = HelpDocument(true, true);
    const std::string text = rtf::Parse(full).plainText();
    for (size_t n = 0; n <= full.size(); ++n) {
        const std::string part = rtf::Parse(std::string_view(full).substr(0, n)).plainText();
        ASSERT_EQ(text.compare(0, part.size(), part), 0) << "cut at " << n << ": " << part;
    }
}

TEST(RtfFormatting, GroupsRestoreAndPlainResets) {
    const rtf::Document doc =
        rtf::Parse(R"({\rtf1{\fonttbl{\f0 Arial;}{\f1\froman Times New Roman;}})"
                   R"(\f1\fs20\b\i\ul A{\b0 B}\ulnone C\plain D\i0\pard E{\f0\b1 F}\f5 G})");
    ASSERT_EQ(doc.paragraphs.size(), 1u);
    const auto& runs = doc.paragraphs[0].runs;
    ASSERT_EQ(runs.size(), 6u) << doc.plainText();
    struct Expect {
        const char* text;
        const char* font;
        int halfPoints;
        bool bold, italic, underline;
    } expected[] = {
        {"A", "Times New Roman", 20, true, true, true},
        {"B", "Times New Roman", 20, false, true, true},
        {"C", "Times New Roman", 20, true, true, false},
        {"DE", "", 24, false, false, false}, // \pard leaves the character format alone
        {"F", "Arial", 24, true, false, false},
        {"G", "", 24, false, false, false}, // \f5 names no font of the table
    };
    for (size_t i = 0; i < runs.size(); ++i) {
        SCOPED_TRACE(expected[i].text);
        EXPECT_EQ(runs[i].text, expected[i].text);
        EXPECT_EQ(runs[i].fontName, expected[i].font);
        EXPECT_EQ(runs[i].halfPoints, expected[i].halfPoints);
        EXPECT_EQ(runs[i].bold, expected[i].bold);
        EXPECT_EQ(runs[i].italic, expected[i].italic);
        EXPECT_EQ(runs[i].underline, expected[i].underline);
        EXPECT_FALSE(runs[i].hasColor);
    }
}

TEST(RtfFormatting, ColourTableWithAutoEntryAndBadIndexes) {
    const rtf::Document doc =
        rtf::Parse(R"({\rtf1{\colortbl;\red255\green0\blue0;\red1\green2\blue3;})"
                   R"(\cf1 a\cf0 b\cf9 c\cf-1 d\cf2 e\cf99999999999 f})");
    const std::vector<std::optional<uint32_t>> colors = {std::nullopt, 0x0000FF, 0x030201};
    EXPECT_EQ(doc.colors, colors);
    ASSERT_EQ(doc.paragraphs.size(), 1u);
    const auto& runs = doc.paragraphs[0].runs;
    ASSERT_EQ(runs.size(), 4u) << doc.plainText();
    EXPECT_EQ(runs[0].text, "a");
    EXPECT_TRUE(runs[0].hasColor);
    EXPECT_EQ(runs[0].color, 0x0000FFu);
    // The auto entry and indexes outside the table all mean the default colour.
    EXPECT_EQ(runs[1].text, "bcd");
    EXPECT_FALSE(runs[1].hasColor);
    EXPECT_EQ(runs[2].text, "e");
    EXPECT_EQ(runs[2].color, 0x030201u);
    EXPECT_EQ(runs[3].text, "f");
    EXPECT_FALSE(runs[3].hasColor);
}

TEST(RtfFormatting, FontTableForms) {
    const rtf::Document doc = rtf::Parse(
        R"({\rtf1\deff2{\fonttbl\f0\fnil Courier New;\f2 Symbol;)"
        R"({\f3{\*\panose 020b0604}\fcharset0 Tahoma{\*\falt Other};}{\f4 Unterminated}}x})");
    const std::vector<std::string> fonts = {"Courier New", "", "Symbol", "Tahoma", "Unterminated"};
    EXPECT_EQ(doc.fonts, fonts);
    ASSERT_EQ(doc.paragraphs.size(), 1u);
    ASSERT_EQ(doc.paragraphs[0].runs.size(), 1u);
    EXPECT_EQ(doc.paragraphs[0].runs[0].fontName, "Symbol"); // \deff2 without an \fN
}

TEST(RtfParagraphs, EmptyParagraphsKeptTrailingEmptyDropped) {
    struct Case {
        const char* rtf;
        std::vector<std::string> paragraphs;
    } cases[] = {
        {R"({\rtf1 a\par\par b\par})", {"a", "", "b"}},
        {R"({\rtf1 a\par b})", {"a", "b"}},
        {R"({\rtf1\par})", {""}},
        {R"({\rtf1 a\line b\tab c})", {"a\nb\tc"}},
        {"{\\rtf1 a\\\r\nb}", {"a", "b"}}, // backslash before a line break is a paragraph end
        {R"({\rtf1 })", {}},
    };
    for (const Case& c : cases) {
        const rtf::Document doc = rtf::Parse(c.rtf);
        std::vector<std::string> got;
        for (const auto& p : doc.paragraphs)
            got.push_back(p.text());
        EXPECT_EQ(got, c.paragraphs) << c.rtf;
    }
}

// Special characters, escapes and malformed input: each gives the text a reader would expect and
// none crashes.
TEST(RtfText, CharactersEscapesAndMalformedInput) {
    struct Case {
        const char* name;
        std::string rtf;
        std::string text;
    } cases[] = {
        {"em dash eats one blank", R"({\rtf1 a\emdash  x\endash y})",
         "a\xE2\x80\x94 x\xE2\x80\x93y"},
        {"quotes and bullet", R"({\rtf1\lquote a\rquote\ldblquote b\rdblquote\bullet})",
         "\xE2\x80\x98"
         "a\xE2\x80\x99\xE2\x80\x9C"
         "b\xE2\x80\x9D\xE2\x80\xA2"},
        {"escaped symbols", R"({\rtf1 a\\b\{c\}d\~e\-f\_g})",
         "a\\b{c}d\xC2\xA0"
         "ef\xE2\x80\x91g"},
        {"windows-1252 hex", R"({\rtf1 \'93q\'94 \'e9\'80\'81})",
         "\xE2\x80\x9Cq\xE2\x80\x9D \xC3\xA9\xE2\x82\xAC\xEF\xBF\xBD"},
        {"raw high byte read as 1252", "{\\rtf1 caf\xE9}", "caf\xC3\xA9"},
        {"CR and LF ignored", "{\\rtf1 ab\r\ncd\n}", "abcd"},
        {"unicode with fallback", R"({\rtf1 \u8364?\u-3?x})", "\xE2\x82\xAC\xEF\xBF\xBDx"},
        {"uc2 skips a hex pair", R"({\rtf1\uc2\u233\'65\'65 ok})", "\xC3\xA9 ok"},
        {"uc0 skips nothing", R"({\rtf1\uc0\u233 x})", "\xC3\xA9x"},
        {"group ends fallback", R"({\rtf1\uc3{\u233}xy})", "\xC3\xA9xy"},
        {"surrogate pair", R"({\rtf1\u-10179?\u-8704?})", "\xF0\x9F\x98\x80"},
        {"lone surrogate", R"({\rtf1\u-10179?x})", "\xEF\xBF\xBDx"},
        {"skipped destinations",
         R"({\rtf1{\*\unknown hidden}{\pict 0102}{\info{\title t}}{\stylesheet{s;}}shown})",
         "shown"},
        {"field result shown", R"({\rtf1{\field{\*\fldinst HYPERLINK x}{\fldrslt link}}})", "link"},
        {"unknown and overlong words",
         R"({\rtf1\foo123 a\verylongcontrolwordthatisdefinitelylongerthanthirtytwoletters b})",
         "ab"},
        {"bin skips raw bytes", R"({\rtf1 \bin5 {}}{x y})", " y"},
        {"bin beyond the end", R"({\rtf1 a\bin999999 bc})", "a"},
        {"huge numbers",
         R"({\rtf1\fs99999999999999999999 x\cf-99999999999999999 y\u99999999999?z})",
         "xy\xEF\xBF\xBDz"},
        {"empty input", "", ""},
        {"plain text without rtf", "hello world", "hello world"},
        {"only an open brace", "{", ""},
        {"truncated", R"({\rtf1 abc)", "abc"},
        {"backslash at end", "{\\rtf1 abc\\", "abc"},
        {"hex cut short", "{\\rtf1 a\\'", "a"},
        {"hex with one digit", R"({\rtf1 \'e9t\'4})", "\xC3\xA9t"},
        {"stray closing braces", R"(}}{\rtf1 {\b bold} plain}}} tail)", "bold plain tail"},
        {"unterminated font table", R"({\rtf1{\fonttbl{\f0 Aria)", ""},
        {"star outside a group", R"(\*\fonttbl text)", "text"},
        {"destination word mid-group", R"({\rtf1 a\info b})", "ab"},
        {"nul bytes", std::string("{\\rtf1 a\0b}", 11), "ab"},
        {"deep nesting", std::string(100000, '{') + "deep" + std::string(100000, '}') + "er",
         "deeper"},
        {"deep nesting never closed", std::string(50000, '{') + "x\\b y", "xy"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(rtf::Parse(c.rtf).plainText(), c.text) << c.name;
    }
}

TEST(RtfText, FormattingBeyondTheDepthLimitStaysInsideTheText) {
    const std::string deep = std::string(rtf::kMaxGroupDepth + 50, '{');
    const rtf::Document doc =
        rtf::Parse("{\\rtf1 a{\\b " + deep + "b" + std::string(deep.size(), '}') + "c} d}");
    EXPECT_EQ(doc.plainText(), "abc d");
    ASSERT_EQ(doc.paragraphs.size(), 1u);
    const auto& runs = doc.paragraphs[0].runs;
    ASSERT_EQ(runs.size(), 3u);
    EXPECT_FALSE(runs[0].bold);
    EXPECT_EQ(runs[1].text, "bc");
    EXPECT_TRUE(runs[1].bold);
    EXPECT_EQ(runs[2].text, " d");
    EXPECT_FALSE(runs[2].bold);
}

TEST(RtfEscape, ReadsBackAsTheSameText) {
    const std::string samples[] = {
        "Telvar",
        R"(a\b{c}d)",
        "caf\xC3\xA9 \xE2\x82\xAC \xE2\x80\x94 \xF0\x9F\x98\x80",
        "two\nlines\tand a tab",
        "\\par {\\b not bold}",
    };
    for (const std::string& s : samples) {
        const std::string escaped = rtf::Escape(s);
        for (char c : escaped)
            ASSERT_LT(static_cast<unsigned char>(c), 0x80) << escaped;
        const rtf::Document doc = rtf::Parse("{\\rtf1 " + escaped + "}");
        EXPECT_EQ(doc.plainText(), s) << escaped;
        ASSERT_EQ(doc.paragraphs.size(), 1u);
        EXPECT_EQ(doc.paragraphs[0].runs.size(), 1u);
    }
    // Malformed UTF-8 becomes the replacement character rather than bytes of another encoding.
    EXPECT_EQ(rtf::Parse("{\\rtf1 " +
                         rtf::Escape("a\xFF"
                                     "b\xC3") +
                         "}")
                  .plainText(),
              "a\xEF\xBF\xBD"
              "b\xEF\xBF\xBD");
}

} // namespace
