// Forms, built from a layout, and the application object.
#pragma once

#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <new>
#include <string>
#include <string_view>
#include <vector>

#include "platform/forms/Classes.h"
#include "platform/forms/Controls.h"
#include "platform/forms/Menus.h"
#include "platform/geometry/PaintedIndex.h"
#include "platform/geometry/Graphics.h"
#include "platform/text/SysUtils.h"

class IFormPeer;

// Asked before a form closes: a handler that sets canClose to false keeps it open.
using TCloseQueryEvent = TEvent<bool&>;
// Asked before the user's Windows session ends (logging off, shutting down, a restart for an
// update): with critical the system does not wait for an answer, so nothing may be asked; a
// handler that sets canEnd to false asks for the session to go on.
using TQueryEndSessionEvent = TEvent<bool, bool&>;
// The session ends now (true; the program may be ended any moment after), or goes on after all.
using TEndSessionEvent = TEvent<bool>;
// Painting what is not a control, under the labels or over them.
using TPaintEvent = TEvent<TCanvas&>;

// The form's scroll bars, in design pixels: what there is to see (0 to range), how much of
// it shows at once (page) and where what shows starts. A bar shows while range > page.
enum TScrollBarKind { sbHorizontal, sbVertical };
struct TScrollRange {
    std::int32_t range = 0, page = 0, position = 0;
    friend bool operator==(const TScrollRange&, const TScrollRange&) = default;
};
// What the user did to a scroll bar.
enum TScrollCode { scLineUp, scLineDown, scPageUp, scPageDown, scTrack, scPosition, scTop, scBottom };
// A bar moved by the user: which, and its new position.
using TScrollEvent = TEvent<TScrollBarKind, std::int32_t>;

class TForm : public TComponent, public TControlParent, public TMenuHost {
public:
    // The window class names the form's window to other programs (and to tests); forms of
    // one kind share it. Without one, the form takes the program's (PSB_WINDOW_CLASS, set
    // where the program is built).
    explicit TForm(TComponent* owner, std::string_view windowClass = {});
    ~TForm() override;

    // Outer rectangle on the screen.
    std::int32_t Left() const { return left_; }
    std::int32_t Top() const { return top_; }
    std::int32_t Width() const { return width_; }
    std::int32_t Height() const { return height_; }
    void SetBounds(std::int32_t left, std::int32_t top, std::int32_t width, std::int32_t height);

    // The client area's size in design pixels, as the window last reported it.
    std::int32_t ClientWidth() const { return clientWidth_; }
    std::int32_t ClientHeight() const { return clientHeight_; }
    // After the client area changed size.
    TNotifyEvent OnResize() const { return onResize_; }
    void SetOnResize(TNotifyEvent handler) { onResize_ = std::move(handler); }
    // What a backend reports: the client area's size in pixels at the DPI.
    void Resized(std::int64_t width, std::int64_t height, int dpi);

    const std::string& Caption() const { return caption_; }
    void SetCaption(std::string caption);
    TColor Color() const { return color_; }
    void SetColor(TColor color);
    const TFont& Font() const { return font_; }
    void SetFont(TFont font);
    const std::string& WindowClass() const { return windowClass_; }

    void Show();
    bool Visible() const { return visible_; }
    // Closes the form as the user would, once OnCloseQuery allows; closing the main form
    // ends the program's event loop.
    void Close();
    // Whether the form may close now: asks OnCloseQuery.
    virtual bool CloseQuery();
    TCloseQueryEvent OnCloseQuery() const { return onCloseQuery_; }
    void SetOnCloseQuery(TCloseQueryEvent handler) { onCloseQuery_ = std::move(handler); }

    // The user came back to the program from another one.
    TNotifyEvent OnActivate() const { return onActivate_; }
    void SetOnActivate(TNotifyEvent handler) { onActivate_ = std::move(handler); }
    void Activated();
    // The end of the user's session, as a backend reports it: whether it may end, and that it
    // ends (or not). Without handlers it may, and nothing is done.
    bool QueryEndSession(bool critical);
    void EndSession(bool ending);
    TQueryEndSessionEvent OnQueryEndSession() const { return onQueryEndSession_; }
    void SetOnQueryEndSession(TQueryEndSessionEvent handler) { onQueryEndSession_ = std::move(handler); }
    TEndSessionEvent OnEndSession() const { return onEndSession_; }
    void SetOnEndSession(TEndSessionEvent handler) { onEndSession_ = std::move(handler); }

    // The menu bar, or none. The form does not own it.
    TMainMenu* Menu() const { return menu_; }
    void SetMenu(TMainMenu* menu);

    // Drawing beyond the labels, each time a part of the client area is painted: behind the
    // labels (over the form's colour), and over them.
    TPaintEvent OnPaintBehind() const { return onPaintBehind_; }
    void SetOnPaintBehind(TPaintEvent handler) { onPaintBehind_ = std::move(handler); }
    TPaintEvent OnPaintOver() const { return onPaintOver_; }
    void SetOnPaintOver(TPaintEvent handler) { onPaintOver_ = std::move(handler); }
    // Has a part of the client area, in design pixels, painted anew soon (all of it without
    // one); nothing is painted before the form is shown.
    void Invalidate(const TRect64& designArea) const { Repaint(designArea); }
    void Invalidate() const;

