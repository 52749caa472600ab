// The grid generator: what a plan allows, its captions, and the PCs it places.
#include <string>
#include <vector>

#include "editor/BoardEditor.h"
#include "editor/EditingState.h"

namespace editor {

using board::TPcEntry;

bool TGridPlan::Fits() const
{
    return rows >= 1 && columns >= 1 && width >= 1 && height >= 1 && std::int64_t{rows} * columns <= kMostPcs;
}

std::string CaptionFor(std::string_view pattern, std::int32_t n)
{
    std::string out;
    for (std::size_t i = 0; i < pattern.size();) {
        if (pattern.substr(i, 2) == "{n") {
            std::size_t j = i + 2;
            bool zeros = false;
            std::size_t width = 0;
            bool ok = true;
            if (j < pattern.size() && pattern[j] == ':') {
                ++j;
                zeros = j < pattern.size() && pattern[j] == '0';
                const std::size_t digits = j;
                while (j < pattern.size() && pattern[j] >= '0' && pattern[j] <= '9' && j - digits < 3)
                    width = width * 10 + static_cast<std::size_t>(pattern[j++] - '0');
                ok = j > digits;
            }
            if (ok && j < pattern.size() && pattern[j] == '}') {
                std::string digits = std::to_string(n);
                const bool negative = n < 0;
                if (digits.size() < width)
                    digits.insert(zeros && negative ? 1 : 0, width - digits.size(), zeros ? '0' : ' ');
                out += digits;
                i = j + 1;
                continue;
            }
        }
        out += pattern[i++];
    }
    return out;
}

TRefusal TBoardEditor::Generate(const TGridPlan& plan)
{
    if (!plan.Fits())
        return TRefusal::None;
    const std::int64_t count = std::int64_t{plan.rows} * plan.columns;
    if (count >= INT32_MAX - std::int64_t{doc_.Count()})
        return TRefusal::BoardFull;
    std::vector<TPcEntry> entries;
    entries.reserve(static_cast<std::size_t>(count));
    for (std::int64_t i = 0; i < count; ++i) {
        const std::int64_t row = plan.down ? i % plan.rows : i / plan.columns;
        const std::int64_t column = plan.down ? i / plan.rows : i % plan.columns;
        const std::int64_t left = plan.left + column * (std::int64_t{plan.width} + plan.gapX);
        const std::int64_t top = plan.top + row * (std::int64_t{plan.height} + plan.gapY);
        if (Clamp32(left) != left || Clamp32(top) != top)
            return TRefusal::NotANumber;
        entries.push_back({CaptionFor(plan.pattern, static_cast<std::int32_t>(i + 1)), static_cast<std::int32_t>(left),
                           static_cast<std::int32_t>(top), plan.width, plan.height});
    }
    return AddSelected(entries);
}

}  // namespace editor
