#include "platform/text/TextCodec.h"

#include <algorithm>
#include <cerrno>
#include <iconv.h>

namespace {

constexpr char kReplacementUtf8[] = "\xEF\xBF\xBD";
constexpr std::size_t kWindow = 1 << 15;

class TIconv {
public:
    TIconv(const char* to, const char* from) : handle_(iconv_open(to, from)) {}
    ~TIconv()
    {
        if (Ok())
            iconv_close(handle_);
    }
    TIconv(const TIconv&) = delete;
    TIconv& operator=(const TIconv&) = delete;
    bool Ok() const { return handle_ != reinterpret_cast<iconv_t>(-1); }
    iconv_t Handle() const { return handle_; }

private:
    iconv_t handle_;
};

// Without the gconv modules we still keep the ASCII, so keys and section names survive.
std::string AsciiOnly(std::string_view bytes)
{
    std::string result;
    result.reserve(bytes.size());
    for (const char c : bytes) {
        if (static_cast<unsigned char>(c) < 0x80)
            result += c;
        else
            result += kReplacementUtf8;
    }
    return result;
}

}  // namespace

std::string Big5ToUtf8(std::string_view bytes)
{
    TIconv converter("UTF-8", "CP950");
    if (!converter.Ok())
        return AsciiOnly(bytes);

    std::string result;
    result.reserve(bytes.size() + bytes.size() / 2);
    char* in = const_cast<char*>(bytes.data());  // iconv's signature; it does not write
    const char* const end = bytes.data() + bytes.size();
    char buffer[1 << 16];
    while (in != end) {
        // Input goes in windows so each call costs the same however much text follows.
        std::size_t inLeft = std::min(static_cast<std::size_t>(end - in), kWindow);
        char* out = buffer;
        std::size_t outLeft = sizeof buffer;
        const std::size_t done = iconv(converter.Handle(), &in, &inLeft, &out, &outLeft);
        result.append(buffer, static_cast<std::size_t>(out - buffer));
        if (done != static_cast<std::size_t>(-1) || errno == E2BIG)
            continue;
        if (errno == EINVAL && in + inLeft != end)
            continue;  // a character cut by the window, not by the end of the text
        // A bad or cut-off sequence: mark it and resynchronise on the next byte, so a
        // following ASCII byte is not lost.
        result += kReplacementUtf8;
        ++in;
        iconv(converter.Handle(), nullptr, nullptr, nullptr, nullptr);
    }
    return result;
}

bool Utf8ToBig5(std::string_view text, std::string& out)
{
    if (!IsValidUtf8(text))
        return false;
    TIconv converter("CP950", "UTF-8");  // no //TRANSLIT: a look-alike must not be written
    if (!converter.Ok()) {
        // Without the gconv modules only ASCII, which Big5 shares, can be written.
        out.assign(text);
        return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    }
    // No character takes more bytes in Big5 than in UTF-8.
    out.resize(text.size());
    char* in = const_cast<char*>(text.data());  // iconv's signature; it does not write
    std::size_t inLeft = text.size();
    char* written = out.data();
    std::size_t outLeft = out.size();
    if (iconv(converter.Handle(), &in, &inLeft, &written, &outLeft) == static_cast<std::size_t>(-1))
        return false;
    out.resize(out.size() - outLeft);
    // glibc drops some characters silently (the language tags), and its table may differ
    // from Windows' here and there: only what reads back exactly is written.
    return Big5ToUtf8(out) == text;
}
