// My edits made again on a board file someone else saved meanwhile.
//
// Their PCs are matched to the PCs of the file as opened, not by number, since their save may
// have added, deleted or renumbered PCs:
//   1. a PC whose five values are all the same on both is the same PC, taken in number order
//      where several are alike;
//   2. of the rest, one with the same caption (not empty), in number order;
//   3. of the rest, between two matched PCs, the unmatched ones on each side in number order,
//      when both sides have as many there and the two still share a value;
//   anything else opened is a PC they deleted, anything else of theirs one they added.
// My edits are then made again, in the order done, on the matched PCs:
//   - a value they left as it was opened takes mine; one they changed keeps theirs when mine
//     ends the same, else it is a conflict;
//   - a PC I added is added after theirs, with the next number;
//   - a PC moved takes the number I gave it, within their count; a reorder orders the PCs it
//     named that are still there among the numbers they hold;
//   - editing or moving a PC they deleted is a conflict: theirs leaves it deleted, mine adds it
//     back with the next number, with my values;
//   - deleting a PC they changed is a conflict: theirs keeps it, mine deletes it; a PC both
//     deleted stays deleted;
//   - the plan under the board is set as I last set it (or taken out), whatever theirs is: it
//     is the editor's aid, not the board, and mine is the one lined up on this screen;
//   - a conversion to UTF-8 is made first.
// The merged document keeps their file's encoding and line ends, and every byte but the lines
// my edits change. (As the conversion comes first, a file that mixes lone CRs with LFs may
// get other line ends than my edits gave it, where a CR came to stand before a blank line.)
// My edits are one step in it, so that one undo shows their file as saved (two when I
// converted to UTF-8: the conversion is a step of its own).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "board/BoardDocument.h"
#include "board/StepMeaning.h"

namespace board {

struct TMergeConflict {
    enum TKind {
        Value,          // both changed the value, to different values
        DeletedByThem,  // I edited or moved a PC they deleted
        DeletedByMe,    // I deleted a PC they changed
    };
    TKind kind = Value;
    // The PC's number: in the merged board while it is there, else in their file; for
    // DeletedByThem, in the file as opened.
    std::int32_t number = 0;
    TPcKey key = TPcKey::Caption;  // Value only
    // Value: the value as opened, theirs and mine. Else the PC's caption on each side, "" on
    // the side that deleted it.
    std::string base, theirs, mine;
};

struct TMergeResult {
    // Opened on their bytes, with my edits made again as one step (see above); not saved.
    std::unique_ptr<TBoardDocument> document;
    // In the order my edits met them; the same list whatever was kept.
    std::vector<TMergeConflict> conflicts;
    // My edits their file refused (a character its encoding cannot hold, a full board).
    std::vector<TMeaning> refused;
};

// base: the bytes the document was opened on; theirs: the bytes now in the file. keepMine[i]
// keeps my side of conflicts[i], as a merge with no choices lists them; theirs is kept for
// any conflict without a choice. To change the choices, merge again.
TMergeResult Merge(std::string_view base, const std::vector<TMeaning>& mine, std::string theirs,
                   const std::vector<bool>& keepMine = {});
// The steps done in the document, as DoneMeanings gives them.
TMergeResult Merge(std::string_view base, const TBoardDocument& mine, std::string theirs,
                   const std::vector<bool>& keepMine = {});

// For each PC of base (a place in it), the place in theirs of the same PC, or SIZE_MAX when
// they deleted it: the rule above.
std::vector<std::size_t> MatchPcs(const std::vector<TPc>& base, const std::vector<TPc>& theirs);

}  // namespace board
