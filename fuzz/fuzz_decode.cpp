// The text decoders: DecodeText always gives valid UTF-8, the UTF-8 / UTF-16 conversions
// agree with each other and with a reference validator, Big5 keeps what it must keep.
#include <algorithm>
#include <cstdint>
#include <string>

#include "FuzzSupport.h"
#include "TextCodec.h"

namespace {

// Decodes the scalar value first and only then judges it, unlike the table-driven
// validator under test.
bool ReferenceValidUtf8(std::string_view s)
{
    std::size_t i = 0;
    while (i < s.size()) {
        const auto lead = static_cast<unsigned char>(s[i]);
        int length;
        char32_t cp;
        if (lead < 0x80) {
            ++i;
            continue;
        } else if ((lead & 0xE0) == 0xC0) {
            length = 2;
            cp = lead & 0x1F;
        } else if ((lead & 0xF0) == 0xE0) {
            length = 3;
            cp = lead & 0x0F;
        } else if ((lead & 0xF8) == 0xF0) {
            length = 4;
            cp = lead & 0x07;
        } else {
            return false;
        }
        if (s.size() - i < static_cast<std::size_t>(length))
            return false;
        for (int k = 1; k < length; ++k) {
            const auto c = static_cast<unsigned char>(s[i + k]);
            if ((c & 0xC0) != 0x80)
                return false;
            cp = (cp << 6) | (c & 0x3F);
        }
        static constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
        if (cp < kSmallest[length] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        i += static_cast<std::size_t>(length);
    }
    return true;
}

// The units with every unpaired surrogate replaced, as a UTF-8 round trip must give them.
std::u16string WithoutUnpairedSurrogates(std::u16string_view units)
{
    std::u16string out;
    for (std::size_t i = 0; i < units.size(); ++i) {
        const char16_t u = units[i];
        if (u >= 0xD800 && u <= 0xDBFF && i + 1 < units.size() && units[i + 1] >= 0xDC00 && units[i + 1] <= 0xDFFF) {
            out += u;
            out += units[++i];
        } else if (u >= 0xD800 && u <= 0xDFFF) {
            out += char16_t{0xFFFD};
        } else {
            out += u;
        }
    }
    return out;
}

std::u16string Units(std::string_view bytes, bool bigEndian)
{
    std::u16string units;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const auto a = static_cast<unsigned char>(bytes[i]), b = static_cast<unsigned char>(bytes[i + 1]);
        units += static_cast<char16_t>(bigEndian ? (a << 8 | b) : (b << 8 | a));
    }
    return units;
}

bool StartsWith(std::string_view s, std::string_view prefix) { return s.substr(0, prefix.size()) == prefix; }

std::size_t CountByte(std::string_view s, char c) { return static_cast<std::size_t>(std::count(s.begin(), s.end(), c)); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes = fuzz::Text(data, size);
    const bool valid = IsValidUtf8(bytes);
    FUZZ_CHECK(valid == ReferenceValidUtf8(bytes));

    // Whole-file decoding: always valid UTF-8, and the encoding the leading bytes name.
    TTextEncoding encoding = TTextEncoding::Utf8;
    const std::string text = DecodeText(std::string(bytes), &encoding);
    FUZZ_CHECK(IsValidUtf8(text));
    if (StartsWith(bytes, "\xEF\xBB\xBF")) {
        FUZZ_CHECK(encoding == TTextEncoding::Utf8Bom);
        if (IsValidUtf8(bytes.substr(3)))
            FUZZ_CHECK(text == bytes.substr(3));
    } else if (StartsWith(bytes, "\xFF\xFE") || StartsWith(bytes, "\xFE\xFF")) {
        const bool bigEndian = bytes[0] == '\xFE';
        FUZZ_CHECK(encoding == (bigEndian ? TTextEncoding::Utf16BE : TTextEncoding::Utf16LE));
        FUZZ_CHECK(text == Utf16ToUtf8(Units(bytes.substr(2), bigEndian)));
    } else if (valid) {
        FUZZ_CHECK(encoding == TTextEncoding::Utf8);
        FUZZ_CHECK(text == bytes);
    } else {
        FUZZ_CHECK(encoding == TTextEncoding::Big5);
        FUZZ_CHECK(text == Big5ToUtf8(bytes));
    }

    // UTF-8 to UTF-16 and back: valid text comes back unchanged, anything else exactly as
    // the repair of a file marked UTF-8 gives it (one U+FFFD per bad sequence in both).
    const std::u16string wide = Utf8ToUtf16(bytes);
    const std::string back = Utf16ToUtf8(wide);
    FUZZ_CHECK(IsValidUtf8(back));
    if (valid)
        FUZZ_CHECK(back == bytes);
    FUZZ_CHECK(back == DecodeText("\xEF\xBB\xBF" + std::string(bytes)));
    FUZZ_CHECK(Utf16ToUtf8(Utf8ToUtf16(text)) == text);

    // The bytes as UTF-16 units: valid UTF-8 out, and back again with only the unpaired
    // surrogates replaced.
    const std::u16string units = Units(bytes, false);
    const std::string fromUnits = Utf16ToUtf8(units);
    FUZZ_CHECK(IsValidUtf8(fromUnits));
    FUZZ_CHECK(Utf8ToUtf16(fromUnits) == WithoutUnpairedSurrogates(units));

    // Big5: valid UTF-8; bytes below 0x40 are never half of a character, so they all come
    // through; pure ASCII comes through unchanged.
    const std::string big5 = Big5ToUtf8(bytes);
    FUZZ_CHECK(IsValidUtf8(big5));
    for (const char low : {'\0', '\n', '\r', ' ', '=', ';'})
        FUZZ_CHECK(CountByte(big5, low) == CountByte(bytes, low));
    if (std::all_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
        FUZZ_CHECK(big5 == bytes);
    // Conversion goes through internal windows: the same bytes placed across a window
    // boundary (after ASCII, which ends any character) must convert the same.
    const std::size_t shift = size == 0 ? 0 : data[0] % 8;
    const std::string padding((1u << 15) - shift, 'a');
    FUZZ_CHECK(Big5ToUtf8(padding + std::string(bytes)) == padding + big5);
    return 0;
}
