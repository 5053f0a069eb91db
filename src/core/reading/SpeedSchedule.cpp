#include "reading/SpeedSchedule.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace lectoria::reading {

namespace {

double KeepTwoDecimals(double speed)
{
    return std::round(speed * 100.0) / 100.0;
}

bool IsSeparatorAt(std::string_view text, std::size_t at, std::size_t& length)
{
    static constexpr std::string_view kWide[] = {"\xEF\xBC\x8C" /* ， */, "\xE3\x80\x81" /* 、 */};
    const char c = text[at];
    if (c == ',' || c == ';' || c == ' ' || c == '\t') {
        length = 1;
        return true;
    }
    for (const std::string_view wide : kWide) {
        if (text.substr(at, wide.size()) == wide) {
            length = wide.size();
            return true;
        }
    }
    return false;
}

/// Length of a "x", "X" or "×" right after a number, or 0.
std::size_t TimesSignAt(std::string_view text, std::size_t at)
{
    static constexpr std::string_view kTimes = "\xC3\x97"; // ×
    if (at < text.size() && (text[at] == 'x' || text[at] == 'X')) {
        return 1;
    }
    return text.substr(at, kTimes.size()) == kTimes ? kTimes.size() : 0;
}

} // namespace

SpeedSchedule::SpeedSchedule(std::vector<double> speeds) : m_speeds(std::move(speeds))
{
    if (m_speeds.empty()) {
        m_speeds.push_back(1.0);
    }
    for (double& speed : m_speeds) {
        speed = std::clamp(KeepTwoDecimals(speed), kSlowestSpeed, kFastestSpeed);
    }
}

double SpeedSchedule::SpeedOf(int round) const
{
    const std::size_t step = round <= 1 ? 0 : static_cast<std::size_t>(round - 1);
    return m_speeds[std::min(step, m_speeds.size() - 1)];
}

bool SpeedSchedule::isNormal() const
{
    return std::all_of(m_speeds.begin(), m_speeds.end(), [](double speed) { return speed == 1.0; });
}

std::string SpeedSchedule::Text() const
{
    std::string text;
    for (const double speed : m_speeds) {
        if (!text.empty()) {
            text += ", ";
        }
        char buffer[16];
        // One decimal where it is enough ("0.7", "1.0"), two where the schedule has them ("0.85").
        const bool twoDecimals = std::abs(speed * 10.0 - std::round(speed * 10.0)) > 1e-6;
        std::snprintf(buffer, sizeof buffer, twoDecimals ? "%.2f" : "%.1f", speed);
        text += buffer;
    }
    return text;
}

std::optional<SpeedSchedule> ParseSpeedSchedule(std::string_view text, std::string* why)
{
    const auto fail = [why](std::string reason) -> std::optional<SpeedSchedule> {
        if (why != nullptr) {
            *why = std::move(reason);
        }
        return std::nullopt;
    };
    std::vector<double> speeds;
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t separator = 0;
        if (IsSeparatorAt(text, at, separator)) {
            at += separator;
            continue;
        }
        double speed = 0.0;
        const char* begin = text.data() + at;
        const auto [end, error] = std::from_chars(begin, text.data() + text.size(), speed);
        if (error != std::errc() || end == begin) {
            return fail("语速只能写数字, 如 \"0.7, 0.85, 1.0\"");
        }
        at += static_cast<std::size_t>(end - begin);
        at += TimesSignAt(text, at);
        std::size_t next = 0;
        if (at < text.size() && !IsSeparatorAt(text, at, next)) {
            return fail("语速只能写数字, 如 \"0.7, 0.85, 1.0\"");
        }
        speed = KeepTwoDecimals(speed);
        if (!std::isfinite(speed) || speed < kSlowestSpeed || speed > kFastestSpeed) {
            return fail("语速须在 0.5 到 1.5 之间");
        }
        speeds.push_back(speed);
        if (speeds.size() > kMaxScheduleSteps) {
            return fail("语速最多 10 个");
        }
    }
    if (speeds.empty()) {
        return fail("请填写语速, 如 \"0.8\" 或 \"0.7, 0.85, 1.0\"");
    }
    return SpeedSchedule(std::move(speeds));
}

const std::vector<std::string>& SpeedPresets()
{
    static const std::vector<std::string> presets = [] {
        std::vector<std::string> list;
        for (int tenths = 5; tenths <= 15; ++tenths) {
            list.push_back(SpeedSchedule({tenths / 10.0}).Text());
        }
        list.push_back("0.7, 0.85, 1.0");
        list.push_back("0.6, 0.8, 1.0");
        list.push_back("0.5, 0.7, 0.85, 1.0");
        list.push_back("1.0, 1.2");
        return list;
    }();
    return presets;
}

std::string SpeedText(double speed)
{
    return SpeedSchedule({speed}).Text() + "\xC3\x97";
}

} // namespace lectoria::reading
