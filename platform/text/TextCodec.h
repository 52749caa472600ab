// Recognising and converting the encodings our text files come in.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

enum class TTextEncoding { Utf8, Utf8Bom, Utf16LE, Utf16BE, Big5 };

// Decodes a whole file to UTF-8. A byte order mark picks UTF-8 or UTF-16 (LE/BE) and is
// dropped; without one, valid UTF-8 is kept as is and anything else is read as Big5 (code
// page 950), the common encoding of older files here. Never fails: what cannot be decoded
// becomes U+FFFD. Takes the bytes by value so plain UTF-8 is returned without a copy.
std::string DecodeText(std::string bytes, TTextEncoding* detected = nullptr);

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
bool IsValidUtf8(std::string_view bytes);

// An unpaired surrogate becomes U+FFFD.
std::string Utf16ToUtf8(std::u16string_view text);

// Each maximal ill-formed subsequence becomes one U+FFFD.
std::u16string Utf8ToUtf16(std::string_view text);

// Code unit i of UTF-16 bytes (no byte order mark) in the byte order given.
inline char16_t Utf16UnitAt(std::string_view bytes, std::size_t i, bool bigEndian)
{
    const auto a = static_cast<unsigned char>(bytes[2 * i]), b = static_cast<unsigned char>(bytes[2 * i + 1]);
    return static_cast<char16_t>(bigEndian ? a << 8 | b : b << 8 | a);
}

// UTF-16 bytes (no byte order mark) to UTF-8. A stray last byte is no character and is left
// out; an unpaired surrogate becomes U+FFFD.
std::string Utf16BytesToUtf8(std::string_view bytes, bool bigEndian);

// UTF-8 to UTF-16 bytes in the byte order given, without a byte order mark; ill-formed
// sequences as Utf8ToUtf16 takes them.
std::string Utf8ToUtf16Bytes(std::string_view text, bool bigEndian);

// Code page 950 to UTF-8; invalid bytes become U+FFFD. Implemented per OS.
std::string Big5ToUtf8(std::string_view bytes);

// UTF-8 to code page 950. False, with nothing promised in out, when a character has no Big5
// form (it is never replaced by '?' or a look-alike), or when the text is not valid UTF-8.
// Implemented per OS.
bool Utf8ToBig5(std::string_view text, std::string& out);
