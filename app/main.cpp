#include <windows.h>

#include "Startup.h"
#include "Unit1.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    return RunApplication(Form1);
}
