#include "editor/EditForm.h"

#include <algorithm>
#include <iterator>
#include <tuple>

#include "board/BoardFile.h"
#include "editor/EditorTexts.h"
#include "platform/forms/Dialogs.h"
#include "platform/text/FileRead.h"
#include "platform/text/SysUtils.h"

using editor::TAlign;
using editor::Text;
using editor::THandle;
using editor::TPcKey;
using editor::TRefusal;
using editor::TText;

TEditForm* EditForm = nullptr;
std::string EditFilePath;

namespace {

// The board's client area sits this far into the canvas, so what lies beyond its edges shows.
constexpr std::int64_t kMargin = 16;
constexpr std::int32_t kPanelWidth = 280, kStatusHeight = 22, kRow = 26;
constexpr std::int32_t kHandle = 5, kTolerance = 4;
// Room for the scroll bars, which show when PCs lie beyond what the canvas shows.
constexpr std::int32_t kScrollBarRoom = 18;
// How long the board must stay as it is before the checker reads it again, in milliseconds.
constexpr std::uint32_t kCheckDelay = 250;
// Tab orders from here on are the generator's, then the findings'.
constexpr int kGeneratorTabs = 100;
// The panel's fields and a few lines of findings.
constexpr std::int32_t kPanelHeight = 500;

constexpr TColor kOutside = 0x00A0A0A0;
constexpr TColor kGridLine = 0x00D8D8D8;
constexpr TColor kDimmed = 0x00E8E8E8;
constexpr TColor kDimmedText = 0x00808080;
constexpr TColor kSelection = 0x00D77800;  // blue
constexpr TColor kGuide = 0x00FF00FF;
constexpr TColor kProblem = 0x000000E0;
constexpr TColor kPanel = 0x00F0F0F0;

TCursor CursorOf(THandle h)
{
    switch (h) {
    case THandle::Move:
        return crSizeAll;
    case THandle::Left:
    case THandle::Right:
        return crSizeWE;
    case THandle::Top:
    case THandle::Bottom:
        return crSizeNS;
    case THandle::TopLeft:
    case THandle::BottomRight:
        return crSizeNWSE;
    case THandle::TopRight:
    case THandle::BottomLeft:
        return crSizeNESW;
    case THandle::None:
        break;
    }
    return crDefault;
}

TRect64 Inflated(const TRect64& r, std::int64_t by)
{
    return {r.left - by, r.top - by, r.right + by, r.bottom + by};
}

// The eight handles of a rectangle: corners and the middles of its edges.
std::array<TRect64, 8> Handles(const TRect64& r)
{
    const std::int64_t cx = (r.left + r.right) / 2, cy = (r.top + r.bottom) / 2, h = kHandle / 2;
    const auto at = [h](std::int64_t x, std::int64_t y) { return TRect64{x - h, y - h, x + h + 1, y + h + 1}; };
    return {at(r.left, r.top),      at(cx, r.top),
            at(r.right - 1, r.top), at(r.left, cy),
            at(r.right - 1, cy),    at(r.left, r.bottom - 1),
            at(cx, r.bottom - 1),   at(r.right - 1, r.bottom - 1)};
}

std::string RefusalText(TRefusal refusal, TTextEncoding encoding)
{
    switch (refusal) {
    case TRefusal::LineBreak:
        return Text(TText::RefusedLineBreak);
    case TRefusal::Nul:
        return Text(TText::RefusedNul);
    case TRefusal::NotANumber:
        return Text(TText::RefusedNumber);
    case TRefusal::NotInEncoding:
        return Text(TText::RefusedEncoding, {check::EncodingName(encoding)});
    case TRefusal::NoSuchPc:
        return Text(TText::RefusedNoPc);
    case TRefusal::BoardFull:
        return Text(TText::RefusedFull);
    case TRefusal::Unwritable:
    case TRefusal::None:
        break;
    }
    return Text(TText::RefusedUnwritable);
}

bool ReadingOrder(const TRect64& a, const TRect64& b)
{
    return std::tie(a.top, a.left, a.bottom, a.right) < std::tie(b.top, b.left, b.bottom, b.right);
}

bool ReadPlanNumber(const TEdit* edit, std::int32_t& value)
{
    return TryStrToInt(edit->Text(), value);
}

}  // namespace

