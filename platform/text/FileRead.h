// Reading a whole file, and what lies at a path, implemented per OS.
#pragma once

#include <string>

// Reads the file at a UTF-8 path into bytes, opening it read-only and letting others keep
// writing or deleting it. On any failure (missing, a directory, unreadable) returns false
// and leaves bytes empty; errno (GetLastError() on Windows) then says why, but for a directory.
bool ReadWholeFile(const std::string& path, std::string& bytes);

// How reading a file that may not be there went.
enum class TFileRead { Read, Missing, Failed };

// As ReadWholeFile, telling a file that is not there (nor the folder it would be in) from one
// there that could not be read: why then holds the system's words for it.
TFileRead ReadFileIfThere(const std::string& path, std::string& bytes, std::string& why);

enum class TPathKind { Missing, Folder, Other };
// What lies at a UTF-8 path: nothing (the path or a folder on it does not exist), a folder, or
// anything else, including what cannot be told.
TPathKind PathKind(const std::string& path);
