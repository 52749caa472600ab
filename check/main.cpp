// boardcheck [--svg PICTURE.svg] [--json] [sys.ini]: reads a board file as the status board
// does and reports what it would silently skip. Exit code 0: nothing to report, 1: findings,
// 2: the file cannot be read or the command line is wrong.
#include <cstdio>
#include <string>
#include <vector>

#include "check/BoardCheck.h"
#include "check/ExitCode.h"
#include "platform/text/FileRead.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#endif

namespace {

using check::TMsg;

// Writes the whole file at a UTF-8 path, with the C library alone: streams and paths would
// bring their locales along, four times the size of the rest of the program.
bool WriteWholeFile(const std::string& path, const std::string& bytes)
{
#ifdef _WIN32
    FILE* file = _wfopen(reinterpret_cast<const wchar_t*>(Utf8ToUtf16(path).c_str()), L"wb");
#else
    FILE* file = std::fopen(path.c_str(), "wb");
#endif
    if (!file)
        return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}

// UTF-8 to files and pipes, as on Linux; a Windows console gets UTF-16, whatever its code page.
void Print(FILE* stream, const std::string& text)
{
#ifdef _WIN32
    HANDLE handle = GetStdHandle(stream == stderr ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE);
    DWORD mode = 0;
    if (GetConsoleMode(handle, &mode)) {
        const std::u16string wide = Utf8ToUtf16(text);
        DWORD written = 0;
        WriteConsoleW(handle, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
        return;
    }
    _setmode(_fileno(stream), _O_BINARY);
#endif
    std::fwrite(text.data(), 1, text.size(), stream);
    std::fflush(stream);
}

int Fail(TMsg msg, TLanguage language, std::string_view arg = {}, std::string_view reason = {})
{
    Print(stderr, "boardcheck: " + check::Text(msg, language, {arg, reason}) + "\n");
    return 2;
}

int Run(const std::vector<std::string>& args)
{
    const TLanguage language = UserLanguage();
    std::string file = "sys.ini", svg;
    bool json = false, haveFile = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--json") {
            json = true;
        } else if (args[i] == "--svg" && i + 1 < args.size()) {
            svg = args[++i];
        } else if (args[i].rfind("--", 0) == 0 || haveFile) {
            return Fail(TMsg::Usage, language);
        } else {
            file = args[i];
            haveFile = true;
        }
    }
    std::string bytes, why;
    switch (ReadFileIfThere(file, bytes, why)) {
    case TFileRead::Read:
        break;
    case TFileRead::Missing:
        return Fail(TMsg::NoFile, language, file);
    case TFileRead::Folder:
        return Fail(TMsg::IsDirectory, language, file);
    case TFileRead::Failed:
        return Fail(TMsg::Unreadable, language, file, why);
    }
    const check::TBoardCheck result = check::CheckBoard(std::move(bytes), file);
    if (!svg.empty() && !WriteWholeFile(svg, check::SvgPicture(result)))
        return Fail(TMsg::CannotWrite, language, svg);
    Print(stdout, json ? check::JsonReport(result, file, language) : check::TextReport(result, file, language));
    return check::ExitCode(result);
}

}  // namespace

#ifdef _WIN32
int wmain(int argc, wchar_t** argv)
{
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i)
        args.push_back(Utf16ToUtf8(reinterpret_cast<const char16_t*>(argv[i])));
    return Run(args);
}
#else
int main(int argc, char** argv)
{
    return Run(std::vector<std::string>(argv + 1, argv + argc));
}
#endif
