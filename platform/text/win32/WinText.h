// UTF-8 inside, UTF-16 at the Win32 boundary.
#pragma once

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
