// A board file's lines, as opened and as edited: each line's bytes in the file's own
// encoding, with lines taken out and lines put in kept beside the bytes opened, so that every
// line not edited, and every line end, is written back as it was.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/text/IniFiles.h"
#include "platform/text/TextCodec.h"

namespace board {

// A line's id: the opened lines are 0 to Opened() - 1 in file order, added lines follow.
inline constexpr std::uint32_t kNoLine = UINT32_MAX;
inline constexpr std::uint32_t kHead = UINT32_MAX - 1;  // where lines go in before the first one

// The file's text as units: bytes, or UTF-16 code units in the file's byte order. Everything
// the line grammar looks at ('[', '=', blanks, NUL, quotes, line ends) is one unit below
// 0x40 in every encoding, and never the second byte of a Big5 character.
struct TLineCodec {
    TTextEncoding encoding = TTextEncoding::Utf8;

    bool Wide() const { return encoding == TTextEncoding::Utf16LE || encoding == TTextEncoding::Utf16BE; }
    std::size_t Unit() const { return Wide() ? 2 : 1; }
    std::size_t Units(std::string_view raw) const { return raw.size() / Unit(); }
    char16_t At(std::string_view raw, std::size_t i) const
    {
        return Wide() ? Utf16UnitAt(raw, i, encoding == TTextEncoding::Utf16BE) : static_cast<unsigned char>(raw[i]);
    }
    // A line's bytes as text. UTF-8 stays as it is, as the line grammar compares it.
    std::string Decode(std::string_view raw) const;
    // False when the text is no valid UTF-8 or holds a character the encoding cannot.
    bool Encode(std::string_view text, std::string& raw) const;
};

// A line as the reader classifies it, with its own copies of the name and value.
struct TLineInfo {
    TIniLine::TKind kind = TIniLine::Blank;
    std::string name, value;
};

class TLineStore {
public:
    // The file's bytes in the encoding DecodeText found for them.
    TLineStore(std::string bytes, TTextEncoding encoding);

    const TLineCodec& Codec() const { return codec_; }
    // The bytes as opened.
    const std::string& Opened() const { return bytes_; }
    std::uint32_t OpenedLines() const { return static_cast<std::uint32_t>(ends_.size()); }
    bool IsOpened(std::uint32_t id) const { return id < OpenedLines(); }
    bool Visible(std::uint32_t id) const { return IsOpened(id) ? !gone_[id] : !added_[id - OpenedLines()].gone; }
    // A Big5 file stays one only while some line is no valid UTF-8; else it would read back
    // as UTF-8.
    bool ReadsAsAnotherEncoding() const { return codec_.encoding == TTextEncoding::Big5 && notUtf8_ == 0; }

    // A line's bytes, without its line end.
    std::string_view Raw(std::uint32_t id) const;
    TLineInfo Info(std::uint32_t id) const { return Classified(Raw(id)); }
    // Bytes of a line as the grammar reads them.
    TLineInfo Classified(std::string_view raw) const;

    // The next line shown after id (or kHead), or kNoLine.
    std::uint32_t Next(std::uint32_t id) const;
    // The last line shown, or kHead when none is.
    std::uint32_t Last() const;
    // The 1-based number of a line shown.
    std::size_t LineNumber(std::uint32_t id) const;

    // Changes, as they are made, undone and done again.
    void PutRaw(std::uint32_t id, std::string_view raw);
    void PutGone(std::uint32_t id, bool gone);
    // A new line right after the one given (or kHead), not yet shown.
    std::uint32_t Add(std::uint32_t previous, std::string raw);

    // The file as it now stands.
    std::string Bytes() const { return Assembled(true); }
    // The same without the odd byte a cut-off UTF-16 file ends with, nor the line end that
    // keeps it off an edited line: the file's text, the same whether edits came before or
    // after it is read as text (a conversion to UTF-8, say).
    std::string TextBytes() const { return Assembled(false); }

private:
    // The next line in the file's order, shown or not.
    std::uint32_t NextAny(std::uint32_t id) const;
    std::string Assembled(bool oddByte) const;

    TLineCodec codec_;
    std::string bytes_;
    std::size_t bom_ = 0;
    std::vector<std::uint32_t> starts_, ends_;  // of each opened line's text; starts_ has one more
    std::vector<bool> gone_;                    // opened lines taken out
    std::unordered_map<std::uint32_t, std::string> rewritten_;
    struct TAdded {
        std::string raw;
        std::uint32_t anchor;
        bool gone = true;
    };
    std::vector<TAdded> added_;                                            // ids from OpenedLines() on
    std::unordered_map<std::uint32_t, std::vector<std::uint32_t>> after_;  // added ids after an opened line
    std::string lineEnd_;                                                  // the file's own, in its encoding
    bool endsWithLineEnd_ = true;
    std::size_t notUtf8_ = 0;  // of a Big5 file: lines shown that are no valid UTF-8
};

}  // namespace board
