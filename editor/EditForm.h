// The board editor's window: the board drawn as the status board draws it, the fields of the
// selected PCs, the grid generator and the checker's findings beside it. It lays out, forwards
// input and shows what the session, the editing logic and the viewport answer.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "check/BoardCheck.h"
#include "editor/BoardEditor.h"
#include "editor/EditSession.h"
#include "editor/Viewport.h"
#include "platform/forms/Dialogs.h"
#include "platform/forms/ExtCtrls.h"
#include "platform/forms/Forms.h"
#include "platform/forms/Menus.h"
#include "platform/forms/Picture.h"

class TEditForm : public TForm {
public:
    explicit TEditForm(TComponent* owner);
    ~TEditForm() override;

    // The PCs' labels are the items; each says where it lies and how big it is, and choosing
    // one selects it.
    bool IsItem(const TControl& control) const override;
    bool IsControlSelected(const TControl& control) const override;
    std::function<void()> ItemChoice(TControl& item) override;
    std::string AccessibleName(const TControl& control) const override;
    std::string AccessibleStatus(const TControl& control) const override;

    editor::TEditSession& Session() { return *session_; }
    editor::TBoardEditor& Editor() { return session_->Editor(); }
    const editor::TBoardEditor& Editor() const { return session_->Editor(); }
    // Where the board's origin lies in the client area (design pixels).
    TPoint64 BoardOffset() const { return viewport_.Offset(); }

    bool Save();
    bool SaveAs();
    // What the status bar says last, besides the pointer and the selection.
    const std::string& Status() const { return status_; }

private:
    struct TField {
        TEdit* edit = nullptr;
        std::string caption;
        TRect64 captionRect;
    };

    // -- building (EditMenus.cpp, EditPanel.cpp, GeneratorPanel.cpp, FindingsList.cpp)
    void BuildMenu();
    void BuildPanel();
    void StartChecker();
    // Places the canvas, the panel and the status bar in the client area.
    void Layout();
    void LayoutPanel(std::int32_t dx);
    TEdit* AddField(std::string caption, std::int32_t left, std::int32_t top, std::int32_t width,
                    std::int32_t captionWidth, std::string text = {}, int tabOrder = -1);
    // Makes the grid generator's fields, the first time, and gives the first the keyboard.
    void ShowGenerator();

    // -- following the board (EditFollow.cpp)
    // After every step: labels, fields, title and menus follow the board, and the findings
    // once it has been left alone a moment.
    void AfterStep();
    void SyncLabels();
    void SyncSelection();
    void ShowFields();
    // With recheck the checker reads the board again; the list and the marks follow.
    void RefreshFindings(bool recheck);
    void ShowFindings();
    std::vector<TRect64> Marks() const;
    void UpdateTitle();
    void UpdateMenus();
    void SetStatus(std::string message);
    void ShowRefusal(editor::TRefusal refusal);
    // Done with a step: why it was refused, if it was, then the window follows the board.
    void FinishStep(editor::TRefusal refusal);

    // -- input (EditInput.cpp)
    void CanvasMouseDown(const TMouseInfo& m);
    void CanvasMouseMove(const TMouseInfo& m);
    void CanvasMouseUp(const TMouseInfo& m);
    void CanvasKeyDown(TKeyInfo& k);
    void CanvasKeyUp(TKeyInfo& k);
    void FieldKeyDown(TEdit* edit, TKeyInfo& k);
    void FindingClick();
    void PlaceGrid();
    void FocusCanvas();
    bool InCanvas(const TMouseInfo& m) const;
    // Repaints and moves the labels when the view moved.
    void Scrolled(bool moved);
    // The bars cover the board's client area and every PC, with the margin around them.
    void UpdateScrollBars();
    void ShowPc(std::size_t pc);

    // -- painting (EditPainting.cpp)
    void PaintBehind(TCanvas& canvas);
    void PaintOver(TCanvas& canvas);
    void PaintStatus(TCanvas& canvas);
    // Paints again where the selection's frames, handles, band and guides were and are.
    void RepaintOverlay();
    TRect64 OnScreen(const TRect64& board) const { return viewport_.OnScreen(board); }

    // -- saving (EditSaving.cpp)
    // Done with a save: the file's new state, or a box saying why it was not saved. True once
    // nothing is left unsaved.
    bool ReportSave(const TSaveResult& result);
    void AskToSave(bool& canClose);
    void ConvertToUtf8();
    // The file on disk is no longer what was opened: says so and offers the ways on. True once
    // nothing is left unsaved.
    bool OfferWaysOn();
    // Shows the file as it now is, dropping the steps, after asking when there are any.
    bool ReloadTheirs();
    // Shows my steps made again on the file as it now is, unsaved, the values both changed
    // kept as the user chooses (EditMerging.cpp).
    bool MergeTheirs();
    // Coming back to the editor: says so when the file changed meanwhile.
    void CheckDisk();
    // The end of a Windows session: asked as closing asks, and the work kept beside the board
    // while the answer is awaited or when none can be.
    void SessionEnding(bool critical, bool& canEnd);
    void SessionEnded(bool ending);
    void KeepForRecovery();
    void DropKept();