TEditForm::TEditForm(TComponent* owner) : TForm(owner, "PcBoardEditorForm")
{
    path_ = EditFilePath.empty() ? board::FilePath(Application->GetExeName()) : EditFilePath;
    std::string bytes;
    existed_ = ReadWholeFile(path_, bytes);
    editor_ = std::make_unique<editor::TBoardEditor>(std::move(bytes));
    // The window's layout as the checker knows it; the board's findings come once it shows.
    check_ = check::CheckBoard({});

    // The same font as the status board, so captions are cut where it cuts them.
    TFont font;
    font.Name = check_.fontName.empty() ? font.Name : check_.fontName;
    font.Height = -check_.fontHeight;
    SetFont(font);
    boardClient_ = TRect64::Of(0, 0, check_.clientWidth, check_.clientHeight);
    origin_ = {kMargin, kMargin};

    canvasFocus_ = new TLabel(this);
    canvasFocus_->SetParent(this);
    canvasFocus_->SetTakesFocus(true);
    canvasFocus_->SetOnKeyDown([this](TObject*, TKeyInfo& k) { CanvasKeyDown(k); });
    canvasFocus_->SetOnKeyUp([this](TObject*, TKeyInfo& k) { CanvasKeyUp(k); });

    BuildMenu();
    SetOnResize([this](TObject*) { Layout(); });
    // The whole client area of the board at first, the panel beside it, and room for the frame,
    // the menu bar and scroll bars around them.
    const std::int32_t canvasWidth = static_cast<std::int32_t>(check_.clientWidth + 2 * kMargin);
    const std::int32_t canvasHeight =
        std::max<std::int32_t>(static_cast<std::int32_t>(check_.clientHeight + 2 * kMargin), kPanelHeight);
    SetBounds(40, 40, canvasWidth + kPanelWidth + 16 + kScrollBarRoom,
              canvasHeight + kStatusHeight + 62 + kScrollBarRoom);
    // Once the window has its size, so that each control is made where it stays.
    BuildPanel();
    SetOnMouseDown([this](TObject*, const TMouseInfo& m) { CanvasMouseDown(m); });
    SetOnMouseMove([this](TObject*, const TMouseInfo& m) { CanvasMouseMove(m); });
    SetOnMouseUp([this](TObject*, const TMouseInfo& m) { CanvasMouseUp(m); });
    SetOnPaintBehind([this](TObject*, TCanvas& c) { PaintBehind(c); });
    SetOnPaintOver([this](TObject*, TCanvas& c) { PaintOver(c); });
    SetOnCloseQuery([this](TObject*, bool& canClose) { AskToSave(canClose); });
    SetOnScroll([this](TObject*, TScrollBarKind kind, std::int32_t position) {
        TPoint64 scroll = scroll_;
        (kind == sbHorizontal ? scroll.x : scroll.y) =
            position + (kind == sbHorizontal ? extent_.left : extent_.top) + kMargin;
        ScrollTo(scroll);
    });
    SetOnMouseWheel([this](TObject*, const TMouseWheelInfo& w) {
        const std::int64_t by = -static_cast<std::int64_t>(w.delta) * 48 / 120;
        const bool across = (w.shift & ssShift) != 0;
        ScrollTo({scroll_.x + (across ? by : 0), scroll_.y + (across ? 0 : by)});
    });

    checkTimer_ = new TTimer(this);
    checkTimer_->SetInterval(kCheckDelay);
    checkTimer_->SetOnTimer([this](TObject*) {
        checkTimer_->SetEnabled(false);
        checkTimer_->SetInterval(kCheckDelay);
        RefreshFindings(true);
    });
    ReserveComponents(editor_->Pcs().size() + 64);
    ReserveControls(editor_->Pcs().size() + 64);
    AfterStep();
    ShowFindings();
    // The first check as soon as the board is on screen: timers come after painting.
    checkTimer_->SetInterval(1);
    editor_->MarkSaved();
    UpdateTitle();
    SetStatus(check::EncodingName(editor_->Document().Encoding()));
    SetFocusedControl(canvasFocus_);
}

TEditForm::~TEditForm() = default;

// -- building

