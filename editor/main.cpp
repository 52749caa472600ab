#include <windows.h>

#include <cstdlib>

#include "app/Startup.h"
#include "app/WinEntry.h"
#include "editor/EditForm.h"
#include "platform/text/TextCodec.h"

// boardedit [FILE]: FILE, or sys.ini beside the program.
int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    LoadDllsFromSystemOnly();
    if (__argc > 1)
        EditFilePath = Utf16ToUtf8(reinterpret_cast<const char16_t*>(__wargv[1]));
    return RunApplication(EditForm);
}
