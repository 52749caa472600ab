#include "editor/EditOpening.h"

#include <new>
#include <stdexcept>

#include "editor/EditorTexts.h"
#include "platform/forms/Dialogs.h"

namespace editor {
namespace {

// The board read, or nullptr with the reason it could not be.
std::unique_ptr<TEditSession> TryOpening(const std::string& path, std::string& why)
{
    try {
        auto session = std::make_unique<TEditSession>(path);
        if (session->Opening() != TOpening::Unreadable)
            return session;
        why = session->WhyUnreadable();
    } catch (const std::bad_alloc&) {
        why = Text(TText::TooLarge);
    } catch (const std::length_error&) {
        why = Text(TText::TooLarge);
    }
    return nullptr;
}

}  // namespace

std::unique_ptr<TEditSession> OpenForEditing(const std::string& path)
{
    std::unique_ptr<TEditSession> session;
    for (std::string why; !(session = TryOpening(path, why));)
        if (MessageDlg(Text(TText::Unreadable, {path, why}), Text(TText::AppName), mbRetryCancel, mtError) != mrRetry)
            return nullptr;

    std::optional<TRecovery> kept = FindRecovery(path);
    if (!kept)
        return session;
    if (kept->edited == session->Editor().Document().Bytes()) {
        DropRecovery(path);  // nothing in it that the file lacks
        return session;
    }
    if (MessageDlg(Text(TText::OfferRecovery, {path}), Text(TText::AppName), mbYesNo, mtWarning) != mrYes) {
        DropRecovery(path);
        return session;
    }
    return std::make_unique<TEditSession>(path, std::move(*kept));
}

}  // namespace editor
