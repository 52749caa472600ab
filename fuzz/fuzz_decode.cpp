// The text decoders: DecodeText gives valid UTF-8 in the encoding the leading bytes name,
// UTF-8 and UTF-16 convert both ways without loss, Big5 gives valid UTF-8.
#include "fuzz/FuzzSupport.h"
#include "platform/text/TextCodec.h"

static std::u16string Units(std::string_view bytes, bool bigEndian)
{
    std::u16string units(bytes.size() / 2, u'\0');
    for (std::size_t i = 0; i < units.size(); ++i)
        units[i] = static_cast<char16_t>(std::uint8_t(bytes[2 * i + !bigEndian]) << 8 |
                                         std::uint8_t(bytes[2 * i + bigEndian]));
    return units;
}

// The units with every unpaired surrogate replaced, as a UTF-8 round trip must give them.
static std::u16string Repaired(std::u16string u)
{
    for (std::size_t i = 0; i < u.size(); ++i)
        if (u[i] >= 0xD800 && u[i] <= 0xDBFF && i + 1 < u.size() && u[i + 1] >= 0xDC00 && u[i + 1] <= 0xDFFF)
            ++i;
        else if (u[i] >= 0xD800 && u[i] <= 0xDFFF)
            u[i] = 0xFFFD;
    return u;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string bytes(fuzz::Text(data, size));
    const bool valid = IsValidUtf8(bytes), bigEndian = bytes.starts_with("\xFE\xFF");
    TTextEncoding encoding = TTextEncoding::Utf8;
    const std::string text = DecodeText(bytes, &encoding);
    FUZZ_CHECK(IsValidUtf8(text));
    if (bytes.starts_with("\xEF\xBB\xBF"))
        FUZZ_CHECK(encoding == TTextEncoding::Utf8Bom && text == Utf16ToUtf8(Utf8ToUtf16(bytes.substr(3))));
    else if (bigEndian || bytes.starts_with("\xFF\xFE"))
        FUZZ_CHECK(encoding == (bigEndian ? TTextEncoding::Utf16BE : TTextEncoding::Utf16LE) &&
                   text == Utf16ToUtf8(Units(bytes.substr(2), bigEndian)));
    else
        FUZZ_CHECK(encoding == (valid ? TTextEncoding::Utf8 : TTextEncoding::Big5) &&
                   text == (valid ? bytes : Big5ToUtf8(bytes)));

    // UTF-8 there and back: only valid text unchanged, anything else as a BOM file's repair.
    const std::string back = Utf16ToUtf8(Utf8ToUtf16(bytes));
    FUZZ_CHECK(IsValidUtf8(back) && valid == (back == bytes) && back == DecodeText("\xEF\xBB\xBF" + bytes));
    // UTF-16 there and back: only unpaired surrogates change.
    const std::u16string units = Units(bytes, false);
    const std::string fromUnits = Utf16ToUtf8(units);
    FUZZ_CHECK(IsValidUtf8(fromUnits) && Utf8ToUtf16(fromUnits) == Repaired(units));

    // Big5: pure ASCII stays as it is, and a byte below 0x40 is never half of a character.
    const std::string big5 = Big5ToUtf8(bytes);
    FUZZ_CHECK(IsValidUtf8(big5));
    for (const char low : {'\0', '\n', '\r', '='})
        FUZZ_CHECK(std::count(big5.begin(), big5.end(), low) == std::count(bytes.begin(), bytes.end(), low));
    if (std::all_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<std::uint8_t>(c) < 0x80; }))
        FUZZ_CHECK(big5 == bytes);
    // The same bytes across an internal window boundary (after ASCII) convert the same.
    const std::string padding((1u << 15) - (size ? data[0] % 8 : 0), 'a');
    FUZZ_CHECK(Big5ToUtf8(padding + bytes) == padding + big5);
    return 0;
}