    // -- the floor plan under the board (EditPlan.cpp)
    void BuildPlanMenu(TMenuItem* view);
    // Its fields, in rows from y on; y then lies below them.
    void BuildPlanPanel(std::int32_t x, std::int32_t& y);
    void ChoosePlan();
    void RemovePlan();
    void StartLiningUp();
    // The plan follows the board: its picture loaded when the file it names changed (a
    // picture that cannot be shown said in the status bar), its fields, its item and its place.
    void FollowPlan();
    void PlacePlanItem();
    // The plan as it shows now: during a drag, where it is dragged to.
    std::optional<board::TFloorPlan> ShownPlan() const;
    // Where the plan shows on the board; empty while hidden or without a picture.
    TRect64 PlanOnBoard() const;
    // The pointer in the plan's modes (moving it, lining it up): true when it took the event.
    bool PlanMouseDown(TPoint64 point);
    bool PlanMouseMove(TPoint64 point, bool held);
    bool PlanMouseUp();
    bool PlanFieldKeyDown(TEdit* edit);
    void PaintPlan(TCanvas& canvas);
    void PaintPlanPoints(TCanvas& canvas);

    // -- what assistive technology reads (EditAccessibility.cpp)
    // The PC a label shows.
    std::optional<std::size_t> PlaceShownBy(const TControl& control) const;

    // The parts that follow the board, set when the window is made, so that following the board
    // calls none of them by name.
    struct TFollowers {
        std::function<void()> extent;     // the scroll bars
        std::function<void()> selection;  // the fields and the selection's frames
        std::function<void()> steps;      // the menus' undo and redo
    };
    TFollowers follow_;
    std::unique_ptr<editor::TEditSession> session_;
    std::string keptFor_;    // the board whose recovery file holds this window's unsaved work
    bool declined_ = false;  // the user chose to end the session without the changes
    bool asking_ = false;    // a box of saving's is up
    editor::TViewport viewport_;
    check::TBoardCheck check_;
    std::vector<TLabel*> labels_;  // one per PC, in Pcs() order
    std::unordered_map<const TControl*, std::size_t> labelPlaces_;
    std::vector<std::int32_t> findingPcs_;  // sorted PC numbers with a finding
    std::vector<TRect64> marks_;            // where they are marked, on the board
    TLabel* canvasFocus_ = nullptr;         // holds the keyboard for the board
    TRect64 canvasRect_, panelRect_, statusRect_, boardClient_;
    std::int32_t panelLeft_ = 0;
    std::string status_;
    TPoint64 pointer_;
    bool keyStepHeld_ = false;

    TMainMenu* menu_ = nullptr;
    TMenuItem *undoItem_ = nullptr, *redoItem_ = nullptr, *snapItem_ = nullptr, *gridItem_ = nullptr;
    std::vector<TField> fields_;
    std::array<TEdit*, 5> valueEdits_{};  // caption, left, top, width, height
    TEdit* gridStep_ = nullptr;
    std::array<TEdit*, 9> planEdits_{};  // rows, columns, width, height, gaps, start, pattern
    TButton* directionButton_ = nullptr;
    TButton* placeButton_ = nullptr;
    bool planDown_ = false;
    std::int32_t generatorTop_ = 0;
    TListBox* findingList_ = nullptr;
    TTimer* checkTimer_ = nullptr;
    std::vector<std::string> headings_;
    std::vector<TRect64> headingRects_;

    // The floor plan as this window shows it; the plan itself is the board document's.
    struct TFloorView {
        enum TLiningUp { Off, FirstPoint, SecondPoint, Distance };
        std::shared_ptr<const TPicture> picture;
        std::string path;  // where the picture was loaded from, or tried
        bool hidden = false, moving = false;
        TLiningUp liningUp = Off;
        TPoint64 points[2];
        std::optional<TPoint64> pressed;           // a drag of the plan, from there
        std::optional<board::TFloorPlan> dragged;  // and where it is dragged to
        TRect64 painted;                           // where it showed last, on the board
        int paintedOpacity = 0;
        const TPicture* paintedPicture = nullptr;
        std::string problem;  // why the picture does not show
    };
    TFloorView floor_;
    TLabel* floorItem_ = nullptr;         // the plan for assistive technology
    std::array<TEdit*, 5> floorEdits_{};  // left, top, scale, opacity, distance
    TMenuItem *hidePlanItem_ = nullptr, *movePlanItem_ = nullptr;
};

extern TEditForm* EditForm;
// The board to show, opened before the form is made (editor::OpenForEditing); the form takes it.
extern std::unique_ptr<editor::TEditSession> EditOpened;
