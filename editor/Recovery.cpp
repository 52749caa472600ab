#include "editor/Recovery.h"

#include "platform/text/FileSystem.h"

#include <charconv>
#include <system_error>

#include "platform/text/FileRead.h"
#include "platform/text/SafeSave.h"

namespace editor {
namespace {

constexpr std::string_view kHeading = "boardedit recovery\r\n";

// A part: its name and size on a line, then its bytes; "none" for no bytes at all.
void AddPart(std::string& out, std::string_view name, const std::optional<std::string>& bytes)
{
    out.append(name).append(" ").append(bytes ? std::to_string(bytes->size()) : "none").append("\r\n");
    if (bytes)
        out.append(*bytes);
}

// Reads a part at the front of rest, leaving what follows; false for anything else.
bool TakePart(std::string_view& rest, std::string_view name, std::optional<std::string>& bytes)
{
    const std::size_t end = rest.find("\r\n");
    if (end == std::string_view::npos || !rest.starts_with(name) || rest.size() <= name.size() ||
        rest[name.size()] != ' ')
        return false;
    const std::string_view size = rest.substr(name.size() + 1, end - name.size() - 1);
    rest.remove_prefix(end + 2);
    if (size == "none") {
        bytes.reset();
        return true;
    }
    std::size_t n = 0;
    const auto [at, error] = std::from_chars(size.data(), size.data() + size.size(), n);
    if (error != std::errc() || at != size.data() + size.size() || n > rest.size())
        return false;
    bytes = std::string(rest.substr(0, n));
    rest.remove_prefix(n);
    return true;
}

}  // namespace

std::string RecoveryPath(const std::string& boardPath)
{
    return boardPath + ".recovery";
}

std::string EncodeRecovery(const TRecovery& recovery)
{
    std::string out(kHeading);
    AddPart(out, "opened", recovery.asOpened);
    AddPart(out, "edited", recovery.edited);
    return out;
}

std::optional<TRecovery> DecodeRecovery(std::string_view bytes)
{
    if (!bytes.starts_with(kHeading))
        return std::nullopt;
    bytes.remove_prefix(kHeading.size());
    TRecovery recovery;
    std::optional<std::string> edited;
    if (!TakePart(bytes, "opened", recovery.asOpened) || !TakePart(bytes, "edited", edited) || !edited ||
        !bytes.empty())
        return std::nullopt;
    recovery.edited = std::move(*edited);
    return recovery;
}

bool KeepRecovery(const std::string& boardPath, const TRecovery& recovery)
{
    const std::string path = RecoveryPath(boardPath);
    std::string before, why;
    std::optional<std::string_view> there;
    switch (ReadFileIfThere(path, before, why)) {
    case TFileRead::Read:
        there = before;
        break;
    case TFileRead::Missing:
        break;
    case TFileRead::Folder:
    case TFileRead::Failed:
        return false;
    }
    return SaveFile(path, EncodeRecovery(recovery), there, TBackup::None).Saved();
}

std::optional<TRecovery> FindRecovery(const std::string& boardPath)
{
    std::string bytes, why;
    if (ReadFileIfThere(RecoveryPath(boardPath), bytes, why) != TFileRead::Read)
        return std::nullopt;
    return DecodeRecovery(bytes);
}

void DropRecovery(const std::string& boardPath)
{
    RemoveFile(RecoveryPath(boardPath));  // false: already gone, or kept for the user to remove
}

}  // namespace editor
