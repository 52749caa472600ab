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
#include "platform/ControlIndex.h"
#include "platform/Controls.h"
#include "platform/Graphics.h"
#include "platform/SysUtils.h"

class IFormPeer;

struct TFont {
    std::string Name = "MS Sans Serif";
    std::int32_t Height = -11;  // negative: character height in pixels
    TColor Color = clWindowText;
    int Charset = 1;  // DEFAULT_CHARSET
};

// What a form class publishes to its layout: fields bound to the layout's objects by name
// (with the class they must have), and methods bound to the layout's events by name.
struct TPublishedField {
    std::string name;
    // Stores the component in the field; false when it has the wrong class.
    std::function<bool(TComponent*)> bind;
};

struct TPublishedMethod {
    std::string name;
    TNotifyEvent handler;
};

struct TPublished {
    std::string className;  // the class the layout's root object must name
    std::vector<TPublishedField> fields;
    std::vector<TPublishedMethod> methods;
};

// A field entry that accepts only components of the field's own class.
template <class T>
TPublishedField PublishedField(std::string name, T*& field)
{
    return {std::move(name), [&field](TComponent* c) {
                auto* typed = dynamic_cast<T*>(c);
                if (typed)
                    field = typed;
                return typed != nullptr;
            }};
}

class TForm : public TComponent, public TControlParent {
public:
    explicit TForm(TComponent* owner);
    ~TForm() override;

    // Builds the window and its controls from a layout (see Layout.h) and binds them to the
    // published fields and methods. Throws Exception when the layout names a field, class,
    // property or handler that does not exist, or leaves a field unbound.
    void LoadLayout(std::string_view layoutText, const TPublished& published);

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

    // The topmost painted (windowless) control under a client-area point, or none. With a
    // dpi, the point is in pixels of a screen of that DPI.
    TControl* ControlAt(std::int64_t x, std::int64_t y, int dpi = kDesignDpi) const;
    // Calls fn for every painted control whose rectangle meets the area, bottom first.
    void ForEachPaintedIn(const TRect64& area, const std::function<void(TControl&)>& fn, int dpi = kDesignDpi) const;

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
    mutable TControlIndex index_;
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
