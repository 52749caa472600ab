// My edits made again on a board someone else saved: each lands on the PC it was made on
// whatever their save renumbered, values both changed are listed for a choice, and the merged
// file is theirs but for the lines my edits change.
#include "board/Merge.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <string>
#include <vector>

using board::Merge;
using board::TBoardDocument;
using board::TMergeConflict;
using board::TMergeResult;
using board::TPcEntry;
using board::TPcKey;
using board::TRefusal;

namespace {

// PCs A, B, C, ... each a different rectangle.
std::string Opened(int pcs, std::string_view lineEnd = "\r\n")
{
    std::string bytes = "; room 2" + std::string(lineEnd) + "[sys]" + std::string(lineEnd) +
                        "count=" + std::to_string(pcs + 1) + std::string(lineEnd);
    for (int i = 1; i <= pcs; ++i)
        for (const std::string& line : std::vector<std::string>{
                 "[PC" + std::to_string(i) + "]", "Caption=" + std::string(1, static_cast<char>('A' + i - 1)),
                 "Left=" + std::to_string(i * 10), "Top=5", "Width=20", "Height=10"})
            bytes += line + std::string(lineEnd);
    return bytes;
}

// The board as numbers and captions, with one value where asked.
std::string Shown(const TBoardDocument& doc, TPcKey key = TPcKey::Left)
{
    std::string text;
    for (const auto& pc : doc.Pcs())
        text += std::to_string(pc.number) + ":" + pc.entry.caption + "=" +
                (key == TPcKey::Caption ? pc.entry.caption : std::to_string(board::FieldOf(pc.entry, key))) + " ";
    return text;
}

std::size_t PlaceOf(const TBoardDocument& doc, std::string_view caption)
{
    const auto& pcs = doc.Pcs();
    const auto it = std::find_if(pcs.begin(), pcs.end(), [&](const auto& pc) { return pc.entry.caption == caption; });
    EXPECT_NE(it, pcs.end()) << caption;
    return static_cast<std::size_t>(it - pcs.begin());
}

// Their save: the edits made on the file as opened.
template <class Edit>
std::string Saved(const std::string& opened, Edit edit)
{
    TBoardDocument doc(opened);
    edit(doc);
    return doc.Bytes();
}

}  // namespace

// A value only one side changed takes that side's; the same value on both is no conflict, as
// the board reads it; the merged bytes are their file with my edits made on it, and one undo
// gives their file back.
TEST(Merge, ValuesOneSideChangedOrBothAlikeMergeWithoutConflict)
{
    const std::string opened = Opened(4);
    const std::string theirs = Saved(opened, [](TBoardDocument& d) {
        ASSERT_EQ(d.SetValue(0, TPcKey::Left, "100"), TRefusal::None);
        ASSERT_EQ(d.SetValue(1, TPcKey::Caption, "Bee"), TRefusal::None);
        ASSERT_EQ(d.SetValue(2, TPcKey::Top, "7"), TRefusal::None);
    });
    TBoardDocument mine(opened);
    ASSERT_EQ(mine.SetValue(0, TPcKey::Top, "1"), TRefusal::None);
    ASSERT_EQ(mine.SetValue(1, TPcKey::Caption, "Bee"), TRefusal::None);
    ASSERT_EQ(mine.SetValue(2, TPcKey::Top, "07"), TRefusal::None);
    ASSERT_EQ(mine.SetValue(3, TPcKey::Width, "33"), TRefusal::None);

    const TMergeResult merged = Merge(opened, mine, theirs);
    EXPECT_TRUE(merged.conflicts.empty());
    EXPECT_TRUE(merged.refused.empty());
    TBoardDocument expected(theirs);
    ASSERT_EQ(expected.SetValue(0, TPcKey::Top, "1"), TRefusal::None);
    ASSERT_EQ(expected.SetValue(3, TPcKey::Width, "33"), TRefusal::None);
    EXPECT_EQ(merged.document->Bytes(), expected.Bytes());

    merged.document->Undo();
    EXPECT_EQ(merged.document->Bytes(), theirs);
    EXPECT_FALSE(merged.document->CanUndo());
    merged.document->Redo();
    EXPECT_EQ(merged.document->Bytes(), expected.Bytes());
}

