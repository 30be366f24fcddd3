#include "platform/text/Rtf.h"
#include "platform/text/Utf8.h"

#include <algorithm>
#include <array>
#include <climits>

namespace rtf {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

using text::AppendUtf8;

// Windows-1252: 0x80-0x9F differ from Latin-1; the five unassigned bytes give U+FFFD.
char32_t FromCp1252(unsigned char byte) {
    static constexpr std::array<char16_t, 32> kHigh = {
        0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD, 0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178};
    if (byte >= 0x80 && byte <= 0x9F) return kHigh[byte - 0x80];
    return byte;
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool IsLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Destinations whose content is never shown. A group starting with \* is skipped as well.
bool IsSkippedDestination(std::string_view word) {
    static constexpr std::string_view kSkipped =
        " annotation atnauthor atnid author bkmkend bkmkstart buptim comment colorschememapping"
        " creatim datastore doccomm falt fldinst filetbl footer footerf footerl footerr footnote"
        " generator header headerf headerl headerr info keywords latentstyles listoverridetable"
        " listtable nonshppict object operator panose pict printim private revtbl revtim rsidtbl"
        " shp stylesheet subject tc themedata title txe userprops xe xmlnstbl ";
    return kSkipped.find(" " + std::string(word) + " ") != std::string_view::npos;
}

enum class Dest { Text, FontTable, ColorTable, Skip };

struct State {
    Dest dest = Dest::Text;
    int font = -1; // -1: the document's default font (\deffN)
    int halfPoints = 24;
    bool bold = false, italic = false, underline = false;
    int color = -1; // colour table index; -1: automatic
    int uc = 1;     // fallback characters that follow \uN

    void resetCharacterFormat() {
        font = -1;
        halfPoints = 24;
        bold = italic = underline = false;
        color = -1;
    }
};

class Reader {
public:
    explicit Reader(std::string_view src) : src_(src) { stack_.emplace_back(); }

    Document read() {
        while (pos_ < src_.size()) {
            const char c = src_[pos_++];
            switch (c) {
            case '{':
                openGroup();
                break;
            case '}':
                closeGroup();
                break;
            case '\\':
                controlSequence();
                break;
            case '\r':
            case '\n':
                break; // line breaks in the source carry no meaning
            default:
                fresh_ = false;
                if (!dropFallback()) emitByte(static_cast<unsigned char>(c));
                break;
            }
        }
        flushSurrogate();
        if (!para_.runs.empty()) doc_.paragraphs.push_back(std::move(para_));
        return std::move(doc_);
    }

private:
    State& state() { return stack_.back(); }

    void openGroup() {
        pendingSkip_ = 0;
        if (static_cast<int>(stack_.size()) > kMaxGroupDepth) {
            ++overflow_;
        } else {
            stack_.push_back(stack_.back());
        }
        fresh_ = true;
    }

    void closeGroup() {
        pendingSkip_ = 0;
        fresh_ = false;
        if (overflow_ > 0) {
            --overflow_;
            return;
        }
        if (stack_.size() <= 1) return; // a stray '}' outside every group
        const Dest closing = stack_.back().dest;
        stack_.pop_back();
        // An entry without its ';' still counts when its group or the table ends.
        if (closing == Dest::FontTable) commitFont(false);
        if (closing == Dest::ColorTable && state().dest != Dest::ColorTable) commitColor(false);
    }

    // Drops one fallback character after \uN; true if the character was dropped.
    bool dropFallback() {
        if (pendingSkip_ <= 0) return false;
        --pendingSkip_;
        return true;
    }

    void controlSequence() {
        if (pos_ >= src_.size()) return; // a backslash at the very end
        const char c = src_[pos_];
        if (IsLetter(c)) {
            controlWord();
            return;
        }
        ++pos_;
        const bool wasFresh = fresh_;
        fresh_ = false;
        if (c == '\'') {
            int value = 0, digits = 0;
            while (digits < 2 && pos_ < src_.size() && HexValue(src_[pos_]) >= 0) {
                value = value * 16 + HexValue(src_[pos_++]);
                ++digits;
            }
            if (dropFallback() || digits == 0) return;
            emitCodePoint(FromCp1252(static_cast<unsigned char>(value)));
            return;
        }
        if (c == '\r' || c == '\n') { // "\<newline>" is an old spelling of \par
            if (!dropFallback()) endParagraph();
            return;
        }
        if (dropFallback()) return;
        switch (c) {
        case '\\':
        case '{':
        case '}':
            emitCodePoint(static_cast<unsigned char>(c));
            break;
        case '~':
            emitCodePoint(0x00A0);
            break;
        case '_':
            emitCodePoint(0x2011);
            break;
        case '*':
            // Only a group that opens with \* is an optional destination we do not know.
            if (wasFresh && stack_.size() > 1 && overflow_ == 0) state().dest = Dest::Skip;
            break;
        default:
            break; // \- (optional hyphen), \| , \: and other symbols show nothing
        }
    }

    void controlWord() {
        const size_t start = pos_;
        while (pos_ < src_.size() && IsLetter(src_[pos_]))
            ++pos_;
        // Real control words are at most 32 letters; a longer one matches nothing.
        const std::string_view word = src_.substr(start, std::min<size_t>(pos_ - start, 33));

        bool hasParam = false;
        bool negative = false;
        if (pos_ + 1 < src_.size() && src_[pos_] == '-' && IsDigit(src_[pos_ + 1])) {
            negative = true;
            ++pos_;
        }
        long long value = 0;
        while (pos_ < src_.size() && IsDigit(src_[pos_])) {
            hasParam = true;
            if (value <= INT_MAX) value = value * 10 + (src_[pos_] - '0'); // saturates below
            ++pos_;
        }
        value = std::min<long long>(value, INT_MAX);
        const int param = static_cast<int>(negative ? -value : value);
        if (pos_ < src_.size() && src_[pos_] == ' ') ++pos_; // the delimiting blank

        const bool wasFresh = fresh_;
        fresh_ = false;
        if (word == "bin") { // raw bytes that may hold anything, braces included
            const size_t count = hasParam && param > 0 ? static_cast<size_t>(param) : 0;
            pos_ += std::min(count, src_.size() - pos_);
            return;
        }
        if (dropFallback()) return;
        if (state().dest == Dest::Skip) return;
        // Destinations open their group; elsewhere the same words would swallow the rest of the
        // enclosing group, so they are ignored there.
        if (wasFresh && overflow_ == 0 && stack_.size() > 1) {
            if (word == "fonttbl") {
                state().dest = Dest::FontTable;
                fontIndex_ = -1;
                fontName_.clear();
                return;
            }
            if (word == "colortbl") {
                state().dest = Dest::ColorTable;
                resetColor();
                return;
            }
            if (IsSkippedDestination(word)) {
                state().dest = Dest::Skip;
                return;
            }
        }
        if (word == "u") {
            if (!hasParam) return; // not a character without its number
            long long cp = negative ? -value : value;
            if (cp < 0 && cp >= -32768) cp += 65536; // \uN is a signed 16-bit number
            emitCodePoint(cp >= 0 && cp <= 0x10FFFF ? static_cast<char32_t>(cp) : kReplacement);
            pendingSkip_ = state().uc;
            return;
        }
        if (word == "uc") {
            state().uc = hasParam ? std::clamp(param, 0, 16) : 1;
            return;
        }
        switch (state().dest) {
        case Dest::FontTable:
            if (word == "f" && hasParam) {
                commitFont(false);
                fontIndex_ = param;
            }
            return; // \fswiss, \fprq, \fcharset and the like say nothing we show
        case Dest::ColorTable:
            if (word == "red" || word == "green" || word == "blue") {
                const int component = hasParam ? std::clamp(param, 0, 255) : 0;
                (word == "red" ? red_ : word == "green" ? green_ : blue_) = component;
                colorSeen_ = true;
            }
            return;
        case Dest::Skip:
            return;
        case Dest::Text:
            break;
        }
        textWord(word, hasParam, param);
    }

    void textWord(std::string_view word, bool hasParam, int param) {
        State& s = state();
        const bool on = !hasParam || param != 0;
        if (word == "par") {
            endParagraph();
        } else if (word == "f") {
            s.font = hasParam && param >= 0 ? param : -1;
        } else if (word == "fs") {
            s.halfPoints = hasParam && param > 0 ? std::min(param, 3276) : 24;
        } else if (word == "b") {
            s.bold = on;
        } else if (word == "i") {
            s.italic = on;
        } else if (word == "ul" || word == "uld" || word == "uldb" || word == "uldash" ||
                   word == "ulth" || word == "ulw" || word == "ulwave") {
            s.underline = on;
        } else if (word == "ulnone") {
            s.underline = false;
        } else if (word == "cf") {
            s.color = hasParam ? param : 0;
        } else if (word == "plain") {
            s.resetCharacterFormat();
        } else if (word == "deff") {
            defaultFont_ = hasParam ? param : -1;
        } else if (word == "line") {
            emitCodePoint('\n');
        } else if (word == "tab") {
            emitCodePoint('\t');
        } else if (word == "emdash") {
            emitCodePoint(0x2014);
        } else if (word == "endash") {
            emitCodePoint(0x2013);
        } else if (word == "emspace") {
            emitCodePoint(0x2003);
        } else if (word == "enspace") {
            emitCodePoint(0x2002);
        } else if (word == "qmspace") {
            emitCodePoint(0x2005);
        } else if (word == "bullet") {
            emitCodePoint(0x2022);
        } else if (word == "lquote") {
            emitCodePoint(0x2018);
        } else if (word == "rquote") {
            emitCodePoint(0x2019);
        } else if (word == "ldblquote") {
            emitCodePoint(0x201C);
        } else if (word == "rdblquote") {
            emitCodePoint(0x201D);
        }
        // \pard resets paragraph properties, of which we keep none; other words are ignored.
    }

    void emitByte(unsigned char byte) {
        if (byte == '\t') {
            emitCodePoint('\t');
        } else if (byte >= 0x20) {
            emitCodePoint(FromCp1252(byte));
        }
    }

    // Pairs UTF-16 surrogates from consecutive \uN; a lone half becomes U+FFFD.
    void emitCodePoint(char32_t cp) {
        if (cp >= 0xD800 && cp <= 0xDBFF) {
            flushSurrogate();
            highSurrogate_ = cp;
            return;
        }
        if (cp >= 0xDC00 && cp <= 0xDFFF) {
            cp = highSurrogate_ ? 0x10000 + ((highSurrogate_ - 0xD800) << 10) + (cp - 0xDC00)
                                : kReplacement;
            highSurrogate_ = 0;
        } else {
            flushSurrogate();
        }
        emitChecked(cp);
    }

    void flushSurrogate() {
        if (highSurrogate_ == 0) return;
        highSurrogate_ = 0;
        emitChecked(kReplacement);
    }

    void emitChecked(char32_t cp) {
        if (cp == 0 || (cp < 0x20 && cp != '\t' && cp != '\n')) return;
        switch (state().dest) {
        case Dest::Text:
            appendText(cp);
            break;
        case Dest::FontTable:
            if (cp == ';') {
                commitFont(true);
            } else {
                AppendUtf8(fontName_, cp);
            }
            break;
        case Dest::ColorTable:
            if (cp == ';') commitColor(true);
            break;
        case Dest::Skip:
            break;
        }
    }

    void appendText(char32_t cp) {
        const State& s = state();
        Run format;
        const int font = s.font >= 0 ? s.font : defaultFont_;
        if (font >= 0 && static_cast<size_t>(font) < doc_.fonts.size())
            format.fontName = doc_.fonts[static_cast<size_t>(font)];
        format.halfPoints = s.halfPoints;
        format.bold = s.bold;
        format.italic = s.italic;
        format.underline = s.underline;
        if (s.color >= 0 && static_cast<size_t>(s.color) < doc_.colors.size() &&
            doc_.colors[static_cast<size_t>(s.color)]) {
            format.hasColor = true;
            format.color = *doc_.colors[static_cast<size_t>(s.color)];
        }
        if (para_.runs.empty() || !para_.runs.back().sameFormat(format))
            para_.runs.push_back(std::move(format));
        AppendUtf8(para_.runs.back().text, cp);
    }

    void endParagraph() {
        flushSurrogate();
        doc_.paragraphs.push_back(std::move(para_));
        para_ = Paragraph{};
    }

    // A font entry ends at ';' (always kept) or when its group closes or the next \fN starts
    // (kept only if it has a name).
    void commitFont(bool terminated) {
        const auto first = fontName_.find_first_not_of(' ');
        const std::string name =
            first == std::string::npos
                ? std::string()
                : fontName_.substr(first, fontName_.find_last_not_of(' ') - first + 1);
        if (terminated || !name.empty()) {
            size_t index = fontIndex_ >= 0 ? static_cast<size_t>(fontIndex_) : doc_.fonts.size();
            if (index <= static_cast<size_t>(kMaxFontIndex)) {
                if (doc_.fonts.size() <= index) doc_.fonts.resize(index + 1);
                doc_.fonts[index] = name;
            }
        }
        fontIndex_ = -1;
        fontName_.clear();
    }

    void commitColor(bool terminated) {
        if (terminated || colorSeen_) {
            if (colorSeen_) {
                doc_.colors.emplace_back(static_cast<uint32_t>(red_) |
                                         static_cast<uint32_t>(green_) << 8 |
                                         static_cast<uint32_t>(blue_) << 16);
            } else {
                doc_.colors.emplace_back(std::nullopt);
            }
        }
        resetColor();
    }

    void resetColor() {
        red_ = green_ = blue_ = 0;
        colorSeen_ = false;
    }

    std::string_view src_;
    size_t pos_ = 0;
    std::vector<State> stack_; // [0] is outside every group
    int overflow_ = 0;         // groups opened beyond kMaxGroupDepth
    bool fresh_ = false;       // nothing seen yet since the last '{'
    int pendingSkip_ = 0;
    char32_t highSurrogate_ = 0;
    int defaultFont_ = -1;
    int fontIndex_ = -1;
    std::string fontName_;
    int red_ = 0, green_ = 0, blue_ = 0;
    bool colorSeen_ = false;
    Document doc_;
    Paragraph para_;
};

// Decodes one UTF-8 sequence at `pos`; malformed bytes give U+FFFD and advance by one.
char32_t NextUtf8(std::string_view s, size_t& pos) {
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(s[i]); };
    const unsigned char lead = byte(pos);
    if (lead < 0x80) {
        ++pos;
        return lead;
    }
    int extra = 0;
    char32_t cp = 0, min = 0;
    if ((lead & 0xE0) == 0xC0) {
        extra = 1, cp = lead & 0x1F, min = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        extra = 2, cp = lead & 0x0F, min = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        extra = 3, cp = lead & 0x07, min = 0x10000;
    } else {
        ++pos;
        return kReplacement;
    }
    if (s.size() - pos <= static_cast<size_t>(extra)) { // truncated sequence
        ++pos;
        return kReplacement;
    }
    for (int k = 1; k <= extra; ++k) {
        const unsigned char b = byte(pos + static_cast<size_t>(k));
        if ((b & 0xC0) != 0x80) {
            ++pos;
            return kReplacement;
        }
        cp = (cp << 6) | (b & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        ++pos;
        return kReplacement;
    }
    pos += static_cast<size_t>(extra) + 1;
    return cp;
}

void AppendUnicodeEscape(std::string& out, char32_t unit) {
    const int value = unit > 0x7FFF ? static_cast<int>(unit) - 0x10000 : static_cast<int>(unit);
    out += "\\u" + std::to_string(value) + "?";
}

} // namespace

bool Run::sameFormat(const Run& other) const {
    return fontName == other.fontName && halfPoints == other.halfPoints && bold == other.bold &&
           italic == other.italic && underline == other.underline && hasColor == other.hasColor &&
           (!hasColor || color == other.color);
}

std::string Paragraph::text() const {
    std::string out;
    for (const Run& run : runs)
        out += run.text;
    return out;
}

std::string Document::plainText() const {
    std::string out;
    for (size_t i = 0; i < paragraphs.size(); ++i) {
        if (i > 0) out += '\n';
        out += paragraphs[i].text();
    }
    return out;
}

Document Parse(std::string_view rtf) {
    return Reader(rtf).read();
}

std::string Escape(std::string_view utf8) {
    std::string out;
    size_t pos = 0;
    while (pos < utf8.size()) {
        const char32_t cp = NextUtf8(utf8, pos);
        if (cp == '\\' || cp == '{' || cp == '}') {
            out += '\\';
            out += static_cast<char>(cp);
        } else if (cp == '\n') {
            out += "\\line ";
        } else if (cp == '\t') {
            out += "\\tab ";
        } else if (cp < 0x20) {
            // other control characters (CR included) have no place in the text
        } else if (cp < 0x80) {
            out += static_cast<char>(cp);
        } else if (cp < 0x10000) {
            AppendUnicodeEscape(out, cp);
        } else {
            AppendUnicodeEscape(out, 0xD800 + ((cp - 0x10000) >> 10));
            AppendUnicodeEscape(out, 0xDC00 + ((cp - 0x10000) & 0x3FF));
        }
    }
    return out;
}

} // namespace rtf
