// UTF-8 inside, UTF-16 at the Win32 boundary.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "platform/text/TextCodec.h"

inline std::wstring ToWide(std::string_view text)
{
    const std::u16string u = Utf8ToUtf16(text);
    return std::wstring(u.begin(), u.end());
}

inline std::string FromWide(std::wstring_view text)
{
    return Utf16ToUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(text.data()), text.size()));
}

// The system's message, without the line end and full stop, as it goes inside a sentence.
inline std::string SystemText(DWORD code)
{
    wchar_t* text = nullptr;
    const DWORD length =
        FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, code, 0, reinterpret_cast<LPWSTR>(&text), 0, nullptr);
    // std::to_wstring would bring the C library's whole wide printf along, floating point and all.
    std::wstring words = length ? std::wstring(text, length) : ToWide("error " + std::to_string(code));
    LocalFree(text);
    words.erase(words.find_last_not_of(L" \r\n.\u3002") + 1);
    return FromWide(words);
}
