#include "platform/design/Layout.h"

#include "platform/text/SysUtils.h"

namespace {

// Deep enough for any real window, shallow enough that a hostile layout cannot exhaust
// the stack.
constexpr int kMaxDepth = 16;

bool IsIdentStart(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}
bool IsIdentChar(char c)
{
    return IsIdentStart(c) || (c >= '0' && c <= '9');
}

class Parser {
public:
    explicit Parser(std::string_view text) : text_(text) {}

    TLayoutObject ParseDocument()
    {
        SkipBlankLines();
        TLayoutObject root = ParseObject(0);
        SkipBlankLines();
        if (pos_ < text_.size())
            Fail("text after the last 'end'");
        return root;
    }

private:
    [[noreturn]] void Fail(const std::string& what) const
    {
        throw Exception("Layout error at line " + std::to_string(line_) + ": " + what);
    }

    void SkipSpaces()
    {
        while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\t'))
            ++pos_;
    }

    void SkipBlankLines()
    {
        for (;;) {
            SkipSpaces();
            if (pos_ < text_.size() && (text_[pos_] == '\r' || text_[pos_] == '\n')) {
                EndLine();
                continue;
            }
            return;
        }
    }

    void EndLine()
    {
        SkipSpaces();
        if (pos_ >= text_.size())
            return;
        const bool cr = text_[pos_] == '\r';
        if (cr)
            ++pos_;
        const bool lf = pos_ < text_.size() && text_[pos_] == '\n';
        if (lf)
            ++pos_;
        if (!cr && !lf)
            Fail("unexpected text at the end of the line");
        ++line_;
    }

    // An identifier, possibly dotted (Font.Name).
    std::string Identifier(bool dotted)
    {
        SkipSpaces();
        const std::size_t start = pos_;
        if (pos_ >= text_.size() || !IsIdentStart(text_[pos_]))
            Fail("a name was expected");
        while (pos_ < text_.size() &&
               (IsIdentChar(text_[pos_]) ||
                (dotted && text_[pos_] == '.' && pos_ + 1 < text_.size() && IsIdentStart(text_[pos_ + 1]))))
            ++pos_;
        return std::string(text_.substr(start, pos_ - start));
    }

    void Expect(char c)
    {
        SkipSpaces();
        if (pos_ >= text_.size() || text_[pos_] != c)
            Fail(std::string("'") + c + "' was expected");
        ++pos_;
    }

    TLayoutValue Value()
    {
        SkipSpaces();
        TLayoutValue value;
        if (pos_ < text_.size() && text_[pos_] == '\'') {
            value.kind = TLayoutValue::String;
            ++pos_;
            for (;;) {
                if (pos_ >= text_.size() || text_[pos_] == '\r' || text_[pos_] == '\n')
                    Fail("unterminated string");
                if (text_[pos_] == '\'') {
                    if (pos_ + 1 < text_.size() && text_[pos_ + 1] == '\'') {
                        value.text += '\'';
                        pos_ += 2;
                        continue;
                    }
                    ++pos_;
                    return value;
                }
                value.text += text_[pos_++];
            }
        }
        if (pos_ < text_.size() && IsIdentStart(text_[pos_])) {
            value.kind = TLayoutValue::Identifier;
            value.text = Identifier(false);
            return value;
        }
        const std::size_t start = pos_;
        if (pos_ < text_.size() && text_[pos_] == '-')
            ++pos_;
        while (pos_ < text_.size() && text_[pos_] >= '0' && text_[pos_] <= '9')
            ++pos_;
        value.kind = TLayoutValue::Integer;
        if (!TryStrToInt(text_.substr(start, pos_ - start), value.integer))
            Fail("a value was expected");
        return value;
    }

    TLayoutObject ParseObject(int depth)
    {
        if (depth > kMaxDepth)
            Fail("objects nested too deeply");
        TLayoutObject object;
        object.line = line_;
        if (Identifier(false) != "object")
            Fail("'object' was expected");
        object.name = Identifier(false);
        Expect(':');
        object.className = Identifier(false);
        EndLine();
        for (;;) {
            SkipBlankLines();
            if (pos_ >= text_.size())
                Fail("'end' is missing for object " + object.name);
            const std::size_t mark = pos_;
            const int line = line_;
            const std::string word = Identifier(true);
            if (word == "end") {
                EndLine();
                return object;
            }
            if (word == "object") {
                pos_ = mark;
                object.children.push_back(ParseObject(depth + 1));
                continue;
            }
            Expect('=');
            TLayoutProperty property{word, Value(), line};
            EndLine();
            object.properties.push_back(std::move(property));
        }
    }

    std::string_view text_;
    std::size_t pos_ = 0;
    int line_ = 1;
};

}  // namespace

TLayoutObject ParseLayout(std::string_view text)
{
    return Parser(text).ParseDocument();
}
