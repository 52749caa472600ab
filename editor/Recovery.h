// Work kept beside a board when the Windows session ended before it could be saved, so that
// the next start on that board can offer it back.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace editor {

struct TRecovery {
    // The board as the session knew it on disk (nullopt: there was no file), so that a save
    // of the recovered work is still refused over someone else's.
    std::optional<std::string> asOpened;
    std::string edited;  // the board as edited

    friend bool operator==(const TRecovery&, const TRecovery&) = default;
};

// Beside the board: sys.ini.recovery.
std::string RecoveryPath(const std::string& boardPath);

// The file's bytes, and back; nullopt for bytes that are not a whole recovery.
std::string EncodeRecovery(const TRecovery& recovery);
std::optional<TRecovery> DecodeRecovery(std::string_view bytes);

// Written in one step over any before it; false when it could not be.
bool KeepRecovery(const std::string& boardPath, const TRecovery& recovery);
// What is kept for the board, if anything readable is.
std::optional<TRecovery> FindRecovery(const std::string& boardPath);
void DropRecovery(const std::string& boardPath);

}  // namespace editor
