// Texts in English and Traditional Chinese, in tables by an enum, and the language the user
// reads.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "platform/text/SysUtils.h"

enum class TLanguage { English, Chinese };

// Chinese for a POSIX locale name starting with "zh" (zh_TW.UTF-8, zh_HK, zh).
TLanguage LanguageOfLocale(std::string_view locale);
// The language the user reads: the user's UI language on Windows; elsewhere the first of
// LC_ALL, LC_MESSAGES and LANG that is set.
TLanguage UserLanguage();

// One row of a table: a key and its text in both languages, with {0}, {1}, … where the
// arguments go. A table may use rows of its own with more columns, named alike.
template <class TKey>
struct TBilingualText {
    TKey key;
    const char* english;
    const char* chinese;
};

// The texts of one part of a program, a row for each value of TKey from 0 to the last, in the
// enum's order: checked where the table is made, as the program compiles.
template <class TKey, class TRow = TBilingualText<TKey>>
class TBilingualTable {
public:
    template <std::size_t N>
    consteval TBilingualTable(const TRow (&rows)[N], TKey last) : rows_(rows)
    {
        // A throw cannot be evaluated at compile time: the compiler stops here, at a wrong table.
        if (N != static_cast<std::size_t>(last) + 1)
            throw "one row for each key";
        for (std::size_t i = 0; i < N; ++i)
            if (rows[i].key != static_cast<TKey>(i))
                throw "the rows in the order of the keys";
    }

    const TRow& Row(TKey key) const { return rows_[static_cast<std::size_t>(key)]; }
    // The key's text in the language, with {0}, {1}, … replaced by the arguments.
    std::string Text(TKey key, TLanguage language, const std::vector<std::string_view>& args = {}) const
    {
        const TRow& row = Row(key);
        return FillPlaceholders(language == TLanguage::Chinese ? row.chinese : row.english, args);
    }

private:
    const TRow* rows_;
};
