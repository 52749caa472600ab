// A form built from its layout (see Layout.h): the layout read into what it says, every
// property checked, then its objects made and bound to the form's published fields and
// methods by name.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Forms.h"

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

    // The client area at 96 DPI of a sizable window with a caption of these outer bounds, as
    // Windows 10 and 11 frame it.
    TRect64 ClientRect() const;
};

// Throws Exception naming the line on a syntax error, an unknown class, property or value,
// a property given twice, or an object inside a control.
TFormDesign ReadFormDesign(std::string_view layoutText);

// What a form class publishes to its layout: fields bound to the layout's objects by name
// (with the class they must have), and methods bound to the layout's events by name.
struct TPublishedField {
    std::string name;
    // Stores the component in the field; false when it has the wrong class.
    std::function<bool(TComponent*)> bind;
};

struct TPublishedMethod {
    std::string name;
    TNotifyEvent handler;
};

struct TPublished {
    std::string className;  // the class the layout's root object must name
    std::vector<TPublishedField> fields;
    std::vector<TPublishedMethod> methods;
};

// A field entry that accepts only components of the field's own class.
template <class T>
TPublishedField PublishedField(std::string name, T*& field)
{
    return {std::move(name), [&field](TComponent* c) {
                auto* typed = dynamic_cast<T*>(c);
                if (typed)
                    field = typed;
                return typed != nullptr;
            }};
}

// Builds the form's window and controls from a layout and binds them to the published fields
// and methods. Throws Exception when the layout is wrong (see ReadFormDesign), or names a
// field, class or handler that the form lacks, or leaves a field unbound.
void LoadLayout(TForm& form, std::string_view layoutText, const TPublished& published);
