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

#include "platform/Classes.h"
#include "platform/BoardModel.h"
#include "platform/Controls.h"
#include "platform/Graphics.h"
#include "platform/SysUtils.h"

class IFormPeer;

class TForm : public TComponent, public TControlParent, private IBoardStack {
public:
    explicit TForm(TComponent* owner);
    ~TForm() override;

    // Outer rectangle on the screen.
    std::int32_t Left() const { return left_; }
    std::int32_t Top() const { return top_; }
    std::int32_t Width() const { return width_; }
    std::int32_t Height() const { return height_; }
    void SetBounds(std::int32_t left, std::int32_t top, std::int32_t width, std::int32_t height);

    const std::string& Caption() const { return caption_; }
    void SetCaption(std::string caption);
    TColor Color() const { return color_; }
    void SetColor(TColor color);
    const TFont& Font() const { return font_; }
    void SetFont(TFont font);

    void Show();
    bool Visible() const { return visible_; }

    // The controls shown on the form, bottom first: the one added last is on top.
    const std::vector<TControl*>& Controls() const { return controls_; }
    // Makes room for that many more controls, for a form that knows how many come.
    void ReserveControls(std::size_t count) { controls_.reserve(controls_.size() + count); }

    // What the painted (windowless) controls show: their rectangles at a DPI, what of each
    // shows and which takes a point. Items are positions in Controls(); the native controls
    // are in the stack too, with empty rectangles.
    const TBoardModel& Board() const { return board_; }
    // The topmost painted control under a client-area point, or none. With a dpi, the point is
    // in pixels of a screen of that DPI.
    TControl* ControlAt(std::int64_t x, std::int64_t y, int dpi = kDesignDpi) const;
    // Where a control is in Controls(), or npos; a painted one is looked for only where it lies.
    std::size_t IndexOf(const TControl& control) const;
    // The controls with windows of their own, in the order they came.
    const std::vector<TControl*>& WindowedControls() const { return windowed_; }

    // The control the user selected last, or none; the form tells assistive technology.
    TControl* Selected() const { return selected_; }
    void SetSelected(TControl* control);

    // What assistive technology says of a control: its name (by default its text) and its
    // status (by default nothing), for a form that knows more about its controls.
    virtual std::string AccessibleName(const TControl& control) const;
    virtual std::string AccessibleStatus(const TControl& control) const;

    IFormPeer& Peer() const { return *peer_; }

private:
    // Kept up to date by the controls.
    void InsertControl(TControl& control) override;
    void RemoveControl(TControl& control) override;
    void ControlChanged(TControl& control, TControlChange change, const TRect64& oldBounds) override;
    void RefreshControl(TControl& control) override;
    bool LiveText(const TControl& control, std::string& text) const override;

    std::unique_ptr<IFormPeer> peer_;
    std::vector<TControl*> controls_;
    std::vector<TControl*> windowed_;
    TControl* selected_ = nullptr;
    std::size_t Count() const override { return controls_.size(); }
    TRect64 DesignRect(std::size_t item) const override;

    TBoardModel board_{*this};
    std::int32_t left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    std::string caption_;
    TColor color_ = clBtnFace;
    TFont font_;
    bool visible_ = false;
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
