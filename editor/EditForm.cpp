// The editor's window made and laid out.
#include "editor/EditForm.h"

#include <algorithm>

#include "editor/EditFormMetrics.h"
#include "editor/EditorTexts.h"
#include "platform/text/SysUtils.h"

using editor::Text;
using editor::TText;
using namespace editform;

TEditForm* EditForm = nullptr;
std::unique_ptr<editor::TEditSession> EditOpened;

TEditForm::TEditForm(TComponent* owner) : TForm(owner, "PcBoardEditorForm"), viewport_(kMargin)
{
    // Before anything can take a step, so that every part follows from the first.
    follow_.extent = [this] { UpdateScrollBars(); };
    follow_.selection = [this] {
        ShowFields();
        RepaintOverlay();
    };
    follow_.steps = [this] { UpdateMenus(); };
    session_ = std::move(EditOpened);
    if (session_->Opening() == editor::TOpening::Recovered)
        keptFor_ = session_->Path();
    // The window's layout as the checker knows it; the board's findings come once it shows.
    check_ = check::CheckBoard({});

    // The same font as the status board, so captions are cut where it cuts them.
    TFont font;
    font.Name = check_.fontName.empty() ? font.Name : check_.fontName;
    font.Height = -check_.fontHeight;
    SetFont(font);
    boardClient_ = TRect64::Of(0, 0, check_.clientWidth, check_.clientHeight);

    canvasFocus_ = new TLabel(this);
    canvasFocus_->SetParent(this);
    canvasFocus_->SetTakesFocus(true);
    canvasFocus_->SetOnKeyDown([this](TObject*, TKeyInfo& k) { CanvasKeyDown(k); });
    canvasFocus_->SetOnKeyUp([this](TObject*, TKeyInfo& k) { CanvasKeyUp(k); });
    // The floor plan's item, under every PC: the plan is painted behind them.
    floorItem_ = new TLabel(this);
    floorItem_->SetParent(this);
    floorItem_->SetTransparent(true);

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
    SetOnActivate([this](TObject*) { CheckDisk(); });
    SetOnQueryEndSession([this](TObject*, bool critical, bool& canEnd) { SessionEnding(critical, canEnd); });
    SetOnEndSession([this](TObject*, bool ending) { SessionEnded(ending); });
    SetOnScroll([this](TObject*, TScrollBarKind kind, std::int32_t position) {
        Scrolled(viewport_.BarMoved(kind == sbHorizontal, position));
    });
    SetOnMouseWheel(
        [this](TObject*, const TMouseWheelInfo& w) { Scrolled(viewport_.Wheel(w.delta, (w.shift & ssShift) != 0)); });

    StartChecker();
    ReserveComponents(Editor().Pcs().size() + 64);
    ReserveControls(Editor().Pcs().size() + 64);
    AfterStep();
    ShowFindings();
    // The first check as soon as the board is on screen: timers come after painting.
    checkTimer_->SetInterval(1);
    UpdateTitle();
    // A plan that cannot be shown is said here, not in a box: the board opens as usual.
    SetStatus(check::EncodingName(Editor().Document().Encoding()) +
              (floor_.problem.empty() ? "" : "　" + floor_.problem));
    SetFocusedControl(canvasFocus_);
}

TEditForm::~TEditForm() = default;

void TEditForm::Layout()
{
    const std::int32_t width = std::max(ClientWidth(), kPanelWidth + 100);
    const std::int32_t height = std::max(ClientHeight(), kStatusHeight + 100);
    canvasRect_ = TRect64::Of(0, 0, width - kPanelWidth, height - kStatusHeight);
    panelRect_ = TRect64{canvasRect_.right, 0, width, canvasRect_.bottom};
    statusRect_ = TRect64{0, canvasRect_.bottom, width, height};
    viewport_.SetCanvas(canvasRect_);
    // The panel's controls and texts keep their places in it.
    const std::int32_t dx = static_cast<std::int32_t>(panelRect_.left) - panelLeft_;
    panelLeft_ = static_cast<std::int32_t>(panelRect_.left);
    if (!findingList_)
        return;  // not made yet
    LayoutPanel(dx);
    UpdateScrollBars();
    Invalidate();
}