    // The wheel, wherever the pointer is over the form.
    TMouseWheelEvent OnMouseWheel() const { return onMouseWheel_; }
    void SetOnMouseWheel(TMouseWheelEvent handler) { onMouseWheel_ = std::move(handler); }
    // Scroll bars; the program moves what it shows itself, told by OnScroll.
    const TScrollRange& ScrollBar(TScrollBarKind kind) const { return scroll_[kind]; }
    void SetScrollBars(const TScrollRange& horizontal, const TScrollRange& vertical);
    TScrollEvent OnScroll() const { return onScroll_; }
    void SetOnScroll(TScrollEvent handler) { onScroll_ = std::move(handler); }
    // How far a line of a scroll bar goes.
    static constexpr std::int32_t kScrollLine = 16;

    // The controls shown on the form, bottom first (the one added last is on top), what of
    // the painted ones shows at a DPI and which takes a point. The native controls are in the
    // stack too, with empty painted rectangles.
    const TPaintedStack<TControl>& Stack() const { return controls_; }
    const std::vector<TControl*>& Controls() const { return controls_.Items(); }
    // Makes room for that many more controls, for a form that knows how many come.
    void ReserveControls(std::size_t count) { controls_.Reserve(count); }
    // The topmost painted control under a client-area point, or none. With a dpi, the point is
    // in pixels of a screen of that DPI.
    TControl* ControlAt(std::int64_t x, std::int64_t y, int dpi = kDesignDpi) const
    {
        return controls_.ItemAt({x, y}, dpi);
    }
    // Where a control is in Controls(), or npos; a painted one is looked for only where it lies.
    std::size_t IndexOf(const TControl& control) const { return controls_.IndexOf(control); }
    // The controls with windows of their own, in the order they came.
    const std::vector<TControl*>& WindowedControls() const { return controls_.Windowed(); }

    // The painted controls the user picks one of, as items of a list (a board's PCs, say):
    // they are announced as list items, selectable, and a change of their look is a change
    // of their state. By default, those that take clicks.
    virtual bool IsItem(const TControl& control) const;
    // The control the user selected last, or none; the form tells assistive technology.
    TControl* Selected() const { return selected_; }
    void SetSelected(TControl* control);
    // Whether assistive technology hears the control as selected: by default the one
    // Selected(), for a form where several are.
    virtual bool IsControlSelected(const TControl& control) const { return selected_ == &control; }
    // What choosing an item does for assistive technology (its default action): selects it.
    // By default its click; nothing for an item without OnClick, which then has no default action.
    virtual std::function<void()> ItemChoice(TControl& item);

    // What assistive technology says of a control: its name (by default its text, an edit's
    // label's caption) and its status (by default nothing), for a form that knows more about its controls.
    virtual std::string AccessibleName(const TControl& control) const;
    virtual std::string AccessibleStatus(const TControl& control) const;

    // The form's own input: the mouse where no painted control that asks for that event lies,
    // and keys when it has the focus itself or previews keys.
    TMouseEvent OnMouseDown() const { return onMouseDown_; }
    void SetOnMouseDown(TMouseEvent handler) { onMouseDown_ = std::move(handler); }
    TMouseEvent OnMouseMove() const { return onMouseMove_; }
    void SetOnMouseMove(TMouseEvent handler) { onMouseMove_ = std::move(handler); }
    TMouseEvent OnMouseUp() const { return onMouseUp_; }
    void SetOnMouseUp(TMouseEvent handler) { onMouseUp_ = std::move(handler); }
    TKeyEvent OnKeyDown() const { return onKeyDown_; }
    void SetOnKeyDown(TKeyEvent handler) { onKeyDown_ = std::move(handler); }
    TKeyEvent OnKeyUp() const { return onKeyUp_; }
    void SetOnKeyUp(TKeyEvent handler) { onKeyUp_ = std::move(handler); }
    // With KeyPreview the form sees every key before the focused control does.
    bool KeyPreview() const { return keyPreview_; }
    void SetKeyPreview(bool value) { keyPreview_ = value; }
    TCursor Cursor() const { return cursor_; }
    void SetCursor(TCursor cursor) { cursor_ = cursor; }

    // The painted control that has the keyboard, or none (then a native control, or nothing).
    TControl* FocusedControl() const { return focused_; }
    void SetFocusedControl(TControl* control);

