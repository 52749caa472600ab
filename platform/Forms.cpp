#include "Forms.h"

#include <algorithm>
#include <map>

#include "Backend.h"
#include "Layout.h"

namespace {

[[noreturn]] void LayoutError(int line, const std::string& what)
{
    throw Exception("Layout error at line " + std::to_string(line) + ": " + what);
}

const std::map<std::string, TColor>& ColorNames()
{
    static const std::map<std::string, TColor> names = {
        {"clBlack", clBlack}, {"clWhite", clWhite},         {"clRed", clRed},
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

void ApplyControlProperty(TControl& control, const TLayoutProperty& p, const TPublished& published)
{
    auto* label = dynamic_cast<TLabel*>(&control);
    auto* edit = dynamic_cast<TEdit*>(&control);
    auto* button = dynamic_cast<TButton*>(&control);
    auto* windowed = dynamic_cast<TWinControl*>(&control);
    if (p.name == "Left")
        control.SetLeft(IntegerOf(p));
    else if (p.name == "Top")
        control.SetTop(IntegerOf(p));
    else if (p.name == "Width")
        control.SetWidth(IntegerOf(p));
    else if (p.name == "Height")
        control.SetHeight(IntegerOf(p));
    else if (p.name == "Color")
        control.SetColor(NamedValue(p, ColorNames()));
    else if (p.name == "Caption" && label)
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

TForm::TForm(TComponent* owner) : TComponent(owner), peer_(backend::CreateFormPeer(*this)) {}

TForm::~TForm()
{
    // Controls leave the form while it is still whole, then the window goes.
    DestroyComponents();
    while (!controls_.empty())
        controls_.back()->SetParent(nullptr);
    peer_.reset();
}

void TForm::LoadLayout(std::string_view layoutText, const TPublished& published)
{
    const TLayoutObject root = ParseLayout(layoutText);
    if (root.className != published.className)
        LayoutError(root.line, "the layout is for " + root.className + ", not " + published.className);
    SetName(root.name);
    for (const TLayoutProperty& p : root.properties) {
        if (p.name == "Left")
            SetBounds(IntegerOf(p), top_, width_, height_);
        else if (p.name == "Top")
            SetBounds(left_, IntegerOf(p), width_, height_);
        else if (p.name == "Width")
            SetBounds(left_, top_, IntegerOf(p), height_);
        else if (p.name == "Height")
            SetBounds(left_, top_, width_, IntegerOf(p));
        else if (p.name == "Caption")
            SetCaption(StringOf(p));
        else if (p.name == "Color")
            SetColor(NamedValue(p, ColorNames()));
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

void TForm::SetBounds(std::int32_t left, std::int32_t top, std::int32_t width, std::int32_t height)
{
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    peer_->FormChanged();
}

void TForm::SetCaption(std::string caption)
{
    caption_ = std::move(caption);
    peer_->FormChanged();
}

void TForm::SetColor(TColor color)
{
    color_ = color;
    peer_->FormChanged();
}

void TForm::SetFont(TFont font)
{
    font_ = std::move(font);
    peer_->FormChanged();
}

void TForm::Show()
{
    visible_ = true;
    peer_->Show();
}

namespace {

// The design pixels whose scaled image may meet an area of a screen of some DPI: a pixel
// more on each side than the exact inverse, which rounding may shift by one.
TRect64 DesignArea(const TRect64& area, int dpi)
{
    const auto down = [dpi](std::int64_t v) {
        const std::int64_t p = v * kDesignDpi;
        return (p >= 0 ? p / dpi : -((-p + dpi - 1) / dpi)) - 1;
    };
    return {down(area.left), down(area.top), down(area.right) + 3, down(area.bottom) + 3};
}

}  // namespace

TControl* TForm::ControlAt(std::int64_t x, std::int64_t y, int dpi) const
{
    const auto& near = index_.Near(controls_, DesignArea({x, y, x + 1, y + 1}, dpi));
    for (auto it = near.rbegin(); it != near.rend(); ++it)
        if (TControl* c = controls_[*it]; ScaleToDpi(c->BoundsRect(), dpi).Contains(x, y))
            return c;
    return nullptr;
}

void TForm::ForEachPaintedIn(const TRect64& area, const std::function<void(TControl&)>& fn, int dpi) const
{
    // The handler may change the form; the positions are taken first.
    const std::vector<std::uint32_t> near = index_.Near(controls_, DesignArea(area, dpi));
    for (const std::uint32_t i : near)
        if (TControl* c = controls_[i]; ScaleToDpi(c->BoundsRect(), dpi).Intersects(area))
            fn(*c);
}

void TForm::InsertControl(TControl& control)
{
    index_.MarkStale();
    controls_.push_back(&control);
    peer_->ControlInserted(control);
    if (control.IsWindowless())
        peer_->Invalidate(control.BoundsRect());
}

void TForm::RemoveControl(TControl& control)
{
    const auto it = std::find(controls_.rbegin(), controls_.rend(), &control);
    if (it == controls_.rend())
        return;
    controls_.erase(std::next(it).base());
    index_.MarkStale();
    peer_->ControlRemoved(control);
    if (control.IsWindowless())
        peer_->Invalidate(control.BoundsRect());
}

void TForm::ControlChanged(TControl& control, TControlChange change, const TRect64& oldBounds)
{
    if (!control.IsWindowless()) {
        peer_->ControlChanged(control, change);
        return;
    }
    if (change == TControlChange::Bounds) {
        index_.MarkStale();
        peer_->Invalidate(oldBounds);
    }
    peer_->Invalidate(control.BoundsRect());
}

void TApplication::Run()
{
    if (!mainForm_)
        return;
    mainForm_->Show();
    backend::RunMessageLoop(*mainForm_, [this](std::exception_ptr error) { HandleException(error); });
}

void TApplication::ShowException(const Exception& e)
{
    backend::ShowErrorMessage(e.Message());
}

void TApplication::HandleException(std::exception_ptr error)
{
    try {
        std::rethrow_exception(error);
    } catch (const Exception& e) {
        ShowException(e);
    } catch (const std::bad_alloc&) {
        ShowException(EOutOfMemory());
    } catch (...) {
        ShowException(Exception(""));
    }
}

std::string TApplication::GetExeName() const
{
    return backend::ExecutablePath();
}

void TApplication::DestroyForms()
{
    mainForm_ = nullptr;
    DestroyComponents();
}

namespace {
TApplication theApplication;
}

TApplication* const Application = &theApplication;
