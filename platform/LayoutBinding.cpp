#include "platform/LayoutBinding.h"

#include <algorithm>

namespace {

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
