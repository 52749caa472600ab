// A form built from its layout: the layout read into a design (FormDesign.h), then its
// objects made and bound to the form's published fields and methods by name.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/design/FormDesign.h"
#include "platform/forms/Forms.h"

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

// Builds the form's window and controls from a layout and binds them to the published fields
// and methods. Throws Exception when the layout is wrong (see ReadFormDesign), or names a
// field, class or handler that the form lacks, or leaves a field unbound.
void LoadLayout(TForm& form, std::string_view layoutText, const TPublished& published);
