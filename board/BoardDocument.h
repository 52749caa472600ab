// A board file open for editing: its bytes kept as they are, line by line, beside the board as
// the status board reads it. Each edit changes only the lines it must, in the file's own
// encoding and line ends, and is one step that can be undone and done again.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "board/BoardFile.h"
#include "board/StepMeaning.h"
#include "platform/text/TextCodec.h"

namespace board {

// Why an edit was refused; the document is then as it was.
enum class TRefusal {
    None,
    LineBreak,      // a value cannot hold a line break
    Nul,            // nor a NUL
    NotANumber,     // a position or size that the board would not read as that number
    NotInEncoding,  // a character the file's encoding cannot hold; converting to UTF-8 can
    NoSuchPc,       // no PC at that place, or no such number to move to
    BoardFull,      // count cannot grow past the largest number
    Unwritable,     // the line would not read back as written
};

class TBoardDocument {
public:
    // Never fails: any bytes open, as the status board would read them.
    explicit TBoardDocument(std::string bytes);
    ~TBoardDocument();
    TBoardDocument(const TBoardDocument&) = delete;
    TBoardDocument& operator=(const TBoardDocument&) = delete;
    TBoardDocument(TBoardDocument&&) noexcept;
    TBoardDocument& operator=(TBoardDocument&&) noexcept;

    using TPc = board::TPc;
    // The PCs the board shows, in number order (the stacking order: a later one on top).
    const std::vector<TPc>& Pcs() const;
    // The count as the board reads it from [sys] (0 when missing or no number): the PCs shown
    // are those numbered 1 to count - 1 that have a section. Adding a PC gives it the number
    // count (1 at the least) and makes count one more.
    std::int32_t Count() const;
    TTextEncoding Encoding() const;

    // Where a PC's value is read from: its section's line and the value's line (1-based),
    // the value's 0 when the key is missing.
    struct TValueLines {
        std::size_t section = 0, value = 0;
    };
    TValueLines LinesOf(std::size_t pc, TPcKey key) const;

    // Edits. A pc is a place in Pcs().
    TRefusal SetValue(std::size_t pc, TPcKey key, std::string_view text);
    // With the next number; count grows.
    TRefusal AddPc(const TPcEntry& entry);
    // The later PCs take the numbers one lower, so no hole is left; count shrinks.
    TRefusal DeletePc(std::size_t pc);
    // Gives the PC that number (1 to count - 1); those between move up or down by one.
    TRefusal MovePc(std::size_t pc, std::int32_t number);
    // The PCs in another order, keeping the numbers: the PC at place order[i] takes the number
    // place i has; every section of a number moves with it.
    TRefusal Reorder(const std::vector<std::size_t>& order);
    // The plan under the board (see FloorPlan.h); nullopt when the file has no section for it.
    std::optional<TFloorPlan> FloorPlan() const;
    // The 1-based line of the plan's section, 0 without one.
    std::size_t FloorPlanLine() const;
    // Sets the plan, writing only the values that change (a new section goes last), or takes
    // its section out with nullopt: one step.
    TRefusal SetFloorPlan(const std::optional<TFloorPlan>& plan);
    // Every line written again in UTF-8, with or without a byte order mark: the one step
    // that gives up the file's own encoding, for text it cannot hold.
    void ConvertToUtf8(bool byteOrderMark);

    bool CanUndo() const;
    bool CanRedo() const;
    void Undo();
    void Redo();

    // Edits made as one: the steps done since a mark (StepMark) become one step, undone and
    // done again at once. Nothing or one step to join is no failure; a conversion is never
    // joined, and then nothing is (false), nor for a mark past the steps done.
    std::size_t StepMark() const;
    bool JoinSince(std::size_t mark);
    // The steps done since the mark undone and forgotten, what could be done again before them
    // back: for a group of edits one of which was refused.
    void RevertSince(std::size_t mark);
    // The state the document is in: equal again after undoing back to it, never equal for
    // another state (opened: 0).
    std::uint64_t Version() const;

    // The file as it now stands.
    std::string Bytes() const;

    // A PC's identity (see TPcId): the same through renumbering, undo and conversion, and
    // never another PC's.
    TPcId IdOf(std::size_t pc) const;
    // The place in Pcs() of the PC with that identity; nullopt when it is not shown.
    std::optional<std::size_t> PlaceOf(TPcId id) const;
    // What the steps done since opening mean, edit by edit in the order done: steps undone are
    // not in it, steps done again are.
    std::vector<TMeaning> DoneMeanings() const;

private:
    struct TImpl;
    std::unique_ptr<TImpl> impl_;
};

}  // namespace board
