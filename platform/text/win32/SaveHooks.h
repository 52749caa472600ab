// The two calls of a save that put files in place, through pointers a test may set to make
// each of their failures happen.
#pragma once

#include <windows.h>

struct TSaveHooks {
    decltype(&ReplaceFileW) replaceFile = &ReplaceFileW;
    decltype(&MoveFileExW) moveFile = &MoveFileExW;
};

TSaveHooks& SaveHooks();
