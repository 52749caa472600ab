// The three forms of a check's answer: text for people and editors, JSON for scripts and a
// picture of the board.
#include "check/BoardCheck.h"

#include <algorithm>
#include <map>

namespace check {

namespace {

std::string Severity(TMsg msg)
{
    return IsError(msg) ? "error" : "warning";
}

std::string JsonString(std::string_view text)
{
    std::string out = "\"";
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (u < 0x20) {
            static const char kHex[] = "0123456789abcdef";
            out += "\\u00";
            out += kHex[u >> 4];
            out += kHex[u & 15];
        } else {
            out += c;
        }
    }
    return out + "\"";
}

// Text as XML character data. Characters XML cannot hold (most controls, U+FFFE, U+FFFF)
// show as U+FFFD, as undecodable bytes do.
std::string XmlText(std::string_view text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '&')
            out += "&amp;";
        else if (c == '<')
            out += "&lt;";
        else if (c == '>')
            out += "&gt;";
        else if (c == '"')
            out += "&quot;";
        else if (static_cast<unsigned char>(c) < 0x20 && c != '\t')
            out += "\xEF\xBF\xBD";
        else if (text.substr(i, 2) == "\xEF\xBF" && i + 2 < text.size() &&
                 (text[i + 2] == '\xBE' || text[i + 2] == '\xBF')) {
            out += "\xEF\xBF\xBD";
            i += 2;
        } else
            out += c;
    }
    return out;
}

// Control characters from the file (NUL, ESC, …) are shown as \xNN, not sent to the terminal.
std::string Printable(std::string text)
{
    std::string out;
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 && c != '\t') {
            static const char kHex[] = "0123456789ABCDEF";
            out += "\\x";
            out += kHex[u >> 4];
            out += kHex[u & 15];
        } else {
            out += c;
        }
    }
    return out;
}

std::string Rect(std::int64_t x, std::int64_t y, std::int64_t w, std::int64_t h)
{
    return "x=\"" + std::to_string(x) + "\" y=\"" + std::to_string(y) + "\" width=\"" + std::to_string(w) +
           "\" height=\"" + std::to_string(h) + "\"";
}

}  // namespace

std::string TextReport(const TBoardCheck& check, std::string_view fileName, TLanguage language)
{
    std::string out;
    const std::string file(fileName);
    for (const TFinding& f : check.findings)
        out += file + ":" + std::to_string(f.line) + ": " + Severity(f.msg) + ": " +
               Printable(Text(f.msg, language, f.args)) + "\n";
    out += Text(TMsg::Summary, language,
                {file, std::to_string(check.labels.size()), std::to_string(check.warnings),
                 std::to_string(check.errors), EncodingName(check.encoding)});
    return out + "\n";
}

std::string JsonReport(const TBoardCheck& check, std::string_view fileName, TLanguage language)
{
    std::string out = "[";
    const std::string file = JsonString(fileName);
    for (const TFinding& f : check.findings) {
        out += out.size() > 1 ? ",\n " : "\n ";
        out += "{\"file\": " + file + ", \"line\": " + std::to_string(f.line) + ", \"severity\": \"" + Severity(f.msg) +
               "\", \"code\": \"" + std::string(Code(f.msg)) +
               "\", \"message\": " + JsonString(Text(f.msg, language, f.args)) + "}";
    }
    return out + "\n]\n";
}

std::string SvgPicture(const TBoardCheck& check)
{
    const std::int64_t w = check.clientWidth, h = check.clientHeight;
    std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" +
                      std::to_string(w) + "\" height=\"" + std::to_string(h) + "\" viewBox=\"0 0 " + std::to_string(w) +
                      " " + std::to_string(h) + "\" font-family=\"" + XmlText(check.fontName) +
                      ", Microsoft Sans Serif, PMingLiU, Microsoft JhengHei, WenQuanYi Micro Hei, Noto Sans CJK TC, "
                      "sans-serif\" font-size=\"" +
                      std::to_string(check.fontHeight) + "px\">\n";
    // clBtnFace, the window's colour.
    out += "<rect " + Rect(0, 0, w, h) + " fill=\"#F0F0F0\"/>\n";
    const auto control = [&](const TFixedControl& c) {
        const TRect64& r = c.rect;
        out += "<rect " + Rect(r.left, r.top, r.right - r.left, r.bottom - r.top) + " fill=\"" +
               (c.native ? (c.caption.empty() ? "#FFFFFF" : "#F0F0F0") : "none") +
               "\" stroke=\"#7A7A7A\" stroke-dasharray=\"" + (c.native ? "none" : "2") + "\"/>\n";
        if (!c.caption.empty())
            out += "<text x=\"" + std::to_string((r.left + r.right) / 2) + "\" y=\"" +
                   std::to_string((r.top + r.bottom) / 2) + "\" text-anchor=\"middle\" dominant-baseline=\"central\">" +
                   XmlText(c.caption) + "</text>\n";
    };
    // Painted labels under the board, the board, then the controls with windows of their own.
    for (const TFixedControl& c : check.controls)
        if (!c.native)
            control(c);
    for (const TShownLabel& l : check.labels) {
        if (!l.PaintedRect().Intersects({0, 0, w, h}))
            continue;
        // A nested viewport clips the caption to its label.
        out += "<svg " + Rect(l.left, l.top, l.width, l.height) +
               "><rect width=\"100%\" height=\"100%\" fill=\"#FFFF00\"/><text x=\"50%\" y=\"50%\" "
               "text-anchor=\"middle\" dominant-baseline=\"central\">" +
               XmlText(l.caption) + "</text></svg>\n";
    }
    for (const TFixedControl& c : check.controls)
        if (c.native)
            control(c);
    // Each finding about a label: its report line's number at the label's top left corner,
    // inside the picture; several on one label side by side.
    std::map<std::int32_t, std::int64_t> offset;
    for (std::size_t i = 0; i < check.findings.size(); ++i) {
        const TFinding& f = check.findings[i];
        const auto label = std::lower_bound(check.labels.begin(), check.labels.end(), f.pc,
                                            [](const TShownLabel& l, std::int32_t pc) { return l.pc < pc; });
        if (f.pc == 0 || label == check.labels.end() || label->pc != f.pc)
            continue;
        const std::string number = std::to_string(i + 1);
        const std::int64_t mw = 7 + 6 * static_cast<std::int64_t>(number.size()), mh = 14;
        const std::int64_t x =
            std::clamp<std::int64_t>(label->left, 0, std::max<std::int64_t>(w - mw, 0)) + offset[f.pc];
        const std::int64_t y = std::clamp<std::int64_t>(label->top, 0, std::max<std::int64_t>(h - mh, 0));
        offset[f.pc] += mw + 2;
        out += "<g><rect " + Rect(x, y, mw, mh) + " rx=\"4\" fill=\"#E00000\"/><text x=\"" +
               std::to_string(x + mw / 2) + "\" y=\"" + std::to_string(y + mh / 2) +
               "\" text-anchor=\"middle\" dominant-baseline=\"central\" font-size=\"10px\" fill=\"#FFFFFF\">" + number +
               "</text></g>\n";
    }
    return out + "</svg>\n";
}

}  // namespace check
