#include <windows.h>

#include <cstdlib>

#include "app/Startup.h"
#include "app/WinEntry.h"
#include "board/BoardFile.h"
#include "editor/EditForm.h"
#include "editor/EditOpening.h"
#include "platform/text/TextCodec.h"

// boardedit [FILE]: FILE, or sys.ini beside the program.
int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    LoadDllsFromSystemOnly();
    const std::string path = __argc > 1 ? Utf16ToUtf8(reinterpret_cast<const char16_t*>(__wargv[1]))
                                        : board::FilePath(Application->GetExeName());
    EditOpened = editor::OpenForEditing(path);
    if (!EditOpened)
        return 0;  // a board that could not be read, and the user gave up on it
    return RunApplication(EditForm);
}
