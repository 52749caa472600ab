// A form's layout (see Layout.h) read into what it says, every property checked. Needs no
// forms: the checker reads the window's layout with it too; LayoutBinding.h builds a form
// from it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/geometry/Graphics.h"

// The control classes a layout may name, one row each: the class, whether it is a window
// of its own (above everything the form paints), and the property that holds its text. The
// reader and the binding both expand this list, so a new class is one row here.
#define PSB_CONTROL_CLASSES(ROW) \
    ROW(TLabel, false, Caption)  \
    ROW(TEdit, true, Text)       \
    ROW(TButton, true, Caption)

struct TControlClass {
    std::string_view name;
    bool native;
    std::string_view textProperty;
};

// The row of a class name, or null for a class no layout may name.
const TControlClass* FindControlClass(std::string_view className);

// Position and size as a layout gives them, at 96 DPI.
struct TDesignBounds {
    std::int32_t left = 0, top = 0, width = 0, height = 0;
    TRect64 Rect() const { return TRect64::Of(left, top, width, height); }
};

struct TControlDesign {
    std::string name;
    std::string className;  // one of PSB_CONTROL_CLASSES
    int line = 0;
    TDesignBounds bounds;
    std::optional<TColor> color;
    std::optional<std::string> text;  // a label's or a button's caption, an edit's text
    std::optional<int> tabOrder;
    std::string onClick;  // a method name, or empty
    int onClickLine = 0;

    // A window of its own, above everything the form paints.
    bool IsNative() const;
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
