// Selecting and marking step by step on two PCs: one table for the headless and real drivers.
#pragma once

#include <string>

namespace psbtest {

inline const char kOutOfOrder[] = "\xE6\x95\x85\xE9\x9A\x9C\xE4\xB8\xAD";  // 故障中

inline const char kTwoPcBoard[] =
    "[sys]\ncount=3\n[PC1]\nCaption=A\nLeft=40\nTop=40\nWidth=100\nHeight=60\n"
    "[PC2]\nCaption=B\nLeft=200\nTop=40\nWidth=100\nHeight=60\n";
struct TPoint {
    int x, y;
};
// Clicked in the middle, where the caption is; colours read near a corner, clear of it.
inline constexpr TPoint kA{90, 70}, kB{250, 70}, kAColour{45, 45}, kBColour{205, 45};

struct TStep {
    const char* what;
    char act;  // 'P': press the button; 'A', 'B': click that PC
    const char* edit1;
    bool outOfOrderShown;  // Edit2 shows 故障中, else it is empty
    const char *a, *b;     // colours of A and B afterwards
};

inline constexpr TStep kSevenSteps[] = {
    {"1. button, nothing selected", 'P', "", false, "yellow", "yellow"},
    {"2. click A", 'A', "A", false, "yellow", "yellow"},
    {"3. button", 'P', "A", true, "red", "yellow"},
    {"4. click B", 'B', "B", false, "red", "yellow"},
    {"5. click red A: the name field keeps B", 'A', "B", true, "red", "yellow"},
    {"6. button", 'P', "A", false, "yellow", "yellow"},
    {"7. button again", 'P', "A", true, "red", "yellow"},
};

// Driver: Press(), Click(x, y), Edit1(), Edit2(), Colour(x, y). Gives the steps that differ.
template <class Driver>
std::string RunSevenSteps(Driver& d)
{
    const auto state = [&] {
        return "Edit1='" + d.Edit1() + "' Edit2='" + d.Edit2() + "' A=" + d.Colour(kAColour.x, kAColour.y) +
               " B=" + d.Colour(kBColour.x, kBColour.y);
    };
    std::string differences;
    for (const TStep& s : kSevenSteps) {
        if (s.act == 'P')
            d.Press();
        else
            d.Click(s.act == 'A' ? kA.x : kB.x, s.act == 'A' ? kA.y : kB.y);
        const std::string expected = "Edit1='" + std::string(s.edit1) + "' Edit2='" +
                                     (s.outOfOrderShown ? kOutOfOrder : "") + "' A=" + s.a + " B=" + s.b;
        if (const std::string got = state(); got != expected)
            differences += std::string("after ") + s.what + ": " + got + ", expected " + expected + "\n";
    }
    return differences;
}

}  // namespace psbtest