void TEditForm::BuildMenu()
{
    menu_ = new TMainMenu(this);
    const auto top = [this](TText text) {
        auto* item = new TMenuItem(this);
        item->SetCaption(Text(text));
        menu_->Items().Add(item);
        return item;
    };
    const auto add = [this](TMenuItem* parent, TText text, TShortCut shortcut, TNotifyEvent handler) {
        auto* item = new TMenuItem(this);
        item->SetCaption(Text(text));
        item->SetShortCut(shortcut);
        item->SetOnClick(std::move(handler));
        parent->Add(item);
        return item;
    };
    const auto separator = [this](TMenuItem* parent) {
        auto* item = new TMenuItem(this);
        item->SetCaption("-");
        parent->Add(item);
    };
    const auto step = [this](auto work) { return [this, work](TObject*) { Step(work()); }; };
    constexpr std::uint16_t kF6 = vkF1 + 5, kF8 = vkF1 + 7;

    TMenuItem* file = top(TText::MenuFile);
    add(file, TText::MenuSave, {'S', ssCtrl}, [this](TObject*) { Save(); });
    add(file, TText::MenuSaveAs, {'S', ssCtrl | ssShift}, [this](TObject*) { SaveAs(); });
    add(file, TText::MenuConvert, {}, [this](TObject*) {
        editor_->Document().ConvertToUtf8(true);
        AfterStep();
    });
    separator(file);
    add(file, TText::MenuExit, {}, [this](TObject*) { Close(); });

    TMenuItem* edit = top(TText::MenuEdit);
    undoItem_ = add(edit, TText::MenuUndo, {'Z', ssCtrl}, [this](TObject*) {
        editor_->Undo();
        AfterStep();
    });
    redoItem_ = add(edit, TText::MenuRedo, {'Y', ssCtrl}, [this](TObject*) {
        editor_->Redo();
        AfterStep();
    });
    separator(edit);
    add(edit, TText::MenuSelectAll, {'A', ssCtrl}, [this](TObject*) {
        editor_->SelectAll();
        SyncSelection();
    });
    add(edit, TText::MenuSelectNone, {vkEscape, 0}, [this](TObject*) {
        editor_->ClearSelection();
        SyncSelection();
    });
    separator(edit);
    add(edit, TText::MenuAdd, {vkInsert, 0}, step([this] { return editor_->AddPc(); }));
    add(edit, TText::MenuDuplicate, {'D', ssCtrl}, step([this] { return editor_->Duplicate(); }));
    add(edit, TText::MenuDelete, {vkDelete, 0}, step([this] { return editor_->DeleteSelection(); }));
    add(edit, TText::MenuGenerate, {'G', ssCtrl}, [this](TObject*) { ShowGenerator(); });
    add(edit, TText::MenuRenumber, {}, step([this] { return editor_->RenumberReadingOrder(); }));
    separator(edit);
    add(edit, TText::MenuFields, {kF6, 0}, [this](TObject*) { valueEdits_[0]->SetFocus(); });
    add(edit, TText::MenuCanvas, {kF6, ssShift}, [this](TObject*) { FocusCanvas(); });
    add(edit, TText::MenuFindings, {kF8, 0}, [this](TObject*) { findingList_->SetFocus(); });

    TMenuItem* arrange = top(TText::MenuArrange);
    const std::pair<TText, TAlign> aligns[] = {{TText::MenuAlignLeft, TAlign::Left},
                                               {TText::MenuAlignRight, TAlign::Right},
                                               {TText::MenuAlignTop, TAlign::Top},
                                               {TText::MenuAlignBottom, TAlign::Bottom},
                                               {TText::MenuCentresAcross, TAlign::CentresAcross},
                                               {TText::MenuCentresDown, TAlign::CentresDown}};
    for (const auto& [text, how] : aligns)
        add(arrange, text, {}, step([this, how = how] { return editor_->Align(how); }));
    separator(arrange);
    add(arrange, TText::MenuDistributeAcross, {}, step([this] { return editor_->Distribute(true); }));
    add(arrange, TText::MenuDistributeDown, {}, step([this] { return editor_->Distribute(false); }));
    separator(arrange);
    add(arrange, TText::MenuSameWidth, {}, step([this] { return editor_->MakeSameSize(editor::TSize::Width); }));
    add(arrange, TText::MenuSameHeight, {}, step([this] { return editor_->MakeSameSize(editor::TSize::Height); }));
    add(arrange, TText::MenuSameSize, {}, step([this] { return editor_->MakeSameSize(editor::TSize::Both); }));

    TMenuItem* view = top(TText::MenuView);
    snapItem_ = add(view, TText::MenuSnap, {}, [this](TObject*) {
        editor_->Grid().snap = !editor_->Grid().snap;
        UpdateMenus();
    });
    gridItem_ = add(view, TText::MenuShowGrid, {}, [this](TObject*) {
        editor_->Grid().shown = !editor_->Grid().shown;
        UpdateMenus();
        Invalidate(canvasRect_);
    });
    SetMenu(menu_);
}

TEdit* TEditForm::AddField(std::string caption, std::int32_t left, std::int32_t top, std::int32_t width,
                           std::int32_t captionWidth, std::string text, int tabOrder)
{
    auto* edit = new TEdit(this);
    // Placed and filled before it has a window: the window is then made once, as it stays.
    edit->SetBounds(left + captionWidth, top, width, 21);
    edit->SetTabOrder(tabOrder < 0 ? static_cast<int>(fields_.size()) : tabOrder);
    edit->SetText(std::move(text));
    edit->SetParent(this);
    edit->SetOnKeyDown([this, edit](TObject*, TKeyInfo& k) { FieldKeyDown(edit, k); });
    fields_.push_back({edit, std::move(caption), TRect64::Of(left, top, captionWidth - 4, 21)});
    return edit;
}

