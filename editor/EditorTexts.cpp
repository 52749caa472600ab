#include "editor/EditorTexts.h"

namespace editor {

namespace {

// Menus carry their access keys; Chinese ones after the word, as Windows shows them.
constexpr TBilingualText<TText> kRows[] = {
    {TText::AppName, "Board Editor", "看板編輯器"},
    {TText::MenuFile, "&File", "檔案(&F)"},
    {TText::MenuSave, "&Save", "儲存(&S)"},
    {TText::MenuSaveAs, "Save &As...", "另存新檔(&A)..."},
    {TText::MenuConvert, "Convert to &UTF-8", "轉換為 UTF-8(&U)"},
    {TText::MenuExit, "E&xit", "結束(&X)"},
    {TText::MenuEdit, "&Edit", "編輯(&E)"},
    {TText::MenuUndo, "&Undo", "復原(&U)"},
    {TText::MenuRedo, "&Redo", "取消復原(&R)"},
    {TText::MenuSelectAll, "Select &All", "全選(&A)"},
    {TText::MenuSelectNone, "Select &None", "取消選取(&N)"},
    {TText::MenuAdd, "Add &PC", "新增電腦(&P)"},
    {TText::MenuDuplicate, "&Duplicate", "複製選取(&D)"},
    {TText::MenuDelete, "De&lete", "刪除(&L)"},
    {TText::MenuGenerate, "&Grid of PCs...", "產生格狀排列(&G)..."},
    {TText::MenuRenumber, "Renumber in &Reading Order", "依閱讀順序重新編號(&O)"},
    {TText::MenuFields, "Go to &Fields", "移至欄位(&I)"},
    {TText::MenuCanvas, "Go to &Board", "移至看板(&B)"},
    {TText::MenuArrange, "&Arrange", "排列(&A)"},
    {TText::MenuAlignLeft, "Align &Left", "靠左對齊(&L)"},
    {TText::MenuAlignRight, "Align &Right", "靠右對齊(&R)"},
    {TText::MenuAlignTop, "Align &Top", "靠上對齊(&T)"},
    {TText::MenuAlignBottom, "Align &Bottom", "靠下對齊(&B)"},
    {TText::MenuCentresAcross, "Align &Centres Across", "水平置中對齊(&C)"},
    {TText::MenuCentresDown, "Align Centres &Down", "垂直置中對齊(&M)"},
    {TText::MenuDistributeAcross, "Distribute Acr&oss", "水平平均分布(&H)"},
    {TText::MenuDistributeDown, "Distribute Do&wn", "垂直平均分布(&V)"},
    {TText::MenuSameWidth, "Same &Width", "相同寬度(&W)"},
    {TText::MenuSameHeight, "Same H&eight", "相同高度(&E)"},
    {TText::MenuSameSize, "Same &Size", "相同大小(&S)"},
    {TText::MenuView, "&View", "檢視(&V)"},
    {TText::MenuSnap, "&Snap", "貼齊(&S)"},
    {TText::MenuShowGrid, "Show &Grid", "顯示格線(&G)"},
    {TText::MenuFindings, "Go to Findin&gs", "移至檢查結果(&K)"},
    {TText::FieldCaption, "Caption", "標題"},
    {TText::FieldLeft, "Left", "左"},
    {TText::FieldTop, "Top", "上"},
    {TText::FieldWidth, "Width", "寬"},
    {TText::FieldHeight, "Height", "高"},
    {TText::FieldGrid, "Grid", "格線"},
    {TText::Findings, "Findings", "檢查結果"},
    {TText::NoFindings, "No findings", "沒有發現問題"},
    {TText::StatusPointer, "Pointer {0}, {1}", "游標 {0}, {1}"},
    {TText::StatusSelection, "Left {0}  Top {1}  Width {2}  Height {3}", "左 {0}　上 {1}　寬 {2}　高 {3}"},
    {TText::StatusNone, "Nothing selected", "未選取"},
    {TText::StatusSelectedMany, "{0} selected", "已選取 {0} 台"},
    {TText::AskSave, "Save the changes to {0}?", "要儲存對 {0} 的變更嗎？"},
    {TText::SaveAsTitle, "Save board as", "另存看板"},
    {TText::SaveFilter, "Board files (*.ini)", "看板檔 (*.ini)"},
    {TText::Refused, "Not changed: {0}", "未變更：{0}"},
    {TText::RefusedLineBreak, "a value cannot hold a line break", "值不能含換行"},
    {TText::RefusedNul, "a value cannot hold a NUL character", "值不能含 NUL 字元"},
    {TText::RefusedNumber, "the board would not read this as a number from -2147483648 to 2147483647",
     "看板不會把它讀成 -2147483648 到 2147483647 之間的數字"},
    {TText::RefusedEncoding, "the file's encoding ({0}) cannot hold this text; File, Convert to UTF-8 can",
     "檔案的編碼（{0}）無法容納這段文字；可用「檔案、轉換為 UTF-8」"},
    {TText::RefusedNoPc, "no such PC", "沒有這台電腦"},
    {TText::RefusedFull, "the board cannot hold more PCs", "看板無法再容納更多電腦"},
    {TText::RefusedUnwritable, "the line would not read back as written", "該行讀回時會與寫入的不同"},
    {TText::NeedThree, "select three PCs or more to distribute", "請選取三台以上的電腦才能平均分布"},
    {TText::Describe, "left {0}, top {1}, width {2}, height {3}", "左 {0}，上 {1}，寬 {2}，高 {3}"},
    {TText::Line, "line {0}: {1}", "第 {0} 行：{1}"},
    {TText::GridTitle, "Grid of PCs", "產生格狀排列"},
    {TText::GridRows, "Rows", "列數"},
    {TText::GridColumns, "Columns", "行數"},
    {TText::GridWidth, "Width", "寬"},
    {TText::GridHeight, "Height", "高"},
    {TText::GridGapX, "Gap across", "水平間距"},
    {TText::GridGapY, "Gap down", "垂直間距"},
    {TText::GridLeft, "Left", "起點左"},
    {TText::GridTop, "Top", "起點上"},
    {TText::GridPattern, "Caption", "標題樣式"},
    {TText::GridAcross, "Numbered &across", "橫向編號(&A)"},
    {TText::GridDown, "Numbered &down", "縱向編號(&D)"},
    {TText::GridMake, "&Place", "放置(&P)"},
    {TText::GridCancel, "Cancel", "取消"},
    {TText::GridBad, "Rows and columns from 1, sizes from 1, all plain numbers",
     "列數與行數至少為 1，大小至少為 1，皆須為整數"},
    {TText::Unreadable, "{0} could not be read: {1}", "無法讀取 {0}：{1}"},
    {TText::TooLarge, "the file is too large for the memory there is", "檔案太大，記憶體容納不下"},
    {TText::OfferRecovery,
     "Changes to {0} were not saved when Windows ended the session, and were kept. Open them as unsaved "
     "changes? No discards them.",
     "Windows 結束工作階段時，{0} 的變更尚未儲存，已另外保留。要開啟這些變更（尚未儲存）嗎？選「否」會捨棄它們。"},
    {TText::ChangedOnDisk,
     "{0} is no longer what was opened here: another program has saved it since. Nothing of yours has been "
     "written to it.",
     "{0} 已不是這裡開啟時的內容：之後已有其他程式儲存過它。您的變更都還沒有寫入。"},
    {TText::WayReload, "&Reload theirs...", "重新載入對方的版本(&R)..."},
    {TText::WaySaveAs, "&Save mine as...", "將我的另存新檔(&S)..."},
    {TText::WayCancel, "Cancel", "取消"},
    {TText::AskReload, "Reload {0} as it now is on disk? Your unsaved changes are dropped.",
     "要依磁碟上現在的內容重新載入 {0} 嗎？尚未儲存的變更會被捨棄。"},
    {TText::WayMerge, "&Merge theirs and mine", "合併對方的與我的(&M)"},
    {TText::MergeGone, "{0} is no longer there: there is nothing to merge with. Save mine as... keeps your work.",
     "{0} 已不存在，沒有可合併的對象。可用「將我的另存新檔」保留您的變更。"},
    {TText::MergeUnknown,
     "Your changes to {0} cannot be merged: they were kept when Windows ended a session, or changes from before the "
     "last save were undone, so which ones are new is not known. Reload theirs, or save yours under another name.",
     "無法合併您對 {0} 的變更：它們是 Windows "
     "結束工作階段時保留下來的，或上次儲存之前的變更已被復原，因此無法得知哪些是新的。"
     "請重新載入對方的版本，或將您的另存新檔。"},
    {TText::MergeTitle, "Both changed the same", "雙方改了同一處"},
    {TText::MergeList,
     "{0} was saved by another program meanwhile, and you both changed these. For each, keep theirs (as in the file "
     "now) or yours. The result is shown, not saved, for a look before you save it.",
     "{0} 在這段期間已由其他程式儲存，而雙方都改了下列各處。請逐一選擇保留對方的（即檔案現在的內容）或您的。"
     "合併的結果會先顯示、不會儲存，讓您確認後再儲存。"},
    {TText::MergeKeepTheirs, "keeping theirs", "保留對方的"},
    {TText::MergeKeepMine, "keeping mine", "保留我的"},
    {TText::MergeSetTheirs, "Keep &theirs", "保留對方的(&T)"},
    {TText::MergeSetMine, "Keep &mine", "保留我的(&M)"},
    {TText::MergeAllTheirs, "All t&heirs", "全部保留對方的(&H)"},
    {TText::MergeAllMine, "All m&ine", "全部保留我的(&I)"},
    {TText::MergeOk, "OK", "確定"},
    {TText::ConflictValue, "{0}, {1}: theirs {2}, mine {3}", "{0}，{1}：對方的 {2}，我的 {3}"},
    {TText::ConflictDeletedByThem, "{0}: they deleted it, you changed it; keeping mine puts it back",
     "{0}：對方刪除了它，您修改了它；保留我的會將它加回"},
    {TText::ConflictDeletedByMe, "{0}: you deleted it, they changed it", "{0}：您刪除了它，對方修改了它"},
    {TText::Quoted, "\"{0}\"", "「{0}」"},
    {TText::Empty, "(empty)", "（空白）"},
    {TText::PcNumber, "PC {0}", "電腦 {0}"},
    {TText::APc, "a PC since deleted", "一台之後刪除的電腦"},
    {TText::Merged,
     "Merged with {0} as saved meanwhile. Your changes made again on it: {1}; both changed the same: {2}, kept as "
     "yours: {3}; refused: {4}. Not saved yet; Undo shows theirs.",
     "已與這段期間儲存的 {0} 合併。重新套用您的變更：{1} 項；雙方改了同一處：{2} 處，其中保留您的：{3} 處；"
     "無法套用：{4} 項。尚未儲存；復原可看到對方的版本。"},
    {TText::MergeRefused,
     "These changes of yours could not be made on {0} as the other program saved it (a character its encoding "
     "cannot hold, or a board that cannot hold more PCs), and are not in the result:\n{1}",
     "下列您的變更無法套用到其他程式儲存的 {0}（檔案編碼無法容納的字元，或看板無法再容納更多電腦），"
     "合併結果中沒有它們：\n{1}"},
    {TText::RefusedSet, "{0}: {1} set to {2}", "{0}：{1} 設為 {2}"},
    {TText::RefusedAdd, "a new PC, {0}", "新增的電腦 {0}"},
    {TText::RefusedDelete, "{0} deleted", "刪除 {0}"},
    {TText::RefusedMove, "{0} given the number {1}", "{0} 改為編號 {1}"},
    {TText::RefusedReorder, "the PCs renumbered", "電腦重新編號"},
    {TText::RefusedConvert, "the conversion to UTF-8", "轉換為 UTF-8"},
    {TText::RefusedPlan, "the floor plan", "平面圖"},
    {TText::MenuFloorPlan, "Floor &Plan...", "平面圖(&P)..."},
    {TText::MenuHidePlan, "&Hide Floor Plan", "隱藏平面圖(&H)"},
    {TText::MenuMovePlan, "&Move Floor Plan", "移動平面圖(&M)"},
    {TText::MenuLineUpPlan, "&Line Up Floor Plan by Two Points", "以兩點對齊平面圖(&L)"},
    {TText::MenuRemovePlan, "&Remove Floor Plan", "移除平面圖(&R)"},
    {TText::FieldPlanLeft, "Plan left", "平面圖左"},
    {TText::FieldPlanTop, "Plan top", "平面圖上"},
    {TText::FieldPlanScale, "Scale %", "縮放 %"},
    {TText::FieldPlanOpacity, "Opacity %", "不透明 %"},
    {TText::FieldPlanDistance, "Distance", "兩點距離"},
    {TText::PlanTitle, "Floor Plan", "平面圖"},
    {TText::PlanFilter, "Pictures (*.png, *.jpg, *.bmp, *.gif, *.tif)", "圖片 (*.png, *.jpg, *.bmp, *.gif, *.tif)"},
    {TText::PlanItem, "Floor plan {0}", "平面圖 {0}"},
    {TText::PlanCannotOpen, "{0} cannot be the floor plan: {1}. The board is unchanged.",
     "{0} 無法作為平面圖：{1}。看板未變更。"},
    {TText::PlanNotShown, "Floor plan {0} not shown: {1}", "平面圖 {0} 未顯示：{1}"},
    {TText::PlanNotFound, "the file is not there", "檔案不存在"},
    {TText::PlanUnreadable, "it cannot be read ({0})", "無法讀取（{0}）"},
    {TText::PlanNotAPicture, "it is no PNG, JPEG, BMP, GIF or TIFF picture", "不是 PNG、JPEG、BMP、GIF 或 TIFF 圖片"},
    {TText::PlanTooLarge, "it is too large to open in memory", "太大，記憶體不足以開啟"},
    {TText::PlanNone, "No floor plan shown: View, Floor Plan... chooses one",
     "未顯示平面圖：請用 檢視、平面圖... 選擇"},
    {TText::PlanFirstPoint, "Click the first of two points on the floor plan", "請在平面圖上點選兩點中的第一點"},
    {TText::PlanSecondPoint, "Click the second point on the floor plan", "請在平面圖上點選第二點"},
    {TText::PlanTypeDistance, "Type in Distance how many board pixels apart the two points are, then press Enter",
     "請在「兩點距離」輸入這兩點在看板上相距幾個像素，再按 Enter"},
    {TText::PlanBadPoints,
     "Not lined up: the two points must differ, the distance be a whole number of pixels above 0, and the scale "
     "come out from 0.01 % to 10000 %",
     "未對齊：兩點必須不同，距離須為大於 0 的整數像素，且縮放比例須在 0.01 % 到 10000 % 之間"},
    {TText::PlanBadValue,
     "Not changed: the plan's place is a whole number, its scale a per cent from 0.01 to 10000 with up to two "
     "decimals, its opacity a per cent from 0 to 100",
     "未變更：平面圖位置須為整數，縮放為 0.01 到 10000 的百分比（最多兩位小數），不透明度為 0 到 100 的百分比"},
    {TText::PlanLinedUp, "Floor plan lined up: scale {0} %", "平面圖已對齊：縮放 {0} %"},
};

constexpr TBilingualTable<TText> kTable(kRows, TText::PlanLinedUp);

TLanguage language = UserLanguage();

}  // namespace

TLanguage Language()
{
    return language;
}

void SetLanguage(TLanguage value)
{
    language = value;
}

std::string Text(TText text, std::initializer_list<std::string_view> args)
{
    return kTable.Text(text, language, args);
}

}  // namespace editor
