// What assistive technology reads of a form, whatever the platform: the client area with the
// form's controls as its children. Children are numbered from 1 in the form's stack order
// (Controls(), bottom first) and 0 is the client area itself, as Microsoft Active
// Accessibility numbers them. Painted controls are simple elements answered here; a native
// control is an object of its own window, only found, placed and named here.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/geometry/Graphics.h"

class TControl;
class TForm;

enum class TAccessibleRole { Client, ListItem, StaticText, PushButton, Text, List };

// States, as bits.
enum TAccessibleState : std::uint32_t {
    asSelectable = 1,
    asSelected = 2,
    asInvisible = 4,  // no size, or wholly covered by what lies above
    asOffscreen = 8,  // outside the client area
    asFocusable = 16,
    asReadOnly = 32,
};

enum class TNavigation { Next, Previous, FirstChild, LastChild };

class TAccessibleForm {
public:
    static constexpr std::size_t kSelf = 0;
    static constexpr std::size_t kNone = static_cast<std::size_t>(-1);

    explicit TAccessibleForm(TForm& form) : form_(form) {}

    std::size_t ChildCount() const;
    bool IsChild(std::size_t child) const { return child >= 1 && child <= ChildCount(); }
    // Self or a child.
    bool IsValid(std::size_t child) const { return child == kSelf || IsChild(child); }
    TControl& Control(std::size_t child) const;
    // The child showing that control, or kNone; costs what lies where the control is.
    std::size_t ChildOf(const TControl& control) const;
    bool HasWindow(std::size_t child) const;

    // The form's caption for the client area.
    std::string Name(std::size_t child) const;
    TAccessibleRole Role(std::size_t child) const;
    // What the control holds: an edit's text; a painted control's status, if any.
    std::string Value(std::size_t child) const;
    std::string Description(std::size_t child) const;
    // Where the child is painted, in client pixels at the DPI; the client area itself for self.
    TRect64 Location(std::size_t child, const TRect64& client, int dpi) const;
    // client: the client area in pixels at the DPI.
    std::uint32_t State(std::size_t child, const TRect64& client, int dpi) const;

    // What takes a point of the client area (pixels at the DPI): the native control there, else
    // the topmost painted control, as a click; kSelf on none of them, kNone outside the client.
    std::size_t HitTest(TPoint64 point, const TRect64& client, int dpi) const;
    // Children in their order; kNone where there is nothing that way.
    std::size_t Navigate(std::size_t from, TNavigation direction) const;
    // The selected child, or kNone.
    std::size_t Selection() const;

    // A button's press, an item's choice (TForm::ItemChoice); empty when the child has none,
    // as one whose action would do nothing.
    std::string DefaultAction(std::size_t child) const;
    // Does the default action; false when there is none.
    bool DoDefaultAction(std::size_t child) const;

private:
    TForm& form_;
};
