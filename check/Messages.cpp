#include "check/Messages.h"

namespace check {

namespace {

struct TRow {
    TMsg key;
    const char* code;
    bool error;
    const char* english;
    const char* chinese;
};

constexpr TRow kRows[] = {
    {TMsg::NotDecoded, "not-decoded", false, "{0} character(s) on this line did not decode as {1} and show as U+FFFD",
     "此行有 {0} 個字元無法以 {1} 解碼，顯示為 U+FFFD"},
    {TMsg::StrayByte, "stray-byte", false, "the file ends in a stray byte that is no UTF-16 character",
     "檔案結尾多出一個位元組，不構成 UTF-16 字元"},
    {TMsg::NulByte, "nul-byte", false, "a NUL byte on this line ends its name or value: what follows it is ignored",
     "此行有 NUL 位元組，名稱或值到此結束：其後的內容被忽略"},
    {TMsg::DosEndOfFile, "dos-end-of-file", false,
     "a Ctrl-Z (DOS end-of-file mark) on this line: next to a name or value it reads as a blank",
     "此行有 Ctrl-Z（DOS 檔案結束符號）：在名稱或值的前後讀作空白"},
    {TMsg::FormFeed, "form-feed", false,
     "a form feed (Ctrl-L) on this line: next to a name or value it reads as a blank",
     "此行有換頁字元（Ctrl-L）：在名稱或值的前後讀作空白"},
    {TMsg::CountMissing, "count-missing", true, "[sys] has no count: the board is empty",
     "[sys] 沒有 count：看板是空的"},
    {TMsg::CountNotNumber, "count-not-number", true,
     "count={0} is not a plain integer and reads as 0: the board is empty",
     "count={0} 不是單純的整數，讀作 0：看板是空的"},
    {TMsg::CountTooSmall, "count-too-small", true, "count={0} shows no PC: count is one more than the number of PCs",
     "count={0} 不會顯示任何電腦：count 是電腦數目加一"},
    {TMsg::LeftOut, "left-out", true, "[{0}] is not shown: only PCs below count={1} are; count={2} would include it",
     "[{0}] 不會顯示：只顯示編號小於 count={1} 的電腦；count={2} 才會包含它"},
    {TMsg::NeverShown, "never-shown", true, "[{0}] can never be shown: its number is too large for count",
     "[{0}] 永遠不會顯示：編號太大，count 無法包含"},
    {TMsg::NoSection, "no-section", false, "PC{0} has no section [PC{0}] and gets no label",
     "PC{0} 沒有 [PC{0}] 區段，不會有標籤"},
    {TMsg::NoSections, "no-section", false, "PC{0} to PC{1} have no section and get no label",
     "PC{0} 到 PC{1} 沒有區段，不會有標籤"},
    {TMsg::NotPcSection, "not-pc-section", true,
     "[{0}] looks like a PC section but is never read: PC sections are [PC1], [PC2], …",
     "[{0}] 看似電腦區段，但從不讀取：電腦區段是 [PC1]、[PC2]、…"},
    {TMsg::NotPcSectionHint, "not-pc-section", true,
     "[{0}] looks like a PC section but is never read: did you mean [{1}]?",
     "[{0}] 看似電腦區段，但從不讀取：是指 [{1}] 嗎？"},
    {TMsg::DuplicateSection, "duplicate-section", false,
     "[{0}] again: only the first, on line {1}, is read; this one is ignored",
     "[{0}] 重複：只讀取第 {1} 行的第一個，這一個被忽略"},
    {TMsg::DuplicateKey, "duplicate-key", false, "{0} again in [{1}]: line {2} is read; this one is ignored",
     "[{1}] 中 {0} 重複：讀取的是第 {2} 行，這一行被忽略"},
    {TMsg::UnknownKey, "unknown-key", false, "{0} in [{1}] is read by nobody", "[{1}] 中的 {0} 沒有人讀取"},
    {TMsg::UnknownKeyHint, "unknown-key", false, "{0} in [{1}] is read by nobody: did you mean {2}?",
     "[{1}] 中的 {0} 沒有人讀取：是指 {2} 嗎？"},
    {TMsg::OutsideSection, "outside-section", false, "entry before the first section is read by nobody",
     "第一個區段之前的項目沒有人讀取"},
    {TMsg::OtherLine, "other-line", false, "neither a section, an entry, a comment nor blank: ignored",
     "既非區段、項目、註解，也非空行：被忽略"},
    {TMsg::NotInteger, "not-integer", true, "{0}={1} is not a plain integer and reads as 0",
     "{0}={1} 不是單純的整數，讀作 0"},
    {TMsg::PlanValue, "plan-value", false, "{0}={1} is no value the board editor takes for its floor plan: it uses {2}",
     "{0}={1} 不是看板編輯器平面圖可用的值：改用 {2}"},
    {TMsg::PlanMissing, "plan-missing", false,
     "the floor plan {0} is not there: the board editor shows the board without it",
     "平面圖 {0} 不存在：看板編輯器顯示看板時不會有它"},
    {TMsg::EmptyLabel, "empty-label", true, "PC{0} is {1} x {2}: nothing to see or click",
     "PC{0} 大小為 {1} x {2}：看不到也點不到"},
    {TMsg::Outside, "outside", true, "PC{0} lies wholly outside the client area ({1} x {2}): nothing to see or click",
     "PC{0} 完全在視窗工作區 ({1} x {2}) 之外：看不到也點不到"},
    {TMsg::PartlyOutside, "partly-outside", false, "PC{0} reaches beyond the client area ({1} x {2}) and is cut off",
     "PC{0} 超出視窗工作區 ({1} x {2})，被截斷"},
    {TMsg::Covered, "covered", true, "PC{0} is wholly covered by {1}: nothing to see or click",
     "PC{0} 完全被 {1} 蓋住：看不到也點不到"},
    {TMsg::Overlap, "overlap", false, "PC{0} overlaps {1}; {1} is on top and takes the click",
     "PC{0} 與 {1} 重疊；{1} 在上層，點選時選到它"},
    {TMsg::UnderControl, "under-control", false, "PC{0} lies partly under {1}, which takes the click there",
     "PC{0} 有部分在 {1} 之下，該處點選的是 {1}"},
    {TMsg::CoversLabel, "covers-label", false, "PC{0} covers the window's label {1}", "PC{0} 蓋住視窗的標籤 {1}"},
    {TMsg::CaptionCut, "caption-cut", false,
     "the caption of PC{0} is about {1} px wide, wider than its {2} px: it is cut off",
     "PC{0} 的標題約 {1} 像素寬，超過標籤的 {2} 像素：會被截斷"},
    {TMsg::Summary, "summary", false, "{0}: {1} PC(s) shown, {2} warning(s), {3} error(s); read as {4}",
     "{0}：顯示 {1} 台電腦，{2} 個警告，{3} 個錯誤；以 {4} 讀取"},
    {TMsg::Usage, "usage", false, "usage: boardcheck [--svg PICTURE.svg] [--json] [sys.ini]",
     "用法：boardcheck [--svg 圖檔.svg] [--json] [sys.ini]"},
    {TMsg::NoFile, "no-file", false, "{0}: no such file", "{0}：檔案不存在"},
    {TMsg::IsDirectory, "is-directory", false, "{0}: is a folder, not a board file", "{0}：是資料夾，不是看板檔"},
    {TMsg::Unreadable, "unreadable", false, "{0}: cannot be read: {1}", "{0}：無法讀取：{1}"},
    {TMsg::CannotWrite, "cannot-write", false, "{0}: cannot be written", "{0}：無法寫入"},
};

constexpr TBilingualTable<TMsg, TRow> kTable(kRows, TMsg::CannotWrite);

}  // namespace

std::string Text(TMsg msg, TLanguage language, std::initializer_list<std::string_view> args)
{
    return kTable.Text(msg, language, args);
}

std::string Text(TMsg msg, TLanguage language, const std::vector<std::string>& args)
{
    return kTable.Text(msg, language, std::vector<std::string_view>(args.begin(), args.end()));
}

std::string_view Code(TMsg msg)
{
    return kTable.Row(msg).code;
}

bool IsError(TMsg msg)
{
    return kTable.Row(msg).error;
}

}  // namespace check
