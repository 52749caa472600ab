// What the board editor says, in Traditional Chinese or English, from one table.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

#include "platform/text/Bilingual.h"

namespace editor {

enum class TText {
    AppName,
    MenuFile,
    MenuSave,
    MenuSaveAs,
    MenuConvert,
    MenuExit,
    MenuEdit,
    MenuUndo,
    MenuRedo,
    MenuSelectAll,
    MenuSelectNone,
    MenuAdd,
    MenuDuplicate,
    MenuDelete,
    MenuGenerate,
    MenuRenumber,
    MenuFields,
    MenuCanvas,
    MenuArrange,
    MenuAlignLeft,
    MenuAlignRight,
    MenuAlignTop,
    MenuAlignBottom,
    MenuCentresAcross,
    MenuCentresDown,
    MenuDistributeAcross,
    MenuDistributeDown,
    MenuSameWidth,
    MenuSameHeight,
    MenuSameSize,
    MenuView,
    MenuSnap,
    MenuShowGrid,
    MenuFindings,
    FieldCaption,
    FieldLeft,
    FieldTop,
    FieldWidth,
    FieldHeight,
    FieldGrid,
    Findings,
    NoFindings,
    StatusPointer,
    StatusSelection,
    StatusNone,
    StatusSelectedMany,
    AskSave,
    Saved,
    SaveAsTitle,
    SaveFilter,
    Refused,
    RefusedLineBreak,
    RefusedNul,
    RefusedNumber,
    RefusedEncoding,
    RefusedNoPc,
    RefusedFull,
    RefusedUnwritable,
    NeedThree,
    Describe,
    Line,
    GridTitle,
    GridRows,
    GridColumns,
    GridWidth,
    GridHeight,
    GridGapX,
    GridGapY,
    GridLeft,
    GridTop,
    GridPattern,
    GridAcross,
    GridDown,
    GridMake,
    GridCancel,
    GridBad,
    Unreadable,
    TooLarge,
    OfferRecovery,
    ChangedOnDisk,
    WayReload,
    WaySaveAs,
    WayCancel,
    AskReload,
};

// The language the editor speaks: the user's (UserLanguage()) unless set.
TLanguage Language();
void SetLanguage(TLanguage language);

// The text with {0}, {1}, … filled in, in Language().
std::string Text(TText text, std::initializer_list<std::string_view> args = {});

}  // namespace editor
