#include "Controls.h"

#include "Backend.h"
#include "Forms.h"

TControl::TControl(TComponent* owner) : TComponent(owner) {}

TControl::~TControl()
{
    SetParent(nullptr);
}

void TControl::SetParent(TForm* parent)
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
    TRect64 r{left_, top_, std::int64_t{left_} + width_, std::int64_t{top_} + height_};
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
    if (onClick_)
        onClick_(this);
}

void TControl::Refresh()
{
    if (!parent_)
        return;
    parent_->Peer().Invalidate(BoundsRect());
    parent_->Peer().Update();
}

void TControl::Changed(TControlChange change)
{
    if (parent_)
        parent_->ControlChanged(*this, change, BoundsRect());
}

void TLabel::SetCaption(std::string caption)
{
    if (caption == text_)
        return;
    text_ = std::move(caption);
    Changed(TControlChange::Text);
}

void TLabel::SetAlignment(TAlignment value)
{
    alignment_ = value;
    Changed(TControlChange::Look);
}

void TLabel::SetLayout(TTextLayout value)
{
    layout_ = value;
    Changed(TControlChange::Look);
}

void TWinControl::SetTabOrder(int value)
{
    tabOrder_ = value;
    Changed(TControlChange::TabOrder);
}

std::string TEdit::Text() const
{
    std::string live;
    if (Parent() && Parent()->Peer().ReadText(*this, live))
        return live;
    return text_;
}

void TEdit::SetText(std::string text)
{
    text_ = std::move(text);
    Changed(TControlChange::Text);
}

void TButton::SetCaption(std::string caption)
{
    text_ = std::move(caption);
    Changed(TControlChange::Text);
}
