#include "platform/forms/LayoutBinding.h"

#include <algorithm>

namespace {

// How each control class is made and given its layout's text.
struct TControlMaker {
    std::string_view className;
    TControl* (*create)(TComponent* owner);
    void (*setText)(TControl& control, std::string text);
};

const TControlMaker kControlMakers[] = {
#define PSB_BINDING_ROW(cls, native, text)                                \
    {#cls, [](TComponent* owner) -> TControl* { return new cls(owner); }, \
     [](TControl& control, std::string value) { static_cast<cls&>(control).Set##text(std::move(value)); }},
    PSB_CONTROL_CLASSES(PSB_BINDING_ROW)
#undef PSB_BINDING_ROW
};

const TControlMaker& MakerOf(const TControlDesign& c)
{
    for (const TControlMaker& maker : kControlMakers)
        if (maker.className == c.className)
            return maker;
    // Not reached: the reader takes only classes of the same list.
    LayoutError(c.line, "unknown class " + c.className);
}

}  // namespace

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
        const TControlMaker& maker = MakerOf(c);
        TControl* control = maker.create(&form);
        if (!field->bind(control))
            LayoutError(c.line, "the field " + c.name + " cannot hold a " + c.className);
        control->SetName(c.name);
        control->SetParent(&form);
        control->SetBounds(c.bounds.left, c.bounds.top, c.bounds.width, c.bounds.height);
        if (c.color)
            control->SetColor(*c.color);
        if (c.text)
            maker.setText(*control, *c.text);
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