void TEditForm::BuildPanel()
{
    const std::int32_t x = panelLeft_ + 8;
    std::int32_t y = 8;
    valueEdits_[0] = AddField(Text(TText::FieldCaption), x, y, 200, 56);
    y += kRow;
    valueEdits_[1] = AddField(Text(TText::FieldLeft), x, y, 72, 56);
    valueEdits_[2] = AddField(Text(TText::FieldTop), x + 132, y, 68, 28);
    y += kRow;
    valueEdits_[3] = AddField(Text(TText::FieldWidth), x, y, 72, 56);
    valueEdits_[4] = AddField(Text(TText::FieldHeight), x + 132, y, 68, 28);
    y += kRow;
    gridStep_ = AddField(Text(TText::FieldGrid), x, y, 72, 56, IntToStr(editor_->Grid().step));
    y += kRow + 8;

    headings_.push_back(Text(TText::GridTitle));
    headingRects_.push_back(TRect64::Of(x, y, 256, 18));
    y += 20;
    // The generator's fields are made when first wanted: most openings never use them.
    generatorTop_ = y;
    placeButton_ = new TButton(this);
    placeButton_->SetBounds(x + 132, y + 5 * kRow, 124, 25);
    placeButton_->SetCaption(Text(TText::MenuGenerate));
    placeButton_->SetTabOrder(kGeneratorTabs + 10);
    placeButton_->SetParent(this);
    placeButton_->SetOnClick([this](TObject*) {
        if (planEdits_[0])
            PlaceGrid();
        else
            ShowGenerator();
    });
    y += 6 * kRow + 8;

    headings_.push_back(Text(TText::Findings));
    headingRects_.push_back(TRect64::Of(x, y, 256, 18));
    y += 20;
    findingList_ = new TListBox(this);
    findingList_->SetBounds(x, y, 256, std::max(static_cast<std::int32_t>(panelRect_.bottom) - y - 8, 40));
    findingList_->SetTabOrder(kGeneratorTabs + 20);
    findingList_->SetParent(this);
    findingList_->SetOnClick([this](TObject*) { FindingClick(); });
}

void TEditForm::ShowGenerator()
{
    if (!planEdits_[0]) {
        const std::int32_t x = panelLeft_ + 8;
        std::int32_t y = generatorTop_;
        const editor::TGridPlan plan;
        const std::pair<TText, std::int32_t> numbers[] = {
            {TText::GridRows, plan.rows},     {TText::GridColumns, plan.columns}, {TText::GridWidth, plan.width},
            {TText::GridHeight, plan.height}, {TText::GridGapX, plan.gapX},       {TText::GridGapY, plan.gapY},
            {TText::GridLeft, plan.left},     {TText::GridTop, plan.top}};
        for (std::size_t i = 0; i < std::size(numbers); ++i) {
            const bool right = i % 2 == 1;
            planEdits_[i] = AddField(Text(numbers[i].first), x + (right ? 132 : 0), y, 60, 72,
                                     IntToStr(numbers[i].second), kGeneratorTabs + static_cast<int>(i));
            if (right)
                y += kRow;
        }
        planEdits_[8] = AddField(Text(TText::GridPattern), x, y, 184, 72, plan.pattern, kGeneratorTabs + 8);
        y += kRow;
        directionButton_ = new TButton(this);
        directionButton_->SetBounds(x, y, 124, 25);
        directionButton_->SetCaption(Text(TText::GridAcross));
        directionButton_->SetTabOrder(kGeneratorTabs + 9);
        directionButton_->SetParent(this);
        directionButton_->SetOnClick([this](TObject*) {
            planDown_ = !planDown_;
            directionButton_->SetCaption(Text(planDown_ ? TText::GridDown : TText::GridAcross));
        });
        placeButton_->SetCaption(Text(TText::GridMake));
        Invalidate(panelRect_);
    }
    planEdits_[0]->SetFocus();
}

void TEditForm::Layout()
{
    const std::int32_t width = std::max(ClientWidth(), kPanelWidth + 100);
    const std::int32_t height = std::max(ClientHeight(), kStatusHeight + 100);
    canvasRect_ = TRect64::Of(0, 0, width - kPanelWidth, height - kStatusHeight);
    panelRect_ = TRect64{canvasRect_.right, 0, width, canvasRect_.bottom};
    statusRect_ = TRect64{0, canvasRect_.bottom, width, height};
    // The panel's controls and texts keep their places in it.
    const std::int32_t dx = static_cast<std::int32_t>(panelRect_.left) - panelLeft_;
    panelLeft_ = static_cast<std::int32_t>(panelRect_.left);
    if (!findingList_)
        return;  // not made yet
    const auto shift = [dx](TRect64& r) {
        r.left += dx;
        r.right += dx;
    };
    for (TField& f : fields_) {
        f.edit->SetLeft(f.edit->Left() + dx);
        shift(f.captionRect);
    }
    for (TRect64& r : headingRects_)
        shift(r);
    for (TControl* c : std::initializer_list<TControl*>{directionButton_, placeButton_, findingList_})
        if (c)
            c->SetLeft(c->Left() + dx);
    findingList_->SetHeight(std::max(static_cast<std::int32_t>(panelRect_.bottom) - findingList_->Top() - 8, 40));
    UpdateScrollBars();
    Invalidate();
}

// -- following the board

