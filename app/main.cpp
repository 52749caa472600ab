#include <windows.h>

#include "app/Startup.h"
#include "app/WinEntry.h"
#include "ui/Unit1.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    LoadDllsFromSystemOnly();
    return RunApplication(Form1);
}
