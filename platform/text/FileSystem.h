// What little the programs ask of a file besides its bytes, implemented per OS.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

// A file's size and time of last writing, in the system's own units: equal again only while
// nobody wrote it, as far as a look without reading can tell.
struct TFileStamp {
    std::uint64_t size = 0;
    std::uint64_t written = 0;

    friend bool operator==(const TFileStamp&, const TFileStamp&) = default;
};

// The stamp of the file at a UTF-8 path; nullopt when there is none or it cannot be looked at.
std::optional<TFileStamp> FileStampOf(const std::string& path);

// Removes the file at a UTF-8 path; false when it could not (gone already, or in use).
bool RemoveFile(const std::string& path);
