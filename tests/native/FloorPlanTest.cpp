// The floor plan in the board file: its values written and read back, the section added, moved
// and taken out as one step each with every other byte kept, in every encoding; merged onto
// someone else's save; and the checker on it.
#include "board/FloorPlan.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "board/BoardDocument.h"
#include "board/Merge.h"
#include "check/BoardCheck.h"
#include "platform/text/TextCodec.h"
#include "tests/support/ScratchFolder.h"

using board::TBoardDocument;
using board::TFloorPlan;
using board::TRefusal;

namespace {

TFloorPlan Plan(std::string file, std::int32_t left, std::int32_t top, std::int32_t scale, std::int32_t opacity = 40)
{
    TFloorPlan plan;
    plan.file = std::move(file);
    plan.left = left;
    plan.top = top;
    plan.scale = scale;
    plan.opacity = opacity;
    return plan;
}

// A board and the same board with a plan section, in one encoding and line end.
struct TEncoded {
    std::string name;
    std::string board;
    std::function<std::string(std::string_view)> encode;
};

std::vector<TEncoded> Encodings()
{
    const std::string utf8 =
        "; room 301\r\n[sys]\r\ncount=2\r\n\r\n[PC1]\r\nCaption=\xE4\xB8\x80\xE8\x99\x9F\r\nLeft=8\r\nTop=8\r\n"
        "Width=40\r\nHeight=20\r\n";
    std::vector<TEncoded> all;
    all.push_back({"UTF-8 CRLF", utf8, [](std::string_view text) { return std::string(text); }});
    all.push_back({"Big5 CRLF", "", [](std::string_view text) {
                       std::string raw;
                       Utf8ToBig5(text, raw);
                       return raw;
                   }});
    all.back().board = all.back().encode(utf8);
    all.push_back({"UTF-16LE LF", "", [](std::string_view text) {
                       std::string lf(text);
                       for (std::size_t at; (at = lf.find("\r\n")) != std::string::npos;)
                           lf.replace(at, 2, "\n");
                       return Utf8ToUtf16Bytes(lf, false);
                   }});
    all.back().board = "\xFF\xFE" + all.back().encode(utf8);
    return all;
}

// The plan's name in Big5 too: 機房.
const char kPicture[] = "plans\\\xE6\xA9\x9F\xE6\x88\xBF 301.png";

TEST(FloorPlan, ScaleIsAPerCentWithUpToTwoDecimals)
{
    for (const auto& [text, hundredths] : std::vector<std::pair<std::string, std::int32_t>>{
             {"100", 10000}, {"37.5", 3750}, {"37.25", 3725}, {"0.01", 1}, {"10000", 1000000}, {"4.05", 405}}) {
        std::int32_t read = 0;
        EXPECT_TRUE(board::ReadScale(text, read)) << text;
        EXPECT_EQ(read, hundredths) << text;
        EXPECT_EQ(board::ScaleText(hundredths), text);
    }
    for (const std::string bad : {"", "0", "0.00", "37.", ".5", "1.234", "-5", "12a", "10000.01", "1,5", "99999999"}) {
        std::int32_t read = 7;
        EXPECT_FALSE(board::ReadScale(bad, read)) << bad;
        EXPECT_EQ(read, 7) << bad;
    }
    TFloorPlan plan;
    EXPECT_FALSE(board::ReadPlanValue(plan, board::TPlanKey::Opacity, "101"));
    EXPECT_FALSE(board::ReadPlanValue(plan, board::TPlanKey::Left, "4.5"));
    EXPECT_TRUE(board::ReadPlanValue(plan, board::TPlanKey::Opacity, "0"));
    EXPECT_EQ(plan.opacity, 0);
}

TEST(FloorPlan, TheFileIsNamedFromTheBoardWhenBesideOrBelowIt)
{
    EXPECT_EQ(board::PlanFileName("C:\\Room\\sys.ini", "c:/room\\plans\\a.png"), "plans\\a.png");
    EXPECT_EQ(board::PlanFileName("C:\\Room\\sys.ini", "C:\\Room2\\a.png"), "C:\\Room2\\a.png");
    EXPECT_EQ(board::PlanFileName("/srv/room/sys.ini", "/srv/room/a.png"), "a.png");
    EXPECT_EQ(board::PlanFileName("sys.ini", "/srv/a.png"), "/srv/a.png");
    EXPECT_EQ(board::PlanPath("C:\\Room\\sys.ini", "plans\\a.png"), "C:\\Room\\plans\\a.png");
    EXPECT_EQ(board::PlanPath("C:\\Room\\sys.ini", "D:\\a.png"), "D:\\a.png");
    EXPECT_EQ(board::PlanPath("C:\\Room\\sys.ini", "\\\\server\\a.png"), "\\\\server\\a.png");
    EXPECT_EQ(board::PlanPath("/srv/room/sys.ini", "/a.png"), "/a.png");
    EXPECT_EQ(board::PlanPath("sys.ini", "a.png"), "a.png");
}

// Added, moved, taken out: each one step; the section is appended in the file's encoding and
// line end, a move rewrites only the values it changes, and undo gives the bytes back.
TEST(FloorPlan, EachChangeIsOneStepAndKeepsEveryOtherByte)
{
    for (const TEncoded& e : Encodings()) {
        SCOPED_TRACE(e.name);
        TBoardDocument doc(e.board);
        EXPECT_EQ(doc.FloorPlan(), std::nullopt);
        const TFloorPlan plan = Plan(kPicture, -30, 12, 3725);
        ASSERT_EQ(doc.SetFloorPlan(plan), TRefusal::None);
        const std::string added = doc.Bytes();
        EXPECT_EQ(added, e.board + e.encode(std::string("[FloorPlan]\r\nFile=") + kPicture +
                                            "\r\nLeft=-30\r\nTop=12\r\nScale=37.25\r\nOpacity=40\r\n"));
        const TBoardDocument reread(added);
        EXPECT_EQ(reread.FloorPlan(), plan);
        EXPECT_EQ(reread.FloorPlanLine(), 11u);
        EXPECT_EQ(reread.Pcs().size(), 1u);

        TFloorPlan moved = plan;
        moved.left = 100;
        moved.scale = 10000;
        ASSERT_EQ(doc.SetFloorPlan(moved), TRefusal::None);
        EXPECT_EQ(doc.Bytes(), e.board + e.encode(std::string("[FloorPlan]\r\nFile=") + kPicture +
                                                  "\r\nLeft=100\r\nTop=12\r\nScale=100\r\nOpacity=40\r\n"));
        EXPECT_EQ(doc.SetFloorPlan(moved), TRefusal::None);  // nothing to change: no step
        ASSERT_EQ(doc.SetFloorPlan(std::nullopt), TRefusal::None);
        EXPECT_EQ(doc.Bytes(), e.board);

        doc.Undo();
        EXPECT_EQ(doc.FloorPlan(), moved);
        doc.Undo();
        EXPECT_EQ(doc.Bytes(), added);
        EXPECT_EQ(doc.FloorPlan(), plan);
        doc.Undo();
        EXPECT_EQ(doc.Bytes(), e.board);
        EXPECT_FALSE(doc.CanUndo());
        doc.Redo();
        EXPECT_EQ(doc.Bytes(), added);
    }
}

// A plan written by hand, in the middle of the file: its own spelling and spacing stay, a
// value it lacks goes after its last entry, and taking it out takes its lines alone.
TEST(FloorPlan, AHandWrittenSectionIsEditedInPlace)
{
    const std::string bytes =
        "[sys]\ncount=1\n[floorplan]\nfile = a.png ; the room\n; under\nLEFT= 5\n\n"
        "[other]\nx=1\n";
    TBoardDocument doc(bytes);
    ASSERT_EQ(doc.FloorPlan(), Plan("a.png ; the room", 5, 0, 10000));
    ASSERT_EQ(doc.SetFloorPlan(Plan("a.png ; the room", 6, 0, 10000, 55)), TRefusal::None);
    EXPECT_EQ(doc.Bytes(),
              "[sys]\ncount=1\n[floorplan]\nfile = a.png ; the room\n; under\nLEFT= 6\nOpacity=55\n\n"
              "[other]\nx=1\n");
    ASSERT_EQ(doc.SetFloorPlan(std::nullopt), TRefusal::None);
    EXPECT_EQ(doc.Bytes(), "[sys]\ncount=1\n[other]\nx=1\n");
    doc.Undo();
    doc.Undo();
    EXPECT_EQ(doc.Bytes(), bytes);
}

// Values a section lacks go after its last entry, at the end of the file too.
TEST(FloorPlan, MissingValuesAreAddedToTheSection)
{
    TBoardDocument doc("[sys]\r\ncount=1\r\n[FloorPlan]\r\nFile=room.png\r\n");
    ASSERT_EQ(doc.SetFloorPlan(Plan("room.png", 20, 30, 10000)), TRefusal::None);
    EXPECT_EQ(doc.Bytes(), "[sys]\r\ncount=1\r\n[FloorPlan]\r\nFile=room.png\r\nLeft=20\r\nTop=30\r\n");
    EXPECT_EQ(doc.FloorPlan(), Plan("room.png", 20, 30, 10000));
    EXPECT_EQ(TBoardDocument(doc.Bytes()).FloorPlan(), doc.FloorPlan());
}

TEST(FloorPlan, WhatTheFileCannotHoldIsRefused)
{
    TBoardDocument doc(Encodings()[1].board);  // Big5
    const std::string before = doc.Bytes();
    EXPECT_EQ(doc.SetFloorPlan(Plan("\xED\x95\x9C.png", 0, 0, 10000)), TRefusal::NotInEncoding);  // 한
    EXPECT_EQ(doc.SetFloorPlan(Plan("a\nb.png", 0, 0, 10000)), TRefusal::LineBreak);
    EXPECT_EQ(doc.SetFloorPlan(Plan("a.png", 0, 0, 0)), TRefusal::NotANumber);
    EXPECT_EQ(doc.SetFloorPlan(Plan("a.png", 0, 0, 100, 101)), TRefusal::NotANumber);
    EXPECT_EQ(doc.Bytes(), before);
    EXPECT_FALSE(doc.CanUndo());
}

// My plan made again on their save, which renumbered and moved PCs: their board with my plan,
// one step; and mine taken out takes theirs out.
TEST(FloorPlan, MergedOntoTheirSave)
{
    const std::string base = "[sys]\ncount=2\n[PC1]\nCaption=A\nLeft=1\n";
    const std::string theirs =
        "[sys]\ncount=3\n[PC1]\nCaption=B\n[PC2]\nCaption=A\nLeft=7\n[FloorPlan]\nFile=old.png\n";
    TBoardDocument mine(base);
    ASSERT_EQ(mine.SetFloorPlan(Plan("new.png", 3, 4, 5000)), TRefusal::None);
    board::TMergeResult merged = board::Merge(base, mine, theirs);
    ASSERT_TRUE(merged.refused.empty());
    // Their section read with the opacity mine has: no line for it.
    EXPECT_EQ(merged.document->Bytes(),
              "[sys]\ncount=3\n[PC1]\nCaption=B\n[PC2]\nCaption=A\nLeft=7\n[FloorPlan]\n"
              "File=new.png\nLeft=3\nTop=4\nScale=50\n");
    merged.document->Undo();
    EXPECT_EQ(merged.document->Bytes(), theirs);

    TBoardDocument removing(theirs);
    ASSERT_EQ(removing.SetFloorPlan(std::nullopt), TRefusal::None);
    const std::string other = theirs + "[PC3]\n";
    EXPECT_EQ(board::Merge(theirs, removing, other).document->Bytes(),
              "[sys]\ncount=3\n[PC1]\nCaption=B\n[PC2]\nCaption=A\nLeft=7\n[PC3]\n");
}

// The checker knows the section: nothing to say of a plan whose picture is there, a warning on
// the File line for one that is not, named as the board names it.
TEST(FloorPlan, TheCheckerLooksForThePicture)
{
    psbtest::TScratchFolder dir("plan");
    const std::string board =
        "[sys]\ncount=2\n[PC1]\nCaption=A\nLeft=8\nTop=8\nWidth=40\nHeight=20\n"
        "[FloorPlan]\nLeft=-4\nFile=room.png\nScale=12.5\nOpacity=40\nTop=0\n";
    const std::string path = (dir.Path() / "sys.ini").string();
    check::TBoardCheck result = check::CheckBoard(board, path);
    ASSERT_EQ(result.findings.size(), 1u) << check::TextReport(result, "sys.ini", TLanguage::English);
    EXPECT_EQ(result.findings[0].line, 11u);
    EXPECT_EQ(check::Code(result.findings[0].msg), "plan-missing");
    EXPECT_EQ(result.warnings, 1u);
    EXPECT_EQ(check::Text(result.findings[0].msg, TLanguage::English, result.findings[0].args),
              "the floor plan room.png is not there: the board editor shows the board without it");

    ASSERT_TRUE(psbtest::WriteBytes(dir.Path() / "room.png", "not read"));
    EXPECT_TRUE(check::CheckBoard(board, path).findings.empty());
    // Without a path it is not looked for.
    EXPECT_TRUE(check::CheckBoard(board).findings.empty());
}

}  // namespace
