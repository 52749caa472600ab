#include <cstdlib>

#include "platform/text/Bilingual.h"

TLanguage UserLanguage()
{
    // The first of these that is set decides, as for any POSIX program's messages.
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(name);
        if (value && *value)
            return LanguageOfLocale(value);
    }
    return TLanguage::English;
}