// A value both changed differently is listed once, however often I set it; theirs is kept
// until mine is chosen, and the list is the same either way.
TEST(Merge, ValuesBothChangedAreConflictsResolvedEitherWay)
{
    const std::string opened = Opened(3);
    const std::string theirs = Saved(opened, [](TBoardDocument& d) {
        ASSERT_EQ(d.DeletePc(0), TRefusal::None);
        ASSERT_EQ(d.SetValue(1, TPcKey::Caption, "Sea"), TRefusal::None);
        ASSERT_EQ(d.SetValue(0, TPcKey::Width, "21"), TRefusal::None);
    });
    TBoardDocument mine(opened);
    ASSERT_EQ(mine.SetValue(1, TPcKey::Width, "30"), TRefusal::None);
    ASSERT_EQ(mine.SetValue(2, TPcKey::Caption, "See"), TRefusal::None);
    ASSERT_EQ(mine.SetValue(1, TPcKey::Width, "31"), TRefusal::None);

    const TMergeResult keptTheirs = Merge(opened, mine, theirs);
    ASSERT_EQ(keptTheirs.conflicts.size(), 2u);
    const TMergeConflict& width = keptTheirs.conflicts[0];
    EXPECT_EQ(width.kind, TMergeConflict::Value);
    EXPECT_EQ(width.number, 1);
    EXPECT_EQ(width.key, TPcKey::Width);
    EXPECT_EQ(width.base + "/" + width.theirs + "/" + width.mine, "20/21/31");
    const TMergeConflict& caption = keptTheirs.conflicts[1];
    EXPECT_EQ(caption.number, 2);
    EXPECT_EQ(caption.base + "/" + caption.theirs + "/" + caption.mine, "C/Sea/See");
    EXPECT_EQ(keptTheirs.document->Bytes(), theirs);

    const TMergeResult mixed = Merge(opened, mine, theirs, {true, false});
    ASSERT_EQ(mixed.conflicts.size(), 2u);
    EXPECT_EQ(mixed.conflicts[0].mine, "31");
    EXPECT_EQ(Shown(*mixed.document, TPcKey::Width), "1:B=31 2:Sea=20 ");
    const TMergeResult keptMine = Merge(opened, mine, theirs, {true, true});
    EXPECT_EQ(Shown(*keptMine.document, TPcKey::Width), "1:B=31 2:See=20 ");
}

