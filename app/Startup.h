// The process entry: make the main form, run the loop, show what went wrong.
#pragma once

#include <exception>

#include "platform/forms/Forms.h"

// Always returns 0: the exit code does not tell success from failure.
template <class TMainForm>
int RunApplication(TMainForm*& mainForm)
{
    try {
        try {
            Application->Initialize();
            Application->CreateForm(mainForm);
            Application->Run();
        } catch (...) {
            Application->HandleException(std::current_exception());
        }
    } catch (...) {
        // Showing the message failed as well; there is nobody left to tell.
    }
    Application->DestroyForms();
    mainForm = nullptr;
    return 0;
}
