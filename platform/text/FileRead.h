// Reading a whole file, implemented per OS.
#pragma once

#include <string>

// Reads the file at a UTF-8 path into bytes, opening it read-only and letting others keep
// writing or deleting it. On any failure (missing, a directory, unreadable) returns false
// and leaves bytes empty; errno (GetLastError() on Windows) then says why, but for a directory.
bool ReadWholeFile(const std::string& path, std::string& bytes);
