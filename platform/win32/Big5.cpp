#include "platform/TextCodec.h"

#include <windows.h>

namespace {

constexpr UINT kBig5CodePage = 950;
constexpr std::size_t kRunLimit = std::size_t(1) << 20;
constexpr char kReplacement[] = "\xEF\xBF\xBD";

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
        result += static_cast<unsigned char>(c) < 0x80 ? std::string_view(&c, 1) : std::string_view(kReplacement);
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
            result += kReplacement;
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
