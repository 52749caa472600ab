#include "check/BoardCheck.h"

#include <algorithm>
#include <unordered_map>

#include "board/BoardFile.h"
#include "board/BoardIndex.h"
#include "board/FloorPlan.h"
#include "platform/text/FileSystem.h"
#include "platform/text/IniFiles.h"
#include "platform/design/FormDesign.h"
#include "platform/geometry/PaintedIndex.h"
#include "platform/text/SysUtils.h"
#include "ui/Unit1Layout.h"

namespace check {

namespace {

// Names in the file by their first line, matched as TIniFile matches them: ignoring ASCII
// case, so kept in small letters.
using TNameLines = std::unordered_map<std::string, std::size_t>;

// Edits, with a swap of neighbours counting as one, between texts in small letters. Keys
// are short; NearestKey bounds them.
constexpr std::size_t kLongestKey = 32;

std::size_t Distance(std::string_view x, std::string_view y)
{
    std::size_t d[kLongestKey + 1][kLongestKey + 1];
    for (std::size_t i = 0; i <= x.size(); ++i)
        d[i][0] = i;
    for (std::size_t j = 0; j <= y.size(); ++j)
        d[0][j] = j;
    for (std::size_t i = 1; i <= x.size(); ++i)
        for (std::size_t j = 1; j <= y.size(); ++j) {
            d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + (x[i - 1] != y[j - 1])});
            if (i > 1 && j > 1 && x[i - 1] == y[j - 2] && x[i - 2] == y[j - 1])
                d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
        }
    return d[x.size()][y.size()];
}

// The real key a misspelt one most likely meant, or empty.
std::string_view NearestKey(std::string_view key, const std::vector<std::string_view>& keys)
{
    if (key.size() > kLongestKey)
        return {};
    const std::string lower = LowerCase(key);
    std::string_view best;
    std::size_t bestDistance = 3;
    for (const std::string_view candidate : keys) {
        const std::size_t d = Distance(lower, LowerCase(candidate));
        if (d < bestDistance && d < candidate.size()) {
            best = candidate;
            bestDistance = d;
        }
    }
    return best;
}

// The client area at 96 DPI of a sizable window with a caption of these outer bounds, as
// Windows 10 and 11 frame it.
TRect64 ClientRectOf(const TDesignBounds& bounds)
{
    // What Windows 10 and 11 put around the client area of WS_OVERLAPPEDWINDOW at 96 DPI
    // (AdjustWindowRectEx): a resizing border of 8 on three sides, and 31 for the caption.
    constexpr std::int64_t kFrameWidth = 2 * 8, kFrameHeight = 31 + 8;
    return {0, 0, std::max<std::int64_t>(bounds.width - kFrameWidth, 0),
            std::max<std::int64_t>(bounds.height - kFrameHeight, 0)};
}

void ReadLayout(TBoardCheck& check)
{
    const TFormDesign form = ReadFormDesign(kUnit1Layout);
    const TRect64 client = ClientRectOf(form.bounds);
    check.clientWidth = client.right;
    check.clientHeight = client.bottom;
    check.fontName = form.font.Name;
    check.fontHeight = std::abs(form.font.Height);
    for (const TControlDesign& c : form.controls)
        check.controls.push_back({c.name, c.text.value_or(""), c.bounds.Rect(), c.IsNative()});
}

std::string ControlName(const TFixedControl& control)
{
    return control.caption.empty() ? control.name : control.name + " (" + control.caption + ")";
}

class TChecker {
public:
    TChecker(TBoardCheck& check, const TIniFile& file, bool mayReplace, const std::optional<std::string>& boardPath)
        : check_(check), file_(file), mayReplace_(mayReplace), boardPath_(boardPath), count_(board::ReadCount(file))
    {
    }

    void Run()
    {
        std::size_t lastLine = 1;
        board::TBoardLineScan scan;
        ForEachIniLine(file_.Text(), [&](const TIniLine& line) {
            scan.Line(static_cast<std::uint32_t>(line.number), line);
            Line(line);
            lastLine = line.number;
        });
        lastLine_ = lastLine;
        sys_ = scan.Sys();
        plan_ = scan.Plan();
        shown_ = board::PcNumbersInFile(file_, count_);
        shownLines_ = board::LinesRead(std::move(scan).Sections(), shown_);
        Count();
        LeftOut();
        Missing();
        PlanFile();
        Labels();
    }

    std::size_t LastLine() const { return lastLine_; }

    void Add(std::size_t line, TMsg msg, std::vector<std::string> args, std::int32_t pc = 0)
    {
        check_.findings.push_back({line, msg, std::move(args), pc});
    }

private:
    enum TKind { None, Ignored, Other, Sys, Pc, Plan };