// Their deleted, added and renumbered PCs: my edit lands on the PC it was made on, my new PC
// follows theirs, and an edit of a PC only one side kept is a conflict.
TEST(Merge, AddedAndDeletedPcsMapToTheirNumbers)
{
    const std::string opened = Opened(6);
    const std::string theirs = Saved(opened, [](TBoardDocument& d) {
        ASSERT_EQ(d.DeletePc(2), TRefusal::None);                         // C
        ASSERT_EQ(d.AddPc({"T", 1, 2, 3, 4}), TRefusal::None);            // 6
        ASSERT_EQ(d.SetValue(3, TPcKey::Caption, "E2"), TRefusal::None);  // E, whose values all change
        ASSERT_EQ(d.SetValue(3, TPcKey::Left, "0"), TRefusal::None);
        ASSERT_EQ(d.DeletePc(4), TRefusal::None);  // F, which I delete too
        ASSERT_EQ(d.SetValue(0, TPcKey::Top, "6"), TRefusal::None);
    });
    TBoardDocument mine(opened);
    ASSERT_EQ(mine.SetValue(4, TPcKey::Top, "50"), TRefusal::None);  // E
    ASSERT_EQ(mine.AddPc({"M", 9, 9, 9, 9}), TRefusal::None);
    ASSERT_EQ(mine.SetValue(6, TPcKey::Top, "60"), TRefusal::None);  // M
    ASSERT_EQ(mine.SetValue(2, TPcKey::Top, "30"), TRefusal::None);  // C, which they deleted
    ASSERT_EQ(mine.DeletePc(5), TRefusal::None);                     // F
    ASSERT_EQ(mine.DeletePc(0), TRefusal::None);                     // A, which they changed
    ASSERT_EQ(mine.SetValue(0, TPcKey::Top, "20"), TRefusal::None);  // B

    const TMergeResult keptTheirs = Merge(opened, mine, theirs);
    EXPECT_EQ(Shown(*keptTheirs.document, TPcKey::Top), "1:A=6 2:B=20 3:D=5 4:E2=50 5:T=2 6:M=60 ");
    ASSERT_EQ(keptTheirs.conflicts.size(), 2u);
    EXPECT_EQ(keptTheirs.conflicts[0].kind, TMergeConflict::DeletedByThem);
    EXPECT_EQ(keptTheirs.conflicts[0].number, 3);
    EXPECT_EQ(keptTheirs.conflicts[0].base + "/" + keptTheirs.conflicts[0].theirs + "/" + keptTheirs.conflicts[0].mine,
              "C//C");
    EXPECT_EQ(keptTheirs.conflicts[1].kind, TMergeConflict::DeletedByMe);
    EXPECT_EQ(keptTheirs.conflicts[1].number, 1);

    const TMergeResult keptMine = Merge(opened, mine, theirs, {true, true});
    EXPECT_EQ(Shown(*keptMine.document, TPcKey::Top), "1:B=20 2:D=5 3:E2=50 4:T=2 5:M=60 6:C=30 ");
    ASSERT_EQ(keptMine.conflicts.size(), 2u);
    EXPECT_EQ(keptMine.conflicts[0].number, 6);
    EXPECT_EQ(keptMine.conflicts[1].number, 1);
    EXPECT_EQ(TBoardDocument(keptMine.document->Bytes()).Count(), 7);
}

// Renumbering on both sides: their moves are kept, mine land on the same PCs; my reorder
// orders the PCs still there among the numbers they hold.
TEST(Merge, RenumberingOnBothSidesFollowsThePcs)
{
    const std::string opened = Opened(5);
    const std::string theirs = Saved(opened, [](TBoardDocument& d) {
        ASSERT_EQ(d.MovePc(0, 5), TRefusal::None);              // B C D E A
        ASSERT_EQ(d.Reorder({1, 0, 2, 3, 4}), TRefusal::None);  // C B D E A
    });
    TBoardDocument mine(opened);
    ASSERT_EQ(mine.MovePc(3, 1), TRefusal::None);  // D A B C E
    ASSERT_EQ(mine.SetValue(0, TPcKey::Caption, "Dee"), TRefusal::None);
    ASSERT_EQ(mine.SetValue(3, TPcKey::Left, "77"), TRefusal::None);  // C
    const TMergeResult merged = Merge(opened, mine, theirs);
    EXPECT_TRUE(merged.conflicts.empty());
    EXPECT_EQ(Shown(*merged.document), "1:Dee=40 2:C=77 3:B=20 4:E=50 5:A=10 ");

    const std::string theirsOther = Saved(opened, [](TBoardDocument& d) { ASSERT_EQ(d.DeletePc(1), TRefusal::None); });
    TBoardDocument reordered(opened);
    ASSERT_EQ(reordered.Reorder({4, 3, 2, 1, 0}), TRefusal::None);  // E D C B A
    ASSERT_EQ(reordered.MovePc(0, 5), TRefusal::None);              // E past their count: their last
    EXPECT_EQ(Shown(*Merge(opened, reordered, theirsOther).document), "1:D=40 2:C=30 3:A=10 4:E=50 ");
}

