// A form built from its layout: the layout's objects made, their properties applied, and
// bound to the form's published fields and methods by name.
#include <algorithm>
#include <map>

#include "platform/Forms.h"
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

// Font properties are shared by forms only; controls use their form's font.
bool ApplyFontProperty(TFont& font, const TLayoutProperty& p)
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

// Position, size and colour, which forms and controls share.
template <class T>
bool ApplyBoundsOrColor(T& target, const TLayoutProperty& p)
{
    std::int32_t left = target.Left(), top = target.Top(), width = target.Width(), height = target.Height();
    if (p.name == "Left")
        left = IntegerOf(p);
    else if (p.name == "Top")
        top = IntegerOf(p);
    else if (p.name == "Width")
        width = IntegerOf(p);
    else if (p.name == "Height")
        height = IntegerOf(p);
    else if (p.name == "Color") {
        target.SetColor(NamedValue(p, ColorNames()));
        return true;
    } else
        return false;
    target.SetBounds(left, top, width, height);
    return true;
}

void ApplyControlProperty(TControl& control, const TLayoutProperty& p, const TPublished& published)
{
    auto* label = dynamic_cast<TLabel*>(&control);
    auto* edit = dynamic_cast<TEdit*>(&control);
    auto* button = dynamic_cast<TButton*>(&control);
    auto* windowed = dynamic_cast<TWinControl*>(&control);
    if (ApplyBoundsOrColor(control, p))
        return;
    if (p.name == "Caption" && label)
        label->SetCaption(StringOf(p));
    else if (p.name == "Caption" && button)
        button->SetCaption(StringOf(p));
    else if (p.name == "Text" && edit)
        edit->SetText(StringOf(p));
    else if (p.name == "TabOrder" && windowed)
        windowed->SetTabOrder(IntegerOf(p));
    else if (p.name == "OnClick") {
        if (p.value.kind != TLayoutValue::Identifier)
            LayoutError(p.line, "OnClick needs a method name");
        const auto it = std::find_if(published.methods.begin(), published.methods.end(),
                                     [&](const TPublishedMethod& m) { return m.name == p.value.text; });
        if (it == published.methods.end())
            LayoutError(p.line, "the form has no method named " + p.value.text);
        control.SetOnClick(it->handler);
    } else
        LayoutError(p.line, control.Name() + " has no property " + p.name);
}

}  // namespace

void TForm::LoadLayout(std::string_view layoutText, const TPublished& published)
{
    const TLayoutObject root = ParseLayout(layoutText);
    if (root.className != published.className)
        LayoutError(root.line, "the layout is for " + root.className + ", not " + published.className);
    SetName(root.name);
    for (const TLayoutProperty& p : root.properties) {
        if (ApplyBoundsOrColor(*this, p))
            continue;
        if (p.name == "Caption")
            SetCaption(StringOf(p));
        else if (p.name == "PixelsPerInch") {
            if (IntegerOf(p) != 96)
                LayoutError(p.line, "layouts are designed at 96 pixels per inch");
        } else {
            TFont font = font_;
            if (!ApplyFontProperty(font, p))
                LayoutError(p.line, root.name + " has no property " + p.name);
            SetFont(std::move(font));
        }
    }

    std::vector<bool> bound(published.fields.size(), false);
    for (const TLayoutObject& child : root.children) {
        if (!child.children.empty())
            LayoutError(child.children.front().line, child.name + " cannot hold other objects");
        const auto field = std::find_if(published.fields.begin(), published.fields.end(),
                                        [&](const TPublishedField& f) { return f.name == child.name; });
        if (field == published.fields.end())
            LayoutError(child.line, "the form has no field named " + child.name);
        auto isBound = bound[static_cast<std::size_t>(field - published.fields.begin())];
        if (isBound)
            LayoutError(child.line, child.name + " appears twice");
        TControl* control = CreateControl(child.className, this);
        if (!control)
            LayoutError(child.line, "unknown class " + child.className);
        if (!field->bind(control))
            LayoutError(child.line, "the field " + child.name + " cannot hold a " + child.className);
        isBound = true;
        control->SetName(child.name);
        control->SetParent(this);
        for (const TLayoutProperty& p : child.properties)
            ApplyControlProperty(*control, p, published);
    }
    for (std::size_t i = 0; i < bound.size(); ++i)
        if (!bound[i])
            LayoutError(root.line, "the field " + published.fields[i].name + " has no object in the layout");
}
