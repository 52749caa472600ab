// What boardcheck says, in English and Traditional Chinese, from one table.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "platform/text/Bilingual.h"

namespace check {

enum class TMsg {
    // findings, in the order of the table
    NotDecoded,
    StrayByte,
    NulByte,
    DosEndOfFile,
    FormFeed,
    CountMissing,
    CountNotNumber,
    CountTooSmall,
    LeftOut,
    NeverShown,
    NoSection,
    NoSections,
    NotPcSection,
    NotPcSectionHint,
    DuplicateSection,
    DuplicateKey,
    UnknownKey,
    UnknownKeyHint,
    OutsideSection,
    OtherLine,
    NotInteger,
    PlanValue,
    PlanMissing,
    EmptyLabel,
    Outside,
    PartlyOutside,
    Covered,
    Overlap,
    UnderControl,
    CoversLabel,
    CaptionCut,
    // the rest of the output
    Summary,
    Usage,
    NoFile,
    IsDirectory,
    Unreadable,
    CannotWrite,
};

// The message with {0}, {1}, … replaced by the arguments.
std::string Text(TMsg msg, TLanguage language, std::initializer_list<std::string_view> args = {});
std::string Text(TMsg msg, TLanguage language, const std::vector<std::string>& args);
// A stable name for scripts, such as "caption-cut".
std::string_view Code(TMsg msg);
bool IsError(TMsg msg);

}  // namespace check
