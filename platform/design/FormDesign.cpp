#include "platform/design/FormDesign.h"

#include <map>
#include <set>

#include "platform/design/Layout.h"
#include "platform/text/SysUtils.h"

void LayoutError(int line, const std::string& what)
{
    throw Exception("Layout error at line " + std::to_string(line) + ": " + what);
}

namespace {

const TControlClass kControlClasses[] = {
#define PSB_DESIGN_ROW(cls, native, text) {#cls, native, #text},
    PSB_CONTROL_CLASSES(PSB_DESIGN_ROW)
#undef PSB_DESIGN_ROW
};

const std::map<std::string, TColor>& ColorNames()
{
    static const std::map<std::string, TColor> names = {
        {"clBlack", clBlack},   {"clWhite", clWhite},     {"clRed", clRed},
        {"clYellow", clYellow}, {"clBtnFace", clBtnFace}, {"clWindowText", clWindowText},
    };
    return names;
}

const std::map<std::string, int>& CharsetNames()
{
    static const std::map<std::string, int> names = {
        {"ANSI_CHARSET", 0}, {"DEFAULT_CHARSET", 1}, {"CHINESEBIG5_CHARSET", 136}};
    return names;
}

std::int32_t IntegerOf(const TLayoutProperty& p)
{
    if (p.value.kind != TLayoutValue::Integer)
        LayoutError(p.line, p.name + " needs a number");
    return p.value.integer;
}

const std::string& StringOf(const TLayoutProperty& p)
{
    if (p.value.kind != TLayoutValue::String)
        LayoutError(p.line, p.name + " needs a quoted text");
    return p.value.text;
}

template <class Names>
auto NamedValue(const TLayoutProperty& p, const Names& names)
{
    if (p.value.kind == TLayoutValue::Integer)
        return static_cast<typename Names::mapped_type>(p.value.integer);
    const auto it = names.find(p.value.text);
    if (p.value.kind != TLayoutValue::Identifier || it == names.end())
        LayoutError(p.line, p.name + " has an unknown value");
    return it->second;
}

// Font properties are the form's only; controls use their form's font.
bool ReadFontProperty(TFont& font, const TLayoutProperty& p)
{
    if (p.name == "Font.Name")
        font.Name = StringOf(p);
    else if (p.name == "Font.Height")
        font.Height = IntegerOf(p);
    else if (p.name == "Font.Color")
        font.Color = NamedValue(p, ColorNames());
    else if (p.name == "Font.Charset")
        font.Charset = NamedValue(p, CharsetNames());
    else
        return false;
    return true;
}

// Position and size, which forms and controls share.
bool ReadBoundsProperty(TDesignBounds& bounds, const TLayoutProperty& p)
{
    std::int32_t* field = p.name == "Left"     ? &bounds.left
                          : p.name == "Top"    ? &bounds.top
                          : p.name == "Width"  ? &bounds.width
                          : p.name == "Height" ? &bounds.height
                                               : nullptr;
    if (field)
        *field = IntegerOf(p);
    return field != nullptr;
}

// Each property once per object: a second one would silently win.
void CheckOnce(std::set<std::string>& seen, const TLayoutProperty& p, const std::string& object)
{
    if (!seen.insert(p.name).second)
        LayoutError(p.line, object + " has " + p.name + " twice");
}

TControlDesign ReadControl(const TLayoutObject& object)
{
    if (!object.children.empty())
        LayoutError(object.children.front().line, object.name + " cannot hold other objects");
    TControlDesign design;
    design.name = object.name;
    design.className = object.className;
    design.line = object.line;
    const TControlClass* controlClass = FindControlClass(object.className);
    if (!controlClass)
        LayoutError(object.line, "unknown class " + object.className);
    std::set<std::string> seen;
    for (const TLayoutProperty& p : object.properties) {
        CheckOnce(seen, p, object.name);
        if (ReadBoundsProperty(design.bounds, p))
            continue;
        if (p.name == "Color")
            design.color = NamedValue(p, ColorNames());
        else if (p.name == controlClass->textProperty)
            design.text = StringOf(p);
        else if (p.name == "TabOrder" && controlClass->native)
            design.tabOrder = IntegerOf(p);
        else if (p.name == "OnClick") {
            if (p.value.kind != TLayoutValue::Identifier)
                LayoutError(p.line, "OnClick needs a method name");
            design.onClick = p.value.text;
            design.onClickLine = p.line;
        } else
            LayoutError(p.line, object.name + " has no property " + p.name);
    }
    return design;
}

}  // namespace

const TControlClass* FindControlClass(std::string_view className)
{
    for (const TControlClass& c : kControlClasses)
        if (c.name == className)
            return &c;
    return nullptr;
}

bool TControlDesign::IsNative() const
{
    const TControlClass* c = FindControlClass(className);
    return c && c->native;
}

TFormDesign ReadFormDesign(std::string_view layoutText)
{
    const TLayoutObject root = ParseLayout(layoutText);
    TFormDesign design;
    design.name = root.name;
    design.className = root.className;
    design.line = root.line;
    std::set<std::string> seen;
    for (const TLayoutProperty& p : root.properties) {
        CheckOnce(seen, p, root.name);
        if (ReadBoundsProperty(design.bounds, p) || ReadFontProperty(design.font, p))
            continue;
        if (p.name == "Caption")
            design.caption = StringOf(p);
        else if (p.name == "Color")
            design.color = NamedValue(p, ColorNames());
        else if (p.name == "PixelsPerInch") {
            if (IntegerOf(p) != kDesignDpi)
                LayoutError(p.line, "layouts are designed at 96 pixels per inch");
        } else
            LayoutError(p.line, root.name + " has no property " + p.name);
    }
    for (const TLayoutObject& child : root.children)
        design.controls.push_back(ReadControl(child));
    return design;
}
