#include "platform/text/Bilingual.h"

TLanguage LanguageOfLocale(std::string_view locale)
{
    return locale.substr(0, 2) == "zh" ? TLanguage::Chinese : TLanguage::English;
}
