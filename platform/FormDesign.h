// A form's layout (see Layout.h) read into what it says, every property checked. Needs no
// forms: the checker reads the window's layout with it too; LayoutBinding.h builds a form
// from it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Graphics.h"

// Position and size as a layout gives them, at 96 DPI.
struct TDesignBounds {
    std::int32_t left = 0, top = 0, width = 0, height = 0;
    TRect64 Rect() const { return TRect64::Of(left, top, width, height); }
};

struct TControlDesign {
    std::string name;
    std::string className;  // TLabel, TEdit or TButton
    int line = 0;
    TDesignBounds bounds;
    std::optional<TColor> color;
    std::optional<std::string> text;  // a label's or a button's caption, an edit's text
    std::optional<int> tabOrder;
    std::string onClick;  // a method name, or empty
    int onClickLine = 0;

    // A window of its own, above everything the form paints.
    bool IsNative() const { return className != "TLabel"; }
};

struct TFormDesign {
    std::string name;
    std::string className;
    int line = 0;
    TDesignBounds bounds;  // the outer rectangle
    std::string caption;
    TColor color = clBtnFace;
    TFont font;
    std::vector<TControlDesign> controls;  // bottom first
};

// Throws Exception naming the line on a syntax error, an unknown class, property or value,
// a property given twice, or an object inside a control.
TFormDesign ReadFormDesign(std::string_view layoutText);

// The Exception a wrong layout throws, naming the line.
[[noreturn]] void LayoutError(int line, const std::string& what);
