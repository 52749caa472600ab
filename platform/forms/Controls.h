// Controls: the windowless label, painted by its form, and the native edit and button.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/forms/Classes.h"
#include "platform/geometry/Graphics.h"

class TControl;

enum TAlignment { taLeftJustify = 0, taRightJustify = 1, taCenter = 2 };
enum TTextLayout { tlTop = 0, tlCenter = 1, tlBottom = 2 };

// Input beyond a click. Points are in design pixels (96 DPI) of whoever gets the event: a
// control's own rectangle, or the form's client area.
enum TMouseButton : std::uint8_t { mbLeft, mbRight, mbMiddle };
// Modifier keys and mouse buttons held, as bits; ssDouble marks the press of a double click.
using TShiftState = std::uint16_t;
enum : TShiftState { ssShift = 1, ssAlt = 2, ssCtrl = 4, ssLeft = 8, ssRight = 16, ssMiddle = 32, ssDouble = 64 };

struct TMouseInfo {
    TMouseButton button = mbLeft;  // the one pressed or released; mbLeft for a move
    TShiftState shift = 0;
    std::int64_t x = 0, y = 0;
};

// A key going down or up, as a Windows virtual-key code. A handler that sets handled keeps
// the key from going further (to the control, or to the dialog keys).
struct TKeyInfo {
    std::uint16_t key = 0;
    TShiftState shift = 0;
    bool repeat = false;  // held down: the keyboard repeats it
    bool handled = false;
};

// Virtual-key codes of keys without a character of their own, for shortcuts and handlers.
enum : std::uint16_t {
    vkBack = 0x08,
    vkTab = 0x09,
    vkReturn = 0x0D,
    vkEscape = 0x1B,
    vkSpace = 0x20,
    vkPrior = 0x21,
    vkNext = 0x22,
    vkEnd = 0x23,
    vkHome = 0x24,
    vkLeft = 0x25,
    vkUp = 0x26,
    vkRight = 0x27,
    vkDown = 0x28,
    vkInsert = 0x2D,
    vkDelete = 0x2E,
    vkF1 = 0x70,
};

// A turn of the mouse wheel, 120 per notch, away from the user positive. A sideways wheel
// comes as the upright one with Shift held (as Shift turns it elsewhere), positive to the left.
struct TMouseWheelInfo {
    int delta = 0;
    TShiftState shift = 0;
    std::int64_t x = 0, y = 0;  // where the pointer is, in design pixels of the client area
};

using TMouseEvent = TEvent<const TMouseInfo&>;
using TMouseWheelEvent = TEvent<const TMouseWheelInfo&>;
using TKeyEvent = TEvent<TKeyInfo&>;

// The mouse pointer's shape over a control; crDefault leaves it to the form (an arrow).
enum TCursor : std::uint8_t {
    crDefault,
    crArrow,
    crCross,
    crIBeam,
    crHandPoint,
    crSizeAll,
    crSizeNESW,
    crSizeNS,
    crSizeNWSE,
    crSizeWE,
    crNo,
};

// What changed on a control or a form, so that a backend mirrors only that.
enum class TControlChange { Bounds, Text, Look, TabOrder, Items, ItemIndex };
enum class TFormChange { Bounds, Caption, Color, Font };

// How a backend shows a control: painted by the form, or as a native window of its own.
enum class TNativeKind { None, Edit, Button, ListBox };

// What a control needs of the window that shows it (a form); only controls call it.
class TControlParent {
protected:
    friend class TControl;
    ~TControlParent() = default;

    virtual void InsertControl(TControl& control) = 0;
    virtual void RemoveControl(TControl& control) = 0;
    virtual void ControlChanged(TControl& control, TControlChange change, const TRect64& oldBounds) = 0;
    // Repaints the control at once.
    virtual void RefreshControl(TControl& control) = 0;
    // Gives a native control the keyboard.
    virtual void FocusControl(TControl& control) = 0;
    // What a native control shows now (what the user typed); false when it has no window.
    virtual bool LiveText(const TControl& control, std::string& text) const = 0;
};

class TControl : public TComponent {
public:
    explicit TControl(TComponent* owner, TNativeKind kind = TNativeKind::None);
    ~TControl() override;

    // The form that shows the control, or none.
    TControlParent* Parent() const { return parent_; }
    void SetParent(TControlParent* parent);

