#include "platform/forms/Accessibility.h"

#include "platform/forms/Forms.h"

namespace {

const char kSelect[] = "\xE9\x81\xB8\xE5\x8F\x96";  // 選取
const char kPress[] = "\xE6\x8C\x89\xE4\xB8\x8B";   // 按下

}  // namespace

std::size_t TAccessibleForm::ChildCount() const
{
    return form_.Controls().size();
}

TControl& TAccessibleForm::Control(std::size_t child) const
{
    return *form_.Controls()[child - 1];
}

std::size_t TAccessibleForm::ChildOf(const TControl& control) const
{
    const std::size_t item = form_.IndexOf(control);
    return item == TPaintedStack<TControl>::npos ? kNone : item + 1;
}

bool TAccessibleForm::HasWindow(std::size_t child) const
{
    return IsChild(child) && !Control(child).IsWindowless();
}

std::string TAccessibleForm::Name(std::size_t child) const
{
    return child == kSelf ? form_.Caption() : form_.AccessibleName(Control(child));
}

TAccessibleRole TAccessibleForm::Role(std::size_t child) const
{
    if (child == kSelf)
        return TAccessibleRole::Client;
    const TControl& c = Control(child);
    switch (c.NativeKind()) {
    case TNativeKind::Button:
        return TAccessibleRole::PushButton;
    case TNativeKind::Edit:
        return TAccessibleRole::Text;
    case TNativeKind::ListBox:
        return TAccessibleRole::List;
    case TNativeKind::None:
        break;
    }
    return form_.IsItem(c) ? TAccessibleRole::ListItem : TAccessibleRole::StaticText;
}

std::string TAccessibleForm::Value(std::size_t child) const
{
    if (child == kSelf)
        return {};
    const TControl& c = Control(child);
    if (const auto* edit = dynamic_cast<const TEdit*>(&c))
        return edit->Text();
    return c.IsWindowless() ? form_.AccessibleStatus(c) : std::string();
}

std::string TAccessibleForm::Description(std::size_t child) const
{
    return child == kSelf || HasWindow(child) ? std::string() : form_.AccessibleStatus(Control(child));
}

TRect64 TAccessibleForm::Location(std::size_t child, const TRect64& client, int dpi) const
{
    if (child == kSelf)
        return client;
    const TControl& c = Control(child);
    return c.IsWindowless() ? form_.Stack().RectAt(child - 1, dpi) : c.ScaledBounds(dpi);
}

std::uint32_t TAccessibleForm::State(std::size_t child, const TRect64& client, int dpi) const
{
    if (child == kSelf)
        return client.IsEmpty() ? std::uint32_t{asInvisible} : 0;
    const TControl& c = Control(child);
    std::uint32_t state = 0;
    if (!c.IsWindowless())
        state |= asFocusable;
    else if (form_.IsItem(c))
        state |= asSelectable | (form_.IsControlSelected(c) ? asSelected : 0u);
    else
        state |= asReadOnly;
    const TRect64 r = Location(child, client, dpi);
    if (r.IsEmpty())
        state |= asInvisible;
    else if (!r.Intersects(client))
        state |= asOffscreen;
    // A painted control may also be hidden by those painted above it; a window of its own,
    // above them all, never is.
    else if (c.IsWindowless() && form_.Stack().ShownOf(child - 1, client, dpi).visiblePixels == 0)
        state |= asInvisible;
    return state;
}

std::size_t TAccessibleForm::HitTest(TPoint64 point, const TRect64& client, int dpi) const
{
    if (!client.Contains(point.x, point.y))
        return kNone;
    // Native windows lie above every painted control.
    for (const TControl* c : form_.WindowedControls())
        if (c->ScaledBounds(dpi).Contains(point.x, point.y))
            return ChildOf(*c);
    const std::size_t item = form_.Stack().IndexAt(point, dpi);
    return item == TPaintedStack<TControl>::npos ? kSelf : item + 1;
}

std::size_t TAccessibleForm::Navigate(std::size_t from, TNavigation direction) const
{
    const std::size_t count = ChildCount();
    switch (direction) {
    case TNavigation::FirstChild:
        return from == kSelf && count ? 1 : kNone;
    case TNavigation::LastChild:
        return from == kSelf && count ? count : kNone;
    case TNavigation::Next:
        return IsChild(from) && from < count ? from + 1 : kNone;
    case TNavigation::Previous:
        return IsChild(from) && from > 1 ? from - 1 : kNone;
    }
    return kNone;
}

std::size_t TAccessibleForm::Selection() const
{
    const TControl* selected = form_.Selected();
    return selected ? ChildOf(*selected) : kNone;
}

std::string TAccessibleForm::DefaultAction(std::size_t child) const
{
    if (child == kSelf)
        return {};
    TControl& c = Control(child);
    if (c.NativeKind() == TNativeKind::Button)
        return c.OnClick() ? kPress : std::string();
    return form_.IsItem(c) && form_.ItemChoice(c) ? kSelect : std::string();
}

bool TAccessibleForm::DoDefaultAction(std::size_t child) const
{
    if (child == kSelf)
        return false;
    TControl& c = Control(child);
    if (c.NativeKind() == TNativeKind::Button) {
        if (!c.OnClick())
            return false;
        c.Click();
        return true;
    }
    const std::function<void()> choose = form_.IsItem(c) ? form_.ItemChoice(c) : nullptr;
    if (choose)
        choose();
    return static_cast<bool>(choose);
}