    void Line(const TIniLine& line)
    {
        if (mayReplace_) {
            std::size_t bad = 0;
            for (std::size_t at = line.text.find("\xEF\xBF\xBD"); at != std::string_view::npos;
                 at = line.text.find("\xEF\xBF\xBD", at + 3))
                ++bad;
            if (bad)
                Add(line.number, TMsg::NotDecoded, {std::to_string(bad), EncodingName(check_.encoding)});
        }
        if (line.text.find('\0') != std::string_view::npos)
            Add(line.number, TMsg::NulByte, {});
        if (line.text.find('\x1A') != std::string_view::npos)
            Add(line.number, TMsg::DosEndOfFile, {});
        if (line.text.find('\f') != std::string_view::npos)
            Add(line.number, TMsg::FormFeed, {});
        switch (line.kind) {
        case TIniLine::Section:
            Section(line);
            break;
        case TIniLine::Entry:
            Entry(line);
            break;
        case TIniLine::Other:
            Add(line.number, TMsg::OtherLine, {});
            break;
        default:
            break;
        }
    }

    void Section(const TIniLine& line)
    {
        section_ = std::string(line.name);
        if (keys_.bucket_count() > 64)
            keys_ = {};
        keys_.clear();
        const auto [first, isNew] = sections_.emplace(LowerCase(line.name), line.number);
        if (!isNew) {
            kind_ = Ignored;
            Add(line.number, TMsg::DuplicateSection, {section_, std::to_string(first->second)});
            return;
        }
        pc_ = board::PcNumberOf(line.name);
        if (pc_ > 0) {
            kind_ = Pc;
            maxPc_ = std::max(maxPc_, pc_);
            if (pc_ >= count_)
                leftOut_.emplace_back(line.number, section_);
        } else if (SameText(line.name, board::kSysSection)) {
            kind_ = Sys;
        } else if (SameText(line.name, board::kPlanSection)) {
            kind_ = Plan;
        } else {
            kind_ = Other;
            LooksLikePc(line);
        }
    }

    void LooksLikePc(const TIniLine& line)
    {
        const std::string_view name = line.name;
        if (name.size() < 3 || !SameText(name.substr(0, 2), "pc") ||
            name.find_first_of("0123456789") == std::string_view::npos)
            return;
        std::int32_t i = 0;
        if (TryStrToInt(name.substr(2), i) && i >= 1)
            Add(line.number, TMsg::NotPcSectionHint, {section_, board::SectionName(i)});
        else
            Add(line.number, TMsg::NotPcSection, {section_});
    }

    void Entry(const TIniLine& line)
    {
        if (kind_ == None)
            Add(line.number, TMsg::OutsideSection, {});
        if (kind_ != Sys && kind_ != Pc && kind_ != Plan)
            return;
        const auto [first, isNew] = keys_.emplace(LowerCase(line.name), line.number);
        const std::string key(line.name);
        if (!isNew) {
            Add(line.number, TMsg::DuplicateKey, {key, section_, std::to_string(first->second)});
            return;
        }
        static const std::vector<std::string_view> kSysKeys = {board::kCountKey};
        static const std::vector<std::string_view> kPcKeyList(board::kPcKeys.begin(), board::kPcKeys.end());
        static const std::vector<std::string_view> kPlanKeyList(board::kPlanKeys.begin(), board::kPlanKeys.end());
        const std::vector<std::string_view>& known = kind_ == Sys ? kSysKeys : kind_ == Pc ? kPcKeyList : kPlanKeyList;
        const auto it =
            std::find_if(known.begin(), known.end(), [&](std::string_view k) { return SameText(k, line.name); });
        if (it == known.end()) {
            const std::string_view hint = NearestKey(line.name, known);
            if (hint.empty())
                Add(line.number, TMsg::UnknownKey, {key, section_});
            else
                Add(line.number, TMsg::UnknownKeyHint, {key, section_, std::string(hint)});
            return;
        }
        if (kind_ == Sys)
            return;
        const std::size_t k = static_cast<std::size_t>(it - known.begin());
        if (kind_ == Plan) {
            const auto planKey = static_cast<board::TPlanKey>(k);
            board::TFloorPlan plan;
            if (!board::ReadPlanValue(plan, planKey, line.value))
                Add(line.number, TMsg::PlanValue, {key, std::string(line.value), board::PlanValue(plan, planKey)});
            return;
        }
        std::int32_t value = 0;
        if (k > 0 && pc_ < count_ && !TryStrToInt(line.value, value))
            Add(line.number, TMsg::NotInteger, {key, std::string(line.value)});
    }

