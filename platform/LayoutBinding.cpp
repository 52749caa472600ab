#include "platform/LayoutBinding.h"

#include <algorithm>
#include <map>
#include <set>

#include "platform/Layout.h"

namespace {

[[noreturn]] void LayoutError(int line, const std::string& what)
{
    throw Exception("Layout error at line " + std::to_string(line) + ": " + what);
}

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

TControl* CreateControl(const std::string& className, TComponent* owner)
{
    if (className == "TLabel")
        return new TLabel(owner);
    if (className == "TEdit")
        return new TEdit(owner);
    if (className == "TButton")
        return new TButton(owner);
    return nullptr;
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
    if (object.className != "TLabel" && object.className != "TEdit" && object.className != "TButton")
        LayoutError(object.line, "unknown class " + object.className);
    const bool captioned = object.className != "TEdit";
    std::set<std::string> seen;
    for (const TLayoutProperty& p : object.properties) {
        CheckOnce(seen, p, object.name);
        if (ReadBoundsProperty(design.bounds, p))
            continue;
        if (p.name == "Color")
            design.color = NamedValue(p, ColorNames());
        else if (p.name == (captioned ? "Caption" : "Text"))
            design.text = StringOf(p);
        else if (p.name == "TabOrder" && design.IsNative())
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

TRect64 TFormDesign::ClientRect() const
{
    // What Windows 10 and 11 put around the client area of WS_OVERLAPPEDWINDOW at 96 DPI
    // (AdjustWindowRectEx): a resizing border of 8 on three sides, and 31 for the caption.
    constexpr std::int64_t kFrameWidth = 2 * 8, kFrameHeight = 31 + 8;
    return {0, 0, std::max<std::int64_t>(bounds.width - kFrameWidth, 0),
            std::max<std::int64_t>(bounds.height - kFrameHeight, 0)};
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

void LoadLayout(TForm& form, std::string_view layoutText, const TPublished& published)
{
    const TFormDesign design = ReadFormDesign(layoutText);
    if (design.className != published.className)
        LayoutError(design.line, "the layout is for " + design.className + ", not " + published.className);
    form.SetName(design.name);
    const TDesignBounds& b = design.bounds;
    form.SetBounds(b.left, b.top, b.width, b.height);
    form.SetCaption(design.caption);
    form.SetColor(design.color);
    form.SetFont(design.font);

    // Which field each object went to, so that no field takes two.
    std::vector<const TControlDesign*> boundTo(published.fields.size(), nullptr);
    for (const TControlDesign& c : design.controls) {
        const auto field = std::find_if(published.fields.begin(), published.fields.end(),
                                        [&](const TPublishedField& f) { return f.name == c.name; });
        if (field == published.fields.end())
            LayoutError(c.line, "the form has no field named " + c.name);
        const TControlDesign*& owner = boundTo[static_cast<std::size_t>(field - published.fields.begin())];
        if (owner)
            LayoutError(c.line, c.name + " appears twice");
        owner = &c;
        TControl* control = CreateControl(c.className, &form);
        if (!field->bind(control))
            LayoutError(c.line, "the field " + c.name + " cannot hold a " + c.className);
        control->SetName(c.name);
        control->SetParent(&form);
        control->SetBounds(c.bounds.left, c.bounds.top, c.bounds.width, c.bounds.height);
        if (c.color)
            control->SetColor(*c.color);
        if (c.text) {
            if (auto* label = dynamic_cast<TLabel*>(control))
                label->SetCaption(*c.text);
            else if (auto* button = dynamic_cast<TButton*>(control))
                button->SetCaption(*c.text);
            else if (auto* edit = dynamic_cast<TEdit*>(control))
                edit->SetText(*c.text);
        }
        if (c.tabOrder)
            static_cast<TWinControl*>(control)->SetTabOrder(*c.tabOrder);
        if (!c.onClick.empty()) {
            const auto method = std::find_if(published.methods.begin(), published.methods.end(),
                                             [&](const TPublishedMethod& m) { return m.name == c.onClick; });
            if (method == published.methods.end())
                LayoutError(c.onClickLine, "the form has no method named " + c.onClick);
            control->SetOnClick(method->handler);
        }
    }
    for (std::size_t i = 0; i < boundTo.size(); ++i)
        if (!boundTo[i])
            LayoutError(design.line, "the field " + published.fields[i].name + " has no object in the layout");
}
