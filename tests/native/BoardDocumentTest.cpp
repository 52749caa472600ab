// The board document: a file saved is the file as written, changed only where edited, read by
// the status board as the document shows it, and every edit undone gives the bytes back.
#include "board/BoardDocument.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/support/ScratchFolder.h"

using board::TBoardDocument;
using board::TPcKey;
using board::TRefusal;

namespace {

// The board as the status board reads the bytes.
std::string Board(const TBoardDocument& doc)
{
    std::string text = "count=" + std::to_string(doc.Count());
    for (const auto& pc : doc.Pcs())
        text += " " + std::to_string(pc.number) + ":" + pc.entry.caption + "@" + std::to_string(pc.entry.left) + "," +
                std::to_string(pc.entry.top) + "," + std::to_string(pc.entry.width) + "x" +
                std::to_string(pc.entry.height);
    return text;
}

// The document's board must be what reading its bytes gives.
void ExpectReadAsShown(const TBoardDocument& doc)
{
    EXPECT_EQ(Board(TBoardDocument(doc.Bytes())), Board(doc));
}

std::string Utf16(std::string_view utf8, bool bigEndian)
{
    return (bigEndian ? "\xFE\xFF" : "\xFF\xFE") + Utf8ToUtf16Bytes(utf8, bigEndian);
}

const char kDocumentBoard[] =
    "; room 2\r\n[sys]\r\ncount=3\r\n\r\n[PC1]\r\nCaption=\xE4\xB8\x80\xE8\x99\x9F\r\nLeft=8\r\n"
    "Top=8\r\nWidth=40\r\nHeight=20\r\n[PC2]\r\nCaption = B ; two\r\nleft=60\r\nTop=8\r\n";

// The same board in every encoding and line end a board file comes in.
std::vector<std::string> Encodings()
{
    std::string lf = kDocumentBoard, cr = kDocumentBoard;
    for (std::size_t at; (at = lf.find("\r\n")) != std::string::npos;)
        lf.replace(at, 2, "\n");
    for (std::size_t at; (at = cr.find("\r\n")) != std::string::npos;)
        cr.replace(at, 2, "\r");
    const std::string big5 = "[sys]\r\ncount=2\r\n[PC1]\r\nCaption=\xBE\xF7\xA9\xD0\r\nWidth=5\r\nHeight=5";
    return {kDocumentBoard, "\xEF\xBB\xBF" + lf, cr, Utf16(kDocumentBoard, false), Utf16(lf, true), big5};
}

TEST(BoardDocument, OpensAndSavesEveryFileAsItWas)
{
    for (const std::string& bytes : Encodings()) {
        TBoardDocument doc(bytes);
        EXPECT_EQ(doc.Bytes(), bytes);
        ExpectReadAsShown(doc);
    }
    for (const std::string odd : {"", "\xEF\xBB\xBF", "\xFF\xFE[\0", "x", "[PC1]\n\n\r\r\n", "\xA4\n\xA4\r\n"})
        EXPECT_EQ(TBoardDocument(odd).Bytes(), odd);
    const TBoardDocument doc(kDocumentBoard);
    EXPECT_EQ(Board(doc), "count=3 1:\xE4\xB8\x80\xE8\x99\x9F@8,8,40x20 2:B ; two@60,8,0x0");
    EXPECT_EQ(doc.LinesOf(1, TPcKey::Left).section, 11u);
    EXPECT_EQ(doc.LinesOf(1, TPcKey::Left).value, 13u);
    EXPECT_EQ(doc.LinesOf(1, TPcKey::Width).value, 0u);
}

// A value edited in every encoding: that line alone changes, in the file's own encoding and
// line ends; undone, the bytes are back; done again, the same edit.
TEST(BoardDocument, AValueChangesOnlyItsLineAndUndoes)
{
    for (const std::string& bytes : Encodings()) {
        TBoardDocument doc(bytes);
        ASSERT_EQ(doc.SetValue(0, TPcKey::Caption, "\xE6\xA9\x9F \"x\""), TRefusal::None);
        ASSERT_EQ(doc.SetValue(0, TPcKey::Left, "-12"), TRefusal::None);
        ExpectReadAsShown(doc);
        EXPECT_EQ(doc.Pcs()[0].entry.caption, "\xE6\xA9\x9F \"x\"");
        EXPECT_EQ(doc.Pcs()[0].entry.left, -12);
        const std::string edited = doc.Bytes();
        doc.Undo();
        doc.Undo();
        EXPECT_EQ(doc.Bytes(), bytes);
        doc.Redo();
        doc.Redo();
        EXPECT_EQ(doc.Bytes(), edited);
    }
    TBoardDocument doc(kDocumentBoard);
    ASSERT_EQ(doc.SetValue(1, TPcKey::Caption, "C"), TRefusal::None);
    EXPECT_EQ(doc.Bytes(), std::string(kDocumentBoard).replace(std::string(kDocumentBoard).find("B ; two"), 7, "C"));
}

// What the reader would make of a value is written so that it reads back as typed.
TEST(BoardDocument, ValuesReadBackAsTypedOrAreRefused)
{
    TBoardDocument doc(kDocumentBoard);
    for (const std::string text : {" lead", "trail ", "\fx", "\"quoted\"", "'q'", "a=b;c", "", "\"", "' x '"}) {
        ASSERT_EQ(doc.SetValue(1, TPcKey::Caption, text), TRefusal::None) << text;
        EXPECT_EQ(TBoardDocument(doc.Bytes()).Pcs()[1].entry.caption, text);
    }
    ASSERT_EQ(doc.SetValue(1, TPcKey::Width, "+70"), TRefusal::None);  // a missing key, added
    EXPECT_EQ(doc.Pcs()[1].entry.width, 70);
    ExpectReadAsShown(doc);
    const std::string before = doc.Bytes();
    EXPECT_EQ(doc.SetValue(1, TPcKey::Caption, "a\nb"), TRefusal::LineBreak);
    EXPECT_EQ(doc.SetValue(1, TPcKey::Caption, std::string("a\0b", 3)), TRefusal::Nul);
    EXPECT_EQ(doc.SetValue(1, TPcKey::Top, "12px"), TRefusal::NotANumber);
    EXPECT_EQ(doc.SetValue(1, TPcKey::Top, "2147483648"), TRefusal::NotANumber);
    EXPECT_EQ(doc.SetValue(2, TPcKey::Top, "1"), TRefusal::NoSuchPc);
    EXPECT_EQ(doc.Bytes(), before);
}

// Adding, deleting and moving renumber every PC section, shown or not, so that no section
// past the count or repeated comes to life or dies.
TEST(BoardDocument, PcsComeGoAndMoveWithoutWakingDeadSections)
{
    const std::string bytes =
        "[sys]\ncount=3\n[PC1]\nCaption=A\n[pc3]\nCaption=dead\n[PC2]\nCaption=B\n"
        "[PC2]\nCaption=repeated\n";
    TBoardDocument doc(bytes);
    ASSERT_EQ(doc.AddPc({"N", 1, 2, 3, 4}), TRefusal::None);
    EXPECT_EQ(Board(doc), "count=4 1:A@0,0,0x0 2:B@0,0,0x0 3:N@1,2,3x4");
    ExpectReadAsShown(doc);
    EXPECT_NE(doc.Bytes().find("[pc4]\nCaption=dead"), std::string::npos);
    ASSERT_EQ(doc.MovePc(2, 1), TRefusal::None);
    EXPECT_EQ(Board(doc), "count=4 1:N@1,2,3x4 2:A@0,0,0x0 3:B@0,0,0x0");
    ExpectReadAsShown(doc);
    ASSERT_EQ(doc.DeletePc(1), TRefusal::None);
    EXPECT_EQ(Board(doc), "count=3 1:N@1,2,3x4 2:B@0,0,0x0");
    ExpectReadAsShown(doc);
    EXPECT_NE(doc.Bytes().find("[PC2]\nCaption=repeated"), std::string::npos);
    EXPECT_EQ(doc.MovePc(0, 3), TRefusal::NoSuchPc);
    EXPECT_EQ(doc.Reorder({0, 0}), TRefusal::NoSuchPc);
    ASSERT_EQ(doc.Reorder({1, 0}), TRefusal::None);
    EXPECT_EQ(Board(doc), "count=3 1:B@0,0,0x0 2:N@1,2,3x4");
    ExpectReadAsShown(doc);
    EXPECT_NE(doc.Bytes().find("[PC1]\nCaption=repeated"), std::string::npos);
    while (doc.CanUndo())
        doc.Undo();
    EXPECT_EQ(doc.Bytes(), bytes);
    // A board with no count gets one, and a section for its first PC.
    TBoardDocument empty("; nothing yet");
    ASSERT_EQ(empty.AddPc({"first", 0, 0, 9, 9}), TRefusal::None);
    EXPECT_EQ(empty.Bytes(),
              "; nothing yet\r\n[PC1]\r\nCaption=first\r\nLeft=0\r\nTop=0\r\nWidth=9\r\nHeight=9\r\n"
              "[sys]\r\ncount=2");
    ExpectReadAsShown(empty);
}

// The count goes into the [sys] section the board reads it from: the first, with or without a
// count of its own; never into a new one.
TEST(BoardDocument, AddingAPcCountsInTheFirstSysSection)
{
    TBoardDocument noCount("[sys]\r\n; none yet\r\n[PC1]\r\nCaption=A\r\n");
    ASSERT_EQ(noCount.AddPc({"B", 1, 2, 3, 4}), TRefusal::None);
    EXPECT_EQ(noCount.Bytes(),
              "[sys]\r\ncount=2\r\n; none yet\r\n[PC2]\r\nCaption=A\r\n[PC1]\r\nCaption=B\r\nLeft=1\r\nTop=2\r\n"
              "Width=3\r\nHeight=4\r\n");
    ExpectReadAsShown(noCount);

    const std::string twice = "[sys]\ncount=2\n[PC1]\nCaption=A\n[SYS]\ncount=9\n";
    TBoardDocument doc(twice);
    ASSERT_EQ(doc.AddPc({"B", 1, 2, 3, 4}), TRefusal::None);
    EXPECT_EQ(doc.Bytes(),
              "[sys]\ncount=3\n[PC1]\nCaption=A\n[PC2]\nCaption=B\nLeft=1\nTop=2\nWidth=3\nHeight=4\n"
              "[SYS]\ncount=9\n");
    ExpectReadAsShown(doc);

    TBoardDocument firstHasNone("[sys]\n[PC1]\nCaption=A\n[sys]\ncount=3\n");
    ASSERT_EQ(firstHasNone.AddPc({"B", 1, 2, 3, 4}), TRefusal::None);
    EXPECT_EQ(Board(firstHasNone), "count=2 1:B@1,2,3x4");
    ExpectReadAsShown(firstHasNone);
    EXPECT_EQ(firstHasNone.Bytes().find("[sys]\ncount=2\n"), 0u);
}

// A character the file's encoding cannot hold is never written: the edit is refused until
// the file is converted to UTF-8, a step of its own.
TEST(BoardDocument, WhatTheEncodingCannotHoldWaitsForUtf8)
{
    const std::string big5 = Encodings().back();
    TBoardDocument doc(big5);
    EXPECT_EQ(doc.SetValue(0, TPcKey::Caption, "\xF0\x9F\x98\x80"), TRefusal::NotInEncoding);
    EXPECT_EQ(doc.Bytes(), big5);
    doc.ConvertToUtf8(true);
    EXPECT_EQ(doc.Encoding(), TTextEncoding::Utf8Bom);
    ASSERT_EQ(doc.SetValue(0, TPcKey::Caption, "\xF0\x9F\x98\x80"), TRefusal::None);
    ExpectReadAsShown(doc);
    doc.Undo();
    doc.Undo();
    EXPECT_EQ(doc.Bytes(), big5);
}

// A conversion to UTF-8 in the middle of the edits gives the same file as one before them (a
// merge converts first): also when a cut-off UTF-16 file's odd byte went on a line of its own,
// or when the edits after it take out the last line of a file that ends without a line end.
TEST(BoardDocument, ConvertingInTheMiddleOrFirstGivesTheSameFile)
{
    const auto addTwo = [](TBoardDocument& doc) {
        ASSERT_EQ(doc.AddPc({"x", 32, 0, 5, 5}), TRefusal::None);
        ASSERT_EQ(doc.SetValue(0, TPcKey::Caption, "y"), TRefusal::None);
    };
    const auto deleteOne = [](TBoardDocument& doc) { ASSERT_EQ(doc.DeletePc(0), TRefusal::None); };
    const std::function<void(TBoardDocument&)> none = [](TBoardDocument&) {};
    const struct {
        std::string file;
        std::function<void(TBoardDocument&)> first, then;
    } cases[] = {
        {std::string("\xFE\xFF\0[\0", 5), addTwo, none},
        {std::string("\xFF\xFE[\0\r\0\n\0\0", 9), addTwo, none},
        {"[sys]", addTwo, deleteOne},
    };
    for (const auto& c : cases) {
        TBoardDocument middle(c.file), first(c.file);
        first.ConvertToUtf8(true);
        for (TBoardDocument* doc : {&middle, &first})
            c.first(*doc);
        middle.ConvertToUtf8(true);
        for (TBoardDocument* doc : {&middle, &first})
            c.then(*doc);
        EXPECT_EQ(middle.Bytes(), first.Bytes());
    }
}

// Edits joined into one step undo and redo as one; edits reverted leave the bytes, and what
// could be redone, as they were. The version tells states apart and comes back with undo.
TEST(BoardDocument, JoinedStepsUndoAsOneAndRevertedOnesLeaveNoTrace)
{
    TBoardDocument doc(kDocumentBoard);
    ASSERT_EQ(doc.SetValue(0, TPcKey::Top, "1"), TRefusal::None);
    const std::string one = doc.Bytes();
    const std::uint64_t version = doc.Version();
    EXPECT_NE(version, 0u);
    doc.Undo();
    EXPECT_EQ(doc.Version(), 0u);
    const std::size_t mark = doc.StepMark();
    ASSERT_EQ(doc.SetValue(0, TPcKey::Left, "5"), TRefusal::None);
    EXPECT_FALSE(doc.CanRedo());
    ASSERT_EQ(doc.AddPc({"N", 1, 2, 3, 4}), TRefusal::None);
    ASSERT_EQ(doc.MovePc(2, 1), TRefusal::None);
    doc.RevertSince(mark);
    EXPECT_EQ(doc.Bytes(), kDocumentBoard);
    EXPECT_EQ(doc.Version(), 0u);
    ASSERT_TRUE(doc.CanRedo());
    doc.Redo();
    EXPECT_EQ(doc.Bytes(), one);
    EXPECT_EQ(doc.Version(), version);

    const std::size_t group = doc.StepMark();
    ASSERT_EQ(doc.SetValue(0, TPcKey::Left, "5"), TRefusal::None);
    ASSERT_EQ(doc.AddPc({"N", 1, 2, 3, 4}), TRefusal::None);
    ASSERT_EQ(doc.SetValue(2, TPcKey::Caption, "M"), TRefusal::None);
    ASSERT_EQ(doc.MovePc(2, 1), TRefusal::None);
    ASSERT_EQ(doc.DeletePc(1), TRefusal::None);
    const std::string joined = doc.Bytes();
    const std::uint64_t joinedVersion = doc.Version();
    ASSERT_TRUE(doc.JoinSince(group));
    EXPECT_EQ(doc.Version(), joinedVersion);
    doc.Undo();
    EXPECT_EQ(doc.Bytes(), one);
    EXPECT_EQ(doc.Version(), version);
    doc.Redo();
    EXPECT_EQ(doc.Bytes(), joined);
    ExpectReadAsShown(doc);
    EXPECT_EQ(Board(doc), "count=3 1:M@1,2,3x4 2:B ; two@60,8,0x0");

    // A conversion stays a step of its own.
    const std::size_t converting = doc.StepMark();
    doc.ConvertToUtf8(true);
    const std::string converted = doc.Bytes();
    ASSERT_EQ(doc.SetValue(0, TPcKey::Left, "6"), TRefusal::None);
    EXPECT_FALSE(doc.JoinSince(converting));
    doc.Undo();
    EXPECT_EQ(doc.Bytes(), converted);
    while (doc.CanUndo())
        doc.Undo();
    EXPECT_EQ(doc.Bytes(), kDocumentBoard);
}

// Joining no step, or one, leaves it as it is and succeeds.
TEST(BoardDocument, NothingToJoinIsNoFailure)
{
    TBoardDocument doc(kDocumentBoard);
    EXPECT_TRUE(doc.JoinSince(doc.StepMark()));
    const std::size_t mark = doc.StepMark();
    ASSERT_EQ(doc.SetValue(0, TPcKey::Top, "1"), TRefusal::None);
    EXPECT_TRUE(doc.JoinSince(mark));
    doc.Undo();
    EXPECT_EQ(doc.Bytes(), kDocumentBoard);
    EXPECT_FALSE(doc.JoinSince(mark + 1));  // a mark past the steps done
}

// What an edit took from redo is forgotten once that edit is joined with the ones before it:
// reverting a later group neither brings it back nor drops what was undone since.
TEST(BoardDocument, AJoinForgetsTheRedoItsStepsDropped)
{
    // A drag whose second step dropped the redo of an undone one.
    const auto dragged = [](TBoardDocument& doc) {
        const std::size_t drag = doc.StepMark();
        ASSERT_EQ(doc.SetValue(0, TPcKey::Left, "1"), TRefusal::None);
        ASSERT_EQ(doc.SetValue(0, TPcKey::Top, "2"), TRefusal::None);
        doc.Undo();
        ASSERT_EQ(doc.SetValue(0, TPcKey::Left, "3"), TRefusal::None);
        ASSERT_TRUE(doc.JoinSince(drag));
    };
    TBoardDocument doc(kDocumentBoard);
    dragged(doc);
    const std::string afterDrag = doc.Bytes();
    const std::size_t group = doc.StepMark();
    ASSERT_EQ(doc.SetValue(1, TPcKey::Top, "4"), TRefusal::None);
    doc.RevertSince(group);
    EXPECT_FALSE(doc.CanRedo());
    EXPECT_EQ(doc.Bytes(), afterDrag);

    TBoardDocument undone(kDocumentBoard);
    dragged(undone);
    ASSERT_EQ(undone.SetValue(1, TPcKey::Top, "4"), TRefusal::None);
    ASSERT_EQ(undone.SetValue(1, TPcKey::Left, "5"), TRefusal::None);
    undone.Undo();
    undone.RevertSince(group);
    EXPECT_EQ(undone.Bytes(), afterDrag);
    ASSERT_TRUE(undone.CanRedo());
    undone.Redo();
    EXPECT_EQ(Board(TBoardDocument(undone.Bytes())), "count=3 1:\xE4\xB8\x80\xE8\x99\x9F@3,8,40x20 2:B ; two@5,8,0x0");
}

// A PC keeps its identity through renumbering, undo and conversion, and no other PC takes it;
// the steps done say what they meant, edit by edit, and forget what was undone.
TEST(BoardDocument, PcsKeepTheirIdentityAndStepsTheirMeaning)
{
    TBoardDocument doc(kDocumentBoard);
    const board::TPcId first = doc.IdOf(0), second = doc.IdOf(1);
    EXPECT_NE(first, second);
    ASSERT_EQ(doc.AddPc({"N", 1, 2, 3, 4}), TRefusal::None);
    const board::TPcId added = doc.IdOf(2);
    ASSERT_EQ(doc.MovePc(2, 1), TRefusal::None);
    doc.ConvertToUtf8(true);
    ASSERT_EQ(doc.AddPc({"M", 1, 2, 3, 4}), TRefusal::None);
    EXPECT_EQ(std::vector<board::TPcId>({added, first, second}),
              std::vector<board::TPcId>({doc.IdOf(0), doc.IdOf(1), doc.IdOf(2)}));
    EXPECT_NE(doc.IdOf(3), first);
    EXPECT_NE(doc.IdOf(3), second);
    EXPECT_NE(doc.IdOf(3), added);
    ASSERT_EQ(doc.DeletePc(1), TRefusal::None);
    EXPECT_FALSE(doc.PlaceOf(first));
    EXPECT_EQ(doc.PlaceOf(second), 1u);
    doc.Undo();
    doc.Undo();
    doc.Undo();
    EXPECT_EQ(doc.PlaceOf(first), 1u);
    EXPECT_EQ(doc.PlaceOf(added), 0u);

    using board::TMeaning;
    const std::vector<TMeaning> done = doc.DoneMeanings();
    ASSERT_EQ(done.size(), 2u);
    EXPECT_EQ(done[0].kind, TMeaning::AddPc);
    EXPECT_EQ(done[0].pc, added);
    EXPECT_EQ(done[0].entry.caption, "N");
    EXPECT_EQ(done[1].kind, TMeaning::MovePc);
    EXPECT_EQ(done[1].pc, added);
    EXPECT_EQ(done[1].number, 1);
}

}  // namespace