    void Count()
    {
        if (sys_.countLine == board::kNoLine) {
            Add(sys_.header != board::kNoLine ? sys_.header : 1, TMsg::CountMissing, {});
            return;
        }
        const std::string text = file_.ReadString(board::kSysSection, board::kCountKey, "");
        std::int32_t value = 0;
        if (!TryStrToInt(text, value))
            Add(sys_.countLine, TMsg::CountNotNumber, {text});
        else if (value < 2)
            Add(sys_.countLine, TMsg::CountTooSmall, {text});
    }

    void LeftOut()
    {
        for (const auto& [line, name] : leftOut_) {
            if (maxPc_ == INT32_MAX)
                Add(line, TMsg::NeverShown, {name});
            else
                Add(line, TMsg::LeftOut, {name, IntToStr(count_), IntToStr(maxPc_ + 1)});
        }
    }

    // Numbers below count without a section, as ranges, on the count line.
    void Missing()
    {
        if (count_ < 2 || sys_.countLine == board::kNoLine)
            return;
        std::int64_t next = 1;
        auto gap = [&](std::int64_t end) {
            if (end - next == 1)
                Add(sys_.countLine, TMsg::NoSection, {std::to_string(next)});
            else if (end - next > 1)
                Add(sys_.countLine, TMsg::NoSections, {std::to_string(next), std::to_string(end - 1)});
        };
        for (const std::int32_t i : shown_) {
            gap(i);
            next = std::int64_t{i} + 1;
        }
        gap(count_);
    }

    // A picture the plan names that is not there: the editor shows the board without it.
    void PlanFile()
    {
        const std::uint32_t line = plan_.keys[static_cast<std::size_t>(board::TPlanKey::File)];
        if (!boardPath_ || line == board::kNoLine)
            return;
        const std::string file = file_.ReadString(board::kPlanSection, board::kPlanKeys[0], "");
        if (!file.empty() && !FileStampOf(board::PlanPath(*boardPath_, file)))
            Add(line, TMsg::PlanMissing, {file});
    }

    void Labels();

    TBoardCheck& check_;
    const TIniFile& file_;
    bool mayReplace_;
    const std::optional<std::string>& boardPath_;
    std::int32_t count_;
    std::size_t lastLine_ = 1;
    TKind kind_ = None;
    std::string section_;
    std::int32_t pc_ = 0, maxPc_ = 0;
    board::TSys sys_;         // where [sys] and its count are, by line number
    board::TPlanLines plan_;  // where the plan's section and its values are
    TNameLines sections_, keys_;
    std::vector<std::pair<std::size_t, std::string>> leftOut_;
    std::vector<std::int32_t> shown_;
    std::vector<board::TPcLines> shownLines_;  // where each shown PC is read from, by line number
};

void TChecker::Labels()
{
    for (const std::int32_t i : shown_)
        check_.labels.push_back({board::ReadPcEntry(file_, i), i});
    const TRect64 client{0, 0, check_.clientWidth, check_.clientHeight};
    const auto& controls = check_.controls;
    std::vector<TRect64> natives;
    for (const TFixedControl& c : controls)
        if (c.native)
            natives.push_back(c.rect);
    TPaintedStack<const TShownLabel> stack;
    stack.Reserve(check_.labels.size());
    for (const TShownLabel& label : check_.labels)
        stack.Add(label);
    const auto shownList = stack.ShownIn(client, kDesignDpi, natives, true);
    const auto size = [](std::int64_t v) { return std::to_string(v); };
    const auto labelName = [&](std::size_t item) { return "PC" + IntToStr(check_.labels[item].pc); };
    // The last label made is on top.
    auto shown = shownList.rbegin();
    for (std::size_t k = check_.labels.size(); k-- > 0;) {
        const TShownLabel& label = check_.labels[k];
        const std::string pc = IntToStr(label.pc);
        const board::TPcLines& lines = shownLines_[k];
        const std::size_t at = lines.section;
        if (label.width <= 0 || label.height <= 0) {
            Add(at, TMsg::EmptyLabel, {pc, size(label.width), size(label.height)}, label.pc);
            continue;
        }
        const TRect64 rect = label.PaintedRect();
        if (shown == shownList.rend() || shown->item != k) {
            Add(at, TMsg::Outside, {pc, size(client.right), size(client.bottom)}, label.pc);
            continue;
        }
        const TPaintedIndex::TShown& seen = *shown++;
        if (!(rect.Intersect(client) == rect))
            Add(at, TMsg::PartlyOutside, {pc, size(client.right), size(client.bottom)}, label.pc);
        if (seen.visiblePixels == 0) {
            // Wholly hidden: by a label above, or else by the first window over it.
            const auto window = std::find_if(controls.begin(), controls.end(), [&](const TFixedControl& c) {
                return c.native && c.rect.Intersects(rect);
            });
            Add(at, TMsg::Covered,
                {pc, seen.covered               ? labelName(seen.coveredBy)
                     : window != controls.end() ? ControlName(*window)
                                                : ""},
                label.pc);
            continue;
        }
        if (seen.covered)
            Add(at, TMsg::Overlap, {pc, labelName(seen.coveredBy)}, label.pc);
        for (const TFixedControl& control : controls)
            if (control.rect.Intersects(rect))
                Add(at, control.native ? TMsg::UnderControl : TMsg::CoversLabel, {pc, ControlName(control)}, label.pc);
        const std::int64_t width = CaptionWidth(label.caption, check_.fontHeight);
        if (width > label.width)
            Add(lines.keys[0] != board::kNoLine ? lines.keys[0] : at, TMsg::CaptionCut,
                {pc, size(width), size(label.width)}, label.pc);
    }
}

}  // namespace

