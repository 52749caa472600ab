// Holds a file open as another program would, until it is ended:
//   hold_open SHARE-MODE FILE EVENT
// opens FILE for reading and writing with that sharing mode, then sets the named EVENT.
#include <windows.h>

#include <cwchar>

int wmain(int argc, wchar_t** argv)
{
    if (argc != 4)
        return 2;
    const HANDLE file = CreateFileW(argv[2], GENERIC_READ | GENERIC_WRITE, std::wcstoul(argv[1], nullptr, 10), nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    const HANDLE held = OpenEventW(EVENT_MODIFY_STATE, FALSE, argv[3]);
    if (file == INVALID_HANDLE_VALUE || !held || !SetEvent(held))
        return 1;
    Sleep(INFINITE);
    return 0;
}