// Only the steps done count: those undone are left out, those done again are in, steps joined
// are there edit by edit; a conversion to UTF-8 is made on theirs too, and my edits after it
// still find their PCs.
TEST(Merge, TakesTheStepsDoneThroughUndoJoinAndConversion)
{
    const std::string opened = "\xFF\xFE" + Utf8ToUtf16Bytes(Opened(3), false);
    const std::string theirs = Saved(opened, [](TBoardDocument& d) {
        ASSERT_EQ(d.DeletePc(0), TRefusal::None);
        ASSERT_EQ(d.SetValue(0, TPcKey::Height, "11"), TRefusal::None);
    });
    TBoardDocument mine(opened);
    const std::size_t mark = mine.StepMark();
    ASSERT_EQ(mine.SetValue(1, TPcKey::Left, "1"), TRefusal::None);
    ASSERT_EQ(mine.SetValue(1, TPcKey::Top, "2"), TRefusal::None);
    ASSERT_TRUE(mine.JoinSince(mark));
    ASSERT_EQ(mine.SetValue(2, TPcKey::Left, "3"), TRefusal::None);
    mine.Undo();
    ASSERT_EQ(mine.SetValue(2, TPcKey::Top, "4"), TRefusal::None);
    mine.Undo();
    mine.Redo();
    mine.ConvertToUtf8(false);
    ASSERT_EQ(mine.AddPc({"\xE6\xA9\x9F", 0, 0, 1, 1}), TRefusal::None);
    ASSERT_EQ(mine.SetValue(3, TPcKey::Width, "5"), TRefusal::None);
    ASSERT_EQ(mine.SetValue(2, TPcKey::Width, "6"), TRefusal::None);
    ASSERT_EQ(mine.SetValue(1, TPcKey::Height, "12"), TRefusal::None);
    mine.Undo();

    const TMergeResult merged = Merge(opened, mine, theirs);
    EXPECT_TRUE(merged.conflicts.empty());
    EXPECT_EQ(merged.document->Encoding(), TTextEncoding::Utf8);
    EXPECT_EQ(Shown(*merged.document, TPcKey::Top) + Shown(*merged.document, TPcKey::Width),
              "1:B=2 2:C=4 3:\xE6\xA9\x9F=0 1:B=20 2:C=6 3:\xE6\xA9\x9F=5 ");
    EXPECT_EQ(merged.document->Pcs()[0].entry.height, 11);
}

// Their encoding and line ends are kept, and every byte but my changed lines is theirs.
TEST(Merge, KeepsTheirEncodingAndLineEnds)
{
    const std::string big5 =
        "[sys]\r\ncount=3\r\n[PC1]\r\nCaption=\xBE\xF7\xA9\xD0\r\nLeft=1\r\n[PC2]\r\nCaption=B\r\nLeft=2\r\n";
    for (const std::string& opened :
         {Opened(3, "\n"), "\xEF\xBB\xBF" + Opened(3, "\r"), "\xFE\xFF" + Utf8ToUtf16Bytes(Opened(3), true), big5}) {
        const std::string theirs =
            Saved(opened, [](TBoardDocument& d) { ASSERT_EQ(d.SetValue(0, TPcKey::Left, "9"), TRefusal::None); });
        TBoardDocument mine(opened);
        ASSERT_EQ(mine.SetValue(1, TPcKey::Caption, "\xE6\xA9\x9F"), TRefusal::None);
        ASSERT_EQ(mine.SetValue(1, TPcKey::Top, "8"), TRefusal::None);
        const TMergeResult merged = Merge(opened, mine, theirs);
        TBoardDocument expected(theirs);
        ASSERT_EQ(expected.SetValue(1, TPcKey::Caption, "\xE6\xA9\x9F"), TRefusal::None);
        ASSERT_EQ(expected.SetValue(1, TPcKey::Top, "8"), TRefusal::None);
        EXPECT_EQ(merged.document->Bytes(), expected.Bytes());
        EXPECT_EQ(merged.document->Encoding(), TBoardDocument(theirs).Encoding());
        EXPECT_EQ(merged.document->Pcs()[0].entry.left, 9);
    }
}

