// Merging under any bytes and any edits on both sides: onto a file nobody else changed, my
// edits give my own bytes back (some line ends aside, below), with no conflict; onto theirs,
// the merged document reads back as it shows, lists the same conflicts whichever side is
// kept, and undone it is their file.
#include "board/Merge.h"
#include "fuzz/FuzzSupport.h"

namespace {

std::string Board(const board::TBoardDocument& doc)
{
    std::string text = std::to_string(doc.Count());
    for (const auto& pc : doc.Pcs())
        text += "|" + std::to_string(pc.number) + ":" + pc.entry.caption + ":" + std::to_string(pc.entry.left) + "," +
                std::to_string(pc.entry.top) + "," + std::to_string(pc.entry.width) + "," +
                std::to_string(pc.entry.height);
    return text;
}

constexpr const char* kValues[] = {"", "x", "\"y\"", "12", "-5", "a=b;c", "\xE6\xA9\x9F", "\xF0\x9F\x98\x80", "0"};

// One edit of four bytes; undo and redo among them.
void Edit(board::TBoardDocument& doc, const std::uint8_t* op)
{
    const std::size_t pcs = doc.Pcs().size(), pc = pcs ? op[1] % pcs : 0;
    const char* value = kValues[op[3] % std::size(kValues)];
    switch (op[0] % 9) {
    case 0:
    case 1:
        doc.SetValue(pc, static_cast<board::TPcKey>(op[2] % 5), value);
        break;
    case 2:
        doc.AddPc({value, op[2], op[3], 5, 5});
        break;
    case 3:
        doc.DeletePc(pc);
        break;
    case 4:
        doc.MovePc(pc, 1 + op[3] % std::max(doc.Count(), 1));
        break;
    case 5: {
        std::vector<std::size_t> order(pcs);
        for (std::size_t i = 0; i < pcs; ++i)
            order[i] = (i + op[2]) % pcs;
        doc.Reorder(order);
        break;
    }
    case 6:
        if (op[2] % 4 == 0)
            doc.ConvertToUtf8(op[3] & 1);
        break;
    case 7:
        doc.Undo();
        break;
    default:
        doc.Redo();
        break;
    }
}

// Whether I converted to UTF-8 after other edits. The merge converts first; where the file
// mixes lone CRs with LFs, a CR written before a blank line that ends with LF then reads as
// one CR LF in one of the two, so only the line ends may differ.
bool ConvertedAfterEdits(const std::vector<board::TMeaning>& mine)
{
    bool edited = false;
    for (const board::TMeaning& m : mine) {
        if (m.kind == board::TMeaning::ConvertToUtf8 && edited)
            return true;
        edited |= m.kind != board::TMeaning::ConvertToUtf8;
    }
    return false;
}

// The text with every line end one LF.
std::string OneLineEnd(std::string_view text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (text[i] != '\r')
            out += text[i];
        else if (i + 1 == text.size() || text[i + 1] != '\n')
            out += '\n';
    return out;
}

bool SameConflicts(const std::vector<board::TMergeConflict>& a, const std::vector<board::TMergeConflict>& b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const auto& x, const auto& y) {
        return x.kind == y.kind && x.key == y.key && x.base == y.base && x.theirs == y.theirs && x.mine == y.mine;
    });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // The last byte says how many edits of four bytes each side makes, mine first.
    const std::size_t mineEdits = size ? data[size - 1] % 8 : 0, theirEdits = size ? data[size - 1] / 8 % 8 : 0;
    if (size < 1 + 4 * (mineEdits + theirEdits))
        return 0;
    const std::size_t fileSize = size - 1 - 4 * (mineEdits + theirEdits);
    const std::string opened(fuzz::Text(data, fileSize));
    board::TBoardDocument mine(opened), theirs(opened);
    for (std::size_t e = 0; e < mineEdits; ++e)
        Edit(mine, data + fileSize + 4 * e);
    for (std::size_t e = 0; e < theirEdits; ++e)
        Edit(theirs, data + fileSize + 4 * (mineEdits + e));

    const board::TMergeResult unchanged = board::Merge(opened, mine, opened);
    FUZZ_CHECK(unchanged.conflicts.empty() && unchanged.refused.empty());
    if (ConvertedAfterEdits(mine.DoneMeanings()))
        FUZZ_CHECK(OneLineEnd(unchanged.document->Bytes()) == OneLineEnd(mine.Bytes()));
    else
        FUZZ_CHECK(unchanged.document->Bytes() == mine.Bytes());

    const std::string theirBytes = theirs.Bytes();
    const board::TMergeResult keptTheirs = board::Merge(opened, mine, theirBytes);
    const board::TMergeResult keptMine =
        board::Merge(opened, mine, theirBytes, std::vector<bool>(keptTheirs.conflicts.size(), true));
    FUZZ_CHECK(SameConflicts(keptTheirs.conflicts, keptMine.conflicts));
    for (const board::TMergeResult* merged : {&keptTheirs, &keptMine}) {
        board::TBoardDocument& doc = *merged->document;
        FUZZ_CHECK(Board(board::TBoardDocument(doc.Bytes())) == Board(doc));
        while (doc.CanUndo())
            doc.Undo();
        FUZZ_CHECK(doc.Bytes() == theirBytes);
    }
    return 0;
}
