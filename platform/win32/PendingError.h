// What a window procedure threw, kept until the event loop can show it: a C++ exception must
// not unwind through the system's frames (in 32-bit code it cannot: it ends in terminate).
#pragma once

#include <exception>

namespace win32 {

// Keeps the error and wakes the loop. One at a time: a failure that comes while one waits
// (or while its box is up) would only repeat it.
void DeferError(std::exception_ptr error);
// The error kept, now forgotten; none when nothing failed.
std::exception_ptr TakeDeferredError();

}  // namespace win32