// Random edits on both sides touching different PCs: the merge is theirs then mine, byte for
// byte, and the same board as mine then theirs, but for which added PCs come first.
TEST(Merge, DisjointEditsMergeAsAppliedInEitherOrder)
{
    struct TEdit {
        int kind;  // 0 a value, 1 add, 2 delete
        std::string caption;
        TPcKey key;
        std::string value;
    };
    const auto make = [](TBoardDocument& doc, const TEdit& e) {
        if (e.kind == 1)
            return doc.AddPc({e.caption, 1, 1, 1, 1});
        const std::size_t place = PlaceOf(doc, e.caption);
        return e.kind == 0 ? doc.SetValue(place, e.key, e.value) : doc.DeletePc(place);
    };
    const auto byCaption = [](const TBoardDocument& doc) {
        std::map<std::string, std::string> pcs;
        for (const auto& pc : doc.Pcs())
            pcs[pc.entry.caption] = std::to_string(pc.entry.left) + "," + std::to_string(pc.entry.top) + "," +
                                    std::to_string(pc.entry.width) + "," + std::to_string(pc.entry.height);
        return pcs;
    };
    std::mt19937 random(28);
    const auto below = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    const std::string opened = Opened(12);
    for (int round = 0; round < 100; ++round) {
        // Each PC is one side's to touch, or nobody's.
        std::vector<std::string> sides[2];
        for (int i = 0; i < 12; ++i)
            if (const int side = below(3); side < 2)
                sides[side].push_back(std::string(1, static_cast<char>('A' + i)));
        std::vector<TEdit> edits[2];
        for (int side = 0; side < 2; ++side)
            for (int n = below(7); n > 0; --n) {
                const int kind = sides[side].empty() ? 1 : below(4) % 3;
                TEdit e{kind, "", static_cast<TPcKey>(1 + below(4)), std::to_string(below(1000) - 500)};
                if (kind == 1) {
                    e.caption = (side ? "m" : "t") + std::to_string(n);
                    sides[side].push_back(e.caption);
                } else {
                    const auto pick = sides[side].begin() + below(static_cast<int>(sides[side].size()));
                    e.caption = *pick;
                    if (kind == 2)
                        sides[side].erase(pick);
                }
                edits[side].push_back(e);
            }
        const std::string theirs = Saved(opened, [&](TBoardDocument& d) {
            for (const TEdit& e : edits[0])
                ASSERT_EQ(make(d, e), TRefusal::None);
        });
        TBoardDocument mine(opened);
        for (const TEdit& e : edits[1]) {
            ASSERT_EQ(make(mine, e), TRefusal::None);
            // A step undone and done again is the same step.
            if (below(4) == 0) {
                mine.Undo();
                mine.Redo();
            }
        }
        TBoardDocument theirsThenMine(theirs);
        for (const TEdit& e : edits[1])
            ASSERT_EQ(make(theirsThenMine, e), TRefusal::None);
        TBoardDocument mineThenTheirs(mine.Bytes());
        for (const TEdit& e : edits[0])
            ASSERT_EQ(make(mineThenTheirs, e), TRefusal::None);

        const TMergeResult merged = Merge(opened, mine, theirs);
        ASSERT_TRUE(merged.conflicts.empty()) << round;
        ASSERT_TRUE(merged.refused.empty()) << round;
        ASSERT_EQ(merged.document->Bytes(), theirsThenMine.Bytes()) << round;
        ASSERT_EQ(byCaption(*merged.document), byCaption(mineThenTheirs)) << round;
    }
}
