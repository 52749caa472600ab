// The application's services on Windows that the backend's own windows call.
#pragma once

#include <exception>

namespace win32 {

// Keeps what a window procedure threw until the loop can show it (see RunMessageLoop).
void DeferError(std::exception_ptr error);

}  // namespace win32
