#include <windows.h>

#include "platform/text/Bilingual.h"

TLanguage UserLanguage()
{
    return PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_CHINESE ? TLanguage::Chinese : TLanguage::English;
}
