// Text that glibc's code page 950 and Windows' both write as Big5, with the bytes, and text
// both refuse: one table for both systems, so that they write the same files.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/text/TextCodec.h"

namespace psbtest {

using std::string_view_literals::operator""sv;

inline constexpr std::pair<std::string_view, std::string_view> kBig5Written[] = {
    {"", ""},
    {"[PC01]\r\nName=PC-01\0;~"sv, "[PC01]\r\nName=PC-01\0;~"sv},
    {"機房看板", "\xBE\xF7\xA9\xD0\xAC\xDD\xAA\x4F"},
    {"電腦=故障中", "\xB9\x71\xB8\xA3=\xAC\x47\xBB\xD9\xA4\xA4"},
    {"一號機", "\xA4\x40\xB8\xB9\xBE\xF7"},
    {"ＰＣ０１，　（～）", "\xA2\xDE\xA2\xD1\xA2\xAF\xA2\xB0\xA1\x41\xA1\x40\xA1\x5D\xA1\xE3\xA1\x5E"},
    {"‧·€￥", "\xA1\x45\xA1\x50\xA3\xE1\xA2\x44"},
    {"碁銹", "\xF9\xD6\xF9\xD7"}};  // from the row Windows added to Big5

// Not in Big5: 😀 alone and after a, 𠀀, 한, ゔ, U+FFFD; é • 〜 ¥, whose best fits are
// look-alikes; a tag that glibc drops and U+F8F8 that Windows writes as 0xFF, neither read
// back. Not UTF-8: stray, overlong, surrogate, cut; Big5 itself.
inline constexpr std::string_view kBig5Refused[] = {
    "\U0001F600", "a\U0001F600", "\U00020000",   "\uD55C",   "\u3094",          "\uFFFD",
    "\u00E9",     "\u2022",      "\u301C",       "\u00A5",   "a\U000E0041b",    "\uF8F8",
    "\xFF",       "\xC0\xAF",    "\xED\xA0\x80", "\xE6\xA9", "\xBE\xF7\xA9\xD0"};

// The samples this system writes otherwise than the table says, or writes though it should
// refuse them; none on either system.
inline std::vector<std::string> Big5SamplesMissed()
{
    std::vector<std::string> missed;
    for (const auto& [text, big5] : kBig5Written)
        if (std::string out; !Utf8ToBig5(text, out) || out != big5 || Big5ToUtf8(out) != text)
            missed.emplace_back(text);
    for (const std::string_view text : kBig5Refused)
        if (std::string out; Utf8ToBig5(text, out))
            missed.emplace_back(text);
    return missed;
}

}  // namespace psbtest