    std::int32_t Left() const { return left_; }
    std::int32_t Top() const { return top_; }
    std::int32_t Width() const { return width_; }
    std::int32_t Height() const { return height_; }
    void SetLeft(std::int32_t v) { SetBounds(v, top_, width_, height_); }
    void SetTop(std::int32_t v) { SetBounds(left_, v, width_, height_); }
    void SetWidth(std::int32_t v) { SetBounds(left_, top_, v, height_); }
    void SetHeight(std::int32_t v) { SetBounds(left_, top_, width_, v); }
    void SetBounds(std::int32_t left, std::int32_t top, std::int32_t width, std::int32_t height);
    // In the parent's client area; empty when width or height is 0 or below.
    TRect64 BoundsRect() const;

    TColor Color() const { return color_; }
    void SetColor(TColor color);

    TNotifyEvent OnClick() const { return Handler(onClick_); }
    void SetOnClick(const TNotifyEvent& handler) { onClick_ = HandlerNumber(handler); }
    // Raises OnClick with this control as the sender.
    void Click();

    // Repaints the control at once (only its own rectangle).
    void Refresh();

    // Input beyond OnClick, for the controls that ask for it; labels by the thousand ask for none
    // and carry none of it. A control with OnDblClick gets a double click as its own event (a
    // press with ssDouble, no second click); without, a double click is two clicks.
    TMouseEvent OnMouseDown() const { return Input() ? Input()->onMouseDown : TMouseEvent(); }
    void SetOnMouseDown(TMouseEvent handler) { MutableInput().onMouseDown = std::move(handler); }
    TMouseEvent OnMouseMove() const { return Input() ? Input()->onMouseMove : TMouseEvent(); }
    void SetOnMouseMove(TMouseEvent handler) { MutableInput().onMouseMove = std::move(handler); }
    TMouseEvent OnMouseUp() const { return Input() ? Input()->onMouseUp : TMouseEvent(); }
    void SetOnMouseUp(TMouseEvent handler) { MutableInput().onMouseUp = std::move(handler); }
    TNotifyEvent OnDblClick() const { return Input() ? Input()->onDblClick : TNotifyEvent(); }
    void SetOnDblClick(TNotifyEvent handler) { MutableInput().onDblClick = std::move(handler); }
    // Keys go to the focused control: a native one, or a painted one that takes the focus.
    TKeyEvent OnKeyDown() const { return Input() ? Input()->onKeyDown : TKeyEvent(); }
    void SetOnKeyDown(TKeyEvent handler) { MutableInput().onKeyDown = std::move(handler); }
    TKeyEvent OnKeyUp() const { return Input() ? Input()->onKeyUp : TKeyEvent(); }
    void SetOnKeyUp(TKeyEvent handler) { MutableInput().onKeyUp = std::move(handler); }
    TCursor Cursor() const { return Input() ? Input()->cursor : crDefault; }
    void SetCursor(TCursor cursor) { MutableInput().cursor = cursor; }
    // A painted control that wants the keyboard: a press on it gives it the focus. The native
    // controls keep their tab order; Tab leaves it for them.
    bool TakesFocus() const { return Input() && Input()->takesFocus; }
    void SetTakesFocus(bool value) { MutableInput().takesFocus = value; }

    // Fixed at construction, so it holds in every constructor and destructor too.
    TNativeKind NativeKind() const { return static_cast<TNativeKind>((settings_ & kKindBits) >> kKindShift); }
    // Painted and hit-tested by its form rather than shown as a window of its own. Asked on
    // every change of every label, so it is a bit test.
    bool IsWindowless() const { return (settings_ & kKindBits) == 0; }

    // The caption or text as the program last set it: what a backend shows.
    const std::string& TextAsSet() const { return text_; }

    // What a form paints of it, in design pixels: empty for a native control, which is a
    // window of its own. At a DPI, ScaledBounds gives where any control lies.
    TRect64 PaintedRect() const { return IsWindowless() ? BoundsRect() : TRect64{}; }
    TRect64 ScaledBounds(int dpi) const { return ScaleToDpi(TRect64::Of(left_, top_, width_, height_), dpi); }

protected:
    void Changed(TControlChange change);
    // Sets the caption or text; the component name keeps its value.
    void SetTextAsSet(std::string text);
    const std::string* NameSharedText() const override { return &text_; }
    bool LiveText(std::string& text) const { return parent_ && parent_->LiveText(*this, text); }
    void TakeKeyboard()
    {
        if (parent_)
            parent_->FocusControl(*this);
    }

    // The kind in the settings byte's top bits; subclasses keep to the others.
    static constexpr std::uint8_t kKindShift = 6, kKindBits = 0xC0;

private:
    struct TInput : TObject {
        TMouseEvent onMouseDown, onMouseMove, onMouseUp;
        TNotifyEvent onDblClick;
        TKeyEvent onKeyDown, onKeyUp;
        TCursor cursor = crDefault;
        bool takesFocus = false;
    };
    const TInput* Input() const { return static_cast<const TInput*>(Attachment()); }
    TInput& MutableInput();

