#pragma once

// A small RTF reader for the documents our rich-text box shows: font and colour tables, character
// formatting (font, size, bold, italic, underline, colour), paragraphs and the common special
// characters. Everything else is skipped. The reader is lenient: any input, however broken, gives a
// best-effort document and never an exception or a crash.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace rtf {

struct Run {
    std::string text;     // UTF-8
    std::string fontName; // from the font table, "" if none
    int halfPoints = 24;  // \fsN (N is half-points); 24 = 12 pt
    bool bold = false, italic = false, underline = false;
    bool hasColor = false; // false: the default (automatic) text colour
    uint32_t color = 0;    // 0x00BBGGRR when hasColor

    // Equal formatting, text aside: adjacent runs for which this holds are merged.
    bool sameFormat(const Run& other) const;
};

// A \line inside a paragraph appears as "\n" in the run text, a \tab as "\t".
struct Paragraph {
    std::vector<Run> runs; // adjacent runs with equal formatting are merged
    std::string text() const;
};

struct Document {
    std::vector<std::string> fonts;              // font table, by index ("" for gaps)
    std::vector<std::optional<uint32_t>> colors; // colour table, by index; nullopt = "auto" entry
    std::vector<Paragraph> paragraphs;
    std::string plainText() const; // paragraphs joined with "\n"
};

// Never throws, never crashes; malformed input gives a best effort. Bytes above 0x7F, in the text
// or as \'hh, are read as Windows-1252.
Document Parse(std::string_view rtf);

// Text that can be placed into a document body and reads back as `utf8`: backslash and braces are
// escaped, non-ASCII characters become \uN with an ASCII fallback, and line breaks become \line.
std::string Escape(std::string_view utf8);

// Decoding limits that keep hostile input cheap.
inline constexpr int kMaxGroupDepth = 1000; // deeper groups share the state of the deepest one
inline constexpr int kMaxFontIndex = 4095;  // \fN beyond this in the font table is ignored

} // namespace rtf