void TEditForm::AfterStep()
{
    SyncLabels();
    UpdateScrollBars();
    SyncSelection();
    // The checker reads the whole file: once the admin pauses, not at every repeat of a key.
    checkTimer_->Restart();
    UpdateTitle();
    UpdateMenus();
}

void TEditForm::SyncLabels()
{
    const auto& pcs = editor_->Pcs();
    while (labels_.size() > pcs.size()) {
        labelPlaces_.erase(labels_.back());
        delete labels_.back();
        labels_.pop_back();
    }
    while (labels_.size() < pcs.size()) {
        auto* label = new TLabel(this);
        label->SetParent(this);
        label->SetColor(clYellow);
        label->SetAutoSize(false);
        label->SetAlignment(taCenter);
        label->SetLayout(tlCenter);
        labelPlaces_.emplace(label, labels_.size());
        labels_.push_back(label);
    }
    for (std::size_t i = 0; i < pcs.size(); ++i) {
        TLabel& label = *labels_[i];
        const board::TPcEntry& e = pcs[i].entry;
        if (label.Caption() != e.caption)
            label.SetCaption(e.caption);
        const TRect64 r = OnScreen(TRect64::Of(e.left, e.top, e.width, e.height));
        // Far off the canvas a label keeps its size at the edge of 32-bit coordinates.
        const auto clamp = [](std::int64_t v) {
            return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, INT32_MIN, INT32_MAX));
        };
        if (label.Left() != clamp(r.left) || label.Top() != clamp(r.top) || label.Width() != e.width ||
            label.Height() != e.height)
            label.SetBounds(clamp(r.left), clamp(r.top), e.width, e.height);
    }
}

void TEditForm::SyncSelection()
{
    const auto& sel = editor_->Selection();
    SetSelected(sel.empty() ? nullptr : labels_[sel.back()]);
    ShowFields();
    RepaintOverlay();
    SetStatus({});
}

void TEditForm::ShowFields()
{
    for (std::size_t k = 0; k < valueEdits_.size(); ++k) {
        const auto shared = editor_->SharedField(static_cast<TPcKey>(k));
        valueEdits_[k]->SetText(shared ? *shared : std::string());
    }
}

void TEditForm::RefreshFindings(bool recheck)
{
    bool unchanged = false;
    if (recheck) {
        std::vector<check::TFinding> before = std::move(check_.findings);
        check_ = check::CheckBoard(editor_->Document().Bytes());
        unchanged = std::equal(before.begin(), before.end(), check_.findings.begin(), check_.findings.end(),
                               [](const check::TFinding& x, const check::TFinding& y) {
                                   return x.line == y.line && x.msg == y.msg && x.pc == y.pc && x.args == y.args;
                               });
    }
    // Most steps leave the findings as they were, and a long list is slow to make again.
    if (!unchanged)
        ShowFindings();
    // Only where a mark came or went is painted again.
    std::vector<TRect64> marks = Marks(), differ;
    std::set_symmetric_difference(marks_.begin(), marks_.end(), marks.begin(), marks.end(), std::back_inserter(differ),
                                  ReadingOrder);
    TRect64 changed;
    for (const TRect64& r : differ)
        changed = changed.Union(r);
    marks_ = std::move(marks);
    Invalidate(OnScreen(Inflated(changed, 3)));
}

void TEditForm::ShowFindings()
{
    findingPcs_.clear();
    std::vector<std::string> rows;
    for (std::size_t i = 0; i < check_.findings.size(); ++i) {
        const check::TFinding& f = check_.findings[i];
        rows.push_back(Text(TText::Line, {IntToStr(static_cast<std::int64_t>(f.line)),
                                          check::Text(f.msg, editor::Language(), f.args)}));
        if (f.pc)
            findingPcs_.push_back(f.pc);
    }
    if (rows.empty())
        rows.push_back(Text(TText::NoFindings));
    std::sort(findingPcs_.begin(), findingPcs_.end());
    findingPcs_.erase(std::unique(findingPcs_.begin(), findingPcs_.end()), findingPcs_.end());
    findingList_->SetItems(std::move(rows));
}

std::vector<TRect64> TEditForm::Marks() const
{
    std::vector<TRect64> marks;
    for (const std::int32_t number : findingPcs_)
        if (const auto place = editor_->PlaceOf(number))
            marks.push_back(editor_->RectOf(*place));
    std::sort(marks.begin(), marks.end(), ReadingOrder);
    return marks;
}

void TEditForm::UpdateTitle()
{
    SetCaption((editor_->Modified() ? "*" : "") + ExtractFileName(path_) + " - " + Text(TText::AppName));
}

void TEditForm::UpdateMenus()
{
    undoItem_->SetEnabled(editor_->CanUndo());
    redoItem_->SetEnabled(editor_->CanRedo());
    snapItem_->SetChecked(editor_->Grid().snap);
    gridItem_->SetChecked(editor_->Grid().shown);
}

