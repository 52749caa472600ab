// Reading a whole file, and what lies at a path, implemented per OS.
#pragma once

#include <string>

// Reads the file at a UTF-8 path into bytes, opening it read-only and letting others keep
// writing or deleting it. On any failure (missing, a directory, unreadable) returns false
// and leaves bytes empty; errno (GetLastError() on Windows) then says why, but for a directory.
bool ReadWholeFile(const std::string& path, std::string& bytes);

// How reading a file that may not be there went.
enum class TFileRead { Read, Missing, Folder, Failed };

// As ReadWholeFile, telling a file that is not there (nor the folder it would be in) and a
// folder from a file there that could not be read: for both, why holds the system's words, as
// they go inside a sentence. Only "not found" means missing: a drive or share that cannot
// be reached is a failure, never taken for no file.
TFileRead ReadFileIfThere(const std::string& path, std::string& bytes, std::string& why);