    // Ordered to pack: a form may hold a hundred thousand of these.
    std::uint16_t onClick_ = 0;
    TColor color_ = clBtnFace;
    TControlParent* parent_ = nullptr;
    std::int32_t left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    std::string text_;
};

// A caption painted by its form: takes no focus, has no window of its own.
class TLabel : public TControl {
public:
    explicit TLabel(TComponent* owner) : TControl(owner) {}

    const std::string& Caption() const { return TextAsSet(); }
    void SetCaption(std::string caption);

    // Kept as set. Labels here never resize themselves to their text: the layout or the
    // program gives every size.
    bool AutoSize() const { return !(settings_ & kFixedSize); }
    void SetAutoSize(bool value);

    TAlignment Alignment() const { return static_cast<TAlignment>(settings_ & kAlignmentBits); }
    void SetAlignment(TAlignment value);
    TTextLayout Layout() const { return static_cast<TTextLayout>((settings_ & kLayoutBits) >> 2); }
    void SetLayout(TTextLayout value);
    // A transparent label paints nothing of its own, neither colour nor caption: it stands for
    // something the form paints itself, for assistive technology and hit-testing.
    bool Transparent() const { return (settings_ & kTransparent) != 0; }
    void SetTransparent(bool value);

private:
    // In the settings byte: alignment, layout, whether the size is fixed and transparency.
    static constexpr std::uint8_t kAlignmentBits = 0x03, kLayoutBits = 0x0C, kFixedSize = 0x10, kTransparent = 0x20;
    static_assert(((kAlignmentBits | kLayoutBits | kFixedSize | kTransparent) & kKindBits) == 0);
};

// Where a caption of the given size starts inside a label's rectangle, placed by the
// label's alignment and layout. 64-bit, so any 32-bit rectangle and any text fit.
TPoint64 CaptionOrigin(const TRect64& bounds, std::int64_t width, std::int64_t height, TAlignment alignment,
                       TTextLayout layout);

// A control with a native window: takes the focus in tab order.
class TWinControl : public TControl {
public:
    using TControl::TControl;

    int TabOrder() const { return tabOrder_; }
    void SetTabOrder(int value);
    // Gives it the keyboard, once its form shows it.
    void SetFocus();

private:
    int tabOrder_ = -1;
};

// A single-line text field. What the user types lives in the native window.
class TEdit : public TWinControl {
public:
    explicit TEdit(TComponent* owner) : TWinControl(owner, TNativeKind::Edit) {}

    std::string Text() const;
    void SetText(std::string text);

    // The label that names the edit for assistive technology: what it holds is its value.
    const TLabel* LabelledBy() const { return label_; }
    void SetLabelledBy(const TLabel* label) { label_ = label; }

private:
    const TLabel* label_ = nullptr;
};

class TButton : public TWinControl {
public:
    explicit TButton(TComponent* owner) : TWinControl(owner, TNativeKind::Button) {}

    const std::string& Caption() const { return TextAsSet(); }
    void SetCaption(std::string caption);
};

// A list of lines the user picks one of. It holds only how many lines there are: each is made
// when it is shown or read, so that a long list costs what shows. OnClick tells of the user's
// picks only, by mouse or keyboard; the program's own SetItemIndex raises nothing.
class TListBox : public TWinControl {
public:
    using TLineSource = std::function<std::string(std::size_t index)>;

    explicit TListBox(TComponent* owner) : TWinControl(owner, TNativeKind::ListBox) {}

    std::size_t Count() const { return count_; }
    // The line at an index; empty past the end.
    std::string Line(std::size_t index) const { return index < count_ ? source_(index) : std::string(); }
    // New lines, as many as count, made by source when wanted: the backend shows the new count
    // and draws again what shows. The selection goes.
    void SetLines(std::size_t count, TLineSource source);
    // Lines that the list keeps itself, for a short one.
    void SetItems(std::vector<std::string> items);
    // The selected line, or -1 for none.
    int ItemIndex() const { return itemIndex_; }
    void SetItemIndex(int index);
    // The user selected a line (or none): a backend reports it, a test acts as the user.
    void UserSelect(int index);

private:
    int InRange(int index) const { return index >= 0 && static_cast<std::size_t>(index) < count_ ? index : -1; }

    std::size_t count_ = 0;
    TLineSource source_;
    int itemIndex_ = -1;
};