void TEditForm::SetStatus(std::string message)
{
    if (!message.empty())
        status_ = std::move(message);
    Invalidate(statusRect_);
}

void TEditForm::Refused(TRefusal refusal)
{
    SetStatus(Text(TText::Refused, {RefusalText(refusal, editor_->Document().Encoding())}));
}

void TEditForm::Step(TRefusal refusal)
{
    if (refusal != TRefusal::None)
        Refused(refusal);
    AfterStep();
}

// -- the canvas

TRect64 TEditForm::OnScreen(const TRect64& r) const
{
    return {r.left + origin_.x, r.top + origin_.y, r.right + origin_.x, r.bottom + origin_.y};
}

bool TEditForm::InCanvas(const TMouseInfo& m) const
{
    return canvasRect_.Contains(m.x, m.y);
}

void TEditForm::FocusCanvas()
{
    SetFocusedControl(canvasFocus_);
}

void TEditForm::CanvasMouseDown(const TMouseInfo& m)
{
    if (m.button != mbLeft || !InCanvas(m))
        return;
    FocusCanvas();
    editor_->Press(OnBoard(m), (m.shift & ssCtrl) != 0, kTolerance);
    SyncSelection();
}

void TEditForm::CanvasMouseMove(const TMouseInfo& m)
{
    pointer_ = OnBoard(m);
    if (m.shift & ssLeft) {
        const TRect64 changed = editor_->DragTo(pointer_, !(m.shift & ssAlt) && editor_->Grid().snap);
        if (!changed.IsEmpty()) {
            SyncLabels();
            RepaintOverlay();
        }
    } else {
        SetCursor(InCanvas(m) ? CursorOf(editor_->HandleAt(pointer_, kTolerance)) : crDefault);
    }
    SetStatus({});
}

void TEditForm::CanvasMouseUp(const TMouseInfo& m)
{
    if (m.button != mbLeft)
        return;
    const bool dragged = editor_->Dragging();
    const TRefusal refusal = editor_->Release();
    if (dragged)
        Step(refusal);
    else
        SyncSelection();
}

void TEditForm::CanvasKeyDown(TKeyInfo& k)
{
    if (k.key == vkTab && !(k.shift & (ssCtrl | ssAlt))) {
        editor_->SelectNext((k.shift & ssShift) != 0);
        SyncSelection();
        if (!editor_->Selection().empty())
            ShowPc(editor_->Selection().back());
        k.handled = true;
        return;
    }
    if (k.key < vkLeft || k.key > vkDown || editor_->Selection().empty())
        return;
    const std::int32_t by = (k.shift & ssShift) ? editor_->Grid().step : 1;
    const std::int32_t dx = k.key == vkLeft ? -by : k.key == vkRight ? by : 0;
    const std::int32_t dy = k.key == vkUp ? -by : k.key == vkDown ? by : 0;
    Step(editor_->Nudge(dx, dy, (k.shift & ssCtrl) != 0, keyStepHeld_));
    keyStepHeld_ = true;
    ShowPc(editor_->Selection().back());
    k.handled = true;
}

void TEditForm::CanvasKeyUp(TKeyInfo&)
{
    // The next press of an arrow is a step of its own.
    keyStepHeld_ = false;
}

void TEditForm::FieldKeyDown(TEdit* edit, TKeyInfo& k)
{
    if (k.key != vkReturn)
        return;
    k.handled = true;
    if (edit == gridStep_) {
        std::int32_t step = 0;
        if (TryStrToInt(edit->Text(), step) && step >= 1 && step <= 1000) {
            editor_->Grid().step = step;
            Invalidate(canvasRect_);
        } else {
            edit->SetText(IntToStr(editor_->Grid().step));
        }
        return;
    }
    for (std::size_t key = 0; key < valueEdits_.size(); ++key)
        if (valueEdits_[key] == edit) {
            if (editor_->Selection().empty())
                return;
            const TRefusal refusal = editor_->SetField(static_cast<TPcKey>(key), edit->Text());
            if (refusal != TRefusal::None) {
                Refused(refusal);
                return;
            }
            AfterStep();
            return;
        }
    if (std::find(planEdits_.begin(), planEdits_.end(), edit) != planEdits_.end())
        PlaceGrid();
}

void TEditForm::PlaceGrid()
{
    editor::TGridPlan plan;
    std::int32_t* numbers[] = {&plan.rows, &plan.columns, &plan.width, &plan.height,
                               &plan.gapX, &plan.gapY,    &plan.left,  &plan.top};
    bool ok = true;
    for (std::size_t i = 0; i < std::size(numbers); ++i)
        ok = ok && ReadPlanNumber(planEdits_[i], *numbers[i]);
    if (!ok || plan.rows < 1 || plan.columns < 1 || plan.width < 1 || plan.height < 1 ||
        static_cast<std::int64_t>(plan.rows) * plan.columns > 100000) {
        SetStatus(Text(TText::GridBad));
        return;
    }
    plan.pattern = planEdits_[8]->Text();
    plan.down = planDown_;
    Step(editor_->Generate(plan));
}

