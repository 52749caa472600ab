#include "platform/text/TextCodec.h"

#include <windows.h>

#include <climits>

namespace {

constexpr UINT kBig5CodePage = 950;
constexpr std::size_t kRunLimit = std::size_t(1) << 20;
constexpr char kReplacementUtf8[] = "\xEF\xBF\xBD";

bool IsLead(unsigned char c)
{
    return c >= 0x81 && c <= 0xFE;
}
bool IsTrail(unsigned char c)
{
    return (c >= 0x40 && c <= 0x7E) || (c >= 0xA1 && c <= 0xFE);
}

// Converts bytes that hold only whole characters.
void AppendRun(std::string_view run, std::u16string& wide, std::string& result)
{
    if (run.empty())
        return;
    const int length = static_cast<int>(run.size());
    const int units = MultiByteToWideChar(kBig5CodePage, 0, run.data(), length, nullptr, 0);
    if (units > 0) {
        wide.resize(static_cast<std::size_t>(units));
        if (MultiByteToWideChar(kBig5CodePage, 0, run.data(), length, reinterpret_cast<LPWSTR>(wide.data()), units) ==
            units) {
            result += Utf16ToUtf8(wide);
            return;
        }
    }
    // The code page is missing: keep at least the ASCII, which carries the file's structure.
    for (const char c : run)
        result += static_cast<unsigned char>(c) < 0x80 ? std::string_view(&c, 1) : std::string_view(kReplacementUtf8);
}

}  // namespace

// Windows would take a lead byte and whatever follows as one character, swallowing a line
// end after a stray lead byte. Broken sequences are therefore cut out here, one byte each,
// and only whole characters are handed to the system, in runs of bounded size.
std::string Big5ToUtf8(std::string_view bytes)
{
    std::string result;
    result.reserve(bytes.size() + bytes.size() / 2);
    std::u16string wide;
    std::size_t runBegin = 0;
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        std::size_t width = 1;
        bool valid = c != 0xFF;
        if (IsLead(c)) {
            valid = i + 1 < bytes.size() && IsTrail(static_cast<unsigned char>(bytes[i + 1]));
            width = valid ? 2 : 1;
        }
        if (!valid) {
            AppendRun(bytes.substr(runBegin, i - runBegin), wide, result);
            result += kReplacementUtf8;
            runBegin = i + 1;
        } else if (i + width - runBegin >= kRunLimit) {
            AppendRun(bytes.substr(runBegin, i + width - runBegin), wide, result);
            runBegin = i + width;
        }
        i += width;
    }
    AppendRun(bytes.substr(runBegin), wide, result);
    return result;
}

bool Utf8ToBig5(std::string_view text, std::string& out)
{
    out.clear();
    if (!IsValidUtf8(text))
        return false;
    const std::u16string wide = Utf8ToUtf16(text);
    if (wide.empty())
        return true;  // the system calls fail on empty input
    if (wide.size() > INT_MAX)
        return false;  // beyond what one call takes
    const auto units = static_cast<int>(wide.size());
    const auto* source = reinterpret_cast<LPCWSTR>(wide.data());
    BOOL usedDefault = FALSE;
    const auto convert = [&](char* bytes, int size) {
        return WideCharToMultiByte(kBig5CodePage, WC_NO_BEST_FIT_CHARS, source, units, bytes, size, nullptr,
                                   &usedDefault);
    };
    const int size = convert(nullptr, 0);
    if (size <= 0 || usedDefault)
        return false;
    out.resize(static_cast<std::size_t>(size));
    if (convert(out.data(), size) != size || usedDefault)
        return false;
    // Only what reads back exactly is written: this keeps out any best-fit mapping a Windows
    // or Wine version may still make, and U+F8F8, which becomes the byte 0xFF read as U+FFFD.
    return Big5ToUtf8(out) == text;
}
