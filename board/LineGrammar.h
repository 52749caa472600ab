// Lines written so that the reader reads them back as meant: a value set in its entry line,
// a new entry, a PC section's header with another number. Each keeps the file's encoding and
// what the line held around the part it changes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "board/LineStore.h"

namespace board {

// The text in the file's encoding; nullopt when the encoding cannot hold it.
std::optional<std::string> Encoded(const TLineStore& lines, std::string_view text);

// Each nullopt when the line would not read back as meant, or the encoding cannot hold it.
// The entry line id with its value replaced by text.
std::optional<std::string> WithValue(const TLineStore& lines, std::uint32_t id, std::string_view text);
// An entry line "key=text".
std::optional<std::string> NewEntry(const TLineStore& lines, std::string_view key, std::string_view text);
// The PC section header with the number given.
std::optional<std::string> Renamed(const TLineStore& lines, std::uint32_t header, std::int64_t number);

}  // namespace board
