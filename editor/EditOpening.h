// Opening the board the editor was started for, before its window is made.
#pragma once

#include <memory>
#include <string>

#include "editor/EditSession.h"

namespace editor {

// While a file is there that cannot be read, says why and offers Retry and Cancel; then offers
// back work kept when a session of Windows ended. nullptr: the user cancelled. The editor then
// ends rather than show an empty board: it was started for that board, and an empty one in its
// place invites work that could never go into it.
std::unique_ptr<TEditSession> OpenForEditing(const std::string& path);

}  // namespace editor
