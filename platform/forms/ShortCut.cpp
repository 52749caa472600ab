// The names of shortcut keys, as menus show them.
#include <algorithm>
#include <iterator>

#include "platform/forms/Menus.h"

std::string ShortCutToText(TShortCut shortCut)
{
    if (!shortCut)
        return {};
    std::string text;
    if (shortCut.shift & ssCtrl)
        text += "Ctrl+";
    if (shortCut.shift & ssAlt)
        text += "Alt+";
    if (shortCut.shift & ssShift)
        text += "Shift+";
    static constexpr struct {
        std::uint16_t key;
        const char* name;
    } kNames[] = {
        {vkBack, "BkSp"},  {vkTab, "Tab"},     {vkReturn, "Enter"}, {vkEscape, "Esc"}, {vkSpace, "Space"},
        {vkPrior, "PgUp"}, {vkNext, "PgDn"},   {vkEnd, "End"},      {vkHome, "Home"},  {vkLeft, "Left"},
        {vkUp, "Up"},      {vkRight, "Right"}, {vkDown, "Down"},    {vkInsert, "Ins"}, {vkDelete, "Del"},
        {0x6A, "Num *"},   {0x6B, "Num +"},    {0x6D, "Num -"},     {0x6F, "Num /"},   {0xBB, "="},
        {0xBC, ","},       {0xBD, "-"},        {0xBE, "."},         {0xBF, "/"},       {0xDB, "["},
        {0xDD, "]"},
    };
    const std::uint16_t key = shortCut.key;
    if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z'))
        text += static_cast<char>(key);
    else if (key >= vkF1 && key < vkF1 + 24)
        text += "F" + std::to_string(key - vkF1 + 1);
    else if (key >= 0x60 && key <= 0x69)
        text += "Num " + std::to_string(key - 0x60);
    else if (const auto it =
                 std::find_if(std::begin(kNames), std::end(kNames), [&](const auto& n) { return n.key == key; });
             it != std::end(kNames))
        text += it->name;
    else
        text += "#" + std::to_string(key);
    return text;
}
