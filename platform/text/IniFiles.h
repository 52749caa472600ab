// Read-only access to initialization (.ini) files, read the way Windows reads them.
#pragma once

#include "platform/forms/Classes.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

class TCustomIniFile : public TObject {
public:
    explicit TCustomIniFile(std::string fileName);

    const std::string& FileName() const { return fileName_; }

    virtual std::string ReadString(std::string_view section, std::string_view ident,
                                   std::string_view defaultValue) const = 0;
    // The value read as an integer with TryStrToInt; the default when missing or not an integer.
    virtual std::int32_t ReadInteger(std::string_view section, std::string_view ident, std::int32_t defaultValue) const;
    virtual bool SectionExists(std::string_view section) const = 0;

private:
    std::string fileName_;
};

// Reads the whole file once, in any encoding DecodeText knows, and never writes it.
// A file that cannot be read behaves as an empty one. Section and key names match ignoring
// ASCII case; where a section or a key repeats, the first one wins.
class TIniFile : public TCustomIniFile {
public:
    explicit TIniFile(std::string fileName);
    // The same reading of a text already read and decoded; fileName only names it.
    TIniFile(std::string fileName, std::string decodedText);

    // The decoded text every read answers from.
    std::string_view Text() const { return text_; }

    std::string ReadString(std::string_view section, std::string_view ident,
                           std::string_view defaultValue) const override;
    bool SectionExists(std::string_view section) const override;

    // Where the values of several keys of one section are, found in one pass over it:
    // values[k] is the first value of keys[k] as ReadString gives it, or nullopt when the key
    // is missing; values has a slot per key. False when the section is missing. The views
    // point into Text().
    bool FindValues(std::string_view section, std::span<const std::string_view> keys,
                    std::span<std::optional<std::string_view>> values) const;

    // Each distinct section name (ignoring ASCII case) once, as first written, in file order.
    // The views point into this object's text and are valid while it lives.
    std::vector<std::string_view> SectionNames() const;
    // The same names one by one, without a list of them all.
    template <class Fn>
    void ForEachSectionName(Fn fn) const
    {
        for (const TSection& section : sections_)
            fn(Name(section));
    }

private:
    // Offsets into text_; 32 bits keep the index small for files with millions of sections.
    struct TSection {
        std::uint32_t nameBegin;
        std::uint32_t nameLength;
        std::uint32_t bodyBegin;
        std::uint32_t bodyEnd;
    };

    // Finds the sections, then indexes their names; only the first section of a name is kept.
    void Index();
    // Each section's name is hashed as it is found, while its line is at hand.
    void ScanSections(std::vector<std::uint32_t>& hashes);
    void IndexNames(const std::vector<std::uint32_t>& hashes);
    const TSection* FindSection(std::string_view name) const;
    std::string_view Name(const TSection& section) const;

    std::string text_;
    std::vector<TSection> sections_;  // in file order, only the first of each name
    // Open-addressed hash of sections_. A slot keeps the name's hash beside the index, so a
    // probe past other names touches neither the sections nor the text.
    struct TBucket {
        std::uint32_t hash;
        std::uint32_t index;  // into sections_, plus one; 0 marks a free slot
    };
    std::vector<TBucket> buckets_;
    // The last section found: readers mostly ask for sections in the order they are written,
    // so the next one is tried first.
    mutable const TSection* lastSection_ = nullptr;
};

// Blanks trimmed around names and values, as Windows trims them: space, tab, vertical tab,
// form feed, and the DOS end-of-file mark (Ctrl-Z) that old editors leave after the last value.
inline bool IsIniBlank(char c)
{
    // All five lie at or below the space; most characters are above it.
    return static_cast<unsigned char>(c) <= ' ' && (c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\x1A');
}

// One line of an ini text, classified the way TIniFile reads it.
struct TIniLine {
    enum TKind { Blank, Comment, Section, Entry, Other };
    TKind kind = Blank;
    std::size_t number = 0;  // 1-based
    std::string_view text;   // the whole line, without its end
    std::string_view name;   // a section's name or an entry's key, trimmed
    std::string_view value;  // an entry's value as ReadString gives it
};

// The one grammar of a line (without its end): a section header with its name, an entry with
// its key and value, a comment, a blank line, or anything else. Blanks (space, tab, vertical
// tab, form feed, Ctrl-Z) around names and values are dropped, a name or value ends at a NUL
// byte, and a value wholly in one pair of matching quotes loses them. Views point into the line.
TIniLine ClassifyIniLine(std::string_view line);

// Calls fn for each line of a decoded text, in order. Tools that point at lines use this,
// so they see the lines as TIniFile does.
void ForEachIniLine(std::string_view text, const std::function<void(const TIniLine&)>& fn);
