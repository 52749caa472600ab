#include "platform/text/TextCodec.h"

#include <cstdint>
#include <cstring>

namespace {

constexpr char32_t kReplacement = 0xFFFD;

struct TUtf8Step {
    char32_t codePoint;
    std::size_t length;  // bytes consumed; for a bad sequence, its maximal ill-formed prefix
    bool valid;
};

// One step of a strict decoder. The allowed second-byte ranges exclude overlong forms,
// surrogates (ED A0..BF) and code points past U+10FFFF (F4 90..).
TUtf8Step DecodeUtf8Step(const unsigned char* p, const unsigned char* end)
{
    const unsigned lead = p[0];
    if (lead < 0x80)
        return {lead, 1, true};
    int trail;
    char32_t cp;
    unsigned lo = 0x80, hi = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        trail = 1;
        cp = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        trail = 2;
        cp = lead & 0x0F;
        if (lead == 0xE0)
            lo = 0xA0;
        else if (lead == 0xED)
            hi = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        trail = 3;
        cp = lead & 0x07;
        if (lead == 0xF0)
            lo = 0x90;
        else if (lead == 0xF4)
            hi = 0x8F;
    } else {
        return {kReplacement, 1, false};
    }
    std::size_t i = 1;
    for (; trail > 0; --trail, ++i) {
        if (p + i == end || p[i] < lo || p[i] > hi)
            return {kReplacement, i, false};
        lo = 0x80;
        hi = 0xBF;
        cp = (cp << 6) | (p[i] & 0x3F);
    }
    return {cp, i, true};
}

// Skips plain ASCII eight bytes at a time; most of our text is ASCII.
const unsigned char* SkipAscii(const unsigned char* p, const unsigned char* end)
{
    while (end - p >= 8) {
        std::uint64_t word;
        std::memcpy(&word, p, sizeof word);
        if (word & 0x8080808080808080ULL)
            break;
        p += 8;
    }
    while (p != end && *p < 0x80)
        ++p;
    return p;
}

std::size_t Utf8Length(char32_t cp)
{
    return cp < 0x80 ? 1 : cp < 0x800 ? 2 : cp < 0x10000 ? 3 : 4;
}

char* PutUtf8(char* out, char32_t cp)
{
    if (cp < 0x80) {
        *out++ = static_cast<char>(cp);
    } else if (cp < 0x800) {
        *out++ = static_cast<char>(0xC0 | (cp >> 6));
        *out++ = static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        *out++ = static_cast<char>(0xE0 | (cp >> 12));
        *out++ = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        *out++ = static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        *out++ = static_cast<char>(0xF0 | (cp >> 18));
        *out++ = static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        *out++ = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        *out++ = static_cast<char>(0x80 | (cp & 0x3F));
    }
    return out;
}

// Walks UTF-16 code units, pairing surrogates; unitAt(i) fetches unit i, so the same
// code serves a u16string and raw little- or big-endian file bytes.
template <class UnitAt, class Sink>
void WalkUtf16(std::size_t count, UnitAt unitAt, Sink sink)
{
    for (std::size_t i = 0; i < count; ++i) {
        const char32_t unit = unitAt(i);
        if (unit < 0xD800 || unit > 0xDFFF) {
            sink(unit);
        } else if (unit <= 0xDBFF && i + 1 < count) {
            const char32_t next = unitAt(i + 1);
            if (next >= 0xDC00 && next <= 0xDFFF) {
                sink(0x10000 + ((unit - 0xD800) << 10) + (next - 0xDC00));
                ++i;
            } else {
                sink(kReplacement);
            }
        } else {
            sink(kReplacement);
        }
    }
}

// Sizes the result first so a large file is converted into one exact allocation.
template <class UnitAt>
std::string Utf16UnitsToUtf8(std::size_t count, UnitAt unitAt)
{
    std::size_t size = 0;
    WalkUtf16(count, unitAt, [&](char32_t cp) { size += Utf8Length(cp); });
    std::string result(size, '\0');
    char* out = result.data();
    WalkUtf16(count, unitAt, [&](char32_t cp) { out = PutUtf8(out, cp); });
    return result;
}

