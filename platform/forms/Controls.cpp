#include "platform/forms/Controls.h"

#include <memory>
#include <utility>

TControl::TControl(TComponent* owner, TNativeKind kind) : TComponent(owner)
{
    settings_ = static_cast<std::uint8_t>(static_cast<unsigned>(kind) << kKindShift);
}

TControl::~TControl()
{
    SetParent(nullptr);
}

void TControl::SetParent(TControlParent* parent)
{
    if (parent == parent_)
        return;
    if (parent_)
        parent_->RemoveControl(*this);
    parent_ = parent;
    if (parent_)
        parent_->InsertControl(*this);
}

void TControl::SetBounds(std::int32_t left, std::int32_t top, std::int32_t width, std::int32_t height)
{
    if (left == left_ && top == top_ && width == width_ && height == height_)
        return;
    const TRect64 old = BoundsRect();
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    if (parent_)
        parent_->ControlChanged(*this, TControlChange::Bounds, old);
}

TRect64 TControl::BoundsRect() const
{
    const TRect64 r = TRect64::Of(left_, top_, width_, height_);
    return r.IsEmpty() ? TRect64{} : r;
}

void TControl::SetColor(TColor color)
{
    if (color == color_)
        return;
    color_ = color;
    Changed(TControlChange::Look);
}

void TControl::Click()
{
    if (const TNotifyEvent handler = OnClick())
        handler(this);
}

TControl::TInput& TControl::MutableInput()
{
    if (auto* input = static_cast<TInput*>(Attachment()))
        return *input;
    return static_cast<TInput&>(Attach(std::make_unique<TInput>()));
}

void TControl::Refresh()
{
    if (parent_)
        parent_->RefreshControl(*this);
}

void TControl::SetTextAsSet(std::string text)
{
    UnshareName();
    text_ = std::move(text);
    Changed(TControlChange::Text);
}

void TControl::Changed(TControlChange change)
{
    if (parent_)
        parent_->ControlChanged(*this, change, BoundsRect());
}

void TLabel::SetCaption(std::string caption)
{
    if (caption != TextAsSet())
        SetTextAsSet(std::move(caption));
}

void TLabel::SetAutoSize(bool value)
{
    settings_ = static_cast<std::uint8_t>((settings_ & ~kFixedSize) | (value ? 0 : kFixedSize));
}

void TLabel::SetTransparent(bool value)
{
    settings_ = static_cast<std::uint8_t>((settings_ & ~kTransparent) | (value ? kTransparent : 0));
    Changed(TControlChange::Look);
}

void TLabel::SetAlignment(TAlignment value)
{
    settings_ = static_cast<std::uint8_t>((settings_ & ~kAlignmentBits) | (value & kAlignmentBits));
    Changed(TControlChange::Look);
}

void TLabel::SetLayout(TTextLayout value)
{
    settings_ = static_cast<std::uint8_t>((settings_ & ~kLayoutBits) | ((value << 2) & kLayoutBits));
    Changed(TControlChange::Look);
}

TPoint64 CaptionOrigin(const TRect64& bounds, std::int64_t width, std::int64_t height, TAlignment alignment,
                       TTextLayout layout)
{
    TPoint64 origin{bounds.left, bounds.top};
    if (alignment == taCenter)
        origin.x += (bounds.right - bounds.left - width) / 2;
    else if (alignment == taRightJustify)
        origin.x = bounds.right - width;
    if (layout == tlCenter)
        origin.y += (bounds.bottom - bounds.top - height) / 2;
    else if (layout == tlBottom)
        origin.y = bounds.bottom - height;
    return origin;
}

void TWinControl::SetTabOrder(int value)
{
    tabOrder_ = value;
    Changed(TControlChange::TabOrder);
}

void TWinControl::SetFocus()
{
    TakeKeyboard();
}

std::string TEdit::Text() const
{
    std::string live;
    if (LiveText(live))
        return live;
    return TextAsSet();
}

void TEdit::SetText(std::string text)
{
    // A window shown as it is needs no redraw: a program may set its fields after every step.
    if (text == TextAsSet() && text == Text())
        return;
    SetTextAsSet(std::move(text));
}

void TButton::SetCaption(std::string caption)
{
    SetTextAsSet(std::move(caption));
}

void TListBox::SetLines(std::size_t count, TLineSource source)
{
    count_ = count;
    source_ = std::move(source);
    itemIndex_ = -1;
    Changed(TControlChange::Items);
}

void TListBox::SetItems(std::vector<std::string> items)
{
    auto kept = std::make_shared<const std::vector<std::string>>(std::move(items));
    SetLines(kept->size(), [kept](std::size_t index) { return (*kept)[index]; });
}

void TListBox::SetItemIndex(int index)
{
    index = InRange(index);
    if (index == itemIndex_)
        return;
    itemIndex_ = index;
    Changed(TControlChange::ItemIndex);
}

void TListBox::UserSelect(int index)
{
    index = InRange(index);
    const bool changed = index != itemIndex_;
    itemIndex_ = index;
    // The native list already shows it; a test acting as the user has the backend show it too.
    if (changed)
        Changed(TControlChange::ItemIndex);
    Click();
}
