// The board document under any bytes and any edits: saved unedited it is the same bytes; after
// each edit the status board's reader reads its bytes as the document shows them, a value
// set changes no line but its own; undoing every edit gives the bytes back, redoing them the
// edited bytes again.
#include "board/BoardDocument.h"
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

// Only the bytes of one line, or none, differ: what lies between the common start and the
// common end holds no line end.
bool OneLineChanged(std::string_view before, std::string_view after)
{
    std::size_t start = 0;
    while (start < before.size() && start < after.size() && before[start] == after[start])
        ++start;
    std::size_t end = 0;
    while (end < before.size() - start && end < after.size() - start &&
           before[before.size() - 1 - end] == after[after.size() - 1 - end])
        ++end;
    return before.substr(start, before.size() - start - end).find_first_of("\r\n") == std::string_view::npos;
}

constexpr const char* kValues[] = {
    "",           " x",   "\"y\"", "12", "-5", "a=b;c", "\xE6\xA9\x9F\xE6\x88\xBF", "\xF0\x9F\x98\x80",
    "2147483647", "x\ny", "'",     "+0"};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // The last bytes are the edits, four bytes each, as many as the last byte says.
    const std::size_t edits = size ? std::min<std::size_t>(data[size - 1] % 8, (size - 1) / 4) : 0;
    const std::size_t fileSize = size - (size ? 1 + 4 * edits : 0);
    const std::string bytes(fuzz::Text(data, fileSize));
    board::TBoardDocument doc(bytes);
    FUZZ_CHECK(doc.Bytes() == bytes);
    for (std::size_t e = 0; e < edits; ++e) {
        const std::uint8_t* op = data + fileSize + 4 * e;
        const std::size_t pcs = doc.Pcs().size(), pc = pcs ? op[1] % (pcs + 1) : 0;
        const std::string before = doc.Bytes();
        board::TRefusal refusal = board::TRefusal::None;
        switch (op[0] % 10) {
        case 0:
        case 1:
            refusal = doc.SetValue(pc, static_cast<board::TPcKey>(op[2] % 5), kValues[op[3] % std::size(kValues)]);
            FUZZ_CHECK(refusal != board::TRefusal::None || doc.Encoding() == TTextEncoding::Utf16LE ||
                       doc.Encoding() == TTextEncoding::Utf16BE || OneLineChanged(before, doc.Bytes()));
            break;
        case 2:
            refusal = doc.AddPc({kValues[op[3] % std::size(kValues)], op[2], -op[2], op[3], 7});
            break;
        case 3:
            refusal = doc.DeletePc(pc);
            break;
        case 4:
            refusal = doc.MovePc(pc, 1 + op[3] % std::max(doc.Count(), 1));
            break;
        case 5:
            doc.ConvertToUtf8(op[2] & 1);
            break;
        case 6:
            doc.JoinSince(doc.StepMark() - std::min<std::size_t>(op[2] % 4, doc.StepMark()));
            break;
        case 7: {
            // What a refused group does: its edits reverted, redo as before them.
            const std::size_t mark = doc.StepMark();
            const bool canRedo = doc.CanRedo();
            doc.SetValue(pc, board::TPcKey::Left, "7");
            doc.AddPc({"x", 1, 1, 1, 1});
            doc.RevertSince(mark);
            FUZZ_CHECK(doc.Bytes() == before && doc.CanRedo() == canRedo);
            break;
        }
        case 8: {
            // Rotated by some places.
            std::vector<std::size_t> order(pcs);
            for (std::size_t i = 0; i < pcs; ++i)
                order[i] = (i + op[2]) % pcs;
            refusal = doc.Reorder(order);
            break;
        }
        default:
            doc.Undo();
            break;
        }
        if (refusal != board::TRefusal::None)
            FUZZ_CHECK(doc.Bytes() == before);
        FUZZ_CHECK(Board(board::TBoardDocument(doc.Bytes())) == Board(doc));
    }
    const std::string edited = doc.Bytes();
    std::size_t undone = 0;
    for (; doc.CanUndo(); ++undone)
        doc.Undo();
    FUZZ_CHECK(doc.Bytes() == bytes);
    for (; undone > 0; --undone)
        doc.Redo();
    FUZZ_CHECK(doc.Bytes() == edited);
    return 0;
}
