#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lectoria::reading {

inline constexpr double kSlowestSpeed = 0.5;
inline constexpr double kFastestSpeed = 1.5;
/// A schedule longer than this is surely a typing slip, not a plan for the repetitions.
inline constexpr std::size_t kMaxScheduleSteps = 10;

/// The reading speed of each repetition of a sentence: the first repetition reads at the first
/// speed, the second at the second, and every later one at the last. A single speed is a schedule
/// of one step.
class SpeedSchedule
{
public:
    SpeedSchedule() = default;
    explicit SpeedSchedule(std::vector<double> speeds);

    /// The speed of repetition `round` (counted from 1).
    double SpeedOf(int round) const;
    const std::vector<double>& speeds() const { return m_speeds; }
    /// True when every repetition reads at the recorded speed.
    bool isNormal() const;
    /// The schedule as the profile keeps it and the speed list shows it: "0.7, 0.85, 1.0".
    std::string Text() const;

private:
    std::vector<double> m_speeds{1.0};
};

/// Reads a typed schedule: speeds between 0.5 and 1.5 separated by commas (also "，"), blanks or
/// "、", each optionally followed by "x" or "×". Speeds are kept to two decimals. On a mistake,
/// returns nothing and says why in Chinese in `why`.
std::optional<SpeedSchedule> ParseSpeedSchedule(std::string_view text, std::string* why = nullptr);

/// What the speed list offers: the single speeds 0.5 … 1.5 in steps of 0.1, then schedules that
/// bring a hard sentence up to normal speed over the repetitions.
const std::vector<std::string>& SpeedPresets();

/// One speed for the status line: "0.7×", "1.0×", "0.85×".
std::string SpeedText(double speed);

} // namespace lectoria::reading
