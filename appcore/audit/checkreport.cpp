#include "checkreport.h"

namespace fiscora::app {

bool CheckReport::flagged() const
{
    for (const CheckFinding &finding : findings) {
        if (finding.verdict == CheckFinding::Flagged)
            return true;
    }
    return false;
}

qint64 CheckReport::takingsCents() const
{
    qint64 sum = 0;
    for (const auto &day : days)
        sum += day.second.takingsCents;
    return sum;
}

std::array<double, 7> CheckReport::weekdayMeans() const
{
    std::array<double, 7> sums{};
    for (const auto &day : days)
        sums[size_t(day.first.dayOfWeek() - 1)] += double(day.second.takingsCents);
    const std::array<int, 7> counts = weekdayDays();
    for (size_t weekday = 0; weekday < sums.size(); ++weekday)
        sums[weekday] = counts[weekday] > 0 ? sums[weekday] / counts[weekday] : 0;
    return sums;
}

std::array<int, 7> CheckReport::weekdayDays() const
{
    std::array<int, 7> counts{};
    for (const auto &day : days)
        ++counts[size_t(day.first.dayOfWeek() - 1)];
    return counts;
}

} // namespace fiscora::app
