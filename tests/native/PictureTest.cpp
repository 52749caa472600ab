// Pictures without a screen: their sizes read from the headers of the five kinds, and what
// is not a picture told from what is not there.
#include "platform/forms/Picture.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "tests/support/PictureBytes.h"
#include "tests/support/ScratchFolder.h"

namespace {

std::string Little16(int n)
{
    return {static_cast<char>(n), static_cast<char>(n >> 8)};
}

std::string Big16(int n)
{
    return {static_cast<char>(n >> 8), static_cast<char>(n)};
}

std::string Gif(int width, int height)
{
    return "GIF89a" + Little16(width) + Little16(height) + std::string("\xF0\0\0,", 4);
}

// A JFIF segment, then a baseline frame header, a table and the scan.
std::string Jpeg(int width, int height, char frame = '\xC0')
{
    return std::string("\xFF\xD8\xFF\xE0\0\x10JFIF\0\x01\x01\0\0\x01\0\x01\0\0", 20) + "\xFF\xFF\xFF" + frame +
           std::string("\0\x11\x08", 3) + Big16(height) + Big16(width) + std::string("\x03\x01\x22\0", 4) +
           std::string(6, '\x01') + std::string("\xFF\xDA\0\x02", 4);
}

// One directory after the header: a tag before the size, the width as SHORT, the height
// as LONG, in either byte order.
std::string Tiff(int width, int height, bool bigEndian)
{
    const auto n16 = [&](int n) { return bigEndian ? Big16(n) : Little16(n); };
    const auto n32 = [&](int n) { return bigEndian ? Big16(n >> 16) + Big16(n) : Little16(n) + Little16(n >> 16); };
    std::string tiff = bigEndian ? std::string("MM\0*", 4) : std::string("II*\0", 4);
    tiff += n32(12) + "pad!" + n16(3);
    tiff += n16(254) + n16(4) + n32(1) + n32(0);
    tiff += n16(256) + n16(3) + n32(1) + n16(width) + n16(0);
    tiff += n16(257) + n16(4) + n32(1) + n32(height);
    return tiff + n32(0);
}

class PictureFiles : public ::testing::Test {
protected:
    TPictureLoad Load(const std::string& bytes)
    {
        const auto path = folder_.Path() / ("picture" + std::to_string(++made_));
        psbtest::WriteBytes(path, bytes);
        return backend::LoadPicture(path.string());
    }
    psbtest::TScratchFolder folder_{"picture"};
    int made_ = 0;
};

const auto kRed = [](int, int) { return 0xFFFF0000u; };

TEST_F(PictureFiles, SizesOfTheFiveKinds)
{
    std::string topDown = psbtest::Bmp(6, 4, kRed);
    topDown.replace(22, 4, std::string("\xFC\xFF\xFF\xFF", 4));  // height -4: stored top down
    const std::string oldBmp = std::string("BM\0\0\0\0\0\0\0\0\x1a\0\0\0\x0c\0\0\0", 18) + Little16(300) +
                               Little16(200) + Little16(1) + Little16(24);
    const std::vector<std::pair<std::string, std::pair<int, int>>> cases{
        {psbtest::Png(7, 3, kRed), {7, 3}},
        {psbtest::Png(1, 1, kRed, true), {1, 1}},
        {psbtest::Bmp(5, 2, kRed), {5, 2}},
        {topDown, {6, 4}},
        {oldBmp, {300, 200}},
        {Gif(640, 480), {640, 480}},
        {Jpeg(4000, 3000), {4000, 3000}},
        {Jpeg(33, 65535, '\xC2'), {33, 65535}},  // progressive
        {Tiff(1234, 70000, false), {1234, 70000}},
        {Tiff(9, 8, true), {9, 8}},
    };
    for (const auto& [bytes, size] : cases) {
        const TPictureLoad load = Load(bytes);
        ASSERT_TRUE(load.picture) << bytes.substr(0, 4) << ": " << load.reason;
        EXPECT_EQ(load.problem, TPictureProblem::None);
        EXPECT_EQ(load.picture->Width(), size.first) << bytes.substr(0, 4);
        EXPECT_EQ(load.picture->Height(), size.second) << bytes.substr(0, 4);
    }
}

TEST_F(PictureFiles, CutShortEmptyOrGarbageIsNotAPicture)
{
    std::vector<std::string> bad{"",         "garbage, not a picture", std::string(100, '\xFF'), Gif(0, 10),
                                 Jpeg(0, 5), Tiff(5, 0, false)};
    // Each kind cut short anywhere before the end of its size.
    const std::pair<std::string, std::size_t> wholes[]{
        {psbtest::Png(2, 2, kRed), 24}, {psbtest::Bmp(2, 2, kRed), 26}, {Gif(2, 2), 10}, {Jpeg(2, 2), 31},
        {Tiff(2, 2, false), 50},        {Tiff(2, 2, true), 50}};
    for (const auto& [whole, sizeEnd] : wholes)
        for (std::size_t cut = 0; cut < sizeEnd; ++cut)
            bad.push_back(whole.substr(0, cut));
    // A JPEG segment that claims to run past the end, and one that claims no length.
    bad.push_back(std::string("\xFF\xD8\xFF\xE0\xFF\xFF", 6) + std::string(30, 'x'));
    bad.push_back(std::string("\xFF\xD8\xFF\xE0\0\0", 6) + Jpeg(2, 2).substr(2));
    // A TIFF whose directory lies beyond the end, and one whose entries run past it.
    std::string far = Tiff(2, 2, false), longer = far;
    far.replace(4, 4, std::string("\xF0\xFF\xFF\xFF", 4));
    longer.replace(12, 2, "\xFF\x7F");
    bad.push_back(far);
    bad.push_back(longer);
    // A PNG whose first chunk is not its header.
    std::string png = psbtest::Png(2, 2, kRed);
    png.replace(12, 4, "IDAT");
    bad.push_back(png);
    for (const std::string& bytes : bad) {
        const TPictureLoad load = Load(bytes);
        EXPECT_FALSE(load.picture) << bytes.size() << " bytes: " << bytes.substr(0, 8);
        EXPECT_EQ(load.problem, TPictureProblem::NotAPicture) << bytes.size() << " bytes: " << bytes.substr(0, 8);
        EXPECT_FALSE(load.reason.empty());
    }
}

TEST_F(PictureFiles, MissingIsNotFoundAndAFolderIsUnreadable)
{
    const TPictureLoad missing = backend::LoadPicture((folder_.Path() / "nowhere" / "plan.png").string());
    EXPECT_EQ(missing.problem, TPictureProblem::NotFound);
    EXPECT_FALSE(missing.picture);
    const TPictureLoad folder = backend::LoadPicture(folder_.Path().string());
    EXPECT_EQ(folder.problem, TPictureProblem::Unreadable);
    EXPECT_FALSE(folder.picture);
    EXPECT_FALSE(folder.reason.empty());
}

}  // namespace
