#pragma once

// Parser of page definitions: the text form of a component tree, written as
//
//   object MainForm: TMainForm
//     Caption = 'Setup'
//     Font.Height = -11
//     Anchors = [akLeft, akTop]
//     Items.Strings = (
//       'Pull Up'
//       'Pull Down')
//     object File1: TMenuItem
//       Caption = '&File'
//     end
//   end
//
// It yields the tree as written; what the properties mean is up to the loader.

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace page {

struct Value {
    enum class Kind { Integer, Float, String, Identifier, Set, List, Binary };
    Kind kind = Kind::Integer;
    int64_t integer = 0;
    double number = 0;
    std::string text;             // String (UTF-8) or Identifier (possibly dotted: "Form1.Menu")
    std::vector<std::string> set; // Set: the identifiers in [ ]
    std::vector<Value> items;     // List: the values in ( )
    std::vector<uint8_t> bytes;   // Binary: { hex }
    int line = 0;                 // where the value starts, from 1
};

struct Property {
    std::string name; // may be dotted: "Font.Name"
    Value value;
    int line = 0;
};

struct ObjectNode {
    std::string name, className; // name is "" for "object TClass"
    bool inherited = false;      // written as "inherited" rather than "object"
    int line = 0;
    std::vector<Property> properties; // in the order written
    std::vector<ObjectNode> children; // in the order written
};

// what() reads "line N: <msg>".
struct PageError : std::runtime_error {
    int line;
    PageError(int line, const std::string& msg);
};

// Nesting of objects and lists deeper than this is refused with a PageError.
inline constexpr int kMaxNesting = 200;

// Throws PageError naming the line and what was expected there.
ObjectNode ParsePage(std::string_view text);

} // namespace page
