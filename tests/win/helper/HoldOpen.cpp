// Holds a file open as another program would, until it is ended or for a while:
//   hold_open SHARE-MODE FILE EVENT [MILLISECONDS]
// opens FILE for reading and writing with that sharing mode, then sets the named EVENT.
#include <windows.h>

#include <cwchar>

int wmain(int argc, wchar_t** argv)
{
    if (argc != 4 && argc != 5)
        return 2;
    const HANDLE file = CreateFileW(argv[2], GENERIC_READ | GENERIC_WRITE, std::wcstoul(argv[1], nullptr, 10), nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    const HANDLE held = OpenEventW(EVENT_MODIFY_STATE, FALSE, argv[3]);
    if (file == INVALID_HANDLE_VALUE || !held || !SetEvent(held))
        return 1;
    Sleep(argc == 5 ? std::wcstoul(argv[4], nullptr, 10) : INFINITE);
    return 0;
}
