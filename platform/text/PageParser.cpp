#include "platform/text/PageParser.h"
#include "platform/text/Utf8.h"

#include <charconv>
#include <cmath>
#include <optional>
#include <utility>

namespace page {

PageError::PageError(int line, const std::string& msg)
    : std::runtime_error("line " + std::to_string(line) + ": " + msg), line(line) {}

namespace {

bool IsIdentStart(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
bool IsIdentChar(char c) {
    return IsIdentStart(c) || IsDigit(c);
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

using text::AppendUtf8;

enum class Tok { EndOfText, Identifier, Integer, Float, String, Binary, Symbol, Invalid };

struct Token {
    Tok kind = Tok::EndOfText;
    int line = 1;
    std::string text; // identifier, string contents, raw number, symbol, or the error of Invalid
    int64_t integer = 0;
    double number = 0;
    std::vector<uint8_t> bytes;
};

// Splits the text into tokens. Line breaks are plain white space; a malformed token comes back
// as Invalid with its message, and the parser reports it with whatever context it has.
class Lexer {
public:
    explicit Lexer(std::string_view text) : src_(text) {
        if (src_.substr(0, 3) == "\xEF\xBB\xBF") pos_ = 3; // a UTF-8 byte-order mark
    }

    const Token& peek() {
        if (!peeked_) peeked_ = lex();
        return *peeked_;
    }

    Token next() {
        peek();
        Token t = std::move(*peeked_);
        peeked_.reset();
        return t;
    }

private:
    Token lex() {
        skipSpace();
        Token t;
        t.line = line_;
        if (pos_ >= src_.size()) {
            t.line = lastLine_;
            return t;
        }
        lastLine_ = line_;
        const char c = src_[pos_];
        if (IsIdentStart(c)) return identifier(t);
        if (IsDigit(c) || c == '-' || c == '+' || c == '$') {
            // '+' between strings is the concatenation operator, not a sign.
            if (c != '+' || (pos_ + 1 < src_.size() && IsDigit(src_[pos_ + 1])))
                return numberToken(t);
        }
        if (c == '\'' || c == '#') return stringToken(t);
        if (c == '{') return binary(t);
        if (c == '=' || c == ':' || c == ',' || c == '[' || c == ']' || c == '(' || c == ')' ||
            c == '+') {
            ++pos_;
            t.kind = Tok::Symbol;
            t.text = std::string(1, c);
            return t;
        }
        ++pos_;
        return invalid(t, "unexpected character " + describeChar(c));
    }

    void skipSpace() {
        while (pos_ < src_.size()) {
            const char c = src_[pos_];
            if (c == '\n') {
                ++line_;
            } else if (c != ' ' && c != '\t' && c != '\r') {
                return;
            }
            ++pos_;
        }
    }

    static std::string describeChar(char c) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte > 0x20 && byte < 0x7F) return std::string("'") + c + "'";
        static const char kHex[] = "0123456789ABCDEF";
        return std::string("byte 0x") + kHex[byte >> 4] + kHex[byte & 15];
    }

    static Token invalid(Token& t, std::string message) {
        t.kind = Tok::Invalid;
        t.text = std::move(message);
        return std::move(t);
    }

    Token identifier(Token& t) {
        const size_t start = pos_;
        while (true) {
            while (pos_ < src_.size() && IsIdentChar(src_[pos_]))
                ++pos_;
            // A dot continues the name only when another name part follows ("Font.Name").
            if (pos_ + 1 < src_.size() && src_[pos_] == '.' && IsIdentStart(src_[pos_ + 1])) {
                ++pos_;
                continue;
            }
            break;
        }
        t.kind = Tok::Identifier;
        t.text = std::string(src_.substr(start, pos_ - start));
        return std::move(t);
    }

    Token numberToken(Token& t) {
        const size_t start = pos_;
        bool hex = false;
        while (pos_ < src_.size()) {
            const char c = src_[pos_];
            const bool sign = c == '-' || c == '+';
            if (pos_ == start && sign) {
            } else if (c == '$' && !hex &&
                       (pos_ == start ||
                        (pos_ == start + 1 && (src_[start] == '-' || src_[start] == '+')))) {
                hex = true;
            } else if (sign && !hex && (src_[pos_ - 1] == 'e' || src_[pos_ - 1] == 'E')) {
            } else if (!IsIdentChar(c) && c != '.') {
                break;
            }
            ++pos_;
        }
        const std::string raw(src_.substr(start, pos_ - start));
        t.text = raw;
        const std::string bad = "bad number '" + raw + "'";
        std::string_view body = raw;
        bool negative = false;
        if (!body.empty() && (body[0] == '-' || body[0] == '+')) {
            negative = body[0] == '-';
            body.remove_prefix(1);
        }
        if (hex) {
            body.remove_prefix(1); // the '$'
            uint64_t value = 0;
            if (body.empty() || body.size() > 16) return invalid(t, bad);
            for (char c : body) {
                if (HexValue(c) < 0) return invalid(t, bad);
                value = value * 16 + static_cast<uint64_t>(HexValue(c));
            }
            // Hex is a bit pattern: $FFFFFFFFFFFFFFFF is -1.
            t.kind = Tok::Integer;
            t.integer = static_cast<int64_t>(negative ? 0 - value : value);
            t.number = static_cast<double>(t.integer);
            return std::move(t);
        }
        if (body.empty() || !IsDigit(body[0])) return invalid(t, bad);
        const char* first = raw.data() + (negative ? 0 : raw.size() - body.size());
        const char* last = raw.data() + raw.size();
        if (body.find_first_of(".eE") == std::string_view::npos) {
            int64_t value = 0;
            const auto [end, ec] = std::from_chars(first, last, value);
            if (ec != std::errc() || end != last) return invalid(t, bad);
            t.kind = Tok::Integer;
            t.integer = value;
            t.number = static_cast<double>(value);
            return std::move(t);
        }
        double value = 0;
        const auto [end, ec] = std::from_chars(first, last, value);
        if (ec != std::errc() || end != last || !std::isfinite(value)) return invalid(t, bad);
        t.kind = Tok::Float;
        t.number = value;
        return std::move(t);
    }

    // Quoted pieces and #NNN character codes written without blanks between them form one
    // string: 'a'#13#10'b'. A quote inside a piece is written twice.
    Token stringToken(Token& t) {
        t.kind = Tok::String;
        while (pos_ < src_.size()) {
            const char c = src_[pos_];
            if (c == '\'') {
                ++pos_;
                while (true) {
                    if (pos_ >= src_.size() || src_[pos_] == '\n' || src_[pos_] == '\r')
                        return invalid(t, "unterminated string");
                    if (src_[pos_] == '\'') {
                        if (pos_ + 1 < src_.size() && src_[pos_ + 1] == '\'') {
                            t.text += '\'';
                            pos_ += 2;
                            continue;
                        }
                        ++pos_;
                        break;
                    }
                    t.text += src_[pos_++];
                }
            } else if (c == '#') {
                const size_t start = pos_++;
                const bool hex = pos_ < src_.size() && src_[pos_] == '$';
                if (hex) ++pos_;
                uint32_t code = 0;
                size_t digits = 0;
                while (pos_ < src_.size() &&
                       (hex ? HexValue(src_[pos_]) >= 0 : IsDigit(src_[pos_]))) {
                    const uint32_t d =
                        static_cast<uint32_t>(hex ? HexValue(src_[pos_]) : src_[pos_] - '0');
                    if (code <= 0x10FFFF) code = code * (hex ? 16 : 10) + d; // saturates above
                    ++digits;
                    ++pos_;
                }
                const std::string raw(src_.substr(start, pos_ - start));
                if (digits == 0) return invalid(t, "expected a character code after '#'");
                if (code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
                    return invalid(t, "bad character code '" + raw + "'");
                AppendUtf8(t.text, code);
            } else {
                break;
            }
        }
        return std::move(t);
    }

    Token binary(Token& t) {
        const int openLine = line_;
        ++pos_; // '{'
        int high = -1;
        int contentLine = openLine; // line of the last character inside the braces
        while (true) {
            skipSpace();
            if (pos_ >= src_.size()) {
                t.line = lastLine_ = contentLine;
                return invalid(t, "binary data opened at line " + std::to_string(openLine) +
                                      " is not closed with '}'");
            }
            contentLine = line_;
            const char c = src_[pos_++];
            if (c == '}') break;
            const int v = HexValue(c);
            if (v < 0) {
                t.line = line_;
                return invalid(t, "unexpected character " + describeChar(c) + " in binary data");
            }
            if (high < 0) {
                high = v;
            } else {
                t.bytes.push_back(static_cast<uint8_t>(high * 16 + v));
                high = -1;
            }
        }
        lastLine_ = line_;
        if (high >= 0) return invalid(t, "odd number of hex digits in binary data");
        t.kind = Tok::Binary;
        return std::move(t);
    }

    std::string_view src_;
    size_t pos_ = 0;
    int line_ = 1;
    int lastLine_ = 1; // line of the last token, where the end of the text is reported
    std::optional<Token> peeked_;
};

std::string Describe(const Token& t) {
    switch (t.kind) {
    case Tok::EndOfText:
        return "end of text";
    case Tok::String: {
        const std::string shown = t.text.size() > 20 ? t.text.substr(0, 20) + "..." : t.text;
        return "string '" + shown + "'";
    }
    case Tok::Binary:
        return "binary data";
    default:
        return "'" + t.text + "'";
    }
}

class Parser {
public:
    explicit Parser(std::string_view text) : lex_(text) {}

    ObjectNode parse() {
        Token t = lex_.next();
        if (!isKeyword(t, "object") && !isKeyword(t, "inherited"))
            fail(t, "expected 'object' at the start of the page definition");
        ObjectNode root = parseObject(t, 1);
        t = lex_.next();
        if (t.kind != Tok::EndOfText) {
            if (t.kind == Tok::Invalid) fail(t, "");
            throw PageError(t.line, "unexpected " + Describe(t) + " after the final 'end'");
        }
        return root;
    }

private:
    static bool isKeyword(const Token& t, std::string_view word) {
        return t.kind == Tok::Identifier && EqualsIgnoreCase(t.text, word);
    }
    static bool isSymbol(const Token& t, char c) {
        return t.kind == Tok::Symbol && t.text.size() == 1 && t.text[0] == c;
    }
    static bool isPlainName(const Token& t) {
        return t.kind == Tok::Identifier && t.text.find('.') == std::string::npos;
    }

    // Throws for `t`: its own message if it is malformed (with `context` added), otherwise
    // "<expected>, found <t>".
    // A well-formed but misplaced token is reported at `line` when given (the line the missing
    // piece belongs to), else at its own.
    [[noreturn]] static void fail(const Token& t, const std::string& expected,
                                  const std::string& context = "", int line = 0) {
        if (t.kind == Tok::Invalid) throw PageError(t.line, t.text + context);
        throw PageError(line > 0 ? line : t.line, expected + context + ", found " + Describe(t));
    }

    static bool isReserved(const Token& t) {
        return isKeyword(t, "end") || isKeyword(t, "object") || isKeyword(t, "inherited");
    }

    ObjectNode parseObject(const Token& header, int depth) {
        if (depth > kMaxNesting) throw PageError(header.line, "objects are nested too deeply");
        ObjectNode node;
        node.line = header.line;
        node.inherited = isKeyword(header, "inherited");
        const std::string keyword = node.inherited ? "inherited" : "object";
        // The header stands on one line, so a missing class name is not taken from the next.
        Token t = lex_.next();
        if (!isPlainName(t) || t.line != header.line)
            fail(t, "expected an object name after '" + keyword + "'", "", header.line);
        if (isSymbol(lex_.peek(), ':')) {
            lex_.next();
            node.name = t.text;
            t = lex_.next();
            if (t.kind != Tok::Identifier || t.line != header.line)
                fail(t, "expected a class name after '" + node.name + ":'", "", header.line);
            node.className = t.text;
        } else {
            node.className = t.text; // "object TClass": an unnamed object
        }
        const std::string what =
            "object '" + (node.name.empty() ? node.className : node.name) + "'";

        while (true) {
            t = lex_.next();
            if (t.kind == Tok::EndOfText) {
                throw PageError(t.line, "expected 'end' for " + what + " (opened at line " +
                                            std::to_string(node.line) + ")");
            }
            if (isKeyword(t, "end")) return node;
            if (isKeyword(t, "object") || isKeyword(t, "inherited")) {
                node.children.push_back(parseObject(t, depth + 1));
                continue;
            }
            if (t.kind != Tok::Identifier)
                fail(t, "expected a property name, 'object' or 'end' in " + what);
            Property prop;
            prop.name = t.text;
            prop.line = t.line;
            const Token eq = lex_.next();
            if (!isSymbol(eq, '=')) {
                if (eq.kind == Tok::Invalid) fail(eq, "");
                throw PageError(prop.line, "expected '=' after property name '" + prop.name +
                                               "', found " + Describe(eq));
            }
            prop.value = parseValue(prop.name, prop.line, depth);
            node.properties.push_back(std::move(prop));
        }
    }

    // `propertyLine` is set for the property's own value (not for list items): a value missing
    // there is reported on the property's line even when the next token stands further down.
    Value parseValue(const std::string& property, int propertyLine, int depth) {
        if (depth > kMaxNesting) throw PageError(lex_.peek().line, "values are nested too deeply");
        const std::string context = " in property '" + property + "'";
        Token t = lex_.next();
        if (isReserved(t)) fail(t, "expected a value", context, propertyLine);
        Value v;
        v.line = t.line;
        switch (t.kind) {
        case Tok::Integer:
            v.kind = Value::Kind::Integer;
            v.integer = t.integer;
            v.number = t.number;
            return v;
        case Tok::Float:
            v.kind = Value::Kind::Float;
            v.number = t.number;
            return v;
        case Tok::Identifier:
            v.kind = Value::Kind::Identifier;
            v.text = std::move(t.text);
            return v;
        case Tok::String:
            v.kind = Value::Kind::String;
            v.text = std::move(t.text);
            while (isSymbol(lex_.peek(), '+')) { // 'first line ' + 'second line'
                lex_.next();
                Token more = lex_.next();
                if (more.kind != Tok::String) fail(more, "expected a string after '+'", context);
                v.text += more.text;
            }
            return v;
        case Tok::Binary:
            v.kind = Value::Kind::Binary;
            v.bytes = std::move(t.bytes);
            return v;
        default:
            break;
        }
        if (isSymbol(t, '[')) {
            v.kind = Value::Kind::Set;
            t = lex_.next();
            if (isSymbol(t, ']')) return v;
            while (true) {
                if (!isPlainName(t)) fail(t, "expected an identifier in the set", context);
                v.set.push_back(std::move(t.text));
                t = lex_.next();
                if (isSymbol(t, ']')) return v;
                if (!isSymbol(t, ',')) fail(t, "expected ',' or ']' in the set", context);
                t = lex_.next();
            }
        }
        if (isSymbol(t, '(')) {
            v.kind = Value::Kind::List;
            while (true) {
                const Token& p = lex_.peek();
                if (isSymbol(p, ')')) {
                    lex_.next();
                    return v;
                }
                if (p.kind == Tok::EndOfText) {
                    throw PageError(p.line, "list opened at line " + std::to_string(v.line) +
                                                " is not closed with ')'" + context);
                }
                if ((p.kind == Tok::Symbol && !isSymbol(p, '[') && !isSymbol(p, '(')) ||
                    isReserved(p))
                    fail(p, "expected a value or ')' in the list", context);
                v.items.push_back(parseValue(property, 0, depth + 1));
            }
        }
        fail(t, "expected a value", context, propertyLine);
    }

    Lexer lex_;
};

} // namespace

ObjectNode ParsePage(std::string_view text) {
    return Parser(text).parse();
}

} // namespace page
