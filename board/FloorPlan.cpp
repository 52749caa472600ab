#include "board/FloorPlan.h"

#include <algorithm>

#include "platform/text/SysUtils.h"

namespace board {
namespace {

bool IsSeparator(char c)
{
    return c == '/' || c == '\\';
}

// A whole path: from a root, a drive or a share.
bool IsWholePath(std::string_view path)
{
    return (!path.empty() && IsSeparator(path[0])) || (path.size() >= 2 && path[1] == ':');
}

}  // namespace

bool ReadScale(std::string_view text, std::int32_t& hundredths)
{
    const std::size_t dot = text.find('.');
    const std::string_view whole = text.substr(0, dot);
    const std::string_view part = dot == std::string_view::npos ? std::string_view() : text.substr(dot + 1);
    const auto digits = [](std::string_view s) {
        return std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
    };
    if (whole.empty() || whole.size() > 7 || part.size() > 2 || (dot != std::string_view::npos && part.empty()) ||
        !digits(whole) || !digits(part))
        return false;
    std::int64_t value = 0;
    for (const char c : whole)
        value = value * 10 + (c - '0');
    for (std::size_t i = 0; i < 2; ++i)
        value = value * 10 + (i < part.size() ? part[i] - '0' : 0);
    if (value < TFloorPlan::kSmallest || value > TFloorPlan::kLargest)
        return false;
    hundredths = static_cast<std::int32_t>(value);
    return true;
}

std::string ScaleText(std::int32_t hundredths)
{
    std::string text = IntToStr(hundredths / 100);
    if (const std::int32_t part = hundredths % 100; part != 0)
        text += part % 10 == 0 ? "." + IntToStr(part / 10) : (part < 10 ? ".0" : ".") + IntToStr(part);
    return text;
}

std::string PlanValue(const TFloorPlan& plan, TPlanKey key)
{
    switch (key) {
    case TPlanKey::File:
        return plan.file;
    case TPlanKey::Left:
        return IntToStr(plan.left);
    case TPlanKey::Top:
        return IntToStr(plan.top);
    case TPlanKey::Scale:
        return ScaleText(plan.scale);
    case TPlanKey::Opacity:
        break;
    }
    return IntToStr(plan.opacity);
}

bool ReadPlanValue(TFloorPlan& plan, TPlanKey key, std::string_view text)
{
    std::int32_t n = 0;
    switch (key) {
    case TPlanKey::File:
        plan.file = text;
        return true;
    case TPlanKey::Scale:
        return ReadScale(text, plan.scale);
    case TPlanKey::Opacity:
        if (!TryStrToInt(text, n) || n < 0 || n > 100)
            return false;
        plan.opacity = n;
        return true;
    case TPlanKey::Left:
    case TPlanKey::Top:
        break;
    }
    if (!TryStrToInt(text, n))
        return false;
    (key == TPlanKey::Left ? plan.left : plan.top) = n;
    return true;
}

std::optional<TFloorPlan> ReadFloorPlan(const TIniFile& file)
{
    std::array<std::optional<std::string_view>, kPlanKeys.size()> values;
    if (!file.FindValues(kPlanSection, kPlanKeys, values))
        return std::nullopt;
    TFloorPlan plan;
    for (std::size_t k = 0; k < kPlanKeys.size(); ++k)
        if (values[k])
            ReadPlanValue(plan, static_cast<TPlanKey>(k), *values[k]);
    return plan;
}

std::string PlanFileName(std::string_view boardPath, std::string_view picturePath)
{
    const std::string folder = ExtractFilePath(boardPath);
    if (folder.empty() || picturePath.size() <= folder.size())
        return std::string(picturePath);
    // Windows names a folder in any letter case and with either separator.
    for (std::size_t i = 0; i < folder.size(); ++i) {
        const char a = folder[i], b = picturePath[i];
        if (!(IsSeparator(a) && IsSeparator(b)) && LowerAscii(a) != LowerAscii(b))
            return std::string(picturePath);
    }
    return std::string(picturePath.substr(folder.size()));
}

std::string PlanPath(std::string_view boardPath, std::string_view file)
{
    if (IsWholePath(file))
        return std::string(file);
    return ExtractFilePath(boardPath) + std::string(file);
}

}  // namespace board
