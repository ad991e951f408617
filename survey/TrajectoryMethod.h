#pragma once

#include <optional>
#include <string_view>

namespace survey {

// How positions follow the hole from one reading to the next: along the
// averaged angles of the two (the survey's own method, and the default), or
// along the arc through both directions (minimum curvature).
enum class TrajectoryMethod { AverageAngle, MinimumCurvature };

// "average-angle" or "min-curvature", as edits files and command lines name them.
constexpr std::string_view TrajectoryMethodText(TrajectoryMethod method)
{
    return method == TrajectoryMethod::MinimumCurvature ? "min-curvature" : "average-angle";
}

constexpr std::optional<TrajectoryMethod> TrajectoryMethodFromText(std::string_view text)
{
    if (text == "average-angle")
        return TrajectoryMethod::AverageAngle;
    if (text == "min-curvature")
        return TrajectoryMethod::MinimumCurvature;
    return std::nullopt;
}

} // namespace survey