// A file that declares UTF-8 may still hold damaged bytes; they must not reach callers.
std::string RepairUtf8(std::string_view bytes)
{
    std::string result;
    result.reserve(bytes.size() + bytes.size() / 2);
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto* end = p + bytes.size();
    char buffer[4];
    while (p != end) {
        const auto* ascii = SkipAscii(p, end);
        result.append(reinterpret_cast<const char*>(p), static_cast<std::size_t>(ascii - p));
        p = ascii;
        if (p == end)
            break;
        const TUtf8Step step = DecodeUtf8Step(p, end);
        if (step.valid)
            result.append(reinterpret_cast<const char*>(p), step.length);
        else
            result.append(buffer, PutUtf8(buffer, kReplacement));
        p += step.length;
    }
    return result;
}

bool StartsWith(const std::string& bytes, std::string_view mark)
{
    return bytes.size() >= mark.size() && std::string_view(bytes).substr(0, mark.size()) == mark;
}

}  // namespace

bool IsValidUtf8(std::string_view bytes)
{
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto* end = p + bytes.size();
    while (true) {
        p = SkipAscii(p, end);
        if (p == end)
            return true;
        const TUtf8Step step = DecodeUtf8Step(p, end);
        if (!step.valid)
            return false;
        p += step.length;
    }
}

std::string Utf16ToUtf8(std::u16string_view text)
{
    return Utf16UnitsToUtf8(text.size(), [text](std::size_t i) { return char32_t(text[i]); });
}

std::u16string Utf8ToUtf16(std::string_view text)
{
    std::u16string result;
    result.reserve(text.size());  // never more units than bytes
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const auto* end = p + text.size();
    while (p != end) {
        const TUtf8Step step = DecodeUtf8Step(p, end);
        if (step.codePoint >= 0x10000) {
            const char32_t v = step.codePoint - 0x10000;
            result.push_back(static_cast<char16_t>(0xD800 + (v >> 10)));
            result.push_back(static_cast<char16_t>(0xDC00 + (v & 0x3FF)));
        } else {
            result.push_back(static_cast<char16_t>(step.codePoint));
        }
        p += step.length;
    }
    return result;
}

std::string Utf16BytesToUtf8(std::string_view bytes, bool bigEndian)
{
    const std::size_t count = bytes.size() / 2;
    if (bigEndian)
        return Utf16UnitsToUtf8(count, [bytes](std::size_t i) { return char32_t(Utf16UnitAt(bytes, i, true)); });
    return Utf16UnitsToUtf8(count, [bytes](std::size_t i) { return char32_t(Utf16UnitAt(bytes, i, false)); });
}

std::string Utf8ToUtf16Bytes(std::string_view text, bool bigEndian)
{
    const std::u16string units = Utf8ToUtf16(text);
    std::string bytes(2 * units.size(), '\0');
    for (std::size_t i = 0; i < units.size(); ++i) {
        const char lo = static_cast<char>(units[i] & 0xFF), hi = static_cast<char>(units[i] >> 8);
        bytes[2 * i] = bigEndian ? hi : lo;
        bytes[2 * i + 1] = bigEndian ? lo : hi;
    }
    return bytes;
}

std::string DecodeText(std::string bytes, TTextEncoding* detected)
{
    TTextEncoding encoding;
    std::string text;
    if (StartsWith(bytes, "\xEF\xBB\xBF")) {
        encoding = TTextEncoding::Utf8Bom;
        const std::string_view body = std::string_view(bytes).substr(3);
        if (IsValidUtf8(body)) {
            bytes.erase(0, 3);
            text = std::move(bytes);
        } else {
            text = RepairUtf8(body);
        }
    } else if (StartsWith(bytes, "\xFF\xFE")) {
        encoding = TTextEncoding::Utf16LE;
        text = Utf16BytesToUtf8(std::string_view(bytes).substr(2), false);
    } else if (StartsWith(bytes, "\xFE\xFF")) {
        encoding = TTextEncoding::Utf16BE;
        text = Utf16BytesToUtf8(std::string_view(bytes).substr(2), true);
    } else if (IsValidUtf8(bytes)) {
        encoding = TTextEncoding::Utf8;
        text = std::move(bytes);
    } else {
        encoding = TTextEncoding::Big5;
        text = Big5ToUtf8(bytes);
    }
    if (detected)
        *detected = encoding;
    return text;
}