std::int64_t CaptionWidth(std::string_view caption, std::int32_t fontHeight)
{
    // Advance widths of the printable ASCII characters in a Helvetica-like sans serif
    // (MS Sans Serif's design), in thousandths of the font height.
    static constexpr short kAscii[95] = {
        278, 278, 355, 556, 556, 889, 667, 191, 333, 333, 389, 584, 278, 333,  278, 278, 556, 556, 556,
        556, 556, 556, 556, 556, 556, 556, 278, 278, 584, 584, 584, 556, 1015, 667, 667, 722, 722, 667,
        611, 778, 722, 278, 500, 667, 556, 833, 722, 778, 667, 778, 722, 667,  611, 722, 667, 944, 667,
        667, 611, 278, 278, 278, 469, 556, 333, 556, 556, 500, 556, 556, 278,  556, 556, 222, 222, 500,
        222, 833, 556, 556, 556, 556, 333, 500, 278, 556, 500, 722, 500, 500,  500, 334, 260, 334, 584};
    std::int64_t width = 0;
    const std::u16string text = Utf8ToUtf16(caption);
    for (const char16_t c : text) {
        std::int64_t thousandths = 556;
        if (c >= 0x20 && c < 0x7F)
            thousandths = kAscii[c - 0x20];
        else if ((c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF) || (c >= 0xAC00 && c <= 0xD7A3) ||
                 (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60) ||
                 (c >= 0xFFE0 && c <= 0xFFE6) || (c >= 0xD800 && c <= 0xDBFF))
            thousandths = 1000;  // CJK: square, one font height wide
        else if (c >= 0xDC00 && c <= 0xDFFF)
            thousandths = 0;  // second half of a pair already counted
        width += (thousandths * fontHeight + 500) / 1000;
    }
    return width;
}

TBoardCheck CheckBoard(std::string bytes, const std::optional<std::string>& boardPath)
{
    TBoardCheck check;
    ReadLayout(check);
    // Only these can have turned bytes into U+FFFD; valid UTF-8 keeps its own.
    const bool bom = bytes.size() >= 3 && bytes.compare(0, 3, "\xEF\xBB\xBF") == 0;
    const bool oddUtf16 = bytes.size() % 2 == 1;
    bool mayReplace = bom ? !IsValidUtf8(std::string_view(bytes).substr(3)) : !IsValidUtf8(bytes);
    std::string text = DecodeText(std::move(bytes), &check.encoding);
    const bool utf16 = check.encoding == TTextEncoding::Utf16LE || check.encoding == TTextEncoding::Utf16BE;
    mayReplace = mayReplace || utf16;
    const TIniFile file("", std::move(text));
    TChecker checker(check, file, mayReplace, boardPath);
    checker.Run();
    if (utf16 && oddUtf16)
        checker.Add(checker.LastLine(), TMsg::StrayByte, {});
    std::stable_sort(check.findings.begin(), check.findings.end(),
                     [](const TFinding& a, const TFinding& b) { return a.line < b.line; });
    for (const TFinding& f : check.findings)
        ++(IsError(f.msg) ? check.errors : check.warnings);
    return check;
}

std::string EncodingName(TTextEncoding encoding)
{
    switch (encoding) {
    case TTextEncoding::Utf8:
        return "UTF-8";
    case TTextEncoding::Utf8Bom:
        return "UTF-8 (BOM)";
    case TTextEncoding::Utf16LE:
        return "UTF-16LE";
    case TTextEncoding::Utf16BE:
        return "UTF-16BE";
    case TTextEncoding::Big5:
        return "Big5 (CP950)";
    }
    return {};
}

}  // namespace check