void TEditForm::FindingClick()
{
    const int row = findingList_->ItemIndex();
    // One row per finding, in order ("no findings" alone has none).
    if (row < 0 || static_cast<std::size_t>(row) >= check_.findings.size())
        return;
    const auto place = editor_->PlaceOf(check_.findings[static_cast<std::size_t>(row)].pc);
    if (!place)
        return;
    editor_->Select(*place);
    SyncSelection();
    ShowPc(*place);
}

void TEditForm::AskToSave(bool& canClose)
{
    if (!editor_->Modified())
        return;
    switch (MessageDlg(Text(TText::AskSave, {path_}), Text(TText::AppName), mbYesNoCancel)) {
    case mrYes:
        canClose = Save();
        break;
    case mrNo:
        break;
    default:
        canClose = false;
        break;
    }
}

// -- scrolling

void TEditForm::UpdateScrollBars()
{
    TRect64 extent = boardClient_;
    for (std::size_t i = 0; i < editor_->Pcs().size(); ++i)
        extent = extent.Union(editor_->RectOf(i));
    extent_ = Inflated(extent, kMargin);
    const auto bar = [](std::int64_t from, std::int64_t to, std::int64_t page, std::int64_t at) {
        const auto clamp = [](std::int64_t v) {
            return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, 0, INT32_MAX));
        };
        return TScrollRange{clamp(to - from), clamp(page), clamp(at - from)};
    };
    SetScrollBars(bar(extent_.left, extent_.right, canvasRect_.right - canvasRect_.left, scroll_.x - kMargin),
                  bar(extent_.top, extent_.bottom, canvasRect_.bottom - canvasRect_.top, scroll_.y - kMargin));
}

void TEditForm::ScrollTo(TPoint64 wanted)
{
    // Not past what there is to see.
    const std::int64_t width = canvasRect_.right - canvasRect_.left, height = canvasRect_.bottom - canvasRect_.top;
    const TPoint64 scroll{std::clamp(wanted.x, std::min<std::int64_t>(extent_.left + kMargin, 0),
                                     std::max<std::int64_t>(extent_.right - width + kMargin, 0)),
                          std::clamp(wanted.y, std::min<std::int64_t>(extent_.top + kMargin, 0),
                                     std::max<std::int64_t>(extent_.bottom - height + kMargin, 0))};
    if (scroll == scroll_)
        return;
    scroll_ = scroll;
    origin_ = {kMargin - scroll.x, kMargin - scroll.y};
    SyncLabels();
    UpdateScrollBars();
    Invalidate(canvasRect_);
}

// Scrolls so that the PC shows on the canvas, when it lies beyond it.
void TEditForm::ShowPc(std::size_t pc)
{
    const TRect64 r = OnScreen(editor_->RectOf(pc));
    TPoint64 scroll = scroll_;
    if (r.left < canvasRect_.left || r.right > canvasRect_.right)
        scroll.x += r.left - canvasRect_.left - kMargin;
    if (r.top < canvasRect_.top || r.bottom > canvasRect_.bottom)
        scroll.y += r.top - canvasRect_.top - kMargin;
    ScrollTo(scroll);
}

// -- painting

void TEditForm::PaintBehind(TCanvas& c)
{
    c.FillRect(canvasRect_, kOutside);
    c.FillRect(OnScreen(boardClient_), Color());
    const TRect64 client = OnScreen(boardClient_);
    if (editor_->Grid().shown && editor_->Grid().step >= 4) {
        const std::int64_t step = editor_->Grid().step;
        for (std::int64_t x = client.left + step; x < client.right; x += step)
            c.Line({x, client.top}, {x, client.bottom}, kGridLine, false);
        for (std::int64_t y = client.top + step; y < client.bottom; y += step)
            c.Line({client.left, y}, {client.right, y}, kGridLine, false);
    }
    // The status board's own painted labels lie below its PCs.
    for (const check::TFixedControl& fixed : check_.controls)
        if (!fixed.native)
            c.TextRect(OnScreen(fixed.rect), fixed.caption, kDimmedText);
}