    // What a backend reports of the user, in pixels of the client area on a screen of that
    // DPI; the form hands each to the control it concerns. While a button is held, every
    // event goes to whoever got the press, even outside the window, until the last button
    // comes up or the backend loses the mouse: each returns whether the mouse is held.
    bool MouseDown(TMouseButton button, TShiftState shift, TPoint64 point, int dpi, bool doubleClick = false);
    bool MouseMove(TShiftState shift, TPoint64 point, int dpi);
    bool MouseUp(TMouseButton button, TShiftState shift, TPoint64 point, int dpi);
    // The mouse went elsewhere while held: whoever held it gets its release, once.
    void MouseCaptureLost();
    void MouseWheel(int delta, TShiftState shift, TPoint64 point, int dpi);
    // A scroll bar used: its position moves (a track or a position to the given one, in design
    // pixels), stays in its range, and OnScroll tells where it went when it moved.
    void Scroll(TScrollBarKind kind, TScrollCode code, std::int32_t position = 0);
    // A key for the focused native control, or for the form's window with none; true when a
    // handler took it. An enabled menu item's shortcut goes to the item before any handler,
    // but one without Ctrl or Alt (Del, a letter; function keys aside) not while an edit or a
    // list box has the focus.
    bool KeyDown(TKeyInfo& key, TControl* focusedNative);
    bool KeyUp(TKeyInfo& key, TControl* focusedNative);
    TCursor CursorAt(TPoint64 point, int dpi) const;

private:
    // Kept up to date by the menu.
    void MenuChanged() override;
    void MenuDetached(const TMainMenu& menu) override;

    // Kept up to date by the controls.
    void InsertControl(TControl& control) override;
    void RemoveControl(TControl& control) override;
    void ControlChanged(TControl& control, TControlChange change, const TRect64& oldBounds) override;
    void RefreshControl(TControl& control) override;
    void FocusControl(TControl& control) override;
    bool LiveText(const TControl& control, std::string& text) const override;

    // Marks a part of the client area for repainting; nothing is on screen before the form is
    // shown.
    void Repaint(const TRect64& area) const;
    // Whoever gets the mouse at a point: a painted control, or the form (none).
    TControl* MouseTarget(TPoint64 point, int dpi) const;
    enum class TMouseAction { Down, Move, Up };
    // Raises a mouse event on the target (the form for none), in its design pixels.
    void RaiseMouse(TMouseAction action, TControl* target, TMouseButton button, TShiftState shift, TPoint64 point,
                    int dpi);
    bool Key(TKeyInfo& key, TControl* focusedNative, bool down);

    friend class TApplication;  // makes its main form's window end the event loop

    std::string windowClass_;  // before the peer, which makes the window of that class
    std::unique_ptr<IFormPeer> peer_;
    TPaintedStack<TControl> controls_;
    TControl* selected_ = nullptr;
    TControl* focused_ = nullptr;
    // The mouse: which buttons are held, who got the press, and who may get the click.
    std::uint8_t held_ = 0;
    TControl* mouseTarget_ = nullptr;
    TControl* pressed_ = nullptr;
    bool targetGone_ = false;  // the control that got the press went away meanwhile
    TPoint64 lastPoint_;
    int lastDpi_ = kDesignDpi;
    std::int32_t left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    std::int32_t clientWidth_ = 0, clientHeight_ = 0;
    TNotifyEvent onResize_;
    std::string caption_;
    TColor color_ = clBtnFace;
    TFont font_;
    bool visible_ = false;
    bool keyPreview_ = false;
    TCursor cursor_ = crDefault;
    TMouseEvent onMouseDown_, onMouseMove_, onMouseUp_;
    TKeyEvent onKeyDown_, onKeyUp_;
    TMainMenu* menu_ = nullptr;
    TCloseQueryEvent onCloseQuery_;
    TNotifyEvent onActivate_;
    TQueryEndSessionEvent onQueryEndSession_;
    TEndSessionEvent onEndSession_;
    TPaintEvent onPaintBehind_, onPaintOver_;
    TMouseWheelEvent onMouseWheel_;
    TScrollRange scroll_[2];
    TScrollEvent onScroll_;
};

class TApplication : public TComponent {
public:
    TApplication() : TComponent(nullptr) {}

    void Initialize() {}

    // Makes a form owned by the application. The reference designates the new form
    // before its constructor runs, as forms may refer to themselves through it while
    // they are built. The first form made is the main form.
    template <class TFormClass>
    void CreateForm(TFormClass*& reference)
    {
        void* storage = ::operator new(sizeof(TFormClass));
        reference = static_cast<TFormClass*>(storage);
        try {
            new (storage) TFormClass(this);
        } catch (...) {
            reference = nullptr;
            ::operator delete(storage);
            throw;
        }
        if (!mainForm_)
            mainForm_ = reference;
    }

    // Shows the main form and runs the event loop until it is closed. What a handler or a
    // paint throws meanwhile is shown by HandleException, and the loop goes on.
    void Run();
    void ShowException(const Exception& e);
    // Shows any exception: an Exception as it is, running out of memory as EOutOfMemory,
    // anything else as an Exception with an empty message.
    void HandleException(std::exception_ptr error);
    // Full path of the running executable.
    std::string GetExeName() const;

    TForm* MainForm() const { return mainForm_; }
    // Destroys all forms; the application can then make new ones.
    void DestroyForms();

private:
    TForm* mainForm_ = nullptr;
};

extern TApplication* const Application;
