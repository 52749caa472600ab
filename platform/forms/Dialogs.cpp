#include "platform/forms/Dialogs.h"

#include "platform/forms/Backend.h"

TModalResult MessageDlg(const std::string& text, const std::string& caption, TMsgDlgButtons buttons, TMsgDlgType type)
{
    return backend::MessageDialog(text, caption, buttons, type);
}

std::optional<std::string> PromptForSaveFileName(const std::string& title, const std::string& initialPath,
                                                 const std::string& filter, const std::string& defaultExtension)
{
    return backend::SaveFileDialog(title, initialPath, filter, defaultExtension);
}