void TEditForm::PaintOver(TCanvas& c)
{
    // The status board's windows lie above every PC.
    for (const check::TFixedControl& fixed : check_.controls)
        if (fixed.native) {
            const TRect64 r = OnScreen(fixed.rect);
            c.FillRect(r, kDimmed);
            c.FrameRect(r, kDimmedText);
            c.TextRect(r, fixed.caption, kDimmedText);
        }
    for (const TRect64& mark : marks_)
        c.FrameRect(Inflated(OnScreen(mark), 2), kProblem);
    const auto& sel = editor_->Selection();
    for (const std::size_t pc : sel)
        c.FrameRect(Inflated(OnScreen(editor_->RectOf(pc)), 1), kSelection);
    if (sel.size() == 1)
        for (const TRect64& h : Handles(OnScreen(editor_->RectOf(sel.front()))))
            c.FillRect(h, kSelection);
    for (const editor::TGuide& g : editor_->Guides()) {
        if (g.vertical)
            c.Line({g.at + origin_.x, g.from + origin_.y}, {g.at + origin_.x, g.to + origin_.y}, kGuide, true);
        else
            c.Line({g.from + origin_.x, g.at + origin_.y}, {g.to + origin_.x, g.at + origin_.y}, kGuide, true);
    }
    if (const TRect64 band = editor_->Band(); !band.IsEmpty())
        c.FrameRect(OnScreen(band), kSelection);

    // The panel and the status bar cover whatever lies under them.
    c.FillRect(panelRect_, kPanel);
    for (const TField& f : fields_)
        c.TextRect(f.captionRect, f.caption, clBlack);
    for (std::size_t i = 0; i < headings_.size(); ++i)
        c.TextRect(headingRects_[i], headings_[i], clBlack);
    c.FillRect(statusRect_, kPanel);
    std::string status = Text(TText::StatusPointer, {IntToStr(pointer_.x), IntToStr(pointer_.y)});
    if (sel.size() > 1)
        status += "　" + Text(TText::StatusSelectedMany, {IntToStr(static_cast<std::int64_t>(sel.size()))});
    if (const TRect64 b = editor_->SelectionBounds(); !b.IsEmpty())
        status += "　" + Text(TText::StatusSelection, {IntToStr(b.left), IntToStr(b.top), IntToStr(b.right - b.left),
                                                       IntToStr(b.bottom - b.top)});
    else
        status += "　" + Text(TText::StatusNone);
    if (!status_.empty())
        status += "　" + status_;
    c.TextRect(TRect64{statusRect_.left + 6, statusRect_.top, statusRect_.right, statusRect_.bottom}, status, clBlack,
               true);
}

TRect64 TEditForm::OverlayArea() const
{
    TRect64 area = Inflated(OnScreen(editor_->SelectionBounds()), kHandle + 2);
    area = area.Union(OnScreen(editor_->Band()));
    for (const editor::TGuide& g : editor_->Guides())
        area = area.Union(OnScreen(g.vertical ? TRect64{g.at - 1, g.from, g.at + 2, g.to + 1}
                                              : TRect64{g.from, g.at - 1, g.to + 1, g.at + 2}));
    return area;
}

void TEditForm::RepaintOverlay()
{
    const TRect64 now = OverlayArea();
    Invalidate(overlayShown_.Union(now));
    overlayShown_ = now;
}

// -- saving

bool TEditForm::Save()
{
    return Saved(editor_->Document().Save(path_, true, existed_));
}

bool TEditForm::Saved(const TSaveResult& result)
{
    if (!result.Saved()) {
        MessageDlg(SaveMessage(result, editor::Language() == check::TLanguage::Chinese), Text(TText::AppName), mbOK,
                   mtError);
        return false;
    }
    path_ = result.path;
    existed_ = true;
    editor_->MarkSaved();
    UpdateTitle();
    SetStatus(Text(TText::Saved, {path_}));
    return true;
}

bool TEditForm::SaveAs()
{
    const std::optional<std::string> path =
        PromptForSaveFileName(Text(TText::SaveAsTitle), path_, Text(TText::SaveFilter) + "|*.ini", "ini");
    if (!path)
        return false;
    std::string onDisk;
    const bool exists = ReadWholeFile(*path, onDisk);
    return Saved(
        editor_->Document().SaveAs(*path, true, exists ? std::optional<std::string_view>(onDisk) : std::nullopt));
}

// -- what assistive technology reads

bool TEditForm::IsItem(const TControl& control) const
{
    return control.IsWindowless() && &control != canvasFocus_;
}

std::optional<std::size_t> TEditForm::PlaceOf(const TControl& control) const
{
    const auto it = labelPlaces_.find(&control);
    return it == labelPlaces_.end() ? std::nullopt : std::optional<std::size_t>(it->second);
}

bool TEditForm::IsControlSelected(const TControl& control) const
{
    const auto place = PlaceOf(control);
    return place && editor_->IsSelected(*place);
}

std::string TEditForm::AccessibleName(const TControl& control) const
{
    for (const TField& f : fields_)
        if (f.edit == &control)
            return f.caption;
    const auto place = PlaceOf(control);
    if (!place || !control.TextAsSet().empty())
        return TForm::AccessibleName(control);
    return board::SectionName(editor_->Pcs()[*place].number);
}

std::string TEditForm::AccessibleStatus(const TControl& control) const
{
    const auto place = PlaceOf(control);
    if (!place)
        return {};
    const board::TPcEntry& e = editor_->Pcs()[*place].entry;
    return Text(TText::Describe, {IntToStr(e.left), IntToStr(e.top), IntToStr(e.width), IntToStr(e.height)});
}
