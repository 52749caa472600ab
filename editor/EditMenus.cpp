// The editor's menus: what each command does, and which are enabled or checked.
#include "editor/EditForm.h"
#include "editor/EditorTexts.h"

using editor::TAlign;
using editor::Text;
using editor::TText;

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
    const auto step = [this](auto work) { return [this, work](TObject*) { FinishStep(work()); }; };
    constexpr std::uint16_t kF6 = vkF1 + 5, kF8 = vkF1 + 7;

    TMenuItem* file = top(TText::MenuFile);
    add(file, TText::MenuSave, {'S', ssCtrl}, [this](TObject*) { Save(); });
    add(file, TText::MenuSaveAs, {'S', ssCtrl | ssShift}, [this](TObject*) { SaveAs(); });
    add(file, TText::MenuConvert, {}, [this](TObject*) { ConvertToUtf8(); });
    separator(file);
    add(file, TText::MenuExit, {}, [this](TObject*) { Close(); });

    TMenuItem* edit = top(TText::MenuEdit);
    undoItem_ = add(edit, TText::MenuUndo, {'Z', ssCtrl}, [this](TObject*) {
        Editor().Undo();
        AfterStep();
    });
    redoItem_ = add(edit, TText::MenuRedo, {'Y', ssCtrl}, [this](TObject*) {
        Editor().Redo();
        AfterStep();
    });
    separator(edit);
    add(edit, TText::MenuSelectAll, {'A', ssCtrl}, [this](TObject*) {
        Editor().SelectAll();
        SyncSelection();
    });
    add(edit, TText::MenuSelectNone, {vkEscape, 0}, [this](TObject*) {
        Editor().ClearSelection();
        SyncSelection();
    });
    separator(edit);
    add(edit, TText::MenuAdd, {vkInsert, 0}, step([this] { return Editor().AddPc(); }));
    add(edit, TText::MenuDuplicate, {'D', ssCtrl}, step([this] { return Editor().Duplicate(); }));
    add(edit, TText::MenuDelete, {vkDelete, 0}, step([this] { return Editor().DeleteSelection(); }));
    add(edit, TText::MenuGenerate, {'G', ssCtrl}, [this](TObject*) { ShowGenerator(); });
    add(edit, TText::MenuRenumber, {}, step([this] { return Editor().RenumberReadingOrder(); }));
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
        add(arrange, text, {}, step([this, how = how] { return Editor().Align(how); }));
    separator(arrange);
    add(arrange, TText::MenuDistributeAcross, {}, step([this] { return Editor().Distribute(true); }));
    add(arrange, TText::MenuDistributeDown, {}, step([this] { return Editor().Distribute(false); }));
    separator(arrange);
    add(arrange, TText::MenuSameWidth, {}, step([this] { return Editor().MakeSameSize(editor::TMatchSize::Width); }));
    add(arrange, TText::MenuSameHeight, {}, step([this] { return Editor().MakeSameSize(editor::TMatchSize::Height); }));
    add(arrange, TText::MenuSameSize, {}, step([this] { return Editor().MakeSameSize(editor::TMatchSize::Both); }));

    TMenuItem* view = top(TText::MenuView);
    snapItem_ = add(view, TText::MenuSnap, {}, [this](TObject*) {
        Editor().Grid().snap = !Editor().Grid().snap;
        UpdateMenus();
    });
    gridItem_ = add(view, TText::MenuShowGrid, {}, [this](TObject*) {
        Editor().Grid().shown = !Editor().Grid().shown;
        UpdateMenus();
        Invalidate(canvasRect_);
    });
    BuildPlanMenu(view);
    SetMenu(menu_);
}

void TEditForm::UpdateMenus()
{
    undoItem_->SetEnabled(Editor().CanUndo());
    redoItem_->SetEnabled(Editor().CanRedo());
    snapItem_->SetChecked(Editor().Grid().snap);
    gridItem_->SetChecked(Editor().Grid().shown);
    hidePlanItem_->SetChecked(floor_.hidden);
    movePlanItem_->SetChecked(floor_.moving);
}
