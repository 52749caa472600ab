// The text form of a window layout:
//
//   object Form1: TForm1
//     Left = 192
//     Caption = 'Form1'
//     Font.Name = 'MS Sans Serif'
//     object Button1: TButton
//       OnClick = Button1Click
//     end
//   end
//
// Values are integers, quoted UTF-8 strings ('' stands for a quote) or identifiers.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct TLayoutValue {
    enum Kind { Integer, String, Identifier };
    Kind kind = Integer;
    std::int32_t integer = 0;
    std::string text;  // the string or the identifier
};

struct TLayoutProperty {
    std::string name;
    TLayoutValue value;
    int line = 0;
};

struct TLayoutObject {
    std::string name;
    std::string className;
    int line = 0;
    std::vector<TLayoutProperty> properties;
    std::vector<TLayoutObject> children;
};

// Throws Exception naming the line on any syntax error.
TLayoutObject ParseLayout(std::string_view text);
