// boardcheck on any bytes: findings on lines of the file, text and JSON reports that agree,
// well formed to real parsers, and the exit code following the findings.
#include <expat.h>

#include <nlohmann/json.hpp>

#include "check/BoardCheck.h"
#include "check/ExitCode.h"
#include "fuzz/FuzzSupport.h"
#include "platform/text/TextCodec.h"

namespace {

// CR, LF and CR LF each end a line.
std::size_t LineCount(std::string_view text)
{
    std::size_t lines = 1;
    for (std::size_t i = 0; i < text.size(); ++i)
        lines += text[i] == '\n' || (text[i] == '\r' && text.substr(i + 1, 1) != "\n");
    return lines;
}

// A message as a terminal gets it: control characters but tab as \xNN.
std::string Escaped(std::string_view text)
{
    std::string out;
    for (const char c : text) {
        char hex[8];
        std::snprintf(hex, sizeof hex, "\\x%02X", static_cast<unsigned char>(c));
        out += static_cast<unsigned char>(c) < 0x20 && c != '\t' ? hex : std::string(1, c);
    }
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string bytes(fuzz::Text(data, size));
    const check::TBoardCheck result = check::CheckBoard(bytes);
    const std::size_t lines = LineCount(DecodeText(bytes));
    FUZZ_CHECK(result.warnings + result.errors == result.findings.size());
    for (std::size_t i = 0; i < result.findings.size(); ++i) {
        const std::size_t line = result.findings[i].line;
        FUZZ_CHECK(line >= 1 && line <= lines && (i == 0 || result.findings[i - 1].line <= line));
    }

    const std::string file = "\xE7\x9C\x8B\xE6\x9D\xBF \"a\\b\".ini";  // JSON must escape it
    for (const TLanguage language : {TLanguage::English, TLanguage::Chinese}) {
        const std::string text = check::TextReport(result, file, language);
        const nlohmann::json json = nlohmann::json::parse(check::JsonReport(result, file, language));
        FUZZ_CHECK(json.is_array() && json.size() == result.findings.size() &&
                   check::ExitCode(result) == (json.empty() ? 0 : 1));
        std::size_t start = 0, errors = 0;
        for (const nlohmann::json& f : json) {
            const std::string severity = f.at("severity");
            errors += severity == "error";
            const std::size_t end = text.find('\n', start);
            FUZZ_CHECK(f.at("file") == file && (severity == "error" || severity == "warning") &&
                       !f.at("code").get<std::string>().empty() &&
                       text.substr(start, end - start) == file + ":" + std::to_string(f.at("line").get<std::size_t>()) +
                                                              ": " + severity + ": " +
                                                              Escaped(f.at("message").get<std::string>()));
            start = end + 1;
        }
        FUZZ_CHECK(errors == result.errors && text.find('\n', start) == text.size() - 1);  // the summary
    }
    const std::string svg = check::SvgPicture(result);
    XML_Parser parser = XML_ParserCreate(nullptr);
    FUZZ_CHECK(XML_Parse(parser, svg.data(), static_cast<int>(svg.size()), 1) == XML_STATUS_OK);
    XML_ParserFree(parser);
    return 0;
}
